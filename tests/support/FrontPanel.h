#pragma once
// One snapshot of the front panel: what it sends (the core's PanelSettings)
// and what it shows (marker tops, arrows, menu checks, knob pictures,
// enabled states, the window's place...), each as an "item=value" line, so
// that two snapshots compared name the item that differs. ScopeDriver's
// Snapshot() takes one; a test about part of the panel (a settings file, a
// reference load) compares the items it names.
//
//   const FrontPanel before = scope.Snapshot();
//   ...
//   EXPECT_EQ(scope.Snapshot().Lines(), before.Lines());
//   EXPECT_EQ(Differences(before, scope.Snapshot()), QStringList());

#include "core/PanelSettings.h"

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include <algorithm>
#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct FrontPanel {
  // What the next capture command is made from.
  core::PanelSettings settings;
  // What the window shows and holds, item by item, in a fixed order; an item
  // the window does not show now (a hidden arrow's place) is left out.
  std::vector<std::pair<std::string, QString>> shown;

  // The settings' items first, then the shown ones.
  std::vector<std::pair<std::string, QString>> Items() const {
    std::vector<std::pair<std::string, QString>> items;
    const auto yes = [](bool b) { return b ? QStringLiteral("1") : QStringLiteral("0"); };
    for (int ch = 1; ch <= core::ChannelCount; ++ch) {
      const core::ChannelSettings& c = settings.channels[std::size_t(ch - 1)];
      const std::string name = "settings CH" + std::to_string(ch) + " ";
      items.emplace_back(name + "on", yes(c.on));
      items.emplace_back(name + "volts row", QString::number(c.voltsRow));
      items.emplace_back(name + "zero row", QString::number(c.zeroRow));
      items.emplace_back(name + "trigger level", QString::number(c.triggerLevel));
      items.emplace_back(name + "calibration low", QString::number(c.calLow));
      items.emplace_back(name + "calibration high", QString::number(c.calHigh));
    }
    items.emplace_back("settings trigger source", QString::number(static_cast<int>(settings.trigger.source)));
    items.emplace_back("settings trigger rising", yes(settings.trigger.rising));
    items.emplace_back("settings trigger auto", yes(settings.trigger.automatic));
    items.emplace_back("settings trigger marker left", QString::number(settings.trigger.markerLeft));
    items.emplace_back("settings time base", QString::number(settings.timeBase.index));
    items.emplace_back("settings continuous", yes(settings.mode.continuous));
    items.insert(items.end(), shown.begin(), shown.end());
    return items;
  }

  // Every item as "item=value".
  QStringList Lines() const {
    QStringList lines;
    for (const auto& [name, value] : Items()) lines << QString::fromStdString(name) + u'=' + value;
    return lines;
  }
  // The named items, in the order given; a name that is no item fails the
  // test, and an item not shown now is left out.
  QStringList Lines(std::initializer_list<std::string_view> names) const {
    const auto items = Items();
    QStringList lines;
    for (std::string_view name : names) {
      const auto item = std::find_if(items.begin(), items.end(), [&](const auto& i) { return i.first == name; });
      if (item != items.end()) {
        lines << QString::fromStdString(item->first) + u'=' + item->second;
      } else if (!IsItem(name)) {
        ADD_FAILURE() << "no panel item \"" << name << "\"";
      }
    }
    return lines;
  }

  // Every item a snapshot may hold, shown now or not.
  static bool IsItem(std::string_view name);
};

// The items whose values differ, or that one snapshot holds and the other
// does not, as "item: before -> after".
inline QStringList Differences(const FrontPanel& before, const FrontPanel& after) {
  const auto a = before.Items();
  const auto b = after.Items();
  const auto valueIn = [](const auto& items, const std::string& name) -> QString {
    const auto item = std::find_if(items.begin(), items.end(), [&](const auto& i) { return i.first == name; });
    return item == items.end() ? QStringLiteral("<not shown>") : item->second;
  };
  std::vector<std::string> names;
  for (const auto& i : a) names.push_back(i.first);
  for (const auto& i : b)
    if (std::find(names.begin(), names.end(), i.first) == names.end()) names.push_back(i.first);
  QStringList differences;
  for (const std::string& name : names) {
    const QString was = valueIn(a, name);
    const QString is = valueIn(b, name);
    if (was != is) differences << QString::fromStdString(name) + QStringLiteral(": ") + was + QStringLiteral(" -> ") + is;
  }
  return differences;
}

inline bool operator==(const FrontPanel& a, const FrontPanel& b) { return a.Lines() == b.Lines(); }

inline void PrintTo(const FrontPanel& panel, std::ostream* os) {
  *os << '{';
  for (const QString& line : panel.Lines()) *os << '"' << line.toStdString() << "\" ";
  *os << '}';
}

#pragma once
// The front panel as a user sees it and as the next capture sends it, one
// "item=value" line per item, so that two snapshots compared name the item
// that differs. PanelSnapshot(f) takes every item; a test about something
// that changes only part of the panel (a settings file, a reference load)
// names the items it is about.

#include "app/TForm1.h"
#include "app/Widgets.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <string_view>

namespace panel_snapshot {

inline bool Shown(const QWidget* w) { return w->isVisibleTo(w->parentWidget()); }
inline QString Checked(const QAction* a) { return a->isChecked() ? QStringLiteral("checked") : QStringLiteral("-"); }
inline QString Bool(bool b) { return b ? QStringLiteral("yes") : QStringLiteral("no"); }
inline QString Num(long long v) { return QString::number(v); }

// An item and how it is read off the window; no value leaves the item out
// of the snapshot (a hidden arrow's place is not seen).
struct Item {
  const char* name;
  std::optional<QString> (*read)(const TForm1&);
};

inline constexpr Item kItems[] = {
    {"TimeBaseIndex", [](const TForm1& f) -> std::optional<QString> { return Num(f.TimeBaseIndex); }},
    {"TimeKnobAngle", [](const TForm1& f) -> std::optional<QString> { return Num(f.TimeKnobAngle); }},
    {"TimeDivText", [](const TForm1& f) -> std::optional<QString> { return f.TimeDivText; }},
    {"SampleRateText", [](const TForm1& f) -> std::optional<QString> { return f.SampleRateText; }},
    {"Image9", [](const TForm1& f) -> std::optional<QString> { return f.Image9->FileName(); }},
    // The time knob, locked while a reference from another time base is shown.
    {"Image9 enabled", [](const TForm1& f) -> std::optional<QString> { return Bool(f.Image9->isEnabled()); }},
    {"CH1KnobAngle", [](const TForm1& f) -> std::optional<QString> { return Num(f.CH1KnobAngle); }},
    {"CH2KnobAngle", [](const TForm1& f) -> std::optional<QString> { return Num(f.CH2KnobAngle); }},
    {"CH1VoltsDivText", [](const TForm1& f) -> std::optional<QString> { return f.CH1VoltsDivText; }},
    {"CH2VoltsDivText", [](const TForm1& f) -> std::optional<QString> { return f.CH2VoltsDivText; }},
    {"CH1Scale", [](const TForm1& f) -> std::optional<QString> { return Num(f.CH1Scale); }},
    {"CH2Scale", [](const TForm1& f) -> std::optional<QString> { return Num(f.CH2Scale); }},
    {"CH1HighRange", [](const TForm1& f) -> std::optional<QString> { return Num(f.CH1HighRange); }},
    {"CH2HighRange", [](const TForm1& f) -> std::optional<QString> { return Num(f.CH2HighRange); }},
    {"CH1On", [](const TForm1& f) -> std::optional<QString> { return Num(f.ChannelOn[1]); }},
    {"CH2On", [](const TForm1& f) -> std::optional<QString> { return Num(f.ChannelOn[2]); }},
    {"CH1Focus", [](const TForm1& f) -> std::optional<QString> { return Num(f.CH1Focus); }},
    {"KnobBitmapPrefix", [](const TForm1& f) -> std::optional<QString> { return f.KnobBitmapPrefix; }},
    {"Image7", [](const TForm1& f) -> std::optional<QString> { return f.Image7->FileName(); }},
    {"Image7 enabled",
     [](const TForm1& f) -> std::optional<QString> { return Bool(f.Image7->isEnabledTo(f.Image7->parentWidget())); }},
    {"Image6", [](const TForm1& f) -> std::optional<QString> { return f.Image6->FileName(); }},
    {"Image1 shown", [](const TForm1& f) -> std::optional<QString> { return Bool(Shown(f.Image1)); }},
    {"Image2 shown", [](const TForm1& f) -> std::optional<QString> { return Bool(Shown(f.Image2)); }},
    {"CH1NS shown", [](const TForm1& f) -> std::optional<QString> { return Bool(Shown(f.CH1NS)); }},
    {"CH2NS shown", [](const TForm1& f) -> std::optional<QString> { return Bool(Shown(f.CH2NS)); }},
    {"Image1 top", [](const TForm1& f) -> std::optional<QString> { return Num(Top(f.Image1)); }},
    {"CH1NS top", [](const TForm1& f) -> std::optional<QString> { return Num(Top(f.CH1NS)); }},
    {"Image2 top", [](const TForm1& f) -> std::optional<QString> { return Num(Top(f.Image2)); }},
    {"CH2NS top", [](const TForm1& f) -> std::optional<QString> { return Num(Top(f.CH2NS)); }},
    {"CH1VertPos", [](const TForm1& f) -> std::optional<QString> { return Num(f.CH1VertPos); }},
    {"CH2VertPos", [](const TForm1& f) -> std::optional<QString> { return Num(f.CH2VertPos); }},
    // A hidden arrow is placed from its level, with its channel's scale, when
    // its channel becomes the source; until then its Top is not seen.
    {"TriggerArrowCH1 top",
     [](const TForm1& f) -> std::optional<QString> {
       if (!Shown(f.TriggerArrowCH1)) return std::nullopt;
       return Num(Top(f.TriggerArrowCH1));
     }},
    {"TriggerArrowCH2 top",
     [](const TForm1& f) -> std::optional<QString> {
       if (!Shown(f.TriggerArrowCH2)) return std::nullopt;
       return Num(Top(f.TriggerArrowCH2));
     }},
    {"TriggerArrowCH1 shown", [](const TForm1& f) -> std::optional<QString> { return Bool(Shown(f.TriggerArrowCH1)); }},
    {"TriggerArrowCH2 shown", [](const TForm1& f) -> std::optional<QString> { return Bool(Shown(f.TriggerArrowCH2)); }},
    // The line shows a channel's level; with EXT it is hidden and goes nowhere.
    {"TriggerVoltageLine top",
     [](const TForm1& f) -> std::optional<QString> {
       if (f.TriggerCH != 1 && f.TriggerCH != 2) return std::nullopt;
       return Num(Top(f.TriggerVoltageLine));
     }},
    {"TriggerVoltageLine colour",
     [](const TForm1& f) -> std::optional<QString> { return f.TriggerVoltageLine->Color().name(); }},
    {"TriggerCH", [](const TForm1& f) -> std::optional<QString> { return Num(f.TriggerCH); }},
    {"CH11", [](const TForm1& f) -> std::optional<QString> { return Checked(f.CH11); }},
    {"CH21", [](const TForm1& f) -> std::optional<QString> { return Checked(f.CH21); }},
    {"EXT1", [](const TForm1& f) -> std::optional<QString> { return Checked(f.EXT1); }},
    {"TrigSourceButton", [](const TForm1& f) -> std::optional<QString> { return f.TrigSourceButton->FileName(); }},
    {"CH1TriggerV", [](const TForm1& f) -> std::optional<QString> { return Num(f.CH1TriggerV); }},
    {"CH2TriggerV", [](const TForm1& f) -> std::optional<QString> { return Num(f.CH2TriggerV); }},
    {"Label23", [](const TForm1& f) -> std::optional<QString> { return f.Label23->text(); }},
    {"RisingTrigger", [](const TForm1& f) -> std::optional<QString> { return Num(f.RisingTrigger); }},
    {"Rising1", [](const TForm1& f) -> std::optional<QString> { return Checked(f.Rising1); }},
    {"Falling2", [](const TForm1& f) -> std::optional<QString> { return Checked(f.Falling2); }},
    {"Falling2 enabled", [](const TForm1& f) -> std::optional<QString> { return Bool(f.Falling2->isEnabled()); }},
    {"TriggerEdgeButton", [](const TForm1& f) -> std::optional<QString> { return f.TriggerEdgeButton->FileName(); }},
    {"AutoTrigger", [](const TForm1& f) -> std::optional<QString> { return Num(f.AutoTrigger); }},
    {"Auto1", [](const TForm1& f) -> std::optional<QString> { return Checked(f.Auto1); }},
    {"Normal1", [](const TForm1& f) -> std::optional<QString> { return Checked(f.Normal1); }},
    {"ConSample", [](const TForm1& f) -> std::optional<QString> { return Num(f.ConSample); }},
    {"Continuous", [](const TForm1& f) -> std::optional<QString> { return Checked(f.Continuous); }},
    {"Single", [](const TForm1& f) -> std::optional<QString> { return Checked(f.Single); }},
    {"HorTrigPos left", [](const TForm1& f) -> std::optional<QString> { return Num(Left(f.HorTrigPos)); }},
    {"POS10", [](const TForm1& f) -> std::optional<QString> { return Checked(f.POS10); }},
    {"POS50", [](const TForm1& f) -> std::optional<QString> { return Checked(f.POS50); }},
    {"POS90", [](const TForm1& f) -> std::optional<QString> { return Checked(f.POS90); }},
    {"TrigPosPreLo", [](const TForm1& f) -> std::optional<QString> { return Num(f.TrigPosPreLo); }},
    {"TrigPosPreHi", [](const TForm1& f) -> std::optional<QString> { return Num(f.TrigPosPreHi); }},
    {"TrigPosPostLo", [](const TForm1& f) -> std::optional<QString> { return Num(f.TrigPosPostLo); }},
    {"TrigPosPostHi", [](const TForm1& f) -> std::optional<QString> { return Num(f.TrigPosPostHi); }},
    {"Label3", [](const TForm1& f) -> std::optional<QString> { return f.Label3->text(); }},
    {"AutoMeasOn", [](const TForm1& f) -> std::optional<QString> { return Num(f.AutoMeasOn); }},
    {"ReferenceOn", [](const TForm1& f) -> std::optional<QString> { return Num(f.ReferenceOn); }},
    {"Image26 shown", [](const TForm1& f) -> std::optional<QString> { return Bool(Shown(f.Image26)); }},
    {"FormWidth", [](const TForm1& f) -> std::optional<QString> { return Num(f.FormWidth()); }},
    {"FormLeft", [](const TForm1& f) -> std::optional<QString> { return Num(f.x()); }},
    {"FormTop", [](const TForm1& f) -> std::optional<QString> { return Num(f.y()); }},
};

inline void Add(QStringList& lines, const TForm1& f, const Item& item) {
  if (const std::optional<QString> value = item.read(f)) lines << QLatin1String(item.name) + u'=' + *value;
}

}  // namespace panel_snapshot

// Every item of the panel.
inline QStringList PanelSnapshot(const TForm1& f) {
  QStringList lines;
  for (const panel_snapshot::Item& item : panel_snapshot::kItems) panel_snapshot::Add(lines, f, item);
  return lines;
}

// The named items, in the order given; a name the table lacks fails the test.
inline QStringList PanelSnapshot(const TForm1& f, std::initializer_list<std::string_view> names) {
  QStringList lines;
  for (std::string_view name : names) {
    const auto* item = std::find_if(std::begin(panel_snapshot::kItems), std::end(panel_snapshot::kItems),
                                    [&](const panel_snapshot::Item& i) { return name == i.name; });
    if (item == std::end(panel_snapshot::kItems)) {
      ADD_FAILURE() << "no panel item \"" << name << "\"";
      continue;
    }
    panel_snapshot::Add(lines, f, *item);
  }
  return lines;
}

#pragma once
// Each test gets a settings store of its own: XDG_CONFIG_HOME points at a
// fresh folder before any window (and its store) is built, so a second
// window in the same test finds what the first one saved.
//
// ReplaceStore() puts a whole store in place at once, under a running window
// too, whose store notices it at its next read.

#include "storage/SettingsDefaults.h"
#include "storage/SettingsStore.h"

#include "support/ConfigHome.h"
#include "support/WaitFor.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <string_view>
#include <variant>
#include <vector>

struct StoreValue {
  QString name;
  std::variant<int, QString> value;
};
using StoreValues = std::vector<StoreValue>;

inline QString Latin1(std::string_view text) { return QString::fromLatin1(text.data(), qsizetype(text.size())); }

// Every value the restore reads, as a new user's store holds them (port SIM1).
inline StoreValues CompleteStore() {
  StoreValues values;
  auto add = [&values](const settings_defaults::StoredDefault& d) {
    if (d.Kind() == stored::Kind::Text)
      values.push_back({Latin1(d.Name()), Latin1(d.text)});
    else
      values.push_back({Latin1(d.Name()), int(d.number)});
  };
  for (const auto& d : settings_defaults::LoadDefaults) add(d);
  for (const auto& d : settings_defaults::FirstStartExtras) add(d);
  values.push_back({QStringLiteral("COMPORT"), QStringLiteral("SIM1")});
  return values;
}

// `values` with the named ones replaced (or added) and `without` left out.
inline StoreValues With(StoreValues values, const StoreValues& changes, const QStringList& without = {}) {
  for (const StoreValue& change : changes) {
    bool replaced = false;
    for (StoreValue& v : values)
      if (v.name == change.name) {
        v.value = change.value;
        replaced = true;
      }
    if (!replaced) values.push_back(change);
  }
  std::erase_if(values, [&](const StoreValue& v) { return without.contains(v.name); });
  return values;
}

class RestoreFixture : public ConfigHomeFixture {
 protected:

  // Writes the values into the default key's store (before a window exists).
  static void PutStore(const StoreValues& values) { ReplaceStore(SettingsStore(), values); }

  // Replaces the whole store under a running window with exactly `values`:
  // the store file's text (one "name=int:N" or "name=str:text" line each) is
  // written beside it and renamed over it, as the store's own writers do, and
  // the store reads it at its next read. Far quicker than a write per value,
  // each of which is flushed to the disk.
  static void ReplaceStore(const SettingsStore& live, const StoreValues& values) {
    QByteArray text;
    for (const StoreValue& v : values) {
      text += v.name.toUtf8();
      if (const int* number = std::get_if<int>(&v.value)) {
        text += "=int:" + QByteArray::number(*number);
      } else {
        QString escaped = std::get<QString>(v.value);
        escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u'\n', QStringLiteral("\\n")).replace(u'\r', QStringLiteral("\\r"));
        text += "=str:" + escaped.toUtf8();
      }
      text += '\n';
    }
    const QString made = live.FilePath() + QStringLiteral(".made-by-test");
    {
      QFile file(made);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
      ASSERT_EQ(file.write(text), text.size());
    }
    ASSERT_EQ(std::rename(QFile::encodeName(made).constData(), QFile::encodeName(live.FilePath()).constData()), 0);
  }

  static QByteArray FileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
  }

  // The one error of a restore that gave damaged values their defaults, once
  // the restore's command is done: the store's `message` for the first of
  // them, then where the store as it was is kept (that copy, beside the
  // store's file, holds exactly the bytes the store held, `before`), then
  // each value replaced as it was held and the default it took (`replaced`).
  static void ExpectReplacedKeeping(const QStringList& errors, const QString& message, const SettingsStore& store,
                                    const QByteArray& before, const QString& replaced) {
    ASSERT_TRUE(WaitFor([&] { return !errors.isEmpty(); }));
    ASSERT_EQ(errors.size(), 1) << errors.join(u'|').toStdString();
    const QStringList lines = errors.front().split(u'\n');
    ASSERT_EQ(lines.size(), 3) << errors.front().toStdString();
    EXPECT_EQ(lines[0], message);
    const QString prefix = QStringLiteral("The settings file as it was is kept as \"");
    ASSERT_TRUE(lines[1].startsWith(prefix) && lines[1].endsWith(QStringLiteral("\"."))) << lines[1].toStdString();
    const QString kept = lines[1].mid(prefix.size(), lines[1].size() - prefix.size() - 2);
    EXPECT_TRUE(kept.startsWith(store.FilePath() + QStringLiteral(".damaged-"))) << kept.toStdString();
    EXPECT_EQ(FileBytes(kept), before);
    EXPECT_EQ(lines[2], QStringLiteral("Stored settings that could not be used took their defaults: %1.").arg(replaced));
  }

  static void Write(SettingsStore& store, const StoreValues& values) {
    for (const StoreValue& v : values) {
      if (const int* number = std::get_if<int>(&v.value))
        store.WriteInteger(v.name, *number);
      else
        store.WriteString(v.name, std::get<QString>(v.value));
    }
  }

};

#pragma once
// Each test gets a settings store of its own: XDG_CONFIG_HOME points at a
// fresh folder before any window (and its store) is built, so a second
// window in the same test finds what the first one saved.
//
// Stores are made through SettingsRegistry itself: StoreUnder() builds one
// under a scratch key and MoveStoreOver() puts its file in place of the
// window's, which the window's store notices at its next read.

#include "storage/SettingsDefaults.h"
#include "storage/SettingsRegistry.h"

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
  using settings_defaults::ValueKind;
  StoreValues values;
  auto add = [&values](const settings_defaults::StoredDefault& d) {
    if (d.kind == ValueKind::Text)
      values.push_back({Latin1(d.name), Latin1(d.text)});
    else
      values.push_back({Latin1(d.name), int(d.number)});
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

class RestoreFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(config_.isValid());
    previousConfig_ = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
  }
  void TearDown() override { qputenv("XDG_CONFIG_HOME", previousConfig_); }

  QString ConfigHome() const { return config_.path(); }

  // Writes the values into the default key's store (before a window exists).
  static void PutStore(const StoreValues& values) {
    SettingsRegistry store;
    Write(store, values);
  }

  // Replaces the whole store under a running window with exactly `values`.
  void ReplaceStore(SettingsRegistry& live, const StoreValues& values) {
    const QString scratchKey = QStringLiteral("\\Software\\RestoreTests\\Scratch%1\\").arg(++scratchCount_);
    QString madeFile;
    {
      SettingsRegistry scratch(scratchKey);
      Write(scratch, values);
      // A store with no values has no file yet; one value written and
      // overwritten would leave it, so an empty store is an empty file.
      madeFile = scratch.FilePath();
      if (values.empty()) {
        QFile empty(madeFile);
        ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
      }
    }
    // One rename, as the store's own writers replace the file.
    ASSERT_EQ(std::rename(QFile::encodeName(madeFile).constData(), QFile::encodeName(live.FilePath()).constData()), 0);
  }

  static void Write(SettingsRegistry& store, const StoreValues& values) {
    for (const StoreValue& v : values) {
      if (const int* number = std::get_if<int>(&v.value))
        store.WriteInteger(v.name, *number);
      else
        store.WriteString(v.name, std::get<QString>(v.value));
    }
  }

 private:
  QTemporaryDir config_;
  QByteArray previousConfig_;
  int scratchCount_ = 0;
};

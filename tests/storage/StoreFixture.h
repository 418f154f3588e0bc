#pragma once
// Each test gets a config folder of its own, so no test sees another's store
// (test_main points XDG_CONFIG_HOME at one folder for the whole program).

#include "support/ConfigHome.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

class StoreFixture : public ConfigHomeFixture {
 protected:
  // The folder of the default key "\Software\TessaronInc\Veldrin\5.0\".
  QString StoreFolder() const { return ConfigHome() + QStringLiteral("/TessaronInc/Veldrin/5.0"); }
  QString StoreFile() const { return StoreFolder() + QStringLiteral("/settings"); }

  void PutStoreFile(const QByteArray& content) const { PutFile(StoreFile(), content); }
  static void PutFile(const QString& path, const QByteArray& content) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(content), content.size());
  }
  static QByteArray FileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
  }
  QStringList StoreFolderEntries(const QString& pattern) const {
    return QDir(StoreFolder()).entryList({pattern}, QDir::Files | QDir::Hidden, QDir::Name);
  }
  // The one copy a damaged store file was set aside as, or an empty path
  // (and a failure) when there is not exactly one.
  QString KeptAsideCopy() const {
    const QStringList kept = StoreFolderEntries(QStringLiteral("settings.damaged-*"));
    EXPECT_EQ(kept.size(), 1);
    return kept.size() == 1 ? StoreFolder() + u'/' + kept.front() : QString();
  }

};

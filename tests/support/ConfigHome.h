#pragma once
// Each test gets a config folder of its own, so no test sees another's store
// (test_main points XDG_CONFIG_HOME at one folder for the whole program).

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

class ConfigHomeFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(config_.isValid());
    previousConfig_ = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
  }
  void TearDown() override { qputenv("XDG_CONFIG_HOME", previousConfig_); }

  QString ConfigHome() const { return config_.path(); }

 private:
  QTemporaryDir config_;
  QByteArray previousConfig_;
};

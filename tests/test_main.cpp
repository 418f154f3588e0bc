// One main for every test program: a QApplication must exist before any
// widget or image with text is made. Tests point XDG_CONFIG_HOME at a fresh
// temporary folder so they never touch the user's settings.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("Tessaron USB Oscilloscope"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

// A port name that is no serial port, in the real window: the watch never
// opens it, the indicator stays disconnected, and the user is told why once,
// not at every tick. A long by-id link to the instrument connects.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/ScopeWindow.h"
#include "support/SimProcess.h"

TEST(RefusedPortWindow, TheWatchSaysWhyOnceAndStaysDisconnected) {
  struct Case {
    QString name;
    QString box;
  };
  const Case cases[] = {
      {QStringLiteral("/dev/tty"),
       QStringLiteral("Could not open port: /dev/tty.  This is not a serial port.")},
      {QStringLiteral("/dev/ptmx"),
       QStringLiteral("Could not open port: /dev/ptmx.  This is not a serial port.")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    ScopeWindow w(/*show=*/true, /*stopWatch=*/true);
    w.scope.PortNameLabel()->setText(c.name);
    for (int tick = 0; tick < 3; ++tick) EXPECT_TRUE(WatchTick(*w.form));
    EXPECT_EQ(w.ui.errors, QStringList{c.box});
    EXPECT_FALSE(w->SerialPort.IsOpen);
    EXPECT_EQ(w.scope.State().DeviceFound, 0);
    EXPECT_TRUE(w->HWRevLabel->isHidden());
  }
}

TEST(RefusedPortWindow, ALongByIdLinkToTheInstrumentConnects) {
  SimProcess sim;
  sim.Start();
  QTemporaryDir dev;
  ASSERT_TRUE(QDir(dev.path()).mkpath(QStringLiteral("serial/by-id")));
  const QString link = dev.path() +
                       QStringLiteral("/serial/by-id/usb-Tessaron_Inc._Tessaron_USB_"
                                      "Oscilloscope_TS-2C-000042-if00-port0");
  ASSERT_GT(link.size(), 64);
  ASSERT_TRUE(QFile::link(sim.Link(), link));

  ScopeWindow w(/*show=*/true, /*stopWatch=*/true);
  w.scope.PortNameLabel()->setText(link);
  EXPECT_TRUE(WatchTick(*w.form));
  EXPECT_TRUE(w.ui.errors.isEmpty());
  EXPECT_TRUE(w->SerialPort.IsOpen);
  EXPECT_EQ(w.scope.State().DeviceFound, 1);
  EXPECT_EQ(QString::fromStdString(w->SerialPort.PortName), link);
}

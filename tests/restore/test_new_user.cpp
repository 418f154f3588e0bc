// A brand-new user: an empty config folder, no instrument. The program
// starts without an error, is connected to the simulated instrument by the
// connection watch, and RUN shows a trace.

#include "RestoreFixture.h"

#include "connection/SystemPorts.h"
#include "storage/SettingsDefaults.h"
#include "support/ScopeWindow.h"

#include <QTimer>

#include <gtest/gtest.h>

namespace {

using NewUser = RestoreFixture;

QStringList UsbSerialPorts() {
  QStringList ports;
  for (const connection::SystemPort& port : connection::ListSystemPorts())
    if (port.usb) ports << port.name;
  return ports;
}

bool HasCH1Trace(const QImage& plot) {
  const QRgb ch1 = qRgb(0x00, 0x7E, 0xFF);  // TColor $00FF7E00
  for (int y = 0; y < plot.height(); ++y)
    for (int x = 0; x < plot.width(); ++x)
      if (plot.pixel(x, y) == ch1) return true;
  return false;
}

TEST_F(NewUser, StartsWithoutAnErrorOnTheSimulatorAndSeesATraceAfterRun) {
  ScopeWindow w(true, false, ScopeWindow::Store::FromEnvironment);  // the watch runs, as in the program
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join(u'|').toStdString();
  EXPECT_TRUE(w.ui.messages.isEmpty()) << w.ui.messages.join(u'|').toStdString();
  const QString port = settings_defaults::FirstStartComPort(UsbSerialPorts());
  EXPECT_EQ(w.scope.PortNameLabel()->text(), port);
  for (stored::Id id : settings_defaults::RestoreReads)
    EXPECT_TRUE(w->SettingsRegistry.ValueExists(stored::Name(id))) << stored::NameOf(id);
  EXPECT_TRUE(TForm1::Enabled(w.scope.Timer(QStringLiteral("AboutTimer"))));  // the restore ran to its end
  EXPECT_FALSE(HasCH1Trace(w->PlotBitmap));
  if (port != QLatin1String("SIM1")) GTEST_SKIP() << "a USB serial port is present: " << port.toStdString();

  ASSERT_TRUE(WaitFor([&] { return w.scope.State().DeviceFound == 1; }, 10000)) << "the watch never found the instrument";

  // RUN runs the capture loop inside the click; a timer looks at the screen
  // from within that loop and presses STOP once a trace is there.
  bool traceSeen = false;
  QTimer look;
  look.setInterval(20);
  QObject::connect(&look, &QTimer::timeout, [&] {
    if (w.scope.State().PlotValid == 1 && HasCH1Trace(w->PlotBitmap)) {
      traceSeen = true;
      look.stop();
      w.scope.Guarded([&] { w.scope.PressRun(); });
    }
  });
  look.start();
  QTimer::singleShot(0, w.form.get(), [&] { w.scope.Guarded([&] { w.scope.PressRun(); }); });
  ASSERT_TRUE(WaitFor([&] { return traceSeen && w.scope.State().Running == 0 && w.scope.State().AwaitingData == 0; }, 20000));
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join(u'|').toStdString();
}

}  // namespace

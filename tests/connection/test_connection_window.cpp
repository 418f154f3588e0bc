// The connection watch in the real window, against a real tessaron-sim on a
// pseudo-terminal. Ticks are driven by WatchTick (Timer1Timer, waited for to
// the end of its exchange); the 1 s timer is
// stopped so it never runs in between.
#include "support/SimProcess.h"
#include "connection/PortList.h"
#include "storage/SettingsDefaults.h"
#include "storage/SettingsStore.h"
#include "support/ScopeWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QTest>

namespace {

QString PictureName(const TImage* image) {
  const QString path = image->FileName();
  return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

// What the window shows about the instrument, in one place.
void ExpectConnected(const ScopeWindow& w) {
  EXPECT_EQ(w.scope.State().DeviceFound, 1);
  EXPECT_TRUE(w->SerialPort.IsOpen);
  EXPECT_EQ(PictureName(w.scope.ConnectionIndicator()), QStringLiteral("USBCON.bmp"));
  EXPECT_FALSE(w.scope.Find<TLabel>(QStringLiteral("HWRevLabel"))->isHidden());
  EXPECT_TRUE(w.scope.DetectRevisionButton()->isEnabled());
}

void ExpectDisconnected(const ScopeWindow& w) {
  EXPECT_EQ(w.scope.State().DeviceFound, 0);
  EXPECT_FALSE(w->SerialPort.IsOpen);
  EXPECT_EQ(PictureName(w.scope.ConnectionIndicator()), QStringLiteral("USBCON#.bmp"));
  EXPECT_TRUE(w.scope.Find<TLabel>(QStringLiteral("HWRevLabel"))->isHidden());
  EXPECT_FALSE(w.scope.DetectRevisionButton()->isEnabled());
}

void ClearIdentity(const ScopeWindow& w) {
  for (QLineEdit* edit : {w.scope.RevisionEdit(), w.scope.FirmwareEdit(), w.scope.FirmwareDateEdit()}) edit->clear();
  w.scope.DetectRevisionButton()->setText(QStringLiteral("untouched"));
}

int IndexOfPort(QComboBox* box, const QString& port) {
  for (int i = 0; i < box->count(); ++i)
    if (box->itemText(i).endsWith(QLatin1Char('(') + port + QLatin1Char(')'))) return i;
  return -1;
}

// The user picking an item of the chooser; the tick it runs is waited for to
// the end of its exchange.
void Choose(const ScopeWindow& w, QComboBox* box, int index) {
  box->setCurrentIndex(index);
  Q_EMIT box->activated(index);
  EXPECT_TRUE(WaitFor([&] { return !w->Link.Exchanging(); }, 5000));
}

class ConnectionWindow : public ::testing::Test {
 protected:
  ConnectionWindow() : w(true, /*stopWatch=*/true) {}
  SimProcess sim;
  ScopeWindow w;
};

TEST_F(ConnectionWindow, TickConnectsAndShowsTheIdentity) {
  sim.Start();
  w.scope.PortNameLabel()->setText(sim.Link());
  EXPECT_TRUE(WatchTick(*w.form));

  ExpectConnected(w);
  EXPECT_EQ(w.scope.RevisionEdit()->text(), QStringLiteral("Tessaron USB Oscilloscope Rev A"));
  EXPECT_EQ(w.scope.FirmwareEdit()->text(), QStringLiteral("S.I.M"));
  EXPECT_EQ(w.scope.FirmwareDateEdit()->text(), QStringLiteral("Dec. 2006"));
  EXPECT_EQ(w.scope.Find<TLabel>(QStringLiteral("HWRevLabel"))->text(), QStringLiteral("S.I.M"));
  EXPECT_EQ(w.scope.DetectRevisionButton()->text(), QStringLiteral("Detect HW Rev."));

  // Detection runs on the way into the connected state only.
  ClearIdentity(w);
  EXPECT_TRUE(WatchTick(*w.form));
  ExpectConnected(w);
  EXPECT_TRUE(w.scope.FirmwareEdit()->text().isEmpty());
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join('\n').toStdString();
}

TEST_F(ConnectionWindow, UnplugAndReplugAtTheSamePath) {
  sim.Start();
  w.scope.PortNameLabel()->setText(sim.Link());
  EXPECT_TRUE(WatchTick(*w.form));
  ExpectConnected(w);

  sim.Kill();
  EXPECT_TRUE(WatchTick(*w.form));
  ExpectDisconnected(w);

  // Back, as another revision: the detection is run again and reads it.
  ClearIdentity(w);
  sim.Start({QStringLiteral("--revision"), QStringLiteral("B")});
  EXPECT_TRUE(WatchTick(*w.form));
  ExpectConnected(w);
  EXPECT_EQ(w.scope.RevisionEdit()->text(), QStringLiteral("Tessaron USB Oscilloscope Rev B"));
  EXPECT_EQ(w.scope.FirmwareDateEdit()->text(), QStringLiteral("Dec. 2006"));
  EXPECT_EQ(w.scope.DetectRevisionButton()->text(), QStringLiteral("Detect HW Rev."));
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join('\n').toStdString();
}

TEST_F(ConnectionWindow, ReplugBetweenTwoTicksCostsOneTick) {
  sim.Start();
  w.scope.PortNameLabel()->setText(sim.Link());
  EXPECT_TRUE(WatchTick(*w.form));
  ExpectConnected(w);

  // The port is still open on the vanished device when the new one appears
  // under the same name: that tick fails and closes it, the next one finds
  // the new device.
  sim.Kill();
  sim.Start();
  EXPECT_TRUE(WatchTick(*w.form));
  ExpectDisconnected(w);
  ClearIdentity(w);
  EXPECT_TRUE(WatchTick(*w.form));
  ExpectConnected(w);
  EXPECT_EQ(w.scope.FirmwareEdit()->text(), QStringLiteral("S.I.M"));
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join('\n').toStdString();
}

// Instruments that are there but are not taken for the scope.
class NotTheInstrument : public ConnectionWindow,
                         public ::testing::WithParamInterface<const char*> {};

TEST_P(NotTheInstrument, StaysDisconnectedAndClosesThePortEveryTick) {
  sim.Start({QStringLiteral("--fault"), QString::fromLatin1(GetParam())});
  w.scope.PortNameLabel()->setText(sim.Link());
  for (int tick = 1; tick <= 2; ++tick) {
    EXPECT_TRUE(WatchTick(*w.form));
    ExpectDisconnected(w);
    // The port was opened and asked each time, then closed again.
    EXPECT_TRUE(WaitFor([&] { return sim.IdentifyQueries() >= tick; }, 5000)) << tick;
  }
  EXPECT_EQ(w.scope.RevisionEdit()->text(), QString());
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Faults, NotTheInstrument,
                         ::testing::Values("silent", "wrong-id", "garbage"));

TEST_F(ConnectionWindow, DateDigitsThatNameNothingReadAsQuestionMarks) {
  sim.Start({QStringLiteral("--fault"), QStringLiteral("bad-date")});
  w.scope.PortNameLabel()->setText(sim.Link());
  EXPECT_TRUE(WatchTick(*w.form));
  ExpectConnected(w);
  EXPECT_EQ(w.scope.FirmwareDateEdit()->text(), QStringLiteral("?. ?"));
}

TEST_F(ConnectionWindow, APortThatIsNotThereIsNoError) {
  for (const QString& name : {QStringLiteral("COM4"), sim.Link(), QString()}) {
    w.scope.PortNameLabel()->setText(name);
    EXPECT_TRUE(WatchTick(*w.form));
    ExpectDisconnected(w);
  }
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join('\n').toStdString();
}

TEST_F(ConnectionWindow, ABusyPortIsNoError) {
  sim.Start();
  TSerial other;
  ASSERT_TRUE(other.Open(sim.Link().toStdString(), "9600", "NONE", "8", false));
  w.scope.PortNameLabel()->setText(sim.Link());
  EXPECT_TRUE(WatchTick(*w.form));
  ExpectDisconnected(w);
  EXPECT_EQ(w.ui.beeps, 0);

  other.Close();
  EXPECT_TRUE(WatchTick(*w.form));
  ExpectConnected(w);
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join('\n').toStdString();
}

TEST(ConnectionTimer, TheWatchRunsOnItsOwn) {
  ScopeWindow w;
  ASSERT_TRUE(TForm1::Enabled(w.scope.Timer(QStringLiteral("Timer1"))));
  w.scope.PortNameLabel()->setText(QStringLiteral("SIM1"));
  ASSERT_TRUE(WaitFor([&] { return w.scope.State().DeviceFound == 1; }, 10000));
  EXPECT_EQ(w.scope.RevisionEdit()->text(), QStringLiteral("Tessaron USB Oscilloscope Rev A"));
}

TEST_F(ConnectionWindow, ChoosingTheSimulatorConnectsWithinOneTick) {
  w.scope.MenuItem(QStringLiteral("COMSettings1"))->trigger();
  EXPECT_TRUE(w.scope.Find<TPanel>(QStringLiteral("SettingPanel"))->isVisible());
  w.scope.RefreshPortList();
  const int index = IndexOfPort(w.scope.PortList(), QStringLiteral("SIM1"));
  ASSERT_GE(index, 0);
  EXPECT_EQ(w.scope.PortList()->itemText(index), QStringLiteral("Built-in Simulator (SIM1)"));

  Choose(w, w.scope.PortList(), index);
  EXPECT_EQ(w.scope.PortNameLabel()->text(), QStringLiteral("SIM1"));
  ExpectConnected(w);
  EXPECT_EQ(w.scope.RevisionEdit()->text(), QStringLiteral("Tessaron USB Oscilloscope Rev A"));

  // Closing the port stops the built-in simulator; the name is gone from
  // nothing, so the next tick connects it again.
  w->SerialPort.Close();
  EXPECT_TRUE(WatchTick(*w.form));
  ExpectConnected(w);
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join('\n').toStdString();
}

TEST_F(ConnectionWindow, ChoosingAnotherPortLeavesTheOldOne) {
  sim.Start();
  w.scope.PortNameLabel()->setText(sim.Link());
  EXPECT_TRUE(WatchTick(*w.form));
  ExpectConnected(w);

  w.scope.RefreshPortList();
  Choose(w, w.scope.PortList(), IndexOfPort(w.scope.PortList(), QStringLiteral("SIM1")));
  ExpectConnected(w);
  EXPECT_EQ(w->SerialPort.PortName, "SIM1");

  // An item without a port in it selects nothing and changes nothing.
  w.scope.PortList()->addItem(QStringLiteral("No port here"));
  Choose(w, w.scope.PortList(), w.scope.PortList()->count() - 1);
  EXPECT_EQ(w.scope.PortNameLabel()->text(), QStringLiteral("SIM1"));
  EXPECT_EQ(w->SerialPort.PortName, "SIM1");
}

TEST_F(ConnectionWindow, ANameChangedBehindTheWatchIsOpenedAtTheNextTick) {
  w.scope.PortNameLabel()->setText(QStringLiteral("SIM1"));
  EXPECT_TRUE(WatchTick(*w.form));
  ExpectConnected(w);
  // A restore or a settings file writes another port into Label3.
  sim.Start();
  w.scope.PortNameLabel()->setText(sim.Link());
  ClearIdentity(w);
  EXPECT_TRUE(WatchTick(*w.form));
  ExpectConnected(w);
  EXPECT_EQ(QString::fromStdString(w->SerialPort.PortName), sim.Link());
}

TEST_F(ConnectionWindow, DiscoveryListsTheNamedPortBeforeTheSimulator) {
  sim.Start();
  QStringList plain;
  w.scope.PortNameLabel()->setText(QStringLiteral("COM4"));
  w->EnumerateComPorts(false, plain);
  ASSERT_FALSE(plain.isEmpty());
  EXPECT_EQ(plain.last(), QStringLiteral("SIM1"));
  EXPECT_FALSE(plain.contains(sim.Link()));
  for (const QString& name : plain) EXPECT_FALSE(name.startsWith(QStringLiteral("/dev/pts/")));

  w.scope.PortNameLabel()->setText(sim.Link());
  w->EnumerateComPorts(false, plain);
  ASSERT_GE(plain.size(), 2);
  EXPECT_EQ(plain.at(plain.size() - 2), sim.Link());
  QStringList display;
  w->EnumerateComPorts(true, display);
  ASSERT_EQ(display.size(), plain.size());
  for (int i = 0; i < plain.size(); ++i)
    EXPECT_EQ(connection::PortNameFromItem(display.at(i)), plain.at(i)) << i;

  sim.Kill();
  w->EnumerateComPorts(false, plain);
  EXPECT_FALSE(plain.contains(sim.Link()));
}

TEST_F(ConnectionWindow, KeysNeverChangeTheChoiceButRefreshTheList) {
  w.scope.MenuItem(QStringLiteral("COMSettings1"))->trigger();
  w.scope.RefreshPortList();
  ASSERT_EQ(w.scope.PortList()->currentIndex(), -1);
  w.scope.PortList()->clear();
  const QString before = w.scope.PortNameLabel()->text();
  for (Qt::Key key : {Qt::Key_Down, Qt::Key_End, Qt::Key_S, Qt::Key_Return}) {
    QTest::keyClick(w.scope.PortList(), key);
    EXPECT_EQ(w.scope.PortList()->currentIndex(), -1) << key;
    EXPECT_GT(w.scope.PortList()->count(), 0) << key;
    EXPECT_EQ(w.scope.PortNameLabel()->text(), before) << key;
    w.scope.PortList()->clear();
  }
}

TEST_F(ConnectionWindow, TheListIsRefreshedWhenItDropsDownOrIsEntered) {
  w.scope.MenuItem(QStringLiteral("COMSettings1"))->trigger();
  w.scope.PortList()->clear();
  w.scope.PortList()->showPopup();
  EXPECT_EQ(IndexOfPort(w.scope.PortList(), QStringLiteral("SIM1")), w.scope.PortList()->count() - 1);
  w.scope.PortList()->hidePopup();

  w.scope.ComSettingsCloseButton()->setFocus(Qt::OtherFocusReason);
  w.scope.PortList()->clear();
  QApplication::setActiveWindow(w.form.get());
  w.scope.PortList()->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(WaitFor([&] { return w.scope.PortList()->hasFocus(); }));
  EXPECT_GT(w.scope.PortList()->count(), 0);
}

TEST_F(ConnectionWindow, PanelOpensFromTheMenuTheKeyAndTheIndicator) {
  w.scope.MenuItem(QStringLiteral("COMSettings1"))->trigger();
  EXPECT_TRUE(w.scope.Find<TPanel>(QStringLiteral("SettingPanel"))->isVisible());
  EXPECT_EQ(PictureName(w.scope.Find<TImage>(QStringLiteral("SettingButton"))), QStringLiteral("SettingButton2.bmp"));
  QTest::mouseClick(w.scope.ComSettingsCloseButton(), Qt::LeftButton);
  EXPECT_FALSE(w.scope.Find<TPanel>(QStringLiteral("SettingPanel"))->isVisible());

  QTest::mousePress(w.scope.Find<TImage>(QStringLiteral("SettingButton")), Qt::LeftButton);
  EXPECT_EQ(PictureName(w.scope.Find<TImage>(QStringLiteral("SettingButton"))), QStringLiteral("SettingButton2.bmp"));
  QTest::mouseRelease(w.scope.Find<TImage>(QStringLiteral("SettingButton")), Qt::LeftButton);
  EXPECT_EQ(PictureName(w.scope.Find<TImage>(QStringLiteral("SettingButton"))), QStringLiteral("SettingButton1.bmp"));
  EXPECT_TRUE(w.scope.Find<TPanel>(QStringLiteral("SettingPanel"))->isVisible());

  QTest::mouseClick(w.scope.ComSettingsCloseButton(), Qt::LeftButton);
  QTest::mouseClick(w.scope.ConnectionIndicator(), Qt::LeftButton);
  EXPECT_TRUE(w.scope.Find<TPanel>(QStringLiteral("SettingPanel"))->isVisible());
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join('\n').toStdString();
}

TEST_F(ConnectionWindow, StatusStripPiecesCoverNoOtherReadout) {
  const QWidget* mine[] = {w.scope.ConnectionIndicator(), w.scope.Find<TLabel>(QStringLiteral("HWRevLabel")), w.scope.Find<TImage>(QStringLiteral("SettingButton"))};
  for (const QWidget* piece : mine) {
    ASSERT_EQ(piece->parentWidget(), w.scope.StatusStrip());
    EXPECT_TRUE(w.scope.StatusStrip()->rect().contains(piece->geometry())) << piece->objectName().toStdString();
    for (const QObject* child : w.scope.StatusStrip()->children()) {
      const auto* other = qobject_cast<const QWidget*>(child);
      if (!other || std::find(std::begin(mine), std::end(mine), other) != std::end(mine)) continue;
      EXPECT_FALSE(piece->geometry().intersects(other->geometry()))
          << piece->objectName().toStdString() << " covers " << other->objectName().toStdString();
    }
  }
  EXPECT_TRUE(w.scope.ConnectionIndicator()->geometry().contains(w.scope.Find<TLabel>(QStringLiteral("HWRevLabel"))->geometry()));
}

// --port: the name given for this run wins over the stored one, and is
// stored at close like a choice in the panel.
TEST(CommandLinePort, WinsOverTheStoredPortAndConnectsAtTheFirstTick) {
  SimProcess sim;
  sim.Start();
  ScopeWindow w(/*show=*/false, /*stopWatch=*/true);
  settings_defaults::FillFirstStart(w->SettingsRegistry, QStringLiteral("/dev/ttyS0"));
  w->CommandLinePort = sim.Link();
  w->show();
  ASSERT_TRUE(WaitFor([&] { return w.scope.PortNameLabel()->text() == sim.Link(); }));
  RunEventsFor(50);
  EXPECT_EQ(w.scope.PortNameLabel()->text(), sim.Link());
  EXPECT_TRUE(WatchTick(*w.form));
  ExpectConnected(w);

  w->close();
  EXPECT_EQ(w->SettingsRegistry.ReadString(QStringLiteral("COMPORT")), sim.Link());
}

TEST(CommandLinePort, AChoiceInThePanelOutranksIt) {
  SimProcess sim;
  sim.Start();
  ScopeWindow w(/*show=*/false, /*stopWatch=*/true);
  w->CommandLinePort = sim.Link();
  w->show();
  ASSERT_TRUE(WaitFor([&] { return w.scope.PortNameLabel()->text() == sim.Link(); }));
  w.scope.RefreshPortList();
  Choose(w, w.scope.PortList(), IndexOfPort(w.scope.PortList(), QStringLiteral("SIM1")));
  EXPECT_TRUE(WatchTick(*w.form));
  EXPECT_EQ(w.scope.PortNameLabel()->text(), QStringLiteral("SIM1"));
  ExpectConnected(w);
}

}  // namespace

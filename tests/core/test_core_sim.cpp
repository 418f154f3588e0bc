// The core beside the window it will carry, both against the simulator:
// tessaron-log's readings of a record are the window's measurement texts of
// the same record, and the panel the core reads from a store sends the
// command the window sends after restoring that store.
#include <gtest/gtest.h>

#include "app/ReadoutText.h"
#include "core/StoredPanel.h"
#include "restore/RestoreFixture.h"
#include "support/ScopeWindow.h"
#include "support/SimProcess.h"
#include "support/WaitFor.h"

#include <QAction>
#include <QLocale>
#include <QProcess>

namespace {

// Store values of the knobs, by the detents of their rows.
constexpr int Angle50us = 114, Angle100us = 138, Angle200us = 162, Angle2ms = 234;
constexpr int Angle200mV = 180, Angle1V = 270, Angle2V = 315;

// The simulator's signals stand still under a triggered capture, so a record
// taken by the logger and one taken by the window from the same panel hold
// the same bytes: the logger's own lines, all alike, show it.
class LogAndWindow : public RestoreFixture {
 protected:
  struct Case {
    const char* name;
    QStringList signals;  // tessaron-sim options
    StoreValues panel;    // the front panel both restore
  };

  // The logger's readings of `count` records, one list of twenty fields each.
  QList<QStringList> LogReadings(int count) {
    QProcess log;
    log.setProgram(ProgramPath(QStringLiteral("tessaron-log")));
    log.setArguments({QStringLiteral("--port"), sim.Link(), QStringLiteral("--count"), QString::number(count)});
    log.start();
    EXPECT_TRUE(log.waitForStarted(10000));
    EXPECT_TRUE(WaitFor([&] { return log.state() == QProcess::NotRunning; }, 30000));
    EXPECT_EQ(log.exitCode(), 0) << log.readAllStandardError().toStdString();
    QList<QStringList> records;
    const QStringList lines = QString::fromUtf8(log.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    for (const QString& line : lines.mid(1)) records << line.split(u',').mid(2);
    return records;
  }

  // The panel's texts the logger's numbers stand for, through the window's
  // own formatters; a channel that is off reads as nothing at all.
  static QStringList AsPanelTexts(const QStringList& fields, bool channelOn) {
    using namespace readout_text;
    if (!channelOn) return QStringList(10, QString());
    const auto volts = [](const QString& v) { return FormatCursortext(qRound64(v.toDouble() * 100.0)); };
    const auto time = [](const QString& s) { return FormatCursorTime(s.isEmpty() ? 0 : qRound64(s.toDouble() * 1e6)); };
    const QString& frequency = fields[6];
    return {volts(fields[0]), volts(fields[1]), volts(fields[2]), volts(fields[3]), volts(fields[4]),
            time(fields[5]),
            frequency.toDouble() <= 0 ? QStringLiteral("0 Hz")
                                : FormatFreq(qRound64(1e6 / frequency.toDouble()), QLocale().decimalPoint()),
            time(fields[7]), time(fields[8]),
            fields[9].isEmpty() ? QStringLiteral("No Cycle") : fields[9] + u'%'};
  }

  // The window's ten value labels of a channel, as the user sees them.
  static QStringList WindowTexts(TForm1& f, int channel) {
    const QList<TLabel*> labels =
        channel == 1 ? QList<TLabel*>{ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1Max")), ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1Min")), ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1PkPk")), ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1Mean")), ScopeDriver(f).Find<TLabel>(QStringLiteral("Ch1RMS")), ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1Period")), ScopeDriver(f).Find<TLabel>(QStringLiteral("Ch1Freq")),
                                      ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1PosPulseWidth")), ScopeDriver(f).Find<TLabel>(QStringLiteral("Ch1NegPulseWidth")), ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1DutyCyle"))}
                     : QList<TLabel*>{ScopeDriver(f).Find<TLabel>(QStringLiteral("CH2Max")), ScopeDriver(f).Find<TLabel>(QStringLiteral("Ch2Min")), ScopeDriver(f).Find<TLabel>(QStringLiteral("CH2PkPk")), ScopeDriver(f).Find<TLabel>(QStringLiteral("Ch2Mean")), ScopeDriver(f).Find<TLabel>(QStringLiteral("Ch2RMS")), ScopeDriver(f).Find<TLabel>(QStringLiteral("Ch2Period")), ScopeDriver(f).Find<TLabel>(QStringLiteral("Ch2Freq")),
                                      ScopeDriver(f).Find<TLabel>(QStringLiteral("CH2pulsewidth")), ScopeDriver(f).Find<TLabel>(QStringLiteral("CH2NegPulseWidth")), ScopeDriver(f).Find<TLabel>(QStringLiteral("CH2DutyCyc"))};
    QStringList texts;
    for (const TLabel* label : labels) texts << (label->isVisibleTo(label->parentWidget()) ? label->text() : QString());
    return texts;
  }

  void Check(const Case& c) {
    SCOPED_TRACE(c.name);
    sim.Start(c.signals);
    PutStore(With(CompleteStore(), c.panel));
    const bool on[2] = {SettingsStore().ReadInteger(QStringLiteral("CH1On")) == 1,
                        SettingsStore().ReadInteger(QStringLiteral("CH2On")) == 1};

    const QList<QStringList> logged = LogReadings(3);
    ASSERT_EQ(logged.size(), 3);
    for (const QStringList& record : logged) {
      ASSERT_EQ(record.size(), 20);
      ASSERT_EQ(record, logged.front()) << "the simulator gave two different records";
    }
    // Something to compare in the cycle readings: the first channel saw a cycle.
    ASSERT_FALSE(logged.front()[5].isEmpty());

    ScopeWindow w(true, /*stopWatch=*/true, ScopeWindow::Store::FromEnvironment);
    TForm1& f = *w.form;
    ScopeDriver& scope = w.scope;
    ASSERT_TRUE(f.SerialPort.Open(sim.Link().toStdString(), "9600", "NONE", "8", false));
    ASSERT_EQ(scope.State().AutoMeasOn, 1);
    ScopeDriver(f).MenuItem(QStringLiteral("Single"))->trigger();
    ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger();
    ASSERT_TRUE(WaitFor([&] { return scope.State().Running == 0 && scope.State().AwaitingData == 0 && scope.State().PlotValid == 1; }, 20000));
    EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join(u'\n').toStdString();
    for (int n = 1; n <= 2; ++n) {
      const QStringList fields = logged.front().mid(10 * (n - 1), 10);
      EXPECT_EQ(AsPanelTexts(fields, on[n - 1]), WindowTexts(f, n)) << "CH" << n << ": " << fields.join(u',').toStdString();
    }
  }

  SimProcess sim;
};

// The other channel stands still beside the triggering one at a whole
// multiple of its frequency. A square's edges fall between samples (its
// half period is no whole number of samples within a record), so no sample
// reads a transition that rounding could put on either side.
TEST_F(LogAndWindow, ReadingsOfASquareWaveAreTheWindowsTexts) {
  const Case cases[] = {
      {"CH1 square, CH2 sine at twice its frequency on the low range, both calibrated",
       {"--ch1", "square:1730:2.5", "--ch2", "sine:3460:0.6:0.2"},
       {{"CH1On", 1}, {"CH2On", 1}, {"CH1KnobAngle", Angle1V}, {"CH2KnobAngle", Angle200mV},
        {"Angle", Angle200us}, {"CH1TriggerV", 0}, {"CalCH1H", 2}, {"CalCH2L", -3}}},
      {"CH1 square, CH2 held at 1 V: no cycle on CH2, its duty cycle empty and its period 0",
       {"--ch1", "square:1730:2.5", "--ch2", "dc:0:0:1"},
       {{"CH1On", 1}, {"CH2On", 1}, {"CH1KnobAngle", Angle1V}, {"CH2KnobAngle", Angle1V},
        {"Angle", Angle200us}, {"CH1TriggerV", 0}}},
      {"a square at 50 us/div, both channels: the stretched record",
       {"--ch1", "square:17300:3", "--ch2", "sine:34600:1.5"},
       {{"CH1On", 1}, {"CH2On", 1}, {"CH1KnobAngle", Angle2V}, {"CH2KnobAngle", Angle1V},
        {"Angle", Angle50us}, {"CH1TriggerV", 0}}},
  };
  for (const Case& c : cases) Check(c);
}

// Triggered above 0 V, the CH2 square's edges fall between samples too.
TEST_F(LogAndWindow, ReadingsOfASineWaveAreTheWindowsTexts) {
  const Case cases[] = {
      {"CH1 sine, CH2 square at three times its frequency on the low range, both calibrated",
       {"--ch1", "sine:3000:4", "--ch2", "square:9000:0.5"},
       {{"CH1On", 1}, {"CH2On", 1}, {"CH1KnobAngle", Angle2V}, {"CH2KnobAngle", Angle200mV},
        {"Angle", Angle100us}, {"CH1TriggerV", 20}, {"CalCH1H", -1}, {"CalCH2L", 2}}},
      {"a slow sine on CH1 alone",
       {"--ch1", "sine:150:3"},
       {{"CH1On", 1}, {"CH2On", 0}, {"CH1KnobAngle", Angle1V}, {"Angle", Angle2ms}, {"CH1TriggerV", 0}}},
      {"a sine at 50 us/div, CH1 alone: 1 MS/s",
       {"--ch1", "sine:25000:2"},
       {{"CH1On", 1}, {"CH2On", 0}, {"CH1KnobAngle", Angle1V}, {"Angle", Angle50us}, {"CH1TriggerV", 0}}},
  };
  for (const Case& c : cases) Check(c);
}

// The store restored by the window and read by the core: the first capture
// command the window sends after its restore is the core's for that store.
class StoredPanelAndWindow : public RestoreFixture {};

TEST_F(StoredPanelAndWindow, TheCommandIsTheWindowsAfterTheSameRestore) {
  struct Case {
    const char* name;
    StoreValues panel;
  };
  const Case cases[] = {
      {"the defaults: CH1 alone at 100 us/div", {}},
      {"50 us/div, both channels: the stretched record", {{"Angle", Angle50us}, {"CH2On", 1}}},
      {"50 us/div, CH1 alone triggering: 1 MS/s", {{"Angle", Angle50us}}},
      {"50 us/div, CH1 alone, CH2 the source", {{"Angle", Angle50us}, {"TriggerCH", 2}, {"CH2TriggerV", -20}}},
      {"50 us/div, CH2 alone, CH1 the source", {{"Angle", Angle50us}, {"CH1On", 0}, {"CH2On", 1}}},
      {"50 us/div, CH2 alone, EXT the source", {{"Angle", Angle50us}, {"CH1On", 0}, {"CH2On", 1}, {"TriggerCH", 10}}},
      {"50 us/div, no channel on", {{"Angle", Angle50us}, {"CH1On", 0}, {"CH2On", 0}}},
      {"100 us/div, CH2 alone, CH1 the source", {{"CH1On", 0}, {"CH2On", 1}}},
      {"both ranges, CH2 the source at 40 counts, falling, the marker left",
       {{"CH2On", 1}, {"CH1KnobAngle", Angle200mV}, {"CH2KnobAngle", Angle1V}, {"TriggerCH", 2},
        {"CH2TriggerV", 40}, {"RisingTrigger", 0}, {"TrigPos", 101}, {"Angle", Angle2ms}}},
      {"CH1 at 1 V/div triggering at 20 counts", {{"CH1KnobAngle", Angle1V}, {"CH1TriggerV", 20}}},
      {"EXT the source, stored rising", {{"CH2On", 1}, {"TriggerCH", 10}, {"RisingTrigger", 1}}},
      {"EXT the source, stored falling", {{"TriggerCH", 10}, {"RisingTrigger", 0}, {"CH2TriggerV", 7}}},
      {"a source the panel does not know", {{"CH2On", 1}, {"TriggerCH", 3}, {"CH2TriggerV", -12}}},
      {"levels past the arrows' reach", {{"CH2On", 1}, {"CH1TriggerV", 250}, {"CH2TriggerV", -250}}},
      {"a level too small to move the arrow, the arrow below its marker",
       {{"CH1TriggerV", 1}, {"CH1Trig", 130}}},
      {"a level too small to move the arrow, the arrow on its marker", {{"CH1TriggerV", -1}, {"CH1Trig", 122}}},
      {"CH2 the source at 1 count, its arrow below its marker, at 10 V/div",
       {{"CH2On", 1}, {"TriggerCH", 2}, {"CH2TriggerV", 1}, {"CH2Trig", 300}, {"CH2KnobAngle", 45}}},
      {"CH1 at 100 mV/div, 1 count below 0 V", {{"CH1KnobAngle", 135}, {"CH1TriggerV", -1}}},
      {"a time knob angle past the dial, the marker off the strip", {{"Angle", 400}, {"TrigPos", -50}}},
      {"normal mode, single", {{"Auto", 0}, {"ConSample", 0}, {"TrigPos", 400}}},
  };
  SimProcess sim;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim.Start();
    PutStore(With(CompleteStore(), c.panel));
    const capture_protocol::CaptureCommand bytes = [] {
      SettingsStore store;
      return core::CaptureCommandFor(core::PanelFromStore(store));
    }();
    const QString core = QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())).toHex(' ').toUpper());

    ScopeWindow w(true, /*stopWatch=*/true, ScopeWindow::Store::FromEnvironment);
    TForm1& f = *w.form;
    ScopeDriver& scope = w.scope;
    ASSERT_TRUE(f.SerialPort.Open(sim.Link().toStdString(), "9600", "NONE", "8", false));
    ScopeDriver(f).MenuItem(QStringLiteral("Single"))->trigger();
    ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger();
    ASSERT_TRUE(WaitFor([&] { return sim.Commands() == 1; }, 20000));
    if (scope.State().Running == 1) ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger();
    ASSERT_TRUE(WaitFor([&] { return scope.State().Running == 0 && scope.State().AwaitingData == 0; }, 20000));
    EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join(u'\n').toStdString();
    QString window;
    for (const QByteArray& frame : sim.Frames())
      if (SimProcess::IsCommand(frame)) window = QString::fromLatin1(frame);
    EXPECT_EQ(core, window);
  }
}

}  // namespace

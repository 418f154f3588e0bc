// The zero calibration end to end: the real window against a tessaron-sim
// process whose converters have a zero offset of their own, with both inputs
// grounded. The calibration runs inside the test's WaitFor, as it would from
// a click; a Script acts while one of its captures is pending.

#include "acquisition/test_runstop_sim.h"
#include "display/SampleRows.h"
#include "sim/InstrumentModel.h"
#include "storage/SettingsStore.h"
#include "support/CapturePanel.h"
#include "support/ScopeWindow.h"
#include "vertical/VerticalDriving.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <vector>

namespace {

const QStringList kGrounded = {"--ch1", "dc:0:0:0", "--ch2", "dc:0:0:0"};
// Auto mode on a grounded input waits this long for an edge: a capture that
// stays pending until the test ends it.
const QStringList kNeverAnswers = {"--auto-wait", "600000"};

QStringList Offsets(const char* offsets) { return kGrounded + QStringList{"--zero-offset", offsets}; }
// Inputs that change from sample to sample, inside the low range, so a file
// read from the wrong samples or in the wrong layout shows.
const QStringList kMoving = {"--ch1", "sine:10000:0.5:0", "--ch2", "triangle:4000:0.4:0"};

constexpr int ExportHeaderLines = 5;

// The voltage text of the export for one sample: (126 - s) * G / 100 in
// units of 10 mV, written as volts with two decimals.
QString ExportedVolts(std::uint8_t sample, bool highRange) {
  const int v = (126 - sample) * (highRange ? 784 : 156) / 100;
  return QString::asprintf("%s%d.%02d", v < 0 ? "-" : "", std::abs(v) / 100, std::abs(v) % 100);
}

sim::CaptureSetup Decode(const QByteArray& hexLine) {
  sim::CommandFrame frame{};
  const QList<QByteArray> bytes = hexLine.split(' ');
  for (std::size_t i = 0; i < frame.size() && i < static_cast<std::size_t>(bytes.size()); ++i)
    frame[i] = static_cast<std::uint8_t>(bytes[static_cast<qsizetype>(i)].toUInt(nullptr, 16));
  return sim::DecodeCaptureCommand(frame);
}

class Calibration : public ::testing::Test {
 protected:
  void Start(const QStringList& simOptions) {
    sim = std::make_unique<RunStopSim>(simOptions);
    f.SerialPort.Close();  // the instrument of an earlier case
    ASSERT_TRUE(f.SerialPort.Open(sim->Device(), "9600", "NONE", "8", false));
    SetCapturePanel(f);
    // CH1 on the high range, CH2 on the low: both are put back afterwards.
    scope.State().CH2HighRange = 0;
    scope.ChooseNormalTrigger();  // calibration switches to auto and leaves it on
    scope.ChooseContinuous();
  }
  // START CALIBRATION as a click would run it; returns once it has ended.
  bool Calibrate(int deadlineMs = 10000) {
    const int before = static_cast<int>(w.ui.messages.size());
    QTimer::singleShot(0, [this] { scope.StartCalibrationButton()->click(); });
    return WaitFor([&] { return w.ui.messages.size() > static_cast<qsizetype>(before) && scope.State().Running == 0; },
                   deadlineMs);
  }
  std::vector<sim::CaptureSetup> Commands() const {
    std::vector<sim::CaptureSetup> commands;
    for (const QByteArray& frame : sim->Frames())
      if (RunStopSim::IsCommand(frame)) commands.push_back(Decode(frame));
    return commands;
  }
  std::int32_t Stored(const char* name) { return f.SettingsRegistry.ReadInteger(QString::fromLatin1(name)); }
  void StoreOffsets(std::int32_t ch1L, std::int32_t ch2L, std::int32_t ch1H, std::int32_t ch2H) {
    scope.State().CalCH1L = ch1L;
    scope.State().CalCH2L = ch2L;
    scope.State().CalCH1H = ch1H;
    scope.State().CalCH2H = ch2H;
    f.SettingsRegistry.WriteInteger("CalCH1L", ch1L);
    f.SettingsRegistry.WriteInteger("CalCH2L", ch2L);
    f.SettingsRegistry.WriteInteger("CalCH1H", ch1H);
    f.SettingsRegistry.WriteInteger("CalCH2H", ch2H);
  }
  void ExpectOffsets(std::int32_t ch1L, std::int32_t ch2L, std::int32_t ch1H, std::int32_t ch2H) {
    EXPECT_EQ(scope.State().CalCH1L, ch1L);
    EXPECT_EQ(scope.State().CalCH2L, ch2L);
    EXPECT_EQ(scope.State().CalCH1H, ch1H);
    EXPECT_EQ(scope.State().CalCH2H, ch2H);
    EXPECT_EQ(Stored("CalCH1L"), ch1L);
    EXPECT_EQ(Stored("CalCH2L"), ch2L);
    EXPECT_EQ(Stored("CalCH1H"), ch1H);
    EXPECT_EQ(Stored("CalCH2H"), ch2H);
  }
  // The panel as it was before the run: ranges, rate and Continuous back,
  // the trigger mode left on Auto, acquisition stopped.
  void ExpectPanelPutBack(std::uint8_t rate1MS = 0) {
    EXPECT_EQ(scope.State().CH1HighRange, 1);
    EXPECT_EQ(scope.State().CH2HighRange, 0);
    EXPECT_EQ(scope.State().Rate1MS, rate1MS);
    EXPECT_EQ(scope.State().ConSample, 1);
    EXPECT_TRUE(ScopeDriver(f).MenuItem(QStringLiteral("Continuous"))->isChecked());
    EXPECT_FALSE(ScopeDriver(f).MenuItem(QStringLiteral("Single"))->isChecked());
    EXPECT_EQ(scope.State().AutoTrigger, 1);
    EXPECT_TRUE(ScopeDriver(f).MenuItem(QStringLiteral("Auto1"))->isChecked());
    EXPECT_FALSE(ScopeDriver(f).MenuItem(QStringLiteral("Normal1"))->isChecked());
    EXPECT_EQ(scope.State().Running, 0);
    EXPECT_EQ(scope.State().RestartPending, 0);
  }

  // The 50 us/div row with CH2 off, set as the keys and the knob set it: the
  // panel asks for CH1's 3000-sample record at 1 MS/s.
  void OneChannelAtFiftyMicroseconds() {
    scope.PressChannelKey(2);
    scope.PressChannelOff();
    scope.State().KnobAngle = 114;
    scope.SettleTimeKnob();
    ASSERT_EQ(scope.State().ChannelOn[2], 0);
    ASSERT_EQ(scope.State().TimeBaseIndex, 2);
    ASSERT_EQ(scope.State().Rate1MS, 1);
    ASSERT_EQ(scope.State().SampleRateText, "1M/s");
  }
  // One capture as RUN in single mode takes it.
  void CaptureOnce() {
    scope.ChooseSingle();
    const std::uint64_t before = scope.State().HeldRecord.sequence;
    QTimer::singleShot(0, [this] { scope.PressRun(); });
    ASSERT_TRUE(WaitFor([&] { return scope.State().HeldRecord.sequence > before && scope.State().Running == 0; }));
  }
  QStringList Export(const char* name) {
    const QString path = files.filePath(QLatin1String(name));
    w.ui.saveAnswers.push_back(path);
    ScopeDriver(f).MenuItem(QStringLiteral("ExportData1"))->trigger();
    EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join('\n').toStdString();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"));
  }

  ScopeWindow w{true, /*stopWatch=*/true};
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;
  std::unique_ptr<RunStopSim> sim;
  QTemporaryDir files;
};

TEST_F(Calibration, OffsetsOfGroundedInputsOnBothRangesAreStoredAndTheMessageShown) {
  struct Case {
    const char* zeroOffsets;  // the instrument's own, CH1:CH2
    std::int32_t ch1, ch2;    // the offsets measured, the same on both ranges
  } cases[] = {
      {"4:1", 3, 0},       // reading 130 and 127
      {"-0.5:1.5", -1, 0}, // 125/126 in turn: -1.5 truncates to -1; 127/128: 0.5 to 0
      {"0:-3", -1, -4},    // the instrument's own zero code is 126
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.zeroOffsets);
    Start(Offsets(c.zeroOffsets));
    StoreOffsets(50, 50, 50, 50);
    w.ui.messages.clear();
    ASSERT_TRUE(Calibrate());
    EXPECT_EQ(w.ui.messages, QStringList{"Calibration Complete "});
    EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join('\n').toStdString();
    ExpectOffsets(c.ch1, c.ch2, c.ch1, c.ch2);
    ExpectPanelPutBack();

    // Two captures, both channels in auto mode: the high range, then the low.
    const std::vector<sim::CaptureSetup> commands = Commands();
    ASSERT_EQ(commands.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
      EXPECT_EQ(commands[i].ch1HighRange, i == 0);
      EXPECT_EQ(commands[i].ch2HighRange, i == 0);
      EXPECT_TRUE(commands[i].autoTrigger);
      EXPECT_EQ(commands[i].layout, sim::Layout::TwoChannel);
    }
  }
}

TEST_F(Calibration, AGroundedInputIsDrawnOnItsZeroVoltRowAfterwardsAsLineAndAsDots) {
  Start(Offsets("4:-2"));
  ASSERT_TRUE(Calibrate());
  ExpectOffsets(3, -3, 3, -3);

  // One capture as the user takes it, CH1 on the high range, CH2 on the low.
  scope.ChooseSingle();
  for (const bool dots : {false, true}) {
    SCOPED_TRACE(dots ? "persistence dots" : "line traces");
    scope.State().PersistenceOn = dots ? 1 : 0;
    scope.State().PersistenceHit = 255;
    QTimer::singleShot(0, [this] { scope.PressRun(); });
    const std::uint64_t before = scope.State().HeldRecord.sequence;
    ASSERT_TRUE(WaitFor([&] { return scope.State().HeldRecord.sequence > before && scope.State().Running == 0; }));
    const QRgb ch1 = dots ? qRgb(0, 0, 255) : qRgb(0x00, 0x7E, 0xFF);
    const QRgb ch2 = dots ? qRgb(255, 0, 0) : qRgb(0xFF, 0x00, 0x00);
    for (int x : {10, 250, 490}) {
      EXPECT_EQ(f.PlotBitmap.pixel(x, 150), ch1) << "column " << x;
      EXPECT_EQ(f.PlotBitmap.pixel(x, 300), ch2) << "column " << x;
    }
  }
}

TEST_F(Calibration, OneChannelAtOneMegasampleStillMeasuresBothChannels) {
  Start(Offsets("4:-0.5"));
  scope.State().TimeBaseIndex = 2;  // the 50 us/div row
  scope.State().ChannelOn[2] = 0;
  scope.State().Rate1MS = 1;
  ASSERT_TRUE(Calibrate());
  // CH2's buffer was filled too: not -127 from an untouched buffer.
  ExpectOffsets(3, -1, 3, -1);
  ExpectPanelPutBack(/*rate1MS=*/1);
  for (const sim::CaptureSetup& c : Commands()) EXPECT_EQ(c.layout, sim::Layout::TwoChannel);
}

// The calibration's captures are two-channel records at 500 KS/s whatever the
// panel asks for afterwards: the record it leaves is read, shown and exported
// as one.
TEST_F(Calibration, TheRecordItLeavesAtOneMegasampleIsTheTwoChannelRecordItReceived) {
  Start(kMoving);
  ASSERT_NO_FATAL_FAILURE(OneChannelAtFiftyMicroseconds());
  ASSERT_NO_FATAL_FAILURE(CaptureOnce());
  ASSERT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("SampleRate"))->text(), "1M/s");
  scope.ChooseContinuous();
  QString captionDuring;
  Script script([this] { StopIfRunning(f); });
  // While the second capture waits: the first one's frame has been drawn.
  script.When([this] { return scope.State().AwaitingData == 1 && sim->Commands() == 3; },
              [&] { captionDuring = ScopeDriver(f).Find<TLabel>(QStringLiteral("SampleRate"))->text(); });
  ASSERT_TRUE(Calibrate());
  ASSERT_TRUE(script.Done());
  EXPECT_EQ(w.ui.messages, QStringList{"Calibration Complete "});
  EXPECT_EQ(captionDuring, "500KS/s") << "the first capture's frame";
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("SampleRate"))->text(), "500KS/s") << "the held record's caption";

  // A replot reads the held record in the stretched layout.
  f.CheckForWaveUpdateNeed();
  EXPECT_EQ(scope.State().ViewEnd - scope.State().ViewStart, 248);

  // 1500 lines of the second (low range) capture, a sample every 2 us.
  const QStringList lines = Export("calibration.txt");
  ASSERT_EQ(lines.size(), ExportHeaderLines + 1500 + 1);  // empty after the last CR LF
  EXPECT_EQ(lines[1], "Sample Rate: 500KS/s");
  for (int k = 1; k <= 1500; ++k) {
    const QString expected = QString::number(2 * k) + ',' + ExportedVolts(scope.State().HeldRecord.ch1[k], false) + ',' +
                             ExportedVolts(scope.State().HeldRecord.ch2[k], false);
    ASSERT_EQ(lines[ExportHeaderLines + k - 1], expected) << "sample " << k;
  }

  // The panel asks for the 3000-sample record again, and the next record
  // shows its own caption.
  EXPECT_EQ(scope.State().SampleRateText, "1M/s");
  ASSERT_NO_FATAL_FAILURE(CaptureOnce());
  EXPECT_EQ(Commands().back().layout, sim::Layout::CH1Only);
  EXPECT_TRUE(scope.State().HeldRecord.rate1MS);
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("SampleRate"))->text(), "1M/s");
}

// A calibration that receives nothing leaves the record held before it as it
// was described, though the panel has moved to another layout since.
TEST_F(Calibration, ACancelledRunLeavesTheHeldRecordAsItWas) {
  Start(kMoving);
  ASSERT_NO_FATAL_FAILURE(CaptureOnce());
  const QStringList before = Export("before.txt");
  ASSERT_EQ(before.size(), ExportHeaderLines + 1500 + 1);

  Start(kGrounded + QStringList{"--fault", "silent"});
  ASSERT_NO_FATAL_FAILURE(OneChannelAtFiftyMicroseconds());
  ASSERT_TRUE(Calibrate(30000));
  ASSERT_EQ(w.ui.messages.size(), 1);
  EXPECT_TRUE(w.ui.messages[0].startsWith("Calibration cancelled: the instrument did not answer"))
      << w.ui.messages[0].toStdString();

  QStringList after = Export("after.txt");
  ASSERT_EQ(after.size(), before.size());
  after[2] = before[2];  // the date line is the moment of the export
  EXPECT_EQ(after, before);
}

// The knob or a channel key moved while the calibration's first capture
// waits. Its captures stay two-channel whatever is turned; afterwards the
// panel's rate and caption are what its time base and channels then give, as
// the knob and the keys settle them, and the next capture asks for that. A
// new time base or trigger source stops the capture and so cancels the run.
TEST_F(Calibration, ThePanelRateAfterwardsIsWhatTheKnobAndKeysTurnedMeanwhileGive) {
  // Pointer positions on the time/div face.
  constexpr QPoint kTime50us{100, 200};       // angle 97
  constexpr QPoint kTime50usAgain{91, 168};   // angle 110, the same row
  constexpr QPoint kTime200us{32, 138};       // angle 161
  using Step = std::function<void()>;
  const Step oneChannelAt50us = [this] { OneChannelAtFiftyMicroseconds(); };
  const Step oneChannelAt100us = [this] {
    scope.PressChannelKey(2);
    scope.PressChannelOff();
    scope.State().KnobAngle = 138;
    scope.SettleTimeKnob();
    ASSERT_EQ(scope.State().Rate1MS, 0);
  };
  const Step bothAt50us = [this] {
    scope.PressChannelKey(2);
    scope.State().KnobAngle = 114;
    scope.SettleTimeKnob();
    ASSERT_EQ(scope.State().Rate1MS, 0);
    ASSERT_EQ(scope.State().SampleRateText, "500KS/s");
  };
  const Step knobTo200us = [this] { TurnKnob(scope.TimeKnob(), {kTime200us}); };
  const Step knobTo50us = [this] { TurnKnob(scope.TimeKnob(), {kTime50us}); };
  const Step knobInside50us = [this] { TurnKnob(scope.TimeKnob(), {kTime50usAgain}); };
  const Step ch2On = [this] { scope.PressChannelKey(2); };
  const Step ch2Off = [this] { scope.PressChannelOff(); };
  struct Case {
    const char* name;
    Step panel;      // before the run
    Step act;        // while the first capture waits
    bool completes;  // false: the capture was stopped and the run cancelled
    std::uint8_t rate1MS;
    QString caption;
    sim::Layout next;
  } cases[] = {
      {"one channel, knob off 50 us/div", oneChannelAt50us, knobTo200us, false, 0, "250KS/s",
       sim::Layout::TwoChannel},
      {"one channel, knob onto 50 us/div", oneChannelAt100us, knobTo50us, false, 1, "1M/s", sim::Layout::CH1Only},
      {"one channel, knob turned inside 50 us/div", oneChannelAt50us, knobInside50us, true, 1, "1M/s",
       sim::Layout::CH1Only},
      {"50 us/div, CH2 turned on", oneChannelAt50us, ch2On, true, 0, "500KS/s", sim::Layout::TwoChannel},
      {"50 us/div, CH2 turned off, the CH1 trigger re-selected", bothAt50us, ch2Off, false, 1, "1MS/s",
       sim::Layout::CH1Only},
      {"50 us/div, CH2 turned off, EXT trigger", [&] { bothAt50us(); scope.ChooseTriggerSource(3); }, ch2Off, true, 1, "1MS/s",
       sim::Layout::CH1Only},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Grounded inputs and an external input with no edge for minutes: each
    // capture waits for the auto trigger, long enough to act in.
    Start(kGrounded + QStringList{"--ext", "0.001", "--auto-wait", "600"});
    ASSERT_NO_FATAL_FAILURE(c.panel());
    scope.State().CH2HighRange = 0;  // the volts knob handed to CH2 set its range
    w.ui.messages.clear();
    bool actedWhileTheFirstWaited = false;
    Script script([this] { StopIfRunning(f); }, 30000);
    script.When([this] { return scope.State().AwaitingData == 1 && sim->Commands() == 1; }, [&] {
      actedWhileTheFirstWaited = scope.State().AwaitingData == 1 && sim->Commands() == 1;
      c.act();
    });
    ASSERT_TRUE(Calibrate(30000));
    ASSERT_TRUE(script.Done());
    ASSERT_TRUE(actedWhileTheFirstWaited);
    ASSERT_EQ(w.ui.messages.size(), 1);
    if (c.completes)
      EXPECT_EQ(w.ui.messages[0], "Calibration Complete ");
    else
      EXPECT_TRUE(w.ui.messages[0].startsWith("Calibration cancelled: the capture was stopped"))
          << w.ui.messages[0].toStdString();
    const std::vector<sim::CaptureSetup> during = Commands();
    EXPECT_EQ(during.size(), c.completes ? 2u : 1u);
    for (const sim::CaptureSetup& command : during) EXPECT_EQ(command.layout, sim::Layout::TwoChannel);

    ExpectPanelPutBack(c.rate1MS);
    EXPECT_EQ(scope.State().SampleRateText, c.caption);
    ASSERT_NO_FATAL_FAILURE(CaptureOnce());
    EXPECT_EQ(Commands().back().layout, c.next);
    EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("SampleRate"))->text(), c.caption);
  }
}

TEST_F(Calibration, StartedWhileRunningStopsAcquisitionFirstAndDoesNotRestartIt) {
  Start(Offsets("4:1"));
  scope.State().AutoTrigger = 1;
  Script script([this] { StopIfRunning(f); });
  script.When([this] { return scope.State().Running == 1 && sim->Commands() >= 3; }, [this] { scope.StartCalibrationButton()->click(); });
  QTimer::singleShot(0, [this] { ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger(); });
  ASSERT_TRUE(WaitFor([&] { return script.Done() && !w.ui.messages.isEmpty() && scope.State().Running == 0; }, 15000));
  EXPECT_FALSE(script.TimedOut());
  EXPECT_EQ(w.ui.messages, QStringList{"Calibration Complete "});
  ExpectOffsets(3, 0, 3, 0);

  // The pending capture was ended by the stop byte before the calibration's
  // two commands went out: "... AA FF AA AA", perhaps with a stop byte
  // between them that the calibration's own command sends first.
  QByteArray wire = sim->Wire();
  const qsizetype firstStop = wire.indexOf("FF");
  ASSERT_GE(firstStop, 0) << wire.toStdString();
  EXPECT_EQ(wire.mid(firstStop).replace("FF", "").simplified(), QByteArray("AA AA")) << wire.toStdString();
  const std::vector<sim::CaptureSetup> commands = Commands();
  ASSERT_GE(commands.size(), 4u);
  EXPECT_TRUE(commands[commands.size() - 2].ch1HighRange);
  EXPECT_FALSE(commands.back().ch1HighRange);

  // Nothing more goes out: acquisition is not started again.
  const int sent = sim->Commands();
  RunEventsFor(400);
  EXPECT_EQ(sim->Commands(), sent);
  ExpectPanelPutBack();
}

TEST_F(Calibration, CancelClosesThePanelAndChangesNothing) {
  Start(Offsets("4:1"));
  StoreOffsets(5, 6, 7, 8);
  ScopeDriver(f).MenuItem(QStringLiteral("Calibrate1"))->trigger();
  EXPECT_TRUE(scope.CalibrationPanel()->isVisible());
  EXPECT_EQ(scope.CalibrationAdvice()->text(), "Ground Both CH1 and CH2 Probes.  ");
  EXPECT_FALSE(scope.CalibrationPicture()->Picture().isNull());
  scope.CancelCalibrationButton()->click();
  EXPECT_FALSE(scope.CalibrationPanel()->isVisible());
  RunEventsFor(200);
  EXPECT_EQ(sim->Commands(), 0);
  EXPECT_TRUE(w.ui.messages.isEmpty());
  ExpectOffsets(5, 6, 7, 8);
  EXPECT_EQ(scope.State().ConSample, 1);
  EXPECT_EQ(scope.State().AutoTrigger, 0);
  EXPECT_EQ(scope.State().CH2HighRange, 0);
}

// A capture that ends without a reply ends the calibration there: the panel
// is put back, the stored offsets stay, and the user is told why.
TEST_F(Calibration, ACaptureThatNeverCompletesCancelsWithItsReason) {
  struct Case {
    const char* name;
    QStringList simOptions;
    std::function<void(TForm1&, RunStopSim&)> act;  // while the first capture waits; null: nothing
    const char* reason;
  } cases[] = {
      {"STOP pressed", kGrounded + kNeverAnswers, [](TForm1& f, RunStopSim&) { ScopeDriver scope(f); scope.PressRun(); },
       "the capture was stopped"},
      {"time base turned", kGrounded + kNeverAnswers,
       [](TForm1& f, RunStopSim&) {
         ScopeDriver scope(f);
         scope.State().KnobAngle = 162;  // 200 us/div: a forced stop and a restart 80 ms later
         scope.SettleTimeKnob();
       },
       "the capture was stopped"},
      {"instrument unplugged", kGrounded + kNeverAnswers, [](TForm1&, RunStopSim& sim) { sim.Kill(); },
       "the instrument was disconnected"},
      {"instrument silent", kGrounded + QStringList{"--fault", "silent"}, nullptr,
       "the instrument did not answer"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start(c.simOptions);
    StoreOffsets(5, 6, 7, 8);
    w.ui.messages.clear();
    Script script([this] { StopIfRunning(f); }, 30000);
    if (c.act) script.When([this] { return scope.State().AwaitingData == 1 && sim->Commands() == 1; }, [&] { c.act(f, *sim); });
    ASSERT_TRUE(Calibrate(30000));
    EXPECT_FALSE(script.TimedOut());
    ASSERT_EQ(w.ui.messages.size(), 1);
    EXPECT_TRUE(w.ui.messages[0].startsWith("Calibration cancelled: " + QString::fromLatin1(c.reason)))
        << w.ui.messages[0].toStdString();
    ExpectOffsets(5, 6, 7, 8);
    // No second capture, and no restart of acquisition afterwards.
    RunEventsFor(300);
    EXPECT_LE(sim->Commands(), 1);
    EXPECT_EQ(scope.State().CH1HighRange, 1);
    EXPECT_EQ(scope.State().CH2HighRange, 0);
    EXPECT_EQ(scope.State().ConSample, 1);
    EXPECT_TRUE(ScopeDriver(f).MenuItem(QStringLiteral("Continuous"))->isChecked());
    EXPECT_EQ(scope.State().Running, 0);
    EXPECT_EQ(scope.State().RestartPending, 0);
  }
}

TEST_F(Calibration, AStoreThatCannotBeWrittenLeavesThePanelPutBack) {
  Start(Offsets("4:1"));
  // The store's folder turns into a file: every write fails.
  const QString folder = QFileInfo(f.SettingsRegistry.FilePath()).absolutePath();
  ASSERT_TRUE(QDir(folder).removeRecursively());
  {
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  }
  QTimer::singleShot(0, [this] { scope.StartCalibrationButton()->click(); });
  ASSERT_TRUE(WaitFor([&] { return scope.State().Running == 0 && !w.ui.errors.isEmpty(); }));
  EXPECT_EQ(sim->Commands(), 2);
  EXPECT_TRUE(w.ui.messages.isEmpty()) << "no \"Calibration Complete \" for offsets not stored";
  ExpectPanelPutBack();
  QFile::remove(folder);
}

TEST_F(Calibration, TheOffsetsAreRestoredAtTheNextStart) {
  Start(Offsets("4:-0.5"));
  ASSERT_TRUE(Calibrate());
  ExpectOffsets(3, -1, 3, -1);
  const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(w.freshConfig.path()));
  ScopeWindow next(true, true, ScopeWindow::Store::FromEnvironment);
  qputenv("XDG_CONFIG_HOME", previous);
  EXPECT_EQ(next->State().CalCH1L, 3);
  EXPECT_EQ(next->State().CalCH2L, -1);
  EXPECT_EQ(next->State().CalCH1H, 3);
  EXPECT_EQ(next->State().CalCH2H, -1);
}

}  // namespace

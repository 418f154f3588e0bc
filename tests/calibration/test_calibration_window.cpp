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

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>

#include <functional>
#include <memory>
#include <vector>

namespace {

const QStringList kGrounded = {"--ch1", "dc:0:0:0", "--ch2", "dc:0:0:0"};
// Auto mode on a grounded input waits this long for an edge: a capture that
// stays pending until the test ends it.
const QStringList kNeverAnswers = {"--auto-wait", "600000"};

QStringList Offsets(const char* offsets) { return kGrounded + QStringList{"--zero-offset", offsets}; }

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
    f.CH2HighRange = 0;
    f.Normal1Click();  // calibration switches to auto and leaves it on
    f.ContinuousClick();
  }
  // START CALIBRATION as a click would run it; returns once it has ended.
  bool Calibrate(int deadlineMs = 10000) {
    const int before = static_cast<int>(w.ui.messages.size());
    QTimer::singleShot(0, [this] { f.Button2->click(); });
    return WaitFor([&] { return w.ui.messages.size() > static_cast<qsizetype>(before) && f.Running == 0; },
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
    f.CalCH1L = ch1L;
    f.CalCH2L = ch2L;
    f.CalCH1H = ch1H;
    f.CalCH2H = ch2H;
    f.SettingsRegistry.WriteInteger("CalCH1L", ch1L);
    f.SettingsRegistry.WriteInteger("CalCH2L", ch2L);
    f.SettingsRegistry.WriteInteger("CalCH1H", ch1H);
    f.SettingsRegistry.WriteInteger("CalCH2H", ch2H);
  }
  void ExpectOffsets(std::int32_t ch1L, std::int32_t ch2L, std::int32_t ch1H, std::int32_t ch2H) {
    EXPECT_EQ(f.CalCH1L, ch1L);
    EXPECT_EQ(f.CalCH2L, ch2L);
    EXPECT_EQ(f.CalCH1H, ch1H);
    EXPECT_EQ(f.CalCH2H, ch2H);
    EXPECT_EQ(Stored("CalCH1L"), ch1L);
    EXPECT_EQ(Stored("CalCH2L"), ch2L);
    EXPECT_EQ(Stored("CalCH1H"), ch1H);
    EXPECT_EQ(Stored("CalCH2H"), ch2H);
  }
  // The panel as it was before the run: ranges, rate and Continuous back,
  // the trigger mode left on Auto, acquisition stopped.
  void ExpectPanelPutBack(std::uint8_t rate1MS = 0) {
    EXPECT_EQ(f.CH1HighRange, 1);
    EXPECT_EQ(f.CH2HighRange, 0);
    EXPECT_EQ(f.Rate1MS, rate1MS);
    EXPECT_EQ(f.ConSample, 1);
    EXPECT_TRUE(f.Continuous->isChecked());
    EXPECT_FALSE(f.Single->isChecked());
    EXPECT_EQ(f.AutoTrigger, 1);
    EXPECT_TRUE(f.Auto1->isChecked());
    EXPECT_FALSE(f.Normal1->isChecked());
    EXPECT_EQ(f.Running, 0);
    EXPECT_EQ(f.RestartPending, 0);
  }

  ScopeWindow w{true, /*stopWatch=*/true};
  TForm1& f = *w.form;
  std::unique_ptr<RunStopSim> sim;
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
  f.SingleClick();
  for (const bool dots : {false, true}) {
    SCOPED_TRACE(dots ? "persistence dots" : "line traces");
    f.PersistenceOn = dots ? 1 : 0;
    f.PersistenceHit = 255;
    QTimer::singleShot(0, [this] { f.RunStopClick(); });
    const std::uint64_t before = f.RecordsReceived;
    ASSERT_TRUE(WaitFor([&] { return f.RecordsReceived > before && f.Running == 0; }));
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
  f.TimeBaseIndex = 2;  // the 50 us/div row
  f.ChannelOn[2] = 0;
  f.Rate1MS = 1;
  ASSERT_TRUE(Calibrate());
  // CH2's buffer was filled too: not -127 from an untouched buffer.
  ExpectOffsets(3, -1, 3, -1);
  ExpectPanelPutBack(/*rate1MS=*/1);
  for (const sim::CaptureSetup& c : Commands()) EXPECT_EQ(c.layout, sim::Layout::TwoChannel);
}

TEST_F(Calibration, StartedWhileRunningStopsAcquisitionFirstAndDoesNotRestartIt) {
  Start(Offsets("4:1"));
  f.AutoTrigger = 1;
  Script script([this] { f.Running = 0; });
  script.When([this] { return f.Running == 1 && sim->Commands() >= 3; }, [this] { f.Button2->click(); });
  QTimer::singleShot(0, [this] { f.RUNSTOP->trigger(); });
  ASSERT_TRUE(WaitFor([&] { return script.Done() && !w.ui.messages.isEmpty() && f.Running == 0; }, 15000));
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
  f.Calibrate1->trigger();
  EXPECT_TRUE(f.Panel11->isVisible());
  EXPECT_EQ(f.Label14->text(), "Ground Both CH1 and CH2 Probes.  ");
  EXPECT_FALSE(f.Image24->Picture().isNull());
  f.Button3->click();
  EXPECT_FALSE(f.Panel11->isVisible());
  RunEventsFor(200);
  EXPECT_EQ(sim->Commands(), 0);
  EXPECT_TRUE(w.ui.messages.isEmpty());
  ExpectOffsets(5, 6, 7, 8);
  EXPECT_EQ(f.ConSample, 1);
  EXPECT_EQ(f.AutoTrigger, 0);
  EXPECT_EQ(f.CH2HighRange, 0);
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
      {"STOP pressed", kGrounded + kNeverAnswers, [](TForm1& f, RunStopSim&) { f.RunStopClick(); },
       "the capture was stopped"},
      {"time base turned", kGrounded + kNeverAnswers,
       [](TForm1& f, RunStopSim&) {
         f.KnobAngle = 162;  // 200 us/div: a forced stop and a restart 80 ms later
         f.UpdatedTimeKnob();
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
    Script script([this] { f.Running = 0; }, 30000);
    if (c.act) script.When([this] { return f.AwaitingData == 1 && sim->Commands() == 1; }, [&] { c.act(f, *sim); });
    ASSERT_TRUE(Calibrate(30000));
    EXPECT_FALSE(script.TimedOut());
    ASSERT_EQ(w.ui.messages.size(), 1);
    EXPECT_TRUE(w.ui.messages[0].startsWith("Calibration cancelled: " + QString::fromLatin1(c.reason)))
        << w.ui.messages[0].toStdString();
    ExpectOffsets(5, 6, 7, 8);
    // No second capture, and no restart of acquisition afterwards.
    RunEventsFor(300);
    EXPECT_LE(sim->Commands(), 1);
    EXPECT_EQ(f.CH1HighRange, 1);
    EXPECT_EQ(f.CH2HighRange, 0);
    EXPECT_EQ(f.ConSample, 1);
    EXPECT_TRUE(f.Continuous->isChecked());
    EXPECT_EQ(f.Running, 0);
    EXPECT_EQ(f.RestartPending, 0);
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
  QTimer::singleShot(0, [this] { f.Button2->click(); });
  ASSERT_TRUE(WaitFor([&] { return f.Running == 0 && !w.ui.errors.isEmpty(); }));
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
  EXPECT_EQ(next->CalCH1L, 3);
  EXPECT_EQ(next->CalCH2L, -1);
  EXPECT_EQ(next->CalCH1H, 3);
  EXPECT_EQ(next->CalCH2H, -1);
}

}  // namespace

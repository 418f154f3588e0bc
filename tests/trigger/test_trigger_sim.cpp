// The trigger settings on the wire and on the screen, against the simulated
// instrument on a real pseudo-terminal: what the capture command carries after
// the trigger controls are used, the re-issue of a waiting capture after a
// level or mode change, the restart after a source change while running, and
// the trace crossing the level line at the trigger marker.

#include <gtest/gtest.h>

#include "TriggerDriving.h"
#include "TriggerSim.h"
#include "support/ScopeWindow.h"

#include <QAction>

#include <functional>
#include <memory>

namespace {

class TriggerWithSim : public ::testing::Test {
 protected:
  void Start(sim::SimConfig config = {}) {
    sim = std::make_unique<TriggerInstrument>(std::move(config));
    ASSERT_TRUE(f.SerialPort.Open(sim->Device(), "9600", "NONE", "8", false));
  }
  // One capture in single mode; returns once it has been read and plotted.
  void CaptureOnce() {
    ScopeDriver(f).MenuItem(QStringLiteral("Single"))->trigger();
    ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger();
  }
  // RUN as a posted event, so the test body waits while acquisition runs.
  void PostRun() {
    QTimer::singleShot(0, [this] { ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger(); });
  }
  Script MakeScript() {
    return Script([this] { StopIfRunning(f); });
  }
  bool Stopped() const { return scope.State().Running == 0 && scope.State().AwaitingData == 0; }
  std::string Errors() const { return w.ui.errors.join('\n').toStdString(); }

  ScopeWindow w{true, /*stopWatch=*/true};
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;
  std::unique_ptr<TriggerInstrument> sim;
};

// ---- The capture command ---------------------------------------------------

struct CommandCase {
  const char* name;
  std::function<void(TForm1&)> act;
  const char* command;
};

class CaptureCommand : public TriggerWithSim, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(CaptureCommand, CarriesTheTriggerSettings) {
  const CommandCase& c = GetParam();
  Start();
  c.act(f);
  CaptureOnce();
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
  ASSERT_TRUE(WaitFor([&] { return Stopped(); }));
  const std::vector<std::string> commands = sim->Commands();
  ASSERT_FALSE(commands.empty());
  EXPECT_EQ(commands.back(), c.command) << c.name;
}

// Bytes: start, level (129 - counts), edge/range, mode (time base 3 = 100
// us/div, auto bit, source bits), channel (EXT bit), four position bytes.
INSTANTIATE_TEST_SUITE_P(
    Cases, CaptureCommand,
    ::testing::Values(
        CommandCase{"as designed: CH1 rising at 32 counts, auto, 50 %", [](TForm1&) {},
                    "AA 61 F3 1C 00 D0 08 ED 03"},
        CommandCase{"EXT from the source button, 90 %: CH2's level, the edge value false, EXT bit",
                    [](TForm1& f) {
                      Click(ScopeDriver(f).TriggerSourceButton());
                      Click(ScopeDriver(f).TriggerSourceButton());
                      ScopeDriver(f).MenuItem(QStringLiteral("POS90"))->trigger();
                    },
                    "AA 81 C3 1D 40 2B 0B 93 01"},
        CommandCase{"CH2 falling at a typed -1 V, normal, marker dragged to 74",
                    [](TForm1& f) {
                      ScopeDriver scope(f);
                      ScopeDriver(f).MenuItem(QStringLiteral("CH21"))->trigger();
                      Click(ScopeDriver(f).TriggerEdgeButton());
                      ScopeDriver(f).MenuItem(QStringLiteral("Normal1"))->trigger();
                      DoubleClick(scope.TriggerLevelReadout());
                      TypeLevel(f, Local("-1"));
                      Drag(ScopeDriver(f).Find<TImage>(QStringLiteral("HorTrigPos")), QPoint(7, 30), {QPoint(-177, 0)});
                    },
                    "AA 8D C3 19 00 BE 06 02 06"},
        CommandCase{"CH1 arrow dragged 10 rows up: 44 counts", [](TForm1& f) {
                      Drag(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1")), QPoint(10, 7), {QPoint(0, -10)});
                    },
                    "AA 55 F3 1C 00 D0 08 ED 03"}));

// ---- While stopped nothing goes out --------------------------------------------

TEST_F(TriggerWithSim, SourceEdgeAndPositionChangesWhileStoppedSendNothing) {
  Start();
  for (int i = 0; i < 3; ++i) Click(ScopeDriver(f).TriggerSourceButton());
  ScopeDriver(f).MenuItem(QStringLiteral("EXT1"))->trigger();
  ScopeDriver(f).MenuItem(QStringLiteral("CH21"))->trigger();
  Click(ScopeDriver(f).TriggerEdgeButton());
  ScopeDriver(f).MenuItem(QStringLiteral("Normal1"))->trigger();
  ScopeDriver(f).MenuItem(QStringLiteral("POS10"))->trigger();
  Drag(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH2")), QPoint(10, 7), {QPoint(0, -5)});
  EXPECT_FALSE(TForm1::Enabled(ScopeDriver(f).Timer(QStringLiteral("StatStopResetTimer"))));
  RunEventsFor(300);
  EXPECT_EQ(sim->Wire(), "");
  EXPECT_EQ(scope.State().Running, 0);
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
}

// ---- A waiting capture is asked again ------------------------------------------

struct ReissueCase {
  const char* name;
  std::function<void(TForm1&)> act;
  int levelByte;
  int modeByte;
  bool answeredAfterwards;  // auto mode ends the single capture by itself
};

class Reissue : public TriggerWithSim, public ::testing::WithParamInterface<ReissueCase> {};

TEST_P(Reissue, AWaitingCaptureIsEndedAndAskedAgainWithTheNewSetting) {
  const ReissueCase& c = GetParam();
  Start(NoEdgeConfig());
  ScopeDriver(f).MenuItem(QStringLiteral("Single"))->trigger();
  ScopeDriver(f).MenuItem(QStringLiteral("Normal1"))->trigger();
  Script script = MakeScript();
  script.When([&] { return scope.State().AwaitingData == 1 && sim->CommandCount() == 1; }, [&] { c.act(f); });
  if (!c.answeredAfterwards)
    script.When([&] { return scope.State().AwaitingData == 1 && sim->CommandCount() == 2; }, [&] { scope.PressRun(); });
  PostRun();
  ASSERT_TRUE(WaitFor([&] { return script.Done() && Stopped(); }, 20000)) << c.name;
  ASSERT_FALSE(script.TimedOut()) << c.name;
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();

  // The stop byte comes first: never two captures outstanding. The window is
  // stopped as soon as its last byte is written; the instrument reads it a
  // moment later.
  const std::string wire = c.answeredAfterwards ? "AA FF AA" : "AA FF AA FF";
  WaitFor([&] { return sim->Wire().size() >= wire.size(); });
  RunEventsFor(100);
  EXPECT_EQ(sim->Wire(), wire) << c.name;
  const std::vector<std::string> commands = sim->Commands();
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(TriggerInstrument::Byte(commands[0], 1), 0x61) << c.name;  // 32 counts
  EXPECT_EQ(TriggerInstrument::Byte(commands[0], 3), 0x18) << c.name;  // normal, CH1
  EXPECT_EQ(TriggerInstrument::Byte(commands[1], 1), c.levelByte) << c.name;
  EXPECT_EQ(TriggerInstrument::Byte(commands[1], 3), c.modeByte) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Reissue,
    ::testing::Values(
        ReissueCase{"arrow dragged 10 rows up: 44 counts",
                    [](TForm1& f) { Drag(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1")), QPoint(10, 7), {QPoint(0, -10)}); }, 129 - 44,
                    0x18, false},
        ReissueCase{"1 V typed: 12 counts",
                    [](TForm1& f) {
                      ScopeDriver scope(f);
                      DoubleClick(scope.TriggerLevelReadout());
                      TypeLevel(f, Local("1"));
                    },
                    129 - 12, 0x18, false},
        ReissueCase{"Auto chosen: the same level in auto mode", [](TForm1& f) { ScopeDriver(f).MenuItem(QStringLiteral("Auto1"))->trigger(); }, 0x61,
                    0x1C, true}));

TEST_F(TriggerWithSim, AReleasedArrowWithoutACaptureWaitingAsksNothing) {
  Start();
  Drag(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1")), QPoint(10, 7), {QPoint(0, -10)});
  RunEventsFor(200);
  EXPECT_EQ(sim->Wire(), "");
}

// ---- A new source while running ---------------------------------------------------

TEST_F(TriggerWithSim, ASourceChangeWhileRunningStopsAndRestartsWithTheNewSource) {
  Start();
  ScopeDriver(f).MenuItem(QStringLiteral("Continuous"))->trigger();
  int commandsBefore = 0;
  bool stoppedByTheChange = false;
  bool restartArmed = false;
  Script script = MakeScript();
  script
      .When([&] { return scope.State().AwaitingData == 1 && sim->CommandCount() >= 2; },
            [&] {
              commandsBefore = sim->CommandCount();
              Click(ScopeDriver(f).TriggerSourceButton());  // CH1 to CH2
              stoppedByTheChange = scope.State().Running == 0;
              restartArmed = TForm1::Enabled(ScopeDriver(f).Timer(QStringLiteral("StatStopResetTimer")));
            })
      // Running again, with a command for CH2.
      .When([&] { return scope.State().Running == 1 && scope.State().AwaitingData == 1 && sim->CommandCount() > commandsBefore + 1; },
            [&] { scope.PressRun(); });
  PostRun();
  ASSERT_TRUE(WaitFor([&] { return script.Done() && Stopped() && !TForm1::Enabled(ScopeDriver(f).Timer(QStringLiteral("StatStopResetTimer"))); },
                      20000));
  ASSERT_FALSE(script.TimedOut());
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
  EXPECT_TRUE(stoppedByTheChange);
  EXPECT_TRUE(restartArmed);
  EXPECT_EQ(ScopeDriver(f).Timer(QStringLiteral("StatStopResetTimer"))->interval(), 80);

  // Before the change: CH1 commands; then the stop byte; then CH2 commands
  // (mode byte bits 0-1 = 01), ended by the final stop (read by the
  // instrument a moment after the window has stopped).
  WaitFor([&] {
    const std::vector<std::string> seen = sim->Frames();
    return !seen.empty() && seen.back() == "FF";
  });
  const std::vector<std::string> frames = sim->Frames();
  std::size_t firstStop = 0;
  while (firstStop < frames.size() && frames[firstStop] != "FF") ++firstStop;
  ASSERT_LT(firstStop, frames.size());
  ASSERT_GE(firstStop, 2u);
  for (std::size_t i = 0; i < firstStop; ++i) EXPECT_EQ(TriggerInstrument::Byte(frames[i], 3) & 3, 0) << i;
  ASSERT_LT(firstStop + 1, frames.size());
  int afterwards = 0;
  for (std::size_t i = firstStop + 1; i < frames.size(); ++i) {
    if (frames[i] == "FF") continue;
    EXPECT_EQ(TriggerInstrument::Byte(frames[i], 3) & 3, 1) << i;
    ++afterwards;
  }
  EXPECT_GE(afterwards, 1);
  EXPECT_EQ(frames.back(), "FF");
}

// ---- On the screen --------------------------------------------------------------------

struct CrossingCase {
  const char* name;
  std::function<void(TForm1&)> act;
  bool rising;
};

class TraceAtTheMarker : public TriggerWithSim, public ::testing::WithParamInterface<CrossingCase> {};

// Rows of the CH1 trace in one plot column (its mean; -1 when absent).
int TraceRow(const QImage& plot, int column) {
  const QColor ch1(0, 126, 255);
  int sum = 0;
  int count = 0;
  for (int y = 0; y < plot.height(); ++y)
    if (plot.pixelColor(column, y) == ch1) {
      sum += y;
      ++count;
    }
  return count ? sum / count : -1;
}

TEST_P(TraceAtTheMarker, TheTraceCrossesTheLevelLineAtTheTriggerMarker) {
  const CrossingCase& c = GetParam();
  Start();
  ScopeDriver(f).MenuItem(QStringLiteral("Normal1"))->trigger();
  c.act(f);
  CaptureOnce();
  ASSERT_TRUE(WaitFor([&] { return Stopped(); }));
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
  ASSERT_EQ(scope.State().PlotValid, 1);

  // The marker's middle column on the plot, and the level's row (the arrow's Top).
  const int column = Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("PlotTrigPanel"))) + 5;
  const int levelRow = Top(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1")));
  ASSERT_GE(column, 12);
  ASSERT_LE(column, 487);
  const int at = TraceRow(f.PlotBitmap, column);
  const int before = TraceRow(f.PlotBitmap, column - 10);
  const int after = TraceRow(f.PlotBitmap, column + 10);
  ASSERT_GE(at, 0);
  EXPECT_LE(std::abs(at - levelRow), 2) << c.name << ": trace at row " << at << ", level at " << levelRow;
  // Rows grow downwards: a rising trace comes from below the line.
  if (c.rising) {
    EXPECT_GT(before, levelRow) << c.name;
    EXPECT_LT(after, levelRow) << c.name;
  } else {
    EXPECT_LT(before, levelRow) << c.name;
    EXPECT_GT(after, levelRow) << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, TraceAtTheMarker,
                         ::testing::Values(CrossingCase{"as designed: rising at 2.49 V, 50 %", [](TForm1&) {}, true},
                                           CrossingCase{"falling at -1 V, 10 %",
                                                        [](TForm1& f) {
                                                          ScopeDriver scope(f);
                                                          Click(ScopeDriver(f).TriggerEdgeButton());
                                                          DoubleClick(scope.TriggerLevelReadout());
                                                          TypeLevel(f, Local("-1"));
                                                          ScopeDriver(f).MenuItem(QStringLiteral("POS10"))->trigger();
                                                          SetLeft(scope.ViewWindowMarker(), 8);  // view over the start
                                                        },
                                                        false},
                                           CrossingCase{"rising at 1 V, 90 %",
                                                        [](TForm1& f) {
                                                          ScopeDriver scope(f);
                                                          DoubleClick(scope.TriggerLevelReadout());
                                                          TypeLevel(f, Local("1"));
                                                          ScopeDriver(f).MenuItem(QStringLiteral("POS90"))->trigger();
                                                          SetLeft(scope.ViewWindowMarker(), 340);  // view over the end
                                                        },
                                                        true}));

}  // namespace

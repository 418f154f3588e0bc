// The run/stop cycle at the instrument's real line speed (9600 baud, 8E1: a
// reply takes about 3.4 s) against a tessaron-sim that finishes the replies
// it has begun: no stale bytes after a stop, the last byte waited for, the
// held record described by its own reply, the stop byte at close and the
// reply's progress on screen.
#include <gtest/gtest.h>

#include "test_runstop_sim.h"
#include "LatencyProbe.h"
#include "sim/SignalSource.h"
#include "support/CapturePanel.h"
#include "support/ScopeWindow.h"

#include <QAction>
#include <QProgressBar>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <set>
#include <string>

namespace {

// CH1 a square between +2 V and -2 V, CH2 held at -1 V: every code has a
// known place, so a record shifted by even one byte shows.
const QStringList kKnownInputs = {"--ch1", "square:2000:2:0", "--ch2", "dc:0:0:-1"};
const QStringList kRealLine = {"--baud", "--finish-replies"};

std::uint8_t Code(double volts) { return sim::VoltsToCode(volts, /*highRange=*/true); }

// "" when the record holds only what the inputs give, else the first misfit.
std::string MisfitIn(const TForm1& f, const std::set<std::uint8_t>& ch1Codes, std::uint8_t ch2Code) {
  ScopeDriver scope(f);
  for (int i = 1; i <= 1500; ++i) {
    if (!ch1Codes.count(scope.State().HeldRecord.ch1[i]))
      return "CH1[" + std::to_string(i) + "] = " + std::to_string(scope.State().HeldRecord.ch1[i]);
    if (scope.State().HeldRecord.ch2[i] != ch2Code)
      return "CH2[" + std::to_string(i) + "] = " + std::to_string(scope.State().HeldRecord.ch2[i]);
  }
  return "";
}

bool Shows(const TImage* image, const char* bitmap) {
  return image->FileName().endsWith(QLatin1String("Grafics/") + QLatin1String(bitmap));
}

class LineSpeed : public ::testing::Test {
 protected:
  void Start(const QStringList& simOptions) {
    sim = std::make_unique<RunStopSim>(simOptions);
    ASSERT_TRUE(f.SerialPort.Open(sim->Device(), "9600", "NONE", "8", false));
    SetCapturePanel(f);
  }
  void PostRun() {
    QTimer::singleShot(0, [this] { ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger(); });
  }
  Script MakeScript(int deadlineMs = 60000) {
    return Script([this] { StopIfRunning(f); }, deadlineMs);
  }
  bool Stopped() const { return scope.State().Running == 0 && scope.State().AwaitingData == 0; }
  bool MidReply() { return scope.State().AwaitingData == 1 && f.Link.ReplyBytes() > 1000; }
  std::string Misfit() const { return MisfitIn(f, {Code(2), Code(-2)}, Code(-1)); }

  ScopeWindow w{true, /*stopWatch=*/true};
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;
  std::unique_ptr<RunStopSim> sim;
};

// ---- Something that ends the capture while its reply is arriving ----------------

struct Interruption {
  const char* name;
  std::function<void(TForm1&)> act;
};

class Interrupted : public LineSpeed, public ::testing::WithParamInterface<Interruption> {};

TEST_P(Interrupted, TheNextRecordIsTheInstrumentsNextRecordUnshifted) {
  const Interruption& c = GetParam();
  Start(kRealLine + kKnownInputs);
  ScopeDriver(f).MenuItem(QStringLiteral("Continuous"))->trigger();
  const std::uint64_t before = scope.State().HeldRecord.sequence;
  Script script = MakeScript();
  script.When([&] { return MidReply(); }, [&] { c.act(f); });
  // Then a whole record after the interruption, and stop.
  script.When([&] { return scope.State().HeldRecord.sequence > before && scope.State().Running == 1; },
              [&] { scope.PressRun(); });
  PostRun();
  ASSERT_TRUE(WaitFor([&] { return script.Done() && Stopped() && !TForm1::Enabled(ScopeDriver(f).Timer(QStringLiteral("StatStopResetTimer"))); },
                      60000))
      << c.name;
  ASSERT_FALSE(script.TimedOut()) << c.name;
  EXPECT_EQ(scope.State().HeldRecord.sequence, before + 1) << c.name;
  EXPECT_EQ(Misfit(), "") << c.name;
  // The first reply was cut into by a stop byte, and the record came from a
  // second command.
  ASSERT_TRUE(WaitFor([&] { return RunStopSim::IsStop(sim->Frames().value(sim->Frames().size() - 1)); }));
  EXPECT_TRUE(sim->Wire().startsWith("AA FF AA")) << c.name << ": " << sim->Wire().toStdString();
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Interrupted,
    ::testing::Values(
        Interruption{"STOP, then RUN",
                     [](TForm1& f) {
                       ScopeDriver scope(f);
                       scope.PressRun();
                       QTimer::singleShot(300, &f, [&f] { ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger(); });
                     }},
        Interruption{"a new trigger level typed",
                     [](TForm1& f) {
                       ScopeDriver scope(f);
                       ScopeDriver(f).TriggerLevelEdit()->setText(QStringLiteral("1"));
                       scope.TriggerLevelKey(Qt::Key_Return);
                     }},
        Interruption{"Normal chosen, then Auto",
                     [](TForm1& f) {
                       ScopeDriver(f).MenuItem(QStringLiteral("Normal1"))->trigger();
                       QTimer::singleShot(300, &f, [&f] { ScopeDriver(f).MenuItem(QStringLiteral("Auto1"))->trigger(); });
                     }},
        Interruption{"a new time base", [](TForm1& f) {
                       ScopeDriver scope(f);
                       scope.State().KnobAngle = 162;  // 200 us/div
                       scope.SettleTimeKnob();
                     }}));

// ---- Continuous capture at the line speed --------------------------------------

// A hundred captures, about six minutes of line; PACED_CAPTURES sets another
// count (the quick test loop runs ten).
std::uint64_t PacedCaptures() {
  bool ok = false;
  const int count = qEnvironmentVariableIntValue("PACED_CAPTURES", &ok);
  return ok && count > 0 ? std::uint64_t(count) : 100;
}

TEST_F(LineSpeed, PacedCapturesKeepEachChannelsLevelInItsOwnBuffer) {
  // CH1 at +2 V and CH2 at -2 V, DC: a record shifted by the late last byte
  // of an earlier one would put the status byte and CH2's level into CH1.
  Start({"--baud", "--ch1", "dc:0:0:2", "--ch2", "dc:0:0:-2"});
  ScopeDriver(f).MenuItem(QStringLiteral("Continuous"))->trigger();
  const std::uint64_t captures = PacedCaptures();
  std::printf("%llu paced captures\n", static_cast<unsigned long long>(captures));
  std::string firstMisfit;
  std::uint64_t checked = scope.State().HeldRecord.sequence;
  Script script = MakeScript(captures * 3600 + 30000);
  // Every record is looked at as it arrives, not only the last.
  QTimer look;
  QObject::connect(&look, &QTimer::timeout, [&] {
    if (scope.State().HeldRecord.sequence == checked) return;
    checked = scope.State().HeldRecord.sequence;
    if (firstMisfit.empty()) {
      const std::string misfit = MisfitIn(f, {Code(2)}, Code(-2));
      if (!misfit.empty()) firstMisfit = "record " + std::to_string(checked) + ": " + misfit;
    }
  });
  look.start(20);
  script.When([&] { return scope.State().HeldRecord.sequence >= captures; }, [&] { scope.PressRun(); });
  PostRun();
  ASSERT_TRUE(WaitFor([&] { return script.Done() && Stopped(); }, captures * 3600 + 30000));
  ASSERT_FALSE(script.TimedOut());
  EXPECT_GE(scope.State().HeldRecord.sequence, captures);
  EXPECT_EQ(firstMisfit, "");
  EXPECT_EQ(MisfitIn(f, {Code(2)}, Code(-2)), "");
}

// ---- The last byte --------------------------------------------------------------

TEST_F(LineSpeed, AReplyWhoseLastByteComesLateIsReadWhole) {
  Start(kKnownInputs + QStringList{"--fault", "late-last=4"});
  ScopeDriver(f).MenuItem(QStringLiteral("Single"))->trigger();
  ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger();
  ASSERT_TRUE(WaitFor([&] { return Stopped(); }, 20000));
  EXPECT_EQ(scope.State().HeldRecord.sequence, 1u);
  EXPECT_EQ(scope.State().HeldRecord.ch2[1500], Code(-1));
  EXPECT_EQ(Misfit(), "");
}

// ---- The held record's description ----------------------------------------------

TEST_F(LineSpeed, ARunStoppedBeforeItsReplyLeavesTheHeldRecordsDescription) {
  Start({"--ch1", "dc:0:0:0", "--ch2", "dc:0:0:0"});
  ScopeDriver(f).MenuItem(QStringLiteral("Single"))->trigger();
  ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger();  // one record at 100 us/div, 5 V/div
  ASSERT_TRUE(WaitFor([&] { return Stopped(); }, 20000));
  ASSERT_EQ(scope.State().HeldRecord.sequence, 1u);
  ASSERT_EQ(scope.State().HeldRecord.timeBaseIndex, 3);

  // 50 us/div with CH1 alone at 1 MS/s, 1 V/div, normal mode: never answered.
  scope.State().TimeBaseIndex = 2;
  scope.State().Rate1MS = 1;
  scope.State().ChannelOn[2] = 0;
  scope.State().CH1Scale = 392;
  scope.State().AutoTrigger = 0;
  scope.State().CH1TriggerV = 50;
  Script script = MakeScript();
  script.When([&] { return scope.State().AwaitingData == 1 && sim->Commands() == 2; }, [&] { scope.PressRun(); });
  PostRun();
  ASSERT_TRUE(WaitFor([&] { return script.Done() && Stopped(); }, 20000));

  EXPECT_EQ(scope.State().HeldRecord.sequence, 1u);
  EXPECT_EQ(scope.State().HeldRecord.timeBaseIndex, 3);
  EXPECT_FALSE(scope.State().HeldRecord.rate1MS);
  EXPECT_EQ(scope.State().HeldRecord.channels[0].scale, 78);
  // A replot reads the held two-channel record as such.
  scope.Guarded([&] { scope.DrawHeldRecord(); });
  EXPECT_EQ(scope.State().HeldRecord.timeBaseIndex, 3);
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join('\n').toStdString();
}

// ---- The connection watch after a stop mid-reply ---------------------------------

TEST_F(LineSpeed, TheWatchWaitsForTheQuietLineAfterAStopMidReply) {
  sim = std::make_unique<RunStopSim>(kRealLine + kKnownInputs);
  ScopeWindow watched;  // the watch on, as a user has it
  TForm1& g = *watched.form;
  watched.scope.PortNameLabel()->setText(sim->Link());
  ASSERT_TRUE(WatchTick(g));
  ASSERT_EQ(watched.scope.State().DeviceFound, 1);
  watched.scope.State().AutoTrigger = 1;
  ScopeDriver(g).MenuItem(QStringLiteral("Continuous"))->trigger();

  Script script([&] { StopIfRunning(g); }, 60000);
  script.When([&] { return watched.scope.State().AwaitingData == 1 && g.Link.ReplyBytes() > 500; },
              [&] { g.RunStopClick(); });
  QTimer::singleShot(0, [&] { ScopeDriver(g).MenuItem(QStringLiteral("RUNSTOP"))->trigger(); });
  ASSERT_TRUE(WaitFor([&] { return script.Done() && watched.scope.State().Running == 0 && watched.scope.State().AwaitingData == 0; }, 20000));
  RunEventsFor(2200);  // two ticks of the watch while the reply's tail arrives
  EXPECT_TRUE(g.SerialPort.IsOpen);
  EXPECT_EQ(watched.scope.State().DeviceFound, 1);
  EXPECT_TRUE(Shows(watched.scope.ConnectionIndicator(), "USBCON.bmp"));

  const std::uint64_t before = watched.scope.State().HeldRecord.sequence;
  ScopeDriver(g).MenuItem(QStringLiteral("Single"))->trigger();
  ScopeDriver(g).MenuItem(QStringLiteral("RUNSTOP"))->trigger();
  EXPECT_TRUE(WaitFor([&] { return watched.scope.State().Running == 0 && watched.scope.State().AwaitingData == 0; }, 20000));
  EXPECT_EQ(watched.scope.State().HeldRecord.sequence, before + 1);
  EXPECT_EQ(MisfitIn(g, {Code(2), Code(-2)}, Code(-1)), "");
  EXPECT_TRUE(watched.ui.errors.isEmpty()) << watched.ui.errors.join('\n').toStdString();
}

// ---- Close while armed ------------------------------------------------------------

TEST_F(LineSpeed, ClosingWhileArmedInNormalModeSendsTheStopByte) {
  Start({"--ch1", "dc:0:0:0", "--ch2", "dc:0:0:0"});
  scope.State().AutoTrigger = 0;
  scope.State().CH1TriggerV = 50;
  Script script = MakeScript();
  script.When([&] { return scope.State().AwaitingData == 1 && sim->Commands() == 1; }, [&] { f.close(); });
  PostRun();
  ASSERT_TRUE(WaitFor([&] { return script.Done() && Stopped(); }, 20000));
  ASSERT_TRUE(WaitFor([&] { return sim->Frames().size() >= 2; }));
  EXPECT_EQ(sim->Wire(), "AA FF");

  // The next start finds the instrument at its first tick.
  ScopeWindow next(true, true);
  next.scope.PortNameLabel()->setText(sim->Link());
  w.form.reset();  // the port is free again
  EXPECT_TRUE(WatchTick(*next.form));
  EXPECT_EQ(next.scope.State().DeviceFound, 1);
}

// ---- Progress and responsiveness during a paced reply -----------------------------

TEST_F(LineSpeed, TheProgressMovesWhileAReplyArrivesAndTheWindowAnswers) {
  Start(kRealLine + kKnownInputs);
  ScopeDriver(f).MenuItem(QStringLiteral("Single"))->trigger();
  std::set<int> valuesSeen;
  bool shownWhileArriving = false;
  QTimer look;
  QObject::connect(&look, &QTimer::timeout, [&] {
    if (scope.State().AwaitingData == 1 && ScopeDriver(f).Find<QProgressBar>(QStringLiteral("ReplyProgress"))->isVisible()) {
      shownWhileArriving = true;
      valuesSeen.insert(ScopeDriver(f).Find<QProgressBar>(QStringLiteral("ReplyProgress"))->value());
    }
  });
  look.start(50);
  LatencyProbe probe;
  PostRun();
  ASSERT_TRUE(WaitFor([&] { return scope.State().HeldRecord.sequence == 1 && Stopped(); }, 20000));
  look.stop();
  probe.Stop();
  EXPECT_TRUE(shownWhileArriving);
  EXPECT_GE(valuesSeen.size(), 5u);  // it moves, several times a second
  EXPECT_FALSE(ScopeDriver(f).Find<QProgressBar>(QStringLiteral("ReplyProgress"))->isVisible());
  EXPECT_LT(probe.WorstMs(), LatencyProbe::FrozenMs) << "worst event-loop stall " << probe.WorstMs() << " ms";
  std::printf("worst event-loop stall during a paced reply: %lld ms\n",
              static_cast<long long>(probe.WorstMs()));
  // Clear of everything else in the status strip.
  for (const QWidget* other : scope.StatusStrip()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (other == ScopeDriver(f).Find<QProgressBar>(QStringLiteral("ReplyProgress"))) continue;
    EXPECT_FALSE(other->geometry().intersects(ScopeDriver(f).Find<QProgressBar>(QStringLiteral("ReplyProgress"))->geometry())) << other->objectName().toStdString();
  }
}

}  // namespace

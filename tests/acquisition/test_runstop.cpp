// The run/stop cycle against a real tessaron-sim on a pseudo-terminal: what
// goes over the wire, what the key and the status picture show, and how the
// window does while the link captures and handlers run meanwhile.
//
// While acquisition runs, the test acts on the live window through a Script
// of steps, each run when its condition holds.
#include <gtest/gtest.h>

#include "LatencyProbe.h"
#include "test_runstop_sim.h"
#include "support/CapturePanel.h"
#include "support/ScopeWindow.h"

#include <QAction>
#include <QColor>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

// The sim's inputs held at 0 V: in normal trigger mode no edge ever comes,
// so a capture is never answered.
const QStringList kNoEdge = {"--ch1", "dc:0:0:0", "--ch2", "dc:0:0:0"};
// A reply takes about 100 ms to come in (3001 bytes of 11 bits).
const QStringList kPacedReply = {"--baud=330000"};

bool Shows(const TImage* image, const char* bitmap) {
  return image->FileName().endsWith(QLatin1String("Grafics/") + QLatin1String(bitmap));
}

bool PlotHas(const QImage& plot, const QColor& colour) {
  for (int y = 0; y < plot.height(); ++y)
    for (int x = 0; x < plot.width(); ++x)
      if (plot.pixelColor(x, y) == colour) return true;
  return false;
}

class RunStop : public ::testing::Test {
 protected:
  // Starts the instrument with the given options and connects the window to
  // it, with a front panel that makes the instrument answer at once (auto
  // trigger on a 2 kHz sine) unless the test says otherwise.
  void Start(const QStringList& simOptions = {}) {
    sim = std::make_unique<RunStopSim>(simOptions);
    ASSERT_TRUE(f.SerialPort.Open(sim->Device(), "9600", "NONE", "8", false));
    SetCapturePanel(f);
  }
  void NormalTrigger() {
    scope.State().AutoTrigger = 0;
    scope.State().CH1TriggerV = 50;  // 4 V: the held inputs never reach it
  }
  // RUN from the menu, as a posted event: the test body then waits in
  // WaitFor while the acquisition runs inside it.
  void PostRun() {
    QTimer::singleShot(0, [this] { ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger(); });
  }
  Script MakeScript() {
    return Script([this] { StopIfRunning(f); });
  }
  bool Stopped() const { return scope.State().Running == 0 && scope.State().AwaitingData == 0; }

  ScopeWindow w{true, /*stopWatch=*/true};
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;
  std::unique_ptr<RunStopSim> sim;
};

TEST_F(RunStop, SingleRunCapturesOnceAndPlotsTheTrace) {
  Start();
  ScopeDriver(f).MenuItem(QStringLiteral("Single"))->trigger();
  ASSERT_EQ(scope.State().ConSample, 0);
  ASSERT_NE(scope.DetectRevisionButton(), nullptr);

  ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger();  // single mode: stops once the capture is done

  ASSERT_TRUE(WaitFor([&] { return Stopped(); }, 20000));
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join('\n').toStdString();
  ASSERT_TRUE(WaitFor([&] { return sim->Commands() >= 1; }));
  RunEventsFor(200);
  EXPECT_EQ(sim->Wire(), "AA");
  EXPECT_TRUE(Shows(ScopeDriver(f).Find<TImage>(QStringLiteral("RunStopButton")), "RunButton.bmp"));
  EXPECT_TRUE(Shows(scope.StatusPicture(), "Stop.bmp"));
  EXPECT_TRUE(scope.DetectRevisionButton()->isEnabled());
  EXPECT_TRUE(TForm1::Enabled(ScopeDriver(f).Timer(QStringLiteral("Timer1"))));
  EXPECT_FALSE(TForm1::Enabled(ScopeDriver(f).Timer(QStringLiteral("Anoucer"))));
  // The sine and the square arrived in their buffers and are on the screen.
  const auto varies = [](const auto& samples) {
    return std::any_of(samples.begin() + 2, samples.begin() + 1501,
                       [&](std::uint8_t s) { return s != samples[1]; });
  };
  EXPECT_TRUE(varies(scope.State().HeldRecord.ch1));
  EXPECT_TRUE(varies(scope.State().HeldRecord.ch2));
  EXPECT_EQ(scope.State().PlotValid, 1);
  EXPECT_TRUE(PlotHas(f.PlotBitmap, QColor(0, 126, 255)));
  EXPECT_TRUE(PlotHas(f.PlotBitmap, QColor(255, 0, 0)));
}

TEST_F(RunStop, ChoosingSingleDuringAContinuousRunEndsAfterTheCaptureInProgress) {
  Start(kPacedReply);
  ScopeDriver(f).MenuItem(QStringLiteral("Continuous"))->trigger();
  Script script = MakeScript();
  script.When([&] { return scope.State().AwaitingData == 1 && sim->Commands() == 2; },
              [&] { ScopeDriver(f).MenuItem(QStringLiteral("Single"))->trigger(); });
  PostRun();
  ASSERT_TRUE(WaitFor([&] { return script.Done() && Stopped(); }, 20000));
  ASSERT_FALSE(script.TimedOut());

  RunEventsFor(300);
  EXPECT_EQ(sim->Wire(), "AA AA");
  EXPECT_EQ(scope.State().PlotValid, 1);  // the capture in progress was still shown
  EXPECT_TRUE(Shows(ScopeDriver(f).Find<TImage>(QStringLiteral("RunStopButton")), "RunButton.bmp"));
  EXPECT_TRUE(ScopeDriver(f).MenuItem(QStringLiteral("Single"))->isChecked());
  EXPECT_FALSE(ScopeDriver(f).MenuItem(QStringLiteral("Continuous"))->isChecked());
}

TEST_F(RunStop, StopWhileWaitingSendsTheStopByteAndTheKeyReturnsAtOnce) {
  Start(kNoEdge);
  NormalTrigger();
  TForm1::SetEnabled(ScopeDriver(f).Timer(QStringLiteral("Timer1")), true);
  ASSERT_NE(scope.DetectRevisionButton(), nullptr);

  bool watchOffWhileWaiting = false, button1OffWhileWaiting = false;
  bool runPicturesWhileWaiting = false, keyBackToRunAfterClick = false;
  Script script = MakeScript();
  script.When([&] { return scope.State().AwaitingData == 1 && sim->Commands() == 1; }, [&] {
    watchOffWhileWaiting = !TForm1::Enabled(ScopeDriver(f).Timer(QStringLiteral("Timer1")));
    button1OffWhileWaiting = !scope.DetectRevisionButton()->isEnabled();
    runPicturesWhileWaiting = Shows(ScopeDriver(f).Find<TImage>(QStringLiteral("RunStopButton")), "StopButton.bmp") &&
                              (Shows(scope.StatusPicture(), "Run.bmp") || scope.State().HourGlassFrame > 0);
    ScopeDriver(f).Find<TImage>(QStringLiteral("RunStopButton"))->mouse.OnClick();
    // Nothing is left to unwind: the key is RUN again as soon as STOP is pressed.
    keyBackToRunAfterClick = Shows(ScopeDriver(f).Find<TImage>(QStringLiteral("RunStopButton")), "RunButton.bmp") && scope.State().Running == 0;
  });
  PostRun();
  ASSERT_TRUE(WaitFor([&] { return script.Done() && Stopped(); }, 20000));
  ASSERT_FALSE(script.TimedOut());

  EXPECT_TRUE(watchOffWhileWaiting);
  EXPECT_TRUE(button1OffWhileWaiting);
  EXPECT_TRUE(runPicturesWhileWaiting);
  EXPECT_TRUE(keyBackToRunAfterClick);
  ASSERT_TRUE(WaitFor([&] { return sim->Frames().size() >= 2; }));
  EXPECT_EQ(sim->Wire(), "AA FF");
  EXPECT_TRUE(Shows(ScopeDriver(f).Find<TImage>(QStringLiteral("RunStopButton")), "RunButton.bmp"));
  EXPECT_TRUE(Shows(scope.StatusPicture(), "Stop.bmp"));
  EXPECT_TRUE(scope.DetectRevisionButton()->isEnabled());
  EXPECT_TRUE(TForm1::Enabled(ScopeDriver(f).Timer(QStringLiteral("Timer1"))));
  EXPECT_FALSE(TForm1::Enabled(ScopeDriver(f).Timer(QStringLiteral("Anoucer"))));
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join('\n').toStdString();
}

TEST_F(RunStop, ACaptureRequestedWhileOneIsPendingIsPrecededByTheStopByte) {
  Start(kNoEdge);
  NormalTrigger();
  Script script = MakeScript();
  // A trigger change re-issues the capture from inside the wait; the inner
  // GetData then waits on its own until STOP.
  script.When([&] { return scope.State().AwaitingData == 1 && sim->Commands() == 1; },
              [&] { scope.Guarded([&] { f.Link.Reissue(); }); });
  script.When([&] { return scope.State().AwaitingData == 1 && sim->Commands() == 2; },
              [&] { scope.Guarded([&] { scope.PressRun(); }); });
  PostRun();
  ASSERT_TRUE(WaitFor([&] { return script.Done() && Stopped(); }, 20000));
  ASSERT_FALSE(script.TimedOut());

  ASSERT_TRUE(WaitFor([&] { return sim->Frames().size() >= 4; }));
  RunEventsFor(100);
  // Never two commands outstanding: each is ended before the next.
  EXPECT_EQ(sim->Wire(), "AA FF AA FF");
  EXPECT_TRUE(Shows(ScopeDriver(f).Find<TImage>(QStringLiteral("RunStopButton")), "RunButton.bmp"));
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join('\n').toStdString();
}

TEST_F(RunStop, AForcedStopRestartsAcquisitionAfterTheDelayWithTheNewSettings) {
  Start();
  ScopeDriver(f).MenuItem(QStringLiteral("Continuous"))->trigger();
  int commandsBeforeRestart = 0;
  bool unwoundBeforeTheTick = false;
  Script script = MakeScript();
  // What a new time base does while a capture is pending.
  script.When([&] { return scope.State().AwaitingData == 1 && sim->Commands() >= 2; }, [&] {
    scope.State().TimeBaseIndex = 5;
    scope.State().RestartPending = 1;
    scope.PressRun();
    TForm1::SetEnabled(ScopeDriver(f).Timer(QStringLiteral("StatStopResetTimer")), true);
  });
  // The stopped GetData has left before the restart tick starts a new one.
  script.When([&] { return Stopped() && scope.State().RestartPending == 1; }, [&] {
    unwoundBeforeTheTick = TForm1::Enabled(ScopeDriver(f).Timer(QStringLiteral("StatStopResetTimer")));
    commandsBeforeRestart = sim->Commands();
  });
  script.When(
      [&] { return scope.State().Running == 1 && scope.State().AwaitingData == 1 && sim->Commands() > commandsBeforeRestart; },
      [&] { scope.PressRun(); });
  PostRun();
  ASSERT_TRUE(WaitFor([&] { return script.Done() && Stopped() && scope.State().RestartPending == 0; }, 20000));
  ASSERT_FALSE(script.TimedOut());

  EXPECT_TRUE(unwoundBeforeTheTick);
  EXPECT_FALSE(TForm1::Enabled(ScopeDriver(f).Timer(QStringLiteral("StatStopResetTimer"))));  // one shot
  RunEventsFor(100);
  const QList<QByteArray> frames = sim->Frames();
  const auto firstStop = std::find_if(frames.begin(), frames.end(), RunStopSim::IsStop);
  ASSERT_NE(firstStop, frames.end());
  const auto restarted = std::find_if(firstStop, frames.end(), RunStopSim::IsCommand);
  ASSERT_NE(restarted, frames.end());
  // Mode byte: time base 3 before (0x1C with auto trigger), 5 after (0x2C).
  EXPECT_EQ(frames.front().split(' ').value(3), "1C");
  EXPECT_EQ(restarted->split(' ').value(3), "2C");
  EXPECT_TRUE(RunStopSim::IsStop(frames.back())) << sim->Wire().toStdString();
  // The restarted run asked for the new time base; stopped before its reply,
  // the held record is still described by the time base it was taken with.
  EXPECT_EQ(f.CommandTimeBase, 5);
  EXPECT_EQ(scope.State().HeldRecord.timeBaseIndex, 3);
}

TEST_F(RunStop, TheHourglassGoesOnFromTheFrameTheLastWaitLeft) {
  Start(kNoEdge);
  NormalTrigger();
  scope.State().HourGlassFrame = 0;
  bool showedFrameTwo = false, showedFrameThree = false;
  Script script = MakeScript();
  script.When([&] { return scope.State().HourGlassFrame == 2; }, [&] {
    showedFrameTwo = Shows(scope.StatusPicture(), "HourGlass2.bmp");
    scope.PressRun();
  });
  script.When([&] { return Stopped(); }, [&] { PostRun(); });
  script.When([&] { return scope.State().Running == 1 && scope.State().HourGlassFrame != 2; }, [&] {
    showedFrameThree = scope.State().HourGlassFrame == 3 && Shows(scope.StatusPicture(), "HourGlass3.bmp");
    scope.PressRun();
  });
  PostRun();
  ASSERT_TRUE(WaitFor([&] { return script.Done() && Stopped(); }, 20000));
  ASSERT_FALSE(script.TimedOut());
  EXPECT_TRUE(showedFrameTwo);
  EXPECT_TRUE(showedFrameThree);
}

TEST_F(RunStop, TheReplyIsSplitByTheLayoutTheCommandAskedFor) {
  Start(kPacedReply);
  ScopeDriver(f).MenuItem(QStringLiteral("Single"))->trigger();
  // A two-channel record first: its CH2 samples are what the buffer holds.
  ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger();
  ASSERT_TRUE(WaitFor([&] { return Stopped() && scope.State().HeldRecord.sequence == 1; }, 20000));
  const auto earlierCH2 = scope.State().HeldRecord.ch2;
  scope.State().Rate1MS = 1;  // CH1 alone at 1 MS/s
  scope.State().ChannelOn[2] = 0;
  Script script = MakeScript();
  // CH1 switched off, CH2 on, while the CH1 record is on its way.
  script.When([&] { return scope.State().AwaitingData == 1; }, [&] {
    scope.State().ChannelOn[1] = 0;
    scope.State().ChannelOn[2] = 1;
  });
  PostRun();
  ASSERT_TRUE(WaitFor([&] { return script.Done() && Stopped(); }, 20000));
  ASSERT_FALSE(script.TimedOut());

  EXPECT_EQ(sim->Frames().value(1).split(' ').value(4), "18");  // CH1 alone
  EXPECT_EQ(scope.State().HeldRecord.ch2, earlierCH2);
  EXPECT_TRUE(std::any_of(scope.State().HeldRecord.ch1.begin() + 1501, scope.State().HeldRecord.ch1.end(),
                          [](std::uint8_t s) { return s != 0; }));
}

TEST_F(RunStop, ClosingTheWindowWhileWaitingEndsThePendingCapture) {
  Start(kNoEdge);
  NormalTrigger();
  Script script = MakeScript();
  script.When([&] { return scope.State().AwaitingData == 1; }, [&] { f.close(); });
  PostRun();
  ASSERT_TRUE(WaitFor([&] { return script.Done() && Stopped(); }, 20000));
  ASSERT_FALSE(script.TimedOut());
  EXPECT_FALSE(f.isVisible());
  EXPECT_TRUE(Shows(ScopeDriver(f).Find<TImage>(QStringLiteral("RunStopButton")), "RunButton.bmp"));
}

TEST_F(RunStop, AnInstrumentThatVanishesDuringTheWaitEndsItAndIsFoundAgainWhenBack) {
  Start(kNoEdge);
  NormalTrigger();
  scope.PortNameLabel()->setText(sim->Link());
  EXPECT_TRUE(WatchTick(f));
  ASSERT_EQ(scope.State().DeviceFound, 1);
  QElapsedTimer sinceKill;
  qint64 noticedAfterMs = -1;
  Script script = MakeScript();
  script.When([&] { return scope.State().AwaitingData == 1 && sim->Commands() == 1; }, [&] {
    sim->Kill();
    sinceKill.start();
  });
  script.When([&] { return sinceKill.isValid() && Stopped(); },
              [&] { noticedAfterMs = sinceKill.elapsed(); });
  PostRun();
  ASSERT_TRUE(WaitFor([&] { return script.Done() && Stopped(); }, 20000));
  ASSERT_FALSE(script.TimedOut());
  // Within a second, without STOP: the key back to RUN and the indicator on
  // the disconnected picture at once, the port closed, no message.
  EXPECT_GE(noticedAfterMs, 0);
  EXPECT_LT(noticedAfterMs, 1000);
  EXPECT_TRUE(Shows(ScopeDriver(f).Find<TImage>(QStringLiteral("RunStopButton")), "RunButton.bmp"));
  EXPECT_TRUE(Shows(scope.ConnectionIndicator(), "USBCON#.bmp"));
  EXPECT_EQ(scope.State().DeviceFound, 0);
  EXPECT_FALSE(f.SerialPort.IsOpen);
  EXPECT_TRUE(TForm1::Enabled(ScopeDriver(f).Timer(QStringLiteral("Timer1"))));
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join('\n').toStdString();

  // Plugged back in: the next tick finds it, and RUN captures.
  sim->Start({"--ch1", "dc:0:0:0", "--ch2", "dc:0:0:0"});
  // A simulator just started on a loaded machine may miss the first query's
  // 100 ms: the watch asks again at its next tick, as it does once a second.
  for (int tick = 0; tick < 5 && scope.State().DeviceFound != 1; ++tick) EXPECT_TRUE(WatchTick(f));
  EXPECT_EQ(scope.State().DeviceFound, 1);
  EXPECT_TRUE(Shows(scope.ConnectionIndicator(), "USBCON.bmp"));
  scope.State().AutoTrigger = 1;
  ScopeDriver(f).MenuItem(QStringLiteral("Single"))->trigger();
  const std::uint64_t before = scope.State().HeldRecord.sequence;
  ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger();
  EXPECT_TRUE(WaitFor([&] { return Stopped(); }, 20000));
  EXPECT_EQ(scope.State().HeldRecord.sequence, before + 1);
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join('\n').toStdString();
}

TEST_F(RunStop, TheStatusPictureSitsInAFreeSpotOfTheStatusStrip) {
  const QRect place = scope.StatusPicture()->geometry();
  EXPECT_EQ(scope.StatusPicture()->parentWidget(), scope.StatusStrip());
  EXPECT_EQ(place.size(), QSize(25, 25));
  EXPECT_TRUE(scope.StatusStrip()->rect().contains(place));
  for (const QWidget* other : scope.StatusStrip()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (other == scope.StatusPicture()) continue;
    EXPECT_FALSE(other->geometry().intersects(place)) << other->objectName().toStdString();
  }
}

TEST_F(RunStop, TheNoticeOfAStalledReplySitsInAFreeSpotOfTheStatusStrip) {
  const QRect place = ScopeDriver(f).Find<TLabel>(QStringLiteral("ReplyNotice"))->geometry();
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("ReplyNotice"))->parentWidget(), scope.StatusStrip());
  EXPECT_TRUE(scope.StatusStrip()->rect().contains(place));
  for (const QWidget* other : scope.StatusStrip()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (other == ScopeDriver(f).Find<TLabel>(QStringLiteral("ReplyNotice"))) continue;
    EXPECT_FALSE(other->geometry().intersects(place)) << other->objectName().toStdString();
  }
  EXPECT_TRUE(ScopeDriver(f).Find<TLabel>(QStringLiteral("ReplyNotice"))->isHidden());
}

// The instrument sends half of each reply and then nothing (tessaron-sim
// --fault truncate): each reply is given up once it has stalled.
TEST_F(RunStop, ASingleCaptureWhoseReplyStallsEndsWithTheKeyBackAtRun) {
  Start({"--fault", "truncate"});
  ScopeDriver(f).MenuItem(QStringLiteral("Single"))->trigger();
  Script script = MakeScript();
  script.When([&] { return Stopped() && sim->Commands() == 1; }, [] {});
  PostRun();
  ASSERT_TRUE(WaitFor([&] { return script.Done(); }, 20000));
  ASSERT_FALSE(script.TimedOut());

  ASSERT_TRUE(WaitFor([&] { return sim->Frames().size() >= 2; }));
  RunEventsFor(300);
  // The stalled capture was ended with the stop byte, and no other followed.
  EXPECT_EQ(sim->Wire(), "AA FF");
  EXPECT_EQ(scope.State().HeldRecord.sequence, 0u);
  EXPECT_EQ(scope.State().PlotValid, 0);
  EXPECT_TRUE(Shows(ScopeDriver(f).Find<TImage>(QStringLiteral("RunStopButton")), "RunButton.bmp"));
  EXPECT_TRUE(Shows(scope.StatusPicture(), "Stop.bmp"));
  EXPECT_TRUE(ScopeDriver(f).Find<QProgressBar>(QStringLiteral("ReplyProgress"))->isHidden());
  EXPECT_TRUE(ScopeDriver(f).Find<TLabel>(QStringLiteral("ReplyNotice"))->isVisible());
  EXPECT_TRUE(ScopeDriver(f).Find<TLabel>(QStringLiteral("ReplyNotice"))->text().contains(QLatin1String("stopped mid-reply")));
  EXPECT_TRUE(TForm1::Enabled(ScopeDriver(f).Timer(QStringLiteral("Timer1"))));
  EXPECT_EQ(f.SerialPort.InQueueCount(), 0);
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join('\n').toStdString();
}

TEST_F(RunStop, AContinuousRunGoesOnAfterEachStalledReplyAndTheWindowAnswersThroughout) {
  Start({"--fault", "truncate"});
  ScopeDriver(f).MenuItem(QStringLiteral("Continuous"))->trigger();
  LatencyProbe probe;
  bool noticeShown = false;
  int commandsSeen = 1;
  Script script = MakeScript();
  script.When([&] {
    if (sim->Commands() > commandsSeen) {
      commandsSeen = sim->Commands();
      noticeShown = noticeShown || ScopeDriver(f).Find<TLabel>(QStringLiteral("ReplyNotice"))->isVisible();
    }
    return commandsSeen >= 4 && scope.State().AwaitingData == 1;
  }, [&] { scope.PressRun(); });
  PostRun();
  ASSERT_TRUE(WaitFor([&] { return script.Done() && Stopped(); }, 30000));
  ASSERT_FALSE(script.TimedOut());
  probe.Stop();

  ASSERT_TRUE(WaitFor([&] { return sim->Frames().size() >= 8; }));
  RunEventsFor(100);
  // Each stalled reply was ended by a stop byte before the next command.
  EXPECT_EQ(sim->Wire(), "AA FF AA FF AA FF AA FF");
  EXPECT_TRUE(noticeShown);
  EXPECT_EQ(scope.State().HeldRecord.sequence, 0u);
  EXPECT_TRUE(Shows(ScopeDriver(f).Find<TImage>(QStringLiteral("RunStopButton")), "RunButton.bmp"));
  EXPECT_LT(probe.WorstMs(), LatencyProbe::FrozenMs);
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join('\n').toStdString();
}

TEST(RunStopBeforeConnection, RunJustAfterStartWaitsForTheConnectionAndCaptures) {
  RunStopSim sim;
  ScopeWindow w;  // the connection watch on, as at start; its first tick is a second away
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;
  scope.PortNameLabel()->setText(sim.Link());
  SetCapturePanel(f);
  ScopeDriver(f).MenuItem(QStringLiteral("Single"))->trigger();
  ASSERT_FALSE(f.SerialPort.IsOpen);

  Script script([&] { StopIfRunning(f); }, 5000);
  script.When([&] { return scope.State().HeldRecord.sequence >= 1; }, [] {});
  QTimer::singleShot(100, &f, [&] { ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger(); });
  ASSERT_TRUE(WaitFor([&] { return scope.State().HeldRecord.sequence >= 1; }, 2000));
  ASSERT_TRUE(WaitFor([&] { return script.Done() && scope.State().Running == 0; }));

  // The watch's tick ran first: the instrument was asked who it is, then for
  // the capture.
  const QList<QByteArray> frames = sim.Frames();
  ASSERT_FALSE(frames.isEmpty());
  EXPECT_EQ(frames.front(), "3F");
  EXPECT_EQ(sim.Commands(), 1);
  EXPECT_EQ(scope.State().DeviceFound, 1);
  EXPECT_TRUE(Shows(scope.ConnectionIndicator(), "USBCON.bmp"));
  EXPECT_TRUE(Shows(ScopeDriver(f).Find<TImage>(QStringLiteral("RunStopButton")), "RunButton.bmp"));
  EXPECT_TRUE(scope.DetectRevisionButton()->isEnabled());
  EXPECT_TRUE(TForm1::Enabled(ScopeDriver(f).Timer(QStringLiteral("Timer1"))));
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join('\n').toStdString();
}

TEST(RunStopBeforeConnection, RunWithNoInstrumentWaitsForItUntilStop) {
  SimProcess sim;  // not started yet: the chosen port is absent
  ScopeWindow w{true, /*stopWatch=*/true};
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;
  scope.PortNameLabel()->setText(sim.Link());
  SetCapturePanel(f);
  ScopeDriver(f).MenuItem(QStringLiteral("Continuous"))->trigger();

  bool watchOffWhileWaiting = false;
  Script script([&] { StopIfRunning(f); }, 20000);
  // Still waiting for an instrument, the hourglass turning; then it comes.
  script.When([&] { return scope.State().Running == 1 && scope.State().HourGlassFrame >= 2; }, [&] {
    watchOffWhileWaiting = !TForm1::Enabled(ScopeDriver(f).Timer(QStringLiteral("Timer1")));
    sim.Start();
  });
  script.When([&] { return scope.State().HeldRecord.sequence >= 2; }, [&] { scope.PressRun(); });
  scope.State().HourGlassFrame = 0;
  QTimer::singleShot(0, &f, [&] { ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger(); });
  ASSERT_TRUE(WaitFor([&] { return script.Done() && scope.State().Running == 0 && scope.State().AwaitingData == 0; }, 25000));
  ASSERT_FALSE(script.TimedOut());
  EXPECT_TRUE(watchOffWhileWaiting);
  EXPECT_EQ(scope.State().DeviceFound, 1);
  EXPECT_TRUE(Shows(ScopeDriver(f).Find<TImage>(QStringLiteral("RunStopButton")), "RunButton.bmp"));
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join('\n').toStdString();

  // STOP while still waiting for an absent instrument: nothing went out, the
  // key is back at RUN and the watch ticks again.
  sim.Kill();
  EXPECT_TRUE(WatchTick(f));
  ASSERT_FALSE(f.SerialPort.IsOpen);
  const qsizetype framesBefore = sim.Frames().size();
  Script stop([&] { StopIfRunning(f); }, 10000);
  stop.When([&] { return scope.State().Running == 1 && scope.State().HourGlassFrame >= 1; }, [&] { scope.PressRun(); });
  scope.State().HourGlassFrame = 0;
  QTimer::singleShot(0, &f, [&] { ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger(); });
  ASSERT_TRUE(WaitFor([&] { return stop.Done() && scope.State().Running == 0 && scope.State().AwaitingData == 0; }, 15000));
  ASSERT_FALSE(stop.TimedOut());
  EXPECT_EQ(sim.Frames().size(), framesBefore);
  EXPECT_TRUE(Shows(ScopeDriver(f).Find<TImage>(QStringLiteral("RunStopButton")), "RunButton.bmp"));
  EXPECT_TRUE(TForm1::Enabled(ScopeDriver(f).Timer(QStringLiteral("Timer1"))));
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join('\n').toStdString();
}

TEST(RunStopWindowGone, DestroyingTheWindowWhileWaitingUnwindsAndFreesThePort) {
  RunStopSim sim(kNoEdge);
  auto w = std::make_unique<ScopeWindow>(true, true);
  TForm1* form = w->form.get();
  ASSERT_TRUE(form->SerialPort.Open(sim.Device(), "9600", "NONE", "8", false));
  form->State().AutoTrigger = 0;
  form->State().CH1TriggerV = 50;
  form->State().TimeBaseIndex = 3;
  form->State().ChannelOn[1] = form->State().ChannelOn[2] = 1;

  bool unwound = false;
  Script script([&] {
    if (w && w->form) StopIfRunning(*w->form);
  });
  script.When([&] { return form->State().AwaitingData == 1; }, [&] { w->form.reset(); });
  QTimer::singleShot(0, [&] {
    form->Guard([&] { form->RunStopClick(); });
    unwound = true;
  });
  ASSERT_TRUE(WaitFor([&] { return script.Done() && unwound; }, 20000));
  ASSERT_FALSE(script.TimedOut());
  w.reset();

  // The port went with the window, and the next window captures normally
  // (auto trigger answers the held inputs untriggered).
  ScopeWindow next(true, true);
  ASSERT_TRUE(next->SerialPort.Open(sim.Device(), "9600", "NONE", "8", false));
  next->State().TimeBaseIndex = 3;
  next->State().ChannelOn[1] = next->State().ChannelOn[2] = 1;
  next->State().AutoTrigger = 1;
  next.scope.MenuItem(QStringLiteral("Single"))->trigger();
  next.scope.MenuItem(QStringLiteral("RUNSTOP"))->trigger();
  EXPECT_TRUE(WaitFor([&] { return next->State().Running == 0; }, 20000));
  EXPECT_EQ(next->State().PlotValid, 1);
  EXPECT_EQ(next->State().Running, 0);
  EXPECT_TRUE(next.ui.errors.isEmpty()) << next.ui.errors.join('\n').toStdString();
}

}  // namespace

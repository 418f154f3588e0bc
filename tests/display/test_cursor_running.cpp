// The cursors and the view window while continuous acquisition runs against
// the simulated instrument on a pseudo-terminal: the test acts from inside
// the capture wait, as a hand at the mouse does.

#include "sim/SimServer.h"
#include "support/Mouse.h"
#include "support/ScopeWindow.h"
#include "support/StepScript.h"
#include "trigger/TriggerDriving.h"

#include <gtest/gtest.h>

#include <QAction>

#include <algorithm>

namespace {

class CursorsWhileRunning : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(f.SerialPort.Open(server.SlavePath(), "9600", "NONE", "8", false));
    ScopeDriver(f).MenuItem(QStringLiteral("Continuous"))->trigger();
  }
  int Captures() const {
    const std::vector<sim::ReceivedFrame> frames = server.ReceivedFrames();
    return int(std::count_if(frames.begin(), frames.end(),
                             [](const sim::ReceivedFrame& fr) { return fr.kind == sim::FrameKind::Capture; }));
  }
  bool Stopped() const { return scope.State().Running == 0 && scope.State().AwaitingData == 0; }
  std::string Errors() const { return w.ui.errors.join('\n').toStdString(); }

  ScopeWindow w{true, /*stopWatch=*/true};
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;
  sim::SimServer server{sim::SimConfig{}};
};

TEST_F(CursorsWhileRunning, ResetShowsTheMiddleOfTheRecordAtTheNextFrame) {
  SetLeft(scope.ViewWindowMarker(), 8);
  bool replottedAtOnce = true;
  Script script([this] { StopIfRunning(f); });
  script
      .When([&] { return scope.State().Running == 1 && scope.State().PlotValid == 1 && scope.State().ViewStart == 8; },
            [&] {
              ScopeDriver(f).MenuItem(QStringLiteral("ResetHorizontalView1"))->trigger();
              // A running capture draws the new view with its own frame.
              replottedAtOnce = scope.State().ViewStart != 8;
            })
      .When([&] { return scope.State().ViewStart != 8; }, [&] { scope.PressRun(); });
  QTimer::singleShot(0, [this] { ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger(); });
  ASSERT_TRUE(WaitFor([&] { return script.Done() && Stopped(); }, 20000));
  ASSERT_FALSE(script.TimedOut());
  EXPECT_FALSE(replottedAtOnce);
  EXPECT_EQ(scope.State().ViewStart, 503);
  EXPECT_EQ(scope.State().ViewEnd, 999);
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
}

TEST_F(CursorsWhileRunning, ALineDraggedWhileCapturesComeInFollowsTheMouseAndTheyKeepComing) {
  ScopeDriver(f).MenuItem(QStringLiteral("SnaptoPlotON1"))->trigger();  // both sets, and the voltage lines on the trace
  const int start = Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor")));
  int step = 0;
  int capturesAtPress = 0;
  std::vector<int> lefts;
  Script script([this] { StopIfRunning(f); });
  script.When([&] { return scope.State().Running == 1 && scope.State().PlotValid == 1; },
              [&] {
                capturesAtPress = Captures();
                SendMouse(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor")), QEvent::MouseButtonPress, QPoint(0, 100));
              });
  // Ten moves of 10 pixels, each after the next capture has gone out.
  for (int i = 0; i < 10; ++i)
    script.When([&] { return Captures() > capturesAtPress + step; },
                [&] {
                  ++step;
                  SendMouse(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor")), QEvent::MouseMove, QPoint(10, 100));
                  lefts.push_back(Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor"))));
                });
  script.When([&] { return Captures() > capturesAtPress + step; },
              [&] {
                SendMouse(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor")), QEvent::MouseButtonRelease, QPoint(0, 100));
                scope.PressRun();
              });
  QTimer::singleShot(0, [this] { ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger(); });
  ASSERT_TRUE(WaitFor([&] { return script.Done() && Stopped(); }, 30000));
  ASSERT_FALSE(script.TimedOut());
  ASSERT_EQ(lefts.size(), 10u);
  for (std::size_t i = 0; i < lefts.size(); ++i) EXPECT_EQ(lefts[i], start + 10 * int(i + 1));
  EXPECT_EQ(scope.State().KnobSnap, 0);
  EXPECT_EQ(scope.State().VCursorDrag, 0);
  // The handle followed the line over the standard record.
  EXPECT_EQ(Left(ScopeDriver(f).Find<TImage>(QStringLiteral("CursorX"))), (Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor"))) + scope.State().ViewStart) / 3);
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
}

// A pan and then a line dragged on the plot before the next frame: the line
// was placed over the view the marker selects, and its handle is taken back
// over that same view, so after the frame the handle stands over its line.
TEST_F(CursorsWhileRunning, ALineDraggedAfterAPanBeforeTheNextFrameKeepsItsHandleOverIt) {
  ScopeDriver(f).MenuItem(QStringLiteral("VerticalON1"))->trigger();
  const QPoint inViewWindow(80, 13);
  int viewAtPan = -1;
  Script script([this] { StopIfRunning(f); });
  script
      .When([&] { return scope.State().Running == 1 && scope.State().PlotValid == 1 && scope.State().ViewStart == 503; },
            [&] {
              // One step: no frame comes between the pan and the drag.
              Drag(scope.ViewWindowMarker(), inViewWindow, {QPoint(30, 0)});  // 90 samples on
              viewAtPan = scope.State().ViewStart;
              Drag(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor")), QPoint(0, 100), {QPoint(20, 0)});
            })
      .When([&] { return scope.State().ViewStart == 593; }, [&] { scope.PressRun(); });
  QTimer::singleShot(0, [this] { ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger(); });
  ASSERT_TRUE(WaitFor([&] { return script.Done() && Stopped(); }, 20000));
  ASSERT_FALSE(script.TimedOut());
  EXPECT_EQ(viewAtPan, 503);  // the pan was not drawn before the drag
  // The handle over the line in the standard record, with the view drawn.
  EXPECT_EQ(Left(ScopeDriver(f).Find<TImage>(QStringLiteral("CursorX"))), (Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor"))) + scope.State().ViewStart) / 3);
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
}

}  // namespace

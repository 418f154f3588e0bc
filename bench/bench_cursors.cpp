// Cost of the cursors at the capture rate: a frame with both cursor sets
// shown (time and voltage readouts, snap to plot on or off), and the single
// mouse moves of a drag, of a time line on the plot and of the view window
// over a held record (which draws the record again at each move).

#include "WindowBench.h"
#include "window/TForm1.h"
#include "app/UiServices.h"
#include "window/UnitInit.h"
#include "tests/support/Mouse.h"

#include <QAction>
#include <QApplication>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

// The held record shown, with both cursor sets on.
struct Window : HeldRecordWindow {
  Window() {
    TForm1& f = *form;
    ScopeDriver scope(f);
    f.show();
    QCoreApplication::processEvents();
    scope.State().CH1Scale = scope.State().CH2Scale = 100;
    scope.State().PersistenceOn = 0;
    ScopeDriver(f).MenuItem(QStringLiteral("BothOn1"))->trigger();
    scope.DrawHeldRecord();
  }
};

Window& TheWindow() {
  static Window w;
  return w;
}

void SetSnap(TForm1& f, bool on) {
  ScopeDriver scope(f);
  if ((scope.State().SnapToPlotOn == 1) != on) ScopeDriver(f).MenuItem(QStringLiteral("SnaptoPlotON1"))->trigger();
}

void BM_FrameWithBothCursorSets(benchmark::State& state) {
  TForm1& f = *TheWindow().form;
  ScopeDriver scope(f);
  SetSnap(f, state.range(0) != 0);
  scope.State().Running = static_cast<std::uint8_t>(state.range(1));
  for (auto _ : state) {
    scope.DrawHeldRecord();
    benchmark::DoNotOptimize(f.PlotBitmap.constBits());
  }
  scope.State().Running = 0;
  SetSnap(f, false);
}
BENCHMARK(BM_FrameWithBothCursorSets)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"snap", "running"})
    ->Unit(benchmark::kMicrosecond);

// One move of a time line dragged on the plot: the line, both handles, the
// four time readouts, the voltage readouts, and the snap when it is on.
void BM_TimeLineDragMove(benchmark::State& state) {
  TForm1& f = *TheWindow().form;
  SetSnap(f, state.range(0) != 0);
  SendMouse(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor")), QEvent::MouseButtonPress, QPoint(0, 100));
  int direction = 1;
  for (auto _ : state) {
    SendMouse(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor")), QEvent::MouseMove, QPoint(direction, 100));
    direction = -direction;
  }
  SendMouse(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor")), QEvent::MouseButtonRelease, QPoint(0, 100));
  SetSnap(f, false);
}
BENCHMARK(BM_TimeLineDragMove)->Arg(0)->Arg(1)->ArgNames({"snap"})->Unit(benchmark::kMicrosecond);

// One move of the view window over a held record: the lines placed over
// the new view and the record drawn again.
void BM_ViewWindowDragMove(benchmark::State& state) {
  TForm1& f = *TheWindow().form;
  ScopeDriver scope(f);
  SendMouse(scope.ViewWindowMarker(), QEvent::MouseButtonPress, QPoint(80, 13));
  int direction = 1;
  for (auto _ : state) {
    SendMouse(scope.ViewWindowMarker(), QEvent::MouseMove, QPoint(80 + direction, 13));
    direction = -direction;
  }
  SendMouse(scope.ViewWindowMarker(), QEvent::MouseButtonRelease, QPoint(80, 13));
}
BENCHMARK(BM_ViewWindowDragMove)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  return RunWindowBenchmarks(argc, argv, [] { TheWindow().form.reset(); });
}

// Cost of one frame of the screen from a held record: line traces of both
// channels, the overview strip and the copy request to the screen; and the
// persistence frame that replaces the traces when the dots are on.

#include "WindowBench.h"
#include "window/TForm1.h"
#include "app/UiServices.h"
#include "window/UnitInit.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

HeldRecordWindow& TheWindow() {
  static HeldRecordWindow w;
  return w;
}

void BM_LineFrame(benchmark::State& state) {
  TForm1& f = *TheWindow().form;
  ScopeDriver scope(f);
  scope.State().PersistenceOn = 0;
  scope.State().ReferenceOn = state.range(0);
  scope.State().ReferenceRows.fill(200);
  for (auto _ : state) {
    scope.DrawHeldRecord();
    benchmark::DoNotOptimize(f.PlotBitmap.constBits());
  }
  scope.State().ReferenceOn = 0;
}
BENCHMARK(BM_LineFrame)->Arg(0)->Arg(1)->ArgNames({"reference"})->Unit(benchmark::kMicrosecond);

// While running, every frame also sets the captions and reads the run
// indicator's bitmap from disk.
void BM_LineFrameRunning(benchmark::State& state) {
  TForm1& f = *TheWindow().form;
  ScopeDriver scope(f);
  scope.State().PersistenceOn = 0;
  scope.State().Running = 1;
  for (auto _ : state) scope.DrawHeldRecord();
  scope.State().Running = 0;
}
BENCHMARK(BM_LineFrameRunning)->Unit(benchmark::kMicrosecond);

void BM_LineFrameStretched(benchmark::State& state) {
  TForm1& f = *TheWindow().form;
  ScopeDriver scope(f);
  scope.State().PersistenceOn = 0;
  scope.State().HeldRecord.SetTimeBase(2, scope.State().HeldRecord.rate1MS);
  for (auto _ : state) scope.DrawHeldRecord();
  scope.State().HeldRecord.SetTimeBase(5, scope.State().HeldRecord.rate1MS);
}
BENCHMARK(BM_LineFrameStretched)->Unit(benchmark::kMicrosecond);

// Continuous running on the built-in instrument's picture: at 5 V/div a sine
// 80 rows tall on CH1 and a square 50 rows tall on CH2, each frame following
// a line frame. With `painted` the window is on screen and each frame is also
// painted (the event loop runs once a frame, as the capture wait does).
void BM_LineFrameSteadySim1Like(benchmark::State& state) {
  TForm1& f = *TheWindow().form;
  ScopeDriver scope(f);
  const bool painted = state.range(0) == 1;
  if (painted && !f.isVisible()) {
    f.show();  // the restore when first shown sets the panel, set again below
    QApplication::processEvents();
  }
  const auto ch1 = scope.State().HeldRecord.ch1, ch2 = scope.State().HeldRecord.ch2;
  const auto scale1 = scope.State().HeldRecord.channels[0].scale, scale2 = scope.State().HeldRecord.channels[1].scale;
  const auto pos1 = scope.State().CH1VertPos, pos2 = scope.State().CH2VertPos;
  for (int i = 1; i <= 3000; ++i) {
    scope.State().HeldRecord.ch1[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(127 + 51 * std::sin(i * 2 * M_PI / 25));
    scope.State().HeldRecord.ch2[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((i / 6) % 2 ? 159 : 95);
  }
  scope.State().HeldRecord.channels[0].scale = scope.State().HeldRecord.channels[1].scale = 78;
  scope.State().CH1VertPos = 150;
  scope.State().CH2VertPos = 300;
  scope.State().ChannelOn[1] = scope.State().ChannelOn[2] = 1;
  scope.State().HeldRecord.SetTimeBase(5, false);
  SetLeft(scope.ViewWindowMarker(), 173);
  scope.State().PersistenceOn = 0;
  scope.State().ReferenceOn = 0;
  scope.DrawHeldRecord();
  for (auto _ : state) {
    scope.DrawHeldRecord();
    if (painted) QApplication::processEvents();
  }
  if (painted) f.hide();
  scope.State().HeldRecord.ch1 = ch1;
  scope.State().HeldRecord.ch2 = ch2;
  scope.State().HeldRecord.channels[0].scale = scale1;
  scope.State().HeldRecord.channels[1].scale = scale2;
  scope.State().CH1VertPos = pos1;
  scope.State().CH2VertPos = pos2;
}
BENCHMARK(BM_LineFrameSteadySim1Like)->Arg(0)->Arg(1)->ArgNames({"painted"})->Unit(benchmark::kMicrosecond);

void BM_PersistenceFrame(benchmark::State& state) {
  TForm1& f = *TheWindow().form;
  ScopeDriver scope(f);
  f.InitRainbow();
  f.InitPersistColors();
  scope.ClearPersistence();
  scope.State().PersistenceOn = 1;
  scope.State().RainbowOn = static_cast<std::uint8_t>(state.range(0));
  scope.State().PersistenceHit = scope.State().RainbowOn ? 1024 : 255;
  scope.State().PersistenceFade = 10;
  for (auto _ : state) scope.DrawHeldRecord();
  scope.State().PersistenceOn = 0;
}
BENCHMARK(BM_PersistenceFrame)->Arg(0)->Arg(1)->ArgNames({"rainbow"})->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  return RunWindowBenchmarks(argc, argv, [] { TheWindow().form.reset(); });
}

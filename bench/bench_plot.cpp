// Cost of one frame of the screen from a held record: line traces of both
// channels, the overview strip and the copy request to the screen; and the
// persistence frame that replaces the traces when the dots are on.

#include "WindowBench.h"
#include "app/TForm1.h"
#include "app/UiServices.h"
#include "app/UnitInit.h"

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
  f.PersistenceOn = 0;
  f.ReferenceOn = state.range(0);
  f.ReferenceRows.fill(200);
  for (auto _ : state) {
    f.PlotWaveform();
    benchmark::DoNotOptimize(f.PlotBitmap.constBits());
  }
  f.ReferenceOn = 0;
}
BENCHMARK(BM_LineFrame)->Arg(0)->Arg(1)->ArgNames({"reference"})->Unit(benchmark::kMicrosecond);

// While running, every frame also sets the captions and reads the run
// indicator's bitmap from disk.
void BM_LineFrameRunning(benchmark::State& state) {
  TForm1& f = *TheWindow().form;
  f.PersistenceOn = 0;
  f.Running = 1;
  for (auto _ : state) f.PlotWaveform();
  f.Running = 0;
}
BENCHMARK(BM_LineFrameRunning)->Unit(benchmark::kMicrosecond);

void BM_LineFrameStretched(benchmark::State& state) {
  TForm1& f = *TheWindow().form;
  f.PersistenceOn = 0;
  f.CapturedTimeBase = 2;
  for (auto _ : state) f.PlotWaveform();
  f.CapturedTimeBase = 5;
}
BENCHMARK(BM_LineFrameStretched)->Unit(benchmark::kMicrosecond);

void BM_PersistenceFrame(benchmark::State& state) {
  TForm1& f = *TheWindow().form;
  f.InitRainbow();
  f.InitPersistColors();
  f.ResetPres();
  f.PersistenceOn = 1;
  f.RainbowOn = static_cast<std::uint8_t>(state.range(0));
  f.PersistenceHit = f.RainbowOn ? 1024 : 255;
  f.PersistenceFade = 10;
  for (auto _ : state) f.PlotWaveform();
  f.PersistenceOn = 0;
}
BENCHMARK(BM_PersistenceFrame)->Arg(0)->Arg(1)->ArgNames({"rainbow"})->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  return RunWindowBenchmarks(argc, argv, [] { TheWindow().form.reset(); });
}

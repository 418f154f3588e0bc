// Cost of one frame of the screen from a held record: line traces of both
// channels, the overview strip and the copy request to the screen; and the
// persistence frame that replaces the traces when the dots are on.

#include "app/TForm1.h"
#include "app/UiServices.h"
#include "app/UnitInit.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

struct Window {
  ScriptedUi ui;
  std::unique_ptr<ScopeUnit> unit = InitializeUnit();
  std::unique_ptr<TForm1> form = std::make_unique<TForm1>(*unit, ui);

  Window() {
    TForm1::SetEnabled(form->Timer1, false);
    TForm1& f = *form;
    for (int i = 1; i <= 3000; ++i) {
      f.CH1Samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(128 + 100 * std::sin(i / 23.0));
      f.CH2Samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(128 + 90 * std::cos(i / 7.0));
    }
    f.ChannelOn[1] = f.ChannelOn[2] = 1;
    f.CH1Focus = 1;
    f.CH1VertPos = 150;
    f.CH2VertPos = 250;
    f.CH1ScaleAtCapture = f.CH2ScaleAtCapture = 100;
    f.CapturedTimeBase = 5;
    f.CapturedRate1MS = 0;
    f.Running = 0;
  }
};

Window& TheWindow() {
  static Window w;
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
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  TheWindow().form.reset();
  return 0;
}

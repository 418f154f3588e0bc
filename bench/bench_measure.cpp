// Cost of the automatic measurements after every capture: both channels over
// the widest window (497 samples), as pure arithmetic and texts, and as the
// window's step that also fills the twenty labels.

#include "WindowBench.h"
#include "window/TForm1.h"
#include "app/UiServices.h"
#include "window/UnitInit.h"
#include "measure/Measurements.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <memory>

namespace {

std::array<std::uint8_t, 3001> Sine(double period, double phase) {
  std::array<std::uint8_t, 3001> s{};
  for (int i = 1; i <= 3000; ++i)
    s[std::size_t(i)] = std::uint8_t(126 + 90 * std::sin(2 * M_PI * i / period + phase));
  return s;
}

void BM_MeasureBothChannels(benchmark::State& state) {
  const auto ch1 = Sine(250, 0);
  const auto ch2 = Sine(97, 1);
  for (auto _ : state) {
    benchmark::DoNotOptimize(measure::MeasureChannel(std::span(ch1).subspan(503, 497), 3, true, 2));
    benchmark::DoNotOptimize(measure::MeasureChannel(std::span(ch2).subspan(503, 497), -2, false, 2));
  }
}
BENCHMARK(BM_MeasureBothChannels)->Unit(benchmark::kMicrosecond);

void BM_AutoMeasuremtnsOnTheWindow(benchmark::State& state) {
  ScriptedUi ui;
  std::unique_ptr<ScopeUnit> unit = InitializeUnit();
  TForm1 f(*unit, ui);
  ScopeDriver scope(f);
  TForm1::SetEnabled(ScopeDriver(f).Timer(QStringLiteral("Timer1")), false);
  scope.State().HeldRecord.ch1 = Sine(250, 0);
  scope.State().HeldRecord.ch2 = Sine(97, 1);
  scope.State().ChannelOn[1] = scope.State().ChannelOn[2] = 1;
  scope.State().HeldRecord.SetTimeBase(5, scope.State().HeldRecord.rate1MS);
  scope.State().SamplePeriodUs = 2;
  scope.DrawHeldRecord();
  for (auto _ : state) scope.MeasureHeldRecord();
}
BENCHMARK(BM_AutoMeasuremtnsOnTheWindow)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return RunWindowBenchmarks(argc, argv); }

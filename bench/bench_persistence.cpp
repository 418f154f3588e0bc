// Continuous acquisition with persistence dots on, end to end: the real window
// (offscreen) against a tessaron-sim process answering as fast as the
// pseudo-terminal takes it. Each capture is a command out, a reply in and a
// persistence frame (fade, stamp, paint of both channels). The same run with
// line traces gives the cost of the dots by difference.
//
//   mode 0: line traces, 1: Normal dots, 2: Rainbow dots
#include <benchmark/benchmark.h>

#include "CpuTime.h"
#include "WindowBench.h"
#include "acquisition/test_runstop_sim.h"
#include "support/ScopeWindow.h"

#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

namespace {

// The simulator's switch for answering without its default pacing, where it
// has one: the benchmark measures the scope, not the instrument's pace.
QStringList Unpaced() {
  QProcess help;
  help.start(ProgramPath(QStringLiteral("tessaron-sim")), {QStringLiteral("--help")});
  help.waitForFinished(10000);
  return help.readAllStandardOutput().contains("--unpaced") ? QStringList{QStringLiteral("--unpaced")}
                                                            : QStringList{};
}

void BM_ContinuousCapturesWithPersistence(benchmark::State& state) {
  RunStopSim sim(Unpaced());
  ScopeWindow w(true, /*stopWatch=*/true);
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;
  if (!f.SerialPort.Open(sim.Device(), "9600", "NONE", "8", false))
    throw std::runtime_error("cannot open the simulator's port");
  SetContinuousPanel(f, /*autoTrigger=*/true);
  const int mode = static_cast<int>(state.range(0));
  scope.State().PersistenceOn = mode > 0 ? 1 : 0;
  scope.State().RainbowOn = mode == 2 ? 1 : 0;
  scope.State().PersistenceHit = mode == 1 ? 255 : 1024;
  const int runMs = 2000;
  for (auto _ : state) {
    const std::uint64_t recordsBefore = scope.State().HeldRecord.sequence;
    double started = 0, stopped = 0;
    QTimer::singleShot(0, [&] {
      started = WallSeconds();
      w.scope.MenuItem(QStringLiteral("RUNSTOP"))->trigger();
    });
    QTimer::singleShot(runMs, [&] {
      stopped = WallSeconds();
      w.scope.PressRun();
    });
    WaitFor([&] { return stopped > 0 && w.scope.State().Running == 0 && w.scope.State().AwaitingData == 0; }, runMs + 10000);
    const double captures = static_cast<double>(scope.State().HeldRecord.sequence - recordsBefore);
    const double seconds = stopped - started;
    state.SetIterationTime(seconds);
    state.counters["captures"] = captures;
    state.counters["captures_per_second"] = captures / seconds;
  }
}
BENCHMARK(BM_ContinuousCapturesWithPersistence)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->ArgNames({"mode"})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunWindowBenchmarks(argc, argv); }

// The capture cycle end to end, with the real window (offscreen) and a
// tessaron-sim process on a pseudo-terminal:
//
//   BM_ContinuousCaptures  captures per second in continuous mode against the
//                          unpaced instrument: command out, reply in, frame
//                          plotted, next command; and the scope's processor
//                          time per capture (the simulator is another process).
//   BM_UnansweredWait      processor time of the scope process while a capture
//                          waits for a reply that never comes (normal trigger,
//                          no edge), as a share of one core.
//   BM_WaitAfterPeerGone   the instrument vanishing mid-wait: how long until the
//                          wait has ended by itself (key back to RUN).
#include <benchmark/benchmark.h>

#include "CpuTime.h"
#include "WindowBench.h"
#include "acquisition/test_runstop_sim.h"
#include "support/ScopeWindow.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

namespace {

const QStringList kNoEdge = {"--ch1", "dc:0:0:0", "--ch2", "dc:0:0:0"};

void Connect(TForm1& f, const RunStopSim& sim, bool autoTrigger) {
  if (!f.SerialPort.Open(sim.Device(), "9600", "NONE", "8", false))
    throw std::runtime_error("cannot open the simulator's port");
  SetContinuousPanel(f, autoTrigger);
}

void BM_ContinuousCaptures(benchmark::State& state) {
  RunStopSim sim({"--unpaced"});
  ScopeWindow w(true, /*stopWatch=*/true);
  Connect(*w.form, sim, /*autoTrigger=*/true);
  const int runMs = static_cast<int>(state.range(0));
  for (auto _ : state) {
    const int commandsBefore = sim.Commands();
    double started = 0, stopped = 0, cpuStarted = 0, cpuStopped = 0;
    QTimer::singleShot(0, [&] {
      started = WallSeconds();
      cpuStarted = ProcessCpuSeconds();
      w.scope.MenuItem(QStringLiteral("RUNSTOP"))->trigger();  // returns when acquisition has ended
    });
    // Fires inside a wait pass of the running acquisition.
    QTimer::singleShot(runMs, [&] {
      stopped = WallSeconds();
      cpuStopped = ProcessCpuSeconds();
      w.scope.PressRun();
    });
    WaitFor([&] { return stopped > 0 && w.scope.State().Running == 0 && w.scope.State().AwaitingData == 0; }, runMs + 10000);
    // The last command was ended by the stop byte, not answered.
    WaitFor([&] { return sim.Frames().size() > 0 && RunStopSim::IsStop(sim.Frames().back()); });
    const int captures = sim.Commands() - commandsBefore - 1;
    const double seconds = stopped - started;
    state.SetIterationTime(seconds);
    state.counters["captures"] = captures;
    state.counters["captures_per_second"] = captures / seconds;
    state.counters["cpu_ms_per_capture"] = captures > 0 ? 1000.0 * (cpuStopped - cpuStarted) / captures : 0.0;
  }
}
BENCHMARK(BM_ContinuousCaptures)->Arg(2000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// Measures one wall-clock second of waiting, starting `settleMs` after RUN;
// `beforeMeasuring` runs just before the measurement starts.
void MeasureWait(benchmark::State& state, RunStopSim* sim, ScopeWindow& w,
                 const std::function<void()>& beforeMeasuring) {
  constexpr int settleMs = 300;
  constexpr int measureMs = 1000;
  for (auto _ : state) {
    double cpu0 = 0, wall0 = 0, cpu1 = 0, wall1 = 0;
    QTimer::singleShot(0, [&] { w.scope.MenuItem(QStringLiteral("RUNSTOP"))->trigger(); });
    QTimer::singleShot(settleMs - 100, [&] { beforeMeasuring(); });
    QTimer::singleShot(settleMs, [&] {
      cpu0 = ProcessCpuSeconds();
      wall0 = WallSeconds();
    });
    QTimer::singleShot(settleMs + measureMs, [&] {
      cpu1 = ProcessCpuSeconds();
      wall1 = WallSeconds();
      w.scope.PressRun();
    });
    WaitFor([&] { return wall1 > 0 && w.scope.State().Running == 0 && w.scope.State().AwaitingData == 0; }, 20000);
    const bool waitedThroughout = sim == nullptr || sim->Commands() == 1;
    state.SetIterationTime(wall1 - wall0);
    state.counters["cpu_percent_of_core"] = 100.0 * (cpu1 - cpu0) / (wall1 - wall0);
    state.counters["waited_throughout"] = waitedThroughout ? 1 : 0;
  }
}

void BM_UnansweredWait(benchmark::State& state) {
  RunStopSim sim(kNoEdge);
  ScopeWindow w(true, /*stopWatch=*/true);
  Connect(*w.form, sim, /*autoTrigger=*/false);
  MeasureWait(state, &sim, w, [] {});
}
BENCHMARK(BM_UnansweredWait)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_WaitAfterPeerGone(benchmark::State& state) {
  for (auto _ : state) {
    auto sim = std::make_unique<RunStopSim>(kNoEdge);
    ScopeWindow w(true, /*stopWatch=*/true);
    Connect(*w.form, *sim, /*autoTrigger=*/false);
    double gone = 0, ended = 0;
    QTimer::singleShot(0, [&] { w.scope.MenuItem(QStringLiteral("RUNSTOP"))->trigger(); });
    QTimer::singleShot(300, [&] {
      sim.reset();
      gone = WallSeconds();
    });
    WaitFor([&] { return gone > 0 && w.scope.State().Running == 0 && w.scope.State().AwaitingData == 0; }, 20000);
    ended = WallSeconds();
    state.SetIterationTime(ended - gone);
    state.counters["ended_by_itself"] = w.scope.State().Running == 0 ? 1 : 0;
  }
}
BENCHMARK(BM_WaitAfterPeerGone)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunWindowBenchmarks(argc, argv); }

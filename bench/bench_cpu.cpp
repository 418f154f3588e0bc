// Processor time of the scope, from /proc, over 30 s of each state a user
// leaves it in (the real window, offscreen):
//
//   BM_IdleConnected      stopped, the connection watch ticking against
//                         tessaron-sim
//   BM_NormalWait         RUN in normal mode on inputs that never trigger
//   BM_Receiving9600      continuous captures from tessaron-sim at the real
//                         line speed (--baud: 3.4 s a reply)
//   BM_ContinuousSim1     continuous captures from the built-in "SIM1" at its
//                         default pace (the simulator's thread is in this
//                         process and counted too)
//   BM_ContinuousSim1Statistics, BM_ContinuousSim1Log,
//   BM_ContinuousSim1StatisticsAndLog
//                         the same with the statistics window open, the
//                         measurement log writing a line a record, or both:
//                         against BM_ContinuousSim1, what numbers over time
//                         cost (compare cpu_ms_per_record)
//
// Counter cpu_percent_of_core: user + system time of this process (all its
// threads) over the measured wall time. MEASURE_SECONDS overrides the 30 s.
// Counter ms_per_record: wall time between records while receiving;
// cpu_ms_per_record: processor time per record.
#include <benchmark/benchmark.h>

#include "WindowBench.h"
#include "acquisition/test_runstop_sim.h"
#include "support/ScopeWindow.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include <unistd.h>

namespace {

// utime + stime of this process, from /proc/self/stat, in seconds.
double ProcCpuSeconds() {
  std::ifstream stat("/proc/self/stat");
  std::string line;
  std::getline(stat, line);
  // The fields after the command name, which is in parentheses.
  std::istringstream rest(line.substr(line.rfind(')') + 2));
  std::string field;
  unsigned long long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && rest >> field; ++i) {
    if (i == 14) utime = std::stoull(field);
    if (i == 15) stime = std::stoull(field);
  }
  return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

int MeasureMs() {
  const QByteArray seconds = qgetenv("MEASURE_SECONDS");
  return seconds.isEmpty() ? 30000 : seconds.toInt() * 1000;
}


// Runs the event loop for the measured time, `settleMs` after `start`, and
// reports the share of a core this process used meanwhile. The harness itself
// only sleeps in the event loop, so the figure is the program's own.
void Measure(benchmark::State& state, ScopeWindow& w, const std::function<void()>& start,
             int settleMs = 1500) {
  const int measureMs = MeasureMs();
  for (auto _ : state) {
    double cpu0 = 0, cpu1 = 0;
    QElapsedTimer wall;
    std::uint64_t records0 = 0;
    QEventLoop loop;
    QTimer finish;
    finish.setInterval(20);
    QObject::connect(&finish, &QTimer::timeout, [&] {
      if (w.scope.State().Running == 0 && w.scope.State().AwaitingData == 0) loop.quit();
    });
    QTimer::singleShot(0, [&] { start(); });
    QTimer::singleShot(settleMs, [&] {
      cpu0 = ProcCpuSeconds();
      records0 = w.scope.State().HeldRecord.sequence;
      wall.start();
    });
    QTimer::singleShot(settleMs + measureMs, [&] {
      cpu1 = ProcCpuSeconds();
      const double seconds = wall.elapsed() / 1000.0;
      state.SetIterationTime(seconds);
      state.counters["cpu_percent_of_core"] = 100.0 * (cpu1 - cpu0) / seconds;
      const auto records = static_cast<double>(w.scope.State().HeldRecord.sequence - records0);
      state.counters["records"] = records;
      // A paced capture takes a little over 20 ms from command to command;
      // a longer cycle means the machine held the program back, and its
      // processor time then counts that too.
      if (records > 0) state.counters["ms_per_record"] = 1000.0 * seconds / records;
      // Processor time a record, which a machine that holds the program back
      // changes less than the share of a core: what two states are compared by.
      if (records > 0) state.counters["cpu_ms_per_record"] = 1000.0 * (cpu1 - cpu0) / records;
      finish.start();
      if (w.scope.State().Running == 1) w.scope.PressRun();
    });
    loop.exec();
  }
}

void BM_IdleConnected(benchmark::State& state) {
  RunStopSim sim;
  ScopeWindow w;  // the watch on
  w.scope.PortNameLabel()->setText(sim.Link());
  Measure(state, w, [] {});
  state.counters["connected"] = w.scope.State().DeviceFound;
}
BENCHMARK(BM_IdleConnected)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_NormalWait(benchmark::State& state) {
  RunStopSim sim({"--ch1", "dc:0:0:0", "--ch2", "dc:0:0:0"});
  ScopeWindow w(true, /*stopWatch=*/true);
  w->SerialPort.Open(sim.Device(), "9600", "NONE", "8", false);
  SetContinuousPanel(*w.form, /*autoTrigger=*/false);
  Measure(state, w, [&] { w.scope.MenuItem(QStringLiteral("RUNSTOP"))->trigger(); });
}
BENCHMARK(BM_NormalWait)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Receiving9600(benchmark::State& state) {
  RunStopSim sim({"--baud"});
  ScopeWindow w(true, /*stopWatch=*/true);
  w->SerialPort.Open(sim.Device(), "9600", "NONE", "8", false);
  SetContinuousPanel(*w.form, /*autoTrigger=*/true);
  Measure(state, w, [&] { w.scope.MenuItem(QStringLiteral("RUNSTOP"))->trigger(); });
}
BENCHMARK(BM_Receiving9600)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ContinuousSim1(benchmark::State& state) {
  ScopeWindow w(true, /*stopWatch=*/true);
  w->SerialPort.Open("SIM1", "9600", "NONE", "8", false);
  SetContinuousPanel(*w.form, /*autoTrigger=*/true);
  Measure(state, w, [&] { w.scope.MenuItem(QStringLiteral("RUNSTOP"))->trigger(); });
}
BENCHMARK(BM_ContinuousSim1)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// Continuous against SIM1 with the statistics window open, the measurement
// log writing, or both.
void ContinuousSim1With(benchmark::State& state, bool statistics, bool log) {
  ScopeWindow w(true, /*stopWatch=*/true);
  w->SerialPort.Open("SIM1", "9600", "NONE", "8", false);
  SetContinuousPanel(*w.form, /*autoTrigger=*/true);
  if (statistics) w.scope.ChooseMenuItem(QStringLiteral("MeasurementStatistics1"));
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("bench.csv"));
  if (log) {
    w.ui.saveAnswers.push_back(path);
    w.scope.ChooseMenuItem(QStringLiteral("LogMeasurements1"));
  }
  Measure(state, w, [&] { w.scope.MenuItem(QStringLiteral("RUNSTOP"))->trigger(); });
  if (log) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    state.counters["log_lines"] = static_cast<double>(file.readAll().count('\n') - 1);
  }
  if (!w.ui.errors.isEmpty()) state.SkipWithError(w.ui.errors.join('\n').toStdString().c_str());
}
void BM_ContinuousSim1Statistics(benchmark::State& state) { ContinuousSim1With(state, true, false); }
void BM_ContinuousSim1Log(benchmark::State& state) { ContinuousSim1With(state, false, true); }
void BM_ContinuousSim1StatisticsAndLog(benchmark::State& state) { ContinuousSim1With(state, true, true); }
BENCHMARK(BM_ContinuousSim1Statistics)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContinuousSim1Log)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContinuousSim1StatisticsAndLog)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunWindowBenchmarks(argc, argv); }

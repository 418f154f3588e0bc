// A reply received at the instrument's line speed by the link alone (no
// window): the built-in "SIM1" paced at 9600 baud (3.44 s a reply), one
// single capture an iteration, measured from the reply's first progress to
// its record.
//
//   cpu_percent_link      the link's thread (the program's main thread) over
//                         the wall time of the reply
//   cpu_percent_process   the same with the simulator's thread, which runs in
//                         this process for SIM1
//   progress_per_s        progress signals (with their samples) per second of
//                         reply
//   ch1_view_in_s         from the first progress to the one that brings
//                         CH1's samples 503..999 (the view after start): when
//                         a screen could show CH1's visible part new
//   reply_s               the reply's wall time
#include <benchmark/benchmark.h>

#include "CpuTime.h"
#include "core/ScopeLink.h"
#include "sim/BuiltInSimulator.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace {

core::PanelSettings TwoChannels() {
  core::PanelSettings p;
  for (int n : {1, 2}) {
    p.SetChannelOn(n, true);
    p.SetVoltsRow(n, 5);
  }
  p.SetTimeBase(3);
  p.SetAutoTrigger(true);
  p.SetContinuous(false);
  return p;
}

constexpr int kViewEnd = 999;

void BM_Receiving9600Sim1(benchmark::State& state) {
  BuiltInSimulator::SetBaud(9600);
  core::ScopeLink link;
  if (!link.Port().Open("SIM1", "9600", "NONE", "8", false)) {
    state.SkipWithError("the built-in simulator's port does not open");
    return;
  }
  link.SetPanel(TwoChannels());
  // The link's thread is this one, which the signals are delivered on.
  CoreShare share;
  double ch1View = 0;
  long progress = 0;
  for (auto _ : state) {
    double ch1At = -1;
    bool started = false, done = false;
    QEventLoop loop;
    const auto onProgress = QObject::connect(
        &link, &core::ScopeLink::samplesArriving, [&](const core::Record&, const core::ReplyArrival& arrival) {
          if (!started) {
            started = true;
            share.Start();
          }
          if (ch1At < 0 && arrival.Samples(1) >= kViewEnd) ch1At = share.SinceStart();
          ++progress;
        });
    const auto onRecord = QObject::connect(&link, &core::ScopeLink::recordReceived, [&] {
      share.Stop();
      ch1View += ch1At;
    });
    const auto onStop = QObject::connect(&link, &core::ScopeLink::stopped, [&] {
      done = true;
      loop.quit();
    });
    QTimer::singleShot(15000, &loop, &QEventLoop::quit);
    link.Run();
    if (!done) loop.exec();
    QObject::disconnect(onProgress);
    QObject::disconnect(onRecord);
    QObject::disconnect(onStop);
    if (!done || !started) {
      state.SkipWithError("no paced reply within 15 s");
      break;
    }
  }
  BuiltInSimulator::SetBaud(0);
  const double replies = static_cast<double>(state.iterations());
  state.counters["cpu_percent_link"] = share.ThreadPercent();
  state.counters["cpu_percent_process"] = share.ProcessPercent();
  state.counters["progress_per_s"] = static_cast<double>(progress) / share.Wall();
  state.counters["ch1_view_in_s"] = ch1View / replies;
  state.counters["reply_s"] = share.Wall() / replies;
}
BENCHMARK(BM_Receiving9600Sim1)->Iterations(3)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

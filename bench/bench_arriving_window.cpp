// A reply drawn as it arrives, with the window: the built-in "SIM1" paced at
// 9600 baud (3.44 s a reply), both channels on, one single capture an
// iteration, measured from the reply's first progress to its record.
//
//   ch1_drawn_s           from the first progress to the plot showing CH1's
//                         samples 503..999 (the view after start) new
//   plot_paints_per_s     paints of the plot per second of reply (a frame
//                         that changes no pixel of it paints nothing)
//   arriving_frames_per_s arriving frames drawn per second of reply
//   least_frame_gap_ms    the shortest time between two arriving frames
//   cpu_percent_window    the window's thread (the program's main thread)
//                         over the wall time of the reply
//   cpu_percent_process   the same with the simulator's thread
//   reply_s               the reply's wall time
#include "CpuTime.h"
#include "WindowBench.h"

#include "sim/BuiltInSimulator.h"

#include <QEvent>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int kViewEnd = 999;

// Counts the paints a widget gets.
class PaintCounter : public QObject {
 public:
  long paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

void BM_ArrivingReplyOnTheWindow9600(benchmark::State& state) {
  BuiltInSimulator::SetBaud(9600);
  ScriptedUi ui;
  std::unique_ptr<ScopeUnit> unit = InitializeUnit();
  TForm1 f(*unit, ui);
  ScopeDriver scope(f);
  TForm1::SetEnabled(ScopeDriver(f).Timer(QStringLiteral("Timer1")), false);
  f.show();
  if (!f.SerialPort.Open("SIM1", "9600", "NONE", "8", false)) {
    state.SkipWithError("the built-in simulator's port does not open");
    BuiltInSimulator::SetBaud(0);
    return;
  }
  SetCapturePanel(f);
  scope.ChooseSingle();
  ScopeDriver(f).MenuItem(QStringLiteral("ResetHorizontalView1"))->trigger();
  PaintCounter counter;
  scope.Plot()->installEventFilter(&counter);

  // The window's thread is this one, which the signals are delivered on.
  CoreShare share;
  double ch1Drawn = 0, leastGap = 1e9;
  long paints = 0, frames = 0;
  for (auto _ : state) {
    double ch1At = -1, lastFrame = -1;
    bool started = false;
    long startPaints = 0;
    const std::uint64_t before = scope.State().HeldRecord.sequence;
    // Connected after the window's own: told once the window has drawn.
    const auto onProgress = QObject::connect(
        &f.Link, &core::ScopeLink::samplesArriving, &f, [&](const core::Record&, const core::ReplyArrival& arrival) {
          if (!started) {
            started = true;
            share.Start();
            startPaints = counter.paints;
          }
          if (f.ArrivingShown && f.LastArrivingFrame.arrival == arrival) {
            const double now = WallSeconds();
            if (lastFrame >= 0) leastGap = std::min(leastGap, now - lastFrame);
            lastFrame = now;
            ++frames;
          }
          // A progress the window did not draw (frames are paced) is not counted.
          if (ch1At < 0 && f.ArrivingShown && f.LastArrivingFrame.arrival.Samples(1) >= kViewEnd)
            ch1At = share.SinceStart();
        });
    QEventLoop loop;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
      if (scope.State().Running == 0 && scope.State().HeldRecord.sequence > before) loop.quit();
    });
    look.start(5);
    QTimer::singleShot(15000, &loop, &QEventLoop::quit);
    ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger();
    loop.exec();
    QObject::disconnect(onProgress);
    if (scope.State().HeldRecord.sequence == before || !started || ch1At < 0) {
      state.SkipWithError("no paced reply drawn within 15 s");
      break;
    }
    share.Stop();
    paints += counter.paints - startPaints;
    ch1Drawn += ch1At;
  }
  f.SerialPort.Close();
  BuiltInSimulator::SetBaud(0);
  const double replies = static_cast<double>(state.iterations());
  state.counters["cpu_percent_window"] = share.ThreadPercent();
  state.counters["cpu_percent_process"] = share.ProcessPercent();
  state.counters["plot_paints_per_s"] = static_cast<double>(paints) / share.Wall();
  state.counters["arriving_frames_per_s"] = static_cast<double>(frames) / share.Wall();
  state.counters["least_frame_gap_ms"] = 1000.0 * leastGap;
  state.counters["ch1_drawn_s"] = ch1Drawn / replies;
  state.counters["reply_s"] = share.Wall() / replies;
}
BENCHMARK(BM_ArrivingReplyOnTheWindow9600)->Iterations(3)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) { return RunWindowBenchmarks(argc, argv); }

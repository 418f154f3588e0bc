#pragma once
// How long the window's event loop takes to answer: every 10 ms a zero-time
// timer is posted and the time until it runs is taken, and so is how late
// the 10 ms tick itself comes (a stall between two ticks delays the next);
// WorstMs is the longest. It runs in whatever event loop is active, the capture wait's
// nested one included, so a handler that holds the window shows here.

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

class LatencyProbe {
 public:
  // A stall this long is a frozen window whatever else the machine is doing:
  // the faults the probe guards against held the window for seconds or for
  // good. The figures (the aim is under 50 ms) are printed and read on a quiet
  // machine, not asserted, since a loaded or sanitized build is slower.
  static constexpr qint64 FrozenMs = 1000;

  LatencyProbe() {
    sample_.setInterval(10);
    sinceTick_.start();
    sinceReset_.start();
    QObject::connect(&sample_, &QTimer::timeout, [this] {
      Note(sinceTick_.restart() - sample_.interval());
      if (pending_) return;
      pending_ = true;
      posted_.start();
      QTimer::singleShot(0, &sample_, [this] {
        Note(posted_.elapsed());
        ++samples_;
        pending_ = false;
      });
    });
    sample_.start();
  }
  void Stop() { sample_.stop(); }
  void Reset() {
    sinceTick_.restart();
    sinceReset_.restart();
    worstEndedAt_ = 0;
    worst_ = 0;
    samples_ = 0;
  }
  qint64 WorstMs() const { return worst_; }
  // When the worst stall ended, in ms since the probe started or was reset.
  qint64 WorstEndedAtMs() const { return worstEndedAt_; }
  int Samples() const { return samples_; }

 private:
  void Note(qint64 ms) {
    if (ms <= worst_) return;
    worst_ = ms;
    worstEndedAt_ = sinceReset_.elapsed();
  }

  QTimer sample_;
  QElapsedTimer posted_;
  QElapsedTimer sinceTick_;
  QElapsedTimer sinceReset_;
  qint64 worstEndedAt_ = 0;
  bool pending_ = false;
  qint64 worst_ = 0;
  int samples_ = 0;
};

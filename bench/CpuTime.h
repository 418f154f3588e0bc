#pragma once
// The clocks the benchmarks read processor time and wall time from, and the
// share of a core a span of work took: the calling thread's and the whole
// process's (every thread in it, the built-in simulator's too), both over the
// span's wall time.

#include <ctime>

inline double ClockSeconds(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

inline double WallSeconds() { return ClockSeconds(CLOCK_MONOTONIC); }
inline double ThreadCpuSeconds() { return ClockSeconds(CLOCK_THREAD_CPUTIME_ID); }
inline double ProcessCpuSeconds() { return ClockSeconds(CLOCK_PROCESS_CPUTIME_ID); }

// Spans of work added up: Start() at a span's beginning and Stop() at its
// end, both on the thread whose processor time counts (the thread clock is
// per thread). A span started and never stopped adds nothing, nor does a
// Stop() with no Start() before it.
class CoreShare {
 public:
  void Start() {
    startWall_ = WallSeconds();
    startThread_ = ThreadCpuSeconds();
    startProcess_ = ProcessCpuSeconds();
  }
  // Wall seconds since the span's Start().
  double SinceStart() const { return WallSeconds() - startWall_; }
  void Stop() {
    if (startWall_ < 0) return;
    wall_ += WallSeconds() - startWall_;
    thread_ += ThreadCpuSeconds() - startThread_;
    process_ += ProcessCpuSeconds() - startProcess_;
    startWall_ = -1;
  }

  double Wall() const { return wall_; }
  double ThreadPercent() const { return 100.0 * thread_ / wall_; }
  double ProcessPercent() const { return 100.0 * process_ / wall_; }

 private:
  double startWall_ = -1, startThread_ = 0, startProcess_ = 0;
  double wall_ = 0, thread_ = 0, process_ = 0;
};

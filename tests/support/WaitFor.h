#pragma once
// The one way a test waits: for a condition, never for a fixed time. While it
// waits, the event loop runs (when the program has an application object),
// so timers, port input and queued calls go on as in the program; the
// condition is looked at about once a millisecond.
//
//   ASSERT_TRUE(WaitFor([&] { return w->State().Running == 0; }));
//   ASSERT_TRUE(WaitFor([&] { return port.InQueueCount() > 0; }, 10000));

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <functional>

namespace wait_detail {
inline void Breathe() {
  if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  QThread::msleep(1);
}

// Runs the event loop until `done` says so, looking at it about once a
// millisecond. The loop sleeps in the dispatcher, so port input, timers and
// posted calls are handled the moment they come, as in the program's own
// loop, not at the next look.
inline void Run(const std::function<bool()>& done) {
  QEventLoop loop;
  QTimer look;
  look.setInterval(1);
  look.setTimerType(Qt::PreciseTimer);
  QObject::connect(&look, &QTimer::timeout, &loop, [&] {
    if (done()) loop.quit();
  });
  look.start();
  loop.exec();
}
}  // namespace wait_detail

// True once the condition holds; false when the deadline passed first.
inline bool WaitFor(const std::function<bool()>& condition, int deadlineMs = 5000) {
  QElapsedTimer clock;
  clock.start();
  if (condition()) return true;
  if (QCoreApplication::instance() == nullptr) {
    while (!condition()) {
      if (clock.elapsed() > deadlineMs) return false;
      wait_detail::Breathe();
    }
    return true;
  }
  bool held = false;
  wait_detail::Run([&] {
    held = condition();
    return held || clock.elapsed() > deadlineMs;
  });
  return held;
}

// Lets the event loop run for a while: only for checks that something does
// NOT happen within that time.
inline void RunEventsFor(int ms) {
  QElapsedTimer clock;
  clock.start();
  if (QCoreApplication::instance() == nullptr) {
    while (clock.elapsed() < ms) wait_detail::Breathe();
    return;
  }
  wait_detail::Run([&] { return clock.elapsed() >= ms; });
}

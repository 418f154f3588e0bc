#pragma once
// The one way a test waits: for a condition, never for a fixed time. While it
// waits, window events are processed (when the program has an application
// object), so timers, queued calls and a capture wait nested inside them go
// on; the condition is looked at about once a millisecond.
//
//   ASSERT_TRUE(WaitFor([&] { return w->Running == 0; }));
//   ASSERT_TRUE(WaitFor([&] { return port.InQueueCount() > 0; }, 10000));

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <functional>

namespace wait_detail {
inline void Breathe() {
  if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  QThread::msleep(1);
}
}  // namespace wait_detail

// True once the condition holds; false when the deadline passed first.
inline bool WaitFor(const std::function<bool()>& condition, int deadlineMs = 5000) {
  QElapsedTimer clock;
  clock.start();
  while (!condition()) {
    if (clock.elapsed() > deadlineMs) return false;
    wait_detail::Breathe();
  }
  return true;
}

// Lets the event loop run for a while: only for checks that something does
// NOT happen within that time.
inline void RunEventsFor(int ms) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms) wait_detail::Breathe();
}

// The capture wait's watch on the port, over a real pipe: input wakes the
// wait; input that nobody reads never keeps the event dispatcher awake, in
// the wait, after it, or in a handler's own event loop nested inside it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QObject>
#include <QTimer>

#include "acquisition/CaptureWait.h"

namespace {

struct Pipe {
  int read = -1;
  int write = -1;
  Pipe() {
    int fds[2];
    EXPECT_EQ(::pipe2(fds, O_CLOEXEC | O_NONBLOCK), 0);
    read = fds[0];
    write = fds[1];
  }
  ~Pipe() {
    ::close(read);
    ::close(write);
  }
  void Put() const { EXPECT_EQ(::write(write, "x", 1), 1); }
  void Drain() const {
    char bytes[64];
    while (::read(read, bytes, sizeof bytes) > 0) {
    }
  }
};

// How often the dispatcher wakes in `ms` with nothing to do but what is
// watched: a timer ends the span, so an idle dispatcher wakes about once.
int WakesWithin(int ms) {
  bool over = false;
  QTimer end;
  end.setSingleShot(true);
  QObject::connect(&end, &QTimer::timeout, [&] { over = true; });
  end.start(ms);
  int wakes = 0;
  while (!over) {
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    ++wakes;
  }
  return wakes;
}

// Waits with a long sleep and tells whether the sleep, not the input, ended it.
bool WaitEndedBySleep(CaptureWait& wait, int handle) {
  bool slept = false;
  QTimer sentinel;
  sentinel.setSingleShot(true);
  QObject::connect(&sentinel, &QTimer::timeout, [&] { slept = true; });
  sentinel.start(3000);
  wait.WaitAndDispatch(handle, 5000);
  return slept;
}

// Far fewer than a busy loop over a ready descriptor would make (thousands).
constexpr int FewWakes = 4;

// A wait owned by a window, and the port it watches.
struct CaptureWaitTest : ::testing::Test {
  QObject window;
  CaptureWait* wait = new CaptureWait(&window);
  Pipe port;
};

}  // namespace

TEST_F(CaptureWaitTest, UnreadInputWakesTheWaitOnceAndThenRests) {
  port.Put();
  EXPECT_FALSE(WaitEndedBySleep(*wait, port.read));
  // The byte stays unread: the watch does not wake the dispatcher for it
  // again and again.
  EXPECT_LE(WakesWithin(300), FewWakes);
  // Once it is read, the next wait is woken by the next input.
  port.Drain();
  port.Put();
  EXPECT_FALSE(WaitEndedBySleep(*wait, port.read));
  port.Drain();
  // A wait that does not watch the port ends the watch.
  port.Put();
  wait->WaitAndDispatch(-1, 0);
  EXPECT_LE(WakesWithin(300), FewWakes);
}

TEST_F(CaptureWaitTest, AHandlersOwnEventLoopInsideTheWaitIsNotFloodedByUnreadInput) {
  // A handler that opens its own event loop (as a message box does) runs
  // inside the wait while the input that woke it is still unread.
  int nestedWakes = -1;
  QTimer::singleShot(0, [&] { nestedWakes = WakesWithin(300); });
  port.Put();
  wait->WaitAndDispatch(port.read, 5000);
  if (nestedWakes < 0) wait->WaitAndDispatch(port.read, 5000);
  ASSERT_GE(nestedWakes, 0);
  EXPECT_LE(nestedWakes, FewWakes);
}

TEST_F(CaptureWaitTest, AStoppedWatchIsNotWokenByInput) {
  port.Put();
  EXPECT_FALSE(WaitEndedBySleep(*wait, port.read));
  port.Drain();
  wait->StopWatching();
  port.Put();
  EXPECT_LE(WakesWithin(300), 2);
}

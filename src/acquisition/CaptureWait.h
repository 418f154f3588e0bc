#pragma once
// The blocking half of one pass of a wait on the instrument. GetData (and the
// connection watch's identify exchange) dispatch the window's events while
// they wait; instead of polling, each pass sleeps in the event dispatcher
// until something can have changed: a window event, input on the port, or the
// end of a sleep the caller asks for. With nothing to wait for but the window
// and the port there is no timer at all.
//
// The port is watched only when the caller asks (nothing is queued:
// readiness on a tty is level-triggered, so input already queued would wake
// every pass at once). Nor is a descriptor that reports a hang-up (the
// instrument unplugged, the simulator gone): it stays "ready" for good and
// would turn the wait into a busy loop. The caller asks HungUp first (once a
// pass) and ends its wait instead.
//
// QtCore only; knows the port as a file descriptor, nothing of TSerial.

#include <QObject>

class QSocketNotifier;
class QTimer;

class CaptureWait : public QObject {
 public:
  explicit CaptureWait(QObject* parent);

  // Waits until a window event, input on `watchHandle` (-1: do not watch the
  // port; never one that HungUp reports) or `sleepMs` (-1: no time limit),
  // and dispatches every pending event; any handler of the window may run
  // inside.
  void WaitAndDispatch(int watchHandle, int sleepMs);

  // The port stays watched after a wait (the next pass of a capture loop
  // mostly watches it again); a caller whose waiting is over, or whose port
  // closes, ends the watch.
  void StopWatching();

  // Dispatches what is pending without waiting.
  static void DispatchPending();

  // True when the descriptor reports a hang-up or is no longer valid.
  static bool HungUp(int portHandle);

 private:
  void Watch(int handle);

  QSocketNotifier* portInput_ = nullptr;
  int wakesSinceWait_ = 0;
  QTimer* recheck_ = nullptr;
};

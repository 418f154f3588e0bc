#pragma once
// The blocking half of one pass of the capture wait. GetData dispatches the
// window's events while it waits for the instrument; instead of polling in a
// tight loop, each pass sleeps in the event dispatcher until something can
// have changed: a window event, input on the port, or a short re-check tick.
//
// The port is watched only while nothing is queued: readiness on a tty is
// level-triggered, so a part of a reply already queued would wake every pass
// at once. While a reply trickles in, the short tick paces the passes instead.
// A descriptor that reports a hang-up (the instrument unplugged, the simulator
// gone) is not watched either, for the same reason.
//
// QtCore only; knows the port as a file descriptor, nothing of TSerial.

#include <QObject>

class QSocketNotifier;
class QTimer;

class CaptureWait : public QObject {
 public:
  // Longest sleep of one pass while nothing is queued: a safety net only, as
  // the port and the window wake the pass themselves.
  static constexpr int IdleRecheckMs = 5;
  // Pass pacing while part of a reply is queued; bounds how late a reply is
  // read after its last byte arrived.
  static constexpr int TrickleRecheckMs = 1;

  explicit CaptureWait(QObject* parent);

  // Waits until a window event, input on `portHandle` (-1: no port) or the
  // re-check tick, and dispatches every pending event; any handler of the
  // window may run inside. `queued` is the input count the pass just saw.
  void WaitAndDispatch(int portHandle, bool portGone, int queued);

  // Dispatches what is pending without waiting.
  static void DispatchPending();

 private:
  bool CanWatch(int portHandle, bool portGone, int queued) const;

  QSocketNotifier* portInput_ = nullptr;
  QTimer* recheck_ = nullptr;
};

#include "acquisition/CaptureWait.h"

#include <poll.h>

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

CaptureWait::CaptureWait(QObject* parent) : QObject(parent), recheck_(new QTimer(this)) {
  recheck_->setObjectName(QStringLiteral("CaptureWaitRecheck"));
  recheck_->setSingleShot(true);
  recheck_->setTimerType(Qt::PreciseTimer);
}

bool CaptureWait::HungUp(int portHandle) {
  if (portHandle < 0) return false;
  pollfd probe{portHandle, POLLIN, 0};
  if (::poll(&probe, 1, 0) < 0) return false;
  return (probe.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

void CaptureWait::Watch(int handle) {
  if (handle < 0) {
    StopWatching();
    return;
  }
  if (portInput_ != nullptr && portInput_->socket() != handle) {
    // The port was reopened on another descriptor.
    portInput_->setEnabled(false);
    portInput_->deleteLater();
    portInput_ = nullptr;
  }
  if (portInput_ == nullptr) {
    portInput_ = new QSocketNotifier(handle, QSocketNotifier::Read, this);
    QSocketNotifier* notifier = portInput_;
    connect(notifier, &QSocketNotifier::activated, this, [this, notifier] {
      // Input wakes one wait; its caller reads it before the next. A second
      // wake before the next wait begins is input nobody is reading yet (a
      // handler's own event loop nested in the wait, bytes arriving while
      // stopped): readiness is level-triggered and would wake the dispatcher
      // again and again, so the watch rests until a wait asks for it.
      if (++wakesSinceWait_ > 1) notifier->setEnabled(false);
    });
  }
  // Left on from one wait to the next: turning a notifier on or off wakes
  // the event dispatcher, which between captures would be for nothing.
  portInput_->setEnabled(true);
}

void CaptureWait::StopWatching() {
  if (portInput_ != nullptr) portInput_->setEnabled(false);
}

void CaptureWait::WaitAndDispatch(int watchHandle, int sleepMs) {
  const QPointer<CaptureWait> alive(this);
  Watch(watchHandle);
  wakesSinceWait_ = 0;
  if (sleepMs >= 0) recheck_->start(sleepMs);

  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);

  // The window, and this with it, may have been destroyed by a handler.
  if (!alive) return;
  recheck_->stop();
}

void CaptureWait::DispatchPending() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

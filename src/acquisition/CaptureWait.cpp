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

void CaptureWait::WaitAndDispatch(int watchHandle, int sleepMs) {
  const QPointer<CaptureWait> alive(this);
  if (watchHandle >= 0) {
    if (portInput_ != nullptr && portInput_->socket() != watchHandle) {
      // The port was reopened on another descriptor.
      portInput_->setEnabled(false);
      portInput_->deleteLater();
      portInput_ = nullptr;
    }
    if (portInput_ == nullptr) {
      portInput_ = new QSocketNotifier(watchHandle, QSocketNotifier::Read, this);
      // One wake-up is all a pass needs; the next pass decides afresh whether
      // to watch, so input left queued cannot wake the dispatcher again and
      // again (handlers run in this dispatch may also close the port).
      QSocketNotifier* notifier = portInput_;
      connect(notifier, &QSocketNotifier::activated, this,
              [notifier] { notifier->setEnabled(false); });
    }
    portInput_->setEnabled(true);
  }
  if (sleepMs >= 0) recheck_->start(sleepMs);

  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);

  // The window, and this with it, may have been destroyed by a handler.
  if (!alive) return;
  recheck_->stop();
  if (portInput_ != nullptr) portInput_->setEnabled(false);
}

void CaptureWait::DispatchPending() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

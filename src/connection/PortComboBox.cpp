#include "connection/PortComboBox.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

PortComboBox::PortComboBox(QWidget* parent, const QString& name) : QComboBox(parent) {
  setObjectName(name);
  setEditable(false);
}

void PortComboBox::showPopup() {
  if (OnDropDown) OnDropDown();
  QComboBox::showPopup();
}

void PortComboBox::focusInEvent(QFocusEvent* event) {
  QComboBox::focusInEvent(event);
  // Focus that comes back when the window is reactivated or the list's own
  // pop-up closes is no entering: refreshing then would wipe the choice the
  // user has just made, and an error box about the refresh would bring the
  // focus back again and again.
  const Qt::FocusReason reason = event->reason();
  if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
  if (OnEnter) OnEnter();
}

bool PortComboBox::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    event->accept();
    return true;
  }
  return QComboBox::event(event);
}

void PortComboBox::keyPressEvent(QKeyEvent* event) {
  int key = event->key();
  if (OnKeyDown) OnKeyDown(key);
  event->accept();
}

AfterFirstShow::AfterFirstShow(QWidget* watched, std::function<void()> callback)
    : QObject(watched), callback_(std::move(callback)) {
  watched->installEventFilter(this);
}

bool AfterFirstShow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show) {
    watched->removeEventFilter(this);
    // The filter sees the event before the widget does; queue the call so it
    // runs once the widget's own show handling is over.
    QTimer::singleShot(0, this, [this] {
      if (callback_) callback_();
    });
  }
  return false;
}

#pragma once
// One mouse event with the left button, delivered to a widget in its own
// coordinates, as Qt delivers a hand's presses, drags and releases.

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

inline void SendMouse(QWidget* widget, QEvent::Type type, QPoint at) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &event);
}

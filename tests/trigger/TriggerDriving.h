#pragma once
// Drives the trigger widgets as a hand does: presses, moves with the button
// held, releases and double clicks go to the widget in its own coordinates
// (Qt grabs the mouse on press, so a drag's moves arrive at the pressed
// widget), keys go to the focused edit.

#include "support/Mouse.h"
#include "window/TForm1.h"
#include "support/ScopeDriver.h"

#include <QAction>
#include <QCoreApplication>
#include <QLocale>
#include <QMouseEvent>
#include <QTest>

#include <vector>

inline void Click(QWidget* widget) {
  const QPoint middle(widget->width() / 2, widget->height() / 2);
  SendMouse(widget, QEvent::MouseButtonPress, middle);
  SendMouse(widget, QEvent::MouseButtonRelease, middle);
}

inline void DoubleClick(QWidget* widget) {
  const QPoint middle(widget->width() / 2, widget->height() / 2);
  SendMouse(widget, QEvent::MouseButtonPress, middle);
  SendMouse(widget, QEvent::MouseButtonRelease, middle);
  SendMouse(widget, QEvent::MouseButtonDblClick, middle);
  SendMouse(widget, QEvent::MouseButtonRelease, middle);
}

// Grabs a widget at `grab` and moves the pointer by each step in turn
// (relative to where it was), then releases where the pointer is. Vertical
// steps for the arrows and markers, horizontal for the position marker.
inline void Drag(QWidget* widget, QPoint grab, const std::vector<QPoint>& steps) {
  SendMouse(widget, QEvent::MouseButtonPress, grab);
  // The pointer in the parent's pixels; each event is given in the widget's
  // pixels at that moment, as the widget moves under it.
  QPoint pointer = widget->pos() + grab;
  for (QPoint step : steps) {
    pointer += step;
    SendMouse(widget, QEvent::MouseMove, pointer - widget->pos());
  }
  SendMouse(widget, QEvent::MouseButtonRelease, pointer - widget->pos());
}

// Types a level into the open edit box and presses a key (Enter by default).
inline void TypeLevel(TForm1& f, const QString& text, Qt::Key key = Qt::Key_Return) {
  ScopeDriver(f).TriggerLevelEdit()->clear();
  QTest::keyClicks(ScopeDriver(f).TriggerLevelEdit(), text);
  QTest::keyClick(ScopeDriver(f).TriggerLevelEdit(), key);
}

// A number as the user's locale writes it ("1.25" or "1,25").
inline QString Local(const char* number) {
  return QString::fromLatin1(number).replace(QLatin1Char('.'), QLocale().decimalPoint());
}

inline bool Shows(const TImage* image, const char* bitmap) {
  return image->FileName().endsWith(QLatin1String("Grafics/") + QLatin1String(bitmap));
}

#pragma once
// Drives the knobs and markers as a hand on the mouse does: a press, moves
// with the button held and a release, delivered to the widget that was
// pressed (Qt grabs the mouse on press), in that widget's own coordinates.

#include "support/Mouse.h"
#include "app/Widgets.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <vector>

// A press held on a widget until Release.
class KnobDrag {
 public:
  KnobDrag(QWidget* widget, QPoint pressAt) : widget_(widget) {
    SendMouse(widget_, QEvent::MouseButtonPress, pressAt);
  }
  void MoveTo(QPoint at) { SendMouse(widget_, QEvent::MouseMove, at); }
  void Release(QPoint at) { SendMouse(widget_, QEvent::MouseButtonRelease, at); }

 private:
  QWidget* widget_;
};

// Press at the first point, move through all of them, release at the last.
inline void TurnKnob(QWidget* knob, const std::vector<QPoint>& path) {
  KnobDrag drag(knob, path.front());
  for (QPoint p : path) drag.MoveTo(p);
  drag.Release(path.back());
}

// Grabs a marker at Y 7 (its middle row) and moves the pointer to each Y in
// turn, given in the marker's pixels at the time of the move. The release
// comes where the pointer last was: on the marker unless it hit an end of the
// strip and the pointer went on.
inline void DragMarker(QWidget* marker, const std::vector<int>& moves) {
  KnobDrag drag(marker, QPoint(10, 7));
  int pointerRow = Top(marker) + 7;  // in the strip
  for (int y : moves) {
    pointerRow = Top(marker) + y;
    drag.MoveTo(QPoint(10, y));
  }
  drag.Release(QPoint(10, pointerRow - Top(marker)));
}

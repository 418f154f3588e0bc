#pragma once
// The time/div knob at the top of the control column (Panel7): its face, its
// pointer dot and the lock sign laid over its centre while a reference
// waveform holds the time base. It owns these widgets; the window tells it
// what to show and binds the callbacks to its handlers.

#include "app/Widgets.h"

#include <functional>

class PanelKit;

class TimeBaseKnob : public TPanel {
  Q_OBJECT
 public:
  // Builds the knob in the control column.
  TimeBaseKnob(QWidget* column, PanelKit& kit);

  // Pictures from beside the executable; each throws when it cannot be read.
  void ShowFace(const QString& relativePath);
  void ShowDot(const QString& relativePath);
  void ShowLockSignPicture(const QString& relativePath);
  void PlaceDot(int left, int top);
  QSize FaceSize() const;
  // Locked, the face takes no turn and the lock sign lies over its centre.
  void SetLocked(bool locked);

  // ---- What the user does: bound by the window ----------------------
  std::function<void(Qt::MouseButton button, int x, int y)> OnPressed;
  std::function<void(int x, int y)> OnMoved;
  std::function<void(Qt::MouseButton button, int x, int y)> OnReleased;

 private:
  PanelKit& kit_;
  TImage* face_ = nullptr;
  TImage* dot_ = nullptr;
  TImage* lockSign_ = nullptr;
};

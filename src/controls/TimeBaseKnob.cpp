#include "controls/TimeBaseKnob.h"

#include "app/PanelKit.h"

namespace {

// Places, in the parent's pixels.
constexpr QRect Panel7Place{0, -3, 225, 225};     // in the control column
constexpr QRect Image9Place{0, 0, 225, 225};      // the face
constexpr QRect Image10Place{101, 101, 22, 22};   // the dot, moved with the angle
constexpr QRect Image26Place{100, 100, 22, 22};   // the lock sign, over the centre

// Calls a callback the window may not have bound.
template <class F, class... A>
void Tell(const F& callback, A&&... args) {
  if (callback) callback(std::forward<A>(args)...);
}

}  // namespace

TimeBaseKnob::TimeBaseKnob(QWidget* column, PanelKit& kit) : TPanel(column, QStringLiteral("Panel7")), kit_(kit) {
  setGeometry(Panel7Place);
  SetColor(PanelGrey);
  SetBevel(0);

  // The order they are made in is the order they are stacked in.
  face_ = new TImage(this, QStringLiteral("Image9"));
  face_->setGeometry(Image9Place);
  face_->setCursor(Qt::PointingHandCursor);
  face_->mouse.OnMouseDown = kit.Handler([this](Qt::MouseButton b, int x, int y) { Tell(OnPressed, b, x, y); });
  face_->mouse.OnMouseMove = kit.Handler([this](int x, int y) { Tell(OnMoved, x, y); });
  face_->mouse.OnMouseUp = kit.Handler([this](Qt::MouseButton b, int x, int y) { Tell(OnReleased, b, x, y); });
  // The dot and the lock sign never take the pointer, so a press on them
  // still reaches the face.
  dot_ = new TImage(this, QStringLiteral("Image10"));
  dot_->SetTransparent(true);
  dot_->setGeometry(Image10Place);
  dot_->setEnabled(false);
  dot_->setAttribute(Qt::WA_TransparentForMouseEvents);
  lockSign_ = new TImage(this, QStringLiteral("Image26"));
  lockSign_->SetTransparent(true);
  lockSign_->setGeometry(Image26Place);
  lockSign_->setEnabled(false);
  lockSign_->setAttribute(Qt::WA_TransparentForMouseEvents);
  lockSign_->hide();
}

void TimeBaseKnob::ShowFace(const QString& relativePath) { kit_.ShowBitmap(face_, relativePath); }

void TimeBaseKnob::ShowDot(const QString& relativePath) { kit_.ShowBitmap(dot_, relativePath); }

void TimeBaseKnob::ShowLockSignPicture(const QString& relativePath) { kit_.ShowBitmap(lockSign_, relativePath); }

void TimeBaseKnob::PlaceDot(int left, int top) { dot_->move(left, top); }

QSize TimeBaseKnob::FaceSize() const { return face_->size(); }

void TimeBaseKnob::SetLocked(bool locked) {
  face_->setEnabled(!locked);
  lockSign_->setVisible(locked);
  if (locked) lockSign_->raise();
}

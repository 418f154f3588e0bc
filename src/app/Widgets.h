#pragma once
// The few widget kinds the window is made of, with the events the handlers
// need: an image that shows a bitmap file, a panel, a label and a paint
// surface. Positions are absolute (Left/Top in the parent, no layouts), since
// the program reads them back as state: the Top of a marker is a 0 V row.
// Each widget hands its mouse events to plain callbacks that TForm1 binds to
// its handlers through the one error wrapper.

#include <QFont>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QRegion>
#include <QWidget>

#include <functional>
#include <string_view>

// A text from one of the constexpr tables (captions, picture paths), which
// are plain ASCII, as a QString.
inline QString TableText(std::string_view text) {
  return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

// Loads a bitmap file; throws ScopeError "Cannot open file ..." when it
// cannot be read, as every picture change of the program does.
QImage LoadBitmapFile(const QString& path);

struct MouseCallbacks {
  std::function<void(Qt::MouseButton, int x, int y)> OnMouseDown;
  std::function<void(int x, int y)> OnMouseMove;  // with or without a button held
  std::function<void(Qt::MouseButton, int x, int y)> OnMouseUp;
  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
};

// A widget's place as the program keeps it: Left and Top in the parent.
inline int Left(const QWidget* w) { return w->x(); }
inline int Top(const QWidget* w) { return w->y(); }
inline void SetLeft(QWidget* w, int left) { w->move(left, w->y()); }
inline void SetTop(QWidget* w, int top) { w->move(w->x(), top); }

// Shared mouse plumbing: press, move, release, click (release inside after a
// press) and double click go to the callbacks with widget coordinates.
template <class Base>
class MouseWidget : public Base {
 public:
  using Base::Base;
  MouseCallbacks mouse;

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;

 private:
  bool pressed_ = false;
};

class TImage : public MouseWidget<QWidget> {
  Q_OBJECT
 public:
  explicit TImage(QWidget* parent, const QString& name);
  // Loads the file into the picture; throws when it cannot be read. With
  // Transparent set, the bottom-left pixel's colour is see-through.
  void LoadFromFile(const QString& path);
  void SetPicture(const QImage& image);
  // Shows an already decoded file; does nothing when it is already shown.
  void ShowPicture(const QImage& image, const QString& fileName);
  const QImage& Picture() const { return picture_; }
  const QString& FileName() const { return fileName_; }
  void SetTransparent(bool on) { transparent_ = on; }
  void SetStretch(bool on) { stretch_ = on; update(); }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QImage picture_;
  QString fileName_;
  qint64 sourceKey_ = 0;  // cacheKey of the image the picture was made from
  bool transparent_ = false;
  bool stretch_ = false;
};

class TPanel : public MouseWidget<QFrame> {
  Q_OBJECT
 public:
  explicit TPanel(QWidget* parent, const QString& name);
  void SetColor(const QColor& color);
  QColor Color() const { return color_; }
  // The panel's bevel: 0 none, >0 raised, <0 lowered, by that many pixels.
  void SetBevel(int width);

 private:
  QColor color_;
};

class TLabel : public MouseWidget<QLabel> {
  Q_OBJECT
 public:
  explicit TLabel(QWidget* parent, const QString& name, const QString& caption = {});
  void SetFontColor(const QColor& color);
};

// A surface that is painted only by its OnPaint callback.
class TPaintBox : public MouseWidget<QWidget> {
  Q_OBJECT
 public:
  explicit TPaintBox(QWidget* parent, const QString& name);
  std::function<void(QPainter&)> OnPaint;
  // While OnPaint runs: the part of the surface being painted, in its own
  // coordinates (without the widgets that cover it).
  const QRegion& PaintRegion() const { return paintRegion_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QRegion paintRegion_;
};

// ---- Builders for the kinds the window repeats ---------------------------
// Each places a new widget at its named place (a constexpr QRect in the
// folder that builds it); the caller binds its handlers.

// The panels' grey, as the window's client area.
inline constexpr QColor PanelGrey(192, 192, 192);

// A panel in a colour with a bevel (0 none, >0 raised, <0 lowered).
TPanel* MakePanel(QWidget* parent, const QString& name, const QRect& place, const QColor& colour = PanelGrey,
                  int bevel = 0);

// Text in a colour on black, as every readout under the screen is shown;
// for a line edit the typed text too.
void PaintTextOnBlack(QWidget* widget, const QColor& textColour);

// The readouts' type: DejaVu Sans Condensed (fonts-dejavu-extra), upright and
// regular, 12 pixels to the em, which is a 14-pixel line. Narrow enough that
// the longest text each readout under the screen can hold ("-888.8 ms" in 60
// pixels, "CH1 500mV/DIV" in 96) fits its place whole; bold would not.
QFont ReadoutFont();

// A readout under the screen: text in the readout type, in a colour on black.
TLabel* MakeReadout(QWidget* parent, const QString& name, const QRect& place, const QColor& textColour);

// A picture that works as a button: the pointing hand over it and its hint.
TImage* MakeImageButton(QWidget* parent, const QString& name, const QRect& place, const QString& hint = {});

#include "app/Widgets.h"

#include "app/Errors.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

QImage LoadBitmapFile(const QString& path) {
  QImage image(path);
  if (image.isNull()) {
    const QString reason = QFileInfo::exists(path) ? QStringLiteral("The file is not a readable bitmap")
                                                   : QStringLiteral("No such file or directory");
    throw ScopeError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, reason));
  }
  return image;
}

template <class Base>
void MouseWidget<Base>::mousePressEvent(QMouseEvent* e) {
  pressed_ = true;
  const QPoint p = e->position().toPoint();
  if (mouse.OnMouseDown) mouse.OnMouseDown(e->button(), p.x(), p.y());
}

template <class Base>
void MouseWidget<Base>::mouseMoveEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  if (mouse.OnMouseMove) mouse.OnMouseMove(p.x(), p.y());
}

template <class Base>
void MouseWidget<Base>::mouseReleaseEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  const bool wasPressed = pressed_;
  pressed_ = false;
  if (mouse.OnMouseUp) mouse.OnMouseUp(e->button(), p.x(), p.y());
  if (wasPressed && e->button() == Qt::LeftButton && this->rect().contains(p) && mouse.OnClick)
    mouse.OnClick();
}

template <class Base>
void MouseWidget<Base>::mouseDoubleClickEvent(QMouseEvent* e) {
  pressed_ = true;
  if (mouse.OnDblClick) {
    mouse.OnDblClick();
  } else if (mouse.OnMouseDown) {
    const QPoint p = e->position().toPoint();
    mouse.OnMouseDown(e->button(), p.x(), p.y());
  }
}

template class MouseWidget<QWidget>;
template class MouseWidget<QFrame>;
template class MouseWidget<QLabel>;

TImage::TImage(QWidget* parent, const QString& name) : MouseWidget<QWidget>(parent) {
  setObjectName(name);
  setMouseTracking(true);
}

void TImage::LoadFromFile(const QString& path) { ShowPicture(LoadBitmapFile(path), path); }

void TImage::ShowPicture(const QImage& image, const QString& fileName) {
  if (fileName == fileName_ && image.cacheKey() == sourceKey_ && !picture_.isNull()) return;
  SetPicture(image);
  fileName_ = fileName;
  sourceKey_ = image.cacheKey();
}

void TImage::SetPicture(const QImage& image) {
  sourceKey_ = 0;
  picture_ = image;
  if (transparent_ && !picture_.isNull()) {
    picture_ = picture_.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = picture_.pixel(0, picture_.height() - 1);
    for (int y = 0; y < picture_.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(picture_.scanLine(y));
      for (int x = 0; x < picture_.width(); ++x)
        if (line[x] == key) line[x] = qRgba(0, 0, 0, 0);
    }
  }
  update();
}

void TImage::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) return;
  QPainter painter(this);
  if (stretch_)
    painter.drawImage(rect(), picture_);
  else
    painter.drawImage(0, 0, picture_);
}

TPanel::TPanel(QWidget* parent, const QString& name) : MouseWidget<QFrame>(parent) {
  setObjectName(name);
  setAutoFillBackground(true);
  SetColor(PanelGrey);
}

void TPanel::SetColor(const QColor& color) {
  color_ = color;
  QPalette p = palette();
  p.setColor(QPalette::Window, color);
  setPalette(p);
}

void TPanel::SetBevel(int width) {
  if (width == 0) {
    setFrameStyle(QFrame::NoFrame);
    return;
  }
  setFrameStyle(QFrame::Panel | (width > 0 ? QFrame::Raised : QFrame::Sunken));
  setLineWidth(width > 0 ? width : -width);
}

TLabel::TLabel(QWidget* parent, const QString& name, const QString& caption)
    : MouseWidget<QLabel>(caption, parent) {
  setObjectName(name);
}

void TLabel::SetFontColor(const QColor& color) {
  QPalette p = palette();
  p.setColor(QPalette::WindowText, color);
  setPalette(p);
}

TPaintBox::TPaintBox(QWidget* parent, const QString& name) : MouseWidget<QWidget>(parent) {
  setObjectName(name);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPaintBox::paintEvent(QPaintEvent* e) {
  paintRegion_ = e->region();
  QPainter painter(this);
  if (OnPaint) OnPaint(painter);
}

TPanel* MakePanel(QWidget* parent, const QString& name, const QRect& place, const QColor& colour, int bevel) {
  auto* panel = new TPanel(parent, name);
  panel->setGeometry(place);
  panel->SetColor(colour);
  panel->SetBevel(bevel);
  return panel;
}

void PaintTextOnBlack(QWidget* widget, const QColor& textColour) {
  widget->setAutoFillBackground(true);
  QPalette p = widget->palette();
  p.setColor(QPalette::Window, Qt::black);
  p.setColor(QPalette::Base, Qt::black);
  p.setColor(QPalette::WindowText, textColour);
  p.setColor(QPalette::Text, textColour);
  widget->setPalette(p);
}

QFont ReadoutFont() {
  QFont font(QStringLiteral("DejaVu Sans Condensed"));
  font.setPixelSize(12);
  font.setBold(false);
  font.setItalic(false);
  return font;
}

TLabel* MakeReadout(QWidget* parent, const QString& name, const QRect& place, const QColor& textColour) {
  auto* label = new TLabel(parent, name);
  label->setGeometry(place);
  PaintTextOnBlack(label, textColour);
  label->setFont(ReadoutFont());
  return label;
}

TImage* MakeImageButton(QWidget* parent, const QString& name, const QRect& place, const QString& hint) {
  auto* button = new TImage(parent, name);
  button->setGeometry(place);
  button->setCursor(Qt::PointingHandCursor);
  if (!hint.isEmpty()) button->setToolTip(hint);
  return button;
}

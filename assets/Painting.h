#pragma once
// Drawing helpers shared by the artwork painters: canvases, the DejaVu
// fonts, centred text, bench-style keys and dial geometry.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <map>
#include <string>
#include <string_view>

namespace artwork {

// The pictures drawn so far, by relative path. Adding the same path twice
// is a painter bug and stops the generator.
class ArtworkSet {
 public:
  void Add(std::string_view path, QImage image);
  const std::map<std::string, QImage>& Images() const { return images_; }

 private:
  std::map<std::string, QImage> images_;
};

// One family for every picture, so the labels read alike everywhere.
QFont DejaVu(int pixelSize, bool bold = false, bool condensed = false);

// A 24-bit canvas filled with one colour; saved as a plain Windows bitmap.
QImage Canvas(int width, int height, QRgb fill);

// Antialiased painter on an image.
void Smooth(QPainter& painter);

// Text centred on a point: horizontally on its advance, vertically on the
// cap height, so digits and capitals sit in the middle whatever the unit.
void CentredText(QPainter& painter, QPointF centre, const QString& text, const QFont& font,
                 QColor colour);
// The box such text occupies (advance x cap height).
QRectF CentredTextBox(QPointF centre, const QString& text, const QFont& font);

// A front-panel key: rounded body with a light top edge and a dark lower
// edge; pressed turns the shading round and sinks the face one pixel.
void Key(QPainter& painter, QRectF rect, QColor face, bool pressed = false, qreal radius = 3);

// A point on a dial: degrees clockwise from 3 o'clock, y growing downwards,
// the way the knobs are read.
QPointF OnDial(QPointF centre, double radius, double degrees);

// Mixes two colours; t = 0 gives a, 1 gives b.
QColor Mix(QColor a, QColor b, double t);

}  // namespace artwork

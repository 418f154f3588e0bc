#include "Painting.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace artwork {

void ArtworkSet::Add(std::string_view path, QImage image) {
  const auto [it, added] = images_.emplace(std::string(path), std::move(image));
  if (!added) throw std::logic_error("picture drawn twice: " + it->first);
}

QFont DejaVu(int pixelSize, bool bold, bool condensed) {
  QFont font(condensed ? QStringLiteral("DejaVu Sans Condensed") : QStringLiteral("DejaVu Sans"));
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  if (condensed) font.setStretch(QFont::Condensed);
  // Full hinting keeps small labels on whole pixels, which is what makes
  // them crisp at 8 to 11 pixels.
  font.setHintingPreference(QFont::PreferFullHinting);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

QImage Canvas(int width, int height, QRgb fill) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(fill);
  return image;
}

void Smooth(QPainter& painter) {
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
}

QRectF CentredTextBox(QPointF centre, const QString& text, const QFont& font) {
  const QFontMetricsF metrics(font);
  const qreal width = metrics.horizontalAdvance(text);
  const qreal height = metrics.capHeight();
  return {centre.x() - width / 2, centre.y() - height / 2, width, height};
}

void CentredText(QPainter& painter, QPointF centre, const QString& text, const QFont& font,
                 QColor colour) {
  const QRectF box = CentredTextBox(centre, text, font);
  painter.save();
  painter.setFont(font);
  painter.setPen(colour);
  painter.drawText(QPointF(std::round(box.left()), std::round(box.bottom())), text);
  painter.restore();
}

void Key(QPainter& painter, QRectF rect, QColor face, bool pressed, qreal radius) {
  painter.save();
  painter.setPen(Qt::NoPen);
  // Rim: dark all round, the body sits inside it.
  painter.setBrush(Mix(face, QColor(10, 10, 10), 0.75));
  painter.drawRoundedRect(rect, radius, radius);

  const QRectF body = rect.adjusted(1, 1, -1, -1);
  QLinearGradient shade(body.topLeft(), body.bottomLeft());
  const QColor light = Mix(face, Qt::white, pressed ? 0.05 : 0.35);
  const QColor dark = Mix(face, Qt::black, pressed ? 0.05 : 0.30);
  shade.setColorAt(0, pressed ? dark : light);
  shade.setColorAt(1, pressed ? light : dark);
  painter.setBrush(shade);
  painter.drawRoundedRect(body, radius - 1, radius - 1);

  // The flat top of the key, a little inset; sunk by a pixel when pressed.
  const qreal inset = std::max<qreal>(2, std::min(body.width(), body.height()) * 0.12);
  QRectF top = body.adjusted(inset, inset * 0.7, -inset, -inset * 1.3);
  if (pressed) top.translate(0, 1);
  QLinearGradient topShade(top.topLeft(), top.bottomLeft());
  topShade.setColorAt(0, Mix(face, Qt::white, pressed ? 0.0 : 0.12));
  topShade.setColorAt(1, Mix(face, Qt::black, pressed ? 0.15 : 0.04));
  painter.setBrush(topShade);
  painter.drawRoundedRect(top, std::max<qreal>(1, radius - 2), std::max<qreal>(1, radius - 2));
  painter.restore();
}

QPointF OnDial(QPointF centre, double radius, double degrees) {
  const double t = degrees * std::numbers::pi / 180.0;
  return {centre.x() + radius * std::cos(t), centre.y() + radius * std::sin(t)};
}

QColor Mix(QColor a, QColor b, double t) {
  const auto lerp = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
  return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()));
}

}  // namespace artwork

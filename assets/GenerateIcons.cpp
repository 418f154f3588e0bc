// Draws the application icon for the desktop's menus and launchers: a small
// instrument screen with its graticule, a CH1 sine and a CH2 square, in the
// hicolor sizes desktops look for.
//
//   icon_gen <folder>    writes <folder>/hicolor/<N>x<N>/apps/tessaron-scope.png
//
// Each size is drawn on its own, not scaled from the largest: the small ones
// keep fewer grid lines and thicker traces so they stay legible.

#include "Painting.h"
#include "Palette.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainterPath>

#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

QImage DrawIcon(int size) {
  QImage icon(size, size, QImage::Format_ARGB32);
  icon.fill(Qt::transparent);
  QPainter painter(&icon);
  artwork::Smooth(painter);
  const double s = size;

  // The instrument's body: the silver of the control column, a dark rim.
  const QRectF body(s * 0.03, s * 0.06, s * 0.94, s * 0.88);
  painter.setPen(QPen(QColor(70, 72, 78), std::max(1.0, s / 48)));
  painter.setBrush(artwork::Colour(artwork::PanelSilver));
  painter.drawRoundedRect(body, s * 0.1, s * 0.1);

  // The screen.
  const QRectF screen(s * 0.1, s * 0.14, s * 0.8, s * 0.64);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  painter.drawRoundedRect(screen, s * 0.03, s * 0.03);

  // Graticule: the centre cross always, the other division lines from 32 px.
  const int divisions = size >= 32 ? 4 : 2;
  painter.setPen(QPen(QColor(110, 110, 110), std::max(1.0, s / 128)));
  for (int i = 1; i < divisions; ++i) {
    const double x = screen.left() + screen.width() * i / divisions;
    const double y = screen.top() + screen.height() * i / divisions;
    painter.drawLine(QPointF(x, screen.top()), QPointF(x, screen.bottom()));
    painter.drawLine(QPointF(screen.left(), y), QPointF(screen.right(), y));
  }

  const double trace = std::max(1.2, s / 24);
  const QRectF plot = screen.adjusted(s * 0.04, s * 0.06, -s * 0.04, -s * 0.06);
  // CH2: a square wave in the lower half.
  QPainterPath square;
  const double high = plot.top() + plot.height() * 0.58;
  const double low = plot.bottom();
  square.moveTo(plot.left(), low);
  for (int half = 0; half < 4; ++half) {
    const double x0 = plot.left() + plot.width() * half / 4;
    const double x1 = plot.left() + plot.width() * (half + 1) / 4;
    const double y = half % 2 == 0 ? high : low;
    square.lineTo(x0, y);
    square.lineTo(x1, y);
  }
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(artwork::Colour(artwork::Ch2Colour), trace, Qt::SolidLine, Qt::FlatCap,
                      Qt::MiterJoin));
  painter.drawPath(square);

  // CH1: one and a half periods of a sine over the upper half.
  QPainterPath sine;
  const double mid = plot.top() + plot.height() * 0.3;
  const double amplitude = plot.height() * 0.28;
  const int steps = std::max(24, size);
  for (int i = 0; i <= steps; ++i) {
    const double t = double(i) / steps;
    const QPointF p(plot.left() + plot.width() * t,
                    mid - amplitude * std::sin(t * 3 * std::numbers::pi));
    if (i == 0)
      sine.moveTo(p);
    else
      sine.lineTo(p);
  }
  painter.setPen(QPen(artwork::Colour(artwork::Ch1Colour), trace, Qt::SolidLine, Qt::RoundCap,
                      Qt::RoundJoin));
  painter.drawPath(sine);

  // Two knobs under the screen from 32 px up, where they can be told apart.
  if (size >= 32) {
    painter.setPen(QPen(QColor(40, 40, 44), std::max(1.0, s / 96)));
    painter.setBrush(QColor(54, 55, 60));
    const double r = s * 0.045;
    painter.drawEllipse(QPointF(s * 0.72, s * 0.86), r, r);
    painter.drawEllipse(QPointF(s * 0.84, s * 0.86), r, r);
    painter.setBrush(QColor(0, 170, 0));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(s * 0.16, s * 0.86), r * 0.6, r * 0.6);
  }
  return icon;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: icon_gen <folder>\n");
    return 2;
  }
  const QString root = QString::fromLocal8Bit(argv[1]);
  for (int size : kSizes) {
    const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(root).arg(size);
    const QString file = folder + QStringLiteral("/tessaron-scope.png");
    if (!QDir().mkpath(folder) || !DrawIcon(size).save(file, "PNG")) {
      std::fprintf(stderr, "icon_gen: cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}

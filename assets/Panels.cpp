// Larger pictures of the window design: the backdrop of the overview strip,
// the measurement tabs, the calibration illustration and the About picture.

#include "Painters.h"
#include "Palette.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QTransform>

#include <cmath>
#include <numbers>

namespace artwork {
namespace {

// Behind the overview strip (placed one pixel left of and two above the
// strip, which is 500 x 26): a frame round the strip and, below it, a ruler
// with a long tick every 50 strip columns and a short one every 10.
QImage OverviewBackdrop() {
  QImage image = Canvas(503, 35, StripKey);
  const QRgb frame = qRgb(96, 96, 102);
  const QRgb tick = qRgb(120, 120, 126);
  for (int x = 0; x <= 501; ++x) {
    image.setPixel(x, 1, frame);
    image.setPixel(x, 28, frame);
  }
  for (int y = 1; y <= 28; ++y) {
    image.setPixel(0, y, frame);
    image.setPixel(501, y, frame);
  }
  for (int column = 0; column <= 500; column += 10) {
    const int length = column % 50 == 0 ? 5 : 2;
    for (int y = 29; y < 29 + length; ++y) image.setPixel(1 + column, y, tick);
  }
  return image;
}

QImage MeasurementTab(const QString& text, QRgb colour) {
  QImage image = Canvas(193, 33, PanelSilver);
  QPainter p(&image);
  Smooth(p);
  QLinearGradient shade(0, 0, 0, 33);
  shade.setColorAt(0, QColor(236, 236, 238));
  shade.setColorAt(1, QColor(196, 196, 200));
  p.setPen(QPen(QColor(120, 120, 126), 1));
  p.setBrush(shade);
  p.drawRoundedRect(QRectF(0.5, 0.5, 192, 32), 6, 6);
  p.setPen(QPen(QColor(255, 255, 255, 160), 1));
  p.drawLine(QPointF(6, 1.5), QPointF(187, 1.5));
  CentredText(p, {96.5, 16.5}, text, DejaVu(14, true), Colour(colour));
  return image;
}

// --- Calibration: both probes clipped to ground ---------------------------

// A probe along +x from its cable end to the hook at `length`; drawn in the
// painter's current transform.
void Probe(QPainter& p, QColor band, double length) {
  p.save();
  p.setPen(Qt::NoPen);
  // Cable.
  p.setBrush(QColor(45, 45, 48));
  p.drawRect(QRectF(-200, -2.5, 200, 5));
  // Strain relief and body.
  p.drawRoundedRect(QRectF(0, -5, 16, 10), 3, 3);
  QLinearGradient body(0, -8, 0, 8);
  body.setColorAt(0, QColor(110, 110, 116));
  body.setColorAt(0.45, QColor(62, 62, 68));
  body.setColorAt(1, QColor(28, 28, 30));
  p.setBrush(body);
  p.drawRoundedRect(QRectF(14, -8, 62, 16), 5, 5);
  p.setBrush(band);
  p.drawRect(QRectF(24, -8, 8, 16));
  // Finger guard.
  p.setBrush(QColor(36, 36, 40));
  p.drawRoundedRect(QRectF(72, -11, 6, 22), 2, 2);
  // Sleeve and the sprung hook that grips the terminal.
  QLinearGradient metal(0, -4, 0, 4);
  metal.setColorAt(0, QColor(235, 235, 240));
  metal.setColorAt(1, QColor(120, 120, 128));
  p.setBrush(metal);
  p.drawRoundedRect(QRectF(78, -4, length - 92, 8), 2, 2);
  p.setPen(QPen(QColor(200, 200, 206), 2.2, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawLine(QPointF(length - 14, 0), QPointF(length - 3, 0));
  p.drawArc(QRectF(length - 6, -1, 6, 8), 90 * 16, -180 * 16);
  p.restore();
}

// The ground lead: from the probe body to a crocodile clip on the terminal.
void GroundLead(QPainter& p, QPointF from, QPointF clip, bool clipFacesRight) {
  p.save();
  p.setPen(QPen(QColor(30, 30, 32), 3, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  QPainterPath lead;
  lead.moveTo(from);
  lead.cubicTo(from + QPointF(0, 45), clip + QPointF(clipFacesRight ? -50 : 50, 30), clip);
  p.drawPath(lead);
  p.translate(clip);
  if (!clipFacesRight) p.scale(-1, 1);
  p.setPen(QPen(QColor(20, 20, 22), 1));
  p.setBrush(QColor(50, 50, 54));
  p.drawRoundedRect(QRectF(-4, -5, 12, 10), 2, 2);
  p.setBrush(QColor(190, 190, 196));
  QPainterPath jaws;
  jaws.moveTo(6, -5);
  jaws.lineTo(20, -2);
  jaws.lineTo(20, 2);
  jaws.lineTo(6, 5);
  jaws.closeSubpath();
  p.drawPath(jaws);
  p.restore();
}

QImage CalibrationProbes() {
  QImage image = Canvas(353, 153, PanelSilver);
  QPainter p(&image);
  Smooth(p);
  const QRectF terminal(146, 92, 61, 22);

  // CH1 from the upper left, CH2 mirrored from the upper right, both hooks
  // on the terminal.
  const double angle = 24;
  const double length = 150;
  const QPointF ch1Hook(terminal.left() + 12, terminal.top() + 4);
  const QPointF ch2Hook(terminal.right() - 12, terminal.top() + 4);
  const double t = angle * std::numbers::pi / 180;
  const QPointF back(length * std::cos(t), length * std::sin(t));

  const QPointF ch1Origin = ch1Hook - back;
  const QPointF ch2Origin = ch2Hook + QPointF(back.x(), -back.y());
  const QPointF along(std::cos(t), std::sin(t));
  const QPointF alongMirrored(-std::cos(t), std::sin(t));
  GroundLead(p, ch1Origin + 50 * along, {terminal.left() - 14, terminal.center().y() + 2}, true);
  GroundLead(p, ch2Origin + 50 * alongMirrored, {terminal.right() + 14, terminal.center().y() + 2},
             false);

  // Terminal block with its ground sign and label.
  QLinearGradient metal(terminal.topLeft(), terminal.bottomLeft());
  metal.setColorAt(0, QColor(236, 236, 240));
  metal.setColorAt(1, QColor(132, 132, 140));
  p.setPen(QPen(QColor(70, 70, 76), 1));
  p.setBrush(metal);
  p.drawRoundedRect(terminal, 3, 3);
  const double gx = terminal.center().x();
  p.setPen(QPen(QColor(30, 30, 32), 2, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(gx, terminal.bottom()), QPointF(gx, terminal.bottom() + 12));
  p.drawLine(QPointF(gx - 12, terminal.bottom() + 12), QPointF(gx + 12, terminal.bottom() + 12));
  p.drawLine(QPointF(gx - 8, terminal.bottom() + 17), QPointF(gx + 8, terminal.bottom() + 17));
  p.drawLine(QPointF(gx - 4, terminal.bottom() + 22), QPointF(gx + 4, terminal.bottom() + 22));
  CentredText(p, {gx + 34, terminal.bottom() + 15}, "GND", DejaVu(12, true), QColor(30, 30, 32));

  p.save();
  p.translate(ch1Origin);
  p.rotate(angle);
  Probe(p, Colour(Ch1Colour), length);
  p.restore();
  p.save();
  p.translate(ch2Origin);
  p.rotate(180 - angle);
  p.scale(1, -1);
  Probe(p, Colour(Ch2Colour), length);
  p.restore();

  CentredText(p, {34, 16}, "CH1", DejaVu(14, true), Colour(Ch1Colour));
  CentredText(p, {319, 16}, "CH2", DejaVu(14, true), Colour(Ch2Colour));
  return image;
}

// --- About ----------------------------------------------------------------
// The texts of the About panel stand on white right of x = 205; the picture
// of the instrument fills the left.

void SineTrace(QPainter& p, QRectF area, double cycles, double phase, QColor colour,
               double width) {
  QPainterPath trace;
  for (int i = 0; i <= 200; ++i) {
    const double x = area.left() + area.width() * i / 200;
    const double y = area.center().y() - area.height() / 2 *
                                             std::sin(phase + 2 * std::numbers::pi * cycles * i / 200);
    if (i == 0)
      trace.moveTo(x, y);
    else
      trace.lineTo(x, y);
  }
  p.setPen(QPen(colour, width));
  p.setBrush(Qt::NoBrush);
  p.drawPath(trace);
}

void Bnc(QPainter& p, QPointF centre, const QString& label, QColor labelColour) {
  p.save();
  p.setPen(QPen(QColor(60, 60, 66), 1));
  QRadialGradient nut(centre - QPointF(3, 3), 14);
  nut.setColorAt(0, QColor(245, 245, 248));
  nut.setColorAt(1, QColor(130, 130, 138));
  p.setBrush(nut);
  p.drawEllipse(centre, 10, 10);
  p.setBrush(QColor(40, 40, 44));
  p.drawEllipse(centre, 5, 5);
  p.setBrush(QColor(220, 200, 120));
  p.drawEllipse(centre, 1.6, 1.6);
  p.restore();
  CentredText(p, centre + QPointF(0, 19), label, DejaVu(9, true), labelColour);
}

QImage AboutBackground() {
  QImage image = Canvas(501, 314, qRgb(255, 255, 255));
  QPainter p(&image);
  Smooth(p);

  // Left panel in the silver of the control column.
  QLinearGradient side(0, 0, 205, 0);
  side.setColorAt(0, QColor(176, 178, 184));
  side.setColorAt(1, QColor(214, 215, 219));
  p.setPen(Qt::NoPen);
  p.setBrush(side);
  p.drawRect(QRectF(0, 0, 205, 314));
  p.setPen(QPen(QColor(150, 150, 156), 1));
  p.drawLine(QPointF(205.5, 0), QPointF(205.5, 314));

  // The screen, with graticule and both traces.
  const QRectF screen(18, 22, 170, 120);
  p.setPen(QPen(QColor(40, 40, 44), 4));
  p.setBrush(QColor(8, 8, 10));
  p.drawRoundedRect(screen.adjusted(-4, -4, 4, 4), 6, 6);
  p.setPen(QPen(QColor(60, 60, 66), 1));
  for (int i = 1; i < 10; ++i) {
    const double x = screen.left() + screen.width() * i / 10;
    p.drawLine(QPointF(x, screen.top()), QPointF(x, screen.bottom()));
  }
  for (int i = 1; i < 8; ++i) {
    const double y = screen.top() + screen.height() * i / 8;
    p.drawLine(QPointF(screen.left(), y), QPointF(screen.right(), y));
  }
  SineTrace(p, QRectF(screen.left(), screen.top() + 14, screen.width(), 40), 2, 0,
            Colour(Ch1Colour), 2);
  QPainterPath square;
  const double high = screen.top() + 76, low = screen.top() + 104;
  square.moveTo(screen.left(), low);
  for (int i = 0; i < 4; ++i) {
    const double x0 = screen.left() + screen.width() * i / 4;
    const double x1 = x0 + screen.width() / 8;
    square.lineTo(x0, high);
    square.lineTo(x1, high);
    square.lineTo(x1, low);
    square.lineTo(x0 + screen.width() / 4, low);
  }
  p.setPen(QPen(Colour(Ch2Colour), 2));
  p.setBrush(Qt::NoBrush);
  p.drawPath(square);

  // The instrument: a small box with the inputs and the USB lead.
  const QRectF box(22, 178, 164, 92);
  QLinearGradient boxShade(box.topLeft(), box.bottomLeft());
  boxShade.setColorAt(0, QColor(92, 94, 102));
  boxShade.setColorAt(1, QColor(44, 45, 50));
  p.setPen(QPen(QColor(28, 28, 30), 1.5));
  p.setBrush(boxShade);
  p.drawRoundedRect(box, 8, 8);
  CentredText(p, {box.center().x(), box.top() + 16}, "TESSARON", DejaVu(12, true),
              QColor(230, 230, 234));
  Bnc(p, {box.left() + 34, box.top() + 46}, "CH1", Mix(Colour(Ch1Colour), Qt::white, 0.3));
  Bnc(p, {box.center().x(), box.top() + 46}, "CH2", QColor(255, 90, 80));
  Bnc(p, {box.right() - 34, box.top() + 46}, "EXT", QColor(230, 230, 234));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(60, 230, 90));
  p.drawEllipse(QPointF(box.right() - 14, box.top() + 14), 3, 3);
  // USB lead out of the right side, off towards the PC.
  p.setPen(QPen(QColor(50, 50, 54), 4, Qt::SolidLine, Qt::RoundCap));
  QPainterPath lead;
  lead.moveTo(box.right(), box.top() + 70);
  lead.cubicTo(box.right() + 14, box.top() + 70, 196, 300, 205, 306);
  p.drawPath(lead);

  // A faint trace across the text side, between the titles and the support
  // lines.
  SineTrace(p, QRectF(214, 140, 280, 46), 1.5, 0.6, QColor(210, 226, 246), 2);
  return image;
}

}  // namespace

void PaintPanels(ArtworkSet& set) {
  set.Add("Grafics/Panel/OverviewBackground.bmp", OverviewBackdrop());
  set.Add("Grafics/Panel/CH1Measurements.bmp", MeasurementTab("CH1 Measurements", Ch1Colour));
  set.Add("Grafics/Panel/CH2Measurements.bmp", MeasurementTab("CH2 Measurements", Ch2Colour));
  set.Add("Grafics/Panel/CalibrationProbes.bmp", CalibrationProbes());
  set.Add("Grafics/Panel/AboutBackground.bmp", AboutBackground());
}

}  // namespace artwork

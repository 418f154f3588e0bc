// Pictures of the status strip under the screen: what acquisition is doing
// (run, stop, the hourglass while a reply is awaited) and whether the
// instrument answers on its port.

#include "Painters.h"
#include "Palette.h"

#include <QPainterPath>

namespace artwork {
namespace {

QImage RunSign() {
  QImage image = Canvas(25, 25, ScreenBlack);
  QPainter p(&image);
  Smooth(p);
  QPainterPath play;
  play.moveTo(7.5, 5.5);
  play.lineTo(19.5, 12.5);
  play.lineTo(7.5, 19.5);
  play.closeSubpath();
  p.setPen(QPen(QColor(150, 255, 160), 1));
  p.setBrush(QColor(50, 215, 70));
  p.drawPath(play);
  return image;
}

QImage StopSign() {
  QImage image = Canvas(25, 25, ScreenBlack);
  QPainter p(&image);
  Smooth(p);
  p.setPen(QPen(QColor(255, 150, 140), 1));
  p.setBrush(QColor(225, 45, 35));
  p.drawRoundedRect(QRectF(6.5, 6.5, 12, 12), 1.5, 1.5);
  return image;
}

// One frame of the hourglass: frame 1 has all the sand on top, frame 4 all
// of it below, so the four frames in turn show time running.
QImage HourGlass(int frame) {
  QImage image = Canvas(25, 25, ScreenBlack);
  QPainter p(&image);
  Smooth(p);
  const double top = 5, bottom = 20, neck = 12.5, left = 7, right = 18, mid = 12.5;
  QPainterPath upper, lower;
  upper.moveTo(left, top);
  upper.lineTo(right, top);
  upper.lineTo(mid + 0.8, neck);
  upper.lineTo(mid - 0.8, neck);
  upper.closeSubpath();
  lower.moveTo(mid - 0.8, neck);
  lower.lineTo(mid + 0.8, neck);
  lower.lineTo(right, bottom);
  lower.lineTo(left, bottom);
  lower.closeSubpath();

  const QColor sand(245, 190, 60);
  const double above = (4 - frame) / 3.0;  // share of the sand still on top
  p.setPen(Qt::NoPen);
  p.setBrush(sand);
  p.save();
  p.setClipPath(upper);
  p.drawRect(QRectF(0, neck - above * (neck - top - 1.5), 25, 25));
  p.restore();
  p.save();
  p.setClipPath(lower);
  p.drawRect(QRectF(0, bottom - (1 - above) * (bottom - neck - 1.5), 25, 25));
  p.restore();
  if (frame > 1 && frame < 4) {
    p.setPen(QPen(sand, 1));
    p.drawLine(QPointF(mid, neck), QPointF(mid, bottom - 1));
  }

  p.setPen(QPen(QColor(205, 215, 225), 1.1));
  p.setBrush(Qt::NoBrush);
  p.drawPath(upper);
  p.drawPath(lower);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(170, 118, 62));
  p.drawRoundedRect(QRectF(5.5, 2.5, 14, 2.5), 1, 1);
  p.drawRoundedRect(QRectF(5.5, 20, 14, 2.5), 1, 1);
  return image;
}

// The USB mark: a shaft with a round tail and an arrow head, one branch
// ending in a square and one in a circle.
void UsbMark(QPainter& p, QColor ink) {
  p.save();
  p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawLine(QPointF(5.5, 12.5), QPointF(19, 12.5));
  QPainterPath up, down;
  up.moveTo(8.5, 12.5);
  up.lineTo(11.5, 7);
  up.lineTo(15.5, 7);
  down.moveTo(11, 12.5);
  down.lineTo(14, 18);
  down.lineTo(17.5, 18);
  p.drawPath(up);
  p.drawPath(down);
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  p.drawEllipse(QPointF(4.5, 12.5), 2.3, 2.3);
  p.drawRect(QRectF(15, 5.5, 3, 3));
  p.drawEllipse(QPointF(18.5, 18), 1.8, 1.8);
  QPainterPath head;
  head.moveTo(23, 12.5);
  head.lineTo(18.5, 9.8);
  head.lineTo(18.5, 15.2);
  head.closeSubpath();
  p.drawPath(head);
  p.restore();
}

// The right-hand box is where the window shows the firmware version (a
// 27 x 16 label at 26, 5) while the instrument answers.
QImage Connection(bool connected) {
  QImage image = Canvas(56, 25, ScreenBlack);
  QPainter p(&image);
  Smooth(p);
  const QRectF box(25.5, 4.5, 28, 17);
  if (connected) {
    UsbMark(p, QColor(80, 225, 100));
    p.setPen(QPen(QColor(0, 90, 0), 1));
    p.setBrush(QColor(0, 170, 0));
    p.drawRoundedRect(box, 2, 2);
  } else {
    UsbMark(p, QColor(115, 115, 120));
    p.setPen(QPen(QColor(235, 40, 35), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 6), QPointF(19, 19));
    p.drawLine(QPointF(19, 6), QPointF(8, 19));
    p.setPen(QPen(QColor(85, 85, 90), 1));
    p.setBrush(QColor(34, 34, 38));
    p.drawRoundedRect(box, 2, 2);
    CentredText(p, box.center(), "OFF", DejaVu(8, true), QColor(150, 150, 155));
  }
  return image;
}

}  // namespace

void PaintStatus(ArtworkSet& set) {
  set.Add("Grafics/Run.bmp", RunSign());
  set.Add("Grafics/Stop.bmp", StopSign());
  for (int frame = 1; frame <= 4; ++frame)
    set.Add("Grafics/HourGlass" + std::to_string(frame) + ".bmp", HourGlass(frame));
  set.Add("Grafics/USBCON.bmp", Connection(true));
  set.Add("Grafics/USBCON#.bmp", Connection(false));
}

}  // namespace artwork

// Markers dragged along the strips round the screen. All are keyed on the
// black of the strips (see Palette.h), 15-pixel-wide markers point with
// their middle column (7), 15-pixel-high ones with their middle row (7).

#include "Painters.h"
#include "Palette.h"

#include <QPainterPath>

namespace artwork {
namespace {

const QColor TextOnColour(250, 250, 250);

// A tag pointing right (0 V markers, left of the screen) or left (trigger
// level arrows, right of it), its point on row 7.
QImage Tag(bool pointsRight, QRgb colour, const QString& letter, bool filled) {
  QImage image = Canvas(22, 15, StripKey);
  QPainter p(&image);
  Smooth(p);
  QPainterPath tag;
  if (pointsRight) {
    tag.moveTo(1, 1.5);
    tag.lineTo(13.5, 1.5);
    tag.lineTo(20.5, 7.5);
    tag.lineTo(13.5, 13.5);
    tag.lineTo(1, 13.5);
  } else {
    tag.moveTo(21, 1.5);
    tag.lineTo(8.5, 1.5);
    tag.lineTo(1.5, 7.5);
    tag.lineTo(8.5, 13.5);
    tag.lineTo(21, 13.5);
  }
  tag.closeSubpath();
  const QColor channel = Colour(colour);
  p.setPen(QPen(filled ? Mix(channel, Qt::white, 0.35) : channel, 1));
  p.setBrush(filled ? channel : QColor(36, 36, 40));
  p.drawPath(tag);
  const QPointF at(pointsRight ? 7.5 : 14.5, 7.5);
  CentredText(p, at, letter, DejaVu(10, true), filled ? TextOnColour : channel);
  return image;
}

// Stands in for a trigger arrow that has left the strip: a "T" with an
// arrow pointing the way it went.
QImage OffStrip(bool up, QRgb colour) {
  QImage image = Canvas(22, 15, StripKey);
  QPainter p(&image);
  Smooth(p);
  const QColor channel = Colour(colour);
  QPainterPath arrow;
  arrow.moveTo(7, up ? 1.5 : 13.5);
  arrow.lineTo(13, up ? 9 : 6);
  arrow.lineTo(1, up ? 9 : 6);
  arrow.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(channel);
  p.drawPath(arrow);
  p.drawRect(QRectF(5, up ? 9 : 2, 4, 4));
  CentredText(p, {17, 7.5}, "T", DejaVu(10, true), channel);
  return image;
}

// The view window over the overview strip: a frame whose inside is key, so
// the strip shows through; the side bars are the grips.
QImage ViewWindow() {
  QImage image = Canvas(169, 26, StripKey);
  QPainter p(&image);
  const QColor frame(225, 225, 230);
  // Corners left on the key: the window takes the key from the bottom-left
  // pixel.
  p.setPen(frame);
  p.drawLine(1, 0, 167, 0);
  p.drawLine(1, 25, 167, 25);
  p.fillRect(QRect(0, 1, 2, 24), frame);
  p.fillRect(QRect(167, 1, 2, 24), frame);
  // Grips half-way down each side.
  p.fillRect(QRect(2, 9, 2, 8), frame);
  p.fillRect(QRect(165, 9, 2, 8), frame);
  return image;
}

// A marker of the overview strip: a line over the strip on column 7 and a
// lettered handle under it, below the strip where it can be grabbed.
QImage StripHandle(QColor colour, const QString& letter, bool dashedLine) {
  QImage image = Canvas(15, 40, StripKey);
  // Line over the strip (rows 0..25); dashed for the cursors so the trace
  // under them stays readable.
  for (int y = 0; y <= 25; ++y)
    if (!dashedLine || y % 4 < 2) image.setPixel(7, y, colour.rgb());
  QPainter p(&image);
  Smooth(p);
  QPainterPath handle;
  handle.moveTo(7.5, 25.5);
  handle.lineTo(14, 30.5);
  handle.lineTo(14, 39);
  handle.lineTo(1, 39);
  handle.lineTo(1, 30.5);
  handle.closeSubpath();
  p.setPen(QPen(Mix(colour, Qt::white, 0.4), 1));
  p.setBrush(colour);
  p.drawPath(handle);
  CentredText(p, {7.5, 34.5}, letter, DejaVu(9, true), Colour(InkBlack));
  return image;
}

// Trigger point at the top of the plot: a small triangle pointing down at
// column 7.
QImage PlotTriggerMark() {
  QImage image = Canvas(15, 8, StripKey);
  QPainter p(&image);
  Smooth(p);
  QPainterPath mark;
  mark.moveTo(1, 0.5);
  mark.lineTo(14, 0.5);
  mark.lineTo(7.5, 7.5);
  mark.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(Colour(TriggerColour));
  p.drawPath(mark);
  return image;
}

}  // namespace

void PaintMarkers(ArtworkSet& set) {
  set.Add("Grafics/Markers/CH1Pos.bmp", Tag(true, Ch1Colour, "1", true));
  set.Add("Grafics/Markers/CH1PosNS.bmp", Tag(true, Ch1Colour, "1", false));
  set.Add("Grafics/Markers/CH2Pos.bmp", Tag(true, Ch2Colour, "2", true));
  set.Add("Grafics/Markers/CH2PosNS.bmp", Tag(true, Ch2Colour, "2", false));
  set.Add("Grafics/Markers/TrigArrowCH1.bmp", Tag(false, Ch1Colour, "T", true));
  set.Add("Grafics/Markers/TrigArrowCH2.bmp", Tag(false, Ch2Colour, "T", true));
  set.Add("Grafics/Markers/TrigUpCH1.bmp", OffStrip(true, Ch1Colour));
  set.Add("Grafics/Markers/TrigDownCH1.bmp", OffStrip(false, Ch1Colour));
  set.Add("Grafics/Markers/TrigUpCH2.bmp", OffStrip(true, Ch2Colour));
  set.Add("Grafics/Markers/TrigDownCH2.bmp", OffStrip(false, Ch2Colour));
  set.Add("Grafics/Markers/ViewWindow.bmp", ViewWindow());
  set.Add("Grafics/Markers/TrigPosRecord.bmp", StripHandle(Colour(TriggerColour), "T", false));
  set.Add("Grafics/Markers/TrigPosPlot.bmp", PlotTriggerMark());
  set.Add("Grafics/Markers/CursorX.bmp", StripHandle(Colour(LimeColour), "X", true));
  set.Add("Grafics/Markers/CursorO.bmp", StripHandle(Colour(YellowColour), "O", true));
}

}  // namespace artwork

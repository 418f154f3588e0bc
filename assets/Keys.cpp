// Keys of the front panel: the channel selector, the run/stop key, the
// trigger source and edge buttons under the screen, the COM settings key and
// the cursor and save buttons.

#include "Painters.h"
#include "Palette.h"

#include <QPainterPath>

namespace artwork {
namespace {

constexpr QRgb DarkKey = qRgb(62, 63, 70);
constexpr QRgb GreyKey = qRgb(168, 168, 172);

// --- Channel selector (225 x 80) -------------------------------------------
// The key rectangles match the click areas the window lays over the picture.
const QRectF Ch1Key(18, 9, 63, 63);
const QRectF Ch2Key(142, 9, 61, 63);
const QRectF OffKey(92, 6, 45, 25);

void ChannelKey(QPainter& p, QRectF rect, const QString& name, QRgb colour, bool on,
                bool selected) {
  const QColor channel = Colour(colour);
  if (selected) {
    // A ring in the channel's colour and a pointer up to the knob it now
    // drives.
    p.save();
    p.setPen(QPen(channel, 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(rect.adjusted(-1.5, -1.5, 1.5, 1.5), 6, 6);
    QPainterPath pointer;
    const double cx = rect.center().x();
    pointer.moveTo(cx, rect.top() - 8.5);
    pointer.lineTo(cx + 6, rect.top() - 3);
    pointer.lineTo(cx - 6, rect.top() - 3);
    pointer.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(channel);
    p.drawPath(pointer);
    p.restore();
  }
  Key(p, rect.adjusted(1, 1, -1, -1), on ? Mix(channel, Qt::black, 0.12) : Colour(DarkKey), false,
      5);
  const QPointF centre = rect.center();
  CentredText(p, centre - QPointF(0, 6), name, DejaVu(15, true),
              on ? QColor(250, 250, 250) : Mix(channel, Qt::white, 0.25));
  // A lamp under the name: lit while the channel is on.
  p.save();
  p.setPen(QPen(QColor(20, 20, 22), 1));
  p.setBrush(on ? Mix(channel, Qt::white, 0.6) : QColor(40, 40, 44));
  p.drawRoundedRect(QRectF(centre.x() - 9, centre.y() + 9, 18, 5), 2, 2);
  p.restore();
}

QImage Selector(bool ch1On, bool ch2On, bool ch1Selected, bool ch2Selected) {
  QImage image = Canvas(225, 80, PanelSilver);
  QPainter p(&image);
  Smooth(p);
  ChannelKey(p, Ch1Key, "CH1", Ch1Colour, ch1On, ch1Selected);
  ChannelKey(p, Ch2Key, "CH2", Ch2Colour, ch2On, ch2Selected);
  Key(p, OffKey, Colour(GreyKey), false, 4);
  CentredText(p, OffKey.center() - QPointF(0, 1), "OFF", DejaVu(10, true), Colour(InkBlack));
  const QFont legend = DejaVu(8, true);
  CentredText(p, {OffKey.center().x(), 48}, "CHANNEL", legend, QColor(70, 70, 74));
  CentredText(p, {OffKey.center().x(), 60}, "SELECT", legend, QColor(70, 70, 74));
  return image;
}

// --- Run/stop key (100 x 35) ---------------------------------------------
QImage RunStopKey(bool offersStop) {
  QImage image = Canvas(100, 35, PanelSilver);
  QPainter p(&image);
  Smooth(p);
  Key(p, QRectF(1, 1, 98, 33), Colour(DarkKey), false, 5);
  const QColor ink = offersStop ? QColor(255, 70, 60) : QColor(70, 230, 80);
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  if (offersStop) {
    p.drawRect(QRectF(17, 12, 10, 10));
  } else {
    QPainterPath play;
    play.moveTo(17, 11);
    play.lineTo(28, 17);
    play.lineTo(17, 23);
    play.closeSubpath();
    p.drawPath(play);
  }
  CentredText(p, {59, 17}, offersStop ? "STOP" : "RUN", DejaVu(15, true), ink);
  return image;
}

// --- Small buttons on the black strip under the screen --------------------
QImage StripButton(int width, int height, bool pressed = false, QRgb face = DarkKey) {
  QImage image = Canvas(width, height, ScreenBlack);
  QPainter p(&image);
  Smooth(p);
  Key(p, QRectF(0, 0, width, height), Colour(face), pressed, 3);
  return image;
}

QImage SourceButton(const QString& name, QColor ink) {
  QImage image = StripButton(25, 18);
  QPainter p(&image);
  Smooth(p);
  CentredText(p, {12.5, 8.5}, name, DejaVu(9, true, true), ink);
  return image;
}

QImage EdgeButton(bool rising) {
  QImage image = StripButton(18, 18);
  QPainter p(&image);
  Smooth(p);
  const QColor ink = Colour(TriggerColour);
  const double low = 13, high = 4.5, step = 9;
  p.setPen(QPen(ink, 1.5, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  QPainterPath edge;
  edge.moveTo(3, rising ? low : high);
  edge.lineTo(step, rising ? low : high);
  edge.lineTo(step, rising ? high : low);
  edge.lineTo(15, rising ? high : low);
  p.setBrush(Qt::NoBrush);
  p.drawPath(edge);
  // Arrow head on the edge, pointing the way the signal goes.
  QPainterPath head;
  const double tip = rising ? 6.5 : 11;
  const double base = rising ? tip + 3.5 : tip - 3.5;
  head.moveTo(step, tip);
  head.lineTo(step + 2.6, base);
  head.lineTo(step - 2.6, base);
  head.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  p.drawPath(head);
  return image;
}

QImage SettingKey(bool pressed) {
  QImage image = StripButton(69, 18, pressed, GreyKey);
  QPainter p(&image);
  Smooth(p);
  CentredText(p, {34.5, pressed ? 9.5 : 8.5}, "COM PORT", DejaVu(9, true), Colour(InkBlack));
  return image;
}

// Cursor buttons: the two lines they switch on, in the cursors' colours.
enum class CursorIcon { Horizontal, Vertical, Off };
QImage CursorButton(CursorIcon icon) {
  QImage image = StripButton(33, 18);
  QPainter p(&image);
  const bool off = icon == CursorIcon::Off;
  const QColor first = off ? QColor(130, 130, 134) : Colour(LimeColour);
  const QColor second = off ? QColor(130, 130, 134) : Colour(YellowColour);
  p.setPen(QPen(first, 1, Qt::DashLine));
  if (icon != CursorIcon::Vertical) p.drawLine(6, 6, 26, 6);
  if (icon != CursorIcon::Horizontal) p.drawLine(12, 3, 12, 14);
  p.setPen(QPen(second, 1, Qt::DashLine));
  if (icon != CursorIcon::Vertical) p.drawLine(6, 11, 26, 11);
  if (icon != CursorIcon::Horizontal) p.drawLine(20, 3, 20, 14);
  if (off) {
    Smooth(p);
    p.setPen(QPen(QColor(240, 40, 40), 2));
    p.drawLine(QPointF(8, 15), QPointF(24, 3));
  }
  return image;
}

QImage SaveButton() {
  QImage image = StripButton(33, 18);
  QPainter p(&image);
  Smooth(p);
  // A small disk: body, shutter and label.
  const QRectF disk(4, 4, 10, 10);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(90, 150, 230));
  p.drawRect(disk);
  p.setBrush(QColor(220, 224, 230));
  p.drawRect(QRectF(6.5, 4, 5, 3.5));
  p.setBrush(QColor(245, 245, 245));
  p.drawRect(QRectF(6, 9.5, 6, 4.5));
  CentredText(p, {23.5, 9}, "BMP", DejaVu(8, true, true), QColor(235, 235, 235));
  return image;
}

}  // namespace

void PaintKeys(ArtworkSet& set) {
  set.Add("Grafics/ChannelSelecter/CHSelector-1on-2off-1sel.bmp", Selector(true, false, true, false));
  set.Add("Grafics/ChannelSelecter/CHSelector-1off-2off.bmp", Selector(false, false, false, false));
  set.Add("Grafics/ChannelSelecter/CHSelector-1on-2on-1sel.bmp", Selector(true, true, true, false));
  set.Add("Grafics/ChannelSelecter/CHSelector-1off-2on-2sel.bmp", Selector(false, true, false, true));
  set.Add("Grafics/ChannelSelecter/CHSelector-1on-2on-2sel.bmp", Selector(true, true, false, true));

  set.Add("Grafics/RunButton.bmp", RunStopKey(false));
  set.Add("Grafics/StopButton.bmp", RunStopKey(true));

  set.Add("Grafics/CH1TrigButton.bmp", SourceButton("CH1", Mix(Colour(Ch1Colour), Qt::white, 0.2)));
  set.Add("Grafics/CH2TrigButton.bmp", SourceButton("CH2", QColor(255, 60, 50)));
  set.Add("Grafics/EXTTrigButton.bmp", SourceButton("EXT", QColor(235, 235, 235)));
  set.Add("Grafics/TrigSymboRising.bmp", EdgeButton(true));
  set.Add("Grafics/TrigSymboFallingl.bmp", EdgeButton(false));

  set.Add("Grafics/SettingButton1.bmp", SettingKey(false));
  set.Add("Grafics/SettingButton2.bmp", SettingKey(true));

  set.Add("Grafics/Panel/CursorsHorizontalOn.bmp", CursorButton(CursorIcon::Horizontal));
  set.Add("Grafics/Panel/CursorsVerticalOn.bmp", CursorButton(CursorIcon::Vertical));
  set.Add("Grafics/Panel/CursorsOff.bmp", CursorButton(CursorIcon::Off));
  set.Add("Grafics/Panel/SaveView.bmp", SaveButton());
}

}  // namespace artwork

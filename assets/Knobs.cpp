// The two knobs. A face is the whole knob picture for one row: the dial
// plate with every row's label at its detent, the knurled knob in the
// middle, and the current row's label and tick lit in the colour of what the
// knob acts on. The pointer dot is a separate picture the window moves round
// the flat centre cap, so the cap is one flat colour wherever the dot can go
// and the dot is keyed on that colour.

#include "Dials.h"
#include "Painters.h"
#include "Palette.h"

#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <optional>

namespace artwork {
namespace {

struct KnobGeometry {
  int size;           // square picture
  QPointF centre;     // where the window puts the dot's circle
  double capRadius;   // flat cap: the dot travels inside it
  double skirtRadius; // knurled rim of the knob
  double tickInner, tickOuter;
  double labelGap;    // no label comes closer to the centre than this
  int labelPixels;
  QString title;
  double titleY;
};

// Volts/div: 200 x 200, dot (16 px) on a circle of radius 18 round (100, 100).
const KnobGeometry VoltsKnob{200, {100, 100}, 31, 47, 51, 58, 62, 11, "VOLTS/DIV", 172};
// Time/div: 225 x 225, dot (22 px) on a circle of radius 36 round (112, 112).
const KnobGeometry TimeKnob{225, {112, 112}, 52, 64, 67, 73, 77, 10, "TIME/DIV", 211};

constexpr QRgb LabelInk = qRgb(28, 28, 30);
constexpr QRgb DimInk = qRgb(118, 118, 122);
constexpr QRgb LitBackground = qRgb(16, 16, 18);

// Where a label's centre goes so that its box stays outside the gap circle:
// the smallest radius along the detent's direction that clears it.
QPointF LabelCentre(const KnobGeometry& knob, double degrees, const QString& text,
                    const QFont& font) {
  for (double r = knob.labelGap;; r += 0.25) {
    const QPointF centre = OnDial(knob.centre, r, degrees);
    const QRectF box = CentredTextBox(centre, text, font).adjusted(-2, -2, 2, 2);
    const double nearestX = std::clamp(knob.centre.x(), box.left(), box.right());
    const double nearestY = std::clamp(knob.centre.y(), box.top(), box.bottom());
    if (std::hypot(nearestX - knob.centre.x(), nearestY - knob.centre.y()) >= knob.labelGap)
      return centre;
  }
}

void DrawKnobBody(QPainter& p, const KnobGeometry& knob) {
  const QPointF c = knob.centre;
  p.save();
  p.setPen(Qt::NoPen);
  // Soft shadow on the plate, down and to the right of the knob.
  // It stays clear of the ticks, which must keep their printed colour.
  const double reach = knob.tickInner - 3 - knob.skirtRadius;
  const QPointF offset(reach * 0.45, reach * 0.6);
  QRadialGradient shadow(c + offset, knob.skirtRadius + reach * 0.4);
  shadow.setColorAt(0.85, QColor(0, 0, 0, 90));
  shadow.setColorAt(1.00, QColor(0, 0, 0, 0));
  p.setBrush(shadow);
  p.drawEllipse(c + offset, knob.skirtRadius + reach * 0.4, knob.skirtRadius + reach * 0.4);

  // Skirt, lit from the top left.
  QRadialGradient skirt(c - QPointF(knob.skirtRadius * 0.45, knob.skirtRadius * 0.55),
                        knob.skirtRadius * 1.6);
  skirt.setColorAt(0, QColor(96, 97, 104));
  skirt.setColorAt(1, QColor(22, 22, 25));
  p.setBrush(skirt);
  p.drawEllipse(c, knob.skirtRadius, knob.skirtRadius);

  // Knurling: fine ridges round the skirt.
  const int ridges = static_cast<int>(knob.skirtRadius * 1.25);
  for (int i = 0; i < ridges; ++i) {
    const double a = 360.0 * i / ridges;
    const double lit = 0.5 + 0.5 * std::cos((a - 225) * 3.14159265 / 180);  // light from top left
    p.setPen(QPen(QColor(40 + int(70 * lit), 40 + int(70 * lit), 46 + int(72 * lit)), 1.2));
    p.drawLine(OnDial(c, knob.capRadius + 3, a), OnDial(c, knob.skirtRadius - 1.5, a));
  }
  p.setPen(QPen(QColor(14, 14, 16), 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(c, knob.skirtRadius - 0.5, knob.skirtRadius - 0.5);

  // Bevel between skirt and cap, then the flat cap the dot rides on.
  QLinearGradient bevel(c - QPointF(0, knob.capRadius + 3), c + QPointF(0, knob.capRadius + 3));
  bevel.setColorAt(0, QColor(150, 151, 158));
  bevel.setColorAt(1, QColor(20, 20, 22));
  p.setPen(Qt::NoPen);
  p.setBrush(bevel);
  p.drawEllipse(c, knob.capRadius + 2.5, knob.capRadius + 2.5);
  p.setBrush(Colour(KnobCap));
  p.drawEllipse(c, knob.capRadius, knob.capRadius);
  p.restore();
}

// A dial face. lit: index of the row whose label and tick are lit, if any.
QImage KnobFace(const KnobGeometry& knob, const DialRow* rows, int rowCount,
                std::optional<int> lit, QRgb litColour, bool dimmed, const QString& badge) {
  QImage image = Canvas(knob.size, knob.size, PanelSilver);
  QPainter p(&image);
  Smooth(p);
  const QPointF c = knob.centre;

  // Dial plate: a slightly lighter disc with an engraved edge.
  const double plate = knob.size / 2.0 - 1.5;
  QRadialGradient plateShade(c - QPointF(plate * 0.3, plate * 0.4), plate * 1.5);
  plateShade.setColorAt(0, QColor(214, 214, 217));
  plateShade.setColorAt(1, QColor(182, 182, 186));
  p.setPen(QPen(QColor(150, 150, 154), 1));
  p.setBrush(plateShade);
  p.drawEllipse(c, plate, plate);

  // The arc the detents lie on, from the first row clockwise to the last.
  const int first = rows[0].detent;
  int last = rows[rowCount - 1].detent;
  if (last <= first) last += 360;
  p.setPen(QPen(Colour(dimmed ? DimInk : qRgb(90, 90, 94)), 1.2));
  p.setBrush(Qt::NoBrush);
  const double arcR = knob.tickInner;
  p.drawArc(QRectF(c.x() - arcR, c.y() - arcR, 2 * arcR, 2 * arcR), -first * 16,
            -(last - first) * 16);

  const QFont labelFont = DejaVu(knob.labelPixels, true, true);
  for (int i = 0; i < rowCount; ++i) {
    const bool isLit = lit && *lit == i;
    const double a = rows[i].detent;
    // Tick.
    p.setPen(QPen(isLit ? Colour(litColour) : Colour(dimmed ? DimInk : LabelInk),
                  isLit ? 3.0 : 2.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(OnDial(c, knob.tickInner - (isLit ? 2 : 0), a),
               OnDial(c, knob.tickOuter + (isLit ? 1 : 0), a));
    // Label.
    const QString text = QString::fromUtf8(rows[i].label.data(), qsizetype(rows[i].label.size()));
    const QPointF at = LabelCentre(knob, a, text, labelFont);
    if (isLit) {
      const QRectF box = CentredTextBox(at, text, labelFont).adjusted(-3, -3, 3, 3);
      p.setPen(QPen(QColor(70, 70, 74), 1));
      p.setBrush(Colour(LitBackground));
      p.drawRoundedRect(box, 2.5, 2.5);
      CentredText(p, at, text, labelFont, Colour(litColour));
    } else {
      CentredText(p, at, text, labelFont, Colour(dimmed ? DimInk : LabelInk));
    }
  }

  CentredText(p, {c.x(), knob.titleY}, knob.title, DejaVu(9, true),
              Colour(dimmed ? DimInk : qRgb(60, 60, 64)));
  if (!badge.isEmpty()) {
    const QFont badgeFont = DejaVu(9, true);
    const QPointF at(c.x(), knob.titleY + 15);
    const QRectF box = CentredTextBox(at, badge, badgeFont).adjusted(-4, -3, 4, 3);
    p.setPen(QPen(QColor(70, 70, 74), 1));
    p.setBrush(Colour(LitBackground));
    p.drawRoundedRect(box, 2.5, 2.5);
    CentredText(p, at, badge, badgeFont, Colour(litColour));
  }

  DrawKnobBody(p, knob);
  return image;
}

// A round pointer dot keyed on the knob cap.
QImage Dot(int size, double radius, QColor colour) {
  QImage image = Canvas(size, size, KnobCap);
  QPainter p(&image);
  Smooth(p);
  const QPointF c(size / 2.0, size / 2.0);
  QRadialGradient shade(c - QPointF(radius * 0.35, radius * 0.4), radius * 1.3);
  shade.setColorAt(0, Mix(colour, Qt::white, 0.55));
  shade.setColorAt(0.6, colour);
  shade.setColorAt(1, Mix(colour, Qt::black, 0.35));
  p.setPen(QPen(Mix(colour, Qt::white, 0.25), 1));
  p.setBrush(shade);
  p.drawEllipse(c, radius, radius);
  return image;
}

// The "no entry" sign laid over the time knob while a reference waveform
// holds the time base.
QImage LockSign() {
  QImage image = Canvas(22, 22, KnobCap);
  QPainter p(&image);
  Smooth(p);
  const QPointF c(11, 11);
  p.setPen(QPen(QColor(230, 20, 20), 2.6));
  p.setBrush(QColor(255, 255, 255, 40));
  p.drawEllipse(c, 8.6, 8.6);
  p.drawLine(OnDial(c, 8.6, 225), OnDial(c, 8.6, 45));
  return image;
}

QString Latin(std::string_view text) {
  return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

}  // namespace

void PaintKnobs(ArtworkSet& set) {
  constexpr int voltsRows = int(std::size(VoltsRows));
  const struct {
    std::string_view prefix;
    QRgb colour;
    const char* badge;
  } channels[] = {{Ch1FacePrefix, Ch1Colour, "CH1"}, {Ch2FacePrefix, Ch2Colour, "CH2"}};
  for (const auto& channel : channels)
    for (int i = 0; i < voltsRows; ++i)
      set.Add((Latin(VoltsFaceFolder) + Latin(channel.prefix) + Latin(VoltsRows[i].face))
                  .toStdString(),
              KnobFace(VoltsKnob, VoltsRows, voltsRows, i, channel.colour, false, channel.badge));
  set.Add("Grafics/VoltageKnob/knob-no-sel.bmp",
          KnobFace(VoltsKnob, VoltsRows, voltsRows, std::nullopt, PanelSilver, true, {}));
  set.Add("Grafics/VoltageKnob/knobdot.bmp", Dot(16, 5.5, Colour(Ch1Colour)));
  set.Add("Grafics/VoltageKnob/knobdotB.bmp", Dot(16, 5.5, Colour(Ch2Colour)));

  constexpr int timeRows = int(std::size(TimeRows));
  for (int i = 0; i < timeRows; ++i)
    set.Add(TimeRows[i].face, KnobFace(TimeKnob, TimeRows, timeRows, i, LimeColour, false, {}));
  set.Add("Grafics/TimeKnob/TimeKnobDot.bmp", Dot(22, 7, QColor(226, 228, 232)));
  set.Add("Grafics/TimeKnob/KnobLocked.bmp", LockSign());
}

}  // namespace artwork

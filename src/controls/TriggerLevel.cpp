#include "controls/TriggerLevel.h"

#include "app/Errors.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace trigger_level {

namespace {

constexpr std::int64_t Int32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t Int32Max = std::numeric_limits<std::int32_t>::max();

// Widget positions are 32-bit: a stored level far outside any screen still
// gives a position, just a far-away one.
std::int32_t Saturate(std::int64_t value) {
  if (value < Int32Min) return static_cast<std::int32_t>(Int32Min);
  if (value > Int32Max) return static_cast<std::int32_t>(Int32Max);
  return static_cast<std::int32_t>(value);
}

// A count is f/1000 V on its range, so trunc(n x f / 10) is the readout in
// 10 mV; typed volts go back to counts by the same step.
constexpr std::int64_t HighRangeFactor = 78;
constexpr std::int64_t LowRangeFactor = 15;
constexpr double HighRangeVoltsPerCount = 0.078;
constexpr double LowRangeVoltsPerCount = 0.015;

}  // namespace

QString LevelReadout(std::int64_t counts, bool highRange, const QString& decimalPoint) {
  const std::int64_t tenMillivolts = counts * (highRange ? HighRangeFactor : LowRangeFactor) / 10;
  const std::int64_t magnitude = tenMillivolts < 0 ? -tenMillivolts : tenMillivolts;
  QString text = tenMillivolts < 0 ? QStringLiteral("-") : QString();
  text += QString::number(magnitude / 100);
  const std::int64_t hundredths = magnitude % 100;
  // The shortest form: 2.5 rather than 2.50, 3 rather than 3.00.
  if (hundredths != 0) {
    text += decimalPoint;
    text += hundredths % 10 == 0 ? QString::number(hundredths / 10)
                                 : QStringLiteral("%1").arg(hundredths, 2, 10, QLatin1Char('0'));
  }
  return text + QStringLiteral(" V");
}

std::int32_t LevelFromArrow(std::int32_t vertPos, std::int32_t arrowTop, std::int32_t scale) {
  if (scale == 0) throw ScopeError(QStringLiteral("Division by zero"));
  return Saturate((std::int64_t{vertPos} - arrowTop) * 100 / scale);
}

std::int32_t ArrowTopFromLevel(std::int32_t arrowTop, std::int32_t markerTop, std::int32_t vertPos,
                               std::int32_t level, std::int32_t scale) {
  const int side = arrowTop < markerTop ? 1 : arrowTop > markerTop ? -1 : 0;
  return Saturate(std::int64_t{vertPos} - side - std::int64_t{level} * scale / 100);
}

std::int32_t ArrowDragTop(std::int32_t top, std::int32_t mouseDownY, std::int32_t y) {
  const std::int64_t moved = std::int64_t{top} - (std::int64_t{mouseDownY} - y);
  if (moved < TopmostArrow) return TopmostArrow;
  if (moved > BottomArrow) return BottomArrow;
  return static_cast<std::int32_t>(moved);
}

std::int32_t FollowMarker(std::int32_t arrowTop, std::int32_t vertDragDelta) {
  return Saturate(std::int64_t{arrowTop} - vertDragDelta);
}

double ParseVolts(const QString& text, const QString& decimalPoint) {
  const QString body = text.trimmed();
  const QString dp = QRegularExpression::escape(decimalPoint);
  const QRegularExpression number(QStringLiteral("^[+-]?(\\d+(%1\\d*)?|%1\\d+)([eE][+-]?\\d+)?$").arg(dp));
  double value = std::numeric_limits<double>::quiet_NaN();
  if (number.match(body).hasMatch()) {
    QString plain = body;
    plain.replace(decimalPoint, QStringLiteral("."));
    bool ok = false;
    value = plain.toDouble(&ok);  // QString::toDouble reads the C locale
    if (!ok) value = std::numeric_limits<double>::quiet_NaN();
  }
  if (!std::isfinite(value))
    throw ScopeError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
  return value;
}

std::int32_t CountsFromVolts(double volts, bool highRange) {
  const double counts = volts / (highRange ? HighRangeVoltsPerCount : LowRangeVoltsPerCount);
  return Saturate(static_cast<std::int64_t>(std::trunc(counts)));
}

OffScreenView ArrowOffScreen(std::int32_t triggerCH, std::int32_t arrowTop) {
  OffScreenView view;
  if (arrowTop < TopmostArrow) {
    // Above the strip the check ends here, for EXT too: the indicator stays.
    view.indicatorUp = true;
    view.arrowVisible = false;
    view.hideLine = true;
    return view;
  }
  if (arrowTop > BottomArrow) {
    view.indicatorDown = true;
    view.arrowVisible = false;
    view.hideLine = true;
  }
  view.extHidesAll = triggerCH == 10;
  return view;
}

}  // namespace trigger_level

#include "analysis/TrendView.h"

#include "analysis/ReadingNames.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>

namespace analysis {

std::optional<Span> FitSpan(const std::optional<Span>& times) {
  if (!times) return std::nullopt;
  if (times->Width() < ShortestSpanMs) {
    const double middle = (times->first + times->last) / 2;
    return Span{middle - LonePointMarginMs, middle + LonePointMarginMs};
  }
  return times;
}

Span Zoomed(const Span& view, double anchor, double factor) {
  double width = view.Width() * factor;
  double share = view.Width() > 0 ? (anchor - view.first) / view.Width() : 0.5;
  if (width < ShortestSpanMs) width = ShortestSpanMs;
  share = std::clamp(share, 0.0, 1.0);
  const double first = anchor - share * width;
  return {first, first + width};
}

double WheelFactor(int angleDelta) {
  return std::pow(NotchZoom, static_cast<double>(angleDelta) / WheelNotch);
}

Span Panned(const Span& view, double byMs) { return {view.first + byMs, view.last + byMs}; }

Span ValueAxisSpan(const std::optional<Span>& values) {
  if (!values) return {0, 1};
  double room = values->Width() * 0.05;
  if (room <= 0) room = std::max(std::abs(values->first) * 0.05, 0.01);
  return {values->first - room, values->last + room};
}

QString TimeFormatFor(double spanMs) {
  constexpr double Minute = 60e3, Day = 86400e3;
  if (spanMs < Minute) return QStringLiteral("HH:mm:ss.zzz");
  if (spanMs < Day) return QStringLiteral("HH:mm:ss");
  return QStringLiteral("dd.MM. HH:mm");
}

double PanelUnitsOf(core::Reading reading, double si) {
  switch (core::InfoOf(reading).unit) {
    case core::ReadingUnit::TenMillivolts: return si * 100;
    case core::ReadingUnit::Microseconds: return si * 1e6;
    case core::ReadingUnit::Hertz:
    case core::ReadingUnit::Percent: return si;
  }
  return si;
}

QString ReadoutText(int channel, core::Reading reading, const TrendPoint& point) {
  const QDateTime time = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(std::llround(point.time)));
  return QStringLiteral("CH%1 %2 at %3: %4")
      .arg(channel)
      .arg(CaptionOf(reading), time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")),
           core::PanelTextOf(reading, PanelUnitsOf(reading, point.value)));
}

}  // namespace analysis

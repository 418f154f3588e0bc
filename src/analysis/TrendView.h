#pragma once
// The arithmetic of the trend plot's axes, apart from any chart: the time
// span to show after Fit, a turn of the wheel and a drag, the value span
// that holds the points in view, how the time axis writes its times, and
// the readout of a point. Times are milliseconds since the epoch.

#include "analysis/TrendSeries.h"
#include "core/MeasurementStatistics.h"

#include <QString>

#include <optional>

namespace analysis {

// No zoom goes below this: records are tens of milliseconds apart at best.
inline constexpr double ShortestSpanMs = 10;
// A single point (or points all at one time) is shown a second either side.
inline constexpr double LonePointMarginMs = 1000;
// One notch of the wheel (120 eighths of a degree) zooms by this much.
inline constexpr double NotchZoom = 0.8;
inline constexpr int WheelNotch = 120;

// The span that shows all of `times`; empty when there are no points.
std::optional<Span> FitSpan(const std::optional<Span>& times);
// The span scaled by `factor` (below 1 zooms in) about `anchor`, which
// stays where it is on the axis; never narrower than ShortestSpanMs.
Span Zoomed(const Span& view, double anchor, double factor);
// The zoom factor of a wheel turn of `angleDelta` eighths of a degree
// (away from the user zooms in).
double WheelFactor(int angleDelta);
// The span moved by `byMs` (later for a positive amount).
Span Panned(const Span& view, double byMs);
// A value axis that holds `values` with a little room above and below; a
// flat run gets room of its own. [0, 1] when there are none.
Span ValueAxisSpan(const std::optional<Span>& values);
// How the time axis writes a time, by how wide the shown span is.
QString TimeFormatFor(double spanMs);

// A value in the log's SI units in the panel's own units (10 mV,
// microseconds, hertz, percent), for the panel's formatters.
double PanelUnitsOf(core::Reading reading, double si);
// "CH1 Frequency at 2025-03-01 12:34:56.789: 1.00 KHz": the point's time and value as
// the panel writes it.
QString ReadoutText(int channel, core::Reading reading, const TrendPoint& point);

}  // namespace analysis

#pragma once
// The trigger level of a channel: a count of converter steps above the
// channel's 0 V line, tied to the arrow on the strip right of the plot (whose
// Top is a plot row, like the 0 V marker's) through the channel's scale in
// plot pixels per 100 counts.

#include <QString>

#include <cstdint>

namespace trigger_level {

// The arrow stays one pixel inside the 1..400 rows of the 0 V markers.
inline constexpr int TopmostArrow = 2;
inline constexpr int BottomArrow = 399;
// The line across the plot lies 2 pixels below the arrow's Top: its parent
// starts 2 pixels above the plot.
inline constexpr int LineBelowArrow = 2;
// A typed level is refused outside +/-10 V.
inline constexpr double TypedLimitVolts = 10.0;

// "2.49 V": the level cut toward zero to 10 mV, with no trailing zeros, a
// count standing for 0.078 V on the 1 V..10 V/div rows and 0.015 V on the
// 100..500 mV/div rows. The decimal separator is the user's.
QString LevelReadout(std::int64_t counts, bool highRange, const QString& decimalPoint);

// The level an arrow at `arrowTop` stands for; throws ScopeError when the
// scale is 0 (no volts/div row applied).
std::int32_t LevelFromArrow(std::int32_t vertPos, std::int32_t arrowTop, std::int32_t scale);

// The arrow's Top for a stored level. It lands one pixel on the side of the
// 0 V marker (Top `markerTop`) where it was before, so an arrow that sat
// above the line stays above it at level 0. Not limited to the strip.
std::int32_t ArrowTopFromLevel(std::int32_t arrowTop, std::int32_t markerTop, std::int32_t vertPos,
                               std::int32_t level, std::int32_t scale);

// One move of a dragged arrow, grabbed at `mouseDownY` and now at `y` (in
// the arrow's own pixels), held within rows 2..399.
std::int32_t ArrowDragTop(std::int32_t top, std::int32_t mouseDownY, std::int32_t y);

// Moves an arrow with its channel's 0 V marker, saturating far outside the
// strip rather than overflowing.
std::int32_t FollowMarker(std::int32_t arrowTop, std::int32_t vertDragDelta);

// A typed level in volts read as the user's locale writes numbers (blanks
// around it allowed, an exponent allowed); anything else throws ScopeError
// "'<text>' is not a valid floating point value".
double ParseVolts(const QString& text, const QString& decimalPoint);

// The count of a typed level, truncated toward zero.
std::int32_t CountsFromVolts(double volts, bool highRange);

// Which of the strip's pictures show for the source's arrow at `arrowTop`.
struct OffScreenView {
  bool indicatorUp = false;    // TrigUP / TrigUP2
  bool indicatorDown = false;  // TrigDWN / TrigDWN2
  bool arrowVisible = true;    // the source's arrow (CH2's for EXT)
  bool hideLine = false;       // the level line goes with an arrow off the strip
  bool extHidesAll = false;    // EXT: both arrows and all four indicators hidden
};
// `triggerCH` is 1 for CH1, 2 for CH2, 10 for EXT (which looks at CH2's arrow).
OffScreenView ArrowOffScreen(std::int32_t triggerCH, std::int32_t arrowTop);

}  // namespace trigger_level

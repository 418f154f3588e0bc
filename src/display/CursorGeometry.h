#pragma once
// The arithmetic of the cursors: which line a press on the plot grabs, how
// far a line or a handle may go, where a handle over the overview strip puts
// its line on the plot (and back), which sample snap to plot reads under a
// time line, and the numbers the readouts show. Pure: the window reads the
// widgets' positions and hands them in.
//
// Positions of the lines are Left/Top in the panel that holds the plot (plot
// columns and rows plus 2); handles are Lefts in the overview panel. Every
// "div" truncates toward zero.

#include "display/RecordLayout.h"

#include <cstdint>

namespace cursor_geometry {

// A press grabs a line when it lands from 15 pixels before the line to 10
// after it (both bounds excluded). The mouse coordinate is that of the
// pressed widget, compared with the line's position as it stands.
constexpr bool InGrabZone(std::int32_t linePosition, std::int32_t mouse) {
  return linePosition - 15 < mouse && mouse < linePosition + 10;
}

// How far each thing can be dragged.
inline constexpr std::int32_t XCursorMaxLeft = 500;
inline constexpr std::int32_t OCursorMaxLeft = 503;
inline constexpr std::int32_t VoltageLineMaxTop = 400;
inline constexpr std::int32_t HandleMinLeft = 1;
inline constexpr std::int32_t HandleMaxLeft = 501;
inline constexpr std::int32_t ViewMarkerMinLeft = 8;
inline constexpr std::int32_t ViewMarkerMaxLeft = 340;
// The view window marker's place at start and after "Reset Horizontal View".
inline constexpr std::int32_t ViewMarkerHomeLeft = 173;

std::int32_t ClampTimeLineLeft(bool xCursor, std::int32_t left);
std::int32_t ClampVoltageLineTop(std::int32_t top);
std::int32_t ClampHandleLeft(std::int32_t left);
std::int32_t ClampViewMarkerLeft(std::int32_t left);

// The line of a handle at Left `handleLeft` over a view starting at sample
// `viewStart`: where the trigger marker's centre would stand if the record's
// trigger marker were at that Left.
std::int32_t LineLeftFromHandle(screen_model::RecordLayout layout, std::int32_t handleLeft,
                                std::int32_t viewStart);
// The handle's Left for a line dragged on the plot to `lineLeft`.
std::int32_t HandleLeftFromLine(screen_model::RecordLayout layout, std::int32_t lineLeft,
                                std::int32_t viewStart);

// The samples a record of this layout fills: 3000 in the 3000-sample
// record, 1500 per channel otherwise.
std::int32_t SamplesFilled(screen_model::RecordLayout layout);

// The sample snap to plot reads under a time line at Left `lineLeft` with
// the view starting at `viewStart`: the one just right of the sample drawn
// under the line. Held to the samples the record filled, so a line beyond
// either end of the record reads the end sample instead of memory that the
// record never wrote.
std::int32_t SnapSampleIndex(screen_model::RecordLayout layout, std::int32_t viewStart,
                             std::int32_t lineLeft);

// The time readouts, in microseconds: each line against the trigger point
// (the centre of the trigger marker over the plot, 7 pixels right of its
// Left), and the time between the two lines.
struct CursorTimes {
  std::int64_t x;
  std::int64_t o;
  std::int64_t between;
};
CursorTimes TimesOfLines(std::int32_t xLeft, std::int32_t oLeft, std::int32_t plotTrigLeft,
                         std::int32_t samplePeriodUs);

// The voltage readouts, in units of 10 mV, against the focused channel's 0 V
// row at `voltsDiv` (in 50 mV, i.e. millivolts per pixel). A line above the
// 0 V row reads positive. CH1 counts one row more than CH2, so the same line
// against the same row reads one pixel's worth higher on CH1; a line on CH2's
// 0 V row reads 0 ("00 mV").
struct CursorVolts {
  std::int32_t a;
  std::int32_t b;
  std::int32_t delta;  // a - b
};
CursorVolts VoltsOfLines(bool ch1Focus, std::int32_t vertPos, std::int32_t voltsDiv, std::int32_t aTop,
                         std::int32_t bTop);

}  // namespace cursor_geometry

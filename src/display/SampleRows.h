#pragma once
// Where a sample goes down the screen, and the colours the screen is drawn
// in. A sample of value C + 127 lands on the channel's 0 V row; larger values
// are drawn lower, G pixels per 100 counts.

#include <cmath>
#include <cstdint>

namespace screen_model {

// Plot row of sample value s for a channel whose 0 V line is on row vertPos,
// at scale pixels per 100 counts, after subtracting calOffset counts. Each
// division truncates toward zero, so (127 * G) div 100 and the sample's own
// term round separately, as the instrument's readouts expect.
inline std::int32_t SampleRow(std::int32_t s, std::int32_t vertPos, std::int32_t scale,
                              std::int32_t calOffset) {
  return vertPos - (127 * scale) / 100 + ((s - calOffset) * scale) / 100;
}

// Plot row of a mean of samples (an averaged trace), which lies between
// whole counts: the rows of the two counts round it, and the fraction of the
// way from the lower to the higher, to the nearest pixel. A whole mean is
// exactly SampleRow, so a trace of equal records draws as one of them; on a
// row of 6.24 pixels a count the mean moves the trace a pixel at a time
// instead of six.
inline std::int32_t MeanSampleRow(double mean, std::int32_t vertPos, std::int32_t scale, std::int32_t calOffset) {
  const double whole = std::floor(mean);
  const auto below = static_cast<std::int32_t>(whole);
  const std::int32_t from = SampleRow(below, vertPos, scale, calOffset);
  const std::int32_t to = SampleRow(below + 1, vertPos, scale, calOffset);
  return from + static_cast<std::int32_t>(std::lround((mean - whole) * (to - from)));
}

// The calibration count in use for a channel: that of its present range
// (highRange exactly 1: the 1 V..10 V/div rows).
inline std::int32_t CalOffsetFor(std::uint8_t highRange, std::int32_t calHigh, std::int32_t calLow) {
  return highRange == 1 ? calHigh : calLow;
}

// Colours as TColor values ($00BBGGRR: blue in the high byte, red in the low).
using TColor = std::uint32_t;
inline constexpr TColor CH1Color = 0x00FF7E00;        // CH1 trace, strip and readout
inline constexpr TColor CH2Color = 0x000000FF;        // CH2 trace, strip and readout
inline constexpr TColor ReferenceColor = 0x00008000;  // the reference waveform
inline constexpr TColor ClearColor = 0x00000000;

struct Rgb {
  int red, green, blue;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};
constexpr Rgb RgbOf(TColor c) {
  return {static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF)};
}

// Pen widths the frame draws with: the traces, and the overview strip.
inline constexpr int TracePenWidth = 2;
inline constexpr int OverviewPenWidth = 1;
// The reference takes the width the traces left; before any line frame the
// canvas pen is the default one.
inline constexpr int InitialPenWidth = 1;

}  // namespace screen_model

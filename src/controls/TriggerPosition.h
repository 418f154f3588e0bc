#pragma once
// Where in the record the trigger falls: the marker over the overview strip
// (HorTrigPos, Left 1..501) gives the number of samples the instrument keeps
// before the trigger, sent as four bytes of the capture command.

#include <array>

namespace trigger_position {

inline constexpr int LeftmostMarker = 1;
inline constexpr int RightmostMarker = 501;
inline constexpr int RecordSamples = 3000;
// The time/div row whose record is stretched over two columns per sample.
inline constexpr int StretchedTimeBase = 2;

// The Trigger Position menu's presets, by marker Left.
struct Preset {
  int left;
  int percent;
};
inline constexpr std::array<Preset, 3> Presets{{{51, 10}, {251, 50}, {451, 90}}};

struct PositionBytes {
  int preLo;
  int preHi;
  int postLo;
  int postHi;
  friend bool operator==(const PositionBytes&, const PositionBytes&) = default;
};

// Samples before the trigger for a marker at `left` on the time base the
// record is captured with.
int PreTriggerCount(int left, int capturedTimeBase);

// The pre-trigger count plus 250 and the post-trigger count, each written in
// base 255 low digit first. A digit of 0 is never sent: the pre digits and the
// high post digit become 1, the low post digit 2.
PositionBytes PositionBytesFor(int left, int capturedTimeBase);

// A dragged marker stays over the strip.
int ClampMarkerLeft(int left);

// The percent of the preset at `left`, or 0 when the marker is elsewhere.
int PresetPercentAt(int left);

}  // namespace trigger_position

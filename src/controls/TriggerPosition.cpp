#include "controls/TriggerPosition.h"

namespace trigger_position {

int PreTriggerCount(int left, int capturedTimeBase) {
  // Integer division truncates toward zero, as everywhere in the window.
  if (capturedTimeBase == StretchedTimeBase) return 6 * (left / 4 + 270);
  return 6 * (left / 2 + 208);
}

PositionBytes PositionBytesFor(int left, int capturedTimeBase) {
  const int pre = PreTriggerCount(left, capturedTimeBase) + 250;
  const int post = RecordSamples - PreTriggerCount(left, capturedTimeBase);
  PositionBytes b{};
  b.preHi = pre / 255;
  b.preLo = pre - 255 * b.preHi;
  b.postHi = post / 255;
  b.postLo = post - 255 * b.postHi;
  // The instrument reads 0 as "no digit"; the low post digit becomes 2, not 1,
  // which is how the instrument has always been driven.
  if (b.preLo == 0) b.preLo = 1;
  if (b.preHi == 0) b.preHi = 1;
  if (b.postLo == 0) b.postLo = 2;
  if (b.postHi == 0) b.postHi = 1;
  return b;
}

int ClampMarkerLeft(int left) {
  if (left < LeftmostMarker) return LeftmostMarker;
  if (left > RightmostMarker) return RightmostMarker;
  return left;
}

int PresetPercentAt(int left) {
  for (const Preset& p : Presets)
    if (p.left == left) return p.percent;
  return 0;
}

}  // namespace trigger_position

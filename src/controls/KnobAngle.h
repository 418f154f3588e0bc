#pragma once
// The reading of a front-panel knob: the pointer position over the knob face
// turned into a whole-degree angle (0 at 3 o'clock, growing clockwise, as the
// screen's y axis grows downwards), the bands of angles that each knob row
// owns, and where the pointer dot sits for an angle. Shared by the volts/div
// and the time/div knob; each knob's rows live in its own file.

namespace knob {

// The angle of the pointer at (x, y) in the knob image's pixels, measured
// round the image centre (width div 2, height div 2), truncated toward zero
// to 0..359. A pointer exactly on the centre reads 0.
int PointerAngle(int x, int y, int width, int height);

// A band of knob angles, both ends included. A band that wraps through
// 3 o'clock holds every angle from `low` up and every angle up to `high`, so
// stored angles outside 0..359 (negative, or 360 and more) land in it.
struct AngleBand {
  int low;
  int high;
  bool wraps;
  constexpr bool Holds(int angle) const {
    return wraps ? (angle >= low || angle <= high) : (angle >= low && angle <= high);
  }
};

// The top-left corner of the pointer dot for an angle: the dot's corner runs
// on a circle of `radius` round (origin, origin); each coordinate is
// origin + trunc(radius * cos|sin), truncated toward zero.
struct DotPlace {
  int left;
  int top;
  friend bool operator==(const DotPlace&, const DotPlace&) = default;
};
DotPlace DotPlaceFor(int angle, int origin, int radius);

}  // namespace knob

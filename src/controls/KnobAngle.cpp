#include "controls/KnobAngle.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

namespace knob {

namespace {
double Degrees(double radians) { return radians * 180.0 / std::numbers::pi; }
}  // namespace

int PointerAngle(int x, int y, int width, int height) {
  const int dx = x - width / 2;
  const int dy = y - height / 2;
  double a = 0;
  if (dx == 0) {
    a = dy < 0 ? 270 : (dy > 0 ? 90 : 0);
  } else if (dx > 0 && dy >= 0) {
    a = Degrees(std::atan(double(dy) / dx));
  } else if (dx < 0 && dy > 0) {
    a = 180 - Degrees(std::atan(double(dy) / std::abs(dx)));
  } else if (dx < 0) {  // dy <= 0
    a = 180 + Degrees(std::atan(double(dy) / dx));
  } else {  // dx > 0, dy < 0
    a = 360 - Degrees(std::atan(double(std::abs(dy)) / dx));
  }
  return static_cast<int>(std::trunc(a));
}

DotPlace DotPlaceFor(int angle, int origin, int radius) {
  const double t = angle * std::numbers::pi / 180.0;
  return {origin + static_cast<int>(std::trunc(radius * std::cos(t))),
          origin + static_cast<int>(std::trunc(radius * std::sin(t)))};
}

}  // namespace knob

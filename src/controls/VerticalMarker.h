#pragma once
// The drag of a channel's 0 V marker along the strip left of the plot. The
// marker's Top is the channel's 0 V row, kept within rows 1..400.

namespace vertical_marker {

inline constexpr int TopmostRow = 1;
inline constexpr int BottomRow = 400;

struct MarkerStep {
  int top;          // the marker's new Top
  int dragDelta;    // VertDragDelta: mouse-down Y minus this Y, positive upwards
  bool clamped;     // the marker hit an end of the strip
};

// One move of a marker whose Top is `top`, grabbed at `mouseDownY` inside it
// and now at `y` (both in the marker's own pixels).
MarkerStep DragStep(int top, int mouseDownY, int y);

}  // namespace vertical_marker

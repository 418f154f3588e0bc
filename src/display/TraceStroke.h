#pragma once
// The traces' stroke: a polyline two pixels wide with bevelled corners and
// round ends, written straight into 32-bit pixels, one opaque colour.
//
// A pixel is lit when its centre lies inside the stroke: within one pixel of
// a segment (measured square to it, not past its ends), inside the bevel
// triangle on the outer side of a corner, or within one pixel of either end
// of the line. The segments' sides are decided in integer arithmetic, so a
// record always lights the same pixels, whatever the compiler or the
// graphics library. A general-purpose painter builds the same outline and
// fills it in fixed point; the pictures agree except for pixels whose centre
// lies within about a hundredth of a pixel of the outline, which its rounding
// may put on either side. Drawing it this way costs a few microseconds a
// trace instead of building and filling an outline of a thousand edges.

#include "display/RowBands.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace trace_stroke {

struct Vertex {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const Vertex&, const Vertex&) = default;
};

// A block of 32-bit pixels: row y starts at pixels + y * stride.
struct PixelTarget {
  std::uint32_t* pixels = nullptr;
  std::ptrdiff_t stride = 0;
  int width = 0;
  int height = 0;
};

// Vertices further off the target than this are pulled in to it; the part
// of the line that can be seen is drawn the same (a trace's rows are
// within a few thousand pixels of the plot).
inline constexpr std::int32_t FarOff = 1 << 24;

// Strokes the polyline through `vertices` two pixels wide in `pixel`;
// repeated vertices count once. A line that never leaves its first point
// draws nothing. Pixels outside the target are never touched. Returns the
// rows of the target it may have written: from the row above the highest
// vertex to the row of the lowest, within the target; none if it drew
// nothing.
screen_model::RowSpan StrokeTwoPixelsWide(const PixelTarget& target, std::span<const Vertex> vertices,
                                          std::uint32_t pixel);

}  // namespace trace_stroke

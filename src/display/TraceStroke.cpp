#include "display/TraceStroke.h"

#include "display/VectorRegisters.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace trace_stroke {

namespace {

// Positions are worked in half pixels relative to a segment's start, so a
// pixel centre (x + 1/2, y + 1/2) has odd integer coordinates. With vertices
// held within FarOff and pixels inside a target, every product below fits in
// 64 bits; a cross product past CrossLimit is certainly outside the stroke
// (its square would exceed four times any squared length), so it is never
// squared.
constexpr std::int64_t CrossLimit = std::int64_t{1} << 27;
static_assert(FarOff <= (1 << 24), "the half-pixel products must fit in 64 bits");

std::int32_t HoldNear(std::int32_t v) { return std::clamp(v, -FarOff, FarOff); }

struct Segment {
  std::int64_t ax, ay, dx, dy, lengthSquared;
  double length;

  Segment(Vertex a, Vertex b)
      : ax(a.x), ay(a.y), dx(std::int64_t{b.x} - a.x), dy(std::int64_t{b.y} - a.y),
        lengthSquared(dx * dx + dy * dy), length(std::sqrt(static_cast<double>(lengthSquared))) {}

  // Whether the centre of pixel (x, y) lies within one pixel of the segment,
  // square to it and between its ends.
  bool Covers(std::int64_t x, std::int64_t y) const {
    const std::int64_t cx = 2 * (x - ax) + 1;
    const std::int64_t cy = 2 * (y - ay) + 1;
    const std::int64_t along = cx * dx + cy * dy;
    if (along < 0 || along > 2 * lengthSquared) return false;
    const std::int64_t across = dx * cy - dy * cx;
    if (across > CrossLimit || across < -CrossLimit) return false;
    return across * across <= 4 * lengthSquared;
  }
};

void Fill(const PixelTarget& t, int x, int y, std::uint32_t pixel) {
  if (x < 0 || y < 0 || x >= t.width || y >= t.height) return;
  t.pixels[static_cast<std::ptrdiff_t>(y) * t.stride + x] = pixel;
}

void FillSpan(const PixelTarget& t, int y, int xFirst, int xLast, std::uint32_t pixel) {
  std::uint32_t* row = t.pixels + static_cast<std::ptrdiff_t>(y) * t.stride;
  std::fill(row + xFirst, row + xLast + 1, pixel);
}

// A run end estimated in floating point is off by far less than this; only
// an estimate this close to a pixel centre needs the exact test to settle
// which side of the outline that centre lies on.
constexpr double TieMargin = 1e-6;

// The first column at or after `edge` whose centre is inside.
int FirstInside(const Segment& s, double edge, std::int64_t y) {
  int column = static_cast<int>(edge);
  if (column < edge) ++column;
  if (column - edge < TieMargin) return s.Covers(column, y) ? column : column + 1;
  if (edge - (column - 1) < TieMargin) return s.Covers(column - 1, y) ? column - 1 : column;
  return column;
}

// The last column at or before `edge` whose centre is inside.
int LastInside(const Segment& s, double edge, std::int64_t y) {
  int column = static_cast<int>(edge);
  if (column > edge) --column;
  if (edge - column < TieMargin) return s.Covers(column, y) ? column : column - 1;
  if ((column + 1) - edge < TieMargin) return s.Covers(column + 1, y) ? column + 1 : column;
  return column;
}

// The segment's pixels, row by row: in each row the centres inside form one
// run (the segment's stroke is convex). The run lies between the two lines
// square to the segment at its ends and between the two lines one pixel
// either side of it; where each crosses the row's centre is a linear
// function of the row, worked in floating point.
void StrokeSegment(const PixelTarget& t, const Segment& s, std::uint32_t pixel) {
  const std::int64_t top = std::max<std::int64_t>(0, std::min(s.ay, s.ay + s.dy) - 1);
  const std::int64_t bottom = std::min<std::int64_t>(t.height - 1, std::max(s.ay, s.ay + s.dy));
  if (top > bottom) return;
  const double dx = static_cast<double>(s.dx);
  const double dy = static_cast<double>(s.dy);
  const double lengthSquared = static_cast<double>(s.lengthSquared);
  const double ax = static_cast<double>(s.ax);
  // With yc the row's centre less the start's row: the end lines cross the
  // row at ax + yc * endSlope + (0 or lengthSquared / dx), the side lines at
  // ax + yc * sideSlope -+ length / |dy|.
  const double endSlope = s.dx != 0 ? -dy / dx : 0.0;
  const double endSpan = s.dx != 0 ? lengthSquared / dx : 0.0;
  const double sideSlope = s.dy != 0 ? dx / dy : 0.0;
  const double sideHalf = s.dy != 0 ? s.length / std::abs(dy) : 0.0;
  const double lastColumn = static_cast<double>(t.width - 1);
  for (std::int64_t y = top; y <= bottom; ++y) {
    const double yc = static_cast<double>(y - s.ay) + 0.5;
    double first = -1e300, last = 1e300;
    if (s.dx != 0) {
      const double end = ax + yc * endSlope - 0.5;
      first = std::max(first, end + std::min(0.0, endSpan));
      last = std::min(last, end + std::max(0.0, endSpan));
    } else {
      // An upright segment: the rows past its ends have nothing of it.
      const double along = yc * dy;
      if (along < 0 || along > lengthSquared) continue;
    }
    if (s.dy != 0) {
      const double side = ax + yc * sideSlope - 0.5;
      first = std::max(first, side - sideHalf);
      last = std::min(last, side + sideHalf);
    } else if (std::abs(yc) > 1.0) {
      continue;
    }
    if (last < -1.0 || first > lastColumn + 1.0 || first > last + 1.0) continue;
    const int xFirst = std::max(FirstInside(s, std::max(first, -1.0), y), 0);
    const int xLast = std::min(LastInside(s, std::min(last, lastColumn + 1.0), y), t.width - 1);
    if (xFirst <= xLast) FillSpan(t, static_cast<int>(y), xFirst, xLast, pixel);
  }
}

// The four pixels whose centres lie within one pixel of a point.
void StrokeEnd(const PixelTarget& t, Vertex p, std::uint32_t pixel) {
  for (int dy : {-1, 0})
    for (int dx : {-1, 0}) Fill(t, p.x + dx, p.y + dy, pixel);
}

// The bevel on the outer side of the corner at p between segments `in` and
// `out`, between the ends of their strokes. It lies within one pixel of p,
// so only the four pixels around p can be inside it.
void StrokeBevel(const PixelTarget& t, const Segment& in, Vertex p, const Segment& out, std::uint32_t pixel) {
  const double d1x = static_cast<double>(in.dx), d1y = static_cast<double>(in.dy);
  const double d2x = static_cast<double>(out.dx), d2y = static_cast<double>(out.dy);
  const double turn = d1x * d2y - d1y * d2x;
  if (turn == 0) return;  // straight on, or straight back: no corner to fill
  // The outer side is the one the line turns away from.
  const double side = turn > 0 ? -1.0 : 1.0;
  const double n1x = -d1y / in.length * side, n1y = d1x / in.length * side;
  const double n2x = -d2y / out.length * side, n2y = d2x / out.length * side;
  auto cross = [](double ux, double uy, double vx, double vy) { return ux * vy - uy * vx; };
  for (int dy : {-1, 0})
    for (int dx : {-1, 0}) {
      // The pixel's centre relative to p.
      const double ex = dx + 0.5, ey = dy + 0.5;
      const double s1 = cross(n1x, n1y, ex, ey);
      const double s2 = cross(n2x - n1x, n2y - n1y, ex - n1x, ey - n1y);
      const double s3 = cross(-n2x, -n2y, ex - n2x, ey - n2y);
      const bool inside = (s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0);
      if (inside) Fill(t, p.x + dx, p.y + dy, pixel);
    }
}

}  // namespace

screen_model::RowSpan StrokeTwoPixelsWide(const PixelTarget& target, std::span<const Vertex> vertices,
                                          std::uint32_t pixel) {
  if (target.pixels == nullptr || target.width <= 0 || target.height <= 0 || vertices.empty()) return {};
  vector_registers::ClearUpperHalves();
  // Each new segment is drawn with the corner it makes with the one before.
  Vertex current{HoldNear(vertices[0].x), HoldNear(vertices[0].y)};
  std::optional<Segment> before;
  // Every pixel written lies within one pixel of a vertex or a segment, so
  // in the rows from one above the highest vertex to that of the lowest.
  std::int32_t highest = current.y, lowest = current.y;
  for (std::size_t i = 1; i < vertices.size(); ++i) {
    const Vertex next{HoldNear(vertices[i].x), HoldNear(vertices[i].y)};
    if (next == current) continue;
    const Segment segment(current, next);
    if (before)
      StrokeBevel(target, *before, current, segment, pixel);
    else
      StrokeEnd(target, current, pixel);
    StrokeSegment(target, segment, pixel);
    before = segment;
    current = next;
    highest = std::min(highest, next.y);
    lowest = std::max(lowest, next.y);
  }
  // A line that never leaves its first point has no direction and no ends.
  if (!before) return {};
  StrokeEnd(target, current, pixel);
  const screen_model::RowSpan rows{std::max(highest - 1, 0), std::min(lowest, target.height - 1)};
  return rows.Empty() ? screen_model::RowSpan{} : rows;
}

}  // namespace trace_stroke

#include "storage/WindowPlacement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace window_placement {
namespace {

// Squared distance from a point to a rectangle (0 inside it).
std::int64_t DistanceSquared(QPoint p, const QRect& r) {
  const std::int64_t dx = p.x() < r.left() ? r.left() - p.x() : (p.x() > r.right() ? p.x() - r.right() : 0);
  const std::int64_t dy = p.y() < r.top() ? r.top() - p.y() : (p.y() > r.bottom() ? p.y() - r.bottom() : 0);
  return dx * dx + dy * dy;
}

// The nearest value to `value` in [low, high]; `low` when the range is empty
// (a window larger than the screen keeps its top-left corner on it).
int Clamp(int value, int low, int high) { return std::max(low, std::min(value, std::max(low, high))); }

}  // namespace

QPoint OnScreenPosition(QPoint stored, QSize window, const QList<QRect>& screens) {
  const int width = std::max(window.width(), 1);
  const int height = std::max(window.height(), 1);
  const QRect caption(stored, QSize(width, std::min(CaptionHeight, height)));
  const int needWidth = std::min(MinVisibleWidth, width);
  for (const QRect& screen : screens) {
    const QRect onScreen = caption.intersected(screen);
    if (onScreen.height() == caption.height() && onScreen.width() >= needWidth) return stored;
  }

  const QRect* nearest = nullptr;
  std::int64_t best = std::numeric_limits<std::int64_t>::max();
  for (const QRect& screen : screens) {
    if (screen.isEmpty()) continue;
    const std::int64_t d = DistanceSquared(caption.center(), screen);
    if (d < best) {
      best = d;
      nearest = &screen;
    }
  }
  if (!nearest) return stored;
  return {Clamp(stored.x(), nearest->left(), nearest->right() + 1 - width),
          Clamp(stored.y(), nearest->top(), nearest->bottom() + 1 - height)};
}

}  // namespace window_placement

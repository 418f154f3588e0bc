#pragma once
// Where a restored window goes: the stored position, unless that would leave
// the window where the user cannot reach it (a monitor unplugged since, a
// smaller screen, a hand-edited store). Such a window is brought back onto
// the nearest screen.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace window_placement {

// The part of the window that must lie on one screen for it to be usable:
// its caption band, this many pixels high and at least this wide (or the
// whole width of a narrower window), so it can be grabbed and dragged.
inline constexpr int CaptionHeight = 24;
inline constexpr int MinVisibleWidth = 64;

// The outer top-left corner for a window of outer size `window` stored at
// `stored`, given the available geometries of the screens. A position whose
// caption band is on a screen is kept as it is; otherwise the window moves
// the least distance that puts it on the screen nearest to it (its top-left
// corner on the screen when the window is larger than the screen). With no
// screens the stored position is kept.
QPoint OnScreenPosition(QPoint stored, QSize window, const QList<QRect>& screens);

}  // namespace window_placement

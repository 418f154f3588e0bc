#pragma once
// The parts of the screen a handler is told about: the cursors by name, what
// a press on the plot met, and the markers dragged along the overview strip.

// The time cursors: a line on the plot with a handle over the overview strip.
enum class TimeCursor { X, O };
// The voltage cursors: lines across the plot.
enum class VoltageCursor { A, B };

// What a press, drag or release over the screen met: the plot itself, one of
// the cursor lines over it, or the bezel around it.
enum class ScreenPart { Plot, XLine, OLine, ALine, BLine, Bezel };

// The markers over the overview strip: the view window (Image3), the trigger
// position (HorTrigPos) and the time cursors' handles (CursorX, CursorO).
enum class OverviewMarker { ViewWindow, TriggerPosition, XHandle, OHandle };

constexpr OverviewMarker HandleOf(TimeCursor cursor) {
  return cursor == TimeCursor::X ? OverviewMarker::XHandle : OverviewMarker::OHandle;
}

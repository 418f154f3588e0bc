// The call points every frame makes into the cursors and snap to plot. They
// are kept minimal here on purpose: the cursor lines, their readouts and the
// snapping of the voltage cursors are filled in by the cursor work, which
// owns these two bodies.

#include "app/TForm1.h"

void TForm1::CursorCalculation() {
  // The time readouts are refreshed here once the cursor lines exist.
}

void TForm1::SnapToPlot() {
  // A snap consumes the "move both cursors" request that every frame makes.
  SnapAll = 0;
}

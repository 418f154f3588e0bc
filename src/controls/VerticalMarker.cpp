#include "controls/VerticalMarker.h"

namespace vertical_marker {

MarkerStep DragStep(int top, int mouseDownY, int y) {
  MarkerStep step{top, mouseDownY - y, false};
  step.top = top - step.dragDelta;
  if (step.top < TopmostRow) {
    step.top = TopmostRow;
    step.clamped = true;
  }
  if (step.top > BottomRow) {
    step.top = BottomRow;
    step.clamped = true;
  }
  return step;
}

}  // namespace vertical_marker

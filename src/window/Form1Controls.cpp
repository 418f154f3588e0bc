#include "window/TForm1.h"

// The front panel: the vertical controls and time base, then the trigger
// strip and buttons (which sit over and beside them), and the calibration
// panel over the plot.
void TForm1::BuildControls() {
  BuildVerticalControls();
  BuildTimeBase();
  BuildTrigger();
  BuildCalibration();
}

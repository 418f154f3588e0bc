#include "app/TForm1.h"

void TForm1::BuildTrigger() {}

// The arrow follows a dragged 0 V marker; completed with the trigger controls.
void TForm1::MovTriggerWithCH1Vertial() {}

// completed with the trigger controls
void TForm1::MovTriggerWithCH2Vertial() {}

// Re-places the CH1 arrow from its stored level; completed with the trigger controls.
void TForm1::ResetCH1TriggerVoltage() {}

// completed with the trigger controls
void TForm1::ResetCH2TriggerVoltage() {}

// The four trigger-position bytes of the capture command from the marker over
// the overview strip; completed with the trigger controls (menu checks).
void TForm1::TriggerPosCalc() {
  const int left = HorTrigPos ? Left(HorTrigPos) : 251;
  const int pre = CapturedTimeBase == 2 ? 6 * (left / 4 + 270) : 6 * (left / 2 + 208);
  TrigPosPreHi = (pre + 250) / 255;
  TrigPosPreLo = (pre + 250) - 255 * TrigPosPreHi;
  TrigPosPostHi = (3000 - pre) / 255;
  TrigPosPostLo = (3000 - pre) - 255 * TrigPosPostHi;
  // 0 is never sent in these bytes.
  if (TrigPosPreLo == 0) TrigPosPreLo = 1;
  if (TrigPosPreHi == 0) TrigPosPreHi = 1;
  if (TrigPosPostLo == 0) TrigPosPostLo = 2;
  if (TrigPosPostHi == 0) TrigPosPostHi = 1;
}

// Trigger source CH1; completed with the trigger controls (arrow, line,
// button picture, restart while running).
void TForm1::CH11Click() {
  CH11->setChecked(true);
  CH21->setChecked(false);
  EXT1->setChecked(false);
  TriggerCH = 1;
  MouseIsDown = 0;
}

// Trigger source CH2; completed with the trigger controls.
void TForm1::CH21Click() {
  CH11->setChecked(false);
  CH21->setChecked(true);
  EXT1->setChecked(false);
  TriggerCH = 2;
  MouseIsDown = 0;
}

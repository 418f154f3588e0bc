#pragma once
// The front panel the capture tests and benchmarks start from: both channels
// on, on the high range at 5 V/div, 1 ms/div, CH1 at row 150 and CH2 at row
// 300, triggered on CH1's rising edge in auto mode at 0 V, so the simulated
// instrument answers at once. A test changes what it is about after the call.

#include "window/TForm1.h"
#include "support/ScopeDriver.h"

inline void SetCapturePanel(TForm1& f) {
  ScopeDriver scope(f);
  scope.State().TimeBaseIndex = 3;
  scope.State().Rate1MS = 0;
  scope.State().ChannelOn[1] = scope.State().ChannelOn[2] = 1;
  scope.State().CH1HighRange = scope.State().CH2HighRange = 1;
  scope.State().CH1Scale = scope.State().CH2Scale = 78;
  scope.State().CH1VertPos = 150;
  scope.State().CH2VertPos = 300;
  scope.State().TriggerCH = 1;
  scope.State().RisingTrigger = 1;
  scope.State().AutoTrigger = 1;
  scope.State().CH1TriggerV = 0;
}

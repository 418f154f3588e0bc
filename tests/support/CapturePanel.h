#pragma once
// The front panel the capture tests and benchmarks start from: both channels
// on, on the high range at 5 V/div, 1 ms/div, CH1 at row 150 and CH2 at row
// 300, triggered on CH1's rising edge in auto mode at 0 V, so the simulated
// instrument answers at once. A test changes what it is about after the call.

#include "app/TForm1.h"

inline void SetCapturePanel(TForm1& f) {
  f.TimeBaseIndex = 3;
  f.Rate1MS = 0;
  f.ChannelOn[1] = f.ChannelOn[2] = 1;
  f.CH1HighRange = f.CH2HighRange = 1;
  f.CH1Scale = f.CH2Scale = 78;
  f.CH1VertPos = 150;
  f.CH2VertPos = 300;
  f.TriggerCH = 1;
  f.RisingTrigger = 1;
  f.AutoTrigger = 1;
  f.CH1TriggerV = 0;
}

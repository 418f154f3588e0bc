#pragma once
// The panel the core's tests start from, and the record of a square wave
// they read: both channels on at 5 V/div, 100 us/div (2 us a sample).
// A test sets on it what it is about.

#include "core/PanelSettings.h"
#include "core/Record.h"

#include <cstdint>

namespace core_panels {

// Rows of the volts/div knob's table.
inline constexpr int Row100mV = 0, Row500mV = 2, Row1V = 3, Row5V = 5;

inline core::PanelSettings BothChannelsAt5V() {
  core::PanelSettings p;
  p.SetChannelOn(1, true);
  p.SetChannelOn(2, true);
  p.SetVoltsRow(1, Row5V);
  p.SetVoltsRow(2, Row5V);
  p.SetTimeBase(3);
  return p;
}

// A record of the panel with a square wave of `period` samples on both
// inputs, `swing` counts above and below 0 V, starting below it; period 0 is
// a flat trace at 0 V, which has no cycle.
inline core::Record SquareRecord(const core::PanelSettings& panel, int period, int swing = 20) {
  core::Record r = core::DescribeRecord(panel);
  for (std::size_t i = 1; i <= 3000; ++i) {
    const bool low = period == 0 || static_cast<int>(i - 1) % period < period / 2;
    const std::uint8_t count = static_cast<std::uint8_t>(period == 0 ? 126 : low ? 126 + swing : 126 - swing);
    r.ch1[i] = r.ch2[i] = count;
  }
  return r;
}

}  // namespace core_panels

#pragma once
// Records of a square wave on both inputs, as the statistics tests of the
// core make them: both channels at 5 V/div, 100 us/div (2 us a sample), a
// wave of `period` samples swinging `swing` counts about 0 V, starting below
// it; period 0 is a flat trace, which has no cycle. Each record gets a time
// and a sequence number of its own.

#include "core/PanelSettings.h"
#include "core/Record.h"

#include <QDateTime>

#include <cstdint>

inline core::PanelSettings SquarePanel(bool ch2On = true) {
  core::PanelSettings p;
  p.SetChannelOn(1, true);
  p.SetChannelOn(2, ch2On);
  p.SetVoltsRow(1, 5);
  p.SetVoltsRow(2, 5);
  p.SetTimeBase(3);
  return p;
}

inline core::Record SquareRecord(const core::PanelSettings& panel, int period, std::uint64_t sequence,
                                 const QDateTime& received, int swing = 20) {
  core::Record r = core::DescribeRecord(panel);
  for (std::size_t i = 1; i <= 3000; ++i) {
    const bool low = period == 0 || static_cast<int>(i - 1) % period < period / 2;
    const auto count = static_cast<std::uint8_t>(period == 0 ? 126 : low ? 126 + swing : 126 - swing);
    r.ch1[i] = r.ch2[i] = count;
  }
  r.sequence = sequence;
  r.received = received;
  return r;
}

// A fixed local time with milliseconds, as a log line keeps it.
inline QDateTime StartTime() { return QDateTime(QDate(2025, 3, 1), QTime(12, 0, 0, 250)); }

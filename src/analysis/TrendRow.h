#pragma once
// One record's readings as the trend plot takes them: when it came (in
// milliseconds since the epoch) and the twenty readings in SI units (V, s,
// Hz, %), CH1's ten then CH2's in the measurement panel's order, each empty
// where the panel shows no number. A window without a complete cycle has
// none of the five cycle readings (the panel's "0 us" and "0 Hz" there are
// no period), just as the statistics do not count them.
//
// Made from a record as it arrives or from a line of the measurement log.

#include "core/MeasurementStatistics.h"
#include "core/Record.h"
#include "core/RecordReadings.h"

#include <array>
#include <cstdint>
#include <optional>

namespace analysis {

using ChannelValues = std::array<std::optional<double>, core::ReadingCount>;

struct TrendRow {
  double timeMs = 0;
  std::uint64_t sequence = 0;
  std::array<ChannelValues, 2> channels{};

  // Channel 1 or 2; another channel is a ScopeError.
  const std::optional<double>& Value(int channel, core::Reading reading) const;
};

TrendRow TrendRowOf(const core::Record& record, const std::array<core::ChannelReadings, 2>& readings);

// Empties the cycle readings of a channel whose duty cycle is empty.
void DropCycleReadingsWithoutCycle(ChannelValues& values);

}  // namespace analysis

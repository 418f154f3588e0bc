#pragma once
// The twenty readings of the measurement panel for one record, as numbers
// in SI units (V, s, Hz, %): the same arithmetic as the panel's texts
// (measure/Measurements), over the same samples (the view window of the
// overview marker), before it is formatted. A reading is empty where the
// panel shows no number for it: a channel that is off, and the five cycle
// readings of a window with no complete cycle (the panel's "No Cycle").

#include "core/Record.h"

#include <array>
#include <cstdint>
#include <optional>

namespace core {

// Where the view window marker over the overview strip stands as the
// window is designed, and after every restore.
inline constexpr std::int32_t DesignViewMarkerLeft = 173;

struct ChannelReadings {
  std::optional<double> maximum, minimum, peakToPeak, mean, rms;  // V
  std::optional<double> period;      // s
  std::optional<double> frequency;   // Hz
  std::optional<double> posWidth, negWidth;  // s
  std::optional<std::int32_t> dutyCycle;     // %, whole as the panel shows it
  // The same, in the panel's own integer units: 10 mV and microseconds.
  std::int32_t maximum10mV = 0, minimum10mV = 0, peakToPeak10mV = 0, mean10mV = 0, rms10mV = 0;
  std::int64_t periodUs = 0, posWidthUs = 0, negWidthUs = 0;
  bool complete = false;
};

// Both channels' readings over the view window for the marker at
// `viewMarkerLeft`. Throws ScopeError for a window outside the record.
std::array<ChannelReadings, 2> ReadingsOf(const Record& record,
                                          std::int32_t viewMarkerLeft = DesignViewMarkerLeft);

}  // namespace core

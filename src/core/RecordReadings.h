#pragma once
// The twenty readings of the measurement panel for one record, as numbers
// in SI units (V, s, Hz, %): the numbers the panel formats
// (measure::ReadChannel), over the same samples (the view window of the
// overview marker), before it is formatted. A reading is empty where the
// panel shows no number for it: a channel that is off, and the duty cycle of
// a window with no complete cycle (the panel's "No Cycle"; its period,
// widths and frequency read 0 there, as the panel's "0 us" and "0 Hz").

#include "core/Record.h"
#include "measure/Measurements.h"

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
  // The same in the panel's own units (10 mV, microseconds), as the panel
  // formats them; kept for a channel that is off too.
  measure::Readings panelUnits{};
};

// Both channels' readings over the view window for the marker at
// `viewMarkerLeft`. Throws ScopeError for a window outside the record.
std::array<ChannelReadings, 2> ReadingsOf(const Record& record,
                                          std::int32_t viewMarkerLeft = DesignViewMarkerLeft);
// The same over samples viewStart..viewEnd: what the measurement panel reads
// of the frame it has just drawn.
std::array<ChannelReadings, 2> ReadingsOfView(const Record& record, std::int32_t viewStart, std::int32_t viewEnd);

// The measurement panel's ten texts of `channel` over samples
// viewStart..viewEnd less `calOffset` counts, read with the record's range
// and time per sample, never the panel's: a stopped record measures the same
// after a knob turn. Throws ScopeError for a window outside the record or an
// empty one.
measure::ReadingTexts PanelTextsOf(const Record& record, int channel, std::int32_t viewStart,
                                   std::int32_t viewEnd, std::int32_t calOffset, const QString& decimalPoint);

}  // namespace core

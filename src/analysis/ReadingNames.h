#pragma once
// The twenty readings as the windows of this folder name them: the
// measurement panel's captions, and the SI unit a log and a trend give
// each reading in.

#include "core/MeasurementStatistics.h"

#include <QString>

#include <array>
#include <string_view>

namespace analysis {

struct ReadingName {
  core::Reading reading;
  std::string_view caption;  // as the measurement panel shows it
  std::string_view unit;     // SI, as the log writes it
};
inline constexpr std::array<ReadingName, core::ReadingCount> ReadingNames{{
    {core::Reading::Maximum, "Max Voltage", "V"},
    {core::Reading::Minimum, "Min Voltage", "V"},
    {core::Reading::PeakToPeak, "Pk-Pk Voltage", "V"},
    {core::Reading::Mean, "Mean Voltage", "V"},
    {core::Reading::Rms, "RMS V", "V"},
    {core::Reading::Period, "Period", "s"},
    {core::Reading::Frequency, "Frequency", "Hz"},
    {core::Reading::PosWidth, "+ Pulse Width", "s"},
    {core::Reading::NegWidth, "- Pulse Width", "s"},
    {core::Reading::DutyCycle, "Pos. Duty Cycle", "%"},
}};

inline QString CaptionOf(core::Reading reading) {
  const std::string_view c = ReadingNames[static_cast<std::size_t>(reading)].caption;
  return QString::fromLatin1(c.data(), static_cast<qsizetype>(c.size()));
}
inline QString UnitOf(core::Reading reading) {
  const std::string_view u = ReadingNames[static_cast<std::size_t>(reading)].unit;
  return QString::fromLatin1(u.data(), static_cast<qsizetype>(u.size()));
}

}  // namespace analysis

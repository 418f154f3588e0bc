#include "controls/Calibration.h"

#include <algorithm>

namespace calibration {

std::int32_t ZeroOffset(std::span<const std::uint8_t> samples, std::int32_t viewStart, std::int32_t viewEnd) {
  const std::int64_t first = std::max<std::int64_t>(viewStart, 0);
  const std::int64_t last = std::min<std::int64_t>(viewEnd, static_cast<std::int64_t>(samples.size()) - 1);
  std::int64_t sum = 0;
  std::int64_t count = 0;
  for (std::int64_t i = first; i <= last; ++i) {
    sum += static_cast<std::int64_t>(samples[static_cast<std::size_t>(i)]) - NominalZeroCode;
    ++count;
  }
  if (sum == 0) return 0;
  // C++ division truncates toward zero, as the offsets are defined.
  return static_cast<std::int32_t>(sum / count);
}

std::string_view CancelMessage(CancelReason reason) {
  switch (reason) {
    case CancelReason::Stopped:
      return "Calibration cancelled: the capture was stopped before the instrument answered. "
             "The stored calibration is unchanged.";
    case CancelReason::NoAnswer:
      return "Calibration cancelled: the instrument did not answer. Check that it is connected "
             "and try again. The stored calibration is unchanged.";
    case CancelReason::Disconnected:
      return "Calibration cancelled: the instrument was disconnected. The stored calibration is "
             "unchanged.";
  }
  return {};
}

}  // namespace calibration

#pragma once
// The arithmetic of the zero calibration: the offset of one channel from the
// samples on the screen, the stored names of the four offsets in the order
// they are written, the time a calibration capture may take before the
// instrument counts as silent, and the messages that end a calibration.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace calibration {

// The nominal zero code the offsets are measured from.
inline constexpr std::int32_t NominalZeroCode = 127;

// The offset of one channel: the mean of (sample - 127) over the samples
// viewStart..viewEnd, truncated toward zero; 0 when the sum is 0 (which also
// covers an empty span). Indices outside the buffer are not counted.
std::int32_t ZeroOffset(std::span<const std::uint8_t> samples, std::int32_t viewStart, std::int32_t viewEnd);

// Stored as they are written: low range first, CH1 before CH2.
inline constexpr std::array<std::string_view, 4> StoredNames{"CalCH1L", "CalCH2L", "CalCH1H", "CalCH2H"};

// How long one calibration capture may take, in milliseconds, for a time base
// of samplePeriodUs microseconds per plot column: twice what the slowest
// honest answer takes (a whole record of 3000 columns in auto mode, and the
// reply's 3001 bytes at 9600 baud, 11 bits a byte), and a second more.
constexpr int CaptureTimeLimitMs(std::int32_t samplePeriodUs) {
  constexpr std::int64_t replyTransferMs = 3001LL * 11 * 1000 / 9600;
  const std::int64_t recordMs = 3000LL * (samplePeriodUs > 0 ? samplePeriodUs : 0) / 1000;
  return static_cast<int>(2 * (recordMs + replyTransferMs) + 1000);
}

inline constexpr std::string_view CompleteMessage = "Calibration Complete ";

// Why a calibration capture ended without a reply.
enum class CancelReason { Stopped, NoAnswer, Disconnected };
std::string_view CancelMessage(CancelReason reason);

}  // namespace calibration

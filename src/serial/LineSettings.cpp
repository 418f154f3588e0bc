#include "serial/LineSettings.h"

#include <cerrno>
#include <charconv>

namespace serial_line {

std::optional<long> WholeNumber(std::string_view text) {
  long value = 0;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(first, last, value);
  if (text.empty() || error != std::errc() || end != last) return std::nullopt;
  return value;
}

std::optional<speed_t> SpeedFor(long baud) {
  for (const BaudRow& row : kBaudRates) {
    if (row.baud == baud) return row.speed;
  }
  return std::nullopt;
}

std::optional<tcflag_t> CharacterSizeFor(long dataBits) {
  switch (dataBits) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    case 8: return CS8;
    default: return std::nullopt;
  }
}

tcflag_t ParityFlags(std::string_view parity) { return parity == "None" ? 0 : PARENB; }

void ApplyLineSettings(termios& record, std::string_view baud, std::string_view parity,
                       std::string_view dataBits) {
  const tcflag_t previousSize = record.c_cflag & CSIZE;
  cfmakeraw(&record);

  std::optional<tcflag_t> size;
  if (const auto bits = WholeNumber(dataBits)) size = CharacterSizeFor(*bits);
  record.c_cflag = (record.c_cflag & ~CSIZE) | size.value_or(previousSize);

  if (const auto rate = WholeNumber(baud)) {
    if (const auto speed = SpeedFor(*rate)) {
      cfsetispeed(&record, *speed);
      cfsetospeed(&record, *speed);
    }
  }

  record.c_cflag &= ~(PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  record.c_cflag |= ParityFlags(parity) | CLOCAL | CREAD;
  // Parity is generated but never checked, and neither XON/XOFF nor any other
  // byte is special: the instrument's samples use every value 0..255.
  record.c_iflag &= ~(INPCK | IGNPAR | PARMRK | ISTRIP | IXON | IXOFF | IXANY);
  // One byte satisfies a read, so a read that returns 0 can only mean the
  // device hung up; the descriptor is non-blocking, so nothing ever waits here.
  record.c_cc[VMIN] = 1;
  record.c_cc[VTIME] = 0;
}

std::string OpenFailureReason(int error) {
  switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
      return "This port does not exist or is not configured properly.";
    case EACCES:
    case EPERM:
    case EBUSY:
    case EWOULDBLOCK:
      return "Access Denied.\r\nThis port may already be in use by another device.";
    default:
      return "Reason is unknown.";
  }
}

std::uint32_t LineErrorMask(const LineErrorCounts& before, const LineErrorCounts& after) {
  struct Kind {
    int LineErrorCounts::*counter;
    std::uint32_t bit;
  };
  static constexpr Kind kinds[] = {
      {&LineErrorCounts::bufferOverrun, kErrorQueueOverflow},
      {&LineErrorCounts::overrun, kErrorOverrun},
      {&LineErrorCounts::parity, kErrorParity},
      {&LineErrorCounts::frame, kErrorFrame},
      {&LineErrorCounts::breaks, kErrorBreak},
  };
  std::uint32_t mask = 0;
  for (const Kind& kind : kinds) {
    if (after.*kind.counter != before.*kind.counter) mask |= kind.bit;
  }
  return mask;
}

}  // namespace serial_line

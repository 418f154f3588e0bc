#pragma once
// Pure pieces of the serial port: how the texts given to Open become a termios
// record, which reason an open failure reports, and the line-error mask that a
// status query records. No device is touched here, so all of it is tested on
// plain structs.

#include <termios.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace serial_line {

// A decimal integer that fills the whole text ("9600", "-3"); nothing else.
std::optional<long> WholeNumber(std::string_view text);

struct BaudRow {
  long baud;
  speed_t speed;
};

// Rates the termios speed field can name. 0 is left out on purpose: B0 tells
// the driver to hang up the line, which a settings text must never do.
inline constexpr std::array<BaudRow, 30> kBaudRates{{
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
}};

std::optional<speed_t> SpeedFor(long baud);

// CS5..CS8 for 5..8 data bits.
std::optional<tcflag_t> CharacterSizeFor(long dataBits);

// Exactly "None" is no parity; every other text, "NONE" included, is even.
tcflag_t ParityFlags(std::string_view parity);

// Raw mode with the given line settings, one stop bit, no handshake in either
// direction, no parity checking on input, modem lines ignored. A baud or
// data-bits text that is not a number the driver can take keeps the rate or
// the character size the record already had, so a bad settings text cannot
// leave the line at a rate nobody asked for.
void ApplyLineSettings(termios& record, std::string_view baud, std::string_view parity,
                       std::string_view dataBits);

// The second half of "Could not open port: NAME.  REASON", chosen by errno.
std::string OpenFailureReason(int error);

// The driver's error counters, as TIOCGICOUNT reports them.
struct LineErrorCounts {
  int bufferOverrun = 0;  // input queue full, bytes dropped
  int overrun = 0;        // the UART's own buffer overran
  int parity = 0;
  int frame = 0;
  int breaks = 0;
};

// Bits of the line-error mask, the values other code has always compared with.
inline constexpr std::uint32_t kErrorQueueOverflow = 0x0001;
inline constexpr std::uint32_t kErrorOverrun = 0x0002;
inline constexpr std::uint32_t kErrorParity = 0x0004;
inline constexpr std::uint32_t kErrorFrame = 0x0008;
inline constexpr std::uint32_t kErrorBreak = 0x0010;

// Which kinds of line error happened between two readings of the counters.
std::uint32_t LineErrorMask(const LineErrorCounts& before, const LineErrorCounts& after);

}  // namespace serial_line

// How the texts given to Open become line settings, open-failure reasons and
// line-error masks: pure functions, checked on plain records.
#include <gtest/gtest.h>

#include <cerrno>

#include "serial/LineSettings.h"

using namespace serial_line;

TEST(WholeNumber, AcceptsOnlyADecimalThatFillsTheText) {
  struct Case {
    const char* text;
    std::optional<long> expected;
  };
  const Case cases[] = {
      {"9600", 9600}, {"8", 8},           {"-1", -1},       {"0", 0},
      {"", std::nullopt},  {"96OO", std::nullopt}, {" 9600", std::nullopt}, {"9600 ", std::nullopt},
      {"8.0", std::nullopt}, {"0x10", std::nullopt},
      {"99999999999999999999999", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(WholeNumber(c.text), c.expected) << '"' << c.text << '"';
}

TEST(SpeedFor, NamesEveryTableRateAndNeverTheHangUpRate) {
  for (const BaudRow& row : kBaudRates) {
    EXPECT_EQ(SpeedFor(row.baud), row.speed) << row.baud;
  }
  EXPECT_EQ(SpeedFor(0), std::nullopt) << "B0 would hang up the line";
  EXPECT_EQ(SpeedFor(9601), std::nullopt);
  EXPECT_EQ(SpeedFor(-9600), std::nullopt);
}

// A record as a terminal leaves it: cooked, echoing, odd parity, two stop
// bits, hardware and software handshake, 7 bits at 4800 baud.
termios CookedRecord() {
  termios record{};
  record.c_iflag = ICRNL | IXON | IXOFF | IXANY | INPCK | ISTRIP | IGNPAR | PARMRK;
  record.c_oflag = OPOST | ONLCR;
  record.c_cflag = CS7 | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | HUPCL;
  record.c_lflag = ICANON | ECHO | ECHOE | ISIG | IEXTEN;
  record.c_cc[VMIN] = 0;
  record.c_cc[VTIME] = 5;
  cfsetispeed(&record, B4800);
  cfsetospeed(&record, B4800);
  return record;
}

TEST(ApplyLineSettings, GivesRawEightOrFewerBitsWithEvenOrNoParity) {
  struct Case {
    const char* name;
    const char* baud;
    const char* parity;
    const char* dataBits;
    speed_t speed;
    tcflag_t size;
    bool parityOn;
  };
  const Case cases[] = {
      {"exactly None is no parity", "9600", "None", "8", B9600, CS8, false},
      {"the program's own NONE is even", "9600", "NONE", "8", B9600, CS8, true},
      {"lower-case none is even", "9600", "none", "8", B9600, CS8, true},
      {"Even is even", "115200", "Even", "7", B115200, CS7, true},
      {"an empty parity text is even", "19200", "", "5", B19200, CS5, true},
      {"None with trailing blank is even", "9600", "None ", "6", B9600, CS6, true},
      {"non-numeric texts keep rate and size", "fast", "None", "eight", B4800, CS7, false},
      {"baud 0 keeps the rate instead of hanging up", "0", "None", "8", B4800, CS8, false},
      {"a rate termios cannot name keeps the rate", "9601", "None", "8", B4800, CS8, false},
      {"nine data bits keep the size", "9600", "None", "9", B9600, CS7, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    termios record = CookedRecord();
    ApplyLineSettings(record, c.baud, c.parity, c.dataBits);

    EXPECT_EQ(cfgetospeed(&record), c.speed);
    EXPECT_EQ(cfgetispeed(&record), c.speed);
    EXPECT_EQ(record.c_cflag & CSIZE, c.size);
    EXPECT_EQ((record.c_cflag & PARENB) != 0, c.parityOn);
    EXPECT_EQ(record.c_cflag & (PARODD | CMSPAR), 0u) << "parity is even or none, never odd or mark";
    EXPECT_EQ(record.c_cflag & CSTOPB, 0u) << "one stop bit";
    EXPECT_EQ(record.c_cflag & CRTSCTS, 0u) << "no hardware handshake";
    EXPECT_EQ(record.c_cflag & (CLOCAL | CREAD), CLOCAL | CREAD);
    EXPECT_EQ(record.c_iflag & (IXON | IXOFF | IXANY), 0u) << "no software handshake";
    EXPECT_EQ(record.c_iflag & (INPCK | ISTRIP | ICRNL | PARMRK), 0u) << "input passes unchanged";
    EXPECT_EQ(record.c_oflag & OPOST, 0u) << "output passes unchanged";
    EXPECT_EQ(record.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u) << "raw, no echo";
    EXPECT_EQ(record.c_cc[VMIN], 1);
    EXPECT_EQ(record.c_cc[VTIME], 0);
  }
}

TEST(OpenFailureReason, ChosenByTheKindOfError) {
  const std::string notFound = "This port does not exist or is not configured properly.";
  const std::string denied = "Access Denied.\r\nThis port may already be in use by another device.";
  const std::string unknown = "Reason is unknown.";
  const std::pair<int, std::string> cases[] = {
      {ENOENT, notFound}, {ENODEV, notFound}, {ENXIO, notFound},  {EACCES, denied},
      {EPERM, denied},    {EBUSY, denied},    {EWOULDBLOCK, denied}, {EISDIR, unknown},
      {EIO, unknown},     {0, unknown},
  };
  for (const auto& [error, reason] : cases) EXPECT_EQ(OpenFailureReason(error), reason) << error;
}

TEST(LineErrorMask, MarksEachKindOfErrorThatHappenedSinceTheLastQuery) {
  const LineErrorCounts before{1, 2, 3, 4, 5};
  struct Case {
    const char* name;
    LineErrorCounts after;
    std::uint32_t mask;
  };
  const Case cases[] = {
      {"nothing new", {1, 2, 3, 4, 5}, 0},
      {"input queue overflow", {2, 2, 3, 4, 5}, kErrorQueueOverflow},
      {"overrun", {1, 3, 3, 4, 5}, kErrorOverrun},
      {"parity", {1, 2, 9, 4, 5}, kErrorParity},
      {"frame and break", {1, 2, 3, 5, 6}, kErrorFrame | kErrorBreak},
      {"counters reset by the driver still count", {0, 0, 0, 0, 0}, 0x1F},
  };
  for (const Case& c : cases) EXPECT_EQ(LineErrorMask(before, c.after), c.mask) << c.name;
}

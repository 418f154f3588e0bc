// TSerial against a real pseudo-terminal: the test plays the instrument on
// the master side, the port under test opens the slave path.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <thread>

#include "PseudoTerminal.h"
#include "serial/TSerial.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Against a hang, not a speed requirement.
constexpr auto kHangGuard = std::chrono::seconds(10);

const std::string kAccessDenied =
    "Access Denied.\r\nThis port may already be in use by another device.";

// What the show-errors form of Open reported.
struct Reports {
  std::vector<std::string> boxes;
  std::vector<std::pair<int, int>> beeps;

  void Attach(TSerial& port) {
    port.ShowErrorBox = [this](const std::string& text) { boxes.push_back(text); };
    port.Beep = [this](int hz, int ms) { beeps.emplace_back(hz, ms); };
  }
};

std::string DescriptorTarget(int fd) {
  std::error_code error;
  return std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), error).string();
}

void ExpectClosedFields(const TSerial& port) {
  EXPECT_FALSE(port.IsOpen);
  EXPECT_EQ(port.Handle, -1);
  EXPECT_TRUE(port.PortName.empty());
  EXPECT_EQ(port.ScratchBuffer, nullptr);
}

}  // namespace

TEST(ClosedPort, EveryOperationReturnsItsNotOpenValueAtOnce) {
  TSerial port;
  ExpectClosedFields(port);
  std::array<std::uint8_t, 8> destination{};
  destination.fill(0xA5);
  struct Case {
    const char* name;
    std::function<int()> call;
    int expected;
  };
  const Case cases[] = {
      {"InQueueCount", [&] { return port.InQueueCount(); }, 0},
      {"ReadBuffer", [&] { return port.ReadBuffer(destination.data(), 8); }, 0},
      {"ReadByte", [&] { return port.ReadByte(5000); }, 1000},
      {"WriteByte", [&] { return int{port.WriteByte(0x3F, 5000)}; }, 0},
      {"ReadBlock drain", [&] { return port.ReadBlock(0, 5000); }, -1},
      {"ReadBlock count", [&] { return port.ReadBlock(3001, 5000); }, -1},
      {"SetTimeouts", [&] { return int{port.SetTimeouts(0, 0, 0, 0, 0)}; }, 0},
  };
  for (const Case& c : cases) {
    const auto start = Clock::now();
    EXPECT_EQ(c.call(), c.expected) << c.name;
    EXPECT_LT(Clock::now() - start, kHangGuard) << c.name;
  }
  EXPECT_EQ(destination[0], 0xA5) << "a closed port writes nothing to the destination";
  port.SetDTR(1);
  port.SetRTS(1);
  port.Close();
  ExpectClosedFields(port);
}

TEST(FailedOpen, NameLongerThan64IsRefusedWithoutTryingTheDevice) {
  TSerial port;
  Reports reports;
  reports.Attach(port);
  const std::string name = "/dev/" + std::string(60, 'x');
  ASSERT_EQ(name.size(), 65u);
  errno = 0;
  EXPECT_FALSE(port.Open(name, "9600", "NONE", "8", true));
  EXPECT_EQ(errno, 0) << "no system call was made";
  EXPECT_EQ(port.LastError, 0u);
  EXPECT_TRUE(reports.boxes.empty()) << "refused silently, even with show-errors on";
  EXPECT_TRUE(reports.beeps.empty());
  ExpectClosedFields(port);
}

TEST(FailedOpen, ReportsTheReasonAndLeavesThePortClosed) {
  const std::string missing64 = "/dev/" + std::string(59, 'n');
  ASSERT_EQ(missing64.size(), 64u);
  struct Case {
    const char* name;
    std::string path;
    std::string box;
    int error;
  };
  const Case cases[] = {
      {"a 64-character path that does not exist", missing64,
       "Could not open port: " + missing64 + ".  This port does not exist or is not configured properly.",
       ENOENT},
      {"a device that is not a serial line", "/dev/null",
       "Unable to build data control block for serial port.", ENOTTY},
      {"a folder", "/tmp", "Could not open port: /tmp.  Reason is unknown.", EISDIR},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const bool showErrors : {true, false}) {
      TSerial port;
      Reports reports;
      reports.Attach(port);
      EXPECT_FALSE(port.Open(c.path, "9600", "NONE", "8", showErrors));
      EXPECT_EQ(port.LastError, static_cast<std::uint32_t>(c.error));
      if (showErrors) {
        EXPECT_EQ(reports.boxes, std::vector<std::string>{c.box});
        EXPECT_EQ(reports.beeps, (std::vector<std::pair<int, int>>{{1000, 75}}));
      } else {
        EXPECT_TRUE(reports.boxes.empty());
        EXPECT_TRUE(reports.beeps.empty());
      }
      ExpectClosedFields(port);
      port.Close();
      ExpectClosedFields(port);
      EXPECT_EQ(port.ReadByte(10), 1000);
    }
  }
}

class OpenPort : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(port.Open(pty.SlavePath(), "9600", "NONE", "8", false));
  }

  // Waits until the port reports exactly this many queued bytes.
  bool AwaitQueued(int count) {
    return WaitFor([&] { return port.InQueueCount() == count; });
  }

  PseudoTerminal pty;
  TSerial port;
};

TEST_F(OpenPort, HoldsTheDeviceByItsRealDescriptor) {
  EXPECT_TRUE(port.IsOpen);
  EXPECT_EQ(port.PortName, pty.SlavePath());
  EXPECT_EQ(DescriptorTarget(port.Handle), std::filesystem::canonical(pty.SlavePath()).string())
      << "Handle is what a socket notifier can watch";
  EXPECT_NE(port.ScratchBuffer, nullptr);
  EXPECT_EQ(port.Timeouts, (std::array<std::uint32_t, 5>{0, 0, 0, 0, 0}));
  EXPECT_EQ(port.LastError, 0u);
  EXPECT_FALSE(port.DeviceGone());
}

TEST_F(OpenPort, ReadByteTimesOutWithMinusOne) {
  const auto start = Clock::now();
  EXPECT_EQ(port.ReadByte(100), -1);
  const auto took = Clock::now() - start;
  EXPECT_GE(took, milliseconds(100)) << "waited the whole time-out";
  EXPECT_LT(took, kHangGuard);
  EXPECT_EQ(port.Timeouts, (std::array<std::uint32_t, 5>{0, 0, 100, 0, 0}));
}

TEST_F(OpenPort, EveryByteValuePassesUnchangedBothWays) {
  // Raw mode or bust: 0x03 must not raise a signal, 0x11/0x13 must not pause
  // the line, '\r' must not turn into '\n', '\n' must not grow a '\r'.
  const auto all = CountingBytes(256);
  for (const std::uint8_t byte : all) ASSERT_TRUE(port.WriteByte(byte, 100)) << int{byte};
  EXPECT_EQ(pty.Receive(all.size()), all);

  ASSERT_TRUE(pty.Send(all));
  std::vector<std::uint8_t> received;
  for (std::size_t i = 0; i < all.size(); ++i) {
    const int value = port.ReadByte(2000);
    if (value < 0) break;
    received.push_back(static_cast<std::uint8_t>(value));
  }
  EXPECT_EQ(received, all);
  EXPECT_EQ(port.ReadByte(0), -1) << "nothing echoed or duplicated";
}

TEST_F(OpenPort, WriteByteSendsTheLowEightBits) {
  ASSERT_TRUE(port.WriteByte(0x1AA, 100));
  EXPECT_EQ(pty.Receive(1), std::vector<std::uint8_t>{0xAA});
}

class DrainForm : public OpenPort, public ::testing::WithParamInterface<int> {};

TEST_P(DrainForm, DiscardsEverythingQueuedAndReturnsTheCount) {
  ASSERT_TRUE(pty.Send(CountingBytes(3000)));
  ASSERT_TRUE(AwaitQueued(3000));
  EXPECT_EQ(port.ReadBlock(GetParam(), 100), 3000);
  EXPECT_EQ(port.Timeouts[0], 0xFFFFFFFFu) << "the drain never waits for the line";
  EXPECT_EQ(port.InQueueCount(), 0);
  // The next answer is read from its first byte, not from stale input.
  ASSERT_TRUE(pty.Send({0x4F}));
  EXPECT_EQ(port.ReadByte(2000), 0x4F);
}

INSTANTIATE_TEST_SUITE_P(CountsOutsideOneTo4096, DrainForm, ::testing::Values(0, 5000, -1, 4097));

TEST_F(OpenPort, DrainTakesMoreThanTheDriverReportsAtOnce) {
  // The driver's queue shows at most 4095 bytes; the rest waits behind it.
  ASSERT_TRUE(pty.Send(CountingBytes(6000)));
  ASSERT_TRUE(WaitFor([&] { return port.InQueueCount() > 0; }));
  EXPECT_EQ(port.ReadBlock(0, 0), 6000);
  EXPECT_EQ(port.ReadByte(0), -1);
}

TEST_F(OpenPort, DrainAlsoTakesBytesTheQueueCountHasNotCaughtUpWith) {
  // Bytes the instrument has sent count in the queue only a moment later when
  // they come from another thread; they are stale input all the same and must
  // not be left to pass for the next answer. The count lags on some rounds
  // only, so run enough of them.
  for (int round = 0; round < 50; ++round) {
    std::atomic<bool> sent{false};
    std::thread instrument([&] { sent = pty.Send(CountingBytes(100)); });
    instrument.join();
    ASSERT_TRUE(sent);
    ASSERT_EQ(port.ReadBlock(0, 0), 100) << "round " << round;
  }
  EXPECT_EQ(port.ReadByte(0), -1);
}

TEST_F(OpenPort, DrainOfAnEmptyQueueReturnsZero) { EXPECT_EQ(port.ReadBlock(0, 0), 0); }

TEST_F(OpenPort, CountFormReturnsTheShortCountWhenTheTimeOutExpires) {
  const auto sent = CountingBytes(1000, 7);
  ASSERT_TRUE(pty.Send(sent));
  ASSERT_TRUE(AwaitQueued(1000));
  const auto start = Clock::now();
  EXPECT_EQ(port.ReadBlock(3001, 100), 1000);
  const auto took = Clock::now() - start;
  EXPECT_GE(took, milliseconds(100));
  EXPECT_LT(took, kHangGuard);
  EXPECT_TRUE(std::equal(sent.begin(), sent.end(), port.ScratchBuffer.get()));
}

TEST_F(OpenPort, CountFormCollectsAReplyArrivingInPieces) {
  // A reply trickles in as the line delivers it; the count form keeps reading
  // until it has all of it.
  const auto reply = CountingBytes(3001, 1);
  std::thread instrument([&] {
    for (std::size_t at = 0; at < reply.size(); at += 1000) {
      const auto end = reply.begin() + static_cast<long>(std::min(at + 1000, reply.size()));
      pty.Send({reply.begin() + static_cast<long>(at), end});
      std::this_thread::sleep_for(milliseconds(30));  // the line's pace, not a wait for a condition
    }
  });
  const int got = port.ReadBlock(3001, 5000);
  instrument.join();
  ASSERT_EQ(got, 3001);
  EXPECT_TRUE(std::equal(reply.begin(), reply.end(), port.ScratchBuffer.get()));
}

TEST_F(OpenPort, ReadBufferTakesAtMost4096PerCallAndLosesNothing) {
  const auto sent = CountingBytes(5000, 3);
  ASSERT_TRUE(pty.Send(sent));
  ASSERT_TRUE(WaitFor([&] { return port.InQueueCount() > 0; }));

  std::vector<std::uint8_t> received;
  std::vector<std::uint8_t> destination(5000 + 16);
  ASSERT_TRUE(WaitFor([&] {
    std::fill(destination.begin(), destination.end(), 0xEE);
    const int got = port.ReadBuffer(destination.data(), 5000);
    EXPECT_GE(got, 0);
    EXPECT_LE(got, 4096);
    EXPECT_TRUE(std::all_of(destination.begin() + 4096, destination.end(),
                            [](std::uint8_t b) { return b == 0xEE; }))
        << "nothing written past 4096 bytes";
    received.insert(received.end(), destination.begin(), destination.begin() + std::max(got, 0));
    return received.size() >= sent.size();
  }));
  EXPECT_EQ(received, sent);
  EXPECT_EQ(port.Timeouts[0], 0xFFFFFFFFu);
  EXPECT_EQ(port.ReadBuffer(destination.data(), 0), 0);
  EXPECT_EQ(port.ReadBuffer(destination.data(), -5), 0);
}

TEST_F(OpenPort, ReadBufferOnAnEmptyQueueReturnsZero) {
  std::array<std::uint8_t, 16> destination{};
  EXPECT_EQ(port.ReadBuffer(destination.data(), 16), 0);
}

TEST_F(OpenPort, OpeningItAgainFailsAndLeavesItUntouched) {
  PseudoTerminal other;
  const int handle = port.Handle;
  EXPECT_FALSE(port.Open(other.SlavePath(), "9600", "None", "8", true));
  EXPECT_EQ(port.LastError, 0u);
  EXPECT_TRUE(port.IsOpen);
  EXPECT_EQ(port.Handle, handle);
  EXPECT_EQ(port.PortName, pty.SlavePath());
  ASSERT_TRUE(port.WriteByte(0x55, 100));
  EXPECT_EQ(pty.Receive(1), std::vector<std::uint8_t>{0x55});
}

TEST_F(OpenPort, SecondOpenerIsRefusedUntilTheFirstCloses) {
  TSerial second;
  Reports reports;
  reports.Attach(second);
  EXPECT_FALSE(second.Open(pty.SlavePath(), "9600", "NONE", "8", true));
  EXPECT_EQ(reports.boxes,
            std::vector<std::string>{"Could not open port: " + pty.SlavePath() + ".  " + kAccessDenied});
  EXPECT_EQ(reports.beeps, (std::vector<std::pair<int, int>>{{1000, 75}}));
  EXPECT_TRUE(second.LastError == EWOULDBLOCK || second.LastError == EBUSY) << second.LastError;
  ExpectClosedFields(second);

  // The refusal did not disturb the owner.
  ASSERT_TRUE(port.WriteByte(0x42, 100));
  EXPECT_EQ(pty.Receive(1), std::vector<std::uint8_t>{0x42});

  port.Close();
  EXPECT_TRUE(second.Open(pty.SlavePath(), "9600", "NONE", "8", true)) << "Close gave the port up";
  EXPECT_EQ(reports.boxes.size(), 1u);
}

TEST_F(OpenPort, WriteThatCannotLeaveInTimeReportsFailure) {
  // Nobody reads the master side: fill everything between us and it.
  std::vector<std::uint8_t> filler(4096, 0x20);
  ASSERT_TRUE(WaitFor([&] { return ::write(port.Handle, filler.data(), filler.size()) < 0 && errno == EAGAIN; }));
  const auto start = Clock::now();
  EXPECT_FALSE(port.WriteByte(0x3F, 50));
  const auto took = Clock::now() - start;
  EXPECT_GE(took, milliseconds(50));
  EXPECT_LT(took, kHangGuard);
  EXPECT_FALSE(port.DeviceGone()) << "a full line is not a vanished device";
}

TEST_F(OpenPort, CloseReleasesEverything) {
  port.Close();
  ExpectClosedFields(port);
  EXPECT_FALSE(port.DeviceGone());
  EXPECT_EQ(port.ReadByte(10), 1000);
  EXPECT_TRUE(port.Open(pty.SlavePath(), "9600", "NONE", "8", false)) << "the port opens again";
}

// The instrument disappears under an open port. Whichever call notices first,
// afterwards every call returns its time-out value at once.
class VanishedPeer : public OpenPort, public ::testing::WithParamInterface<const char*> {};

TEST_P(VanishedPeer, ReadsTimeOutWritesFailAndNothingHangs) {
  const std::string first = GetParam();
  std::array<std::uint8_t, 64> destination{};
  const std::map<std::string, std::function<void()>> calls = {
      {"ReadByte", [&] { EXPECT_EQ(port.ReadByte(100), -1); }},
      {"WriteByte", [&] { EXPECT_FALSE(port.WriteByte(0x3F, 100)); }},
      {"InQueueCount", [&] { EXPECT_EQ(port.InQueueCount(), 0); }},
      {"ReadBuffer", [&] { EXPECT_EQ(port.ReadBuffer(destination.data(), 64), 0); }},
      {"ReadBlock drain", [&] { EXPECT_EQ(port.ReadBlock(0, 100), 0); }},
      {"ReadBlock count", [&] { EXPECT_EQ(port.ReadBlock(3001, 100), 0); }},
  };
  pty.CloseMaster();
  const auto start = Clock::now();
  // ReadBuffer and InQueueCount may run before the hang-up is visible; the
  // others wait long enough to see it.
  ASSERT_TRUE(WaitFor([&] {
    calls.at(first)();
    return port.DeviceGone();
  })) << first << " never noticed";
  for (const auto& [name, call] : calls) {
    SCOPED_TRACE(name);
    call();
  }
  EXPECT_LT(Clock::now() - start, kHangGuard);
  EXPECT_TRUE(port.IsOpen) << "the port stays open until the program closes it";
  EXPECT_FALSE(port.SetTimeouts(0, 0, 0, 0, 0));
  port.SetDTR(1);
  port.Close();
  ExpectClosedFields(port);
  EXPECT_FALSE(port.DeviceGone());
}

INSTANTIATE_TEST_SUITE_P(FirstCallAfterTheLoss, VanishedPeer,
                         ::testing::Values("ReadByte", "WriteByte", "InQueueCount", "ReadBuffer",
                                           "ReadBlock drain", "ReadBlock count"),
                         [](const auto& testInfo) {
                           std::string name = testInfo.param;
                           std::erase(name, ' ');
                           return name;
                         });

// Line settings as the driver keeps them, read back from the slave side.
// Starts from a cooked, echoing line at 4800 baud.
class LineSettingsOnADevice : public ::testing::Test {
 protected:
  termios OpenAndReadBack(const char* baud, const char* parity) {
    termios before{};
    EXPECT_EQ(tcgetattr(pty.Master(), &before), 0);
    cfsetospeed(&before, B4800);
    cfsetispeed(&before, B4800);
    before.c_lflag |= ICANON | ECHO;
    before.c_iflag |= IXON | ICRNL;
    EXPECT_EQ(tcsetattr(pty.Master(), TCSANOW, &before), 0);
    termios record{};
    EXPECT_TRUE(port.Open(pty.SlavePath(), baud, parity, "8", false));
    EXPECT_EQ(tcgetattr(port.Handle, &record), 0);
    return record;
  }

  PseudoTerminal pty;
  TSerial port;
};

TEST_F(LineSettingsOnADevice, RawAtTheRequestedRate) {
  struct Case {
    const char* baud;
    speed_t speed;
  };
  const Case cases[] = {
      {"9600", B9600}, {"115200", B115200},
      {"fast", B4800},  // not a number: the line keeps its rate
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.baud);
    port.Close();
    const termios record = OpenAndReadBack(c.baud, "None");
    EXPECT_EQ(cfgetospeed(&record), c.speed);
    EXPECT_EQ(record.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(record.c_iflag & (IXON | IXOFF | ICRNL), 0u);
    EXPECT_EQ(record.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u) << "None: no parity";
    EXPECT_EQ(record.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  }
}

TEST_F(LineSettingsOnADevice, EveryParityTextButNoneAsksForEvenParity) {
  for (const char* parity : {"NONE", "none", "Even"}) {
    SCOPED_TRACE(parity);
    port.Close();
    const termios record = OpenAndReadBack("9600", parity);
    EXPECT_EQ(record.c_lflag & (ICANON | ECHO), 0u) << "raw even where parity was refused";
    if ((record.c_cflag & PARENB) == 0) {
      GTEST_SKIP() << "this pseudo-terminal drops PARENB, so even parity cannot be read back "
                      "here; ApplyLineSettings covers the record that is asked for";
    }
    EXPECT_EQ(record.c_cflag & PARODD, 0u);
  }
}

// "SIM1" opens the built-in simulated instrument, which lives exactly as long
// as the port stays open, and can be paced at the instrument's line speed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QElapsedTimer>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "serial/TSerial.h"
#include "sim/BuiltInSimulator.h"
#include "support/WaitFor.h"

TEST(SimulatedInstrument, OpenStartsItAndCloseStopsIt) {
  TSerial port;
  ASSERT_TRUE(port.Open("SIM1", "9600", "NONE", "8", false));
  EXPECT_EQ(port.PortName, "SIM1");
  std::error_code error;
  const std::string device =
      std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(port.Handle), error).string();
  ASSERT_FALSE(device.empty()) << "Handle is the descriptor of the simulator's line";

  // It answers the identify query like the instrument.
  ASSERT_TRUE(port.WriteByte('?', 100));
  EXPECT_EQ(port.ReadByte(2000), 'O');
  port.ReadBlock(6, 2000);

  port.Close();
  EXPECT_FALSE(port.IsOpen);
  EXPECT_EQ(port.PortName, "");
  // The simulator took its pseudo-terminal with it.
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  EXPECT_LT(fd, 0) << device << " still opens after Close";
  if (fd >= 0) ::close(fd);

  EXPECT_TRUE(port.Open("SIM1", "9600", "NONE", "8", false)) << "a new simulator for a new open";
}

// ---- SIM1 at the instrument's line speed ----------------------------------

TEST(SimulatedInstrument, TheLineSpeedComesFromTheSetterOrTheEnvironment) {
  struct Case {
    const char* variable;  // nullptr: unset
    int set;               // SetBaud
    int baud;
  } cases[] = {
      {nullptr, 0, 0},      {"9600", 0, 9600},    {"", 0, 0},          {"0", 0, 0},
      {"96OO", 0, 0},       {"5", 0, 0},          {"-9600", 0, 0},     {nullptr, 9600, 9600},
      {"19200", 9600, 9600},
  };
  for (const Case& c : cases) {
    if (c.variable != nullptr)
      ::setenv("TESSARON_SIM1_BAUD", c.variable, 1);
    else
      ::unsetenv("TESSARON_SIM1_BAUD");
    BuiltInSimulator::SetBaud(c.set);
    EXPECT_EQ(BuiltInSimulator::Baud(), c.baud) << (c.variable ? c.variable : "unset") << " / " << c.set;
  }
  ::unsetenv("TESSARON_SIM1_BAUD");
  BuiltInSimulator::SetBaud(0);
}

TEST(SimulatedInstrument, PacedAtALineSpeedItsReplyNeverOutrunsTheLine) {
  ::setenv("TESSARON_SIM1_BAUD", "9600", 1);
  TSerial port;
  const bool opened = port.Open("SIM1", "9600", "NONE", "8", false);
  ::unsetenv("TESSARON_SIM1_BAUD");
  ASSERT_TRUE(opened);
  // Both channels, 1 ms/div, auto trigger: answered at once.
  const std::array<std::uint8_t, 9> command{0xAA, 0x81, 0xF3, 0x1C, 0x00, 0xD0, 0x08, 0xED, 0x03};
  for (const std::uint8_t byte : command) ASSERT_TRUE(port.WriteByte(byte, 100));
  QElapsedTimer sinceCommand;
  sinceCommand.start();
  // No byte leaves before its time on a 9600 baud line (11 bits a byte)
  // counted from the command: however late this looks, never more are in.
  constexpr double bytesPerMs = 9600.0 / 11 / 1000;
  std::array<std::uint8_t, 3001> reply{};
  int in = 0;
  int overRate = 0;
  ASSERT_TRUE(WaitFor(
      [&] {
        const int queued = port.InQueueCount();
        if (queued > 0) in += port.ReadBuffer(reply.data() + in, std::min(queued, 3001 - in));
        if (in > 1 + sinceCommand.nsecsElapsed() / 1e6 * bytesPerMs) ++overRate;
        return in >= 400;
      },
      5000));
  EXPECT_EQ(overRate, 0);
  EXPECT_LT(in, 3001);
  port.WriteByte(255, 100);
}

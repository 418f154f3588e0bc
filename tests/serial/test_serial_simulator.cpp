// "SIM1" opens the built-in simulated instrument, which lives exactly as long
// as the port stays open.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "serial/TSerial.h"

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

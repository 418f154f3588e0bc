#pragma once
// The far end of a serial line for the port tests: a real pseudo-terminal
// whose master side the test drives byte by byte while TSerial opens the
// slave path like any device.

#include "support/WaitFor.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

// 0, 1, 2, ... wrapping at 256, so a lost or repeated byte shows.
inline std::vector<std::uint8_t> CountingBytes(std::size_t count, std::uint8_t first = 0) {
  std::vector<std::uint8_t> bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(first + i);
  return bytes;
}

class PseudoTerminal {
 public:
  PseudoTerminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
      throw std::runtime_error("no pseudo-terminal");
    }
    // Raw at once: the slave starts in cooked mode and would echo our bytes
    // back until the port under test reconfigures it.
    termios record{};
    tcgetattr(master_, &record);
    cfmakeraw(&record);
    tcsetattr(master_, TCSANOW, &record);
    slavePath_ = ptsname(master_);
  }
  ~PseudoTerminal() { CloseMaster(); }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  const std::string& SlavePath() const { return slavePath_; }
  int Master() const { return master_; }

  // The instrument vanishing: the port's side then sees a hang-up.
  void CloseMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

  bool Send(const std::vector<std::uint8_t>& bytes) const {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
      const ssize_t r = ::write(master_, bytes.data() + sent, bytes.size() - sent);
      if (r <= 0) return false;
      sent += static_cast<std::size_t>(r);
    }
    return true;
  }

  // What reached the master side, up to count bytes or until the deadline.
  std::vector<std::uint8_t> Receive(std::size_t count, int deadlineMs = 5000) const {
    std::vector<std::uint8_t> bytes;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(deadlineMs);
    while (bytes.size() < count && std::chrono::steady_clock::now() < deadline) {
      pollfd wait{master_, POLLIN, 0};
      if (::poll(&wait, 1, 20) <= 0) continue;
      std::uint8_t chunk[4096];
      const ssize_t r = ::read(master_, chunk, std::min(sizeof chunk, count - bytes.size()));
      if (r <= 0) break;
      bytes.insert(bytes.end(), chunk, chunk + r);
    }
    return bytes;
  }

 private:
  int master_ = -1;
  std::string slavePath_;
};

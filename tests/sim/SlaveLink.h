#pragma once
// The scope's end of the simulator's pseudo-terminal, in raw POSIX calls: the
// slave device opened in raw mode, bytes written and read with deadlines.

#include "support/WaitFor.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

class SlaveLink {
 public:
  explicit SlaveLink(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) throw std::runtime_error("cannot open " + path);
    termios record{};
    tcgetattr(fd_, &record);
    cfmakeraw(&record);
    tcsetattr(fd_, TCSANOW, &record);
  }
  ~SlaveLink() {
    if (fd_ >= 0) ::close(fd_);
  }
  SlaveLink(const SlaveLink&) = delete;
  SlaveLink& operator=(const SlaveLink&) = delete;

  // Byte by byte, as the scope sends.
  void Send(const std::vector<std::uint8_t>& bytes) {
    for (std::uint8_t b : bytes) {
      if (::write(fd_, &b, 1) != 1) throw std::runtime_error("write to the simulator failed");
    }
  }
  template <std::size_t N>
  void Send(const std::array<std::uint8_t, N>& bytes) {
    Send(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  }

  // Reads until `count` bytes have come or the deadline has passed.
  std::vector<std::uint8_t> Receive(std::size_t count, int deadlineMs = 5000) {
    std::vector<std::uint8_t> bytes;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(deadlineMs);
    while (bytes.size() < count) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                            deadline - std::chrono::steady_clock::now())
                            .count();
      if (left <= 0) break;
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(left)) <= 0) continue;
      std::uint8_t buffer[4096];
      const std::size_t want = std::min(sizeof buffer, count - bytes.size());
      const ssize_t n = ::read(fd_, buffer, want);
      if (n > 0) {
        bytes.insert(bytes.end(), buffer, buffer + n);
      } else if (n < 0 && errno != EAGAIN) {
        break;  // the simulator has gone
      }
    }
    return bytes;
  }

  // Everything that arrives within the window. Showing that nothing comes
  // needs a window; keep it short.
  std::vector<std::uint8_t> ReceiveFor(int windowMs) { return Receive(1 << 20, windowMs); }

  // True once the other side has gone: a hang-up, or a read that fails.
  bool AwaitHangup(int deadlineMs = 5000) {
    return WaitFor(
        [&] {
          pollfd p{fd_, POLLIN, 0};
          if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR)) != 0) return true;
          std::uint8_t b;
          return ::read(fd_, &b, 1) < 0 && errno != EAGAIN;
        },
        deadlineMs);
  }


 private:
  int fd_ = -1;
};

#include "serial/TSerial.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <exception>
#include <thread>

#include "serial/LineSettings.h"
#include "serial/PortPath.h"
#include "sim/BuiltInSimulator.h"

namespace {

constexpr std::uint32_t kAllBits = 0xFFFFFFFFu;
constexpr int kLargestRead = 4096;
constexpr int kScratchSize = 4097;
const std::string kSimulatorName = "SIM1";
// The longest a drain goes on discarding input that keeps coming.
constexpr int kLongestDrainMs = 5;

using Clock = std::chrono::steady_clock;

// Errors after which the device behind the descriptor is not coming back.
bool MeansDeviceGone(int error) { return error == EIO || error == ENXIO || error == ENODEV; }

bool IsHangup(short revents) { return (revents & (POLLHUP | POLLERR | POLLNVAL)) != 0; }

// Milliseconds left until the deadline, rounded up so a wait never ends early.
int MillisecondsUntil(Clock::time_point deadline) {
  const auto left = deadline - Clock::now();
  if (left <= Clock::duration::zero()) return 0;
  const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
  return static_cast<int>(std::min<long long>(ms, INT_MAX));
}

// Negative time-outs would become some 49 days once stored unsigned; a call
// that asks for less than nothing gets nothing.
std::uint32_t TimeoutFrom(int ms) { return ms > 0 ? static_cast<std::uint32_t>(ms) : 0u; }

}  // namespace

TSerial::TSerial() = default;

TSerial::~TSerial() { Close(); }

void TSerial::Report(const std::string& text, bool show) {
  if (!show) return;
  if (Beep) Beep(1000, 75);
  if (ShowErrorBox) ShowErrorBox(text);
}

bool TSerial::FailOpen(const std::string& name, int error, bool showErrors) {
  LastError = static_cast<std::uint32_t>(error);
  Report("Could not open port: " + port_path::NameForMessage(name) + ".  " +
             serial_line::OpenFailureReason(error),
         showErrors);
  simulator_.reset();
  return false;
}

bool TSerial::RefuseName(const std::string& name, port_path::Refusal refusal, bool showErrors) {
  LastError = static_cast<std::uint32_t>(port_path::RefusalError(refusal));
  // A name that can never be a port is worth a message even where open
  // failures are silent, but once: the connection watch retries every second.
  const bool told = refusedName_ && *refusedName_ == name;
  refusedName_ = name;
  Report("Could not open port: " + port_path::NameForMessage(name) + ".  " +
             port_path::RefusalReason(refusal),
         showErrors || !told);
  simulator_.reset();
  return false;
}

bool TSerial::Open(const std::string& portName, const std::string& baud, const std::string& parity,
                   const std::string& dataBits, bool showErrors) {
  LastError = 0;
  if (IsOpen) return false;

  std::string path = portName;
  if (portName == kSimulatorName) {
    try {
      simulator_ = std::make_unique<BuiltInSimulator>();
      path = simulator_->SlavePath();
    } catch (const std::exception&) {
      // No pseudo-terminal to be had: nothing a user can fix by choosing again.
      return FailOpen(portName, errno != 0 ? errno : EIO, showErrors);
    }
  }

  // Only a serial port is opened, and the checks come first: opening itself
  // acts on some devices. The node opened must be the one that was checked.
  const port_path::PortCheck check = port_path::CheckPortName(path);
  if (check.refusal != port_path::Refusal::None)
    return RefuseName(portName, check.refusal, showErrors);
  if (check.error != 0) return FailOpen(portName, check.error, showErrors);
  const int fd = ::open(check.devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return FailOpen(portName, errno, showErrors);
  struct stat opened {};
  if (::fstat(fd, &opened) != 0 || !S_ISCHR(opened.st_mode) || opened.st_rdev != check.device) {
    ::close(fd);
    return RefuseName(portName, port_path::Refusal::NotSerialPort, showErrors);
  }

  // The port is ours alone, as long as we hold it. The lock stops a second
  // opener in any process, root included; TIOCEXCL then also stops openers
  // that do not ask for the lock. A file system without flock support cannot
  // hold the lock, and is not a reason to refuse the port.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
    const int error = errno;
    ::close(fd);
    return FailOpen(portName, error, showErrors);
  }
  ::ioctl(fd, TIOCEXCL);

  termios record{};
  if (::tcgetattr(fd, &record) != 0) {
    LastError = static_cast<std::uint32_t>(errno);
    Report("Unable to build data control block for serial port.", showErrors);
    ::ioctl(fd, TIOCNXCL);
    ::close(fd);
    Handle = -1;
    simulator_.reset();
    return false;
  }

  Handle = fd;
  IsOpen = true;
  deviceGone_ = false;
  lineAtOpen_ = record;
  pseudoTerminal_ = port_path::IsPseudoTerminalSlave(major(check.device));
  refusedName_.reset();
  Configure(baud, parity, dataBits);
  ScratchBuffer = std::make_unique<std::uint8_t[]>(kScratchSize);
  PortName = portName;
  SetTimeouts(0, 0, 0, 0, 0);
  errorCounts_ = {};
  keepsErrorCounts_ = ReadErrorCounts(errorCounts_);
  return true;
}

void TSerial::Configure(const std::string& baud, const std::string& parity,
                        const std::string& dataBits) {
  if (!IsOpen) return;
  termios record{};
  if (::tcgetattr(Handle, &record) != 0) {
    Report("Unable to set configuration on serial port.", true);
    return;
  }
  serial_line::ApplyLineSettings(record, baud, parity, dataBits);
  // A driver that cannot take one of the settings may refuse the whole record
  // (a pseudo-terminal has no parity); raw mode matters far more than parity,
  // so try once more without it. The outcome is not checked either way.
  if (::tcsetattr(Handle, TCSANOW, &record) != 0 && (record.c_cflag & PARENB) != 0) {
    record.c_cflag &= ~PARENB;
    ::tcsetattr(Handle, TCSANOW, &record);
  }
  SetDTR(0);
  SetRTS(0);
}

void TSerial::Close() {
  if (!IsOpen) return;
  RestoreLine();
  // Clear the exclusive flag first: on a pseudo-terminal it outlives our
  // descriptor while the other side stays open. The lock goes with close.
  ::ioctl(Handle, TIOCNXCL);
  ::close(Handle);
  IsOpen = false;
  PortName.clear();
  Handle = -1;
  ScratchBuffer.reset();
  deviceGone_ = false;
  keepsErrorCounts_ = false;
  simulator_.reset();
}

void TSerial::RestoreLine() {
  // The line goes back to the settings it had before we opened it, once the
  // last bytes we wrote are on the wire: a new rate would garble a byte still
  // leaving. Briefly, as the device may never take them; a pseudo-terminal
  // has no rate to change, and bytes wait there until the other side reads.
  // A capture command takes 10 ms at 9600 baud.
  constexpr int kOutputDrainMs = 20;
  const auto deadline = Clock::now() + std::chrono::milliseconds(kOutputDrainMs);
  int pending = 0;
  while (!pseudoTerminal_ && !deviceGone_ && ::ioctl(Handle, TIOCOUTQ, &pending) == 0 &&
         pending > 0 && Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ::tcsetattr(Handle, TCSANOW, &lineAtOpen_);
}

bool TSerial::ReadErrorCounts(std::array<int, 5>& counts) const {
  serial_icounter_struct driver{};
  if (::ioctl(Handle, TIOCGICOUNT, &driver) != 0) return false;
  counts = {driver.buf_overrun, driver.overrun, driver.parity, driver.frame, driver.brk};
  return true;
}

int TSerial::InQueueCount() {
  if (!IsOpen || deviceGone_) return 0;
  int queued = 0;
  if (::ioctl(Handle, FIONREAD, &queued) != 0) {
    if (MeansDeviceGone(errno) || PeerHungUp()) deviceGone_ = true;
    return 0;
  }
  std::array<int, 5> counts{};
  if (keepsErrorCounts_ && ReadErrorCounts(counts)) {
    const auto asCounts = [](const std::array<int, 5>& c) {
      return serial_line::LineErrorCounts{c[0], c[1], c[2], c[3], c[4]};
    };
    LastError = serial_line::LineErrorMask(asCounts(errorCounts_), asCounts(counts));
    errorCounts_ = counts;
  } else {
    LastError = 0;
  }
  return std::max(queued, 0);
}

bool TSerial::PeerHungUp() const {
  pollfd probe{Handle, POLLIN, 0};
  return ::poll(&probe, 1, 0) > 0 && IsHangup(probe.revents);
}

int TSerial::ReadWithinTimeouts(std::uint8_t* destination, int count) {
  const bool immediate = Timeouts[0] == kAllBits && Timeouts[1] == 0 && Timeouts[2] == 0;
  const auto deadline =
      Clock::now() + std::chrono::milliseconds(std::uint64_t{Timeouts[1]} *
                                                   static_cast<std::uint64_t>(count) +
                                               Timeouts[2]);
  int got = 0;
  bool hangupSeen = false;
  while (got < count && !deviceGone_) {
    const ssize_t r = ::read(Handle, destination + got, static_cast<std::size_t>(count - got));
    const int error = errno;
    if (r > 0) {
      got += static_cast<int>(r);
      continue;
    }
    if (r < 0 && error == EINTR) continue;
    const bool failed = r < 0 && error != EAGAIN && error != EWOULDBLOCK;
    // A read of 0 with one byte required, an I/O error, or nothing to read
    // right after poll announced a hang-up: the device is gone for good.
    if (hangupSeen || (r == 0 && PeerHungUp()) ||
        (failed && (MeansDeviceGone(error) || PeerHungUp()))) {
      deviceGone_ = true;
      break;
    }
    if (failed || immediate) break;
    const int waitMs = MillisecondsUntil(deadline);
    if (waitMs == 0) break;
    pollfd wait{Handle, POLLIN, 0};
    const int ready = ::poll(&wait, 1, waitMs);
    if (ready < 0 && errno != EINTR) break;
    if (ready > 0 && IsHangup(wait.revents)) hangupSeen = true;
  }
  return got;
}

bool TSerial::WriteWithinTimeouts(const std::uint8_t* source, int count) {
  const auto deadline =
      Clock::now() + std::chrono::milliseconds(std::uint64_t{Timeouts[3]} *
                                                   static_cast<std::uint64_t>(count) +
                                               Timeouts[4]);
  int sent = 0;
  bool hangupSeen = false;
  while (sent < count) {
    if (deviceGone_) return false;
    const ssize_t r = ::write(Handle, source + sent, static_cast<std::size_t>(count - sent));
    const int error = errno;
    if (r > 0) {
      sent += static_cast<int>(r);
      continue;
    }
    if (r < 0 && error == EINTR) continue;
    const bool failed = r < 0 && error != EAGAIN && error != EWOULDBLOCK;
    if (hangupSeen || (failed && (MeansDeviceGone(error) || PeerHungUp()))) {
      deviceGone_ = true;
      return false;
    }
    if (failed) return false;
    const int waitMs = MillisecondsUntil(deadline);
    if (waitMs == 0) return false;
    pollfd wait{Handle, POLLOUT, 0};
    const int ready = ::poll(&wait, 1, waitMs);
    if (ready < 0 && errno != EINTR) return false;
    if (ready > 0 && IsHangup(wait.revents)) hangupSeen = true;
  }
  return true;
}

int TSerial::ReadBuffer(void* destination, int count) {
  if (!IsOpen) return 0;
  SetTimeouts(kAllBits, 0, 0, 0, 0);
  if (count <= 0) return 0;
  return ReadWithinTimeouts(static_cast<std::uint8_t*>(destination),
                            std::min(count, kLargestRead));
}

int TSerial::ReadByte(int timeoutMs) {
  if (!IsOpen) return 1000;
  SetTimeouts(0, 0, TimeoutFrom(timeoutMs), 0, 0);
  std::uint8_t byte = 0;
  return ReadWithinTimeouts(&byte, 1) == 1 ? byte : -1;
}

bool TSerial::WriteByte(int value, int timeoutMs) {
  if (!IsOpen) return false;
  SetTimeouts(0, 0, 0, 0, TimeoutFrom(timeoutMs));
  const auto byte = static_cast<std::uint8_t>(value & 0xFF);
  // A byte that could not be handed to the driver in time is reported as a
  // failed write, never as one that went out.
  return WriteWithinTimeouts(&byte, 1);
}

int TSerial::ReadBlock(int count, int timeoutMs) {
  if (!IsOpen) return -1;
  if (count >= 1 && count <= kLargestRead) {
    SetTimeouts(0, 0, TimeoutFrom(timeoutMs), 0, 0);
    return ReadWithinTimeouts(ScratchBuffer.get(), count);
  }
  SetTimeouts(kAllBits, 0, 0, 0, 0);
  // The driver's count lags bytes still on their way from the line to the
  // input queue; a read that finds the queue empty waits for that hand-over
  // (it never waits for the line). So the drain ends only when the count says
  // empty and a read confirms it, and input that had already arrived is
  // never left behind to be mistaken for the next answer.
  // An instrument that never stops sending must not hold the caller: the
  // drain gives up after a bounded time, having discarded what it could.
  const auto giveUpAt = Clock::now() + std::chrono::milliseconds(kLongestDrainMs);
  int total = 0;
  for (;;) {
    if (Clock::now() >= giveUpAt) break;
    const int queued = InQueueCount();
    if (deviceGone_) break;
    const int want = queued > 0 ? std::min(queued, kLargestRead) : kLargestRead;
    const int got = ReadWithinTimeouts(ScratchBuffer.get(), want);
    total += got;
    if (got == 0) break;
  }
  return total;
}

void TSerial::SetModemLine(int line, int state) {
  if (!IsOpen) return;
  if (state != 0 && state != 1) return;
  // Drivers without modem lines (a pseudo-terminal) refuse; there is nothing
  // to drive there, so the refusal is not an error.
  ::ioctl(Handle, state == 1 ? TIOCMBIS : TIOCMBIC, &line);
}

void TSerial::SetDTR(int state) { SetModemLine(TIOCM_DTR, state); }

void TSerial::SetRTS(int state) { SetModemLine(TIOCM_RTS, state); }

bool TSerial::SetTimeouts(std::uint32_t readInterval, std::uint32_t readMultiplier,
                          std::uint32_t readConstant, std::uint32_t writeMultiplier,
                          std::uint32_t writeConstant) {
  Timeouts = {readInterval, readMultiplier, readConstant, writeMultiplier, writeConstant};
  // Every read and write takes its deadline from these values when it starts;
  // the descriptor itself never blocks. Unlike the all-zero profile of some
  // platforms, a zero total here means "do not wait", never "wait forever".
  return IsOpen && !deviceGone_;
}

#include "serial/PortPath.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

namespace port_path {
namespace {

// The kernel numbers the slave sides of pseudo-terminals from this major on,
// over eight majors.
constexpr unsigned kFirstPtySlaveMajor = 136;
constexpr unsigned kPtySlaveMajorCount = 8;

// Where there is no sysfs to ask, the serial drivers' fixed majors: 8250-style
// ports (ttyS, from minor 64 on; below are the virtual consoles), USB serial
// bridges (ttyUSB), USB modems (ttyACM), and the low-density serial drivers
// of boards (ttyAMA and others).
struct SerialMajor {
  unsigned major;
  unsigned firstMinor;
};
constexpr std::array<SerialMajor, 4> kSerialMajors{{{4, 64}, {188, 0}, {166, 0}, {204, 0}}};

constexpr std::size_t kMessageNameLength = 80;

std::string SysfsNode(unsigned major, unsigned minor) {
  return "/sys/dev/char/" + std::to_string(major) + ":" + std::to_string(minor);
}

std::optional<std::string> Canonical(const std::string& path) {
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr) return std::nullopt;
  return std::string(resolved);
}

// A terminal whose driver sits on real hardware. sysfs files virtual
// terminals (consoles, /dev/tty, /dev/ptmx) under /sys/devices/virtual and
// gives them no "device" link; a serial port has one.
bool IsHardwareTerminal(unsigned major, unsigned minor) {
  struct stat info {};
  if (::stat("/sys/dev/char", &info) != 0) {
    for (const SerialMajor& row : kSerialMajors)
      if (row.major == major && minor >= row.firstMinor) return true;
    return false;
  }
  const std::string node = SysfsNode(major, minor);
  const std::optional<std::string> subsystem = Canonical(node + "/subsystem");
  const std::string ttyClass = "/class/tty";
  if (!subsystem || subsystem->size() < ttyClass.size() ||
      subsystem->compare(subsystem->size() - ttyClass.size(), ttyClass.size(), ttyClass) != 0)
    return false;
  return ::lstat((node + "/device").c_str(), &info) == 0;
}

// The controlling terminal's device number from /proc/self/stat (field 7,
// after the command name in parentheses, which may hold anything).
std::optional<dev_t> ControllingTerminal() {
  std::ifstream file("/proc/self/stat");
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const std::size_t close = text.rfind(')');
  if (close == std::string::npos) return std::nullopt;
  std::istringstream fields(text.substr(close + 1));
  std::string state;
  long long parent = 0, group = 0, session = 0, terminal = 0;
  if (!(fields >> state >> parent >> group >> session >> terminal) || terminal == 0)
    return std::nullopt;
  const auto encoded = static_cast<unsigned long long>(terminal);
  const unsigned major = static_cast<unsigned>((encoded >> 8) & 0xFFF);
  const unsigned minor = static_cast<unsigned>((encoded & 0xFF) | ((encoded >> 12) & 0xFFF00));
  return makedev(major, minor);
}

bool IsOwnTerminal(dev_t device) {
  if (const std::optional<dev_t> controlling = ControllingTerminal();
      controlling && *controlling == device)
    return true;
  for (const int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    struct stat info {};
    if (::fstat(stream, &info) == 0 && S_ISCHR(info.st_mode) && info.st_rdev == device &&
        ::isatty(stream))
      return true;
  }
  return false;
}

}  // namespace

bool IsPseudoTerminalSlave(unsigned major) {
  return major >= kFirstPtySlaveMajor && major < kFirstPtySlaveMajor + kPtySlaveMajorCount;
}

Refusal Classify(const NodeFacts& facts) {
  if (!facts.characterDevice) return Refusal::NotSerialPort;
  if (facts.devicePathLength > kLongestDevicePath) return Refusal::NameTooLong;
  if (facts.ownTerminal) return Refusal::OwnTerminal;
  if (IsPseudoTerminalSlave(facts.major) || facts.hardwareTerminal) return Refusal::None;
  return Refusal::NotSerialPort;
}

PortCheck CheckPortName(const std::string& name) {
  PortCheck check;
  // No path is that long, and a name with a NUL in it names some other path
  // than the one given: neither is looked up at all.
  if (name.size() >= PATH_MAX) {
    check.refusal = Refusal::NameTooLong;
    return check;
  }
  if (name.find('\0') != std::string::npos) {
    check.refusal = Refusal::NotSerialPort;
    return check;
  }
  const std::optional<std::string> resolved = Canonical(name);
  if (!resolved) {
    if (errno == ENAMETOOLONG) {
      check.refusal = Refusal::NameTooLong;
    } else {
      check.error = errno;
    }
    return check;
  }
  struct stat info {};
  if (::stat(resolved->c_str(), &info) != 0) {
    check.error = errno;
    return check;
  }
  NodeFacts facts;
  facts.characterDevice = S_ISCHR(info.st_mode);
  facts.devicePathLength = resolved->size();
  if (facts.characterDevice) {
    facts.major = ::major(info.st_rdev);
    facts.minor = ::minor(info.st_rdev);
    facts.hardwareTerminal = IsHardwareTerminal(facts.major, facts.minor);
    facts.ownTerminal = IsOwnTerminal(info.st_rdev);
  }
  check.refusal = Classify(facts);
  check.devicePath = *resolved;
  check.device = info.st_rdev;
  return check;
}

std::string RefusalReason(Refusal refusal) {
  switch (refusal) {
    case Refusal::NameTooLong:
      return "The name is too long for a port.";
    case Refusal::NotSerialPort:
      return "This is not a serial port.";
    case Refusal::OwnTerminal:
      return "This is the terminal the program runs in, not a serial port.";
    case Refusal::None:
      break;
  }
  return {};
}

int RefusalError(Refusal refusal) {
  switch (refusal) {
    case Refusal::NameTooLong:
      return ENAMETOOLONG;
    case Refusal::NotSerialPort:
      return ENOTTY;
    case Refusal::OwnTerminal:
      return EBUSY;
    case Refusal::None:
      break;
  }
  return 0;
}

std::string NameForMessage(const std::string& name) {
  if (name.size() <= kMessageNameLength) return name;
  // The end of a by-id name tells the devices apart, so both ends stay.
  constexpr std::size_t kEachEnd = (kMessageNameLength - 3) / 2;
  return name.substr(0, kEachEnd) + "..." + name.substr(name.size() - kEachEnd);
}

}  // namespace port_path

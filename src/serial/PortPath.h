#pragma once
// Which names may be opened as the instrument's port, decided before anything
// is opened: opening is not harmless for every device (/dev/ptmx makes a new
// pseudo-terminal, /dev/tty is the user's own terminal, some devices act on
// open), so the checks look at the file system only.
//
// A port name is the path the user gave: a device node, or a link to one such
// as the stable /dev/serial/by-id/ names. Links are followed to the device
// node, and that node must be a serial port: a terminal behind real hardware
// (ttyUSB, ttyACM, ttyS, ...) or a pseudo-terminal's slave side (the
// simulator's), never the terminal the program runs in.

#include <sys/types.h>

#include <cstddef>
#include <string>

namespace port_path {

// Longest device node a port may resolve to; real ones are far shorter.
inline constexpr std::size_t kLongestDevicePath = 64;

enum class Refusal {
  None,
  NameTooLong,    // no such path can exist, or its device node is too long
  NotSerialPort,  // a file, a folder, a FIFO, or a device that is no serial port
  OwnTerminal,    // the terminal this program runs in
};

// What the file system says about a resolved name, the input of Classify.
struct NodeFacts {
  bool characterDevice = false;
  unsigned major = 0;
  unsigned minor = 0;
  // The driver class of the device is "tty", and the device hangs off real
  // hardware (not a virtual console, /dev/tty, /dev/console or /dev/ptmx).
  bool hardwareTerminal = false;
  // The device is the process's controlling terminal or one of its standard
  // streams.
  bool ownTerminal = false;
  std::size_t devicePathLength = 0;
};

// The decision over the facts, without touching anything.
Refusal Classify(const NodeFacts& facts);

// True for the slave side of a pseudo-terminal, by its device number.
bool IsPseudoTerminalSlave(unsigned major);

struct PortCheck {
  Refusal refusal = Refusal::None;
  // errno of a failed look-up (a name that does not exist, no permission),
  // 0 when the look-up worked.
  int error = 0;
  std::string devicePath;  // the device node the name leads to
  dev_t device = 0;        // its device number, to check the opened node against
};

// Looks the name up (stat, links, sysfs); never opens it.
PortCheck CheckPortName(const std::string& name);

// The reason shown after "Could not open port: NAME.  ".
std::string RefusalReason(Refusal refusal);

// The error recorded in TSerial::LastError for a refused name.
int RefusalError(Refusal refusal);

// The name as a message shows it: a long one is cut short in the middle.
std::string NameForMessage(const std::string& name);

}  // namespace port_path

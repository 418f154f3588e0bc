#pragma once
// How a simulated instrument behaves: its input signals, its identity, how it
// paces its answers and which faults it shows on demand. The defaults give
// the default front panel (5 V/div, 100 us/div, CH1 rising at about 2.5 V,
// auto) a still picture of a few periods on each channel.

#include <optional>
#include <string>
#include <vector>

#include "sim/InstrumentModel.h"

namespace sim {

struct Faults {
  bool silent = false;         // reads everything, answers nothing
  bool garbage = false;        // every answer is random bytes of the same length
  int truncateReplyAt = -1;    // capture replies end after this many bytes
  int dropAfterCaptures = -1;  // the link goes away once this many replies are out
  int dripMilliseconds = 0;    // answers go out one byte at a time, this far apart
  bool wrongIdentify = false;  // the identify answer does not start with "O"
  bool badDate = false;        // the identify answer's date digits name no month or year
  bool flood = false;          // random bytes as fast as the link takes them, answers nothing
  int lateLastMilliseconds = 0;  // the last byte of each capture reply comes this much later
};

// The fewest milliseconds between a capture command and its reply by default:
// at most 50 captures a second, about what a screen can show.
inline constexpr int DefaultMinReplyMilliseconds = 20;

struct SimConfig {
  Inputs inputs{
      {Shape::Sine, 2000.0, 4.0, 0.0},    // CH1: 2 kHz, 8 V peak to peak
      {Shape::Square, 4000.0, 2.5, 0.0},  // CH2: 4 kHz, 5 V peak to peak
      ExternalTtlSquare(2000.0),
  };
  IdentityBytes identity;
  bool realTime = false;  // a reply leaves no earlier than its last sample was taken
  int baud = 0;           // 0: as fast as the link takes it; else 11 bits a byte at this rate
  int autoWaitMilliseconds = 100;  // how long auto mode waits for an edge
  // No reply leaves sooner than this after its command (0: unpaced).
  int minReplyMilliseconds = DefaultMinReplyMilliseconds;
  // The stop byte cancels only a capture still waiting for its trigger; a
  // reply already going out is sent to its end.
  bool finishReplies = false;
  Faults faults;
  std::string logPath;   // each received frame as a line of hex
  std::string linkPath;  // a symlink to the slave, kept by tessaron-sim
};

struct ParsedArguments {
  SimConfig config;
  bool help = false;
  std::string error;  // empty when the arguments were understood
};

// The command line of tessaron-sim, without the program name.
ParsedArguments ParseArguments(const std::vector<std::string>& arguments);
std::string HelpText();

}  // namespace sim

#pragma once
// The simulated instrument that the port name "SIM1" opens: a pseudo-terminal
// whose master side is served by the simulator on a thread of its own. The
// slave side is an ordinary serial device path that TSerial opens like any
// other port. The simulator runs from construction until destruction.

#include <memory>
#include <string>
#include <vector>

#include "sim/FrameLog.h"

class BuiltInSimulator {
 public:
  BuiltInSimulator();   // throws std::runtime_error when no pseudo-terminal can be had
  ~BuiltInSimulator();  // stops the thread and closes the master side
  BuiltInSimulator(const BuiltInSimulator&) = delete;
  BuiltInSimulator& operator=(const BuiltInSimulator&) = delete;

  const std::string& SlavePath() const;
  // The frames it received, as tessaron-sim's log gives them (bounded).
  std::vector<sim::ReceivedFrame> ReceivedFrames() const;

  // Paced like an instrument a user sees (at most 50 captures a second) unless
  // set otherwise; benchmarks and tests that want full speed turn this on
  // before the port is opened. Also on when TESSARON_SIM1_UNPACED is set.
  static void SetUnpaced(bool unpaced);
  static bool Unpaced();

  // Replies sent at the instrument's line speed, 11 bits a byte at this many
  // baud (9600: a capture reply takes 3.44 s), as `tessaron-sim --baud`
  // sends them; 0, the default, as fast as the pseudo-terminal takes them.
  // Unset here (0), TESSARON_SIM1_BAUD gives the rate ("9600"); a value
  // that is no rate `--baud` takes is written to standard error once and
  // ignored. Set before the port is opened; orthogonal to SetUnpaced, as
  // the two options of tessaron-sim are.
  static void SetBaud(int baud);
  static int Baud();

 private:
  struct Impl;
  std::unique_ptr<Impl> d;
};

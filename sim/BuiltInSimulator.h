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

 private:
  struct Impl;
  std::unique_ptr<Impl> d;
};

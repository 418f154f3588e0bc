#pragma once
// The simulated instrument that the port name "SIM1" opens: a pseudo-terminal
// whose master side is served by the simulator on a thread of its own. The
// slave side is an ordinary serial device path that TSerial opens like any
// other port. The simulator runs from construction until destruction.

#include <memory>
#include <string>

class BuiltInSimulator {
 public:
  BuiltInSimulator();   // throws std::runtime_error when no pseudo-terminal can be had
  ~BuiltInSimulator();  // stops the thread and closes the master side
  BuiltInSimulator(const BuiltInSimulator&) = delete;
  BuiltInSimulator& operator=(const BuiltInSimulator&) = delete;

  const std::string& SlavePath() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> d;
};

#pragma once
// The instrument for the run/stop tests and the capture benchmark: a real
// tessaron-sim process from the bin folder, serving a pseudo-terminal, with
// the log of every frame it received. Tests act during a pending capture
// through the Script of support/StepScript.h.

#include "support/SimProcess.h"
#include "support/StepScript.h"

#include <QStringList>

#include <string>

// Started with its options at once; the scope opens Device().
class RunStopSim : public SimProcess {
 public:
  explicit RunStopSim(const QStringList& options = {}) { Start(options); }
  std::string Device() const { return Link().toStdString(); }
};

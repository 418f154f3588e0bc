#include "sim/BuiltInSimulator.h"

#include "sim/SimServer.h"

// The port "SIM1" is the default instrument: the signals, identity and
// pacing of a plain `tessaron-sim` run.
struct BuiltInSimulator::Impl {
  sim::SimServer server{sim::SimConfig{}};
};

BuiltInSimulator::BuiltInSimulator() : d(std::make_unique<Impl>()) {}

BuiltInSimulator::~BuiltInSimulator() = default;

const std::string& BuiltInSimulator::SlavePath() const { return d->server.SlavePath(); }

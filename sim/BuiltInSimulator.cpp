#include "sim/BuiltInSimulator.h"

#include <atomic>
#include <cstdlib>

#include "sim/SimServer.h"

namespace {

std::atomic<bool> unpacedSwitch{false};

sim::SimConfig BuiltInConfig() {
  // The signals, identity and pacing of a plain `tessaron-sim` run.
  sim::SimConfig config;
  if (BuiltInSimulator::Unpaced()) config.minReplyMilliseconds = 0;
  return config;
}

}  // namespace

struct BuiltInSimulator::Impl {
  sim::SimServer server{BuiltInConfig()};
};

BuiltInSimulator::BuiltInSimulator() : d(std::make_unique<Impl>()) {}

BuiltInSimulator::~BuiltInSimulator() = default;

const std::string& BuiltInSimulator::SlavePath() const { return d->server.SlavePath(); }

std::vector<sim::ReceivedFrame> BuiltInSimulator::ReceivedFrames() const {
  return d->server.ReceivedFrames();
}

void BuiltInSimulator::SetUnpaced(bool unpaced) { unpacedSwitch = unpaced; }

bool BuiltInSimulator::Unpaced() {
  const char* variable = std::getenv("TESSARON_SIM1_UNPACED");
  return unpacedSwitch.load() || (variable != nullptr && *variable != '\0' && *variable != '0');
}

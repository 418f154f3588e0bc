#include "sim/BuiltInSimulator.h"

#include <atomic>
#include <cstdlib>
#include <iostream>
#include <mutex>

#include "sim/SimConfig.h"
#include "sim/SimServer.h"

namespace {

std::atomic<bool> unpacedSwitch{false};
std::atomic<int> baudSwitch{0};

constexpr const char* kBaudVariable = "TESSARON_SIM1_BAUD";

// The rate TESSARON_SIM1_BAUD names, read as tessaron-sim reads `--baud=RATE`
// so both take the same rates; empty or "0" is no line speed.
int BaudFromEnvironment() {
  const char* variable = std::getenv(kBaudVariable);
  if (variable == nullptr || *variable == '\0' || std::string(variable) == "0") return 0;
  const sim::ParsedArguments parsed = sim::ParseArguments({std::string("--baud=") + variable});
  if (!parsed.error.empty()) {
    // A port opens every second while the instrument is looked for: said once.
    static std::once_flag told;
    std::call_once(told, [&] {
      std::cerr << kBaudVariable << "=" << variable << " is ignored: " << parsed.error << "\n";
    });
    return 0;
  }
  return parsed.config.baud;
}

sim::SimConfig BuiltInConfig() {
  // The signals, identity and pacing of a plain `tessaron-sim` run, with
  // `--unpaced` and `--baud=RATE` as chosen.
  sim::SimConfig config;
  if (BuiltInSimulator::Unpaced()) config.minReplyMilliseconds = 0;
  config.baud = BuiltInSimulator::Baud();
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

void BuiltInSimulator::SetBaud(int baud) { baudSwitch = baud > 0 ? baud : 0; }

int BuiltInSimulator::Baud() {
  const int set = baudSwitch.load();
  return set > 0 ? set : BaudFromEnvironment();
}

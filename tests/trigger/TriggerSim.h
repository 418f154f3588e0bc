#pragma once
// The instrument for the trigger tests: the simulator served in-process on a
// real pseudo-terminal, with every frame it received.

#include "sim/SimServer.h"
#include "support/StepScript.h"

#include <QElapsedTimer>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class TriggerInstrument {
 public:
  explicit TriggerInstrument(sim::SimConfig config = {}) : server_(std::move(config)) {}
  const std::string& Device() const { return server_.SlavePath(); }

  // Each frame as its hex text: "AA 61 F3 1C 00 D0 08 ED 03", "FF".
  std::vector<std::string> Frames() const {
    std::vector<std::string> out;
    for (const sim::ReceivedFrame& f : server_.ReceivedFrames()) out.push_back(sim::HexText(f.bytes));
    return out;
  }
  std::vector<std::string> Commands() const {
    std::vector<std::string> out;
    for (const sim::ReceivedFrame& f : server_.ReceivedFrames())
      if (f.kind == sim::FrameKind::Capture) out.push_back(sim::HexText(f.bytes));
    return out;
  }
  int CommandCount() const { return int(Commands().size()); }
  // The order of commands ("AA") and stop bytes ("FF") on the wire.
  std::string Wire() const {
    std::string wire;
    for (const sim::ReceivedFrame& f : server_.ReceivedFrames()) {
      if (!wire.empty()) wire += ' ';
      wire += f.kind == sim::FrameKind::Capture ? std::string("AA") : sim::HexText(f.bytes);
    }
    return wire;
  }
  // Byte i (0 = the start byte) of a command's hex text.
  static int Byte(const std::string& command, int i) {
    return std::stoi(command.substr(std::size_t(i) * 3, 2), nullptr, 16);
  }

 private:
  sim::SimServer server_;
};

// Inputs held at 0 V: a normal-mode capture is never answered.
inline sim::SimConfig NoEdgeConfig() {
  sim::SimConfig config;
  config.inputs.ch1 = {sim::Shape::DC, 0, 0, 0};
  config.inputs.ch2 = {sim::Shape::DC, 0, 0, 0};
  return config;
}

#pragma once
// The instrument for the trigger tests: the simulator served in-process on a
// real pseudo-terminal, with every frame it received; and a script of steps
// that runs from a timer inside whatever event loop is active, so a test can
// act while GetData waits in its nested dispatch.

#include "sim/SimServer.h"

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

// Steps run in order from a 1 ms timer: each waits for its condition, then
// acts. The action is posted to run on its own, so an action that blocks in
// a nested capture wait (a re-issued capture) leaves the script's timer free
// to go on with the next steps inside that wait: Qt never fires a timer again
// while its own timeout is still running. Past the deadline the rescue ends
// acquisition so a test cannot hang.
class Script {
 public:
  explicit Script(std::function<void()> rescue, int deadlineMs = 15000)
      : rescue_(std::move(rescue)), deadlineMs_(deadlineMs) {
    clock_.start();
    timer_.setInterval(1);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start();
  }
  Script& When(std::function<bool()> condition, std::function<void()> action) {
    steps_.push_back({std::move(condition), std::move(action)});
    return *this;
  }
  bool Done() const { return finished_ == steps_.size(); }
  bool TimedOut() const { return timedOut_; }

 private:
  void Poll() {
    if (!Done() && clock_.elapsed() > deadlineMs_ && !timedOut_) {
      timedOut_ = true;
      rescue_();
    }
    // One step at a time: the next condition is looked at once the previous
    // action has begun.
    if (timedOut_ || next_ >= steps_.size() || started_ < next_ || !steps_[next_].first()) return;
    const std::size_t step = next_++;
    QTimer::singleShot(0, &timer_, [this, step] {
      ++started_;
      steps_[step].second();
      ++finished_;
    });
  }

  std::vector<std::pair<std::function<bool()>, std::function<void()>>> steps_;
  std::size_t next_ = 0;
  std::size_t started_ = 0;
  std::size_t finished_ = 0;
  std::function<void()> rescue_;
  int deadlineMs_;
  bool timedOut_ = false;
  QElapsedTimer clock_;
  QTimer timer_;
};

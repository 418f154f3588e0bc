#pragma once
// A script of test steps that runs from a 1 ms timer inside whatever event
// loop is active, so a test can act while GetData waits in its nested
// dispatch.

#include <QElapsedTimer>
#include <QTimer>

#include <functional>
#include <utility>
#include <vector>

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

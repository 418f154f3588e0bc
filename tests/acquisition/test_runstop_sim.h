#pragma once
// The instrument for the run/stop tests and the capture benchmark: a real
// tessaron-sim process from the bin folder, serving a pseudo-terminal, with
// the log of every frame it received; and a script of steps that runs inside
// whatever event loop is active, so a test can act while GetData waits in
// its nested dispatch.

#include "app/Paths.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

class RunStopSim {
 public:
  // Starts tessaron-sim with the given options and returns once its device
  // exists.
  explicit RunStopSim(const QStringList& options = {}) {
    if (!dir_.isValid()) throw std::runtime_error("no temporary folder");
    process_.setProgram(ProgramPath(QStringLiteral("tessaron-sim")));
    process_.setArguments(options + QStringList{QStringLiteral("--link"), Link(),
                                                QStringLiteral("--log"), LogPath()});
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start();
    if (!process_.waitForStarted(10000) || !process_.waitForReadyRead(10000) ||
        !QFile::exists(Link()))
      throw std::runtime_error("tessaron-sim did not start");
  }
  ~RunStopSim() {
    process_.terminate();
    if (!process_.waitForFinished(10000)) {
      process_.kill();
      process_.waitForFinished(10000);
    }
  }
  RunStopSim(const RunStopSim&) = delete;
  RunStopSim& operator=(const RunStopSim&) = delete;

  std::string Device() const { return Link().toStdString(); }

  // Every frame the instrument received, in order, as its hex line:
  // "AA 61 F3 1C 00 D0 08 ED 03" for a capture command, "FF" for a stop byte.
  QList<QByteArray> Frames() const {
    QFile log(LogPath());
    QList<QByteArray> frames;
    if (!log.open(QIODevice::ReadOnly)) return frames;
    for (const QByteArray& line : log.readAll().split('\n')) {
      const QByteArray frame = line.trimmed();
      if (!frame.isEmpty()) frames.push_back(frame);
    }
    return frames;
  }
  static bool IsCommand(const QByteArray& frame) { return frame.startsWith("AA "); }
  static bool IsStop(const QByteArray& frame) { return frame == "FF"; }
  int Commands() const {
    int count = 0;
    for (const QByteArray& f : Frames()) count += IsCommand(f) ? 1 : 0;
    return count;
  }
  // The frames with each capture command shown as "AA" alone: the order of
  // commands and stop bytes on the wire.
  QByteArray Wire() const {
    QByteArrayList kinds;
    for (const QByteArray& f : Frames()) kinds.push_back(IsCommand(f) ? QByteArray("AA") : f);
    return kinds.join(' ');
  }

 private:
  QString Link() const { return dir_.filePath(QStringLiteral("scope-link")); }
  QString LogPath() const { return dir_.filePath(QStringLiteral("frames.log")); }

  QTemporaryDir dir_;
  QProcess process_;
};

// Steps that run, in order: each waits for its condition and then acts. A
// 1 ms timer checks the conditions in any event loop, the nested one inside
// GetData included. Each action is posted as an event of its own, so an
// action that blocks in a nested loop (starting acquisition, re-issuing a
// capture) leaves the checks running and later steps act inside it; a step
// is looked at only once the one before has begun. A script that has not
// finished by its deadline ends the acquisition (the rescue sets Running = 0)
// so the test cannot hang, and reports it through TimedOut().
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
  // Done once the last action has returned.
  bool Done() const { return finished_ == steps_.size(); }
  bool TimedOut() const { return timedOut_; }

 private:
  void Poll() {
    if (!Done() && clock_.elapsed() > deadlineMs_) {
      timedOut_ = true;
      rescue_();
      return;
    }
    if (next_ == steps_.size() || begun_ < next_ || !steps_[next_].first()) return;
    const std::size_t step = next_++;
    QTimer::singleShot(0, &timer_, [this, step] {
      ++begun_;
      steps_[step].second();
      ++finished_;
    });
  }

  std::vector<std::pair<std::function<bool()>, std::function<void()>>> steps_;
  std::size_t next_ = 0;
  std::size_t begun_ = 0;
  std::size_t finished_ = 0;
  std::function<void()> rescue_;
  int deadlineMs_;
  bool timedOut_ = false;
  QElapsedTimer clock_;
  QTimer timer_;
};

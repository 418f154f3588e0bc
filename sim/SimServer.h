#pragma once
// A simulated instrument on a real pseudo-terminal. The server owns the
// master side and serves the protocol on a thread of its own from
// construction until destruction; the slave side is an ordinary serial
// device path for the scope (or a test) to open, close and reopen at will.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/FrameLog.h"
#include "sim/SimConfig.h"

namespace sim {

class SimServer {
 public:
  // Throws std::runtime_error when no pseudo-terminal can be had or the log
  // file cannot be created.
  explicit SimServer(SimConfig config);
  ~SimServer();
  SimServer(const SimServer&) = delete;
  SimServer& operator=(const SimServer&) = delete;

  const std::string& SlavePath() const { return slavePath_; }

  // Safe to call from any thread while the server runs. The frames still
  // held by the log (the most recent FrameLog::DefaultCapacity).
  std::vector<ReceivedFrame> ReceivedFrames() const { return log_.Frames(); }
  const FrameLog& Log() const { return log_; }
  int CapturesAnswered() const { return capturesAnswered_.load(); }
  bool LinkDropped() const { return linkDropped_.load(); }

 private:
  struct Answer {
    std::vector<std::uint8_t> bytes;
    std::size_t sent = 0;
    bool isCaptureReply = false;
    // Not before this time (seconds since the epoch), for the last byte of a
    // reply held back by the late-last fault; -1: no hold.
    double lastByteAt = -1;
  };
  struct PendingCapture {
    CaptureSetup setup;
    double dueAt = 0;       // when to look for the edge again, or to send the reply
    double searchFrom = 0;  // where the look for an edge goes on
    bool replyReady = false;
    double earliestReplyAt = 0;  // the instrument's pace: no reply sooner
    std::vector<std::uint8_t> reply;
  };

  void Serve();
  double Now() const;
  void TakeInput();  // reads what came, and gathers the rest of a command
  void ReadInput();
  void Feed(std::uint8_t byte);
  void Record(FrameKind kind, std::vector<std::uint8_t> bytes);
  void AnswerIdentify();
  void ArmCapture(const CommandFrame& frame);
  void ServicePending(double now);
  void DecideCapture(PendingCapture& pending, double now);
  void Enqueue(std::vector<std::uint8_t> bytes, bool isCaptureReply, double now);
  void WriteOutput(double now);
  void DropLink();
  void Flood();
  bool Answering() const {
    return !config_.faults.silent && !config_.faults.flood && dropAt_ < 0;
  }
  std::uint8_t RandomByte();

  const SimConfig config_;
  const double bytesPerSecond_;  // 0: unpaced
  int master_ = -1;
  std::string slavePath_;
  int wakeRead_ = -1;
  int wakeWrite_ = -1;
  std::chrono::steady_clock::time_point epoch_;

  FrameLog log_;
  std::atomic<int> capturesAnswered_{0};
  std::atomic<bool> linkDropped_{false};
  std::atomic<bool> stopping_{false};

  // Owned by the serving thread alone.
  std::vector<std::uint8_t> command_;  // a capture command being received
  bool receivingCommand_ = false;
  double commandStartedAt_ = 0;  // when its start byte came
  // A paced instrument takes the rest of a command that came in part once
  // this much later, in one read, rather than waking for every byte.
  double gatherUntil_ = -1;
  bool hasPending_ = false;
  PendingCapture pending_;
  std::vector<Answer> output_;  // in order; the front one is going out
  double nextByteAt_ = 0;
  double holdUntil_ = -1;  // the front answer's held last byte is due then
  bool writeBlocked_ = false;
  double dropAt_ = -1;  // when the drop fault closes the link; -1 while it does not
  std::uint64_t randomState_ = 0x9E3779B97F4A7C15ULL;
  std::vector<std::uint8_t> floodNoise_;  // the flood fault's bytes, made once
  std::size_t floodAt_ = 0;

  std::thread thread_;  // last: starts once everything above is in place
};

}  // namespace sim

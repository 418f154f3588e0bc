#include "sim/SimServer.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace sim {

namespace {

// A normal-mode capture without an edge goes on looking where it left off,
// a stretch at a time (a slow signal or noise may still bring one), rather
// than scanning the same samples again and again while it waits.
constexpr long kNormalSearchSamples = 1L << 16;
constexpr double kNormalRetrySeconds = 0.25;
// While no one has the slave open the master reports a hang-up at once on
// every poll; look again after this long rather than spin.
constexpr double kHangupBackoffSeconds = 0.02;
constexpr double kBitsPerByte = 11.0;  // start, 8 data, even parity, stop
// Closing the master throws away what the slave has not read yet, so the
// last reply before a drop gets this long to be read.
constexpr double kDropGraceSeconds = 0.3;
// A scope writes a command a byte at a time; a paced instrument looks for the
// rest of one that came in part this long after, rather than at every byte.
// Far less than a command takes at 9600 baud (over 9 ms).
constexpr double kCommandGatherSeconds = 0.001;

[[noreturn]] void Fail(const std::string& what) {
  throw std::runtime_error(what + ": " + std::strerror(errno));
}

double PacedRate(const SimConfig& config) {
  double rate = std::numeric_limits<double>::infinity();
  if (config.baud > 0) rate = config.baud / kBitsPerByte;
  if (config.faults.dripMilliseconds > 0) {
    rate = std::min(rate, 1000.0 / config.faults.dripMilliseconds);
  }
  return std::isinf(rate) ? 0.0 : rate;
}

}  // namespace

SimServer::SimServer(SimConfig config)
    : config_(std::move(config)),
      bytesPerSecond_(PacedRate(config_)),
      epoch_(std::chrono::steady_clock::now()),
      log_(config_.logPath) {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0) Fail("no pseudo-terminal");
  // Raw before anyone opens the slave: it starts in cooked mode and would
  // echo the scope's first bytes straight back to it.
  termios record{};
  char name[128] = {};
  if (grantpt(master_) != 0 || unlockpt(master_) != 0 || tcgetattr(master_, &record) != 0 ||
      ptsname_r(master_, name, sizeof name) != 0) {
    const int error = errno;
    ::close(master_);
    errno = error;
    Fail("pseudo-terminal not usable");
  }
  cfmakeraw(&record);
  tcsetattr(master_, TCSANOW, &record);
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  slavePath_ = name;

  int wake[2];
  if (pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
    const int error = errno;
    ::close(master_);
    errno = error;
    Fail("no wake-up pipe");
  }
  wakeRead_ = wake[0];
  wakeWrite_ = wake[1];
  thread_ = std::thread([this] { Serve(); });
}

SimServer::~SimServer() {
  stopping_ = true;
  const char wake = 1;
  [[maybe_unused]] const auto written = ::write(wakeWrite_, &wake, 1);
  thread_.join();
  if (master_ >= 0) ::close(master_);
  ::close(wakeRead_);
  ::close(wakeWrite_);
}

double SimServer::Now() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - epoch_).count();
}

void SimServer::Serve() {
  double hangupUntil = -1;
  while (!stopping_ && master_ >= 0) {
    if (gatherUntil_ >= 0 && Now() >= gatherUntil_) {
      // The rest of the command has had its moment: read it without asking
      // the poll first (nothing there is no harm).
      gatherUntil_ = -1;
      TakeInput();
    }
    double now = Now();
    ServicePending(now);
    WriteOutput(now);
    if (dropAt_ >= 0 && now >= dropAt_) {
      DropLink();
      break;
    }

    double wakeAt = dropAt_ >= 0 ? dropAt_ : std::numeric_limits<double>::infinity();
    if (hasPending_) wakeAt = std::min(wakeAt, pending_.dueAt);
    if (!output_.empty() && !writeBlocked_ && bytesPerSecond_ > 0) {
      wakeAt = std::min(wakeAt, nextByteAt_);
    }
    if (!output_.empty() && !writeBlocked_ && holdUntil_ >= 0) {
      wakeAt = std::min(wakeAt, holdUntil_);
    }
    const bool gathering = now < gatherUntil_;
    const bool watchMaster = now >= hangupUntil && !gathering;
    if (now < hangupUntil) wakeAt = std::min(wakeAt, hangupUntil);
    if (gathering) wakeAt = std::min(wakeAt, gatherUntil_);
    int timeoutMs = -1;
    if (!std::isinf(wakeAt)) {
      timeoutMs = static_cast<int>(std::clamp(std::ceil((wakeAt - now) * 1000.0), 0.0,
                                              static_cast<double>(INT_MAX)));
    }

    const bool wantWrite = writeBlocked_ || config_.faults.flood;
    pollfd fds[2] = {{wakeRead_, POLLIN, 0},
                     {watchMaster ? master_ : -1,
                      static_cast<short>(POLLIN | (wantWrite ? POLLOUT : 0)), 0}};
    if (::poll(fds, 2, timeoutMs) < 0) continue;  // EINTR: look again
    if (fds[0].revents != 0) {
      char drain[16];
      while (::read(wakeRead_, drain, sizeof drain) > 0) {
      }
    }
    if ((fds[1].revents & POLLIN) != 0) {
      TakeInput();
    } else if ((fds[1].revents & (POLLHUP | POLLERR)) != 0) {
      hangupUntil = Now() + kHangupBackoffSeconds;
    }
    if ((fds[1].revents & POLLOUT) != 0 && config_.faults.flood) Flood();
  }
}

void SimServer::TakeInput() {
  ReadInput();
  // Paced, the rest of a command that came in part is read in one go.
  const bool paced = config_.minReplyMilliseconds > 0 || bytesPerSecond_ > 0;
  if (paced && receivingCommand_) gatherUntil_ = Now() + kCommandGatherSeconds;
}

void SimServer::ReadInput() {
  std::uint8_t buffer[4096];
  for (;;) {
    const ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n <= 0) return;  // EAGAIN, or EIO once the slave has gone
    for (ssize_t i = 0; i < n; ++i) Feed(buffer[i]);
    // A short read took all there was; anything later wakes the next poll.
    if (static_cast<std::size_t>(n) < sizeof buffer) return;
  }
}

void SimServer::Feed(std::uint8_t byte) {
  // Inside a command every byte is data, 255 and 170 included: the level
  // byte may well be 255.
  if (receivingCommand_) {
    command_.push_back(byte);
    if (command_.size() == kCommandLength) {
      receivingCommand_ = false;
      CommandFrame frame;
      std::copy(command_.begin(), command_.end(), frame.begin());
      Record(FrameKind::Capture, command_);
      ArmCapture(frame);
    }
    return;
  }
  switch (byte) {
    case kStartByte:
      command_.assign(1, byte);
      receivingCommand_ = true;
      commandStartedAt_ = Now();
      break;
    case kIdentifyQuery:
      Record(FrameKind::Identify, {byte});
      AnswerIdentify();
      break;
    case kStopByte:
      Record(FrameKind::Stop, {byte});
      // Ends a capture still waiting for its trigger. Unless told to finish
      // its replies (as an instrument may), it also cuts off whatever is
      // still going out, so the line is quiet at once.
      hasPending_ = false;
      if (!config_.finishReplies) {
        output_.clear();
        writeBlocked_ = false;
      }
      break;
    default:
      Record(FrameKind::Ignored, {byte});
      break;
  }
}

void SimServer::Record(FrameKind kind, std::vector<std::uint8_t> bytes) {
  log_.Record(kind, std::move(bytes));
}

std::uint8_t SimServer::RandomByte() {
  // xorshift64: garbage only has to look like noise, and be the same each run.
  randomState_ ^= randomState_ << 13;
  randomState_ ^= randomState_ >> 7;
  randomState_ ^= randomState_ << 17;
  return static_cast<std::uint8_t>(randomState_ >> 24);
}

void SimServer::AnswerIdentify() {
  if (!Answering()) return;
  IdentityBytes identity = config_.identity;
  if (config_.faults.wrongIdentify) identity.present = 'E';
  if (config_.faults.badDate) {
    identity.month = '0';
    identity.year = 'Z';
  }
  const auto answer = IdentifyAnswer(identity);
  std::vector<std::uint8_t> bytes(answer.begin(), answer.end());
  if (config_.faults.garbage) {
    for (auto& b : bytes) b = RandomByte();
    if (bytes[0] == 'O') bytes[0] = 'o';
  }
  Enqueue(std::move(bytes), false, Now());
}

void SimServer::ArmCapture(const CommandFrame& frame) {
  // A new command replaces one still pending, as re-arming does.
  hasPending_ = false;
  if (!Answering()) return;
  const double now = Now();
  const CaptureSetup setup = DecodeCaptureCommand(frame);
  // The samples before the trigger have to be taken before an edge counts.
  const double armed =
      now + std::max(0, TriggerSampleIndex(setup) - 1) * SamplePeriodSeconds(setup);
  // The pace counts from the command's start byte.
  pending_ = PendingCapture{setup, now, armed, false,
                            commandStartedAt_ + config_.minReplyMilliseconds / 1000.0, {}};
  hasPending_ = true;
}

void SimServer::ServicePending(double now) {
  if (!hasPending_ || now < pending_.dueAt) return;
  if (!pending_.replyReady) {
    DecideCapture(pending_, now);
    if (!pending_.replyReady) return;
    pending_.dueAt = std::max(pending_.dueAt, pending_.earliestReplyAt);
    if (now < pending_.dueAt) return;
  }
  hasPending_ = false;
  Enqueue(std::move(pending_.reply), true, now);
}

void SimServer::DecideCapture(PendingCapture& pending, double now) {
  const CaptureSetup& setup = pending.setup;
  const double period = SamplePeriodSeconds(setup);
  const int count = SamplesPerChannel(setup.layout);
  const int triggerIndex = TriggerSampleIndex(setup);
  const double autoWait = config_.autoWaitMilliseconds / 1000.0;
  const long searchSamples =
      setup.autoTrigger ? std::max(1L, static_cast<long>(std::ceil(autoWait / period)))
                        : kNormalSearchSamples;

  const auto edge = FindTriggerEdge(config_.inputs, setup, pending.searchFrom, searchSamples);
  if (edge) {
    pending.reply = CaptureReply(config_.inputs, setup, *edge, triggerIndex, kStatusTriggered);
    pending.dueAt = config_.realTime ? *edge + (count - triggerIndex) * period : now;
  } else if (setup.autoTrigger) {
    const double start = now + autoWait;
    pending.reply = CaptureReply(config_.inputs, setup, start, 1, kStatusUntriggered);
    pending.dueAt = config_.realTime ? start + count * period : start;
  } else {
    pending.searchFrom += static_cast<double>(searchSamples) * period;
    pending.dueAt = now + kNormalRetrySeconds;
    return;
  }
  pending.replyReady = true;
  if (config_.faults.garbage) {
    for (auto& b : pending.reply) b = RandomByte();
  }
  if (config_.faults.truncateReplyAt >= 0 &&
      pending.reply.size() > static_cast<std::size_t>(config_.faults.truncateReplyAt)) {
    pending.reply.resize(static_cast<std::size_t>(config_.faults.truncateReplyAt));
  }
}

void SimServer::Enqueue(std::vector<std::uint8_t> bytes, bool isCaptureReply, double now) {
  // An idle paced link starts sending now, not where it stopped last time.
  if (output_.empty()) nextByteAt_ = std::max(nextByteAt_, now);
  const bool holdLast = isCaptureReply && config_.faults.lateLastMilliseconds > 0;
  output_.push_back({std::move(bytes), 0, isCaptureReply, holdLast ? -2.0 : -1.0});
}

void SimServer::WriteOutput(double now) {
  writeBlocked_ = false;
  holdUntil_ = -1;
  while (!output_.empty()) {
    Answer& answer = output_.front();
    std::size_t end = answer.bytes.size();
    if (answer.lastByteAt != -1.0 && end > 0) {
      // The late-last fault: the last byte leaves a while after the rest.
      if (answer.sent + 1 < end) {
        end -= 1;
      } else {
        if (answer.lastByteAt < 0) answer.lastByteAt = now + config_.faults.lateLastMilliseconds / 1000.0;
        if (now < answer.lastByteAt) {
          holdUntil_ = answer.lastByteAt;
          return;
        }
      }
    }
    std::size_t allowed = end - answer.sent;
    if (bytesPerSecond_ > 0) {
      if (now < nextByteAt_) return;
      const double due = 1.0 + std::floor((now - nextByteAt_) * bytesPerSecond_);
      allowed = std::min(allowed, static_cast<std::size_t>(due));
    }
    if (allowed > 0) {
      const ssize_t n = ::write(master_, answer.bytes.data() + answer.sent, allowed);
      if (n < 0) {
        if (errno == EAGAIN || errno == EINTR) {
          writeBlocked_ = true;  // the scope is not reading: wait until it does
        } else {
          output_.clear();  // nobody to take it
        }
        return;
      }
      answer.sent += static_cast<std::size_t>(n);
      if (bytesPerSecond_ > 0) nextByteAt_ += static_cast<double>(n) / bytesPerSecond_;
    }
    if (answer.sent < answer.bytes.size()) continue;
    const bool captureReply = answer.isCaptureReply;
    output_.erase(output_.begin());
    if (captureReply) {
      const int answered = ++capturesAnswered_;
      if (config_.faults.dropAfterCaptures >= 0 && answered >= config_.faults.dropAfterCaptures &&
          dropAt_ < 0) {
        dropAt_ = now + kDropGraceSeconds;
      }
    }
  }
}

void SimServer::Flood() {
  // As fast as the pseudo-terminal takes them: until it is full, then again
  // once it has room. The noise is made once, so the flood costs the
  // computer the writes alone, as a real device's would.
  if (floodNoise_.empty()) {
    floodNoise_.resize(1 << 16);
    for (auto& b : floodNoise_) b = RandomByte();
  }
  for (;;) {
    const std::size_t chunk = 4096;
    const ssize_t n = ::write(master_, floodNoise_.data() + floodAt_, chunk);
    if (n <= 0) return;
    floodAt_ = (floodAt_ + static_cast<std::size_t>(n)) % (floodNoise_.size() - chunk);
  }
}

void SimServer::DropLink() {
  // Closing the master is the instrument unplugged: the slave path vanishes
  // and an open port sees a hang-up.
  ::close(master_);
  master_ = -1;
  output_.clear();
  hasPending_ = false;
  linkDropped_ = true;
}

}  // namespace sim

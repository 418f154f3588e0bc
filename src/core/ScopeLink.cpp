#include "core/ScopeLink.h"

#include "app/Errors.h"
#include "connection/FirmwareIdentity.h"
#include "connection/PortList.h"
#include "connection/SystemPorts.h"

#include <QPointer>
#include <QSocketNotifier>

#include <poll.h>

#include <algorithm>
#include <span>
#include <string>

namespace core {

namespace {

// The line the instrument's port is opened with: "NONE" is not the exact
// text that turns parity off, so the line runs with even parity, as the
// instrument expects.
const std::string kBaud = std::to_string(link_timing::LineBaud);
const std::string kParity = "NONE";
const std::string kDataBits = "8";

constexpr int WriteTimeoutMs = 100;
constexpr int DrainTimeoutMs = 5;  // the drain form takes no time-out
constexpr int AnswerByteMs = 100;
constexpr int VersionByteMs = 200;

// A byte of the answer, -1 when it did not come.
int At(const std::vector<int>& answer, std::size_t i) { return i < answer.size() ? answer[i] : -1; }

bool HungUp(int handle) {
  if (handle < 0) return false;
  pollfd probe{handle, POLLIN, 0};
  if (::poll(&probe, 1, 0) < 0) return false;
  return (probe.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

}  // namespace

CaptureRequest RequestFor(const PanelSettings& panel) {
  return {CaptureCommandFor(panel), panel.Layout(), DescribeRecord(panel)};
}

ScopeLink::ScopeLink(QObject* parent) : QObject(parent) {
  clock_.start();
  for (QTimer* t : {&settleTimer_, &graceTimer_, &stallTimer_, &restartTimer_, &answerTimer_, &trickleTimer_})
    t->setSingleShot(true);
  connectTimer_.setInterval(WatchIntervalMs);
  hourglassTimer_.setInterval(HourglassMs);
  watchTimer_.setInterval(WatchIntervalMs);
  restartTimer_.setInterval(RestartDelayMs);
  graceTimer_.setInterval(link_timing::LastByteGraceMs);
  // A begun reply that brings nothing for this long has stopped for good.
  stallTimer_.setInterval(link_timing::StalledReplyMs(link_timing::LineBaud));
  // Precise: these time the line (a 10 ms grace, a quiet line), not a screen.
  for (QTimer* t : {&settleTimer_, &graceTimer_, &answerTimer_, &trickleTimer_}) t->setTimerType(Qt::PreciseTimer);
  connect(&settleTimer_, &QTimer::timeout, this, &ScopeLink::SettleStep);
  connect(&graceTimer_, &QTimer::timeout, this, &ScopeLink::FinishReply);
  connect(&stallTimer_, &QTimer::timeout, this, &ScopeLink::ReplyStall);
  connect(&hourglassTimer_, &QTimer::timeout, this, &ScopeLink::hourglassTick);
  connect(&restartTimer_, &QTimer::timeout, this, &ScopeLink::RunStop);
  // A tick of the link's own watch has no caller to report a failure to.
  connect(&watchTimer_, &QTimer::timeout, this, [this] {
    try {
      WatchTick();
    } catch (const ScopeError& e) {
      Q_EMIT failed(e.Message());
    }
  });
  connect(&connectTimer_, &QTimer::timeout, this, &ScopeLink::ConnectTick);
  connect(&trickleTimer_, &QTimer::timeout, this, &ScopeLink::TrickleLook);
  connect(&answerTimer_, &QTimer::timeout, this, &ScopeLink::ExchangeStep);
}

ScopeLink::~ScopeLink() {
  // The instrument is not left armed: its late answer would greet whoever
  // opens the port next.
  if (port_.IsOpen && outstanding_ && !port_.DeviceGone()) port_.WriteByte(capture_protocol::StopByte, WriteTimeoutMs);
  WatchPort(false);
  port_.Close();
}

void ScopeLink::SetState(State state) {
  if (state_ == state) return;
  state_ = state;
  // Input is read only while something is expected of the line; a
  // level-triggered notifier on unread input would otherwise spin.
  WatchPort(state == State::Settling || state == State::Armed || state == State::Receiving ||
            exchange_ != Exchange::None);
  Q_EMIT stateChanged(state);
}

void ScopeLink::WatchPort(bool on) {
  const int handle = port_.IsOpen && !port_.DeviceGone() ? port_.Handle : -1;
  if (notifier_ != nullptr && (!on || notifier_->socket() != handle)) {
    notifier_->setEnabled(false);
    delete notifier_;
    notifier_ = nullptr;
  }
  if (!on || handle < 0) return;
  if (notifier_ == nullptr) {
    notifier_ = new QSocketNotifier(handle, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &ScopeLink::OnInput);
  }
  notifier_->setEnabled(true);
}

// ---- Input -------------------------------------------------------------

bool ScopeLink::Vanished() {
  if (!port_.IsOpen) return false;
  if (!port_.DeviceGone() && !HungUp(port_.Handle)) return false;
  DeviceLost();
  return true;
}

void ScopeLink::OnInput() {
  if (Vanished()) return;
  if (exchange_ != Exchange::None) {
    ExchangeStep();
    return;
  }
  switch (state_) {
    case State::Settling:
      DiscardInput();
      SettleStep();
      break;
    case State::Armed:
    case State::Receiving:
      ReadReply();
      break;
    default:
      WatchPort(false);
      break;
  }
}

void ScopeLink::DeviceLost() {
  const bool wasRunning = running_;
  AbandonExchange();
  for (QTimer* t : {&settleTimer_, &graceTimer_, &stallTimer_, &hourglassTimer_, &connectTimer_, &trickleTimer_})
    t->stop();
  running_ = false;
  commandWanted_ = false;
  outstanding_ = false;
  line_.Clear();
  WatchPort(false);
  port_.Close();
  SetState(State::Idle);
  // The port is closed and the disconnection shown at once; the watch opens
  // the port again when the device is back.
  ShowConnected(false);
  if (watchOn_) watchTimer_.start();
  if (wasRunning) Q_EMIT stopped(StopReason::DeviceGone);
}

void ScopeLink::DiscardInput() {
  const int discarded = port_.ReadBlock(0, DrainTimeoutMs);
  if (discarded > 0) line_.InputSeen(NowMs(), discarded);
}

// ---- Commands ----------------------------------------------------------

void ScopeLink::SendStopByte() {
  port_.WriteByte(capture_protocol::StopByte, WriteTimeoutMs);
  // A reply already on its way may go on arriving for up to one reply time;
  // what is queued goes now, the rest once the line has been quiet.
  line_.Disturbed(NowMs(), outstanding_ ? capture_protocol::CaptureReplyLength - have_ : -1);
  outstanding_ = false;
  have_ = 0;
  for (QTimer* t : {&graceTimer_, &stallTimer_, &hourglassTimer_, &trickleTimer_}) t->stop();
  DiscardInput();
}

void ScopeLink::SendCommandWhenQuiet() {
  commandWanted_ = true;
  if (line_.Dirty()) {
    DiscardInput();
    if (!line_.Settled(NowMs())) {
      SetState(State::Settling);
      settleTimer_.start(std::max(1, line_.MsUntilSettled(NowMs())));
      return;
    }
  }
  SendCommand();
}

void ScopeLink::SettleStep() {
  if (state_ != State::Settling) return;
  if (Vanished()) return;
  DiscardInput();
  if (!line_.Settled(NowMs())) {
    // Asleep until the line may have settled, not woken by each byte of a
    // tail: the notifier's next call discards it in one go.
    if (!settleTimer_.isActive()) settleTimer_.start(std::max(1, line_.MsUntilSettled(NowMs())));
    return;
  }
  settleTimer_.stop();
  if (running_ && commandWanted_) {
    SendCommand();
    return;
  }
  commandWanted_ = false;
  SetState(State::Idle);
}

void ScopeLink::SendCommand() {
  commandWanted_ = false;
  settleTimer_.stop();
  // Byte by byte, each with its own time-out; a failed write is not
  // checked: the wait that follows is left by STOP like any unanswered
  // capture.
  CaptureRequest request = requestSource_ ? requestSource_() : RequestFor(panel_);
  for (const std::uint8_t byte : request.bytes) port_.WriteByte(byte, WriteTimeoutMs);
  outstanding_ = true;
  have_ = 0;
  lastProgressUs_ = -1;
  // The reply is described and split by what this command asked for,
  // whatever the panel says by the time it is read.
  pending_ = std::move(request.description);
  pendingCommand_ = request.bytes;
  commandLayout_ = request.layout;
  hourglassTimer_.start();
  SetState(State::Armed);
  // Input already queued (a fast or flooding instrument) is read when the
  // notifier says so, from the event loop: however the replies come, the
  // window's events are handled between one record and the next.
}

void ScopeLink::ReadReply() {
  if (Vanished()) return;
  const int queued = port_.InQueueCount();
  if (queued <= 0) return;
  const int want = capture_protocol::CaptureReplyLength - have_;
  const bool first = have_ == 0;
  const int got = port_.ReadBuffer(reply_.data() + have_, std::min(queued, want));
  if (got <= 0) return;
  have_ += got;
  lastByteMs_ = NowMs();
  if (state_ == State::Armed) SetState(State::Receiving);
  stallTimer_.start();
  if (have_ >= capture_protocol::CaptureReplyLength) {
    FinishReply();
    return;
  }
  // All but the last byte: it gets a few character times to come, so a late
  // last byte lands in its record and not in the next one.
  if (have_ == capture_protocol::CaptureSampleCount && !graceTimer_.isActive()) graceTimer_.start();
  if (!EmitProgress()) return;
  // A reply at the line speed is read some 20 times a second, not byte by
  // byte: asleep until the rest is due at the rate seen so far. The rate is
  // reckoned between reads that found bytes: the time before the first of
  // them is the instrument's, not the line's.
  const std::int64_t nowUs = clock_.nsecsElapsed() / 1000;
  const int sleepMs = have_ >= capture_protocol::CaptureSampleCount
                          ? 0
                          : link_timing::TrickleSleepMs(capture_protocol::CaptureSampleCount - have_, got,
                                                        first ? 0 : nowUs - lastLookUs_);
  lastLookUs_ = nowUs;
  if (sleepMs > 0 && state_ == State::Receiving) {
    WatchPort(false);
    trickleTimer_.start(sleepMs);
  }
}

void ScopeLink::TrickleLook() {
  if (state_ != State::Receiving) return;
  WatchPort(true);
  ReadReply();
}

bool ScopeLink::EmitProgress() {
  // Counted from before the receivers run: a slow one (a redraw) does not
  // put off the next progress, which the next read after a whole trickle
  // sleep always brings.
  const std::int64_t nowUs = clock_.nsecsElapsed() / 1000;
  if (!link_timing::ProgressDue(lastProgressUs_ < 0 ? -1 : nowUs - lastProgressUs_)) return true;
  lastProgressUs_ = nowUs;
  // A copy: the link's own buffers take the samples only once the reply is
  // whole, so nothing but these signals ever sees a partial one.
  Record partial = pending_;
  partial.ch1 = ch1_;
  partial.ch2 = ch2_;
  const int samples = std::max(0, have_ - 1);
  partial.samplesReceived = capture_protocol::SplitCaptureSamples(
      std::span<const std::uint8_t>(reply_.data() + 1, static_cast<std::size_t>(samples)), commandLayout_,
      partial.ch1, partial.ch2);
  const ReplyArrival arrival = ArrivalOf(commandLayout_, have_);
  const QPointer<ScopeLink> alive(this);
  Q_EMIT replyProgress(have_, partial);
  // A receiver may have stopped the run or destroyed the link meanwhile.
  if (!alive) return false;
  if (state_ != State::Receiving) return true;
  Q_EMIT samplesArriving(partial, arrival);
  return alive;
}

void ScopeLink::FinishReply() {
  if (state_ != State::Receiving) return;
  for (QTimer* t : {&graceTimer_, &stallTimer_, &hourglassTimer_, &trickleTimer_}) t->stop();
  outstanding_ = false;
  // The status byte means nothing to the scope. Without a late last byte
  // the last block is one sample short, which keeps the buffer's earlier
  // value.
  const int samples = std::max(0, have_ - 1);
  Record record = pending_;
  record.samplesReceived = capture_protocol::SplitCaptureSamples(
      std::span<const std::uint8_t>(reply_.data() + 1, static_cast<std::size_t>(samples)), commandLayout_,
      ch1_, ch2_);
  record.ch1 = ch1_;
  record.ch2 = ch2_;
  record.received = QDateTime::currentDateTime();
  record.sequence = ++records_;
  have_ = 0;
  port_.ReadBlock(0, DrainTimeoutMs);
  held_ = record;
  heldCommand_ = pendingCommand_;
  SetState(State::Done);

  const QPointer<ScopeLink> alive(this);
  Q_EMIT recordReceived(held_);
  // A receiver may have stopped, re-run or destroyed the link meanwhile.
  if (!alive || state_ != State::Done) return;
  if (running_ && panel_.mode.continuous) {
    SendCommandWhenQuiet();
    return;
  }
  if (running_) EndRun(StopReason::SingleDone);
  else SetState(State::Idle);
}

void ScopeLink::ReplyStall() {
  if (state_ != State::Receiving) return;
  // A timer may fire a little early: the line's own rule decides.
  const std::int64_t silentMs = NowMs() - lastByteMs_;
  if (!link_timing::ReplyStalled(have_, silentMs, link_timing::LineBaud)) {
    stallTimer_.start(static_cast<int>(
        std::max<std::int64_t>(1, link_timing::StalledReplyMs(link_timing::LineBaud) - silentMs)));
    return;
  }
  // Given up like a stop: the rest is discarded once the line is quiet, and
  // a continuous run asks again.
  SendStopByte();
  const QPointer<ScopeLink> alive(this);
  Q_EMIT replyGivenUp();
  if (!alive || !running_) return;
  if (panel_.mode.continuous) {
    SendCommandWhenQuiet();
    return;
  }
  EndRun(StopReason::ReplyStalled);
}

void ScopeLink::EndRun(StopReason reason) {
  running_ = false;
  commandWanted_ = false;
  hourglassTimer_.stop();
  connectTimer_.stop();
  if (line_.Dirty()) {
    SetState(State::Settling);
    SettleStep();
  } else {
    SetState(State::Idle);
  }
  if (watchOn_) watchTimer_.start();
  Q_EMIT stopped(reason);
}

// ---- Run and stop ------------------------------------------------------

void ScopeLink::Run() {
  if (running_) return;
  running_ = true;
  // The watch must not talk to the instrument while a capture is pending;
  // an identify exchange still waiting for its answer is over.
  watchTimer_.stop();
  AbandonExchange();
  if (!port_.IsOpen) {
    // The port opens at the next tick that finds the instrument; the
    // hourglass turns meanwhile and Stop ends the wait.
    commandWanted_ = true;
    hourglassTimer_.start();
    connectTimer_.start();
    ConnectTick();
    return;
  }
  SendCommandWhenQuiet();
}

void ScopeLink::ConnectTick() {
  if (!running_) {
    connectTimer_.stop();
    return;
  }
  if (exchange_ != Exchange::None) return;
  try {
    Tick();
  } catch (const ScopeError& e) {
    // The ports could not be listed: acquisition ends before the failure is
    // reported.
    EndRun(StopReason::Stop);
    Q_EMIT failed(e.Message());
  }
}

void ScopeLink::Reissue() {
  if (!running_) return;
  if (state_ == State::Armed || state_ == State::Receiving) {
    SendStopByte();
    SendCommandWhenQuiet();
  }
}

void ScopeLink::Stop() { StopBecause(StopReason::Stop); }

void ScopeLink::StopBecause(StopReason reason) {
  if (!running_) return;
  SendStopByte();
  EndRun(reason);
}

void ScopeLink::RunStop() {
  if (running_) Stop();
  else Run();
}

void ScopeLink::SetContinuous(bool continuous) {
  // A continuous run in progress ends after the capture it is waiting for.
  panel_.SetContinuous(continuous);
}

void ScopeLink::SetPanel(const PanelSettings& panel) {
  const PanelChange change = ChangeWhileRunning(panel_, panel);
  panel_ = panel;
  if (!running_ || change == PanelChange::None) return;
  if (change == PanelChange::Restart) {
    StopBecause(StopReason::SettingChanged);
    // Toggles: a RUN pressed meanwhile is undone by it, as on the panel.
    restartTimer_.start();
    return;
  }
  // Re-issued: the pending capture is ended and asked again with the new
  // level or mode.
  Reissue();
}

// ---- The connection watch ----------------------------------------------

void ScopeLink::SetPortName(const QString& name) {
  if (name == portName_) return;
  portName_ = name;
  // An exchange still waiting on the old port is over.
  AbandonExchange();
}

void ScopeLink::StartWatch() {
  watchOn_ = true;
  if (!running_) watchTimer_.start();
  WatchTick();
}

void ScopeLink::StopWatch() {
  watchOn_ = false;
  watchTimer_.stop();
}

void ScopeLink::ClosePort() {
  if (running_ || outstanding_) {
    DeviceLost();
    return;
  }
  AbandonExchange();
  WatchPort(false);
  port_.Close();
  line_.Clear();
  SetState(State::Idle);
}

bool ScopeLink::OpenChosenPort() {
  // A port left open under another name is not the chosen one, whatever it
  // answers.
  if (port_.IsOpen && QString::fromStdString(port_.PortName) != portName_) {
    WatchPort(false);
    port_.Close();
  }
  // The chosen port counts as present while its device node exists, even
  // when the system lists it nowhere: a pseudo-terminal, a udev link.
  const bool namedPresent = connection::DeviceNodeExists(portName_);
  const QStringList present = connection::ComposePortList(
      connection::ListSystemPorts(), portName_, namedPresent,
      namedPresent ? connection::ResolvedDevicePath(portName_) : QString(), false);
  if (portName_.isEmpty() || !present.contains(portName_, Qt::CaseSensitive)) {
    WatchPort(false);
    port_.Close();
    return false;
  }
  if (!port_.IsOpen) {
    const bool opened = port_.Open(portName_.toStdString(), kBaud, kParity, kDataBits, false);
    const QPointer<ScopeLink> alive(this);
    Q_EMIT portOpenTried(portName_, opened, opened ? 0 : static_cast<int>(port_.LastError));
    if (!alive) return false;
  }
  return port_.IsOpen && !port_.DeviceGone();
}

void ScopeLink::WatchTick() {
  if (running_ || exchange_ != Exchange::None) return;
  Tick();
}

void ScopeLink::Tick() {
  Q_EMIT watchTickDue();
  if (!OpenChosenPort()) {
    ShowConnected(false);
    WatchPort(false);
    port_.Close();
    return;
  }
  // The tail of a reply cut short by a stop byte may still be arriving; a
  // query sent into it would read the tail as a wrong answer.
  if (line_.Dirty()) {
    DiscardInput();
    if (!line_.Settled(NowMs())) return;
    if (state_ == State::Settling) SetState(State::Idle);
  }
  port_.ReadBlock(0, 0);
  BeginExchange(Exchange::Query, {{AnswerStep::Kind::Query}, {AnswerStep::Kind::Read, 1, AnswerByteMs}});
}

void ScopeLink::BeginExchange(Exchange kind, std::vector<AnswerStep> steps) {
  exchange_ = kind;
  steps_ = std::move(steps);
  stepIndex_ = 0;
  stepDone_ = 0;
  stepDeadline_ = -1;
  answer_.clear();
  WatchPort(true);
  ExchangeStep();
}

void ScopeLink::ExchangeStep() {
  if (exchange_ == Exchange::None) return;
  if (Vanished()) return;
  while (stepIndex_ < steps_.size()) {
    const AnswerStep& step = steps_[stepIndex_];
    if (step.kind == AnswerStep::Kind::Query) {
      port_.WriteByte(connection::IdentifyQuery, WriteTimeoutMs);
      ++identifyQueries_;
      // Until this exchange ends, what it leaves on the line is not to be
      // taken for the answer to anything else.
      line_.Disturbed(NowMs());
      ++stepIndex_;
      continue;
    }
    if (stepDeadline_ < 0) stepDeadline_ = NowMs() + step.timeoutMs;
    while (stepDone_ < step.count && port_.InQueueCount() > 0) {
      const int byte = port_.ReadByte(0);
      if (byte < 0 || byte > 255) break;
      if (step.kind == AnswerStep::Kind::Read) answer_.push_back(byte);
      ++stepDone_;
    }
    const bool timedOut = NowMs() >= stepDeadline_;
    if (stepDone_ < step.count && !timedOut) {
      answerTimer_.start(static_cast<int>(std::max<std::int64_t>(1, stepDeadline_ - NowMs())));
      return;
    }
    // A byte that did not come in time reads as -1; a discard just ends.
    if (stepDone_ < step.count && step.kind == AnswerStep::Kind::Read) answer_.push_back(-1);
    ++stepIndex_;
    stepDone_ = 0;
    stepDeadline_ = -1;
  }
  answerTimer_.stop();
  ExchangeDone();
}

ScopeLink::AnswerStep ScopeLink::TailStep() {
  return {AnswerStep::Kind::Discard, connection::IdentifyAnswerRest, AnswerByteMs};
}

std::vector<ScopeLink::AnswerStep> ScopeLink::DetectSteps(int tailsAfter) {
  // What is left of an earlier answer, the query, the 7 bytes of its
  // answer (the version's three get longer), then what follows them.
  std::vector<AnswerStep> steps{TailStep(), {AnswerStep::Kind::Query}};
  for (const int ms : {AnswerByteMs, AnswerByteMs, VersionByteMs, VersionByteMs, VersionByteMs, AnswerByteMs,
                       AnswerByteMs})
    steps.push_back({AnswerStep::Kind::Read, 1, ms});
  for (int i = 0; i < tailsAfter; ++i) steps.push_back(TailStep());
  return steps;
}

void ScopeLink::ExchangeDone() {
  const Exchange done = exchange_;
  exchange_ = Exchange::None;
  const std::vector<int> answer = answer_;
  switch (done) {
    case Exchange::Query:
      if (At(answer, 0) != connection::IdentifyAnswerFirst) {
        ShowConnected(false);
        WatchPort(false);
        port_.Close();
        line_.Clear();
        break;
      }
      // Detection runs on every way into the connected state, so a
      // replugged instrument is read again.
      if (!deviceFound_) {
        // The rest of this answer is discarded after the detection's own.
        BeginExchange(Exchange::Detect, DetectSteps(2));
        Q_EMIT detectionStarted();
        return;
      }
      BeginExchange(Exchange::Tail, {TailStep()});
      return;
    case Exchange::Detect:
      // answer[0] is the leading "O".
      identity_.revision = connection::RevisionText(At(answer, 1));
      identity_.version = connection::VersionText(At(answer, 2), At(answer, 3), At(answer, 4));
      identity_.date = connection::FirmwareDateText(At(answer, 5), At(answer, 6));
      line_.Clear();
      {
        const QPointer<ScopeLink> alive(this);
        Q_EMIT identified(identity_);
        if (alive) Q_EMIT detectionEnded();
        if (!alive) return;
      }
      ShowConnected(true);
      SendWantedCommand();
      break;
    case Exchange::Tail:
      line_.Clear();
      ShowConnected(true);
      SendWantedCommand();
      break;
    case Exchange::None:
      break;
  }
  if (state_ == State::Idle) WatchPort(false);
}

void ScopeLink::AbandonExchange() {
  const bool detecting = exchange_ == Exchange::Detect;
  exchange_ = Exchange::None;
  answerTimer_.stop();
  steps_.clear();
  if (detecting) Q_EMIT detectionEnded();
}

void ScopeLink::DetectRevision() {
  if (running_ || !port_.IsOpen || port_.DeviceGone()) return;
  AbandonExchange();
  Q_EMIT detectionStarted();
  BeginExchange(Exchange::Detect, DetectSteps(1));
}

void ScopeLink::SendWantedCommand() {
  // RUN was pressed before the instrument was found: it is asked now.
  if (!running_ || !commandWanted_ || !connectTimer_.isActive() || state_ != State::Idle) return;
  connectTimer_.stop();
  SendCommandWhenQuiet();
}

void ScopeLink::ShowConnected(bool connected) {
  if (connected == deviceFound_) return;
  deviceFound_ = connected;
  Q_EMIT connectionChanged(connected);
}

}  // namespace core

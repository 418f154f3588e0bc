#pragma once
// The link to the instrument and its acquisition as an asynchronous state
// machine on the port's notifier and timers. Nothing here waits: every step
// is a reaction to port input, a timer or a call, and returns at once, so
// acquisition runs the same with or without a window.
//
//   Idle ──Run──▶ Armed ──first byte──▶ Receiving ──whole reply──▶ Done
//     ▲             ▲  (command sent)                               │
//     │             └──────────── continuous: next command ─────────┘
//     └── Settling ◀── stop byte (Stop, a re-issued capture, a stalled reply)
//
// After a stop byte the instrument may still be sending what it had begun:
// Settling discards input until the line has been quiet (acquisition/
// LinkTiming.h) and only then is anything new asked, a next command or the
// connection watch's query. The watch asks "?" once a second while
// acquisition is stopped and reads the identify answer the same way, byte by
// byte as it comes, each with its time-out.

#include "acquisition/CaptureProtocol.h"
#include "acquisition/LinkTiming.h"
#include "core/PanelSettings.h"
#include "core/Record.h"
#include "core/ReplyArrival.h"
#include "serial/TSerial.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class QSocketNotifier;

namespace core {

// Forced stop after a setting that needs a fresh acquisition, then RUN again.
inline constexpr int RestartDelayMs = 80;
// The hourglass turns this often while a reply is awaited.
inline constexpr int HourglassMs = 300;
// The connection watch.
inline constexpr int WatchIntervalMs = 1000;

// The instrument's identify answer, as the COM settings panel shows it.
struct DeviceIdentity {
  QString revision;  // "Tessaron USB Oscilloscope Rev A"
  QString version;   // "2.0.7"
  QString date;      // "Mar. 2006"
  friend bool operator==(const DeviceIdentity&, const DeviceIdentity&) = default;
};

// What one capture command asks for: its 9 bytes, the layout its reply comes
// in and the description the record will carry. Made from the panel by
// default; a holder that keeps its settings elsewhere (the window) makes it
// from its own, so the bytes and the description are exactly its own.
struct CaptureRequest {
  capture_protocol::CaptureCommand bytes{};
  capture_protocol::ReplyLayout layout{};
  Record description;
};
CaptureRequest RequestFor(const PanelSettings& panel);

class ScopeLink : public QObject {
  Q_OBJECT

 public:
  enum class State { Idle, Settling, Armed, Receiving, Done };
  Q_ENUM(State)
  enum class StopReason {
    Stop,            // Stop() (STOP, or the program ending the run)
    SingleDone,      // the one record of single mode is in
    DeviceGone,      // the instrument vanished from under the port
    SettingChanged,  // a setting that needs a fresh acquisition; RUN follows in 80 ms
    ReplyStalled,    // single mode: the reply stopped coming and was given up
  };
  Q_ENUM(StopReason)

  explicit ScopeLink(QObject* parent = nullptr);
  ~ScopeLink() override;
  ScopeLink(const ScopeLink&) = delete;
  ScopeLink& operator=(const ScopeLink&) = delete;

  // ---- The port and the connection watch --------------------------------
  // The chosen port ("SIM1", a device path). A port open under another name
  // is closed at the next tick.
  void SetPortName(const QString& name);
  const QString& PortName() const { return portName_; }
  // One tick at once, then one a second while acquisition is stopped.
  void StartWatch();
  void StopWatch();
  bool Watching() const { return watchOn_; }
  // Finds the port, opens it, asks "?"; the answer comes in asynchronously.
  // Throws ScopeError when the system will not list its ports.
  void WatchTick();
  // Reads the instrument's identity again ("Detect HW Rev."): a query and
  // its 7-byte answer, asynchronously; `identified` follows.
  void DetectRevision();
  // An identify exchange is under way.
  bool Exchanging() const { return exchange_ != Exchange::None; }
  bool DeviceFound() const { return deviceFound_; }
  const DeviceIdentity& Identity() const { return identity_; }
  // Identify exchanges that reached the instrument since the link was made.
  int IdentifyQueries() const { return identifyQueries_; }
  TSerial& Port() { return port_; }
  // Closes the port; acquisition, if running, ends as if the device went.
  void ClosePort();

  // ---- Acquisition ------------------------------------------------------
  // The panel the next command is made from. While acquisition runs, a new
  // time base or trigger source stops it and starts it again 80 ms later; a
  // new trigger level, or auto mode switched on, re-issues the pending
  // capture; anything else goes out with the next command.
  void SetPanel(const PanelSettings& panel);
  const PanelSettings& Panel() const { return panel_; }
  // Where each command comes from, asked right before it goes out; unset,
  // from the panel.
  void SetRequestSource(std::function<CaptureRequest()> source) { requestSource_ = std::move(source); }
  // The pending capture is ended with the stop byte and asked again (a new
  // trigger level or mode); nothing while stopped.
  void Reissue();
  void SetContinuous(bool continuous);

  void Run();
  void Stop();
  void RunStop();  // the run/stop key: Run when stopped, Stop when running
  bool Running() const { return running_; }
  bool RestartPending() const { return restartTimer_.isActive(); }
  State CurrentState() const { return state_; }
  std::uint64_t RecordsReceived() const { return records_; }
  // Bytes of the awaited reply read so far (0 while none has come).
  int ReplyBytes() const { return have_; }
  // The last record received (sequence 0 before the first).
  const Record& Held() const { return held_; }
  // The command bytes that asked for it (the trigger settings it was taken
  // with are only there); zeros before the first record.
  const capture_protocol::CaptureCommand& HeldCommand() const { return heldCommand_; }
  // RUN with the port closed: the link opens it, once a watch period, and
  // the command goes out as soon as the instrument has answered.
  bool AwaitingConnection() const { return connectTimer_.isActive(); }

 Q_SIGNALS:
  void stateChanged(core::ScopeLink::State state);
  // The reply so far: `bytes` of the 3001 in, the samples among them
  // already in their channels (the rest of each buffer as the last record
  // left it). Told at most once per link_timing::ProgressIntervalMs, about
  // 20 times a second of a reply at the line speed, and never for a whole
  // reply: only `recordReceived` carries a record, and a reply cut short
  // (STOP, a stall) brings none.
  void replyProgress(int bytes, const core::Record& partial);
  // The same moment in samples, for drawing the reply as it arrives: how
  // many of each channel are in and where the arriving trace has got to.
  void samplesArriving(const core::Record& partial, const core::ReplyArrival& arrival);
  void recordReceived(const core::Record& record);
  void stopped(core::ScopeLink::StopReason reason);
  void connectionChanged(bool connected);
  void hourglassTick();
  // A reply that began stopped half way and was given up (in continuous
  // mode the run goes on).
  void replyGivenUp();
  // Before every tick of the watch: the holder may name the port now.
  void watchTickDue();
  // The chosen port was opened, or failed to open with this system error.
  void portOpenTried(const QString& name, bool opened, int error);
  // The identity detection began; `identified` when its answer is read,
  // `detectionEnded` however it ends.
  void detectionStarted();
  void identified(const core::DeviceIdentity& identity);
  void detectionEnded();
  // A failure that ended acquisition (the ports could not be listed).
  void failed(const QString& message);

 private:
  // One step of an identify exchange.
  struct AnswerStep {
    enum class Kind { Query, Read, Discard } kind;
    int count = 0;      // bytes read or discarded
    int timeoutMs = 0;  // Read: for its byte; Discard: for all of them
  };
  enum class Exchange { None, Query, Detect, Tail };
  // Discards the rest of an identify answer.
  static AnswerStep TailStep();
  // The identity detection, then `tailsAfter` discards.
  static std::vector<AnswerStep> DetectSteps(int tailsAfter);

  void SetState(State state);
  std::int64_t NowMs() const { return clock_.elapsed(); }
  void WatchPort(bool on);
  void OnInput();
  bool Vanished();
  void DeviceLost();
  void DiscardInput();
  void SendStopByte();
  void SendCommandWhenQuiet();
  void SendCommand();
  void SettleStep();
  void ReadReply();
  void FinishReply();
  void ReplyStall();
  void StopBecause(StopReason reason);
  void Tick();
  void ConnectTick();
  void SendWantedCommand();
  void TrickleLook();
  void EndRun(StopReason reason);
  // Tells the reply's progress when it is due; false when a receiver
  // destroyed the link.
  bool EmitProgress();
  // The identify exchange.
  bool OpenChosenPort();
  void BeginExchange(Exchange kind, std::vector<AnswerStep> steps);
  void ExchangeStep();
  void ExchangeDone();
  void AbandonExchange();
  void ShowConnected(bool connected);

  TSerial port_;
  QString portName_;
  QSocketNotifier* notifier_ = nullptr;
  QElapsedTimer clock_;
  link_timing::QuietLine line_;

  PanelSettings panel_;
  State state_ = State::Idle;
  bool running_ = false;
  bool commandWanted_ = false;  // a command goes out once the line is quiet
  bool outstanding_ = false;    // a command went out; neither its reply nor a stop byte followed
  std::array<std::uint8_t, capture_protocol::CaptureReplyLength> reply_{};
  int have_ = 0;
  std::int64_t lastByteMs_ = 0;  // when the reply's latest byte was read
  capture_protocol::ReplyLayout commandLayout_{};
  Record pending_;  // the description of the record the command asked for
  capture_protocol::CaptureCommand pendingCommand_{};  // and its bytes
  capture_protocol::SampleBuffer ch1_{};
  capture_protocol::SampleBuffer ch2_{};
  Record held_;
  capture_protocol::CaptureCommand heldCommand_{};
  std::uint64_t records_ = 0;

  QTimer settleTimer_;
  QTimer graceTimer_;
  QTimer stallTimer_;
  QTimer hourglassTimer_;
  QTimer restartTimer_;
  QTimer watchTimer_;
  QTimer answerTimer_;
  QTimer connectTimer_;
  QTimer trickleTimer_;
  std::function<CaptureRequest()> requestSource_;
  std::int64_t lastLookUs_ = 0;  // when the reply's bytes were last read
  std::int64_t lastProgressUs_ = -1;  // when this reply's progress was last told (-1: not yet)
  int lastGain_ = 0;             // bytes that read brought

  bool watchOn_ = false;
  bool deviceFound_ = false;
  DeviceIdentity identity_;
  int identifyQueries_ = 0;
  Exchange exchange_ = Exchange::None;
  std::vector<AnswerStep> steps_;
  std::size_t stepIndex_ = 0;
  int stepDone_ = 0;
  std::int64_t stepDeadline_ = -1;
  std::vector<int> answer_;  // the bytes read, -1 for one that did not come
};

}  // namespace core

// Members of TForm1 that belong to acquisition: the run/stop cycle and the
// capture exchange. Included inside the body of class TForm1 (app/TForm1.h);
// owned by the acquisition folder.
 public:
  void BuildAcquisition();

  // ---- The run/stop cycle (acquisition/Form1RunStop.cpp) ----------------
  void RunStopClick();
  // Runs captures until acquisition ends; re-entrant: a handler dispatched
  // from its wait may call it again, and only the innermost call talks to
  // the instrument.
  void GetData();
  void ContinuousClick();
  void SingleClick();
  void AnoucerTimer();
  void StatStopResetTimerTimer();

  // ---- The two halves of one capture exchange (Form1CaptureExchange.cpp)
  // The 9 command bytes, preceded by the stop byte when a capture is still
  // pending; remembers what the reply will be split by and described with.
  void SendCaptureCommand();
  // Status byte, samples into HeldRecord's two buffers, final drain; the
  // held record's description (time base and rate, the scales, the ranges,
  // the time per column, the 3000-sample record's channel) is the command's
  // it answers.
  void ReceiveCaptureReply();
  // HeldRecord's description from the command its reply answers, and its
  // sequence number; the one place it is made.
  void DescribeHeldRecord(int samplesReceived);
  // Ends a pending capture: the stop byte, then what is queued is discarded.
  // A reply the instrument had begun may still be arriving: the line is
  // marked disturbed, and nothing new is asked until it has been quiet.
  void SendStopByte();
  // Discards what is queued; notes input on a disturbed line. Never waits
  // longer than a few milliseconds, whatever the instrument does.
  void DiscardInput();
  // True once no reply can still be arriving after a stop byte or a query.
  bool LineQuiet();

  TImage* Image12 = nullptr;  // status picture: run, stop, hourglass frames
  // How much of the reply has come, beside the hourglass while it arrives.
  QProgressBar* ReplyProgress = nullptr;
  // Says in the status strip that the instrument stopped in the middle of a
  // reply; hidden again by a whole reply or the next RUN.
  TLabel* ReplyNotice = nullptr;

  // The time base and 1 MS/s mode of the last command sent, which a reply
  // will be described by.
  std::int32_t CommandTimeBase = 0;
  Flag CommandRate1MS = 0;

 private:
  void EndAcquisition();        // after a single capture or a switch to Single
  void LeaveThroughStopExit();  // the wait noticed Running = 0
  // The instrument vanished while a capture was pending: acquisition ends
  // and the indicator shows the disconnection at once, without a message.
  void LeaveBecauseDeviceVanished();
  bool DeviceVanished() const;
  // Waits, dispatching events, until the line is quiet after a stop byte.
  // False when GetData must return (it has already left, or the window is
  // gone).
  bool AwaitQuietLine();
  // RUN with the port closed: runs the connection watch's tick, once a watch
  // period, until the port is open. False when GetData must return.
  bool AwaitConnection();
  // A reply that stalled half way is given up (link_timing::ReplyStalled).
  void GiveUpStalledReply();
  void ShowReplyNotice();
  void HideReplyNotice();
  void ShowReplyProgress(int queued);
  void HideReplyProgress();

  // The layout the instrument was asked for by the last command sent: the
  // reply is split by it, not by the channel keys at the time it is read.
  Flag ReplyRate1MS = 0;
  Flag ReplyChannelOn1 = 1;
  // The scales the pending command was sent with, latched with the reply.
  std::int32_t CommandCH1Scale = 0;
  std::int32_t CommandCH2Scale = 0;
  // Its ranges, period per column and rate caption, latched likewise.
  Flag CommandCH1HighRange = 0;
  Flag CommandCH2HighRange = 0;
  std::int32_t CommandSamplePeriodUs = 0;
  QString CommandSampleRateText;
  // The channel keys and calibration counts in force when it went out.
  Flag CommandChannelOn1 = 0;
  Flag CommandChannelOn2 = 0;
  std::int32_t CommandCH1CalOffset = 0;
  std::int32_t CommandCH2CalOffset = 0;
  // A capture command went out and neither its reply nor a stop byte has
  // followed: the instrument is armed.
  bool CaptureOutstanding = false;
  // It went out while acquisition ran (not the lone command of a GetData
  // called while stopped, whose answer a later drain discards).
  bool CommandWhileRunning = false;
  link_timing::QuietLine LineState;
  QElapsedTimer LinkClock;  // the steady clock the line's quiet is judged by
  qint64 ProgressShownAt = -1;
  // When the first bytes of the reply being awaited were seen (-1: none yet).
  qint64 ReplyArrivingSince = -1;

  // Blocks each pass of the capture wait until a window event or port input
  // arrives (acquisition/CaptureWait.h).
  class CaptureWait* ReplyWait = nullptr;

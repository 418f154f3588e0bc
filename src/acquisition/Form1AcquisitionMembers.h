// Members of TForm1 that belong to acquisition: the run/stop cycle over the
// link (core/ScopeLink). Included inside the body of class TForm1
// (app/TForm1.h); owned by the acquisition folder.
 public:
  void BuildAcquisition();

  // ---- The run/stop cycle (acquisition/Form1RunStop.cpp) ----------------
  void RunStopClick();
  void ContinuousClick();
  void SingleClick();
  void AnoucerTimer();
  void StatStopResetTimerTimer();

  // What the next capture command asks for, from the panel as it is now
  // (Form1CaptureExchange.cpp): its bytes, its reply's layout and the
  // description (time base and rate, so its layout, the scales, the ranges,
  // the calibration counts, the time per column, the channel of a
  // 3000-sample record) its record will carry.
  core::CaptureRequest RequestNow();


  // The time base of the last command sent, which its reply will be
  // described by.
  std::int32_t CommandTimeBase = 0;

 private:
  // The link's signals, bound once.
  void ConnectLink();
  // A record came: it is held, plotted and measured.
  void TakeRecord(const core::Record& record);
  // The link has stopped: the keys and pictures say so, a vanished device is
  // shown at once, a calibration goes on or ends.
  void AcquisitionStopped(core::ScopeLink::StopReason reason);
  void EndAcquisition();  // acquisition has stopped: the keys and pictures say so
  // Starts the link on the panel as it is (RUN, a calibration capture).
  void StartAcquisition();
  // The hourglass turns while the link waits for the instrument.
  void ShowHourglass();
  void ShowReplyNotice();
  void HideReplyNotice();
  void ShowReplyProgress(int queued);
  void HideReplyProgress();

  QElapsedTimer LinkClock;  // times the reply's progress bar
  qint64 ProgressShownAt = -1;
  // When the first bytes of the reply being awaited were seen (-1: none yet).
  qint64 ReplyArrivingSince = -1;

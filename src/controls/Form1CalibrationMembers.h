// Members of TForm1 that belong to the zero calibration: the panel over the
// plot, its handlers and the settings put back after a run. Included inside
// the body of class TForm1 (app/TForm1.h); owned by the controls folder.
 public:
  void BuildCalibration();
  void Calibrate1Click();  // shows Panel11
  void Button3Click();     // "Cancel": hides Panel11
  void Button2Click();     // "START CALIBRATION": the two captures and the offsets

  // The settings in force before a calibration, put back at its end.
  Flag SavedCH1HighRange = 0;
  Flag SavedCH2HighRange = 0;
  Flag SavedConSample = 0;
  // The panel's rate while the captures are forced to two channels: what the
  // knob and the keys settle during the run (SettlePanelRate), put back at
  // its end.
  Flag SavedRate1MS = 0;
  QString SavedSampleRateText;

 private:
  // Starts one calibration capture on the given range (a single capture
  // through the link, the panel as the calibration set it).
  void StartCalibrationCapture(bool highRange);
  // The capture has ended (acquisition stopped): with a record the offsets
  // are read and the next capture starts or the calibration completes;
  // without one the calibration is given up, saying why.
  void CalibrationCaptureEnded();
  // The end: the panel put back, then the offsets stored or the reason told.
  void FinishCalibration(bool complete, int why);
  // Puts back the ranges, the sample rate and the acquisition mode.
  void RestoreAfterCalibration();
  void CalibrationWatchTimer();

  Flag Calibrating = 0;
  // The capture under way: on the high range (the first) or the low range.
  bool CalibratingHighRange = false;
  std::uint64_t CalibrationRecordsBefore = 0;
  std::int32_t CalibrationHigh1 = 0;
  std::int32_t CalibrationHigh2 = 0;
  Flag CalibrationTimedOut = 0;
  int CalibrationLimitMs = 0;
  QTimer* CalibrationWatch = nullptr;  // ends a capture that never completes
  CalibrationPanel* calibrationPanel_ = nullptr;
  QElapsedTimer CalibrationClock;
 public:

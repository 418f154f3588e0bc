// Members of TForm1 that belong to the zero calibration: the panel over the
// plot, its handlers and the settings put back after a run. Included inside
// the body of class TForm1 (app/TForm1.h); owned by the controls folder.
 public:
  void BuildCalibration();
  void Calibrate1Click();  // shows Panel11
  void Button3Click();     // "Cancel": hides Panel11
  void Button2Click();     // "START CALIBRATION": the two captures and the offsets

  TLabel* Label14 = nullptr;
  TImage* Image24 = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Button3 = nullptr;

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
  // One calibration capture on the given range through GetData. True when a
  // reply arrived; otherwise `why` says what ended it. The window may be gone
  // when it returns (`alive` tells).
  bool CalibrationCapture(bool highRange, int& why);
  // Puts back the ranges, the sample rate and the acquisition mode.
  void RestoreAfterCalibration();
  void CalibrationWatchTimer();

  Flag Calibrating = 0;
  Flag CalibrationTimedOut = 0;
  int CalibrationLimitMs = 0;
  QTimer* CalibrationWatch = nullptr;  // ends a capture that never completes
  QElapsedTimer CalibrationClock;
 public:

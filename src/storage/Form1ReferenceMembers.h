// Members of TForm1 that belong to reference waveforms (Form1Reference.cpp).
// Included inside the body of class TForm1 (app/TForm1.h); owned by the
// storage folder.
 public:
  void BuildReference();
  void SaveCH1Ref1Click();
  void SaveCH2Ref1Click();
  // One channel's held record as plot rows into a file; refused before the
  // first record has arrived.
  void SaveReference(int channel);
  // Checks the whole file first: a bad one changes nothing. A good one
  // holds the time base at the file's and locks the time base knob.
  void LoadReferance1Click();
  // Unlocks the knob and stops drawing the reference; the time base stays.
  void ReferanceOFF1Click();
  // The view that was on the plot when the loaded reference was saved.
  std::int32_t ReferenceViewStart = 0;
  std::int32_t ReferenceViewEnd = 0;

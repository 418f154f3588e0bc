// Members of TForm1 that belong to settings, files and the about panel.
// Included inside the body of class TForm1 (app/TForm1.h); owned by the
// storage folder.
 public:
  void BuildStorage();
  // The restore: rebuilds the whole front panel from the store. Also run by
  // the commands that rewrite the store (Load Default Settings, a settings
  // file, a reference). A value that is missing or of the wrong type takes
  // its default; the user is told each one after the command.
  void FormShow();
  // Running := 0, then the panel state into the store.
  void FormClose();
  // The panel state as the close writes it, in its order (a reference load
  // writes the same list).
  std::vector<SettingsStore::NamedValue> PanelStateWrites();
  void LoadDefultSettings1Click();
  // The port a store without one starts on: the first USB serial port
  // present, else the built-in simulated instrument.
  static QString DefaultComPort();
  // Settings files (Form1SettingsFile.cpp).
  void BuildSettingsFile();
  void SaveSettingsToFile1Click();
  // Checks the whole file first: a bad one changes neither store nor panel.
  void LoadSettings1Click();
  void AboutTimerTimer();
  // The About panel: also the splash shown at start.
  void BuildAboutPanel();
  void About1Click();
  void Button5Click();

 private:
  // The restore's steps, in their order.
  void RestoreMarkers(RestoreReader& read);
  void RestoreTriggerSource(RestoreReader& read);
  void RestoreCalibration(RestoreReader& read);
  void RestoreTriggerArrows(RestoreReader& read);
  void RestoreRecordView();
  void RestoreKnobs(RestoreReader& read);
  void RestoreChannels(RestoreReader& read);
  void RestoreDisplay(RestoreReader& read);
  void RestoreWindow(RestoreReader& read);
  void RestoreTriggerSettings(RestoreReader& read);
  void RestoreLevelAndTimeBase(RestoreReader& read);
  // Keeps a copy of the store as it is beside it, then puts the values the
  // restore held to the panel's ranges in place of the stored ones. The
  // copy's path, or empty when there was no file.
  QString KeepStoreAsItWas(const RestoreReader& read);
  // Set by a restore that gave a missing or mistyped value its default: the
  // close then writes the defaults of such values it does not write itself.
  bool RestoreReplacedValues = false;
  // A new user's store gets the defaults and a port before the first restore.
  void FillStoreForNewUser();
  // The window's outer top-left corner from the store, kept on a screen.
  void PlaceWindow(int left, int top);
  // GridBitmap from GridFile in the program's folder.
  void LoadGraticule();
 public:

// Members of TForm1 that belong to settings, files and the about panel.
// Included inside the body of class TForm1 (app/TForm1.h); owned by the
// storage folder.
 public:
  void BuildStorage();
  void FormShow();
  void FormClose();
  void AboutTimerTimer();

// Members of TForm1 for "Export Data To File". Included inside the body of
// class TForm1 (app/TForm1.h); owned by the storage folder.
 public:
  void BuildExport();
  // The held record as a table of time and voltage, with the ranges and
  // time base it was captured with; nothing is written before the first
  // record or when the dialog is cancelled.
  void ExportData1Click();

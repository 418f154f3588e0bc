// Members of TForm1 that belong to acquisition: the run/stop cycle and the
// capture exchange. Included inside the body of class TForm1 (app/TForm1.h);
// owned by the acquisition folder.
 public:
  void BuildAcquisition();
  void RunStopClick();
  void GetData();

  TImage* Image12 = nullptr;  // status picture: run, stop, hourglass frames

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
  // The 9 command bytes, preceded by the stop byte and a flush when a capture
  // is still pending; remembers what the reply will be split by.
  void SendCaptureCommand();
  // Status byte, samples into CH1Samples/CH2Samples, final drain.
  void ReceiveCaptureReply();
  // Ends a pending capture: stop byte, then up to one reply discarded.
  void SendStopByte();

  TImage* Image12 = nullptr;  // status picture: run, stop, hourglass frames

 private:
  void EndAcquisition();        // after a single capture or a switch to Single
  void LeaveThroughStopExit();  // the wait noticed Running = 0

  // The layout the instrument was asked for by the last command sent: the
  // reply is split by it, not by the channel keys at the time it is read.
  Flag ReplyRate1MS = 0;
  Flag ReplyChannelOn1 = 1;

  // Blocks each pass of the capture wait until a window event or port input
  // arrives (acquisition/CaptureWait.h).
  class CaptureWait* ReplyWait = nullptr;

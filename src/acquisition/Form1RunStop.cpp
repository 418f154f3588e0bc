// The run/stop cycle: starting and stopping acquisition, the capture loop and
// its wait, single and continuous capture, the hourglass and the delayed
// restart after a forced stop.
#include "app/TForm1.h"

#include "acquisition/CaptureProtocol.h"
#include "acquisition/CaptureWait.h"
#include "acquisition/RunStopPictures.h"

#include <QAction>
#include <QPointer>
#include <QTimer>

void TForm1::RunStopClick() {
  if (Running == 0) {
    ShowBitmap(RunStopButton, run_stop::PicturePath(run_stop::StopButtonBitmap));
    ShowBitmap(Image12, run_stop::PicturePath(run_stop::RunStatusBitmap));
    Running = 1;
    CapturedTimeBase = TimeBaseIndex;
    CapturedRate1MS = Rate1MS;
    TriggerPosCalc();
    if (Button1 != nullptr) Button1->setEnabled(false);
    ResetPres();
    GetData();
    return;
  }
  if (HorTrigPos != nullptr) StopTrigPos = Left(HorTrigPos);
  ShowBitmap(Image12, run_stop::PicturePath(run_stop::StopStatusBitmap));
  Running = 0;
  if (Button1 != nullptr) Button1->setEnabled(true);
  // The pending GetData sees Running = 0 at its next pass and puts the key
  // back to RUN on its way out.
  SendStopByte();
}

void TForm1::GetData() {
  // Any handler may run inside the wait, closing the window included; after
  // each dispatch nothing of the window is touched unless it still exists.
  const QPointer<TForm1> alive(this);
  do {
    SetEnabled(Anoucer, false);
    CapturedTimeBase = TimeBaseIndex;
    CapturedRate1MS = Rate1MS;
    // The connection watch must not talk to the instrument while a capture
    // is pending.
    SetEnabled(Timer1, false);
    SendCaptureCommand();

    int queued = SerialPort.InQueueCount();
    while (queued < capture_protocol::CaptureSampleCount) {
      AwaitingData = 1;
      if (Running == 1) {
        ReplyWait->WaitAndDispatch(SerialPort.Handle, SerialPort.DeviceGone(), queued);
      } else {
        // Called while stopped: one look at the events, then the stop exit.
        CaptureWait::DispatchPending();
      }
      if (!alive) return;
      SetEnabled(Anoucer, true);
      if (Running == 0) {
        LeaveThroughStopExit();
        return;
      }
      queued = SerialPort.InQueueCount();
    }

    ReceiveCaptureReply();
    PlotWaveform();
    if (AutoMeasOn == 1) AutoMeasuremtns();
  } while (ConSample == 1);
  EndAcquisition();
}

void TForm1::EndAcquisition() {
  Running = 0;
  if (Button1 != nullptr) Button1->setEnabled(true);
  SetEnabled(Timer1, true);
  SetEnabled(Anoucer, false);
  if (HorTrigPos != nullptr) StopTrigPos = Left(HorTrigPos);
  ShowBitmap(Image12, run_stop::PicturePath(run_stop::StopStatusBitmap));
  ShowBitmap(RunStopButton, run_stop::PicturePath(run_stop::RunButtonBitmap));
}

void TForm1::LeaveThroughStopExit() {
  AwaitingData = 0;
  // Whatever the instrument sent after the stop byte must not be taken for
  // the next answer.
  SerialPort.ReadBlock(0, 5);
  SetEnabled(Timer1, true);
  SetEnabled(Anoucer, false);
  ShowBitmap(Image12, run_stop::PicturePath(run_stop::StopStatusBitmap));
  if (Button1 != nullptr) Button1->setEnabled(true);
  ShowBitmap(RunStopButton, run_stop::PicturePath(run_stop::RunButtonBitmap));
}

void TForm1::ContinuousClick() {
  ConSample = 1;
  Continuous->setChecked(true);
  Single->setChecked(false);
}

void TForm1::SingleClick() {
  // A continuous run in progress ends after the capture it is waiting for.
  ConSample = 0;
  Continuous->setChecked(false);
  Single->setChecked(true);
}

void TForm1::AnoucerTimer() {
  HourGlassFrame = run_stop::NextHourGlassFrame(HourGlassFrame);
  ShowBitmap(Image12, run_stop::PicturePath(run_stop::HourGlassBitmap(HourGlassFrame)));
}

void TForm1::StatStopResetTimerTimer() {
  SetEnabled(StatStopResetTimer, false);
  const QPointer<TForm1> alive(this);
  // Starts acquisition again with the new settings; in continuous mode this
  // returns only when that acquisition ends.
  RunStopClick();
  if (alive) RestartPending = 0;
}

// The run/stop cycle: starting and stopping acquisition, the capture loop and
// its wait, single and continuous capture, the hourglass and the delayed
// restart after a forced stop.
#include "app/TForm1.h"

#include "acquisition/CaptureProtocol.h"
#include "acquisition/CaptureWait.h"
#include "acquisition/LinkTiming.h"
#include "acquisition/RunStopPictures.h"
#include "app/Errors.h"

#include <QAction>
#include <QElapsedTimer>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>

#include <algorithm>

namespace {

// The progress of a reply is redrawn at most this often, and shown only for
// a reply still arriving this long after its first bytes: one that is in at
// once (the built-in instrument, a fast link) never flashes the bar, which
// would repaint the status strip with every capture.
constexpr int ProgressEveryMs = 200;

}  // namespace

void TForm1::RunStopClick() {
  if (Running == 0) {
    ShowBitmap(RunStopButton, run_stop::PicturePath(run_stop::StopButtonBitmap));
    ShowBitmap(Image12, run_stop::PicturePath(run_stop::RunStatusBitmap));
    Running = 1;
    HideReplyNotice();
    // The held record keeps its time base and mode (HeldRecord) until the
    // reply to this run replaces it.
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

bool TForm1::DeviceVanished() const {
  return SerialPort.DeviceGone() ||
         (SerialPort.IsOpen && CaptureWait::HungUp(SerialPort.Handle));
}

bool TForm1::AwaitQuietLine() {
  const QPointer<TForm1> alive(this);
  // A reply cut short by a stop byte may still be arriving: it is discarded
  // until the line has been quiet, and only then is anything new asked.
  // Called while stopped, GetData sends nothing into such a line.
  if (!LineState.Dirty()) return true;
  while (!LineQuiet()) {
    if (DeviceVanished()) {
      LeaveBecauseDeviceVanished();
      return false;
    }
    if (Running == 0) {
      LeaveThroughStopExit();
      return false;
    }
    const int sleepMs = std::max(1, LineState.MsUntilSettled(LinkClock.elapsed()));
    // Asleep until the line may have settled, not woken by each byte of a
    // tail: it is discarded in one go at the next pass.
    ReplyWait->WaitAndDispatch(-1, sleepMs);
    if (!alive) return false;
    SetEnabled(Anoucer, true);
  }
  return true;
}

bool TForm1::AwaitConnection() {
  const QPointer<TForm1> alive(this);
  if (!LinkClock.isValid()) LinkClock.start();
  // RUN before the connection watch has first found the instrument, or while
  // it is away: the watch's tick runs here, once a watch period, until the
  // port is open, so the command goes out as soon as an instrument can answer
  // it. Meanwhile the hourglass turns and STOP ends the wait.
  qint64 nextTickAt = LinkClock.elapsed();
  for (;;) {
    if (LinkClock.elapsed() >= nextTickAt) {
      try {
        Timer1Timer();
      } catch (const ScopeError&) {
        // The ports could not be listed: acquisition ends before the one
        // error box reports it.
        if (alive && Running == 1) {
          Running = 0;
          LeaveThroughStopExit();
        }
        throw;
      }
      if (!alive) return false;
      nextTickAt = LinkClock.elapsed() + Timer1->interval();
      if (Running == 0) {
        LeaveThroughStopExit();
        return false;
      }
      if (SerialPort.IsOpen && !DeviceVanished()) {
        // The tick enabled the detection key; a capture is about to be pending.
        if (Button1 != nullptr) Button1->setEnabled(false);
        return true;
      }
    }
    // Window events end the sleep; the next tick still waits for its time.
    ReplyWait->WaitAndDispatch(-1, static_cast<int>(std::max<qint64>(1, nextTickAt - LinkClock.elapsed())));
    if (!alive) return false;
    SetEnabled(Anoucer, true);
    if (Running == 0) {
      LeaveThroughStopExit();
      return false;
    }
  }
}

void TForm1::GiveUpStalledReply() {
  // The instrument began its reply and stopped half way. The stop byte ends
  // the capture should the instrument still hold it, what came is discarded,
  // and the line is left to go quiet as after any stop byte.
  SendStopByte();
  AwaitingData = 0;
  HideReplyProgress();
  SetEnabled(Anoucer, false);
  ShowReplyNotice();
}

void TForm1::GetData() {
  // Any handler may run inside the wait, closing the window included; after
  // each dispatch nothing of the window is touched unless it still exists.
  const QPointer<TForm1> alive(this);
  if (!LinkClock.isValid()) LinkClock.start();
  bool firstPass = true;
  do {
    if (!firstPass) {
      // However fast the replies come, the window answers once a capture.
      CaptureWait::DispatchPending();
      if (!alive) return;
      if (Running == 0) {
        LeaveThroughStopExit();
        return;
      }
    }
    firstPass = false;
    SetEnabled(Anoucer, false);
    // The connection watch must not talk to the instrument while a capture
    // is pending.
    SetEnabled(Timer1, false);
    if (AwaitingData == 1) {
      SendStopByte();
      AwaitingData = 0;
    }
    if (Running == 1 && !SerialPort.IsOpen && !AwaitConnection()) return;
    if (!AwaitQuietLine()) return;
    SendCaptureCommand();

    int queued = SerialPort.InQueueCount();
    int lastQueued = 0;
    qint64 lastLookUs = -1;
    qint64 allButLastSinceMs = -1;
    qint64 lastInputMs = -1;  // when the queue last changed
    bool stalled = false;
    for (;;) {
      AwaitingData = 1;
      const qint64 nowUs = LinkClock.nsecsElapsed() / 1000;
      const qint64 now = nowUs / 1000;
      int watch = -1;
      int sleepMs = -1;
      if (queued != lastQueued || lastInputMs < 0) lastInputMs = now;
      if (queued >= capture_protocol::CaptureReplyLength) break;
      if (queued < capture_protocol::CaptureSampleCount && link_timing::ReplyStalled(queued, now - lastInputMs)) {
        stalled = true;
        break;
      }
      if (queued == capture_protocol::CaptureSampleCount) {
        // All but the last byte: it gets a few character times to come, so
        // a late last byte lands in its record and not in the next one.
        if (allButLastSinceMs < 0) allButLastSinceMs = now;
        const qint64 waited = now - allButLastSinceMs;
        if (waited >= link_timing::LastByteGraceMs) break;
        sleepMs = static_cast<int>(link_timing::LastByteGraceMs - waited);
      } else if (queued > 0) {
        // The rate is reckoned from looks that found bytes queued: the time
        // before the first of them is the instrument's, not the line's.
        sleepMs = link_timing::TrickleSleepMs(capture_protocol::CaptureSampleCount - queued, queued - lastQueued,
                                              lastQueued > 0 ? nowUs - lastLookUs : 0);
      } else {
        watch = SerialPort.IsOpen ? SerialPort.Handle : -1;
      }
      lastQueued = queued;
      lastLookUs = nowUs;
      if (DeviceVanished()) {
        LeaveBecauseDeviceVanished();
        return;
      }
      if (Running == 1) {
        ReplyWait->WaitAndDispatch(watch, sleepMs);
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
      ShowReplyProgress(queued);
    }

    if (stalled) {
      // Nothing of it is plotted; a continuous run asks again once the line
      // is quiet, a single capture ends here.
      GiveUpStalledReply();
      continue;
    }
    ReceiveCaptureReply();
    HideReplyProgress();
    HideReplyNotice();
    PlotWaveform();
    if (AutoMeasOn == 1) AutoMeasuremtns();
  } while (ConSample == 1);
  EndAcquisition();
}

void TForm1::ShowReplyProgress(int queued) {
  if (ReplyProgress == nullptr) return;
  if (queued <= 0) return;
  const qint64 now = LinkClock.elapsed();
  if (ReplyArrivingSince < 0) ReplyArrivingSince = now;
  if (now - ReplyArrivingSince < ProgressEveryMs) return;
  if (ReplyProgress->isVisible() && ProgressShownAt >= 0 && now - ProgressShownAt < ProgressEveryMs)
    return;
  ProgressShownAt = now;
  ReplyProgress->setValue(std::min(queued, capture_protocol::CaptureReplyLength));
  ReplyProgress->show();
}

void TForm1::ShowReplyNotice() {
  if (ReplyNotice != nullptr) ReplyNotice->show();
}

void TForm1::HideReplyNotice() {
  if (ReplyNotice != nullptr && !ReplyNotice->isHidden()) ReplyNotice->hide();
}

void TForm1::HideReplyProgress() {
  ProgressShownAt = -1;
  ReplyArrivingSince = -1;
  if (ReplyProgress != nullptr && ReplyProgress->isVisible()) ReplyProgress->hide();
}

void TForm1::EndAcquisition() {
  ReplyWait->StopWatching();
  Running = 0;
  if (Button1 != nullptr) Button1->setEnabled(true);
  SetEnabled(Timer1, true);
  SetEnabled(Anoucer, false);
  if (HorTrigPos != nullptr) StopTrigPos = Left(HorTrigPos);
  ShowBitmap(Image12, run_stop::PicturePath(run_stop::StopStatusBitmap));
  ShowBitmap(RunStopButton, run_stop::PicturePath(run_stop::RunButtonBitmap));
}

void TForm1::LeaveThroughStopExit() {
  ReplyWait->StopWatching();
  AwaitingData = 0;
  HideReplyProgress();
  // The wait was ended without a stop byte (the window closing): the
  // instrument must not be left armed, or its late answer would greet the
  // next start's identify query.
  if (CaptureOutstanding && CommandWhileRunning) SendStopByte();
  // Whatever the instrument sent after the stop byte must not be taken for
  // the next answer.
  DiscardInput();
  SetEnabled(Timer1, true);
  SetEnabled(Anoucer, false);
  ShowBitmap(Image12, run_stop::PicturePath(run_stop::StopStatusBitmap));
  if (Button1 != nullptr) Button1->setEnabled(true);
  ShowBitmap(RunStopButton, run_stop::PicturePath(run_stop::RunButtonBitmap));
}

void TForm1::LeaveBecauseDeviceVanished() {
  ReplyWait->StopWatching();
  Running = 0;
  AwaitingData = 0;
  CaptureOutstanding = false;
  LineState.Clear();
  HideReplyProgress();
  SetEnabled(Timer1, true);
  SetEnabled(Anoucer, false);
  if (HorTrigPos != nullptr) StopTrigPos = Left(HorTrigPos);
  // The port is closed and the indicator turns at once; the watch reopens
  // the port when the device is back.
  ShowDisconnected();
  ShowBitmap(Image12, run_stop::PicturePath(run_stop::StopStatusBitmap));
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

// The run/stop cycle: starting and stopping acquisition, single and
// continuous capture, the hourglass and the delayed restart after a forced
// stop. The captures themselves are the link's (core/ScopeLink): it tells
// the window what happened, and nothing here waits.
#include "window/TForm1.h"
#include "display/OverviewStrip.h"
#include "display/StatusStrip.h"

#include "connection/ComSettingsPanel.h"

#include "acquisition/CaptureProtocol.h"
#include "acquisition/RunStopPictures.h"
#include "app/Errors.h"

#include <QAction>
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

void TForm1::ConnectLink() {
  if (!LinkClock.isValid()) LinkClock.start();
  // Every command is made from the panel as the window holds it right now.
  Link.SetRequestSource([this] { return RequestNow(); });
  connect(&Link, &core::ScopeLink::stateChanged, this, Handler([this](core::ScopeLink::State state) {
            AwaitingData = state == core::ScopeLink::State::Armed || state == core::ScopeLink::State::Receiving;
            ShowHourglass();
            // A reply cut off while the run goes on (a new level, a stall):
            // the held record goes back on the screen. A stopped run puts it
            // back once stopped; a whole reply brings its record.
            if (Link.Running() && state != core::ScopeLink::State::Receiving &&
                state != core::ScopeLink::State::Done)
              PutBackHeldRecord();
          }));
  connect(&Link, &core::ScopeLink::replyProgress, this,
          Handler([this](int bytes, const core::Record&) { ShowReplyProgress(bytes); }));
  // The reply drawn as it arrives; nothing else sees a partial record.
  connect(&Link, &core::ScopeLink::samplesArriving, this,
          Handler([this](const core::Record& partial, const core::ReplyArrival& arrival) {
            DrawArrivingReply(partial, arrival);
          }));
  connect(&Link, &core::ScopeLink::recordReceived, this,
          Handler([this](const core::Record& record) { TakeRecord(record); }));
  connect(&Link, &core::ScopeLink::replyGivenUp, this, Handler([this] {
            // Nothing of it is plotted; a continuous run asks again once the
            // line is quiet, a single capture ends here.
            HideReplyProgress();
            ShowReplyNotice();
          }));
  connect(&Link, &core::ScopeLink::stopped, this,
          Handler([this](core::ScopeLink::StopReason reason) { AcquisitionStopped(reason); }));
  connect(&Link, &core::ScopeLink::failed, this, Handler([this](const QString& message) {
            // Acquisition has ended; the one error box reports why.
            throw ScopeError(message);
          }));
}

void TForm1::RunStopClick() {
  if (Running == 0) {
    ShowBitmap(RunStopButton, run_stop::PicturePath(run_stop::StopButtonBitmap));
    statusStrip_->ShowRunStatus(run_stop::PicturePath(run_stop::RunStatusBitmap));
    Running = 1;
    HideReplyNotice();
    statusStrip_->ShowRecordPosition({});
    // The held record keeps its time base and mode (HeldRecord) until the
    // reply to this run replaces it.
    ResetPres();
    StartAcquisition();
    return;
  }
  // The stop byte ends the pending capture; the keys and pictures go back
  // when the link says acquisition has stopped (EndAcquisition).
  if (Link.Running())
    Link.Stop();
  else
    EndAcquisition();
}

void TForm1::StartAcquisition() {
  // The trigger-position bytes depend on the time base.
  TriggerPosCalc();
  comSettings_->SetDetectEnabled(false);
  // The connection watch must not talk to the instrument while a capture
  // is pending.
  SetEnabled(Timer1, false);
  Link.SetContinuous(ConSample == 1);
  Link.Run();
  ShowHourglass();
}

void TForm1::ShowHourglass() {
  // The hourglass turns while a reply is awaited, the line settles before
  // the next command, or RUN waits for the instrument to be found.
  const core::ScopeLink::State state = Link.CurrentState();
  const bool waiting = Running == 1 && Link.Running() &&
                       (state == core::ScopeLink::State::Armed || state == core::ScopeLink::State::Receiving ||
                        state == core::ScopeLink::State::Settling || Link.AwaitingConnection());
  SetEnabled(Anoucer, waiting);
}

void TForm1::TakeRecord(const core::Record& record) {
  // The held record is the one the link made from the reply, described by
  // the command it answers; nothing else writes it.
  HeldRecord = Averaged(record);
  // The record the panel asked for shows the channels its keys show.
  FrameChannelSource = core::ChannelSource::PanelKeys;
  KeepRecord(record);
  HideReplyProgress();
  HideReplyNotice();
  PlotWaveform();
  // One reading of the record over the view the frame drew, for the panel
  // and for the statistics, the log and the trend alike.
  const std::array<core::ChannelReadings, 2> readings = core::ReadingsOfView(HeldRecord, ViewStart, ViewEnd);
  if (AutoMeasOn == 1) AutoMeasuremtns(&readings);
  CountRecord(readings);
}

void TForm1::AcquisitionStopped(core::ScopeLink::StopReason reason) {
  EndAcquisition();
  // A reply cut off half way: the last complete record, as it was.
  PutBackHeldRecord();
  // A device that vanished while a capture was pending: the port is closed
  // and the indicator turns at once, without a message; the watch reopens
  // the port when the device is back.
  if (reason == core::ScopeLink::StopReason::DeviceGone) ShowDisconnected();
  if (Calibrating == 1) CalibrationCaptureEnded();
}

void TForm1::ShowReplyProgress(int queued) {
  if (queued <= 0) return;
  const qint64 now = LinkClock.elapsed();
  if (ReplyArrivingSince < 0) ReplyArrivingSince = now;
  if (now - ReplyArrivingSince < ProgressEveryMs) return;
  if (statusStrip_->ReplyProgressShown() && ProgressShownAt >= 0 && now - ProgressShownAt < ProgressEveryMs)
    return;
  ProgressShownAt = now;
  statusStrip_->ShowReplyProgress(queued);
}

void TForm1::ShowReplyNotice() {
  statusStrip_->SetReplyNoticeShown(true);
}

void TForm1::HideReplyNotice() {
  statusStrip_->SetReplyNoticeShown(false);
}

void TForm1::HideReplyProgress() {
  ProgressShownAt = -1;
  ReplyArrivingSince = -1;
  statusStrip_->HideReplyProgress();
}

void TForm1::EndAcquisition() {
  Running = 0;
  AwaitingData = 0;
  HideReplyProgress();
  comSettings_->SetDetectEnabled(true);
  SetEnabled(Timer1, true);
  SetEnabled(Anoucer, false);
  if (overview_ != nullptr) StopTrigPos = overview_->MarkerLeft(OverviewMarker::TriggerPosition);
  statusStrip_->ShowRunStatus(run_stop::PicturePath(run_stop::StopStatusBitmap));
  ShowBitmap(RunStopButton, run_stop::PicturePath(run_stop::RunButtonBitmap));
}

void TForm1::ContinuousClick() {
  ConSample = 1;
  Link.SetContinuous(true);
  Continuous->setChecked(true);
  Single->setChecked(false);
}

void TForm1::SingleClick() {
  // A continuous run in progress ends after the capture it is waiting for.
  ConSample = 0;
  Link.SetContinuous(false);
  Continuous->setChecked(false);
  Single->setChecked(true);
}

void TForm1::AnoucerTimer() {
  HourGlassFrame = run_stop::NextHourGlassFrame(HourGlassFrame);
  statusStrip_->ShowRunStatus(run_stop::PicturePath(run_stop::HourGlassBitmap(HourGlassFrame)));
}

void TForm1::StatStopResetTimerTimer() {
  SetEnabled(StatStopResetTimer, false);
  // Starts acquisition again with the new settings.
  RunStopClick();
  RestartPending = 0;
}

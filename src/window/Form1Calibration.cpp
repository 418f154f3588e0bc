// Zero calibration: with both probes grounded, one capture on the high range
// and one on the low range measure each channel's offset from the zero code;
// the plot subtracts the offset of each channel's present range.
//
// The captures run through the link like any other, and the window stays
// live meanwhile: the user may press STOP, turn the time base or pull the
// cable. A capture that ends without a reply must not be taken for
// a measurement: the run then stops at once, puts the panel back as it was,
// keeps the stored offsets and says why.
//
// The held record is described by the reply that brought it (the receive
// half latches the layout, scales, ranges and rate it was asked for): a
// capture that gets no reply leaves the record before it as it was, and one
// that does is the two-channel record the calibration asked for.

#include "window/TForm1.h"

#include "controls/Calibration.h"
#include "controls/CalibrationPanel.h"
#include "storage/SettingsStore.h"
#include "storage/StoredValues.h"

#include <QAction>
#include <QTimer>

namespace {

QString Text(std::string_view text) { return QString::fromLatin1(text.data(), qsizetype(text.size())); }

constexpr int WatchIntervalMs = 50;

}  // namespace

void TForm1::BuildCalibration() {
  connect(calibrationPanel_, &CalibrationPanel::startRequested, this, Handler([this] { Button2Click(); }));
  Bind(Calibrate1, &TForm1::Calibrate1Click);

  CalibrationWatch = new QTimer(this);
  CalibrationWatch->setObjectName(QStringLiteral("CalibrationWatch"));
  CalibrationWatch->setInterval(WatchIntervalMs);
  connect(CalibrationWatch, &QTimer::timeout, this, Handler([this] { CalibrationWatchTimer(); }));
}

void TForm1::Calibrate1Click() {
  // One calibration at a time: its panel is not offered again while it runs.
  if (Calibrating == 1) return;
  calibrationPanel_->ShowOnTop();
}

void TForm1::Button3Click() { calibrationPanel_->hide(); }

void TForm1::Button2Click() {
  if (Calibrating == 1) return;
  calibrationPanel_->hide();

  // Started while acquisition runs: stop it as STOP does, and do not start it
  // again afterwards (nor a restart a knob turn had scheduled).
  SetEnabled(StatStopResetTimer, false);
  RestartPending = 0;
  if (Running == 1) RunStopClick();

  SavedCH1HighRange = CH1HighRange;
  SavedCH2HighRange = CH2HighRange;
  SavedConSample = ConSample;
  SingleClick();
  // Auto trigger, so a grounded input is answered; it is left on afterwards.
  Auto1->setChecked(true);
  Normal1->setChecked(false);
  AutoTrigger = 1;
  // The offsets are DC: both captures are taken in the two-channel layout,
  // so both channels are measured on every time base row (at 1 MS/s the
  // instrument would fill one channel only). The rate caption goes with the
  // mode, as the channel keys set it: the captures are described, and their
  // frames captioned, by what was asked. From here the knob and the keys
  // settle the panel's own rate aside (SettlePanelRate), so a turn while a
  // capture waits cannot make the next one a one-channel record.
  Calibrating = 1;
  SettlePanelRate(Rate1MS == 1, SampleRateText);
  StartCalibrationCapture(true);
}

void TForm1::StartCalibrationCapture(bool highRange) {
  CalibratingHighRange = highRange;
  CH1HighRange = highRange ? 1 : 0;
  CH2HighRange = highRange ? 1 : 0;
  Running = 1;
  CalibrationRecordsBefore = HeldRecord.sequence;
  CalibrationTimedOut = 0;
  CalibrationLimitMs = calibration::CaptureTimeLimitMs(SamplePeriodUs);
  CalibrationClock.start();
  SetEnabled(CalibrationWatch, true);
  // A single capture: the calibration chose Single.
  StartAcquisition();
}

void TForm1::CalibrationCaptureEnded() {
  SetEnabled(CalibrationWatch, false);
  if (HeldRecord.sequence == CalibrationRecordsBefore) {
    using calibration::CancelReason;
    CancelReason reason = CancelReason::Stopped;
    if (SerialPort.DeviceGone() || !SerialPort.IsOpen)
      reason = CancelReason::Disconnected;
    else if (CalibrationTimedOut == 1)
      reason = CancelReason::NoAnswer;
    FinishCalibration(false, static_cast<int>(reason));
    return;
  }
  if (CalibratingHighRange) {
    CalibrationHigh1 = calibration::ZeroOffset(HeldRecord.ch1, ViewStart, ViewEnd);
    CalibrationHigh2 = calibration::ZeroOffset(HeldRecord.ch2, ViewStart, ViewEnd);
    StartCalibrationCapture(false);
    return;
  }
  FinishCalibration(true, 0);
}

void TForm1::FinishCalibration(bool complete, int why) {
  Calibrating = 0;
  RestoreAfterCalibration();
  if (!complete) {
    // A restart a knob turn scheduled belongs to the calibration's capture.
    SetEnabled(StatStopResetTimer, false);
    RestartPending = 0;
    Ui.ShowMessage(Text(calibration::CancelMessage(static_cast<calibration::CancelReason>(why))));
    return;
  }
  const std::int32_t low1 = calibration::ZeroOffset(HeldRecord.ch1, ViewStart, ViewEnd);
  const std::int32_t low2 = calibration::ZeroOffset(HeldRecord.ch2, ViewStart, ViewEnd);
  CalCH1H = CalibrationHigh1;
  CalCH2H = CalibrationHigh2;
  CalCH1L = low1;
  CalCH2L = low2;
  // The panel is put back first, so a store that fails leaves it as it was.
  const std::int32_t stored[] = {CalCH1L, CalCH2L, CalCH1H, CalCH2H};
  static_assert(calibration::StoredNames[0] == stored::NameOf(stored::Id::CalCH1L) &&
                calibration::StoredNames[1] == stored::NameOf(stored::Id::CalCH2L) &&
                calibration::StoredNames[2] == stored::NameOf(stored::Id::CalCH1H) &&
                calibration::StoredNames[3] == stored::NameOf(stored::Id::CalCH2H));
  for (std::size_t i = 0; i < calibration::StoredNames.size(); ++i)
    SettingsRegistry.WriteInteger(Text(calibration::StoredNames[i]), stored[i]);
  Ui.ShowMessage(Text(calibration::CompleteMessage));
}

void TForm1::CalibrationWatchTimer() {
  // Ends the capture as STOP does when the instrument has gone or has had
  // more than enough time to answer.
  if (Running != 1 || AwaitingData != 1) return;
  const bool gone = SerialPort.DeviceGone() || !SerialPort.IsOpen;
  const bool late = CalibrationClock.elapsed() > CalibrationLimitMs;
  if (!gone && !late) return;
  CalibrationTimedOut = late ? 1 : 0;
  SetEnabled(CalibrationWatch, false);
  RunStopClick();
}

void TForm1::RestoreAfterCalibration() {
  CH1HighRange = SavedCH1HighRange;
  CH2HighRange = SavedCH2HighRange;
  // The panel's rate for the next run, as its time base and channels now
  // give it (kept by the knob and the keys during the run); the held record
  // keeps its own.
  SettlePanelRate(SavedRate1MS == 1, SavedSampleRateText);
  if (SavedConSample == 1)
    ContinuousClick();
  else
    SingleClick();
  TriggerPosCalc();
}

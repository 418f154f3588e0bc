// The trigger level: the arrows on the strip right of the plot, the line that
// shows the level across the plot for a few seconds, the readout under the
// screen and the typed level, and the indicators that stand in for an arrow
// that has left the strip. Levels are kept per channel in counts above the
// channel's 0 V line; an arrow's Top is a plot row like its 0 V marker's.

#include "window/TForm1.h"
#include "controls/PositionStrip.h"
#include "controls/TriggerStrip.h"
#include "display/ScreenPanel.h"
#include "display/StatusStrip.h"

#include "controls/TriggerLevel.h"

#include <QLocale>
#include <QTimer>

namespace {

constexpr int ExtSource = 10;

}  // namespace

void TForm1::BuildTriggerStrip() {
  triggerStrip_ = new TriggerStrip(Panel2, Kit);
  // The arrows share the press and the first steps of the release with the
  // 0 V markers; the move and the rest of the release are the level's.
  triggerStrip_->OnArrowPressed = [this](int channel, Qt::MouseButton, int, int y) {
    TriggerArrowMouseDown(channel, y);
  };
  triggerStrip_->OnArrowMoved = [this](int channel, int x, int y) { TriggerArrowMouseMove(channel, x, y); };
  triggerStrip_->OnArrowReleased = [this](int, Qt::MouseButton, int, int) { TriggerArrowMouseUp(); };
  triggerStrip_->OnIndicatorDoubleClick = [this](int channel) {
    if (channel == 1)
      TrigUPClick();
    else
      TrigUP2DblClick();
  };
}

int TForm1::TriggerLevelChannel() const { return TriggerCH == 1 ? 1 : 2; }

void TForm1::ShowTriggerLevel(int channel) {
  const ChannelParts ch = Channel(channel);
  statusStrip_->ShowTriggerLevel(trigger_level::LevelReadout(ch.TriggerV, ch.HighRange == 1, QLocale().decimalPoint()));
}

void TForm1::ShowTriggerLevelFromArrow() {
  const ChannelParts ch = Channel(TriggerLevelChannel());
  ch.TriggerV = trigger_level::LevelFromArrow(ch.VertPos, triggerStrip_->ArrowTop(ch.Number), ch.Scale);
  if (TriggerCH == ExtSource)
    statusStrip_->ShowTriggerLevel(QStringLiteral("TTL"));
  else
    ShowTriggerLevel(ch.Number);
}

// ---- Arrow placement -------------------------------------------------------

void TForm1::PlaceTriggerLineAtArrow() {
  screen_->PlaceLevelLine(triggerStrip_->ArrowTop(TriggerLevelChannel()) + trigger_level::LineBelowArrow);
}

void TForm1::ResetCH1TriggerVoltage() { ResetTriggerVoltage(1); }
void TForm1::ResetCH2TriggerVoltage() { ResetTriggerVoltage(2); }

void TForm1::ResetTriggerVoltage(int channel) {
  const ChannelParts ch = Channel(channel);
  triggerStrip_->PlaceArrow(channel, trigger_level::ArrowTopFromLevel(triggerStrip_->ArrowTop(channel),
                                                                      positionStrip_->MarkerTop(channel), ch.VertPos,
                                                                      ch.TriggerV, ch.Scale));
  PlaceTriggerLineAtArrow();
  TriggerArrowOffScreen();
}

void TForm1::MovTriggerWithCH1Vertial() { MovTriggerWithVertical(1); }
void TForm1::MovTriggerWithCH2Vertial() { MovTriggerWithVertical(2); }

void TForm1::MovTriggerWithVertical(int channel) {
  const ChannelParts ch = Channel(channel);
  triggerStrip_->PlaceArrow(channel, trigger_level::FollowMarker(triggerStrip_->ArrowTop(channel), VertDragDelta));
  TriggerArrowOffScreen();
  PlaceTriggerLineAtArrow();
  ch.TriggerV = trigger_level::LevelFromArrow(ch.VertPos, triggerStrip_->ArrowTop(channel), ch.Scale);
}

void TForm1::ResetTriggerOffScreenIndicators() {
  triggerStrip_->HideIndicators();
}

void TForm1::TriggerArrowOffScreen() {
  ResetTriggerOffScreenIndicators();
  const int channel = TriggerLevelChannel();
  const trigger_level::OffScreenView view = trigger_level::ArrowOffScreen(TriggerCH, triggerStrip_->ArrowTop(channel));
  triggerStrip_->SetIndicatorsShown(channel, view.indicatorUp, view.indicatorDown);
  triggerStrip_->SetArrowShown(channel, view.arrowVisible);
  if (view.hideLine) screen_->SetLevelLineShown(false);
  if (view.extHidesAll) {
    ResetTriggerOffScreenIndicators();
    triggerStrip_->SetArrowShown(1, false);
    triggerStrip_->SetArrowShown(2, false);
  }
}

// ---- Dragging an arrow -------------------------------------------------------

void TForm1::TriggerArrowMouseDown(int channel, int Y) {
  MouseIsDown = 1;
  MouseDownPos = Y;
  triggerStrip_->RaiseArrow(channel);
}

// The pressed arrow is the one that moves; the level read from its place goes
// to the trigger's channel.
void TForm1::TriggerArrowMouseMove(int channel, int, int Y) {
  if (MouseIsDown != 1) return;
  triggerStrip_->PlaceArrow(channel, trigger_level::ArrowDragTop(triggerStrip_->ArrowTop(channel), MouseDownPos, Y));
  screen_->PlaceLevelLine(triggerStrip_->ArrowTop(channel) + trigger_level::LineBelowArrow);
  screen_->SetLevelLineShown(true);
  TriggerArrowOffScreen();
  const ChannelParts ch = Channel(TriggerLevelChannel());
  ch.TriggerV = trigger_level::LevelFromArrow(ch.VertPos, triggerStrip_->ArrowTop(channel), ch.Scale);
  // The hidden Label12 keeps CH1's level in counts.
  if (ch.Number == 1) statusStrip_->ShowTriggerCounts(QString::number(ch.TriggerV));
  ShowTriggerLevel(ch.Number);
}

void TForm1::TriggerArrowMouseUp() {
  // The release of a 0 V marker first.
  MouseIsDown = 0;
  CheckForWaveUpdateNeed();
  // The line goes 3 s after the release (not restarted if it is still running).
  SetEnabled(TrigVoltLineTimer, true);
  // A capture that waits for the old level is asked again with the new one.
  if (AwaitingData == 1) Link.Reissue();
}

void TForm1::TrigVoltLineTimerTimer() {
  screen_->SetLevelLineShown(false);
  SetEnabled(TrigVoltLineTimer, false);
}

// ---- Reset to 0 V --------------------------------------------------------------

void TForm1::TrigUPClick() { ResetTriggerToZero(1); }
void TForm1::TrigUP2DblClick() { ResetTriggerToZero(2); }

void TForm1::ResetTriggerToZero(int channel) {
  Channel(channel).TriggerV = 0;
  statusStrip_->ShowTriggerLevel(QStringLiteral("0 V"));
  ResetTriggerVoltage(channel);
}

// ---- Typed level ---------------------------------------------------------------

void TForm1::Label23DblClick() {
  statusStrip_->OpenLevelEntry();
}

void TForm1::TriggerVEditKeyDown(int Key) {
  if (Key != Qt::Key_Return && Key != Qt::Key_Enter) return;
  // A text that is not a number is reported; the edit stays open for another try.
  const double volts = trigger_level::ParseVolts(statusStrip_->LevelEntryText(), QLocale().decimalPoint());
  if (volts > trigger_level::TypedLimitVolts || volts < -trigger_level::TypedLimitVolts) {
    statusStrip_->ShowTriggerLevel(QStringLiteral("0"));
    return;
  }
  statusStrip_->CloseLevelEntry();
  // EXT types CH2's level too, and shows it in place of "TTL".
  const ChannelParts ch = Channel(TriggerLevelChannel());
  ch.TriggerV = trigger_level::CountsFromVolts(volts, ch.HighRange == 1);
  ShowTriggerLevel(ch.Number);
  ResetTriggerVoltage(ch.Number);
  if (AwaitingData == 1) Link.Reissue();
}

// The time/div knob: the row under the pointer sets the index the capture
// command sends, the time per plot column and the captions under the screen.
// Dragging it is the volts/div knob's mechanism (Form1Vertical.cpp).

#include "window/TForm1.h"
#include "display/StatusStrip.h"
#include "controls/KnobAngle.h"
#include "controls/TimeBaseKnob.h"
#include "controls/VerticalControls.h"
#include "controls/TimeKnob.h"

#include <QTimer>

void TForm1::BuildTimeBase() {
  timeBaseKnob_ = new TimeBaseKnob(verticalControls_, Kit);
  timeBaseKnob_->OnPressed = [this](Qt::MouseButton b, int x, int y) { Image7MouseDown(Knob::TimePerDiv, b, x, y); };
  timeBaseKnob_->OnMoved = [this](int x, int y) { Image7MouseMove(Knob::TimePerDiv, x, y); };
  timeBaseKnob_->OnReleased = [this](Qt::MouseButton b, int x, int y) { Image7MouseUp(Knob::TimePerDiv, b, x, y); };

  Guard([this] { SetDesignTimeBase(); });
}

// The knob as the window is designed: 100 us/div.
void TForm1::SetDesignTimeBase() {
  timeBaseKnob_->ShowDot(TableText(time_knob::DotPicture));
  KnobAngle = 138;
  UpdatedTimeKnob();
  statusStrip_->ShowTimeBase(TimeDivText, SampleRateText);
}

void TForm1::UpdatedTimeKnob() {
  const time_knob::TimeRow& row = time_knob::RowForAngle(KnobAngle);
  if (row.index == time_knob::FastestIndex) Checkfor1Ms2();
  if (KnobSnap == 1) KnobAngle = row.detent;
  TimeKnobAngle = row.detent;
  TimeBaseIndex = row.index;
  // Every row but 50 us/div samples both channels; the knob words that row's
  // one-channel rate "1M/s".
  const bool rate1MS = row.index == time_knob::FastestIndex && PanelRate1MS();
  SamplePeriodUs = row.samplePeriodUs;
  TimeDivText = TableText(row.timeDivText);
  SettlePanelRate(rate1MS, TableText(time_knob::SampleRateTextFor(row, rate1MS)));
  TriggerPosCalc();
  timeBaseKnob_->ShowFace(TableText(row.face));
  const knob::DotPlace dot = time_knob::DotPlace(KnobAngle);
  timeBaseKnob_->PlaceDot(dot.left, dot.top);
  KnobAngle = 0;

  // The held record keeps the time base it was captured with until a reply
  // replaces it; a running acquisition takes the new one with its next
  // command.
  const bool changed = CommandTimeBase != TimeBaseIndex;
  // The capture being awaited was asked for with the old time base: stop it
  // and start again 80 ms later. Only a running acquisition is stopped:
  // toggling the run/stop key otherwise would start a run.
  if (AwaitingData == 1 && Running == 1 && changed) {
    // The restart is scheduled before the stop: whoever the stop tells (a
    // calibration giving up its capture) may call it off.
    RestartPending = 1;
    SetEnabled(StatStopResetTimer, true);
    RunStopClick();
  }
  // The trigger-position bytes depend on the time base.
  TriggerPosCalc();
}

// Settles the 1 MS/s mode of the 50 us/div row after a channel key: one
// channel on is sampled at 1 MS/s, and a channel trigger source must then be
// the channel that is on.
void TForm1::Checkfor1Ms() {
  if (ChannelOn[1] == 1 && ChannelOn[2] == 1) {
    SettlePanelRate(false, TableText(time_knob::TwoChannelRateText));
    return;
  }
  // Run on every key press on this row, even when the source is already that
  // channel: it re-places the arrow (and restarts a running acquisition).
  if (TriggerCH == 1 || TriggerCH == 2) {
    if (ChannelOn[1] == 1)
      CH11Click();
    else
      CH21Click();
  }
  SettlePanelRate(true, TableText(time_knob::OneChannelRateText));
}

// The same for a turn of the knob onto the 50 us/div row; the trigger source
// is left alone.
void TForm1::Checkfor1Ms2() {
  const bool bothOn = ChannelOn[1] == 1 && ChannelOn[2] == 1;
  SettlePanelRate(!bothOn, TableText(bothOn ? time_knob::TwoChannelRateText : time_knob::OneChannelRateText));
}

// Rate1MS and SampleRateText are what the next capture asks for and how its
// frames are captioned. A calibration takes both of its captures in the
// two-channel layout, whatever the knob and the keys are turned to while they
// wait; so while it runs the panel's own rate is settled aside, in
// SavedRate1MS and SavedSampleRateText, by the same rule, and the calibration
// puts that back when it ends.
void TForm1::SettlePanelRate(bool rate1MS, const QString& caption) {
  if (Calibrating == 1) {
    SavedRate1MS = rate1MS ? 1 : 0;
    SavedSampleRateText = caption;
    Rate1MS = 0;
    // Only the 50 us/div row has a one-channel rate; both channels are
    // sampled at 500 KS/s there.
    SampleRateText = rate1MS ? TableText(time_knob::TwoChannelRateText) : caption;
    return;
  }
  Rate1MS = rate1MS ? 1 : 0;
  SampleRateText = caption;
}

bool TForm1::PanelRate1MS() const { return (Calibrating == 1 ? SavedRate1MS : Rate1MS) == 1; }

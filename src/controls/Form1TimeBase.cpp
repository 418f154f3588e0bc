// The time/div knob: the row under the pointer sets the index the capture
// command sends, the time per plot column and the captions under the screen.
// Dragging it is the volts/div knob's mechanism (Form1Vertical.cpp).

#include "app/TForm1.h"
#include "controls/KnobAngle.h"
#include "controls/TimeKnob.h"

#include <QTimer>

namespace {

constexpr QColor Lime(0, 255, 0);

// Places, in the parent's pixels.
constexpr QRect Panel7Place{0, -3, 225, 225};      // in HorVerPanel: the time/div knob
constexpr QRect Image9Place{0, 0, 225, 225};       // in Panel7: the face
constexpr QRect Image10Place{101, 101, 22, 22};    // in Panel7: the dot, moved with the angle
constexpr QRect TimeBaseLPlace{104, 17, 75, 16};   // in Panel5, right of the volts/div readouts
constexpr QRect SampleRatePlace{104, 33, 75, 16};

}  // namespace

void TForm1::BuildTimeBase() {
  Panel7 = MakePanel(HorVerPanel, QStringLiteral("Panel7"), Panel7Place);
  Image9 = new TImage(Panel7, QStringLiteral("Image9"));
  Image9->setGeometry(Image9Place);
  BindKnob(Image9);
  Image10 = new TImage(Panel7, QStringLiteral("Image10"));
  Image10->SetTransparent(true);
  Image10->setGeometry(Image10Place);
  Image10->setEnabled(false);
  Image10->setAttribute(Qt::WA_TransparentForMouseEvents);

  // The time/div and sample-rate readouts; the plot copies the captions into
  // them while acquisition runs.
  TimeBaseL = MakeReadout(Panel5, QStringLiteral("TimeBaseL"), TimeBaseLPlace, Lime);
  SampleRate = MakeReadout(Panel5, QStringLiteral("SampleRate"), SampleRatePlace, Lime);

  Guard([this] { SetDesignTimeBase(); });
}

// The knob as the window is designed: 100 us/div.
void TForm1::SetDesignTimeBase() {
  ShowBitmap(Image10, TableText(time_knob::DotPicture));
  KnobAngle = 138;
  UpdatedTimeKnob();
  TimeBaseL->setText(TimeDivText);
  SampleRate->setText(SampleRateText);
}

void TForm1::UpdatedTimeKnob() {
  const time_knob::TimeRow& row = time_knob::RowForAngle(KnobAngle);
  if (row.index == time_knob::FastestIndex) Checkfor1Ms2();
  if (KnobSnap == 1) KnobAngle = row.detent;
  TimeKnobAngle = row.detent;
  TimeBaseIndex = row.index;
  if (row.index != time_knob::FastestIndex) Rate1MS = 0;
  SamplePeriodUs = row.samplePeriodUs;
  TimeDivText = TableText(row.timeDivText);
  SampleRateText = TableText(time_knob::SampleRateTextFor(row, Rate1MS == 1));
  TriggerPosCalc();
  ShowBitmap(Image9, TableText(row.face));
  const knob::DotPlace dot = time_knob::DotPlace(KnobAngle);
  Image10->move(dot.left, dot.top);
  KnobAngle = 0;

  // A record held while stopped keeps the time base it was captured with; a
  // running acquisition takes the new one with its next command.
  const bool changed = CapturedTimeBase != TimeBaseIndex;
  if (Running == 1) {
    CapturedTimeBase = TimeBaseIndex;
    CapturedRate1MS = Rate1MS;
  }
  // The capture being awaited was asked for with the old time base: stop it
  // and start again 80 ms later, once the stopped wait has unwound. Only a
  // running acquisition is stopped: a wait left over from a stop that has
  // not unwound yet, or a single command sent while stopped, also shows
  // AwaitingData, and toggling the run/stop key there would start a run.
  if (AwaitingData == 1 && Running == 1 && changed) {
    RestartPending = 1;
    RunStopClick();
    SetEnabled(StatStopResetTimer, true);
  }
  // The trigger-position bytes depend on CapturedTimeBase.
  TriggerPosCalc();
}

// Settles the 1 MS/s mode of the 50 us/div row after a channel key: one
// channel on is sampled at 1 MS/s, and a channel trigger source must then be
// the channel that is on.
void TForm1::Checkfor1Ms() {
  if (ChannelOn[1] == 1 && ChannelOn[2] == 1) {
    Rate1MS = 0;
    SampleRateText = TableText(time_knob::TwoChannelRateText);
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
  Rate1MS = 1;
  SampleRateText = TableText(time_knob::OneChannelRateText);
}

// The same for a turn of the knob onto the 50 us/div row; the trigger source
// is left alone.
void TForm1::Checkfor1Ms2() {
  if (ChannelOn[1] == 1 && ChannelOn[2] == 1) {
    Rate1MS = 0;
    SampleRateText = TableText(time_knob::TwoChannelRateText);
  } else {
    Rate1MS = 1;
    SampleRateText = TableText(time_knob::OneChannelRateText);
  }
}

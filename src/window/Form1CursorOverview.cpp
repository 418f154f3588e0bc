// The markers that are dragged along the overview strip above the screen
// share one set of mouse handlers: the view window (Image3, which pans the
// plot along the record), the trigger position (HorTrigPos) and the handles
// of the time cursors (CursorX, CursorO). And snap to plot, which puts the
// voltage lines on the focused channel's trace at the time lines.

#include "window/TForm1.h"
#include "display/OverviewStrip.h"
#include "display/ScreenPanel.h"

#include "controls/TriggerPosition.h"
#include "core/RecordScales.h"
#include "display/CursorGeometry.h"
#include "display/RecordLayout.h"

#include <QAction>

using namespace cursor_geometry;

namespace {

const QString SnapOnCaption = QStringLiteral("Snap to Plot ON");
const QString SnapOffCaption = QStringLiteral("Snap to Plot OFF");

}  // namespace

void TForm1::Image3MouseDown(OverviewMarker Sender, Qt::MouseButton, int X, int) {
  KnobSnap = 1;
  MouseDownPos = X;
  overview_->RaiseMarker(Sender);
}

void TForm1::Image3MouseMove(OverviewMarker Sender, int X, int) {
  if (KnobSnap != 1) return;
  // The marker moves under the mouse, so X counts from its new place at
  // every move.
  overview_->PlaceMarker(Sender, overview_->MarkerLeft(Sender) + X - MouseDownPos);
  switch (Sender) {
    case OverviewMarker::ViewWindow:
      overview_->PlaceMarker(Sender, ClampViewMarkerLeft(overview_->MarkerLeft(Sender)));
      // The lines stay on their samples of the record: they are placed over
      // the view the marker selects now, the one the next frame shows and the
      // snap reads, not the view of the last frame.
      VertCursorPos2();
      break;
    case OverviewMarker::TriggerPosition:
      overview_->PlaceMarker(Sender, trigger_position::ClampMarkerLeft(overview_->MarkerLeft(Sender)));
      TriggerPosCalc();
      break;
    case OverviewMarker::XHandle:
    case OverviewMarker::OHandle:
      XCursorSelected = Sender == OverviewMarker::XHandle ? 1 : 0;
      overview_->PlaceMarker(Sender, ClampHandleLeft(overview_->MarkerLeft(Sender)));
      VertCursorPos(Sender == OverviewMarker::XHandle ? TimeCursor::X : TimeCursor::O);
      break;
  }
  // A held record follows the view window at once; while running the next
  // frame takes the new window.
  if (Sender == OverviewMarker::ViewWindow) CheckForWaveUpdateNeed();
  overview_->RepaintMarker(OverviewMarker::ViewWindow);
  if (SnapToPlotOn == 1) SnapToPlot();
  overview_->RepaintMarker(OverviewMarker::TriggerPosition);
}

void TForm1::Image3MouseUp(OverviewMarker, Qt::MouseButton, int, int) {
  KnobSnap = 0;
  CheckForWaveUpdateNeed();
}

void TForm1::ResetHorizontalView1Click() {
  overview_->PlaceMarker(OverviewMarker::ViewWindow, ViewMarkerHomeLeft);
  CheckForWaveUpdateNeed();
}

void TForm1::SnapToPlot() {
  // The channel the frame reads (the focused one, whether or not it is on),
  // on the rows its trace is drawn on: the record's scale, the calibration
  // of its range, the channel's present 0 V row. A knob turned since the
  // capture does not part the lines from the trace.
  const ChannelParts focused = Channel(ChannelsOnScreen().read);
  const core::Record& record = HeldRecord;
  const screen_model::RecordLayout layout = record.layout;
  const std::int32_t viewStart = MarkerViewStart();
  const std::int32_t calOffset = core::CalOffsetOf(record, focused.Number, focused.CalHigh, focused.CalLow);
  auto rowUnder = [&](TimeCursor timeLine) {
    const std::int32_t k = SnapSampleIndex(layout, viewStart, screen_->TimeLineLeft(timeLine));
    return core::RowOfSample(record, focused.Number, k, focused.VertPos, calOffset);
  };
  // While one time line is dragged only its partner follows (X with A, O
  // with B); a new frame moves both.
  if (XCursorSelected == 1 || SnapAll == 1) screen_->PlaceVoltageLine(VoltageCursor::A, rowUnder(TimeCursor::X));
  if (XCursorSelected != 1 || SnapAll == 1) screen_->PlaceVoltageLine(VoltageCursor::B, rowUnder(TimeCursor::O));
  SnapAll = 0;
  HorizontalCalualtions();
}

void TForm1::SwitchSnapOff() {
  SnapToPlotOn = 0;
  SnaptoPlotON1->setText(SnapOnCaption);
}

// The caption names what the item does next.
void TForm1::SnaptoPlotON1Click() {
  if (SnapToPlotOn == 1) {
    SwitchSnapOff();
    return;
  }
  SnapToPlotOn = 1;
  SnaptoPlotON1->setText(SnapOffCaption);
  // The voltage lines reach the trace at the next frame or the next drag.
  BothOn1Click();
}

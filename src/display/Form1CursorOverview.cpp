// The markers that are dragged along the overview strip above the screen
// share one set of mouse handlers: the view window (Image3, which pans the
// plot along the record), the trigger position (HorTrigPos) and the handles
// of the time cursors (CursorX, CursorO). And snap to plot, which puts the
// voltage lines on the focused channel's trace at the time lines.

#include "app/TForm1.h"

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

void TForm1::Image3MouseDown(QWidget* Sender, Qt::MouseButton, int X, int) {
  KnobSnap = 1;
  MouseDownPos = X;
  Sender->raise();
}

void TForm1::Image3MouseMove(QWidget* Sender, int X, int) {
  if (KnobSnap != 1) return;
  // The marker moves under the mouse, so X counts from its new place at
  // every move.
  SetLeft(Sender, Left(Sender) + X - MouseDownPos);
  if (Sender == Image3) {
    SetLeft(Image3, ClampViewMarkerLeft(Left(Image3)));
    // The lines stay on their samples of the record: they are placed over
    // the view the marker selects now, the one the next frame shows and the
    // snap reads, not the view of the last frame.
    VertCursorPos2();
  } else if (Sender == HorTrigPos) {
    SetLeft(HorTrigPos, trigger_position::ClampMarkerLeft(Left(HorTrigPos)));
    TriggerPosCalc();
  } else if (Sender == CursorX || Sender == CursorO) {
    XCursorSelected = Sender == CursorX ? 1 : 0;
    SetLeft(Sender, ClampHandleLeft(Left(Sender)));
    VertCursorPos(Sender);
  }
  // A held record follows the view window at once; while running the next
  // frame takes the new window.
  if (Sender == Image3) CheckForWaveUpdateNeed();
  Image3->repaint();
  if (SnapToPlotOn == 1) SnapToPlot();
  HorTrigPos->repaint();
}

void TForm1::Image3MouseUp(QWidget*, Qt::MouseButton, int, int) {
  KnobSnap = 0;
  CheckForWaveUpdateNeed();
}

void TForm1::ResetHorizontalView1Click() {
  SetLeft(Image3, ViewMarkerHomeLeft);
  CheckForWaveUpdateNeed();
}

void TForm1::SnapToPlot() {
  // The focused channel's buffer, whether or not that channel is on, on the
  // rows its trace is drawn on: the record's scale, the calibration of its
  // range, the channel's present 0 V row. A knob turned since the capture
  // does not part the lines from the trace.
  const ChannelParts focused = Channel(FocusedChannel());
  const core::Record& record = HeldRecord;
  const screen_model::RecordLayout layout = record.layout;
  const std::int32_t viewStart = MarkerViewStart();
  const std::int32_t calOffset = core::CalOffsetOf(record, focused.Number, focused.CalHigh, focused.CalLow);
  auto rowUnder = [&](const QWidget* timeLine) {
    const std::int32_t k = SnapSampleIndex(layout, viewStart, Left(timeLine));
    return core::RowOfSample(record, focused.Number, k, focused.VertPos, calOffset);
  };
  // While one time line is dragged only its partner follows (X with A, O
  // with B); a new frame moves both.
  if (XCursorSelected == 1 || SnapAll == 1) SetTop(HozCusA, rowUnder(XCursor));
  if (XCursorSelected != 1 || SnapAll == 1) SetTop(HozCusB, rowUnder(OCursor));
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

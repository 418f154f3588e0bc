// The cursors: two time lines X and O with handles over the overview strip,
// two voltage lines A and B, their readouts in the status strip, the menu
// "Cursors" and the three buttons beside the readouts. Lines are dragged on
// the plot; the arithmetic is in CursorGeometry and the texts in ReadoutText.

#include "window/TForm1.h"
#include "controls/PositionStrip.h"
#include "controls/TriggerStrip.h"
#include "display/OverviewStrip.h"
#include "display/ScreenPanel.h"
#include "display/StatusStrip.h"

#include "app/ReadoutText.h"
#include "core/RecordScales.h"
#include "display/CursorGeometry.h"
#include "display/RecordLayout.h"

#include <QAction>
#include <QLocale>

#include <cstdlib>

using namespace cursor_geometry;

void TForm1::BuildCursors() {
  screen_->OnMousePressed = [this](ScreenPart part, Qt::MouseButton b, int x, int y) {
    PaintBox2MouseDown(part, b, x, y);
  };
  screen_->OnMouseMoved = [this](ScreenPart part, int x, int y) { PaintBox2MouseMove(part, x, y); };
  screen_->OnMouseReleased = [this](ScreenPart part, Qt::MouseButton b, int x, int y) {
    PaintBox2MouseUp(part, b, x, y);
  };
  // A press on the bezel may grab a line; the bezel drags nothing, and its
  // release ends what the press began, so no line follows a mouse whose
  // button is up.
  Panel2->mouse.OnMouseDown =
      Handler([this](Qt::MouseButton b, int x, int y) { PaintBox2MouseDown(ScreenPart::Bezel, b, x, y); });
  Panel2->mouse.OnMouseUp =
      Handler([this](Qt::MouseButton b, int x, int y) { PaintBox2MouseUp(ScreenPart::Bezel, b, x, y); });

  // The handles over the overview strip, and the strip's other markers: one
  // set of handlers, branching on the pressed marker.
  overview_->OnMarkerPressed = [this](OverviewMarker marker, Qt::MouseButton b, int x, int y) {
    Image3MouseDown(marker, b, x, y);
  };
  overview_->OnMarkerMoved = [this](OverviewMarker marker, int x, int y) { Image3MouseMove(marker, x, y); };
  overview_->OnMarkerReleased = [this](OverviewMarker marker, Qt::MouseButton b, int x, int y) {
    Image3MouseUp(marker, b, x, y);
  };

  statusStrip_->OnHorizontalCursorsKey = [this] { HorizontalON1Click(); };
  statusStrip_->OnVerticalCursorsKey = [this] { VerticalON1Click(); };
  statusStrip_->OnCursorsOffKey = [this] { AllOff1Click(); };

  Bind(AllOff1, &TForm1::AllOff1Click);
  Bind(VerticalON1, &TForm1::VerticalON1Click);
  Bind(HorizontalON1, &TForm1::HorizontalON1Click);
  Bind(BothOn1, &TForm1::BothOn1Click);
  Bind(SnaptoPlotON1, &TForm1::SnaptoPlotON1Click);
  Bind(ResetHorizontalView1, &TForm1::ResetHorizontalView1Click);
}

void TForm1::LayLinesOverBorderStrips() { screen_->LayLinesOver({positionStrip_, triggerStrip_}); }

// ---- Dragging the lines on the plot ------------------------------------------

void TForm1::PaintBox2MouseDown(ScreenPart Sender, Qt::MouseButton, int X, int Y) {
  // Each test runs whatever the earlier ones found, so of two lines in one
  // zone the later wins: O over X, B over A. The mouse is compared with the
  // lines' positions as it stands in the pressed widget.
  const int xLeft = screen_->TimeLineLeft(TimeCursor::X);
  if (InGrabZone(xLeft, X) || Sender == ScreenPart::XLine) {
    DragStartLeft = xLeft;
    XCursorSelected = 1;
    KnobSnap = 1;
    MouseDownPos = X;
    VCursorDrag = 1;
  }
  const int oLeft = screen_->TimeLineLeft(TimeCursor::O);
  if (InGrabZone(oLeft, X) || Sender == ScreenPart::OLine) {
    DragStartLeft = oLeft;
    XCursorSelected = 0;
    KnobSnap = 1;
    MouseDownPos = X;
    VCursorDrag = 1;
  }
  // With snap on the voltage lines belong to the trace: a press selects one
  // but does not drag it.
  const int aTop = screen_->VoltageLineTop(VoltageCursor::A);
  if (InGrabZone(aTop, Y) || Sender == ScreenPart::ALine) {
    DragStartTop = aTop;
    HozCusASelected = 1;
    KnobSnap = 1;
    DragStartY = Y;
    if (SnapToPlotOn != 1) HCursorDrag = 1;
  }
  const int bTop = screen_->VoltageLineTop(VoltageCursor::B);
  if (InGrabZone(bTop, Y) || Sender == ScreenPart::BLine) {
    DragStartTop = bTop;
    HozCusASelected = 0;
    KnobSnap = 1;
    DragStartY = Y;
    if (SnapToPlotOn != 1) HCursorDrag = 1;
  }
}

void TForm1::PaintBox2MouseMove(ScreenPart Sender, int X, int Y) {
  if (KnobSnap == 1) {
    if (VCursorDrag == 1) {
      // A line that is itself under the mouse moves by the mouse's way from
      // the grab; from any other widget the move counts from where it began.
      const bool x = XCursorSelected == 1;
      const TimeCursor line = x ? TimeCursor::X : TimeCursor::O;
      const bool underMouse = Sender == (x ? ScreenPart::XLine : ScreenPart::OLine);
      const int from = underMouse ? screen_->TimeLineLeft(line) : DragStartLeft;
      screen_->PlaceTimeLine(line, ClampTimeLineLeft(x, from + X - MouseDownPos));
    }
    if (HCursorDrag == 1) {
      const bool a = HozCusASelected == 1;
      const VoltageCursor line = a ? VoltageCursor::A : VoltageCursor::B;
      const bool underMouse = Sender == (a ? ScreenPart::ALine : ScreenPart::BLine);
      const int from = underMouse ? screen_->VoltageLineTop(line) : DragStartTop;
      screen_->PlaceVoltageLine(line, ClampVoltageLineTop(from + Y - DragStartY));
    }
    if (SnapToPlotOn == 1) SnapToPlot();
    CursorCalculation();
    // The handles over the view the lines were placed on, which after a
    // pan while running is not yet the view of the last frame.
    const screen_model::RecordLayout layout = HeldRecord.layout;
    const std::int32_t viewStart = MarkerViewStart();
    for (TimeCursor cursor : {TimeCursor::X, TimeCursor::O})
      overview_->PlaceMarker(HandleOf(cursor),
                             HandleLeftFromLine(layout, screen_->TimeLineLeft(cursor), viewStart));
  }
  HorizontalCalualtions();
}

void TForm1::PaintBox2MouseUp(ScreenPart, Qt::MouseButton, int, int) {
  KnobSnap = 0;
  HCursorDrag = 0;
  VCursorDrag = 0;
  screen_->UpdateLines();
}

// ---- Placing the time lines from their handles --------------------------------

void TForm1::VertCursorPos(TimeCursor Handle) {
  screen_->PlaceTimeLine(Handle, LineLeftFromHandle(HeldRecord.layout, overview_->MarkerLeft(HandleOf(Handle)),
                                                    MarkerViewStart()));
  screen_->UpdateTimeLines();
  CursorCalculation();
}

void TForm1::VertCursorPos2() { PlaceTimeLines(MarkerViewStart()); }

std::int32_t TForm1::MarkerViewStart() const {
  return screen_model::ViewFromMarker(HeldRecord.layout, overview_->MarkerLeft(OverviewMarker::ViewWindow)).start;
}

void TForm1::PlaceTimeLines(std::int32_t viewStart) {
  const screen_model::RecordLayout layout = HeldRecord.layout;
  for (TimeCursor cursor : {TimeCursor::X, TimeCursor::O})
    screen_->PlaceTimeLine(cursor, LineLeftFromHandle(layout, overview_->MarkerLeft(HandleOf(cursor)), viewStart));
  screen_->UpdateTimeLines();
  CursorCalculation();
}

// ---- Readouts --------------------------------------------------------------------

void TForm1::CursorCalculation() {
  // The record's time base: the knob turned since the capture does not
  // change the time between two points of the trace.
  const CursorTimes t =
      TimesOfLines(screen_->TimeLineLeft(TimeCursor::X), screen_->TimeLineLeft(TimeCursor::O),
                   screen_->TriggerMarkerLeft(), core::CursorUsPerColumn(HeldRecord, SamplePeriodUs));
  CursorTimeText = readout_text::FormatCursorTime(t.between);
  statusStrip_->ShowTimeCursorReadouts(readout_text::FormatCursorTime(t.x), readout_text::FormatCursorTime(t.o),
                                       CursorTimeText, readout_text::FormatFreq(t.between, QLocale().decimalPoint()));
}

void TForm1::HorizontalCalualtions() {
  // Against the 0 V row of the channel the frame reads (the focused one) as
  // it stands, at the volts/div its trace was captured with: the lines read
  // the trace as it is drawn.
  const ChannelParts focused = Channel(ChannelsOnScreen().read);
  const std::int32_t voltsDiv = core::CursorVoltsDiv(HeldRecord, focused.Number, focused.VoltsDiv);
  const CursorVolts v = VoltsOfLines(focused.Number == 1, focused.VertPos, voltsDiv,
                                     screen_->VoltageLineTop(VoltageCursor::A), screen_->VoltageLineTop(VoltageCursor::B));
  HCusAVolts = v.a;
  HCusBVolts = v.b;
  HCusDelta = v.delta;
  CursorVoltText = readout_text::FormatCursortext(std::abs(v.delta));
  statusStrip_->ShowVoltageCursorReadouts(readout_text::FormatCursortext(v.a), readout_text::FormatCursortext(v.b),
                                          CursorVoltText);
}

// ---- Showing and hiding ------------------------------------------------------------

void TForm1::ShowTimeCursors() {
  overview_->SetHandlesShown(true);
  screen_->SetTimeLinesShown(true);
  statusStrip_->SetTimeCursorReadoutsShown(true);
  VertCursorPos2();
  screen_->SetTimeLinesEnabled(true);
}

void TForm1::ShowVoltageCursors() {
  screen_->SetVoltageLinesShown(true);
  statusStrip_->SetVoltageCursorReadoutsShown(true);
  screen_->SetVoltageLinesEnabled(true);
  // The readouts show the lines where they stand now, not where they stood
  // at the last move over the plot.
  HorizontalCalualtions();
}

void TForm1::VerticalON1Click() { ShowTimeCursors(); }

void TForm1::HorizontalON1Click() { ShowVoltageCursors(); }

void TForm1::BothOn1Click() {
  ShowVoltageCursors();
  ShowTimeCursors();
}

void TForm1::AllOff1Click() {
  overview_->SetHandlesShown(false);
  screen_->SetTimeLinesShown(false);
  screen_->SetVoltageLinesShown(false);
  statusStrip_->SetTimeCursorReadoutsShown(false);
  statusStrip_->SetVoltageCursorReadoutsShown(false);
  screen_->SetTimeLinesEnabled(false);
  screen_->SetVoltageLinesEnabled(false);
  SwitchSnapOff();
}

// The cursors: two time lines X and O with handles over the overview strip,
// two voltage lines A and B, their readouts in the status strip, the menu
// "Cursors" and the three buttons beside the readouts. Lines are dragged on
// the plot; the arithmetic is in CursorGeometry and the texts in ReadoutText.

#include "app/TForm1.h"
#include "controls/PositionStrip.h"
#include "display/StatusStrip.h"

#include "app/ReadoutText.h"
#include "core/RecordScales.h"
#include "display/CursorGeometry.h"
#include "display/RecordLayout.h"

#include <QAction>
#include <QEvent>
#include <QLocale>
#include <QRegion>

#include <cstdlib>
#include <vector>

using namespace cursor_geometry;

namespace {

constexpr QColor Lime(0, 255, 0);
constexpr QColor Yellow(255, 255, 0);

// The lines, in the panel that holds the plot (plot coordinates plus 2).
constexpr QRect XCursorRect{232, 4, 1, 396};
constexpr QRect OCursorRect{240, 4, 1, 396};
constexpr QRect HozCusARect{0, 150, 500, 1};
constexpr QRect HozCusBRect{0, 232, 500, 1};
// The handles, in the overview panel.
constexpr QRect CursorXRect{227, 3, 15, 40};
constexpr QRect CursorORect{275, 3, 15, 40};
// The readouts, in the status strip.
// The buttons, above the readouts they switch on: the time cursors' over the
// time column, the voltage cursors' over the voltage column, all off left.

// The strips left and right of the plot overlap the two outer columns of
// its panel on each side. The panel lies over them but lets them show
// through there, except where a line stands: the mask follows each line as
// it moves, shows or hides.
class BorderColumnsMask : public QObject {
 public:
  BorderColumnsMask(QWidget* panel, const QRegion& overlapped, std::vector<QWidget*> lines)
      : QObject(panel), panel_(panel), overlapped_(overlapped), lines_(std::move(lines)) {
    for (QWidget* line : lines_) line->installEventFilter(this);
    Update();
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::Move:
      case QEvent::Resize:
      case QEvent::ShowToParent:
      case QEvent::HideToParent:
        Update();
        break;
      default:
        break;
    }
    return false;
  }

 private:
  void Update() {
    QRegion shown = QRegion(panel_->rect()) - overlapped_;
    for (QWidget* line : lines_)
      if (line->isVisibleTo(panel_)) shown += line->geometry();
    panel_->setMask(shown);
  }

  QWidget* panel_;
  QRegion overlapped_;
  std::vector<QWidget*> lines_;
};

}  // namespace

void TForm1::BuildCursors() {
  // Lines: one-pixel panels over the plot, hidden and disabled until a
  // cursor menu item shows them. Mouse tracking gives the voltage readouts
  // a refresh at every move over the plot.
  auto line = [this](const char* name, const QRect& place, const QColor& colour) {
    TPanel* panel = MakePanel(Panel4, QString::fromLatin1(name), place, colour);
    panel->setCursor(Qt::CrossCursor);
    panel->setMouseTracking(true);
    panel->setEnabled(false);
    panel->hide();
    panel->mouse.OnMouseDown =
        Handler([this, panel](Qt::MouseButton b, int x, int y) { PaintBox2MouseDown(panel, b, x, y); });
    panel->mouse.OnMouseMove = Handler([this, panel](int x, int y) { PaintBox2MouseMove(panel, x, y); });
    panel->mouse.OnMouseUp =
        Handler([this, panel](Qt::MouseButton b, int x, int y) { PaintBox2MouseUp(panel, b, x, y); });
    return panel;
  };
  XCursor = line("XCursor", XCursorRect, Lime);
  OCursor = line("OCursor", OCursorRect, Yellow);
  HozCusA = line("HozCusA", HozCusARect, Lime);
  HozCusB = line("HozCusB", HozCusBRect, Yellow);

  PaintBox2->setMouseTracking(true);
  PaintBox2->mouse.OnMouseDown =
      Handler([this](Qt::MouseButton b, int x, int y) { PaintBox2MouseDown(PaintBox2, b, x, y); });
  PaintBox2->mouse.OnMouseMove = Handler([this](int x, int y) { PaintBox2MouseMove(PaintBox2, x, y); });
  PaintBox2->mouse.OnMouseUp =
      Handler([this](Qt::MouseButton b, int x, int y) { PaintBox2MouseUp(PaintBox2, b, x, y); });
  // A press on the bezel may grab a line; the bezel drags nothing, and its
  // release ends what the press began, so no line follows a mouse whose
  // button is up.
  Panel2->mouse.OnMouseDown =
      Handler([this](Qt::MouseButton b, int x, int y) { PaintBox2MouseDown(Panel2, b, x, y); });
  Panel2->mouse.OnMouseUp =
      Handler([this](Qt::MouseButton b, int x, int y) { PaintBox2MouseUp(Panel2, b, x, y); });

  // Handles over the overview strip, and the strip's other markers: one set
  // of handlers, branching on the pressed marker.
  auto handle = [this](const char* name, const QRect& place) {
    auto* image = new TImage(h, QString::fromLatin1(name));
    image->setGeometry(place);
    image->SetTransparent(true);
    image->setCursor(Qt::SplitHCursor);
    image->hide();
    return image;
  };
  CursorX = handle("CursorX", CursorXRect);
  CursorO = handle("CursorO", CursorORect);
  for (TImage* marker : {Image3, HorTrigPos, CursorX, CursorO}) {
    marker->mouse.OnMouseDown =
        Handler([this, marker](Qt::MouseButton b, int x, int y) { Image3MouseDown(marker, b, x, y); });
    marker->mouse.OnMouseMove = Handler([this, marker](int x, int y) { Image3MouseMove(marker, x, y); });
    marker->mouse.OnMouseUp =
        Handler([this, marker](Qt::MouseButton b, int x, int y) { Image3MouseUp(marker, b, x, y); });
  }

  statusStrip_->OnHorizontalCursorsKey = [this] { HorizontalON1Click(); };
  statusStrip_->OnVerticalCursorsKey = [this] { VerticalON1Click(); };
  statusStrip_->OnCursorsOffKey = [this] { AllOff1Click(); };

  Bind(AllOff1, &TForm1::AllOff1Click);
  Bind(VerticalON1, &TForm1::VerticalON1Click);
  Bind(HorizontalON1, &TForm1::HorizontalON1Click);
  Bind(BothOn1, &TForm1::BothOn1Click);
  Bind(SnaptoPlotON1, &TForm1::SnaptoPlotON1Click);
  Bind(ResetHorizontalView1, &TForm1::ResetHorizontalView1Click);

  // Pictures of the window design; one that cannot be read is reported and
  // leaves its widget blank, the window still comes up.
  const std::pair<TImage*, const char*> pictures[] = {
      {CursorX, "Grafics\\Markers\\CursorX.bmp"},
      {CursorO, "Grafics\\Markers\\CursorO.bmp"},
  };
  for (const auto& [image, path] : pictures) Guard([&] { ShowBitmap(image, QString::fromLatin1(path)); });
}

void TForm1::LayLinesOverBorderStrips() {
  QRegion overlapped;
  for (const QWidget* strip : {static_cast<QWidget*>(positionStrip_), static_cast<QWidget*>(TriggerSlider)})
    overlapped += strip->geometry().intersected(Panel4->geometry()).translated(-Panel4->pos());
  new BorderColumnsMask(Panel4, overlapped, {XCursor, OCursor, HozCusA, HozCusB});
  Panel4->raise();
}

// ---- Dragging the lines on the plot ------------------------------------------

void TForm1::PaintBox2MouseDown(QWidget* Sender, Qt::MouseButton, int X, int Y) {
  // Each test runs whatever the earlier ones found, so of two lines in one
  // zone the later wins: O over X, B over A. The mouse is compared with the
  // lines' positions as it stands in the pressed widget.
  if (InGrabZone(Left(XCursor), X) || Sender == XCursor) {
    DragStartLeft = Left(XCursor);
    XCursorSelected = 1;
    KnobSnap = 1;
    MouseDownPos = X;
    VCursorDrag = 1;
  }
  if (InGrabZone(Left(OCursor), X) || Sender == OCursor) {
    DragStartLeft = Left(OCursor);
    XCursorSelected = 0;
    KnobSnap = 1;
    MouseDownPos = X;
    VCursorDrag = 1;
  }
  // With snap on the voltage lines belong to the trace: a press selects one
  // but does not drag it.
  if (InGrabZone(Top(HozCusA), Y) || Sender == HozCusA) {
    DragStartTop = Top(HozCusA);
    HozCusASelected = 1;
    KnobSnap = 1;
    DragStartY = Y;
    if (SnapToPlotOn != 1) HCursorDrag = 1;
  }
  if (InGrabZone(Top(HozCusB), Y) || Sender == HozCusB) {
    DragStartTop = Top(HozCusB);
    HozCusASelected = 0;
    KnobSnap = 1;
    DragStartY = Y;
    if (SnapToPlotOn != 1) HCursorDrag = 1;
  }
}

void TForm1::PaintBox2MouseMove(QWidget* Sender, int X, int Y) {
  if (KnobSnap == 1) {
    if (VCursorDrag == 1) {
      // A line that is itself under the mouse moves by the mouse's way from
      // the grab; from any other widget the move counts from where it began.
      const bool x = XCursorSelected == 1;
      TPanel* line = x ? XCursor : OCursor;
      const int from = Sender == line ? Left(line) : DragStartLeft;
      SetLeft(line, ClampTimeLineLeft(x, from + X - MouseDownPos));
    }
    if (HCursorDrag == 1) {
      TPanel* line = HozCusASelected == 1 ? HozCusA : HozCusB;
      const int from = Sender == line ? Top(line) : DragStartTop;
      SetTop(line, ClampVoltageLineTop(from + Y - DragStartY));
    }
    if (SnapToPlotOn == 1) SnapToPlot();
    CursorCalculation();
    // The handles over the view the lines were placed on, which after a
    // pan while running is not yet the view of the last frame.
    const screen_model::RecordLayout layout = HeldRecord.layout;
    const std::int32_t viewStart = MarkerViewStart();
    SetLeft(CursorX, HandleLeftFromLine(layout, Left(XCursor), viewStart));
    SetLeft(CursorO, HandleLeftFromLine(layout, Left(OCursor), viewStart));
  }
  HorizontalCalualtions();
}

void TForm1::PaintBox2MouseUp(QWidget*, Qt::MouseButton, int, int) {
  KnobSnap = 0;
  HCursorDrag = 0;
  VCursorDrag = 0;
  for (TPanel* line : {XCursor, OCursor, HozCusA, HozCusB}) line->update();
}

// ---- Placing the time lines from their handles --------------------------------

void TForm1::VertCursorPos(QWidget* Handle) {
  TPanel* line = Handle == CursorX ? XCursor : OCursor;
  SetLeft(line, LineLeftFromHandle(HeldRecord.layout, Left(Handle), MarkerViewStart()));
  XCursor->update();
  OCursor->update();
  CursorCalculation();
}

void TForm1::VertCursorPos2() { PlaceTimeLines(MarkerViewStart()); }

std::int32_t TForm1::MarkerViewStart() const {
  return screen_model::ViewFromMarker(HeldRecord.layout, Left(Image3)).start;
}

void TForm1::PlaceTimeLines(std::int32_t viewStart) {
  const screen_model::RecordLayout layout = HeldRecord.layout;
  SetLeft(XCursor, LineLeftFromHandle(layout, Left(CursorX), viewStart));
  SetLeft(OCursor, LineLeftFromHandle(layout, Left(CursorO), viewStart));
  XCursor->update();
  OCursor->update();
  CursorCalculation();
}

// ---- Readouts --------------------------------------------------------------------

void TForm1::CursorCalculation() {
  // The record's time base: the knob turned since the capture does not
  // change the time between two points of the trace.
  const CursorTimes t = TimesOfLines(Left(XCursor), Left(OCursor), Left(PlotTrigPanel),
                                     core::CursorUsPerColumn(HeldRecord, SamplePeriodUs));
  CursorTimeText = readout_text::FormatCursorTime(t.between);
  statusStrip_->ShowTimeCursorReadouts(readout_text::FormatCursorTime(t.x), readout_text::FormatCursorTime(t.o),
                                       CursorTimeText, readout_text::FormatFreq(t.between, QLocale().decimalPoint()));
}

void TForm1::HorizontalCalualtions() {
  // Against the focused channel's 0 V row as it stands, at the volts/div its
  // trace was captured with: the lines read the trace as it is drawn.
  const ChannelParts focused = Channel(FocusedChannel());
  const std::int32_t voltsDiv = core::CursorVoltsDiv(HeldRecord, focused.Number, focused.VoltsDiv);
  const CursorVolts v = VoltsOfLines(focused.Number == 1, focused.VertPos, voltsDiv, Top(HozCusA), Top(HozCusB));
  HCusAVolts = v.a;
  HCusBVolts = v.b;
  HCusDelta = v.delta;
  CursorVoltText = readout_text::FormatCursortext(std::abs(v.delta));
  statusStrip_->ShowVoltageCursorReadouts(readout_text::FormatCursortext(v.a), readout_text::FormatCursortext(v.b),
                                          CursorVoltText);
}

// ---- Showing and hiding ------------------------------------------------------------

void TForm1::ShowTimeCursors() {
  for (QWidget* w : std::initializer_list<QWidget*>{CursorX, CursorO, XCursor, OCursor}) w->show();
  statusStrip_->SetTimeCursorReadoutsShown(true);
  VertCursorPos2();
  XCursor->setEnabled(true);
  OCursor->setEnabled(true);
}

void TForm1::ShowVoltageCursors() {
  for (QWidget* w : std::initializer_list<QWidget*>{HozCusA, HozCusB}) w->show();
  statusStrip_->SetVoltageCursorReadoutsShown(true);
  HozCusA->setEnabled(true);
  HozCusB->setEnabled(true);
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
  for (QWidget* w : std::initializer_list<QWidget*>{CursorX, CursorO, XCursor, OCursor, HozCusA, HozCusB}) w->hide();
  statusStrip_->SetTimeCursorReadoutsShown(false);
  statusStrip_->SetVoltageCursorReadoutsShown(false);
  for (TPanel* line : {XCursor, OCursor, HozCusA, HozCusB}) line->setEnabled(false);
  SwitchSnapOff();
}

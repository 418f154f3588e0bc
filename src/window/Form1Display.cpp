// The screen: the plot surface inside the bezel, the trigger marker over it,
// and the overview strip above it with the view window and trigger position
// markers. The screen is only ever a copy of PlotBitmap; frames are composed
// there (display/Form1Plot.cpp) and reach the screen as one block copy.

#include "window/TForm1.h"

#include "display/OverviewStrip.h"
#include "display/RecordLayout.h"
#include "display/ScreenPanel.h"

#include <QPainter>

namespace {
constexpr QSize PlotSize{500, 400};  // PaintBox2, as PlotBitmap
}  // namespace

void TForm1::BuildDisplay() {
  // The trigger marker over the plot stands, hidden until the first frame of
  // a run places it, where the overview strip's trigger position puts it in
  // the view of the view window's start.
  const screen_model::ViewWindow startView =
      screen_model::ViewFromMarker(screen_model::RecordLayout::Standard, OverviewStrip::ViewWindowStartLeft);
  screen_ = new ScreenPanel(Panel2, Kit,
                            screen_model::PlotTrigLeft(screen_model::RecordLayout::Standard,
                                                       OverviewStrip::TriggerPositionStartLeft, startView.start));
  screen_->OnPaint = [this](QPainter& canvas, const QRegion& region) { PaintBox2Paint(canvas, region); };

  overview_ = new OverviewStrip(Panel2, Kit);
  overview_->ShowRecordPicture(PreviewBitmap);

  BuildCursors();
}

void TForm1::PaintBox2Paint(QPainter& canvas, const QRegion& region) {
  // PlotBitmap's 32-bit pixels are what the raster backing store holds (the
  // same format, or its opaque twin), so each row reaches the screen as one
  // block copy. The cursor lines and the trigger marker cover parts of the
  // plot and leave it a region of several rectangles; drawn through such a
  // region the picture would be blended pixel by pixel (by pooled threads),
  // so it is copied one rectangle at a time instead.
  const QRect plot(QPoint(0, 0), PlotSize);
  for (const QRect& part : region.intersected(plot)) {
    canvas.setClipRect(part);
    canvas.drawImage(part.topLeft(), PlotBitmap, part);
  }
}

void TForm1::CheckForWaveUpdateNeed() {
  // A running capture replots by itself; before the first frame there is
  // no record to show.
  if (Running != 1 && PlotValid == 1) PlotWaveform();
}

void TForm1::ShowGraticule() {
  CopyGridToPlot();
  screen_->RepaintPlot();
}

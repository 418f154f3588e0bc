// The screen: the plot surface inside the bezel, the trigger marker over it,
// and the overview strip above it with the view window and trigger position
// markers. The screen is only ever a copy of PlotBitmap; frames are composed
// there (display/Form1Plot.cpp) and reach the screen as one block copy.

#include "app/TForm1.h"

#include "display/RecordLayout.h"

#include <QPainter>

namespace {
// Geometry of the screen, in the parent's pixels: Left, Top, Width, Height.
constexpr QRect Panel4Rect{27, 51, 504, 404};       // in Panel2: holds the plot
constexpr QRect PaintBox2Rect{2, 2, 500, 400};      // in Panel4: the plot
constexpr QSize PlotTrigSize{15, 8};                // in Panel4, Top 3
constexpr int PlotTrigTop = 3;
constexpr QRect OverviewRect{21, 8, 518, 43};       // "h", in Panel2
constexpr QRect Image4Rect{8, 2, 500, 26};          // in h: the strip
constexpr QRect PreViewBkGRNDRect{7, 0, 503, 35};   // in h
constexpr QRect Image3Rect{173, 2, 169, 26};        // in h: the view window at start
constexpr QRect HorTrigPosRect{251, 3, 15, 40};     // in h: trigger position at start
}  // namespace

void TForm1::BuildDisplay() {
  Panel4 = MakePanel(Panel2, QStringLiteral("Panel4"), Panel4Rect, Qt::black);

  PaintBox2 = new TPaintBox(Panel4, QStringLiteral("PaintBox2"));
  PaintBox2->setGeometry(PaintBox2Rect);
  PaintBox2->setCursor(Qt::CrossCursor);
  PaintBox2->OnPaint = Handler([this](QPainter& canvas) { PaintBox2Paint(canvas); });

  // Hidden until the first frame of a run places it.
  const screen_model::ViewWindow startView =
      screen_model::ViewFromMarker(screen_model::RecordLayout::Standard, Image3Rect.x());
  const QPoint plotTrigPlace(
      screen_model::PlotTrigLeft(screen_model::RecordLayout::Standard, HorTrigPosRect.x(), startView.start),
      PlotTrigTop);
  PlotTrigPanel = MakePanel(Panel4, QStringLiteral("PlotTrigPanel"), QRect(plotTrigPlace, PlotTrigSize), Qt::black);
  PlotTrigPanel->hide();
  PlotTrigPos = new TImage(PlotTrigPanel, QStringLiteral("PlotTrigPos"));
  PlotTrigPos->setGeometry(QRect(QPoint(0, 0), PlotTrigSize));
  PlotTrigPos->SetTransparent(true);

  h = MakePanel(Panel2, QStringLiteral("h"), OverviewRect, Qt::black);

  PreViewBkGRND = new TImage(h, QStringLiteral("PreViewBkGRND"));
  PreViewBkGRND->setGeometry(PreViewBkGRNDRect);
  PreViewBkGRND->SetTransparent(true);

  Image4 = new TImage(h, QStringLiteral("Image4"));
  Image4->setGeometry(Image4Rect);
  Image4->SetPicture(PreviewBitmap);

  Image3 = new TImage(h, QStringLiteral("Image3"));
  Image3->setGeometry(Image3Rect);
  Image3->SetTransparent(true);
  Image3->setCursor(Qt::SizeHorCursor);

  // Its mouse handlers are bound by the trigger controls, which own its drag.
  HorTrigPos = new TImage(h, QStringLiteral("HorTrigPos"));
  HorTrigPos->setGeometry(HorTrigPosRect);
  HorTrigPos->SetTransparent(true);

  // The markers are pictures of the window design. One that cannot be read
  // is reported like any other bitmap and leaves its marker blank; the window
  // still comes up.
  const std::pair<TImage*, const char*> designPictures[] = {
      {PlotTrigPos, "Grafics\\Markers\\TrigPosPlot.bmp"},
      {PreViewBkGRND, "Grafics\\Panel\\OverviewBackground.bmp"},
      {Image3, "Grafics\\Markers\\ViewWindow.bmp"},
      {HorTrigPos, "Grafics\\Markers\\TrigPosRecord.bmp"},
  };
  for (const auto& [image, path] : designPictures)
    Guard([&] { ShowBitmap(image, QString::fromLatin1(path)); });
  PreViewBkGRND->lower();

  BuildCursors();
}

void TForm1::PaintBox2Paint(QPainter& canvas) {
  // PlotBitmap's 32-bit pixels are what the raster backing store holds (the
  // same format, or its opaque twin), so each row reaches the screen as one
  // block copy. The cursor lines and the trigger marker cover parts of the
  // plot and leave it a region of several rectangles; drawn through such a
  // region the picture would be blended pixel by pixel (by pooled threads),
  // so it is copied one rectangle at a time instead.
  const QRect plot(QPoint(0, 0), PaintBox2Rect.size());
  for (const QRect& part : PaintBox2->PaintRegion().intersected(plot)) {
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
  PaintBox2->update();
}

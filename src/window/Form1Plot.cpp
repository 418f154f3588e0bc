// One frame of the screen from the held record: the captions, the view
// window, the trigger marker over the plot, the traces or persistence dots
// over the graticule, the reference waveform and the overview strip. The
// frame is composed in PlotBitmap and reaches the screen as one copy
// (PaintBox2Paint), so the screen never shows a half-drawn frame.

#include "window/TForm1.h"
#include "display/OverviewStrip.h"
#include "display/ScreenPanel.h"
#include "display/StatusStrip.h"

#include "acquisition/RunStopPictures.h"
#include "app/Errors.h"
#include "core/RecordScales.h"
#include "display/ArrivingTrace.h"
#include "display/RecordLayout.h"
#include "display/SampleRows.h"
#include "display/TraceStroke.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cstring>

using namespace screen_model;

namespace {

QColor ColorOf(TColor c) {
  const Rgb rgb = RgbOf(c);
  return QColor(rgb.red, rgb.green, rgb.blue);
}

// Sample buffers and ReferenceRows hold indices 0..3000.
constexpr std::int64_t RecordIndexCount = 3001;

// The longest polyline of a frame: the start column plus 497 samples.
constexpr int MaxTracePoints = 498;
using TracePoints = std::array<trace_stroke::Vertex, MaxTracePoints>;

// The plot bitmap as the stroke writes it: its own 32-bit pixels.
trace_stroke::PixelTarget PixelsOf(QImage& image) {
  return {reinterpret_cast<std::uint32_t*>(image.bits()), image.bytesPerLine() / 4, image.width(), image.height()};
}

std::uint32_t PixelOf(TColor c) {
  const Rgb rgb = RgbOf(c);
  return qRgb(rgb.red, rgb.green, rgb.blue);
}

// Rows of a reference file are taken as stored; absurd ones are held far
// off the plot so the rasterizer is never handed coordinates it cannot
// represent. The visible part of such a line is the same.
int RasterRow(std::int64_t row) { return static_cast<int>(std::clamp<std::int64_t>(row, -32768, 32767)); }

// The polyline of one row source over the view: a flat first segment from
// column 1, then one vertex per sample at the layout's columns.
template <class RowOfIndex>
int TracePolyline(TracePoints& points, RecordLayout layout, std::int32_t viewStart, std::int32_t viewEnd,
                  RowOfIndex rowOf) {
  int n = 0;
  points[n++] = {TraceStartColumn, rowOf(viewStart)};
  for (std::int32_t i = viewStart; i <= viewEnd && n < MaxTracePoints; ++i)
    points[n++] = {ColumnOfViewSample(layout, i - viewStart), rowOf(i)};
  return n;
}

// Strokes the polyline as the whole frame does, but writes only the plot
// columns `span`: the target begins at its first column and the vertices
// move with it, so every pixel lit is one the whole stroke lights.
void StrokeInColumns(QImage& image, const TracePoints& points, int count, ColumnSpan span, std::uint32_t pixel) {
  const int first = std::max(span.first, 0);
  const int last = std::min(span.last, image.width() - 1);
  if (count <= 0 || first > last) return;
  trace_stroke::PixelTarget target = PixelsOf(image);
  target.pixels += first;
  target.width = last - first + 1;
  TracePoints moved;
  for (int k = 0; k < count; ++k)
    moved[static_cast<std::size_t>(k)] = {points[static_cast<std::size_t>(k)].x - first,
                                          points[static_cast<std::size_t>(k)].y};
  trace_stroke::StrokeTwoPixelsWide(target, std::span(moved.data(), static_cast<std::size_t>(count)), pixel);
}

std::uint32_t PixelOf(Rgb rgb) { return qRgb(rgb.red, rgb.green, rgb.blue); }

// The overview strip's line through the layout's samples, each read by
// `sampleAt(index)`: a record's, or a reply's on its way over one.
template <class SampleAt>
void DrawStrip(QImage& strip, RecordLayout layout, TColor colour, SampleAt sampleAt) {
  strip.fill(Qt::black);
  QPainter canvas(&strip);
  canvas.setPen(QPen(ColorOf(colour), OverviewPenWidth));
  const int count = OverviewVertexCount(layout);
  std::array<QPoint, 502> points;
  for (int m = 0; m < count && m < static_cast<int>(points.size()); ++m) {
    const OverviewVertex v = OverviewVertexAt(layout, m);
    CheckListIndex(v.sampleIndex, RecordIndexCount);
    points[static_cast<std::size_t>(m)] = QPoint(v.column, OverviewRow(sampleAt(v.sampleIndex)));
  }
  canvas.drawPolyline(points.data(), count);
}

// The columns both spans hold.
ColumnSpan Within(ColumnSpan span, ColumnSpan columns) {
  return {std::max(span.first, columns.first), std::min(span.last, columns.last)};
}

}  // namespace

void TForm1::PlotWaveform() {
  // 1. Captions and the run indicator follow the record being acquired; a
  // held record keeps the captions it was captured with.
  if (Running == 1) {
    statusStrip_->ShowVoltsPerDiv(1, CH1VoltsDivText);
    statusStrip_->ShowVoltsPerDiv(2, CH2VoltsDivText);
    statusStrip_->ShowTimeBase(TimeDivText, SampleRateText);
    // Put back only when another picture shows (the hourglass): a frame
    // looks nothing up on disk.
    if (!statusStrip_->RunStatusFile().endsWith(QLatin1String("Grafics/Run.bmp")))
      statusStrip_->ShowRunStatus(run_stop::PicturePath(run_stop::RunStatusBitmap));
  }

  // 2. The view window from the marker over the strip. The drag keeps the
  // marker where the window lies inside the record; a window outside it is
  // refused before anything reads past the buffers.
  const RecordLayout layout = HeldRecord.layout;
  const ViewWindow view = ViewFromMarker(layout, overview_->MarkerLeft(OverviewMarker::ViewWindow));
  CheckListIndex(view.start, RecordIndexCount);
  CheckListIndex(view.end, RecordIndexCount);
  ViewStart = view.start;
  ViewEnd = view.end;

  // The calibration of each channel's present range: the next capture
  // command is described with it. The record on screen is read with that of
  // the range it was captured on (traces, dots, snap, measurements alike).
  for (int n : {1, 2}) {
    const ChannelParts channel = Channel(n);
    channel.CalOffset = CalOffsetFor(channel.HighRange, channel.CalHigh, channel.CalLow);
  }

  // 3. The trigger marker over the plot: a held record keeps the marker
  // where it was triggered, whatever the record's marker shows now.
  const std::int32_t triggerLeft =
      Running == 1 ? overview_->MarkerLeft(OverviewMarker::TriggerPosition) : StopTrigPos;
  screen_->PlaceTriggerMarker(PlotTrigLeft(layout, triggerLeft, ViewStart));

  // 4. Cursor readouts, and the marker shown once a run has placed it.
  screen_->UpdateTimeLines();
  CursorCalculation();
  screen_->UpdateTriggerMarker();
  if (Running == 1) screen_->ShowTriggerMarker();

  // 5. Every new frame lets snap to plot move both voltage cursors.
  SnapAll = 1;
  if (SnapToPlotOn == 1) SnapToPlot();

  // 6.-7. The picture, composed off-screen. A line frame following a line
  // frame changes only the rows the last one drew and the rows it draws.
  const bool lineFrame = PersistenceOn != 1;
  const RowBands lastDrawn = PlotDrawnRows.rows;
  bool wholePlot = true;
  RowBands drawn;
  if (lineFrame) {
    wholePlot = !RestoreGridUnderLastFrame();
    drawn = DrawLineTraces();
  } else {
    DrawPersistenceDots();
  }
  if (ReferenceOn == 1) drawn.Add(DrawReference());
  PlotDrawnRows = {lineFrame, drawn, PlotBitmap.cacheKey(), GridBitmap.cacheKey()};

  // 8. One copy to the screen, of the rows that changed.
  if (wholePlot) {
    screen_->RepaintPlot();
  } else {
    RowBands changed = lastDrawn;
    changed.Add(drawn);
    screen_->RepaintPlotRows(changed);
  }

  // 9.-10. The overview strip, with the view window marker above it.
  BuildOverviewStrip();
  overview_->RaiseMarker(OverviewMarker::ViewWindow);
  PlotValid = 1;
  ArrivingShown = false;
  SincePlotShown.start();
}

namespace {
// The graticule's rows are the plot's rows byte for byte.
bool RowsAlike(const QImage& a, const QImage& b) {
  return a.size() == b.size() && a.format() == b.format() && a.bytesPerLine() == b.bytesPerLine();
}
}  // namespace

void TForm1::CopyGridToPlot() {
  PlotDrawnRows = {};
  if (RowsAlike(GridBitmap, PlotBitmap)) {
    std::memcpy(PlotBitmap.bits(), GridBitmap.constBits(), static_cast<std::size_t>(PlotBitmap.sizeInBytes()));
    return;
  }
  // A graticule of another size or format: what it does not cover is black.
  QPainter canvas(&PlotBitmap);
  canvas.setCompositionMode(QPainter::CompositionMode_Source);
  canvas.fillRect(PlotBitmap.rect(), Qt::black);
  canvas.drawImage(QPoint(0, 0), GridBitmap, QRect(0, 0, 500, 400));
}

bool TForm1::RestoreGridUnderLastFrame() {
  // The rows are trusted only while neither bitmap was written since the
  // frame that drew them: a key that moved means a writer this frame does
  // not know of, and the whole graticule goes back.
  const PlotOverdraw& previous = PlotDrawnRows;
  if (!previous.known || previous.plotKey != PlotBitmap.cacheKey() || previous.gridKey != GridBitmap.cacheKey() ||
      !RowsAlike(GridBitmap, PlotBitmap)) {
    CopyGridToPlot();
    return false;
  }
  if (previous.rows.Empty()) return true;
  const qsizetype stride = PlotBitmap.bytesPerLine();
  uchar* plot = PlotBitmap.bits();
  const uchar* grid = GridBitmap.constBits();
  for (const RowSpan& band : previous.rows.Bands()) {
    const int first = std::max(band.first, 0);
    const int last = std::min(band.last, PlotBitmap.height() - 1);
    if (first > last) continue;
    std::memcpy(plot + first * stride, grid + first * stride, static_cast<std::size_t>((last - first + 1) * stride));
  }
  return true;
}

RowBands TForm1::DrawLineTraces() {
  // The graticule is in place. The samples are read as they were captured
  // (the record's scales, the calibration of its ranges); the 0 V rows are
  // the panel's, and which traces show is the frame's (ChannelsOnScreen).
  RowBands drawn;
  const RecordLayout layout = HeldRecord.layout;
  // The traces are stroked straight into the bitmap's pixels, which are in
  // the one format the plot is kept in.
  if (PlotBitmap.format() != QImage::Format_RGB32) PlotBitmap = PlotBitmap.convertToFormat(QImage::Format_RGB32);
  const trace_stroke::PixelTarget plot = PixelsOf(PlotBitmap);
  TracePoints points;

  // CH2 is drawn second, over CH1.
  const core::Record& record = HeldRecord;
  const core::FrameChannels shown = ChannelsOnScreen();
  for (int n : {1, 2}) {
    const ChannelParts channel = Channel(n);
    if (!shown.Shown(n)) continue;
    const std::int32_t zeroRow = channel.VertPos;
    const std::int32_t calOffset = core::CalOffsetOf(record, n, channel.CalHigh, channel.CalLow);
    // An averaged trace is drawn at the sub-count resolution of its mean.
    const core::TraceAverage::MeanSamples* means = HeldMeans(n);
    const int count = TracePolyline(points, layout, ViewStart, ViewEnd, [&](std::int32_t i) {
      return means != nullptr ? core::RowOfMean(record, n, *means, i, zeroRow, calOffset)
                              : core::RowOfSample(record, n, i, zeroRow, calOffset);
    });
    drawn.Add(trace_stroke::StrokeTwoPixelsWide(plot, std::span(points.data(), static_cast<std::size_t>(count)),
                                                PixelOf(n == 1 ? CH1Color : CH2Color)));
  }
  PlotPenWidth = TracePenWidth;
  return drawn;
}

RowSpan TForm1::DrawReference() {
  const RecordLayout layout = HeldRecord.layout;
  TracePoints points;
  const int n = TracePolyline(points, layout, ViewStart, ViewEnd, [this](std::int32_t i) {
    return RasterRow(ReferenceRows[static_cast<std::size_t>(i)]);
  });
  if (PlotPenWidth == TracePenWidth && PlotBitmap.format() == QImage::Format_RGB32) {
    // After a line frame the reference is as wide as the traces.
    return trace_stroke::StrokeTwoPixelsWide(PixelsOf(PlotBitmap), std::span(points.data(), static_cast<std::size_t>(n)),
                                             PixelOf(ReferenceColor));
  }
  std::array<QPoint, MaxTracePoints> line;
  std::transform(points.begin(), points.begin() + n, line.begin(),
                 [](trace_stroke::Vertex v) { return QPoint(v.x, v.y); });
  QPainter canvas(&PlotBitmap);
  canvas.setPen(QPen(ColorOf(ReferenceColor), PlotPenWidth, Qt::SolidLine, Qt::RoundCap, Qt::BevelJoin));
  canvas.drawPolyline(line.data(), n);
  // The painter's rows are not worked out here: any of them may have changed.
  return {0, PlotBitmap.height() - 1};
}

core::FrameChannels TForm1::ChannelsOnScreen() const {
  return core::ChannelsOfFrame(FrameChannelSource, HeldRecord, {ChannelOn[1] == 1, ChannelOn[2] == 1},
                               FocusedChannel());
}

void TForm1::BuildOverviewStrip() { BuildOverviewStrip(HeldRecord, ChannelsOnScreen().read); }

void TForm1::BuildOverviewStrip(const core::Record& record, int channel) {
  const auto& samples = record.Samples(channel);
  DrawStrip(PreviewBitmap, record.layout, channel == 1 ? CH1Color : CH2Color,
            [&](int i) { return samples[static_cast<std::size_t>(i)]; });
  overview_->ShowRecordPicture(PreviewBitmap);
}

void TForm1::DrawArrivingReply(const core::Record& partial, const core::ReplyArrival& arrival) {
  // The dots gather complete records only; a stopped window draws none.
  if (Running != 1 || PersistenceOn == 1) return;
  // Paced here, whoever tells the progress and however often: a reply at the
  // line speed is told some 20 times a second, and the record's own frame
  // counts too, so the first picture of the next reply waits after it.
  if (SincePlotShown.isValid() &&
      SincePlotShown.nsecsElapsed() < std::int64_t{ArrivingFrameIntervalMs} * 1'000'000)
    return;
  // Counted from before drawing: a slow frame does not put off the next.
  SincePlotShown.start();
  DrawArrivingFrame(partial, arrival);
}

namespace {

// The graticule back under `columns` of the plot, a row at a time.
void RestoreGridColumns(QImage& plot, const QImage& grid, ColumnSpan columns) {
  const qsizetype stride = plot.bytesPerLine();
  const std::size_t offset = static_cast<std::size_t>(columns.first) * sizeof(std::uint32_t);
  const std::size_t bytes = static_cast<std::size_t>(columns.Count()) * sizeof(std::uint32_t);
  uchar* rows = plot.bits();
  const uchar* gridRows = grid.constBits();
  for (int y = 0; y < plot.height(); ++y) std::memcpy(rows + y * stride + offset, gridRows + y * stride + offset, bytes);
}

// The marker where the arriving trace has got to: one column, the plot's height.
void DrawArrivalMarker(QImage& plot, int column) {
  const std::uint32_t grey = PixelOf(ArrivalMarkerColour);
  const qsizetype stride = plot.bytesPerLine();
  uchar* rows = plot.bits();
  for (int y = 0; y < plot.height(); ++y) reinterpret_cast<std::uint32_t*>(rows + y * stride)[column] = grey;
}

}  // namespace

TForm1::ArrivingScene TForm1::SceneOfArrival(const core::Record& partial, ViewWindow view, ViewWindow heldView,
                                             bool previousShown) {
  ArrivingScene scene;
  scene.layout = partial.layout;
  scene.view = view;
  scene.heldLayout = HeldRecord.layout;
  scene.heldView = heldView;
  scene.heldSequence = HeldRecord.sequence;
  scene.previousShown = previousShown;
  for (int n : {1, 2}) {
    const ChannelParts channel = Channel(n);
    ArrivingScene::Trace& trace = scene.traces[static_cast<std::size_t>(n - 1)];
    trace.on = channel.On == 1;
    trace.zeroRow = channel.VertPos;
    trace.heldCalOffset = core::CalOffsetOf(HeldRecord, n, channel.CalHigh, channel.CalLow);
    trace.calOffset = core::CalOffsetOf(partial, n, channel.CalHigh, channel.CalLow);
  }
  return scene;
}

void TForm1::DrawArrivingFrame(const core::Record& partial, const core::ReplyArrival& arrival) {
  const std::int32_t markerLeft = overview_->MarkerLeft(OverviewMarker::ViewWindow);
  ArrivingReply reply;
  reply.layout = partial.layout;
  reply.view = ViewFromMarker(partial.layout, markerLeft);
  reply.recordChannel = partial.recordChannel;
  reply.samples = arrival.samples;
  reply.arrivingChannel = arrival.arrivingChannel;
  reply.previousShown = PlotValid == 1;
  // The held record on the screen keeps the view of its own layout.
  const ViewWindow heldView = ViewFromMarker(HeldRecord.layout, markerLeft);
  for (const std::int32_t index : {reply.view.start, reply.view.end, heldView.start, heldView.end})
    CheckListIndex(index, RecordIndexCount);
  const ArrivingPicture picture = PictureOfArrival(reply);
  const ArrivingScene scene = SceneOfArrival(partial, reply.view, heldView, reply.previousShown);

  // The last arriving frame is still in PlotBitmap, untouched, and was drawn
  // from the same: only the columns where a trace or the marker moved
  // change. A reference is drawn over the whole width and its rows may have
  // been loaded since, so with one the frame is composed whole.
  const ArrivingFrame& last = LastArrivingFrame;
  const bool sameSource = ArrivingShown && last.scene == scene;
  const bool sameScene = sameSource && last.plotKey == PlotBitmap.cacheKey() &&
                         last.gridKey == GridBitmap.cacheKey() && RowsAlike(GridBitmap, PlotBitmap) &&
                         PlotBitmap.format() == QImage::Format_RGB32 && ReferenceOn != 1;
  const ColumnSpan columns = sameScene ? ColumnsChanged(last.picture, picture) : ColumnSpan{0, PlotColumnCount - 1};
  if (!sameScene) {
    CopyGridToPlot();
    if (PlotBitmap.format() != QImage::Format_RGB32) PlotBitmap = PlotBitmap.convertToFormat(QImage::Format_RGB32);
  } else if (!columns.Empty()) {
    RestoreGridColumns(PlotBitmap, GridBitmap, columns);
  }
  if (!columns.Empty()) {
    StrokeArrivingTraces(partial, picture, scene, columns);
    if (ReferenceOn == 1) DrawReference();
    if (picture.markerColumn && *picture.markerColumn >= columns.first && *picture.markerColumn <= columns.last)
      DrawArrivalMarker(PlotBitmap, *picture.markerColumn);
    if (sameScene)
      screen_->RepaintPlotColumns(columns.first, columns.last);
    else
      screen_->RepaintPlot();
  }
  PlotDrawnRows = {};
  const auto [stripChannel, stripSamples] = DrawArrivingStrip(partial, arrival, sameSource, reply.previousShown);

  ArrivingShown = true;
  LastArrivingFrame = {.arrival = arrival,
                       .picture = picture,
                       .scene = scene,
                       .plotKey = PlotBitmap.cacheKey(),
                       .gridKey = GridBitmap.cacheKey(),
                       .stripChannel = stripChannel,
                       .stripSamples = stripSamples,
                       .stripKey = PreviewBitmap.cacheKey()};
}

void TForm1::StrokeArrivingTraces(const core::Record& partial, const ArrivingPicture& picture,
                                  const ArrivingScene& scene, ColumnSpan columns) {
  TracePoints points;
  // CH2 over CH1, as in a whole frame.
  for (int n : {1, 2}) {
    const ArrivingScene::Trace& trace = scene.traces[static_cast<std::size_t>(n - 1)];
    if (!trace.on) continue;
    const ArrivingChannel& part = picture.Channel(n);
    const ColumnSpan previous = Within(part.previous, columns);
    if (!part.previous.Empty() && !previous.Empty()) {
      const int count =
          TracePolyline(points, HeldRecord.layout, scene.heldView.start, scene.heldView.end, [&](std::int32_t i) {
            return core::RowOfSample(HeldRecord, n, i, trace.zeroRow, trace.heldCalOffset);
          });
      StrokeInColumns(PlotBitmap, points, count, previous, PixelOf(Dimmed(RgbOf(n == 1 ? CH1Color : CH2Color))));
    }
    const ColumnSpan fresh = Within(part.fresh, columns);
    if (!part.freshSamples.Empty() && !fresh.Empty()) {
      const int count = TracePolyline(
          points, partial.layout, part.freshSamples.first, part.freshSamples.last,
          [&](std::int32_t i) { return core::RowOfSample(partial, n, i, trace.zeroRow, trace.calOffset); });
      StrokeInColumns(PlotBitmap, points, count, fresh, PixelOf(n == 1 ? CH1Color : CH2Color));
    }
  }
}

std::pair<int, int> TForm1::DrawArrivingStrip(const core::Record& partial, const core::ReplyArrival& arrival,
                                              bool sameSource, bool previousShown) {
  // The focused channel's samples in so far over the held record's, drawn
  // again only when more of them are in.
  const ArrivingFrame& last = LastArrivingFrame;
  const int focused = CH1Focus == 1 ? 1 : 2;
  const int stripSamples = arrival.Samples(focused);
  const bool sameStrip = sameSource && last.stripChannel == focused && last.stripSamples == stripSamples &&
                         last.stripKey == PreviewBitmap.cacheKey();
  const bool stripOverHeld = !previousShown || HeldRecord.layout == partial.layout;
  if (!sameStrip && stripOverHeld) {
    const auto& in = partial.Samples(focused);
    const auto& under = previousShown ? HeldRecord.Samples(focused) : in;
    DrawStrip(PreviewBitmap, partial.layout, focused == 1 ? CH1Color : CH2Color, [&](int i) {
      return i <= stripSamples ? in[static_cast<std::size_t>(i)] : under[static_cast<std::size_t>(i)];
    });
    overview_->ShowRecordPicture(PreviewBitmap);
  }
  return {focused, stripSamples};
}

void TForm1::PutBackHeldRecord() {
  if (!ArrivingShown) return;
  ArrivingShown = false;
  if (PlotValid == 1) {
    PlotWaveform();
    return;
  }
  // No record was on the screen: the empty graticule and an empty strip.
  ShowGraticule();
  PreviewBitmap.fill(Qt::black);
  overview_->ShowRecordPicture(PreviewBitmap);
}

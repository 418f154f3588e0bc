#include "display/RecordLayout.h"

namespace screen_model {

RecordLayout LayoutOf(std::int32_t capturedTimeBase, std::uint8_t capturedRate1MS) {
  // The 1 MS/s record wins over the stretch: at 50 us/div a one-channel
  // capture already has a sample per column.
  if (capturedRate1MS == 1) return RecordLayout::ThreeThousand;
  if (capturedTimeBase == StretchedTimeBase && capturedRate1MS == 0) return RecordLayout::Stretched;
  return RecordLayout::Standard;
}

const LayoutRow& RowOf(RecordLayout layout) {
  for (const LayoutRow& row : LayoutTable)
    if (row.layout == layout) return row;
  return LayoutTable[0];
}

ViewWindow ViewFromMarker(RecordLayout layout, std::int32_t markerLeft) {
  const LayoutRow& row = RowOf(layout);
  const std::int32_t start =
      (row.viewScale * markerLeft + row.viewBias) / row.viewDivisor + row.viewOffset;
  return {start, start + row.samplesOnPlot - 1};
}

int ColumnOfViewSample(RecordLayout layout, int k) { return FirstColumn + k * RowOf(layout).columnStep; }

std::int32_t PlotTrigLeft(RecordLayout layout, std::int32_t triggerLeft, std::int32_t viewStart) {
  const LayoutRow& row = RowOf(layout);
  return row.columnStep * ((3 * triggerLeft) / row.columnStep - viewStart) + row.trigOffset;
}

int OverviewVertexCount(RecordLayout layout) { return RowOf(layout).overviewLastM + 1; }

OverviewVertex OverviewVertexAt(RecordLayout layout, int m) {
  const LayoutRow& row = RowOf(layout);
  if (m == 0) return {0, row.overviewFirstSample};
  return {m * row.columnStep, row.overviewSampleBase + 3 * m};
}

}  // namespace screen_model

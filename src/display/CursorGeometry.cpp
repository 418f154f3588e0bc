#include "display/CursorGeometry.h"

#include <algorithm>
#include <cstdlib>

using screen_model::RecordLayout;

namespace cursor_geometry {

namespace {

// The trigger marker's centre is 7 pixels right of its Left; a time line
// takes that column.
constexpr std::int32_t MarkerCentre = 7;

// Line to handle: ((L - offset) div step + ViewStart) * step div 3, the
// inverse of the handle's line up to the rounding of the divisions.
struct HandleRow {
  RecordLayout layout;
  std::int32_t lineOffset;
  std::int32_t samplesFilled;
};
constexpr HandleRow HandleRows[] = {
    {RecordLayout::Standard, 0, 1500},
    {RecordLayout::ThreeThousand, 744, 3000},
    {RecordLayout::Stretched, 742, 1500},
};

const HandleRow& HandleRowOf(RecordLayout layout) {
  for (const HandleRow& row : HandleRows)
    if (row.layout == layout) return row;
  return HandleRows[0];
}

}  // namespace

std::int32_t ClampTimeLineLeft(bool xCursor, std::int32_t left) {
  return std::clamp(left, 0, xCursor ? XCursorMaxLeft : OCursorMaxLeft);
}

std::int32_t ClampVoltageLineTop(std::int32_t top) { return std::clamp(top, 0, VoltageLineMaxTop); }

std::int32_t ClampHandleLeft(std::int32_t left) { return std::clamp(left, HandleMinLeft, HandleMaxLeft); }

std::int32_t ClampViewMarkerLeft(std::int32_t left) {
  return std::clamp(left, ViewMarkerMinLeft, ViewMarkerMaxLeft);
}

std::int32_t LineLeftFromHandle(RecordLayout layout, std::int32_t handleLeft, std::int32_t viewStart) {
  return screen_model::PlotTrigLeft(layout, handleLeft, viewStart) + MarkerCentre;
}

std::int32_t HandleLeftFromLine(RecordLayout layout, std::int32_t lineLeft, std::int32_t viewStart) {
  const std::int32_t step = screen_model::RowOf(layout).columnStep;
  return ((lineLeft - HandleRowOf(layout).lineOffset) / step + viewStart) * step / 3;
}

std::int32_t SamplesFilled(RecordLayout layout) { return HandleRowOf(layout).samplesFilled; }

std::int32_t SnapSampleIndex(RecordLayout layout, std::int32_t viewStart, std::int32_t lineLeft) {
  const std::int32_t step = screen_model::RowOf(layout).columnStep;
  const std::int32_t k = viewStart + (lineLeft - 4) / step + 1;
  return std::clamp(k, 1, SamplesFilled(layout));
}

CursorTimes TimesOfLines(std::int32_t xLeft, std::int32_t oLeft, std::int32_t plotTrigLeft,
                         std::int32_t samplePeriodUs) {
  const std::int64_t s = samplePeriodUs;
  const std::int64_t t0 = std::int64_t{plotTrigLeft} + MarkerCentre;
  return {(xLeft - t0) * s, (oLeft - t0) * s, std::llabs(xLeft * s - oLeft * s)};
}

CursorVolts VoltsOfLines(bool ch1Focus, std::int32_t vertPos, std::int32_t voltsDiv, std::int32_t aTop,
                         std::int32_t bTop) {
  const std::int32_t extraRow = ch1Focus ? 1 : 0;
  const std::int32_t a = ((vertPos - aTop + extraRow) * voltsDiv) / 10;
  const std::int32_t b = ((vertPos - bTop + extraRow) * voltsDiv) / 10;
  return {a, b, a - b};
}

}  // namespace cursor_geometry

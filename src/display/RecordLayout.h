#pragma once
// Where the samples of a record go across the screen. A record is read in one
// of three layouts, fixed by the time base and rate it was captured with; the
// layout decides which samples the view window marker selects, the plot
// column of each of them, where the trigger marker stands over the plot and
// which samples the overview strip shows. Pure arithmetic: the plot and the
// cursors read the widgets' positions and hand the numbers in.
//
// Every "div" of the instrument's arithmetic truncates toward zero, which is
// what C++ integer division does.

#include <cstdint>

namespace screen_model {

enum class RecordLayout {
  Standard,       // 1500 samples per channel, one plot column per sample
  ThreeThousand,  // one channel at 1 MS/s: 3000 samples
  Stretched,      // 50 us/div at 500 KS/s: two plot columns per sample
};

// One row of the layout table. The view window is
//   ViewStart = (viewScale * L + viewBias) div viewDivisor + viewOffset
// for the Left L of the view window marker. The trigger marker over the plot
// stands at Left = step * ((3 T) div step - ViewStart) + trigOffset for the
// Left T of the record's trigger marker. The overview strip is a move to
// column 0 at overviewFirstSample, then for m = 1..overviewLastM a line to
// column m * columnStep at sample overviewSampleBase + 3 m.
struct LayoutRow {
  RecordLayout layout;
  int samplesOnPlot;  // ViewEnd = ViewStart + samplesOnPlot - 1
  int columnStep;     // plot columns per sample
  int viewScale, viewBias, viewDivisor, viewOffset;
  int trigOffset;
  int overviewFirstSample;
  int overviewSampleBase;
  int overviewLastM;
};

inline constexpr LayoutRow LayoutTable[] = {
    // 1500 samples; the strip shows all of them, three per column.
    {.layout = RecordLayout::Standard, .samplesOnPlot = 497, .columnStep = 1,
     .viewScale = 3, .viewBias = -16, .viewDivisor = 1, .viewOffset = 0, .trigOffset = -5,
     .overviewFirstSample = 1, .overviewSampleBase = -1, .overviewLastM = 500},
    // 3000 samples; the strip shows the middle half, 748..2248.
    {.layout = RecordLayout::ThreeThousand, .samplesOnPlot = 497, .columnStep = 1,
     .viewScale = 3, .viewBias = 0, .viewDivisor = 1, .viewOffset = 726, .trigOffset = 737,
     .overviewFirstSample = 746, .overviewSampleBase = 745, .overviewLastM = 501},
    // Two columns per sample; the strip shows 374..1124, three per two columns.
    {.layout = RecordLayout::Stretched, .samplesOnPlot = 249, .columnStep = 2,
     .viewScale = 3, .viewBias = -1, .viewDivisor = 2, .viewOffset = 362, .trigOffset = 735,
     .overviewFirstSample = 372, .overviewSampleBase = 371, .overviewLastM = 251},
};

// The time base row of 50 us/div, the only one that stretches a record.
inline constexpr std::int32_t StretchedTimeBase = 2;

// Plot column of the first sample of the view; sample k of the view is at
// FirstColumn + k * step, so the columns run 2..498 in every layout.
inline constexpr int FirstColumn = 2;
// The traces begin one column left of the first sample (a flat first segment).
inline constexpr int TraceStartColumn = 1;

// The layout a record was captured in (flags: exactly 1 is true).
RecordLayout LayoutOf(std::int32_t capturedTimeBase, std::uint8_t capturedRate1MS);
const LayoutRow& RowOf(RecordLayout layout);

struct ViewWindow {
  std::int32_t start;  // ViewStart: first sample index on the plot
  std::int32_t end;    // ViewEnd: last sample index on the plot
  friend bool operator==(const ViewWindow&, const ViewWindow&) = default;
};

// The samples on the plot for the view window marker at Left markerLeft.
ViewWindow ViewFromMarker(RecordLayout layout, std::int32_t markerLeft);

// Plot column of sample k of the view (k = 0 for ViewStart).
int ColumnOfViewSample(RecordLayout layout, int k);

// Left of PlotTrigPanel (in Panel4 coordinates) for the trigger position
// marker at Left triggerLeft over the whole record and the view starting at
// viewStart. The marker's centre is 7 pixels right of its Left, i.e. plot
// column Left + 5.
std::int32_t PlotTrigLeft(RecordLayout layout, std::int32_t triggerLeft, std::int32_t viewStart);

// One vertex of the overview strip's polyline: vertex 0 is the move-to, the
// others are m = 1..overviewLastM.
struct OverviewVertex {
  int column;
  int sampleIndex;
};
int OverviewVertexCount(RecordLayout layout);  // overviewLastM + 1
OverviewVertex OverviewVertexAt(RecordLayout layout, int m);

// Row of the overview strip (0..25, value 0 at the top) for a sample value.
inline int OverviewRow(std::uint8_t sample) { return sample / 10; }

}  // namespace screen_model

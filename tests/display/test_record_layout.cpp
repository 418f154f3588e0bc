// The arithmetic of the screen: which samples a view window marker selects in
// each record layout, their columns, the trigger marker over the plot, the
// overview strip's samples and the rows of the vertical mapping.

#include "display/RecordLayout.h"
#include "display/SampleRows.h"

#include <gtest/gtest.h>

using namespace screen_model;

namespace {

TEST(RecordLayout, ChosenFromTheCapturedTimeBaseAndRate) {
  struct Case {
    std::int32_t timeBase;
    std::uint8_t rate1MS;
    RecordLayout expected;
  } cases[] = {
      {2, 0, RecordLayout::Stretched},      // 50 us/div at 500 KS/s
      {2, 1, RecordLayout::ThreeThousand},  // the 1 MS/s record is never stretched
      {3, 1, RecordLayout::ThreeThousand},
      {3, 0, RecordLayout::Standard},
      {15, 0, RecordLayout::Standard},
      {0, 0, RecordLayout::Standard},  // no capture yet
  };
  for (const Case& c : cases)
    EXPECT_EQ(LayoutOf(c.timeBase, c.rate1MS), c.expected) << "time base " << c.timeBase << " rate " << int(c.rate1MS);
}

TEST(RecordLayout, ViewWindowAtTheMarkerLimitsAndStart) {
  struct Case {
    RecordLayout layout;
    std::int32_t markerLeft, start, end;
  } cases[] = {
      {RecordLayout::Standard, 8, 8, 504},
      {RecordLayout::Standard, 173, 503, 999},
      {RecordLayout::Standard, 340, 1004, 1500},  // ends on the record's last sample
      {RecordLayout::ThreeThousand, 8, 750, 1246},
      {RecordLayout::ThreeThousand, 173, 1245, 1741},
      {RecordLayout::ThreeThousand, 340, 1746, 2242},
      {RecordLayout::Stretched, 8, 373, 621},
      {RecordLayout::Stretched, 173, 621, 869},
      {RecordLayout::Stretched, 340, 871, 1119},
      // (3 L - 1) div 2 truncates: odd and even markers one apart differ by 1 or 2.
      {RecordLayout::Stretched, 9, 375, 623},
      {RecordLayout::Stretched, 10, 376, 624},
      // Toward zero, not down: (3 * 0 - 1) div 2 is 0.
      {RecordLayout::Stretched, 0, 362, 610},
  };
  for (const Case& c : cases) {
    const ViewWindow view = ViewFromMarker(c.layout, c.markerLeft);
    EXPECT_EQ(view.start, c.start) << "L " << c.markerLeft;
    EXPECT_EQ(view.end, c.end) << "L " << c.markerLeft;
  }
}

TEST(RecordLayout, ViewStaysInsideTheRecordOverTheWholeDrag) {
  for (const LayoutRow& row : LayoutTable)
    for (int L = 8; L <= 340; ++L) {
      const ViewWindow view = ViewFromMarker(row.layout, L);
      ASSERT_GE(view.start, 1) << "L " << L;
      ASSERT_LE(view.end, 3000) << "L " << L;
    }
}

TEST(RecordLayout, ColumnsRunFrom2To498InEveryLayout) {
  for (const LayoutRow& row : LayoutTable) {
    EXPECT_EQ(ColumnOfViewSample(row.layout, 0), 2);
    EXPECT_EQ(ColumnOfViewSample(row.layout, row.samplesOnPlot - 1), 498);
  }
  EXPECT_EQ(ColumnOfViewSample(RecordLayout::Stretched, 1), 4);
  EXPECT_EQ(ColumnOfViewSample(RecordLayout::Standard, 1), 3);
}

TEST(RecordLayout, TriggerMarkerAtStartIsOnTheSameColumnInEveryLayout) {
  // The markers' start positions (view window 173, trigger 251) put the
  // plot's marker at Left 245 in all three layouts.
  for (const LayoutRow& row : LayoutTable)
    EXPECT_EQ(PlotTrigLeft(row.layout, 251, ViewFromMarker(row.layout, 173).start), 245);
}

TEST(RecordLayout, TriggerMarkerCentreStandsOnTheTriggerSample) {
  // Centre column Left + 5 is the column of the trigger sample: 3 T - 2 in
  // the standard record, 3 T + 740 in the 3000-sample one, (3 T) div 2 + 369
  // when stretched.
  struct Case {
    RecordLayout layout;
    int (*triggerSample)(int T);
  } cases[] = {
      {RecordLayout::Standard, [](int T) { return 3 * T - 2; }},
      {RecordLayout::ThreeThousand, [](int T) { return 3 * T + 740; }},
      {RecordLayout::Stretched, [](int T) { return (3 * T) / 2 + 369; }},
  };
  for (const Case& c : cases)
    for (int L : {8, 173, 340})
      for (int T = 1; T <= 501; ++T) {
        const int viewStart = ViewFromMarker(c.layout, L).start;
        const int column = ColumnOfViewSample(c.layout, c.triggerSample(T) - viewStart);
        ASSERT_EQ(PlotTrigLeft(c.layout, T, viewStart) + 5, column) << "T " << T << " L " << L;
      }
}

TEST(RecordLayout, TriggerMarkerWorkedValues) {
  EXPECT_EQ(PlotTrigLeft(RecordLayout::Standard, 200, 503), 92);
  EXPECT_EQ(PlotTrigLeft(RecordLayout::ThreeThousand, 200, 1245), 92);
  // (3 * 201) div 2 = 301: the odd half is dropped before doubling.
  EXPECT_EQ(PlotTrigLeft(RecordLayout::Stretched, 201, 621), 2 * (301 - 621) + 735);
}

TEST(RecordLayout, OverviewStripSamplesPerLayout) {
  struct Case {
    RecordLayout layout;
    int m;
    OverviewVertex expected;
  } cases[] = {
      {RecordLayout::Standard, 0, {0, 1}},
      {RecordLayout::Standard, 1, {1, 2}},
      {RecordLayout::Standard, 500, {500, 1499}},
      {RecordLayout::ThreeThousand, 0, {0, 746}},
      {RecordLayout::ThreeThousand, 1, {1, 748}},
      {RecordLayout::ThreeThousand, 501, {501, 2248}},
      {RecordLayout::Stretched, 0, {0, 372}},
      {RecordLayout::Stretched, 1, {2, 374}},
      {RecordLayout::Stretched, 251, {502, 1124}},
  };
  for (const Case& c : cases) {
    const OverviewVertex v = OverviewVertexAt(c.layout, c.m);
    EXPECT_EQ(v.column, c.expected.column) << "m " << c.m;
    EXPECT_EQ(v.sampleIndex, c.expected.sampleIndex) << "m " << c.m;
  }
  EXPECT_EQ(OverviewVertexCount(RecordLayout::Standard), 501);
  EXPECT_EQ(OverviewVertexCount(RecordLayout::ThreeThousand), 502);
  EXPECT_EQ(OverviewVertexCount(RecordLayout::Stretched), 252);
}

TEST(RecordLayout, OverviewStripReadsOnlyInsideTheRecord) {
  for (const LayoutRow& row : LayoutTable)
    for (int m = 0; m < OverviewVertexCount(row.layout); ++m) {
      const OverviewVertex v = OverviewVertexAt(row.layout, m);
      ASSERT_GE(v.sampleIndex, 1);
      ASSERT_LE(v.sampleIndex, 3000);
    }
}

TEST(RecordLayout, OverviewRowsAreTenCountsEach) {
  EXPECT_EQ(OverviewRow(0), 0);
  EXPECT_EQ(OverviewRow(9), 0);
  EXPECT_EQ(OverviewRow(10), 1);
  EXPECT_EQ(OverviewRow(255), 25);
}

TEST(SampleRows, ZeroVoltSampleLandsOnTheChannelsRow) {
  for (std::int32_t scale : {50, 100, 156, 200, 784})
    for (std::int32_t cal : {-7, 0, 12})
      EXPECT_EQ(SampleRow(127 + cal, 200, scale, cal), 200) << "scale " << scale << " cal " << cal;
}

TEST(SampleRows, EachDivisionTruncatesTowardZero) {
  struct Case {
    std::int32_t s, vertPos, scale, cal, row;
  } cases[] = {
      {255, 200, 100, 0, 328},
      {0, 200, 156, 0, 2},      // 200 - 198 + 0
      {10, 200, 156, 20, -13},  // (-10 * 156) div 100 = -15, not -16
      {1, 200, 156, 0, 3},      // 156 div 100 = 1
      {127, 0, 784, 0, 0},
      {128, 0, 784, 0, 8},  // (128 * 784) div 100 = 1003, (127 * 784) div 100 = 995
  };
  for (const Case& c : cases)
    EXPECT_EQ(SampleRow(c.s, c.vertPos, c.scale, c.cal), c.row) << "s " << c.s << " cal " << c.cal;
}

TEST(SampleRows, AMeanBetweenCountsLandsBetweenTheirRows) {
  struct Case {
    const char* name;
    double mean;
    std::int32_t vertPos, scale, cal, row;
  } cases[] = {
      {"a whole mean is the count's row", 100.0, 200, 624, 0, 32},  // 200 - 792 + 624
      {"half way to the next count's row (38)", 100.5, 200, 624, 0, 35},
      {"a quarter: 1.5 pixels round up", 100.25, 200, 624, 0, 34},
      {"just under the next count", 100.999, 200, 624, 0, 38},
      {"below zero after the calibration", 5.5, 200, 156, 20, -20},  // between -21 and -19
      {"two counts on one row stay there", 100.7, 0, 39, 0, -10},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MeanSampleRow(c.mean, c.vertPos, c.scale, c.cal), c.row) << c.name;
}

TEST(SampleRows, AMeanMovesTheTraceAPixelAtATime) {
  // At 100 mV/div a count is 6.24 rows; a mean sweeping the whole range
  // never goes back and leaves no row out.
  std::int32_t last = MeanSampleRow(0, 200, 624, 3);
  EXPECT_EQ(last, SampleRow(0, 200, 624, 3));
  for (int hundredths = 1; hundredths <= 25500; ++hundredths) {
    const std::int32_t row = MeanSampleRow(hundredths / 100.0, 200, 624, 3);
    ASSERT_GE(row, last) << hundredths;
    ASSERT_LE(row, last + 1) << hundredths;
    last = row;
  }
  EXPECT_EQ(last, SampleRow(255, 200, 624, 3));
}

TEST(SampleRows, CalibrationOfThePresentRange) {
  EXPECT_EQ(CalOffsetFor(1, 9, -3), 9);
  EXPECT_EQ(CalOffsetFor(0, 9, -3), -3);
  EXPECT_EQ(CalOffsetFor(2, 9, -3), -3);  // a flag is true only at exactly 1
}

TEST(SampleRows, ColoursHoldBlueInTheHighByte) {
  EXPECT_EQ(RgbOf(CH1Color), (Rgb{0, 126, 255}));
  EXPECT_EQ(RgbOf(CH2Color), (Rgb{255, 0, 0}));
  EXPECT_EQ(RgbOf(ReferenceColor), (Rgb{0, 128, 0}));
}

}  // namespace

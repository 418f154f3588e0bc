// The knob readings and tables without a window: pointer angles, the rows
// at every band edge of both knobs, the dot at the detents, the selector
// codes and the marker drag.

#include "controls/ChannelSelector.h"
#include "controls/KnobAngle.h"
#include "controls/TimeKnob.h"
#include "controls/VerticalMarker.h"
#include "controls/VoltsKnob.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

// ---- Pointer angle --------------------------------------------------------

struct PointerCase {
  const char* name;
  int x, y, width, height;
  int angle;
};

class PointerAngle : public ::testing::TestWithParam<PointerCase> {};

TEST_P(PointerAngle, ReadsWholeDegreesClockwiseFromThreeOClock) {
  const PointerCase& c = GetParam();
  EXPECT_EQ(knob::PointerAngle(c.x, c.y, c.width, c.height), c.angle) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PointerAngle,
    ::testing::Values(
        PointerCase{"centre of the volts knob reads 0", 100, 100, 200, 200, 0},
        PointerCase{"centre of the time knob (225 div 2 = 112)", 112, 112, 225, 225, 0},
        PointerCase{"straight up is 270", 100, 10, 200, 200, 270},
        PointerCase{"straight down is 90", 100, 190, 200, 200, 90},
        PointerCase{"right on the axis is 0", 190, 100, 200, 200, 0},
        PointerCase{"left on the axis is 180", 10, 100, 200, 200, 180},
        PointerCase{"down-right diagonal", 150, 150, 200, 200, 45},
        PointerCase{"down-left diagonal", 50, 150, 200, 200, 135},
        PointerCase{"up-left diagonal", 50, 50, 200, 200, 225},
        PointerCase{"up-right diagonal", 150, 50, 200, 200, 315},
        // atan(1/10) = 5.71 degrees: each quadrant truncates its own sum.
        PointerCase{"just below 3 o'clock truncates 5.71 to 5", 110, 101, 200, 200, 5},
        PointerCase{"just above 3 o'clock: 360 - 5.71 truncates to 354", 110, 99, 200, 200, 354},
        PointerCase{"just below 9 o'clock: 180 - 5.71 truncates to 174", 90, 101, 200, 200, 174},
        PointerCase{"just above 9 o'clock: 180 + 5.71 truncates to 185", 90, 99, 200, 200, 185},
        PointerCase{"a hair above 3 o'clock stays below 360", 10100, 99, 200, 200, 359},
        PointerCase{"a pointer dragged off the face still reads", -400, 100, 200, 200, 180},
        PointerCase{"time knob: one pixel left of the centre column, below", 111, 200, 225, 225, 90}));

// ---- Volts/div rows -------------------------------------------------------

struct VoltsEdge {
  int angle;
  int detent;  // names the row
};

class VoltsBandEdge : public ::testing::TestWithParam<VoltsEdge> {};

TEST_P(VoltsBandEdge, FallsInTheRowOfItsDetent) {
  EXPECT_EQ(volts_knob::RowForAngle(GetParam().angle).detent, GetParam().detent)
      << "angle " << GetParam().angle;
}

INSTANTIATE_TEST_SUITE_P(
    EveryEdge, VoltsBandEdge,
    ::testing::Values(VoltsEdge{90, 135}, VoltsEdge{89, 45},     // 6 o'clock: 100 mV / 10 V
                      VoltsEdge{158, 135}, VoltsEdge{159, 180},  // 100 / 200 mV
                      VoltsEdge{203, 180}, VoltsEdge{204, 225},  // 200 / 500 mV
                      VoltsEdge{248, 225}, VoltsEdge{249, 270},  // 500 mV / 1 V
                      VoltsEdge{293, 270}, VoltsEdge{294, 315},  // 1 V / 2 V
                      VoltsEdge{338, 315}, VoltsEdge{339, 0},    // 2 V / 5 V
                      VoltsEdge{359, 0}, VoltsEdge{0, 0}, VoltsEdge{23, 0},  // 5 V across 3 o'clock
                      VoltsEdge{24, 45},                                     // 10 V
                      // Stored angles outside 0..359 land in the 5 V row.
                      VoltsEdge{-1, 0}, VoltsEdge{360, 0}, VoltsEdge{INT_MIN, 0}, VoltsEdge{INT_MAX, 0}));

TEST(VoltsRows, EachDetentLiesInItsOwnBandAndNoOtherSoOneRowApplies) {
  for (const volts_knob::VoltsRow& row : volts_knob::VoltsRows) {
    int holders = 0;
    for (const volts_knob::VoltsRow& other : volts_knob::VoltsRows) holders += other.band.Holds(row.detent);
    EXPECT_EQ(holders, 1) << row.ch2Caption;
    EXPECT_EQ(&volts_knob::RowForAngle(row.detent), &row) << row.ch2Caption;
  }
}

TEST(VoltsRows, EveryAngleOfTheDialHasExactlyOneRow) {
  for (int angle = 0; angle < 360; ++angle) {
    int holders = 0;
    for (const volts_knob::VoltsRow& row : volts_knob::VoltsRows) holders += row.band.Holds(angle);
    EXPECT_EQ(holders, 1) << "angle " << angle;
  }
}

TEST(VoltsRows, RowValuesThatTheCaptureAndPlotRelyOn) {
  struct Expect {
    int detent;
    const char* ch1;
    const char* ch2;
    const char* suffix;
    int scale, voltsDiv;
    bool high;
  };
  const Expect rows[] = {
      {135, "CH1 100mV/DIV", "CH2 100mV/DIV", "100.bmp", 624, 2, false},
      {180, "CH1 200mV/DIV", "CH2 200mV/DIV", "200.bmp", 312, 4, false},
      {225, "CH1 500mV/DIV", "CH2 500mV/DIV", "500.bmp", 156, 10, false},
      {270, "CH1 1V/DIV", "CH2 1V/DIV", "1V.bmp", 393, 20, true},
      {315, "CH1 2V/DIV", "CH2 2V/DIV", "2V.bmp", 197, 40, true},
      {0, "CH1 5/DIV", "CH2 5V/DIV", "5V.bmp", 78, 100, true},  // CH1's caption has no V
      {45, "CH1 10V/DIV", "CH2 10V/DIV", "10V.bmp", 39, 200, true},
  };
  for (const Expect& e : rows) {
    const volts_knob::VoltsRow& row = volts_knob::RowForAngle(e.detent);
    EXPECT_EQ(row.detent, e.detent);
    EXPECT_EQ(row.ch1Caption, e.ch1);
    EXPECT_EQ(row.ch2Caption, e.ch2);
    EXPECT_EQ(row.faceSuffix, e.suffix);
    EXPECT_EQ(row.scale, e.scale) << e.ch2;
    EXPECT_EQ(row.voltsDiv, e.voltsDiv) << e.ch2;
    EXPECT_EQ(row.highRange, e.high) << e.ch2;
  }
}

struct DotCase {
  int angle;
  int left, top;
};

class VoltsDot : public ::testing::TestWithParam<DotCase> {};

TEST_P(VoltsDot, RidesTheRadius18Circle) {
  const DotCase& c = GetParam();
  EXPECT_EQ(volts_knob::DotPlace(c.angle), (knob::DotPlace{c.left, c.top})) << "angle " << c.angle;
}

INSTANTIATE_TEST_SUITE_P(
    Detents, VoltsDot,
    ::testing::Values(DotCase{135, 80, 104},  // 92 + trunc(-12.73), 92 + trunc(12.73)
                      DotCase{180, 74, 92}, DotCase{225, 80, 80}, DotCase{270, 92, 74},
                      DotCase{315, 104, 80}, DotCase{0, 110, 92}, DotCase{45, 104, 104},
                      DotCase{90, 92, 110},  // cos 90 deg is a hair above 0: still truncates to 0
                      DotCase{100, 89, 109}));  // a raw drag angle between detents

// ---- Time/div rows --------------------------------------------------------

struct TimeEdge {
  int angle;
  int index;
};

class TimeBandEdge : public ::testing::TestWithParam<TimeEdge> {};

TEST_P(TimeBandEdge, SelectsTheRow) {
  EXPECT_EQ(time_knob::RowForAngle(GetParam().angle).index, GetParam().index)
      << "angle " << GetParam().angle;
}

INSTANTIATE_TEST_SUITE_P(
    EveryEdge, TimeBandEdge,
    ::testing::Values(TimeEdge{90, 15}, TimeEdge{91, 2},    // 6 o'clock: 1 s / 50 us
                      TimeEdge{126, 2}, TimeEdge{127, 3}, TimeEdge{150, 3}, TimeEdge{151, 4},
                      TimeEdge{174, 4}, TimeEdge{175, 5}, TimeEdge{198, 5}, TimeEdge{199, 6},
                      TimeEdge{222, 6}, TimeEdge{223, 7}, TimeEdge{246, 7}, TimeEdge{247, 8},
                      TimeEdge{270, 8}, TimeEdge{271, 9}, TimeEdge{294, 9}, TimeEdge{295, 10},
                      TimeEdge{318, 10}, TimeEdge{319, 11},
                      TimeEdge{342, 11}, TimeEdge{343, 12},  // 50 ms / 100 ms
                      TimeEdge{0, 12}, TimeEdge{6, 12}, TimeEdge{7, 13},  // 100 ms across 3 o'clock
                      TimeEdge{30, 13}, TimeEdge{31, 14}, TimeEdge{54, 14}, TimeEdge{55, 15},
                      // Stored angles outside 0..359 land in the 100 ms/div row.
                      TimeEdge{-1, 12}, TimeEdge{360, 12}, TimeEdge{INT_MIN, 12}));

TEST(TimeRows, IndicesRunTwoToFifteenAndEachDetentHasOneRow) {
  int expectedIndex = 2;
  for (const time_knob::TimeRow& row : time_knob::TimeRows) {
    EXPECT_EQ(row.index, expectedIndex++);
    int holders = 0;
    for (const time_knob::TimeRow& other : time_knob::TimeRows) holders += other.band.Holds(row.detent);
    EXPECT_EQ(holders, 1) << row.timeDivText;
  }
  EXPECT_EQ(expectedIndex, 16);
  for (int angle = 0; angle < 360; ++angle) {
    int holders = 0;
    for (const time_knob::TimeRow& row : time_knob::TimeRows) holders += row.band.Holds(angle);
    EXPECT_EQ(holders, 1) << "angle " << angle;
  }
}

TEST(TimeRows, PeriodIsTimePerDivisionOverFiftyColumns) {
  struct Expect {
    int index;
    const char* timeDiv;
    int periodUs;
  };
  const Expect rows[] = {{2, "50us/DIV", 1},       {3, "100us/DIV", 2},     {4, "200us/DIV", 4},
                         {5, "500us/DIV", 10},     {6, "1ms/DIV", 20},      {7, "2ms/DIV", 40},
                         {8, "5ms/DIV", 100},      {9, "10ms/DIV", 200},    {10, "20ms/DIV", 400},
                         {11, "50ms/DIV", 1000},   {12, "100ms/DIV", 2000}, {13, "200ms/DIV", 4000},
                         {14, "500ms/DIV", 10000}, {15, "1s/DIV", 20000}};
  for (const Expect& e : rows) {
    const time_knob::TimeRow& row = time_knob::TimeRows[e.index - 2];
    EXPECT_EQ(row.timeDivText, e.timeDiv);
    EXPECT_EQ(row.samplePeriodUs, e.periodUs) << e.timeDiv;
  }
}

TEST(TimeRows, OnlyFiftyMicrosecondsChangesItsRateCaptionWithTheOneChannelMode) {
  const time_knob::TimeRow& fastest = time_knob::RowForAngle(114);
  EXPECT_EQ(time_knob::SampleRateTextFor(fastest, true), "1M/s");  // the knob's own spelling
  EXPECT_EQ(time_knob::SampleRateTextFor(fastest, false), "500KS/s");
  const time_knob::TimeRow& next = time_knob::RowForAngle(138);
  EXPECT_EQ(time_knob::SampleRateTextFor(next, true), "500KS/s");
  EXPECT_EQ(time_knob::SampleRateTextFor(time_knob::RowForAngle(306), false), "2.5KS/s");
  EXPECT_EQ(time_knob::OneChannelRateText, "1MS/s");  // the channel keys' spelling
}

class TimeDot : public ::testing::TestWithParam<DotCase> {};

TEST_P(TimeDot, RidesTheRadius36Circle) {
  const DotCase& c = GetParam();
  EXPECT_EQ(time_knob::DotPlace(c.angle), (knob::DotPlace{c.left, c.top})) << "angle " << c.angle;
}

INSTANTIATE_TEST_SUITE_P(Detents, TimeDot,
                         ::testing::Values(DotCase{138, 75, 125}, DotCase{186, 66, 98},
                                           DotCase{258, 94, 66}, DotCase{354, 136, 98},
                                           DotCase{66, 115, 133}, DotCase{114, 87, 133}));

// ---- Channel selector -----------------------------------------------------

TEST(ChannelSelector, CodesOfEveryKeyCombination) {
  struct Case {
    bool ch1, ch2, focus1;
    int code;
  };
  const Case cases[] = {
      {true, false, true, 11},  {false, false, false, 20}, {true, true, true, 21},
      {false, true, false, 30}, {true, true, false, 31},
      // Only a restore makes these; they take the entry their sum names.
      {true, false, false, 21}, {false, true, true, 20}, {false, false, true, 10},
  };
  for (const Case& c : cases)
    EXPECT_EQ(channel_selector::SelectorCode(c.ch1, c.ch2, c.focus1), c.code)
        << c.ch1 << c.ch2 << c.focus1;
}

TEST(ChannelSelector, EachChannelShowsOneMarkerLookWhileOnAndNoneWhileOff) {
  using channel_selector::KnobPrefix;
  struct Case {
    int code;
    const char* picture;
    KnobPrefix prefix;
  };
  const Case cases[] = {
      {11, "CHSelector-1on-2off-1sel.bmp", KnobPrefix::CH1},
      {20, "CHSelector-1off-2off.bmp", KnobPrefix::Unchanged},
      {21, "CHSelector-1on-2on-1sel.bmp", KnobPrefix::CH1},
      {30, "CHSelector-1off-2on-2sel.bmp", KnobPrefix::CH2},
      {31, "CHSelector-1on-2on-2sel.bmp", KnobPrefix::CH2},
  };
  for (const Case& c : cases) {
    const channel_selector::SelectorEntry* e = channel_selector::EntryForCode(c.code);
    ASSERT_NE(e, nullptr) << c.code;
    EXPECT_EQ(e->picture, std::string("Grafics\\ChannelSelecter\\") + c.picture);
    EXPECT_EQ(e->prefix, c.prefix) << c.code;
    const bool ch1On = c.code % 10 == 1;
    const bool ch2On = c.code == 21 || c.code == 31 || c.code == 30;
    const bool ch1Selected = c.code < 30 && c.code != 20;
    // Never both looks of one marker; the selected look only for the selected channel.
    EXPECT_EQ(e->image1 || e->ch1ns, ch1On) << c.code;
    EXPECT_FALSE(e->image1 && e->ch1ns) << c.code;
    EXPECT_EQ(e->image1, ch1On && ch1Selected) << c.code;
    EXPECT_EQ(e->image2 || e->ch2ns, ch2On) << c.code;
    EXPECT_FALSE(e->image2 && e->ch2ns) << c.code;
    EXPECT_EQ(e->ch1v, ch1On) << c.code;
    EXPECT_EQ(e->ch2v, ch2On) << c.code;
  }
  EXPECT_EQ(channel_selector::EntryForCode(10), nullptr);
}

// ---- Marker drag ----------------------------------------------------------

TEST(MarkerDrag, MovesByTheDragAndStopsAtRowsOneAndFourHundred) {
  struct Case {
    const char* name;
    int top, downY, y;
    int newTop, delta;
    bool clamped;
  };
  const Case cases[] = {
      {"up by 10", 122, 7, -3, 112, 10, false},
      {"down by 5", 122, 7, 12, 127, -5, false},
      {"up onto row 1 exactly", 11, 7, -3, 1, 10, false},
      {"past the top stops at 1", 5, 7, -3, 1, 10, true},
      {"down onto row 400 exactly", 390, 7, 17, 400, -10, false},
      {"past the bottom stops at 400", 395, 7, 17, 400, -10, true},
      {"no move", 200, 7, 7, 200, 0, false},
  };
  for (const Case& c : cases) {
    const vertical_marker::MarkerStep s = vertical_marker::DragStep(c.top, c.downY, c.y);
    EXPECT_EQ(s.top, c.newTop) << c.name;
    EXPECT_EQ(s.dragDelta, c.delta) << c.name;
    EXPECT_EQ(s.clamped, c.clamped) << c.name;
  }
}

// The trigger arithmetic without a window: the position bytes against the
// worked table, the level readout, the arrow placement both ways, the typed
// level and which pictures stand for an arrow off the strip.

#include "app/Errors.h"
#include "controls/TriggerLevel.h"
#include "controls/TriggerPosition.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>

using trigger_position::PositionBytes;

namespace trigger_position {
inline void PrintTo(const PositionBytes& b, std::ostream* os) {
  *os << '{' << b.preLo << ", " << b.preHi << ", " << b.postLo << ", " << b.postHi << '}';
}
}  // namespace trigger_position

// ---- Trigger position bytes ------------------------------------------------

struct PositionCase {
  const char* name;
  int left;
  int capturedTimeBase;
  int pre;
  PositionBytes bytes;
};

class TriggerPositionBytes : public ::testing::TestWithParam<PositionCase> {};

TEST_P(TriggerPositionBytes, MatchTheWorkedValues) {
  const PositionCase& c = GetParam();
  EXPECT_EQ(trigger_position::PreTriggerCount(c.left, c.capturedTimeBase), c.pre) << c.name;
  const PositionBytes b = trigger_position::PositionBytesFor(c.left, c.capturedTimeBase);
  EXPECT_EQ(b, c.bytes) << c.name;
  // The pre bytes are the base-255 digits of P + 250 (no pre digit is ever 0).
  EXPECT_EQ(b.preLo + 255 * b.preHi, c.pre + 250) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TriggerPositionBytes,
    ::testing::Values(
        // Normal rows (any time base but 50 us/div; 3 = 100 us/div).
        PositionCase{"L 1 normal", 1, 3, 1248, {223, 5, 222, 6}},
        PositionCase{"L 51 normal (10 %)", 51, 3, 1398, {118, 6, 72, 6}},
        PositionCase{"L 251 normal (50 %)", 251, 3, 1998, {208, 8, 237, 3}},
        PositionCase{"L 451 normal (90 %)", 451, 3, 2598, {43, 11, 147, 1}},
        PositionCase{"L 501 normal: a high post digit of 0 goes out as 1", 501, 3, 2748, {193, 11, 252, 1}},
        PositionCase{"L 74 normal: 1530 = 6 x 255, the low post digit 0 goes out as 2", 74, 3, 1470,
                     {190, 6, 2, 6}},
        PositionCase{"L 250 normal truncates like 251", 250, 15, 1998, {208, 8, 237, 3}},
        PositionCase{"a record not yet captured (time base 0) counts as a normal row", 251, 0, 1998,
                     {208, 8, 237, 3}},
        // 50 us/div, stretched over two columns per sample.
        PositionCase{"L 1 at 50 us/div", 1, 2, 1620, {85, 7, 105, 5}},
        PositionCase{"L 51 at 50 us/div", 51, 2, 1692, {157, 7, 33, 5}},
        PositionCase{"L 251 at 50 us/div", 251, 2, 1992, {202, 8, 243, 3}},
        PositionCase{"L 451 at 50 us/div", 451, 2, 2292, {247, 9, 198, 2}},
        PositionCase{"L 501 at 50 us/div", 501, 2, 2370, {70, 10, 120, 2}}));

TEST(TriggerPositionBytes, NoByteIsEverZeroAnywhereOnTheStrip) {
  for (int timeBase : {2, 3}) {
    for (int left = trigger_position::LeftmostMarker; left <= trigger_position::RightmostMarker; ++left) {
      const PositionBytes b = trigger_position::PositionBytesFor(left, timeBase);
      for (int digit : {b.preLo, b.preHi, b.postLo, b.postHi}) {
        ASSERT_GE(digit, 1) << "L " << left << " time base " << timeBase;
        ASSERT_LE(digit, 254) << "L " << left << " time base " << timeBase;
      }
    }
  }
}

TEST(TriggerPositionMarker, DragIsHeldOverTheStripAndPresetsAreFoundByLeft) {
  struct Case {
    int left, clamped, percent;
  } cases[] = {{-40, 1, 0}, {0, 1, 0}, {1, 1, 0},    {50, 50, 0},   {51, 51, 10},  {250, 250, 0},
               {251, 251, 50}, {252, 252, 0}, {451, 451, 90}, {501, 501, 0}, {502, 501, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(trigger_position::ClampMarkerLeft(c.left), c.clamped) << c.left;
    EXPECT_EQ(trigger_position::PresetPercentAt(c.left), c.percent) << c.left;
  }
}

// ---- Level readout -----------------------------------------------------------

struct ReadoutCase {
  const char* name;
  long long counts;
  bool highRange;
  const char* point;
  const char* text;
};

class LevelReadout : public ::testing::TestWithParam<ReadoutCase> {};

TEST_P(LevelReadout, CutsTowardZeroTo10mVInTheShortestForm) {
  const ReadoutCase& c = GetParam();
  EXPECT_EQ(trigger_level::LevelReadout(c.counts, c.highRange, QString::fromLatin1(c.point)),
            QString::fromLatin1(c.text))
      << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LevelReadout,
    ::testing::Values(
        ReadoutCase{"32 counts high: 2.496 V cut to 2.49", 32, true, ".", "2.49 V"},
        ReadoutCase{"32 counts low: 0.48 V", 32, false, ".", "0.48 V"},
        ReadoutCase{"-5 counts high: -0.39 V", -5, true, ".", "-0.39 V"},
        ReadoutCase{"0 counts", 0, true, ".", "0 V"},
        ReadoutCase{"-1 count high is -0.07 V, cut toward zero", -1, true, ".", "-0.07 V"},
        ReadoutCase{"-1 count low: -0.015 V cuts toward zero to -0.01", -1, false, ".", "-0.01 V"},
        ReadoutCase{"no trailing zero: 10 counts low = 0.15 V", 10, false, ".", "0.15 V"},
        ReadoutCase{"no trailing zero: 40 counts low = 0.6 V", 40, false, ".", "0.6 V"},
        ReadoutCase{"whole volts: 200 counts low = 3 V", 200, false, ".", "3 V"},
        ReadoutCase{"a hundredth below ten: 7 counts low = 0.1 V", 7, false, ".", "0.1 V"},
        ReadoutCase{"single hundredth: 1 count high = 0.07 V", 1, true, ".", "0.07 V"},
        ReadoutCase{"the user's decimal comma", 32, true, ",", "2,49 V"},
        ReadoutCase{"128 counts high", 128, true, ".", "9.98 V"},
        ReadoutCase{"a stored count far outside any screen", 2147483647LL, true, ".", "167503724.46 V"}));

// ---- Arrow and level -------------------------------------------------------------

TEST(TriggerArrow, FiveVoltsPerDivisionExamplePlacesAndReadsBack) {
  // 0 V line at 122, scale 78, level 32, arrow above the line.
  EXPECT_EQ(trigger_level::ArrowTopFromLevel(90, 122, 122, 32, 78), 122 - 1 - 24);
  EXPECT_EQ(trigger_level::LevelFromArrow(122, 97, 78), 32);
}

TEST(TriggerArrow, ResetLandsOnTheSideItCameFrom) {
  struct Case {
    const char* name;
    int arrowTop, markerTop, level, scale, top;
  } cases[] = {
      {"from above to 0 V: one pixel above the line", 50, 122, 0, 78, 121},
      {"from below to 0 V: one pixel under", 300, 122, 0, 78, 123},
      {"on the marker: exactly on the line", 122, 122, 0, 78, 122},
      {"the side is where it was, not the sign of the level", 300, 122, 32, 78, 122 + 1 - 24},
      {"negative level truncates toward zero: -5 x 78 / 100 = -3", 50, 122, -5, 78, 122 - 1 + 3},
      {"100 mV/div (624): 10 counts are 62 rows", 50, 200, 10, 624, 122 - 1 - 62},
      {"far outside the strip is not clamped", 50, 122, 400, 624, 122 - 1 - 2496},
      {"a huge stored level saturates instead of overflowing", 50, 122, INT_MAX, 624, INT_MIN},
  };
  for (const auto& c : cases)
    EXPECT_EQ(trigger_level::ArrowTopFromLevel(c.arrowTop, c.markerTop, 122, c.level, c.scale), c.top)
        << c.name;
  // The 0 V row comes from the state, the side from the marker's Top.
  EXPECT_EQ(trigger_level::ArrowTopFromLevel(100, 110, 150, 0, 78), 149);
}

TEST(TriggerArrow, LevelFromArrowTruncatesTowardZeroAndRefusesAZeroScale) {
  EXPECT_EQ(trigger_level::LevelFromArrow(122, 97, 78), 32);   // 2500 / 78 = 32.05
  EXPECT_EQ(trigger_level::LevelFromArrow(122, 147, 78), -32); // -2500 / 78 = -32.05
  EXPECT_EQ(trigger_level::LevelFromArrow(122, 122, 39), 0);
  EXPECT_EQ(trigger_level::LevelFromArrow(287, 286, 624), 0);  // one row is less than a count
  EXPECT_THROW(trigger_level::LevelFromArrow(122, 97, 0), ScopeError);
}

TEST(TriggerArrow, DragIsHeldOneRowInsideTheMarkerRange) {
  struct Case {
    int top, down, y, result;
  } cases[] = {{100, 7, 7, 100}, {100, 7, 17, 110}, {100, 7, -3, 90}, {5, 7, 0, 2},
               {2, 7, -100, 2},  {395, 7, 20, 399}, {399, 7, 400, 399}};
  for (const auto& c : cases)
    EXPECT_EQ(trigger_level::ArrowDragTop(c.top, c.down, c.y), c.result) << c.top << ' ' << c.y;
}

TEST(TriggerArrow, FollowsItsMarkerWithoutLimit) {
  EXPECT_EQ(trigger_level::FollowMarker(100, 5), 95);
  EXPECT_EQ(trigger_level::FollowMarker(3, 5), -2);
  EXPECT_EQ(trigger_level::FollowMarker(INT_MIN + 1, 5), INT_MIN);
}

// ---- Typed level ---------------------------------------------------------------------

TEST(TypedLevel, CountsTruncateTowardZeroOnEachRange) {
  struct Case {
    double volts;
    bool high;
    int counts;
  } cases[] = {{1.25, true, 16}, {1.25, false, 83}, {-1.25, true, -16}, {-1.25, false, -83},
               {0.07, true, 0},  {10.0, false, 666}, {-10.0, true, -128}, {0.0, true, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(trigger_level::CountsFromVolts(c.volts, c.high), c.counts) << c.volts << ' ' << c.high;
  // Typed, stored and read back: 1.25 V shows as 1.24 V on both ranges.
  EXPECT_EQ(trigger_level::LevelReadout(16, true, "."), "1.24 V");
  EXPECT_EQ(trigger_level::LevelReadout(83, false, "."), "1.24 V");
}

TEST(TypedLevel, ReadsTheLocalesNumbers) {
  struct Case {
    const char* text;
    const char* point;
    double volts;
  } cases[] = {{"1.25", ".", 1.25}, {" -2.5 ", ".", -2.5}, {"+3", ".", 3.0},  {".5", ".", 0.5},
               {"4.", ".", 4.0},    {"1e1", ".", 10.0},   {"1,25", ",", 1.25}, {"10.5", ".", 10.5}};
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(trigger_level::ParseVolts(QString::fromLatin1(c.text), QString::fromLatin1(c.point)),
                     c.volts)
        << c.text;
}

TEST(TypedLevel, ANonNumberIsReportedWithTheText) {
  for (const char* text : {"", " ", "abc", "1.2.3", "1,25", "1 2", "0x10", "nan", "inf", "1e999", "--1"}) {
    try {
      trigger_level::ParseVolts(QString::fromLatin1(text), QStringLiteral("."));
      ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const ScopeError& e) {
      EXPECT_EQ(e.Message(), QStringLiteral("'%1' is not a valid floating point value").arg(text));
    }
  }
  // With a decimal comma the point is no separator.
  EXPECT_THROW(trigger_level::ParseVolts(QStringLiteral("1.25"), QStringLiteral(",")), ScopeError);
}

// ---- Off the strip -----------------------------------------------------------------

TEST(ArrowOffScreen, IndicatorsStandInForAnArrowOffTheStrip) {
  struct Case {
    const char* name;
    int source, top;
    bool up, down, arrow, hideLine, extHidesAll;
  } cases[] = {
      {"inside at the top end", 1, 2, false, false, true, false, false},
      {"inside at the bottom end", 2, 399, false, false, true, false, false},
      {"above the strip", 1, 1, true, false, false, true, false},
      {"below the strip", 2, 400, false, true, false, true, false},
      {"EXT inside: everything hidden", 10, 200, false, false, true, false, true},
      {"EXT below: everything hidden", 10, 450, false, true, false, true, true},
      // Above the strip the check ends before the EXT rule, so the CH2
      // indicator stays up.
      {"EXT above: the up indicator stays", 10, -5, true, false, false, true, false},
  };
  for (const auto& c : cases) {
    const trigger_level::OffScreenView v = trigger_level::ArrowOffScreen(c.source, c.top);
    EXPECT_EQ(v.indicatorUp, c.up) << c.name;
    EXPECT_EQ(v.indicatorDown, c.down) << c.name;
    EXPECT_EQ(v.arrowVisible, c.arrow) << c.name;
    EXPECT_EQ(v.hideLine, c.hideLine) << c.name;
    EXPECT_EQ(v.extHidesAll, c.extHidesAll) << c.name;
  }
}

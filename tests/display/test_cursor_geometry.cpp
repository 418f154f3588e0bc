// The arithmetic of the cursors without a window: grab zones, drag limits,
// handles and lines in the three layouts, the sample snap reads, readouts.

#include "display/CursorGeometry.h"

#include <gtest/gtest.h>

using namespace cursor_geometry;
using screen_model::RecordLayout;

TEST(CursorGrabZone, FifteenPixelsBeforeTheLineAndTenAfterBoundsExcluded) {
  struct Case {
    int mouse;
    bool grabs;
  } cases[] = {{85, false}, {86, true}, {100, true}, {109, true}, {110, false}};
  for (const Case& c : cases) EXPECT_EQ(InGrabZone(100, c.mouse), c.grabs) << c.mouse;
}

TEST(CursorLimits, LinesHandlesAndTheViewWindowStopAtTheirEnds) {
  EXPECT_EQ(ClampTimeLineLeft(true, 900), 500);   // X stops at 500
  EXPECT_EQ(ClampTimeLineLeft(false, 900), 503);  // O goes to 503
  EXPECT_EQ(ClampTimeLineLeft(true, -5), 0);
  EXPECT_EQ(ClampTimeLineLeft(false, -5), 0);
  EXPECT_EQ(ClampVoltageLineTop(401), 400);
  EXPECT_EQ(ClampVoltageLineTop(-1), 0);
  EXPECT_EQ(ClampHandleLeft(0), 1);
  EXPECT_EQ(ClampHandleLeft(502), 501);
  EXPECT_EQ(ClampViewMarkerLeft(7), 8);
  EXPECT_EQ(ClampViewMarkerLeft(341), 340);
  EXPECT_EQ(ClampViewMarkerLeft(200), 200);
}

TEST(CursorHandles, HandleToLineAndBackInEachLayout) {
  struct Case {
    const char* name;
    RecordLayout layout;
    int viewStart;  // the view window marker at Left 173
    int handle, line;
  } cases[] = {
      // A handle at 237 puts its line on column 208 of the plot in every
      // layout: where the trigger marker's centre stands for a record
      // triggered at that Left.
      {"standard", RecordLayout::Standard, 503, 237, 210},
      {"3000-sample", RecordLayout::ThreeThousand, 1245, 237, 210},
      {"stretched", RecordLayout::Stretched, 621, 237, 210},
      {"standard, first handle place", RecordLayout::Standard, 503, 1, -498},
      {"standard, last handle place", RecordLayout::Standard, 8, 501, 1497},
      {"stretched, odd handle", RecordLayout::Stretched, 621, 227, 2 * (340 - 621) + 742},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LineLeftFromHandle(c.layout, c.handle, c.viewStart), c.line);
  }
  // A line dragged on the plot takes its handle along.
  EXPECT_EQ(HandleLeftFromLine(RecordLayout::Standard, 210, 503), 237);
  EXPECT_EQ(HandleLeftFromLine(RecordLayout::Standard, 211, 503), 238);
  EXPECT_EQ(HandleLeftFromLine(RecordLayout::ThreeThousand, 210, 1245), 237);
  // Two columns per sample: the divisions on the way back may land one
  // handle pixel short.
  EXPECT_EQ(HandleLeftFromLine(RecordLayout::Stretched, 210, 621), 236);
  EXPECT_EQ(HandleLeftFromLine(RecordLayout::Stretched, 211, 621), 237);
}

TEST(CursorSnap, SampleUnderATimeLineStaysInsideTheRecord) {
  struct Case {
    const char* name;
    RecordLayout layout;
    int viewStart, lineLeft, sample;
  } cases[] = {
      // Standard: Xp + 3 (L - 8) + 5 for the marker at L.
      {"standard, marker at 173", RecordLayout::Standard, 503, 232, 732},
      {"3000-sample", RecordLayout::ThreeThousand, 1245, 232, 1474},
      {"stretched: two columns per sample", RecordLayout::Stretched, 621, 232, 736},
      {"stretched, the next column", RecordLayout::Stretched, 621, 233, 736},
      // A line left of the record's start reads its first sample...
      {"view dragged left with the handle at 1", RecordLayout::Standard, 8, -6, 1},
      {"reset from the end with the handle at 1", RecordLayout::Standard, 503, -999, 1},
      // ...and one past its end its last: 1500, or 3000 in the long record.
      {"standard, O at 503 over the end", RecordLayout::Standard, 1004, 503, 1500},
      {"stretched, held to 1500 as well", RecordLayout::Stretched, 1400, 503, 1500},
      {"3000-sample over the end", RecordLayout::ThreeThousand, 2800, 503, 3000},
      {"3000-sample keeps samples past 1500", RecordLayout::ThreeThousand, 1746, 503, 2246},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SnapSampleIndex(c.layout, c.viewStart, c.lineLeft), c.sample);
  }
}

TEST(CursorReadouts, TimesFromTheTriggerPointAndVoltsFromTheFocusedZero) {
  // Trigger marker at Left 225: its centre, the trigger point, on 232.
  const CursorTimes t = TimesOfLines(232, 240, 225, 50);
  EXPECT_EQ(t.x, 0);
  EXPECT_EQ(t.o, 400);
  EXPECT_EQ(t.between, 400);
  const CursorTimes before = TimesOfLines(220, 200, 225, 100);
  EXPECT_EQ(before.x, -1200);
  EXPECT_EQ(before.o, -3200);
  EXPECT_EQ(before.between, 2000);

  struct Case {
    const char* name;
    bool ch1;
    int vertPos, voltsDiv, aTop, bTop;
    int a, b;
  } cases[] = {
      {"CH1 counts one row more", true, 200, 20, 150, 200, 102, 2},
      {"CH2 on its 0 V row reads 0", false, 200, 20, 150, 200, 100, 0},
      {"below the 0 V row reads negative", false, 200, 20, 250, 200, -100, 0},
      {"divisions truncate toward zero", false, 200, 2, 203, 197, 0, 0},
      {"10 V/div", true, 1, 200, 400, 0, -7960, 40},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CursorVolts v = VoltsOfLines(c.ch1, c.vertPos, c.voltsDiv, c.aTop, c.bTop);
    EXPECT_EQ(v.a, c.a);
    EXPECT_EQ(v.b, c.b);
    EXPECT_EQ(v.delta, c.a - c.b);
  }
}

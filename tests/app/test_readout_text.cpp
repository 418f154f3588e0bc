// The texts of times, voltages and frequencies that the cursor readouts, the
// measurements and the export share.

#include "app/ReadoutText.h"

#include "support/QtPrint.h"

#include <gtest/gtest.h>

#include <limits>

using namespace readout_text;

namespace {
struct Case {
  std::int64_t in;
  const char* out;
};
}  // namespace

TEST(FormatCursorTime, UnitByNumberOfDigitsWithDigitsCutNotRounded) {
  const Case cases[] = {
      {0, "0 us"},
      {250, "250 us"},
      {999, "999 us"},
      {1000, "1.00 ms"},
      {1239, "1.23 ms"},            // cut, not rounded to 1.24
      {12345, "12.34 ms"},
      {123456, "123.4 ms"},
      {1234567, "1.234 s"},
      {12345678, "12.34 s"},
      {123456789, "123456789 us"},  // nine digits stay in microseconds
      {-1234, "-1.23 ms"},
      {-5, "-5 us"},
      {-12345678, "-12.34 s"},
      {std::numeric_limits<std::int64_t>::min(), "-9223372036854775808 us"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(FormatCursorTime(c.in), QString::fromLatin1(c.out));
  }
}

TEST(FormatCursortext, MillivoltsUpToTwoDigitsThenVolts) {
  const Case cases[] = {
      {0, "00 mV"},  // a line on the 0 V row
      {5, "50 mV"},
      {12, "120 mV"},
      {99, "990 mV"},
      {100, "1.00 V"},
      {123, "1.23 V"},
      {1234, "12.34 V"},
      {12345, "123.45 V"},  // hundredths stay hundredths past four digits
      {-5, "-50 mV"},
      {-123, "-1.23 V"},
      {-1234, "-12.34 V"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(FormatCursortext(c.in), QString::fromLatin1(c.out));
  }
}

TEST(FormatCursortext2, BareVoltsWithTwoDecimals) {
  const Case cases[] = {
      {0, "0.00"},    {5, "0.05"},     {12, "0.12"},      {123, "1.23"},
      {1234, "12.34"}, {12345, "123.45"}, {-5, "-0.05"}, {-12, "-0.12"},
      {-123, "-1.23"}, {-1234, "-12.34"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(FormatCursortext2(c.in), QString::fromLatin1(c.out));
  }
}

TEST(FormatFreq, ThreeDigitsOfTheFrequencyOfAPeriod) {
  const Case cases[] = {
      {0, "0 Hz"},
      {400, "2.50 KHz"},
      {300, "3.33 KHz"},
      {8, "125 KHz"},
      {7, "142 KHz"},         // 142857.1...: cut, not rounded
      {3, "333 KHz"},
      {2, "500 KHz"},
      {64, "15.6 KHz"},
      {3000, "333 Hz"},
      {80000, "12.5 Hz"},     // the cut text is shorter than five characters
      {30000, "33.33 Hz"},
      {300000, "3.33 Hz"},
      {3000000, "0.33 Hz"},
      {1, "1.00 MHz"},        // seven integer digits
      // Whole decades read with their digits, whatever the cut left.
      {10, "100 KHz"},
      {100, "10.0 KHz"},
      {1000, "1.00 KHz"},
      {10000, "100 Hz"},
      {100000, "10.00 Hz"},
      {1000000, "1.00 Hz"},
      // No period, no frequency (an incomplete cycle of a measurement).
      {-2, "0 Hz"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(FormatFreq(c.in), QString::fromLatin1(c.out));
  }
}

TEST(FormatFreq, DecimalSeparatorIsTheUsersBelowAHundredHertz) {
  EXPECT_EQ(FormatFreq(30000, QStringLiteral(",")), QStringLiteral("33,33 Hz"));
  EXPECT_EQ(FormatFreq(300000, QStringLiteral(",")), QStringLiteral("3,33 Hz"));
  // The kilohertz texts are built digit by digit with their own point.
  EXPECT_EQ(FormatFreq(400, QStringLiteral(",")), QStringLiteral("2.50 KHz"));
}

TEST(FormatHertz, AFrequencyThatIsNoWholePeriodsReadsLikeOne) {
  struct HertzCase {
    long double hertz;
    const char* out;
  };
  const HertzCase cases[] = {
      {416666.5L, "416 KHz"},  // between 2 us and 3 us: no whole period gives it
      {2500, "2.50 KHz"},
      {37.5L, "37.5 Hz"},
      {0.5L, "0.5 Hz"},
      {1000, "1.00 KHz"},
      {0, "0 Hz"},
      {-3, "0 Hz"},
      {std::numeric_limits<long double>::quiet_NaN(), "0 Hz"},
  };
  for (const HertzCase& c : cases) {
    SCOPED_TRACE(static_cast<double>(c.hertz));
    EXPECT_EQ(FormatHertz(c.hertz), QString::fromLatin1(c.out));
  }
  // FormatFreq is the frequency of the period, to the character.
  for (const std::int64_t period : {1, 3, 7, 64, 400, 80000, 3000000})
    EXPECT_EQ(FormatHertz(1000000.0L / period, QStringLiteral(",")), FormatFreq(period, QStringLiteral(",")));
}

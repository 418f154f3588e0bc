// The identify answer as the panel shows it: revision, version, date.
#include "connection/FirmwareIdentity.h"

#include <gtest/gtest.h>

using namespace connection;

namespace {

struct DateCase {
  const char* name;
  int month;
  int year;
  const char* text;
};

const DateCase kDateCases[] = {
    {"letter C is December, 5 is 2006", 'C', '5', "Dec. 2006"},
    {"first entries", '1', '1', "Jan. 2002"},
    {"digit 9 and letter A", '9', 'A', "Sep. 2011"},
    {"last year", 'B', 'C', "Nov. 2013"},
    {"zero names nothing", '0', '5', "?. 2006"},
    {"D is 13, past the tables", 'D', 'D', "?. ?"},
    {"lower-case c is 44", 'c', '5', "?. 2006"},
    {"@ is 16 by the digit rule", '@', '3', "?. 2004"},
    {"colon is 10 by the digit rule", ':', '5', "Oct. 2006"},
    {"missing bytes", -1, -1, "?. ?"},
    {"the sim's bad-date fault", '0', 'Z', "?. ?"},
};

TEST(FirmwareDate, MonthAndYearFromTheirDigits) {
  for (const DateCase& c : kDateCases)
    EXPECT_EQ(FirmwareDateText(c.month, c.year).toStdString(), c.text) << c.name;
}

TEST(FirmwareDate, DigitCodingAboveAndBelowTheLetters) {
  EXPECT_EQ(DateDigitValue('1'), 1);
  EXPECT_EQ(DateDigitValue('9'), 9);
  EXPECT_EQ(DateDigitValue('A'), 10);
  EXPECT_EQ(DateDigitValue('C'), 12);
  EXPECT_EQ(DateDigitValue('@'), 16);  // 64 is not above 64
  EXPECT_EQ(DateDigitValue(-1), -49);
}

TEST(FirmwareDate, TablesHoldTwelveNamesInOrder) {
  EXPECT_EQ(DateName(MonthNames, 3).toStdString(), "Mar");
  EXPECT_EQ(DateName(YearNames, 12).toStdString(), "2013");
  EXPECT_EQ(DateName(MonthNames, 0).toStdString(), "?");
  EXPECT_EQ(DateName(MonthNames, 13).toStdString(), "?");
}

TEST(Revision, OnlyCapitalCIsRevisionA) {
  const struct {
    int byte;
    const char* text;
  } cases[] = {
      {'C', "Tessaron USB Oscilloscope Rev A"}, {'B', "Tessaron USB Oscilloscope Rev B"},
      {'c', "Tessaron USB Oscilloscope Rev B"}, {-1, "Tessaron USB Oscilloscope Rev B"},
      {'C' + 256, "Tessaron USB Oscilloscope Rev B"},
  };
  for (const auto& c : cases) EXPECT_EQ(RevisionText(c.byte).toStdString(), c.text) << c.byte;
}

TEST(Version, ThreeCharactersJoinedByFullStops) {
  EXPECT_EQ(VersionText('2', '0', '7'), QStringLiteral("2.0.7"));
  EXPECT_EQ(VersionText('S', 'I', 'M'), QStringLiteral("S.I.M"));
  // Nothing read is -1, shown as the character 255.
  EXPECT_EQ(VersionText(-1, '1', -1), QString::fromUtf8("\u00ff.1.\u00ff"));
}

}  // namespace

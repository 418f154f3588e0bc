// Reference waveform files without a window: the plot rows a channel's
// record gives, the 3005 lines, and a file checked whole, with the message
// of its first bad line in line order.

#include "app/Errors.h"
#include "storage/ReferenceFile.h"
#include "storage/TextLines.h"
#include "support/QtPrint.h"

#include <gtest/gtest.h>

#include "support/ErrorOf.h"

#include <functional>
#include <limits>
#include <tuple>

namespace {

using namespace reference_file;

// A reference whose every line differs from its neighbours, with rows off
// both edges of the plot.
Reference SomeReference() {
  Reference r;
  r.timeKnobAngle = 210;
  r.viewStart = 503;
  r.viewEnd = 999;
  for (int k = 0; k < RowCount; ++k) r.rows[std::size_t(k)] = (k * 37) % 900 - 250;
  return r;
}

TEST(ReferenceFile, RowsFollowThePlotsFormulaWithEachDivisionTruncatedTowardZero) {
  struct Case {
    const char* what;
    std::uint8_t sample;
    std::int32_t zeroRow, scale, calOffset;
    std::int32_t row;
  };
  const Case cases[] = {
      {"127 counts lie on the 0 V row", 127, 122, 78, 0, 122},
      {"the lowest code is drawn highest", 0, 122, 78, 0, 23},
      {"the highest code is drawn lowest", 255, 122, 78, 0, 221},
      // 127 x 78 / 100 = 99 and 2 x 78 / 100 = 1 taken apart; taken together,
      // (2 - 127) x 78 / 100 would give 97 rows up instead of 98.
      {"the two divisions are taken apart", 2, 122, 78, 0, 24},
      // (0 - 5) x 78 = -390, / 100 = -3 toward zero (flooring would give -4).
      {"a negative term truncates toward zero", 0, 122, 78, 5, 20},
      {"the calibration shifts the 0 V code", 130, 122, 78, 3, 122},
      {"a row above the plot is negative", 0, 10, 624, 0, -782},
      {"a row below the plot goes past 399", 255, 390, 624, 0, 1189},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Samples samples{};
    samples.fill(c.sample);
    const Rows rows = RowsOf({samples, c.zeroRow, c.scale, c.calOffset});
    EXPECT_EQ(rows[1], c.row);
    EXPECT_EQ(rows[3000], c.row);
  }
}

TEST(ReferenceFile, IndexZeroTakesTheRowOfTheFirstSample) {
  Samples samples{};
  for (int k = 1; k < RowCount; ++k) samples[std::size_t(k)] = std::uint8_t(k % 256);
  const Rows rows = RowsOf({samples, 200, 156, 0});
  EXPECT_EQ(rows[0], rows[1]);
  EXPECT_EQ(rows[1], 200 - 198 + 1);
  EXPECT_EQ(rows[255], 200 - 198 + 397);
}

TEST(ReferenceFile, InputsThatWouldOverflowTheRowsAreRefused) {
  Samples samples{};
  samples.fill(255);
  for (const auto& [zeroRow, scale, offset] : {std::tuple{0, 2'000'000, 0}, std::tuple{0, 78, -2'000'000},
                                               std::tuple{2'000'000'000, 78, 0}}) {
    EXPECT_EQ(ErrorOf([&] { RowsOf({samples, zeroRow, scale, offset}); }),
              QStringLiteral("The channel's position, scale or calibration is out of range; no reference was made"));
  }
}

TEST(ReferenceFile, AReferenceIsItsHeaderThreeNumbersAndThreeThousandAndOneRows) {
  const QStringList lines = Lines(SomeReference());
  ASSERT_EQ(lines.size(), LineCount);
  EXPECT_EQ(lines.mid(0, 6), (QStringList{"Tessaron USB Oscilloscope Referance File", "210", "503", "999", "-250",
                                          "-213"}));
  EXPECT_EQ(lines.back(), QString::number((3000 * 37) % 900 - 250));
  EXPECT_EQ(Parse(lines), SomeReference());
}

TEST(ReferenceFile, AnyLineEndingAndNoneAfterTheLastLineReadTheSame) {
  const QStringList lines = Lines(SomeReference());
  const QString crlf = text_lines::JoinLines(lines);
  QString cr = crlf;
  cr.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
  QString lf = crlf;
  lf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QString mixed = lines.mid(0, 1000).join(u'\r') + u'\n' + lines.mid(1000).join(QStringLiteral("\r\n"));
  const struct {
    const char* what;
    QString text;
  } cases[] = {
      {"CR LF", crlf},
      {"CR alone", cr},
      {"LF alone", lf},
      {"no ending on the last line", crlf.chopped(2)},
      {"mixed endings", mixed},
      {"lines past the last row", crlf + QStringLiteral("trailing words\r\n\r\n")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Parse(text_lines::SplitLines(c.text)), SomeReference());
  }
}

TEST(ReferenceFile, AFirstLineOtherThanTheHeaderIsNoReferenceFile) {
  QStringList good = Lines(SomeReference());
  const struct {
    const char* what;
    QString firstLine;
  } cases[] = {
      {"one letter differs", QStringLiteral("Tessaron USB Oscilloscope Reference File")},
      {"the case differs", QStringLiteral("Tessaron USB Oscilloscope referance File")},
      {"a trailing space", QStringLiteral("Tessaron USB Oscilloscope Referance File ")},
      {"a leading space", QStringLiteral(" Tessaron USB Oscilloscope Referance File")},
      {"a settings file's port line", QStringLiteral("/dev/ttyUSB0")},
      {"an empty first line", QString()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QStringList lines = good;
    lines[0] = c.firstLine;
    EXPECT_EQ(Parse(lines), std::nullopt);
  }
  EXPECT_EQ(Parse({}), std::nullopt) << "an empty file";
}

TEST(ReferenceFile, TheFirstBadLineInLineOrderGivesTheMessage) {
  const QStringList good = Lines(SomeReference());
  auto with = [&good](int line, const char* text) {
    QStringList l = good;
    l[line - 1] = QLatin1String(text);
    return l;
  };
  const struct {
    const char* what;
    QStringList lines;
    const char* message;
  } cases[] = {
      {"only the header", good.mid(0, 1), "List index out of bounds (1)"},
      {"the last row missing", good.mid(0, LineCount - 1), "List index out of bounds (3004)"},
      {"the rows missing", good.mid(0, 4), "List index out of bounds (4)"},
      {"a word for the angle", with(2, "fast"), "'fast' is not a valid integer value"},
      {"a decimal for the view start", with(3, "503.5"), "'503.5' is not a valid integer value"},
      {"a blank before the view end", with(4, " 999"), "' 999' is not a valid integer value"},
      {"an empty row of index 0", with(5, ""), "'' is not a valid integer value"},
      {"a word in the last row", with(LineCount, "end"), "'end' is not a valid integer value"},
      {"a row past 32 bits", with(1000, "2147483648"), "'2147483648' is not a valid integer value"},
      {"a bad row before a missing one", with(6, "x").mid(0, 100), "'x' is not a valid integer value"},
      {"an angle past the knob", with(2, "360"),
       "Line 2 of the reference file holds 360, which the time base knob cannot show; nothing was loaded"},
      {"a negative angle", with(2, "-1"),
       "Line 2 of the reference file holds -1, which the time base knob cannot show; nothing was loaded"},
      // Integers are all read before the angle's range is checked.
      {"a word after a bad angle", with(2, "400").replaceInStrings(QStringLiteral("-213"), QStringLiteral("y")),
       "'y' is not a valid integer value"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ErrorOf([&] { Parse(c.lines); }), QLatin1String(c.message));
  }
  // The ends of the knob and any row are taken as they stand.
  EXPECT_EQ(Parse(with(2, "0"))->timeKnobAngle, 0);
  EXPECT_EQ(Parse(with(2, "359"))->timeKnobAngle, 359);
  EXPECT_EQ(Parse(with(5, "-2147483648"))->rows[0], std::numeric_limits<std::int32_t>::min());
}

}  // namespace

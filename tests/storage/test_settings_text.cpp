// The store's text byte for byte, without a file: what a line parses to, the
// exact bytes a set of values is written as, and that whatever is written
// reads back as it was.

#include "storage/SettingsText.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using namespace settings_text;

Values Of(std::initializer_list<Entry> entries) {
  Values values;
  for (const Entry& e : entries) values.emplace(Folded(e.name), e);
  return values;
}

TEST(SettingsText, LinesParseToTypedValues) {
  struct Case {
    const char* what;
    QByteArray bytes;
    Values values;
  };
  const Case cases[] = {
      {"empty file", "", {}},
      {"comments and blank lines only", "# a\n\n  \t\r\n#b", {}},
      {"an integer and a text", "Angle=int:138\nCOMPORT=str:/dev/ttyUSB0\n",
       Of({{"Angle", 138}, {"COMPORT", QStringLiteral("/dev/ttyUSB0")}})},
      {"CR LF line ends and no end on the last line", "A=int:-1\r\nB=str:x\r\nC=int:0",
       Of({{"A", -1}, {"B", QStringLiteral("x")}, {"C", 0}})},
      {"the 32-bit ends", "Lo=int:-2147483648\nHi=int:2147483647\n",
       Of({{"Lo", std::numeric_limits<std::int32_t>::min()}, {"Hi", std::numeric_limits<std::int32_t>::max()}})},
      {"escapes in a name and a text", "\\#a\\=b\\\\=str:1\\n2\\r3\\\\\n",
       Of({{"#a=b\\", QStringLiteral("1\n2\r3\\")}})},
      {"an empty name and an empty text", "=str:\n", Of({{"", QString()}})},
      {"a text keeps its blanks, '=' and '#'", "T=str: a=b #c \n", Of({{"T", QStringLiteral(" a=b #c ")}})},
      {"UTF-8", "U=str:\xc2\xb5s \xce\xa9\n", Of({{"U", QStringLiteral("\u00b5s \u03a9")}})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::optional<Values> parsed = Parse(c.bytes);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(*parsed, c.values);
  }
}

TEST(SettingsText, DamagedTextIsRefusedWhole) {
  const QByteArray damaged[] = {
      "Angle=int:138\nrubbish\n",      // a line that is not a value
      "Angle=float:1.5\n",             // an unknown type
      "Angle=int:12abc\n",             // a number with letters
      "Angle=int: 12\n",               // a blank before the number
      "Angle=int:2147483648\n",        // past 32 bits
      "Angle=int:-2147483649\n",       // past 32 bits below
      "Angle=int:-\n",                 // a sign alone
      "Name=str:C:\\temp\n",           // an unknown escape
      "Name=str:end\\\n",              // an escape cut by the line end
      "Angle=int:1\nANGLE=int:2\n",    // the same name twice, whatever its case
      "Name=str:\xff\xfe\n",           // not UTF-8
      "Name\n",                        // a name without "="
  };
  for (const QByteArray& bytes : damaged) {
    SCOPED_TRACE(bytes.toStdString());
    EXPECT_FALSE(Parse(bytes).has_value());
  }
}

TEST(SettingsText, FormatWritesTheHeaderThenOneLinePerValueInNameOrder) {
  Values values;
  Set(values, QStringLiteral("TrigPos"), 251);
  Set(values, QStringLiteral("Angle"), -138);
  Set(values, QStringLiteral("DISPLAYBACKGROUND"), QStringLiteral("Grafics\\Grid2.bmp"));
  Set(values, QStringLiteral("#x=y"), QStringLiteral("a#b=c\nd"));
  EXPECT_EQ(Format(QStringLiteral("\\Software\\T\\"), values),
            QByteArray("# Tessaron USB Oscilloscope settings, key \\\\Software\\\\T\\\\\n"
                       "# One value per line: name=int:<number> or name=str:<text>, where \\\\, \\n and \\r\n"
                       "# stand for a backslash, a line feed and a carriage return.\n"
                       "\\#x\\=y=str:a#b=c\\nd\n"
                       "Angle=int:-138\n"
                       "DISPLAYBACKGROUND=str:Grafics\\\\Grid2.bmp\n"
                       "TrigPos=int:251\n"));
}

TEST(SettingsText, SetKeepsTheFirstSpellingAndTellsWhetherAnythingChanged) {
  Values values;
  EXPECT_TRUE(Set(values, QStringLiteral("CH1On"), 1));
  EXPECT_FALSE(Set(values, QStringLiteral("ch1on"), 1));
  EXPECT_TRUE(Set(values, QStringLiteral("CH1ON"), 0));
  EXPECT_TRUE(Set(values, QStringLiteral("ch1on"), QStringLiteral("0")));  // another type is another value
  EXPECT_EQ(values, Of({{"CH1On", QStringLiteral("0")}}));
}

TEST(SettingsText, WhatIsFormattedParsesBackTheSame) {
  Values values;
  const QString awkward[] = {QString(),
                             QStringLiteral("\\"),
                             QStringLiteral("\\n is not a line feed"),
                             QStringLiteral("two\nlines\r\nand a CR\r"),
                             QStringLiteral("=str:int:5 # not a comment"),
                             QStringLiteral("#leading hash"),
                             QString(QChar(0)) + QStringLiteral("after a NUL"),
                             QStringLiteral("  blanks  ")};
  int i = 0;
  for (const QString& text : awkward) {
    Set(values, text.isEmpty() ? QStringLiteral("empty") : text, ++i);
    Set(values, QStringLiteral("S%1").arg(i), text);
  }
  const std::optional<Values> back = Parse(Format(QStringLiteral("k\nk"), values));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, values);
}

}  // namespace

// The data export's lines without a window: the voltage of a sample on each
// range, the time column of each layout, which samples and which channel a
// record exports, and the date line in the user's locale without a zone.

#include "storage/ExportFile.h"

#include "support/QtPrint.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using namespace export_file;
using Samples = std::array<std::uint8_t, 3001>;

// A record of flat 0 V samples (126) in both buffers, at 1 ms/div.
struct RecordFixture {
  Samples ch1;
  Samples ch2;
  RecordFixture() {
    ch1.fill(126);
    ch2.fill(126);
  }
  Record Make(bool threeThousand = false, int channel = 1) const {
    return Record{.ch1Samples = ch1,
                  .ch2Samples = ch2,
                  .threeThousand = threeThousand,
                  .recordChannel = channel,
                  .ch1HighRange = false,
                  .ch2HighRange = false,
                  .usPerColumn = 20,
                  .columnStep = 1,
                  .sampleRateText = QStringLiteral("50KS/s")};
  }
};

constexpr int HeaderLines = 5;

QStringList DataLines(const Record& record) { return Lines(record, QStringLiteral("the date")).mid(HeaderLines); }

TEST(ExportFile, TheHeaderLines) {
  RecordFixture f;
  Record record = f.Make();
  record.sampleRateText = QStringLiteral("500KS/s");
  const QStringList lines = Lines(record, QStringLiteral("07.03.26 14:05:09"));
  EXPECT_EQ(lines.mid(0, HeaderLines), (QStringList{"Tessaron USB Oscilloscope", "Sample Rate: 500KS/s",
                                                    "07.03.26 14:05:09", "", "Time us, CH1 V, CH2 V"}));
}

TEST(ExportFile, AnAveragedTraceSaysHowManyRecordsAfterTheDateAndNothingElseMoves) {
  RecordFixture f;
  f.ch1[1] = 100;
  Record record = f.Make();
  const QStringList asItCame = Lines(record, QStringLiteral("the date"));
  record.averaged = 16;
  const QStringList averaged = Lines(record, QStringLiteral("the date"));
  EXPECT_EQ(averaged.mid(0, HeaderLines + 1), (QStringList{"Tessaron USB Oscilloscope", "Sample Rate: 50KS/s",
                                                           "the date", "Average of 16 records", "",
                                                           "Time us, CH1 V, CH2 V"}));
  EXPECT_EQ(averaged.mid(HeaderLines + 1), asItCame.mid(HeaderLines));
  EXPECT_EQ(asItCame.size(), HeaderLines + 1500);
}

TEST(ExportFile, ASampleReadsAsVoltsWithTheRangeOfItsChannel) {
  struct Case {
    const char* what;
    std::uint8_t sample;
    bool highRange;
    const char* volts;
  };
  const Case cases[] = {
      {"the zero code on the low range", 126, false, "0.00"},
      {"the zero code on the high range", 126, true, "0.00"},
      {"one count below zero on the low range truncates toward zero", 127, false, "-0.01"},
      {"one count above zero on the high range", 125, true, "0.07"},
      {"the lowest code on the high range", 0, true, "9.87"},
      {"the highest code on the high range", 255, true, "-10.11"},
      {"the lowest code on the low range", 0, false, "1.96"},
      {"the highest code on the low range", 255, false, "-2.01"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // The same sample on both channels, each read with its own range; the
    // other channel's range must not leak into it.
    RecordFixture f;
    f.ch1[1] = c.sample;
    f.ch2[1] = c.sample;
    Record record = f.Make();
    record.ch1HighRange = c.highRange;
    record.ch2HighRange = !c.highRange;
    const QStringList columns = DataLines(record).front().split(u',');
    ASSERT_EQ(columns.size(), 3);
    EXPECT_EQ(columns[1], QLatin1String(c.volts));
    record.ch1HighRange = !c.highRange;
    record.ch2HighRange = c.highRange;
    EXPECT_EQ(DataLines(record).front().split(u',')[2], QLatin1String(c.volts));
  }
}

TEST(ExportFile, ATwoChannelRecordGivesFifteenHundredLinesOfThreeColumns) {
  RecordFixture f;
  // The first and last exported samples, and the ones just outside.
  f.ch1[1] = 0;
  f.ch2[1] = 255;
  f.ch1[1500] = 125;
  f.ch1[1501] = 0;
  Record record = f.Make();
  record.ch1HighRange = record.ch2HighRange = true;
  const QStringList data = DataLines(record);
  ASSERT_EQ(data.size(), 1500);
  for (int r = 1; r <= 1500; ++r) {
    const QStringList columns = data[r - 1].split(u',');
    ASSERT_EQ(columns.size(), 3) << r;
    // 1 ms/div: 20 us a column and a sample; the first line is one period.
    ASSERT_EQ(columns[0], QString::number(20 * r)) << r;
  }
  EXPECT_EQ(data.front(), QStringLiteral("20,9.87,-10.11"));
  EXPECT_EQ(data[1], QStringLiteral("40,0.00,0.00"));
  EXPECT_EQ(data.back(), QStringLiteral("30000,0.07,0.00"));
  EXPECT_FALSE(data.join(QString()).contains(u' '));
}

TEST(ExportFile, AStretchedRecordStepsByTheTimeOfASampleNotOfAColumn) {
  RecordFixture f;
  Record record = f.Make();
  record.usPerColumn = 1;  // 50 us/div
  record.columnStep = 2;   // both channels at 500 KS/s: a sample every 2 us
  const QStringList data = DataLines(record);
  ASSERT_EQ(data.size(), 1500);
  EXPECT_EQ(data.front(), QStringLiteral("2,0.00,0.00"));
  EXPECT_EQ(data[1], QStringLiteral("4,0.00,0.00"));
  EXPECT_EQ(data.back(), QStringLiteral("3000,0.00,0.00"));
}

TEST(ExportFile, AThreeThousandSampleRecordExportsTheMiddleOfItsOwnChannel) {
  struct Case {
    const char* what;
    int channel;
  };
  for (const Case c : {Case{"CH1's record", 1}, Case{"CH2's record", 2}}) {
    SCOPED_TRACE(c.what);
    RecordFixture f;
    Samples& own = c.channel == 1 ? f.ch1 : f.ch2;
    Samples& other = c.channel == 1 ? f.ch2 : f.ch1;
    own[745] = 0;  // just outside the exported samples
    own[746] = 125;
    own[2250] = 127;
    own[2251] = 0;
    other.fill(0);  // the other buffer holds an older record
    Record record = f.Make(true, c.channel);
    record.usPerColumn = 1;  // 50 us/div at 1 MS/s
    // The record's channel is read with its own range: high for CH1, low for CH2.
    record.ch1HighRange = true;
    record.ch2HighRange = false;
    const QStringList lines = Lines(record, QString());
    EXPECT_EQ(lines[4], QStringLiteral("Time us, CH1 V, CH2 V"));
    const QStringList data = lines.mid(HeaderLines);
    ASSERT_EQ(data.size(), 1505);
    for (int r = 1; r <= 1505; ++r) {
      const QStringList columns = data[r - 1].split(u',');
      ASSERT_EQ(columns.size(), 2) << r;
      ASSERT_EQ(columns[0], QString::number(r)) << r;
    }
    EXPECT_EQ(data.front(), c.channel == 1 ? QStringLiteral("1,0.07") : QStringLiteral("1,0.01"));
    EXPECT_EQ(data[1], QStringLiteral("2,0.00"));
    EXPECT_EQ(data.back(), c.channel == 1 ? QStringLiteral("1505,-0.07") : QStringLiteral("1505,-0.01"));
  }
}

TEST(ExportFile, TheZoneLeavesTheLongTimeFormatAndQuotedTextStays) {
  struct Case {
    const char* what;
    const char* format;
    const char* without;
  };
  const Case cases[] = {
      {"after the time", "h:mm:ss AP t", "h:mm:ss AP"},
      {"the long zone name", "HH:mm:ss tttt", "HH:mm:ss"},
      {"before the time", "t HH:mm:ss", "HH:mm:ss"},
      {"in round brackets", "H:mm:ss (t)", "H:mm:ss"},
      {"in square brackets", "Bh:mm:ss [t]", "Bh:mm:ss"},
      {"after quoted text", "H:mm:ss 'ch'. t", "H:mm:ss 'ch'."},
      {"a t inside quotes is text", "HH:mm 'at the bench' t", "HH:mm 'at the bench'"},
      {"an escaped quote inside quotes", "h 'o''clock' t", "h 'o''clock'"},
      {"an escaped quote outside quotes", "t''HH", "''HH"},
      {"no zone at all", "HH:mm:ss", "HH:mm:ss"},
      {"an unclosed quote", "HH 't", "HH 't"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(TimeFormatWithoutZone(QString::fromUtf8(c.format)), QString::fromUtf8(c.without));
  }
}

TEST(ExportFile, TheDateLineInTheUsersLocaleWithoutAZone) {
  struct Case {
    const char* what;
    const char* locale;
    QTime time;
    const char* line;
  };
  const QDate day(2026, 3, 7);
  const Case cases[] = {
      {"US English", "en_US", QTime(14, 5, 9), "3/7/26 2:05:09 PM"},
      {"German", "de_DE", QTime(14, 5, 9), "07.03.26 14:05:09"},
      {"Spanish, whose zone is in brackets", "es_ES", QTime(14, 5, 9), "7/3/26 14:05:09"},
      {"Chinese, whose zone comes first", "zh_CN", QTime(14, 5, 9), "2026/3/7 14:05:09"},
      {"midnight: the date alone", "en_US", QTime(0, 0, 0), "3/7/26"},
      {"midnight in German", "de_DE", QTime(0, 0, 0), "07.03.26"},
      {"milliseconds do not count", "de_DE", QTime(0, 0, 0, 999), "07.03.26"},
      {"one second past midnight", "en_US", QTime(0, 0, 1), "3/7/26 12:00:01 AM"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(DateLine(QDateTime(day, c.time), QLocale(QLatin1String(c.locale))), QString::fromUtf8(c.line));
  }
}

}  // namespace

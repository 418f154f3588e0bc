// The record history and record files: records kept to step back through,
// which channels a frame shows of one, and files that open again into the
// same records, or are refused whole with a message naming the line.
#include <gtest/gtest.h>

#include "app/Errors.h"
#include "core/PanelSettings.h"
#include "core/Record.h"
#include "core/RecordFile.h"
#include "core/RecordHistory.h"
#include "core/RecordSamples.h"
#include "core/RecordView.h"
#include "storage/TextLines.h"
#include "support/ErrorOf.h"
#include "support/QtPrint.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <array>
#include <cstdio>
#include <functional>

namespace {

using core::Record;
using core::RecordHistory;
using record_file::Contents;
using record_file::SavedRecord;
using record_file::ZeroRows;

enum class Shape { TwoChannel, CH1Alone, CH2Alone, Stretched };

// A record as the link makes one for a panel: its description from the
// panel, its own samples a pattern that differs with `seed` and covers every
// code.
Record MakeRecord(Shape shape, int seed) {
  core::PanelSettings panel;
  panel.SetChannelOn(1, shape != Shape::CH2Alone);
  panel.SetChannelOn(2, shape != Shape::CH1Alone);
  panel.SetVoltsRow(1, seed % 7);
  panel.SetVoltsRow(2, (seed + 3) % 7);
  panel.SetCalibration(1, -2, 3);
  panel.SetCalibration(2, 4, -1);
  panel.SetTimeBase(shape == Shape::TwoChannel ? 3 + seed % 13 : 2);
  Record r = core::DescribeRecord(panel);
  r.sampleRateText = shape == Shape::CH1Alone || shape == Shape::CH2Alone ? QStringLiteral("1M/s")
                                                                           : QStringLiteral("500KS/s");
  for (int channel = 1; channel <= 2; ++channel) {
    const core::SampleSpan own = core::OwnSamples(r, channel);
    auto& buffer = channel == 1 ? r.ch1 : r.ch2;
    for (int k = own.first; k <= own.last; ++k)
      buffer[std::size_t(k)] = std::uint8_t((k * 7 + seed * 13 + channel) % 256);
  }
  r.samplesReceived = seed % 5 == 4 ? 2999 : 3000;
  r.received = QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9, 123)).addSecs(seed * 3);
  r.sequence = std::uint64_t(seed);
  return r;
}

const ZeroRows Zero{137, 263};

QString TextOf(const QStringList& lines) { return text_lines::JoinLines(lines); }

// ---- The history ----

TEST(RecordHistory, AnEmptyHistoryShowsNothingAndStepsNowhere) {
  RecordHistory h;
  EXPECT_EQ(h.Capacity(), 100);
  EXPECT_TRUE(h.Empty());
  EXPECT_EQ(h.ShownNumber(), 0);
  EXPECT_EQ(h.PositionText(), QString());
  EXPECT_FALSE(h.Previous());
  EXPECT_FALSE(h.Next());
  EXPECT_FALSE(h.Latest());
  EXPECT_EQ(ErrorOf([&] { h.Shown(); }), "The record history is empty: no record has been received yet");
  EXPECT_EQ(ErrorOf([&] { h.At(1); }), "List index out of bounds (0)");
}

TEST(RecordHistory, ThePreviousAndNextRecordsStopAtTheEndsAndANewRecordIsShown) {
  RecordHistory h;
  for (int seed = 1; seed <= 5; ++seed) h.Add(MakeRecord(Shape::TwoChannel, seed));
  EXPECT_EQ(h.PositionText(), "Record 5 of 5");
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(h.Previous());
  EXPECT_EQ(h.Shown().sequence, 1u);
  EXPECT_EQ(h.Shown(), MakeRecord(Shape::TwoChannel, 1)) << "the first record as it was received";
  EXPECT_FALSE(h.Previous()) << "nothing before the oldest";
  EXPECT_EQ(h.PositionText(), "Record 1 of 5");
  EXPECT_TRUE(h.Next());
  EXPECT_EQ(h.ShownNumber(), 2);
  EXPECT_TRUE(h.Latest());
  EXPECT_EQ(h.Shown().sequence, 5u);
  EXPECT_FALSE(h.Next()) << "nothing after the latest";
  EXPECT_FALSE(h.Latest());

  h.Previous();
  h.Previous();
  h.Add(MakeRecord(Shape::CH1Alone, 6));
  EXPECT_TRUE(h.ShowingLatest()) << "a new record is shown even while an older one was";
  EXPECT_EQ(h.PositionText(), "Record 6 of 6");
  EXPECT_EQ(h.At(6).layout, screen_model::RecordLayout::ThreeThousand) << "each record keeps its own layout";
  EXPECT_EQ(h.At(5).layout, screen_model::RecordLayout::Standard);
}

TEST(RecordHistory, AFullHistoryDropsItsOldest) {
  RecordHistory h(RecordHistory::MinCapacity);
  for (int seed = 1; seed <= 12; ++seed) h.Add(MakeRecord(Shape::Stretched, seed));
  EXPECT_EQ(h.Size(), 10);
  EXPECT_EQ(h.At(1).sequence, 3u);
  EXPECT_EQ(h.At(10).sequence, 12u);
  EXPECT_EQ(h.PositionText(), "Record 10 of 10");
}

TEST(RecordHistory, ASmallerCapacityKeepsTheRecordShownOrShowsTheOldestKept) {
  RecordHistory h(1000);
  for (int seed = 1; seed <= 30; ++seed) h.Add(MakeRecord(Shape::TwoChannel, seed));
  while (h.Shown().sequence != 25) h.Previous();
  h.SetCapacity(10);
  EXPECT_EQ(h.Size(), 10);
  EXPECT_EQ(h.Shown().sequence, 25u) << "the record shown was kept";
  EXPECT_EQ(h.PositionText(), "Record 5 of 10");

  while (h.Previous()) {
  }
  EXPECT_EQ(h.Shown().sequence, 21u) << "the oldest kept";
  RecordHistory bigger(20);
  for (int seed = 1; seed <= 20; ++seed) bigger.Add(MakeRecord(Shape::TwoChannel, seed));
  while (bigger.Previous()) {
  }
  bigger.SetCapacity(10);
  EXPECT_EQ(bigger.Shown().sequence, 11u) << "the record shown was dropped: the oldest kept is shown";
  EXPECT_EQ(bigger.ShownNumber(), 1);
}

TEST(RecordHistory, ACapacityOutside10To1000IsRefusedAndChangesNothing) {
  RecordHistory h;
  h.Add(MakeRecord(Shape::TwoChannel, 1));
  for (const int capacity : {9, 1001, 0, -5}) {
    EXPECT_EQ(ErrorOf([&] { h.SetCapacity(capacity); }),
              QStringLiteral("The record history holds 10 to 1000 records, not %1").arg(capacity));
    EXPECT_EQ(ErrorOf([&] { RecordHistory refused(capacity); }),
              QStringLiteral("The record history holds 10 to 1000 records, not %1").arg(capacity));
  }
  EXPECT_EQ(h.Capacity(), 100);
  EXPECT_EQ(h.Size(), 1);
  h.SetCapacity(1000);
  EXPECT_EQ(h.Capacity(), 1000);
}

TEST(RecordHistory, ClearForgetsEveryRecord) {
  RecordHistory h;
  for (int seed = 1; seed <= 3; ++seed) h.Add(MakeRecord(Shape::TwoChannel, seed));
  h.Clear();
  EXPECT_TRUE(h.Empty());
  EXPECT_EQ(h.ShownNumber(), 0);
  EXPECT_FALSE(h.Previous());
  h.Add(MakeRecord(Shape::TwoChannel, 4));
  EXPECT_EQ(h.PositionText(), "Record 1 of 1");
}

TEST(RecordHistory, ARecordKeepsOnlyItsOwnSamplesNotTheLeftoversOfAnEarlierOne) {
  for (const Shape shape : {Shape::TwoChannel, Shape::CH1Alone, Shape::CH2Alone}) {
    Record r = MakeRecord(shape, 3);
    Record leftovers = r;
    leftovers.ch1.fill(200);
    leftovers.ch2.fill(201);
    for (int channel = 1; channel <= 2; ++channel) {
      const core::SampleSpan own = core::OwnSamples(r, channel);
      for (int k = own.first; k <= own.last; ++k)
        (channel == 1 ? leftovers.ch1 : leftovers.ch2)[std::size_t(k)] = r.Samples(channel)[std::size_t(k)];
    }
    RecordHistory h;
    h.Add(leftovers);
    EXPECT_EQ(h.Shown(), r) << "shape " << int(shape);
  }
}

TEST(RecordHistory, AThousandRecordsCostUnder10MB) {
  // What a held record costs: its value (two 3001-byte buffers and the
  // description) and the allocator's block for it. The sample-rate text is
  // shared with the panel's caption, not copied.
  const std::size_t perRecord = sizeof(Record) + 64;
  const std::size_t thousand = perRecord * RecordHistory::MaxCapacity;
  std::printf("sizeof(core::Record) = %zu bytes; 1000 records about %zu bytes\n", sizeof(Record), thousand);
  EXPECT_LT(thousand, std::size_t(10) * 1000 * 1000);
}

// ---- The channels a frame shows ----

TEST(RecordView, APanelRecordFollowsTheKeysAndAKeptOneItsOwnChannels) {
  const Record both = MakeRecord(Shape::TwoChannel, 1);
  Record ch2Off = both;
  ch2Off.channels[1].on = false;
  const Record ch1Alone = MakeRecord(Shape::CH1Alone, 1);
  const Record ch2Alone = MakeRecord(Shape::CH2Alone, 1);
  using core::ChannelSource;
  using core::FrameChannels;
  struct Case {
    const char* name;
    ChannelSource source;
    const Record& record;
    std::array<bool, 2> keys;
    int focused;
    FrameChannels frame;
  };
  const Case cases[] = {
      {"the panel's record: the keys, whatever it was captured with", ChannelSource::PanelKeys, both,
       {true, false}, 1, {{true, false}, 1}},
      {"the panel's record: the focused channel read even when it is off", ChannelSource::PanelKeys, ch1Alone,
       {true, false}, 2, {{true, false}, 2}},
      {"kept, both channels, the keys now CH2 alone", ChannelSource::Record, both, {false, true}, 2,
       {{true, true}, 2}},
      {"kept, CH2 off at capture, the keys now both: CH2 hidden, its samples still read", ChannelSource::Record, ch2Off, {true, true}, 2,
       {{true, false}, 2}},
      {"kept 3000 samples of CH1, the knob on CH2: CH1 read", ChannelSource::Record, ch1Alone, {false, true}, 2,
       {{true, false}, 1}},
      {"kept 3000 samples of CH2, the knob on CH1: CH2 read", ChannelSource::Record, ch2Alone, {true, false}, 1,
       {{false, true}, 2}},
      {"kept 3000 samples of CH2, the knob on CH2", ChannelSource::Record, ch2Alone, {true, true}, 2,
       {{false, true}, 2}},
  };
  for (const Case& c : cases) {
    const FrameChannels frame = core::ChannelsOfFrame(c.source, c.record, c.keys, c.focused);
    EXPECT_EQ(frame.shown, c.frame.shown) << c.name;
    EXPECT_EQ(frame.read, c.frame.read) << c.name;
  }
  EXPECT_TRUE(core::HoldsChannel(ch2Off, 2));
  EXPECT_FALSE(core::HoldsChannel(ch1Alone, 2));
  EXPECT_FALSE(core::HoldsChannel(ch2Alone, 1));
}

// ---- Record files ----

struct ShapeCase {
  const char* name;
  Shape shape;
  screen_model::RecordLayout layout;
  const char* columns;
  int dataLines;
};
constexpr const char* BothChannels = "Sample,CH1 code,CH1 V,CH2 code,CH2 V";
const ShapeCase Shapes[] = {
    {"two-channel", Shape::TwoChannel, screen_model::RecordLayout::Standard, BothChannels, 1500},
    {"3000 samples of CH1", Shape::CH1Alone, screen_model::RecordLayout::ThreeThousand, "Sample,CH1 code,CH1 V", 3000},
    {"3000 samples of CH2", Shape::CH2Alone, screen_model::RecordLayout::ThreeThousand, "Sample,CH2 code,CH2 V", 3000},
    {"stretched 50 us/div", Shape::Stretched, screen_model::RecordLayout::Stretched, BothChannels, 1500},
};

TEST(RecordFile, EveryLayoutWrittenAndReadIsTheSameRecordAndZeroRows) {
  QTemporaryDir dir;
  for (const ShapeCase& c : Shapes) {
    SCOPED_TRACE(c.name);
    const Record r = MakeRecord(c.shape, 4);
    ASSERT_EQ(r.layout, c.layout);
    const QString path = dir.filePath(QStringLiteral("record.csv"));
    record_file::WriteRecord(path, r, Zero);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n')) << "every line ends in CR LF";
    const QStringList lines = text_lines::SplitLines(QString::fromLatin1(bytes));
    EXPECT_EQ(lines.size(), 19 + c.dataLines);
    EXPECT_EQ(lines[18], c.columns);

    const Contents read = record_file::Read(path);
    EXPECT_EQ(read.kind, record_file::Kind::Record);
    ASSERT_EQ(read.records.size(), 1u);
    EXPECT_EQ(read.records[0], (SavedRecord{r, Zero}));
  }
}

TEST(RecordFile, TheTableHoldsTheDescriptionAndTheExportsVolts) {
  Record r = MakeRecord(Shape::CH2Alone, 1);
  r.channels[1].highRange = true;
  r.channels[1].scale = 78;  // 5 V/div
  r.ch2[1] = 0;
  r.ch2[2] = 126;
  r.ch2[3] = 255;
  r.received = QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9, 123), Qt::OffsetFromUTC, 3600);
  const QStringList lines = record_file::RecordLines(r, Zero);
  const QStringList head = lines.mid(0, 22);
  EXPECT_EQ(head, (QStringList{
                      "Tessaron USB Oscilloscope Record",
                      "Received,2026-03-07T14:05:09.123+01:00",
                      "Sequence,1",
                      "Layout,3000-sample",
                      "Time/div,50us/DIV",
                      "Sample period us,1",
                      "Sample rate,1M/s",
                      "1 MS/s,1",
                      "Record channel,CH2",
                      "Samples received,3000",
                      "Channel,CH1,CH2",
                      "On,0,1",
                      "Range,low,high",
                      "Volts/div,200mV/DIV,5V/DIV",
                      "Scale,312,78",
                      "0 V row,137,263",
                      "Calibration offset,-2,-1",
                      "",
                      "Sample,CH2 code,CH2 V",
                      "1,0,9.87",
                      "2,126,0.00",
                      "3,255,-10.11",
                  }));
  EXPECT_EQ(lines.size(), 19 + 3000);
  EXPECT_TRUE(lines.back().startsWith(QStringLiteral("3000,%1,").arg(r.ch2[3000])));
}

TEST(RecordFile, AnAveragedTraceAddsOneRowAfterItsDescriptionAndReadsBackWithIt) {
  QTemporaryDir dir;
  for (const ShapeCase& c : Shapes) {
    SCOPED_TRACE(c.name);
    Record r = MakeRecord(c.shape, 5);
    const QStringList asItCame = record_file::RecordLines(r, Zero);
    r.averaged = 64;
    QStringList averaged = record_file::RecordLines(r, Zero);
    ASSERT_EQ(averaged.size(), asItCame.size() + 1);
    EXPECT_EQ(averaged[17], QStringLiteral("Averaged records,64"));
    averaged.removeAt(17);
    EXPECT_EQ(averaged, asItCame);

    const QString path = dir.filePath(QStringLiteral("averaged.csv"));
    record_file::WriteRecord(path, r, Zero);
    const Contents read = record_file::Read(path);
    ASSERT_EQ(read.records.size(), 1u);
    EXPECT_EQ(read.records[0], (SavedRecord{r, Zero}));
  }
  // In a history, each averaged record keeps its own count.
  RecordHistory h;
  Record first = MakeRecord(Shape::TwoChannel, 1), second = MakeRecord(Shape::Stretched, 2);
  first.averaged = 4;
  h.Add(first);
  h.Add(second);
  const QString path = dir.filePath(QStringLiteral("history.csv"));
  record_file::WriteHistory(path, h, Zero);
  const Contents read = record_file::Read(path);
  ASSERT_EQ(read.records.size(), 2u);
  EXPECT_EQ(read.records[0].record.averaged, 4);
  EXPECT_EQ(read.records[1].record.averaged, 1);
}

TEST(RecordFile, AHistoryOfAHundredRecordsOpensAsTheSameHundred) {
  RecordHistory h;
  const Shape cycle[] = {Shape::TwoChannel, Shape::CH1Alone, Shape::CH2Alone, Shape::Stretched};
  for (int seed = 1; seed <= 130; ++seed) h.Add(MakeRecord(cycle[seed % 4], seed));
  ASSERT_EQ(h.Size(), 100);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("history.csv"));
  record_file::WriteHistory(path, h, Zero);
  const Contents read = record_file::Read(path);
  EXPECT_EQ(read.kind, record_file::Kind::History);
  ASSERT_EQ(read.records.size(), 100u);
  for (int n = 1; n <= 100; ++n) EXPECT_EQ(read.records[std::size_t(n - 1)], (SavedRecord{h.At(n), Zero})) << n;
}

TEST(RecordFile, ARecordNeverReceivedAndOneFromAnotherTimeZoneReadBackAsTheSame) {
  Record r = MakeRecord(Shape::TwoChannel, 2);
  r.received = QDateTime();
  EXPECT_EQ(record_file::Parse(TextOf(record_file::RecordLines(r, Zero))).records[0].record, r);
  r.received = QDateTime(QDate(2026, 7, 1), QTime(23, 59, 59, 999), Qt::OffsetFromUTC, -5 * 3600);
  const Record read = record_file::Parse(TextOf(record_file::RecordLines(r, Zero))).records[0].record;
  EXPECT_EQ(read.received.toMSecsSinceEpoch(), r.received.toMSecsSinceEpoch());
  EXPECT_EQ(read.received.timeSpec(), Qt::LocalTime) << "read back as local time, as a received record has it";
}

// A bad record file: made from a good one by `damage`, refused with `message`.
struct BadFile {
  const char* name;
  Shape shape;
  bool history;
  std::function<void(QStringList&)> damage;
  const char* message;
};

QStringList GoodLines(Shape shape, bool history) {
  const Record r = MakeRecord(shape, 3);
  if (!history) return record_file::RecordLines(r, Zero);
  QStringList lines = record_file::HistoryHeadLines(2);
  lines << record_file::HistoryRecordLines(r, Zero, 1)
        << record_file::HistoryRecordLines(MakeRecord(shape, 4), Zero, 2);
  return lines;
}

// Line n (from 1) of a file.
std::function<void(QStringList&)> Replace(int line, const QString& text) {
  return [line, text](QStringList& lines) { lines[line - 1] = text; };
}
// A line put in as line n (from 1), the rest moving down.
std::function<void(QStringList&)> Insert(int line, const QString& text) {
  return [line, text](QStringList& lines) { lines.insert(line - 1, text); };
}
std::function<void(QStringList&)> KeepLines(int count) {
  return [count](QStringList& lines) { lines = lines.mid(0, count); };
}

TEST(RecordFile, BadFilesAreRefusedWithTheirLine) {
  const BadFile cases[] = {
      {"empty", Shape::TwoChannel, false, KeepLines(0),
       "The record file ends after line 0, before its first line; nothing was opened"},
      {"truncated in the description", Shape::TwoChannel, false, KeepLines(9),
       "The record file ends after line 9, before the row \"Samples received\" of record 1; nothing was opened"},
      {"truncated in the data", Shape::TwoChannel, false, KeepLines(100),
       "The record file ends after line 100, before sample 82 of record 1 (of 1500 samples); nothing was opened"},
      {"truncated before the second record of a history", Shape::CH1Alone, true, KeepLines(2 + 20 + 3000),
       "The record file ends after line 3022, before record 2 of 2; nothing was opened"},
      {"wrong header", Shape::TwoChannel, false, Replace(1, "Tessaron USB Oscilloscope Referance File"),
       "Line 1 of the record file: \"Tessaron USB Oscilloscope Referance File\" is not \"Tessaron USB Oscilloscope "
       "Record\" or \"Tessaron USB Oscilloscope Record History\"; this is not a record file; nothing was opened"},
      {"a description row out of place", Shape::TwoChannel, false, Replace(4, "Layout2,standard"),
       "Line 4 of the record file: \"Layout2,standard\" where the row \"Layout\" with one value belongs; "
       "nothing was opened"},
      {"a code above 255", Shape::TwoChannel, false, Replace(25, "6,256,-2.03,12,0.00"),
       "Line 25 of the record file: CH1 code 256 is outside 0..255; nothing was opened"},
      {"a negative code", Shape::CH2Alone, false, Replace(20, "1,-1,1.96"),
       "Line 20 of the record file: CH2 code -1 is outside 0..255; nothing was opened"},
      {"a code that is no number", Shape::CH1Alone, false, Replace(21, "2,x2,1.96"),
       "Line 21 of the record file: 'x2' is not a valid integer value; nothing was opened"},
      {"volts that do not match the code", Shape::CH2Alone, false, Replace(20, "1,126,0.01"),
       "Line 20 of the record file: CH2 reads \"0.01\" V, but code 126 is 0.00 V on the high range; "
       "nothing was opened"},
      {"3000 samples of CH1 but lines for CH2", Shape::CH1Alone, false, Replace(19, "Sample,CH2 code,CH2 V"),
       "Line 19 of the record file: the columns \"Sample,CH2 code,CH2 V\" where the description above, the "
       "3000-sample record of CH1, has \"Sample,CH1 code,CH1 V\"; nothing was opened"},
      {"two channels on the lines of a 3000-sample record", Shape::CH1Alone, false, Replace(20, "1,10,1.80,10,1.80"),
       "Line 20 of the record file: 5 values where a data line of this record has 3; nothing was opened"},
      {"a layout its time base cannot make", Shape::TwoChannel, false, Replace(4, "Layout,stretched"),
       "Line 8 of the record file: the layout above is stretched, but its time base and rate make a standard "
       "record; nothing was opened"},
      {"1 MS/s off the 50 us/div row", Shape::TwoChannel, false, Replace(8, "1 MS/s,1"),
       "Line 8 of the record file: 1 MS/s on a time base other than 50us/DIV; nothing was opened"},
      {"a sample period that is not the time base's", Shape::CH1Alone, false, Replace(6, "Sample period us,2"),
       "Line 6 of the record file: a sample period of 2 us where the time/div above has 1 us; nothing was opened"},
      {"a scale that is not the volts/div's", Shape::TwoChannel, false, Replace(15, "Scale,312,624"),
       "Line 15 of the record file: CH1's scale 312 on the high range is no volts/div row, not the volts/div "
       "\"1V/DIV\" above; nothing was opened"},
      {"a sample skipped", Shape::TwoChannel, false, Replace(22, "4,3,1.92,4,1.90"),
       "Line 22 of the record file: sample \"4\" where sample 3 belongs; nothing was opened"},
      {"a date that is none", Shape::TwoChannel, false, Replace(2, "Received,yesterday"),
       "Line 2 of the record file: \"yesterday\" is not a date and time; nothing was opened"},
      {"record number 0, which no received record has", Shape::TwoChannel, false, Replace(3, "Sequence,0"),
       "Line 3 of the record file: record number 0 is no record received; nothing was opened"},
      {"a 0 V row above the strip", Shape::TwoChannel, false, Replace(16, "0 V row,0,263"),
       "Line 16 of the record file: CH1's 0 V row 0 is outside 1..400; nothing was opened"},
      {"a 0 V row below the strip", Shape::CH2Alone, false, Replace(16, "0 V row,137,401"),
       "Line 16 of the record file: CH2's 0 V row 401 is outside 1..400; nothing was opened"},
      {"text after the last record", Shape::TwoChannel, false, [](QStringList& l) { l << "" << "1,2,3"; },
       "Line 1521 of the record file: \"1,2,3\" after the last record; nothing was opened"},
      {"a line far too long", Shape::TwoChannel, false, Replace(30, QString(300, u'7')),
       "Line 30 of the record file: the line is longer than any line of a record file; nothing was opened"},
      {"a history of no records", Shape::TwoChannel, true, Replace(2, "Records,0"),
       "Line 2 of the record file: a history file holds 1 to 1000 records, not 0; nothing was opened"},
      {"a history line of another record", Shape::CH2Alone, true, Replace(2 + 20 + 7, "2,7,54,-0.12"),
       "Line 29 of the record file: record \"2\" on a line of record 1; nothing was opened"},
      {"a history's records out of order", Shape::TwoChannel, true, Replace(2 + 20 + 1500 + 2, "Record,3"),
       "Line 1524 of the record file: \"Record,3\" where \"Record,2\" belongs; nothing was opened"},
      {"an average of one record", Shape::TwoChannel, false, Insert(18, "Averaged records,1"),
       "Line 18 of the record file: an average of \"1\" records, where 2 to 64 belong; nothing was opened"},
      {"an average of more records than offered", Shape::CH1Alone, false, Insert(18, "Averaged records,65"),
       "Line 18 of the record file: an average of \"65\" records, where 2 to 64 belong; nothing was opened"},
      {"an average that is no number", Shape::TwoChannel, false, Insert(18, "Averaged records,many"),
       "Line 18 of the record file: an average of \"many\" records, where 2 to 64 belong; nothing was opened"},
      {"the average row twice", Shape::TwoChannel, false,
       [](QStringList& l) { l.insert(17, "Averaged records,4"), l.insert(17, "Averaged records,4"); },
       "Line 19 of the record file: \"Averaged records,4\" where an empty line belongs; nothing was opened"},
      {"another row where the average row may stand", Shape::TwoChannel, false, Insert(18, "Averages,4"),
       "Line 18 of the record file: \"Averages,4\" where an empty line belongs; nothing was opened"},
  };
  for (const BadFile& c : cases) {
    QStringList lines = GoodLines(c.shape, c.history);
    ASSERT_EQ(ErrorOf([&] { record_file::Parse(TextOf(lines)); }), "<no error>") << c.name << ": the good file";
    c.damage(lines);
    EXPECT_EQ(ErrorOf([&] { record_file::Parse(TextOf(lines)); }), QString::fromUtf8(c.message)) << c.name;
  }
}

TEST(RecordFile, EveryLineEndingReadsAndAFileIsCheckedWholeAsItIsRead) {
  QTemporaryDir dir;
  const Record r = MakeRecord(Shape::Stretched, 5);
  const QString text = TextOf(record_file::RecordLines(r, Zero));
  for (const char* ending : {"\r", "\n"}) {
    QString other = text;
    other.replace(QStringLiteral("\r\n"), QLatin1String(ending));
    QFile file(dir.filePath(QStringLiteral("endings.csv")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(other.toLatin1());
    file.close();
    EXPECT_EQ(record_file::Read(file.fileName()).records.at(0).record, r) << "ending " << int(ending[0]);
  }
}

// Writes `head` and then pads the file to `bytes` with noise (or leaves a
// hole when `sparse`).
QString BigFile(const QTemporaryDir& dir, const QByteArray& head, qint64 bytes, bool sparse) {
  const QString path = dir.filePath(QStringLiteral("big.csv"));
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(head);
  if (sparse) {
    file.resize(bytes);
  } else {
    QRandomGenerator noise(30);
    QByteArray block(1 << 20, 0);
    while (file.size() < bytes) {
      noise.fillRange(reinterpret_cast<quint32*>(block.data()), block.size() / 4);
      file.write(block);
    }
  }
  return path;
}

TEST(RecordFile, LargeFilesAreRefusedOnTheirSizeOrTheirFirstLine) {
  QTemporaryDir dir;
  const qint64 fifty = 50ll * 1024 * 1024;
  {
    const QString path = BigFile(dir, QByteArray(), fifty, false);
    const QString message = ErrorOf([&] { record_file::Read(path); });
    // Its first line is not the title, or longer than any line of a record file.
    EXPECT_TRUE(message.startsWith(QStringLiteral("Line 1 of the record file: "))) << message.toStdString();
    EXPECT_TRUE(message.endsWith(QStringLiteral("; nothing was opened"))) << message.toStdString();
  }
  {
    const QString path = BigFile(dir, "Tessaron USB Oscilloscope Record\r\n", fifty, false);
    EXPECT_EQ(ErrorOf([&] { record_file::Read(path); }),
              QStringLiteral("The file is %1 bytes, more than a record file of 1 record(s) takes; it is not a record "
                             "file; nothing was opened")
                  .arg(QFileInfo(path).size()));
  }
  EXPECT_EQ(ErrorOf([&] {
              record_file::Read(BigFile(dir, "Tessaron USB Oscilloscope Record History\r\nRecords,2\r\n", fifty, true));
            }),
            QStringLiteral("The file is %1 bytes, more than a record file of 2 record(s) takes; it is not a record "
                           "file; nothing was opened")
                .arg(fifty));
  const qint64 huge = record_file::MaxFileBytes + 1;
  const QString path = BigFile(dir, "Tessaron USB Oscilloscope Record History\r\nRecords,1000\r\n", huge, true);
  EXPECT_EQ(ErrorOf([&] { record_file::Read(path); }),
            QStringLiteral("The file %1 is %2 bytes, more than the largest record file (%3 bytes); nothing was opened")
                .arg(QDir::toNativeSeparators(path))
                .arg(huge)
                .arg(record_file::MaxFileBytes));
}

TEST(RecordFile, AFileThatCannotBeReadOrWrittenGivesTheHousesMessage) {
  QTemporaryDir dir;
  const QString gone = dir.filePath(QStringLiteral("gone.csv"));
  EXPECT_EQ(ErrorOf([&] { record_file::Read(gone); }), "Cannot open file " + QDir::toNativeSeparators(gone));
  EXPECT_EQ(ErrorOf([&] { record_file::Read(dir.path()); }),
            "Cannot open file " + QDir::toNativeSeparators(dir.path()));
  const QString nowhere = dir.filePath(QStringLiteral("no/such/folder/r.csv"));
  EXPECT_EQ(ErrorOf([&] { record_file::WriteRecord(nowhere, MakeRecord(Shape::TwoChannel, 1), Zero); }),
            "Cannot create file " + QDir::toNativeSeparators(nowhere));
  EXPECT_EQ(ErrorOf([&] { record_file::WriteHistory(gone, RecordHistory(), Zero); }),
            "The record history is empty: there is nothing to save");
  EXPECT_FALSE(QFile::exists(gone));
}

TEST(RecordFile, AWriteThatFailsLeavesTheOldFileAsItWas) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("history.csv"));
  RecordHistory h;
  h.Add(MakeRecord(Shape::TwoChannel, 1));
  record_file::WriteHistory(path, h, Zero);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray before = file.readAll();
  file.close();

  Record cannot = MakeRecord(Shape::TwoChannel, 2);
  cannot.timeBaseIndex = 99;
  h.Add(cannot);
  EXPECT_EQ(ErrorOf([&] { record_file::WriteHistory(path, h, Zero); }),
            "The record was taken on time base row 99, which the knob does not have; it cannot be saved");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), before);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"history.csv"}) << "no temporary left behind";
}

}  // namespace

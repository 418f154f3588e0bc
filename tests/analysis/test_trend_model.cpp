// The pure side of the trend plot: the ring of points, the measurement log
// read back (a file the log itself wrote, and bad lines as one table), and
// the axes' arithmetic of zoom, pan and fit.
#include <gtest/gtest.h>

#include "analysis/LogReader.h"
#include "analysis/TrendHistory.h"
#include "analysis/TrendSeries.h"
#include "analysis/TrendView.h"
#include "core/LogLine.h"
#include "core/MeasurementLog.h"
#include "core/RecordReadings.h"
#include "support/ErrorOf.h"
#include "support/QtPrint.h"

#include "SquareRecord.h"
#include "TrendPrint.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <vector>

namespace {

using analysis::Span;
using analysis::TrendPoint;
using analysis::TrendRow;
using analysis::TrendSeries;
using core::Reading;

std::vector<TrendPoint> Ramp(int first, int count) {
  std::vector<TrendPoint> points;
  for (int i = first; i < first + count; ++i) points.push_back({i * 100.0, i * 1.5});
  return points;
}

TEST(TrendSeries, KeepsTheLastPointsAndDropsTheOldest) {
  struct Case {
    const char* name;
    std::size_t capacity;
    int appended;
  };
  const Case cases[] = {
      {"fewer points than room", 5, 3},
      {"exactly full", 5, 5},
      {"one over: the first goes", 5, 6},
      {"many times round the ring", 5, 23},
      {"a ring of one", 1, 4},
      {"ten thousand and a half", TrendSeries::DefaultCapacity, 15000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TrendSeries s(c.capacity);
    for (const TrendPoint& p : Ramp(0, c.appended)) s.Append(p.time, p.value);
    const int kept = std::min<int>(c.appended, static_cast<int>(c.capacity));
    const std::vector<TrendPoint> expected = Ramp(c.appended - kept, kept);
    EXPECT_EQ(s.Size(), static_cast<std::size_t>(kept));
    EXPECT_EQ(s.Points(), expected);
    EXPECT_EQ(s.At(0), expected.front());
    EXPECT_EQ(s.At(s.Size() - 1), expected.back());
    EXPECT_EQ(s.Times(), (Span{expected.front().time, expected.back().time}));
  }
  TrendSeries s(3);
  EXPECT_EQ(ErrorOf([&] { s.At(0); }), "List index out of bounds (0)");
  s.Append(1, 1);
  EXPECT_EQ(ErrorOf([&] { s.At(1); }), "List index out of bounds (1)");
  EXPECT_EQ(ErrorOf([] { TrendSeries none(0); }), "A trend keeps at least one point, not 0");
  EXPECT_FALSE(TrendSeries(3).Times());
}

TEST(TrendSeries, NearestPointAndValuesInView) {
  TrendSeries s(4);
  // Six points through a ring of four: 200..500 stay, and a clock set back
  // (the last point earlier than the one before) keeps its place.
  for (const TrendPoint& p : std::vector<TrendPoint>{{0, 9}, {100, 9}, {200, 2}, {300, 3}, {500, 5}, {250, 7}})
    s.Append(p.time, p.value);
  struct Case {
    const char* name;
    double time;
    TrendPoint nearest;
  };
  const Case cases[] = {
      {"before all", -1000, {200, 2}},
      {"exactly on one", 300, {300, 3}},
      {"between two, nearer the later", 290, {300, 3}},
      {"half way: the older of the two", 225, {200, 2}},
      {"the point of the clock set back", 260, {250, 7}},
      {"after all", 9999, {500, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(s.NearestTo(c.time), c.nearest);
  }
  EXPECT_EQ(s.ValuesWithin({240, 310}), (Span{3, 7}));
  EXPECT_EQ(s.ValuesWithin({0, 9999}), (Span{2, 7}));
  EXPECT_FALSE(s.ValuesWithin({600, 700}));
  EXPECT_FALSE(TrendSeries(2).NearestTo(0));
}

TEST(TrendHistory, ReadingsWithoutANumberLeaveGaps) {
  const core::PanelSettings ch2Off = SquarePanel(false);
  analysis::TrendHistory h(3);
  const QDateTime t0 = StartTime();
  // A square wave, a flat trace (no cycle), a square wave, and one more
  // than the rings hold.
  const int periods[] = {10, 0, 20, 30};
  for (int i = 0; i < 4; ++i) {
    const core::Record r = SquareRecord(ch2Off, periods[i], static_cast<std::uint64_t>(i + 1), t0.addMSecs(i * 100));
    h.Add(analysis::TrendRowOf(r, core::ReadingsOf(r)));
  }
  const double start = static_cast<double>(t0.toMSecsSinceEpoch());
  EXPECT_EQ(h.Rows(), 4);
  // Voltages of all four (the first dropped); periods only where a cycle was.
  EXPECT_EQ(h.Series(1, Reading::PeakToPeak).Size(), 3u);
  const std::vector<TrendPoint> kept = h.Series(1, Reading::Period).Points();
  const std::vector<TrendPoint> expected{{start, 20e-6}, {start + 200, 40e-6}, {start + 300, 60e-6}};
  ASSERT_EQ(kept.size(), expected.size());
  for (std::size_t i = 0; i < kept.size(); ++i) {
    EXPECT_EQ(kept[i].time, expected[i].time);
    EXPECT_DOUBLE_EQ(kept[i].value, expected[i].value);
  }
  EXPECT_TRUE(h.Series(1, Reading::DutyCycle).Size() == 3 && h.Series(1, Reading::DutyCycle).At(0).value == 50);
  EXPECT_TRUE(h.Series(2, Reading::Maximum).Empty());
  EXPECT_EQ(ErrorOf([&] { h.Series(3, Reading::Mean); }), "List index out of bounds (3)");
}

// The rows a file the measurement log wrote reads back as, against the rows
// of the same records.
TEST(LogReader, ReadsWhatTheMeasurementLogWrote) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("night.csv"));
  const core::PanelSettings panel = SquarePanel();
  std::vector<TrendRow> written;
  {
    core::MeasurementLog log;
    ASSERT_EQ(log.Start(path), QString());
    for (int i = 0; i < 50; ++i) {
      // Every fifth record a flat trace: no cycle there.
      const core::Record r =
          SquareRecord(panel, i % 5 == 0 ? 0 : 10 + 2 * i, static_cast<std::uint64_t>(i + 1),
                       StartTime().addMSecs(i * 1234), 10 + i % 7);
      const auto readings = core::ReadingsOf(r);
      ASSERT_TRUE(log.Append(r, readings));
      written.push_back(analysis::TrendRowOf(r, readings));
    }
  }
  std::vector<TrendRow> read;
  const analysis::LogSummary summary = analysis::ReadLogFile(path, [&](const TrendRow& row) { read.push_back(row); });
  EXPECT_EQ(summary.records, 50);
  EXPECT_EQ(summary.cutLines, 0);
  ASSERT_EQ(read.size(), written.size());
  for (std::size_t i = 0; i < read.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(read[i].timeMs, written[i].timeMs);
    EXPECT_EQ(read[i].sequence, written[i].sequence);
    for (int channel = 1; channel <= 2; ++channel)
      for (int reading = 0; reading < core::ReadingCount; ++reading) {
        const auto& a = read[i].Value(channel, static_cast<Reading>(reading));
        const auto& b = written[i].Value(channel, static_cast<Reading>(reading));
        ASSERT_EQ(a.has_value(), b.has_value()) << "CH" << channel << " reading " << reading;
        if (a) {
          EXPECT_NEAR(*a, *b, 1e-9 * std::abs(*b));
        }
      }
  }
  EXPECT_FALSE(read[0].Value(1, Reading::Period));
  EXPECT_TRUE(read[1].Value(1, Reading::Period));
  EXPECT_EQ(ErrorOf([&] { analysis::ReadLogFile(dir.filePath(QStringLiteral("none.csv")), [](const TrendRow&) {}); }),
            "Cannot open file " + dir.filePath(QStringLiteral("none.csv")));
}

// A record line of the log with its time, sequence number and readings.
QString GoodLine(int sequence = 7) {
  const core::Record r = SquareRecord(SquarePanel(), 10, static_cast<std::uint64_t>(sequence), StartTime());
  return core::LogRecordLine(r, core::ReadingsOf(r));
}

analysis::LogSummary ReadText(const QByteArray& text, std::vector<TrendRow>* rows = nullptr) {
  QByteArray bytes = text;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  return analysis::ReadLog(buffer, [&](const TrendRow& row) {
    if (rows) rows->push_back(row);
  });
}

QByteArray Lines(const QStringList& lines, const char* end = "\n") {
  return lines.join(QLatin1String(end)).toUtf8() + end;
}

TEST(LogReader, RefusesABadLineNamingIt) {
  const QString header = core::LogHeaderLine();
  const QString good = GoodLine();
  QStringList fields = good.split(',');
  const auto with = [&](int field, const QString& text) {
    QStringList f = fields;
    f[field] = text;
    return f.join(',');
  };
  struct Case {
    const char* name;
    QByteArray text;
    QString message;
  };
  const Case cases[] = {
      {"a reading that is not a number", Lines({header, good, with(5, "1.2.3")}),
       "Line 3 of the measurement log: '1.2.3' is not a valid floating point value; nothing was opened"},
      {"a reading in another locale's decimals", Lines({header, with(2, "1,20")}),
       "Line 2 of the measurement log: 23 fields where the header names 22; nothing was opened"},
      {"an infinite reading", Lines({header, with(21, "inf")}),
       "Line 2 of the measurement log: 'inf' is not a valid floating point value; nothing was opened"},
      {"a time that is not a time", Lines({header, good, good, with(0, "yesterday")}),
       "Line 4 of the measurement log: 'yesterday' is not a time; nothing was opened"},
      {"a sequence that is not a number", Lines({header, with(1, "-3")}),
       "Line 2 of the measurement log: '-3' is not a sequence number; nothing was opened"},
      {"more fields than the header names", Lines({header, good + ",1"}),
       "Line 2 of the measurement log: 23 fields where the header names 22; nothing was opened"},
      {"another file's header", Lines({"time,value", good}),
       "Line 1 of the measurement log: the columns are not those of a measurement log; nothing was opened"},
      {"an empty file", QByteArray(),
       "Line 1 of the measurement log: the file is empty; nothing was opened"},
      {"a cut-off line whose whole fields do not read", Lines({header, "2025-03-01T12:00:00.250,x,1.5"}),
       "Line 2 of the measurement log: 'x' is not a sequence number; nothing was opened"},
      {"no line end for longer than any line", header.toUtf8() + "\n" + QByteArray(5000, '7'),
       "Line 2 of the measurement log: longer than any line of a measurement log; nothing was opened"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ErrorOf([&] { ReadText(c.text); }), c.message);
  }
}

TEST(LogReader, LinesCutByAPowerLossAndLineEnds) {
  const QString header = core::LogHeaderLine();
  struct Case {
    const char* name;
    QByteArray text;
    std::int64_t records, cutLines;
    std::uint64_t lastSequence;  // of the last row read
  };
  const QString cut = GoodLine(2).left(60);  // inside CH1's readings
  const Case cases[] = {
      {"only the header", Lines({header}), 0, 0, 0},
      {"LF", Lines({header, GoodLine(1), GoodLine(2)}), 2, 0, 2},
      {"CR LF", Lines({header, GoodLine(1), GoodLine(2)}, "\r\n"), 2, 0, 2},
      {"CR", Lines({header, GoodLine(1), GoodLine(2)}, "\r"), 2, 0, 2},
      {"the last line without its end", Lines({header, GoodLine(1)}) + GoodLine(2).toUtf8(), 2, 0, 2},
      {"a line cut off and the log gone on after it", Lines({header, GoodLine(1), cut, GoodLine(3)}), 2, 1, 3},
      {"the last line cut off while it was written", Lines({header, GoodLine(1)}) + cut.toUtf8(), 1, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<TrendRow> rows;
    const analysis::LogSummary s = ReadText(c.text, &rows);
    EXPECT_EQ(s.records, c.records);
    EXPECT_EQ(s.cutLines, c.cutLines);
    EXPECT_EQ(rows.empty() ? 0 : rows.back().sequence, c.lastSequence);
  }
}

TEST(TrendView, ZoomPanAndFit) {
  const Span view{1000, 2000};
  struct Case {
    const char* name;
    Span got, expected;
  };
  const Case cases[] = {
      {"a notch in about the middle", analysis::Zoomed(view, 1500, 0.8), {1100, 1900}},
      {"a notch in about the left edge: the edge stays", analysis::Zoomed(view, 1000, 0.5), {1000, 1500}},
      {"out about a point a quarter in: it stays a quarter in", analysis::Zoomed(view, 1250, 2), {750, 2750}},
      {"never narrower than the shortest span", analysis::Zoomed({0, 20}, 10, 0.01), {5, 15}},
      {"a pan later", analysis::Panned(view, 250), {1250, 2250}},
      {"a pan earlier", analysis::Panned(view, -1000), {0, 1000}},
      {"fit: all the times", *analysis::FitSpan(Span{10, 90}), {10, 90}},
      {"fit: one point, a second either side", *analysis::FitSpan(Span{5000, 5000}), {4000, 6000}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NEAR(c.got.first, c.expected.first, 1e-9);
    EXPECT_NEAR(c.got.last, c.expected.last, 1e-9);
  }
  EXPECT_FALSE(analysis::FitSpan(std::nullopt));
  EXPECT_DOUBLE_EQ(analysis::WheelFactor(120), 0.8);
  EXPECT_DOUBLE_EQ(analysis::WheelFactor(-240), 1 / 0.64);
  // The value axis holds the values with room, also a flat run.
  EXPECT_EQ(analysis::ValueAxisSpan(Span{0, 100}), (Span{-5, 105}));
  EXPECT_EQ(analysis::ValueAxisSpan(Span{50, 50}), (Span{47.5, 52.5}));
  EXPECT_EQ(analysis::ValueAxisSpan(std::nullopt), (Span{0, 1}));
}

TEST(TrendView, ReadoutInThePanelsTexts) {
  const double t = static_cast<double>(StartTime().toMSecsSinceEpoch());
  struct Case {
    int channel;
    Reading reading;
    double value;
    const char* text;
  };
  const Case cases[] = {
      {1, Reading::Frequency, 1000, "CH1 Frequency at 2025-03-01 12:00:00.250: 1.00 KHz"},
      {2, Reading::Period, 64e-6, "CH2 Period at 2025-03-01 12:00:00.250: 64 us"},
      {1, Reading::PeakToPeak, 3.13, "CH1 Pk-Pk Voltage at 2025-03-01 12:00:00.250: 3.13 V"},
      {2, Reading::DutyCycle, 37, "CH2 Pos. Duty Cycle at 2025-03-01 12:00:00.250: 37%"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(analysis::ReadoutText(c.channel, c.reading, {t, c.value}), QString::fromLatin1(c.text));
  }
}

}  // namespace

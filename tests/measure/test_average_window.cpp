// The averaged trace on the real window against the simulated instrument
// with noise on a steady level: its spread falls as 1/sqrt(N), it is drawn
// at the sub-count resolution of the mean (the picture is the one a trace
// through the mean's own rows gives, not the one of rounded counts), the
// panel reads the rounded mean, Off draws the record as it came, and any
// change of what the instrument is asked for starts the average again.

#include "core/RecordFile.h"
#include "display/SampleRows.h"
#include "storage/TextLines.h"
#include "support/KnobDetents.h"
#include "support/SquareWaveWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {


using Means = std::vector<double>;  // indexed as the buffers, from 1

class AverageWindow : public SimulatedInputsWindow {
 protected:
  // CH1: noise of +-0.1 V round 0 V, +-6.4 counts on the 100 mV/div row;
  // CH2: a steady 0 V, switched off until a test turns it on.
  AverageWindow() : SimulatedInputsWindow({sim::Shape::Noise, 1000.0, 0.1, 0.0}, {sim::Shape::DC, 1000.0, 0.0, 0.0}) {
    scope.PressChannelKey(2);
    scope.PressChannelOff();
    Knob(1, Volts100mV);
    TimeKnob(Time500us);
    if (scope.State().AutoMeasOn != 1) scope.ChooseMenuItem(QStringLiteral("AutoMeasurementsON1"));
  }

  void Average(const char* item) { scope.ChooseMenuItem(QLatin1String(item)); }
  // The last `count` records as they came, oldest first, from the history
  // (stepping back through it shows each as it was captured).
  std::vector<core::Record> LastRecords(int count) {
    std::vector<core::Record> records(static_cast<std::size_t>(count));
    scope.ChooseMenuItem(QStringLiteral("LatestRecord1"));
    for (int k = count - 1; k >= 0; --k) {
      records[static_cast<std::size_t>(k)] = scope.State().HeldRecord;
      if (k > 0) scope.ChooseMenuItem(QStringLiteral("PreviousRecord1"));
    }
    return records;
  }
  static Means MeanOf(const std::vector<core::Record>& records) {
    Means mean(3001, 0.0);
    for (const core::Record& r : records)
      for (std::size_t i = 1; i <= 3000; ++i) mean[i] += r.ch1[i] / static_cast<double>(records.size());
    return mean;
  }
  // The picture the window draws for a record of CH1 whose samples on the
  // plot land on `rowOf(i)` exactly: a record at one row a count (scale 100)
  // carries the rows as its counts, and the window draws it as any other.
  QImage PictureThroughRows(const core::Record& like, const std::function<std::int32_t(std::size_t)>& rowOf) {
    core::Record rows = like;
    rows.channels[0].scale = 100;
    const std::int32_t zeroRow = scope.State().CH1VertPos;
    const std::int32_t cal = rows.channels[0].calOffset;
    for (auto i = static_cast<std::size_t>(scope.State().ViewStart); i <= static_cast<std::size_t>(scope.State().ViewEnd);
         ++i) {
      const std::int32_t count = rowOf(i) - zeroRow + 127 + cal;
      EXPECT_GE(count, 0) << i;
      EXPECT_LE(count, 255) << i;
      rows.ch1[i] = static_cast<std::uint8_t>(std::clamp(count, 0, 255));
    }
    const core::Record held = scope.State().HeldRecord;
    scope.State().HeldRecord = rows;
    scope.DrawHeldRecord();
    const QImage picture = f.PlotBitmap.copy();
    scope.State().HeldRecord = held;
    scope.DrawHeldRecord();
    return picture;
  }
};

QStringList FileLines(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? text_lines::SplitLines(QString::fromLatin1(file.readAll())) : QStringList();
}

// Pixels in which two pictures of the plot differ.
int Differing(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return a.width() * a.height();
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
  return n;
}

double SpreadOf(const Means& samples, std::size_t first, std::size_t last) {
  const double n = static_cast<double>(last - first + 1);
  double mean = 0;
  for (std::size_t i = first; i <= last; ++i) mean += samples[i] / n;
  double squares = 0;
  for (std::size_t i = first; i <= last; ++i) squares += (samples[i] - mean) * (samples[i] - mean);
  return std::sqrt(squares / n);
}

TEST_F(AverageWindow, TheSpreadFallsAsOneOverTheRootOfNAndTheTraceIsDrawnThroughTheMean) {
  struct Case {
    const char* item;
    int records;
  };
  const Case cases[] = {{"AverageOff1", 1}, {"Average4", 4}, {"Average16", 16}, {"Average64", 64}};
  double spreadOff = 0;
  double pkPkOff = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    Average(c.item);
    for (int k = 0; k < c.records; ++k) ASSERT_NO_FATAL_FAILURE(Capture());
    const QImage shown = f.PlotBitmap.copy();
    const core::Record held = scope.State().HeldRecord;
    const QString pkPk = scope.Find<QLabel>(QStringLiteral("CH1PkPk"))->text();
    const std::int32_t zeroRow = scope.State().CH1VertPos;
    const std::int32_t scale = held.channels[0].scale;
    const std::int32_t cal = held.channels[0].calOffset;

    const std::vector<core::Record> records = LastRecords(c.records);
    const Means mean = MeanOf(records);
    EXPECT_EQ(held.averaged, c.records);
    // What the panel and the files read: the mean rounded to whole counts.
    for (std::size_t i = 1; i <= 1500; ++i)
      ASSERT_EQ(held.ch1[i], static_cast<int>(std::floor(mean[i] + 0.5))) << i;

    // Drawn through the rows of the mean itself.
    scope.State().HeldRecord = held;
    EXPECT_EQ(Differing(shown, PictureThroughRows(held, [&](std::size_t i) {
                        return screen_model::MeanSampleRow(mean[i], zeroRow, scale, cal);
                      })),
              0);
    // Off is the record's own counts; an average is not its rounded counts.
    const QImage rounded = PictureThroughRows(
        held, [&](std::size_t i) { return screen_model::SampleRow(held.ch1[i], zeroRow, scale, cal); });
    if (c.records == 1)
      EXPECT_EQ(Differing(shown, rounded), 0);
    else
      EXPECT_GT(Differing(shown, rounded), 0);

    const double spread = SpreadOf(mean, 1, 1500);
    if (c.records == 1) spreadOff = spread;
    const double expected = spreadOff / std::sqrt(static_cast<double>(c.records));
    EXPECT_GT(spread, 0.75 * expected);
    EXPECT_LT(spread, 1.25 * expected);
    // The panel's peak to peak shrinks with it.
    const double pkPkVolts = pkPk.endsWith(QLatin1String("mV")) ? pkPk.chopped(2).toDouble() / 1000
                                                                 : pkPk.chopped(1).toDouble();
    if (c.records == 1) pkPkOff = pkPkVolts;
    if (c.records == 64) {
      EXPECT_LT(pkPkVolts, pkPkOff / 2) << pkPk.toStdString();
    }
    std::printf("window, %-11s %2d records: spread %.3f counts (%.2f rows), %.3f x 1/sqrt(N) of one record's; "
                "panel Pk-Pk %s\n",
                c.item, c.records, spread, spread * scale / 100.0, spread / expected, qPrintable(pkPk));
  }
  EXPECT_GT(spreadOff, 3.0);  // +-6.4 counts uniform: about 3.7
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
}

TEST_F(AverageWindow, AnyChangeOfWhatTheInstrumentIsAskedForStartsTheAverageAgain) {
  struct Case {
    const char* name;
    std::function<void()> change;
    bool restarts;
  };
  const Case cases[] = {
      {"nothing changed", [] {}, false},
      {"CH1's volts/div", [this] { Knob(1, Volts200mV); }, true},
      {"the time base", [this] { TimeKnob(Time1ms); }, true},
      {"the trigger level", [this] { scope.TypeTriggerLevel(QStringLiteral("0.1")); }, true},
      {"CH2 switched on", [this] { scope.PressChannelKey(2); }, true},
  };
  Average("Average8");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (int k = 0; k < 3; ++k) ASSERT_NO_FATAL_FAILURE(Capture());
    c.change();
    ASSERT_NO_FATAL_FAILURE(Capture());
    const core::Record held = scope.State().HeldRecord;
    const core::Record latest = LastRecords(1).front();
    if (c.restarts) {
      EXPECT_EQ(held.averaged, 1);
      EXPECT_EQ(held, latest);  // the record that brought the change, alone
    } else {
      EXPECT_GE(held.averaged, 4);
      EXPECT_NE(held.ch1, latest.ch1);
    }
  }
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
}

TEST_F(AverageWindow, TheExportAndASavedRecordNoteTheAverageAndOffFilesHaveNoSuchLine) {
  struct Case {
    const char* item;
    int records;
    QString exportLine;  // the export's line 4
    QString recordLine;  // the record file's line 18
  };
  const Case cases[] = {
      {"AverageOff1", 1, QString(), QString()},
      {"Average4", 4, QStringLiteral("Average of 4 records"), QStringLiteral("Averaged records,4")},
  };
  QTemporaryDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    Average(c.item);
    for (int k = 0; k < c.records; ++k) ASSERT_NO_FATAL_FAILURE(Capture());
    const QString exported = dir.filePath(QStringLiteral("%1.txt").arg(QLatin1String(c.item)));
    const QString saved = dir.filePath(QStringLiteral("%1.csv").arg(QLatin1String(c.item)));
    w.ui.saveAnswers.push_back(exported);
    scope.ChooseMenuItem(QStringLiteral("ExportData1"));
    w.ui.saveAnswers.push_back(saved);
    scope.ChooseMenuItem(QStringLiteral("SaveRecord1"));
    ASSERT_TRUE(w.ui.errors.isEmpty()) << Errors();

    const QStringList exportLines = FileLines(exported);
    ASSERT_GT(exportLines.size(), 6);
    EXPECT_EQ(exportLines[3], c.exportLine);  // Off: the empty line before the columns, as always
    EXPECT_EQ(exportLines[c.records == 1 ? 4 : 5], QStringLiteral("Time us, CH1 V, CH2 V"));
    const QStringList recordLines = FileLines(saved);
    ASSERT_GT(recordLines.size(), 19);
    EXPECT_EQ(recordLines[16].section(u',', 0, 0), QStringLiteral("Calibration offset"));
    EXPECT_EQ(recordLines[17], c.recordLine);

    // The file opens again as the trace shown: the rounded mean, with its count.
    const record_file::Contents read = record_file::Read(saved);
    ASSERT_EQ(read.records.size(), 1u);
    EXPECT_EQ(read.records[0].record.averaged, c.records);
    EXPECT_EQ(read.records[0].record.ch1, scope.State().HeldRecord.ch1);
  }
}

}  // namespace

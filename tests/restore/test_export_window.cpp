// "Export Data To File" on the real window with records of the simulated
// instrument: the file's lines and endings, a record exported after the
// knobs have moved, each layout's samples and times, and the cases that
// write nothing.

#include "storage/ExportFile.h"
#include "storage/HeldRecord.h"
#include "storage/TextLines.h"
#include "support/KnobDetents.h"
#include "support/SquareWaveWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

namespace {

constexpr int HeaderLines = 5;

QStringList FileLines(const QString& path) { return text_lines::SplitLines(QString::fromUtf8(FileBytes(path))); }

// Where two files' lines first differ, or empty when they do not.
std::string FirstDifference(const QStringList& a, const QStringList& b) {
  for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i)
    if (a[i] != b[i])
      return "line " + std::to_string(i + 1) + ": " + a[i].toStdString() + " / " + b[i].toStdString();
  if (a.size() != b.size()) return std::to_string(a.size()) + " / " + std::to_string(b.size()) + " lines";
  return {};
}

// The lowest and highest voltage of one column of the data lines.
struct ColumnSpan {
  double low = 1e9;
  double high = -1e9;
};
ColumnSpan SpanOf(const QStringList& data, int column) {
  ColumnSpan span;
  for (const QString& line : data) {
    const double v = line.section(u',', column, column).toDouble();
    span.low = std::min(span.low, v);
    span.high = std::max(span.high, v);
  }
  return span;
}

class ExportWindow : public SquareWaveWindow {
 protected:
  QString PathOf(const char* name) const { return dir_.filePath(QLatin1String(name)); }

  // Both channels on: CH1 on 1 V/div (high range), CH2 on 200 mV/div (low).
  void BothChannels() {
    Knob(2, Volts200mV);
    Knob(1, Volts1V);
  }
  void Export(const QString& path) {
    w.ui.saveAnswers.push_back(path);
    ScopeDriver(f).MenuItem(QStringLiteral("ExportData1"))->trigger();
    ASSERT_TRUE(w.ui.errors.isEmpty()) << Errors();
  }

  QTemporaryDir dir_;
};

TEST_F(ExportWindow, ARecordKeepsItsCapturesVoltsAndTimesAfterTheKnobsMove) {
  BothChannels();
  TimeKnob(Time1ms);
  ASSERT_NO_FATAL_FAILURE(Capture());

  // An older, longer file at the chosen path is replaced, not appended to.
  const QString path = PathOf("record.txt");
  {
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray("an older file\r\n").repeated(3000));
  }
  ASSERT_NO_FATAL_FAILURE(Export(path));
  const QByteArray bytes = FileBytes(path);
  // CR LF after every line, the last included, and no other line ending.
  EXPECT_EQ(bytes.count("\r\n"), HeaderLines + 1500);
  EXPECT_EQ(bytes.count('\n'), HeaderLines + 1500);
  EXPECT_EQ(bytes.count('\r'), HeaderLines + 1500);
  EXPECT_TRUE(bytes.endsWith("\r\n"));
  const QStringList first = FileLines(path);
  ASSERT_EQ(first.size(), HeaderLines + 1500);
  EXPECT_EQ(first[0], QStringLiteral("Tessaron USB Oscilloscope"));
  EXPECT_EQ(first[1], QStringLiteral("Sample Rate: 50KS/s"));
  EXPECT_EQ(first[3], QString());
  EXPECT_EQ(first[4], QStringLiteral("Time us, CH1 V, CH2 V"));
  const QStringList data = first.mid(HeaderLines);
  EXPECT_EQ(data.front().section(u',', 0, 0), QStringLiteral("20"));
  EXPECT_EQ(data.back().section(u',', 0, 0), QStringLiteral("30000"));
  // Within a count of the signals: 78 mV on CH1's high range, 16 mV on
  // CH2's low range.
  const ColumnSpan ch1 = SpanOf(data, 1);
  const ColumnSpan ch2 = SpanOf(data, 2);
  EXPECT_NEAR(ch1.high, 2.5, 0.08);
  EXPECT_NEAR(ch1.low, -2.5, 0.08);
  EXPECT_NEAR(ch2.high, 0.5, 0.02);
  EXPECT_NEAR(ch2.low, -0.5, 0.02);

  // CH1 to a low range, CH2 to a high one, another time base: the held
  // record is the same record, and its file the same file.
  Knob(1, Volts100mV);
  Knob(2, Volts1V);
  TimeKnob(Time100us);
  ASSERT_NE(scope.State().SampleRateText, QStringLiteral("50KS/s"));
  ASSERT_NO_FATAL_FAILURE(Export(path));
  QStringList second = FileLines(path);
  ASSERT_EQ(second.size(), first.size());
  second[2] = first[2];  // the date line is the moment of the export
  EXPECT_EQ(FirstDifference(second, first), "");
}

TEST_F(ExportWindow, EachLayoutExportsItsOwnSamplesAndTimes) {
  struct Case {
    const char* what;
    bool bothOn;         // else CH2 alone
    int timeAngle;
    int dataLines;
    int columns;
    int lastTime;        // microseconds
    const char* rate;
    bool keysLast = false;  // the knob turned first, then CH1 switched off: the keys' caption
  };
  const Case cases[] = {
      {"both channels at 50 us/div: a sample every 2 us", true, Time50us, 1500, 3, 3000, "500KS/s"},
      {"CH2 alone at 50 us/div: its 3000-sample record", false, Time50us, 1505, 2, 1505, "1M/s"},
      {"CH1 switched off on the 50 us/div row", false, Time50us, 1505, 2, 1505, "1MS/s", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.keysLast) {
      BothChannels();
      TimeKnob(c.timeAngle);
    }
    if (c.bothOn) {
      BothChannels();
    } else {
      Knob(2, Volts200mV);
      Knob(1, Volts1V);
      scope.PressChannelOff();  // CH1 off: CH2 alone, on its low range
      ASSERT_EQ(scope.State().ChannelOn[1], 0);
      ASSERT_EQ(scope.State().ChannelOn[2], 1);
    }
    if (!c.keysLast) TimeKnob(c.timeAngle);
    ASSERT_NO_FATAL_FAILURE(Capture());
    const QString path = PathOf("layout.txt");
    ASSERT_NO_FATAL_FAILURE(Export(path));
    const QStringList lines = FileLines(path);
    ASSERT_EQ(lines.size(), HeaderLines + c.dataLines);
    EXPECT_EQ(lines[1], QStringLiteral("Sample Rate: ") + QLatin1String(c.rate));
    const QStringList data = lines.mid(HeaderLines);
    for (const QString& line : data) ASSERT_EQ(line.count(u',') + 1, c.columns) << line.toStdString();
    EXPECT_EQ(data.back().section(u',', 0, 0), QString::number(c.lastTime));
    // CH2's samples on CH2's low range; read from CH1's buffer or with CH1's
    // range they would span several volts.
    const ColumnSpan span = SpanOf(data, c.columns - 1);
    EXPECT_NEAR(span.high, 0.5, 0.02);
    EXPECT_NEAR(span.low, -0.5, 0.02);
  }
}

TEST_F(ExportWindow, NothingIsWrittenBeforeTheFirstRecordOrWhenTheDialogIsCancelled) {
  const QString path = PathOf("nothing.txt");
  w.ui.saveAnswers.push_back(path);
  ScopeDriver(f).MenuItem(QStringLiteral("ExportData1"))->trigger();
  EXPECT_EQ(w.ui.errors, QStringList{QString::fromLatin1(held_record::NothingToSaveYet)});
  EXPECT_EQ(w.ui.saveAnswers.size(), 1u);  // no dialog was shown
  EXPECT_FALSE(QFile::exists(path));

  w.ui.saveAnswers.clear();
  w.ui.errors.clear();
  ASSERT_NO_FATAL_FAILURE(Capture());
  ScopeDriver(f).MenuItem(QStringLiteral("ExportData1"))->trigger();  // no answer queued: cancelled
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
  EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

TEST_F(ExportWindow, AWindowClosedWhileTheDialogIsOpenWritesNothing) {
  ASSERT_NO_FATAL_FAILURE(Capture());
  const QString path = PathOf("closed.txt");
  w.ui.saveAnswers.push_back(path);
  w.ui.afterFileDialog = [this](const QString&) { w.form.reset(); };
  f.ExportData1Click();
  EXPECT_EQ(w.form, nullptr);
  EXPECT_FALSE(QFile::exists(path));
}

}  // namespace

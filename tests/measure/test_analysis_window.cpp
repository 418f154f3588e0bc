// The "Analysis" menu on the real window with records of the simulated
// instrument: the statistics window after a run of records of a steady
// square wave, and the measurement log's lines against the panel's readings
// of the same records, and a log that cannot be written: refused at the
// start, or stopped by a full disk while a continuous run goes on.

#include "analysis/StatisticsWindow.h"
#include "core/LogLine.h"
#include "core/MeasurementStatistics.h"
#include "storage/TextLines.h"
#include "support/KnobDetents.h"
#include "support/SquareWaveWindow.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {


class AnalysisWindow : public SquareWaveWindow {
 protected:
  AnalysisWindow() {
    Knob(1, Volts1V);
    TimeKnob(Time1ms);
    if (scope.State().AutoMeasOn != 1) scope.ChooseMenuItem(QStringLiteral("AutoMeasurementsON1"));
  }
  QString PanelText(const char* name) const { return scope.Find<QLabel>(QLatin1String(name))->text(); }
  QString LoggingText() const { return scope.Find<QLabel>(QStringLiteral("LoggingReadout"))->text(); }
  bool LoggingShown() const { return !scope.Find<QLabel>(QStringLiteral("LoggingReadout"))->isHidden(); }
  std::uint64_t Sequence() const { return scope.State().HeldRecord.sequence; }

  QTemporaryDir dir_;
};

TEST_F(AnalysisWindow, TwentyRecordsOfASteadySquareWaveGiveTheLastValueAsMeanAndNoSpread) {
  for (int i = 0; i < 20; ++i) ASSERT_NO_FATAL_FAILURE(Capture());
  scope.ChooseMenuItem(QStringLiteral("MeasurementStatistics1"));
  auto* statistics = scope.Find<analysis::StatisticsWindow>(QStringLiteral("StatisticsWindow"));
  ASSERT_TRUE(statistics->isVisible());
  using Column = analysis::StatisticsWindow::Column;
  // The levels of the square are the same in every record: its peak to peak
  // has no spread. Its frequency is counted for each record too, but the
  // edges fall a sample earlier or later from one record to the next, so it
  // is not steady at this time base.
  const auto text = [&](core::Reading reading, Column column) { return statistics->Text(1, reading, column); };
  const core::Reading pkPk = core::Reading::PeakToPeak;
  EXPECT_EQ(text(pkPk, Column::Last), PanelText("CH1PkPk"));
  EXPECT_EQ(text(pkPk, Column::Mean), text(pkPk, Column::Last));
  EXPECT_EQ(text(pkPk, Column::Minimum), text(pkPk, Column::Last));
  EXPECT_EQ(text(pkPk, Column::Maximum), text(pkPk, Column::Last));
  EXPECT_EQ(text(pkPk, Column::StandardDeviation), core::PanelTextOf(pkPk, 0.0));
  EXPECT_EQ(text(pkPk, Column::Count), QStringLiteral("20"));
  EXPECT_EQ(text(core::Reading::Frequency, Column::Last), PanelText("Ch1Freq"));
  EXPECT_EQ(text(core::Reading::Frequency, Column::Count), QStringLiteral("20"));
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
}

// The measurement panel's value labels in the order of the log's columns.
constexpr const char* PanelLabels[2][core::ReadingCount] = {
    {"CH1Max", "CH1Min", "CH1PkPk", "CH1Mean", "Ch1RMS", "CH1Period", "Ch1Freq", "CH1PosPulseWidth",
     "Ch1NegPulseWidth", "CH1DutyCyle"},
    {"CH2Max", "Ch2Min", "CH2PkPk", "Ch2Mean", "Ch2RMS", "Ch2Period", "Ch2Freq", "CH2pulsewidth", "CH2NegPulseWidth",
     "CH2DutyCyc"},
};

// A field of a log line (volts, seconds, hertz, percent) as the panel
// writes that reading (10 mV, microseconds, hertz, percent).
QString PanelTextOfField(core::Reading reading, const QString& field) {
  const double value = field.toDouble();
  switch (core::InfoOf(reading).unit) {
    case core::ReadingUnit::TenMillivolts: return core::PanelTextOf(reading, value * 100);
    case core::ReadingUnit::Microseconds: return core::PanelTextOf(reading, value * 1e6);
    default: return core::PanelTextOf(reading, value);
  }
}

QStringList LogLines(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QStringList lines = text_lines::SplitLines(QString::fromUtf8(file.readAll()));
  while (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  return lines;
}

TEST_F(AnalysisWindow, AHundredLoggedRecordsGiveAHundredLinesOfThePanelsReadings) {
  const QString path = dir_.filePath(QStringLiteral("log.csv"));
  w.ui.saveAnswers.push_back(path);
  scope.ChooseMenuItem(QStringLiteral("LogMeasurements1"));
  ASSERT_TRUE(w.ui.errors.isEmpty()) << Errors();
  struct Seen {
    std::uint64_t sequence;
    QString frequency;
    std::array<QStringList, 2> panel;  // every value label of each channel
    std::array<bool, 2> on;
  };
  std::vector<Seen> seen;
  for (int i = 0; i < 100; ++i) {
    ASSERT_NO_FATAL_FAILURE(Capture());
    Seen s{scope.State().HeldRecord.sequence, PanelText("Ch1Freq"), {}, {}};
    for (int n = 0; n < 2; ++n) {
      for (const char* label : PanelLabels[n]) s.panel[std::size_t(n)] << PanelText(label);
      s.on[std::size_t(n)] = scope.State().ChannelOn[std::size_t(n + 1)] == 1;
    }
    seen.push_back(s);
  }
  // The readout counts the lines a few times a second.
  EXPECT_TRUE(WaitFor([&] { return LoggingText() == QStringLiteral("LOG 100"); }, 5000)) << LoggingText().toStdString();
  scope.ChooseMenuItem(QStringLiteral("StopLogging1"));
  ASSERT_NO_FATAL_FAILURE(Capture());  // after the stop: no line

  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QStringList lines = text_lines::SplitLines(QString::fromUtf8(file.readAll()));
  while (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  ASSERT_EQ(lines.size(), 1 + 100);
  // Local time, sequence, then CH1's readings in the panel's order.
  constexpr int FrequencyColumn = 2 + int(core::Reading::Frequency);
  ASSERT_TRUE(lines[0].section(u',', FrequencyColumn, FrequencyColumn).contains(QLatin1String("CH1 frequency")))
      << lines[0].toStdString();
  for (std::size_t i = 0; i < seen.size(); ++i) {
    const QString& line = lines[qsizetype(i) + 1];
    ASSERT_EQ(line.section(u',', 1, 1).toULongLong(), seen[i].sequence) << line.toStdString();
    bool ok = false;
    const double hertz = line.section(u',', FrequencyColumn, FrequencyColumn).toDouble(&ok);
    ASSERT_TRUE(ok) << line.toStdString();
    EXPECT_EQ(core::PanelTextOf(core::Reading::Frequency, hertz), seen[i].frequency) << line.toStdString();
    // Every reading of a channel that is on is the panel's, written in the
    // log's units; a channel that is off has empty fields.
    const QStringList fields = line.split(u',');
    ASSERT_EQ(fields.size(), 2 + 2 * core::ReadingCount) << line.toStdString();
    for (std::size_t n = 0; n < 2; ++n) {
      for (int k = 0; k < core::ReadingCount; ++k) {
        const QString& field = fields[2 + int(n) * core::ReadingCount + k];
        const auto reading = static_cast<core::Reading>(k);
        if (!seen[i].on[n]) {
          EXPECT_TRUE(field.isEmpty()) << line.toStdString();
          continue;
        }
        const QString panel = seen[i].panel[n][k];
        if (field.isEmpty())
          EXPECT_EQ(panel, QStringLiteral("No Cycle")) << "CH" << n + 1 << " reading " << k << ": " << line.toStdString();
        else
          EXPECT_EQ(PanelTextOfField(reading, field), panel) << "CH" << n + 1 << " reading " << k << ": " << line.toStdString();
      }
    }
  }
  EXPECT_TRUE(seen.front().on[0]);
}

TEST_F(AnalysisWindow, ALogThatCannotBeCreatedIsAnErrorAndAcquisitionGoesOn) {
  // A folder nobody may create files in, root included.
  w.ui.saveAnswers.push_back(QStringLiteral("/proc/tessaron-log.csv"));
  scope.ChooseMenuItem(QStringLiteral("LogMeasurements1"));
  EXPECT_EQ(w.ui.errors.size(), 1);
  EXPECT_TRUE(scope.Find<QLabel>(QStringLiteral("LoggingReadout"))->isHidden());
  w.ui.errors.clear();
  ASSERT_NO_FATAL_FAILURE(Capture());
  ASSERT_NO_FATAL_FAILURE(Capture());
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
}

TEST_F(AnalysisWindow, ALogInAReadOnlyFolderIsRefusedWithAMessageWhileAContinuousRunGoesOn) {
  // A user cannot create files in a folder of mode 0555; root can, but not
  // in /sys, where no one creates files (a read-only mount for root is in
  // tests/core).
  QString folder = dir_.filePath(QStringLiteral("read-only"));
  ASSERT_TRUE(QDir().mkpath(folder));
  if (::geteuid() == 0)
    folder = QStringLiteral("/sys");
  else
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
  const QString path = folder + QStringLiteral("/log.csv");
  scope.ChooseContinuous();
  scope.PressRun();
  ASSERT_TRUE(WaitFor([&] { return Sequence() >= 2; }, 20000));
  w.ui.saveAnswers.push_back(path);
  scope.ChooseMenuItem(QStringLiteral("LogMeasurements1"));
  ASSERT_EQ(w.ui.errors.size(), 1);
  EXPECT_TRUE(w.ui.errors.front().startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(path))) << Errors();
  EXPECT_TRUE(w.ui.errors.front().contains(QLatin1String("Permission denied")) ||
              w.ui.errors.front().contains(QLatin1String("Read-only file system")))
      << Errors();
  EXPECT_FALSE(LoggingShown());
  const std::uint64_t atMessage = Sequence();
  ASSERT_TRUE(WaitFor([&] { return Sequence() >= atMessage + 5; }, 20000)) << "acquisition stopped";
  EXPECT_EQ(scope.State().Running, 1);
  scope.PressRun();
  ASSERT_TRUE(WaitFor([&] { return scope.State().Running == 0 && scope.State().AwaitingData == 0; }, 20000));
  EXPECT_EQ(w.ui.errors.size(), 1) << Errors();
  EXPECT_FALSE(QFile::exists(path));
  if (::geteuid() != 0) ::chmod(QFile::encodeName(folder).constData(), 0755);
}

// The log's descriptor is turned to /dev/full, where every write fails with
// ENOSPC exactly as on a disk that has filled: it needs no mount, so it runs
// wherever the tests do (the log itself on a small tmpfs that fills is in
// tests/core).
void FillDiskUnder(const QString& path) {
  const QString target = QFileInfo(path).canonicalFilePath();
  const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
  ASSERT_GE(full, 0) << std::strerror(errno);
  const QByteArray wanted = QFile::encodeName(target);
  int turned = 0;
  for (const QString& name : QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::System)) {
    bool number = false;
    const int fd = name.toInt(&number);
    if (!number || fd == full) continue;
    char link[4096];
    const ssize_t length = ::readlink(QFile::encodeName(QStringLiteral("/proc/self/fd/") + name).constData(), link,
                                      sizeof link);
    if (length <= 0 || QByteArray(link, length) != wanted) continue;
    ASSERT_EQ(::dup3(full, fd, O_CLOEXEC), fd) << std::strerror(errno);
    ++turned;
  }
  ::close(full);
  ASSERT_EQ(turned, 1) << "the log's file is open once";
}

TEST_F(AnalysisWindow, AFullDiskStopsTheLogWithAMessageWhileAContinuousRunGoesOn) {
  const QString path = dir_.filePath(QStringLiteral("full.csv"));
  w.ui.saveAnswers.push_back(path);
  scope.ChooseMenuItem(QStringLiteral("LogMeasurements1"));
  ASSERT_TRUE(w.ui.errors.isEmpty()) << Errors();
  scope.ChooseContinuous();
  scope.PressRun();
  ASSERT_TRUE(WaitFor([&] { return LoggingText().mid(4).toInt() >= 3; }, 20000)) << LoggingText().toStdString();
  ASSERT_NO_FATAL_FAILURE(FillDiskUnder(path));
  ASSERT_TRUE(WaitFor([&] { return !w.ui.errors.isEmpty(); }, 20000));
  const std::uint64_t atMessage = Sequence();
  ASSERT_TRUE(WaitFor([&] { return Sequence() >= atMessage + 5; }, 20000)) << "acquisition stopped with the log";
  EXPECT_EQ(scope.State().Running, 1);
  scope.PressRun();
  ASSERT_TRUE(WaitFor([&] { return scope.State().Running == 0 && scope.State().AwaitingData == 0; }, 20000));

  ASSERT_EQ(w.ui.errors.size(), 1) << Errors();
  const QString message = w.ui.errors.front();
  EXPECT_TRUE(message.startsWith(QStringLiteral("Logging to \"%1\" stopped after ").arg(path))) << Errors();
  EXPECT_TRUE(message.endsWith(QStringLiteral(": cannot write to the file. %1").arg(QString::fromLocal8Bit(std::strerror(ENOSPC)))))
      << Errors();
  EXPECT_FALSE(LoggingShown());
  // What was written before the disk filled parses: the header, then a line
  // a record with the link's sequence numbers one after another.
  const QStringList lines = LogLines(path);
  ASSERT_GE(lines.size(), 1 + 3);
  EXPECT_EQ(lines[0], core::LogHeaderLine());
  EXPECT_TRUE(message.contains(QStringLiteral(" after %1 lines").arg(lines.size() - 1))) << Errors();
  for (int i = 1; i < lines.size(); ++i) {
    const QStringList fields = lines[i].split(u',');
    ASSERT_EQ(fields.size(), 2 + 2 * core::ReadingCount) << lines[i].toStdString();
    if (i > 1) {
      EXPECT_EQ(fields[1].toULongLong(), lines[i - 1].section(u',', 1, 1).toULongLong() + 1);
    }
  }
}

}  // namespace

// The "Analysis" menu on the real window with records of the simulated
// instrument: the statistics window after a run of records of a steady
// square wave, and the measurement log's lines against the panel's readings
// of the same records, and a log that cannot be written.

#include "analysis/StatisticsWindow.h"
#include "core/MeasurementStatistics.h"
#include "storage/TextLines.h"
#include "support/SquareWaveWindow.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <vector>

namespace {

constexpr int Volts1V = 270;
constexpr int Time1ms = 210;

class AnalysisWindow : public SquareWaveWindow {
 protected:
  AnalysisWindow() {
    Knob(1, Volts1V);
    TimeKnob(Time1ms);
    if (scope.State().AutoMeasOn != 1) scope.ChooseMenuItem(QStringLiteral("AutoMeasurementsON1"));
  }
  QString PanelText(const char* name) const { return scope.Find<QLabel>(QLatin1String(name))->text(); }

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

TEST_F(AnalysisWindow, AHundredLoggedRecordsGiveAHundredLinesOfThePanelsReadings) {
  const QString path = dir_.filePath(QStringLiteral("log.csv"));
  w.ui.saveAnswers.push_back(path);
  scope.ChooseMenuItem(QStringLiteral("LogMeasurements1"));
  ASSERT_TRUE(w.ui.errors.isEmpty()) << Errors();
  struct Seen {
    std::uint64_t sequence;
    QString frequency;
  };
  std::vector<Seen> seen;
  for (int i = 0; i < 100; ++i) {
    ASSERT_NO_FATAL_FAILURE(Capture());
    seen.push_back({scope.State().HeldRecord.sequence, PanelText("Ch1Freq")});
  }
  EXPECT_EQ(scope.Find<QLabel>(QStringLiteral("LoggingReadout"))->text(), QStringLiteral("LOG 100"));
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
  }
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

}  // namespace

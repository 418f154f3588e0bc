// The two windows of numbers over time, offscreen: the statistics window
// shows the statistics' own texts after known records and clears on Reset;
// the trend plot shows the points it was given, zooms and pans its time
// axis with the wheel and a drag, names the point under the pointer, and
// reads a measurement log file (a bad one goes to the error box).
#include <gtest/gtest.h>

#include "analysis/ReadingNames.h"
#include "analysis/StatisticsWindow.h"
#include "analysis/TrendPlot.h"
#include "analysis/TrendView.h"
#include "app/UiServices.h"
#include "core/MeasurementLog.h"
#include "core/MeasurementStatistics.h"
#include "core/RecordReadings.h"
#include "support/Mouse.h"
#include "support/QtPrint.h"
#include "support/WaitFor.h"

#include "SquareRecord.h"
#include "TrendPrint.h"

#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <memory>

namespace {

using analysis::StatisticsWindow;
using analysis::TrendPlot;
using core::Reading;

// Both channels on, CH2 as told; `count` records of a square wave of
// `period` samples, one a second.
std::vector<core::Record> Records(int count, int period, bool ch2On = true, int firstSequence = 1) {
  std::vector<core::Record> records;
  const core::PanelSettings panel = SquarePanel(ch2On);
  for (int i = 0; i < count; ++i)
    records.push_back(SquareRecord(panel, period, static_cast<std::uint64_t>(firstSequence + i),
                                   StartTime().addSecs(firstSequence + i)));
  return records;
}

void ExpectShowsTheStatistics(const StatisticsWindow& w, const core::MeasurementStatistics& s) {
  for (int channel = 1; channel <= 2; ++channel)
    for (const analysis::ReadingName& name : analysis::ReadingNames) {
      SCOPED_TRACE(QStringLiteral("CH%1 %2").arg(channel).arg(analysis::CaptionOf(name.reading)).toStdString());
      const core::StatisticTexts t = s.TextsOf(channel, name.reading);
      if (t.count.isEmpty()) {
        for (int column = StatisticsWindow::Last; column < StatisticsWindow::Count; ++column)
          EXPECT_EQ(w.Text(channel, name.reading, static_cast<StatisticsWindow::Column>(column)), "-");
        EXPECT_EQ(w.Text(channel, name.reading, StatisticsWindow::Count), "0");
        continue;
      }
      EXPECT_EQ(w.Text(channel, name.reading, StatisticsWindow::Last), t.last);
      EXPECT_EQ(w.Text(channel, name.reading, StatisticsWindow::Mean), t.mean);
      EXPECT_EQ(w.Text(channel, name.reading, StatisticsWindow::Minimum), t.minimum);
      EXPECT_EQ(w.Text(channel, name.reading, StatisticsWindow::Maximum), t.maximum);
      EXPECT_EQ(w.Text(channel, name.reading, StatisticsWindow::StandardDeviation), t.standardDeviation);
      EXPECT_EQ(w.Text(channel, name.reading, StatisticsWindow::Count), t.count);
    }
}

TEST(StatisticsWindow, ShowsTheStatisticsTextsAndClearsOnReset) {
  core::MeasurementStatistics statistics;
  StatisticsWindow w(statistics);
  w.show();
  ASSERT_TRUE(w.isWindow());
  EXPECT_EQ(w.windowTitle(), "Measurement Statistics");
  ExpectShowsTheStatistics(w, statistics);

  // Twenty records of a steady square wave with CH2 off: mean = last,
  // no spread, count 20; nothing of CH2.
  for (const core::Record& r : Records(20, 10, false)) {
    statistics.Add(r, core::ReadingsOf(r));
    w.Refresh();
  }
  EXPECT_EQ(w.Text(1, Reading::Period, StatisticsWindow::Last), "20 us");
  EXPECT_EQ(w.Text(1, Reading::Period, StatisticsWindow::Mean), "20 us");
  EXPECT_EQ(w.Text(1, Reading::Period, StatisticsWindow::StandardDeviation), "0 us");
  EXPECT_EQ(w.Text(1, Reading::Period, StatisticsWindow::Count), "20");
  EXPECT_EQ(w.Text(1, Reading::DutyCycle, StatisticsWindow::Mean), "50%");
  EXPECT_EQ(w.Text(2, Reading::Maximum, StatisticsWindow::Last), "-");
  EXPECT_EQ(w.Text(2, Reading::Maximum, StatisticsWindow::Count), "0");
  EXPECT_EQ(w.RecordsText(), "Records since the last reset: 20");
  ExpectShowsTheStatistics(w, statistics);

  // Then a flat trace (no cycle: its period is not counted) and waves of
  // other periods.
  for (const int period : {0, 20, 30}) {
    const core::Record r = Records(1, period, false, 21)[0];
    statistics.Add(r, core::ReadingsOf(r));
  }
  w.Refresh();
  EXPECT_EQ(w.Text(1, Reading::Period, StatisticsWindow::Count), "22");
  EXPECT_EQ(w.Text(1, Reading::Period, StatisticsWindow::Maximum), "60 us");
  EXPECT_EQ(w.Text(1, Reading::PeakToPeak, StatisticsWindow::Count), "23");
  ExpectShowsTheStatistics(w, statistics);

  QSignalSpy reset(&w, &StatisticsWindow::resetDone);
  w.ResetButton()->click();
  EXPECT_EQ(reset.count(), 1);
  EXPECT_EQ(statistics.Records(), 0);
  EXPECT_EQ(w.Text(1, Reading::Period, StatisticsWindow::Last), "-");
  EXPECT_EQ(w.Text(1, Reading::Period, StatisticsWindow::Count), "0");
  EXPECT_EQ(w.RecordsText(), "Records since the last reset: 0");
  ExpectShowsTheStatistics(w, statistics);
}

// The cells keep their size while their texts change; a text wider than
// any before widens its cell rather than being cut (here the record count
// past a million).
TEST(StatisticsWindow, EveryTextFitsItsLabelAsTheNumbersGrow) {
  core::MeasurementStatistics statistics;
  StatisticsWindow w(statistics);
  w.show();
  const core::Record r = Records(1, 10)[0];
  const core::ReadingKey key = core::ReadingKeyOf(r);
  const std::array<core::ChannelReadings, 2> readings = core::ReadingsOf(r);
  for (const int records : {1, 1000, 1000000}) {
    while (statistics.Records() < records) statistics.Add(key, readings);
    w.Refresh();
    EXPECT_EQ(w.RecordsText(), QStringLiteral("Records since the last reset: %1").arg(records));
    for (const QLabel* label : w.findChildren<QLabel*>()) {
      SCOPED_TRACE(label->text().toStdString());
      EXPECT_GE(label->width(), label->sizeHint().width());
      EXPECT_GE(label->height(), label->fontMetrics().height());
    }
  }
}

TEST(StatisticsWindow, AHiddenWindowCatchesUpWhenShown) {
  core::MeasurementStatistics statistics;
  StatisticsWindow w(statistics);
  for (const core::Record& r : Records(3, 10)) {
    statistics.Add(r, core::ReadingsOf(r));
    w.Refresh();
  }
  // Hidden, it spent nothing on the records: it still shows none.
  EXPECT_EQ(w.Text(1, Reading::Mean, StatisticsWindow::Count), "0");
  w.show();
  EXPECT_EQ(w.Text(1, Reading::Mean, StatisticsWindow::Count), "3");
  ExpectShowsTheStatistics(w, statistics);
}

// The trend plot shown, with `count` rows of a frequency rising by 10 Hz a
// row, a row every 100 ms, and its first redraw waited for.
struct ShownPlot {
  explicit ShownPlot(int count) : plot(ui) {
    plot.resize(900, 600);
    plot.show();
    Add(count);
  }
  void Add(int count) {
    for (int i = 0; i < count; ++i, ++added) {
      analysis::TrendRow row;
      row.timeMs = start + added * 100.0;
      row.sequence = static_cast<std::uint64_t>(added + 1);
      row.channels[0][static_cast<std::size_t>(Reading::Frequency)] = 1000 + added * 10;
      row.channels[1][static_cast<std::size_t>(Reading::Mean)] = -0.5 * added;
      plot.AddRow(row);
    }
    const int expected = added;
    EXPECT_TRUE(WaitFor([&] { return plot.PlottedPoints(0) == expected; }));
  }
  double Width() const { return plot.TimeSpan()->Width(); }
  QWidget* Viewport() const { return plot.ChartView()->viewport(); }
  QPoint PlotCentre() const {
    const QRectF area = plot.ChartView()->chart()->plotArea();
    return plot.ChartView()->mapFromScene(plot.ChartView()->chart()->mapToScene(area.center()));
  }

  ScriptedUi ui;
  TrendPlot plot;
  const double start = static_cast<double>(StartTime().toMSecsSinceEpoch());
  int added = 0;
};

void Hover(QWidget* viewport, QPoint at) {
  QMouseEvent move(QEvent::MouseMove, QPointF(at), viewport->mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QCoreApplication::sendEvent(viewport, &move);
}

void Wheel(QWidget* viewport, QPoint at, int angleDelta) {
  QWheelEvent wheel(QPointF(at), viewport->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, angleDelta), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(viewport, &wheel);
}

TEST(TrendPlot, ShowsThePointsItWasGivenAndFollowsThem) {
  ShownPlot p(30);
  EXPECT_EQ(p.plot.windowTitle(), "Trend Plot");
  EXPECT_EQ(p.plot.VisibleSeries(), 1);
  EXPECT_EQ(p.plot.TimeSpan(), (analysis::Span{p.start, p.start + 2900}));
  EXPECT_TRUE(p.plot.Following());

  // A second reading of the other channel.
  p.plot.SetChoice(1, 2, Reading::Mean);
  EXPECT_EQ(p.plot.VisibleSeries(), 2);
  EXPECT_EQ(p.plot.PlottedPoints(1), 30);

  // A record is taken at once, drawn at the next redraw.
  p.plot.AddRow({.timeMs = p.start + 3000, .sequence = 31, .channels = {}});
  EXPECT_EQ(p.plot.Recent().Rows(), 31);
  EXPECT_EQ(p.plot.PlottedPoints(0), 30);
  p.Add(10);
  EXPECT_EQ(p.plot.PlottedPoints(1), 40);
  // Following: the time axis takes in the new points.
  EXPECT_EQ(p.plot.TimeSpan(), (analysis::Span{p.start, p.start + 3900}));

  p.plot.SetChoice(1, 0, Reading::Mean);
  EXPECT_EQ(p.plot.VisibleSeries(), 1);
}

TEST(TrendPlot, TheRecentRingKeepsItsCapacity) {
  ScriptedUi ui;
  TrendPlot plot(ui, 50);
  plot.show();
  for (int i = 0; i < 80; ++i) {
    analysis::TrendRow row{.timeMs = 1000.0 * i, .sequence = static_cast<std::uint64_t>(i + 1), .channels = {}};
    row.channels[0][static_cast<std::size_t>(Reading::Frequency)] = i;
    plot.AddRow(row);
  }
  ASSERT_TRUE(WaitFor([&] { return plot.PlottedPoints(0) == 50; }));
  EXPECT_EQ(plot.TimeSpan(), (analysis::Span{30000, 79000}));
}

TEST(TrendPlot, WheelZoomsAndDragPansTheTimeAxis) {
  ShownPlot p(101);  // ten seconds
  const QPoint centre = p.PlotCentre();
  const analysis::Span fitted = *p.plot.TimeSpan();

  // A notch away from the user zooms in about the pointer.
  Wheel(p.Viewport(), centre, analysis::WheelNotch);
  EXPECT_FALSE(p.plot.Following());
  const analysis::Span zoomed = *p.plot.TimeSpan();
  EXPECT_NEAR(zoomed.Width(), fitted.Width() * analysis::NotchZoom, 1e-6);
  const double middle = (fitted.first + fitted.last) / 2;
  EXPECT_NEAR((zoomed.first + zoomed.last) / 2, middle, fitted.Width() * 0.02);
  // And back out.
  Wheel(p.Viewport(), centre, -analysis::WheelNotch);
  EXPECT_NEAR(p.Width(), fitted.Width(), 1e-6);

  // A drag to the right brings earlier times into view, by the distance
  // dragged on the time axis's scale.
  Wheel(p.Viewport(), centre, 2 * analysis::WheelNotch);
  const analysis::Span before = *p.plot.TimeSpan();
  const double msPerPixel = before.Width() / p.plot.ChartView()->chart()->plotArea().width();
  SendMouse(p.Viewport(), QEvent::MouseButtonPress, centre);
  SendMouse(p.Viewport(), QEvent::MouseMove, centre + QPoint(40, 0));
  SendMouse(p.Viewport(), QEvent::MouseMove, centre + QPoint(100, 5));
  SendMouse(p.Viewport(), QEvent::MouseButtonRelease, centre + QPoint(100, 5));
  const analysis::Span panned = *p.plot.TimeSpan();
  EXPECT_NEAR(panned.first, before.first - 100 * msPerPixel, 1e-3);
  EXPECT_NEAR(panned.Width(), before.Width(), 1e-6);

  // New points leave a zoomed view where it is; Fit shows them all again.
  p.Add(20);
  EXPECT_EQ(p.plot.TimeSpan(), panned);
  p.plot.FitButton()->click();
  EXPECT_TRUE(p.plot.Following());
  EXPECT_EQ(p.plot.TimeSpan(), (analysis::Span{p.start, p.start + 12000}));
}

TEST(TrendPlot, ReadoutNamesTheNearestPoint) {
  ShownPlot p(21);
  p.plot.SetChoice(1, 2, Reading::Mean);
  const auto& frequency = p.plot.Recent().Series(1, Reading::Frequency);
  const auto& mean = p.plot.Recent().Series(2, Reading::Mean);
  struct Case {
    const char* name;
    std::size_t index;
    QPoint offset;
  };
  const Case cases[] = {
      {"on a point", 7, {0, 0}},
      {"a little to its right", 12, {3, 0}},
      {"a little to its left and far above", 15, {-3, -60}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Hover(p.Viewport(), p.plot.PositionOf(0, frequency.At(c.index)) + c.offset);
    EXPECT_EQ(p.plot.Readout(), analysis::ReadoutText(1, Reading::Frequency, frequency.At(c.index)) + "    " +
                                    analysis::ReadoutText(2, Reading::Mean, mean.At(c.index)));
  }
  EXPECT_TRUE(p.plot.Readout().contains("CH1 Frequency at 2025-03-01 12:00:01.750: 1.15 KHz"));
  // Outside the plot there is nothing under the pointer.
  Hover(p.Viewport(), QPoint(1, 1));
  EXPECT_EQ(p.plot.Readout(), QString());
}

TEST(TrendPlot, ShowsAMeasurementLogAndRefusesABadOne) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("log.csv"));
  {
    core::MeasurementLog log;
    ASSERT_EQ(log.Start(path), QString());
    for (const core::Record& r : Records(25, 10)) ASSERT_TRUE(log.Append(r, core::ReadingsOf(r)));
  }
  ShownPlot p(5);
  p.plot.SetChoice(0, 1, Reading::Period);
  p.ui.openAnswers = {path};
  p.plot.OpenLog();
  EXPECT_TRUE(p.ui.errors.isEmpty()) << p.ui.errors.join(' ').toStdString();
  ASSERT_TRUE(p.plot.ShowingLog());
  EXPECT_EQ(p.plot.PlottedPoints(0), 25);
  EXPECT_EQ(p.plot.SourceText(), "Log log.csv: 25 records");
  // Records one a second from second 1.
  const double first = static_cast<double>(StartTime().addSecs(1).toMSecsSinceEpoch());
  EXPECT_EQ(p.plot.TimeSpan(), (analysis::Span{first, first + 24000}));
  // Records that come meanwhile join the recent trend, not the log's.
  analysis::TrendRow meanwhile{.timeMs = p.start + 1e6, .sequence = 99, .channels = {}};
  meanwhile.channels[0][static_cast<std::size_t>(Reading::Period)] = 1;
  p.plot.AddRow(meanwhile);
  EXPECT_EQ(p.plot.Recent().Rows(), 6);
  p.plot.Fit();
  EXPECT_EQ(p.plot.PlottedPoints(0), 25);
  EXPECT_EQ(p.plot.TimeSpan(), (analysis::Span{first, first + 24000}));

  // A file that is not a log: the error box, and the log stays shown.
  const QString other = dir.filePath(QStringLiteral("other.csv"));
  QFile file(other);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("time,value\n1,2\n");
  file.close();
  p.ui.openAnswers = {other};
  p.plot.OpenLog();
  ASSERT_EQ(p.ui.errors.size(), 1);
  EXPECT_EQ(p.ui.errors[0],
            "Line 1 of the measurement log: the columns are not those of a measurement log; nothing was opened");
  EXPECT_EQ(p.plot.PlottedPoints(0), 25);
  // Cancelling the dialog does nothing.
  p.plot.OpenLog();
  EXPECT_EQ(p.ui.errors.size(), 1);

  p.plot.ShowRecent();
  EXPECT_FALSE(p.plot.ShowingLog());
  EXPECT_EQ(p.plot.PlottedPoints(0), 1);  // the one recent row with a period
  p.plot.SetChoice(0, 1, Reading::Frequency);
  EXPECT_EQ(p.plot.PlottedPoints(0), 5);
}

}  // namespace

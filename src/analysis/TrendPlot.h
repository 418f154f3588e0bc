#pragma once
// "Trend Plot": a window of its own that plots one chosen reading, or two,
// against time, for the recent records (the last ten thousand by default)
// or for the records of a measurement log file. The wheel zooms the time
// axis about the pointer, a drag pans it, "Fit" shows every point again and
// follows the new ones; the readout names the time and value of the point
// nearest the pointer.
//
// Records are taken as they come (AddRecord appends a point to each
// reading's ring at once); the chart is redrawn at most every
// RedrawIntervalMs, and not while the window is hidden.
//
// Qt Charts draws the axes, the grid and the lines; this class only says
// what to show.

#include "analysis/TrendHistory.h"
#include "analysis/TrendRow.h"
#include "analysis/TrendSeries.h"
#include "core/MeasurementStatistics.h"
#include "core/Record.h"
#include "core/RecordReadings.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>

class QChart;
class QChartView;
class QComboBox;
class QDateTimeAxis;
class QHBoxLayout;
class QLabel;
class QLineSeries;
class QPushButton;
class QValueAxis;
class UiServices;

namespace analysis {

class TrendChartView;

class TrendPlot : public QWidget {
  Q_OBJECT

 public:
  static constexpr int RedrawIntervalMs = 100;
  // A log shows at most its last this many records.
  static constexpr std::size_t LogCapacity = 100000;
  // The two plotted readings: the first always, the second when chosen.
  static constexpr int SlotCount = 2;

  explicit TrendPlot(UiServices& ui, std::size_t recentCapacity = TrendSeries::DefaultCapacity,
                     QWidget* parent = nullptr);
  ~TrendPlot() override;

  // What a slot plots: channel 1 or 2 and a reading; channel 0 leaves the
  // second slot empty. Another channel, or 0 for the first, is a ScopeError.
  void SetChoice(int slot, int channel, core::Reading reading);
  // Reads the log file in place of the recent records; throws ScopeError
  // (and keeps what was shown) when it cannot be read.
  void ShowLog(const QString& path);
  bool ShowingLog() const { return showingLog_; }

  // For the tests: what the chart holds now.
  int VisibleSeries() const;
  int PlottedPoints(int slot) const;
  std::optional<Span> TimeSpan() const { return view_; }
  bool Following() const { return following_; }
  QString Readout() const;
  QString SourceText() const;
  QChartView* ChartView() const;
  QPushButton* FitButton() const { return fit_; }
  // The viewport position of a point of a slot's series (where a pointer
  // over it would be).
  QPoint PositionOf(int slot, const TrendPoint& point) const;
  const TrendHistory& Recent() const { return recent_; }

 public Q_SLOTS:
  // A record has arrived: its readings join the recent trend.
  void AddRecord(const core::Record& record, const std::array<core::ChannelReadings, 2>& readings);
  void AddRow(const analysis::TrendRow& row);
  // Shows the recent records again after a log.
  void ShowRecent();
  // Asks for a log file and shows it; a fault goes to the error box.
  void OpenLog();
  // Shows every point and follows the new ones.
  void Fit();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  friend class TrendChartView;
  struct Slot {
    int channel = 1;  // 0: nothing plotted
    core::Reading reading = core::Reading::Frequency;
    QLineSeries* line = nullptr;
    QValueAxis* values = nullptr;
    QComboBox* channelBox = nullptr;
    QComboBox* readingBox = nullptr;
  };

  // The parts of the window, made once by the constructor in this order.
  void BuildChart();
  QHBoxLayout* BuildChoices();
  QHBoxLayout* BuildSourceRow();

  const TrendHistory& Shown() const { return showingLog_ ? *log_ : recent_; }
  const TrendSeries* SeriesOf(const Slot& slot) const;
  void ScheduleRedraw();
  void Redraw();
  void ApplyView();
  void ChoiceChanged(int slot);
  void UpdateSource();

  // From the chart view: the pointer's time, a wheel turn at a time, a drag
  // of so many pixels, the pointer somewhere over the plot.
  void WheelAt(double time, int angleDelta);
  void DragBy(double pixels);
  void PointerAt(const QPointF& viewportPosition);
  std::optional<double> TimeAt(const QPointF& viewportPosition) const;

  UiServices& ui_;
  TrendHistory recent_;
  std::unique_ptr<TrendHistory> log_;
  QString logPath_;
  bool showingLog_ = false;

  QChart* chart_ = nullptr;
  TrendChartView* chartView_ = nullptr;
  QDateTimeAxis* times_ = nullptr;
  std::array<Slot, SlotCount> slots_{};
  QLabel* source_ = nullptr;
  QLabel* readout_ = nullptr;
  QPushButton* fit_ = nullptr;

  std::optional<Span> view_;
  bool following_ = true;
  bool dataChanged_ = true;
  QTimer redraw_;
};

}  // namespace analysis

#pragma once
// "Measurement Statistics": a window of its own with, for each of the twenty
// readings, the last value, mean, minimum, maximum, standard deviation and
// count since the last reset, written as the measurement panel writes them
// (core::MeasurementStatistics::TextsOf). It shows the statistics its holder
// keeps and reads them again when told (Refresh, after each record); Reset
// clears them.
//
// It costs what the panel costs: its labels are made once, each of a fixed
// size (widened only for a text that would not fit), so a refresh only
// repaints the cells whose texts changed and never lays the table out again;
// a hidden window does not refresh at all until it is shown.

#include "core/MeasurementStatistics.h"

#include <QWidget>

#include <array>

class QLabel;
class QPushButton;

namespace analysis {

class StatisticsWindow : public QWidget {
  Q_OBJECT

 public:
  // What each row shows, in column order.
  enum Column { Last, Mean, Minimum, Maximum, StandardDeviation, Count };
  static constexpr int ColumnCount = 6;

  explicit StatisticsWindow(core::MeasurementStatistics& statistics, QWidget* parent = nullptr);

  // The text shown for a reading of channel 1 or 2 (tests; a channel out of
  // range is a ScopeError).
  QString Text(int channel, core::Reading reading, Column column) const;
  QString RecordsText() const;
  QPushButton* ResetButton() const { return reset_; }
  // The decimal separator the frequencies are written with (the panel's).
  void SetDecimalPoint(const QString& point);

 public Q_SLOTS:
  // Reads the statistics again (a record was added, or they were reset).
  void Refresh();
  // Clears the statistics and shows them cleared.
  void Reset();

 Q_SIGNALS:
  // The user pressed Reset: the statistics have been cleared.
  void resetDone();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Fill();
  QLabel* Cell(int channel, core::Reading reading, Column column) const;

  core::MeasurementStatistics& statistics_;
  std::array<std::array<std::array<QLabel*, ColumnCount>, core::ReadingCount>, 2> cells_{};
  QLabel* records_ = nullptr;
  QPushButton* reset_ = nullptr;
  QString decimalPoint_ = QStringLiteral(".");
};

}  // namespace analysis

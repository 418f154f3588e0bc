#include "analysis/StatisticsWindow.h"

#include "analysis/ReadingNames.h"
#include "app/Errors.h"
#include "display/SampleRows.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace analysis {

namespace {

// Shown where nothing has been counted.
const QString NothingCounted = QStringLiteral("-");

constexpr const char* ColumnTitles[StatisticsWindow::ColumnCount] = {"Last", "Mean", "Min", "Max", "Std Dev", "Count"};

// A label whose size is fixed repaints itself alone when its text changes;
// one of free size asks its layout again, and the layout then measures every
// changed text of the table once more, four times a second while records
// arrive. So each cell is pinned, at least `width` wide, and widened only for
// a text that would not fit.
void PinSize(QLabel* label, int width) {
  const QSize hint = label->sizeHint();
  label->setFixedSize(std::max(width, hint.width()), std::max(hint.height(), label->fontMetrics().height()));
}

void Show(QLabel* label, const QString& text) {
  if (label->text() == text) return;
  label->setText(text);
  // The advance plus a pixel each side for the glyphs' overhang; the label's
  // own hint, which lays the text out, only when that is near the edge.
  if (label->fontMetrics().horizontalAdvance(text) + 2 > label->width()) {
    label->setMinimumWidth(0);
    label->setMaximumWidth(QWIDGETSIZE_MAX);
    PinSize(label, label->width());
  }
}

QColor ChannelColour(int channel) {
  const screen_model::Rgb c = screen_model::RgbOf(channel == 1 ? screen_model::CH1Color : screen_model::CH2Color);
  return QColor(c.red, c.green, c.blue);
}

}  // namespace

StatisticsWindow::StatisticsWindow(core::MeasurementStatistics& statistics, QWidget* parent)
    : QWidget(parent, Qt::Window), statistics_(statistics) {
  setWindowTitle(QStringLiteral("Measurement Statistics"));
  setObjectName(QStringLiteral("StatisticsWindow"));
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(14);
  int row = 0;
  for (int column = 0; column < ColumnCount; ++column) {
    auto* title = new QLabel(QString::fromLatin1(ColumnTitles[column]), this);
    title->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    grid->addWidget(title, row, column + 1);
  }
  ++row;
  for (int channel = 1; channel <= 2; ++channel) {
    auto* heading = new QLabel(QStringLiteral("CH%1 Measurements").arg(channel), this);
    QPalette palette = heading->palette();
    palette.setColor(QPalette::WindowText, ChannelColour(channel));
    heading->setPalette(palette);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    grid->addWidget(heading, row++, 0, 1, ColumnCount + 1);
    for (const ReadingName& name : ReadingNames) {
      grid->addWidget(new QLabel(CaptionOf(name.reading), this), row, 0);
      auto& cells = cells_[static_cast<std::size_t>(channel - 1)][static_cast<std::size_t>(name.reading)];
      for (int column = 0; column < ColumnCount; ++column) {
        auto* cell = new QLabel(this);
        cell->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        cell->setPalette(palette);
        PinSize(cell, cell->fontMetrics().horizontalAdvance(QStringLiteral("-888.88 mV")));
        grid->addWidget(cell, row, column + 1);
        cells[static_cast<std::size_t>(column)] = cell;
      }
      ++row;
    }
  }
  records_ = new QLabel(this);
  PinSize(records_, records_->fontMetrics().horizontalAdvance(QStringLiteral("Records since the last reset: 888888")));
  reset_ = new QPushButton(QStringLiteral("Reset"), this);
  connect(reset_, &QPushButton::clicked, this, &StatisticsWindow::Reset);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(records_);
  bottom->addStretch();
  bottom->addWidget(reset_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(bottom);
  Fill();
}

QLabel* StatisticsWindow::Cell(int channel, core::Reading reading, Column column) const {
  if (channel < 1 || channel > 2) throw ScopeError(QStringLiteral("List index out of bounds (%1)").arg(channel));
  return cells_[static_cast<std::size_t>(channel - 1)][static_cast<std::size_t>(reading)]
               [static_cast<std::size_t>(column)];
}

QString StatisticsWindow::Text(int channel, core::Reading reading, Column column) const {
  return Cell(channel, reading, column)->text();
}

QString StatisticsWindow::RecordsText() const { return records_->text(); }

void StatisticsWindow::Refresh() {
  // A hidden window is brought up to date when it is shown.
  if (isVisible()) Fill();
}

void StatisticsWindow::Fill() {
  for (int channel = 1; channel <= 2; ++channel) {
    for (const ReadingName& name : ReadingNames) {
      const core::StatisticTexts t = statistics_.TextsOf(channel, name.reading, decimalPoint_);
      const bool counted = !t.count.isEmpty();
      const QString* texts[ColumnCount] = {&t.last, &t.mean, &t.minimum, &t.maximum, &t.standardDeviation, &t.count};
      for (int column = 0; column < ColumnCount; ++column) {
        const QString& shown = counted ? *texts[column] : column == Count ? QStringLiteral("0") : NothingCounted;
        Show(Cell(channel, name.reading, static_cast<Column>(column)), shown);
      }
    }
  }
  Show(records_, QStringLiteral("Records since the last reset: %1").arg(statistics_.Records()));
}

void StatisticsWindow::SetDecimalPoint(const QString& point) {
  decimalPoint_ = point;
  Refresh();
}

void StatisticsWindow::Reset() {
  statistics_.Reset();
  Refresh();
  Q_EMIT resetDone();
}

void StatisticsWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Refresh();
}

}  // namespace analysis

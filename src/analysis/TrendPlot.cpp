#include "analysis/TrendPlot.h"

#include "analysis/LogReader.h"
#include "analysis/ReadingNames.h"
#include "analysis/TrendView.h"
#include "app/Errors.h"
#include "app/UiServices.h"
#include "display/SampleRows.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPushButton>
#include <QValueAxis>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>

namespace analysis {

namespace {

QColor ChannelColour(int channel) {
  const screen_model::Rgb c = screen_model::RgbOf(channel == 1 ? screen_model::CH1Color : screen_model::CH2Color);
  return QColor(c.red, c.green, c.blue);
}

QDateTime TimeOf(double ms) { return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(std::llround(ms))); }

void CheckSlot(int slot) { CheckListIndex(slot, TrendPlot::SlotCount); }

}  // namespace

// The chart's view: hands the wheel, drags and the pointer to the plot.
class TrendChartView : public QChartView {
 public:
  TrendChartView(QChart* chart, TrendPlot& plot) : QChartView(chart), plot_(plot) {
    setMouseTracking(true);
    setRenderHint(QPainter::Antialiasing, false);
  }

 protected:
  void wheelEvent(QWheelEvent* event) override {
    if (const std::optional<double> time = plot_.TimeAt(event->position())) {
      plot_.WheelAt(*time, event->angleDelta().y());
      event->accept();
    }
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return;
    dragFrom_ = event->position().x();
    event->accept();
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    if (dragFrom_ && (event->buttons() & Qt::LeftButton)) {
      plot_.DragBy(event->position().x() - *dragFrom_);
      dragFrom_ = event->position().x();
    }
    plot_.PointerAt(event->position());
    event->accept();
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) dragFrom_.reset();
    event->accept();
  }

 private:
  TrendPlot& plot_;
  std::optional<double> dragFrom_;
};

TrendPlot::TrendPlot(UiServices& ui, std::size_t recentCapacity, QWidget* parent)
    : QWidget(parent, Qt::Window), ui_(ui), recent_(recentCapacity) {
  setWindowTitle(QStringLiteral("Trend Plot"));
  setObjectName(QStringLiteral("TrendPlot"));
  resize(820, 520);

  BuildChart();
  QHBoxLayout* choices = BuildChoices();
  QHBoxLayout* sourceRow = BuildSourceRow();
  readout_ = new QLabel(this);
  readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(sourceRow);
  layout->addLayout(choices);
  layout->addWidget(chartView_, 1);
  layout->addWidget(readout_);

  redraw_.setSingleShot(true);
  redraw_.setInterval(RedrawIntervalMs);
  connect(&redraw_, &QTimer::timeout, this, &TrendPlot::Redraw);
  ChoiceChanged(0);
  ChoiceChanged(1);
  UpdateSource();
}

// One time axis below, and a value axis of its own for each slot's line:
// two readings may differ in unit and in scale.
void TrendPlot::BuildChart() {
  chart_ = new QChart;
  chart_->legend()->setAlignment(Qt::AlignBottom);
  times_ = new QDateTimeAxis;
  times_->setTitleText(QStringLiteral("Time"));
  chart_->addAxis(times_, Qt::AlignBottom);
  const Qt::Alignment sides[SlotCount] = {Qt::AlignLeft, Qt::AlignRight};
  for (int n = 0; n < SlotCount; ++n) {
    Slot& s = slots_[static_cast<std::size_t>(n)];
    s.line = new QLineSeries;
    s.values = new QValueAxis;
    chart_->addAxis(s.values, sides[n]);
    chart_->addSeries(s.line);
    s.line->attachAxis(times_);
    s.line->attachAxis(s.values);
  }
  chartView_ = new TrendChartView(chart_, *this);
}

// The choice of each slot: a channel and a reading. The boxes are set
// before they are connected; the constructor applies both choices once.
QHBoxLayout* TrendPlot::BuildChoices() {
  auto* choices = new QHBoxLayout;
  for (int n = 0; n < SlotCount; ++n) {
    Slot& s = slots_[static_cast<std::size_t>(n)];
    s.channelBox = new QComboBox(this);
    if (n > 0) s.channelBox->addItem(QStringLiteral("None"), 0);
    s.channelBox->addItem(QStringLiteral("CH1"), 1);
    s.channelBox->addItem(QStringLiteral("CH2"), 2);
    s.readingBox = new QComboBox(this);
    for (const ReadingName& name : ReadingNames) s.readingBox->addItem(CaptionOf(name.reading));
    choices->addWidget(new QLabel(n == 0 ? QStringLiteral("Plot") : QStringLiteral("and"), this));
    choices->addWidget(s.channelBox);
    choices->addWidget(s.readingBox);
  }
  choices->addStretch();
  slots_[1].channel = 0;
  slots_[0].channelBox->setCurrentIndex(0);
  slots_[0].readingBox->setCurrentIndex(static_cast<int>(slots_[0].reading));
  slots_[1].channelBox->setCurrentIndex(0);
  slots_[1].readingBox->setCurrentIndex(static_cast<int>(core::Reading::Mean));
  slots_[1].reading = core::Reading::Mean;
  for (int n = 0; n < SlotCount; ++n) {
    Slot& s = slots_[static_cast<std::size_t>(n)];
    connect(s.channelBox, &QComboBox::currentIndexChanged, this, [this, n] { ChoiceChanged(n); });
    connect(s.readingBox, &QComboBox::currentIndexChanged, this, [this, n] { ChoiceChanged(n); });
  }
  return choices;
}

// What is shown (the recent records or a log) and the buttons that change it.
QHBoxLayout* TrendPlot::BuildSourceRow() {
  source_ = new QLabel(this);
  auto* openLog = new QPushButton(QStringLiteral("Open Log..."), this);
  auto* recent = new QPushButton(QStringLiteral("Recent Records"), this);
  fit_ = new QPushButton(QStringLiteral("Fit"), this);
  connect(openLog, &QPushButton::clicked, this, &TrendPlot::OpenLog);
  connect(recent, &QPushButton::clicked, this, &TrendPlot::ShowRecent);
  connect(fit_, &QPushButton::clicked, this, &TrendPlot::Fit);
  auto* sourceRow = new QHBoxLayout;
  sourceRow->addWidget(source_, 1);
  sourceRow->addWidget(openLog);
  sourceRow->addWidget(recent);
  sourceRow->addWidget(fit_);
  return sourceRow;
}

TrendPlot::~TrendPlot() = default;

void TrendPlot::SetChoice(int slot, int channel, core::Reading reading) {
  CheckSlot(slot);
  if (channel < (slot == 0 ? 1 : 0) || channel > 2)
    throw ScopeError(QStringLiteral("List index out of bounds (%1)").arg(channel));
  Slot& s = slots_[static_cast<std::size_t>(slot)];
  s.channelBox->setCurrentIndex(s.channelBox->findData(channel));
  s.readingBox->setCurrentIndex(static_cast<int>(reading));
  ChoiceChanged(slot);
}

void TrendPlot::ChoiceChanged(int slot) {
  Slot& s = slots_[static_cast<std::size_t>(slot)];
  s.channel = s.channelBox->currentData().toInt();
  s.reading = static_cast<core::Reading>(s.readingBox->currentIndex());
  s.readingBox->setEnabled(s.channel != 0);
  const bool shown = s.channel != 0;
  s.line->setVisible(shown);
  s.values->setVisible(shown);
  if (shown) {
    const QString name = QStringLiteral("CH%1 %2").arg(s.channel).arg(CaptionOf(s.reading));
    s.line->setName(name);
    s.values->setTitleText(QStringLiteral("%1 (%2)").arg(name, UnitOf(s.reading)));
    QPen pen(ChannelColour(s.channel), 1.5);
    // The second reading of the same channel is told apart by its dashes.
    if (slot > 0 && s.channel == slots_[0].channel) pen.setStyle(Qt::DashLine);
    s.line->setPen(pen);
  }
  if (slot == 0 && slots_[1].channel != 0) ChoiceChanged(1);
  dataChanged_ = true;
  Redraw();
}

const TrendSeries* TrendPlot::SeriesOf(const Slot& slot) const {
  return slot.channel == 0 ? nullptr : &Shown().Series(slot.channel, slot.reading);
}

void TrendPlot::AddRecord(const core::Record& record, const std::array<core::ChannelReadings, 2>& readings) {
  AddRow(TrendRowOf(record, readings));
}

void TrendPlot::AddRow(const TrendRow& row) {
  recent_.Add(row);
  if (showingLog_) return;
  dataChanged_ = true;
  ScheduleRedraw();
}

void TrendPlot::ScheduleRedraw() {
  if (!redraw_.isActive()) redraw_.start();
}

void TrendPlot::ShowLog(const QString& path) {
  auto log = std::make_unique<TrendHistory>(LogCapacity);
  ReadLogFile(path, [&](const TrendRow& row) { log->Add(row); });
  log_ = std::move(log);
  logPath_ = path;
  showingLog_ = true;
  Fit();
}

void TrendPlot::OpenLog() {
  const QString path =
      ui_.OpenFileName(QStringLiteral("Measurement Logs (*.csv)|*.csv|All Files (*.*)|*.*"), QStringLiteral("csv"));
  if (path.isEmpty()) return;
  try {
    ShowLog(path);
  } catch (const ScopeError& error) {
    ui_.ShowError(error.Message());
  }
}

void TrendPlot::ShowRecent() {
  showingLog_ = false;
  Fit();
}

void TrendPlot::Fit() {
  following_ = true;
  dataChanged_ = true;
  Redraw();
}

void TrendPlot::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Redraw();
}

void TrendPlot::UpdateSource() {
  if (showingLog_) {
    source_->setText(QStringLiteral("Log %1: %2 records").arg(QFileInfo(logPath_).fileName()).arg(log_->Rows()));
  } else {
    source_->setText(QStringLiteral("Recent records: %1 (the last %2 kept)").arg(recent_.Rows()).arg(recent_.Capacity()));
  }
}

QString TrendPlot::SourceText() const { return source_->text(); }

void TrendPlot::Redraw() {
  redraw_.stop();
  // A hidden window is drawn when it is shown.
  if (!isVisible()) return;
  UpdateSource();
  if (dataChanged_) {
    for (Slot& s : slots_) {
      QList<QPointF> points;
      if (const TrendSeries* series = SeriesOf(s)) {
        points.reserve(static_cast<qsizetype>(series->Size()));
        for (const TrendPoint& p : series->Points()) points.append({p.time, p.value});
      }
      s.line->replace(points);
    }
    dataChanged_ = false;
  }
  if (following_) {
    std::optional<Span> all;
    for (const Slot& s : slots_)
      if (const TrendSeries* series = SeriesOf(s))
        if (const std::optional<Span> times = series->Times())
          all = all ? Span{std::min(all->first, times->first), std::max(all->last, times->last)} : *times;
    view_ = FitSpan(all);
  }
  ApplyView();
}

void TrendPlot::ApplyView() {
  if (!view_) {
    const double now = static_cast<double>(QDateTime::currentMSecsSinceEpoch());
    times_->setRange(TimeOf(now - 60e3), TimeOf(now));
    times_->setFormat(TimeFormatFor(60e3));
    for (Slot& s : slots_) s.values->setRange(0, 1);
    return;
  }
  times_->setFormat(TimeFormatFor(view_->Width()));
  times_->setRange(TimeOf(view_->first), TimeOf(view_->last));
  for (Slot& s : slots_) {
    if (const TrendSeries* series = SeriesOf(s)) {
      const Span values = ValueAxisSpan(series->ValuesWithin(*view_));
      s.values->setRange(values.first, values.last);
    }
  }
}

std::optional<double> TrendPlot::TimeAt(const QPointF& viewportPosition) const {
  const QPointF inChart = chart_->mapFromScene(chartView_->mapToScene(viewportPosition.toPoint()));
  if (!chart_->plotArea().contains(inChart) || !view_) return std::nullopt;
  return chart_->mapToValue(inChart, slots_[0].line).x();
}

void TrendPlot::WheelAt(double time, int angleDelta) {
  if (!view_ || angleDelta == 0) return;
  following_ = false;
  view_ = Zoomed(*view_, time, WheelFactor(angleDelta));
  ApplyView();
}

void TrendPlot::DragBy(double pixels) {
  const double width = chart_->plotArea().width();
  if (!view_ || width <= 0 || pixels == 0) return;
  following_ = false;
  // Dragging right brings earlier times into view.
  view_ = Panned(*view_, -pixels * view_->Width() / width);
  ApplyView();
}

void TrendPlot::PointerAt(const QPointF& viewportPosition) {
  const std::optional<double> time = TimeAt(viewportPosition);
  QStringList texts;
  if (time)
    for (const Slot& s : slots_)
      if (const TrendSeries* series = SeriesOf(s))
        if (const std::optional<TrendPoint> nearest = series->NearestTo(*time))
          texts << ReadoutText(s.channel, s.reading, *nearest);
  readout_->setText(texts.join(QStringLiteral("    ")));
}

QString TrendPlot::Readout() const { return readout_->text(); }

QChartView* TrendPlot::ChartView() const { return chartView_; }

int TrendPlot::VisibleSeries() const {
  int visible = 0;
  for (const Slot& s : slots_) visible += s.line->isVisible() ? 1 : 0;
  return visible;
}

int TrendPlot::PlottedPoints(int slot) const {
  CheckSlot(slot);
  return static_cast<int>(slots_[static_cast<std::size_t>(slot)].line->count());
}

QPoint TrendPlot::PositionOf(int slot, const TrendPoint& point) const {
  CheckSlot(slot);
  const QPointF inChart = chart_->mapToPosition({point.time, point.value}, slots_[static_cast<std::size_t>(slot)].line);
  return chartView_->mapFromScene(chart_->mapToScene(inChart));
}

}  // namespace analysis

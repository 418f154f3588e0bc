// Numbers over time: the statistics of the twenty readings since the last
// reset, the trace averaged over the last records taken with the same
// settings, a measurement log that grows by a line a record, and the trend
// plot. All of them take each record as the window holds it after the frame
// (the average, when averaging), read over the view the frame has drawn.

#include "window/TForm1.h"

#include "analysis/StatisticsWindow.h"
#include "analysis/TrendPlot.h"
#include "analysis/TrendRow.h"
#include "core/MeasurementLog.h"
#include "core/RecordReadings.h"
#include "display/StatusStrip.h"

#include <QAction>
#include <QLocale>
#include <QPointer>
#include <QTimer>

namespace {

constexpr const char* LogFilter = "CSV Files (*.CSV)|*.CSV|All Files (*.*)|*.*";
constexpr const char* LogExtension = "csv";
// The recent records' readings kept for the trend plot until it is first
// opened, as many as it shows.
constexpr std::size_t TrendRowsKept = analysis::TrendSeries::DefaultCapacity;
// Records come up to 45 times a second; nobody reads a table that fast. The
// last record of a run is counted on the screen within this time.
constexpr int AnalysisRefreshMs = 250;

}  // namespace

void TForm1::BuildAnalysis() {
  measurementLog_ = new core::MeasurementLog(this);
  analysisRefresh_ = new QTimer(this);
  analysisRefresh_->setObjectName(QStringLiteral("AnalysisRefreshTimer"));
  analysisRefresh_->setSingleShot(true);
  analysisRefresh_->setInterval(AnalysisRefreshMs);
  connect(analysisRefresh_, &QTimer::timeout, this, Handler([this] { RefreshAnalysisReadouts(); }));
  // A log that cannot go on stops with a message; acquisition goes on.
  connect(measurementLog_, &core::MeasurementLog::stopped, this, Handler([this](const QString& message) {
            statusStrip_->ShowLogging({});
            if (!message.isEmpty()) Ui.ShowError(message);
          }));
  Bind(MeasurementStatistics1, &TForm1::MeasurementStatisticsClick);
  Bind(LogMeasurements1, &TForm1::LogMeasurementsClick);
  Bind(StopLogging1, &TForm1::StopLoggingClick);
  Bind(TrendPlot1, &TForm1::TrendPlotClick);
  for (QAction* depth : AverageItems) {
    connect(depth, &QAction::triggered, this, Handler([this, depth] { AverageClick(depth->data().toInt()); }));
    depth->setEnabled(true);
  }
  AverageItems.front()->setChecked(true);
}

const core::Record& TForm1::Averaged(const core::Record& received) {
  // Off is exactly the record: nothing is averaged or copied.
  if (Average.Depth() <= 1) return received;
  Average.Add(received, Link.HeldCommand());
  return Average.Rounded();
}

const core::TraceAverage::MeanSamples* TForm1::HeldMeans(int channel) const {
  // Held is the average only as long as it is the average's latest rounded
  // record: anything else put in its place reads as its counts.
  if (Average.Depth() <= 1 || Average.Count() < 2 || !(HeldRecord == Average.Rounded())) return nullptr;
  return &Average.Samples(channel);
}

void TForm1::CountRecord(const std::array<core::ChannelReadings, 2>& readings) {
  Statistics.Add(HeldRecord, readings);
  const bool statisticsShown = statisticsWindow_ != nullptr && statisticsWindow_->isVisible();
  const bool logged = measurementLog_->Logging() && measurementLog_->Append(HeldRecord, readings);
  if ((statisticsShown || logged) && !analysisRefresh_->isActive()) analysisRefresh_->start();
  if (trendPlot_ != nullptr) {
    trendPlot_->AddRecord(HeldRecord, readings);
  } else {
    trendRows_.push_back(analysis::TrendRowOf(HeldRecord, readings));
    if (trendRows_.size() > TrendRowsKept) trendRows_.pop_front();
  }
}

void TForm1::RefreshAnalysisReadouts() {
  if (statisticsWindow_ != nullptr) statisticsWindow_->Refresh();
  // A log stopped meanwhile has taken its readout away already.
  if (measurementLog_->Logging()) statusStrip_->ShowLogging(QStringLiteral("LOG %1").arg(measurementLog_->Lines()));
}

void TForm1::MeasurementStatisticsClick() {
  if (statisticsWindow_ == nullptr) {
    statisticsWindow_ = new analysis::StatisticsWindow(Statistics, this);
    statisticsWindow_->setWindowFlag(Qt::Window);
    statisticsWindow_->setObjectName(QStringLiteral("StatisticsWindow"));
    statisticsWindow_->SetDecimalPoint(QLocale().decimalPoint());
  }
  statisticsWindow_->show();
  statisticsWindow_->raise();
}

void TForm1::AverageClick(int depth) {
  Average.SetDepth(depth);
  for (QAction* item : AverageItems) item->setChecked(item->data().toInt() == depth);
}

void TForm1::LogMeasurementsClick() {
  const QPointer<TForm1> alive(this);
  const QString path = Ui.SaveFileName(QLatin1String(LogFilter), QLatin1String(LogExtension));
  if (!alive || path.isEmpty()) return;
  const QString refused = measurementLog_->Start(path);
  if (!refused.isEmpty()) throw ScopeError(refused);
  statusStrip_->ShowLogging(QStringLiteral("LOG 0"));
}

void TForm1::StopLoggingClick() {
  measurementLog_->Stop();
  statusStrip_->ShowLogging({});
}

void TForm1::TrendPlotClick() {
  if (trendPlot_ == nullptr) {
    trendPlot_ = new analysis::TrendPlot(Ui, analysis::TrendSeries::DefaultCapacity, this);
    trendPlot_->setWindowFlag(Qt::Window);
    trendPlot_->setObjectName(QStringLiteral("TrendPlot"));
    for (const analysis::TrendRow& row : trendRows_) trendPlot_->AddRow(row);
    trendRows_.clear();
  }
  trendPlot_->show();
  trendPlot_->raise();
}

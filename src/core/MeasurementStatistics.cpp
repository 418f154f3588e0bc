#include "core/MeasurementStatistics.h"

#include "app/Errors.h"
#include "app/ReadoutText.h"

#include <algorithm>
#include <cmath>

namespace core {

std::optional<double> PanelValueOf(const ChannelReadings& r, Reading reading) {
  // The SI readings are empty exactly where the panel shows no number: all
  // of a channel that is off, the duty cycle where it says "No Cycle".
  if (!r.maximum) return std::nullopt;
  if (InfoOf(reading).needsCycle && !r.dutyCycle) return std::nullopt;
  const measure::Readings& p = r.panelUnits;
  switch (reading) {
    case Reading::Maximum: return p.volts.maximum;
    case Reading::Minimum: return p.volts.minimum;
    case Reading::PeakToPeak: return p.volts.peakToPeak;
    case Reading::Mean: return p.volts.mean;
    case Reading::Rms: return p.volts.rms;
    case Reading::Period: return static_cast<double>(p.periodUs);
    case Reading::Frequency: return p.frequencyHz;
    case Reading::PosWidth: return static_cast<double>(p.posWidthUs);
    case Reading::NegWidth: return static_cast<double>(p.negWidthUs);
    case Reading::DutyCycle: return p.dutyCycle;
  }
  return std::nullopt;
}

QString PanelTextOf(Reading reading, double value, const QString& decimalPoint) {
  switch (InfoOf(reading).unit) {
    case ReadingUnit::TenMillivolts: return readout_text::FormatCursortext(std::llround(value));
    case ReadingUnit::Microseconds: return readout_text::FormatCursorTime(std::llround(value));
    case ReadingUnit::Hertz: return readout_text::FormatHertz(value, decimalPoint);
    case ReadingUnit::Percent: return QString::number(std::llround(value)) + QLatin1Char('%');
  }
  return {};
}

ReadingKey ReadingKeyOf(const Record& record) {
  ReadingKey key{.timeBaseIndex = record.timeBaseIndex, .rate1MS = record.rate1MS, .usPerSample = record.UsPerSample()};
  for (std::size_t n = 0; n < 2; ++n) {
    const RecordChannel& c = record.channels[n];
    if (c.on) key.channels[n] = {.on = true, .highRange = c.highRange, .scale = c.scale, .calOffset = c.calOffset};
  }
  return key;
}

void RunningStatistic::Add(double value) {
  ++count_;
  last_ = value;
  if (count_ == 1) {
    mean_ = minimum_ = maximum_ = value;
    squaredDeviations_ = 0;
    return;
  }
  minimum_ = std::min(minimum_, value);
  maximum_ = std::max(maximum_, value);
  const double before = value - mean_;
  mean_ += before / static_cast<double>(count_);
  squaredDeviations_ += before * (value - mean_);
}

double RunningStatistic::StandardDeviation() const {
  if (count_ < 2) return 0.0;
  // Rounding can leave a hair below zero for equal values.
  return std::sqrt(std::max(0.0, squaredDeviations_ / static_cast<double>(count_)));
}

bool MeasurementStatistics::Add(const ReadingKey& key, const std::array<ChannelReadings, 2>& readings) {
  const bool reset = key_ && *key_ != key;
  if (reset) Reset();
  key_ = key;
  ++records_;
  for (std::size_t n = 0; n < 2; ++n)
    for (const ReadingInfo& info : ReadingTable)
      if (const std::optional<double> value = PanelValueOf(readings[n], info.reading))
        statistics_[n][static_cast<std::size_t>(info.reading)].Add(*value);
  return reset;
}

void MeasurementStatistics::Reset() {
  statistics_ = {};
  key_.reset();
  records_ = 0;
}

const RunningStatistic& MeasurementStatistics::Of(int channel, Reading reading) const {
  if (channel < 1 || channel > 2) throw ScopeError(QStringLiteral("List index out of bounds (%1)").arg(channel));
  return statistics_[static_cast<std::size_t>(channel - 1)][static_cast<std::size_t>(reading)];
}

StatisticTexts MeasurementStatistics::TextsOf(int channel, Reading reading, const QString& decimalPoint) const {
  const RunningStatistic& s = Of(channel, reading);
  if (s.Count() == 0) return {};
  const auto text = [&](double value) { return PanelTextOf(reading, value, decimalPoint); };
  return {text(s.Last()),    text(s.Mean()), text(s.Minimum()), text(s.Maximum()), text(s.StandardDeviation()),
          QString::number(s.Count())};
}

}  // namespace core

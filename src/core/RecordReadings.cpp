#include "core/RecordReadings.h"

#include "app/Errors.h"
#include "measure/Measurements.h"

#include <span>

namespace core {

std::array<ChannelReadings, 2> ReadingsOf(const Record& record, std::int32_t viewMarkerLeft) {
  const screen_model::ViewWindow view = screen_model::ViewFromMarker(record.layout, viewMarkerLeft);
  CheckListIndex(view.start, capture_protocol::CaptureSampleCount + 1);
  CheckListIndex(view.end, capture_protocol::CaptureSampleCount + 1);
  if (view.end < view.start) throw ScopeError(QStringLiteral("Division by zero"));
  const std::int64_t us = record.UsPerSample();
  std::array<ChannelReadings, 2> readings{};
  for (int n = 1; n <= 2; ++n) {
    const RecordChannel& channel = record.Channel(n);
    const std::span<const std::uint8_t> window(record.Samples(n).data() + view.start,
                                               static_cast<std::size_t>(view.end - view.start + 1));
    const measure::Extremes e = measure::ExtremesOf(window, channel.calOffset);
    const measure::Voltages v = measure::VoltagesOf(e, measure::RangeFactor(channel.highRange));
    const measure::Cycle cycle = measure::FirstCycle(window, channel.calOffset, e.meanCount);
    ChannelReadings& r = readings[static_cast<std::size_t>(n - 1)];
    r.maximum10mV = v.maximum;
    r.minimum10mV = v.minimum;
    r.peakToPeak10mV = v.peakToPeak;
    r.mean10mV = v.mean;
    r.rms10mV = v.rms;
    r.complete = cycle.complete;
    r.periodUs = cycle.period * us;
    r.posWidthUs = cycle.posWidth * us;
    r.negWidthUs = cycle.negWidth * us;
    if (!channel.on) continue;
    const auto volts = [](std::int32_t tenMillivolts) { return tenMillivolts / 100.0; };
    r.maximum = volts(v.maximum);
    r.minimum = volts(v.minimum);
    r.peakToPeak = volts(v.peakToPeak);
    r.mean = volts(v.mean);
    r.rms = volts(v.rms);
    if (!cycle.complete) continue;
    r.period = static_cast<double>(r.periodUs) * 1e-6;
    r.posWidth = static_cast<double>(r.posWidthUs) * 1e-6;
    r.negWidth = static_cast<double>(r.negWidthUs) * 1e-6;
    r.frequency = 1.0 / (static_cast<double>(r.periodUs) * 1e-6);
    r.dutyCycle = cycle.posWidth * 100 / cycle.period;
  }
  return readings;
}

}  // namespace core

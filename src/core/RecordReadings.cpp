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
  std::array<ChannelReadings, 2> readings{};
  for (int n = 1; n <= 2; ++n) {
    const RecordChannel& channel = record.Channel(n);
    const std::span<const std::uint8_t> window(record.Samples(n).data() + view.start,
                                               static_cast<std::size_t>(view.end - view.start + 1));
    ChannelReadings& r = readings[static_cast<std::size_t>(n - 1)];
    r.panelUnits = measure::ReadChannel(window, channel.calOffset, channel.highRange, record.UsPerSample());
    if (!channel.on) continue;
    const measure::Readings& p = r.panelUnits;
    const auto volts = [](std::int32_t tenMillivolts) { return tenMillivolts / 100.0; };
    const auto seconds = [](std::int64_t microseconds) { return static_cast<double>(microseconds) * 1e-6; };
    r.maximum = volts(p.volts.maximum);
    r.minimum = volts(p.volts.minimum);
    r.peakToPeak = volts(p.volts.peakToPeak);
    r.mean = volts(p.volts.mean);
    r.rms = volts(p.volts.rms);
    if (!p.complete) continue;
    r.period = seconds(p.periodUs);
    r.posWidth = seconds(p.posWidthUs);
    r.negWidth = seconds(p.negWidthUs);
    r.frequency = p.frequencyHz;
    r.dutyCycle = p.dutyCycle;
  }
  return readings;
}

}  // namespace core

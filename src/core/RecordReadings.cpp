#include "core/RecordReadings.h"

#include "app/Errors.h"
#include "measure/Measurements.h"

#include <span>

namespace core {

namespace {

// Samples start..end of a channel, refused outside the buffers or empty.
std::span<const std::uint8_t> WindowOf(const Record& record, int channel, std::int32_t start, std::int32_t end) {
  CheckListIndex(start, capture_protocol::CaptureSampleCount + 1);
  CheckListIndex(end, capture_protocol::CaptureSampleCount + 1);
  if (end < start) throw ScopeError(QStringLiteral("Division by zero"));
  return {record.Samples(channel).data() + start, static_cast<std::size_t>(end - start + 1)};
}

}  // namespace

std::array<ChannelReadings, 2> ReadingsOf(const Record& record, std::int32_t viewMarkerLeft) {
  const screen_model::ViewWindow view = screen_model::ViewFromMarker(record.layout, viewMarkerLeft);
  return ReadingsOfView(record, view.start, view.end);
}

std::array<ChannelReadings, 2> ReadingsOfView(const Record& record, std::int32_t viewStart, std::int32_t viewEnd) {
  std::array<ChannelReadings, 2> readings{};
  for (int n = 1; n <= 2; ++n) {
    const RecordChannel& channel = record.Channel(n);
    const std::span<const std::uint8_t> window = WindowOf(record, n, viewStart, viewEnd);
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
    // Without a complete cycle the panel shows "0 us" and "0 Hz" for the
    // period, widths and frequency, and "No Cycle" for the duty cycle only.
    r.period = seconds(p.periodUs);
    r.posWidth = seconds(p.posWidthUs);
    r.negWidth = seconds(p.negWidthUs);
    r.frequency = p.frequencyHz;
    if (p.complete) r.dutyCycle = p.dutyCycle;
  }
  return readings;
}

measure::ReadingTexts PanelTextsOf(const Record& record, int channel, std::int32_t viewStart,
                                   std::int32_t viewEnd, std::int32_t calOffset, const QString& decimalPoint) {
  return measure::MeasureChannel(WindowOf(record, channel, viewStart, viewEnd), calOffset,
                                 record.Channel(channel).highRange, record.UsPerSample(), decimalPoint);
}

}  // namespace core

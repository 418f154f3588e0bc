#include "core/Record.h"

#include "core/PanelSettings.h"
#include "controls/VoltsKnob.h"

namespace core {

std::optional<std::int32_t> RecordChannel::VoltsDiv() const {
  for (const volts_knob::VoltsRow& row : volts_knob::VoltsRows)
    if (row.scale == scale && row.highRange == highRange) return row.voltsDiv;
  return std::nullopt;
}

std::int32_t Record::UsPerSample() const {
  return samplePeriodUs * screen_model::RowOf(layout).columnStep;
}

void Record::SetTimeBase(std::int32_t index, bool oneMS) {
  timeBaseIndex = index;
  rate1MS = oneMS;
  layout = screen_model::LayoutOf(index, oneMS ? 1 : 0);
}

Record DescribeRecord(const PanelSettings& panel) {
  Record r;
  r.timeBaseIndex = panel.timeBase.index;
  r.rate1MS = panel.Rate1MS();
  r.layout = screen_model::LayoutOf(r.timeBaseIndex, r.rate1MS ? 1 : 0);
  r.recordChannel = panel.channels[0].on ? 1 : 2;
  for (int n = 1; n <= 2; ++n) {
    const ChannelSettings& c = panel.Channel(n);
    r.channels[static_cast<std::size_t>(n - 1)] = {c.on, c.HighRange(), c.Scale(), c.CalOffset()};
  }
  r.samplePeriodUs = panel.SamplePeriodUs();
  return r;
}

}  // namespace core

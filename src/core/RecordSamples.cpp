#include "core/RecordSamples.h"

#include <algorithm>

namespace core {

SampleSpan OwnSamples(const Record& record, int channel) {
  if (!record.rate1MS) return {1, capture_protocol::SamplesPerChannelTwoChannel};
  if (channel == record.recordChannel) return {1, capture_protocol::CaptureSampleCount};
  return {};
}

Record WithOwnSamplesOnly(Record record) {
  for (int channel = 1; channel <= 2; ++channel) {
    capture_protocol::SampleBuffer& buffer = channel == 1 ? record.ch1 : record.ch2;
    const SampleSpan own = OwnSamples(record, channel);
    buffer[0] = 0;
    const auto end = buffer.begin() + std::max(own.last, 0) + 1;
    std::fill(own.Count() > 0 ? end : buffer.begin() + 1, buffer.end(), std::uint8_t{0});
  }
  return record;
}

}  // namespace core

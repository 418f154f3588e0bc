#include "core/ReplyArrival.h"

#include "app/Errors.h"

#include <algorithm>

namespace core {

ReplyArrival ArrivalOf(capture_protocol::ReplyLayout layout, int replyBytes) {
  CheckListIndex(replyBytes, capture_protocol::CaptureReplyLength + 1);
  const int sampleBytes = std::max(0, replyBytes - 1);
  const bool complete = sampleBytes == capture_protocol::CaptureSampleCount;
  ReplyArrival arrival;
  if (layout.Rate1MS) {
    // The one channel fills from its first sample on.
    const int channel = layout.ChannelOn1 ? 1 : 2;
    arrival.samples[channel - 1] = sampleBytes;
    arrival.arrivingChannel = complete ? 0 : channel;
    arrival.reachedIndex = sampleBytes;
    return arrival;
  }
  constexpr int perChannel = capture_protocol::SamplesPerChannelTwoChannel;
  arrival.samples = {std::min(sampleBytes, perChannel), std::max(0, sampleBytes - perChannel)};
  if (complete) {
    arrival.reachedIndex = perChannel;
  } else if (sampleBytes < perChannel) {
    arrival.arrivingChannel = 1;
    arrival.reachedIndex = arrival.samples[0];
  } else {
    arrival.arrivingChannel = 2;
    arrival.reachedIndex = arrival.samples[1];
  }
  return arrival;
}

}  // namespace core

// The split of a capture reply into the two sample buffers, for any bytes
// the line may deliver. The first input byte picks the layout the command
// asked for; the rest are the samples after the status byte.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "FuzzCheck.h"
#include "acquisition/CaptureProtocol.h"

namespace cp = capture_protocol;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const cp::ReplyLayout layout{(data[0] & 1) != 0, (data[0] & 2) != 0};
  const std::span<const std::uint8_t> samples(data + 1, size - 1);

  // Buffers that still hold an earlier capture, so every untouched index shows.
  constexpr std::uint8_t kEarlier = 0x5A;
  cp::SampleBuffer ch1;
  cp::SampleBuffer ch2;
  ch1.fill(kEarlier);
  ch2.fill(kEarlier);
  const int stored = cp::SplitCaptureSamples(samples, layout, ch1, ch2);

  const std::size_t taken = std::min<std::size_t>(samples.size(), cp::CaptureSampleCount);
  Require(stored == static_cast<int>(taken), "stores every sample up to 3000, no more");
  Require(ch1[0] == kEarlier && ch2[0] == kEarlier, "index 0 is never written");
  const auto holds = [](const cp::SampleBuffer& buffer, std::size_t from,
                        std::span<const std::uint8_t> expected) {
    return std::equal(expected.begin(), expected.end(), buffer.begin() + 1 + from);
  };
  const auto untouchedFrom = [&](const cp::SampleBuffer& buffer, std::size_t index) {
    return std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(index), buffer.end(),
                       [&](std::uint8_t b) { return b == kEarlier; });
  };
  if (layout.Rate1MS) {
    const cp::SampleBuffer& filled = layout.ChannelOn1 ? ch1 : ch2;
    const cp::SampleBuffer& other = layout.ChannelOn1 ? ch2 : ch1;
    Require(holds(filled, 0, samples.first(taken)), "the one channel gets the samples in order");
    Require(untouchedFrom(filled, 1 + taken), "a short reply leaves the rest as it was");
    Require(untouchedFrom(other, 0), "the other channel is not touched");
  } else {
    const std::size_t first = std::min<std::size_t>(taken, cp::SamplesPerChannelTwoChannel);
    Require(holds(ch1, 0, samples.first(first)), "CH1 gets the first 1500 samples");
    Require(holds(ch2, 0, samples.subspan(first, taken - first)), "CH2 gets the next 1500");
    Require(untouchedFrom(ch1, 1 + first), "CH1 keeps what the layout does not fill");
    Require(untouchedFrom(ch2, 1 + (taken - first)), "CH2 keeps what the layout does not fill");
  }
  return 0;
}

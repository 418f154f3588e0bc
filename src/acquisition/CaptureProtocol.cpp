#include "acquisition/CaptureProtocol.h"

#include <algorithm>

namespace capture_protocol {

std::uint8_t TriggerLevelByte(std::int64_t levelCounts) {
  // Taken in 64 bits so the most negative level cannot overflow on negation.
  const std::int64_t held = std::clamp<std::int64_t>(-levelCounts - 127, -255, -1);
  return static_cast<std::uint8_t>(held & 0xFF);
}

std::uint8_t EdgeRangeByte(bool risingTrigger, bool ch1HighRange, bool ch2HighRange) {
  std::uint8_t value = 0x03;
  if (risingTrigger) value |= 0x30;
  if (ch1HighRange) value |= 0x40;
  if (ch2HighRange) value |= 0x80;
  return value;
}

std::uint8_t ModeByte(std::int32_t timeBaseIndex, bool autoTrigger, std::int32_t triggerCH) {
  // Unsigned arithmetic: only the low 8 bits go out, and a stray index must
  // not overflow a signed multiplication on the way.
  std::uint32_t value = static_cast<std::uint32_t>(timeBaseIndex) * 8u + 2u;
  if (autoTrigger) {
    value |= 0x04u;
  } else {
    value &= ~0x04u;
  }
  value &= ~0x03u;
  if (triggerCH != TriggerSourceCH1) value |= 0x01u;  // CH2 and EXT
  return static_cast<std::uint8_t>(value & 0xFFu);
}

std::uint8_t ChannelByte(std::int32_t triggerCH, bool rate1MS, bool channelOn1) {
  std::uint8_t value = 0;
  if (triggerCH == TriggerSourceEXT) value |= ChannelByteEXT;
  if (rate1MS) value += channelOn1 ? ChannelByteCH1Only : ChannelByteCH2Only;
  return value;
}

CaptureCommand BuildCaptureCommand(const CaptureCommandInputs& in) {
  const std::int32_t level = in.TriggerCH == TriggerSourceCH1 ? in.CH1TriggerV : in.CH2TriggerV;
  const auto lowByte = [](std::int32_t v) { return static_cast<std::uint8_t>(v & 0xFF); };
  return {
      CaptureStartByte,
      TriggerLevelByte(level),
      EdgeRangeByte(in.RisingTrigger, in.CH1HighRange, in.CH2HighRange),
      ModeByte(in.TimeBaseIndex, in.AutoTrigger, in.TriggerCH),
      ChannelByte(in.TriggerCH, in.Rate1MS, in.ChannelOn1),
      lowByte(in.TrigPosPreLo),
      lowByte(in.TrigPosPreHi),
      lowByte(in.TrigPosPostLo),
      lowByte(in.TrigPosPostHi),
  };
}

int SplitCaptureSamples(std::span<const std::uint8_t> samples, ReplyLayout layout,
                        SampleBuffer& ch1Samples, SampleBuffer& ch2Samples) {
  const auto fill = [](std::span<const std::uint8_t> from, SampleBuffer& to) {
    std::copy(from.begin(), from.end(), to.begin() + 1);
    return static_cast<int>(from.size());
  };
  const std::size_t available = std::min<std::size_t>(samples.size(), CaptureSampleCount);
  if (layout.Rate1MS) {
    return fill(samples.first(available), layout.ChannelOn1 ? ch1Samples : ch2Samples);
  }
  const std::size_t perChannel = SamplesPerChannelTwoChannel;
  const std::size_t first = std::min(available, perChannel);
  const std::size_t second = available - first;
  return fill(samples.first(first), ch1Samples) +
         fill(samples.subspan(first, second), ch2Samples);
}

int DateDigitValue(int readResult) {
  if (readResult < 0) return -1;
  return readResult > 64 ? readResult - 55 : readResult - 48;
}

bool DateDigitNamesSomething(int digitValue) { return digitValue >= 1 && digitValue <= 12; }

IdentifyAnswer DecodeIdentifyAnswer(const std::array<int, IdentifyAnswerLength>& r) {
  IdentifyAnswer answer;
  answer.Present = r[0] == 'O';
  answer.RevisionA = r[1] == 'C';
  for (int i = 0; i < 3; ++i) {
    answer.Version[static_cast<std::size_t>(i)] = static_cast<char>(r[2 + i] & 0xFF);
  }
  answer.Month = DateDigitValue(r[5]);
  answer.Year = DateDigitValue(r[6]);
  return answer;
}

std::string VersionText(const IdentifyAnswer& answer) {
  return std::string{answer.Version[0], '.', answer.Version[1], '.', answer.Version[2]};
}

}  // namespace capture_protocol

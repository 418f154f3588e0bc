#pragma once
// The wire format between the scope and the instrument, as pure data in and
// bytes out: the 9-byte capture command, the split of a capture reply into the
// two sample buffers, and the decoding of the 7-byte identify answer. Nothing
// here touches the serial port; GetData and the connection watch do the I/O
// and hand the bytes to these functions.

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace capture_protocol {

inline constexpr std::uint8_t CaptureStartByte = 170;  // first byte of every capture command
inline constexpr std::uint8_t StopByte = 255;          // ends a pending capture
inline constexpr std::uint8_t IdentifyQuery = '?';
inline constexpr int CaptureCommandLength = 9;
inline constexpr int CaptureReplyLength = 3001;  // status byte + 3000 samples
inline constexpr int CaptureSampleCount = 3000;
inline constexpr int SamplesPerChannelTwoChannel = 1500;
inline constexpr int IdentifyAnswerLength = 7;

// Values of TriggerCH.
inline constexpr std::int32_t TriggerSourceCH1 = 1;
inline constexpr std::int32_t TriggerSourceCH2 = 2;
inline constexpr std::int32_t TriggerSourceEXT = 10;

// Bits of the channel byte that select the one-channel 1 MS/s record.
inline constexpr std::uint8_t ChannelByteCH1Only = 0x18;
inline constexpr std::uint8_t ChannelByteCH2Only = 0x28;
inline constexpr std::uint8_t ChannelByteEXT = 0x40;

// Everything a capture command is built from, as the front panel holds it at
// the moment the command is sent.
struct CaptureCommandInputs {
  std::int32_t TriggerCH = TriggerSourceCH1;
  std::int32_t CH1TriggerV = 0;  // counts above the channel's 0 V line
  std::int32_t CH2TriggerV = 0;
  bool RisingTrigger = true;
  bool CH1HighRange = false;
  bool CH2HighRange = false;
  std::int32_t TimeBaseIndex = 3;
  bool AutoTrigger = false;
  bool Rate1MS = false;
  bool ChannelOn1 = true;  // ChannelOn[1]: picks CH1 for the 1 MS/s record
  std::int32_t TrigPosPreLo = 1;
  std::int32_t TrigPosPreHi = 1;
  std::int32_t TrigPosPostLo = 2;
  std::int32_t TrigPosPostHi = 1;
};

using CaptureCommand = std::array<std::uint8_t, CaptureCommandLength>;

// The trigger level byte for a level of V counts: -V - 127 held to -255..-1
// and sent as its low 8 bits, so 129 - V within -126..128, 1 above, 255 below;
// 0 (which the instrument would misread) is never sent.
std::uint8_t TriggerLevelByte(std::int64_t levelCounts);

std::uint8_t EdgeRangeByte(bool risingTrigger, bool ch1HighRange, bool ch2HighRange);
std::uint8_t ModeByte(std::int32_t timeBaseIndex, bool autoTrigger, std::int32_t triggerCH);
std::uint8_t ChannelByte(std::int32_t triggerCH, bool rate1MS, bool channelOn1);

CaptureCommand BuildCaptureCommand(const CaptureCommandInputs& inputs);

// Sample buffers as the scope keeps them: indices 1..3000, index 0 unused.
using SampleBuffer = std::array<std::uint8_t, CaptureSampleCount + 1>;

// The layout the instrument sends, fixed by the channel byte of the command.
// Split by the values that were in force when the command went out, not by
// whatever the channel keys say when the reply is read: a channel switched
// while the capture was pending must not scatter one channel's samples into
// the other's buffer.
struct ReplyLayout {
  bool Rate1MS = false;
  bool ChannelOn1 = true;
};

// Puts the sample bytes of one reply (the status byte already removed) into
// the buffers: 1500 + 1500 from index 1, or all 3000 into the one channel of
// the 1 MS/s record. Fewer bytes than the layout wants fill what they can and
// the rest of the buffer keeps its earlier contents, as a short last read
// does; bytes past 3000 are not samples and are ignored. Indices the layout
// does not fill are never touched. Returns the number of samples stored.
int SplitCaptureSamples(std::span<const std::uint8_t> samples, ReplyLayout layout,
                        SampleBuffer& ch1Samples, SampleBuffer& ch2Samples);

// The identify answer, decoded. Each input is what ReadByte gave for that
// position: 0..255, or -1 when the byte did not come.
struct IdentifyAnswer {
  bool Present = false;    // first byte "O"
  bool RevisionA = false;  // "C" is revision A, anything else revision B
  std::array<char, 3> Version{};  // a missing byte reads as the character 255
  // Digit values of the firmware date: "1".."9" = 1..9, "A".."C" = 10..12.
  // -1 for a byte that did not come; any other value outside 1..12 is kept as
  // decoded so the caller can show that it names no month or year.
  int Month = -1;
  int Year = -1;  // 1 = 2002 .. 12 = 2013
};

// A character code above 64 counts from "A" = 10, any other from "0" = 0.
int DateDigitValue(int readResult);
bool DateDigitNamesSomething(int digitValue);  // 1..12

IdentifyAnswer DecodeIdentifyAnswer(const std::array<int, IdentifyAnswerLength>& readResults);

// "2.0.7": the three version characters joined by full stops.
std::string VersionText(const IdentifyAnswer& answer);

}  // namespace capture_protocol

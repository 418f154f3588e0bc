// The serial half of one capture: the command out, the reply in. The bytes
// themselves are made and split by acquisition/CaptureProtocol.
#include "app/TForm1.h"

#include "acquisition/CaptureProtocol.h"

#include <array>
#include <cstdint>
#include <span>

namespace {

constexpr int WriteTimeoutMs = 100;
constexpr int StopFlushTimeoutMs = 100;
constexpr int StatusByteTimeoutMs = 5000;
constexpr int DrainTimeoutMs = 5;  // the drain form takes no time-out; kept as the call reads

}  // namespace

void TForm1::SendStopByte() {
  SerialPort.WriteByte(capture_protocol::StopByte, WriteTimeoutMs);
  // Up to one whole reply may already be on its way.
  SerialPort.ReadBlock(capture_protocol::CaptureReplyLength, StopFlushTimeoutMs);
}

void TForm1::SendCaptureCommand() {
  // At most one capture is ever outstanding on the link.
  if (AwaitingData == 1) SendStopByte();

  capture_protocol::CaptureCommandInputs in;
  in.TriggerCH = TriggerCH;
  in.CH1TriggerV = CH1TriggerV;
  in.CH2TriggerV = CH2TriggerV;
  in.RisingTrigger = RisingTrigger == 1;
  in.CH1HighRange = CH1HighRange == 1;
  in.CH2HighRange = CH2HighRange == 1;
  in.TimeBaseIndex = TimeBaseIndex;
  in.AutoTrigger = AutoTrigger == 1;
  in.Rate1MS = Rate1MS == 1;
  in.ChannelOn1 = ChannelOn[1] == 1;
  in.TrigPosPreLo = TrigPosPreLo;
  in.TrigPosPreHi = TrigPosPreHi;
  in.TrigPosPostLo = TrigPosPostLo;
  in.TrigPosPostHi = TrigPosPostHi;
  // Byte by byte, each with its own time-out; a failed write is not checked:
  // the wait that follows is left by STOP like any unanswered capture.
  for (const std::uint8_t byte : capture_protocol::BuildCaptureCommand(in)) {
    SerialPort.WriteByte(byte, WriteTimeoutMs);
  }

  CH1ScaleAtCapture = CH1Scale;
  CH2ScaleAtCapture = CH2Scale;
  // The instrument answers in the layout this command asked for, whatever the
  // channel keys say by the time the reply is read.
  ReplyRate1MS = in.Rate1MS ? 1 : 0;
  ReplyChannelOn1 = in.ChannelOn1 ? 1 : 0;
}

void TForm1::ReceiveCaptureReply() {
  AwaitingData = 0;
  SerialPort.ReadByte(StatusByteTimeoutMs);  // the status byte means nothing to the scope
  SetEnabled(Anoucer, false);

  // The reads take what is queued and never wait: reading starts at 3000
  // queued bytes, one short of the reply, so the last block may be one
  // byte short and its last sample keeps the buffer's earlier value.
  std::array<std::uint8_t, capture_protocol::CaptureSampleCount> samples{};
  int received = 0;
  if (ReplyRate1MS == 1) {
    received = SerialPort.ReadBuffer(samples.data(), capture_protocol::CaptureSampleCount);
  } else {
    constexpr int half = capture_protocol::SamplesPerChannelTwoChannel;
    received = SerialPort.ReadBuffer(samples.data(), half);
    // After a short first block CH1's samples are still arriving, and what
    // came next would not be CH2's.
    if (received == half) received += SerialPort.ReadBuffer(samples.data() + half, half);
  }
  capture_protocol::SplitCaptureSamples(
      std::span<const std::uint8_t>(samples.data(), static_cast<std::size_t>(received)),
      capture_protocol::ReplyLayout{ReplyRate1MS == 1, ReplyChannelOn1 == 1}, CH1Samples,
      CH2Samples);
  ++RecordsReceived;

  SerialPort.ReadBlock(0, DrainTimeoutMs);
}

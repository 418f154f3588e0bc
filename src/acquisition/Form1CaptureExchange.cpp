// The serial half of one capture: the command out, the reply in. The bytes
// themselves are made and split by acquisition/CaptureProtocol.
#include "app/TForm1.h"

#include "acquisition/CaptureProtocol.h"

#include <array>
#include <cstdint>
#include <span>

namespace {

constexpr int WriteTimeoutMs = 100;
constexpr int StatusByteTimeoutMs = 5000;
constexpr int DrainTimeoutMs = 5;  // the drain form takes no time-out; kept as the call reads

}  // namespace

void TForm1::DiscardInput() {
  if (!LinkClock.isValid()) LinkClock.start();
  const int discarded = SerialPort.ReadBlock(0, DrainTimeoutMs);
  if (discarded > 0) LineState.InputSeen(LinkClock.elapsed(), discarded);
}

bool TForm1::LineQuiet() {
  DiscardInput();
  return LineState.Settled(LinkClock.elapsed());
}

void TForm1::SendStopByte() {
  if (!LinkClock.isValid()) LinkClock.start();
  SerialPort.WriteByte(capture_protocol::StopByte, WriteTimeoutMs);
  // A reply already on its way may go on arriving for up to one reply time.
  // What is queued goes now; the rest is discarded by whoever next needs the
  // line, once it has been quiet (the capture wait, the connection watch).
  // Nothing of the awaited reply has been read yet, so all of it may come.
  LineState.Disturbed(LinkClock.elapsed(),
                      CaptureOutstanding ? capture_protocol::CaptureReplyLength : -1);
  CaptureOutstanding = false;
  DiscardInput();
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
  CaptureOutstanding = true;
  CommandWhileRunning = Running == 1;
  // An identify exchange still waiting for its answer is over: the line now
  // carries this capture.
  ++IdentifyExchange;

  // The reply is described by what this command asked for; the held record
  // keeps its own description until the reply is in.
  CommandTimeBase = TimeBaseIndex;
  CommandRate1MS = Rate1MS;
  CommandCH1Scale = CH1Scale;
  CommandCH2Scale = CH2Scale;
  CommandCH1HighRange = in.CH1HighRange ? 1 : 0;
  CommandCH2HighRange = in.CH2HighRange ? 1 : 0;
  CommandSamplePeriodUs = SamplePeriodUs;
  CommandSampleRateText = SampleRateText;
  CommandChannelOn1 = ChannelOn[1];
  CommandChannelOn2 = ChannelOn[2];
  CommandCH1CalOffset = CH1CalOffset;
  CommandCH2CalOffset = CH2CalOffset;
  // The instrument answers in the layout this command asked for, whatever the
  // channel keys say by the time the reply is read.
  ReplyRate1MS = in.Rate1MS ? 1 : 0;
  ReplyChannelOn1 = in.ChannelOn1 ? 1 : 0;
}

void TForm1::ReceiveCaptureReply() {
  AwaitingData = 0;
  CaptureOutstanding = false;
  SerialPort.ReadByte(StatusByteTimeoutMs);  // the status byte means nothing to the scope
  SetEnabled(Anoucer, false);

  // The reads take what is queued and never wait. The wait before this gave
  // the last byte its moment; if it is still missing, the last block is one
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
      capture_protocol::ReplyLayout{ReplyRate1MS == 1, ReplyChannelOn1 == 1}, HeldRecord.ch1,
      HeldRecord.ch2);
  // The held record now is this one, in the layout and scales it was asked
  // for; a replot, an export or a calibration reads it by these.
  DescribeHeldRecord(received);

  SerialPort.ReadBlock(0, DrainTimeoutMs);
}

// The held record's description is the one its command asked for; the
// knobs and keys may have moved since.
void TForm1::DescribeHeldRecord(int samplesReceived) {
  core::Record& r = HeldRecord;
  r.SetTimeBase(CommandTimeBase, CommandRate1MS == 1);
  r.recordChannel = ReplyChannelOn1 == 1 ? 1 : 2;
  r.channels[0] = {CommandChannelOn1 == 1, CommandCH1HighRange == 1, CommandCH1Scale, CommandCH1CalOffset};
  r.channels[1] = {CommandChannelOn2 == 1, CommandCH2HighRange == 1, CommandCH2Scale, CommandCH2CalOffset};
  r.samplePeriodUs = CommandSamplePeriodUs;
  r.sampleRateText = CommandSampleRateText;
  r.samplesReceived = samplesReceived;
  r.received = QDateTime::currentDateTime();
  ++r.sequence;
}

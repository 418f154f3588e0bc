// What one capture command asks for, made from the panel as the window holds
// it when the command goes out: the 9 bytes (acquisition/CaptureProtocol),
// the layout the reply will come in and the description its record carries.
#include "window/TForm1.h"

#include "acquisition/CaptureProtocol.h"

core::CaptureRequest TForm1::RequestNow() {
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

  core::CaptureRequest request;
  request.bytes = capture_protocol::BuildCaptureCommand(in);
  // The instrument answers in the layout this command asks for, whatever
  // the channel keys say by the time the reply is read.
  request.layout = capture_protocol::ReplyLayout{in.Rate1MS, in.ChannelOn1};
  // The record is described by what this command asks for; the held record
  // keeps its own description until the reply is in.
  core::Record& r = request.description;
  r.SetTimeBase(TimeBaseIndex, in.Rate1MS);
  r.recordChannel = in.ChannelOn1 ? 1 : 2;
  // The calibration count of the range each channel is asked on (not the
  // one the last frame chose, which a range change or a calibration since
  // has made stale).
  r.channels[0] = {ChannelOn[1] == 1, in.CH1HighRange, CH1Scale, in.CH1HighRange ? CalCH1H : CalCH1L};
  r.channels[1] = {ChannelOn[2] == 1, in.CH2HighRange, CH2Scale, in.CH2HighRange ? CalCH2H : CalCH2L};
  r.samplePeriodUs = SamplePeriodUs;
  r.sampleRateText = SampleRateText;

  CommandTimeBase = TimeBaseIndex;
  return request;
}

// Captures per second over the link alone: TSerial on the slave side of the
// built-in simulator's pseudo-terminal ("SIM1", unpaced), driven the way the
// program drives it: the command byte by byte with WriteByte, a wait until
// 3000 bytes are queued, the status byte, the samples with ReadBuffer, a
// drain. No window, no plotting: the ceiling the link and the simulator set.
//
//   BM_CaptureOverLink/3   the default front panel: 100 us/div, two channels,
//                          CH1 rising, auto (the instrument triggers at once)
//   BM_CaptureOverLink/2   50 us/div with only CH1 on: the 1 MS/s record
#include <benchmark/benchmark.h>

#include <poll.h>

#include <array>
#include <cstdint>

#include "acquisition/CaptureProtocol.h"
#include "serial/TSerial.h"
#include "sim/BuiltInSimulator.h"

namespace {

namespace cp = capture_protocol;

cp::CaptureCommandInputs Panel(int timeBaseIndex) {
  cp::CaptureCommandInputs in;
  in.TriggerCH = cp::TriggerSourceCH1;
  in.CH1TriggerV = 32;
  in.RisingTrigger = true;
  in.CH1HighRange = in.CH2HighRange = true;
  in.TimeBaseIndex = timeBaseIndex;
  in.AutoTrigger = true;
  in.Rate1MS = timeBaseIndex == 2;
  in.ChannelOn1 = true;
  // The trigger marker at 50 %.
  if (timeBaseIndex == 2) {
    in.TrigPosPreLo = 202, in.TrigPosPreHi = 8, in.TrigPosPostLo = 243, in.TrigPosPostHi = 3;
  } else {
    in.TrigPosPreLo = 208, in.TrigPosPreHi = 8, in.TrigPosPostLo = 237, in.TrigPosPostHi = 3;
  }
  return in;
}

void BM_CaptureOverLink(benchmark::State& state) {
  TSerial port;
  BuiltInSimulator::SetUnpaced(true);  // the ceiling, not a user's pace
  if (!port.Open("SIM1", "9600", "NONE", "8", false)) {
    state.SkipWithError("the built-in simulator's port does not open");
    return;
  }
  const cp::CaptureCommandInputs in = Panel(static_cast<int>(state.range(0)));
  const cp::CaptureCommand command = cp::BuildCaptureCommand(in);
  std::array<std::uint8_t, cp::CaptureSampleCount> samples{};
  cp::SampleBuffer ch1{}, ch2{};
  long sampleBytes = 0;
  for (auto _ : state) {
    for (std::uint8_t b : command) port.WriteByte(b, 100);
    while (port.InQueueCount() < cp::CaptureSampleCount) {
      pollfd p{port.Handle, POLLIN, 0};
      if (::poll(&p, 1, 5000) <= 0) {
        state.SkipWithError("no reply within 5 s");
        return;
      }
    }
    benchmark::DoNotOptimize(port.ReadByte(5000));
    int got = 0;
    if (in.Rate1MS) {
      got = port.ReadBuffer(samples.data(), cp::CaptureSampleCount);
    } else {
      got = port.ReadBuffer(samples.data(), cp::SamplesPerChannelTwoChannel);
      got += port.ReadBuffer(samples.data() + got, cp::SamplesPerChannelTwoChannel);
    }
    cp::SplitCaptureSamples({samples.data(), static_cast<std::size_t>(got)},
                            {in.Rate1MS, in.ChannelOn1}, ch1, ch2);
    port.ReadBlock(0, 5);
    sampleBytes += got;
  }
  state.counters["captures/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.SetBytesProcessed(sampleBytes);
  benchmark::DoNotOptimize(ch1);
  benchmark::DoNotOptimize(ch2);
}
BENCHMARK(BM_CaptureOverLink)->Arg(3)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// The simulated instrument without its pseudo-terminal: the converter, the
// signal sources, the decoding of capture commands, where the trigger edge
// lands in each record layout, and the command line.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "ScopeGeometry.h"
#include "acquisition/CaptureProtocol.h"
#include "sim/InstrumentModel.h"
#include "sim/SimConfig.h"

using namespace sim;
namespace cp = capture_protocol;

namespace {

TEST(Converter, VoltsToCodes) {
  struct Case {
    double volts;
    bool highRange;
    int code;
  };
  const Case cases[] = {
      {0.0, true, 126},   {0.0, false, 126},  {2.5, true, 94},    {-2.5, true, 158},
      {1.0, false, 62},   {-1.0, false, 190}, {9.88, true, 0},    {-9.95, true, 253},
      {20.0, true, 0},    {-20.0, true, 255}, {3.0, false, 0},    {-3.0, false, 255},
      {0.0391, true, 126}, {0.0393, true, 125},  // rounded, not cut
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VoltsToCode(c.volts, c.highRange), c.code) << c.volts << " V high " << c.highRange;
  }
}

TEST(Signals, ShapesOverOnePeriod) {
  struct Case {
    const char* text;
    double phase;  // of a 1 Hz signal
    double volts;
  };
  const Case cases[] = {
      {"sine:1:2:0.5", 0.25, 2.5},    {"sine:1:2:0.5", 0.75, -1.5},
      {"square:1:3:0", 0.1, 3.0},     {"square:1:3:0", 0.6, -3.0},
      {"triangle:1:1:0", 0.0, -1.0},  {"triangle:1:1:0", 0.25, 0.0},
      {"triangle:1:1:0", 0.5, 1.0},   {"triangle:1:1:0", 0.75, 0.0},
      {"sawtooth:1:1:1", 0.0, 0.0},   {"sawtooth:1:1:1", 0.75, 1.5},
      {"dc:1:7:-2", 0.3, -2.0},       {"sine:1:2:0.5", 3.25, 2.5},
      {"square:1:3:0", -0.4, -3.0},  // before time zero the same periods continue
  };
  for (const Case& c : cases) {
    const auto signal = ParseSignal(c.text);
    ASSERT_TRUE(signal) << c.text;
    EXPECT_NEAR(signal->Volts(c.phase), c.volts, 1e-9) << c.text << " at " << c.phase;
  }
}

TEST(Signals, NoiseIsBoundedAndRepeatable) {
  const SignalSource noise{Shape::Noise, 0, 2.0, 1.0};
  double lowest = 1e9, highest = -1e9;
  for (int i = 0; i < 2000; ++i) {
    const double t = 0.37 + i * 1e-6;
    const double v = noise.Volts(t);
    EXPECT_EQ(v, noise.Volts(t));
    lowest = std::min(lowest, v);
    highest = std::max(highest, v);
  }
  EXPECT_GE(lowest, -1.0);
  EXPECT_LE(highest, 3.0);
  EXPECT_GT(highest - lowest, 3.0);  // it does spread over the range
}

TEST(Signals, ParseRejectsMalformedTexts) {
  const char* bad[] = {"",          "sinus",         "sine:1:2:3:4", "sine:x",
                       "sine:1:-2", "sine:-5",       "sine:1e999",   "SINE",
                       "sine::1: 2"};
  for (const char* text : bad) EXPECT_FALSE(ParseSignal(text)) << '"' << text << '"';
  const auto kept = ParseSignal("dc::0:2.5");
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->frequencyHz, SignalSource{}.frequencyHz);
  EXPECT_EQ(kept->offsetV, 2.5);
}

CommandFrame Frame(const cp::CaptureCommand& command) {
  CommandFrame frame;
  std::copy(command.begin(), command.end(), frame.begin());
  return frame;
}

TEST(CommandDecoding, FieldsOfTheWorkedCommands) {
  struct Case {
    const char* name;
    CommandFrame frame;
    CaptureSetup want;
  };
  const Case cases[] = {
      {"default panel",
       {0xAA, 0x61, 0xF3, 0x1C, 0x00, 0xD0, 0x08, 0xED, 0x03},
       {95, true, true, true, 3, true, TriggerInput::CH1, Layout::TwoChannel, 1998}},
      {"EXT, low ranges",
       {0xAA, 0x8B, 0x03, 0x1D, 0x40, 0xD0, 0x08, 0xED, 0x03},
       {137, false, false, false, 3, true, TriggerInput::EXT, Layout::TwoChannel, 1998}},
      {"1 MS/s CH2 at 90 %",
       {0xAA, 0x81, 0xB3, 0x11, 0x28, 0xF7, 0x09, 0xC6, 0x02},
       {127, true, false, true, 2, false, TriggerInput::CH2, Layout::CH2Only, 2292}},
      {"1 MS/s CH1, EXT",
       {0xAA, 0x01, 0x73, 0x15, 0x58, 0x55, 0x07, 0x69, 0x05},
       {-1, true, true, false, 2, true, TriggerInput::EXT, Layout::CH1Only, 1620}},
      {"index below the table",
       {0xAA, 0xFF, 0x03, 0x00, 0x00, 0xD0, 0x08, 0xED, 0x03},
       {253, false, false, false, 2, false, TriggerInput::CH1, Layout::TwoChannel, 1998}},
      {"index above the table, odd channel bits",
       {0xAA, 0x81, 0x13, 0xFA, 0x38, 0xD0, 0x08, 0xED, 0x03},
       {127, false, false, false, 15, false, TriggerInput::CH2, Layout::TwoChannel, 1998}},
  };
  for (const Case& c : cases) {
    const CaptureSetup got = DecodeCaptureCommand(c.frame);
    EXPECT_EQ(got.levelCode, c.want.levelCode) << c.name;
    EXPECT_EQ(got.edgeBitsSet, c.want.edgeBitsSet) << c.name;
    EXPECT_EQ(got.ch1HighRange, c.want.ch1HighRange) << c.name;
    EXPECT_EQ(got.ch2HighRange, c.want.ch2HighRange) << c.name;
    EXPECT_EQ(got.timeBaseIndex, c.want.timeBaseIndex) << c.name;
    EXPECT_EQ(got.autoTrigger, c.want.autoTrigger) << c.name;
    EXPECT_EQ(got.source, c.want.source) << c.name;
    EXPECT_EQ(got.layout, c.want.layout) << c.name;
    EXPECT_EQ(got.preTriggerCount, c.want.preTriggerCount) << c.name;
  }
}

TEST(CommandDecoding, PreTriggerCountFromThePositionBytes) {
  struct Case {
    const char* name;
    std::uint8_t preLo, preHi, postLo, postHi;
    int count;
  };
  std::vector<Case> cases = {
      {"post low digit 0 sent as 2", 190, 6, 2, 6, 1470},
      {"pre low digit 0 sent as 1", 1, 6, 190, 6, 1280},
      {"pairs that disagree: the pre pair decides", 208, 8, 0, 0, 1998},
      {"more than a record", 254, 254, 2, 1, 3000},
      {"less than nothing", 1, 0, 2, 1, 0},
  };
  int row = 0;
  for (const auto* table : {kNormalRowPositions, kFiftyMicrosecondPositions}) {
    for (int i = 0; i < 5; ++i) {
      const PositionBytes& p = table[i];
      const int count = row == 0 ? 6 * (p.markerLeft / 2 + 208) : 6 * (p.markerLeft / 4 + 270);
      cases.push_back({"worked value", std::uint8_t(p.preLo), std::uint8_t(p.preHi),
                       std::uint8_t(p.postLo), std::uint8_t(p.postHi), count});
    }
    ++row;
  }
  for (const Case& c : cases) {
    EXPECT_EQ(DecodePreTriggerCount(c.preLo, c.preHi, c.postLo, c.postHi), c.count)
        << c.name << " " << int(c.preLo) << "," << int(c.preHi) << "," << int(c.postLo) << ","
        << int(c.postHi);
  }
}

TEST(CommandDecoding, SamplePeriodOfEachLayout) {
  struct Case {
    int timeBase;
    Layout layout;
    double microseconds;
  };
  const Case cases[] = {
      {2, Layout::TwoChannel, 2},  // 500 kS/s a channel: two columns a sample
      {2, Layout::CH1Only, 1},     {2, Layout::CH2Only, 1},   {3, Layout::TwoChannel, 2},
      {4, Layout::TwoChannel, 4},  {8, Layout::TwoChannel, 100},
      {15, Layout::TwoChannel, 20000},
  };
  for (const Case& c : cases) {
    CaptureSetup setup;
    setup.timeBaseIndex = c.timeBase;
    setup.layout = c.layout;
    EXPECT_NEAR(SamplePeriodSeconds(setup), c.microseconds * 1e-6, 1e-15) << c.timeBase;
  }
}

// A record the scope would draw, with the source channel's samples picked out.
struct Capture {
  std::vector<std::uint8_t> reply;
  std::vector<int> Source(const CaptureSetup& setup) const {
    const bool secondHalf =
        setup.layout == Layout::TwoChannel && setup.source != TriggerInput::CH1;
    const int count = SamplesPerChannel(setup.layout);
    std::vector<int> samples(static_cast<std::size_t>(count) + 1, -1);  // 1-based
    for (int i = 1; i <= count; ++i) {
      samples[std::size_t(i)] = reply[std::size_t(i + (secondHalf ? count : 0))];
    }
    return samples;
  }
};

// Where, within one sample of `index`, the samples cross the level in the
// edge's direction (codes fall as the voltage rises); 0 when nowhere.
int CrossingNear(const std::vector<int>& samples, int index, int level, bool voltageRises) {
  for (int k : {index, index - 1, index + 1}) {
    if (k < 2 || k >= int(samples.size())) continue;
    const int before = samples[std::size_t(k - 1)], at = samples[std::size_t(k)];
    if (voltageRises ? (before > level && at <= level) : (before < level && at >= level)) {
      return k;
    }
  }
  return 0;
}

struct LandingLayout {
  const char* name;
  PlotLayout plot;
  int timeBase;
  bool rate1MS;
  bool channelOn1;
  std::int32_t source;
};
const LandingLayout kLandingLayouts[] = {
    {"standard, 100 us/div, CH1", PlotLayout::Standard, 3, false, true, cp::TriggerSourceCH1},
    {"standard, 1 ms/div, CH2", PlotLayout::Standard, 6, false, true, cp::TriggerSourceCH2},
    {"stretched, 50 us/div, CH1", PlotLayout::Stretched, 2, false, true, cp::TriggerSourceCH1},
    {"stretched, 50 us/div, CH2", PlotLayout::Stretched, 2, false, true, cp::TriggerSourceCH2},
    {"3000-sample, CH1", PlotLayout::ThreeThousand, 2, true, true, cp::TriggerSourceCH1},
    {"3000-sample, CH2 only", PlotLayout::ThreeThousand, 2, true, false, cp::TriggerSourceCH2},
};

cp::CaptureCommandInputs Panel(const LandingLayout& layout, const PositionBytes& position,
                              std::int32_t level, bool rising) {
  cp::CaptureCommandInputs in;
  in.TriggerCH = layout.source;
  in.CH1TriggerV = level;
  in.CH2TriggerV = level;
  in.RisingTrigger = rising;
  in.CH1HighRange = true;  // CH2 on a low range: both steps are exercised
  in.CH2HighRange = false;
  in.TimeBaseIndex = layout.timeBase;
  in.AutoTrigger = false;
  in.Rate1MS = layout.rate1MS;
  in.ChannelOn1 = layout.channelOn1;
  position.ApplyTo(in);
  return in;
}

TEST(Triggering, EdgeLandsUnderThePlotsTriggerMarker) {
  const Inputs shapes[] = {
      {{Shape::Sine, 2000, 4.0, 0}, {Shape::Sine, 1500, 1.0, 0}, ExternalTtlSquare(2000)},
      {{Shape::Triangle, 700, 3.0, 0.5}, {Shape::Square, 3000, 0.9, 0}, ExternalTtlSquare(2000)},
  };
  for (const Inputs& inputs : shapes) {
    for (const LandingLayout& layout : kLandingLayouts) {
      const auto* positions =
          layout.timeBase == 2 ? kFiftyMicrosecondPositions : kNormalRowPositions;
      for (int row : kPresetRows) {
        const PositionBytes& position = positions[row];
        const int marker = SampleUnderMarker(layout.plot, position.markerLeft, 173);
        ASSERT_EQ(marker, SampleUnderMarker(layout.plot, position.markerLeft, 90));
        for (bool rising : {true, false}) {
          for (std::int32_t level : {32, -20, 0}) {
            const auto command = cp::BuildCaptureCommand(Panel(layout, position, level, rising));
            const CaptureSetup setup = DecodeCaptureCommand(Frame(command));
            const std::string what = std::string(layout.name) + ", Left " +
                                     std::to_string(position.markerLeft) + ", level " +
                                     std::to_string(level) + (rising ? " rising" : " falling");
            ASSERT_EQ(TriggerSampleIndex(setup), marker) << what;
            for (double from : {0.0123, 0.5678}) {
              const auto edge = FindTriggerEdge(inputs, setup, from, 1L << 18);
              ASSERT_TRUE(edge) << what;
              const Capture capture{CaptureReply(inputs, setup, *edge, marker, kStatusTriggered)};
              ASSERT_EQ(capture.reply.size(), kReplyLength);
              EXPECT_EQ(capture.reply[0], kStatusTriggered);
              EXPECT_NE(CrossingNear(capture.Source(setup), marker, command[1] - 2, rising), 0)
                  << what << " from " << from;
            }
          }
        }
      }
    }
  }
}

TEST(Triggering, APeriodicSignalStandsStill) {
  const Inputs inputs{{Shape::Sine, 2000, 4.0, 0}, {Shape::Square, 4000, 2.5, 0},
                      ExternalTtlSquare(2000)};
  const auto command =
      cp::BuildCaptureCommand(Panel(kLandingLayouts[0], kNormalRowPositions[2], 32, true));
  const CaptureSetup setup = DecodeCaptureCommand(Frame(command));
  const int marker = TriggerSampleIndex(setup);
  std::vector<std::uint8_t> first;
  for (double from : {0.001, 0.0117, 3.2, 1234.5}) {
    const auto edge = FindTriggerEdge(inputs, setup, from, 1L << 18);
    ASSERT_TRUE(edge);
    const auto reply = CaptureReply(inputs, setup, *edge, marker, kStatusTriggered);
    if (first.empty()) {
      first = reply;
      continue;
    }
    for (std::size_t i = 1; i < reply.size(); ++i) {
      ASSERT_LE(std::abs(int(reply[i]) - int(first[i])), 1) << "sample " << i << " from " << from;
    }
  }
}

TEST(Triggering, ExternalTtlEdges) {
  // The scope sends EXT with the edge bits clear while its menu shows Rising;
  // the TTL input is not inverted, so that is the rising logic edge.
  const Inputs inputs{{Shape::Sine, 2000, 4.0, 0}, {Shape::DC, 0, 0, 0}, ExternalTtlSquare(2000)};
  for (bool edgeBits : {false, true}) {
    cp::CaptureCommandInputs in = Panel(kLandingLayouts[0], kNormalRowPositions[2], 200, edgeBits);
    in.TriggerCH = cp::TriggerSourceEXT;
    const CaptureSetup setup = DecodeCaptureCommand(Frame(cp::BuildCaptureCommand(in)));
    ASSERT_EQ(setup.source, TriggerInput::EXT);
    const int marker = TriggerSampleIndex(setup);
    const auto edge = FindTriggerEdge(inputs, setup, 0.01, 1L << 18);
    ASSERT_TRUE(edge) << "a level far off the channel does not matter to EXT";
    // Two channels: CH1's sample i is byte i of the reply.
    const auto ch1 = CaptureReply(inputs, setup, *edge, marker, kStatusTriggered);
    // The 2 kHz sine runs in step with the TTL square: it passes 0 V (code
    // 126) at the marker, rising on the TTL's rising edge.
    EXPECT_NEAR(ch1[std::size_t(marker)], 126, 1);
    const int ahead = ch1[std::size_t(marker + 20)];
    if (edgeBits) {
      EXPECT_GT(ahead, 126) << "falling TTL edge: the sine is falling";
    } else {
      EXPECT_LT(ahead, 126) << "rising TTL edge: the sine is rising";
    }
  }
}

TEST(Triggering, NoEdgeOnAFlatInputOrALevelOutOfReach) {
  struct Case {
    const char* name;
    SignalSource ch1;
    std::int32_t level;
  };
  const Case cases[] = {
      {"DC", {Shape::DC, 0, 0, 1.0}, 0},
      {"sine below the level", {Shape::Sine, 1000, 1.0, 0}, 32},
      {"level byte 1 (code -1) is never reached", {Shape::Sine, 1000, 20.0, 0}, 128},
  };
  for (const Case& c : cases) {
    const Inputs inputs{c.ch1, {Shape::DC, 0, 0, 0}, ExternalTtlSquare(2000)};
    const auto command =
        cp::BuildCaptureCommand(Panel(kLandingLayouts[0], kNormalRowPositions[2], c.level, true));
    EXPECT_FALSE(FindTriggerEdge(inputs, DecodeCaptureCommand(Frame(command)), 0.0, 100000))
        << c.name;
  }
}

TEST(Triggering, NoiseTriggersOnTheSampleItself) {
  const Inputs inputs{{Shape::Noise, 0, 3.0, 0}, {Shape::DC, 0, 0, 0}, ExternalTtlSquare(2000)};
  const auto command =
      cp::BuildCaptureCommand(Panel(kLandingLayouts[0], kNormalRowPositions[1], 0, true));
  const CaptureSetup setup = DecodeCaptureCommand(Frame(command));
  const int marker = TriggerSampleIndex(setup);
  const auto edge = FindTriggerEdge(inputs, setup, 2.5, 1000);
  ASSERT_TRUE(edge);
  const Capture capture{CaptureReply(inputs, setup, *edge, marker, kStatusTriggered)};
  EXPECT_EQ(CrossingNear(capture.Source(setup), marker, command[1] - 2, true), marker);
}

TEST(Replies, UntriggeredLayouts) {
  const Inputs inputs{{Shape::DC, 0, 0, 1.0}, {Shape::DC, 0, 0, -1.0}, ExternalTtlSquare(2000)};
  struct Case {
    const char* name;
    Layout layout;
    bool ch1High, ch2High;
    int firstCode, firstCount, secondCode;
  };
  const Case cases[] = {
      {"two channels", Layout::TwoChannel, true, false, 113, 1500, 190},
      {"two channels, ranges swapped", Layout::TwoChannel, false, true, 62, 1500, 139},
      {"CH1 only", Layout::CH1Only, true, true, 113, 3000, -1},
      {"CH2 only", Layout::CH2Only, true, false, 190, 3000, -1},
  };
  for (const Case& c : cases) {
    CaptureSetup setup;
    setup.layout = c.layout;
    setup.ch1HighRange = c.ch1High;
    setup.ch2HighRange = c.ch2High;
    const auto reply = CaptureReply(inputs, setup, 0.5, 1, kStatusUntriggered);
    ASSERT_EQ(reply.size(), kReplyLength) << c.name;
    EXPECT_EQ(reply[0], kStatusUntriggered);
    for (std::size_t i = 1; i < reply.size(); ++i) {
      const int want = int(i) <= c.firstCount ? c.firstCode : c.secondCode;
      ASSERT_EQ(reply[i], want) << c.name << " byte " << i;
    }
  }
}

TEST(Replies, IdentifyAnswer) {
  const auto answer = IdentifyAnswer(IdentityBytes{});
  EXPECT_EQ(std::string(answer.begin(), answer.end()), "OCSIMC5");
  const auto decoded = cp::DecodeIdentifyAnswer(
      {answer[0], answer[1], answer[2], answer[3], answer[4], answer[5], answer[6]});
  EXPECT_TRUE(decoded.Present);
  EXPECT_EQ(cp::VersionText(decoded), "S.I.M");
  EXPECT_EQ(decoded.Month, 12);
  EXPECT_EQ(decoded.Year, 5);
}

TEST(CommandLine, Options) {
  const auto parse = [](std::vector<std::string> args) { return ParseArguments(args); };
  const SimConfig defaults;
  EXPECT_EQ(defaults.inputs.ch1.shape, Shape::Sine);
  EXPECT_EQ(defaults.inputs.ch2.shape, Shape::Square);

  auto p = parse({"--ch1", "square:500:2:1", "--ch2=dc::0:2.5", "--ext", "1000", "--revision",
                  "B", "--realtime", "--baud", "--auto-wait", "20", "--log", "/tmp/frames",
                  "--link=/tmp/scope"});
  ASSERT_EQ(p.error, "");
  EXPECT_FALSE(p.help);
  EXPECT_EQ(p.config.inputs.ch1.shape, Shape::Square);
  EXPECT_EQ(p.config.inputs.ch1.frequencyHz, 500);
  EXPECT_EQ(p.config.inputs.ch1.amplitudeV, 2);
  EXPECT_EQ(p.config.inputs.ch1.offsetV, 1);
  EXPECT_EQ(p.config.inputs.ch2.shape, Shape::DC);
  EXPECT_EQ(p.config.inputs.ch2.offsetV, 2.5);
  EXPECT_EQ(p.config.inputs.ext.frequencyHz, 1000);
  EXPECT_EQ(p.config.identity.revision, 'B');
  EXPECT_TRUE(p.config.realTime);
  EXPECT_EQ(p.config.baud, 9600);
  EXPECT_EQ(p.config.autoWaitMilliseconds, 20);
  EXPECT_EQ(p.config.logPath, "/tmp/frames");
  EXPECT_EQ(p.config.linkPath, "/tmp/scope");

  p = parse({"--baud=115200", "--fault", "silent", "--fault=truncate=10", "--fault", "drop=3",
             "--fault", "drip", "--fault", "wrong-id", "--fault", "bad-date", "--fault",
             "garbage"});
  ASSERT_EQ(p.error, "");
  EXPECT_EQ(p.config.baud, 115200);
  EXPECT_TRUE(p.config.faults.silent);
  EXPECT_EQ(p.config.faults.truncateReplyAt, 10);
  EXPECT_EQ(p.config.faults.dropAfterCaptures, 3);
  EXPECT_EQ(p.config.faults.dripMilliseconds, 5);
  EXPECT_TRUE(p.config.faults.wrongIdentify);
  EXPECT_TRUE(p.config.faults.badDate);
  EXPECT_TRUE(p.config.faults.garbage);

  p = parse({"--fault", "truncate", "--fault", "drop"});
  EXPECT_EQ(p.config.faults.truncateReplyAt, 1500);
  EXPECT_EQ(p.config.faults.dropAfterCaptures, 1);
  EXPECT_TRUE(parse({"--help"}).help);

  const std::vector<std::vector<std::string>> refused = {
      {"--ch1", "sinus"},       {"--ch1"},                  {"--baud=abc"},
      {"--baud=5"},             {"--fault", "explode"},     {"--fault", "silent=3"},
      {"--fault", "drop=0"},    {"--fault", "truncate=3001"}, {"--revision", "C"},
      {"--bogus"},              {"--realtime=1"},           {"--auto-wait", "-1"},
      {"--ext", "fast"},        {"--log"},                  {"stray"},
  };
  for (const auto& args : refused) {
    EXPECT_NE(parse(args).error, "") << args[0] << (args.size() > 1 ? " " + args[1] : "");
  }
}

}  // namespace

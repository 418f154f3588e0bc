// The capture command byte by byte, the split of a reply into the sample
// buffers, and the identify answer, against the worked examples of the
// instrument's protocol.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <numeric>
#include <vector>

#include "acquisition/CaptureProtocol.h"

using namespace capture_protocol;

namespace {

TEST(CaptureCommand, LevelByteIsHeldInsideOneTo255) {
  struct Case {
    std::int64_t level;
    std::uint8_t byte;
  };
  const Case cases[] = {
      {0, 129},   {128, 1},   {200, 1},  {-126, 255}, {-300, 255}, {127, 2},
      {-125, 254}, {129, 1},  {-127, 255},
      {std::numeric_limits<std::int32_t>::max(), 1},
      {std::numeric_limits<std::int32_t>::min(), 255},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TriggerLevelByte(c.level), c.byte) << "level " << c.level;
  }
}

TEST(CaptureCommand, LevelOfTheSourceChannelGoesInByteTwo) {
  struct Case {
    std::int32_t source;
    std::uint8_t levelByte;  // CH1 at 50 counts, CH2 at 20
  };
  const Case cases[] = {{TriggerSourceCH1, 79}, {TriggerSourceCH2, 109}, {TriggerSourceEXT, 109}};
  for (const Case& c : cases) {
    CaptureCommandInputs in;
    in.TriggerCH = c.source;
    in.CH1TriggerV = 50;
    in.CH2TriggerV = 20;
    EXPECT_EQ(BuildCaptureCommand(in)[1], c.levelByte) << "source " << c.source;
  }
}

TEST(CaptureCommand, EdgeRangeByte) {
  struct Case {
    bool rising, ch1High, ch2High;
    std::uint8_t byte;
  };
  const Case cases[] = {
      {false, false, false, 0x03}, {true, false, false, 0x33}, {true, true, false, 0x73},
      {true, true, true, 0xF3},    {false, false, true, 0x83}, {false, true, false, 0x43},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EdgeRangeByte(c.rising, c.ch1High, c.ch2High), c.byte)
        << c.rising << c.ch1High << c.ch2High;
  }
}

TEST(CaptureCommand, ModeByte) {
  struct Case {
    std::int32_t timeBase;
    bool autoTrigger;
    std::int32_t source;
    std::uint8_t byte;
  };
  const Case cases[] = {
      {5, true, TriggerSourceCH2, 0x2D},   // 5 x 8 + 4 + 1
      {2, false, TriggerSourceCH1, 0x10},
      {3, true, TriggerSourceCH1, 0x1C},   // the 2 of the start value is cleared for CH1
      {15, true, TriggerSourceEXT, 0x7D},  // EXT triggers through the CH2 bits
      {15, false, TriggerSourceCH2, 0x79},
      {33, false, TriggerSourceCH1, 0x08},  // only the low 8 bits of index x 8 go out
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ModeByte(c.timeBase, c.autoTrigger, c.source), c.byte)
        << "index " << c.timeBase << " auto " << c.autoTrigger << " source " << c.source;
  }
}

TEST(CaptureCommand, ChannelByte) {
  struct Case {
    std::int32_t source;
    bool rate1MS, channelOn1;
    std::uint8_t byte;
  };
  const Case cases[] = {
      {TriggerSourceCH1, false, true, 0x00},  {TriggerSourceCH1, true, true, 0x18},
      {TriggerSourceCH2, true, false, 0x28},  {TriggerSourceEXT, false, true, 0x40},
      {TriggerSourceEXT, true, true, 0x58},   {TriggerSourceEXT, true, false, 0x68},
      {TriggerSourceCH2, false, false, 0x00},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChannelByte(c.source, c.rate1MS, c.channelOn1), c.byte)
        << "source " << c.source << " 1MS " << c.rate1MS << " CH1 on " << c.channelOn1;
  }
}

TEST(CaptureCommand, WholeFrames) {
  struct Case {
    const char* name;
    CaptureCommandInputs in;
    CaptureCommand bytes;
  };
  CaptureCommandInputs panel;  // the default front panel: 5 V/div, 100 us/div, CH1 at 32 counts
  panel.TriggerCH = TriggerSourceCH1;
  panel.CH1TriggerV = 32;
  panel.RisingTrigger = true;
  panel.CH1HighRange = panel.CH2HighRange = true;
  panel.TimeBaseIndex = 3;
  panel.AutoTrigger = true;
  panel.TrigPosPreLo = 208;  // trigger position 50%
  panel.TrigPosPreHi = 8;
  panel.TrigPosPostLo = 237;
  panel.TrigPosPostHi = 3;

  CaptureCommandInputs ext = panel;  // EXT as the menu leaves it: edge value false
  ext.TriggerCH = TriggerSourceEXT;
  ext.RisingTrigger = false;
  ext.CH2TriggerV = -10;

  CaptureCommandInputs fastCH2 = panel;  // 50 us/div with only CH2 on, position 90%
  fastCH2.TriggerCH = TriggerSourceCH2;
  fastCH2.CH2TriggerV = 0;
  fastCH2.TimeBaseIndex = 2;
  fastCH2.AutoTrigger = false;
  fastCH2.Rate1MS = true;
  fastCH2.ChannelOn1 = false;
  fastCH2.TrigPosPreLo = 247;
  fastCH2.TrigPosPreHi = 9;
  fastCH2.TrigPosPostLo = 198;
  fastCH2.TrigPosPostHi = 2;

  CaptureCommandInputs wide = panel;  // position bytes go out as their low byte
  wide.TrigPosPreLo = 300;
  wide.TrigPosPreHi = -1;
  wide.TrigPosPostLo = 256;
  wide.TrigPosPostHi = 255;

  const Case cases[] = {
      {"default panel", panel, {0xAA, 0x61, 0xF3, 0x1C, 0x00, 0xD0, 0x08, 0xED, 0x03}},
      {"EXT", ext, {0xAA, 0x8B, 0xC3, 0x1D, 0x40, 0xD0, 0x08, 0xED, 0x03}},
      {"1 MS/s CH2", fastCH2, {0xAA, 0x81, 0xF3, 0x11, 0x28, 0xF7, 0x09, 0xC6, 0x02}},
      {"wide position values", wide, {0xAA, 0x61, 0xF3, 0x1C, 0x00, 0x2C, 0xFF, 0x00, 0xFF}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BuildCaptureCommand(c.in), c.bytes) << c.name;
  }
}

// Buffers whose every index holds a marker of its own, so a test sees
// exactly which indices a capture wrote.
struct SplitFixture : ::testing::Test {
  SampleBuffer ch1{}, ch2{};
  void SetUp() override {
    for (std::size_t i = 0; i < ch1.size(); ++i) {
      ch1[i] = static_cast<std::uint8_t>(0xA0 ^ (i & 0x0F));
      ch2[i] = static_cast<std::uint8_t>(0xB0 ^ (i & 0x0F));
    }
  }
  static std::vector<std::uint8_t> Reply(std::size_t count) {
    std::vector<std::uint8_t> samples(count);
    for (std::size_t i = 0; i < count; ++i) samples[i] = static_cast<std::uint8_t>(i % 97);
    return samples;
  }
  static std::uint8_t Old1(std::size_t i) { return static_cast<std::uint8_t>(0xA0 ^ (i & 0x0F)); }
  static std::uint8_t Old2(std::size_t i) { return static_cast<std::uint8_t>(0xB0 ^ (i & 0x0F)); }
};

TEST_F(SplitFixture, LayoutsFillExactlyTheirIndices) {
  struct Case {
    const char* name;
    ReplyLayout layout;
    std::size_t sampleCount;
    int stored;
    // Sample number (0-based within the reply) expected at buffer index i,
    // or -1 where the buffer keeps its earlier value.
    int (*ch1From)(std::size_t i);
    int (*ch2From)(std::size_t i);
  };
  const auto none = [](std::size_t) { return -1; };
  const Case cases[] = {
      {"two channels", {false, true}, 3000, 3000,
       [](std::size_t i) { return i <= 1500 ? int(i) - 1 : -1; },
       [](std::size_t i) { return i <= 1500 ? int(i) + 1499 : -1; }},
      {"two channels, both on key irrelevant", {false, false}, 3000, 3000,
       [](std::size_t i) { return i <= 1500 ? int(i) - 1 : -1; },
       [](std::size_t i) { return i <= 1500 ? int(i) + 1499 : -1; }},
      {"1 MS/s CH1", {true, true}, 3000, 3000, [](std::size_t i) { return int(i) - 1; }, none},
      {"1 MS/s CH2 only", {true, false}, 3000, 3000, none,
       [](std::size_t i) { return int(i) - 1; }},
      {"two channels, last block one short", {false, true}, 2999, 2999,
       [](std::size_t i) { return i <= 1500 ? int(i) - 1 : -1; },
       [](std::size_t i) { return i < 1500 ? int(i) + 1499 : -1; }},
      {"1 MS/s, last block one short", {true, true}, 2999, 2999,
       [](std::size_t i) { return i < 3000 ? int(i) - 1 : -1; }, none},
      {"two channels, reply cut inside CH1", {false, true}, 700, 700,
       [](std::size_t i) { return i <= 700 ? int(i) - 1 : -1; }, none},
      {"bytes past 3000 are not samples", {false, true}, 3005, 3000,
       [](std::size_t i) { return i <= 1500 ? int(i) - 1 : -1; },
       [](std::size_t i) { return i <= 1500 ? int(i) + 1499 : -1; }},
      {"nothing arrived", {true, false}, 0, 0, none, none},
  };
  for (const Case& c : cases) {
    SetUp();
    const auto reply = Reply(c.sampleCount);
    EXPECT_EQ(SplitCaptureSamples(reply, c.layout, ch1, ch2), c.stored) << c.name;
    EXPECT_EQ(ch1[0], Old1(0)) << c.name;
    EXPECT_EQ(ch2[0], Old2(0)) << c.name;
    for (std::size_t i = 1; i <= 3000; ++i) {
      const int from1 = c.ch1From(i);
      const int from2 = c.ch2From(i);
      const std::uint8_t want1 = from1 < 0 ? Old1(i) : reply[std::size_t(from1)];
      const std::uint8_t want2 = from2 < 0 ? Old2(i) : reply[std::size_t(from2)];
      ASSERT_EQ(ch1[i], want1) << c.name << ": CH1Samples[" << i << "]";
      ASSERT_EQ(ch2[i], want2) << c.name << ": CH2Samples[" << i << "]";
    }
  }
}

TEST_F(SplitFixture, TwoChannelCaptureKeepsTheTailOfAnEarlier1MSRecord) {
  const auto fast = Reply(3000);
  SplitCaptureSamples(fast, {true, true}, ch1, ch2);
  std::vector<std::uint8_t> slow(3000, 7);
  SplitCaptureSamples(slow, {false, true}, ch1, ch2);
  EXPECT_EQ(ch1[1500], 7);
  for (std::size_t i = 1501; i <= 3000; ++i) ASSERT_EQ(ch1[i], fast[i - 1]) << i;
}

TEST(IdentifyAnswer, Decoding) {
  struct Case {
    const char* name;
    std::array<int, 7> reads;
    bool present, revisionA;
    const char* version;
    int month, year;
    bool monthNamed, yearNamed;
  };
  const Case cases[] = {
      {"simulator", {'O', 'C', 'S', 'I', 'M', 'C', '5'}, true, true, "S.I.M", 12, 5, true, true},
      {"revision B, March 2006", {'O', 'X', '2', '0', '7', '3', '5'}, true, false, "2.0.7", 3, 5,
       true, true},
      {"October 2013", {'O', 'C', '1', '2', '3', 'A', 'C'}, true, true, "1.2.3", 10, 12, true,
       true},
      {"not the instrument", {'X', 'C', '1', '2', '3', '1', '1'}, false, true, "1.2.3", 1, 1, true,
       true},
      {"date digits outside the coding", {'O', 'C', '1', '2', '3', '0', 'D'}, true, true, "1.2.3",
       0, 13, false, false},
      {"a low character", {'O', 'C', '1', '2', '3', '/', ' '}, true, true, "1.2.3", -1, -16,
       false, false},
      {"nothing arrived", {-1, -1, -1, -1, -1, -1, -1}, false, false, "\xFF.\xFF.\xFF", -1, -1,
       false, false},
  };
  for (const Case& c : cases) {
    const IdentifyAnswer a = DecodeIdentifyAnswer(c.reads);
    EXPECT_EQ(a.Present, c.present) << c.name;
    EXPECT_EQ(a.RevisionA, c.revisionA) << c.name;
    EXPECT_EQ(VersionText(a), c.version) << c.name;
    EXPECT_EQ(a.Month, c.month) << c.name;
    EXPECT_EQ(a.Year, c.year) << c.name;
    EXPECT_EQ(DateDigitNamesSomething(a.Month), c.monthNamed) << c.name;
    EXPECT_EQ(DateDigitNamesSomething(a.Year), c.yearNamed) << c.name;
  }
}

}  // namespace

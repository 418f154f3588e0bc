// The offsets from a record, the order they are stored in, the time a
// capture may take, and the converter offset the simulator can be given.

#include "controls/Calibration.h"
#include "sim/InstrumentModel.h"
#include "sim/SimConfig.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace calibration;

namespace {

using Record = std::array<std::uint8_t, 3001>;

// A record reading `a` and `b` in turn (a at odd indices).
Record Alternating(std::uint8_t a, std::uint8_t b) {
  Record r{};
  for (std::size_t i = 1; i < r.size(); ++i) r[i] = i % 2 == 1 ? a : b;
  return r;
}

TEST(CalibrationOffset, MeanDistanceFromTheZeroCodeTruncatedTowardZero) {
  struct Case {
    const char* name;
    std::uint8_t a, b;
    std::int32_t viewStart, viewEnd;
    std::int32_t offset;
  } cases[] = {
      {"grounded at the zero code", 127, 127, 503, 999, 0},
      {"grounded at 130", 130, 130, 503, 999, 3},
      {"127 and 128 in equal numbers: 0.5 truncates to 0", 127, 128, 503, 1002, 0},
      {"125 and 126 in equal numbers: -1.5 truncates to -1", 125, 126, 503, 1002, -1},
      {"an odd span of 125 and 126 still gives -1", 125, 126, 503, 999, -1},
      {"negative means truncate up, not down: -2.5 gives -2", 124, 125, 2, 3, -2},
      {"the whole 3000-sample record", 0, 255, 1, 3000, 0},
      {"far below zero", 0, 0, 1, 1500, -127},
  };
  for (const Case& c : cases) {
    const Record r = Alternating(c.a, c.b);
    EXPECT_EQ(ZeroOffset(r, c.viewStart, c.viewEnd), c.offset) << c.name;
  }
}

TEST(CalibrationOffset, OnlyTheSpanOnTheScreenCounts) {
  Record r{};
  r.fill(0);  // far off zero outside the span
  for (int i = 503; i <= 999; ++i) r[static_cast<std::size_t>(i)] = 130;
  EXPECT_EQ(ZeroOffset(r, 503, 999), 3);
  // An empty span, or one wholly outside the buffer, sums to 0 and gives 0
  // rather than dividing by zero.
  EXPECT_EQ(ZeroOffset(r, 10, 9), 0);
  EXPECT_EQ(ZeroOffset(r, 4000, 4100), 0);
  // A span running past the end counts the samples that exist: sample 999
  // at +3 and 2001 samples at -127 give -126.93, truncated to -126.
  EXPECT_EQ(ZeroOffset(r, 999, 5000), -126);
}

TEST(CalibrationStore, LowRangeFirstThenHighCh1BeforeCh2) {
  EXPECT_EQ(StoredNames[0], "CalCH1L");
  EXPECT_EQ(StoredNames[1], "CalCH2L");
  EXPECT_EQ(StoredNames[2], "CalCH1H");
  EXPECT_EQ(StoredNames[3], "CalCH2H");
}

TEST(CalibrationTimeLimit, LeavesRoomForTheSlowestHonestAnswer) {
  // The reply alone takes 3.4 s at 9600 baud; the slowest row records for
  // 3000 columns of 20 ms.
  EXPECT_GT(CaptureTimeLimitMs(2), 2 * 3439);
  EXPECT_GT(CaptureTimeLimitMs(20000), 2 * (60000 + 3439));
  EXPECT_EQ(CaptureTimeLimitMs(0), CaptureTimeLimitMs(-5));
}

TEST(CalibrationMessages, EachReasonSaysWhatHappenedAndThatNothingWasStored) {
  for (CancelReason r : {CancelReason::Stopped, CancelReason::NoAnswer, CancelReason::Disconnected}) {
    const std::string_view text = CancelMessage(r);
    EXPECT_EQ(text.rfind("Calibration cancelled: ", 0), 0u) << text;
    EXPECT_NE(text.find("unchanged"), std::string_view::npos) << text;
  }
  EXPECT_NE(CancelMessage(CancelReason::Stopped), CancelMessage(CancelReason::NoAnswer));
  EXPECT_NE(CancelMessage(CancelReason::NoAnswer), CancelMessage(CancelReason::Disconnected));
}

// ---- The simulator's converter offset ------------------------------------

TEST(SimZeroOffset, GroundedInputsReadTheZeroCodePlusTheOffset) {
  struct Case {
    double offset;
    std::uint8_t code;
    std::vector<std::uint8_t> reads;  // samples 1, 2, 3, 4
  } cases[] = {
      {0, 126, {126, 126, 126, 126}},
      {4, 126, {130, 130, 130, 130}},
      {-0.5, 126, {125, 126, 125, 126}},
      {1.5, 126, {127, 128, 127, 128}},
      {0.25, 126, {126, 126, 126, 127}},
      {10, 250, {255, 255, 255, 255}},  // held to the converter's range
      {-10, 3, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> reads;
    for (int i = 1; i <= 4; ++i) reads.push_back(sim::WithZeroOffset(c.code, c.offset, i));
    EXPECT_EQ(reads, c.reads) << "offset " << c.offset;
  }
}

TEST(SimZeroOffset, ReplyCarriesEachChannelsOffsetOnBothRanges) {
  sim::Inputs inputs{{sim::Shape::DC, 0, 0, 0}, {sim::Shape::DC, 0, 0, 0}, sim::ExternalTtlSquare(2000)};
  inputs.ch1ZeroOffset = 4;
  inputs.ch2ZeroOffset = -0.5;
  for (bool high : {true, false}) {
    sim::CaptureSetup setup;
    setup.ch1HighRange = setup.ch2HighRange = high;
    const std::vector<std::uint8_t> reply = sim::CaptureReply(inputs, setup, 0.0, 1, sim::kStatusUntriggered);
    ASSERT_EQ(reply.size(), sim::kReplyLength);
    long ch1 = 0, ch2 = 0;
    for (std::size_t i = 1; i <= 1500; ++i) ch1 += reply[i];
    for (std::size_t i = 1501; i <= 3000; ++i) ch2 += reply[i];
    EXPECT_EQ(ch1, 1500 * 130) << (high ? "high" : "low");
    EXPECT_EQ(ch2, 750 * 125 + 750 * 126) << (high ? "high" : "low");
  }
}

TEST(SimZeroOffset, CommandLineTakesOneOrTwoOffsets) {
  struct Case {
    std::vector<std::string> args;
    bool ok;
    double ch1, ch2;
  } cases[] = {
      {{"--zero-offset", "3"}, true, 3, 3},
      {{"--zero-offset=4:-0.5"}, true, 4, -0.5},
      {{"--zero-offset", "-1.5:2"}, true, -1.5, 2},
      {{"--zero-offset", "x"}, false, 0, 0},
      {{"--zero-offset", "1:"}, false, 0, 0},
      {{"--zero-offset", "200"}, false, 0, 0},
      {{"--zero-offset"}, false, 0, 0},
  };
  for (const Case& c : cases) {
    const sim::ParsedArguments parsed = sim::ParseArguments(c.args);
    EXPECT_EQ(parsed.error.empty(), c.ok) << c.args.back() << ": " << parsed.error;
    if (!c.ok) continue;
    EXPECT_EQ(parsed.config.inputs.ch1ZeroOffset, c.ch1);
    EXPECT_EQ(parsed.config.inputs.ch2ZeroOffset, c.ch2);
  }
  EXPECT_NE(sim::HelpText().find("--zero-offset"), std::string::npos);
}

}  // namespace

// A reply as it arrives: how many samples of each channel a byte count
// brings (a table over both layouts), and the link's progress against the
// simulator paced at the instrument's line speed: told often enough to draw
// from and never too often, always growing, never a record before the reply
// is whole, and a STOP half way leaving the held record and the next one
// whole.
#include <gtest/gtest.h>

#include "core/ReplyArrival.h"
#include "core/ScopeLink.h"
#include "sim/BuiltInSimulator.h"
#include "support/ErrorOf.h"
#include "support/QtPrint.h"
#include "support/SimProcess.h"
#include "support/WaitFor.h"

#include <QElapsedTimer>

#include <algorithm>
#include <vector>

namespace {

using capture_protocol::ReplyLayout;
using core::ArrivalOf;
using core::ReplyArrival;
using core::ScopeLink;
using Reason = ScopeLink::StopReason;

constexpr ReplyLayout kTwoChannels{false, true};
constexpr ReplyLayout kOnlyCh1{true, true};
constexpr ReplyLayout kOnlyCh2{true, false};

TEST(ReplyArrival, SamplesOfEachChannelAndWhereTheArrivingTraceIs) {
  struct Case {
    const char* name;
    ReplyLayout layout;
    int bytes;
    ReplyArrival arrival;  // samples {CH1, CH2}, arriving channel, reached index
  } cases[] = {
      {"nothing yet", kTwoChannels, 0, {{0, 0}, 1, 0}},
      {"the status byte only", kTwoChannels, 1, {{0, 0}, 1, 0}},
      {"CH1's first sample", kTwoChannels, 2, {{1, 0}, 1, 1}},
      {"mid-CH1", kTwoChannels, 1001, {{1000, 0}, 1, 1000}},
      {"CH1 one short", kTwoChannels, 1500, {{1499, 0}, 1, 1499}},
      {"exactly CH1's 1500: CH2 is next", kTwoChannels, 1501, {{1500, 0}, 2, 0}},
      {"CH2's first sample", kTwoChannels, 1502, {{1500, 1}, 2, 1}},
      {"mid-CH2", kTwoChannels, 2251, {{1500, 750}, 2, 750}},
      {"the 2999-sample short reply", kTwoChannels, 3000, {{1500, 1499}, 2, 1499}},
      {"complete", kTwoChannels, 3001, {{1500, 1500}, 0, 1500}},
      {"3000 of CH1: the status byte only", kOnlyCh1, 1, {{0, 0}, 1, 0}},
      {"3000 of CH1 fill it past 1500", kOnlyCh1, 1502, {{1501, 0}, 1, 1501}},
      {"3000 of CH1, short", kOnlyCh1, 3000, {{2999, 0}, 1, 2999}},
      {"3000 of CH1, complete", kOnlyCh1, 3001, {{3000, 0}, 0, 3000}},
      {"3000 of CH2 from its first sample", kOnlyCh2, 2, {{0, 1}, 2, 1}},
      {"3000 of CH2, mid", kOnlyCh2, 2001, {{0, 2000}, 2, 2000}},
      {"3000 of CH2, complete", kOnlyCh2, 3001, {{0, 3000}, 0, 3000}},
  };
  for (const Case& c : cases) {
    const ReplyArrival got = ArrivalOf(c.layout, c.bytes);
    EXPECT_EQ(got.samples, c.arrival.samples) << c.name;
    EXPECT_EQ(got.arrivingChannel, c.arrival.arrivingChannel) << c.name;
    EXPECT_EQ(got.reachedIndex, c.arrival.reachedIndex) << c.name;
    EXPECT_EQ(got.Total(), std::max(0, c.bytes - 1)) << c.name;
  }
}

TEST(ReplyArrival, ACountNoReplyHasIsRefused) {
  EXPECT_EQ(ErrorOf([] { ArrivalOf(kTwoChannels, -1); }), "List index out of bounds (-1)");
  EXPECT_EQ(ErrorOf([] { ArrivalOf(kOnlyCh1, 3002); }), "List index out of bounds (3002)");
}

// ---- The link against the simulator at the line speed ---------------------

// Both channels, auto trigger: a reply at once, 3.44 s on the line.
core::PanelSettings TwoChannelPanel() {
  core::PanelSettings p;
  for (int n : {1, 2}) {
    p.SetChannelOn(n, true);
    p.SetVoltsRow(n, 5);
  }
  p.SetTimeBase(3);
  p.SetAutoTrigger(true);
  p.SetContinuous(false);
  return p;
}

// What the link told while one reply came in.
struct Told {
  std::vector<std::int64_t> atMs;  // on a clock started at the reply's first progress
  std::vector<int> bytes;
  std::vector<ReplyArrival> arrivals;
  std::vector<int> partialSamples;  // samplesReceived of each partial record
  std::vector<core::Record> records;
  std::vector<Reason> reasons;
  std::int64_t recordAtMs = -1;
  QElapsedTimer clock;

  void Listen(ScopeLink& link) {
    QObject::connect(&link, &ScopeLink::replyProgress, [this](int count, const core::Record&) {
      if (!clock.isValid()) clock.start();
      bytes.push_back(count);
    });
    QObject::connect(&link, &ScopeLink::samplesArriving,
                     [this](const core::Record& partial, const ReplyArrival& arrival) {
                       atMs.push_back(clock.elapsed());
                       arrivals.push_back(arrival);
                       partialSamples.push_back(partial.samplesReceived);
                     });
    QObject::connect(&link, &ScopeLink::recordReceived, [this](const core::Record& r) {
      recordAtMs = clock.isValid() ? clock.elapsed() : -1;
      records.push_back(r);
    });
    QObject::connect(&link, &ScopeLink::stopped, [this](Reason r) { reasons.push_back(r); });
  }
};

class PacedSim1 : public ::testing::Test {
 protected:
  void SetUp() override { BuiltInSimulator::SetBaud(9600); }
  void TearDown() override { BuiltInSimulator::SetBaud(0); }
};

TEST_F(PacedSim1, ProgressComesTenToTwentyTimesASecondGrowingAndNoRecordBeforeTheWhole) {
  ScopeLink link;
  ASSERT_TRUE(link.Port().Open("SIM1", "9600", "NONE", "8", false));
  link.SetPanel(TwoChannelPanel());
  Told told;
  told.Listen(link);
  link.Run();
  ASSERT_TRUE(WaitFor([&] { return !told.reasons.empty(); }, 15000));
  ASSERT_EQ(told.records.size(), 1u);
  EXPECT_EQ(told.reasons, std::vector<Reason>{Reason::SingleDone});
  ASSERT_FALSE(told.atMs.empty());
  EXPECT_EQ(told.atMs.size(), told.bytes.size()) << "each progress in bytes and in samples";

  // From the first progress to the record the reply trickled in at the
  // line speed: a whole reply takes 3.44 s of it.
  const std::int64_t replyMs = told.recordAtMs;
  ASSERT_GT(replyMs, 3000);
  const auto count = static_cast<std::int64_t>(told.atMs.size());
  EXPECT_GE(count * 1000, 10 * replyMs) << count << " progress signals in " << replyMs << " ms";
  EXPECT_LE(count, replyMs / link_timing::ProgressIntervalMs + 1) << count << " in " << replyMs << " ms";
  for (std::size_t i = 1; i < told.atMs.size(); ++i) {
    EXPECT_GE(told.atMs[i] - told.atMs[i - 1], link_timing::ProgressIntervalMs - 1) << "progress " << i;
  }

  // Growing, the partial record's samples as counted, CH1 before CH2, and
  // never the whole reply.
  for (std::size_t i = 0; i < told.arrivals.size(); ++i) {
    const ReplyArrival& a = told.arrivals[i];
    EXPECT_EQ(a, ArrivalOf({false, true}, told.bytes[i])) << i;
    EXPECT_EQ(told.partialSamples[i], a.Total()) << i;
    EXPECT_LT(told.bytes[i], capture_protocol::CaptureReplyLength) << i;
    EXPECT_NE(a.arrivingChannel, 0) << i;
    if (a.Samples(2) > 0) {
      EXPECT_EQ(a.Samples(1), 1500) << i;
    }
    if (i > 0) {
      EXPECT_GT(told.bytes[i], told.bytes[i - 1]) << i;
    }
  }
  // Both halves were seen on their way.
  const auto midCh = [&](int channel) {
    return std::any_of(told.arrivals.begin(), told.arrivals.end(), [&](const ReplyArrival& a) {
      return a.arrivingChannel == channel && a.reachedIndex > 100 && a.reachedIndex < 1400;
    });
  };
  EXPECT_TRUE(midCh(1));
  EXPECT_TRUE(midCh(2));
  EXPECT_EQ(told.records.front().samplesReceived, 3000);
  EXPECT_EQ(link.Held(), told.records.front());
}

// The sim's inputs held at two levels, so each channel's code tells its
// samples apart: a record put together from a cut reply's tail would show
// it. The cut reply goes on to its end (--finish-replies), as an
// instrument may send it.
const QStringList kHeldLevelsAtLineSpeed = {"--baud", "--finish-replies", "--ch1", "dc:0:0:5",
                                            "--ch2", "dc:0:0:-5"};

TEST(CoreLinkAtLineSpeed, StopTwoSecondsIntoAReplyKeepsTheHeldRecordAndTheNextIsWhole) {
  SimProcess sim;
  sim.Start(kHeldLevelsAtLineSpeed);
  ScopeLink link;
  ASSERT_TRUE(link.Port().Open(sim.Link().toStdString(), "9600", "NONE", "8", false));
  link.SetPanel(TwoChannelPanel());
  Told told;
  told.Listen(link);

  // A first complete record to hold.
  link.Run();
  ASSERT_TRUE(WaitFor([&] { return !told.reasons.empty(); }, 15000));
  ASSERT_EQ(told.records.size(), 1u);
  const core::Record first = told.records.front();
  ASSERT_EQ(first.samplesReceived, 3000);
  const std::uint8_t ch1Code = first.ch1[1];
  const std::uint8_t ch2Code = first.ch2[1];
  ASSERT_NE(ch1Code, ch2Code);
  const auto wholeAndLevel = [&](const core::Record& r) {
    return std::all_of(r.ch1.begin() + 1, r.ch1.begin() + 1501, [&](std::uint8_t s) { return s == ch1Code; }) &&
           std::all_of(r.ch2.begin() + 1, r.ch2.begin() + 1501, [&](std::uint8_t s) { return s == ch2Code; });
  };
  ASSERT_TRUE(wholeAndLevel(first));

  // The second reply, stopped once two seconds of it are in: CH2 is on its way.
  QObject::disconnect(&link, nullptr, nullptr, nullptr);
  Told cut;
  cut.Listen(link);
  bool stopSent = false;
  QObject::connect(&link, &ScopeLink::replyProgress, [&] {
    if (stopSent || cut.clock.elapsed() < 2000) return;
    stopSent = true;
    link.Stop();
  });
  link.Run();
  ASSERT_TRUE(WaitFor([&] { return !cut.reasons.empty(); }, 15000));
  EXPECT_EQ(cut.reasons, std::vector<Reason>{Reason::Stop});
  ASSERT_FALSE(cut.bytes.empty());
  EXPECT_GT(cut.bytes.back(), 1501) << "stopped while CH2 was arriving";
  // The rest of the cut reply comes in and is discarded: no record, and the
  // held one is the first, sample for sample.
  ASSERT_TRUE(WaitFor([&] { return link.CurrentState() == ScopeLink::State::Idle; }, 15000));
  EXPECT_TRUE(cut.records.empty());
  EXPECT_EQ(link.Held(), first);

  // The next RUN waits for the quiet line, and its record is whole.
  cut.reasons.clear();
  link.Run();
  ASSERT_TRUE(WaitFor([&] { return !cut.reasons.empty(); }, 15000));
  EXPECT_EQ(cut.reasons, std::vector<Reason>{Reason::SingleDone});
  ASSERT_EQ(cut.records.size(), 1u);
  const core::Record& next = cut.records.front();
  EXPECT_EQ(next.samplesReceived, 3000);
  EXPECT_EQ(next.sequence, 2u);
  EXPECT_TRUE(wholeAndLevel(next));
  EXPECT_EQ(sim.Wire(), "AA AA FF AA");
}

}  // namespace

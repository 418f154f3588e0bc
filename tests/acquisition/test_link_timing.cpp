// When the line counts as quiet after a stop byte, and how the capture wait
// paces itself while a reply trickles in.
#include <gtest/gtest.h>

#include "acquisition/LinkTiming.h"

namespace lt = link_timing;

TEST(QuietLine, SettlesAfterTheQuietThatFitsWhatIsStillToCome) {
  struct Case {
    const char* name;
    int bytesToCome;           // at the stop byte
    int discardedAt10ms;       // bytes seen 10 ms later
    std::int64_t settledAtMs;  // first whole millisecond it counts as quiet
  };
  const Case cases[] = {
      {"nothing known, nothing comes", -1, 0, lt::QuietLineMs},
      {"nothing known, a tail comes", -1, 100, 10 + lt::QuietLineMs},
      {"the rest of a reply comes whole", 1000, 1000, 10 + lt::TailDoneQuietMs},
      {"more than the reply's rest comes", 1000, 1500, 10 + lt::TailDoneQuietMs},
      {"part of the rest comes, then silence", 1000, 999, 10 + lt::QuietLineMs},
  };
  for (const Case& c : cases) {
    lt::QuietLine line;
    EXPECT_TRUE(line.Settled(0)) << c.name;
    line.Disturbed(0, c.bytesToCome);
    if (c.discardedAt10ms > 0) line.InputSeen(10, c.discardedAt10ms);
    EXPECT_FALSE(line.Settled(c.settledAtMs - 1)) << c.name;
    EXPECT_EQ(line.MsUntilSettled(c.settledAtMs - 1), 1) << c.name;
    EXPECT_TRUE(line.Settled(c.settledAtMs)) << c.name;
  }
}

TEST(QuietLine, AnInstrumentThatNeverFallsSilentIsWaitedForOneReplyTimeAtMost) {
  lt::QuietLine line;
  line.Disturbed(0, -1);
  std::int64_t now = 0;
  while (!line.Settled(now)) {
    line.InputSeen(now, 1);
    now += 5;
  }
  EXPECT_GE(now, lt::SettleLimitMs);
  EXPECT_LT(now, lt::SettleLimitMs + 5);
  EXPECT_GT(lt::SettleLimitMs, lt::ReplyMs);
  EXPECT_EQ(lt::ReplyMs, 3439);  // 3001 bytes of 11 bits at 9600 baud
}

TEST(QuietLine, ACleanExchangeLeavesItQuietAtOnce) {
  lt::QuietLine line;
  line.Disturbed(0);
  EXPECT_FALSE(line.Settled(1));
  line.Clear();
  EXPECT_TRUE(line.Settled(1));
}

TEST(TrickleSleep, FollowsTheRateTheReplyComesAt) {
  struct Case {
    const char* name;
    int remaining, gained;
    std::int64_t sinceLookUs;
    int sleepMs;
  } cases[] = {
      {"first look: no rate yet, look again at once", 2000, 1000, 0, 0},
      {"a fast link: the rest is due at once, a millisecond at least", 1000, 2000, 1000, 1},
      {"9600 baud, seconds to go: the longest sleep", 2000, 14, 16000, 50},
      {"9600 baud, 40 bytes short: woken when they are due", 40, 14, 16000, 45},
      {"9600 baud, a few bytes short: a few milliseconds", 4, 14, 16000, 4},
      {"nothing came a moment after the first look: a millisecond", 1500, 0, 20, 1},
      {"nothing came for 16 ms: twice that", 1500, 0, 16000, 32},
      {"nothing came for long: never more than the stall sleep", 1500, 0, 32000, lt::StalledReplySleepMs},
      {"nothing left to come", 0, 10, 1000, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(lt::TrickleSleepMs(c.remaining, c.gained, c.sinceLookUs), c.sleepMs) << c.name;
}

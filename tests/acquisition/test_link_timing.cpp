// When the line counts as quiet after a stop byte, how the capture wait
// paces itself while a reply trickles in, and when a begun reply has stalled.
#include <gtest/gtest.h>

#include "acquisition/LinkTiming.h"
#include "support/ErrorOf.h"
#include "support/QtPrint.h"

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

TEST(StalledReply, IsGivenUpAfterASecondOrSeveralCharacterTimesWhicheverIsLonger) {
  struct Case {
    const char* name;
    int queued;
    std::int64_t silentMs;
    int baud;
    bool stalled;
  } cases[] = {
      {"not begun: a capture waits for its trigger as long as it takes", 0, 60000, lt::LineBaud, false},
      {"begun, a pause a busy computer makes", 1500, 200, lt::LineBaud, false},
      {"begun, just short of a second", 1500, 999, lt::LineBaud, false},
      {"begun, a second of silence at 9600 baud", 1500, 1000, lt::LineBaud, true},
      {"one byte, then silence", 1, 1000, lt::LineBaud, true},
      // 16 characters of 11 bits at 110 baud: 1600 ms.
      {"110 baud: a second is a few characters, not a stall", 1500, 1000, 110, false},
      {"110 baud: just short of 16 character times", 1500, 1599, 110, false},
      {"110 baud: 16 character times", 1500, 1600, 110, true},
      // 176000 / 100 = 1760 ms exactly; 176000 / 97 = 1814.4, rounded up.
      {"100 baud: exactly 16 character times", 10, 1760, 100, true},
      {"97 baud: a part millisecond counts as a whole one", 10, 1814, 97, false},
      {"97 baud: rounded up", 10, 1815, 97, true},
  };
  for (const Case& c : cases) EXPECT_EQ(lt::ReplyStalled(c.queued, c.silentMs, c.baud), c.stalled) << c.name;
  EXPECT_EQ(lt::StalledReplyMs(), lt::StalledReplyFloorMs);
  // Longer than any pause the trickle pacing makes between two looks.
  EXPECT_GT(lt::StalledReplyMs(), lt::LongestTrickleSleepMs);
}

TEST(StalledReply, ALineRateOfZeroIsAnError) {
  EXPECT_EQ(ErrorOf([] { lt::StalledReplyMs(0); }), "Division by zero");
}

// A reply drawn as it arrives: which columns of each channel show the new
// trace, which the previous record dimmed, and where the marker stands, in
// each layout, as CH1's samples come and then CH2's.

#include "display/ArrivingTrace.h"

#include "support/ErrorOf.h"
#include "support/QtPrint.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using screen_model::ArrivingChannel;
using screen_model::ArrivingReply;
using screen_model::PictureOfArrival;
using screen_model::RecordLayout;
using screen_model::ViewFromMarker;

// The view window marker at its place after start: samples 503..999 of a
// standard record.
constexpr int kMarkerLeft = 173;

constexpr ArrivingChannel kNothing{};
constexpr ArrivingChannel kAllPrevious{{1, 0}, {0, -1}, {0, 499}};

ArrivingChannel FreshTo(int firstSample, int lastSample, int lastColumn) {
  return {{firstSample, lastSample}, {0, lastColumn}, lastColumn < 499 ? screen_model::ColumnSpan{lastColumn + 1, 499}
                                                                        : screen_model::ColumnSpan{}};
}

TEST(ArrivingTrace, NewColumnsDimmedColumnsAndTheMarkerAsTheReplyComesIn) {
  ASSERT_EQ(ViewFromMarker(RecordLayout::Standard, kMarkerLeft).start, 503);
  ASSERT_EQ(ViewFromMarker(RecordLayout::Standard, kMarkerLeft).end, 999);
  struct Case {
    const char* name;
    RecordLayout layout;
    int recordChannel;
    int ch1, ch2, arriving;
    bool previous;
    ArrivingChannel wantCh1, wantCh2;
    std::optional<int> marker;
  } cases[] = {
      {"nothing in: the previous record, dimmed", RecordLayout::Standard, 1, 0, 0, 1, true,
       kAllPrevious, kAllPrevious, std::nullopt},
      {"nothing in and nothing before: an empty screen", RecordLayout::Standard, 1, 0, 0, 1, false,
       kNothing, kNothing, std::nullopt},
      {"CH1 short of the view", RecordLayout::Standard, 1, 502, 0, 1, true,
       kAllPrevious, kAllPrevious, std::nullopt},
      {"CH1's first sample of the view", RecordLayout::Standard, 1, 503, 0, 1, true,
       FreshTo(503, 503, 2), kAllPrevious, 2},
      {"CH1 half way through the view", RecordLayout::Standard, 1, 700, 0, 1, true,
       FreshTo(503, 700, 199), kAllPrevious, 199},
      {"CH1 half way, nothing before", RecordLayout::Standard, 1, 700, 0, 1, false,
       {{503, 700}, {0, 199}, {}}, kNothing, 199},
      {"CH1 at the view's last sample", RecordLayout::Standard, 1, 999, 0, 1, true,
       FreshTo(503, 999, 499), kAllPrevious, 498},
      {"CH1's first 1000: CH1's view new, CH2's old", RecordLayout::Standard, 1, 1000, 0, 1, true,
       FreshTo(503, 999, 499), kAllPrevious, std::nullopt},
      {"CH1 whole, CH2 next", RecordLayout::Standard, 1, 1500, 0, 2, true,
       FreshTo(503, 999, 499), kAllPrevious, std::nullopt},
      {"CH2 half way through the view", RecordLayout::Standard, 1, 1500, 800, 2, true,
       FreshTo(503, 999, 499), FreshTo(503, 800, 299), 299},
      {"the 2999-sample short reply", RecordLayout::Standard, 1, 1500, 1499, 2, true,
       FreshTo(503, 999, 499), FreshTo(503, 999, 499), std::nullopt},
      {"whole", RecordLayout::Standard, 1, 1500, 1500, 0, true,
       FreshTo(503, 999, 499), FreshTo(503, 999, 499), std::nullopt},
      // View 621..869, two columns a sample.
      {"stretched: CH1 half way", RecordLayout::Stretched, 1, 700, 0, 1, true,
       FreshTo(621, 700, 160), kAllPrevious, 160},
      // View 1245..1741 of the one channel; the other is not in the picture.
      {"3000 of CH1: its first samples are left of the view", RecordLayout::ThreeThousand, 1, 10, 0, 1, true,
       kAllPrevious, kNothing, std::nullopt},
      {"3000 of CH1 past 1500, in the view", RecordLayout::ThreeThousand, 1, 1300, 0, 1, true,
       FreshTo(1245, 1300, 57), kNothing, 57},
      {"3000 of CH2 in the view", RecordLayout::ThreeThousand, 2, 0, 1741, 2, true,
       kNothing, FreshTo(1245, 1741, 499), 498},
      {"3000 of CH2, whole", RecordLayout::ThreeThousand, 2, 0, 3000, 0, true,
       kNothing, FreshTo(1245, 1741, 499), std::nullopt},
  };
  for (const Case& c : cases) {
    ArrivingReply reply;
    reply.layout = c.layout;
    reply.view = ViewFromMarker(c.layout, kMarkerLeft);
    reply.recordChannel = c.recordChannel;
    reply.samples = {c.ch1, c.ch2};
    reply.arrivingChannel = c.arriving;
    reply.previousShown = c.previous;
    const auto picture = PictureOfArrival(reply);
    EXPECT_EQ(picture.Channel(1), c.wantCh1) << c.name;
    EXPECT_EQ(picture.Channel(2), c.wantCh2) << c.name;
    EXPECT_EQ(picture.markerColumn, c.marker) << c.name;
  }
}

TEST(ArrivingTrace, TheOneChannelFillsFromItsFirstSample) {
  // The 3000-sample record's view at its first samples: the first sample in
  // is drawn at once, where a two-channel reply's CH2 waits for CH1's 1500.
  ArrivingReply reply;
  reply.layout = RecordLayout::ThreeThousand;
  reply.view = {1, 497};
  reply.recordChannel = 2;
  reply.samples = {0, 1};
  reply.arrivingChannel = 2;
  reply.previousShown = true;
  const auto picture = PictureOfArrival(reply);
  EXPECT_EQ(picture.Channel(2), FreshTo(1, 1, 2));
  EXPECT_EQ(picture.markerColumn, std::optional<int>(2));
}

TEST(ArrivingTrace, ColumnsAFrameChangesAreAroundWhereEachTraceEndedAndEndsNow) {
  // From one progress of a reply to the next, over the view 503..999
  // (stretched: 621..869, two columns a sample).
  struct Progress {
    int ch1, ch2, arriving;
    bool previous = true;
  };
  struct Case {
    const char* name;
    RecordLayout layout;
    Progress before, now;
    screen_model::ColumnSpan want;
  } cases[] = {
      {"nothing moved", RecordLayout::Standard, {700, 0, 1}, {700, 0, 1}, {}},
      {"CH1 on from 600 to 700", RecordLayout::Standard, {600, 0, 1}, {700, 0, 1}, {97, 201}},
      {"CH1 reaches the view", RecordLayout::Standard, {400, 0, 1}, {503, 0, 1}, {0, 4}},
      {"CH1's view complete: new to the right edge", RecordLayout::Standard, {950, 0, 1}, {999, 0, 1}, {447, 499}},
      {"CH1 past the view: only the marker goes", RecordLayout::Standard, {999, 0, 1}, {1100, 0, 1}, {498, 498}},
      {"CH1 in beyond the view", RecordLayout::Standard, {1100, 0, 1}, {1400, 0, 1}, {}},
      {"CH2 reaches the view", RecordLayout::Standard, {1500, 400, 2}, {1500, 600, 2}, {0, 101}},
      {"stretched: two columns a sample", RecordLayout::Stretched, {650, 0, 1}, {700, 0, 1}, {58, 162}},
      {"a previous record now shown: the whole plot", RecordLayout::Standard, {700, 0, 1, false}, {700, 0, 1},
       {0, 499}},
  };
  const auto pictureOf = [](RecordLayout layout, const Progress& p) {
    ArrivingReply reply;
    reply.layout = layout;
    reply.view = ViewFromMarker(layout, kMarkerLeft);
    reply.samples = {p.ch1, p.ch2};
    reply.arrivingChannel = p.arriving;
    reply.previousShown = p.previous;
    return PictureOfArrival(reply);
  };
  for (const Case& c : cases) {
    const screen_model::ColumnSpan got =
        screen_model::ColumnsChanged(pictureOf(c.layout, c.before), pictureOf(c.layout, c.now));
    EXPECT_EQ(got.Empty(), c.want.Empty()) << c.name;
    if (!c.want.Empty()) {
      EXPECT_EQ(got, c.want) << c.name;
    }
  }
}

TEST(ArrivingTrace, CountsAndChannelsNoReplyHasAreRefused) {
  struct Case {
    const char* name;
    RecordLayout layout;
    int recordChannel, ch1, ch2, arriving;
    const char* message;
  } cases[] = {
      {"past CH1's 1500", RecordLayout::Standard, 1, 1501, 0, 1, "List index out of bounds (1501)"},
      {"a negative count", RecordLayout::Standard, 1, 1500, -1, 2, "List index out of bounds (-1)"},
      {"past the one channel's 3000", RecordLayout::ThreeThousand, 1, 3001, 0, 1, "List index out of bounds (3001)"},
      {"no channel arriving 3", RecordLayout::Standard, 1, 0, 0, 3, "List index out of bounds (3)"},
      {"record channel 0", RecordLayout::ThreeThousand, 0, 0, 0, 1, "List index out of bounds (-1)"},
  };
  for (const Case& c : cases) {
    ArrivingReply reply;
    reply.layout = c.layout;
    reply.recordChannel = c.recordChannel;
    reply.samples = {c.ch1, c.ch2};
    reply.arrivingChannel = c.arriving;
    EXPECT_EQ(ErrorOf([&] { PictureOfArrival(reply); }), c.message) << c.name;
  }
}

}  // namespace

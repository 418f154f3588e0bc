#include "display/ArrivingTrace.h"

#include "app/Errors.h"

#include <algorithm>

namespace screen_model {

namespace {

constexpr int ChannelSamples = 1500;  // each channel's share of a two-channel reply
constexpr int RecordSamples = 3000;   // the one channel of a 3000-sample reply

ArrivingChannel ChannelPicture(const ArrivingReply& reply, int arrived, bool carried) {
  ArrivingChannel picture;
  if (!carried) return picture;
  const ViewWindow view = reply.view;
  const int lastIn = std::min(arrived, view.end);
  if (lastIn >= view.start) {
    picture.freshSamples = {view.start, lastIn};
    // The whole width once the view is in: the trace's stroke may reach
    // past its last column.
    picture.fresh = {0, lastIn == view.end ? PlotColumnCount - 1
                                           : ColumnOfViewSample(reply.layout, lastIn - view.start)};
  }
  if (reply.previousShown && picture.fresh.last < PlotColumnCount - 1)
    picture.previous = {picture.fresh.last + 1, PlotColumnCount - 1};
  return picture;
}

// How far either side of a vertex the two-pixel stroke reaches: its round
// end and its corners light pixels up to one column away; one more column
// is kept for safety.
constexpr int StrokeReachColumns = 2;

}  // namespace

ArrivingPicture PictureOfArrival(const ArrivingReply& reply) {
  const bool oneChannel = reply.layout == RecordLayout::ThreeThousand;
  CheckListIndex(reply.recordChannel - 1, 2);
  CheckListIndex(reply.arrivingChannel, 3);
  for (const int count : reply.samples) CheckListIndex(count, (oneChannel ? RecordSamples : ChannelSamples) + 1);

  ArrivingPicture picture;
  for (const int channel : {1, 2}) {
    const bool carried = !oneChannel || channel == reply.recordChannel;
    picture.channels[static_cast<std::size_t>(channel - 1)] =
        ChannelPicture(reply, reply.samples[static_cast<std::size_t>(channel - 1)], carried);
  }
  if (reply.arrivingChannel != 0) {
    const int reached = reply.samples[static_cast<std::size_t>(reply.arrivingChannel - 1)];
    if (reached >= reply.view.start && reached <= reply.view.end)
      picture.markerColumn = ColumnOfViewSample(reply.layout, reached - reply.view.start);
  }
  return picture;
}

ColumnSpan ColumnsChanged(const ArrivingPicture& before, const ArrivingPicture& now) {
  int first = PlotColumnCount;
  int last = -1;
  // Right of the new trace a channel shows the previous record dimmed, or
  // nothing when there is none.
  const auto nothingRightOf = [](const ArrivingChannel& c) {
    return c.previous.Empty() && c.fresh.last < PlotColumnCount - 1;
  };
  const auto take = [&](int from, int to) {
    first = std::min(first, from);
    last = std::max(last, to);
  };
  for (std::size_t c = 0; c < before.channels.size(); ++c) {
    const ArrivingChannel& was = before.channels[c];
    const ArrivingChannel& is = now.channels[c];
    if (was == is) continue;
    if (nothingRightOf(was) != nothingRightOf(is) ||
        (!was.freshSamples.Empty() && !is.freshSamples.Empty() && was.freshSamples.first != is.freshSamples.first)) {
      take(0, PlotColumnCount - 1);
      continue;
    }
    // The new trace's last column, -1 before it begins: the dimmed part
    // starts right of it.
    take(std::min(was.fresh.last, is.fresh.last) - StrokeReachColumns,
         std::max(was.fresh.last, is.fresh.last) + StrokeReachColumns);
  }
  if (before.markerColumn != now.markerColumn) {
    for (const std::optional<int>& marker : {before.markerColumn, now.markerColumn})
      if (marker) take(*marker, *marker);
  }
  if (last < first) return {};
  return {std::max(first, 0), std::min(last, PlotColumnCount - 1)};
}

}  // namespace screen_model

#pragma once
// A reply drawn while it arrives: each channel's samples in so far are drawn
// as the new trace, the part of the view they have not reached yet still
// shows the previous record's trace, dimmed, and a thin marker stands on the
// column the arriving trace has got to. CH1's 1500 samples come first, then
// CH2's; the one channel of a 3000-sample record fills from its first sample
// on. Pure arithmetic over sample indices and plot columns: the window hands
// in the view, the layout and the counts, and draws what this says.

#include "display/RecordLayout.h"
#include "display/SampleRows.h"

#include <array>
#include <optional>

namespace screen_model {

// The plot's columns, 0..499.
inline constexpr int PlotColumnCount = 500;

// Plot columns first..last; none when last < first.
struct ColumnSpan {
  int first = 0;
  int last = -1;
  bool Empty() const { return last < first; }
  int Count() const { return Empty() ? 0 : last - first + 1; }
  friend bool operator==(const ColumnSpan&, const ColumnSpan&) = default;
};

// Sample indices first..last of one channel's buffer; none when last < first.
struct IndexSpan {
  int first = 1;
  int last = 0;
  bool Empty() const { return last < first; }
  friend bool operator==(const IndexSpan&, const IndexSpan&) = default;
};

struct ArrivingChannel {
  // The view's samples of the new record that are in, drawn as its trace
  // from the lead-in column on, as a whole frame draws them.
  IndexSpan freshSamples;
  // The columns the new trace owns: from the left edge to its last sample.
  ColumnSpan fresh;
  // The columns right of it, where the previous record shows dimmed; none
  // without a previous record. With `fresh` they cover the plot.
  ColumnSpan previous;
  friend bool operator==(const ArrivingChannel&, const ArrivingChannel&) = default;
};

struct ArrivingPicture {
  std::array<ArrivingChannel, 2> channels{};  // CH1, CH2
  // The column of the arriving trace's last sample, while it is in the view
  // and the reply is not yet whole.
  std::optional<int> markerColumn;

  const ArrivingChannel& Channel(int channel) const { return channels[channel == 1 ? 0 : 1]; }
  friend bool operator==(const ArrivingPicture&, const ArrivingPicture&) = default;
};

struct ArrivingReply {
  RecordLayout layout = RecordLayout::Standard;  // of the record arriving
  ViewWindow view{1, 497};                        // its view
  int recordChannel = 1;         // the channel of a 3000-sample record (1 or 2)
  std::array<int, 2> samples{};  // samples of CH1 and CH2 in, indices 1..count
  int arrivingChannel = 1;       // the channel the next sample belongs to; 0 once whole
  bool previousShown = false;    // a complete record is on the screen to be replaced
};

// The previous record's trace where the new one has not reached yet: the
// channel's colour at two fifths, each component rounded down.
constexpr Rgb Dimmed(Rgb c) { return {c.red * 2 / 5, c.green * 2 / 5, c.blue * 2 / 5}; }

// The thin marker where the arriving trace has got to: one column, the
// plot's height, mid grey.
inline constexpr Rgb ArrivalMarkerColour{128, 128, 128};

// Arriving frames are drawn at most this often: ten a second show the trace
// growing smoothly (a reply at the line speed brings under 90 samples in that
// time), while each frame more costs a redraw that the record's own frame
// soon makes again anyway.
inline constexpr int ArrivingFrameIntervalMs = 100;

// What the screen shows of a reply on its way. A channel the record does not
// carry (the other one of a 3000-sample record) has nothing new and nothing
// dimmed: it is not part of the picture the reply ends in. Throws "List index
// out of bounds (n)" for a count outside 0..3000, or past 1500 in a
// two-channel record, and for an arriving or record channel that is no
// channel.
ArrivingPicture PictureOfArrival(const ArrivingReply& reply);

// The plot columns whose pixels may differ between two pictures of one reply
// over the same view and previous record: around where each channel's new
// trace ended and where it ends now (columns pass from dimmed to new, and the
// round end of the new trace becomes a corner) and the marker's two columns.
// Every other column is drawn the same. The whole plot when a channel comes
// to show a previous record right of its new trace or stops showing one;
// none when nothing moved.
ColumnSpan ColumnsChanged(const ArrivingPicture& before, const ArrivingPicture& now);

}  // namespace screen_model

#pragma once
// Which channels of the record on screen a frame shows, and which one the
// overview strip, snap and the voltage cursors read. The record the panel
// asked for follows the panel: its channel keys show or hide a stopped trace
// at once, and the strip reads the focused channel whether or not it is on.
// A kept record stepped back to or opened is viewed with its own channels,
// so it draws and measures as it did when it came, while the keys wait for
// the next RUN.

#include "core/Record.h"

#include <array>

namespace core {

// Whose channels a frame shows.
enum class ChannelSource {
  PanelKeys,  // the record the panel asked for: the keys as they stand
  Record,     // a kept record: the channels its description holds
};

struct FrameChannels {
  std::array<bool, 2> shown{};  // CH1's, CH2's trace drawn and readings shown
  int read = 1;                 // the channel the strip, snap and voltage cursors read
  bool Shown(int channel) const { return shown[channel == 1 ? 0 : 1]; }
  friend bool operator==(const FrameChannels&, const FrameChannels&) = default;
};

// `keys` are the panel's channel keys, `focused` the channel the volts/div
// knob acts on. A kept record is read through the focused channel while it
// holds samples of it; a 3000-sample record of the other channel is read
// through its own, not through a buffer it never filled.
FrameChannels ChannelsOfFrame(ChannelSource source, const Record& record, std::array<bool, 2> keys, int focused);

// Whether `record` holds samples of `channel` at all: a 3000-sample record
// has none of the other channel, so nothing of it can be measured.
bool HoldsChannel(const Record& record, int channel);

}  // namespace core

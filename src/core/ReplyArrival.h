#pragma once
// How far a capture reply has come, in samples: the reply is a status byte,
// then CH1's 1500 samples and CH2's 1500, or the 3000 of the one channel of
// a 1 MS/s record, so a byte count says how many samples of each channel are
// in and where the trace being received has got to. The link reports it with
// each progress signal; the screen draws a reply as it arrives from it.

#include "acquisition/CaptureProtocol.h"

#include <QMetaType>

#include <array>

namespace core {

struct ReplyArrival {
  // Samples of each channel in, indices 1..count of its buffer (CH1, CH2).
  std::array<int, 2> samples{};
  // The channel the next sample belongs to (1 or 2); 0 once every sample is
  // in. With exactly CH1's 1500 in, the next is CH2's first.
  int arrivingChannel = 0;
  // The last index of the arriving channel that is in (0: none yet); once
  // every sample is in, the last index of the reply's last channel.
  int reachedIndex = 0;

  int Samples(int channel) const { return samples[channel == 1 ? 0 : 1]; }
  int Total() const { return samples[0] + samples[1]; }
  friend bool operator==(const ReplyArrival&, const ReplyArrival&) = default;
};

// The samples that `replyBytes` bytes of a reply in `layout` bring, the
// status byte first. Throws "List index out of bounds (n)" for a count
// outside 0..3001.
ReplyArrival ArrivalOf(capture_protocol::ReplyLayout layout, int replyBytes);

}  // namespace core

Q_DECLARE_METATYPE(core::ReplyArrival)

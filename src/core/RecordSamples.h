#pragma once
// Which indices of a record's buffers hold its own samples. The reply is
// split into buffers that outlive it, so indices the record's layout does
// not fill still hold an earlier record's samples; kept in the history or
// saved to a file, a record takes only its own, so it reads the same
// whichever record came before it.

#include "core/Record.h"

namespace core {

// Indices first..last of one channel's buffer (from 1); empty when last < first.
struct SampleSpan {
  int first = 1;
  int last = 0;
  int Count() const { return last >= first ? last - first + 1 : 0; }
  friend bool operator==(const SampleSpan&, const SampleSpan&) = default;
};

// The samples the reply put into `channel`'s buffer: 1..1500 of both
// channels, or 1..3000 of the channel a 1 MS/s record belongs to and none
// of the other.
SampleSpan OwnSamples(const Record& record, int channel);

// The record with every index outside its own samples (index 0 too) set to
// 0, as a record read from a file has them.
Record WithOwnSamplesOnly(Record record);

}  // namespace core

#pragma once
// The mean of the last N records taken with the same settings, sample by
// sample: noise on a steady signal shrinks as 1/sqrt(N) while the signal
// stays. N is one of 1 (off), 2, 4, 8, 16, 32, 64. Any change of what the
// instrument was asked for (volts/div, time base, trigger, channels,
// calibration) starts the average again from the record that brought it, so
// a trace is never the mean of two different pictures.
//
// The mean is kept at sub-count resolution (Samples) for drawing, and as a
// record of whole counts (Rounded) for code that reads bytes: the
// measurements, the export, a saved record. Off is exactly the record.

#include "acquisition/CaptureProtocol.h"
#include "core/Record.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace core {

inline constexpr std::array<int, 7> AverageDepths{1, 2, 4, 8, 16, 32, 64};

// What a record was taken with: its description (without its samples, its
// time, its number or how many bytes came) and the command bytes that asked
// for it (the trigger's level, edge, source, mode and position are only
// there).
struct AverageKey {
  Record description;
  capture_protocol::CaptureCommand command{};
  friend bool operator==(const AverageKey&, const AverageKey&) = default;
};
AverageKey AverageKeyOf(const Record& record, const capture_protocol::CaptureCommand& command);

class TraceAverage {
 public:
  using MeanSamples = std::array<double, capture_protocol::CaptureSampleCount + 1>;  // index 0 unused

  // Records to average, one of AverageDepths; another is a ScopeError. The
  // average starts again from the latest record, so switching to 1 shows
  // exactly that record.
  void SetDepth(int records);
  int Depth() const { return depth_; }

  // Adds a record taken with `command`; a record whose key differs from
  // the last one's starts the average again first. True when it started
  // again and dropped earlier records.
  bool Add(const Record& record, const capture_protocol::CaptureCommand& command);
  // Forgets every record.
  void Restart();

  // Records in the average now: 1..Depth(), 0 before the first.
  int Count() const { return static_cast<int>(held_.size()); }
  // The mean of each sample of channel 1 or 2, in counts (another channel
  // is a ScopeError); zeros before the first record.
  const MeanSamples& Samples(int channel) const;
  // The latest record with each sample the mean rounded to the nearest
  // count (halves up), and `averaged` the records in the mean; with one
  // record in it, that record exactly. A ScopeError before the first record.
  const Record& Rounded() const;

 private:
  void Recompute();

  int depth_ = 1;
  // The records in the average as a ring: once it is full, the record at
  // `oldest_` is the next to be replaced. And the sums of their samples.
  std::vector<Record> held_;
  std::size_t oldest_ = 0;
  std::size_t latest_ = 0;
  std::optional<AverageKey> key_;
  std::array<std::array<std::int32_t, capture_protocol::CaptureSampleCount + 1>, 2> sums_{};
  std::array<MeanSamples, 2> means_{};
  Record rounded_;
};

}  // namespace core

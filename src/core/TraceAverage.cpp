#include "core/TraceAverage.h"

#include "app/Errors.h"

#include <algorithm>

namespace core {

namespace {

constexpr std::size_t Slot(int channel) {
  if (channel < 1 || channel > 2) throw ScopeError(QStringLiteral("List index out of bounds (%1)").arg(channel));
  return static_cast<std::size_t>(channel - 1);
}

}  // namespace

AverageKey AverageKeyOf(const Record& record, const capture_protocol::CaptureCommand& command) {
  AverageKey key{record, command};
  key.description.ch1 = {};
  key.description.ch2 = {};
  key.description.received = {};
  key.description.sequence = 0;
  key.description.samplesReceived = 0;
  key.description.averaged = 1;
  return key;
}

void TraceAverage::SetDepth(int records) {
  if (std::find(AverageDepths.begin(), AverageDepths.end(), records) == AverageDepths.end())
    throw ScopeError(QStringLiteral("An average of %1 records is not offered: 1 (off), 2, 4, 8, 16, 32 or 64.")
                         .arg(records));
  depth_ = records;
  if (held_.empty()) return;
  // The latest record alone starts the new average.
  const Record latest = held_[latest_];
  const std::optional<AverageKey> key = key_;
  Restart();
  key_ = key;
  held_.push_back(latest);
  for (std::size_t n = 0; n < 2; ++n)
    for (std::size_t i = 0; i < sums_[n].size(); ++i) sums_[n][i] = latest.Samples(static_cast<int>(n + 1))[i];
  Recompute();
}

bool TraceAverage::Add(const Record& record, const capture_protocol::CaptureCommand& command) {
  AverageKey key = AverageKeyOf(record, command);
  const bool restart = key_ && *key_ != key && !held_.empty();
  if (restart) Restart();
  key_ = std::move(key);
  const auto add = [&](const Record& r, int sign) {
    for (std::size_t n = 0; n < 2; ++n) {
      const capture_protocol::SampleBuffer& samples = r.Samples(static_cast<int>(n + 1));
      for (std::size_t i = 0; i < samples.size(); ++i) sums_[n][i] += sign * samples[i];
    }
  };
  if (held_.size() < static_cast<std::size_t>(depth_)) {
    held_.push_back(record);
    latest_ = held_.size() - 1;
  } else {
    add(held_[oldest_], -1);
    held_[oldest_] = record;
    latest_ = oldest_;
    oldest_ = (oldest_ + 1) % held_.size();
  }
  add(record, +1);
  Recompute();
  return restart;
}

void TraceAverage::Restart() {
  held_.clear();
  oldest_ = latest_ = 0;
  key_.reset();
  sums_ = {};
  means_ = {};
  rounded_ = {};
}

const TraceAverage::MeanSamples& TraceAverage::Samples(int channel) const { return means_[Slot(channel)]; }

const Record& TraceAverage::Rounded() const {
  if (held_.empty()) throw ScopeError(QStringLiteral("There is no record to average."));
  return rounded_;
}

void TraceAverage::Recompute() {
  const std::int32_t count = static_cast<std::int32_t>(held_.size());
  rounded_ = held_[latest_];
  rounded_.averaged = count;
  for (std::size_t n = 0; n < 2; ++n) {
    capture_protocol::SampleBuffer& rounded = n == 0 ? rounded_.ch1 : rounded_.ch2;
    for (std::size_t i = 0; i < sums_[n].size(); ++i) {
      means_[n][i] = static_cast<double>(sums_[n][i]) / count;
      // Sums are never negative: adding half the count rounds halves up.
      rounded[i] = static_cast<std::uint8_t>((sums_[n][i] + count / 2) / count);
    }
  }
}

}  // namespace core

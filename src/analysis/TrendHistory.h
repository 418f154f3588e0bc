#pragma once
// The trend of every reading: one TrendSeries for each of the twenty
// readings, fed a row at a time (a record as it arrives, or a line of a log).
// A reading a row has no value for adds no point, so a channel switched off
// or a window without a cycle leaves a gap rather than a false zero.

#include "analysis/TrendRow.h"
#include "analysis/TrendSeries.h"

#include <array>
#include <cstdint>

namespace analysis {

class TrendHistory {
 public:
  explicit TrendHistory(std::size_t capacity = TrendSeries::DefaultCapacity);

  void Add(const TrendRow& row);
  void Clear();

  // Channel 1 or 2; another channel is a ScopeError.
  const TrendSeries& Series(int channel, core::Reading reading) const;
  // Rows added since the last Clear (also those that dropped out).
  std::int64_t Rows() const { return rows_; }
  std::size_t Capacity() const { return capacity_; }

 private:
  std::size_t capacity_;
  std::array<std::array<TrendSeries, core::ReadingCount>, 2> series_;
  std::int64_t rows_ = 0;
};

}  // namespace analysis

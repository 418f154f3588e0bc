#include "analysis/TrendHistory.h"

#include "app/Errors.h"

namespace analysis {

namespace {

template <std::size_t... I>
std::array<TrendSeries, sizeof...(I)> RowOfSeries(std::size_t capacity, std::index_sequence<I...>) {
  return {((void)I, TrendSeries(capacity))...};
}

std::array<TrendSeries, core::ReadingCount> ChannelSeries(std::size_t capacity) {
  return RowOfSeries(capacity, std::make_index_sequence<core::ReadingCount>{});
}

}  // namespace

TrendHistory::TrendHistory(std::size_t capacity)
    : capacity_(capacity), series_{ChannelSeries(capacity), ChannelSeries(capacity)} {}

void TrendHistory::Add(const TrendRow& row) {
  ++rows_;
  for (std::size_t n = 0; n < 2; ++n)
    for (std::size_t r = 0; r < core::ReadingCount; ++r)
      if (const std::optional<double>& value = row.channels[n][r]) series_[n][r].Append(row.timeMs, *value);
}

void TrendHistory::Clear() {
  for (auto& channel : series_)
    for (TrendSeries& s : channel) s.Clear();
  rows_ = 0;
}

const TrendSeries& TrendHistory::Series(int channel, core::Reading reading) const {
  if (channel < 1 || channel > 2) throw ScopeError(QStringLiteral("List index out of bounds (%1)").arg(channel));
  return series_[static_cast<std::size_t>(channel - 1)][static_cast<std::size_t>(reading)];
}

}  // namespace analysis

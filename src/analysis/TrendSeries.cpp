#include "analysis/TrendSeries.h"

#include "app/Errors.h"

#include <algorithm>
#include <cmath>

namespace analysis {

TrendSeries::TrendSeries(std::size_t capacity) : capacity_(capacity) {
  if (capacity < 1) throw ScopeError(QStringLiteral("A trend keeps at least one point, not %1").arg(capacity));
}

void TrendSeries::Append(double time, double value) {
  if (points_.size() < capacity_) {
    points_.push_back({time, value});
    return;
  }
  points_[head_] = {time, value};
  head_ = (head_ + 1) % capacity_;
}

void TrendSeries::Clear() {
  points_.clear();
  head_ = 0;
}

const TrendPoint& TrendSeries::At(std::size_t index) const {
  CheckListIndex(static_cast<std::int64_t>(index), static_cast<std::int64_t>(points_.size()));
  return points_[(head_ + index) % points_.size()];
}

std::vector<TrendPoint> TrendSeries::Points() const {
  std::vector<TrendPoint> ordered;
  ordered.reserve(points_.size());
  const auto head = points_.begin() + static_cast<std::ptrdiff_t>(head_);
  ordered.insert(ordered.end(), head, points_.end());
  ordered.insert(ordered.end(), points_.begin(), head);
  return ordered;
}

std::optional<Span> TrendSeries::Times() const {
  if (points_.empty()) return std::nullopt;
  const auto [lo, hi] = std::minmax_element(points_.begin(), points_.end(),
                                            [](const TrendPoint& a, const TrendPoint& b) { return a.time < b.time; });
  return Span{lo->time, hi->time};
}

std::optional<Span> TrendSeries::ValuesWithin(const Span& times) const {
  std::optional<Span> values;
  for (const TrendPoint& p : points_) {
    if (p.time < times.first || p.time > times.last) continue;
    if (!values)
      values = Span{p.value, p.value};
    else
      values = Span{std::min(values->first, p.value), std::max(values->last, p.value)};
  }
  return values;
}

std::optional<TrendPoint> TrendSeries::NearestTo(double time) const {
  std::optional<TrendPoint> nearest;
  double distance = 0;
  for (std::size_t i = 0; i < points_.size(); ++i) {
    const TrendPoint& p = points_[(head_ + i) % points_.size()];
    const double d = std::abs(p.time - time);
    if (!nearest || d < distance) {
      nearest = p;
      distance = d;
    }
  }
  return nearest;
}

}  // namespace analysis

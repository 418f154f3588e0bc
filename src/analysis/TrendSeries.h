#pragma once
// The recent values of one reading against time, as a bounded ring: the
// last `capacity` points are kept, oldest first, and a point appended to a
// full ring drops the oldest one. Times and values are plain numbers (the
// trend plot gives times in milliseconds since the epoch and values in SI
// units); nothing here knows of records, charts or widgets.
//
// The ring grows as points come, up to its capacity, so a plot of ten
// thousand points a reading costs memory only once the points are there.

#include <cstddef>
#include <optional>
#include <vector>

namespace analysis {

struct TrendPoint {
  double time = 0;
  double value = 0;
  friend bool operator==(const TrendPoint&, const TrendPoint&) = default;
};

// A span of time (or of values): first <= last.
struct Span {
  double first = 0;
  double last = 0;
  double Width() const { return last - first; }
  friend bool operator==(const Span&, const Span&) = default;
};

class TrendSeries {
 public:
  static constexpr std::size_t DefaultCapacity = 10000;

  // A capacity below 1 is a ScopeError.
  explicit TrendSeries(std::size_t capacity = DefaultCapacity);

  void Append(double time, double value);
  void Clear();

  std::size_t Size() const { return points_.size(); }
  std::size_t Capacity() const { return capacity_; }
  bool Empty() const { return points_.empty(); }
  // Point i, the oldest being 0; past the end is a ScopeError.
  const TrendPoint& At(std::size_t index) const;
  // All points, oldest first.
  std::vector<TrendPoint> Points() const;

  // The times and the values of all points; empty when there are none.
  std::optional<Span> Times() const;
  // The values of the points whose time lies in `times` (ends included);
  // empty when none does.
  std::optional<Span> ValuesWithin(const Span& times) const;
  // The point nearest in time to `time` (the older of two as near); empty
  // when there are none. Times need not rise: a clock set back keeps its
  // points, so this looks at every one.
  std::optional<TrendPoint> NearestTo(double time) const;

 private:
  std::size_t capacity_;
  std::vector<TrendPoint> points_;  // a ring once full: oldest at head_
  std::size_t head_ = 0;
};

}  // namespace analysis

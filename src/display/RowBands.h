#pragma once
// The rows of the plot a frame drew over, kept as a few bands of whole rows:
// the next line frame puts the graticule back under those rows only, and the
// screen is updated only where the picture changed. A band may hold a few
// rows that were not drawn; it never misses one that was.

#include <array>
#include <span>

namespace screen_model {

// Rows first..last; none when last < first.
struct RowSpan {
  int first = 0;
  int last = -1;
  bool Empty() const { return last < first; }
  int Count() const { return Empty() ? 0 : last - first + 1; }
  friend bool operator==(const RowSpan&, const RowSpan&) = default;
};

class RowBands {
 public:
  // The two traces and the reference apart, and one more.
  static constexpr int MaxBands = 4;

  // Adds the rows of `span`. Bands that overlap or touch become one; when
  // one band more than MaxBands would be needed, the two closest bands
  // become one with the rows between them.
  void Add(RowSpan span);
  void Add(const RowBands& other);

  // In order from the top, apart from one another.
  std::span<const RowSpan> Bands() const { return {bands_.data(), static_cast<std::size_t>(count_)}; }
  bool Empty() const { return count_ == 0; }
  int RowCount() const;

 private:
  std::array<RowSpan, MaxBands> bands_{};
  int count_ = 0;
};

}  // namespace screen_model

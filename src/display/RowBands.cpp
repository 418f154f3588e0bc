#include "display/RowBands.h"

#include <algorithm>
#include <cstdint>

namespace screen_model {

void RowBands::Add(RowSpan span) {
  if (span.Empty()) return;
  // The bands in order with the new one among them, then neighbours that
  // overlap or touch joined.
  std::array<RowSpan, MaxBands + 1> all;
  int n = 0;
  bool placed = false;
  for (int i = 0; i < count_; ++i) {
    if (!placed && span.first < bands_[static_cast<std::size_t>(i)].first) {
      all[static_cast<std::size_t>(n++)] = span;
      placed = true;
    }
    all[static_cast<std::size_t>(n++)] = bands_[static_cast<std::size_t>(i)];
  }
  if (!placed) all[static_cast<std::size_t>(n++)] = span;

  int kept = 0;
  for (int i = 0; i < n; ++i) {
    const RowSpan next = all[static_cast<std::size_t>(i)];
    RowSpan* last = kept > 0 ? &all[static_cast<std::size_t>(kept - 1)] : nullptr;
    if (last && std::int64_t{next.first} <= std::int64_t{last->last} + 1)
      last->last = std::max(last->last, next.last);
    else
      all[static_cast<std::size_t>(kept++)] = next;
  }

  // One band too many: the narrowest gap is filled in.
  if (kept > MaxBands) {
    auto gap = [&all](int i) {
      return std::int64_t{all[static_cast<std::size_t>(i)].first} - all[static_cast<std::size_t>(i - 1)].last;
    };
    int narrowest = 1;
    for (int i = 2; i < kept; ++i)
      if (gap(i) < gap(narrowest)) narrowest = i;
    all[static_cast<std::size_t>(narrowest - 1)].last = all[static_cast<std::size_t>(narrowest)].last;
    std::copy(all.begin() + narrowest + 1, all.begin() + kept, all.begin() + narrowest);
    --kept;
  }
  std::copy_n(all.begin(), kept, bands_.begin());
  count_ = kept;
}

void RowBands::Add(const RowBands& other) {
  const RowBands added = other;  // `other` may be this one
  for (const RowSpan& span : added.Bands()) Add(span);
}

int RowBands::RowCount() const {
  int rows = 0;
  for (const RowSpan& span : Bands()) rows += span.Count();
  return rows;
}

}  // namespace screen_model

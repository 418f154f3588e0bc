// The rows a frame drew over, as a few bands: never a row missed, bands in
// order and apart, and no more of them than the frame keeps.

#include "display/RowBands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

using screen_model::RowBands;
using screen_model::RowSpan;

namespace {

std::vector<RowSpan> BandsOf(const RowBands& bands) { return {bands.Bands().begin(), bands.Bands().end()}; }

TEST(RowBands, JoinsSortsAndFillsTheNarrowestGap) {
  struct Case {
    const char* name;
    std::vector<RowSpan> added;
    std::vector<RowSpan> bands;
  } cases[] = {
      {"nothing", {}, {}},
      {"an empty span adds nothing", {{5, 4}, {0, -1}}, {}},
      {"one row", {{7, 7}}, {{7, 7}}},
      {"apart, in any order", {{300, 320}, {10, 20}, {150, 160}}, {{10, 20}, {150, 160}, {300, 320}}},
      {"overlapping", {{10, 20}, {15, 30}}, {{10, 30}}},
      {"touching", {{10, 20}, {21, 30}}, {{10, 30}}},
      {"one row between stays apart", {{10, 20}, {22, 30}}, {{10, 20}, {22, 30}}},
      {"inside another", {{10, 40}, {20, 30}}, {{10, 40}}},
      {"bridging two", {{10, 20}, {40, 50}, {15, 45}}, {{10, 50}}},
      {"covering all", {{10, 20}, {40, 50}, {0, 399}}, {{0, 399}}},
      {"a fifth band fills the narrowest gap",
       {{0, 9}, {100, 109}, {200, 209}, {300, 309}, {215, 220}},
       {{0, 9}, {100, 109}, {200, 220}, {300, 309}}},
      {"the narrowest gap may be elsewhere",
       {{0, 9}, {12, 20}, {200, 209}, {300, 309}, {350, 360}},
       {{0, 20}, {200, 209}, {300, 309}, {350, 360}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RowBands bands;
    for (const RowSpan& span : c.added) bands.Add(span);
    EXPECT_EQ(BandsOf(bands), c.bands);
  }
}

TEST(RowBands, AddingBandsIsAddingTheirSpans) {
  RowBands a, b;
  a.Add({10, 20});
  a.Add({100, 120});
  b.Add({18, 30});
  b.Add({300, 300});
  a.Add(b);
  EXPECT_EQ(BandsOf(a), (std::vector<RowSpan>{{10, 30}, {100, 120}, {300, 300}}));
  EXPECT_EQ(a.RowCount(), 21 + 21 + 1);
  a.Add(a);
  EXPECT_EQ(BandsOf(a), (std::vector<RowSpan>{{10, 30}, {100, 120}, {300, 300}}));
}

// The runs of consecutive rows in `rows`.
std::vector<RowSpan> RunsOf(const std::set<int>& rows) {
  std::vector<RowSpan> runs;
  for (int r : rows) {
    if (!runs.empty() && runs.back().last + 1 == r)
      runs.back().last = r;
    else
      runs.push_back({r, r});
  }
  return runs;
}

TEST(RowBands, NeverMissesARowAndIsExactWhileTheBandsSuffice) {
  std::mt19937 random(1213);
  for (int n = 0; n < 2000; ++n) {
    SCOPED_TRACE("case " + std::to_string(n));
    RowBands bands;
    std::set<int> rows;
    bool everTooMany = false;
    const int spans = 1 + n % 7;
    for (int i = 0; i < spans; ++i) {
      const int first = static_cast<int>(random() % 400);
      const int last = first + static_cast<int>(random() % 30) - 2;  // now and then empty
      bands.Add({first, last});
      for (int r = first; r <= last; ++r) rows.insert(r);
      everTooMany = everTooMany || RunsOf(rows).size() > static_cast<std::size_t>(RowBands::MaxBands);
    }
    const std::vector<RowSpan> kept = BandsOf(bands);
    ASSERT_LE(kept.size(), static_cast<std::size_t>(RowBands::MaxBands));
    for (std::size_t i = 0; i < kept.size(); ++i) {
      ASSERT_FALSE(kept[i].Empty());
      if (i > 0) ASSERT_GT(kept[i].first, kept[i - 1].last + 1);  // in order, and apart
    }
    for (int r : rows)
      ASSERT_TRUE(std::any_of(kept.begin(), kept.end(), [r](RowSpan s) { return r >= s.first && r <= s.last; }))
          << "row " << r;
    // While the rows drawn never needed more bands than there are, the bands
    // are exactly those rows.
    if (!everTooMany) ASSERT_EQ(kept, RunsOf(rows));
    ASSERT_EQ(bands.Empty(), rows.empty());
  }
}

}  // namespace

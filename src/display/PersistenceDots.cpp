#include "display/PersistenceDots.h"

#include "display/VectorRegisters.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>

namespace persistence {

void FadeGrid(std::span<std::int32_t> grid, std::int32_t fade) {
  for (std::int32_t& cell : grid) cell = std::max(cell - fade, 0);
}

namespace {
// Most of a grid is dark, and a dark cell stays as it is. The cells are read
// a block at a time and a block of dark cells is left alone, so a frame reads
// the grid and writes only where dots are.
constexpr int BlockRows = 16;
static_assert(PlotRows % BlockRows == 0);

bool AllDark(const std::int32_t* cells) {
  std::int32_t any = 0;
  for (int k = 0; k < BlockRows; ++k) any |= cells[k];
  return any == 0;
}
}  // namespace

void FadeVisibleCells(std::span<std::int32_t> grid, std::int32_t fade) {
  if (fade == 0 || grid.size() < static_cast<std::size_t>(GridCells)) return;
  for (int x = 0; x < PlotColumns; ++x) {
    std::int32_t* column = grid.data() + CellIndex(x, 0);
    for (int y = 0; y < PlotRows; y += BlockRows) {
      std::int32_t* block = column + y;
      if (AllDark(block)) continue;
      for (int k = 0; k < BlockRows; ++k) block[k] = std::max(block[k] - fade, 0);
    }
  }
}

bool StampCell(std::span<std::int32_t> grid, int x, int y, std::int32_t hit) {
  if (x < 0 || x >= GridColumns || y < 0 || y >= GridRows) return false;
  const auto index = static_cast<std::size_t>(CellIndex(x, y));
  if (index >= grid.size()) return false;
  grid[index] = hit;
  return true;
}

void StampRecord(std::span<std::int32_t> grid, std::span<const std::uint8_t> samples,
                 screen_model::RecordLayout layout, std::int32_t viewStart, std::int32_t viewEnd,
                 std::int32_t vertPos, std::int32_t scale, std::int32_t calOffset, std::int32_t hit) {
  const auto last = static_cast<std::int32_t>(samples.size()) - 1;
  for (std::int32_t i = std::max(viewStart, 0); i <= std::min(viewEnd, last); ++i) {
    const int x = screen_model::ColumnOfViewSample(layout, i - viewStart);
    const int y = screen_model::SampleRow(samples[static_cast<std::size_t>(i)], vertPos, scale, calOffset);
    StampCell(grid, x, y, hit);
  }
}

screen_model::Rgb RainbowEntry(int i) {
  if (i < 256) return {0, i, 255};
  if (i < 512) return {0, 255, 511 - i};
  if (i < 768) return {i - 512, 255, 0};
  return {255, 1023 - i, 0};
}

screen_model::Rgb CH1RampEntry(int v) { return {0, 0, v}; }
screen_model::Rgb CH2RampEntry(int v) { return {v, 0, 0}; }

int TableIndex(std::int32_t value, int entries) { return std::clamp<std::int32_t>(value, 0, entries - 1); }

namespace {
inline void PaintCell(std::int32_t v, std::span<const std::uint32_t> table, std::uint32_t& pixel) {
  if (v > 0) pixel = table[static_cast<std::size_t>(TableIndex(v, static_cast<int>(table.size())))];
}
}  // namespace

void PaintGrids(std::span<const std::int32_t> ch1Grid, std::span<const std::int32_t> ch2Grid,
                std::span<const std::uint32_t> ch1Table, std::span<const std::uint32_t> ch2Table,
                std::uint32_t* pixels, int rowStride, int width, int height) {
  if (ch1Grid.size() < GridCells || ch2Grid.size() < GridCells) return;
  // Only the cells over the image can show; the rest of the grid never does.
  const int columns = std::min(width, GridColumns);
  const int rows = std::min(height, GridRows);
  for (int x = 0; x < columns; ++x) {
    const std::int32_t* ch1Column = ch1Grid.data() + CellIndex(x, 0);
    const std::int32_t* ch2Column = ch2Grid.data() + CellIndex(x, 0);
    for (int y = 0; y < rows; y += BlockRows) {
      const int blockEnd = std::min(y + BlockRows, rows);
      if (blockEnd - y == BlockRows && AllDark(ch1Column + y) && AllDark(ch2Column + y)) continue;
      for (int row = y; row < blockEnd; ++row) {
        std::uint32_t& pixel = pixels[static_cast<std::size_t>(row) * rowStride + x];
        PaintCell(ch2Column[row], ch2Table, pixel);
        PaintCell(ch1Column[row], ch1Table, pixel);
      }
    }
  }
}

namespace {

// The visible stamps of one channel, in column order; the others are set in
// the grid at once (no frame fades or paints them). -1: the columns went
// backwards somewhere, and the stamps are left to StampRecord.
struct VisibleStamp {
  int x, y;
};
using VisibleStamps = std::array<VisibleStamp, 3001>;

int SplitStamps(const ChannelDots& ch, screen_model::RecordLayout layout, std::int32_t viewStart,
                std::int32_t viewEnd, std::int32_t hit, VisibleStamps& visible) {
  int count = 0;
  if (!ch.on) return 0;
  const auto last = static_cast<std::int32_t>(ch.samples.size()) - 1;
  int previousColumn = std::numeric_limits<int>::min();
  for (std::int32_t i = std::max(viewStart, 0); i <= std::min(viewEnd, last); ++i) {
    const int x = screen_model::ColumnOfViewSample(layout, i - viewStart);
    if (x < previousColumn || count >= static_cast<int>(visible.size())) return -1;
    previousColumn = x;
    const int y = screen_model::SampleRow(ch.samples[static_cast<std::size_t>(i)], ch.vertPos, ch.scale, ch.calOffset);
    if (x >= 0 && x < PlotColumns && y >= 0 && y < PlotRows)
      visible[static_cast<std::size_t>(count++)] = {x, y};
    else
      StampCell(ch.grid, x, y, hit);
  }
  return count;
}

// Fades one column over the plot and returns which of its blocks hold a lit
// cell afterwards (bit b: rows 16 b to 16 b + 15).
constexpr int ColumnBlocks = PlotRows / BlockRows;
static_assert(ColumnBlocks <= 32);

std::uint32_t FadeColumn(std::int32_t* column, std::int32_t fade) {
  std::uint32_t lit = 0;
  for (int b = 0; b < ColumnBlocks; ++b) {
    std::int32_t* block = column + b * BlockRows;
    if (AllDark(block)) continue;
    if (fade == 0) {  // nothing fades, not even a cell below 0
      lit |= 1u << b;
      continue;
    }
    std::int32_t any = 0;
    for (int k = 0; k < BlockRows; ++k) {
      block[k] = std::max(block[k] - fade, 0);
      any |= block[k];
    }
    if (any != 0) lit |= 1u << b;
  }
  return lit;
}

}  // namespace

void FadeStampAndPaint(const ChannelDots& ch1, const ChannelDots& ch2, screen_model::RecordLayout layout,
                       std::int32_t viewStart, std::int32_t viewEnd, std::int32_t fade, std::int32_t hit,
                       std::uint32_t* pixels, int rowStride, int width, int height) {
  vector_registers::ClearUpperHalves();
  if (ch1.grid.size() < GridCells || ch2.grid.size() < GridCells) return;
  VisibleStamps ch1Stamps, ch2Stamps;
  const int ch1Count = SplitStamps(ch1, layout, viewStart, viewEnd, hit, ch1Stamps);
  const int ch2Count = ch1Count < 0 ? -1 : SplitStamps(ch2, layout, viewStart, viewEnd, hit, ch2Stamps);
  if (width != PlotColumns || height != PlotRows || ch1Count < 0 || ch2Count < 0) {
    FadeVisibleCells(ch1.grid, fade);
    FadeVisibleCells(ch2.grid, fade);
    if (ch1.on) StampRecord(ch1.grid, ch1.samples, layout, viewStart, viewEnd, ch1.vertPos, ch1.scale, ch1.calOffset, hit);
    if (ch2.on) StampRecord(ch2.grid, ch2.samples, layout, viewStart, viewEnd, ch2.vertPos, ch2.scale, ch2.calOffset, hit);
    PaintGrids(ch1.grid, ch2.grid, ch1.table, ch2.table, pixels, rowStride, width, height);
    return;
  }
  // Stamps of a column land after that column is faded and before it is
  // painted, as when each step goes over the whole grid; CH1's stamps follow
  // CH2's only in the order the three steps would leave them, which for a
  // cell is all that counts: each grid is stamped by its own channel.
  // Columns of a view never go backwards, so each list is read once.
  int next1 = 0, next2 = 0;
  for (int x = 0; x < PlotColumns; ++x) {
    std::int32_t* ch1Column = ch1.grid.data() + CellIndex(x, 0);
    std::int32_t* ch2Column = ch2.grid.data() + CellIndex(x, 0);
    std::uint32_t lit = FadeColumn(ch1Column, fade) | FadeColumn(ch2Column, fade);
    for (; next1 < ch1Count && ch1Stamps[static_cast<std::size_t>(next1)].x == x; ++next1) {
      const int y = ch1Stamps[static_cast<std::size_t>(next1)].y;
      ch1Column[y] = hit;
      lit |= 1u << (y / BlockRows);
    }
    for (; next2 < ch2Count && ch2Stamps[static_cast<std::size_t>(next2)].x == x; ++next2) {
      const int y = ch2Stamps[static_cast<std::size_t>(next2)].y;
      ch2Column[y] = hit;
      lit |= 1u << (y / BlockRows);
    }
    for (; lit != 0; lit &= lit - 1) {
      const int first = std::countr_zero(lit) * BlockRows;
      for (int row = first; row < first + BlockRows; ++row) {
        std::uint32_t& pixel = pixels[static_cast<std::size_t>(row) * rowStride + x];
        PaintCell(ch2Column[row], ch2.table, pixel);
        PaintCell(ch1Column[row], ch1.table, pixel);
      }
    }
  }
}

}  // namespace persistence

#include "display/PersistenceDots.h"

#include <algorithm>

namespace persistence {

void FadeGrid(std::span<std::int32_t> grid, std::int32_t fade) {
  for (std::int32_t& cell : grid) cell = std::max(cell - fade, 0);
}

void FadeVisibleCells(std::span<std::int32_t> grid, std::int32_t fade) {
  if (fade == 0 || grid.size() < static_cast<std::size_t>(GridCells)) return;
  for (int x = 0; x < PlotColumns; ++x) {
    std::int32_t* column = grid.data() + CellIndex(x, 0);
    for (int y = 0; y < PlotRows; ++y) column[y] = std::max(column[y] - fade, 0);
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
    for (int y = 0; y < rows; ++y) {
      std::uint32_t& pixel = pixels[static_cast<std::size_t>(y) * rowStride + x];
      PaintCell(ch2Column[y], ch2Table, pixel);
      PaintCell(ch1Column[y], ch1Table, pixel);
    }
  }
}

}  // namespace persistence

#pragma once
// Persistence dots: one heat grid per channel, faded every frame, stamped with
// the newest record and painted over the graticule in place of the traces.
// A cell holds the heat of one plot pixel: 0 is dark, a sample that lands on
// the pixel sets it to the hit value, every frame lowers it by the fade.
//
// The grids are 800 x 600 cells, column by column (cell = x * 600 + y), larger
// than the 500 x 400 plot; only the part over the plot is ever seen.

#include "display/RecordLayout.h"
#include "display/SampleRows.h"

#include <cstdint>
#include <span>

namespace persistence {

inline constexpr int GridColumns = 800;
inline constexpr int GridRows = 600;
inline constexpr int GridCells = GridColumns * GridRows;
inline constexpr int PlotColumns = 500;
inline constexpr int PlotRows = 400;

inline constexpr int RainbowEntries = 1024;
inline constexpr int RampEntries = 256;
// Hit values: the rainbow starts a dot one past its last entry (drawn as that
// last entry, pure red); the ramps start it at full intensity.
inline constexpr std::int32_t RainbowHit = 1024;
inline constexpr std::int32_t RampHit = 255;
inline constexpr std::int32_t InitialFade = 10;

constexpr int CellIndex(int x, int y) { return x * GridRows + y; }

// Lowers every cell by fade; a result below 0 becomes 0.
void FadeGrid(std::span<std::int32_t> grid, std::int32_t fade);
// The same for the cells over the 500 x 400 plot only, the part that is ever
// painted: a frame fades a fifth of the grid and the picture is the same.
// Cells off the plot keep their values until the grids are cleared.
void FadeVisibleCells(std::span<std::int32_t> grid, std::int32_t fade);

// Sets the cell under plot pixel (x, y) to hit. A pixel outside the grid is
// dropped, as a line running off the plot is clipped; it must never land in
// a neighbouring column's cells. Returns whether the cell was set.
bool StampCell(std::span<std::int32_t> grid, int x, int y, std::int32_t hit);

// Stamps samples[viewStart..viewEnd] of one channel at the columns of the
// layout and the rows the line traces use, calibration offset included, so
// the dots of a record stand where its line would be drawn.
// Indices outside the buffer are skipped (the plot checks the view first).
void StampRecord(std::span<std::int32_t> grid, std::span<const std::uint8_t> samples,
                 screen_model::RecordLayout layout, std::int32_t viewStart, std::int32_t viewEnd,
                 std::int32_t vertPos, std::int32_t scale, std::int32_t calOffset, std::int32_t hit);

// The colour tables, entry by entry.
screen_model::Rgb RainbowEntry(int i);  // blue, cyan, green, yellow, red for i = 0..1023
screen_model::Rgb CH1RampEntry(int v);  // blue of intensity v (TColor v * 65536)
screen_model::Rgb CH2RampEntry(int v);  // red of intensity v (TColor v)

// The table entry a cell value is drawn with. A fresh rainbow cell holds
// 1024, one past the last entry, and is drawn as the last entry; a cell left
// over from rainbow mode after a switch to the ramps (switching does not clear
// the grids) is drawn at the ramp's full intensity rather than read past it.
int TableIndex(std::int32_t value, int entries);

// Paints the lit cells over the plot image (32-bit pixels, rowStride pixels
// per row): CH2 first, then CH1, so where both are lit CH1's colour stays.
// Dark cells leave the pixel (the graticule) as it is. Each table is
// tableEntries long, in the pixel format of the image.
void PaintGrids(std::span<const std::int32_t> ch1Grid, std::span<const std::int32_t> ch2Grid,
                std::span<const std::uint32_t> ch1Table, std::span<const std::uint32_t> ch2Table,
                std::uint32_t* pixels, int rowStride, int width, int height);

// One channel's part in a persistence frame: its grid, the record whose view
// is stamped (when on) and its colour table in the image's pixel format.
struct ChannelDots {
  std::span<std::int32_t> grid;
  std::span<const std::uint8_t> samples;
  bool on = false;
  std::int32_t vertPos = 0, scale = 0, calOffset = 0;
  std::span<const std::uint32_t> table;
};

// A whole persistence frame: FadeVisibleCells on both grids, StampRecord of
// each channel that is on, then PaintGrids, with the same cells and pixels as
// those steps one after the other. It goes over the plot's cells once,
// column by column, instead of three times; the grids are larger than any
// cache, so reading them is what a frame costs. The image is the 500 x 400
// plot (any other size takes the three steps).
void FadeStampAndPaint(const ChannelDots& ch1, const ChannelDots& ch2, screen_model::RecordLayout layout,
                       std::int32_t viewStart, std::int32_t viewEnd, std::int32_t fade, std::int32_t hit,
                       std::uint32_t* pixels, int rowStride, int width, int height);

}  // namespace persistence

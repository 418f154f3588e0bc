// Persistence grids: fading, stamping a record, the colour tables and the
// painting order of the two channels.

#include "display/PersistenceDots.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

using namespace persistence;
using screen_model::RecordLayout;
using screen_model::Rgb;
using screen_model::RgbOf;

namespace {

std::vector<std::int32_t> EmptyGrid() { return std::vector<std::int32_t>(GridCells, 0); }

TEST(PersistenceDots, FadeLowersEveryCellAndStopsAtZero) {
  std::vector<std::int32_t> grid = EmptyGrid();
  const std::int32_t before[] = {0, 5, 10, 255, 1024};
  for (int i = 0; i < 5; ++i) grid[static_cast<std::size_t>(CellIndex(799, 100 + i))] = before[i];
  FadeGrid(grid, 10);
  const std::int32_t after[] = {0, 0, 0, 245, 1014};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(grid[static_cast<std::size_t>(CellIndex(799, 100 + i))], after[i]);
}

TEST(PersistenceDots, FadeOfTheVisibleCellsMatchesTheWholeGridOverThePlot) {
  std::vector<std::int32_t> whole = EmptyGrid();
  for (int x : {0, 250, 499, 500, 799})
    for (int y : {0, 399, 400, 599}) StampCell(whole, x, y, 100);
  std::vector<std::int32_t> visible = whole;
  FadeGrid(whole, 30);
  FadeVisibleCells(visible, 30);
  for (int x = 0; x < GridColumns; ++x)
    for (int y = 0; y < GridRows; ++y) {
      const auto i = static_cast<std::size_t>(CellIndex(x, y));
      if (x < PlotColumns && y < PlotRows)
        ASSERT_EQ(visible[i], whole[i]) << x << "," << y;
      else
        ASSERT_EQ(visible[i], whole[i] == 0 ? 0 : 100) << "off the plot, left as it was: " << x << "," << y;
    }
}

TEST(PersistenceDots, FadeLevels) {
  struct Case {
    std::int32_t hit, fade;
    int framesUntilDark;  // -1: never
  } cases[] = {
      {RampHit, 50, 6},  // MIN: a Normal dot is gone after 6 frames
      {RampHit, 10, 26},
      {RainbowHit, 10, 103},
      {RampHit, 0, -1},  // MAX: dots stay until the next run
  };
  for (const Case& c : cases) {
    std::vector<std::int32_t> grid = EmptyGrid();
    ASSERT_TRUE(StampCell(grid, 10, 10, c.hit));
    int frames = 0;
    while (grid[static_cast<std::size_t>(CellIndex(10, 10))] > 0 && frames < 200) {
      FadeGrid(grid, c.fade);
      ++frames;
    }
    EXPECT_EQ(c.framesUntilDark == -1 ? 200 : c.framesUntilDark, frames) << "hit " << c.hit << " fade " << c.fade;
  }
}

TEST(PersistenceDots, StampOutsideTheGridIsDroppedNotWrapped) {
  std::vector<std::int32_t> grid = EmptyGrid();
  const std::pair<int, int> outside[] = {{-1, 0}, {800, 0}, {0, -1}, {0, 600}, {5, 600}, {5, -1}, {799, 600}};
  for (const auto& [x, y] : outside) EXPECT_FALSE(StampCell(grid, x, y, 255)) << x << "," << y;
  // Row 600 of column 5 would be row 0 of column 6 in a flat grid.
  for (std::int32_t cell : grid) ASSERT_EQ(cell, 0);
  EXPECT_TRUE(StampCell(grid, 799, 599, 255));
  EXPECT_EQ(grid.back(), 255);
}

TEST(PersistenceDots, StampRecordUsesTheLayoutsColumnsAndTheCalibratedRows) {
  std::array<std::uint8_t, 3001> samples{};
  samples.fill(130);  // the 0 V row once the calibration of 3 is taken off
  samples[621] = 230;
  samples[622] = 30;
  std::vector<std::int32_t> grid = EmptyGrid();
  // Stretched view 621..869: two columns per sample.
  StampRecord(grid, samples, RecordLayout::Stretched, 621, 869, 200, 100, 3, 255);
  EXPECT_EQ(grid[static_cast<std::size_t>(CellIndex(2, 300))], 255);  // sample 621
  EXPECT_EQ(grid[static_cast<std::size_t>(CellIndex(4, 100))], 255);  // sample 622
  EXPECT_EQ(grid[static_cast<std::size_t>(CellIndex(6, 200))], 255);
  EXPECT_EQ(grid[static_cast<std::size_t>(CellIndex(498, 200))], 255);
  EXPECT_EQ(grid[static_cast<std::size_t>(CellIndex(3, 200))], 0);    // between samples
  EXPECT_EQ(grid[static_cast<std::size_t>(CellIndex(500, 200))], 0);  // past the view
}

TEST(PersistenceDots, StampRecordDropsRowsOffTheGrid) {
  std::array<std::uint8_t, 3001> samples{};
  samples.fill(255);
  std::vector<std::int32_t> grid = EmptyGrid();
  // Row 590 - 127*4 + 255*4 = 1102: past the grid's 600 rows.
  StampRecord(grid, samples, RecordLayout::Standard, 8, 504, 590, 400, 0, 255);
  for (std::int32_t cell : grid) ASSERT_EQ(cell, 0);
}

TEST(PersistenceDots, RainbowRunsBlueCyanGreenYellowRed) {
  struct Case {
    int index;
    Rgb rgb;
  } cases[] = {
      {0, {0, 0, 255}},     {255, {0, 255, 255}}, {256, {0, 255, 255}}, {511, {0, 255, 0}},
      {512, {0, 255, 0}},   {767, {255, 255, 0}}, {768, {255, 255, 0}}, {1023, {255, 0, 0}},
      {384, {0, 255, 127}}, {640, {128, 255, 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(RainbowEntry(c.index), c.rgb) << "entry " << c.index;
}

TEST(PersistenceDots, RampsAreTheTColorsOfBlueAndRed) {
  for (int v : {0, 1, 128, 255}) {
    EXPECT_EQ(CH1RampEntry(v), RgbOf(static_cast<std::uint32_t>(v) * 65536u));
    EXPECT_EQ(CH2RampEntry(v), RgbOf(static_cast<std::uint32_t>(v)));
  }
}

TEST(PersistenceDots, CellValuesBeyondATableUseItsLastEntry) {
  EXPECT_EQ(TableIndex(RainbowHit, RainbowEntries), 1023);
  EXPECT_EQ(TableIndex(1023, RainbowEntries), 1023);
  EXPECT_EQ(TableIndex(RainbowHit, RampEntries), 255);  // left over from rainbow mode
  EXPECT_EQ(TableIndex(1, RampEntries), 1);
}

TEST(PersistenceDots, PaintKeepsCh1OverCh2AndLeavesDarkCellsAlone) {
  std::vector<std::int32_t> ch1 = EmptyGrid(), ch2 = EmptyGrid();
  StampCell(ch1, 10, 10, 255);
  StampCell(ch2, 10, 10, 255);  // both: CH1 stays
  StampCell(ch2, 11, 10, 100);  // CH2 alone
  StampCell(ch1, 12, 10, 1024); // past the table
  StampCell(ch1, 600, 10, 255); // right of the plot
  StampCell(ch1, 10, 450, 255); // below the plot
  std::array<std::uint32_t, RampEntries> blue{}, red{};
  for (int v = 0; v < RampEntries; ++v) {
    blue[static_cast<std::size_t>(v)] = 0x10000u + static_cast<std::uint32_t>(v);
    red[static_cast<std::size_t>(v)] = 0x20000u + static_cast<std::uint32_t>(v);
  }
  constexpr std::uint32_t Graticule = 0xABCDEF;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(PlotColumns) * PlotRows, Graticule);
  PaintGrids(ch1, ch2, blue, red, pixels.data(), PlotColumns, PlotColumns, PlotRows);
  auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y) * PlotColumns + x]; };
  EXPECT_EQ(at(10, 10), 0x10000u + 255);
  EXPECT_EQ(at(11, 10), 0x20000u + 100);
  EXPECT_EQ(at(12, 10), 0x10000u + 255);
  int lit = 0;
  for (std::uint32_t p : pixels) lit += p != Graticule;
  EXPECT_EQ(lit, 3);
}

TEST(PersistenceDots, OnePassFrameLeavesTheGridsAndPixelsOfTheThreeSteps) {
  // Grids left by earlier frames (cells on and off the plot, one below 0 as
  // only a damaged state could hold), then frames of records whose rows run
  // off the plot above, below and into the grid's hidden rows.
  std::mt19937 random(7);
  std::array<std::uint32_t, RainbowEntries> rainbow{};
  std::array<std::uint32_t, RampEntries> blue{};
  for (int i = 0; i < RainbowEntries; ++i) rainbow[static_cast<std::size_t>(i)] = 0x1000000u + static_cast<std::uint32_t>(i);
  for (int i = 0; i < RampEntries; ++i) blue[static_cast<std::size_t>(i)] = 0x2000000u + static_cast<std::uint32_t>(i);
  struct Case {
    const char* name;
    RecordLayout layout;
    std::int32_t viewStart, viewEnd, fade, hit, vertPos, scale;
    bool ch1On, ch2On;
  } cases[] = {
      {"standard, rows across the plot", RecordLayout::Standard, 503, 999, 10, RainbowHit, 200, 100, true, true},
      {"3000-sample, no fading", RecordLayout::ThreeThousand, 1245, 1741, 0, RampHit, 200, 100, true, true},
      {"stretched, fast fade", RecordLayout::Stretched, 621, 869, 50, RampHit, 150, 150, true, false},
      {"rows far below the plot", RecordLayout::Standard, 8, 504, 10, RampHit, 590, 400, false, true},
      {"rows above the plot", RecordLayout::Standard, 8, 504, 10, RampHit, -100, 100, true, true},
      {"a view past the record", RecordLayout::Standard, 2900, 3396, 10, RampHit, 200, 100, true, true},
      {"both channels off", RecordLayout::Standard, 503, 999, 10, RampHit, 200, 100, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::int32_t> ch1 = EmptyGrid(), ch2 = EmptyGrid();
    for (int n = 0; n < 4000; ++n) {
      StampCell(ch1, static_cast<int>(random() % 800), static_cast<int>(random() % 600), static_cast<std::int32_t>(random() % 1100));
      StampCell(ch2, static_cast<int>(random() % 800), static_cast<int>(random() % 600), static_cast<std::int32_t>(random() % 300));
    }
    ch1[static_cast<std::size_t>(CellIndex(33, 44))] = -5;
    std::vector<std::int32_t> ch1Steps = ch1, ch2Steps = ch2;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(PlotColumns) * PlotRows, 0xABCDEF);
    std::vector<std::uint32_t> pixelsSteps = pixels;
    std::array<std::uint8_t, 3001> samples1{}, samples2{};
    for (int frame = 0; frame < 3; ++frame) {
      for (auto& s : samples1) s = static_cast<std::uint8_t>(random());
      for (auto& s : samples2) s = static_cast<std::uint8_t>(random());
      const ChannelDots dots1{ch1, samples1, c.ch1On, c.vertPos, c.scale, 3, rainbow};
      const ChannelDots dots2{ch2, samples2, c.ch2On, c.vertPos + 40, c.scale, -2, blue};
      FadeStampAndPaint(dots1, dots2, c.layout, c.viewStart, c.viewEnd, c.fade, c.hit, pixels.data(), PlotColumns,
                        PlotColumns, PlotRows);

      FadeVisibleCells(ch1Steps, c.fade);
      FadeVisibleCells(ch2Steps, c.fade);
      if (c.ch1On) StampRecord(ch1Steps, samples1, c.layout, c.viewStart, c.viewEnd, c.vertPos, c.scale, 3, c.hit);
      if (c.ch2On) StampRecord(ch2Steps, samples2, c.layout, c.viewStart, c.viewEnd, c.vertPos + 40, c.scale, -2, c.hit);
      PaintGrids(ch1Steps, ch2Steps, rainbow, blue, pixelsSteps.data(), PlotColumns, PlotColumns, PlotRows);

      ASSERT_EQ(ch1, ch1Steps) << "frame " << frame;
      ASSERT_EQ(ch2, ch2Steps) << "frame " << frame;
      ASSERT_EQ(pixels, pixelsSteps) << "frame " << frame;
    }
  }
}

}  // namespace

// Persistence dots in place of the line traces: each frame fades both heat
// grids, stamps the held record's view into them and paints the lit cells
// over the graticule. The grids are cleared when a run starts, so each run
// begins dark.

#include "window/TForm1.h"

#include "core/RecordScales.h"
#include "display/PersistenceDots.h"

#include <QPainter>

#include <array>

using namespace persistence;

static_assert(ScopeState::PersistWidth == GridColumns && ScopeState::PersistHeight == GridRows);

namespace {
QColor ColorOf(const screen_model::Rgb& rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

template <std::size_t N>
std::array<std::uint32_t, N> PixelTable(const std::array<QColor, N>& colors) {
  std::array<std::uint32_t, N> table{};
  for (std::size_t i = 0; i < N; ++i) table[i] = colors[i].rgb();
  return table;
}
}  // namespace

void TForm1::ResetPres() {
  std::fill(CH1Persistence.begin(), CH1Persistence.end(), 0);
  std::fill(CH2Persistence.begin(), CH2Persistence.end(), 0);
}

void TForm1::InitRainbow() {
  for (int i = 0; i < RainbowEntries; ++i) RainbowColors[static_cast<std::size_t>(i)] = ColorOf(RainbowEntry(i));
}

void TForm1::InitPersistColors() {
  for (int v = 0; v < RampEntries; ++v) {
    CH2PersistColors[static_cast<std::size_t>(v)] = ColorOf(CH2RampEntry(v));
    CH1PersistColors[static_cast<std::size_t>(v)] = ColorOf(CH1RampEntry(v));
  }
}

void TForm1::DrawPersistenceDots() {
  // The dots stand on the rows of the line traces: the record's scales, the
  // calibration of its ranges, the panel's 0 V rows and the traces the frame
  // shows, so the two pictures of one record agree. Only the cells over the plot are ever
  // painted, so only they are faded.
  const core::Record& record = HeldRecord;
  const screen_model::RecordLayout layout = record.layout;
  CopyGridToPlot();
  if (PlotBitmap.format() != QImage::Format_RGB32) PlotBitmap = PlotBitmap.convertToFormat(QImage::Format_RGB32);
  auto* pixels = reinterpret_cast<std::uint32_t*>(PlotBitmap.bits());
  const int stride = static_cast<int>(PlotBitmap.bytesPerLine() / 4);
  const auto rainbow = PixelTable(RainbowColors);
  const auto ch1Ramp = PixelTable(CH1PersistColors);
  const auto ch2Ramp = PixelTable(CH2PersistColors);
  const bool useRainbow = RainbowOn == 1;
  const core::FrameChannels shown = ChannelsOnScreen();
  const ChannelDots ch1{CH1Persistence, record.ch1, shown.Shown(1), CH1VertPos, record.Channel(1).scale,
                        core::CalOffsetOf(record, 1, CalCH1H, CalCH1L),
                        useRainbow ? std::span<const std::uint32_t>(rainbow) : std::span<const std::uint32_t>(ch1Ramp)};
  const ChannelDots ch2{CH2Persistence, record.ch2, shown.Shown(2), CH2VertPos, record.Channel(2).scale,
                        core::CalOffsetOf(record, 2, CalCH2H, CalCH2L),
                        useRainbow ? std::span<const std::uint32_t>(rainbow) : std::span<const std::uint32_t>(ch2Ramp)};
  FadeStampAndPaint(ch1, ch2, layout, ViewStart, ViewEnd, PersistenceFade, PersistenceHit, pixels, stride,
                    PlotBitmap.width(), PlotBitmap.height());
  // The dots set no pen: a reference drawn next keeps the width of the last
  // line frame.
}

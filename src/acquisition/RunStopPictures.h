#pragma once
// The pictures the run/stop cycle swaps, and the hourglass frame sequence.
// Paths are relative to the folder of the executable.

#include <QString>

#include <array>
#include <string_view>

namespace run_stop {

inline constexpr std::string_view RunButtonBitmap = "Grafics\\RunButton.bmp";    // key while stopped
inline constexpr std::string_view StopButtonBitmap = "Grafics\\StopButton.bmp";  // key while running
inline constexpr std::string_view RunStatusBitmap = "Grafics\\Run.bmp";
inline constexpr std::string_view StopStatusBitmap = "Grafics\\Stop.bmp";

inline constexpr int HourGlassFrames = 4;
inline constexpr std::array<std::string_view, HourGlassFrames> HourGlassBitmaps = {
    "Grafics\\HourGlass1.bmp", "Grafics\\HourGlass2.bmp", "Grafics\\HourGlass3.bmp",
    "Grafics\\HourGlass4.bmp"};

// The frame after `frame`: 1, 2, 3, 4, 1, ...  The counter is never reset, so
// a new wait goes on from where the last one stopped; 0 (never shown yet)
// leads to frame 1.
constexpr int NextHourGlassFrame(int frame) {
  const int next = frame + 1;
  return next > HourGlassFrames || next < 1 ? 1 : next;
}

// Frame 1..4.
constexpr std::string_view HourGlassBitmap(int frame) {
  return HourGlassBitmaps[static_cast<std::size_t>(frame - 1)];
}

// As ShowBitmap takes it.
inline QString PicturePath(std::string_view relativePath) {
  return QString::fromLatin1(relativePath.data(), static_cast<qsizetype>(relativePath.size()));
}

}  // namespace run_stop

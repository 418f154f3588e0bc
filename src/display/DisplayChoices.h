#pragma once
// The choices of the "Display Properties" dialog as data: the three
// persistence modes with the state each sets, the five graticules with their
// picture and stored number, and the persistence level of the track bar.

#include <array>
#include <cstdint>
#include <string_view>

namespace display_choices {

// Persistence mode numbers: which persistence radio the dialog shows selected.
inline constexpr std::int32_t ModeOff = 1;
inline constexpr std::int32_t ModeNormal = 2;
inline constexpr std::int32_t ModeRainbow = 3;

struct PersistenceChoice {
  std::string_view caption;
  std::int32_t mode;  // PersistenceMode
  std::int32_t hit;   // PersistenceHit
  bool on;            // PersistenceOn
  bool rainbow;       // RainbowOn
};
// "Off" keeps the rainbow's hit value, so a later switch to "Rainbow" alone
// changes nothing about the value the grids hold.
inline constexpr std::array<PersistenceChoice, 3> PersistenceChoices{{
    {"Off", ModeOff, 1024, false, false},
    {"Normal", ModeNormal, 255, true, false},
    {"Rainbow", ModeRainbow, 1024, true, true},
}};

struct GraticuleChoice {
  std::string_view caption;
  std::string_view file;  // relative to the program folder, as stored
  std::int32_t number;    // stored as "DISPLAYBUTTON"
};
inline constexpr std::array<GraticuleChoice, 5> GraticuleChoices{{
    {"Full Grid", "Grafics\\Grid2.bmp", 1},
    {"Cross Hair W/Dots", "Grafics\\Grid3.bmp", 2},
    {"Cross Hair Only", "Grafics\\Grid4.bmp", 3},
    {"Center Dots Only", "Grafics\\Grid5.bmp", 4},
    {"Blank", "Grafics\\Grid6.bmp", 5},
}};

// The persistence level track bar: 0 ("MIN") at the left, 50 ("MAX") at the
// right, 30 as the window is designed.
inline constexpr int LevelMinimum = 0;
inline constexpr int LevelMaximum = 50;
inline constexpr int LevelAtDesign = 30;

// The fade per frame for a track bar position: the left end fades fastest,
// the right end keeps dots until the next run.
constexpr std::int32_t FadeOfLevel(int position) {
  const int distance = position - LevelMaximum;
  return distance < 0 ? -distance : distance;
}

// The graticule whose file is exactly `file` (case and separators as they
// stand), or -1 when none is.
constexpr int GraticuleIndexOf(std::string_view file) {
  for (std::size_t i = 0; i < GraticuleChoices.size(); ++i)
    if (GraticuleChoices[i].file == file) return static_cast<int>(i);
  return -1;
}

// The persistence choice for a mode number, or -1 for a number of none.
constexpr int PersistenceIndexOf(std::int32_t mode) {
  for (std::size_t i = 0; i < PersistenceChoices.size(); ++i)
    if (PersistenceChoices[i].mode == mode) return static_cast<int>(i);
  return -1;
}

}  // namespace display_choices

#pragma once
// What the scope does with a record, written out here from its drawing rules
// so the simulator's trigger placement is checked against the picture and not
// against its own arithmetic: where the trigger marker is drawn, and which
// sample lies under it. Also the trigger-position bytes the scope sends for
// its marker positions (its worked values).

#include <cstdint>

enum class PlotLayout { Standard, ThreeThousand, Stretched };

// The sample index under the centre of the plot's trigger marker, for the
// overview marker at Left `markerLeft` and the view window at Left `viewLeft`.
inline int SampleUnderMarker(PlotLayout layout, int markerLeft, int viewLeft) {
  int viewStart = 0, panelLeft = 0, step = 1;
  switch (layout) {
    case PlotLayout::Standard:
      viewStart = 3 * viewLeft - 16;
      panelLeft = 3 * markerLeft - viewStart - 5;
      break;
    case PlotLayout::ThreeThousand:
      viewStart = 3 * viewLeft + 726;
      panelLeft = 3 * markerLeft - viewStart + 737;
      break;
    case PlotLayout::Stretched:
      viewStart = (3 * viewLeft - 1) / 2 + 362;
      panelLeft = 2 * ((3 * markerLeft) / 2 - viewStart) + 735;
      step = 2;
      break;
  }
  const int centreColumn = panelLeft + 5;  // 7 right of Left in Panel4, which is 2 left of the plot
  return viewStart + (centreColumn - 2) / step;
}

struct PositionBytes {
  int markerLeft;
  std::int32_t preLo, preHi, postLo, postHi;

  // Puts the four bytes into a command's inputs.
  template <class Inputs>
  void ApplyTo(Inputs& in) const {
    in.TrigPosPreLo = preLo;
    in.TrigPosPreHi = preHi;
    in.TrigPosPostLo = postLo;
    in.TrigPosPostHi = postHi;
  }
};

inline constexpr PositionBytes kNormalRowPositions[] = {
    {1, 223, 5, 222, 6}, {51, 118, 6, 72, 6}, {251, 208, 8, 237, 3},
    {451, 43, 11, 147, 1}, {501, 193, 11, 252, 1},
};
inline constexpr PositionBytes kFiftyMicrosecondPositions[] = {
    {1, 85, 7, 105, 5}, {51, 157, 7, 33, 5}, {251, 202, 8, 243, 3},
    {451, 247, 9, 198, 2}, {501, 70, 10, 120, 2},
};
// The preset positions 10 %, 50 %, 90 % are the rows at Left 51, 251, 451.
inline constexpr int kPresetRows[] = {1, 2, 3};

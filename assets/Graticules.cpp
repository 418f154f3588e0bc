// The five graticules behind the traces. Drawn pixel by pixel, without
// smoothing: a graticule line must sit on exactly one column or row so that
// a trace sample on a division reads as being on it. One division is 50
// pixels: ten across (columns 0, 50 .. 450, closed by the frame at 499) and
// eight down (rows 0 .. 350, closed at 399).

#include "Painters.h"
#include "Palette.h"

#include <algorithm>
#include <vector>

namespace artwork {
namespace {

constexpr int Width = 500;
constexpr int Height = 400;
constexpr int Division = 50;
constexpr int Minor = 10;  // five minor ticks per division
constexpr int CentreX = 250;
constexpr int CentreY = 200;

constexpr QRgb GridGrey = qRgb(84, 84, 84);  // division lines and their ticks
constexpr QRgb AxisGrey = qRgb(128, 128, 128);  // the centre cross
constexpr QRgb DotGrey = qRgb(150, 150, 150);  // single pixels need to be brighter to be seen

class Screen {
 public:
  Screen() : image_(Canvas(Width, Height, ScreenBlack)) {}

  void Dot(int x, int y, QRgb colour) {
    if (x >= 0 && x < Width && y >= 0 && y < Height) image_.setPixel(x, y, colour);
  }
  void VLine(int x, QRgb colour) {
    for (int y = 0; y < Height; ++y) Dot(x, y, colour);
  }
  void HLine(int y, QRgb colour) {
    for (int x = 0; x < Width; ++x) Dot(x, y, colour);
  }
  // Minor ticks across a vertical line, every 10 rows, reaching `reach`
  // pixels to each side.
  void VTicks(int x, int reach, QRgb colour) {
    for (int y = 0; y < Height; y += Minor)
      for (int dx = -reach; dx <= reach; ++dx) Dot(x + dx, y, colour);
  }
  void HTicks(int y, int reach, QRgb colour) {
    for (int x = 0; x < Width; x += Minor)
      for (int dy = -reach; dy <= reach; ++dy) Dot(x, y + dy, colour);
  }
  QImage Take() { return std::move(image_); }

 private:
  QImage image_;
};

// Columns of the vertical division lines with the closing frame; likewise rows.
std::vector<int> DivisionColumns() {
  std::vector<int> columns;
  for (int x = 0; x < Width; x += Division) columns.push_back(x);
  columns.push_back(Width - 1);
  return columns;
}
std::vector<int> DivisionRows() {
  std::vector<int> rows;
  for (int y = 0; y < Height; y += Division) rows.push_back(y);
  rows.push_back(Height - 1);
  return rows;
}

// The centre cross, brighter than the grid, with ticks that reach further
// than a grid line's and longer ones at every division, as on the screen of
// a bench scope: the 0.2-division marks are read on it.
void CentreCross(Screen& screen) {
  screen.VLine(CentreX, AxisGrey);
  screen.HLine(CentreY, AxisGrey);
  screen.VTicks(CentreX, 3, AxisGrey);
  screen.HTicks(CentreY, 3, AxisGrey);
  for (int y = 0; y < Height; y += Division)
    for (int d = -5; d <= 5; ++d) screen.Dot(CentreX + d, y, AxisGrey);
  for (int x = 0; x < Width; x += Division)
    for (int d = -5; d <= 5; ++d) screen.Dot(x, CentreY + d, AxisGrey);
}

QImage FullGrid() {
  Screen screen;
  for (int x : DivisionColumns()) {
    screen.VLine(x, GridGrey);
    screen.VTicks(x, 2, GridGrey);
  }
  for (int y : DivisionRows()) {
    screen.HLine(y, GridGrey);
    screen.HTicks(y, 2, GridGrey);
  }
  CentreCross(screen);
  return screen.Take();
}

QImage CrossHairWithDots() {
  Screen screen;
  // Every division line as a row of dots, one per minor step.
  for (int x : DivisionColumns())
    for (int y = 0; y < Height; y += Minor) screen.Dot(x, y, DotGrey);
  for (int y : DivisionRows())
    for (int x = 0; x < Width; x += Minor) screen.Dot(x, y, DotGrey);
  CentreCross(screen);
  return screen.Take();
}

QImage CrossHairOnly() {
  Screen screen;
  CentreCross(screen);
  return screen.Take();
}

QImage CentreDotsOnly() {
  Screen screen;
  // The centre cross as dots, one per minor step, with a small cross at
  // every division so the divisions can still be counted.
  for (int y = 0; y < Height; y += Minor) screen.Dot(CentreX, y, DotGrey);
  for (int x = 0; x < Width; x += Minor) screen.Dot(x, CentreY, DotGrey);
  for (int y = 0; y < Height; y += Division)
    for (int d = -2; d <= 2; ++d) screen.Dot(CentreX + d, y, DotGrey);
  for (int x = 0; x < Width; x += Division)
    for (int d = -2; d <= 2; ++d) screen.Dot(x, CentreY + d, DotGrey);
  return screen.Take();
}

}  // namespace

void PaintGraticules(ArtworkSet& set) {
  set.Add("Grafics/Grid2.bmp", FullGrid());
  set.Add("Grafics/Grid3.bmp", CrossHairWithDots());
  set.Add("Grafics/Grid4.bmp", CrossHairOnly());
  set.Add("Grafics/Grid5.bmp", CentreDotsOnly());
  set.Add("Grafics/Grid6.bmp", Screen().Take());  // Blank
}

}  // namespace artwork

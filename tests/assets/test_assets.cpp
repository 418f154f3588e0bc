// The Grafics folder as the program finds it beside its executable: every
// listed picture is there as a Windows bitmap of its size, every name the
// program composes is listed, the graticules put their lines on the
// divisions, keyed pictures really have a key, and the knob pictures fit
// together where the window places them.

#include "assets/ArtworkList.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>

#include <cmath>
#include <numbers>
#include <set>
#include <string>
#include <vector>

namespace {

using artwork::ArtworkFiles;

QString BesideProgram(std::string_view relative) {
  return QCoreApplication::applicationDirPath() + u'/' +
         QString::fromUtf8(relative.data(), qsizetype(relative.size()));
}

// Loads strictly as BMP: a PNG under a .bmp name would not do for the
// program's loader.
QImage LoadBitmap(std::string_view relative) {
  QImage image;
  image.load(BesideProgram(relative), "BMP");
  return image.convertToFormat(QImage::Format_RGB32);
}

std::set<std::string> ListedPaths() {
  std::set<std::string> paths;
  for (const auto& file : ArtworkFiles) paths.emplace(file.path);
  return paths;
}

TEST(ArtworkFiles, EveryListedFileIsABitmapOfItsSize) {
  for (const auto& file : ArtworkFiles) {
    SCOPED_TRACE(std::string(file.path));
    const QImage image = LoadBitmap(file.path);
    ASSERT_FALSE(image.isNull()) << "missing or not a BMP";
    EXPECT_EQ(image.width(), file.width);
    EXPECT_EQ(image.height(), file.height);
  }
}

// The names as the program builds them ("Grafics\" + ...), with "\" as "/".
TEST(ArtworkFiles, EveryNameTheProgramComposesIsListed) {
  std::vector<std::string> wanted = {
      "Grafics/VoltageKnob/knob-no-sel.bmp", "Grafics/VoltageKnob/knobdot.bmp",
      "Grafics/VoltageKnob/knobdotB.bmp",    "Grafics/CH1TrigButton.bmp",
      "Grafics/CH2TrigButton.bmp",           "Grafics/EXTTrigButton.bmp",
      "Grafics/TrigSymboRising.bmp",         "Grafics/TrigSymboFallingl.bmp",
      "Grafics/RunButton.bmp",               "Grafics/StopButton.bmp",
      "Grafics/Run.bmp",                     "Grafics/Stop.bmp",
      "Grafics/USBCON.bmp",                  "Grafics/USBCON#.bmp",
      "Grafics/SettingButton1.bmp",          "Grafics/SettingButton2.bmp",
  };
  for (const char* prefix : {"knobR", "knobB"})
    for (const char* suffix : {"100.bmp", "200.bmp", "500.bmp", "1V.bmp", "2V.bmp", "5V.bmp", "10V.bmp"})
      wanted.push_back(std::string("Grafics/VoltageKnob/") + prefix + suffix);
  for (const char* row : {"50u", "100u", "200u", "500u", "1m", "2m", "5m", "10m", "20m", "50m",
                          "100m", "200m", "500m", "1s"})
    wanted.push_back(std::string("Grafics/TimeKnob/TimeKnob") + row + ".bmp");
  for (const char* state : {"1on-2off-1sel", "1off-2off", "1on-2on-1sel", "1off-2on-2sel", "1on-2on-2sel"})
    wanted.push_back(std::string("Grafics/ChannelSelecter/CHSelector-") + state + ".bmp");
  for (int frame = 1; frame <= 4; ++frame)
    wanted.push_back("Grafics/HourGlass" + std::to_string(frame) + ".bmp");
  for (int grid = 2; grid <= 6; ++grid) wanted.push_back("Grafics/Grid" + std::to_string(grid) + ".bmp");

  const std::set<std::string> listed = ListedPaths();
  for (const auto& name : wanted) EXPECT_TRUE(listed.count(name)) << name;
  EXPECT_EQ(listed.size(), std::size(ArtworkFiles)) << "a path is listed twice";
}

// --- Graticules -------------------------------------------------------------

bool Lit(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) > 24; }

std::vector<int> LitColumnsOfRow(const QImage& image, int y) {
  std::vector<int> columns;
  for (int x = 0; x < image.width(); ++x)
    if (Lit(image, x, y)) columns.push_back(x);
  return columns;
}
std::vector<int> LitRowsOfColumn(const QImage& image, int x) {
  std::vector<int> rows;
  for (int y = 0; y < image.height(); ++y)
    if (Lit(image, x, y)) rows.push_back(y);
  return rows;
}

const std::vector<int> DivisionColumns = {0, 50, 100, 150, 200, 250, 300, 350, 400, 450, 499};
const std::vector<int> DivisionRows = {0, 50, 100, 150, 200, 250, 300, 350, 399};

class Graticule : public ::testing::Test {
 protected:
  static QImage Load(int number) {
    const QImage image = LoadBitmap("Grafics/Grid" + std::to_string(number) + ".bmp");
    EXPECT_EQ(image.size(), QSize(500, 400));
    return image;
  }
};

// Whatever the style, the inside of every division is black screen.
TEST_F(Graticule, InsideOfEveryDivisionIsBlack) {
  for (int number = 2; number <= 6; ++number) {
    SCOPED_TRACE("Grid" + std::to_string(number));
    const QImage image = Load(number);
    ASSERT_FALSE(image.isNull());
    int notBlack = 0;
    for (int y = 0; y < 400; ++y)
      for (int x = 0; x < 500; ++x)
        if (x % 50 >= 6 && x % 50 <= 44 && y % 50 >= 6 && y % 50 <= 44 &&
            image.pixel(x, y) != qRgb(0, 0, 0))
          ++notBlack;
    EXPECT_EQ(notBlack, 0);
  }
}

// Between minor ticks (row 25 lies half-way between two) a full grid shows
// exactly its vertical division lines, and likewise down column 25.
TEST_F(Graticule, FullGridLinesStandOnEveryFiftiethColumnAndRow) {
  const QImage grid = Load(2);
  ASSERT_FALSE(grid.isNull());
  for (int y : {25, 75, 175, 225, 375}) EXPECT_EQ(LitColumnsOfRow(grid, y), DivisionColumns) << y;
  for (int x : {25, 125, 275, 475}) EXPECT_EQ(LitRowsOfColumn(grid, x), DivisionRows) << x;
  // Minor ticks every 10 pixels across each line.
  for (int x : DivisionColumns)
    for (int y = 10; y < 400; y += 10) EXPECT_TRUE(Lit(grid, x == 499 ? 497 : x + 1, y)) << x << "," << y;
}

// The cross-hair styles keep only the centre lines (column 250, row 200)
// whole; the dotted one marks the other division lines with a dot every 10
// pixels, the cross-hair-only one leaves them dark.
TEST_F(Graticule, CrossHairsKeepOnlyTheCentreLinesWhole) {
  for (int number : {3, 4}) {
    SCOPED_TRACE("Grid" + std::to_string(number));
    const QImage grid = Load(number);
    ASSERT_FALSE(grid.isNull());
    EXPECT_EQ(LitColumnsOfRow(grid, 25), std::vector<int>{250});
    EXPECT_EQ(LitRowsOfColumn(grid, 25), std::vector<int>{200});
    for (int x : DivisionColumns) {
      if (x == 250) continue;
      for (int y = 20; y < 400; y += 50) {
        EXPECT_EQ(Lit(grid, x, y), number == 3) << x << "," << y;  // dot on the line
        EXPECT_FALSE(Lit(grid, x, y + 5)) << x << "," << y + 5;   // gap between dots
        EXPECT_FALSE(Lit(grid, x == 499 ? 498 : x + 1, y)) << x + 1 << "," << y;
      }
    }
  }
}

TEST_F(Graticule, CentreDotsMarkTheCentreLinesOnly) {
  const QImage grid = Load(5);
  ASSERT_FALSE(grid.isNull());
  EXPECT_TRUE(LitColumnsOfRow(grid, 25).empty());
  for (int y = 0; y < 400; y += 10) {
    EXPECT_TRUE(Lit(grid, 250, y)) << y;
    EXPECT_FALSE(Lit(grid, 250, y + 5)) << y + 5;
  }
  for (int x = 0; x < 500; x += 10) {
    EXPECT_TRUE(Lit(grid, x, 200)) << x;
    EXPECT_FALSE(Lit(grid, x + 5, 200)) << x + 5;
  }
  for (int x : {0, 50, 100, 450, 499}) EXPECT_FALSE(Lit(grid, x, 20)) << x;
}

TEST_F(Graticule, BlankIsBlackThroughout) {
  const QImage grid = Load(6);
  ASSERT_FALSE(grid.isNull());
  int lit = 0;
  for (int y = 0; y < 400; ++y) lit += int(LitColumnsOfRow(grid, y).size());
  EXPECT_EQ(lit, 0);
}

// --- Keyed pictures --------------------------------------------------------

// The window drops every pixel of the bottom-left pixel's colour. A keyed
// picture must have its key there and in all corners (else a box shows or
// a frame vanishes), the key must be the ground it stands on (else the
// smoothed edges show a fringe), and some artwork must remain.
TEST(KeyedArtwork, CornersCarryTheKeyOfTheirGroundAndArtworkRemains) {
  for (const auto& file : ArtworkFiles) {
    if (!artwork::IsKeyed(file.backdrop)) continue;
    SCOPED_TRACE(std::string(file.path));
    const QImage image = LoadBitmap(file.path);
    ASSERT_FALSE(image.isNull());
    const QRgb key = image.pixel(0, image.height() - 1);
    EXPECT_EQ(key, 0xff000000u | artwork::KeyColour(file.backdrop));
    EXPECT_EQ(image.pixel(0, 0), key);
    EXPECT_EQ(image.pixel(image.width() - 1, 0), key);
    EXPECT_EQ(image.pixel(image.width() - 1, image.height() - 1), key);
    int art = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) art += image.pixel(x, y) != key;
    EXPECT_GT(art, 0);
    EXPECT_LT(art, image.width() * image.height());
  }
}

// --- Knobs -----------------------------------------------------------------

struct DialCase {
  const char* face;
  int litDetent;  // -1: no row lit
  QRgb litColour;
  double scanFrom, scanTo, centre;
};

constexpr int VoltsDetents[] = {135, 180, 225, 270, 315, 0, 45};
constexpr int TimeDetents[] = {114, 138, 162, 186, 210, 234, 258, 282, 306, 330, 354, 18, 42, 66};

// Whether a pixel of (nearly) the colour lies on the ray from the knob
// centre at the angle; smoothing may shade a tick's edge, not its middle.
bool RayHasColour(const QImage& image, const DialCase& c, int degrees, QRgb colour) {
  const double t = degrees * std::numbers::pi / 180;
  for (double r = c.scanFrom; r <= c.scanTo; r += 0.5) {
    const QRgb pixel = image.pixel(int(std::floor(c.centre + r * std::cos(t))),
                                   int(std::floor(c.centre + r * std::sin(t))));
    if (std::abs(qRed(pixel) - qRed(colour)) <= 12 && std::abs(qGreen(pixel) - qGreen(colour)) <= 12 &&
        std::abs(qBlue(pixel) - qBlue(colour)) <= 12)
      return true;
  }
  return false;
}

// Each face marks its own row, in the colour of what the knob acts on, and
// no other row; the no-selection face marks none.
TEST(KnobFaces, LightTheirOwnRowOnly) {
  constexpr QRgb ch1 = qRgb(0, 126, 255), ch2 = qRgb(255, 0, 0), lime = qRgb(0, 255, 0);
  const DialCase cases[] = {
      {"Grafics/VoltageKnob/knobR100.bmp", 135, ch1, 40, 75, 100},
      {"Grafics/VoltageKnob/knobR5V.bmp", 0, ch1, 40, 75, 100},
      {"Grafics/VoltageKnob/knobR10V.bmp", 45, ch1, 40, 75, 100},
      {"Grafics/VoltageKnob/knobB1V.bmp", 270, ch2, 40, 75, 100},
      {"Grafics/VoltageKnob/knobB500.bmp", 225, ch2, 40, 75, 100},
      {"Grafics/VoltageKnob/knob-no-sel.bmp", -1, ch1, 40, 75, 100},
      {"Grafics/TimeKnob/TimeKnob50u.bmp", 114, lime, 58, 90, 112},
      {"Grafics/TimeKnob/TimeKnob100m.bmp", 354, lime, 58, 90, 112},
      {"Grafics/TimeKnob/TimeKnob1s.bmp", 66, lime, 58, 90, 112},
  };
  for (const DialCase& c : cases) {
    SCOPED_TRACE(c.face);
    const QImage face = LoadBitmap(c.face);
    ASSERT_FALSE(face.isNull());
    const bool volts = c.centre == 100;
    for (int detent : volts ? std::vector<int>(std::begin(VoltsDetents), std::end(VoltsDetents))
                            : std::vector<int>(std::begin(TimeDetents), std::end(TimeDetents))) {
      EXPECT_EQ(RayHasColour(face, c, detent, c.litColour), detent == c.litDetent) << detent;
      if (volts) {
        EXPECT_FALSE(RayHasColour(face, c, detent, c.litColour == ch1 ? ch2 : ch1)) << detent;
      }
    }
  }
}

// A dot or sign laid on a knob blends its edges into its key colour, so
// wherever the window places it every pixel of its artwork must lie on knob
// cap of exactly that colour. Counts the artwork pixels that would not.
int ArtworkOffKey(const QImage& face, const QImage& overlay, int left, int top) {
  const QRgb key = overlay.pixel(0, overlay.height() - 1);
  int off = 0;
  for (int y = 0; y < overlay.height(); ++y)
    for (int x = 0; x < overlay.width(); ++x)
      off += overlay.pixel(x, y) != key && face.pixel(left + x, top + y) != key;
  return off;
}

TEST(KnobOverlays, DotsRideOnTheCapAtEveryAngle) {
  const QImage voltsDots[] = {LoadBitmap("Grafics/VoltageKnob/knobdot.bmp"),
                              LoadBitmap("Grafics/VoltageKnob/knobdotB.bmp")};
  const QImage timeDot = LoadBitmap("Grafics/TimeKnob/TimeKnobDot.bmp");
  const QImage lock = LoadBitmap("Grafics/TimeKnob/KnobLocked.bmp");
  for (const auto& file : ArtworkFiles) {
    const std::string path(file.path);
    const bool voltsFace = path.starts_with("Grafics/VoltageKnob/knob") && file.width == 200;
    const bool timeFace = path.starts_with("Grafics/TimeKnob/TimeKnob") && file.width == 225;
    if (!voltsFace && !timeFace) continue;
    SCOPED_TRACE(path);
    const QImage face = LoadBitmap(path);
    ASSERT_FALSE(face.isNull());
    for (int degrees = 0; degrees < 360; degrees += 3) {
      SCOPED_TRACE(degrees);
      const double t = degrees * std::numbers::pi / 180;
      // The window's placement of the dot for a knob angle.
      if (voltsFace) {
        for (const QImage& dot : voltsDots) {
          EXPECT_EQ(ArtworkOffKey(face, dot, 92 + int(std::trunc(18 * std::cos(t))),
                                  92 + int(std::trunc(18 * std::sin(t)))),
                    0);
        }
      } else {
        EXPECT_EQ(ArtworkOffKey(face, timeDot, 101 + int(std::trunc(36 * std::cos(t))),
                                101 + int(std::trunc(36 * std::sin(t)))),
                  0);
      }
    }
    if (timeFace) {
      EXPECT_EQ(ArtworkOffKey(face, lock, 100, 100), 0);
    }
  }
}

}  // namespace

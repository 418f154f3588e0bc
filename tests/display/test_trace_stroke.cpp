// The traces' two-pixel stroke against QPainter's drawPolyline with the pen
// the traces are drawn with (width 2, round ends, bevelled corners): the
// same pixels, except where a pixel centre lies on the outline to within
// QPainter's own fixed-point rounding. Such a pixel is recognised through
// QPainter itself: it lights it with a pen 0.06 pixel wider and not with one
// 0.06 pixel narrower.

#include "display/TraceStroke.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cmath>
#include <random>
#include <string>
#include <vector>

using trace_stroke::Vertex;

namespace {

constexpr int Width = 500;
constexpr int Height = 400;
const QRgb Ink = qRgb(0, 126, 255);
const QRgb Paper = qRgb(0, 0, 0);

QImage PainterStroke(const std::vector<Vertex>& line, double penWidth) {
  QImage image(Width, Height, QImage::Format_RGB32);
  image.fill(Paper);
  std::vector<QPoint> points;
  for (const Vertex& v : line) points.emplace_back(v.x, v.y);
  QPainter canvas(&image);
  canvas.setPen(QPen(QColor(Ink), penWidth, Qt::SolidLine, Qt::RoundCap, Qt::BevelJoin));
  canvas.drawPolyline(points.data(), static_cast<int>(points.size()));
  return image;
}

QImage OwnStroke(const std::vector<Vertex>& line) {
  QImage image(Width, Height, QImage::Format_RGB32);
  image.fill(Paper);
  trace_stroke::PixelTarget target{reinterpret_cast<std::uint32_t*>(image.bits()), image.bytesPerLine() / 4,
                                   Width, Height};
  trace_stroke::StrokeTwoPixelsWide(target, line, Ink);
  return image;
}

struct Comparison {
  int lit = 0;          // pixels QPainter lights
  int onOutline = 0;    // pixels that differ, all on the outline
  std::string offOutline;  // the first pixels that differ elsewhere
};

Comparison Compare(const std::vector<Vertex>& line) {
  const QImage own = OwnStroke(line);
  const QImage painter = PainterStroke(line, 2.0);
  const QImage narrower = PainterStroke(line, 1.94);
  const QImage wider = PainterStroke(line, 2.06);
  Comparison c;
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x) {
      const bool byPainter = painter.pixel(x, y) == Ink;
      c.lit += byPainter;
      if ((own.pixel(x, y) == Ink) == byPainter) continue;
      if (wider.pixel(x, y) == Ink && narrower.pixel(x, y) != Ink) {
        ++c.onOutline;
      } else if (c.offOutline.size() < 200) {
        c.offOutline += "(" + std::to_string(x) + "," + std::to_string(y) + (byPainter ? " unlit) " : " extra) ");
      }
    }
  return c;
}

struct Shape {
  const char* name;
  std::vector<Vertex> line;
};

TEST(TraceStroke, DrawsThePaintersPixelsForEveryKindOfCorner) {
  const Shape shapes[] = {
      {"flat", {{1, 200}, {498, 200}}},
      {"upright", {{250, 10}, {250, 390}}},
      {"diagonal", {{10, 10}, {300, 300}}},
      {"steep and long", {{10, 395}, {13, 3}}},
      {"shallow and long", {{1, 100}, {498, 103}}},
      {"flat start then a sample", {{1, 150}, {2, 150}, {3, 180}, {4, 120}}},
      {"spike up and down", {{10, 200}, {11, 200}, {12, 20}, {13, 200}, {14, 200}}},
      {"spike down and up", {{10, 200}, {11, 200}, {12, 380}, {13, 200}, {14, 200}}},
      {"square wave", {{1, 100}, {50, 100}, {51, 300}, {100, 300}, {101, 100}, {150, 100}}},
      {"stretched steps", {{1, 50}, {2, 50}, {4, 60}, {6, 40}, {8, 41}, {10, 39}, {12, 100}}},
      {"zigzag every column", {{20, 100}, {21, 110}, {22, 100}, {23, 110}, {24, 100}, {25, 110}}},
      {"straight back over itself", {{300, 100}, {300, 200}, {300, 150}, {301, 150}}},
      {"repeated vertices mid-line", {{5, 5}, {6, 9}, {6, 9}, {6, 9}, {7, 2}}},
      {"running off the top and back", {{50, 100}, {51, -300}, {52, 100}}},
      {"running off the bottom", {{60, 300}, {61, 900}, {62, 395}, {63, 401}}},
      {"along the edges", {{0, 0}, {499, 0}, {499, 399}, {0, 399}, {0, 0}}},
      {"off the left and right", {{-40, 10}, {20, 200}, {540, 390}}},
  };
  for (const Shape& s : shapes) {
    SCOPED_TRACE(s.name);
    const Comparison c = Compare(s.line);
    EXPECT_GT(c.lit, 0);
    EXPECT_EQ(c.offOutline, "");
    EXPECT_LE(c.onOutline, 4);
  }
}

TEST(TraceStroke, ALineThatStaysOnOnePointDrawsNothing) {
  for (const std::vector<Vertex>& line : {std::vector<Vertex>{{100, 100}}, std::vector<Vertex>{{100, 100}, {100, 100}}}) {
    EXPECT_EQ(PainterStroke(line, 2.0), PainterStroke({}, 2.0));
    EXPECT_EQ(OwnStroke(line), PainterStroke({}, 2.0));
  }
}

TEST(TraceStroke, LinesFromFarOffKeepTheirSlopeOnThePlot) {
  // A painter stepping in fixed point drifts by up to a pixel over tens of
  // thousands of rows; the plot shows where the line really runs.
  const QImage diagonal = OwnStroke({{-100000, -100000}, {250, 250}});
  const QImage upright = OwnStroke({{250, -1000000}, {250, 1000000}});
  for (int i = 0; i < 250; ++i) {
    ASSERT_EQ(diagonal.pixel(i, i), Ink) << i;
    ASSERT_EQ(diagonal.pixel(i, i + 2), Paper) << i;
    ASSERT_EQ(diagonal.pixel(i + 2, i), Paper) << i;
  }
  for (int y = 0; y < Height; ++y) {
    ASSERT_EQ(upright.pixel(249, y), Ink) << y;
    ASSERT_EQ(upright.pixel(250, y), Ink) << y;
    ASSERT_EQ(upright.pixel(248, y), Paper) << y;
    ASSERT_EQ(upright.pixel(251, y), Paper) << y;
  }
}

TEST(TraceStroke, DrawsThePaintersPixelsForTraceLikeLines) {
  // Lines as records make them: one vertex a column or every other column,
  // rows from slow sines, noise, sharp steps and full-scale jumps.
  std::mt19937 random(20261210);
  int lit = 0, onOutline = 0;
  for (int n = 0; n < 60; ++n) {
    SCOPED_TRACE("line " + std::to_string(n));
    const int kind = n % 4;
    const int step = 1 + n % 2;
    std::vector<Vertex> line{{1, 200}};
    int row = 200;
    for (int x = 2; x < 499; x += step) {
      switch (kind) {
        case 0: row = 200 + static_cast<int>(150 * std::sin(x / (3.0 + n))); break;
        case 1: row += static_cast<int>(random() % 21) - 10; break;
        case 2: row = (random() % 8 == 0) ? static_cast<int>(random() % 400) : row; break;
        default: row = static_cast<int>(random() % 460) - 30; break;
      }
      line.push_back({x, row});
    }
    const Comparison c = Compare(line);
    EXPECT_EQ(c.offOutline, "");
    lit += c.lit;
    onOutline += c.onOutline;
  }
  // Pixels left to QPainter's rounding are a sliver of the picture.
  EXPECT_LT(onOutline * 200, lit) << onOutline << " of " << lit;
}

TEST(TraceStroke, NeverTouchesPixelsOutsideItsTarget) {
  // A 20 x 10 target inside a larger image: the lines run across and past it.
  QImage image(40, 30, QImage::Format_RGB32);
  const QRgb sentinel = qRgb(1, 2, 3);
  image.fill(sentinel);
  auto* origin = reinterpret_cast<std::uint32_t*>(image.scanLine(10)) + 10;
  const trace_stroke::PixelTarget target{origin, image.bytesPerLine() / 4, 20, 10};
  const std::vector<Vertex> lines[] = {
      {{-5, -5}, {25, 15}},  {{0, 0}, {19, 0}, {19, 9}, {0, 9}, {0, 0}},
      {{10, -100}, {10, 100}}, {{-100, 5}, {100, 5}}, {{19, 9}}, {{20, 10}}, {{-1, -1}},
  };
  for (const auto& line : lines) trace_stroke::StrokeTwoPixelsWide(target, line, Ink);
  int inside = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const bool inTarget = x >= 10 && x < 30 && y >= 10 && y < 20;
      if (inTarget) {
        inside += image.pixel(x, y) == Ink;
      } else {
        ASSERT_EQ(image.pixel(x, y), sentinel) << x << "," << y;
      }
    }
  // The frame around the target's edge and the crossing lines are drawn.
  EXPECT_EQ(image.pixel(10, 10), Ink);
  EXPECT_EQ(image.pixel(29, 19), Ink);
  EXPECT_EQ(image.pixel(20, 15), Ink);
  EXPECT_GT(inside, 60);
}

TEST(TraceStroke, ReportsEveryRowItWrote) {
  // The rows a stroke reports are the rows the next frame puts back: a row
  // written and not reported would keep a stale trace on the screen.
  struct Case {
    const char* name;
    std::vector<Vertex> line;
    screen_model::RowSpan rows;  // exactly, where the case says so
    bool exact;
  } cases[] = {
      {"flat: the row above and its own", {{1, 200}, {2, 200}, {498, 200}}, {199, 200}, true},
      {"a point draws nothing", {{100, 100}, {100, 100}}, {}, true},
      {"above the target", {{0, -50}, {499, -10}}, {}, true},
      {"below the target", {{0, 450}, {499, 401}}, {}, true},
      {"across the whole target", {{10, -1000}, {20, 1000}}, {0, Height - 1}, true},
      {"held at the top edge", {{0, 0}, {499, 0}}, {0, 0}, true},
      {"held at the bottom edge", {{0, 399}, {200, 420}}, {398, 399}, true},
      {"a square wave", {{1, 150}, {2, 150}, {12, 150}, {13, 200}, {24, 200}, {25, 150}}, {149, 200}, true},
      {"a steep zigzag", {{1, 100}, {2, 300}, {3, 100}, {4, 300}}, {99, 300}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QImage image = OwnStroke(c.line);
    trace_stroke::PixelTarget none{nullptr, 0, Width, Height};
    EXPECT_TRUE(trace_stroke::StrokeTwoPixelsWide(none, c.line, Ink).Empty());  // no target, nothing written
    QImage scratch(Width, Height, QImage::Format_RGB32);
    scratch.fill(Paper);
    const screen_model::RowSpan reported = trace_stroke::StrokeTwoPixelsWide(
        {reinterpret_cast<std::uint32_t*>(scratch.bits()), scratch.bytesPerLine() / 4, Width, Height}, c.line, Ink);
    EXPECT_EQ(scratch, image);
    if (c.exact) EXPECT_EQ(reported, c.rows);
    for (int y = 0; y < Height; ++y)
      for (int x = 0; x < Width; ++x)
        if (image.pixel(x, y) == Ink) ASSERT_TRUE(y >= reported.first && y <= reported.last) << x << "," << y;
  }

  // Lines as records make them, some running off the target.
  std::mt19937 random(4242);
  for (int n = 0; n < 40; ++n) {
    SCOPED_TRACE("line " + std::to_string(n));
    std::vector<Vertex> line{{1, 200}};
    int row = static_cast<int>(random() % 400);
    for (int x = 2; x < 499; x += 1 + n % 2) {
      row = n % 3 == 0 ? static_cast<int>(random() % 600) - 100 : row + static_cast<int>(random() % 15) - 7;
      line.push_back({x, row});
    }
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Paper);
    const screen_model::RowSpan reported = trace_stroke::StrokeTwoPixelsWide(
        {reinterpret_cast<std::uint32_t*>(image.bits()), image.bytesPerLine() / 4, Width, Height}, line, Ink);
    int highest = Height, lowest = -1;
    for (int y = 0; y < Height; ++y)
      for (int x = 0; x < Width; ++x)
        if (image.pixel(x, y) == Ink) {
          highest = std::min(highest, y);
          lowest = std::max(lowest, y);
        }
    ASSERT_LE(reported.first, highest);
    ASSERT_GE(reported.last, lowest);
    // Never more than the row above the highest vertex and that of the lowest.
    EXPECT_GE(reported.first, highest - 1);
    EXPECT_LE(reported.last, lowest + 1);
  }
}

}  // namespace

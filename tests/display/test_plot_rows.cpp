// A line frame that follows a line frame puts the graticule back only under
// the rows the last one drew, and updates only the rows that changed. The
// fault this could bring is a stale pixel: after every frame of each
// sequence below, PlotBitmap must be pixel for pixel what a window drawing
// every frame from a whole graticule makes, and the screen must be
// PlotBitmap.

#include "display/RecordLayout.h"
#include "display/SampleRows.h"
#include "support/ScopeWindow.h"

#include <gtest/gtest.h>

#include <QBackingStore>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using namespace screen_model;

namespace {

const QRgb Sentinel = qRgb(1, 2, 3);

// The first pixel where the two differ, or "".
std::string FirstDifference(const QImage& a, const QImage& b, const QPoint& bOrigin = {}) {
  if (a.isNull() || b.isNull()) return "null image";
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x + bOrigin.x(), y + bOrigin.y()))
        return std::to_string(x) + "," + std::to_string(y);
  return "";
}

// A graticule that differs from black everywhere, with lines every division:
// a row left unrestored shows against it.
void PaintGraticule(QImage& grid, QColor background) {
  grid.fill(background);
  QPainter canvas(&grid);
  canvas.setPen(QColor(90, 90, 90));
  for (int x = 0; x < 500; x += 50) canvas.drawLine(x, 0, x, 399);
  for (int y = 0; y < 400; y += 50) canvas.drawLine(0, y, 499, y);
}

// A picture like the built-in instrument's: a sine about 80 rows tall on
// CH1 and a square 50 rows tall on CH2, many periods across the plot.
void SetUpPicture(TForm1& f) {
  PaintGraticule(f.GridBitmap, QColor(20, 24, 28));
  f.Running = 0;
  f.PersistenceOn = 0;
  f.ReferenceOn = 0;
  f.SnapToPlotOn = 0;
  f.ChannelOn[1] = f.ChannelOn[2] = 1;
  f.CH1Focus = 1;
  f.CH1VertPos = 120;
  f.CH2VertPos = 300;
  f.HeldRecord.channels[0].scale = f.HeldRecord.channels[1].scale = 78;
  f.CH1HighRange = f.CH2HighRange = 1;
  f.HeldRecord.SetTimeBase(5, false);
  for (int i = 1; i <= 3000; ++i) {
    f.HeldRecord.ch1[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(127 + 51 * std::sin(i / 4.0));
    f.HeldRecord.ch2[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((i / 6) % 2 ? 159 : 95);
  }
  for (std::size_t i = 0; i < f.ReferenceRows.size(); ++i) f.ReferenceRows[i] = 210 + static_cast<int>(i % 20);
  f.InitRainbow();
  f.InitPersistColors();
  f.ResetPres();
  f.PersistenceHit = 255;
  f.PersistenceFade = 40;
  SetLeft(f.findChild<TImage*>("Image3"), 173);
}

struct Step {
  const char* name;
  void (*change)(TForm1&);
  bool wholePlot;  // the frame after it copies the whole graticule and repaints the whole plot
};
struct Sequence {
  const char* name;
  std::vector<Step> steps;
};

void Nothing(TForm1&) {}
const Step First{"first frame", Nothing, true};
const Step Again{"the same record again", Nothing, false};

const Sequence Sequences[] = {
    {"a tall trace, then a flat one",
     {First,
      {"CH1 tall", [](TForm1& f) { for (int i = 1; i <= 3000; ++i) f.HeldRecord.ch1[static_cast<std::size_t>(i)] = i % 2 ? 0 : 255; }, false},
      {"CH1 flat", [](TForm1& f) { f.HeldRecord.ch1.fill(127); }, false},
      Again}},
    {"a trace switched off, then on",
     {First, {"CH2 off", [](TForm1& f) { f.ChannelOn[2] = 0; }, false},
      {"CH1 off too", [](TForm1& f) { f.ChannelOn[1] = 0; }, false},
      {"both on", [](TForm1& f) { f.ChannelOn[1] = f.ChannelOn[2] = 1; }, false}}},
    {"the reference on, then off",
     {First, {"reference on", [](TForm1& f) { f.ReferenceOn = 1; }, false}, Again,
      {"reference off", [](TForm1& f) { f.ReferenceOn = 0; }, false}}},
    {"persistence, then lines",
     {First, {"persistence", [](TForm1& f) { f.PersistenceOn = 1; }, true},
      {"persistence with the reference", [](TForm1& f) { f.ReferenceOn = 1; }, true},
      {"lines", [](TForm1& f) { f.PersistenceOn = 0; }, true}, Again}},
    {"persistence first, the reference drawn with the painter's thin pen",
     {{"persistence with the reference", [](TForm1& f) { f.PersistenceOn = f.ReferenceOn = 1; }, true},
      {"lines", [](TForm1& f) { f.PersistenceOn = 0; }, true}, Again}},
    {"a graticule changed between frames",
     {First, Again,
      {"a new picture painted in", [](TForm1& f) { PaintGraticule(f.GridBitmap, QColor(0, 40, 0)); }, true},
      Again,
      {"one pixel set", [](TForm1& f) { f.GridBitmap.setPixel(400, 10, qRgb(200, 200, 200)); }, true},
      {"replaced by another image", [](TForm1& f) {
         QImage grid(500, 400, QImage::Format_RGB32);
         PaintGraticule(grid, QColor(40, 0, 0));
         f.GridBitmap = grid;
       }, true},
      Again,
      {"shown empty, as a loaded settings file does", [](TForm1& f) { f.ShowGraticule(); }, true}, Again}},
    {"a graticule in another format",
     {First, {"converted", [](TForm1& f) { f.GridBitmap = f.GridBitmap.convertToFormat(QImage::Format_ARGB32); }, true},
      {"still converted", Nothing, true},
      {"back to the plot's format", [](TForm1& f) { f.GridBitmap = f.GridBitmap.convertToFormat(QImage::Format_RGB32); }, true},
      Again}},
    {"the view and the positions moved",
     {First, {"view moved", [](TForm1& f) { SetLeft(f.findChild<TImage*>("Image3"), 250); }, false},
      {"CH1 moved down", [](TForm1& f) { f.CH1VertPos = 200; }, false},
      {"CH2 off the bottom", [](TForm1& f) { f.CH2VertPos = 700; }, false},
      {"CH2 off the top", [](TForm1& f) { f.CH2VertPos = -300; }, false},
      {"CH2 back", [](TForm1& f) { f.CH2VertPos = 330; }, false},
      {"stretched record", [](TForm1& f) { f.HeldRecord.SetTimeBase(2, f.HeldRecord.rate1MS); }, false},
      {"3000-sample record", [](TForm1& f) { f.HeldRecord.SetTimeBase(f.HeldRecord.timeBaseIndex, true); }, false}}},
    {"a writer the frame does not know of",
     {First, Again,
      {"a painter on the plot", [](TForm1& f) {
         QPainter canvas(&f.PlotBitmap);
         canvas.fillRect(10, 380, 30, 15, Qt::white);
       }, true},
      Again,
      {"a pixel set", [](TForm1& f) { f.PlotBitmap.setPixel(450, 390, qRgb(255, 255, 255)); }, true},
      {"the plot refilled", [](TForm1& f) { f.PlotBitmap.fill(Qt::white); }, true},
      {"the plot replaced", [](TForm1& f) { f.PlotBitmap = QImage(500, 400, QImage::Format_RGB32); }, true}, Again}},
};

// The screen as it was last painted: the window's backing store over the
// plot, where no other widget covers it.
void ExpectScreenIsPlotBitmap(TForm1& f) {
  QCoreApplication::processEvents();
  QBackingStore* store = f.backingStore();
  ASSERT_NE(store, nullptr);
  const auto* screen = dynamic_cast<const QImage*>(store->paintDevice());
  ASSERT_NE(screen, nullptr);
  const QPoint origin = f.findChild<TPaintBox*>("PaintBox2")->mapTo(&f, QPoint(0, 0));
  std::vector<QRect> covered;
  for (QWidget* child : f.findChild<TPanel*>("Panel4")->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
    if (child != f.findChild<TPaintBox*>("PaintBox2") && child->isVisible()) covered.push_back(child->geometry().translated(-f.findChild<TPaintBox*>("PaintBox2")->pos()));
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 500; ++x) {
      if (std::any_of(covered.begin(), covered.end(), [&](const QRect& r) { return r.contains(x, y); })) continue;
      ASSERT_EQ(screen->pixel(origin.x() + x, origin.y() + y), f.PlotBitmap.pixel(x, y)) << x << "," << y;
    }
}

TEST(PlotRows, EveryFrameIsWhatAWholeRedrawMakes) {
  for (const Sequence& sequence : Sequences) {
    SCOPED_TRACE(sequence.name);
    ScopeWindow shown{true, true};
    ScopeWindow whole{false, true};
    TForm1& f = *shown.form;
    TForm1& g = *whole.form;
    SetUpPicture(f);
    SetUpPicture(g);
    f.findChild<TPanel*>("AboutPanel")->hide();  // it stands over the plot for the first seconds
    for (const Step& step : sequence.steps) {
      SCOPED_TRACE(step.name);
      step.change(f);
      step.change(g);
      f.PlotWaveform();
      // A plot written by anyone else is drawn from the whole graticule;
      // the sentinel shows that it was.
      g.PlotBitmap.fill(Sentinel);
      g.PlotWaveform();
      for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 500; ++x) ASSERT_NE(g.PlotBitmap.pixel(x, y), Sentinel) << x << "," << y;
      ASSERT_EQ(FirstDifference(f.PlotBitmap, g.PlotBitmap), "");
      ExpectScreenIsPlotBitmap(f);
      // What was repainted: the whole plot, or only the rows that changed.
      const QRect repainted = f.findChild<TPaintBox*>("PaintBox2")->PaintRegion().boundingRect();
      EXPECT_EQ(repainted.height() == 400, step.wholePlot) << repainted.top() << ".." << repainted.bottom();
    }
  }
}

TEST(PlotRows, ASteadyFrameCopiesOnlyTheRowsTheLastOneDrew) {
  ScopeWindow w{true, true};
  TForm1& f = *w.form;
  SetUpPicture(f);
  f.ChannelOn[2] = 0;
  f.PlotWaveform();
  f.PlotWaveform();
  // CH1 lies about row 120; row 350 is graticule. Written behind the
  // frame's back (through the read-only pointer, which leaves the key), a
  // pixel there stays, while one among the trace's rows is put back.
  auto* pixels = reinterpret_cast<QRgb*>(const_cast<uchar*>(f.PlotBitmap.constBits()));
  const int stride = static_cast<int>(f.PlotBitmap.bytesPerLine() / 4);
  pixels[350 * stride + 7] = Sentinel;
  pixels[120 * stride + 7] = Sentinel;
  f.PlotWaveform();
  EXPECT_EQ(f.PlotBitmap.pixel(7, 350), Sentinel);
  EXPECT_NE(f.PlotBitmap.pixel(7, 120), Sentinel);
}

TEST(PlotRows, EveryWriteToABitmapChangesItsKey) {
  // The frame trusts the rows it drew only while neither bitmap's key has
  // moved: each way the program writes a bitmap must move it.
  struct Case {
    const char* name;
    void (*write)(QImage&);
  } cases[] = {
      {"bits()", [](QImage& i) { i.bits()[0] = 1; }},
      {"scanLine()", [](QImage& i) { i.scanLine(3)[0] = 1; }},
      {"fill()", [](QImage& i) { i.fill(Qt::white); }},
      {"setPixel()", [](QImage& i) { i.setPixel(1, 1, qRgb(9, 9, 9)); }},
      {"setPixelColor()", [](QImage& i) { i.setPixelColor(1, 1, Qt::red); }},
      {"a painter", [](QImage& i) {
         QPainter canvas(&i);
         canvas.drawLine(0, 0, 10, 10);
       }},
      {"a painter that draws nothing", [](QImage& i) { QPainter canvas(&i); }},
      {"another image assigned", [](QImage& i) { i = QImage(i.size(), i.format()); }},
      {"converted in place", [](QImage& i) { i.convertTo(QImage::Format_ARGB32); }},
      {"written while shared", [](QImage& i) {
         const QImage shared = i;
         i.setPixel(2, 2, qRgb(1, 1, 1));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QImage image(50, 40, QImage::Format_RGB32);
    image.fill(Qt::black);
    const qint64 before = image.cacheKey();
    c.write(image);
    EXPECT_NE(image.cacheKey(), before);
  }
  // Reading leaves it.
  QImage image(50, 40, QImage::Format_RGB32);
  image.fill(Qt::black);
  const qint64 before = image.cacheKey();
  const QImage& read = image;
  EXPECT_EQ(read.pixel(1, 1), qRgb(0, 0, 0));
  EXPECT_NE(read.constBits(), nullptr);
  EXPECT_EQ(image.copy().size(), image.size());
  EXPECT_EQ(image.cacheKey(), before);
}

}  // namespace

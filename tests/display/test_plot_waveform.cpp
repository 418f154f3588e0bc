// The screen of the real window: frames built by PlotWaveform from records
// filled in here, checked pixel by pixel on PlotBitmap and PreviewBitmap.

#include "app/Errors.h"
#include "display/RecordLayout.h"
#include "display/SampleRows.h"
#include "support/ScopeWindow.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <vector>

using namespace screen_model;

namespace {

QRgb PixelOf(TColor c) {
  const Rgb rgb = RgbOf(c);
  return qRgb(rgb.red, rgb.green, rgb.blue);
}
const QRgb CH1Pixel = PixelOf(CH1Color);
const QRgb CH2Pixel = PixelOf(CH2Color);
const QRgb ReferencePixel = PixelOf(ReferenceColor);
const QRgb Black = qRgb(0, 0, 0);

// The three layouts as the screen shows them with the view window marker at
// its start position (Left 173).
struct LayoutCase {
  RecordLayout layout;
  std::int32_t capturedTimeBase;
  std::uint8_t capturedRate1MS;
  const char* name;
  int viewStart, samplesOnPlot, step;
  // The overview strip: vertex m (0 = the move-to) at this column and sample.
  int (*stripColumn)(int m);
  int (*stripSample)(int m);
  int stripVertices;
};
const LayoutCase Layouts[] = {
    {RecordLayout::Standard, 5, 0, "standard", 503, 497, 1,
     [](int m) { return m; }, [](int m) { return m == 0 ? 1 : 3 * m - 1; }, 501},
    {RecordLayout::ThreeThousand, 5, 1, "3000-sample", 1245, 497, 1,
     [](int m) { return m; }, [](int m) { return m == 0 ? 746 : 745 + 3 * m; }, 502},
    {RecordLayout::Stretched, 2, 0, "stretched", 621, 249, 2,
     [](int m) { return 2 * m; }, [](int m) { return m == 0 ? 372 : 371 + 3 * m; }, 252},
};

class PlotWaveformTest : public ::testing::Test {
 protected:
  ScopeWindow w{true, true};
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;

  void SetUp() override {
    // A black graticule, so every lit pixel is the frame's own.
    f.GridBitmap.fill(Qt::black);
    scope.State().Running = 0;
    scope.State().PlotValid = 0;
    scope.State().PersistenceOn = 0;
    scope.State().ReferenceOn = 0;
    scope.State().SnapToPlotOn = 0;
    scope.State().ChannelOn[1] = 1;
    scope.State().ChannelOn[2] = 1;
    scope.State().CH1Focus = 1;
    // CH1 in the upper half, CH2 in the lower half: the traces never cross.
    scope.State().CH1VertPos = 100;
    scope.State().CH2VertPos = 320;
    scope.State().HeldRecord.channels[0].scale = 50;
    scope.State().HeldRecord.channels[1].scale = 40;
    // Captured with CH1 on the high range, CH2 on the low one, as the panel
    // still stands.
    scope.State().HeldRecord.channels[0].highRange = true;
    scope.State().HeldRecord.channels[1].highRange = false;
    scope.State().CH1HighRange = 1;
    scope.State().CalCH1H = 6;
    scope.State().CalCH1L = -50;
    scope.State().CH2HighRange = 0;
    scope.State().CalCH2H = 50;
    scope.State().CalCH2L = -4;
    SetLeft(scope.ViewWindowMarker(), 173);
  }

  void Use(const LayoutCase& c) {
    scope.State().HeldRecord.SetTimeBase(c.capturedTimeBase, c.capturedRate1MS != 0);
  }

  // A slow sine on each channel over the whole record.
  void FillSines() {
    for (int i = 1; i <= 3000; ++i) {
      scope.State().HeldRecord.ch1[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(128 + 100 * std::sin(i / 23.0));
      scope.State().HeldRecord.ch2[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(128 + 90 * std::cos(i / 31.0));
    }
  }

  std::set<int> LitColumns(const QImage& image, int row, QRgb colour) const {
    std::set<int> columns;
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, row) == colour) columns.insert(x);
    return columns;
  }
};

TEST_F(PlotWaveformTest, TracesStandOnTheRowsOfTheVerticalMappingInEveryLayout) {
  FillSines();
  for (const LayoutCase& c : Layouts) {
    SCOPED_TRACE(c.name);
    Use(c);
    scope.DrawHeldRecord();
    // The present ranges pick the calibration: CH1 high, CH2 low.
    EXPECT_EQ(scope.State().CH1CalOffset, 6);
    EXPECT_EQ(scope.State().CH2CalOffset, -4);
    const int step = c.step;
    struct Channel {
      const std::array<std::uint8_t, 3001>& samples;
      std::int32_t vertPos, scale, cal;
      QRgb colour;
    } channels[] = {{scope.State().HeldRecord.ch1, 100, 50, 6, CH1Pixel}, {scope.State().HeldRecord.ch2, 320, 40, -4, CH2Pixel}};
    for (const Channel& ch : channels) {
      auto row = [&](int i) { return SampleRow(ch.samples[static_cast<std::size_t>(i)], ch.vertPos, ch.scale, ch.cal); };
      for (int i = scope.State().ViewStart + 1; i < scope.State().ViewEnd; ++i) {
        const int column = 2 + (i - scope.State().ViewStart) * step;
        ASSERT_EQ(f.PlotBitmap.pixel(column, row(i)), ch.colour) << "sample " << i;
        // Nothing of this trace in the column beyond the segments that meet there.
        const int low = std::min({row(i - 1), row(i), row(i + 1)}) - 2;
        const int high = std::max({row(i - 1), row(i), row(i + 1)}) + 2;
        for (int y = 0; y < 400; ++y) {
          if (y >= low && y <= high) continue;
          ASSERT_NE(f.PlotBitmap.pixel(column, y), ch.colour) << "sample " << i << " row " << y;
        }
      }
    }
  }
}

TEST_F(PlotWaveformTest, EachSampleOfTheViewHasItsOwnColumn) {
  // One spike at a time: its tip shows the column the sample is drawn at.
  scope.State().ChannelOn[2] = 0;
  for (const LayoutCase& c : Layouts) {
    SCOPED_TRACE(c.name);
    Use(c);
    const int samples = c.samplesOnPlot;
    const int tipRow = 100 - 63 - 3;  // sample 0 less the calibration of 6, at 50 pixels per 100
    for (int j = 0; j < samples; ++j) {
      scope.State().HeldRecord.ch1.fill(255);
      scope.State().HeldRecord.ch1[static_cast<std::size_t>(c.viewStart + j)] = 0;
      scope.DrawHeldRecord();
      ASSERT_EQ(scope.State().ViewStart, c.viewStart);
      ASSERT_EQ(scope.State().ViewEnd, c.viewStart + samples - 1);
      const int column = 2 + j * c.step;
      const std::set<int> lit = LitColumns(f.PlotBitmap, tipRow, CH1Pixel);
      ASSERT_TRUE(lit.count(column)) << "sample " << j;
      ASSERT_LE(*lit.rbegin(), column) << "sample " << j;
      // The first sample also has the flat segment from column 1 before it.
      ASSERT_GE(*lit.begin(), j == 0 ? 0 : column - 1) << "sample " << j;
    }
    // The sample just past the view is not on the plot.
    scope.State().HeldRecord.ch1.fill(255);
    scope.State().HeldRecord.ch1[static_cast<std::size_t>(c.viewStart + samples)] = 0;
    scope.DrawHeldRecord();
    EXPECT_TRUE(LitColumns(f.PlotBitmap, tipRow, CH1Pixel).empty());
  }
}

TEST_F(PlotWaveformTest, StretchedRecordEndsOnColumn498) {
  // 249 samples on columns 2, 4, ..., 498, with a flat start from column 1.
  scope.State().ChannelOn[2] = 0;
  Use(Layouts[2]);
  scope.State().HeldRecord.ch1.fill(127 + 6);  // the 0 V row, after calibration
  scope.DrawHeldRecord();
  EXPECT_EQ(scope.State().ViewEnd - scope.State().ViewStart, 248);
  const std::set<int> lit = LitColumns(f.PlotBitmap, 100, CH1Pixel);
  ASSERT_FALSE(lit.empty());
  EXPECT_EQ(*lit.begin(), 0);  // the round end of the segment from column 1
  EXPECT_EQ(*lit.rbegin(), 498);
  EXPECT_EQ(lit.size(), 499u);
}

TEST_F(PlotWaveformTest, OverviewStripShowsTheLayoutsSamples) {
  // Samples of 250 lie on the strip's bottom row; a 0 reaches the top row
  // only if the strip reads that sample.
  for (const LayoutCase& c : Layouts) {
    SCOPED_TRACE(c.name);
    Use(c);
    for (int m = 0; m < c.stripVertices; ++m) {
      const OverviewVertex v{c.stripColumn(m), c.stripSample(m)};
      if (v.column >= 500) continue;  // clipped
      if (m % 7 != 0 && m > 3 && v.column < 497) continue;  // a spread of vertices is enough
      scope.State().HeldRecord.ch1.fill(250);
      scope.State().HeldRecord.ch1[static_cast<std::size_t>(v.sampleIndex)] = 0;
      scope.DrawHeldRecord();
      ASSERT_EQ(LitColumns(f.PreviewBitmap, 0, CH1Pixel), std::set<int>{v.column}) << "m " << m;
      // The neighbours the strip skips never show.
      if (m == 0) continue;  // sample 2 follows sample 1 on the standard strip
      scope.State().HeldRecord.ch1[static_cast<std::size_t>(v.sampleIndex)] = 250;
      scope.State().HeldRecord.ch1[static_cast<std::size_t>(v.sampleIndex + 1)] = 0;
      scope.DrawHeldRecord();
      ASSERT_TRUE(LitColumns(f.PreviewBitmap, 0, CH1Pixel).empty()) << "m " << m;
    }
    EXPECT_EQ(scope.OverviewStrip()->Picture(), f.PreviewBitmap);
  }
}

TEST_F(PlotWaveformTest, Ch2IsDrawnOverCh1) {
  Use(Layouts[0]);
  scope.State().CH1VertPos = scope.State().CH2VertPos = 200;
  scope.State().HeldRecord.channels[0].scale = scope.State().HeldRecord.channels[1].scale = 100;
  scope.State().HeldRecord.ch1.fill(127 + 6);
  scope.State().HeldRecord.ch2.fill(127 - 4);
  scope.DrawHeldRecord();
  EXPECT_EQ(LitColumns(f.PlotBitmap, 200, CH2Pixel).size(), 499u);
  EXPECT_TRUE(LitColumns(f.PlotBitmap, 200, CH1Pixel).empty());
}

TEST_F(PlotWaveformTest, OverviewStripFollowsTheFocusEvenWhenThatChannelIsOff) {
  Use(Layouts[0]);
  scope.State().HeldRecord.ch1.fill(0);
  scope.State().HeldRecord.ch2.fill(120);
  scope.State().CH1Focus = 0;
  scope.State().ChannelOn[2] = 0;
  scope.DrawHeldRecord();
  EXPECT_EQ(LitColumns(f.PreviewBitmap, 12, CH2Pixel).size(), 500u);
  EXPECT_TRUE(LitColumns(f.PreviewBitmap, 0, CH1Pixel).empty());
}

TEST_F(PlotWaveformTest, TriggerMarkerRunningFollowsHorTrigPosStoppedKeepsStopTrigPos) {
  FillSines();
  struct Case {
    const LayoutCase& layout;
    int expectedRunning;  // HorTrigPos at 200, view at 173
    int expectedStopped;  // StopTrigPos 300
  } cases[] = {
      {Layouts[0], 3 * 200 - 503 - 5, 3 * 300 - 503 - 5},
      {Layouts[1], 3 * 200 - 1245 + 737, 3 * 300 - 1245 + 737},
      {Layouts[2], 2 * (300 - 621) + 735, 2 * (450 - 621) + 735},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.layout.name);
    Use(c.layout);
    SetLeft(ScopeDriver(f).Find<TImage>(QStringLiteral("HorTrigPos")), 200);
    scope.State().StopTrigPos = 300;
    scope.State().Running = 1;
    scope.DrawHeldRecord();
    EXPECT_EQ(Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("PlotTrigPanel"))), c.expectedRunning);
    EXPECT_TRUE(ScopeDriver(f).Find<TPanel>(QStringLiteral("PlotTrigPanel"))->isVisible());
    scope.State().Running = 0;
    scope.DrawHeldRecord();
    EXPECT_EQ(Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("PlotTrigPanel"))), c.expectedStopped);
    EXPECT_TRUE(ScopeDriver(f).Find<TPanel>(QStringLiteral("PlotTrigPanel"))->isVisible());  // nothing in a frame hides it
  }
  // In the standard record the marker's centre is on sample 3 T - 2.
  Use(Layouts[0]);
  scope.DrawHeldRecord();
  EXPECT_EQ(Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("PlotTrigPanel"))) + 5, 2 + (3 * 300 - 2 - scope.State().ViewStart));
}

TEST_F(PlotWaveformTest, HeldRecordPannedKeepsItsTriggerMarker) {
  FillSines();
  Use(Layouts[0]);
  scope.State().StopTrigPos = 300;
  scope.State().PlotValid = 1;
  SetLeft(ScopeDriver(f).Find<TImage>(QStringLiteral("HorTrigPos")), 90);  // moved after the stop
  SetLeft(scope.ViewWindowMarker(), 250);
  f.CheckForWaveUpdateNeed();
  EXPECT_EQ(scope.State().ViewStart, 3 * 250 - 16);
  EXPECT_EQ(Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("PlotTrigPanel"))), 3 * 300 - scope.State().ViewStart - 5);
}

TEST_F(PlotWaveformTest, HiddenTriggerMarkerStaysHiddenWhileStopped) {
  FillSines();
  Use(Layouts[0]);
  ASSERT_FALSE(ScopeDriver(f).Find<TPanel>(QStringLiteral("PlotTrigPanel"))->isVisible());
  scope.DrawHeldRecord();
  EXPECT_FALSE(ScopeDriver(f).Find<TPanel>(QStringLiteral("PlotTrigPanel"))->isVisible());
}

TEST_F(PlotWaveformTest, CaptionsFollowTheRecordOnlyWhileRunning) {
  ASSERT_NE(ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1V")), nullptr);
  ASSERT_NE(ScopeDriver(f).Find<TLabel>(QStringLiteral("CH2V")), nullptr);
  ASSERT_NE(ScopeDriver(f).Find<TLabel>(QStringLiteral("TimeBaseL")), nullptr);
  ASSERT_NE(ScopeDriver(f).Find<TLabel>(QStringLiteral("SampleRate")), nullptr);
  Use(Layouts[0]);
  scope.State().CH1VoltsDivText = "CH1 1V/DIV";
  scope.State().CH2VoltsDivText = "CH2 2V/DIV";
  scope.State().TimeDivText = "1ms/DIV";
  scope.State().SampleRateText = "500KS/s";
  scope.State().Running = 1;
  scope.DrawHeldRecord();
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1V"))->text(), "CH1 1V/DIV");
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("CH2V"))->text(), "CH2 2V/DIV");
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("TimeBaseL"))->text(), "1ms/DIV");
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("SampleRate"))->text(), "500KS/s");
  scope.State().Running = 0;
  scope.State().CH1VoltsDivText = "CH1 5V/DIV";
  scope.State().TimeDivText = "5ms/DIV";
  scope.DrawHeldRecord();
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1V"))->text(), "CH1 1V/DIV");
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("TimeBaseL"))->text(), "1ms/DIV");
}

TEST_F(PlotWaveformTest, CheckForWaveUpdateNeedDrawsOnlyAHeldRecord) {
  FillSines();
  Use(Layouts[0]);
  const QRgb sentinel = qRgb(1, 2, 3);
  struct Case {
    std::uint8_t running, plotValid;
    bool draws;
    const char* name;
  } cases[] = {
      {0, 0, false, "before the first capture"},
      {1, 1, false, "while running"},
      {1, 0, false, "first capture pending"},
      {0, 1, true, "held record"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    f.PlotBitmap.fill(sentinel);
    f.PreviewBitmap.fill(sentinel);
    scope.State().Running = c.running;
    scope.State().PlotValid = c.plotValid;
    scope.State().ViewStart = -1;
    f.CheckForWaveUpdateNeed();
    EXPECT_EQ(f.PlotBitmap.pixel(0, 0) != sentinel, c.draws);
    EXPECT_EQ(f.PreviewBitmap.pixel(0, 0) != sentinel, c.draws);
    EXPECT_EQ(scope.State().ViewStart != -1, c.draws);
    EXPECT_EQ(scope.State().PlotValid, c.draws || c.plotValid ? 1 : 0);
  }
}

TEST_F(PlotWaveformTest, FirstFrameMakesThePlotValid) {
  Use(Layouts[0]);
  scope.DrawHeldRecord();
  EXPECT_EQ(scope.State().PlotValid, 1);
}

TEST_F(PlotWaveformTest, ScreenIsACopyOfPlotBitmap) {
  FillSines();
  Use(Layouts[0]);
  scope.DrawHeldRecord();
  const QImage screen = scope.Plot()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(screen.size(), QSize(500, 400));
  EXPECT_EQ(screen, f.PlotBitmap);
}

TEST_F(PlotWaveformTest, ScreenAroundTheWidgetsOverThePlotIsACopyOfPlotBitmap) {
  // The trigger marker and the cursor lines cover parts of the plot; the rest
  // is copied a rectangle at a time and must be the frame, pixel for pixel.
  FillSines();
  Use(Layouts[0]);
  scope.DrawHeldRecord();
  ScopeDriver(f).Find<TPanel>(QStringLiteral("PlotTrigPanel"))->show();
  std::vector<QRect> covered;
  for (QWidget* child : scope.PlotPanel()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (child == scope.Plot()) continue;
    child->show();
    covered.push_back(child->geometry().translated(-scope.Plot()->pos()));
  }
  ASSERT_GE(covered.size(), 2u);
  const QImage panel = scope.PlotPanel()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QImage screen = panel.copy(QRect(scope.Plot()->pos(), QSize(500, 400)));
  int compared = 0;
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 500; ++x) {
      if (std::any_of(covered.begin(), covered.end(), [&](const QRect& r) { return r.contains(x, y); })) continue;
      ASSERT_EQ(screen.pixel(x, y), f.PlotBitmap.pixel(x, y)) << x << "," << y;
      ++compared;
    }
  EXPECT_GT(compared, 150000);
}

TEST_F(PlotWaveformTest, BothChannelsOffShowTheGraticuleAndStillTheStrip) {
  FillSines();
  Use(Layouts[0]);
  {
    QPainter grid(&f.GridBitmap);
    grid.fillRect(0, 0, 500, 400, QColor(40, 40, 40));
    grid.fillRect(0, 200, 500, 1, QColor(90, 90, 90));
  }
  scope.State().ChannelOn[1] = 0;
  scope.State().ChannelOn[2] = 0;
  scope.DrawHeldRecord();
  EXPECT_EQ(f.PlotBitmap, f.GridBitmap);
  EXPECT_FALSE(LitColumns(f.PreviewBitmap, OverviewRow(scope.State().HeldRecord.ch1[1]), CH1Pixel).empty());
}

TEST_F(PlotWaveformTest, ReferenceIsDrawnOverTheTracesWithThePenTheTracesLeft) {
  Use(Layouts[0]);
  scope.State().ReferenceRows.fill(200);
  scope.State().ReferenceOn = 1;
  // CH1 on the same row: the reference covers it.
  scope.State().CH1VertPos = 200;
  scope.State().HeldRecord.ch1.fill(127 + 6);
  scope.State().ChannelOn[2] = 0;

  // Persistence before any line frame: the canvas pen is 1 pixel wide.
  scope.State().PersistenceOn = 1;
  scope.State().PersistenceHit = 0;  // no dots
  scope.DrawHeldRecord();
  std::set<int> rows;
  for (int y = 0; y < 400; ++y)
    if (f.PlotBitmap.pixel(250, y) == ReferencePixel) rows.insert(y);
  EXPECT_EQ(rows, (std::set<int>{200}));

  // After a line frame the reference takes the traces' width, over CH1.
  scope.State().PersistenceOn = 0;
  scope.DrawHeldRecord();
  rows.clear();
  for (int y = 0; y < 400; ++y) {
    if (f.PlotBitmap.pixel(250, y) == ReferencePixel) rows.insert(y);
    EXPECT_NE(f.PlotBitmap.pixel(250, y), CH1Pixel) << "row " << y;
  }
  EXPECT_EQ(rows, (std::set<int>{199, 200}));
  EXPECT_EQ(LitColumns(f.PlotBitmap, 200, ReferencePixel).size(), 499u);  // columns 0..498

  // Its rows are used as stored, whatever the channel's position now.
  scope.State().CH1VertPos = 50;
  scope.DrawHeldRecord();
  EXPECT_EQ(f.PlotBitmap.pixel(250, 200), ReferencePixel);

  // Switched off: no longer drawn.
  scope.State().ReferenceOn = 0;
  scope.DrawHeldRecord();
  EXPECT_TRUE(LitColumns(f.PlotBitmap, 200, ReferencePixel).empty());
}

TEST_F(PlotWaveformTest, ReferenceWithAbsurdRowsIsClippedLikeAnyLine) {
  Use(Layouts[0]);
  for (std::size_t i = 0; i < scope.State().ReferenceRows.size(); ++i)
    scope.State().ReferenceRows[i] = i % 2 ? std::numeric_limits<std::int32_t>::max() : std::numeric_limits<std::int32_t>::min();
  scope.State().ReferenceOn = 1;
  scope.State().ChannelOn[1] = scope.State().ChannelOn[2] = 0;
  scope.DrawHeldRecord();
  EXPECT_EQ(scope.State().PlotValid, 1);
  // Each segment runs from far above to far below: it crosses every row of
  // the plot between its two columns.
  const std::set<int> lit = LitColumns(f.PlotBitmap, 200, ReferencePixel);
  for (int x = 2; x < 498; ++x) EXPECT_TRUE(lit.count(x)) << "column " << x;
  EXPECT_FALSE(lit.count(499));
}

TEST_F(PlotWaveformTest, PersistenceDotsReplaceTheTraces) {
  Use(Layouts[0]);
  f.InitRainbow();
  f.InitPersistColors();
  scope.ClearPersistence();
  scope.State().PersistenceOn = 1;
  scope.State().RainbowOn = 0;
  scope.State().PersistenceHit = 255;
  scope.State().PersistenceFade = 50;
  // Both channels on the same rows: CH1 stays on top. Uncalibrated here;
  // the calibrated rows are checked at the end.
  scope.State().CalCH1H = 0;
  scope.State().CalCH2L = 0;
  scope.State().CH1VertPos = scope.State().CH2VertPos = 200;
  scope.State().HeldRecord.channels[0].scale = scope.State().HeldRecord.channels[1].scale = 100;
  scope.State().HeldRecord.ch1.fill(127);
  scope.State().HeldRecord.ch2.fill(127);
  scope.State().HeldRecord.ch1[503] = 157;  // the view's first sample: 30 below the 0 V row
  scope.DrawHeldRecord();
  const QRgb fullBlue = qRgb(0, 0, 255);
  EXPECT_EQ(f.PlotBitmap.pixel(2, 230), fullBlue);
  EXPECT_EQ(f.PlotBitmap.pixel(3, 200), fullBlue);
  EXPECT_EQ(f.PlotBitmap.pixel(498, 200), fullBlue);
  EXPECT_EQ(f.PlotBitmap.pixel(499, 200), Black);
  EXPECT_EQ(f.PlotBitmap.pixel(2, 200), qRgb(255, 0, 0));  // only CH2 there
  EXPECT_EQ(f.PlotBitmap.pixel(2, 201), Black);            // dots, not lines

  // With both channels off the dots fade: 255 - 50 per frame, dark after six.
  scope.State().ChannelOn[1] = scope.State().ChannelOn[2] = 0;
  scope.DrawHeldRecord();
  EXPECT_EQ(f.PlotBitmap.pixel(3, 200), qRgb(0, 0, 205));
  for (int frame = 2; frame <= 5; ++frame) scope.DrawHeldRecord();
  EXPECT_EQ(f.PlotBitmap.pixel(3, 200), qRgb(0, 0, 5));
  scope.DrawHeldRecord();
  EXPECT_EQ(f.PlotBitmap.pixel(3, 200), Black);

  // Rainbow: a fresh dot is red, the table's last entry.
  scope.State().ChannelOn[1] = 1;
  scope.State().RainbowOn = 1;
  scope.State().PersistenceHit = 1024;
  scope.DrawHeldRecord();
  EXPECT_EQ(f.PlotBitmap.pixel(3, 200), qRgb(255, 0, 0));
  // Back to the ramps with cells still holding 1024: drawn at full blue.
  scope.State().RainbowOn = 0;
  scope.State().ChannelOn[1] = 0;
  scope.State().PersistenceFade = 0;
  scope.DrawHeldRecord();
  EXPECT_EQ(f.PlotBitmap.pixel(3, 200), fullBlue);

  // A run start clears them.
  scope.ClearPersistence();
  scope.DrawHeldRecord();
  EXPECT_EQ(f.PlotBitmap.pixel(3, 200), Black);

  // The dots take off the calibration of the channel's range, as the line
  // traces do: CH1 on the high range with 6 counts stands 6 rows higher.
  scope.State().ChannelOn[1] = 1;
  scope.State().CalCH1H = 6;
  scope.State().PersistenceFade = 50;
  scope.DrawHeldRecord();
  EXPECT_EQ(f.PlotBitmap.pixel(3, 194), fullBlue);
  EXPECT_EQ(f.PlotBitmap.pixel(3, 200), Black);
}

TEST_F(PlotWaveformTest, ViewOutsideTheRecordIsRefused) {
  FillSines();
  Use(Layouts[0]);
  SetLeft(scope.ViewWindowMarker(), 0);  // ViewStart would be -16
  const QRgb sentinel = qRgb(1, 2, 3);
  f.PlotBitmap.fill(sentinel);
  EXPECT_THROW(scope.DrawHeldRecord(), ScopeError);
  EXPECT_EQ(f.PlotBitmap.pixel(100, 100), sentinel);
  EXPECT_EQ(scope.State().PlotValid, 0);
  SetLeft(scope.ViewWindowMarker(), 800);  // past sample 3000 in the 3000-sample record
  Use(Layouts[1]);
  EXPECT_THROW(scope.DrawHeldRecord(), ScopeError);
}

TEST_F(PlotWaveformTest, PlotSurfaceLinesUpWithTheMarkerStrips) {
  // A marker's Top in the strips beside the plot is its plot row: the
  // strips start 46 pixels down the bezel and the plot 53.
  EXPECT_EQ(scope.Plot()->mapTo(scope.ScreenBezel(), QPoint(0, 0)), QPoint(29, 53));
  EXPECT_EQ(scope.Plot()->size(), QSize(500, 400));
  EXPECT_EQ(scope.OverviewStrip()->mapTo(scope.ScreenBezel(), QPoint(0, 0)), QPoint(29, 10));
  EXPECT_EQ(Left(scope.ViewWindowMarker()), 173);
  EXPECT_FALSE(ScopeDriver(f).Find<TPanel>(QStringLiteral("PlotTrigPanel"))->isVisible());
  // The trigger position's design place, before the restore moves it to the
  // stored one.
  ScopeWindow unshown{false, true};
  EXPECT_EQ(Left(unshown.scope.Find<TImage>(QStringLiteral("HorTrigPos"))), 251);
  EXPECT_EQ(scope.Plot()->cursor().shape(), Qt::CrossCursor);
  EXPECT_TRUE(w.ui.errors.isEmpty());  // every window-design picture was found
}

}  // namespace

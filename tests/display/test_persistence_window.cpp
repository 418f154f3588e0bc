// Persistence dots on the real window, with a tessaron-sim process feeding
// the frames: the colours of fresh and fading dots, the modes chosen in the
// Display Properties dialog, the fade levels, a run start clearing the grids
// and rows off the grid. The inputs are held still (DC), so each channel's
// dots lie on one row that the test computes from the vertical mapping.

#include "acquisition/test_runstop_sim.h"
#include "display/DisProperties.h"
#include "display/PersistenceDots.h"
#include "display/SampleRows.h"
#include "support/ScopeWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QRadioButton>
#include <QSlider>

#include <algorithm>
#include <memory>

using screen_model::SampleRow;

namespace {

const QRgb Blue = qRgb(0, 0, 255);
const QRgb Red = qRgb(255, 0, 0);
QRgb RainbowPixel(int entry) {
  const screen_model::Rgb c = persistence::RainbowEntry(entry);
  return qRgb(c.red, c.green, c.blue);
}
QRgb LinePixel(screen_model::TColor colour) {
  const screen_model::Rgb c = screen_model::RgbOf(colour);
  return qRgb(c.red, c.green, c.blue);
}

constexpr int Scale = 78;
constexpr int Column = 100;  // a column of the plot that carries a sample

class PersistenceOnScreen : public ::testing::Test {
 protected:
  // Grounded inputs reading 126 + the zero offsets given.
  void Start(const char* zeroOffsets = "0:0", const QStringList& more = {}) {
    sim = std::make_unique<RunStopSim>(QStringList{"--ch1", "dc:0:0:0", "--ch2", "dc:0:0:0", "--zero-offset",
                                                   zeroOffsets} + more);
    f.SerialPort.Close();  // the instrument of an earlier case
    ASSERT_TRUE(f.SerialPort.Open(sim->Device(), "9600", "NONE", "8", false));
    scope.State().TimeBaseIndex = 3;
    scope.State().Rate1MS = 0;
    scope.State().ChannelOn[1] = scope.State().ChannelOn[2] = 1;
    scope.State().CH1HighRange = scope.State().CH2HighRange = 1;
    scope.State().CH1Scale = scope.State().CH2Scale = Scale;
    scope.State().CH1VertPos = 150;
    scope.State().CH2VertPos = 300;
    scope.State().CalCH1H = scope.State().CalCH2H = 0;
    scope.State().TriggerCH = 1;
    scope.State().AutoTrigger = 1;
    scope.ChooseSingle();
    // Opening the dialog loads the graticule it shows selected; then a black
    // one, so every lit pixel is a dot.
    ScopeDriver(f).MenuItem(QStringLiteral("Properties1"))->trigger();
    f.GridBitmap.fill(Qt::black);
  }
  // One single capture from RUN, drawn when it arrives.
  void Capture() {
    const std::uint64_t before = scope.State().HeldRecord.sequence;
    QTimer::singleShot(0, [this] { scope.PressRun(); });
    ASSERT_TRUE(WaitFor([&] { return scope.State().HeldRecord.sequence > before && scope.State().Running == 0; }));
  }
  // Frames of the held record, as a view change while stopped draws them.
  void Replot(int frames) {
    for (int i = 0; i < frames; ++i) scope.DrawHeldRecord();
  }
  QRgb At(int row) const { return f.PlotBitmap.pixel(Column, row); }
  int Count(QRgb colour) const {
    int n = 0;
    for (int y = 0; y < 400; ++y)
      for (int x = 0; x < 500; ++x) n += f.PlotBitmap.pixel(x, y) == colour ? 1 : 0;
    return n;
  }
  int LitPixels() const { return 500 * 400 - Count(qRgb(0, 0, 0)); }

  ScopeWindow w{true, /*stopWatch=*/true};
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;
  TDisPropertiesForm& d = *ScopeDriver(f).Find<TDisPropertiesForm>(QStringLiteral("DisPropertiesForm"));
  std::unique_ptr<RunStopSim> sim;
};

TEST_F(PersistenceOnScreen, NormalDotsAreFullBlueAndFullRedOnTheTracesRows) {
  struct Case {
    const char* name;
    const char* zeroOffsets;
    std::int32_t ch2VertPos;
    std::int32_t ch1Cal;  // the calibration of CH1's range
  } cases[] = {
      {"apart", "4:-3", 300, 0},
      {"calibrated: the dots stand where the line is drawn", "4:-3", 300, 3},
      {"on one pixel: CH1's colour stays", "0:0", 150, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start(c.zeroOffsets);
    scope.State().CH2VertPos = c.ch2VertPos;
    scope.State().CalCH1H = c.ch1Cal;
    d.RadioButton2->click();
    Capture();
    const int ch1Row = SampleRow(scope.State().HeldRecord.ch1[600], 150, Scale, c.ch1Cal);
    const int ch2Row = SampleRow(scope.State().HeldRecord.ch2[600], c.ch2VertPos, Scale, 0);
    EXPECT_EQ(At(ch1Row), Blue);
    if (ch2Row != ch1Row) {
      EXPECT_EQ(At(ch2Row), Red);
    }
    // One dot per column and channel: the 497 samples of the view.
    EXPECT_EQ(Count(Blue), 497);
    EXPECT_EQ(Count(Red), ch2Row == ch1Row ? 0 : 497);
    EXPECT_EQ(LitPixels(), ch2Row == ch1Row ? 497 : 2 * 497);

    // The line traces of the same record stand on the same rows.
    d.RadioButton1->click();
    Replot(1);
    EXPECT_EQ(At(ch1Row), ch2Row == ch1Row ? LinePixel(screen_model::CH2Color) : LinePixel(screen_model::CH1Color));
  }
}

TEST_F(PersistenceOnScreen, RainbowStampsRedAndFadesThroughYellowGreenCyanToBlue) {
  Start();
  d.RadioButton3->click();
  ASSERT_EQ(scope.State().PersistenceFade, 10);
  Capture();
  const int row = SampleRow(scope.State().HeldRecord.ch1[600], 150, Scale, 0);
  EXPECT_EQ(At(row), Red);
  // CH1 off: its grid is no longer stamped but keeps fading.
  scope.State().ChannelOn[1] = 0;
  struct Step {
    int frames;  // in all, after the capture
    int entry;   // 1024 - 10 per frame
    const char* colour;
  } steps[] = {{1, 1014, "red"}, {26, 764, "yellow"}, {51, 514, "green"}, {77, 254, "cyan"}, {102, 4, "blue"}};
  int done = 0;
  for (const Step& s : steps) {
    Replot(s.frames - done);
    done = s.frames;
    EXPECT_EQ(At(row), RainbowPixel(s.entry)) << s.colour;
  }
  Replot(1);
  EXPECT_EQ(At(row), qRgb(0, 0, 0)) << "gone after 103 frames";
  EXPECT_EQ(Count(RainbowPixel(1023)), 497) << "CH2's dots are stamped afresh each frame";
}

TEST_F(PersistenceOnScreen, FadeLevelsFromMinToMax) {
  Start();
  d.RadioButton2->click();
  // MIN: a Normal dot of 255 is gone after 6 frames.
  d.PersitanceTrackBar->setValue(0);
  Capture();
  const int row = SampleRow(scope.State().HeldRecord.ch1[600], 150, Scale, 0);
  scope.State().ChannelOn[1] = 0;
  Replot(5);
  EXPECT_EQ(At(row), qRgb(0, 0, 5));
  Replot(1);
  EXPECT_EQ(At(row), qRgb(0, 0, 0));

  // MAX: dots stay, frame after frame, until the next run starts.
  d.PersitanceTrackBar->setValue(50);
  scope.State().ChannelOn[1] = 1;
  Capture();
  scope.State().ChannelOn[1] = 0;
  Replot(200);
  EXPECT_EQ(At(row), Blue);
  scope.State().ChannelOn[1] = 1;
  scope.State().CH1VertPos = 50;  // the next record lands elsewhere
  Capture();
  EXPECT_EQ(At(row), qRgb(0, 0, 0)) << "a run start clears the grids";
  EXPECT_EQ(At(SampleRow(scope.State().HeldRecord.ch1[600], 50, Scale, 0)), Blue);
}

TEST_F(PersistenceOnScreen, AModeChangeKeepsTheDotsAndOffReturnsToLinesAtTheNextFrame) {
  Start();
  d.RadioButton2->click();
  Capture();
  const int row = SampleRow(scope.State().HeldRecord.ch1[600], 150, Scale, 0);
  // Rainbow: the Normal dot of 255 fades on from there, in the blue part of
  // the rainbow.
  d.RadioButton3->click();
  scope.State().ChannelOn[1] = 0;
  Replot(1);
  EXPECT_EQ(At(row), RainbowPixel(245));

  // Off: the picture stays until the next frame, which is drawn in lines.
  d.RadioButton1->click();
  EXPECT_EQ(At(row), RainbowPixel(245));
  scope.State().ChannelOn[1] = 1;
  Capture();
  EXPECT_EQ(At(row), LinePixel(screen_model::CH1Color));
  EXPECT_EQ(Count(RainbowPixel(245)), 0);
}

TEST_F(PersistenceOnScreen, SamplesBelowTheGridAreDroppedNotWrapped) {
  // CH1 at -12 V reads 255; at 400 pixels per 100 counts from row 400 its
  // row is 912, past the grid's 600 rows. In a flat grid it would land in
  // the next column, near its top.
  Start("0:0", {"--ch1", "dc:0:0:-12"});
  scope.State().CH1Scale = 400;
  scope.State().CH1VertPos = 400;
  scope.State().ChannelOn[2] = 0;
  d.RadioButton2->click();
  Capture();
  ASSERT_EQ(scope.State().HeldRecord.ch1[600], 255);
  EXPECT_EQ(LitPixels(), 0);
  EXPECT_EQ(std::count_if(scope.State().CH1Persistence.begin(), scope.State().CH1Persistence.end(), [](std::int32_t v) { return v > 0; }),
            0);
}

}  // namespace

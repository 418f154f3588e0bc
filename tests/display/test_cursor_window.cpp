// The cursors on the real window, driven by mouse events as a hand drives
// them: grabbing and dragging the lines on the plot, the handles and the view
// window over the overview strip, the readouts, the menu and buttons, and
// snap to plot on a held record.

#include "app/ReadoutText.h"
#include "display/SampleRows.h"
#include "support/Mouse.h"
#include "support/ScopeWindow.h"
#include "support/TextFit.h"
#include "trigger/TriggerDriving.h"

#include <gtest/gtest.h>

#include <QAction>

namespace {

// The view window marker and a handle are grabbed inside their pictures;
// a handle's knob hangs below the strip, where the view window does not
// cover it.
const QPoint InViewWindow(80, 13);
const QPoint OnHandleKnob(7, 35);
// A press on a line widget itself.
const QPoint OnTimeLine(0, 100);
const QPoint OnVoltageLine(250, 0);

class CursorWindow : public ::testing::Test {
 protected:
  ScopeWindow w{true, /*stopWatch=*/true};
  TForm1& f = *w.form;

  void SetUp() override {
    f.Running = 0;
    f.PersistenceOn = 0;
    f.ReferenceOn = 0;
    f.HeldRecord.SetTimeBase(5, false);  // 100 us/div: the standard record
    f.ChannelOn[1] = f.ChannelOn[2] = 1;
    f.CH1Focus = 1;
    f.CH1VertPos = 200;
    f.CH2VertPos = 300;
    f.CH1Scale = f.HeldRecord.channels[0].scale = 50;
    f.CH2Scale = f.HeldRecord.channels[1].scale = 50;
    f.CH1HighRange = 1;
    f.CalCH1H = f.CalCH1L = 0;
    f.SamplePeriodUs = 50;
    SetLeft(f.findChild<TImage*>("Image3"), 173);
    FillRecord(0);
    f.PlotWaveform();  // the held record
  }

  // Neighbouring samples are 7 counts apart, so a line on another sample
  // snaps to another row.
  void FillRecord(int shift) {
    for (int i = 1; i <= 3000; ++i) {
      f.HeldRecord.ch1[std::size_t(i)] = std::uint8_t((i * 7 + shift) % 256);
      f.HeldRecord.ch2[std::size_t(i)] = std::uint8_t((i * 3 + shift + 60) % 256);
    }
  }
  int CH1RowOf(int sample) const {
    return screen_model::SampleRow(f.HeldRecord.ch1[std::size_t(sample)], f.CH1VertPos, f.CH1Scale, f.CH1CalOffset);
  }
  // The sample under a time line in the standard record: Xp + 3 (L - 8) + 5.
  int SampleUnder(const QWidget* line) const { return Left(line) + 3 * (Left(f.findChild<TImage*>("Image3")) - 8) + 5; }
  std::string Errors() const { return w.ui.errors.join('\n').toStdString(); }
};

// ---- Grabbing and dragging the lines on the plot ----------------------------------

TEST_F(CursorWindow, OfTwoLinesInOneGrabZoneTheLaterWinsOOverXBOverA) {
  f.BothOn1->trigger();
  SetLeft(f.findChild<TPanel*>("XCursor"), 100);
  SetLeft(f.findChild<TPanel*>("OCursor"), 105);
  SetTop(f.findChild<TPanel*>("HozCusA"), 150);
  SetTop(f.findChild<TPanel*>("HozCusB"), 155);

  Drag(f.findChild<TPaintBox*>("PaintBox2"), QPoint(100, 350), {QPoint(20, 0)});
  EXPECT_EQ(Left(f.findChild<TPanel*>("OCursor")), 125);
  EXPECT_EQ(Left(f.findChild<TPanel*>("XCursor")), 100);
  EXPECT_EQ(f.XCursorSelected, 0);

  Drag(f.findChild<TPaintBox*>("PaintBox2"), QPoint(450, 150), {QPoint(0, 30)});
  EXPECT_EQ(Top(f.findChild<TPanel*>("HozCusB")), 185);
  EXPECT_EQ(Top(f.findChild<TPanel*>("HozCusA")), 150);
  EXPECT_EQ(f.HozCusASelected, 0);

  // The zone reaches 15 pixels before a line and 10 after it.
  Drag(f.findChild<TPaintBox*>("PaintBox2"), QPoint(135, 350), {QPoint(5, 0)});   // 10 after O: nothing
  Drag(f.findChild<TPaintBox*>("PaintBox2"), QPoint(86, 350), {QPoint(-6, 0)});   // 14 before X, 39 before O
  EXPECT_EQ(Left(f.findChild<TPanel*>("XCursor")), 94);
  EXPECT_EQ(Left(f.findChild<TPanel*>("OCursor")), 125);

  // A press away from every line drags nothing.
  Drag(f.findChild<TPaintBox*>("PaintBox2"), QPoint(400, 300), {QPoint(30, -30)});
  EXPECT_EQ(Left(f.findChild<TPanel*>("XCursor")), 94);
  EXPECT_EQ(Left(f.findChild<TPanel*>("OCursor")), 125);
  EXPECT_EQ(Top(f.findChild<TPanel*>("HozCusA")), 150);
  EXPECT_EQ(Top(f.findChild<TPanel*>("HozCusB")), 185);
  EXPECT_EQ(f.KnobSnap, 0);
}

TEST_F(CursorWindow, LinesStopAtTheirEndsOGoesThreePixelsFurtherThanX) {
  f.BothOn1->trigger();
  Drag(f.findChild<TPanel*>("XCursor"), OnTimeLine, {QPoint(300, 0), QPoint(300, 0)});
  EXPECT_EQ(Left(f.findChild<TPanel*>("XCursor")), 500);
  Drag(f.findChild<TPanel*>("OCursor"), OnTimeLine, {QPoint(300, 0), QPoint(300, 0)});
  EXPECT_EQ(Left(f.findChild<TPanel*>("OCursor")), 503);
  Drag(f.findChild<TPanel*>("XCursor"), OnTimeLine, {QPoint(-900, 0)});
  EXPECT_EQ(Left(f.findChild<TPanel*>("XCursor")), 0);
  Drag(f.findChild<TPanel*>("HozCusA"), OnVoltageLine, {QPoint(0, 900)});
  EXPECT_EQ(Top(f.findChild<TPanel*>("HozCusA")), 400);
  Drag(f.findChild<TPanel*>("HozCusB"), OnVoltageLine, {QPoint(0, -900)});
  EXPECT_EQ(Top(f.findChild<TPanel*>("HozCusB")), 0);
}

// The strips beside the plot overlap the two outer columns of its panel on
// each side; a line there is drawn over them, and where no line stands they
// show as before.
TEST_F(CursorWindow, LinesShowInTheBorderColumnsOfThePlotPanel) {
  const QRgb yellow = qRgb(255, 255, 0), lime = qRgb(0, 255, 0);
  auto screenAt = [&](const QImage& shot, QPoint inPanel4) {
    return shot.pixel(f.findChild<TPanel*>("Panel4")->mapTo(f.Client, inPanel4));
  };
  f.findChild<TPanel*>("AboutPanel")->hide();  // the splash lies over the plot
  const QImage before = f.RenderClientArea(f.Client->rect());
  f.BothOn1->trigger();
  for (int left : {501, 502, 503}) {
    SCOPED_TRACE(left);
    Drag(f.findChild<TPanel*>("OCursor"), OnTimeLine, {QPoint(left - Left(f.findChild<TPanel*>("OCursor")), 0)});
    ASSERT_EQ(Left(f.findChild<TPanel*>("OCursor")), left);
    const QImage shot = f.RenderClientArea(f.Client->rect());
    for (int y : {4, 200, 399}) EXPECT_EQ(screenAt(shot, QPoint(left, y)), yellow) << "row " << y;
  }
  // A voltage line from the panel's first column.
  Drag(f.findChild<TPanel*>("HozCusA"), OnVoltageLine, {QPoint(0, 100 - Top(f.findChild<TPanel*>("HozCusA")))});
  const QImage shot = f.RenderClientArea(f.Client->rect());
  EXPECT_EQ(screenAt(shot, QPoint(0, 100)), lime);
  EXPECT_EQ(screenAt(shot, QPoint(1, 100)), lime);
  // All off: the border columns are the strips' again.
  f.AllOff1->trigger();
  const QImage after = f.RenderClientArea(f.Client->rect());
  for (int x : {0, 1, 502, 503})
    for (int y = 0; y < f.findChild<TPanel*>("Panel4")->height(); ++y)
      ASSERT_EQ(screenAt(after, QPoint(x, y)), screenAt(before, QPoint(x, y))) << x << "," << y;
}

TEST_F(CursorWindow, ABezelPressEndsWithItsReleaseSoNoLineFollowsAnIdleMouse) {
  f.BothOn1->trigger();
  // A press on the bezel is compared with X's Left as it stands, in the
  // bezel's own pixels.
  const int x = Left(f.findChild<TPanel*>("XCursor"));
  SendMouse(f.Panel2, QEvent::MouseButtonPress, QPoint(x, 20));
  EXPECT_EQ(f.KnobSnap, 1);
  SendMouse(f.Panel2, QEvent::MouseButtonRelease, QPoint(x, 20));
  EXPECT_EQ(f.KnobSnap, 0);
  SendMouse(f.findChild<TPaintBox*>("PaintBox2"), QEvent::MouseMove, QPoint(400, 300));
  EXPECT_EQ(Left(f.findChild<TPanel*>("XCursor")), x);
}

// ---- Handles and the view window over the overview strip ------------------------

TEST_F(CursorWindow, AHandleMovesItsLineToTheTriggerPointOfThatPlaceInEveryLayout) {
  struct Case {
    const char* name;
    std::int32_t timeBase;
    std::uint8_t rate1MS;
  } cases[] = {{"standard", 5, 0}, {"3000-sample", 5, 1}, {"stretched", 2, 0}};
  f.VerticalON1->trigger();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    f.HeldRecord.SetTimeBase(c.timeBase, c.rate1MS != 0);
    f.PlotWaveform();
    SetLeft(f.findChild<TImage*>("CursorX"), 227);
    Drag(f.findChild<TImage*>("CursorX"), OnHandleKnob, {QPoint(4, 0), QPoint(6, 0)});
    EXPECT_EQ(Left(f.findChild<TImage*>("CursorX")), 237);
    EXPECT_EQ(Left(f.findChild<TPanel*>("XCursor")), 210);
    EXPECT_EQ(f.XCursorSelected, 1);
    // A record triggered with its marker at the handle's place has its
    // trigger point under the line.
    f.StopTrigPos = 237;
    f.PlotWaveform();
    EXPECT_EQ(f.findChild<TLabel*>("XTimeCursor")->text(), QStringLiteral("0 us"));
  }
  Drag(f.findChild<TImage*>("CursorO"), OnHandleKnob, {QPoint(900, 0)});
  EXPECT_EQ(Left(f.findChild<TImage*>("CursorO")), 501);
  EXPECT_EQ(f.XCursorSelected, 0);
  Drag(f.findChild<TImage*>("CursorO"), OnHandleKnob, {QPoint(-900, 0)});
  EXPECT_EQ(Left(f.findChild<TImage*>("CursorO")), 1);
}

TEST_F(CursorWindow, ALineDraggedOnThePlotTakesItsHandleAlong) {
  f.VerticalON1->trigger();
  Drag(f.findChild<TPanel*>("XCursor"), OnTimeLine, {QPoint(30, 0)});
  EXPECT_EQ(Left(f.findChild<TPanel*>("XCursor")), 210);
  EXPECT_EQ(Left(f.findChild<TImage*>("CursorX")), 237);  // (210 + 503) div 3
}

TEST_F(CursorWindow, TheViewWindowIsHeldInsideTheRecordAndAHeldRecordFollowsItAtOnce) {
  f.VerticalON1->trigger();
  Drag(f.findChild<TImage*>("Image3"), InViewWindow, {QPoint(-900, 0)});
  EXPECT_EQ(Left(f.findChild<TImage*>("Image3")), 8);
  EXPECT_EQ(f.ViewStart, 8);
  // The time lines stay on their samples: X's handle at 227 is sample 680.
  EXPECT_EQ(Left(f.findChild<TPanel*>("XCursor")), 3 * 227 - 8 + 2);

  // The held record is drawn again at every move, before the release.
  SendMouse(f.findChild<TImage*>("Image3"), QEvent::MouseButtonPress, InViewWindow);
  SendMouse(f.findChild<TImage*>("Image3"), QEvent::MouseMove, InViewWindow + QPoint(10, 0));
  EXPECT_EQ(Left(f.findChild<TImage*>("Image3")), 18);
  EXPECT_EQ(f.ViewStart, 38);
  EXPECT_EQ(f.ViewEnd, 534);
  SendMouse(f.findChild<TImage*>("Image3"), QEvent::MouseButtonRelease, InViewWindow);

  Drag(f.findChild<TImage*>("Image3"), InViewWindow, {QPoint(300, 0), QPoint(600, 0)});
  EXPECT_EQ(Left(f.findChild<TImage*>("Image3")), 340);
  EXPECT_EQ(f.ViewStart, 1004);
  EXPECT_EQ(f.ViewEnd, 1500);  // the last sample of the record

  f.ResetHorizontalView1->trigger();
  EXPECT_EQ(Left(f.findChild<TImage*>("Image3")), 173);
  EXPECT_EQ(f.ViewStart, 503);
  EXPECT_EQ(f.ViewEnd, 999);
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
}

// ---- Readouts ------------------------------------------------------------------------

TEST_F(CursorWindow, TimeReadoutsAndTheFrequencyOfTheTimeBetween) {
  f.VerticalON1->trigger();
  Drag(f.findChild<TPanel*>("OCursor"), OnTimeLine, {QPoint(Left(f.findChild<TPanel*>("XCursor")) - Left(f.findChild<TPanel*>("OCursor")), 0)});
  EXPECT_EQ(f.findChild<TLabel*>("TimeCursor")->text(), QStringLiteral("0 us"));
  EXPECT_EQ(f.findChild<TLabel*>("Label13")->text(), QStringLiteral("0 Hz"));
  Drag(f.findChild<TPanel*>("OCursor"), OnTimeLine, {QPoint(8, 0)});  // 8 columns of 50 us
  EXPECT_EQ(f.findChild<TLabel*>("TimeCursor")->text(), QStringLiteral("400 us"));
  EXPECT_EQ(f.findChild<TLabel*>("Label13")->text(), QStringLiteral("2.50 KHz"));
  // Before the trigger point the times are negative.
  f.StopTrigPos = 250;
  f.PlotWaveform();
  const int trigger = Left(f.findChild<TPanel*>("PlotTrigPanel")) + 7;
  EXPECT_EQ(f.findChild<TLabel*>("XTimeCursor")->text(), readout_text::FormatCursorTime((Left(f.findChild<TPanel*>("XCursor")) - trigger) * 50));
  EXPECT_TRUE(f.findChild<TLabel*>("XTimeCursor")->text().startsWith(QLatin1Char('-')));
}

// The columns of a label's picture that hold any of its text, as drawn on
// its black ground: a text cut by the label's edges reaches column 0 or the
// last one.
std::pair<int, int> InkColumns(QWidget* label) {
  const QImage picture = label->grab().toImage();
  int first = picture.width(), last = -1;
  for (int x = 0; x < picture.width(); ++x)
    for (int y = 0; y < picture.height(); ++y)
      if (qGray(picture.pixel(x, y)) > 40) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
  return {first, last};
}

TEST_F(CursorWindow, WithBothOnTheFrequencyOfLines288usApartShowsWholeInLabel13) {
  f.SamplePeriodUs = 4;  // 200 us/div
  f.BothOn1->trigger();
  Drag(f.findChild<TPanel*>("OCursor"), OnTimeLine, {QPoint(Left(f.findChild<TPanel*>("XCursor")) + 72 - Left(f.findChild<TPanel*>("OCursor")), 0)});
  EXPECT_EQ(f.findChild<TLabel*>("TimeCursor")->text(), QStringLiteral("288 us"));
  ASSERT_EQ(f.findChild<TLabel*>("Label13")->text(), QStringLiteral("3.47 KHz"));
  ASSERT_TRUE(f.findChild<TLabel*>("Label13")->isVisible());
  const TextFit fit = FitOf(*f.findChild<TLabel*>("Label13"), f.findChild<TLabel*>("Label13")->text());
  EXPECT_EQ(f.findChild<TLabel*>("Label13")->width(), 58);
  EXPECT_TRUE(fit.Fits()) << testing::PrintToString(fit);
  const auto [first, last] = InkColumns(f.findChild<TLabel*>("Label13"));
  EXPECT_GT(first, 0);
  EXPECT_LT(last, f.findChild<TLabel*>("Label13")->width() - 1);
  EXPECT_LE(last - first + 1, 58);
}

TEST_F(CursorWindow, VoltageReadoutsAgainstTheFocusedChannelAtEveryMoveOverThePlot) {
  f.HorizontalON1->trigger();
  f.CH1VoltsDiv = 20;  // 1 V/div
  SetTop(f.findChild<TPanel*>("HozCusA"), 150);
  SetTop(f.findChild<TPanel*>("HozCusB"), 250);
  SendMouse(f.findChild<TPaintBox*>("PaintBox2"), QEvent::MouseMove, QPoint(400, 380));
  EXPECT_EQ(f.findChild<TLabel*>("HCusA")->text(), QStringLiteral("1.02 V"));     // (200 - 150 + 1) * 20 / 10
  EXPECT_EQ(f.findChild<TLabel*>("HCusB")->text(), QStringLiteral("-980 mV"));    // (200 - 250 + 1) * 20 / 10
  EXPECT_EQ(f.findChild<TLabel*>("CusRes")->text(), QStringLiteral("2.00 V"));
  EXPECT_EQ(f.HCusDelta, 200);

  // CH2 has no extra row: a line on its 0 V row reads 00 mV.
  f.CH1Focus = 0;
  f.CH2VertPos = 250;
  f.CH2VoltsDiv = 20;
  SendMouse(f.findChild<TPaintBox*>("PaintBox2"), QEvent::MouseMove, QPoint(400, 381));
  EXPECT_EQ(f.findChild<TLabel*>("HCusA")->text(), QStringLiteral("2.00 V"));
  EXPECT_EQ(f.findChild<TLabel*>("HCusB")->text(), QStringLiteral("00 mV"));

  // A turn of the volts/div knob reads the lines in the new scale at once.
  f.CH1Focus = 1;
  f.KnobAngle = 135;  // the detent of 100 mV/div
  f.UpdatedKnob();
  EXPECT_EQ(f.CH1VoltsDiv, 2);
  EXPECT_EQ(f.findChild<TLabel*>("HCusA")->text(), QStringLiteral("100 mV"));  // (200 - 150 + 1) * 2 / 10 = 10
}

// ---- Menu and buttons -----------------------------------------------------------------

TEST_F(CursorWindow, MenuAndButtonsShowAndHideTheSetsAllOffEndsSnap) {
  const std::vector<QWidget*> timeSet{f.findChild<TImage*>("CursorX"), f.findChild<TImage*>("CursorO"), f.findChild<TPanel*>("XCursor"), f.findChild<TPanel*>("OCursor"),
                                      f.findChild<TLabel*>("XTimeCursor"), f.findChild<TLabel*>("OTimeCursor"), f.findChild<TLabel*>("TimeCursor"), f.findChild<TLabel*>("Label13")};
  const std::vector<QWidget*> voltageSet{f.findChild<TPanel*>("HozCusA"), f.findChild<TPanel*>("HozCusB"), f.findChild<TLabel*>("HCusA"), f.findChild<TLabel*>("HCusB"), f.findChild<TLabel*>("CusRes")};
  auto shown = [](const std::vector<QWidget*>& set) {
    return std::all_of(set.begin(), set.end(), [](QWidget* w) { return w->isVisible(); });
  };
  auto hidden = [](const std::vector<QWidget*>& set) {
    return std::none_of(set.begin(), set.end(), [](QWidget* w) { return w->isVisible(); });
  };
  EXPECT_TRUE(hidden(timeSet));
  EXPECT_TRUE(hidden(voltageSet));
  EXPECT_FALSE(f.findChild<TPanel*>("XCursor")->isEnabled());
  EXPECT_EQ(f.findChild<TImage*>("Image20")->toolTip(), QStringLiteral("Turn Horizontal Cursor On"));
  EXPECT_EQ(f.findChild<TImage*>("Image21")->toolTip(), QStringLiteral("Turn Vertical Cursors On"));
  EXPECT_EQ(f.findChild<TImage*>("Image22")->toolTip(), QStringLiteral("Turn All Cursors Off"));

  Click(f.findChild<TImage*>("Image21"));
  EXPECT_TRUE(shown(timeSet));
  EXPECT_TRUE(hidden(voltageSet));
  EXPECT_TRUE(f.findChild<TPanel*>("XCursor")->isEnabled());
  Click(f.findChild<TImage*>("Image20"));
  EXPECT_TRUE(shown(voltageSet));
  Click(f.findChild<TImage*>("Image22"));
  EXPECT_TRUE(hidden(timeSet));
  EXPECT_TRUE(hidden(voltageSet));

  f.SnaptoPlotON1->trigger();
  EXPECT_EQ(f.SnapToPlotOn, 1);
  EXPECT_EQ(f.SnaptoPlotON1->text(), QStringLiteral("Snap to Plot OFF"));
  EXPECT_TRUE(shown(timeSet));
  EXPECT_TRUE(shown(voltageSet));
  EXPECT_TRUE(f.findChild<TPanel*>("HozCusA")->isEnabled());

  f.AllOff1->trigger();
  EXPECT_EQ(f.SnapToPlotOn, 0);
  EXPECT_EQ(f.SnaptoPlotON1->text(), QStringLiteral("Snap to Plot ON"));
  EXPECT_TRUE(hidden(timeSet));
  EXPECT_TRUE(hidden(voltageSet));
  for (QWidget* line : {f.findChild<TPanel*>("XCursor"), f.findChild<TPanel*>("OCursor"), f.findChild<TPanel*>("HozCusA"), f.findChild<TPanel*>("HozCusB")}) EXPECT_FALSE(line->isEnabled());

  // Switching snap off leaves the cursors as they are.
  f.SnaptoPlotON1->trigger();
  f.SnaptoPlotON1->trigger();
  EXPECT_EQ(f.SnapToPlotOn, 0);
  EXPECT_EQ(f.SnaptoPlotON1->text(), QStringLiteral("Snap to Plot ON"));
  EXPECT_TRUE(shown(timeSet));
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
}

// ---- Snap to plot ----------------------------------------------------------------------

TEST_F(CursorWindow, SnapMovesOnlyThePartnerOfTheDraggedLineAndBothAtANewFrame) {
  f.SnaptoPlotON1->trigger();
  f.PlotWaveform();
  EXPECT_EQ(Top(f.findChild<TPanel*>("HozCusA")), CH1RowOf(SampleUnder(f.findChild<TPanel*>("XCursor"))));
  EXPECT_EQ(Top(f.findChild<TPanel*>("HozCusB")), CH1RowOf(SampleUnder(f.findChild<TPanel*>("OCursor"))));

  Drag(f.findChild<TImage*>("CursorX"), OnHandleKnob, {QPoint(5, 0)});
  EXPECT_EQ(Top(f.findChild<TPanel*>("HozCusA")), CH1RowOf(SampleUnder(f.findChild<TPanel*>("XCursor"))));
  const int bOnTheOldRecord = Top(f.findChild<TPanel*>("HozCusB"));

  // A new record has come in; while X is dragged A moves onto it and B
  // stays where the last frame put it.
  FillRecord(100);
  SendMouse(f.findChild<TImage*>("CursorX"), QEvent::MouseButtonPress, OnHandleKnob);
  SendMouse(f.findChild<TImage*>("CursorX"), QEvent::MouseMove, OnHandleKnob + QPoint(1, 0));
  EXPECT_EQ(Top(f.findChild<TPanel*>("HozCusA")), CH1RowOf(SampleUnder(f.findChild<TPanel*>("XCursor"))));
  EXPECT_EQ(Top(f.findChild<TPanel*>("HozCusB")), bOnTheOldRecord);
  ASSERT_NE(CH1RowOf(SampleUnder(f.findChild<TPanel*>("OCursor"))), bOnTheOldRecord);
  // The release draws the held record again: that frame puts B on the
  // waveform too.
  SendMouse(f.findChild<TImage*>("CursorX"), QEvent::MouseButtonRelease, OnHandleKnob);
  EXPECT_EQ(Top(f.findChild<TPanel*>("HozCusB")), CH1RowOf(SampleUnder(f.findChild<TPanel*>("OCursor"))));
  // The readouts follow the snapped lines.
  EXPECT_EQ(f.HCusAVolts, ((f.CH1VertPos - Top(f.findChild<TPanel*>("HozCusA")) + 1) * f.CH1VoltsDiv) / 10);
}

TEST_F(CursorWindow, SnapFollowsTheFocusedChannelsBufferEvenWhenItIsOff) {
  f.ChannelOn[1] = 0;
  f.SnaptoPlotON1->trigger();
  f.PlotWaveform();
  EXPECT_EQ(Top(f.findChild<TPanel*>("HozCusA")), CH1RowOf(SampleUnder(f.findChild<TPanel*>("XCursor"))));
  EXPECT_EQ(Top(f.findChild<TPanel*>("HozCusB")), CH1RowOf(SampleUnder(f.findChild<TPanel*>("OCursor"))));
}

TEST_F(CursorWindow, WithSnapOnAPressNearAVoltageLineDoesNotDragIt) {
  f.SnaptoPlotON1->trigger();
  f.PlotWaveform();
  const int a = Top(f.findChild<TPanel*>("HozCusA"));
  const int b = Top(f.findChild<TPanel*>("HozCusB"));
  Drag(f.findChild<TPaintBox*>("PaintBox2"), QPoint(450, a), {QPoint(0, 40), QPoint(0, 40)});
  EXPECT_EQ(f.HCursorDrag, 0);
  EXPECT_EQ(Top(f.findChild<TPanel*>("HozCusA")), a);
  EXPECT_EQ(Top(f.findChild<TPanel*>("HozCusB")), b);
}

TEST_F(CursorWindow, SnapReadsOnlySamplesTheRecordFilled) {
  f.SnaptoPlotON1->trigger();
  Drag(f.findChild<TImage*>("CursorX"), OnHandleKnob, {QPoint(-900, 0)});
  ASSERT_EQ(Left(f.findChild<TImage*>("CursorX")), 1);

  // The view dragged one pixel left with X's handle at Left 1: the lines
  // are placed over the new view, so X stands on sample 2.
  Drag(f.findChild<TImage*>("Image3"), InViewWindow, {QPoint(9 - 173, 0)});
  Drag(f.findChild<TImage*>("Image3"), InViewWindow, {QPoint(-1, 0)});
  ASSERT_EQ(Left(f.findChild<TImage*>("Image3")), 8);
  EXPECT_EQ(Left(f.findChild<TPanel*>("XCursor")), -3);
  EXPECT_EQ(Top(f.findChild<TPanel*>("HozCusA")), CH1RowOf(2));

  // A reset from the end of the record leaves the lines where they stood,
  // over samples before the first: X reads the first sample.
  Drag(f.findChild<TImage*>("Image3"), InViewWindow, {QPoint(900, 0)});
  ASSERT_EQ(Left(f.findChild<TPanel*>("XCursor")), -999);
  f.ResetHorizontalView1->trigger();
  EXPECT_EQ(Left(f.findChild<TPanel*>("XCursor")), -999);
  EXPECT_EQ(Top(f.findChild<TPanel*>("HozCusA")), CH1RowOf(1));

  // O past the end of the standard record reads sample 1500, not what an
  // earlier 3000-sample record left behind it.
  for (int i = 1501; i <= 3000; ++i) f.HeldRecord.ch1[std::size_t(i)] = 255;
  Drag(f.findChild<TImage*>("CursorO"), OnHandleKnob, {QPoint(900, 0)});
  Drag(f.findChild<TImage*>("Image3"), InViewWindow, {QPoint(900, 0)});
  ASSERT_EQ(Left(f.findChild<TPanel*>("OCursor")), 501);  // sample 1502
  EXPECT_EQ(Top(f.findChild<TPanel*>("HozCusB")), CH1RowOf(1500));
  EXPECT_NE(Top(f.findChild<TPanel*>("HozCusB")), screen_model::SampleRow(255, f.CH1VertPos, f.CH1Scale, f.CH1CalOffset));
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
}

TEST_F(CursorWindow, EveryFrameChoosesThePanelsCalibrationWhileTheSnapReadsTheRecordsRange) {
  f.CalCH1H = 10;
  f.CalCH1L = -20;
  f.HeldRecord.channels[0].highRange = true;  // captured on the high range
  f.SnaptoPlotON1->trigger();
  f.PlotWaveform();
  ASSERT_EQ(f.CH1CalOffset, 10);
  const auto rowOfX = [&](int calOffset) {
    return screen_model::SampleRow(f.HeldRecord.ch1[std::size_t(SampleUnder(f.findChild<TPanel*>("XCursor")))], f.CH1VertPos, f.CH1Scale,
                                   calOffset);
  };
  EXPECT_EQ(Top(f.findChild<TPanel*>("HozCusA")), rowOfX(10));

  // The panel's range changes; the next frame is a persistence frame. The
  // next command will go out with the low range's offset, while the held
  // record is still read on its own range's, so the line stays on its trace.
  f.CH1HighRange = 0;
  f.PersistenceOn = 1;
  f.PlotWaveform();
  EXPECT_EQ(f.CH1CalOffset, -20);
  EXPECT_EQ(Top(f.findChild<TPanel*>("HozCusA")), rowOfX(10));

  // A record of the low range, in a line frame: the snap of that very frame
  // uses the low range's offset.
  f.HeldRecord.channels[0].highRange = false;
  f.PersistenceOn = 0;
  f.PlotWaveform();
  EXPECT_EQ(Top(f.findChild<TPanel*>("HozCusA")), rowOfX(-20));
}

}  // namespace

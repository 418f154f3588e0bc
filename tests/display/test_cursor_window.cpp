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
  ScopeDriver& scope = w.scope;

  void SetUp() override {
    scope.State().Running = 0;
    scope.State().PersistenceOn = 0;
    scope.State().ReferenceOn = 0;
    scope.State().HeldRecord.SetTimeBase(5, false);  // 100 us/div: the standard record
    scope.State().ChannelOn[1] = scope.State().ChannelOn[2] = 1;
    scope.State().CH1Focus = 1;
    scope.State().CH1VertPos = 200;
    scope.State().CH2VertPos = 300;
    scope.State().CH1Scale = scope.State().HeldRecord.channels[0].scale = 50;
    scope.State().CH2Scale = scope.State().HeldRecord.channels[1].scale = 50;
    scope.State().CH1HighRange = 1;
    scope.State().CalCH1H = scope.State().CalCH1L = 0;
    scope.State().SamplePeriodUs = 50;
    SetLeft(scope.ViewWindowMarker(), 173);
    FillRecord(0);
    scope.DrawHeldRecord();  // the held record
  }

  // Neighbouring samples are 7 counts apart, so a line on another sample
  // snaps to another row.
  void FillRecord(int shift) {
    for (int i = 1; i <= 3000; ++i) {
      scope.State().HeldRecord.ch1[std::size_t(i)] = std::uint8_t((i * 7 + shift) % 256);
      scope.State().HeldRecord.ch2[std::size_t(i)] = std::uint8_t((i * 3 + shift + 60) % 256);
    }
  }
  int CH1RowOf(int sample) const {
    return screen_model::SampleRow(scope.State().HeldRecord.ch1[std::size_t(sample)], scope.State().CH1VertPos, scope.State().CH1Scale, scope.State().CH1CalOffset);
  }
  // The sample under a time line in the standard record: Xp + 3 (L - 8) + 5.
  int SampleUnder(const QWidget* line) const { return Left(line) + 3 * (Left(scope.ViewWindowMarker()) - 8) + 5; }
  std::string Errors() const { return w.ui.errors.join('\n').toStdString(); }
};

// ---- Grabbing and dragging the lines on the plot ----------------------------------

TEST_F(CursorWindow, OfTwoLinesInOneGrabZoneTheLaterWinsOOverXBOverA) {
  ScopeDriver(f).MenuItem(QStringLiteral("BothOn1"))->trigger();
  SetLeft(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor")), 100);
  SetLeft(ScopeDriver(f).Find<TPanel>(QStringLiteral("OCursor")), 105);
  SetTop(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusA")), 150);
  SetTop(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusB")), 155);

  Drag(scope.Plot(), QPoint(100, 350), {QPoint(20, 0)});
  EXPECT_EQ(Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("OCursor"))), 125);
  EXPECT_EQ(Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor"))), 100);
  EXPECT_EQ(scope.State().XCursorSelected, 0);

  Drag(scope.Plot(), QPoint(450, 150), {QPoint(0, 30)});
  EXPECT_EQ(Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusB"))), 185);
  EXPECT_EQ(Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusA"))), 150);
  EXPECT_EQ(scope.State().HozCusASelected, 0);

  // The zone reaches 15 pixels before a line and 10 after it.
  Drag(scope.Plot(), QPoint(135, 350), {QPoint(5, 0)});   // 10 after O: nothing
  Drag(scope.Plot(), QPoint(86, 350), {QPoint(-6, 0)});   // 14 before X, 39 before O
  EXPECT_EQ(Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor"))), 94);
  EXPECT_EQ(Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("OCursor"))), 125);

  // A press away from every line drags nothing.
  Drag(scope.Plot(), QPoint(400, 300), {QPoint(30, -30)});
  EXPECT_EQ(Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor"))), 94);
  EXPECT_EQ(Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("OCursor"))), 125);
  EXPECT_EQ(Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusA"))), 150);
  EXPECT_EQ(Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusB"))), 185);
  EXPECT_EQ(scope.State().KnobSnap, 0);
}

TEST_F(CursorWindow, LinesStopAtTheirEndsOGoesThreePixelsFurtherThanX) {
  ScopeDriver(f).MenuItem(QStringLiteral("BothOn1"))->trigger();
  Drag(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor")), OnTimeLine, {QPoint(300, 0), QPoint(300, 0)});
  EXPECT_EQ(Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor"))), 500);
  Drag(ScopeDriver(f).Find<TPanel>(QStringLiteral("OCursor")), OnTimeLine, {QPoint(300, 0), QPoint(300, 0)});
  EXPECT_EQ(Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("OCursor"))), 503);
  Drag(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor")), OnTimeLine, {QPoint(-900, 0)});
  EXPECT_EQ(Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor"))), 0);
  Drag(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusA")), OnVoltageLine, {QPoint(0, 900)});
  EXPECT_EQ(Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusA"))), 400);
  Drag(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusB")), OnVoltageLine, {QPoint(0, -900)});
  EXPECT_EQ(Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusB"))), 0);
}

// The strips beside the plot overlap the two outer columns of its panel on
// each side; a line there is drawn over them, and where no line stands they
// show as before.
TEST_F(CursorWindow, LinesShowInTheBorderColumnsOfThePlotPanel) {
  const QRgb yellow = qRgb(255, 255, 0), lime = qRgb(0, 255, 0);
  auto screenAt = [&](const QImage& shot, QPoint inPanel4) {
    return shot.pixel(scope.PlotPanel()->mapTo(ScopeDriver(f).Find<QWidget>(QStringLiteral("ClientArea")), inPanel4));
  };
  ScopeDriver(f).Find<TPanel>(QStringLiteral("AboutPanel"))->hide();  // the splash lies over the plot
  const QImage before = scope.ClientAreaPicture(ScopeDriver(f).Find<QWidget>(QStringLiteral("ClientArea"))->rect());
  ScopeDriver(f).MenuItem(QStringLiteral("BothOn1"))->trigger();
  for (int left : {501, 502, 503}) {
    SCOPED_TRACE(left);
    Drag(ScopeDriver(f).Find<TPanel>(QStringLiteral("OCursor")), OnTimeLine, {QPoint(left - Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("OCursor"))), 0)});
    ASSERT_EQ(Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("OCursor"))), left);
    const QImage shot = scope.ClientAreaPicture(ScopeDriver(f).Find<QWidget>(QStringLiteral("ClientArea"))->rect());
    for (int y : {4, 200, 399}) EXPECT_EQ(screenAt(shot, QPoint(left, y)), yellow) << "row " << y;
  }
  // A voltage line from the panel's first column.
  Drag(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusA")), OnVoltageLine, {QPoint(0, 100 - Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusA"))))});
  const QImage shot = scope.ClientAreaPicture(ScopeDriver(f).Find<QWidget>(QStringLiteral("ClientArea"))->rect());
  EXPECT_EQ(screenAt(shot, QPoint(0, 100)), lime);
  EXPECT_EQ(screenAt(shot, QPoint(1, 100)), lime);
  // All off: the border columns are the strips' again.
  ScopeDriver(f).MenuItem(QStringLiteral("AllOff1"))->trigger();
  const QImage after = scope.ClientAreaPicture(ScopeDriver(f).Find<QWidget>(QStringLiteral("ClientArea"))->rect());
  for (int x : {0, 1, 502, 503})
    for (int y = 0; y < scope.PlotPanel()->height(); ++y)
      ASSERT_EQ(screenAt(after, QPoint(x, y)), screenAt(before, QPoint(x, y))) << x << "," << y;
}

TEST_F(CursorWindow, ABezelPressEndsWithItsReleaseSoNoLineFollowsAnIdleMouse) {
  ScopeDriver(f).MenuItem(QStringLiteral("BothOn1"))->trigger();
  // A press on the bezel is compared with X's Left as it stands, in the
  // bezel's own pixels.
  const int x = Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor")));
  SendMouse(scope.ScreenBezel(), QEvent::MouseButtonPress, QPoint(x, 20));
  EXPECT_EQ(scope.State().KnobSnap, 1);
  SendMouse(scope.ScreenBezel(), QEvent::MouseButtonRelease, QPoint(x, 20));
  EXPECT_EQ(scope.State().KnobSnap, 0);
  SendMouse(scope.Plot(), QEvent::MouseMove, QPoint(400, 300));
  EXPECT_EQ(Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor"))), x);
}

// ---- Handles and the view window over the overview strip ------------------------

TEST_F(CursorWindow, AHandleMovesItsLineToTheTriggerPointOfThatPlaceInEveryLayout) {
  struct Case {
    const char* name;
    std::int32_t timeBase;
    std::uint8_t rate1MS;
  } cases[] = {{"standard", 5, 0}, {"3000-sample", 5, 1}, {"stretched", 2, 0}};
  ScopeDriver(f).MenuItem(QStringLiteral("VerticalON1"))->trigger();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    scope.State().HeldRecord.SetTimeBase(c.timeBase, c.rate1MS != 0);
    scope.DrawHeldRecord();
    SetLeft(ScopeDriver(f).Find<TImage>(QStringLiteral("CursorX")), 227);
    Drag(ScopeDriver(f).Find<TImage>(QStringLiteral("CursorX")), OnHandleKnob, {QPoint(4, 0), QPoint(6, 0)});
    EXPECT_EQ(Left(ScopeDriver(f).Find<TImage>(QStringLiteral("CursorX"))), 237);
    EXPECT_EQ(Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor"))), 210);
    EXPECT_EQ(scope.State().XCursorSelected, 1);
    // A record triggered with its marker at the handle's place has its
    // trigger point under the line.
    scope.State().StopTrigPos = 237;
    scope.DrawHeldRecord();
    EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("XTimeCursor"))->text(), QStringLiteral("0 us"));
  }
  Drag(ScopeDriver(f).Find<TImage>(QStringLiteral("CursorO")), OnHandleKnob, {QPoint(900, 0)});
  EXPECT_EQ(Left(ScopeDriver(f).Find<TImage>(QStringLiteral("CursorO"))), 501);
  EXPECT_EQ(scope.State().XCursorSelected, 0);
  Drag(ScopeDriver(f).Find<TImage>(QStringLiteral("CursorO")), OnHandleKnob, {QPoint(-900, 0)});
  EXPECT_EQ(Left(ScopeDriver(f).Find<TImage>(QStringLiteral("CursorO"))), 1);
}

TEST_F(CursorWindow, ALineDraggedOnThePlotTakesItsHandleAlong) {
  ScopeDriver(f).MenuItem(QStringLiteral("VerticalON1"))->trigger();
  Drag(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor")), OnTimeLine, {QPoint(30, 0)});
  EXPECT_EQ(Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor"))), 210);
  EXPECT_EQ(Left(ScopeDriver(f).Find<TImage>(QStringLiteral("CursorX"))), 237);  // (210 + 503) div 3
}

TEST_F(CursorWindow, TheViewWindowIsHeldInsideTheRecordAndAHeldRecordFollowsItAtOnce) {
  ScopeDriver(f).MenuItem(QStringLiteral("VerticalON1"))->trigger();
  Drag(scope.ViewWindowMarker(), InViewWindow, {QPoint(-900, 0)});
  EXPECT_EQ(Left(scope.ViewWindowMarker()), 8);
  EXPECT_EQ(scope.State().ViewStart, 8);
  // The time lines stay on their samples: X's handle at 227 is sample 680.
  EXPECT_EQ(Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor"))), 3 * 227 - 8 + 2);

  // The held record is drawn again at every move, before the release.
  SendMouse(scope.ViewWindowMarker(), QEvent::MouseButtonPress, InViewWindow);
  SendMouse(scope.ViewWindowMarker(), QEvent::MouseMove, InViewWindow + QPoint(10, 0));
  EXPECT_EQ(Left(scope.ViewWindowMarker()), 18);
  EXPECT_EQ(scope.State().ViewStart, 38);
  EXPECT_EQ(scope.State().ViewEnd, 534);
  SendMouse(scope.ViewWindowMarker(), QEvent::MouseButtonRelease, InViewWindow);

  Drag(scope.ViewWindowMarker(), InViewWindow, {QPoint(300, 0), QPoint(600, 0)});
  EXPECT_EQ(Left(scope.ViewWindowMarker()), 340);
  EXPECT_EQ(scope.State().ViewStart, 1004);
  EXPECT_EQ(scope.State().ViewEnd, 1500);  // the last sample of the record

  ScopeDriver(f).MenuItem(QStringLiteral("ResetHorizontalView1"))->trigger();
  EXPECT_EQ(Left(scope.ViewWindowMarker()), 173);
  EXPECT_EQ(scope.State().ViewStart, 503);
  EXPECT_EQ(scope.State().ViewEnd, 999);
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
}

// ---- Readouts ------------------------------------------------------------------------

TEST_F(CursorWindow, TimeReadoutsAndTheFrequencyOfTheTimeBetween) {
  ScopeDriver(f).MenuItem(QStringLiteral("VerticalON1"))->trigger();
  Drag(ScopeDriver(f).Find<TPanel>(QStringLiteral("OCursor")), OnTimeLine, {QPoint(Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor"))) - Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("OCursor"))), 0)});
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("TimeCursor"))->text(), QStringLiteral("0 us"));
  EXPECT_EQ(scope.CursorFrequencyReadout()->text(), QStringLiteral("0 Hz"));
  Drag(ScopeDriver(f).Find<TPanel>(QStringLiteral("OCursor")), OnTimeLine, {QPoint(8, 0)});  // 8 columns of 50 us
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("TimeCursor"))->text(), QStringLiteral("400 us"));
  EXPECT_EQ(scope.CursorFrequencyReadout()->text(), QStringLiteral("2.50 KHz"));
  // Before the trigger point the times are negative.
  scope.State().StopTrigPos = 250;
  scope.DrawHeldRecord();
  const int trigger = Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("PlotTrigPanel"))) + 7;
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("XTimeCursor"))->text(), readout_text::FormatCursorTime((Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor"))) - trigger) * 50));
  EXPECT_TRUE(ScopeDriver(f).Find<TLabel>(QStringLiteral("XTimeCursor"))->text().startsWith(QLatin1Char('-')));
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
  scope.State().SamplePeriodUs = 4;  // 200 us/div
  ScopeDriver(f).MenuItem(QStringLiteral("BothOn1"))->trigger();
  Drag(ScopeDriver(f).Find<TPanel>(QStringLiteral("OCursor")), OnTimeLine, {QPoint(Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor"))) + 72 - Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("OCursor"))), 0)});
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("TimeCursor"))->text(), QStringLiteral("288 us"));
  ASSERT_EQ(scope.CursorFrequencyReadout()->text(), QStringLiteral("3.47 KHz"));
  ASSERT_TRUE(scope.CursorFrequencyReadout()->isVisible());
  const TextFit fit = FitOf(*scope.CursorFrequencyReadout(), scope.CursorFrequencyReadout()->text());
  EXPECT_EQ(scope.CursorFrequencyReadout()->width(), 58);
  EXPECT_TRUE(fit.Fits()) << testing::PrintToString(fit);
  const auto [first, last] = InkColumns(scope.CursorFrequencyReadout());
  EXPECT_GT(first, 0);
  EXPECT_LT(last, scope.CursorFrequencyReadout()->width() - 1);
  EXPECT_LE(last - first + 1, 58);
}

TEST_F(CursorWindow, VoltageReadoutsAgainstTheFocusedChannelAtEveryMoveOverThePlot) {
  ScopeDriver(f).MenuItem(QStringLiteral("HorizontalON1"))->trigger();
  scope.State().CH1VoltsDiv = 20;  // 1 V/div
  SetTop(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusA")), 150);
  SetTop(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusB")), 250);
  SendMouse(scope.Plot(), QEvent::MouseMove, QPoint(400, 380));
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("HCusA"))->text(), QStringLiteral("1.02 V"));     // (200 - 150 + 1) * 20 / 10
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("HCusB"))->text(), QStringLiteral("-980 mV"));    // (200 - 250 + 1) * 20 / 10
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("CusRes"))->text(), QStringLiteral("2.00 V"));
  EXPECT_EQ(scope.State().HCusDelta, 200);

  // CH2 has no extra row: a line on its 0 V row reads 00 mV.
  scope.State().CH1Focus = 0;
  scope.State().CH2VertPos = 250;
  scope.State().CH2VoltsDiv = 20;
  SendMouse(scope.Plot(), QEvent::MouseMove, QPoint(400, 381));
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("HCusA"))->text(), QStringLiteral("2.00 V"));
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("HCusB"))->text(), QStringLiteral("00 mV"));

  // A turn of the volts/div knob reads the lines in the new scale at once.
  scope.State().CH1Focus = 1;
  scope.State().KnobAngle = 135;  // the detent of 100 mV/div
  scope.SettleVoltsKnob();
  EXPECT_EQ(scope.State().CH1VoltsDiv, 2);
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("HCusA"))->text(), QStringLiteral("100 mV"));  // (200 - 150 + 1) * 2 / 10 = 10
}

// ---- Menu and buttons -----------------------------------------------------------------

TEST_F(CursorWindow, MenuAndButtonsShowAndHideTheSetsAllOffEndsSnap) {
  const std::vector<QWidget*> timeSet{ScopeDriver(f).Find<TImage>(QStringLiteral("CursorX")), ScopeDriver(f).Find<TImage>(QStringLiteral("CursorO")), ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor")), ScopeDriver(f).Find<TPanel>(QStringLiteral("OCursor")),
                                      ScopeDriver(f).Find<TLabel>(QStringLiteral("XTimeCursor")), ScopeDriver(f).Find<TLabel>(QStringLiteral("OTimeCursor")), ScopeDriver(f).Find<TLabel>(QStringLiteral("TimeCursor")), scope.CursorFrequencyReadout()};
  const std::vector<QWidget*> voltageSet{ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusA")), ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusB")), ScopeDriver(f).Find<TLabel>(QStringLiteral("HCusA")), ScopeDriver(f).Find<TLabel>(QStringLiteral("HCusB")), ScopeDriver(f).Find<TLabel>(QStringLiteral("CusRes"))};
  auto shown = [](const std::vector<QWidget*>& set) {
    return std::all_of(set.begin(), set.end(), [](QWidget* w) { return w->isVisible(); });
  };
  auto hidden = [](const std::vector<QWidget*>& set) {
    return std::none_of(set.begin(), set.end(), [](QWidget* w) { return w->isVisible(); });
  };
  EXPECT_TRUE(hidden(timeSet));
  EXPECT_TRUE(hidden(voltageSet));
  EXPECT_FALSE(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor"))->isEnabled());
  EXPECT_EQ(scope.HorizontalCursorButton()->toolTip(), QStringLiteral("Turn Horizontal Cursor On"));
  EXPECT_EQ(scope.VerticalCursorsButton()->toolTip(), QStringLiteral("Turn Vertical Cursors On"));
  EXPECT_EQ(scope.CursorsOffButton()->toolTip(), QStringLiteral("Turn All Cursors Off"));

  Click(scope.VerticalCursorsButton());
  EXPECT_TRUE(shown(timeSet));
  EXPECT_TRUE(hidden(voltageSet));
  EXPECT_TRUE(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor"))->isEnabled());
  Click(scope.HorizontalCursorButton());
  EXPECT_TRUE(shown(voltageSet));
  Click(scope.CursorsOffButton());
  EXPECT_TRUE(hidden(timeSet));
  EXPECT_TRUE(hidden(voltageSet));

  ScopeDriver(f).MenuItem(QStringLiteral("SnaptoPlotON1"))->trigger();
  EXPECT_EQ(scope.State().SnapToPlotOn, 1);
  EXPECT_EQ(ScopeDriver(f).MenuItem(QStringLiteral("SnaptoPlotON1"))->text(), QStringLiteral("Snap to Plot OFF"));
  EXPECT_TRUE(shown(timeSet));
  EXPECT_TRUE(shown(voltageSet));
  EXPECT_TRUE(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusA"))->isEnabled());

  ScopeDriver(f).MenuItem(QStringLiteral("AllOff1"))->trigger();
  EXPECT_EQ(scope.State().SnapToPlotOn, 0);
  EXPECT_EQ(ScopeDriver(f).MenuItem(QStringLiteral("SnaptoPlotON1"))->text(), QStringLiteral("Snap to Plot ON"));
  EXPECT_TRUE(hidden(timeSet));
  EXPECT_TRUE(hidden(voltageSet));
  for (QWidget* line : {ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor")), ScopeDriver(f).Find<TPanel>(QStringLiteral("OCursor")), ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusA")), ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusB"))}) EXPECT_FALSE(line->isEnabled());

  // Switching snap off leaves the cursors as they are.
  ScopeDriver(f).MenuItem(QStringLiteral("SnaptoPlotON1"))->trigger();
  ScopeDriver(f).MenuItem(QStringLiteral("SnaptoPlotON1"))->trigger();
  EXPECT_EQ(scope.State().SnapToPlotOn, 0);
  EXPECT_EQ(ScopeDriver(f).MenuItem(QStringLiteral("SnaptoPlotON1"))->text(), QStringLiteral("Snap to Plot ON"));
  EXPECT_TRUE(shown(timeSet));
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
}

// ---- Snap to plot ----------------------------------------------------------------------

TEST_F(CursorWindow, SnapMovesOnlyThePartnerOfTheDraggedLineAndBothAtANewFrame) {
  ScopeDriver(f).MenuItem(QStringLiteral("SnaptoPlotON1"))->trigger();
  scope.DrawHeldRecord();
  EXPECT_EQ(Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusA"))), CH1RowOf(SampleUnder(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor")))));
  EXPECT_EQ(Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusB"))), CH1RowOf(SampleUnder(ScopeDriver(f).Find<TPanel>(QStringLiteral("OCursor")))));

  Drag(ScopeDriver(f).Find<TImage>(QStringLiteral("CursorX")), OnHandleKnob, {QPoint(5, 0)});
  EXPECT_EQ(Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusA"))), CH1RowOf(SampleUnder(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor")))));
  const int bOnTheOldRecord = Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusB")));

  // A new record has come in; while X is dragged A moves onto it and B
  // stays where the last frame put it.
  FillRecord(100);
  SendMouse(ScopeDriver(f).Find<TImage>(QStringLiteral("CursorX")), QEvent::MouseButtonPress, OnHandleKnob);
  SendMouse(ScopeDriver(f).Find<TImage>(QStringLiteral("CursorX")), QEvent::MouseMove, OnHandleKnob + QPoint(1, 0));
  EXPECT_EQ(Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusA"))), CH1RowOf(SampleUnder(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor")))));
  EXPECT_EQ(Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusB"))), bOnTheOldRecord);
  ASSERT_NE(CH1RowOf(SampleUnder(ScopeDriver(f).Find<TPanel>(QStringLiteral("OCursor")))), bOnTheOldRecord);
  // The release draws the held record again: that frame puts B on the
  // waveform too.
  SendMouse(ScopeDriver(f).Find<TImage>(QStringLiteral("CursorX")), QEvent::MouseButtonRelease, OnHandleKnob);
  EXPECT_EQ(Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusB"))), CH1RowOf(SampleUnder(ScopeDriver(f).Find<TPanel>(QStringLiteral("OCursor")))));
  // The readouts follow the snapped lines.
  EXPECT_EQ(scope.State().HCusAVolts, ((scope.State().CH1VertPos - Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusA"))) + 1) * scope.State().CH1VoltsDiv) / 10);
}

TEST_F(CursorWindow, SnapFollowsTheFocusedChannelsBufferEvenWhenItIsOff) {
  scope.State().ChannelOn[1] = 0;
  ScopeDriver(f).MenuItem(QStringLiteral("SnaptoPlotON1"))->trigger();
  scope.DrawHeldRecord();
  EXPECT_EQ(Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusA"))), CH1RowOf(SampleUnder(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor")))));
  EXPECT_EQ(Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusB"))), CH1RowOf(SampleUnder(ScopeDriver(f).Find<TPanel>(QStringLiteral("OCursor")))));
}

TEST_F(CursorWindow, WithSnapOnAPressNearAVoltageLineDoesNotDragIt) {
  ScopeDriver(f).MenuItem(QStringLiteral("SnaptoPlotON1"))->trigger();
  scope.DrawHeldRecord();
  const int a = Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusA")));
  const int b = Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusB")));
  Drag(scope.Plot(), QPoint(450, a), {QPoint(0, 40), QPoint(0, 40)});
  EXPECT_EQ(scope.State().HCursorDrag, 0);
  EXPECT_EQ(Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusA"))), a);
  EXPECT_EQ(Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusB"))), b);
}

TEST_F(CursorWindow, SnapReadsOnlySamplesTheRecordFilled) {
  ScopeDriver(f).MenuItem(QStringLiteral("SnaptoPlotON1"))->trigger();
  Drag(ScopeDriver(f).Find<TImage>(QStringLiteral("CursorX")), OnHandleKnob, {QPoint(-900, 0)});
  ASSERT_EQ(Left(ScopeDriver(f).Find<TImage>(QStringLiteral("CursorX"))), 1);

  // The view dragged one pixel left with X's handle at Left 1: the lines
  // are placed over the new view, so X stands on sample 2.
  Drag(scope.ViewWindowMarker(), InViewWindow, {QPoint(9 - 173, 0)});
  Drag(scope.ViewWindowMarker(), InViewWindow, {QPoint(-1, 0)});
  ASSERT_EQ(Left(scope.ViewWindowMarker()), 8);
  EXPECT_EQ(Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor"))), -3);
  EXPECT_EQ(Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusA"))), CH1RowOf(2));

  // A reset from the end of the record leaves the lines where they stood,
  // over samples before the first: X reads the first sample.
  Drag(scope.ViewWindowMarker(), InViewWindow, {QPoint(900, 0)});
  ASSERT_EQ(Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor"))), -999);
  ScopeDriver(f).MenuItem(QStringLiteral("ResetHorizontalView1"))->trigger();
  EXPECT_EQ(Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor"))), -999);
  EXPECT_EQ(Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusA"))), CH1RowOf(1));

  // O past the end of the standard record reads sample 1500, not what an
  // earlier 3000-sample record left behind it.
  for (int i = 1501; i <= 3000; ++i) scope.State().HeldRecord.ch1[std::size_t(i)] = 255;
  Drag(ScopeDriver(f).Find<TImage>(QStringLiteral("CursorO")), OnHandleKnob, {QPoint(900, 0)});
  Drag(scope.ViewWindowMarker(), InViewWindow, {QPoint(900, 0)});
  ASSERT_EQ(Left(ScopeDriver(f).Find<TPanel>(QStringLiteral("OCursor"))), 501);  // sample 1502
  EXPECT_EQ(Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusB"))), CH1RowOf(1500));
  EXPECT_NE(Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusB"))), screen_model::SampleRow(255, scope.State().CH1VertPos, scope.State().CH1Scale, scope.State().CH1CalOffset));
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
}

TEST_F(CursorWindow, EveryFrameChoosesThePanelsCalibrationWhileTheSnapReadsTheRecordsRange) {
  scope.State().CalCH1H = 10;
  scope.State().CalCH1L = -20;
  scope.State().HeldRecord.channels[0].highRange = true;  // captured on the high range
  ScopeDriver(f).MenuItem(QStringLiteral("SnaptoPlotON1"))->trigger();
  scope.DrawHeldRecord();
  ASSERT_EQ(scope.State().CH1CalOffset, 10);
  const auto rowOfX = [&](int calOffset) {
    return screen_model::SampleRow(scope.State().HeldRecord.ch1[std::size_t(SampleUnder(ScopeDriver(f).Find<TPanel>(QStringLiteral("XCursor"))))], scope.State().CH1VertPos, scope.State().CH1Scale,
                                   calOffset);
  };
  EXPECT_EQ(Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusA"))), rowOfX(10));

  // The panel's range changes; the next frame is a persistence frame. The
  // next command will go out with the low range's offset, while the held
  // record is still read on its own range's, so the line stays on its trace.
  scope.State().CH1HighRange = 0;
  scope.State().PersistenceOn = 1;
  scope.DrawHeldRecord();
  EXPECT_EQ(scope.State().CH1CalOffset, -20);
  EXPECT_EQ(Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusA"))), rowOfX(10));

  // A record of the low range, in a line frame: the snap of that very frame
  // uses the low range's offset.
  scope.State().HeldRecord.channels[0].highRange = false;
  scope.State().PersistenceOn = 0;
  scope.DrawHeldRecord();
  EXPECT_EQ(Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusA"))), rowOfX(-20));
}

}  // namespace

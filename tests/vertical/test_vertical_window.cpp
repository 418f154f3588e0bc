// The vertical controls and the time base on the real window: channel keys,
// the selector, both knobs turned with the mouse, the 0 V markers dragged,
// and the 1 MS/s mode of the 50 us/div row.

#include "support/ScopeWindow.h"
#include "VerticalDriving.h"

#include <QCheckBox>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct VerticalWindow : ::testing::Test {
  ScopeWindow w{true, true};
  void SetUp() override { w.ui.errors.clear(); }
  void TearDown() override { EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join(" | ").toStdString(); }

  void Press(QWidget* key) { QTest::mouseClick(key, Qt::LeftButton, {}, QPoint(10, 10)); }
};

bool Shown(const QWidget* widget) { return !widget->isHidden(); }

template <class Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& param) {
  return param.param.name;
}

// ---- Start state ------------------------------------------------------------

TEST_F(VerticalWindow, StartsAsDesignedWithCh1OnAtFiveVoltsAndOneHundredMicroseconds) {
  EXPECT_EQ(w.scope.State().ChannelOn[1], 1);
  EXPECT_EQ(w.scope.State().ChannelOn[2], 0);
  EXPECT_EQ(w.scope.State().CH1Focus, 1);
  EXPECT_EQ(w.scope.State().CH1Scale, 78);
  EXPECT_EQ(w.scope.State().CH2Scale, 78);
  EXPECT_EQ(w.scope.State().CH1VoltsDivText, "CH1 5/DIV");
  EXPECT_EQ(w.scope.State().CH2VoltsDivText, "CH2 5V/DIV");
  EXPECT_EQ(w.scope.State().CH1HighRange, 1);
  EXPECT_EQ(w.scope.State().CH1VertPos, Top(w.scope.Marker(1)));
  EXPECT_EQ(w.scope.State().CH2VertPos, Top(w.scope.Marker(2)));
  EXPECT_TRUE(w.scope.VoltsKnob()->isEnabled());
  EXPECT_TRUE(Shown(w.scope.VoltsKnobDot()));
  EXPECT_TRUE(w.scope.VoltsKnob()->FileName().endsWith("Grafics/VoltageKnob/knobR5V.bmp"));
  EXPECT_TRUE(w.scope.ChannelSelector()->FileName().endsWith("CHSelector-1on-2off-1sel.bmp"));
  EXPECT_EQ(w.scope.State().TimeBaseIndex, 3);
  EXPECT_EQ(w.scope.State().SamplePeriodUs, 2);
  EXPECT_EQ(w.scope.State().TimeDivText, "100us/DIV");
  EXPECT_EQ(w.scope.State().SampleRateText, "500KS/s");
  EXPECT_EQ(w.scope.State().KnobAngle, 0);
  EXPECT_TRUE(w.scope.ChannelNotice()->isHidden());
}

// ---- Selector state machine ---------------------------------------------------

enum Key { CH1, CH2, OFF };

struct KeySequence {
  const char* name;
  std::vector<Key> keys;
  int ch1On, ch2On, ch1Focus;
  const char* selector;  // Image6 file
  const char* face;      // Image7 file
  bool knobUsable;       // dot shown and Panel6 enabled
};

class SelectorSequence : public VerticalWindow, public ::testing::WithParamInterface<KeySequence> {};

TEST_P(SelectorSequence, EndsInTheStateOfItsCode) {
  const KeySequence& s = GetParam();
  for (Key k : s.keys) Press(k == CH1 ? static_cast<QWidget*>(w.scope.ChannelKey(1))
                              : k == CH2 ? static_cast<QWidget*>(w.scope.ChannelKey(2))
                                         : static_cast<QWidget*>(w.scope.ChannelOffKey()));
  EXPECT_EQ(w.scope.State().ChannelOn[1], s.ch1On);
  EXPECT_EQ(w.scope.State().ChannelOn[2], s.ch2On);
  EXPECT_EQ(w.scope.State().CH1Focus, s.ch1Focus);
  EXPECT_TRUE(w.scope.ChannelSelector()->FileName().endsWith(QString::fromLatin1(s.selector))) << w.scope.ChannelSelector()->FileName().toStdString();
  EXPECT_TRUE(w.scope.VoltsKnob()->FileName().endsWith(QString::fromLatin1(s.face))) << w.scope.VoltsKnob()->FileName().toStdString();
  EXPECT_EQ(Shown(w.scope.VoltsKnobDot()), s.knobUsable);
  EXPECT_EQ(w.scope.VoltsKnobPanel()->isEnabled(), s.knobUsable);
  // A channel that is on shows exactly one of its two marker looks.
  EXPECT_EQ(Shown(w.scope.Marker(1)) + Shown(w.scope.UnselectedMarker(1)), s.ch1On);
  EXPECT_EQ(Shown(w.scope.Marker(2)) + Shown(w.scope.UnselectedMarker(2)), s.ch2On);
  EXPECT_EQ(Shown(w.scope.Label(QStringLiteral("CH1V"))), s.ch1On == 1);
  EXPECT_EQ(Shown(w.scope.Label(QStringLiteral("CH2V"))), s.ch2On == 1);
  // The keys stay clickable over the picture.
  EXPECT_EQ(w.scope.Panel(QStringLiteral("HorVerPanel"))->childAt(30, 450), w.scope.ChannelKey(1));
  EXPECT_EQ(w.scope.Panel(QStringLiteral("HorVerPanel"))->childAt(150, 450), w.scope.ChannelKey(2));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SelectorSequence,
    ::testing::Values(
        KeySequence{"CH2Key_TurnsCh2OnAndSelectsIt", {CH2}, 1, 1, 0, "1on-2on-2sel.bmp", "knobB5V.bmp", true},
        KeySequence{"BothOnCh2Selected_Ch1KeySelectsCh1AndKeepsCh2_Code21",
                    {CH2, CH1}, 1, 1, 1, "1on-2on-1sel.bmp", "knobR5V.bmp", true},
        KeySequence{"OffKeyTurnsOffSelectedCh2AndHandsKnobToCh1",
                    {CH2, OFF}, 1, 0, 1, "1on-2off-1sel.bmp", "knobR5V.bmp", true},
        KeySequence{"OffKeyTurnsOffSelectedCh1AndHandsKnobToCh2",
                    {CH2, CH1, OFF}, 0, 1, 0, "1off-2on-2sel.bmp", "knobB5V.bmp", true},
        KeySequence{"Ch1OnlyThenOffKey_NoChannel", {OFF}, 0, 0, 0, "1off-2off.bmp", "knob-no-sel.bmp", false},
        KeySequence{"OffKeyWithNoChannelStaysWithNone",
                    {OFF, OFF}, 0, 0, 0, "1off-2off.bmp", "knob-no-sel.bmp", false},
        KeySequence{"Ch2KeyRevivesTheKnobAfterNone", {OFF, CH2}, 0, 1, 0, "1off-2on-2sel.bmp", "knobB5V.bmp", true},
        KeySequence{"Ch1KeyRevivesTheKnobAfterNone", {OFF, CH1}, 1, 0, 1, "1on-2off-1sel.bmp", "knobR5V.bmp", true}),
    CaseName<KeySequence>);

TEST_F(VerticalWindow, Ch1OnlyThenOffKeyLeavesNoChannelAndABlockedKnob) {
  Press(w.scope.ChannelOffKey());
  EXPECT_EQ(w.scope.State().CH1Focus, 0);
  EXPECT_TRUE(w.scope.VoltsKnobDot()->isHidden());
  EXPECT_FALSE(w.scope.VoltsKnobPanel()->isEnabled());
  // The blocked knob ignores a turn.
  const int angleBefore = w.scope.State().CH2KnobAngle;
  TurnKnob(w.scope.VoltsKnob(), {{100, 190}});
  EXPECT_EQ(w.scope.State().CH2KnobAngle, angleBefore);
  EXPECT_EQ(w.scope.State().MouseIsDown, 0);
}

TEST_F(VerticalWindow, ClickOnCh2NotSelectedMarkerSelectsCh2AndLeavesBothOn) {
  Press(w.scope.ChannelKey(2));
  Press(w.scope.ChannelKey(1));
  ASSERT_TRUE(Shown(w.scope.UnselectedMarker(2)));
  QTest::mouseClick(w.scope.UnselectedMarker(2), Qt::LeftButton, {}, QPoint(10, 7));
  EXPECT_EQ(w.scope.State().ChannelOn[1], 1);
  EXPECT_EQ(w.scope.State().ChannelOn[2], 1);
  EXPECT_EQ(w.scope.State().CH1Focus, 0);
  EXPECT_TRUE(w.scope.ChannelSelector()->FileName().endsWith("CHSelector-1on-2on-2sel.bmp"));
  EXPECT_TRUE(Shown(w.scope.Marker(2)));
  EXPECT_TRUE(Shown(w.scope.UnselectedMarker(1)));
  EXPECT_FALSE(Shown(w.scope.Marker(1)));
  EXPECT_FALSE(Shown(w.scope.UnselectedMarker(2)));
  EXPECT_TRUE(w.scope.VoltsKnobDot()->FileName().endsWith("knobdotB.bmp"));
  EXPECT_EQ(w.scope.State().MouseIsDown, 0);
}

TEST_F(VerticalWindow, ClickOnTheSelectedMarkerOfTheOnlyChannelChangesNothing) {
  QTest::mouseClick(w.scope.Marker(1), Qt::LeftButton, {}, QPoint(10, 7));
  EXPECT_EQ(w.scope.State().ChannelOn[1], 1);
  EXPECT_EQ(w.scope.State().ChannelOn[2], 0);
  EXPECT_EQ(w.scope.State().CH1Focus, 1);
  // The selector hides the CH2 look again: CH2 is off.
  EXPECT_FALSE(Shown(w.scope.UnselectedMarker(2)));
  EXPECT_TRUE(Shown(w.scope.Marker(1)));
}

// A restored "CH1 only, CH2 selected" shows the CH2 marker's other look
// although CH2 is off. Its click runs while the button is still down, so it
// selects without switching CH2 on.
TEST_F(VerticalWindow, MarkerClickIsHandledBeforeTheReleaseAndTurnsNothingOn) {
  w.scope.State().ChannelOn[1] = 1;
  w.scope.State().ChannelOn[2] = 0;
  w.scope.State().CH1Focus = 0;
  w->UpdatedvoltageButtons();
  ASSERT_TRUE(Shown(w.scope.UnselectedMarker(2)));
  QTest::mouseClick(w.scope.UnselectedMarker(2), Qt::LeftButton, {}, QPoint(10, 7));
  EXPECT_EQ(w.scope.State().ChannelOn[2], 0);
  EXPECT_EQ(w.scope.State().CH1Focus, 0);
  EXPECT_TRUE(w.scope.ChannelSelector()->FileName().endsWith("CHSelector-1on-2on-1sel.bmp"));  // code 21 again
  EXPECT_EQ(w.scope.State().MouseIsDown, 0);
}

TEST_F(VerticalWindow, SettingsRestoreRebuildsTheSelectorWithoutTheNoChannelRule) {
  w.scope.State().ChannelOn[1] = 0;
  w.scope.State().ChannelOn[2] = 0;
  w.scope.State().CH1Focus = 0;
  w->UpdatedvoltageButtons();
  EXPECT_TRUE(w.scope.ChannelSelector()->FileName().endsWith("CHSelector-1off-2off.bmp"));
  EXPECT_TRUE(Shown(w.scope.VoltsKnobDot()));
  EXPECT_TRUE(w.scope.VoltsKnobPanel()->isEnabled());
  // Code 20 leaves the face prefix as the restore set it; the knob acts on CH2.
  EXPECT_TRUE(w.scope.VoltsKnob()->FileName().endsWith("knobR5V.bmp"));
  EXPECT_TRUE(w.scope.VoltsKnobDot()->FileName().endsWith("knobdotB.bmp"));
  EXPECT_EQ(w.scope.State().CH1Focus, 0);
}

// ---- Volts/div knob -----------------------------------------------------------

TEST_F(VerticalWindow, VoltsKnobDotFollowsThePointerFaceChangesAtBandsAndSnapsOnRelease) {
  KnobDrag drag(w.scope.VoltsKnob(), {190, 100});  // 3 o'clock: 5 V
  EXPECT_EQ(w.scope.State().CH1Scale, 78);
  drag.MoveTo({100, 190});  // 6 o'clock, angle 90: 100 mV
  EXPECT_EQ(w.scope.State().CH1VoltsDivText, "CH1 100mV/DIV");
  EXPECT_EQ(w.scope.State().CH1Scale, 624);
  EXPECT_EQ(w.scope.State().CH1HighRange, 0);
  EXPECT_TRUE(w.scope.VoltsKnob()->FileName().endsWith("knobR100.bmp"));
  EXPECT_EQ(Left(w.scope.VoltsKnobDot()), 92);  // the dot stands at 90 degrees, not yet at the detent
  EXPECT_EQ(Top(w.scope.VoltsKnobDot()), 110);
  drag.MoveTo({90, 153});  // angle 100, still 100 mV
  EXPECT_EQ(Left(w.scope.VoltsKnobDot()), 89);
  EXPECT_EQ(Top(w.scope.VoltsKnobDot()), 109);
  drag.Release({90, 153});
  EXPECT_EQ(w.scope.State().CH1KnobAngle, 135);
  EXPECT_EQ(Left(w.scope.VoltsKnobDot()), 80);
  EXPECT_EQ(Top(w.scope.VoltsKnobDot()), 104);
  EXPECT_EQ(w.scope.State().CH1VoltsDiv, 2);
  EXPECT_EQ(w.scope.State().KnobAngle, 0);
  EXPECT_EQ(w.scope.State().MouseIsDown, 0);
  EXPECT_EQ(w.scope.State().KnobSnap, 0);
  // The other channel keeps its row.
  EXPECT_EQ(w.scope.State().CH2Scale, 78);
  EXPECT_EQ(w.scope.State().CH2KnobAngle, 0);
}

TEST_F(VerticalWindow, VoltsKnobActsOnTheSelectedChannelWithItsOwnFaces) {
  Press(w.scope.ChannelKey(2));
  TurnKnob(w.scope.VoltsKnob(), {{10, 100}});  // 9 o'clock: 200 mV
  EXPECT_EQ(w.scope.State().CH2KnobAngle, 180);
  EXPECT_EQ(w.scope.State().CH2Scale, 312);
  EXPECT_EQ(w.scope.State().CH2VoltsDivText, "CH2 200mV/DIV");
  EXPECT_TRUE(w.scope.VoltsKnob()->FileName().endsWith("knobB200.bmp"));
  EXPECT_EQ(w.scope.State().CH1Scale, 78);
  // Back to CH1: the knob shows CH1's row again.
  Press(w.scope.ChannelKey(1));
  EXPECT_TRUE(w.scope.VoltsKnob()->FileName().endsWith("knobR5V.bmp"));
  EXPECT_EQ(Left(w.scope.VoltsKnobDot()), 110);
  EXPECT_EQ(Top(w.scope.VoltsKnobDot()), 92);
}

TEST_F(VerticalWindow, NoticeAfterAReleaseWhileStoppedUntilTheBoxIsTicked) {
  TurnKnob(w.scope.VoltsKnob(), {{100, 10}});  // 12 o'clock: 1 V
  EXPECT_EQ(w.scope.State().CH1VoltsDivText, "CH1 1V/DIV");
  ASSERT_FALSE(w.scope.ChannelNotice()->isHidden());
  QTest::mouseClick(w.scope.NoticeOkButton(), Qt::LeftButton);
  EXPECT_TRUE(w.scope.ChannelNotice()->isHidden());
  w.scope.NoticeDoNotShowAgain()->setChecked(true);
  TurnKnob(w.scope.TimeKnob(), {{20, 200}});
  EXPECT_TRUE(w.scope.ChannelNotice()->isHidden());
}

TEST_F(VerticalWindow, NoNoticeWhileRunning) {
  w.scope.State().Running = 1;
  TurnKnob(w.scope.VoltsKnob(), {{100, 10}});
  w.scope.State().Running = 0;
  EXPECT_TRUE(w.scope.ChannelNotice()->isHidden());
}

// ---- Vertical position markers -------------------------------------------------

struct MarkerDragCase {
  const char* name;
  int channel;
  std::vector<int> moves;  // pointer Y in the marker, one per move, pressed at Y 7
  int top;
  bool releasedOnMarker;   // the release counts as a click that selects the channel
};

class MarkerDragging : public VerticalWindow, public ::testing::WithParamInterface<MarkerDragCase> {};

TEST_P(MarkerDragging, MovesBothLooksAndTheZeroVoltRowWithinOneToFourHundred) {
  const MarkerDragCase& c = GetParam();
  Press(w.scope.ChannelKey(2));  // both on, so both markers can be grabbed
  TImage* marker = c.channel == 1 ? w.scope.UnselectedMarker(1) : w.scope.Marker(2);
  DragMarker(marker, c.moves);
  if (c.channel == 1) {
    EXPECT_EQ(Top(w.scope.Marker(1)), c.top);
    EXPECT_EQ(Top(w.scope.UnselectedMarker(1)), c.top);
    EXPECT_EQ(w.scope.State().CH1VertPos, c.top);
    EXPECT_EQ(w.scope.State().CH1Focus, c.releasedOnMarker ? 1 : 0);  // a drag that ends on the marker selects it
  } else {
    EXPECT_EQ(Top(w.scope.Marker(2)), c.top);
    EXPECT_EQ(Top(w.scope.UnselectedMarker(2)), c.top);
    EXPECT_EQ(w.scope.State().CH2VertPos, c.top);
    EXPECT_EQ(w.scope.State().CH1Focus, 0);
  }
  EXPECT_EQ(w.scope.State().MouseIsDown, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Drags, MarkerDragging,
    ::testing::Values(MarkerDragCase{"Ch1UpByThirty", 1, {-23}, 122 - 30, true},
                      MarkerDragCase{"Ch1InStepsDown", 1, {17, 27, 9}, 122 + 10 + 20 + 2, true},
                      MarkerDragCase{"Ch1AboveTheStripStopsAtOne", 1, {-200}, 1, false},
                      MarkerDragCase{"Ch1BelowTheStripStopsAtFourHundred", 1, {400}, 400, false},
                      MarkerDragCase{"Ch1OntoRowOneExactly", 1, {7 - 121}, 1, true},
                      MarkerDragCase{"Ch2AboveTheStripThenBackOntoIt", 2, {-300, 0}, 1, true},
                      MarkerDragCase{"Ch2BelowTheStripStopsAtFourHundred", 2, {200}, 400, false}),
    CaseName<MarkerDragCase>);

TEST_F(VerticalWindow, MarkerDragRecordsTheDeltaTheTriggerArrowFollows) {
  DragMarker(w.scope.Marker(1), {-3, 12});
  EXPECT_EQ(w.scope.State().VertDragDelta, 7 - 12);
  EXPECT_EQ(Top(w.scope.Marker(1)), 122 - 10 + 5);
}

TEST_F(VerticalWindow, AHeldRecordIsReplottedWhileTheMarkerMoves) {
  // A flat record at the 0 V code, as if captured at 5 V/div and stopped.
  w.scope.State().HeldRecord.ch1.fill(127);
  w.scope.State().HeldRecord.channels[0].scale = 78;
  w.scope.State().HeldRecord.SetTimeBase(3, w.scope.State().HeldRecord.rate1MS);
  w.scope.DrawHeldRecord();
  ASSERT_EQ(w.scope.State().PlotValid, 1);
  const QRgb ch1 = QColor(0, 126, 255).rgb();
  const int column = 250;
  auto traceAt = [&](int row) {
    for (int y = row - 2; y <= row + 2; ++y)
      if (w->PlotBitmap.pixel(column, y) == ch1) return true;
    return false;
  };
  const int before = w.scope.State().CH1VertPos;
  ASSERT_TRUE(traceAt(before));
  KnobDrag press(w.scope.Marker(1), {10, 7});
  press.MoveTo({10, 7 + 60});
  // Still held: the frame already shows the trace on the new row.
  EXPECT_EQ(w.scope.State().CH1VertPos, before + 60);
  EXPECT_TRUE(traceAt(before + 60));
  EXPECT_FALSE(traceAt(before));
  press.Release({10, 7});
}

// ---- Time/div knob --------------------------------------------------------------

struct TimeRelease {
  const char* name;
  QPoint pointer;  // in Image9
  int index, periodUs;
  const char* timeDiv;
  int dotLeft, dotTop;
};

class TimeKnobRelease : public VerticalWindow, public ::testing::WithParamInterface<TimeRelease> {};

TEST_P(TimeKnobRelease, SelectsTheRowAndSnapsTheDot) {
  const TimeRelease& c = GetParam();
  TurnKnob(w.scope.TimeKnob(), {c.pointer});
  EXPECT_EQ(w.scope.State().TimeBaseIndex, c.index);
  EXPECT_EQ(w.scope.State().SamplePeriodUs, c.periodUs);
  EXPECT_EQ(w.scope.State().TimeDivText, c.timeDiv);
  EXPECT_EQ(Left(w.scope.TimeKnobDot()), c.dotLeft);
  EXPECT_EQ(Top(w.scope.TimeKnobDot()), c.dotTop);
  EXPECT_EQ(w.scope.State().Rate1MS, 0);
  EXPECT_TRUE(w.scope.TimeKnob()->FileName().contains("Grafics/TimeKnob/TimeKnob"));
  // Stopped: the held record keeps the time base it was captured with.
  EXPECT_EQ(w.scope.State().HeldRecord.timeBaseIndex, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TimeKnobRelease,
    ::testing::Values(TimeRelease{"At136To100us", {20, 200}, 3, 2, "100us/DIV", 75, 125},
                      TimeRelease{"At180To500us", {20, 112}, 5, 10, "500us/DIV", 66, 98},
                      TimeRelease{"At270To5ms", {112, 20}, 8, 100, "5ms/DIV", 94, 66},
                      TimeRelease{"At353To100ms", {212, 100}, 12, 2000, "100ms/DIV", 136, 98},
                      TimeRelease{"At66To1s", {150, 200}, 15, 20000, "1s/DIV", 115, 133}),
    CaseName<TimeRelease>);

TEST_F(VerticalWindow, FiftyMicrosecondsWithOneChannelSamplesAtOneMegahertz) {
  TurnKnob(w.scope.TimeKnob(), {{100, 200}});  // angle 97
  EXPECT_EQ(w.scope.State().TimeBaseIndex, 2);
  EXPECT_EQ(w.scope.State().SamplePeriodUs, 1);
  EXPECT_EQ(w.scope.State().Rate1MS, 1);
  EXPECT_EQ(w.scope.State().SampleRateText, "1M/s");
  EXPECT_EQ(Left(w.scope.TimeKnobDot()), 87);
  EXPECT_EQ(Top(w.scope.TimeKnobDot()), 133);
}

TEST_F(VerticalWindow, FiftyMicrosecondsWithBothChannelsSamplesAt500k) {
  Press(w.scope.ChannelKey(2));
  TurnKnob(w.scope.TimeKnob(), {{100, 200}});
  EXPECT_EQ(w.scope.State().TimeBaseIndex, 2);
  EXPECT_EQ(w.scope.State().SamplePeriodUs, 1);
  EXPECT_EQ(w.scope.State().Rate1MS, 0);
  EXPECT_EQ(w.scope.State().SampleRateText, "500KS/s");
}

TEST_F(VerticalWindow, LeavingFiftyMicrosecondsEndsTheOneChannelMode) {
  TurnKnob(w.scope.TimeKnob(), {{100, 200}});
  ASSERT_EQ(w.scope.State().Rate1MS, 1);
  TurnKnob(w.scope.TimeKnob(), {{20, 200}});
  EXPECT_EQ(w.scope.State().Rate1MS, 0);
  EXPECT_EQ(w.scope.State().SampleRateText, "500KS/s");
}

struct ChannelChangeAt50us {
  const char* name;
  std::vector<Key> keys;  // pressed after reaching 50 us/div with both channels on
  int triggerBefore, triggerAfter;
  int rate1MS;
  const char* rateText;
};

class FiftyMicrosecondChannels : public VerticalWindow,
                                 public ::testing::WithParamInterface<ChannelChangeAt50us> {};

TEST_P(FiftyMicrosecondChannels, SettleTheRateAndMoveAChannelTriggerSource) {
  const ChannelChangeAt50us& c = GetParam();
  Press(w.scope.ChannelKey(2));
  Press(w.scope.ChannelKey(1));
  TurnKnob(w.scope.TimeKnob(), {{100, 200}});
  ASSERT_EQ(w.scope.State().Rate1MS, 0);
  w.scope.State().TriggerCH = c.triggerBefore;
  for (Key k : c.keys) Press(k == CH1 ? static_cast<QWidget*>(w.scope.ChannelKey(1))
                              : k == CH2 ? static_cast<QWidget*>(w.scope.ChannelKey(2))
                                         : static_cast<QWidget*>(w.scope.ChannelOffKey()));
  EXPECT_EQ(w.scope.State().TriggerCH, c.triggerAfter);
  EXPECT_EQ(w.scope.State().Rate1MS, c.rate1MS);
  EXPECT_EQ(w.scope.State().SampleRateText, c.rateText);
  EXPECT_EQ(w.scope.State().TimeBaseIndex, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, FiftyMicrosecondChannels,
    ::testing::Values(
        ChannelChangeAt50us{"Ch1OffMovesCh1SourceToCh2", {OFF}, 1, 2, 1, "1MS/s"},
        ChannelChangeAt50us{"Ch2OffMovesCh2SourceToCh1", {CH2, OFF}, 2, 1, 1, "1MS/s"},
        ChannelChangeAt50us{"ExtSourceStaysExt", {OFF}, 10, 10, 1, "1MS/s"},
        ChannelChangeAt50us{"BothStillOnKeepsSourceAnd500k", {CH2}, 1, 1, 0, "500KS/s"},
        ChannelChangeAt50us{"NoChannelLeftGoesToCh2", {OFF, OFF}, 1, 2, 1, "1MS/s"}),
    CaseName<ChannelChangeAt50us>);

}  // namespace

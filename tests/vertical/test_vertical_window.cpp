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
  EXPECT_EQ(w->ChannelOn[1], 1);
  EXPECT_EQ(w->ChannelOn[2], 0);
  EXPECT_EQ(w->CH1Focus, 1);
  EXPECT_EQ(w->CH1Scale, 78);
  EXPECT_EQ(w->CH2Scale, 78);
  EXPECT_EQ(w->CH1VoltsDivText, "CH1 5/DIV");
  EXPECT_EQ(w->CH2VoltsDivText, "CH2 5V/DIV");
  EXPECT_EQ(w->CH1HighRange, 1);
  EXPECT_EQ(w->CH1VertPos, Top(w->findChild<TImage*>("Image1")));
  EXPECT_EQ(w->CH2VertPos, Top(w->findChild<TImage*>("Image2")));
  EXPECT_TRUE(w->findChild<TImage*>("Image7")->isEnabled());
  EXPECT_TRUE(Shown(w->findChild<TImage*>("Image5")));
  EXPECT_TRUE(w->findChild<TImage*>("Image7")->FileName().endsWith("Grafics/VoltageKnob/knobR5V.bmp"));
  EXPECT_TRUE(w->findChild<TImage*>("Image6")->FileName().endsWith("CHSelector-1on-2off-1sel.bmp"));
  EXPECT_EQ(w->TimeBaseIndex, 3);
  EXPECT_EQ(w->SamplePeriodUs, 2);
  EXPECT_EQ(w->TimeDivText, "100us/DIV");
  EXPECT_EQ(w->SampleRateText, "500KS/s");
  EXPECT_EQ(w->KnobAngle, 0);
  EXPECT_TRUE(w->findChild<TPanel*>("Panel12")->isHidden());
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
  for (Key k : s.keys) Press(k == CH1 ? static_cast<QWidget*>(w->findChild<TPaintBox*>("CH1Button"))
                              : k == CH2 ? static_cast<QWidget*>(w->findChild<TPaintBox*>("CH2Button"))
                                         : static_cast<QWidget*>(w->findChild<TImage*>("ChannelOff")));
  EXPECT_EQ(w->ChannelOn[1], s.ch1On);
  EXPECT_EQ(w->ChannelOn[2], s.ch2On);
  EXPECT_EQ(w->CH1Focus, s.ch1Focus);
  EXPECT_TRUE(w->findChild<TImage*>("Image6")->FileName().endsWith(QString::fromLatin1(s.selector))) << w->findChild<TImage*>("Image6")->FileName().toStdString();
  EXPECT_TRUE(w->findChild<TImage*>("Image7")->FileName().endsWith(QString::fromLatin1(s.face))) << w->findChild<TImage*>("Image7")->FileName().toStdString();
  EXPECT_EQ(Shown(w->findChild<TImage*>("Image5")), s.knobUsable);
  EXPECT_EQ(w->findChild<TPanel*>("Panel6")->isEnabled(), s.knobUsable);
  // A channel that is on shows exactly one of its two marker looks.
  EXPECT_EQ(Shown(w->findChild<TImage*>("Image1")) + Shown(w->findChild<TImage*>("CH1NS")), s.ch1On);
  EXPECT_EQ(Shown(w->findChild<TImage*>("Image2")) + Shown(w->findChild<TImage*>("CH2NS")), s.ch2On);
  EXPECT_EQ(Shown(w->findChild<TLabel*>("CH1V")), s.ch1On == 1);
  EXPECT_EQ(Shown(w->findChild<TLabel*>("CH2V")), s.ch2On == 1);
  // The keys stay clickable over the picture.
  EXPECT_EQ(w->findChild<TPanel*>("HorVerPanel")->childAt(30, 450), w->findChild<TPaintBox*>("CH1Button"));
  EXPECT_EQ(w->findChild<TPanel*>("HorVerPanel")->childAt(150, 450), w->findChild<TPaintBox*>("CH2Button"));
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
  Press(w->findChild<TImage*>("ChannelOff"));
  EXPECT_EQ(w->CH1Focus, 0);
  EXPECT_TRUE(w->findChild<TImage*>("Image5")->isHidden());
  EXPECT_FALSE(w->findChild<TPanel*>("Panel6")->isEnabled());
  // The blocked knob ignores a turn.
  const int angleBefore = w->CH2KnobAngle;
  TurnKnob(w->findChild<TImage*>("Image7"), {{100, 190}});
  EXPECT_EQ(w->CH2KnobAngle, angleBefore);
  EXPECT_EQ(w->MouseIsDown, 0);
}

TEST_F(VerticalWindow, ClickOnCh2NotSelectedMarkerSelectsCh2AndLeavesBothOn) {
  Press(w->findChild<TPaintBox*>("CH2Button"));
  Press(w->findChild<TPaintBox*>("CH1Button"));
  ASSERT_TRUE(Shown(w->findChild<TImage*>("CH2NS")));
  QTest::mouseClick(w->findChild<TImage*>("CH2NS"), Qt::LeftButton, {}, QPoint(10, 7));
  EXPECT_EQ(w->ChannelOn[1], 1);
  EXPECT_EQ(w->ChannelOn[2], 1);
  EXPECT_EQ(w->CH1Focus, 0);
  EXPECT_TRUE(w->findChild<TImage*>("Image6")->FileName().endsWith("CHSelector-1on-2on-2sel.bmp"));
  EXPECT_TRUE(Shown(w->findChild<TImage*>("Image2")));
  EXPECT_TRUE(Shown(w->findChild<TImage*>("CH1NS")));
  EXPECT_FALSE(Shown(w->findChild<TImage*>("Image1")));
  EXPECT_FALSE(Shown(w->findChild<TImage*>("CH2NS")));
  EXPECT_TRUE(w->findChild<TImage*>("Image5")->FileName().endsWith("knobdotB.bmp"));
  EXPECT_EQ(w->MouseIsDown, 0);
}

TEST_F(VerticalWindow, ClickOnTheSelectedMarkerOfTheOnlyChannelChangesNothing) {
  QTest::mouseClick(w->findChild<TImage*>("Image1"), Qt::LeftButton, {}, QPoint(10, 7));
  EXPECT_EQ(w->ChannelOn[1], 1);
  EXPECT_EQ(w->ChannelOn[2], 0);
  EXPECT_EQ(w->CH1Focus, 1);
  // The selector hides the CH2 look again: CH2 is off.
  EXPECT_FALSE(Shown(w->findChild<TImage*>("CH2NS")));
  EXPECT_TRUE(Shown(w->findChild<TImage*>("Image1")));
}

// A restored "CH1 only, CH2 selected" shows the CH2 marker's other look
// although CH2 is off. Its click runs while the button is still down, so it
// selects without switching CH2 on.
TEST_F(VerticalWindow, MarkerClickIsHandledBeforeTheReleaseAndTurnsNothingOn) {
  w->ChannelOn[1] = 1;
  w->ChannelOn[2] = 0;
  w->CH1Focus = 0;
  w->UpdatedvoltageButtons();
  ASSERT_TRUE(Shown(w->findChild<TImage*>("CH2NS")));
  QTest::mouseClick(w->findChild<TImage*>("CH2NS"), Qt::LeftButton, {}, QPoint(10, 7));
  EXPECT_EQ(w->ChannelOn[2], 0);
  EXPECT_EQ(w->CH1Focus, 0);
  EXPECT_TRUE(w->findChild<TImage*>("Image6")->FileName().endsWith("CHSelector-1on-2on-1sel.bmp"));  // code 21 again
  EXPECT_EQ(w->MouseIsDown, 0);
}

TEST_F(VerticalWindow, SettingsRestoreRebuildsTheSelectorWithoutTheNoChannelRule) {
  w->ChannelOn[1] = 0;
  w->ChannelOn[2] = 0;
  w->CH1Focus = 0;
  w->UpdatedvoltageButtons();
  EXPECT_TRUE(w->findChild<TImage*>("Image6")->FileName().endsWith("CHSelector-1off-2off.bmp"));
  EXPECT_TRUE(Shown(w->findChild<TImage*>("Image5")));
  EXPECT_TRUE(w->findChild<TPanel*>("Panel6")->isEnabled());
  // Code 20 leaves the face prefix as the restore set it; the knob acts on CH2.
  EXPECT_TRUE(w->findChild<TImage*>("Image7")->FileName().endsWith("knobR5V.bmp"));
  EXPECT_TRUE(w->findChild<TImage*>("Image5")->FileName().endsWith("knobdotB.bmp"));
  EXPECT_EQ(w->CH1Focus, 0);
}

// ---- Volts/div knob -----------------------------------------------------------

TEST_F(VerticalWindow, VoltsKnobDotFollowsThePointerFaceChangesAtBandsAndSnapsOnRelease) {
  KnobDrag drag(w->findChild<TImage*>("Image7"), {190, 100});  // 3 o'clock: 5 V
  EXPECT_EQ(w->CH1Scale, 78);
  drag.MoveTo({100, 190});  // 6 o'clock, angle 90: 100 mV
  EXPECT_EQ(w->CH1VoltsDivText, "CH1 100mV/DIV");
  EXPECT_EQ(w->CH1Scale, 624);
  EXPECT_EQ(w->CH1HighRange, 0);
  EXPECT_TRUE(w->findChild<TImage*>("Image7")->FileName().endsWith("knobR100.bmp"));
  EXPECT_EQ(Left(w->findChild<TImage*>("Image5")), 92);  // the dot stands at 90 degrees, not yet at the detent
  EXPECT_EQ(Top(w->findChild<TImage*>("Image5")), 110);
  drag.MoveTo({90, 153});  // angle 100, still 100 mV
  EXPECT_EQ(Left(w->findChild<TImage*>("Image5")), 89);
  EXPECT_EQ(Top(w->findChild<TImage*>("Image5")), 109);
  drag.Release({90, 153});
  EXPECT_EQ(w->CH1KnobAngle, 135);
  EXPECT_EQ(Left(w->findChild<TImage*>("Image5")), 80);
  EXPECT_EQ(Top(w->findChild<TImage*>("Image5")), 104);
  EXPECT_EQ(w->CH1VoltsDiv, 2);
  EXPECT_EQ(w->KnobAngle, 0);
  EXPECT_EQ(w->MouseIsDown, 0);
  EXPECT_EQ(w->KnobSnap, 0);
  // The other channel keeps its row.
  EXPECT_EQ(w->CH2Scale, 78);
  EXPECT_EQ(w->CH2KnobAngle, 0);
}

TEST_F(VerticalWindow, VoltsKnobActsOnTheSelectedChannelWithItsOwnFaces) {
  Press(w->findChild<TPaintBox*>("CH2Button"));
  TurnKnob(w->findChild<TImage*>("Image7"), {{10, 100}});  // 9 o'clock: 200 mV
  EXPECT_EQ(w->CH2KnobAngle, 180);
  EXPECT_EQ(w->CH2Scale, 312);
  EXPECT_EQ(w->CH2VoltsDivText, "CH2 200mV/DIV");
  EXPECT_TRUE(w->findChild<TImage*>("Image7")->FileName().endsWith("knobB200.bmp"));
  EXPECT_EQ(w->CH1Scale, 78);
  // Back to CH1: the knob shows CH1's row again.
  Press(w->findChild<TPaintBox*>("CH1Button"));
  EXPECT_TRUE(w->findChild<TImage*>("Image7")->FileName().endsWith("knobR5V.bmp"));
  EXPECT_EQ(Left(w->findChild<TImage*>("Image5")), 110);
  EXPECT_EQ(Top(w->findChild<TImage*>("Image5")), 92);
}

TEST_F(VerticalWindow, NoticeAfterAReleaseWhileStoppedUntilTheBoxIsTicked) {
  TurnKnob(w->findChild<TImage*>("Image7"), {{100, 10}});  // 12 o'clock: 1 V
  EXPECT_EQ(w->CH1VoltsDivText, "CH1 1V/DIV");
  ASSERT_FALSE(w->findChild<TPanel*>("Panel12")->isHidden());
  QTest::mouseClick(w->findChild<QPushButton*>("Button6"), Qt::LeftButton);
  EXPECT_TRUE(w->findChild<TPanel*>("Panel12")->isHidden());
  w->findChild<QCheckBox*>("CheckBox1")->setChecked(true);
  TurnKnob(w->findChild<TImage*>("Image9"), {{20, 200}});
  EXPECT_TRUE(w->findChild<TPanel*>("Panel12")->isHidden());
}

TEST_F(VerticalWindow, NoNoticeWhileRunning) {
  w->Running = 1;
  TurnKnob(w->findChild<TImage*>("Image7"), {{100, 10}});
  w->Running = 0;
  EXPECT_TRUE(w->findChild<TPanel*>("Panel12")->isHidden());
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
  Press(w->findChild<TPaintBox*>("CH2Button"));  // both on, so both markers can be grabbed
  TImage* marker = c.channel == 1 ? w->findChild<TImage*>("CH1NS") : w->findChild<TImage*>("Image2");
  DragMarker(marker, c.moves);
  if (c.channel == 1) {
    EXPECT_EQ(Top(w->findChild<TImage*>("Image1")), c.top);
    EXPECT_EQ(Top(w->findChild<TImage*>("CH1NS")), c.top);
    EXPECT_EQ(w->CH1VertPos, c.top);
    EXPECT_EQ(w->CH1Focus, c.releasedOnMarker ? 1 : 0);  // a drag that ends on the marker selects it
  } else {
    EXPECT_EQ(Top(w->findChild<TImage*>("Image2")), c.top);
    EXPECT_EQ(Top(w->findChild<TImage*>("CH2NS")), c.top);
    EXPECT_EQ(w->CH2VertPos, c.top);
    EXPECT_EQ(w->CH1Focus, 0);
  }
  EXPECT_EQ(w->MouseIsDown, 0);
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
  DragMarker(w->findChild<TImage*>("Image1"), {-3, 12});
  EXPECT_EQ(w->VertDragDelta, 7 - 12);
  EXPECT_EQ(Top(w->findChild<TImage*>("Image1")), 122 - 10 + 5);
}

TEST_F(VerticalWindow, AHeldRecordIsReplottedWhileTheMarkerMoves) {
  // A flat record at the 0 V code, as if captured at 5 V/div and stopped.
  w->HeldRecord.ch1.fill(127);
  w->HeldRecord.channels[0].scale = 78;
  w->HeldRecord.SetTimeBase(3, w->HeldRecord.rate1MS);
  w->PlotWaveform();
  ASSERT_EQ(w->PlotValid, 1);
  const QRgb ch1 = QColor(0, 126, 255).rgb();
  const int column = 250;
  auto traceAt = [&](int row) {
    for (int y = row - 2; y <= row + 2; ++y)
      if (w->PlotBitmap.pixel(column, y) == ch1) return true;
    return false;
  };
  const int before = w->CH1VertPos;
  ASSERT_TRUE(traceAt(before));
  KnobDrag press(w->findChild<TImage*>("Image1"), {10, 7});
  press.MoveTo({10, 7 + 60});
  // Still held: the frame already shows the trace on the new row.
  EXPECT_EQ(w->CH1VertPos, before + 60);
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
  TurnKnob(w->findChild<TImage*>("Image9"), {c.pointer});
  EXPECT_EQ(w->TimeBaseIndex, c.index);
  EXPECT_EQ(w->SamplePeriodUs, c.periodUs);
  EXPECT_EQ(w->TimeDivText, c.timeDiv);
  EXPECT_EQ(Left(w->findChild<TImage*>("Image10")), c.dotLeft);
  EXPECT_EQ(Top(w->findChild<TImage*>("Image10")), c.dotTop);
  EXPECT_EQ(w->Rate1MS, 0);
  EXPECT_TRUE(w->findChild<TImage*>("Image9")->FileName().contains("Grafics/TimeKnob/TimeKnob"));
  // Stopped: the held record keeps the time base it was captured with.
  EXPECT_EQ(w->HeldRecord.timeBaseIndex, 0);
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
  TurnKnob(w->findChild<TImage*>("Image9"), {{100, 200}});  // angle 97
  EXPECT_EQ(w->TimeBaseIndex, 2);
  EXPECT_EQ(w->SamplePeriodUs, 1);
  EXPECT_EQ(w->Rate1MS, 1);
  EXPECT_EQ(w->SampleRateText, "1M/s");
  EXPECT_EQ(Left(w->findChild<TImage*>("Image10")), 87);
  EXPECT_EQ(Top(w->findChild<TImage*>("Image10")), 133);
}

TEST_F(VerticalWindow, FiftyMicrosecondsWithBothChannelsSamplesAt500k) {
  Press(w->findChild<TPaintBox*>("CH2Button"));
  TurnKnob(w->findChild<TImage*>("Image9"), {{100, 200}});
  EXPECT_EQ(w->TimeBaseIndex, 2);
  EXPECT_EQ(w->SamplePeriodUs, 1);
  EXPECT_EQ(w->Rate1MS, 0);
  EXPECT_EQ(w->SampleRateText, "500KS/s");
}

TEST_F(VerticalWindow, LeavingFiftyMicrosecondsEndsTheOneChannelMode) {
  TurnKnob(w->findChild<TImage*>("Image9"), {{100, 200}});
  ASSERT_EQ(w->Rate1MS, 1);
  TurnKnob(w->findChild<TImage*>("Image9"), {{20, 200}});
  EXPECT_EQ(w->Rate1MS, 0);
  EXPECT_EQ(w->SampleRateText, "500KS/s");
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
  Press(w->findChild<TPaintBox*>("CH2Button"));
  Press(w->findChild<TPaintBox*>("CH1Button"));
  TurnKnob(w->findChild<TImage*>("Image9"), {{100, 200}});
  ASSERT_EQ(w->Rate1MS, 0);
  w->TriggerCH = c.triggerBefore;
  for (Key k : c.keys) Press(k == CH1 ? static_cast<QWidget*>(w->findChild<TPaintBox*>("CH1Button"))
                              : k == CH2 ? static_cast<QWidget*>(w->findChild<TPaintBox*>("CH2Button"))
                                         : static_cast<QWidget*>(w->findChild<TImage*>("ChannelOff")));
  EXPECT_EQ(w->TriggerCH, c.triggerAfter);
  EXPECT_EQ(w->Rate1MS, c.rate1MS);
  EXPECT_EQ(w->SampleRateText, c.rateText);
  EXPECT_EQ(w->TimeBaseIndex, 2);
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

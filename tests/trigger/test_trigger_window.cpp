// The trigger controls on the real window: the source cycle and what EXT does
// to the edge, the edge and mode items, the trigger position presets and the
// marker drag, the level arrows, the line and its timer, the readout, typed
// levels, the off-strip indicators and the arrow following its 0 V marker.

#include <gtest/gtest.h>

#include "TriggerDriving.h"
#include "controls/TriggerPosition.h"
#include "support/ScopeWindow.h"

#include <QAction>
#include <QLocale>
#include <QTimer>

namespace {

const QColor CH1Blue(0, 126, 255);
const QColor CH2Red(255, 0, 0);

// Knob angles of the volts/div rows used here.
constexpr int Row100mV = 135;
constexpr int Row500mV = 225;
constexpr int Row5V = 0;
constexpr int Row10V = 45;

class TriggerWindow : public ::testing::Test {
 protected:
  // Applies a volts/div row to CH1 as the knob does.
  void SetCH1Row(int angle) {
    scope.State().CH1Focus = 1;
    scope.State().KnobAngle = angle;
    scope.SettleVoltsKnob();
  }
  QString Readout(const char* number) { return Local(number) + QStringLiteral(" V"); }
  int LineRow() const { return Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("TriggerVoltageLine"))) - 2; }
  bool NoErrors() const { return w.ui.errors.isEmpty(); }

  ScopeWindow w{true, /*stopWatch=*/true};
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;
};

TEST_F(TriggerWindow, StartsAsDesignedWithEveryTriggerItemUsable) {
  EXPECT_TRUE(NoErrors()) << w.ui.errors.join('\n').toStdString();
  EXPECT_EQ(scope.State().TriggerCH, 1);
  EXPECT_EQ(scope.State().RisingTrigger, 1);
  EXPECT_EQ(scope.State().AutoTrigger, 1);
  EXPECT_EQ(scope.State().CH1TriggerV, 32);
  EXPECT_EQ(Left(ScopeDriver(f).Find<TImage>(QStringLiteral("HorTrigPos"))), 251);
  EXPECT_EQ((trigger_position::PositionBytes{scope.State().TrigPosPreLo, scope.State().TrigPosPreHi, scope.State().TrigPosPostLo, scope.State().TrigPosPostHi}),
            (trigger_position::PositionBytes{208, 8, 237, 3}));
  for (QAction* checked : {ScopeDriver(f).MenuItem(QStringLiteral("CH11")), ScopeDriver(f).MenuItem(QStringLiteral("Rising1")), ScopeDriver(f).MenuItem(QStringLiteral("Auto1")), ScopeDriver(f).MenuItem(QStringLiteral("POS50"))}) EXPECT_TRUE(checked->isChecked());
  for (QAction* item : {ScopeDriver(f).MenuItem(QStringLiteral("CH11")), ScopeDriver(f).MenuItem(QStringLiteral("CH21")), ScopeDriver(f).MenuItem(QStringLiteral("EXT1")), ScopeDriver(f).MenuItem(QStringLiteral("Rising1")), ScopeDriver(f).MenuItem(QStringLiteral("Falling2")), ScopeDriver(f).MenuItem(QStringLiteral("Auto1")), ScopeDriver(f).MenuItem(QStringLiteral("Normal1")), ScopeDriver(f).MenuItem(QStringLiteral("POS10")), ScopeDriver(f).MenuItem(QStringLiteral("POS50")),
                        ScopeDriver(f).MenuItem(QStringLiteral("POS90"))})
    EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
  // 5 V/div with the 0 V line at 122: the arrow one pixel above 122 - 24.
  EXPECT_EQ(Top(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1"))), 97);
  EXPECT_TRUE(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1"))->isVisible());
  EXPECT_FALSE(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH2"))->isVisible());
  EXPECT_FALSE(ScopeDriver(f).Find<TPanel>(QStringLiteral("TriggerVoltageLine"))->isVisible());
  EXPECT_EQ(scope.TriggerLevelReadout()->text(), Readout("2.49"));
  EXPECT_TRUE(Shows(ScopeDriver(f).TriggerSourceButton(), "CH2TrigButton.bmp"));
  EXPECT_TRUE(Shows(ScopeDriver(f).TriggerEdgeButton(), "TrigSymboRising.bmp"));
  // Where the buttons and the readout sit in the status strip.
  EXPECT_EQ(ScopeDriver(f).TriggerSourceButton()->geometry(), QRect(192, 26, 25, 18));
  EXPECT_EQ(ScopeDriver(f).TriggerEdgeButton()->geometry(), QRect(222, 26, 18, 18));
  EXPECT_EQ(ScopeDriver(f).Find<TPanel>(QStringLiteral("TriggerSlider"))->geometry(), QRect(529, 46, 22, 417));
  EXPECT_EQ(scope.TriggerLevelReadout()->pos(), QPoint(243, 27));
}

TEST_F(TriggerWindow, SourceButtonCyclesCH1CH2EXTAndTheEdgeButtonRestsOnEXT) {
  Click(ScopeDriver(f).TriggerSourceButton());
  EXPECT_EQ(scope.State().TriggerCH, 2);
  EXPECT_TRUE(ScopeDriver(f).MenuItem(QStringLiteral("CH21"))->isChecked());
  EXPECT_TRUE(Shows(ScopeDriver(f).TriggerSourceButton(), "CH1TrigButton.bmp"));
  EXPECT_TRUE(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH2"))->isVisible());
  EXPECT_FALSE(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1"))->isVisible());
  EXPECT_EQ(scope.TriggerLevelReadout()->text(), QStringLiteral("0 V"));

  Click(ScopeDriver(f).TriggerSourceButton());
  EXPECT_EQ(scope.State().TriggerCH, 10);
  EXPECT_TRUE(ScopeDriver(f).MenuItem(QStringLiteral("EXT1"))->isChecked());
  EXPECT_FALSE(ScopeDriver(f).MenuItem(QStringLiteral("CH11"))->isChecked() || ScopeDriver(f).MenuItem(QStringLiteral("CH21"))->isChecked());
  EXPECT_TRUE(Shows(ScopeDriver(f).TriggerSourceButton(), "EXTTrigButton.bmp"));
  EXPECT_EQ(scope.TriggerLevelReadout()->text(), QStringLiteral("TTL"));
  EXPECT_FALSE(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1"))->isVisible() || ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH2"))->isVisible());
  EXPECT_FALSE(ScopeDriver(f).Find<TPanel>(QStringLiteral("TriggerVoltageLine"))->isVisible());
  // The TTL input: the edge value is false while Rising is shown, Falling
  // cannot be chosen and the edge button does nothing.
  EXPECT_EQ(scope.State().RisingTrigger, 0);
  EXPECT_TRUE(ScopeDriver(f).MenuItem(QStringLiteral("Rising1"))->isChecked());
  EXPECT_FALSE(ScopeDriver(f).MenuItem(QStringLiteral("Falling2"))->isChecked());
  EXPECT_FALSE(ScopeDriver(f).MenuItem(QStringLiteral("Falling2"))->isEnabled());
  EXPECT_TRUE(Shows(ScopeDriver(f).TriggerEdgeButton(), "TrigSymboRising.bmp"));
  Click(ScopeDriver(f).TriggerEdgeButton());
  ScopeDriver(f).MenuItem(QStringLiteral("Falling2"))->trigger();
  EXPECT_EQ(scope.State().RisingTrigger, 0);
  EXPECT_TRUE(ScopeDriver(f).MenuItem(QStringLiteral("Rising1"))->isChecked());
  EXPECT_TRUE(Shows(ScopeDriver(f).TriggerEdgeButton(), "TrigSymboRising.bmp"));

  Click(ScopeDriver(f).TriggerSourceButton());
  EXPECT_EQ(scope.State().TriggerCH, 1);
  EXPECT_TRUE(ScopeDriver(f).MenuItem(QStringLiteral("CH11"))->isChecked());
  EXPECT_TRUE(Shows(ScopeDriver(f).TriggerSourceButton(), "CH2TrigButton.bmp"));
  EXPECT_EQ(scope.State().RisingTrigger, 1);  // leaving EXT makes the value rising again
  EXPECT_TRUE(ScopeDriver(f).MenuItem(QStringLiteral("Falling2"))->isEnabled());
  EXPECT_TRUE(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1"))->isVisible());
  EXPECT_EQ(scope.TriggerLevelReadout()->text(), Readout("2.49"));
  EXPECT_TRUE(NoErrors()) << w.ui.errors.join('\n').toStdString();
}

TEST_F(TriggerWindow, FromEXTToCH2TheEdgeIsRisingAndTheRedLineShowsForThreeSeconds) {
  ScopeDriver(f).MenuItem(QStringLiteral("EXT1"))->trigger();
  ASSERT_EQ(scope.State().RisingTrigger, 0);
  ScopeDriver(f).MenuItem(QStringLiteral("CH21"))->trigger();
  EXPECT_EQ(scope.State().TriggerCH, 2);
  EXPECT_EQ(scope.State().RisingTrigger, 1);
  EXPECT_TRUE(ScopeDriver(f).MenuItem(QStringLiteral("Rising1"))->isChecked());
  EXPECT_FALSE(ScopeDriver(f).MenuItem(QStringLiteral("Falling2"))->isChecked());
  EXPECT_TRUE(ScopeDriver(f).Find<TPanel>(QStringLiteral("TriggerVoltageLine"))->isVisible());
  EXPECT_EQ(ScopeDriver(f).Find<TPanel>(QStringLiteral("TriggerVoltageLine"))->Color(), CH2Red);
  EXPECT_EQ(LineRow(), Top(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH2"))));
  EXPECT_EQ(ScopeDriver(f).Find<TPanel>(QStringLiteral("TriggerVoltageLine"))->geometry().adjusted(0, 0, 0, 0).size(), QSize(494, 1));
  ASSERT_TRUE(TForm1::Enabled(ScopeDriver(f).Timer(QStringLiteral("TrigVoltLineTimer"))));
  EXPECT_EQ(ScopeDriver(f).Timer(QStringLiteral("TrigVoltLineTimer"))->interval(), 3000);

  // The timer's handler hides the line and stops itself (run here at a
  // shortened interval rather than waiting the 3 s).
  ScopeDriver(f).Timer(QStringLiteral("TrigVoltLineTimer"))->setInterval(5);
  ASSERT_TRUE(WaitFor([&] { return !ScopeDriver(f).Find<TPanel>(QStringLiteral("TriggerVoltageLine"))->isVisible(); }));
  EXPECT_FALSE(TForm1::Enabled(ScopeDriver(f).Timer(QStringLiteral("TrigVoltLineTimer"))));

  // Back to CH1: the line in the CH1 colour on the CH1 arrow's row.
  ScopeDriver(f).Timer(QStringLiteral("TrigVoltLineTimer"))->setInterval(3000);
  ScopeDriver(f).MenuItem(QStringLiteral("CH11"))->trigger();
  EXPECT_EQ(ScopeDriver(f).Find<TPanel>(QStringLiteral("TriggerVoltageLine"))->Color(), CH1Blue);
  EXPECT_EQ(LineRow(), Top(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1"))));
  EXPECT_TRUE(ScopeDriver(f).Find<TPanel>(QStringLiteral("TriggerVoltageLine"))->isVisible());
}

TEST_F(TriggerWindow, AChannelSourceKeepsAFallingEdge) {
  Click(ScopeDriver(f).TriggerEdgeButton());
  EXPECT_EQ(scope.State().RisingTrigger, 0);
  EXPECT_TRUE(ScopeDriver(f).MenuItem(QStringLiteral("Falling2"))->isChecked());
  EXPECT_TRUE(Shows(ScopeDriver(f).TriggerEdgeButton(), "TrigSymboFallingl.bmp"));
  ScopeDriver(f).MenuItem(QStringLiteral("CH21"))->trigger();
  EXPECT_EQ(scope.State().RisingTrigger, 0);
  EXPECT_TRUE(ScopeDriver(f).MenuItem(QStringLiteral("Falling2"))->isChecked());
  EXPECT_FALSE(ScopeDriver(f).MenuItem(QStringLiteral("Rising1"))->isChecked());
  Click(ScopeDriver(f).TriggerEdgeButton());
  EXPECT_EQ(scope.State().RisingTrigger, 1);
  EXPECT_TRUE(ScopeDriver(f).MenuItem(QStringLiteral("Rising1"))->isChecked());
  EXPECT_TRUE(Shows(ScopeDriver(f).TriggerEdgeButton(), "TrigSymboRising.bmp"));
}

TEST_F(TriggerWindow, ModeItemsSetTheMode) {
  ScopeDriver(f).MenuItem(QStringLiteral("Normal1"))->trigger();
  EXPECT_EQ(scope.State().AutoTrigger, 0);
  EXPECT_TRUE(ScopeDriver(f).MenuItem(QStringLiteral("Normal1"))->isChecked());
  EXPECT_FALSE(ScopeDriver(f).MenuItem(QStringLiteral("Auto1"))->isChecked());
  // Auto while stopped sends one request (to no port here) and comes back
  // stopped.
  ScopeDriver(f).MenuItem(QStringLiteral("Auto1"))->trigger();
  EXPECT_EQ(scope.State().AutoTrigger, 1);
  EXPECT_TRUE(ScopeDriver(f).MenuItem(QStringLiteral("Auto1"))->isChecked());
  EXPECT_FALSE(ScopeDriver(f).MenuItem(QStringLiteral("Normal1"))->isChecked());
  EXPECT_EQ(scope.State().Running, 0);
  EXPECT_EQ(scope.State().AwaitingData, 0);
}

TEST_F(TriggerWindow, PositionPresetsAndTheDraggedMarker) {
  struct Preset {
    QAction* item;
    int left;
  } presets[] = {{ScopeDriver(f).MenuItem(QStringLiteral("POS10")), 51}, {ScopeDriver(f).MenuItem(QStringLiteral("POS90")), 451}, {ScopeDriver(f).MenuItem(QStringLiteral("POS50")), 251}};
  for (const Preset& p : presets) {
    p.item->trigger();
    EXPECT_EQ(Left(ScopeDriver(f).Find<TImage>(QStringLiteral("HorTrigPos"))), p.left);
    for (QAction* other : {ScopeDriver(f).MenuItem(QStringLiteral("POS10")), ScopeDriver(f).MenuItem(QStringLiteral("POS50")), ScopeDriver(f).MenuItem(QStringLiteral("POS90"))}) EXPECT_EQ(other->isChecked(), other == p.item);
    const auto bytes = trigger_position::PositionBytesFor(p.left, scope.State().HeldRecord.timeBaseIndex);
    EXPECT_EQ(scope.State().TrigPosPreLo, bytes.preLo);
    EXPECT_EQ(scope.State().TrigPosPostHi, bytes.postHi);
  }

  // One pixel left of 50 %: no item checked; back onto it: 50 % again.
  Drag(ScopeDriver(f).Find<TImage>(QStringLiteral("HorTrigPos")), QPoint(7, 30), {QPoint(-1, 0)});
  EXPECT_EQ(Left(ScopeDriver(f).Find<TImage>(QStringLiteral("HorTrigPos"))), 250);
  EXPECT_FALSE(ScopeDriver(f).MenuItem(QStringLiteral("POS10"))->isChecked() || ScopeDriver(f).MenuItem(QStringLiteral("POS50"))->isChecked() || ScopeDriver(f).MenuItem(QStringLiteral("POS90"))->isChecked());
  EXPECT_EQ(scope.State().TrigPosPreLo, 208);  // 250 div 2 = 251 div 2
  Drag(ScopeDriver(f).Find<TImage>(QStringLiteral("HorTrigPos")), QPoint(7, 30), {QPoint(1, 0)});
  EXPECT_EQ(Left(ScopeDriver(f).Find<TImage>(QStringLiteral("HorTrigPos"))), 251);
  EXPECT_TRUE(ScopeDriver(f).MenuItem(QStringLiteral("POS50"))->isChecked());

  // To L 74, where 3000 - P = 6 x 255 and the low post byte goes out as 2.
  Drag(ScopeDriver(f).Find<TImage>(QStringLiteral("HorTrigPos")), QPoint(7, 30), {QPoint(-100, 0), QPoint(-77, 0)});
  EXPECT_EQ(Left(ScopeDriver(f).Find<TImage>(QStringLiteral("HorTrigPos"))), 74);
  EXPECT_EQ(scope.State().TrigPosPostLo, 2);
  EXPECT_EQ(scope.State().TrigPosPostHi, 6);

  // Held over the strip however far the pointer goes.
  Drag(ScopeDriver(f).Find<TImage>(QStringLiteral("HorTrigPos")), QPoint(7, 30), {QPoint(-300, 0)});
  EXPECT_EQ(Left(ScopeDriver(f).Find<TImage>(QStringLiteral("HorTrigPos"))), 1);
  Drag(ScopeDriver(f).Find<TImage>(QStringLiteral("HorTrigPos")), QPoint(7, 30), {QPoint(900, 0)});
  EXPECT_EQ(Left(ScopeDriver(f).Find<TImage>(QStringLiteral("HorTrigPos"))), 501);
  EXPECT_EQ(scope.State().TrigPosPostHi, 1);  // 0 replaced
  // Moves without a press do nothing.
  SendMouse(ScopeDriver(f).Find<TImage>(QStringLiteral("HorTrigPos")), QEvent::MouseMove, QPoint(-200, 30));
  EXPECT_EQ(Left(ScopeDriver(f).Find<TImage>(QStringLiteral("HorTrigPos"))), 501);
  EXPECT_EQ(scope.State().KnobSnap, 0);
}

TEST_F(TriggerWindow, DraggingTheArrowSetsTheLevelAndShowsTheLine) {
  // Down 25 rows onto the 0 V line.
  Drag(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1")), QPoint(10, 7), {QPoint(0, 10), QPoint(0, 15)});
  EXPECT_EQ(Top(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1"))), 122);
  EXPECT_EQ(scope.State().CH1TriggerV, 0);
  EXPECT_EQ(scope.TriggerLevelReadout()->text(), QStringLiteral("0 V"));
  EXPECT_EQ(scope.TriggerLevelCounts()->text(), QStringLiteral("0"));
  EXPECT_TRUE(ScopeDriver(f).Find<TPanel>(QStringLiteral("TriggerVoltageLine"))->isVisible());
  EXPECT_EQ(LineRow(), 122);
  EXPECT_EQ(scope.State().MouseIsDown, 0);
  EXPECT_TRUE(TForm1::Enabled(ScopeDriver(f).Timer(QStringLiteral("TrigVoltLineTimer"))));

  // Below the line: a negative level.
  Drag(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1")), QPoint(10, 7), {QPoint(0, 25)});
  EXPECT_EQ(scope.State().CH1TriggerV, -32);
  EXPECT_EQ(scope.TriggerLevelReadout()->text(), Readout("-2.49"));

  // Up against the top of the strip: it stops at 2 and never hides.
  Drag(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1")), QPoint(10, 7), {QPoint(0, -100), QPoint(0, -100), QPoint(0, -100)});
  EXPECT_EQ(Top(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1"))), 2);
  EXPECT_TRUE(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1"))->isVisible());
  EXPECT_FALSE(ScopeDriver(f).Find<TImage>(QStringLiteral("TrigUP"))->isVisible());
  EXPECT_EQ(scope.State().CH1TriggerV, (122 - 2) * 100 / 78);
  Drag(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1")), QPoint(10, 7), {QPoint(0, 1000)});
  EXPECT_EQ(Top(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1"))), 399);
  EXPECT_FALSE(ScopeDriver(f).Find<TImage>(QStringLiteral("TrigDWN"))->isVisible());

  // CH2's arrow sets CH2's level against CH2's line (287, 5 V/div).
  ScopeDriver(f).MenuItem(QStringLiteral("CH21"))->trigger();
  Drag(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH2")), QPoint(10, 7), {QPoint(0, -39)});
  EXPECT_EQ(Top(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH2"))), 247);
  EXPECT_EQ(scope.State().CH2TriggerV, 40 * 100 / 78);
  EXPECT_EQ(scope.TriggerLevelReadout()->text(), Readout("3.97"));
  EXPECT_TRUE(NoErrors()) << w.ui.errors.join('\n').toStdString();
}

TEST_F(TriggerWindow, ReadoutUsesTheUsersDecimalSeparator) {
  const QLocale before;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  ScopeDriver(f).MenuItem(QStringLiteral("CH11"))->trigger();
  EXPECT_EQ(scope.TriggerLevelReadout()->text(), QStringLiteral("2,49 V"));
  ScopeDriver(f).TriggerLevelEdit()->show();
  TypeLevel(f, QStringLiteral("1,25"));
  EXPECT_EQ(scope.State().CH1TriggerV, 16);
  EXPECT_EQ(scope.TriggerLevelReadout()->text(), QStringLiteral("1,24 V"));
  QLocale::setDefault(before);
  EXPECT_TRUE(NoErrors()) << w.ui.errors.join('\n').toStdString();
}

TEST_F(TriggerWindow, ReadoutFollowsTheRangeOfTheCount) {
  struct Case {
    int angle;
    int counts;
    const char* volts;
  } cases[] = {{Row5V, 32, "2.49"}, {Row500mV, 32, "0.48"}, {Row10V, -5, "-0.39"}, {Row100mV, 0, "0"}};
  for (const Case& c : cases) {
    SetCH1Row(c.angle);
    scope.State().CH1TriggerV = c.counts;
    f.ShowTriggerLevel(1);
    EXPECT_EQ(scope.TriggerLevelReadout()->text(), Readout(c.volts)) << c.counts;
  }
}

TEST_F(TriggerWindow, TypedLevelsOnBothRanges) {
  DoubleClick(scope.TriggerLevelReadout());
  ASSERT_TRUE(ScopeDriver(f).TriggerLevelEdit()->isVisible());

  // Keys other than Enter, and leaving the box, change nothing.
  ScopeDriver(f).TriggerLevelEdit()->clear();
  QTest::keyClicks(ScopeDriver(f).TriggerLevelEdit(), Local("1.25"));
  QTest::keyClick(ScopeDriver(f).TriggerLevelEdit(), Qt::Key_Tab);
  QTest::keyClick(ScopeDriver(f).TriggerLevelEdit(), Qt::Key_Escape);
  ScopeDriver(f).TriggerLevelEdit()->clearFocus();
  EXPECT_TRUE(ScopeDriver(f).TriggerLevelEdit()->isVisible());
  EXPECT_EQ(scope.State().CH1TriggerV, 32);

  TypeLevel(f, Local("1.25"));
  EXPECT_FALSE(ScopeDriver(f).TriggerLevelEdit()->isVisible());
  EXPECT_EQ(scope.State().CH1TriggerV, 16);
  EXPECT_EQ(scope.TriggerLevelReadout()->text(), Readout("1.24"));
  EXPECT_EQ(Top(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1"))), 122 - 1 - 16 * 78 / 100);

  SetCH1Row(Row500mV);
  DoubleClick(scope.TriggerLevelReadout());
  TypeLevel(f, Local("1.25"), Qt::Key_Enter);  // the keypad's Enter takes it too
  EXPECT_EQ(scope.State().CH1TriggerV, 83);
  EXPECT_EQ(scope.TriggerLevelReadout()->text(), Readout("1.24"));
  EXPECT_EQ(Top(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1"))), 122 - 1 - 83 * 156 / 100);

  // Outside +/-10 V: "0" in the readout, the level kept and the box open.
  DoubleClick(scope.TriggerLevelReadout());
  for (const char* refused : {"10.5", "-10.01"}) {
    TypeLevel(f, Local(refused));
    EXPECT_EQ(scope.TriggerLevelReadout()->text(), QStringLiteral("0"));
    EXPECT_EQ(scope.State().CH1TriggerV, 83);
    EXPECT_TRUE(ScopeDriver(f).TriggerLevelEdit()->isVisible());
  }
  // Exactly 10 V is taken.
  TypeLevel(f, QStringLiteral("-10"));
  EXPECT_EQ(scope.State().CH1TriggerV, -666);
  EXPECT_FALSE(ScopeDriver(f).TriggerLevelEdit()->isVisible());
  EXPECT_TRUE(NoErrors()) << w.ui.errors.join('\n').toStdString();
}

TEST_F(TriggerWindow, ATypedTextThatIsNoNumberIsReportedAndTheBoxStaysOpen) {
  DoubleClick(scope.TriggerLevelReadout());
  TypeLevel(f, QStringLiteral("abc"));
  ASSERT_EQ(w.ui.errors.size(), 1);
  EXPECT_EQ(w.ui.errors[0], QStringLiteral("'abc' is not a valid floating point value"));
  EXPECT_TRUE(ScopeDriver(f).TriggerLevelEdit()->isVisible());
  EXPECT_EQ(scope.State().CH1TriggerV, 32);
  EXPECT_EQ(scope.TriggerLevelReadout()->text(), Readout("2.49"));
  // The next try in the same box goes through.
  TypeLevel(f, Local("2.5"));
  EXPECT_EQ(scope.State().CH1TriggerV, 32);
  EXPECT_FALSE(ScopeDriver(f).TriggerLevelEdit()->isVisible());
}

TEST_F(TriggerWindow, ATypedLevelOnEXTSetsCH2AndReplacesTTL) {
  ScopeDriver(f).MenuItem(QStringLiteral("EXT1"))->trigger();
  DoubleClick(scope.TriggerLevelReadout());
  TypeLevel(f, Local("-1"));
  EXPECT_EQ(scope.State().CH2TriggerV, -12);
  EXPECT_EQ(scope.State().CH1TriggerV, 32);
  EXPECT_EQ(scope.TriggerLevelReadout()->text(), Readout("-0.93"));
  // The CH2 arrow moved but everything on the strip stays hidden for EXT.
  EXPECT_EQ(Top(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH2"))), 287 - 1 + 9);
  for (QWidget* hidden : {static_cast<QWidget*>(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1"))), static_cast<QWidget*>(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH2"))),
                          static_cast<QWidget*>(ScopeDriver(f).Find<TImage>(QStringLiteral("TrigUP"))), static_cast<QWidget*>(ScopeDriver(f).Find<TImage>(QStringLiteral("TrigDWN"))),
                          static_cast<QWidget*>(ScopeDriver(f).Find<TImage>(QStringLiteral("TrigUP2"))), static_cast<QWidget*>(ScopeDriver(f).Find<TImage>(QStringLiteral("TrigDWN2")))})
    EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
  EXPECT_EQ(scope.State().TriggerCH, 10);
}

TEST_F(TriggerWindow, IndicatorsStandInForAnArrowOffTheStripAndResetTo0V) {
  // At 100 mV/div a level of 1 V is 411 rows above the 0 V line.
  SetCH1Row(Row100mV);
  struct Case {
    const char* volts;
    const char* indicator;
    int landsAt;  // one pixel on the side the arrow came from
  } cases[] = {{"1", "TrigUP", 121}, {"-1", "TrigDWN", 123}};
  for (const Case& c : cases) {
    DoubleClick(scope.TriggerLevelReadout());
    TypeLevel(f, Local(c.volts));
    TImage* indicator = scope.Image(QString::fromLatin1(c.indicator));
    ASSERT_TRUE(indicator->isVisible()) << c.volts;
    EXPECT_FALSE(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1"))->isVisible());
    EXPECT_FALSE(ScopeDriver(f).Find<TPanel>(QStringLiteral("TriggerVoltageLine"))->isVisible());

    DoubleClick(indicator);
    EXPECT_EQ(scope.State().CH1TriggerV, 0);
    EXPECT_EQ(scope.TriggerLevelReadout()->text(), QStringLiteral("0 V"));
    EXPECT_EQ(Top(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1"))), c.landsAt) << c.volts;
    EXPECT_TRUE(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1"))->isVisible());
    EXPECT_FALSE(indicator->isVisible());
  }

  // CH2's indicators reset CH2.
  ScopeDriver(f).MenuItem(QStringLiteral("CH21"))->trigger();
  scope.State().KnobAngle = Row100mV;
  scope.State().CH1Focus = 0;
  scope.SettleVoltsKnob();
  DoubleClick(scope.TriggerLevelReadout());
  TypeLevel(f, Local("-1"));
  ASSERT_TRUE(ScopeDriver(f).Find<TImage>(QStringLiteral("TrigDWN2"))->isVisible());
  EXPECT_FALSE(ScopeDriver(f).Find<TImage>(QStringLiteral("TrigDWN"))->isVisible());
  DoubleClick(ScopeDriver(f).Find<TImage>(QStringLiteral("TrigDWN2")));
  EXPECT_EQ(scope.State().CH2TriggerV, 0);
  EXPECT_EQ(Top(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH2"))), 288);
  EXPECT_EQ(scope.State().CH1TriggerV, 0);
  EXPECT_TRUE(NoErrors()) << w.ui.errors.join('\n').toStdString();
}

TEST_F(TriggerWindow, AVoltsPerDivisionChangeRePlacesTheArrowFromTheStoredCount) {
  // 5 V/div, 0 V line at 122, 32 counts: 122 - 1 - 24 = 97, read back as 32.
  ASSERT_EQ(Top(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1"))), 97);
  SetCH1Row(Row10V);
  EXPECT_EQ(Top(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1"))), 122 - 1 - 12);
  EXPECT_EQ(scope.State().CH1TriggerV, 32);
  SetCH1Row(Row5V);
  EXPECT_EQ(Top(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1"))), 97);
  f.ShowTriggerLevelFromArrow();
  EXPECT_EQ(scope.State().CH1TriggerV, 32);
  EXPECT_EQ(LineRow(), 97);
}

TEST_F(TriggerWindow, TheArrowFollowsItsZeroVoltMarker) {
  // The CH1 marker down 10 rows: the arrow goes with it and keeps its level.
  Drag(scope.Marker(1), QPoint(10, 7), {QPoint(0, 10)});
  EXPECT_EQ(scope.State().CH1VertPos, 132);
  EXPECT_EQ(Top(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1"))), 107);
  EXPECT_EQ(scope.State().CH1TriggerV, 32);
  EXPECT_EQ(LineRow(), 107);

  // Up far enough that the arrow leaves the top of the strip while the
  // marker is still inside: the indicator stands in for it.
  Drag(scope.Marker(1), QPoint(10, 7), {QPoint(0, -110)});
  EXPECT_EQ(scope.State().CH1VertPos, 22);
  EXPECT_EQ(Top(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1"))), -3);
  EXPECT_TRUE(ScopeDriver(f).Find<TImage>(QStringLiteral("TrigUP"))->isVisible());
  EXPECT_FALSE(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1"))->isVisible());

  // The marker stopped at the top of its strip: the arrow is placed from the
  // stored level instead (still above the line).
  Drag(scope.Marker(1), QPoint(10, 7), {QPoint(0, -50)});
  EXPECT_EQ(scope.State().CH1VertPos, 1);
  EXPECT_EQ(Top(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1"))), 1 - 1 - scope.State().CH1TriggerV * 78 / 100);
  EXPECT_TRUE(ScopeDriver(f).Find<TImage>(QStringLiteral("TrigUP"))->isVisible());

  // CH2's marker moves CH2's arrow only.
  const int ch1Arrow = Top(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1")));
  ScopeDriver(f).MenuItem(QStringLiteral("CH21"))->trigger();
  scope.UnselectedMarker(2)->show();
  Drag(scope.Marker(2), QPoint(10, 7), {QPoint(0, -20)});
  EXPECT_EQ(Top(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH2"))), 266);
  EXPECT_EQ(Top(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1"))), ch1Arrow);
  EXPECT_TRUE(NoErrors()) << w.ui.errors.join('\n').toStdString();
}

}  // namespace

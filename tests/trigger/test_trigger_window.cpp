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
    f.CH1Focus = 1;
    f.KnobAngle = angle;
    f.UpdatedKnob();
  }
  QString Readout(const char* number) { return Local(number) + QStringLiteral(" V"); }
  int LineRow() const { return Top(f.findChild<TPanel*>("TriggerVoltageLine")) - 2; }
  bool NoErrors() const { return w.ui.errors.isEmpty(); }

  ScopeWindow w{true, /*stopWatch=*/true};
  TForm1& f = *w.form;
};

TEST_F(TriggerWindow, StartsAsDesignedWithEveryTriggerItemUsable) {
  EXPECT_TRUE(NoErrors()) << w.ui.errors.join('\n').toStdString();
  EXPECT_EQ(f.TriggerCH, 1);
  EXPECT_EQ(f.RisingTrigger, 1);
  EXPECT_EQ(f.AutoTrigger, 1);
  EXPECT_EQ(f.CH1TriggerV, 32);
  EXPECT_EQ(Left(f.findChild<TImage*>("HorTrigPos")), 251);
  EXPECT_EQ((trigger_position::PositionBytes{f.TrigPosPreLo, f.TrigPosPreHi, f.TrigPosPostLo, f.TrigPosPostHi}),
            (trigger_position::PositionBytes{208, 8, 237, 3}));
  for (QAction* checked : {f.CH11, f.Rising1, f.Auto1, f.POS50}) EXPECT_TRUE(checked->isChecked());
  for (QAction* item : {f.CH11, f.CH21, f.EXT1, f.Rising1, f.Falling2, f.Auto1, f.Normal1, f.POS10, f.POS50,
                        f.POS90})
    EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
  // 5 V/div with the 0 V line at 122: the arrow one pixel above 122 - 24.
  EXPECT_EQ(Top(f.findChild<TImage*>("TriggerArrowCH1")), 97);
  EXPECT_TRUE(f.findChild<TImage*>("TriggerArrowCH1")->isVisible());
  EXPECT_FALSE(f.findChild<TImage*>("TriggerArrowCH2")->isVisible());
  EXPECT_FALSE(f.findChild<TPanel*>("TriggerVoltageLine")->isVisible());
  EXPECT_EQ(f.findChild<TLabel*>("Label23")->text(), Readout("2.49"));
  EXPECT_TRUE(Shows(f.findChild<TImage*>("TrigSourceButton"), "CH2TrigButton.bmp"));
  EXPECT_TRUE(Shows(f.findChild<TImage*>("TriggerEdgeButton"), "TrigSymboRising.bmp"));
  // Where the buttons and the readout sit in the status strip.
  EXPECT_EQ(f.findChild<TImage*>("TrigSourceButton")->geometry(), QRect(192, 26, 25, 18));
  EXPECT_EQ(f.findChild<TImage*>("TriggerEdgeButton")->geometry(), QRect(222, 26, 18, 18));
  EXPECT_EQ(f.findChild<TPanel*>("TriggerSlider")->geometry(), QRect(529, 46, 22, 417));
  EXPECT_EQ(f.findChild<TLabel*>("Label23")->pos(), QPoint(243, 27));
}

TEST_F(TriggerWindow, SourceButtonCyclesCH1CH2EXTAndTheEdgeButtonRestsOnEXT) {
  Click(f.findChild<TImage*>("TrigSourceButton"));
  EXPECT_EQ(f.TriggerCH, 2);
  EXPECT_TRUE(f.CH21->isChecked());
  EXPECT_TRUE(Shows(f.findChild<TImage*>("TrigSourceButton"), "CH1TrigButton.bmp"));
  EXPECT_TRUE(f.findChild<TImage*>("TriggerArrowCH2")->isVisible());
  EXPECT_FALSE(f.findChild<TImage*>("TriggerArrowCH1")->isVisible());
  EXPECT_EQ(f.findChild<TLabel*>("Label23")->text(), QStringLiteral("0 V"));

  Click(f.findChild<TImage*>("TrigSourceButton"));
  EXPECT_EQ(f.TriggerCH, 10);
  EXPECT_TRUE(f.EXT1->isChecked());
  EXPECT_FALSE(f.CH11->isChecked() || f.CH21->isChecked());
  EXPECT_TRUE(Shows(f.findChild<TImage*>("TrigSourceButton"), "EXTTrigButton.bmp"));
  EXPECT_EQ(f.findChild<TLabel*>("Label23")->text(), QStringLiteral("TTL"));
  EXPECT_FALSE(f.findChild<TImage*>("TriggerArrowCH1")->isVisible() || f.findChild<TImage*>("TriggerArrowCH2")->isVisible());
  EXPECT_FALSE(f.findChild<TPanel*>("TriggerVoltageLine")->isVisible());
  // The TTL input: the edge value is false while Rising is shown, Falling
  // cannot be chosen and the edge button does nothing.
  EXPECT_EQ(f.RisingTrigger, 0);
  EXPECT_TRUE(f.Rising1->isChecked());
  EXPECT_FALSE(f.Falling2->isChecked());
  EXPECT_FALSE(f.Falling2->isEnabled());
  EXPECT_TRUE(Shows(f.findChild<TImage*>("TriggerEdgeButton"), "TrigSymboRising.bmp"));
  Click(f.findChild<TImage*>("TriggerEdgeButton"));
  f.Falling2->trigger();
  EXPECT_EQ(f.RisingTrigger, 0);
  EXPECT_TRUE(f.Rising1->isChecked());
  EXPECT_TRUE(Shows(f.findChild<TImage*>("TriggerEdgeButton"), "TrigSymboRising.bmp"));

  Click(f.findChild<TImage*>("TrigSourceButton"));
  EXPECT_EQ(f.TriggerCH, 1);
  EXPECT_TRUE(f.CH11->isChecked());
  EXPECT_TRUE(Shows(f.findChild<TImage*>("TrigSourceButton"), "CH2TrigButton.bmp"));
  EXPECT_EQ(f.RisingTrigger, 1);  // leaving EXT makes the value rising again
  EXPECT_TRUE(f.Falling2->isEnabled());
  EXPECT_TRUE(f.findChild<TImage*>("TriggerArrowCH1")->isVisible());
  EXPECT_EQ(f.findChild<TLabel*>("Label23")->text(), Readout("2.49"));
  EXPECT_TRUE(NoErrors()) << w.ui.errors.join('\n').toStdString();
}

TEST_F(TriggerWindow, FromEXTToCH2TheEdgeIsRisingAndTheRedLineShowsForThreeSeconds) {
  f.EXT1->trigger();
  ASSERT_EQ(f.RisingTrigger, 0);
  f.CH21->trigger();
  EXPECT_EQ(f.TriggerCH, 2);
  EXPECT_EQ(f.RisingTrigger, 1);
  EXPECT_TRUE(f.Rising1->isChecked());
  EXPECT_FALSE(f.Falling2->isChecked());
  EXPECT_TRUE(f.findChild<TPanel*>("TriggerVoltageLine")->isVisible());
  EXPECT_EQ(f.findChild<TPanel*>("TriggerVoltageLine")->Color(), CH2Red);
  EXPECT_EQ(LineRow(), Top(f.findChild<TImage*>("TriggerArrowCH2")));
  EXPECT_EQ(f.findChild<TPanel*>("TriggerVoltageLine")->geometry().adjusted(0, 0, 0, 0).size(), QSize(494, 1));
  ASSERT_TRUE(TForm1::Enabled(f.TrigVoltLineTimer));
  EXPECT_EQ(f.TrigVoltLineTimer->interval(), 3000);

  // The timer's handler hides the line and stops itself (run here at a
  // shortened interval rather than waiting the 3 s).
  f.TrigVoltLineTimer->setInterval(5);
  ASSERT_TRUE(WaitFor([&] { return !f.findChild<TPanel*>("TriggerVoltageLine")->isVisible(); }));
  EXPECT_FALSE(TForm1::Enabled(f.TrigVoltLineTimer));

  // Back to CH1: the line in the CH1 colour on the CH1 arrow's row.
  f.TrigVoltLineTimer->setInterval(3000);
  f.CH11->trigger();
  EXPECT_EQ(f.findChild<TPanel*>("TriggerVoltageLine")->Color(), CH1Blue);
  EXPECT_EQ(LineRow(), Top(f.findChild<TImage*>("TriggerArrowCH1")));
  EXPECT_TRUE(f.findChild<TPanel*>("TriggerVoltageLine")->isVisible());
}

TEST_F(TriggerWindow, AChannelSourceKeepsAFallingEdge) {
  Click(f.findChild<TImage*>("TriggerEdgeButton"));
  EXPECT_EQ(f.RisingTrigger, 0);
  EXPECT_TRUE(f.Falling2->isChecked());
  EXPECT_TRUE(Shows(f.findChild<TImage*>("TriggerEdgeButton"), "TrigSymboFallingl.bmp"));
  f.CH21->trigger();
  EXPECT_EQ(f.RisingTrigger, 0);
  EXPECT_TRUE(f.Falling2->isChecked());
  EXPECT_FALSE(f.Rising1->isChecked());
  Click(f.findChild<TImage*>("TriggerEdgeButton"));
  EXPECT_EQ(f.RisingTrigger, 1);
  EXPECT_TRUE(f.Rising1->isChecked());
  EXPECT_TRUE(Shows(f.findChild<TImage*>("TriggerEdgeButton"), "TrigSymboRising.bmp"));
}

TEST_F(TriggerWindow, ModeItemsSetTheMode) {
  f.Normal1->trigger();
  EXPECT_EQ(f.AutoTrigger, 0);
  EXPECT_TRUE(f.Normal1->isChecked());
  EXPECT_FALSE(f.Auto1->isChecked());
  // Auto while stopped sends one request (to no port here) and comes back
  // stopped.
  f.Auto1->trigger();
  EXPECT_EQ(f.AutoTrigger, 1);
  EXPECT_TRUE(f.Auto1->isChecked());
  EXPECT_FALSE(f.Normal1->isChecked());
  EXPECT_EQ(f.Running, 0);
  EXPECT_EQ(f.AwaitingData, 0);
}

TEST_F(TriggerWindow, PositionPresetsAndTheDraggedMarker) {
  struct Preset {
    QAction* item;
    int left;
  } presets[] = {{f.POS10, 51}, {f.POS90, 451}, {f.POS50, 251}};
  for (const Preset& p : presets) {
    p.item->trigger();
    EXPECT_EQ(Left(f.findChild<TImage*>("HorTrigPos")), p.left);
    for (QAction* other : {f.POS10, f.POS50, f.POS90}) EXPECT_EQ(other->isChecked(), other == p.item);
    const auto bytes = trigger_position::PositionBytesFor(p.left, f.HeldRecord.timeBaseIndex);
    EXPECT_EQ(f.TrigPosPreLo, bytes.preLo);
    EXPECT_EQ(f.TrigPosPostHi, bytes.postHi);
  }

  // One pixel left of 50 %: no item checked; back onto it: 50 % again.
  Drag(f.findChild<TImage*>("HorTrigPos"), QPoint(7, 30), {QPoint(-1, 0)});
  EXPECT_EQ(Left(f.findChild<TImage*>("HorTrigPos")), 250);
  EXPECT_FALSE(f.POS10->isChecked() || f.POS50->isChecked() || f.POS90->isChecked());
  EXPECT_EQ(f.TrigPosPreLo, 208);  // 250 div 2 = 251 div 2
  Drag(f.findChild<TImage*>("HorTrigPos"), QPoint(7, 30), {QPoint(1, 0)});
  EXPECT_EQ(Left(f.findChild<TImage*>("HorTrigPos")), 251);
  EXPECT_TRUE(f.POS50->isChecked());

  // To L 74, where 3000 - P = 6 x 255 and the low post byte goes out as 2.
  Drag(f.findChild<TImage*>("HorTrigPos"), QPoint(7, 30), {QPoint(-100, 0), QPoint(-77, 0)});
  EXPECT_EQ(Left(f.findChild<TImage*>("HorTrigPos")), 74);
  EXPECT_EQ(f.TrigPosPostLo, 2);
  EXPECT_EQ(f.TrigPosPostHi, 6);

  // Held over the strip however far the pointer goes.
  Drag(f.findChild<TImage*>("HorTrigPos"), QPoint(7, 30), {QPoint(-300, 0)});
  EXPECT_EQ(Left(f.findChild<TImage*>("HorTrigPos")), 1);
  Drag(f.findChild<TImage*>("HorTrigPos"), QPoint(7, 30), {QPoint(900, 0)});
  EXPECT_EQ(Left(f.findChild<TImage*>("HorTrigPos")), 501);
  EXPECT_EQ(f.TrigPosPostHi, 1);  // 0 replaced
  // Moves without a press do nothing.
  SendMouse(f.findChild<TImage*>("HorTrigPos"), QEvent::MouseMove, QPoint(-200, 30));
  EXPECT_EQ(Left(f.findChild<TImage*>("HorTrigPos")), 501);
  EXPECT_EQ(f.KnobSnap, 0);
}

TEST_F(TriggerWindow, DraggingTheArrowSetsTheLevelAndShowsTheLine) {
  // Down 25 rows onto the 0 V line.
  Drag(f.findChild<TImage*>("TriggerArrowCH1"), QPoint(10, 7), {QPoint(0, 10), QPoint(0, 15)});
  EXPECT_EQ(Top(f.findChild<TImage*>("TriggerArrowCH1")), 122);
  EXPECT_EQ(f.CH1TriggerV, 0);
  EXPECT_EQ(f.findChild<TLabel*>("Label23")->text(), QStringLiteral("0 V"));
  EXPECT_EQ(f.findChild<TLabel*>("Label12")->text(), QStringLiteral("0"));
  EXPECT_TRUE(f.findChild<TPanel*>("TriggerVoltageLine")->isVisible());
  EXPECT_EQ(LineRow(), 122);
  EXPECT_EQ(f.MouseIsDown, 0);
  EXPECT_TRUE(TForm1::Enabled(f.TrigVoltLineTimer));

  // Below the line: a negative level.
  Drag(f.findChild<TImage*>("TriggerArrowCH1"), QPoint(10, 7), {QPoint(0, 25)});
  EXPECT_EQ(f.CH1TriggerV, -32);
  EXPECT_EQ(f.findChild<TLabel*>("Label23")->text(), Readout("-2.49"));

  // Up against the top of the strip: it stops at 2 and never hides.
  Drag(f.findChild<TImage*>("TriggerArrowCH1"), QPoint(10, 7), {QPoint(0, -100), QPoint(0, -100), QPoint(0, -100)});
  EXPECT_EQ(Top(f.findChild<TImage*>("TriggerArrowCH1")), 2);
  EXPECT_TRUE(f.findChild<TImage*>("TriggerArrowCH1")->isVisible());
  EXPECT_FALSE(f.findChild<TImage*>("TrigUP")->isVisible());
  EXPECT_EQ(f.CH1TriggerV, (122 - 2) * 100 / 78);
  Drag(f.findChild<TImage*>("TriggerArrowCH1"), QPoint(10, 7), {QPoint(0, 1000)});
  EXPECT_EQ(Top(f.findChild<TImage*>("TriggerArrowCH1")), 399);
  EXPECT_FALSE(f.findChild<TImage*>("TrigDWN")->isVisible());

  // CH2's arrow sets CH2's level against CH2's line (287, 5 V/div).
  f.CH21->trigger();
  Drag(f.findChild<TImage*>("TriggerArrowCH2"), QPoint(10, 7), {QPoint(0, -39)});
  EXPECT_EQ(Top(f.findChild<TImage*>("TriggerArrowCH2")), 247);
  EXPECT_EQ(f.CH2TriggerV, 40 * 100 / 78);
  EXPECT_EQ(f.findChild<TLabel*>("Label23")->text(), Readout("3.97"));
  EXPECT_TRUE(NoErrors()) << w.ui.errors.join('\n').toStdString();
}

TEST_F(TriggerWindow, ReadoutUsesTheUsersDecimalSeparator) {
  const QLocale before;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  f.CH11->trigger();
  EXPECT_EQ(f.findChild<TLabel*>("Label23")->text(), QStringLiteral("2,49 V"));
  f.findChild<QLineEdit*>("TriggerVEdit")->show();
  TypeLevel(f, QStringLiteral("1,25"));
  EXPECT_EQ(f.CH1TriggerV, 16);
  EXPECT_EQ(f.findChild<TLabel*>("Label23")->text(), QStringLiteral("1,24 V"));
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
    f.CH1TriggerV = c.counts;
    f.ShowTriggerLevel(1);
    EXPECT_EQ(f.findChild<TLabel*>("Label23")->text(), Readout(c.volts)) << c.counts;
  }
}

TEST_F(TriggerWindow, TypedLevelsOnBothRanges) {
  DoubleClick(f.findChild<TLabel*>("Label23"));
  ASSERT_TRUE(f.findChild<QLineEdit*>("TriggerVEdit")->isVisible());

  // Keys other than Enter, and leaving the box, change nothing.
  f.findChild<QLineEdit*>("TriggerVEdit")->clear();
  QTest::keyClicks(f.findChild<QLineEdit*>("TriggerVEdit"), Local("1.25"));
  QTest::keyClick(f.findChild<QLineEdit*>("TriggerVEdit"), Qt::Key_Tab);
  QTest::keyClick(f.findChild<QLineEdit*>("TriggerVEdit"), Qt::Key_Escape);
  f.findChild<QLineEdit*>("TriggerVEdit")->clearFocus();
  EXPECT_TRUE(f.findChild<QLineEdit*>("TriggerVEdit")->isVisible());
  EXPECT_EQ(f.CH1TriggerV, 32);

  TypeLevel(f, Local("1.25"));
  EXPECT_FALSE(f.findChild<QLineEdit*>("TriggerVEdit")->isVisible());
  EXPECT_EQ(f.CH1TriggerV, 16);
  EXPECT_EQ(f.findChild<TLabel*>("Label23")->text(), Readout("1.24"));
  EXPECT_EQ(Top(f.findChild<TImage*>("TriggerArrowCH1")), 122 - 1 - 16 * 78 / 100);

  SetCH1Row(Row500mV);
  DoubleClick(f.findChild<TLabel*>("Label23"));
  TypeLevel(f, Local("1.25"), Qt::Key_Enter);  // the keypad's Enter takes it too
  EXPECT_EQ(f.CH1TriggerV, 83);
  EXPECT_EQ(f.findChild<TLabel*>("Label23")->text(), Readout("1.24"));
  EXPECT_EQ(Top(f.findChild<TImage*>("TriggerArrowCH1")), 122 - 1 - 83 * 156 / 100);

  // Outside +/-10 V: "0" in the readout, the level kept and the box open.
  DoubleClick(f.findChild<TLabel*>("Label23"));
  for (const char* refused : {"10.5", "-10.01"}) {
    TypeLevel(f, Local(refused));
    EXPECT_EQ(f.findChild<TLabel*>("Label23")->text(), QStringLiteral("0"));
    EXPECT_EQ(f.CH1TriggerV, 83);
    EXPECT_TRUE(f.findChild<QLineEdit*>("TriggerVEdit")->isVisible());
  }
  // Exactly 10 V is taken.
  TypeLevel(f, QStringLiteral("-10"));
  EXPECT_EQ(f.CH1TriggerV, -666);
  EXPECT_FALSE(f.findChild<QLineEdit*>("TriggerVEdit")->isVisible());
  EXPECT_TRUE(NoErrors()) << w.ui.errors.join('\n').toStdString();
}

TEST_F(TriggerWindow, ATypedTextThatIsNoNumberIsReportedAndTheBoxStaysOpen) {
  DoubleClick(f.findChild<TLabel*>("Label23"));
  TypeLevel(f, QStringLiteral("abc"));
  ASSERT_EQ(w.ui.errors.size(), 1);
  EXPECT_EQ(w.ui.errors[0], QStringLiteral("'abc' is not a valid floating point value"));
  EXPECT_TRUE(f.findChild<QLineEdit*>("TriggerVEdit")->isVisible());
  EXPECT_EQ(f.CH1TriggerV, 32);
  EXPECT_EQ(f.findChild<TLabel*>("Label23")->text(), Readout("2.49"));
  // The next try in the same box goes through.
  TypeLevel(f, Local("2.5"));
  EXPECT_EQ(f.CH1TriggerV, 32);
  EXPECT_FALSE(f.findChild<QLineEdit*>("TriggerVEdit")->isVisible());
}

TEST_F(TriggerWindow, ATypedLevelOnEXTSetsCH2AndReplacesTTL) {
  f.EXT1->trigger();
  DoubleClick(f.findChild<TLabel*>("Label23"));
  TypeLevel(f, Local("-1"));
  EXPECT_EQ(f.CH2TriggerV, -12);
  EXPECT_EQ(f.CH1TriggerV, 32);
  EXPECT_EQ(f.findChild<TLabel*>("Label23")->text(), Readout("-0.93"));
  // The CH2 arrow moved but everything on the strip stays hidden for EXT.
  EXPECT_EQ(Top(f.findChild<TImage*>("TriggerArrowCH2")), 287 - 1 + 9);
  for (QWidget* hidden : {static_cast<QWidget*>(f.findChild<TImage*>("TriggerArrowCH1")), static_cast<QWidget*>(f.findChild<TImage*>("TriggerArrowCH2")),
                          static_cast<QWidget*>(f.findChild<TImage*>("TrigUP")), static_cast<QWidget*>(f.findChild<TImage*>("TrigDWN")),
                          static_cast<QWidget*>(f.findChild<TImage*>("TrigUP2")), static_cast<QWidget*>(f.findChild<TImage*>("TrigDWN2"))})
    EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
  EXPECT_EQ(f.TriggerCH, 10);
}

TEST_F(TriggerWindow, IndicatorsStandInForAnArrowOffTheStripAndResetTo0V) {
  // At 100 mV/div a level of 1 V is 411 rows above the 0 V line.
  SetCH1Row(Row100mV);
  struct Case {
    const char* volts;
    const char* indicator;  // its object name
    int landsAt;  // one pixel on the side the arrow came from
  } cases[] = {{"1", "TrigUP", 121}, {"-1", "TrigDWN", 123}};
  for (const Case& c : cases) {
    DoubleClick(f.findChild<TLabel*>("Label23"));
    TypeLevel(f, Local(c.volts));
    TImage* indicator = f.findChild<TImage*>(c.indicator);
    ASSERT_TRUE(indicator->isVisible()) << c.volts;
    EXPECT_FALSE(f.findChild<TImage*>("TriggerArrowCH1")->isVisible());
    EXPECT_FALSE(f.findChild<TPanel*>("TriggerVoltageLine")->isVisible());

    DoubleClick(indicator);
    EXPECT_EQ(f.CH1TriggerV, 0);
    EXPECT_EQ(f.findChild<TLabel*>("Label23")->text(), QStringLiteral("0 V"));
    EXPECT_EQ(Top(f.findChild<TImage*>("TriggerArrowCH1")), c.landsAt) << c.volts;
    EXPECT_TRUE(f.findChild<TImage*>("TriggerArrowCH1")->isVisible());
    EXPECT_FALSE(indicator->isVisible());
  }

  // CH2's indicators reset CH2.
  f.CH21->trigger();
  f.KnobAngle = Row100mV;
  f.CH1Focus = 0;
  f.UpdatedKnob();
  DoubleClick(f.findChild<TLabel*>("Label23"));
  TypeLevel(f, Local("-1"));
  ASSERT_TRUE(f.findChild<TImage*>("TrigDWN2")->isVisible());
  EXPECT_FALSE(f.findChild<TImage*>("TrigDWN")->isVisible());
  DoubleClick(f.findChild<TImage*>("TrigDWN2"));
  EXPECT_EQ(f.CH2TriggerV, 0);
  EXPECT_EQ(Top(f.findChild<TImage*>("TriggerArrowCH2")), 288);
  EXPECT_EQ(f.CH1TriggerV, 0);
  EXPECT_TRUE(NoErrors()) << w.ui.errors.join('\n').toStdString();
}

TEST_F(TriggerWindow, AVoltsPerDivisionChangeRePlacesTheArrowFromTheStoredCount) {
  // 5 V/div, 0 V line at 122, 32 counts: 122 - 1 - 24 = 97, read back as 32.
  ASSERT_EQ(Top(f.findChild<TImage*>("TriggerArrowCH1")), 97);
  SetCH1Row(Row10V);
  EXPECT_EQ(Top(f.findChild<TImage*>("TriggerArrowCH1")), 122 - 1 - 12);
  EXPECT_EQ(f.CH1TriggerV, 32);
  SetCH1Row(Row5V);
  EXPECT_EQ(Top(f.findChild<TImage*>("TriggerArrowCH1")), 97);
  f.ShowTriggerLevelFromArrow();
  EXPECT_EQ(f.CH1TriggerV, 32);
  EXPECT_EQ(LineRow(), 97);
}

TEST_F(TriggerWindow, TheArrowFollowsItsZeroVoltMarker) {
  // The CH1 marker down 10 rows: the arrow goes with it and keeps its level.
  Drag(f.Image1, QPoint(10, 7), {QPoint(0, 10)});
  EXPECT_EQ(f.CH1VertPos, 132);
  EXPECT_EQ(Top(f.findChild<TImage*>("TriggerArrowCH1")), 107);
  EXPECT_EQ(f.CH1TriggerV, 32);
  EXPECT_EQ(LineRow(), 107);

  // Up far enough that the arrow leaves the top of the strip while the
  // marker is still inside: the indicator stands in for it.
  Drag(f.Image1, QPoint(10, 7), {QPoint(0, -110)});
  EXPECT_EQ(f.CH1VertPos, 22);
  EXPECT_EQ(Top(f.findChild<TImage*>("TriggerArrowCH1")), -3);
  EXPECT_TRUE(f.findChild<TImage*>("TrigUP")->isVisible());
  EXPECT_FALSE(f.findChild<TImage*>("TriggerArrowCH1")->isVisible());

  // The marker stopped at the top of its strip: the arrow is placed from the
  // stored level instead (still above the line).
  Drag(f.Image1, QPoint(10, 7), {QPoint(0, -50)});
  EXPECT_EQ(f.CH1VertPos, 1);
  EXPECT_EQ(Top(f.findChild<TImage*>("TriggerArrowCH1")), 1 - 1 - f.CH1TriggerV * 78 / 100);
  EXPECT_TRUE(f.findChild<TImage*>("TrigUP")->isVisible());

  // CH2's marker moves CH2's arrow only.
  const int ch1Arrow = Top(f.findChild<TImage*>("TriggerArrowCH1"));
  f.CH21->trigger();
  f.CH2NS->show();
  Drag(f.Image2, QPoint(10, 7), {QPoint(0, -20)});
  EXPECT_EQ(Top(f.findChild<TImage*>("TriggerArrowCH2")), 266);
  EXPECT_EQ(Top(f.findChild<TImage*>("TriggerArrowCH1")), ch1Arrow);
  EXPECT_TRUE(NoErrors()) << w.ui.errors.join('\n').toStdString();
}

}  // namespace

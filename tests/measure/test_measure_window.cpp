// The measurement panel on the real window: the readings after a frame, the
// labels of a channel that is off, the switch that widens and narrows the
// window, and a capture of the simulated instrument measured end to end.

#include "sim/SimServer.h"
#include "storage/SettingsStore.h"
#include "support/ConfigHome.h"
#include "support/ScopeWindow.h"
#include "support/TextFit.h"

#include <gtest/gtest.h>

#include <QAction>

namespace {

class MeasureWindow : public ::testing::Test {
 protected:
  ScopeWindow w{true, /*stopWatch=*/true};
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;
  std::string Errors() const { return w.ui.errors.join('\n').toStdString(); }
};

// The longest text each label of the panel can hold, in the type it really
// got. Digits are all one width, so the longest form of a text stands for
// every value of that form. The window holds at most 497 samples, so a period
// is at most 496 samples of 20000 us; a voltage is (126 - c) x 784 / 100 with
// c a count less its calibration offset, four digits at most.
struct LongestText {
  const char* ch1Label;
  const char* ch2Label;
  const char* text;
};
const LongestText MeasurementTexts[] = {
    {"CH1Max", "CH2Max", "-10.89 V"},
    {"CH1Min", "Ch2Min", "-10.89 V"},
    {"CH1PkPk", "CH2PkPk", "19.99 V"},
    {"CH1Mean", "Ch2Mean", "-10.89 V"},
    {"Ch1RMS", "Ch2RMS", "-10.89 V"},
    {"CH1Period", "Ch2Period", "496.0 ms"},
    {"Ch1Freq", "Ch2Freq", "3.47 KHz"},
    {"Ch1Freq", "Ch2Freq", "33.33 Hz"},
    {"CH1PosPulseWidth", "CH2pulsewidth", "495.0 ms"},
    {"Ch1NegPulseWidth", "CH2NegPulseWidth", "495.0 ms"},
    {"CH1DutyCyle", "CH2DutyCyc", "No Cycle"},
    {"CH1DutyCyle", "CH2DutyCyc", "100%"},
    {"Label28", "Label25", "Pos. Duty Cycle"},
    {"Label17", "Label32", "Pk-Pk Voltage"},
    {"fsdfsd", "Label22", "+ Pulse Width"},
    {"Label27", "Label24", "- Pulse Width"},
};

TEST_F(MeasureWindow, TheLongestTextOfEachLabelFitsItUprightAndLeftAligned) {
  for (const LongestText& row : MeasurementTexts)
    for (const char* name : {row.ch1Label, row.ch2Label}) {
      SCOPED_TRACE(std::string(name) + " \"" + row.text + "\"");
      auto* label = ScopeDriver(f).Find<TPanel>(QStringLiteral("MeasurePanel"))->findChild<QLabel*>(QString::fromLatin1(name));
      ASSERT_NE(label, nullptr);
      const TextFit fit = FitOf(*label, QString::fromLatin1(row.text));
      EXPECT_EQ(fit.family, QStringLiteral("DejaVu Sans"));
      EXPECT_FALSE(fit.bold);
      EXPECT_FALSE(fit.italic);
      EXPECT_TRUE(fit.Fits()) << testing::PrintToString(fit);
      EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    }
}

TEST_F(MeasureWindow, ReadingsOfTheFrameAndHiddenValuesOfAChannelThatIsOff) {
  scope.State().Running = 0;
  scope.State().HeldRecord.SetTimeBase(5, false);
  scope.State().HeldRecord.samplePeriodUs = 10;
  scope.State().HeldRecord.channels[0].highRange = scope.State().HeldRecord.channels[1].highRange = true;
  scope.State().CalCH1H = scope.State().CalCH2H = 0;
  scope.State().ChannelOn[1] = 1;
  scope.State().ChannelOn[2] = 0;
  // CH1: 120 five times, 80 three times; CH2 flat at 0 V.
  for (int i = 1; i <= 3000; ++i) {
    scope.State().HeldRecord.ch1[std::size_t(i)] = (i - 1) % 8 < 5 ? 120 : 80;
    scope.State().HeldRecord.ch2[std::size_t(i)] = 126;
  }
  SetLeft(scope.ViewWindowMarker(), 173);  // samples 503..999: the view starts on a 120 run
  scope.DrawHeldRecord();
  scope.MeasureHeldRecord();
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1Period"))->text(), QStringLiteral("80 us"));
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("Ch1Freq"))->text(), QStringLiteral("12.5 KHz"));
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1PosPulseWidth"))->text(), QStringLiteral("30 us"));
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("Ch1NegPulseWidth"))->text(), QStringLiteral("50 us"));
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1DutyCyle"))->text(), QStringLiteral("37%"));
  EXPECT_TRUE(ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1Max"))->isVisible());
  // The channel that is off is measured, its values hidden, its captions shown.
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("CH2DutyCyc"))->text(), QStringLiteral("No Cycle"));
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("Ch2Freq"))->text(), QStringLiteral("0 Hz"));
  EXPECT_FALSE(ScopeDriver(f).Find<TLabel>(QStringLiteral("CH2Max"))->isVisible());
  EXPECT_FALSE(ScopeDriver(f).Find<TLabel>(QStringLiteral("CH2DutyCyc"))->isVisible());
  auto* caption = f.findChild<TLabel*>(QStringLiteral("Label30"));
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->text(), QStringLiteral("Max Voltage"));
  EXPECT_TRUE(caption->isVisible());

  // The stretched record: samples 2 us apart at 1 us a column.
  scope.State().HeldRecord.SetTimeBase(2, scope.State().HeldRecord.rate1MS);
  scope.State().HeldRecord.samplePeriodUs = 1;
  scope.DrawHeldRecord();
  scope.MeasureHeldRecord();
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1Period"))->text(), QStringLiteral("16 us"));
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
}

TEST_F(MeasureWindow, TheSwitchWidensAndNarrowsTheWindowKeepsTheTextsAndIsStored) {
  if (scope.State().AutoMeasOn == 1) ScopeDriver(f).MenuItem(QStringLiteral("AutoMeasurementsON1"))->trigger();
  ASSERT_EQ(scope.State().AutoMeasOn, 0);
  EXPECT_EQ(f.FormWidth(), 792);
  EXPECT_EQ(ScopeDriver(f).MenuItem(QStringLiteral("AutoMeasurementsON1"))->text(), QStringLiteral("Auto Measurements ON"));
  EXPECT_EQ(f.SettingsRegistry.ReadInteger(QStringLiteral("AutoMeasONOFF")), 2);

  ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1Max"))->setText(QStringLiteral("1.23 V"));
  ScopeDriver(f).MenuItem(QStringLiteral("AutoMeasurementsON1"))->trigger();
  EXPECT_EQ(scope.State().AutoMeasOn, 1);
  EXPECT_EQ(f.FormWidth(), 984);
  EXPECT_EQ(ScopeDriver(f).MenuItem(QStringLiteral("AutoMeasurementsON1"))->text(), QStringLiteral("Auto Measurements OFF"));
  EXPECT_EQ(f.SettingsRegistry.ReadInteger(QStringLiteral("AutoMeasONOFF")), 1);
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1Max"))->text(), QStringLiteral("1.23 V"));  // nothing computed by the switch
}

// Two runs of the program on one settings store.
class MeasureRestart : public ConfigHomeFixture {};

TEST_F(MeasureRestart, ARestartShowsThePanelAsItWasLeft) {
  {
    ScopeWindow first(true, true, ScopeWindow::Store::FromEnvironment);
    if (first->State().AutoMeasOn == 1) first.scope.MenuItem(QStringLiteral("AutoMeasurementsON1"))->trigger();
    ASSERT_EQ(first->State().AutoMeasOn, 0);
  }
  {
    ScopeWindow second(true, true, ScopeWindow::Store::FromEnvironment);
    EXPECT_EQ(second->State().AutoMeasOn, 0);
    EXPECT_EQ(second->FormWidth(), 792);
    EXPECT_EQ(second.scope.MenuItem(QStringLiteral("AutoMeasurementsON1"))->text(), QStringLiteral("Auto Measurements ON"));
    second.scope.MenuItem(QStringLiteral("AutoMeasurementsON1"))->trigger();
  }
  ScopeWindow third(true, true, ScopeWindow::Store::FromEnvironment);
  EXPECT_EQ(third->State().AutoMeasOn, 1);
  EXPECT_EQ(third->FormWidth(), 984);
  EXPECT_EQ(third.scope.MenuItem(QStringLiteral("AutoMeasurementsON1"))->text(), QStringLiteral("Auto Measurements OFF"));
  EXPECT_TRUE(third.ui.errors.isEmpty()) << third.ui.errors.join('\n').toStdString();
}

TEST_F(MeasureWindow, ASquareWaveOfTheSimulatorMeasuredAfterItsCapture) {
  sim::SimConfig config;
  config.inputs.ch1 = {sim::Shape::Square, 2000.0, 2.5, 0.0};
  sim::SimServer server(config);
  ASSERT_TRUE(f.SerialPort.Open(server.SlavePath(), "9600", "NONE", "8", false));
  if (scope.State().AutoMeasOn != 1) ScopeDriver(f).MenuItem(QStringLiteral("AutoMeasurementsON1"))->trigger();
  // A view that begins inside a low half-period: it holds one whole cycle
  // after it, whatever the trigger's jitter of a sample or two.
  SetLeft(scope.ViewWindowMarker(), 52);
  ScopeDriver(f).MenuItem(QStringLiteral("Single"))->trigger();
  ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger();
  ASSERT_TRUE(WaitFor([&] { return scope.State().Running == 0 && scope.State().AwaitingData == 0 && scope.State().PlotValid == 1; }, 20000));
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
  // 100 us/div: 2 us a sample, 250 samples a period, read to within the
  // sample where the edges fall.
  ASSERT_TRUE(ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1Period"))->text().endsWith(QStringLiteral(" us"))) << ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1Period"))->text().toStdString();
  EXPECT_NEAR(ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1Period"))->text().chopped(3).toInt(), 500, 2) << ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1Period"))->text().toStdString();
  // 498 us reads 2.00 KHz, 502 us 1.99 KHz: the frequency's digits are cut.
  EXPECT_TRUE(ScopeDriver(f).Find<TLabel>(QStringLiteral("Ch1Freq"))->text() == QStringLiteral("2.00 KHz") || ScopeDriver(f).Find<TLabel>(QStringLiteral("Ch1Freq"))->text() == QStringLiteral("1.99 KHz"))
      << ScopeDriver(f).Find<TLabel>(QStringLiteral("Ch1Freq"))->text().toStdString();
  const int duty = ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1DutyCyle"))->text().chopped(1).toInt();
  EXPECT_NEAR(duty, 50, 2) << ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1DutyCyle"))->text().toStdString();
  // +/-2.5 V at 5 V/div: within one count (78 mV) of the levels.
  auto volts = [](const TLabel* label) { return label->text().chopped(2).toDouble(); };
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1Max"))->text().right(2), QStringLiteral(" V"));
  EXPECT_NEAR(volts(ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1Max"))), 2.5, 0.079) << ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1Max"))->text().toStdString();
  EXPECT_NEAR(volts(ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1Min"))), -2.5, 0.079) << ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1Min"))->text().toStdString();
  EXPECT_NEAR(volts(ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1PkPk"))), 5.0, 0.079) << ScopeDriver(f).Find<TLabel>(QStringLiteral("CH1PkPk"))->text().toStdString();
}

}  // namespace

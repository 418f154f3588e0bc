// A stopped record read again after the knobs have turned, on the real window
// with a record of the simulated instrument: the measurement texts, the cursor
// readouts, the voltage lines that snap puts on the trace, and a reference
// saved from it are those of the record as it was captured (its ranges, the
// calibration of those ranges, its scales and time base), not of the panel.

#include "storage/TextLines.h"
#include "support/KnobDetents.h"
#include "support/SquareWaveWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

namespace {

class HeldRecordReaders : public SquareWaveWindow {
 protected:
  HeldRecordReaders() {
    // Each range calibrated to its own offset, so a reader that took the
    // calibration of the panel's present range would read another count.
    scope.State().CalCH1H = 3;
    scope.State().CalCH1L = -7;
    scope.State().CalCH2H = 2;
    scope.State().CalCH2L = -4;
  }

  // Everything the screen reads from the held record, after it has been
  // drawn again (as a view change draws it) and measured again, with CH1
  // holding the knob as it did at the capture.
  QStringList Readings() {
    scope.PressChannelKey(1);
    scope.DrawHeldRecord();
    scope.MeasureHeldRecord();
    f.HorizontalCalualtions();
    QStringList r;
    QList<QLabel*> measurements = ScopeDriver(f).Find<TPanel>(QStringLiteral("MeasurePanel"))->findChildren<QLabel*>();
    std::sort(measurements.begin(), measurements.end(),
              [](const QLabel* a, const QLabel* b) { return a->objectName() < b->objectName(); });
    for (const QLabel* label : measurements) r << label->objectName() + "=" + label->text();
    for (const QLabel* label : {ScopeDriver(f).Find<TLabel>(QStringLiteral("XTimeCursor")), ScopeDriver(f).Find<TLabel>(QStringLiteral("OTimeCursor")), ScopeDriver(f).Find<TLabel>(QStringLiteral("TimeCursor")), scope.CursorFrequencyReadout(), ScopeDriver(f).Find<TLabel>(QStringLiteral("HCusA")), ScopeDriver(f).Find<TLabel>(QStringLiteral("HCusB")), ScopeDriver(f).Find<TLabel>(QStringLiteral("CusRes"))})
      r << label->objectName() + "=" + label->text();
    r << QStringLiteral("HozCusA top=%1").arg(Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusA")))) << QStringLiteral("HozCusB top=%1").arg(Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusB"))));
    const QString reference = dir_.filePath(QStringLiteral("ch1.txt"));
    w.ui.saveAnswers.push_back(reference);
    ScopeDriver(f).MenuItem(QStringLiteral("SaveCH1Ref1"))->trigger();
    QFile file(reference);
    if (file.open(QIODevice::ReadOnly)) r << text_lines::SplitLines(QString::fromUtf8(file.readAll()));
    return r;
  }

  QTemporaryDir dir_;
};

TEST_F(HeldRecordReaders, AStoppedRecordReadsAsCapturedWhateverTheKnobsTurnTo) {
  Knob(2, Volts200mV);
  Knob(1, Volts1V);
  TimeKnob(Time1ms);
  if (scope.State().AutoMeasOn != 1) ScopeDriver(f).MenuItem(QStringLiteral("AutoMeasurementsON1"))->trigger();
  ScopeDriver(f).MenuItem(QStringLiteral("SnaptoPlotON1"))->trigger();  // both cursor sets on, the voltage lines on CH1's trace
  ASSERT_NO_FATAL_FAILURE(Capture());
  ASSERT_GT(scope.State().HeldRecord.sequence, 0u);
  const QStringList captured = Readings();
  ASSERT_TRUE(w.ui.errors.isEmpty()) << Errors();
  // The readings are of the 2 kHz signal (25 samples a period, give or take
  // the sample an edge falls on), not of an empty screen.
  const QStringList frequency = captured.filter(QStringLiteral("Ch1Freq="));
  ASSERT_EQ(frequency.size(), 1);
  EXPECT_NEAR(frequency[0].section(u'=', 1).chopped(4).toDouble(), 2.0, 0.09) << frequency[0].toStdString();
  ASSERT_TRUE(captured.contains(QStringLiteral("Tessaron USB Oscilloscope Referance File")));

  struct Turn {
    const char* what;
    int channel;  // 0: the time base knob
    int angle;
  };
  const Turn turns[] = {
      {"CH1 to 100 mV/div: another scale, the low range and its calibration", 1, Volts100mV},
      {"CH1 to 10 V/div: the high range again at another scale", 1, Volts10V},
      {"CH2 to 1 V/div: its high range", 2, Volts1V},
      {"the time base to 100 us/div", 0, Time100us},
  };
  for (const Turn& t : turns) {
    SCOPED_TRACE(t.what);
    if (t.channel == 0)
      TimeKnob(t.angle);
    else
      Knob(t.channel, t.angle);
    EXPECT_EQ(Readings(), captured);
    EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
  }

  // What the user views stays with the panel: CH1's 0 V row moved by its
  // marker moves the snapped lines with the trace, and the readout against
  // that row stays.
  const int aTop = Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusA")));
  const QString aVolts = ScopeDriver(f).Find<TLabel>(QStringLiteral("HCusA"))->text();
  scope.State().CH1VertPos += 40;
  Readings();
  EXPECT_EQ(Top(ScopeDriver(f).Find<TPanel>(QStringLiteral("HozCusA"))), aTop + 40);
  EXPECT_EQ(ScopeDriver(f).Find<TLabel>(QStringLiteral("HCusA"))->text(), aVolts);
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
}

}  // namespace

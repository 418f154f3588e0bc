// Statistics of the readings over records: known runs of square waves, flat
// traces (no cycle) and channels switched off, the reset when what a reading
// means changes, the panel's texts, and a long run that a naive sum of
// squares would lose.
#include <gtest/gtest.h>

#include "CorePanels.h"

#include "core/MeasurementStatistics.h"
#include "core/PanelSettings.h"
#include "core/Record.h"
#include "core/RecordReadings.h"
#include "display/RecordLayout.h"
#include "support/ErrorOf.h"
#include "support/QtPrint.h"

#include <cmath>
#include <vector>

namespace {

using core::MeasurementStatistics;
using core::PanelSettings;
using core::Reading;

using core_panels::Row1V;
using core_panels::Row500mV;
using core_panels::Row5V;
using core_panels::BothChannelsAt5V;
using core_panels::SquareRecord;

// The spread the slow way, for the expected figures: the mean first, then
// the squared deviations from it.
double TwoPassSigma(const std::vector<double>& values) {
  double mean = 0;
  for (const double v : values) mean += v / static_cast<double>(values.size());
  double sum = 0;
  for (const double v : values) sum += (v - mean) * (v - mean);
  return std::sqrt(sum / static_cast<double>(values.size()));
}

void AddAll(MeasurementStatistics& s, const std::vector<core::Record>& records) {
  for (const core::Record& r : records) s.Add(r, core::ReadingsOf(r));
}

TEST(MeasurementStatistics, KnownRunsOfReadings) {
  const PanelSettings p = BothChannelsAt5V();
  PanelSettings ch2Off = p;
  ch2Off.SetChannelOn(2, false);
  struct Expected {
    std::int64_t count;
    double last, mean, minimum, maximum, sigma;
  };
  struct Case {
    const char* name;
    std::vector<core::Record> records;
    int channel;
    Reading reading;
    Expected expected;
  };
  // 2 us a sample: a square wave of 10 samples has a period of 20 us.
  const std::vector<core::Record> steady(20, SquareRecord(p, 10));
  const Case cases[] = {
      {"a steady square wave: mean = last, no spread", steady, 1, Reading::Period, {20, 20, 20, 20, 20, 0}},
      {"the same on CH2's duty cycle", steady, 2, Reading::DutyCycle, {20, 50, 50, 50, 50, 0}},
      {"periods of 10, 20 and 30 samples", {SquareRecord(p, 10), SquareRecord(p, 20), SquareRecord(p, 30)}, 1, Reading::Period,
       {3, 60, 40, 20, 60, std::sqrt(800.0 / 3.0)}},
      {"their frequencies", {SquareRecord(p, 10), SquareRecord(p, 20), SquareRecord(p, 30)}, 1, Reading::Frequency,
       {3, 1e6 / 60, (1e6 / 20 + 1e6 / 40 + 1e6 / 60) / 3, 1e6 / 60, 1e6 / 20,
        TwoPassSigma({1e6 / 20, 1e6 / 40, 1e6 / 60})}},
      {"swings of 20, 30, 40 counts: pk-pk 40, 60, 80 counts x 78.4 mV", {SquareRecord(p, 10, 20), SquareRecord(p, 10, 30), SquareRecord(p, 10, 40)},
       1, Reading::PeakToPeak, {3, 627, 470, 313, 627, std::sqrt((157.0 * 157 + 0 + 157.0 * 157) / 3)}},
      {"a flat trace has no cycle: its period is not counted", {SquareRecord(p, 10), SquareRecord(p, 0), SquareRecord(p, 10)}, 1,
       Reading::Period, {2, 20, 20, 20, 20, 0}},
      {"nor its duty cycle", {SquareRecord(p, 20), SquareRecord(p, 0)}, 2, Reading::DutyCycle, {1, 50, 50, 50, 50, 0}},
      {"but its voltages are", {SquareRecord(p, 10), SquareRecord(p, 0), SquareRecord(p, 10)}, 1, Reading::PeakToPeak,
       {3, 313, 313.0 * 2 / 3, 0, 313, TwoPassSigma({313, 0, 313})}},
      {"only flat traces: nothing of the cycle", {SquareRecord(p, 0), SquareRecord(p, 0)}, 1, Reading::Frequency, {0, 0, 0, 0, 0, 0}},
      {"a channel that is off counts nothing", {SquareRecord(ch2Off, 10), SquareRecord(ch2Off, 10)}, 2, Reading::Maximum,
       {0, 0, 0, 0, 0, 0}},
      {"while the other counts", {SquareRecord(ch2Off, 10), SquareRecord(ch2Off, 10)}, 1, Reading::Maximum, {2, 156, 156, 156, 156, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MeasurementStatistics s;
    AddAll(s, c.records);
    const core::RunningStatistic& r = s.Of(c.channel, c.reading);
    EXPECT_EQ(s.Records(), static_cast<std::int64_t>(c.records.size()));
    EXPECT_EQ(r.Count(), c.expected.count);
    EXPECT_DOUBLE_EQ(r.Last(), c.expected.last);
    EXPECT_NEAR(r.Mean(), c.expected.mean, 1e-6 * std::max(1.0, std::abs(c.expected.mean)));
    EXPECT_DOUBLE_EQ(r.Minimum(), c.expected.minimum);
    EXPECT_DOUBLE_EQ(r.Maximum(), c.expected.maximum);
    EXPECT_NEAR(r.StandardDeviation(), c.expected.sigma, 1e-6 * std::max(1.0, c.expected.sigma));
  }
}

TEST(MeasurementStatistics, AChangeOfWhatAReadingMeansStartsAfresh) {
  struct Case {
    const char* name;
    void (*change)(PanelSettings&);
    bool resets;
  };
  const Case cases[] = {
      {"nothing changed", [](PanelSettings&) {}, false},
      {"CH1's volts/div, within its range", [](PanelSettings& p) { p.SetVoltsRow(1, Row5V - 1); }, true},
      {"CH2's volts/div, to the other range", [](PanelSettings& p) { p.SetVoltsRow(2, Row500mV); }, true},
      {"the time base", [](PanelSettings& p) { p.SetTimeBase(4); }, true},
      {"CH2 switched off", [](PanelSettings& p) { p.SetChannelOn(2, false); }, true},
      {"the calibration of the range in use", [](PanelSettings& p) { p.SetCalibration(1, 0, 3); }, true},
      {"the calibration of the range not in use", [](PanelSettings& p) { p.SetCalibration(1, 3, 0); }, false},
      {"the trigger level and edge", [](PanelSettings& p) {
         p.SetTriggerLevel(1, 50);
         p.SetTriggerEdge(false);
       }, false},
      {"the 0 V row (where it is drawn)", [](PanelSettings& p) { p.SetZeroRow(1, 200); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PanelSettings p = BothChannelsAt5V();
    MeasurementStatistics s;
    AddAll(s, {SquareRecord(p, 10), SquareRecord(p, 20), SquareRecord(p, 30)});
    c.change(p);
    EXPECT_EQ(s.Add(SquareRecord(p, 10), core::ReadingsOf(SquareRecord(p, 10))), c.resets);
    EXPECT_EQ(s.Records(), c.resets ? 1 : 4);
    EXPECT_EQ(s.Of(1, Reading::Period).Count(), c.resets ? 1 : 4);
    EXPECT_EQ(s.Of(1, Reading::Period).Maximum(), c.resets ? s.Of(1, Reading::Period).Last() : 60);
  }
  // The knob of a channel that is off changes none of the readings there are.
  PanelSettings p = BothChannelsAt5V();
  p.SetChannelOn(2, false);
  MeasurementStatistics s;
  AddAll(s, {SquareRecord(p, 10), SquareRecord(p, 10)});
  p.SetVoltsRow(2, Row1V);
  p.SetCalibration(2, 4, 4);
  EXPECT_FALSE(s.Add(SquareRecord(p, 10), core::ReadingsOf(SquareRecord(p, 10))));
  EXPECT_EQ(s.Of(1, Reading::Maximum).Count(), 3);
}

TEST(MeasurementStatistics, ResetClearsEverythingAndTheNextRecordCountsAlone) {
  const PanelSettings p = BothChannelsAt5V();
  MeasurementStatistics s;
  AddAll(s, {SquareRecord(p, 10), SquareRecord(p, 30)});
  s.Reset();
  EXPECT_EQ(s.Records(), 0);
  EXPECT_EQ(s.Of(2, Reading::Mean).Count(), 0);
  EXPECT_EQ(s.TextsOf(1, Reading::Period).mean, QString());
  EXPECT_FALSE(s.Add(SquareRecord(p, 20), core::ReadingsOf(SquareRecord(p, 20))));  // nothing to reset
  EXPECT_EQ(s.Of(1, Reading::Period).Count(), 1);
  EXPECT_EQ(s.Of(1, Reading::Period).Minimum(), 40);
}

TEST(MeasurementStatistics, TheTextsAreThePanels) {
  PanelSettings p = BothChannelsAt5V();
  p.SetVoltsRow(2, Row500mV);
  // The last value reads as the panel read the last record, reading by reading.
  for (const int period : {10, 16, 64, 90}) {
    SCOPED_TRACE(period);
    MeasurementStatistics s;
    const core::Record r = SquareRecord(p, period, 33);
    AddAll(s, {SquareRecord(p, 10, 10), r});
    const screen_model::ViewWindow view = screen_model::ViewFromMarker(r.layout, core::DesignViewMarkerLeft);
    for (int channel = 1; channel <= 2; ++channel) {
      const measure::ReadingTexts panel = core::PanelTextsOf(r, channel, view.start, view.end, 0, QStringLiteral(","));
      const QString shown[] = {panel.maximum, panel.minimum, panel.peakToPeak, panel.mean, panel.rms,
                               panel.period,  panel.frequency, panel.posWidth, panel.negWidth, panel.dutyCycle};
      for (const core::ReadingInfo& info : core::ReadingTable)
        EXPECT_EQ(s.TextsOf(channel, info.reading, QStringLiteral(",")).last, shown[static_cast<int>(info.reading)])
            << "channel " << channel << " reading " << static_cast<int>(info.reading);
    }
  }

  // A steady wave: every figure is the last one, with no spread.
  MeasurementStatistics steady;
  AddAll(steady, std::vector<core::Record>(20, SquareRecord(p, 10)));
  struct Row {
    Reading reading;
    const char* value;
    const char* noSpread;
  };
  const Row rows[] = {
      {Reading::PeakToPeak, "3.13 V", "00 mV"}, {Reading::Period, "20 us", "0 us"},
      {Reading::Frequency, "50.0 KHz", "0 Hz"},  {Reading::DutyCycle, "50%", "0%"},
  };
  for (const Row& row : rows) {
    const core::StatisticTexts t = steady.TextsOf(1, row.reading);
    EXPECT_EQ(t.last, QLatin1String(row.value));
    EXPECT_EQ(t.mean, QLatin1String(row.value));
    EXPECT_EQ(t.minimum, QLatin1String(row.value));
    EXPECT_EQ(t.maximum, QLatin1String(row.value));
    EXPECT_EQ(t.standardDeviation, QLatin1String(row.noSpread));
    EXPECT_EQ(t.count, QStringLiteral("20"));
  }

  // Means that are no reading of their own: a frequency between two whole
  // periods, half a percent, half of 10 mV.
  const PanelSettings fast = [] {
    PanelSettings q = BothChannelsAt5V();
    q.SetChannelOn(2, false);
    q.SetTimeBase(2);  // 50 us/div, one channel at 1 MS/s: 1 us a sample
    return q;
  }();
  MeasurementStatistics s;
  AddAll(s, {SquareRecord(fast, 2), SquareRecord(fast, 3)});
  EXPECT_EQ(s.TextsOf(1, Reading::Frequency).mean, QStringLiteral("416 KHz"));  // (500 + 333.3) / 2
  EXPECT_EQ(s.TextsOf(1, Reading::Frequency).minimum, QStringLiteral("333 KHz"));
  EXPECT_EQ(core::PanelTextOf(Reading::DutyCycle, 37.5), QStringLiteral("38%"));
  EXPECT_EQ(core::PanelTextOf(Reading::Mean, -12.5), QStringLiteral("-130 mV"));  // to the nearest 10 mV, away from 0
  EXPECT_EQ(core::PanelTextOf(Reading::Period, 1234.4), QStringLiteral("1.23 ms"));
  EXPECT_EQ(core::PanelTextOf(Reading::Frequency, 0.25, QStringLiteral(",")), QStringLiteral("0,25 Hz"));
}

TEST(MeasurementStatistics, ALongRunOfNearlyEqualValuesKeepsItsSpread) {
  // A million values of 1e9 +- 1: the mean of the squares less the square
  // of the mean would cancel to noise here.
  core::RunningStatistic s;
  for (int i = 0; i < 1000000; ++i) s.Add(1e9 + (i % 2 == 0 ? 1.0 : -1.0));
  EXPECT_EQ(s.Count(), 1000000);
  EXPECT_NEAR(s.Mean(), 1e9, 1e-6);
  EXPECT_NEAR(s.StandardDeviation(), 1.0, 1e-6);
  EXPECT_EQ(s.Minimum(), 1e9 - 1);
  EXPECT_EQ(s.Maximum(), 1e9 + 1);
  EXPECT_EQ(s.Last(), 1e9 - 1);
  core::RunningStatistic one;
  one.Add(-4.5);
  EXPECT_EQ(one.StandardDeviation(), 0.0);
  EXPECT_EQ(one.Mean(), -4.5);
}

TEST(MeasurementStatistics, AChannelOtherThanOneOrTwoIsRefused) {
  MeasurementStatistics s;
  EXPECT_EQ(ErrorOf([&] { s.Of(3, Reading::Mean); }), QStringLiteral("List index out of bounds (3)"));
  EXPECT_EQ(ErrorOf([&] { s.TextsOf(0, Reading::Mean); }), QStringLiteral("List index out of bounds (0)"));
}

}  // namespace

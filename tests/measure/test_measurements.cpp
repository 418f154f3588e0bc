// The automatic measurements of one channel over a window of samples, without
// a window: the voltages from the counts, the first cycle round the mean, the
// texts, and the windows that hold no complete cycle.

#include "measure/Measurements.h"

#include "app/Errors.h"
#include "support/QtPrint.h"

#include <gtest/gtest.h>

#include <vector>

using namespace measure;

namespace {

// Runs of counts, repeated: {{120, 5}, {80, 3}} x 3 is 120 five times, 80
// three times, three times over.
std::vector<std::uint8_t> Runs(std::initializer_list<std::pair<int, int>> runs, int repeat = 1) {
  std::vector<std::uint8_t> out;
  for (int r = 0; r < repeat; ++r)
    for (const auto& [count, length] : runs) out.insert(out.end(), std::size_t(length), std::uint8_t(count));
  return out;
}

}  // namespace

TEST(MeasureCycle, TheFirstCompleteCycleRoundTheMean) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> samples;
    Cycle cycle;
  };
  const Case cases[] = {
      {"120 five times, 80 three times: 3 above, 5 below", Runs({{120, 5}, {80, 3}}, 4), {true, 3, 5, 8}},
      {"a trace that begins above its mean skips that first run",
       [] {
         auto s = Runs({{80, 6}});
         auto rest = Runs({{120, 5}, {80, 3}}, 4);
         s.insert(s.end(), rest.begin(), rest.end());
         return s;
       }(),
       {true, 3, 5, 8}},
      {"the window ends two samples after the first upward crossing", Runs({{120, 3}, {80, 2}}), {false, 0, 0, 0}},
      {"the window ends in the positive phase", Runs({{120, 5}, {80, 10}}), {false, 0, 0, 0}},
      {"the window ends in the negative phase", Runs({{120, 2}, {80, 3}, {120, 4}}), {false, 0, 0, 0}},
      {"a flat trace", Runs({{126, 300}}), {false, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Extremes e = ExtremesOf(c.samples, 0);
    const Cycle cycle = FirstCycle(c.samples, 0, e.meanCount);
    EXPECT_EQ(cycle.complete, c.cycle.complete);
    EXPECT_EQ(cycle.posWidth, c.cycle.posWidth);
    EXPECT_EQ(cycle.negWidth, c.cycle.negWidth);
    EXPECT_EQ(cycle.period, c.cycle.period);
  }
}

TEST(MeasureVoltages, FromTheCountsWithTheRangeFactor) {
  // Counts 101..111: the difference of maximum and minimum is 79, the
  // peak-to-peak from the counts 78.
  const auto samples = Runs({{101, 4}, {111, 4}});
  const Voltages v = VoltagesOf(ExtremesOf(samples, 0), HighRangeFactor);
  EXPECT_EQ(v.maximum, 196);  // 25 * 784 / 100
  EXPECT_EQ(v.minimum, 117);  // 15 * 784 / 100
  EXPECT_EQ(v.peakToPeak, 78);
  EXPECT_EQ(v.mean, 156);     // mean count 106
  EXPECT_EQ(v.rms, 133);      // (25 * 707 / 1000) * 784 / 100

  // The RMS reading depends on the smallest count alone.
  const Voltages square = VoltagesOf(ExtremesOf(Runs({{100, 10}, {150, 10}}), 0), HighRangeFactor);
  const Voltages spike = VoltagesOf(ExtremesOf(Runs({{100, 1}, {130, 19}}), 0), HighRangeFactor);
  EXPECT_EQ(square.rms, 141);
  EXPECT_EQ(spike.rms, 141);
  EXPECT_NE(square.mean, spike.mean);

  // The low range, the calibration offset, and a trace below 0 V.
  const Extremes low = ExtremesOf(Runs({{136, 2}, {146, 2}}), 10);  // corrected 126..136
  EXPECT_EQ(low.minCount, 126);
  EXPECT_EQ(low.maxCount, 136);
  const Voltages lv = VoltagesOf(low, LowRangeFactor);
  EXPECT_EQ(lv.maximum, 0);
  EXPECT_EQ(lv.minimum, -15);  // -10 * 156 / 100, toward zero
  EXPECT_EQ(lv.peakToPeak, 15);
}

TEST(MeasureTexts, TheTenReadingsAndTheirTexts) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> samples;
    bool highRange;
    int usPerSample;
    const char* period;
    const char* frequency;
    const char* posWidth;
    const char* negWidth;
    const char* duty;
  };
  // 10 kHz at 50 us/div: 25 samples above and 25 below in the 1 MS/s record
  // (1 us a sample); in the stretched record of both channels the samples
  // are 2 us apart, 25 samples a period.
  const Case cases[] = {
      {"120/80 at 10 us a sample", Runs({{120, 5}, {80, 3}}, 4), true, 10, "80 us", "12.5 KHz", "30 us", "50 us", "37%"},
      {"10 kHz in the 1 MS/s record", Runs({{150, 50}, {100, 50}}, 5), true, 1, "100 us", "10.0 KHz", "50 us",
       "50 us", "50%"},
      {"10 kHz in the stretched record", Runs({{150, 25}, {100, 25}}, 5), true, 2, "100 us", "10.0 KHz", "50 us",
       "50 us", "50%"},
      {"no complete cycle", Runs({{120, 5}, {80, 10}}), true, 10, "0 us", "0 Hz", "0 us", "0 us", "No Cycle"},
      {"flat", Runs({{126, 497}}), false, 10, "0 us", "0 Hz", "0 us", "0 us", "No Cycle"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ReadingTexts t = MeasureChannel(c.samples, 0, c.highRange, c.usPerSample);
    EXPECT_EQ(t.period, QString::fromLatin1(c.period));
    EXPECT_EQ(t.frequency, QString::fromLatin1(c.frequency));
    EXPECT_EQ(t.posWidth, QString::fromLatin1(c.posWidth));
    EXPECT_EQ(t.negWidth, QString::fromLatin1(c.negWidth));
    EXPECT_EQ(t.dutyCycle, QString::fromLatin1(c.duty));
  }
  // The voltages' texts: counts 101..111 on the high range.
  const ReadingTexts v = MeasureChannel(Runs({{101, 4}, {111, 4}}), 0, true, 10);
  EXPECT_EQ(v.maximum, QStringLiteral("1.96 V"));
  EXPECT_EQ(v.minimum, QStringLiteral("1.17 V"));
  EXPECT_EQ(v.peakToPeak, QStringLiteral("780 mV"));
  EXPECT_EQ(v.mean, QStringLiteral("1.56 V"));
  EXPECT_EQ(v.rms, QStringLiteral("1.33 V"));
  const ReadingTexts flat = MeasureChannel(Runs({{126, 497}}), 0, false, 10);
  EXPECT_EQ(flat.maximum, QStringLiteral("00 mV"));
  EXPECT_EQ(flat.peakToPeak, QStringLiteral("00 mV"));
}

TEST(MeasureTexts, AnEmptyWindowIsAnErrorNotACrash) {
  EXPECT_THROW(MeasureChannel({}, 0, true, 10), ScopeError);
}

// The average of records: off is the record itself, the last N records
// only, noise on a steady level shrinking as 1/sqrt(N) (from a fixed
// generator, and from the simulator's noise through the link), and any
// change of what the instrument was asked for starting it again.
#include <gtest/gtest.h>

#include "CorePanels.h"

#include "core/PanelSettings.h"
#include "core/Record.h"
#include "core/ScopeLink.h"
#include "core/TraceAverage.h"
#include "support/ErrorOf.h"
#include "support/QtPrint.h"
#include "support/SimProcess.h"
#include "support/WaitFor.h"

#include <cmath>
#include <random>
#include <vector>

namespace {

using core::PanelSettings;
using core::TraceAverage;

using core_panels::Row500mV;
using core_panels::Row5V;

PanelSettings BothChannels() {
  PanelSettings p = core_panels::BothChannelsAt5V();
  p.SetAutoTrigger(true);
  p.SetTriggerLevel(1, 20);
  return p;
}

// A record of the panel whose samples are `level` plus whole counts of
// uniform noise in -swing..swing drawn from `noise` (on CH2 the mirror).
core::Record NoisyRecord(const PanelSettings& panel, std::mt19937& noise, int level, int swing) {
  core::Record r = core::DescribeRecord(panel);
  for (std::size_t i = 1; i <= 3000; ++i) {
    const int n = swing == 0 ? 0 : static_cast<int>(noise() % static_cast<unsigned>(2 * swing + 1)) - swing;
    r.ch1[i] = static_cast<std::uint8_t>(level + n);
    r.ch2[i] = static_cast<std::uint8_t>(level - n);
  }
  return r;
}

core::Record Level(const PanelSettings& panel, int level) {
  std::mt19937 none;
  return NoisyRecord(panel, none, level, 0);
}

struct Spread {
  double mean, sigma;
};
// Mean and standard deviation of samples first..last of a channel's mean.
Spread SpreadOf(const TraceAverage::MeanSamples& samples, std::size_t first, std::size_t last) {
  double mean = 0;
  const double n = static_cast<double>(last - first + 1);
  for (std::size_t i = first; i <= last; ++i) mean += samples[i] / n;
  double squares = 0;
  for (std::size_t i = first; i <= last; ++i) squares += (samples[i] - mean) * (samples[i] - mean);
  return {mean, std::sqrt(squares / n)};
}

TEST(TraceAverage, OffIsExactlyTheRecord) {
  const PanelSettings p = BothChannels();
  const capture_protocol::CaptureCommand command = core::CaptureCommandFor(p);
  std::mt19937 noise(31);
  TraceAverage average;
  EXPECT_EQ(average.Depth(), 1);
  for (int k = 1; k <= 3; ++k) {
    core::Record r = NoisyRecord(p, noise, 120, 40);
    r.sequence = static_cast<std::uint64_t>(k);
    r.received = QDateTime::currentDateTime();
    r.samplesReceived = 2999;
    average.Add(r, command);
    EXPECT_EQ(average.Count(), 1);
    EXPECT_EQ(average.Rounded(), r);
    for (std::size_t i = 1; i <= 3000; ++i) ASSERT_EQ(average.Samples(2)[i], r.ch2[i]) << i;
  }
}

TEST(TraceAverage, TheMeanOfTheLastNRecordsOnly) {
  const PanelSettings p = BothChannels();
  const capture_protocol::CaptureCommand command = core::CaptureCommandFor(p);
  struct Case {
    const char* name;
    int depth;
    std::vector<int> levels;
    double mean;
    std::uint8_t rounded;
  };
  const Case cases[] = {
      {"fewer records than the depth", 4, {10, 20}, 15, 15},
      {"the oldest leave as new ones come", 4, {10, 20, 30, 40, 50, 60}, 45, 45},
      {"a ring that has gone round twice", 2, {1, 2, 3, 4, 5, 6, 7, 8}, 7.5, 8},
      {"halves round up", 2, {10, 11}, 10.5, 11},
      {"a third stays in the mean", 8, {0, 0, 1}, 1.0 / 3, 0},
      {"64 records of the top count", 64, std::vector<int>(70, 255), 255, 255},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TraceAverage average;
    average.SetDepth(c.depth);
    for (const int level : c.levels) EXPECT_FALSE(average.Add(Level(p, level), command));
    EXPECT_EQ(average.Count(), std::min<int>(c.depth, static_cast<int>(c.levels.size())));
    EXPECT_DOUBLE_EQ(average.Samples(1)[1500], c.mean);
    EXPECT_EQ(average.Rounded().ch1[1500], c.rounded);
  }
}

TEST(TraceAverage, NoiseOnASteadyLevelShrinksAsOneOverTheRootOfN) {
  const PanelSettings p = BothChannels();
  const capture_protocol::CaptureCommand command = core::CaptureCommandFor(p);
  double sigmaOff = 0;
  for (const int depth : {1, 4, 16, 64}) {
    SCOPED_TRACE(depth);
    std::mt19937 noise(2024);
    TraceAverage average;
    average.SetDepth(depth);
    for (int k = 0; k < 64; ++k) average.Add(NoisyRecord(p, noise, 100, 12), command);
    const Spread s = SpreadOf(average.Samples(1), 1, 3000);
    if (depth == 1) sigmaOff = s.sigma;
    // Whole counts uniform in -12..12 have a spread of sqrt((25^2 - 1) / 12) = 7.2.
    EXPECT_NEAR(s.mean, 100.0, 1.0);
    const double expected = sigmaOff / std::sqrt(static_cast<double>(depth));
    EXPECT_GT(s.sigma, 0.75 * expected);
    EXPECT_LT(s.sigma, 1.25 * expected);
    RecordProperty("sigma_" + std::to_string(depth), std::to_string(s.sigma));
    std::printf("average of %2d records: spread %.3f counts (%.3f x 1/sqrt(N) of one record's)\n", depth, s.sigma,
                s.sigma / expected);
  }
  EXPECT_NEAR(sigmaOff, std::sqrt((25.0 * 25.0 - 1.0) / 12.0), 0.3);
}

TEST(TraceAverage, AnyChangeOfWhatWasAskedForStartsAgain) {
  struct Case {
    const char* name;
    void (*change)(PanelSettings&);
    bool restarts;
  };
  const Case cases[] = {
      {"the same settings", [](PanelSettings&) {}, false},
      {"the 0 V row (where it is drawn)", [](PanelSettings& p) { p.SetZeroRow(1, 200); }, false},
      {"CH1's volts/div", [](PanelSettings& p) { p.SetVoltsRow(1, Row5V - 1); }, true},
      {"CH2's volts/div, to the other range", [](PanelSettings& p) { p.SetVoltsRow(2, Row500mV); }, true},
      {"the time base", [](PanelSettings& p) { p.SetTimeBase(4); }, true},
      {"the trigger level", [](PanelSettings& p) { p.SetTriggerLevel(1, 21); }, true},
      {"the trigger edge", [](PanelSettings& p) { p.SetTriggerEdge(false); }, true},
      {"the trigger source", [](PanelSettings& p) { p.SetTriggerSource(core::TriggerSource::CH2); }, true},
      {"normal trigger mode", [](PanelSettings& p) { p.SetAutoTrigger(false); }, true},
      {"the trigger position", [](PanelSettings& p) { p.SetTriggerPosition(100); }, true},
      {"CH2 switched off", [](PanelSettings& p) { p.SetChannelOn(2, false); }, true},
      {"the calibration in use", [](PanelSettings& p) { p.SetCalibration(1, 0, 2); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PanelSettings p = BothChannels();
    TraceAverage average;
    average.SetDepth(8);
    for (const int level : {100, 110, 120}) average.Add(Level(p, level), core::CaptureCommandFor(p));
    c.change(p);
    EXPECT_EQ(average.Add(Level(p, 50), core::CaptureCommandFor(p)), c.restarts);
    EXPECT_EQ(average.Count(), c.restarts ? 1 : 4);
    EXPECT_DOUBLE_EQ(average.Samples(1)[10], c.restarts ? 50 : 95);
    EXPECT_EQ(average.Rounded().channels, core::DescribeRecord(p).channels);
  }
}

TEST(TraceAverage, ANewDepthStartsFromTheLatestRecord) {
  const PanelSettings p = BothChannels();
  const capture_protocol::CaptureCommand command = core::CaptureCommandFor(p);
  std::mt19937 noise(7);
  TraceAverage average;
  average.SetDepth(16);
  core::Record latest;
  for (int k = 0; k < 5; ++k) average.Add(latest = NoisyRecord(p, noise, 128, 30), command);
  average.SetDepth(1);
  EXPECT_EQ(average.Count(), 1);
  EXPECT_EQ(average.Rounded(), latest);
  average.SetDepth(4);
  EXPECT_FALSE(average.Add(Level(p, 0), command));  // the same settings: no restart
  EXPECT_EQ(average.Count(), 2);
  EXPECT_DOUBLE_EQ(average.Samples(1)[7], latest.ch1[7] / 2.0);

  EXPECT_EQ(ErrorOf([&] { average.SetDepth(3); }),
            QStringLiteral("An average of 3 records is not offered: 1 (off), 2, 4, 8, 16, 32 or 64."));
  EXPECT_EQ(average.Depth(), 4);
  EXPECT_EQ(ErrorOf([&] { average.Samples(3); }), QStringLiteral("List index out of bounds (3)"));
  average.Restart();
  EXPECT_EQ(average.Count(), 0);
  EXPECT_EQ(ErrorOf([&] { average.Rounded(); }), QStringLiteral("There is no record to average."));
}

// Through the link from the simulator: noise on a DC level, each record
// added with the command bytes that asked for it.
TEST(TraceAverage, TheSimulatorsNoiseThroughTheLink) {
  SimProcess sim;
  // 500 mV/div: 15.6 mV a count, so +-0.25 V of noise is +-16 counts round
  // 0.5 V (32 counts above 0 V), where the trigger level sits.
  sim.Start({"--ch1", "noise::0.25:0.5", "--ch2", "dc::0:0.5", "--unpaced"});
  core::ScopeLink link;
  ASSERT_TRUE(link.Port().Open(sim.Link().toStdString(), "9600", "NONE", "8", false));
  PanelSettings p = BothChannels();
  p.SetVoltsRow(1, Row500mV);
  p.SetVoltsRow(2, Row500mV);
  p.SetTriggerLevel(1, 32);
  p.SetContinuous(true);
  link.SetPanel(p);

  const std::vector<int> depths{1, 4, 16, 64};
  std::vector<TraceAverage> averages(depths.size());
  for (std::size_t k = 0; k < depths.size(); ++k) averages[k].SetDepth(depths[k]);
  int records = 0;
  int restarts = 0;
  QObject::connect(&link, &core::ScopeLink::recordReceived, [&](const core::Record& r) {
    ++records;
    for (TraceAverage& a : averages) restarts += a.Add(r, link.HeldCommand()) ? 1 : 0;
  });
  link.Run();
  ASSERT_TRUE(WaitFor([&] { return records >= 64; }, 60000)) << records;
  link.Stop();
  EXPECT_EQ(restarts, 0);
  const double sigmaOff = SpreadOf(averages[0].Samples(1), 1, 1500).sigma;
  EXPECT_GT(sigmaOff, 5.0);  // about 16 / sqrt(3) counts
  for (std::size_t k = 0; k < depths.size(); ++k) {
    const Spread s = SpreadOf(averages[k].Samples(1), 1, 1500);
    const double expected = sigmaOff / std::sqrt(static_cast<double>(depths[k]));
    EXPECT_EQ(averages[k].Count(), depths[k]);
    EXPECT_GT(s.sigma, 0.6 * expected) << depths[k];
    EXPECT_LT(s.sigma, 1.4 * expected) << depths[k];
    // The steady CH2 stays where it is.
    EXPECT_NEAR(SpreadOf(averages[k].Samples(2), 1, 1500).mean, 126 - 32, 1.0);
    std::printf("simulator, average of %2d records: spread %.3f counts (%.3f x 1/sqrt(N) of one record's)\n",
                depths[k], s.sigma, s.sigma / expected);
  }

  // A new trigger level while running: the record its command brings starts
  // every average again.
  ASSERT_TRUE(WaitFor([&] { return !link.Running() && link.CurrentState() == core::ScopeLink::State::Idle; }));
  p.SetTriggerLevel(1, 30);
  link.SetPanel(p);
  const int before = records;
  link.Run();
  ASSERT_TRUE(WaitFor([&] { return records > before; }, 20000));
  link.Stop();
  EXPECT_EQ(link.HeldCommand(), core::CaptureCommandFor(p));
  EXPECT_EQ(restarts, static_cast<int>(depths.size()));
  for (std::size_t k = 0; k < depths.size(); ++k) EXPECT_EQ(averages[k].Count(), std::min(depths[k], records - before));
}

}  // namespace

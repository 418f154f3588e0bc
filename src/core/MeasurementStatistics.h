#pragma once
// Statistics of the twenty readings over the records since the last reset:
// per reading of each channel the last value, mean, minimum, maximum,
// standard deviation and count. Values are kept in the panel's own units
// (10 mV, microseconds, hertz, percent) and read as the panel's texts.
//
// A reading the panel shows no number for is not counted: nothing of a
// channel that is off, and none of the five cycle readings (period,
// frequency, both widths, duty cycle) of a window without a complete cycle,
// where the panel says "No Cycle" and reads "0 us" and "0 Hz" for the
// others; a 0 there is no period. Each record comes with the key of what its
// readings mean (ReadingKeyOf); a record whose key differs from the last
// one's starts the statistics afresh, so a turned volts/div knob never
// mixes readings of two scales.

#include "core/Record.h"
#include "core/RecordReadings.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace core {

// The ten readings of a channel, in the panel's order.
enum class Reading { Maximum, Minimum, PeakToPeak, Mean, Rms, Period, Frequency, PosWidth, NegWidth, DutyCycle };
inline constexpr int ReadingCount = 10;

// How a reading is counted and written: its unit and which formatter
// writes it.
enum class ReadingUnit { TenMillivolts, Microseconds, Hertz, Percent };
struct ReadingInfo {
  Reading reading;
  ReadingUnit unit;
  bool needsCycle;  // only a complete cycle gives it
};
inline constexpr std::array<ReadingInfo, ReadingCount> ReadingTable{{
    {Reading::Maximum, ReadingUnit::TenMillivolts, false},
    {Reading::Minimum, ReadingUnit::TenMillivolts, false},
    {Reading::PeakToPeak, ReadingUnit::TenMillivolts, false},
    {Reading::Mean, ReadingUnit::TenMillivolts, false},
    {Reading::Rms, ReadingUnit::TenMillivolts, false},
    {Reading::Period, ReadingUnit::Microseconds, true},
    {Reading::Frequency, ReadingUnit::Hertz, true},
    {Reading::PosWidth, ReadingUnit::Microseconds, true},
    {Reading::NegWidth, ReadingUnit::Microseconds, true},
    {Reading::DutyCycle, ReadingUnit::Percent, true},
}};
constexpr const ReadingInfo& InfoOf(Reading reading) { return ReadingTable[static_cast<std::size_t>(reading)]; }

// A reading of one channel in the panel's units, empty where the panel shows
// no number for it (channel off; a cycle reading without a complete cycle).
std::optional<double> PanelValueOf(const ChannelReadings& readings, Reading reading);

// A value in the panel's units as the panel writes it: voltages and times to
// the nearest 10 mV or microsecond through the cursor formatters, frequencies
// through the frequency text, duty cycles as whole percent ("38%").
QString PanelTextOf(Reading reading, double value, const QString& decimalPoint = QStringLiteral("."));

// What a reading means: the time base it was taken on and, per channel,
// whether it is on and, when it is, its volts/div row (range and scale) and
// the calibration count subtracted. The settings of a channel that is off
// mean nothing for its (absent) readings and are left out.
struct ReadingKey {
  struct Channel {
    bool on = false;
    bool highRange = false;
    std::int32_t scale = 0;
    std::int32_t calOffset = 0;
    friend bool operator==(const Channel&, const Channel&) = default;
  };
  std::int32_t timeBaseIndex = 0;
  bool rate1MS = false;
  std::int32_t usPerSample = 0;
  std::array<Channel, 2> channels{};
  friend bool operator==(const ReadingKey&, const ReadingKey&) = default;
};
ReadingKey ReadingKeyOf(const Record& record);

// Count, mean and spread of a run of values, in one pass (Welford's update:
// the mean and the sum of squared deviations are updated together, so a long
// run of nearly equal values loses no digits to cancellation).
class RunningStatistic {
 public:
  void Add(double value);
  std::int64_t Count() const { return count_; }
  // Of the values added (Last: the last one counted, which need not be the
  // last record's: a record without a cycle adds no period); 0 while none
  // has been.
  double Last() const { return last_; }
  double Mean() const { return mean_; }
  double Minimum() const { return minimum_; }
  double Maximum() const { return maximum_; }
  // The spread of the values themselves (divided by the count, not by one
  // less): 0 for a single value and for a run of equal ones.
  double StandardDeviation() const;

 private:
  std::int64_t count_ = 0;
  double last_ = 0, mean_ = 0, minimum_ = 0, maximum_ = 0;
  double squaredDeviations_ = 0;
};

// One row of the statistics as the panel writes it; all empty while nothing
// has been counted.
struct StatisticTexts {
  QString last, mean, minimum, maximum, standardDeviation, count;
};

class MeasurementStatistics {
 public:
  // Counts the readings of a record taken as `key` says; a key other than
  // the last record's resets first. True when it reset (not for the first
  // record after a reset).
  bool Add(const ReadingKey& key, const std::array<ChannelReadings, 2>& readings);
  bool Add(const Record& record, const std::array<ChannelReadings, 2>& readings) {
    return Add(ReadingKeyOf(record), readings);
  }
  void Reset();

  // Records added since the last reset.
  std::int64_t Records() const { return records_; }
  // Channel 1 or 2; another channel is a ScopeError.
  const RunningStatistic& Of(int channel, Reading reading) const;
  StatisticTexts TextsOf(int channel, Reading reading, const QString& decimalPoint = QStringLiteral(".")) const;

 private:
  std::array<std::array<RunningStatistic, ReadingCount>, 2> statistics_{};
  std::optional<ReadingKey> key_;
  std::int64_t records_ = 0;
};

}  // namespace core

#pragma once
// The automatic measurements of one channel over the samples on the plot, in
// integer arithmetic on the 8-bit counts: five voltages from the extremes and
// the mean, and the first complete cycle round the mean for the period, the
// pulse widths and the duty cycle. Pure: the window hands in the samples of
// the view and the channel's settings, and shows the texts.
//
// Counts: a corrected count is the sample less the channel's calibration
// offset; the count 126 is 0 V and the count grows as the voltage falls. A
// count difference d is d * G / 100 in units of 10 mV, G the range factor.
// Every division truncates toward zero.

#include <QString>

#include <cstdint>
#include <span>

namespace measure {

inline constexpr std::int32_t ZeroVoltCount = 126;
inline constexpr std::int32_t HighRangeFactor = 784;  // 78.4 mV a count, 1 V..10 V/div
inline constexpr std::int32_t LowRangeFactor = 156;   // 15.6 mV a count, 100..500 mV/div

constexpr std::int32_t RangeFactor(bool highRange) { return highRange ? HighRangeFactor : LowRangeFactor; }

// The extremes and mean of the corrected counts of a window of samples.
struct Extremes {
  std::int32_t maxCount;   // the lowest voltage
  std::int32_t minCount;   // the highest voltage
  std::int32_t meanCount;  // sum div n: also the threshold of the cycle
};
// Throws ScopeError for an empty window.
Extremes ExtremesOf(std::span<const std::uint8_t> samples, std::int32_t calOffset);

// Voltages in units of 10 mV.
struct Voltages {
  std::int32_t maximum;      // (126 - min count) * G / 100
  std::int32_t minimum;      // (126 - max count) * G / 100
  std::int32_t peakToPeak;   // from the counts, not the difference of the two above
  std::int32_t mean;         // (126 - mean count) * G / 100
  std::int32_t rms;          // of a sine whose positive peak is the maximum
};
Voltages VoltagesOf(const Extremes& extremes, std::int32_t rangeFactor);

// The first cycle round the mean that follows a first sample below it,
// counted in samples. A sample is above the mean when its count is less
// than the threshold, below when greater. The sample that ends a phase is
// counted in both phases; the widths take that overlap off, so a complete
// cycle has posWidth samples above the mean, negWidth below, and period is
// the distance between two successive upward crossings.
struct Cycle {
  bool complete;  // its negative phase has ended
  std::int32_t posWidth;
  std::int32_t negWidth;
  std::int32_t period;  // posWidth + negWidth
};
Cycle FirstCycle(std::span<const std::uint8_t> samples, std::int32_t calOffset, std::int32_t threshold);

// The ten readings of one channel as numbers, in the panel's own units:
// voltages in 10 mV, times in microseconds. Without a complete cycle the
// period, widths, frequency and duty cycle are 0: the panel reads "0 us",
// "0 Hz" and "No Cycle" there, a logger leaves them empty.
struct Readings {
  Voltages volts;
  bool complete;            // a whole cycle was seen
  std::int64_t periodUs;    // period * usPerSample
  std::int64_t posWidthUs;
  std::int64_t negWidthUs;
  double frequencyHz;       // 1 / period
  std::int32_t dutyCycle;   // posWidth * 100 / period, whole percent
};

// All ten readings over a window. `usPerSample` is the time between two
// samples of the record: the time base's microseconds per plot column times
// the layout's columns per sample (two in the stretched record). Throws
// ScopeError for an empty window.
Readings ReadChannel(std::span<const std::uint8_t> samples, std::int32_t calOffset, bool highRange,
                     std::int32_t usPerSample);

// The ten texts of one channel, as the measurement panel shows them.
struct ReadingTexts {
  QString maximum, minimum, peakToPeak, mean, rms;
  QString period, frequency, posWidth, negWidth, dutyCycle;
};

// The readings of ReadChannel as the panel's texts. A window without a
// complete cycle reads "0 us" for the period and both widths, "0 Hz" and
// "No Cycle".
ReadingTexts MeasureChannel(std::span<const std::uint8_t> samples, std::int32_t calOffset, bool highRange,
                            std::int32_t usPerSample, const QString& decimalPoint = QStringLiteral("."));
// The same texts of readings already read.
ReadingTexts TextsOf(const Readings& readings, const QString& decimalPoint = QStringLiteral("."));

}  // namespace measure

#include "measure/Measurements.h"

#include "app/Errors.h"
#include "app/ReadoutText.h"

namespace measure {

Extremes ExtremesOf(std::span<const std::uint8_t> samples, std::int32_t calOffset) {
  if (samples.empty()) throw ScopeError(QStringLiteral("Division by zero"));
  std::int32_t maxCount = samples.front() - calOffset;
  std::int32_t minCount = maxCount;
  std::int64_t sum = 0;
  for (const std::uint8_t s : samples) {
    const std::int32_t c = s - calOffset;
    if (c > maxCount) maxCount = c;
    if (c < minCount) minCount = c;
    sum += c;
  }
  return {maxCount, minCount, static_cast<std::int32_t>(sum / static_cast<std::int64_t>(samples.size()))};
}

Voltages VoltagesOf(const Extremes& e, std::int32_t g) {
  return {
      .maximum = (ZeroVoltCount - e.minCount) * g / 100,
      .minimum = (ZeroVoltCount - e.maxCount) * g / 100,
      .peakToPeak = (e.maxCount - e.minCount) * g / 100,
      .mean = (ZeroVoltCount - e.meanCount) * g / 100,
      .rms = ((ZeroVoltCount - e.minCount) * 707 / 1000) * g / 100,
  };
}

Cycle FirstCycle(std::span<const std::uint8_t> samples, std::int32_t calOffset, std::int32_t threshold) {
  bool started = false, armed = false, positive = false, negative = false, complete = false;
  std::int32_t p = 0, n = 0;
  for (const std::uint8_t s : samples) {
    const std::int32_t c = s - calOffset;
    const bool above = c < threshold;
    const bool below = c > threshold;
    // Only a first sample below the mean arms the count: a trace that
    // begins above it has that first positive run skipped.
    if (below) {
      if (!started) armed = true;
      started = true;
    }
    if (armed && above) {
      positive = true;
      armed = false;
    }
    if (positive) {
      ++p;
      if (below) {
        negative = true;
        positive = false;
      }
    }
    if (negative) {
      ++n;
      if (above) {
        positive = negative = false;
        complete = true;
      }
    }
  }
  if (!complete) return {false, 0, 0, 0};
  return {true, p - 1, n - 1, (p - 1) + (n - 1)};
}

Readings ReadChannel(std::span<const std::uint8_t> samples, std::int32_t calOffset, bool highRange,
                     std::int32_t usPerSample) {
  const Extremes e = ExtremesOf(samples, calOffset);
  const Cycle cycle = FirstCycle(samples, calOffset, e.meanCount);
  const std::int64_t us = usPerSample;
  Readings r{
      .volts = VoltagesOf(e, RangeFactor(highRange)),
      .complete = cycle.complete,
      .periodUs = cycle.period * us,
      .posWidthUs = cycle.posWidth * us,
      .negWidthUs = cycle.negWidth * us,
      .frequencyHz = 0.0,
      .dutyCycle = 0,
  };
  if (cycle.complete) {
    r.dutyCycle = cycle.posWidth * 100 / cycle.period;
    r.frequencyHz = 1e6 / static_cast<double>(r.periodUs);
  }
  return r;
}

ReadingTexts MeasureChannel(std::span<const std::uint8_t> samples, std::int32_t calOffset, bool highRange,
                            std::int32_t usPerSample, const QString& decimalPoint) {
  return TextsOf(ReadChannel(samples, calOffset, highRange, usPerSample), decimalPoint);
}

ReadingTexts TextsOf(const Readings& r, const QString& decimalPoint) {
  using readout_text::FormatCursortext;
  using readout_text::FormatCursorTime;
  ReadingTexts t;
  t.maximum = FormatCursortext(r.volts.maximum);
  t.minimum = FormatCursortext(r.volts.minimum);
  t.rms = FormatCursortext(r.volts.rms);
  t.peakToPeak = FormatCursortext(r.volts.peakToPeak);
  t.mean = FormatCursortext(r.volts.mean);
  t.period = FormatCursorTime(r.periodUs);
  t.posWidth = FormatCursorTime(r.posWidthUs);
  t.negWidth = FormatCursorTime(r.negWidthUs);
  t.frequency = readout_text::FormatFreq(r.periodUs, decimalPoint);
  t.dutyCycle = r.complete ? QString::number(r.dutyCycle) + QLatin1Char('%') : QStringLiteral("No Cycle");
  return t;
}

}  // namespace measure

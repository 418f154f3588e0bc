#pragma once
// What the simulated instrument has on its inputs: one signal source per
// channel (a waveform with frequency, amplitude and offset in volts) and the
// TTL square on the external trigger input, each a function of time. Time is
// in seconds on the simulator's own clock.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

enum class Shape { Sine, Square, Triangle, Sawtooth, DC, Noise };

struct SignalSource {
  Shape shape = Shape::Sine;
  double frequencyHz = 1000.0;
  double amplitudeV = 1.0;  // peak, so a sine of amplitude 4 is 8 V peak to peak
  double offsetV = 0.0;     // the whole level for DC

  double Volts(double t) const;
  // Noise has no value between samples: an edge of it cannot be refined.
  bool Continuous() const { return shape != Shape::Noise; }
};

// "shape[:frequency[:amplitude[:offset]]]", e.g. "sine:1000:4:0" or "dc::0:2.5";
// an empty field keeps the default. Nothing when the text is not of that form.
std::optional<SignalSource> ParseSignal(std::string_view text);
std::string DescribeSignal(const SignalSource& source);

// The converter: code = 126 - V / step, rounded and held to 0..255. Higher
// voltages give lower codes, so a rising voltage is a falling code.
inline constexpr double kHighRangeStepV = 0.0784;  // the 1 V to 10 V/div rows
inline constexpr double kLowRangeStepV = 0.0156;   // the 100 mV to 500 mV/div rows
inline constexpr double kZeroVoltCode = 126.0;

double StepVolts(bool highRange);
std::uint8_t VoltsToCode(double volts, bool highRange);

// The external trigger input: a 0/5 V square whose logic level flips at 1.4 V.
inline constexpr double kTtlHighV = 5.0;
inline constexpr double kTtlThresholdV = 1.4;
SignalSource ExternalTtlSquare(double frequencyHz);

}  // namespace sim

#include "sim/SignalSource.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numbers>
#include <sstream>
#include <vector>

namespace sim {

namespace {

struct ShapeName {
  Shape shape;
  std::string_view name;
};
constexpr std::array<ShapeName, 6> kShapeNames{{
    {Shape::Sine, "sine"},
    {Shape::Square, "square"},
    {Shape::Triangle, "triangle"},
    {Shape::Sawtooth, "sawtooth"},
    {Shape::DC, "dc"},
    {Shape::Noise, "noise"},
}};

// Noise must give the same value each time the same instant is sampled (the
// trigger search and the record read the same samples), so it is a hash of
// the time in steps of 10 ns rather than a running generator.
double NoiseAt(double t) {
  auto x = static_cast<std::uint64_t>(std::llround(t * 1e8));
  x ^= x >> 33;
  x *= 0xff51afd7ed558ccdULL;
  x ^= x >> 33;
  x *= 0xc4ceb9fe1a85ec53ULL;
  x ^= x >> 33;
  return static_cast<double>(x >> 11) / static_cast<double>(1ULL << 53) * 2.0 - 1.0;
}

std::optional<double> Number(std::string_view text) {
  // from_chars for double is in libstdc++ 11 and later.
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

double SignalSource::Volts(double t) const {
  const double cycles = frequencyHz * t;
  const double phase = cycles - std::floor(cycles);  // 0 <= phase < 1
  double unit = 0;
  switch (shape) {
    case Shape::Sine:
      unit = std::sin(2.0 * std::numbers::pi * phase);
      break;
    case Shape::Square:
      unit = phase < 0.5 ? 1.0 : -1.0;
      break;
    case Shape::Triangle:
      unit = phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
      break;
    case Shape::Sawtooth:
      unit = 2.0 * phase - 1.0;
      break;
    case Shape::DC:
      return offsetV;
    case Shape::Noise:
      unit = NoiseAt(t);
      break;
  }
  return offsetV + amplitudeV * unit;
}

std::optional<SignalSource> ParseSignal(std::string_view text) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t colon = text.find(':', start);
    fields.push_back(text.substr(start, colon == std::string_view::npos ? colon : colon - start));
    if (colon == std::string_view::npos) break;
    start = colon + 1;
  }
  if (fields.size() > 4) return std::nullopt;
  SignalSource source;
  const auto shape = std::find_if(kShapeNames.begin(), kShapeNames.end(),
                                  [&](const ShapeName& s) { return s.name == fields[0]; });
  if (shape == kShapeNames.end()) return std::nullopt;
  source.shape = shape->shape;
  double* targets[] = {&source.frequencyHz, &source.amplitudeV, &source.offsetV};
  for (std::size_t i = 1; i < fields.size(); ++i) {
    if (fields[i].empty()) continue;
    const auto value = Number(fields[i]);
    if (!value) return std::nullopt;
    *targets[i - 1] = *value;
  }
  if (source.frequencyHz < 0 || source.amplitudeV < 0) return std::nullopt;
  return source;
}

std::string DescribeSignal(const SignalSource& source) {
  std::ostringstream text;
  for (const ShapeName& s : kShapeNames) {
    if (s.shape == source.shape) text << s.name;
  }
  text << ':' << source.frequencyHz << ':' << source.amplitudeV << ':' << source.offsetV;
  return text.str();
}

double StepVolts(bool highRange) { return highRange ? kHighRangeStepV : kLowRangeStepV; }

std::uint8_t VoltsToCode(double volts, bool highRange) {
  const double code = std::round(kZeroVoltCode - volts / StepVolts(highRange));
  return static_cast<std::uint8_t>(std::clamp(code, 0.0, 255.0));
}

SignalSource ExternalTtlSquare(double frequencyHz) {
  return {Shape::Square, frequencyHz, kTtlHighV / 2, kTtlHighV / 2};
}

}  // namespace sim

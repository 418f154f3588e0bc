#pragma once
// What the knob faces print round their dials: each row's label at its
// detent (degrees clockwise from 3 o'clock, as the knobs are read) and the
// face that lights that label.

#include <string_view>

namespace artwork {

struct DialRow {
  int detent;
  std::string_view label;  // UTF-8
  std::string_view face;   // file name, or suffix after the channel prefix
};

// The volts/div faces are "Grafics/VoltageKnob/" + prefix + suffix.
inline constexpr std::string_view VoltsFaceFolder = "Grafics/VoltageKnob/";
inline constexpr std::string_view Ch1FacePrefix = "knobR";
inline constexpr std::string_view Ch2FacePrefix = "knobB";

inline constexpr DialRow VoltsRows[] = {
    {135, "100mV", "100.bmp"}, {180, "200mV", "200.bmp"}, {225, "500mV", "500.bmp"},
    {270, "1V", "1V.bmp"},     {315, "2V", "2V.bmp"},     {0, "5V", "5V.bmp"},
    {45, "10V", "10V.bmp"},
};

inline constexpr DialRow TimeRows[] = {
    {114, "50µs", "Grafics/TimeKnob/TimeKnob50u.bmp"},
    {138, "100µs", "Grafics/TimeKnob/TimeKnob100u.bmp"},
    {162, "200µs", "Grafics/TimeKnob/TimeKnob200u.bmp"},
    {186, "500µs", "Grafics/TimeKnob/TimeKnob500u.bmp"},
    {210, "1ms", "Grafics/TimeKnob/TimeKnob1m.bmp"},
    {234, "2ms", "Grafics/TimeKnob/TimeKnob2m.bmp"},
    {258, "5ms", "Grafics/TimeKnob/TimeKnob5m.bmp"},
    {282, "10ms", "Grafics/TimeKnob/TimeKnob10m.bmp"},
    {306, "20ms", "Grafics/TimeKnob/TimeKnob20m.bmp"},
    {330, "50ms", "Grafics/TimeKnob/TimeKnob50m.bmp"},
    {354, "100ms", "Grafics/TimeKnob/TimeKnob100m.bmp"},
    {18, "200ms", "Grafics/TimeKnob/TimeKnob200m.bmp"},
    {42, "500ms", "Grafics/TimeKnob/TimeKnob500m.bmp"},
    {66, "1s", "Grafics/TimeKnob/TimeKnob1s.bmp"},
};

}  // namespace artwork

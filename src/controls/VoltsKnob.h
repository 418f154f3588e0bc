#pragma once
// The volts/div knob: its seven rows, each owning a band of knob angles and a
// detent inside it, and what the row sets for the channel that has the knob.
// The window's UpdatedKnob reads this table; the tests read the same one.

#include "controls/KnobAngle.h"

#include <string_view>

namespace volts_knob {

struct VoltsRow {
  knob::AngleBand band;
  int detent;                     // the dot's resting angle after a release
  std::string_view ch1Caption;    // CH1VoltsDivText
  std::string_view ch2Caption;    // CH2VoltsDivText
  std::string_view faceSuffix;    // appended to KnobBitmapPrefix
  int scale;                      // plot pixels per 100 converter counts
  int voltsDiv;                   // volts/div in units of 50 mV
  bool highRange;                 // the instrument's 1 V..10 V/div input range
};

// In the order the rows are tested. The 10 V band reaches down to 6 o'clock
// (89); 90 already belongs to 100 mV. The CH1 caption of the 5 V row reads
// "CH1 5/DIV", without the V, as the scope has always shown it.
inline constexpr VoltsRow VoltsRows[] = {
    {{90, 158, false}, 135, "CH1 100mV/DIV", "CH2 100mV/DIV", "100.bmp", 624, 2, false},
    {{159, 203, false}, 180, "CH1 200mV/DIV", "CH2 200mV/DIV", "200.bmp", 312, 4, false},
    {{204, 248, false}, 225, "CH1 500mV/DIV", "CH2 500mV/DIV", "500.bmp", 156, 10, false},
    {{249, 293, false}, 270, "CH1 1V/DIV", "CH2 1V/DIV", "1V.bmp", 393, 20, true},
    {{294, 338, false}, 315, "CH1 2V/DIV", "CH2 2V/DIV", "2V.bmp", 197, 40, true},
    {{339, 23, true}, 0, "CH1 5/DIV", "CH2 5V/DIV", "5V.bmp", 78, 100, true},
    {{24, 89, false}, 45, "CH1 10V/DIV", "CH2 10V/DIV", "10V.bmp", 39, 200, true},
};

// The first row, in table order, whose band holds the angle. Every int32
// angle falls in some band (the 5 V band takes all outside 0..359), so this
// never fails.
const VoltsRow& RowForAngle(int angle);

// The pointer dot (16 x 16) rides a circle of radius 18 round the knob
// centre (100, 100) of the 200 x 200 face.
inline knob::DotPlace DotPlace(int angle) { return knob::DotPlaceFor(angle, 92, 18); }

// Pictures of the knob, relative to the executable's folder.
inline constexpr std::string_view CH1FacePrefix = "Grafics\\VoltageKnob\\knobR";
inline constexpr std::string_view CH2FacePrefix = "Grafics\\VoltageKnob\\knobB";
inline constexpr std::string_view CH1Dot = "Grafics\\VoltageKnob\\knobdot.bmp";
inline constexpr std::string_view CH2Dot = "Grafics\\VoltageKnob\\knobdotB.bmp";
inline constexpr std::string_view NoSelectionFace = "Grafics\\VoltageKnob\\knob-no-sel.bmp";

// The same for channel 1 or 2: the face and dot the knob shows while that
// channel has it, and the row's caption for that channel.
constexpr std::string_view FacePrefix(int channel) { return channel == 1 ? CH1FacePrefix : CH2FacePrefix; }
constexpr std::string_view Dot(int channel) { return channel == 1 ? CH1Dot : CH2Dot; }
constexpr std::string_view Caption(const VoltsRow& row, int channel) {
  return channel == 1 ? row.ch1Caption : row.ch2Caption;
}

}  // namespace volts_knob

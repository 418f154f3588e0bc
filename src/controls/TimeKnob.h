#pragma once
// The time/div knob: its fourteen rows from 50 us/div to 1 s/div, each owning
// a band of knob angles and a detent, with the index the capture command
// sends, the time per plot column and the captions under the screen. The
// window's UpdatedTimeKnob reads this table; the tests read the same one.

#include "controls/KnobAngle.h"

#include <string_view>

namespace time_knob {

struct TimeRow {
  int index;  // TimeBaseIndex, sent to the instrument
  knob::AngleBand band;
  int detent;
  std::string_view timeDivText;
  std::string_view sampleRateText;        // SampleRateText of the row
  std::string_view oneChannelRateText;    // on the 50 us/div row while Rate1MS holds, else empty
  int samplePeriodUs;                     // microseconds per plot column: time/div over 50
  std::string_view face;                  // the knob face, relative to the executable's folder
};

// The 50 us/div row whose rate depends on the channels that are on.
inline constexpr int FastestIndex = 2;

// Detents 24 degrees apart from 114 round to 66; the first band (91..126)
// and the last (55..90) are wider and meet at 6 o'clock. The knob writes
// "1M/s" for the one-channel rate of 50 us/div; the channel keys write
// "1MS/s" for the same mode (Checkfor1Ms, Checkfor1Ms2).
inline constexpr TimeRow TimeRows[] = {
    {2, {91, 126, false}, 114, "50us/DIV", "500KS/s", "1M/s", 1, "Grafics\\TimeKnob\\TimeKnob50u.bmp"},
    {3, {127, 150, false}, 138, "100us/DIV", "500KS/s", "", 2, "Grafics\\TimeKnob\\TimeKnob100u.bmp"},
    {4, {151, 174, false}, 162, "200us/DIV", "250KS/s", "", 4, "Grafics\\TimeKnob\\TimeKnob200u.bmp"},
    {5, {175, 198, false}, 186, "500us/DIV", "100KS/s", "", 10, "Grafics\\TimeKnob\\TimeKnob500u.bmp"},
    {6, {199, 222, false}, 210, "1ms/DIV", "50KS/s", "", 20, "Grafics\\TimeKnob\\TimeKnob1m.bmp"},
    {7, {223, 246, false}, 234, "2ms/DIV", "25KS/s", "", 40, "Grafics\\TimeKnob\\TimeKnob2m.bmp"},
    {8, {247, 270, false}, 258, "5ms/DIV", "10KS/s", "", 100, "Grafics\\TimeKnob\\TimeKnob5m.bmp"},
    {9, {271, 294, false}, 282, "10ms/DIV", "5KS/s", "", 200, "Grafics\\TimeKnob\\TimeKnob10m.bmp"},
    {10, {295, 318, false}, 306, "20ms/DIV", "2.5KS/s", "", 400, "Grafics\\TimeKnob\\TimeKnob20m.bmp"},
    {11, {319, 342, false}, 330, "50ms/DIV", "1KS/s", "", 1000, "Grafics\\TimeKnob\\TimeKnob50m.bmp"},
    {12, {343, 6, true}, 354, "100ms/DIV", "500S/s", "", 2000, "Grafics\\TimeKnob\\TimeKnob100m.bmp"},
    {13, {7, 30, false}, 18, "200ms/DIV", "250S/s", "", 4000, "Grafics\\TimeKnob\\TimeKnob200m.bmp"},
    {14, {31, 54, false}, 42, "500ms/DIV", "100S/s", "", 10000, "Grafics\\TimeKnob\\TimeKnob500m.bmp"},
    {15, {55, 90, false}, 66, "1s/DIV", "50S/s", "", 20000, "Grafics\\TimeKnob\\TimeKnob1s.bmp"},
};

// The first row, in table order, whose band holds the angle; every int32
// angle falls in one (100 ms/div takes all outside 0..359).
const TimeRow& RowForAngle(int angle);

// The caption of the row's sample rate for the 1 MS/s mode in force.
std::string_view SampleRateTextFor(const TimeRow& row, bool rate1MS);

// The pointer dot (22 x 22) rides a circle of radius 36 round the knob
// centre (112, 112) of the 225 x 225 face.
inline knob::DotPlace DotPlace(int angle) { return knob::DotPlaceFor(angle, 101, 36); }

// Captions of the 50 us/div rate that the channel keys settle.
inline constexpr std::string_view OneChannelRateText = "1MS/s";
inline constexpr std::string_view TwoChannelRateText = "500KS/s";

inline constexpr std::string_view DotPicture = "Grafics\\TimeKnob\\TimeKnobDot.bmp";

}  // namespace time_knob

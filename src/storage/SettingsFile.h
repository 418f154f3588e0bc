#pragma once
// A settings file: the front panel as 24 text lines that "Save Settings To
// File" writes and "Load Settings From File" reads back into the store.
// Pure: the lines from a panel state, and the store writes from the lines,
// checked whole before anything is written.
//
//   line  1  the port (not read back)       13  CH2 on (flag)
//         2  CH1 0 V marker Top             14  CH1 volts/div knob angle
//         3  CH2 0 V marker Top             15  CH2 volts/div knob angle
//         4  time base knob angle           16  volts/div knob enabled (flag)
//         5  CH1 trigger arrow Top          17  CH1 has the knob (flag)
//         6  CH2 trigger arrow Top          18  the knob face (not read back)
//         7  trigger source 1, 2 or 10      19  window Top
//         8  CH1 trigger level (counts)     20  window Left
//         9  CH2 trigger level (counts)     21  rising edge (flag)
//        10  CH1 arrow shown (flag)         22  continuous (flag)
//        11  CH2 arrow shown (flag)         23  auto trigger (flag)
//        12  CH1 on (flag)                  24  trigger position marker Left

#include "storage/StoredValues.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace settings_file {

inline constexpr int LineCount = 24;
// The first line of a reference waveform file; such a file is no settings file.
inline constexpr const char* ReferenceHeader = "Tessaron USB Oscilloscope Referance File";
inline constexpr int TriggerPositionLine = 24;

struct PanelState {
  QString port;
  std::int32_t ch1VertPos = 0;
  std::int32_t ch2VertPos = 0;
  std::int32_t timeKnobAngle = 0;
  std::int32_t ch1Trig = 0;
  std::int32_t ch2Trig = 0;
  std::int32_t triggerCH = 0;
  std::int32_t ch1TriggerV = 0;
  std::int32_t ch2TriggerV = 0;
  bool ch1ArrowShown = false;
  bool ch2ArrowShown = false;
  bool ch1On = false;
  bool ch2On = false;
  std::int32_t ch1KnobAngle = 0;
  std::int32_t ch2KnobAngle = 0;
  bool knobEnabled = false;
  bool ch1Focus = false;
  QString knobFacePrefix;
  std::int32_t formTop = 0;
  std::int32_t formLeft = 0;
  bool rising = false;
  bool continuous = false;
  bool autoTrigger = false;
  std::int32_t trigPos = 0;
};

// The 24 lines, flags as "1" or "0".
QStringList Lines(const PanelState& panel);

// The store values a load writes, in its order, each with its line (from 1).
inline constexpr std::array<std::pair<stored::Id, int>, 21> LoadOrder{{
    {stored::Id::Angle, 4},        {stored::Id::Auto, 23},           {stored::Id::CH1Focus, 17},
    {stored::Id::CH1KnobAngle, 14}, {stored::Id::CH1On, 12},          {stored::Id::CH1TriggerArrowVis, 10},
    {stored::Id::CH1Trig, 5},       {stored::Id::CH1TriggerV, 8},     {stored::Id::CH1VertPos, 2},
    {stored::Id::CH2KnobAngle, 15}, {stored::Id::CH2On, 13},          {stored::Id::CH2Trig, 6},
    {stored::Id::CH2TriggerArrowVis, 11}, {stored::Id::CH2TriggerV, 9}, {stored::Id::CH2VertPos, 3},
    {stored::Id::ConSample, 22},    {stored::Id::Image7EN, 16},       {stored::Id::RisingTrigger, 21},
    {stored::Id::TriggerCH, 7},     {stored::Id::FormTop, 19},        {stored::Id::FormLeft, 20},
}};

struct Loaded {
  std::vector<std::pair<stored::Id, std::int32_t>> writes;  // in LoadOrder
  std::int32_t trigPos = 0;                                 // line 24
};

// Refuses a reference file; then reads the lines in the load order, then
// line 24, and throws ScopeError at the first that fails, with the message
// the value-by-value load gives: "List index out of bounds (%d)" (the
// missing line counted from 0) or "'%s' is not a valid integer value". Then
// refuses any value the panel cannot show (a trigger source other than 1, 2 or 10, a
// position, level or angle out of its range), naming the line. Flags are
// taken as written: only 1 counts as true.
Loaded Parse(const QStringList& lines);

}  // namespace settings_file

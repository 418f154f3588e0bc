#pragma once
// The channel selector: which channels are on and which one has the volts/div
// knob, folded into one code, and the picture and marker and readout
// visibility each code stands for. CHButtonClick and UpdatedvoltageButtons
// apply the entry of the current code to the widgets.

#include <string_view>

namespace channel_selector {

enum class KnobPrefix { Unchanged, CH1, CH2 };

struct SelectorEntry {
  int code;
  std::string_view picture;  // Image6, relative to the executable's folder
  bool image1;               // CH1 marker, selected look
  bool image2;               // CH2 marker, selected look
  bool ch1v;                 // CH1 volts/div readout
  bool ch2v;
  bool ch1ns;                // CH1 marker, not-selected look
  bool ch2ns;
  KnobPrefix prefix;         // which channel's knob faces the knob shows
};

// (CH1 on: 1) + (CH2 on: 10) + (CH1 has the knob: 10, else 20). The keys and
// markers never make "CH1 only, CH2 selected" (21) or "CH2 only, CH1
// selected" (20); a restored setting can, and it gets the entry its sum names.
constexpr int SelectorCode(bool ch1On, bool ch2On, bool ch1Focus) {
  return (ch1On ? 1 : 0) + (ch2On ? 10 : 0) + (ch1Focus ? 10 : 20);
}

inline constexpr SelectorEntry SelectorTable[] = {
    {11, "Grafics\\ChannelSelecter\\CHSelector-1on-2off-1sel.bmp",
     true, false, true, false, false, false, KnobPrefix::CH1},
    {20, "Grafics\\ChannelSelecter\\CHSelector-1off-2off.bmp",
     false, false, false, false, false, false, KnobPrefix::Unchanged},
    {21, "Grafics\\ChannelSelecter\\CHSelector-1on-2on-1sel.bmp",
     true, false, true, true, false, true, KnobPrefix::CH1},
    {30, "Grafics\\ChannelSelecter\\CHSelector-1off-2on-2sel.bmp",
     false, true, false, true, false, false, KnobPrefix::CH2},
    {31, "Grafics\\ChannelSelecter\\CHSelector-1on-2on-2sel.bmp",
     false, true, true, true, true, false, KnobPrefix::CH2},
};

// The entry of a code, or nullptr for a code that changes nothing (10: no
// channel on with CH1 selected).
const SelectorEntry* EntryForCode(int code);

}  // namespace channel_selector

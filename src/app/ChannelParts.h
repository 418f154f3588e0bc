#pragma once
// One channel of the scope as a set of references: its state in ScopeState
// and the widgets that show it. TForm1::Channel(1) and Channel(2) hand them
// out, so code that does the same for either channel is written once against
// a ChannelParts instead of twice against CH1... and CH2... names.
//
// The widget fields refer to TForm1's pointer members, not to the widgets, so
// a ChannelParts taken before a subsystem has built its widgets sees them once
// they exist. A ChannelParts lives no longer than the window it came from.

#include "app/ScopeState.h"

#include <QColor>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

class QAction;
class TImage;
class TLabel;

struct ChannelParts {
  int Number;     // 1 or 2
  QColor Colour;  // trace, marker, level line and readout

  // ---- State ----------------------------------------------------------
  ScopeState::Flag& On;            // ChannelOn[n]
  std::int32_t& VertPos;           // the 0 V row: the Top of the channel's marker
  std::int32_t& KnobAngle;         // the volts/div knob's detent while the other channel has it
  std::int32_t& Scale;             // plot pixels per 100 counts
  std::int32_t& VoltsDiv;          // in units of 50 mV
  QString& VoltsDivText;           // "CH1 1V/DIV"
  ScopeState::Flag& HighRange;     // the 1 V..10 V/div input range
  std::int32_t& TriggerV;          // trigger level, counts above the 0 V row
  std::int32_t& CalLow;            // calibration offset of the low range
  std::int32_t& CalHigh;           // calibration offset of the high range
  std::int32_t& CalOffset;         // the offset of the present range, for the next capture command
  std::vector<std::int32_t>& Persistence;
  std::array<QColor, 256>& PersistColors;

  // ---- Widgets ----------------------------------------------------------
  QAction*& SourceItem;       // Trigger > Source (CH11, CH21)
};

#pragma once
// How the screen reads a record: the plot row of one of its samples, and the
// time per plot column and the volts/div the cursor readouts take. What the
// samples mean (scale, calibration offset, time base, input range) is the
// record's own, latched when its command went out; how they are viewed (the
// channel's 0 V row, whether its trace shows) stays with the panel. So a
// stopped record reads the same after a knob turn, and its trace still moves
// with the position marker.

#include "core/Record.h"

#include <QString>

#include <cstdint>
#include <span>

namespace core {

// The calibration count subtracted from `channel`'s samples: the one in
// force for its range when the record's command went out. Before the first
// record, the panel's (`calHigh`, `calLow`) for the record's range.
std::int32_t CalOffsetOf(const Record& record, int channel, std::int32_t calHigh, std::int32_t calLow);

// Plot row of sample `index` of `channel` with the channel's 0 V line on
// `zeroRow`, at the record's scale less `calOffset` counts. Throws
// ScopeError for an index outside the buffers.
std::int32_t RowOfSample(const Record& record, int channel, std::int32_t index, std::int32_t zeroRow,
                         std::int32_t calOffset);

// The same for an averaged trace: `means` holds the channel's mean of each
// sample over the records averaged (index 0 unused), and the row lies between
// those of the whole counts round it (screen_model::MeanSampleRow).
std::int32_t RowOfMean(const Record& record, int channel, std::span<const double> means, std::int32_t index,
                       std::int32_t zeroRow, std::int32_t calOffset);

// Microseconds per plot column for the time cursors: the record's time
// base. Before the first record there is no trace to read, and the lines
// read the graticule at the panel's time base.
std::int32_t CursorUsPerColumn(const Record& record, std::int32_t panelUsPerColumn);

// Volts/div (in 50 mV, millivolts per pixel) for the voltage cursors against
// `channel`'s 0 V row: the row the record was captured on. Before the first
// record, the panel's.
std::int32_t CursorVoltsDiv(const Record& record, int channel, std::int32_t panelVoltsDiv);

// The captions the status strip showed for the record when it was captured:
// `channel`'s volts/div ("CH1 1V/DIV"; empty for a scale no knob row has)
// and the time/div of its time base row (empty for a row the knob lacks).
QString VoltsDivCaptionOf(const Record& record, int channel);
QString TimeDivCaptionOf(const Record& record);

}  // namespace core

#pragma once
// The CSV lines tessaron-log writes (pure): a header naming the columns,
// then per record its local time (ISO 8601 with milliseconds), its sequence
// number and the twenty readings of the measurement panel in SI units (V, s,
// Hz, %), CH1's ten then CH2's, in the panel's order; a reading the panel
// shows no number for is empty.

#include "core/Record.h"
#include "core/RecordReadings.h"

#include <QString>

namespace scope_log {

QString HeaderLine();
QString RecordLine(const core::Record& record, const std::array<core::ChannelReadings, 2>& readings);

}  // namespace scope_log

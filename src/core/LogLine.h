#pragma once
// The CSV lines of a measurement log (pure), tessaron-log's and the
// window's alike: a header naming the columns, then per record its local
// time (ISO 8601 with milliseconds), its sequence number and the twenty
// readings of the measurement panel in SI units (V, s, Hz, %), CH1's ten
// then CH2's, in the panel's order; a reading the panel shows no number for
// is empty. The lines carry no line end: the writer adds "\n".

#include "core/Record.h"
#include "core/RecordReadings.h"

#include <QString>

namespace core {

QString LogHeaderLine();
QString LogRecordLine(const Record& record, const std::array<ChannelReadings, 2>& readings);

}  // namespace core

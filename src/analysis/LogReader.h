#pragma once
// Reads a measurement log (core/MeasurementLog, tessaron-log) back, line by
// line, for the trend plot. The first line must be the log's header; every
// other line is a record: its time (ISO 8601 with milliseconds, local
// time), its sequence number and the twenty readings, each a number or
// empty. Line ends may be LF, CR LF or CR.
//
// A line with fewer fields than the header is one cut off by a power loss
// (the log ends such a line and goes on after it): its complete fields must
// read, the one it was cut in is not looked at, and it is skipped and
// counted. Any other fault refuses the file, naming its line.

#include "analysis/TrendRow.h"

#include <QIODevice>
#include <QString>

#include <cstdint>
#include <functional>

namespace analysis {

struct LogSummary {
  std::int64_t records = 0;   // lines read as records
  std::int64_t cutLines = 0;  // lines skipped as cut off
};

// One record line (without its line end) as a row; `lineNumber` names it in
// the message of a fault. A line with fewer fields returns empty.
std::optional<TrendRow> ParseLogLine(const QString& line, std::int64_t lineNumber);

// Reads a log from `device`, handing every record to `take` in the file's
// order. Throws ScopeError for a file that is not a measurement log or has
// a bad line; rows already handed on are then to be dropped by the caller.
LogSummary ReadLog(QIODevice& device, const std::function<void(const TrendRow&)>& take);
// The same for a file; "Cannot open file ..." when it cannot be read.
LogSummary ReadLogFile(const QString& path, const std::function<void(const TrendRow&)>& take);

}  // namespace analysis

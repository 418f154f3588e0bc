#include "analysis/LogReader.h"

#include "app/Errors.h"
#include "core/LogLine.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <cmath>

namespace analysis {

namespace {

// The time, the sequence number and ten readings of each channel.
constexpr qsizetype FieldCount = 2 + 2 * core::ReadingCount;
// A record's line is under 400 characters; a file without line ends is not
// read into memory whole.
constexpr qsizetype LongestLine = 4096;

[[noreturn]] void Refuse(std::int64_t lineNumber, const QString& what) {
  throw ScopeError(QStringLiteral("Line %1 of the measurement log: %2; nothing was opened").arg(lineNumber).arg(what));
}

// Long fields are cut in the message: a damaged file may hold anything.
QString Shown(const QString& field) { return field.size() > 40 ? field.left(40) + QStringLiteral("...") : field; }

double TimeOf(const QString& field, std::int64_t lineNumber) {
  const QDateTime time = QDateTime::fromString(field, Qt::ISODateWithMs);
  if (!time.isValid()) Refuse(lineNumber, QStringLiteral("'%1' is not a time").arg(Shown(field)));
  return static_cast<double>(time.toMSecsSinceEpoch());
}

std::uint64_t SequenceOf(const QString& field, std::int64_t lineNumber) {
  bool ok = false;
  const std::uint64_t sequence = field.toULongLong(&ok);
  if (!ok) Refuse(lineNumber, QStringLiteral("'%1' is not a sequence number").arg(Shown(field)));
  return sequence;
}

std::optional<double> ReadingOf(const QString& field, std::int64_t lineNumber) {
  if (field.isEmpty()) return std::nullopt;
  bool ok = false;
  const double value = field.toDouble(&ok);  // the C locale's point, as the log writes
  if (!ok || !std::isfinite(value))
    Refuse(lineNumber, QStringLiteral("'%1' is not a valid floating point value").arg(Shown(field)));
  return value;
}

// Reads the fields [0, count) that are there; a short line reads all but its last.
TrendRow RowOf(const QStringList& fields, qsizetype count, std::int64_t lineNumber) {
  TrendRow row;
  if (count > 0) row.timeMs = TimeOf(fields[0], lineNumber);
  if (count > 1) row.sequence = SequenceOf(fields[1], lineNumber);
  for (qsizetype i = 2; i < count; ++i) {
    const auto channel = static_cast<std::size_t>((i - 2) / core::ReadingCount);
    const auto reading = static_cast<std::size_t>((i - 2) % core::ReadingCount);
    row.channels[channel][reading] = ReadingOf(fields[i], lineNumber);
  }
  return row;
}

}  // namespace

std::optional<TrendRow> ParseLogLine(const QString& line, std::int64_t lineNumber) {
  const QStringList fields = line.split(QLatin1Char(','));
  if (fields.size() > FieldCount)
    Refuse(lineNumber, QStringLiteral("%1 fields where the header names %2").arg(fields.size()).arg(FieldCount));
  if (fields.size() < FieldCount) {
    RowOf(fields, fields.size() - 1, lineNumber);  // cut off: what came before the cut must still read
    return std::nullopt;
  }
  TrendRow row = RowOf(fields, FieldCount, lineNumber);
  for (ChannelValues& channel : row.channels) DropCycleReadingsWithoutCycle(channel);
  return row;
}

LogSummary ReadLog(QIODevice& device, const std::function<void(const TrendRow&)>& take) {
  LogSummary summary;
  std::int64_t lineNumber = 0;
  QByteArray pending;  // a line whose end has not been read yet
  const auto line = [&](const QByteArray& bytes) {
    ++lineNumber;
    const QString text = QString::fromUtf8(bytes);
    if (lineNumber == 1) {
      if (text != core::LogHeaderLine())
        Refuse(1, QStringLiteral("the columns are not those of a measurement log"));
      return;
    }
    if (const std::optional<TrendRow> row = ParseLogLine(text, lineNumber)) {
      ++summary.records;
      take(*row);
    } else {
      ++summary.cutLines;
    }
  };
  // LF, CR LF and a lone CR each end a line.
  bool afterCr = false;
  while (true) {
    const QByteArray chunk = device.read(1 << 16);
    if (chunk.isEmpty()) break;
    for (const char c : chunk) {
      if (c == '\n' && afterCr) {
        afterCr = false;
        continue;
      }
      afterCr = c == '\r';
      if (c == '\n' || c == '\r') {
        line(pending);
        pending.clear();
      } else if (pending.size() < LongestLine) {
        pending += c;
      } else {
        Refuse(lineNumber + 1, QStringLiteral("longer than any line of a measurement log"));
      }
    }
  }
  // The last line may have no end: one being written, or cut off.
  if (!pending.isEmpty()) line(pending);
  if (lineNumber == 0) Refuse(1, QStringLiteral("the file is empty"));
  return summary;
}

LogSummary ReadLogFile(const QString& path, const std::function<void(const TrendRow&)>& take) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw ScopeError(QStringLiteral("Cannot open file %1").arg(QDir::toNativeSeparators(path)));
  return ReadLog(file, take);
}

}  // namespace analysis

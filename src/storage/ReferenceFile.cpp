#include "storage/ReferenceFile.h"

#include "app/Errors.h"
#include "display/SampleRows.h"
#include "storage/StoredValues.h"

namespace reference_file {

namespace {

// Line `line` (from 1) as an integer, as a list of lines is read.
std::int32_t IntegerAt(const QStringList& lines, int line) {
  CheckListIndex(line - 1, lines.size());
  return StrToInt(lines[line - 1]);
}

bool WithinRowInputs(std::int32_t value) { return value >= -RowInputLimit && value <= RowInputLimit; }

}  // namespace

Rows RowsOf(const ChannelTrace& trace) {
  if (!WithinRowInputs(trace.zeroRow) || !WithinRowInputs(trace.scale) || !WithinRowInputs(trace.calOffset)) {
    throw ScopeError(QStringLiteral("The channel's position, scale or calibration is out of range; "
                                    "no reference was made"));
  }
  Rows rows{};
  for (std::size_t k = 1; k < rows.size(); ++k)
    rows[k] = screen_model::SampleRow(trace.samples[k], trace.zeroRow, trace.scale, trace.calOffset);
  // The record has no sample 0: the row of sample 1 stands in for it.
  rows[0] = rows[1];
  return rows;
}

QStringList Lines(const Reference& reference) {
  QStringList lines;
  lines.reserve(LineCount);
  lines << QLatin1String(ReferenceHeader) << QString::number(reference.timeKnobAngle)
        << QString::number(reference.viewStart) << QString::number(reference.viewEnd);
  for (const std::int32_t row : reference.rows) lines << QString::number(row);
  return lines;
}

std::optional<Reference> Parse(const QStringList& lines) {
  if (lines.isEmpty() || lines.front() != QLatin1String(ReferenceHeader)) return std::nullopt;
  Reference reference;
  reference.timeKnobAngle = IntegerAt(lines, AngleLine);
  reference.viewStart = IntegerAt(lines, ViewStartLine);
  reference.viewEnd = IntegerAt(lines, ViewEndLine);
  for (int k = 0; k < RowCount; ++k) reference.rows[std::size_t(k)] = IntegerAt(lines, FirstRowLine + k);

  // Any row is drawn (the plot clips what lies off the screen), but the
  // angle becomes the stored time base.
  if (stored::HeldToRange(stored::Id::Angle, reference.timeKnobAngle) != reference.timeKnobAngle) {
    throw ScopeError(QStringLiteral("Line %1 of the reference file holds %2, which the time base knob cannot "
                                    "show; nothing was loaded")
                         .arg(AngleLine)
                         .arg(reference.timeKnobAngle));
  }
  return reference;
}

}  // namespace reference_file

// A reference waveform file, for any bytes a damaged or foreign file may
// hold: read as the window reads it (decoded, split into lines), it is not a
// reference, or it is refused with a message, or it is a reference whose
// angle the time base knob can show and which the writer turns back into
// lines that read to the same reference.
#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "app/Errors.h"
#include "storage/ReferenceFile.h"
#include "storage/TextLines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QStringList lines = text_lines::SplitLines(text_lines::DecodeText(bytes));
  std::optional<reference_file::Reference> reference;
  try {
    reference = reference_file::Parse(lines);
  } catch (const ScopeError& error) {
    Require(!error.Message().isEmpty(), "a refused file has a message");
    Require(lines.size() > 0 && lines.front() == QLatin1String(reference_file::ReferenceHeader),
            "only a file with the header is read further");
    return 0;
  }
  if (!reference) {
    Require(lines.isEmpty() || lines.front() != QLatin1String(reference_file::ReferenceHeader),
            "a file with the header is not called another kind");
    return 0;
  }
  Require(lines.size() >= reference_file::LineCount, "a reference has all its lines");
  Require(reference->timeKnobAngle >= 0 && reference->timeKnobAngle <= 359, "the angle is one the knob shows");
  const QStringList written = reference_file::Lines(*reference);
  Require(written.size() == reference_file::LineCount, "a reference is written as its lines");
  const std::optional<reference_file::Reference> again =
      reference_file::Parse(text_lines::SplitLines(text_lines::JoinLines(written)));
  Require(again.has_value() && *again == *reference, "the reference survives a write and a read unchanged");
  return 0;
}

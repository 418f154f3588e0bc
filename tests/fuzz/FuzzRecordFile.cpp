// A record file, for any bytes a damaged or foreign file may hold: read as
// "Open Record..." reads it (decoded, its lines checked one by one), it is
// refused with a message, or it holds records whose description agrees with
// itself and which the writer turns back into a file that reads to the same
// records.
#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "app/Errors.h"
#include "controls/VerticalMarker.h"
#include "core/RecordFile.h"
#include "core/RecordSamples.h"
#include "storage/TextLines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString text = text_lines::DecodeText(bytes);
  record_file::Contents contents;
  try {
    contents = record_file::Parse(text);
  } catch (const ScopeError& error) {
    const QString message = error.Message();
    Require(message.endsWith(QLatin1String("; nothing was opened")), "a refused file says nothing was opened");
    Require(message.startsWith(QLatin1String("Line ")) || message.startsWith(QLatin1String("The record file ends")) ||
                message.startsWith(QLatin1String("The file is ")),
            "a refused file names its line, its end or its size");
    return 0;
  }
  const bool history = contents.kind == record_file::Kind::History;
  Require(!contents.records.empty(), "a file that opens holds a record");
  Require(history || contents.records.size() == 1, "a record file holds one record");
  for (const record_file::SavedRecord& saved : contents.records) {
    const core::Record& r = saved.record;
    Require(r.layout == screen_model::LayoutOf(r.timeBaseIndex, r.rate1MS ? 1 : 0),
            "the layout is the one its time base and rate make");
    Require(r == core::WithOwnSamplesOnly(r), "a record read holds only its own samples");
    Require(r.sequence > 0, "a record read was received");
    for (const std::int32_t row : saved.zeroRows)
      Require(row >= vertical_marker::TopmostRow && row <= vertical_marker::BottomRow,
              "a record read opens with its markers on the strip");
  }
  QStringList written;
  if (history) {
    written = record_file::HistoryHeadLines(int(contents.records.size()));
    int number = 0;
    for (const record_file::SavedRecord& saved : contents.records)
      written << record_file::HistoryRecordLines(saved.record, saved.zeroRows, ++number);
  } else {
    written = record_file::RecordLines(contents.records[0].record, contents.records[0].zeroRows);
  }
  const record_file::Contents again = record_file::Parse(text_lines::JoinLines(written));
  Require(again.kind == contents.kind && again.records == contents.records,
          "the records survive a write and a read unchanged");
  return 0;
}

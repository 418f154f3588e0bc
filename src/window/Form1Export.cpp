// "Export Data To File": the held record as a comma-separated text table.
// The record is described by what it was captured with (latched with its
// reply), so knobs turned since change nothing in the file.

#include "window/TForm1.h"

#include "display/RecordLayout.h"
#include "storage/ExportFile.h"
#include "storage/HeldRecord.h"
#include "storage/TextLines.h"

#include <QDateTime>
#include <QLocale>
#include <QPointer>

namespace {

constexpr const char* SaveFilter = "Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*";
constexpr const char* DefaultExtension = "txt";

}  // namespace

void TForm1::BuildExport() { Bind(ExportData1, &TForm1::ExportData1Click); }

void TForm1::ExportData1Click() {
  const core::Record& held = HeldRecord;
  held_record::RequireRecord(held.sequence);
  const export_file::Record record{
      .ch1Samples = held.ch1,
      .ch2Samples = held.ch2,
      .threeThousand = held.layout == screen_model::RecordLayout::ThreeThousand,
      .recordChannel = held.recordChannel,
      .ch1HighRange = held.Channel(1).highRange,
      .ch2HighRange = held.Channel(2).highRange,
      .usPerColumn = held.samplePeriodUs,
      .columnStep = screen_model::RowOf(held.layout).columnStep,
      .sampleRateText = held.sampleRateText,
      .averaged = held.averaged,
  };
  // The whole table is made before the dialog, from the record as it is now:
  // a capture that arrives while the dialog is open does not mix into it.
  const QStringList lines =
      export_file::Lines(record, export_file::DateLine(QDateTime::currentDateTime(), QLocale()));
  const QPointer<TForm1> alive(this);
  const QString path = Ui.SaveFileName(QLatin1String(SaveFilter), QLatin1String(DefaultExtension));
  if (!alive || path.isEmpty()) return;
  text_lines::WriteTextLines(path, lines);
}

// Records kept: every complete record joins a history (the last 100 by
// default); while stopped the user steps back and forth through it and the
// record shown is drawn, measured and saved as it was captured. Record files
// hold one record or the whole history with its description, and open again
// as if just received.

#include "window/TForm1.h"

#include "core/RecordFile.h"
#include "core/RecordScales.h"
#include "display/StatusStrip.h"
#include "storage/HeldRecord.h"

#include <QAction>
#include <QPointer>

namespace {

constexpr const char* RecordFilter = "Record Files (*.CSV)|*.CSV|All Files (*.*)|*.*";
constexpr const char* DefaultExtension = "csv";

}  // namespace

void TForm1::BuildRecords() {
  Bind(PreviousRecord1, &TForm1::PreviousRecordClick);
  Bind(NextRecord1, &TForm1::NextRecordClick);
  Bind(LatestRecord1, &TForm1::LatestRecordClick);
  Bind(SaveRecord1, &TForm1::SaveRecordClick);
  Bind(SaveHistory1, &TForm1::SaveHistoryClick);
  Bind(OpenRecord1, &TForm1::OpenRecordClick);
  Bind(ClearHistory1, &TForm1::ClearHistoryClick);
}

void TForm1::SetHistoryCapacity(int records) { History.SetCapacity(records); }

void TForm1::KeepRecord(const core::Record& record) {
  History.Add(record);
  statusStrip_->ShowRecordPosition({});
}

// The history is stepped through while stopped: a running scope shows each
// record as it comes.
void TForm1::PreviousRecordClick() {
  if (Running == 1 || History.Empty()) return;
  History.Previous();
  ShowHistoryRecord();
}

void TForm1::NextRecordClick() {
  if (Running == 1 || History.Empty()) return;
  History.Next();
  ShowHistoryRecord();
}

void TForm1::LatestRecordClick() {
  if (Running == 1 || History.Empty()) return;
  History.Latest();
  ShowHistoryRecord();
}

void TForm1::ShowHistoryRecord() {
  HeldRecord = History.Shown();
  // Viewed with the channels it was captured with, every frame it stays on
  // the screen; the keys stay as they are, for the next RUN.
  FrameChannelSource = core::ChannelSource::Record;
  // The captions it was captured with, as the strip showed them then.
  for (int n : {1, 2}) {
    const QString caption = core::VoltsDivCaptionOf(HeldRecord, n);
    if (!caption.isEmpty()) statusStrip_->ShowVoltsPerDiv(n, caption);
  }
  const QString timeDiv = core::TimeDivCaptionOf(HeldRecord);
  if (!timeDiv.isEmpty()) statusStrip_->ShowTimeBase(timeDiv, HeldRecord.sampleRateText);
  statusStrip_->ShowRecordPosition(History.PositionText() + QStringLiteral("  ") +
                                   HeldRecord.received.toString(QStringLiteral("HH:mm:ss")));
  PlotWaveform();
  if (AutoMeasOn == 1) AutoMeasuremtns();
  CursorCalculation();
  HorizontalCalualtions();
}

void TForm1::SaveRecordClick() {
  held_record::RequireRecord(HeldRecord.sequence);
  // The record as it is now: one that arrives while the dialog is open is
  // not the one the user chose to save.
  const core::Record record = HeldRecord;
  const record_file::ZeroRows zeroRows{CH1VertPos, CH2VertPos};
  const QPointer<TForm1> alive(this);
  const QString path = Ui.SaveFileName(QLatin1String(RecordFilter), QLatin1String(DefaultExtension));
  if (!alive || path.isEmpty()) return;
  record_file::WriteRecord(path, record, zeroRows);
}

void TForm1::SaveHistoryClick() {
  if (History.Empty()) held_record::RequireRecord(0);
  const core::RecordHistory history = History;
  const record_file::ZeroRows zeroRows{CH1VertPos, CH2VertPos};
  const QPointer<TForm1> alive(this);
  const QString path = Ui.SaveFileName(QLatin1String(RecordFilter), QLatin1String(DefaultExtension));
  if (!alive || path.isEmpty()) return;
  record_file::WriteHistory(path, history, zeroRows);
}

void TForm1::OpenRecordClick() {
  const QPointer<TForm1> alive(this);
  const QString path = Ui.OpenFileName(QLatin1String(RecordFilter), QLatin1String(DefaultExtension));
  if (!alive || path.isEmpty()) return;
  // The whole file is read and checked before anything changes.
  const record_file::Contents contents = record_file::Read(path);
  // Shown as if just received, on a stopped scope, with the 0 V rows it
  // was saved with: the markers move there, as a drag would move them.
  if (Running == 1) RunStopClick();
  for (const record_file::SavedRecord& saved : contents.records) History.Add(saved.record);
  const record_file::ZeroRows& zeroRows = contents.records.back().zeroRows;
  for (int n : {1, 2}) PlaceZeroRow(n, zeroRows[std::size_t(n - 1)]);
  ShowHistoryRecord();
}

void TForm1::ClearHistoryClick() {
  History.Clear();
  statusStrip_->ShowRecordPosition({});
}

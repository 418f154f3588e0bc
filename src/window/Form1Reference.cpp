// The "Reference Waveform" menu: a channel's trace saved as plot rows, a
// saved trace loaded and drawn in green over the live traces, and the
// reference switched off again.
//
// The rows only match the time base they were saved at, so a load sets the
// stored time base to the file's, restores the panel and locks the time base
// knob (Image9 takes no mouse input, Image26 shows why) until the reference
// is switched off. A load checks the whole file before it changes anything.

#include "window/TForm1.h"
#include "app/Widgets.h"
#include "controls/TimeBaseKnob.h"
#include "controls/TimeKnob.h"
#include "core/RecordScales.h"
#include "storage/HeldRecord.h"
#include "storage/ReferenceFile.h"
#include "storage/SettingsStore.h"
#include "storage/StoredValues.h"
#include "storage/TextLines.h"

#include <QAction>
#include <QPointer>

#include <algorithm>
#include <iterator>

namespace {

constexpr const char* SaveFilter = "Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*";
constexpr const char* OpenFilter = "Text (*.TXT)|*.txt|All (*.*)|*.*";
constexpr const char* DefaultExtension = "txt";

// The lock sign over the centre of the time base knob.
constexpr const char* LockedPicture = "Grafics\\TimeKnob\\KnobLocked.bmp";

}  // namespace

void TForm1::BuildReference() {
  Bind(SaveCH1Ref1, &TForm1::SaveCH1Ref1Click);
  Bind(SaveCH2Ref1, &TForm1::SaveCH2Ref1Click);
  Bind(LoadReferance1, &TForm1::LoadReferance1Click);
  Bind(ReferanceOFF1, &TForm1::ReferanceOFF1Click);

  Guard([this] { timeBaseKnob_->ShowLockSignPicture(QLatin1String(LockedPicture)); });
}

void TForm1::SaveCH1Ref1Click() { SaveReference(1); }
void TForm1::SaveCH2Ref1Click() { SaveReference(2); }

void TForm1::SaveReference(int channel) {
  const core::Record& held = HeldRecord;
  held_record::RequireRecord(held.sequence);
  const ChannelParts ch = Channel(channel);
  reference_file::Reference reference;
  // The time base, scale and input range the record was captured with: the
  // knobs may have turned since, and the rows must lie on the trace as it is
  // drawn (the present 0 V row, as the plot takes it).
  const auto captured = std::find_if(std::begin(time_knob::TimeRows), std::end(time_knob::TimeRows),
                                     [&held](const time_knob::TimeRow& row) { return row.index == held.timeBaseIndex; });
  reference.timeKnobAngle = captured != std::end(time_knob::TimeRows) ? captured->detent : TimeKnobAngle;
  reference.viewStart = ViewStart;
  reference.viewEnd = ViewEnd;
  reference.rows = reference_file::RowsOf({held.Samples(channel), ch.VertPos, held.Channel(channel).scale,
                                            core::CalOffsetOf(held, channel, ch.CalHigh, ch.CalLow)});
  // The lines are the record at the moment of the command, before the dialog.
  const QStringList lines = reference_file::Lines(reference);

  const QPointer<TForm1> alive(this);
  const QString path = Ui.SaveFileName(QLatin1String(SaveFilter), QLatin1String(DefaultExtension));
  if (!alive || path.isEmpty()) return;
  text_lines::WriteTextLines(path, lines);
}

void TForm1::LoadReferance1Click() {
  const QPointer<TForm1> alive(this);
  const QString path = Ui.OpenFileName(QLatin1String(OpenFilter), QLatin1String(DefaultExtension));
  if (!alive || path.isEmpty()) return;
  const std::optional<reference_file::Reference> loaded = reference_file::Parse(text_lines::ReadTextLines(path));
  if (!loaded) {
    Ui.ShowMessage(QLatin1String(reference_file::WrongFileMessage));
    return;
  }

  // The file's time base and the panel as it stands, in one write. The
  // trigger position is not written: the restore brings back the stored one.
  std::vector<SettingsStore::NamedValue> writes;
  for (SettingsStore::NamedValue& write : PanelStateWrites()) {
    if (write.name == stored::Name(stored::Id::TrigPos)) continue;
    if (write.name == stored::Name(stored::Id::Angle)) write.value = loaded->timeKnobAngle;
    writes.push_back(std::move(write));
  }
  SettingsRegistry.WriteValues(writes);

  ReferenceViewStart = loaded->viewStart;
  ReferenceViewEnd = loaded->viewEnd;
  ReferenceRows = loaded->rows;
  ReferenceOn = 1;
  // Locked before the message: whatever runs while it is up already finds
  // the knob held.
  timeBaseKnob_->SetLocked(true);
  Ui.ShowMessage(QLatin1String(reference_file::TimeBaseLockedMessage));
  if (!alive) return;
  FormShow();
}

void TForm1::ReferanceOFF1Click() {
  if (ReferenceOn != 1) return;
  timeBaseKnob_->SetLocked(false);
  ReferenceOn = 0;
  // A held record is shown again without the reference.
  CheckForWaveUpdateNeed();
}

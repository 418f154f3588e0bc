// "Save Settings To File" and "Load Settings From File": the front panel as
// a 24-line text file, and such a file written into the store and restored
// through the same restore as at start-up.
//
// A load checks the whole file and reads the graticule picture before it
// writes anything: a bad file or a missing picture changes neither the
// store nor the panel. A good file goes into the store in one write.

#include "app/Errors.h"
#include "app/Paths.h"
#include "window/TForm1.h"
#include "connection/ComSettingsPanel.h"
#include "app/Widgets.h"
#include "controls/PositionStrip.h"
#include "controls/TriggerStrip.h"
#include "controls/VerticalControls.h"
#include "controls/VoltsKnob.h"
#include "display/OverviewStrip.h"
#include "storage/SettingsFile.h"
#include "storage/SettingsStore.h"
#include "storage/StartupReads.h"
#include "storage/StoredValues.h"
#include "storage/TextLines.h"

#include <QPainter>
#include <QPointer>

namespace {

constexpr const char* SaveFilter = "Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*";
constexpr const char* OpenFilter = "Text (*.TXT)|*.txt|All (*.*)|*.*";
constexpr const char* DefaultExtension = "txt";
constexpr int PersistenceModeOff = 1;
constexpr std::int32_t PersistenceHitOff = 1024;

}  // namespace

void TForm1::BuildSettingsFile() {
  Bind(SaveSettingsToFile1, &TForm1::SaveSettingsToFile1Click);
  Bind(LoadSettings1, &TForm1::LoadSettings1Click);
}

void TForm1::SaveSettingsToFile1Click() {
  settings_file::PanelState p;
  p.port = comSettings_->PortName();
  p.ch1VertPos = positionStrip_->MarkerTop(1);
  p.ch2VertPos = positionStrip_->MarkerTop(2);
  p.timeKnobAngle = TimeKnobAngle;
  p.ch1Trig = triggerStrip_->ArrowTop(1);
  p.ch2Trig = triggerStrip_->ArrowTop(2);
  p.triggerCH = TriggerCH;
  p.ch1TriggerV = CH1TriggerV;
  p.ch2TriggerV = CH2TriggerV;
  p.ch1ArrowShown = triggerStrip_->ArrowShown(1);
  p.ch2ArrowShown = triggerStrip_->ArrowShown(2);
  p.ch1On = ChannelOn[1] == 1;
  p.ch2On = ChannelOn[2] == 1;
  p.ch1KnobAngle = CH1KnobAngle;
  p.ch2KnobAngle = CH2KnobAngle;
  p.knobEnabled = verticalControls_->VoltsKnobEnabled();
  p.ch1Focus = CH1Focus == 1;
  p.knobFacePrefix = ProgramPath(TableText(CH1Focus == 1 ? volts_knob::CH1FacePrefix : volts_knob::CH2FacePrefix));
  p.formTop = y();
  p.formLeft = x();
  p.rising = RisingTrigger == 1;
  p.continuous = ConSample == 1;
  p.autoTrigger = AutoTrigger == 1;
  p.trigPos = overview_->MarkerLeft(OverviewMarker::TriggerPosition);
  // The lines are the panel at the moment of the command, before the dialog.
  const QStringList lines = settings_file::Lines(p);
  const QString path = Ui.SaveFileName(QLatin1String(SaveFilter), QLatin1String(DefaultExtension));
  if (path.isEmpty()) return;
  text_lines::WriteTextLines(path, lines);
}

void TForm1::LoadSettings1Click() {
  const QPointer<TForm1> alive(this);
  const QString path = Ui.OpenFileName(QLatin1String(OpenFilter), QLatin1String(DefaultExtension));
  if (!alive || path.isEmpty()) return;
  const settings_file::Loaded loaded = settings_file::Parse(text_lines::ReadTextLines(path));
  // The graticule is not part of the file: the one named in the store
  // applies. Its picture is read before anything changes.
  const QString gridFile = GridFileFromStored(SettingsRegistry.ReadString(stored::Name(stored::Id::DISPLAYBACKGROUND)));
  const QImage grid = LoadBitmapFile(ProgramPath(gridFile));

  // The file's time base would turn under a knob a reference holds.
  ReferanceOFF1Click();
  std::vector<SettingsStore::NamedValue> writes;
  for (const auto& [id, value] : loaded.writes) writes.push_back({stored::Name(id), value});
  SettingsRegistry.WriteValues(writes);

  // Persistence off, as the "Off" choice of the display properties sets it.
  PersistenceHit = PersistenceHitOff;
  PersistenceOn = 0;
  RainbowOn = 0;
  PersistenceMode = PersistenceModeOff;
  GridFile = gridFile;
  GridBitmap.fill(Qt::black);
  {
    QPainter painter(&GridBitmap);
    painter.drawImage(0, 0, grid);
  }
  FormShow();
  // The file's trigger position; the store's TrigPos follows at the close.
  overview_->PlaceMarker(OverviewMarker::TriggerPosition, loaded.trigPos);
  RefreshDisplayProperties();
}

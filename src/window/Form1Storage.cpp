// The front panel and the settings store: the restore that rebuilds every
// control from the store when the window is shown (and after each command
// that rewrites the store), the save when the window closes, "Load Default
// Settings", and the about panel's timer.
//
// The restore reads the store value by value, in named steps, and hands
// each to the subsystem that owns it, so pictures, captions and derived
// state follow. A value that is missing, of the wrong type or on a line of
// the file that could not be read takes its default and the restore goes
// on, so one damaged value costs that value only; the user is told each
// value replaced, as it was held. Values outside what the panel can show
// are held to its ranges.

#include "app/Errors.h"
#include "app/Paths.h"
#include "window/TForm1.h"
#include "connection/ComSettingsPanel.h"
#include "connection/SystemPorts.h"
#include "controls/PositionStrip.h"
#include "controls/TriggerPosition.h"
#include "controls/TriggerStrip.h"
#include "controls/VerticalControls.h"
#include "controls/VerticalMarker.h"
#include "controls/VoltsKnob.h"
#include "display/OverviewStrip.h"
#include "storage/RestoreReader.h"
#include "storage/SettingsDefaults.h"
#include "storage/SettingsStore.h"
#include "storage/StartupReads.h"
#include "storage/WindowPlacement.h"

#include <QAction>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <algorithm>

using stored::Id;

namespace {

constexpr int WindowWidthWithMeasurements = 984;
constexpr int WindowWidthWithoutMeasurements = 792;
constexpr int WindowHeight = 603;
// The view window marker over the overview strip as the window is designed.
constexpr int DefaultViewWindowLeft = 173;
constexpr int PersistenceModeOff = 1;
constexpr std::int32_t PersistenceHitRamp = 255;
constexpr std::int32_t PersistenceHitRainbow = 1024;
constexpr std::int32_t PersistenceFadeAtStart = 10;
constexpr std::int32_t ExternalTriggerSource = 10;

// The 50 % preset is where a new user's trigger position marker starts.
static_assert(settings_defaults::FirstStartExtras[0].id == Id::TrigPos &&
              settings_defaults::FirstStartExtras[0].number == trigger_position::Presets[1].left);

// The ranges the restore holds stored values to are the controls' own.
static_assert(stored::TopRow == vertical_marker::TopmostRow && stored::BottomRow == vertical_marker::BottomRow);
static_assert(stored::LeftmostTrigger == trigger_position::LeftmostMarker &&
              stored::RightmostTrigger == trigger_position::RightmostMarker);
constexpr int ScaleOfVoltsRows(bool finest) {
  int scale = volts_knob::VoltsRows[0].scale;
  for (const volts_knob::VoltsRow& row : volts_knob::VoltsRows)
    scale = finest ? std::max(scale, row.scale) : std::min(scale, row.scale);
  return scale;
}
// A level reaches as far as the strip at the coarsest row; its arrow lies at
// most that far off its 0 V row at the finest.
static_assert(stored::LevelLimit == (stored::BottomRow - stored::TopRow + 1) * 100 / ScaleOfVoltsRows(false));
static_assert(stored::ArrowReach == stored::LevelLimit * ScaleOfVoltsRows(true) / 100 + 1);
static_assert(stored::LastDegree == 359);

}  // namespace

void TForm1::BuildStorage() {
  Bind(LoadDefultSettings1, &TForm1::LoadDefultSettings1Click);
  BuildSettingsFile();
  BuildReference();
  BuildAboutPanel();
}

void TForm1::FormShow() {
  if (settings_defaults::NeedsFirstStartFill(SettingsRegistry)) FillStoreForNewUser();
  RestoreReader read(SettingsRegistry, SettingsRegistry.TakeDamagedLines(), [] { return DefaultComPort(); });
  RestoreMarkers(read);
  RestoreTriggerSource(read);
  RestoreCalibration(read);
  RestoreTriggerArrows(read);
  RestoreRecordView();
  RestoreKnobs(read);
  RestoreChannels(read);
  RestoreDisplay(read);
  RestoreWindow(read);
  RestoreTriggerSettings(read);
  RestoreLevelAndTimeBase(read);
  if (read.Held().empty() && read.Replaced().empty()) return;

  // The close gives the values that took their defaults those defaults; it
  // never writes over a value that read well.
  if (!read.Replaced().empty()) RestoreReplacedValues = true;
  QStringList lines;
  if (!read.Replaced().empty()) lines << read.FirstError();
  const QString kept = KeepStoreAsItWas(read);
  if (!kept.isEmpty()) lines << QStringLiteral("The settings file as it was is kept as \"%1\".").arg(kept);
  if (!read.Replaced().empty()) {
    lines << QStringLiteral("Stored settings that could not be used took their defaults: %1.").arg(read.ReplacedList());
    const QString unread = read.OtherUnreadLines();
    if (!unread.isEmpty()) lines << QStringLiteral("Lines of the settings file that could not be read: %1.").arg(unread);
    // This text tells of the damaged file the store kept aside, too.
    SettingsRegistry.TakeDamageNotice();
  }
  if (!read.Held().empty()) {
    const QString held =
        QStringLiteral("Stored settings outside what the panel can show were brought within it: %1.").arg(read.HeldList());
    // Alone, it comes first, as it always has.
    if (read.Replaced().empty())
      lines.prepend(held);
    else
      lines << held;
  }
  const QString text = lines.join(u'\n');
  const bool asError = !read.Replaced().empty();
  // Told once the restore's caller is done: a box here would run window
  // events in the middle of a command that goes on after the restore.
  QTimer::singleShot(0, this, [this, text, asError] {
    if (asError)
      Ui.ShowError(text);
    else
      Ui.ShowMessage(text);
  });
}

QString TForm1::DefaultComPort() {
  // The instrument sits behind a USB serial bridge; an on-board UART is never
  // it. Without one, the built-in simulated instrument gives a trace at once.
  QStringList usbPorts;
  try {
    for (const connection::SystemPort& port : connection::ListSystemPorts())
      if (port.usb) usbPorts << port.name;
  } catch (const ScopeError&) {
    // A system that will not list its ports leaves the simulator; the
    // connection watch and the port chooser report the listing failure.
  }
  return settings_defaults::FirstStartComPort(usbPorts);
}

QString TForm1::KeepStoreAsItWas(const RestoreReader& read) {
  QString kept;
  try {
    kept = SettingsRegistry.KeepCopy();
  } catch (const ScopeError&) {
    // No copy, so nothing is written over the stored values here; the
    // restore's own message stands alone.
    return QString();
  }
  if (!read.Held().empty()) SettingsRegistry.WriteValues(read.HeldWrites());
  return kept;
}

void TForm1::RestoreMarkers(RestoreReader& read) {
  positionStrip_->PlaceMarker(1, read.Integer(Id::CH1VertPos));
  positionStrip_->PlaceMarker(2, read.Integer(Id::CH2VertPos));
  overview_->PlaceMarker(OverviewMarker::TriggerPosition, read.Integer(Id::TrigPos));
  CH1VertPos = positionStrip_->MarkerTop(1);
  CH2VertPos = positionStrip_->MarkerTop(2);
}

void TForm1::RestoreTriggerSource(RestoreReader& read) {
  triggerStrip_->PlaceArrow(1, read.Integer(Id::CH1Trig));
  triggerStrip_->PlaceArrow(2, read.Integer(Id::CH2Trig));
  TriggerCH = read.Integer(Id::TriggerCH);
  CH1TriggerV = read.Integer(Id::CH1TriggerV);
  CH2TriggerV = read.Integer(Id::CH2TriggerV);
  ShowTriggerSourceSetting();
}

void TForm1::RestoreCalibration(RestoreReader& read) {
  CalCH1L = read.Integer(Id::CalCH1L);
  CalCH2L = read.Integer(Id::CalCH2L);
  CalCH1H = read.Integer(Id::CalCH1H);
  CalCH2H = read.Integer(Id::CalCH2H);
}

void TForm1::RestoreTriggerArrows(RestoreReader& read) {
  // Shown as stored, then placed from their levels.
  triggerStrip_->SetArrowShown(1, read.Flag(Id::CH1TriggerArrowVis) == 1);
  triggerStrip_->SetArrowShown(2, read.Flag(Id::CH2TriggerArrowVis) == 1);
  ResetCH1TriggerVoltage();
  ResetCH2TriggerVoltage();
  TriggerPosCalc();
}

void TForm1::RestoreRecordView() {
  // The view until the next frame recomputes it; nothing held is on the
  // screen again before the next capture.
  ViewStart = 3 * overview_->MarkerLeft(OverviewMarker::ViewWindow);
  ViewEnd = ViewStart + 500;
  PlotValid = 0;
  verticalControls_->RaiseKeys();
  overview_->LowerBackground();
}

void TForm1::RestoreKnobs(RestoreReader& read) {
  // The time base, then both channels' volts/div rows through the knob.
  ChannelOn[1] = 0;
  ChannelOn[2] = 0;
  CH1Focus = 0;
  KnobAngle = read.Integer(Id::Angle);
  UpdatedTimeKnob();

  CH1Focus = read.Flag(Id::CH1Focus);
  KnobBitmapPrefix = ProgramPath(TableText(CH1Focus == 1 ? volts_knob::CH1FacePrefix : volts_knob::CH2FacePrefix));
  CH2KnobAngle = read.Integer(Id::CH2KnobAngle);
  CH1KnobAngle = read.Integer(Id::CH1KnobAngle);
  KnobAngle = CH1KnobAngle;
  CH1Focus = 1;
  UpdatedKnob();
  KnobAngle = CH2KnobAngle;
  CH1Focus = 0;
  UpdatedKnob();
}

void TForm1::RestoreChannels(RestoreReader& read) {
  // The knob, the focus and the channel keys.
  verticalControls_->SetVoltsKnobEnabled(read.Flag(Id::Image7EN) == 1);
  CH1Focus = read.Flag(Id::CH1Focus);
  ChannelOn[1] = read.Flag(Id::CH1On);
  ChannelOn[2] = read.Flag(Id::CH2On);
  UpdatedvoltageButtons();
}

void TForm1::RestoreDisplay(RestoreReader& read) {
  // The empty graticule. (Qt paints every widget double-buffered, so the
  // panels need no switch for it.)
  ShowGraticule();

  // The port the connection watch opens.
  comSettings_->SetPortName(read.Text(Id::COMPORT));

  // Persistence memory and colour tables. The hit value follows the
  // persistence mode in force: a "Normal" dot starts at the ramp's full
  // intensity, 255; the rainbow and "Off" use 1024. A restore while
  // "Normal" is on (a settings file, a reference) must not leave 1024 there,
  // or the dots would stay at full intensity four times as long.
  ResetPres();
  InitRainbow();
  PersistenceFade = PersistenceFadeAtStart;
  PersistenceHit = PersistenceOn == 1 && RainbowOn != 1 ? PersistenceHitRamp : PersistenceHitRainbow;
  InitPersistColors();
}

void TForm1::RestoreWindow(RestoreReader& read) {
  // The measurement panel, cut off by a narrower window when it is off.
  if (read.Integer(Id::AutoMeasONOFF) == 1) {
    AutoMeasurementsON1->setText(QStringLiteral("Auto Measurements OFF"));
    AutoMeasOn = 1;
    SetFormWidth(WindowWidthWithMeasurements);
  } else {
    AutoMeasurementsON1->setText(QStringLiteral("Auto Measurements ON"));
    AutoMeasOn = 0;
    SetFormWidth(WindowWidthWithoutMeasurements);
  }

  // The window's size and place.
  SetFormHeight(WindowHeight);
  const int top = read.Integer(Id::FormTop);
  PlaceWindow(x(), top);
  PlaceWindow(read.Integer(Id::FormLeft), top);
}

void TForm1::RestoreTriggerSettings(RestoreReader& read) {
  // The edge and the acquisition mode. The TTL input has one edge: it is
  // shown as Rising with Falling unavailable, as choosing EXT shows it,
  // while the stored edge value (which EXT sends as 0) goes out unchanged.
  // Without this a panel saved on EXT came back showing "Falling".
  const Flag rising = read.Flag(Id::RisingTrigger);
  const bool externalSource = TriggerCH == ExternalTriggerSource;
  if (rising == 1 || externalSource)
    Rising1Click();
  else
    Falling2Click();
  if (externalSource) RisingTrigger = rising;
  Falling2->setEnabled(!externalSource);
  if (read.Integer(Id::ConSample) == 1)
    ContinuousClick();
  else
    SingleClick();

  // The preset sets the marker and the menu; the stored position wins.
  POS50Click();
  overview_->PlaceMarker(OverviewMarker::TriggerPosition, read.Integer(Id::TrigPos));

  // The trigger mode, then the about panel goes in three seconds.
  AutoTrigger = read.Flag(Id::Auto);
  ShowTriggerModeSetting();
  SetEnabled(AboutTimer, true);
}

void TForm1::RestoreLevelAndTimeBase(RestoreReader& read) {
  // The trigger level from its arrow, and the time base once more (it
  // recomputes the trigger-position bytes for the stored position).
  ShowTriggerLevelFromArrow();
  KnobAngle = read.Integer(Id::Angle);
  UpdatedTimeKnob();
}

void TForm1::FillStoreForNewUser() {
  settings_defaults::FillFirstStart(SettingsRegistry, DefaultComPort());
}

void TForm1::PlaceWindow(int left, int top) {
  QList<QRect> screens;
  for (const QScreen* screen : QGuiApplication::screens()) screens << screen->availableGeometry();
  move(window_placement::OnScreenPosition(QPoint(left, top), frameGeometry().size(), screens));
}

void TForm1::FormClose() {
  // Ends a capture that may be pending before anything is written, as STOP
  // does: the panel state saved is the stopped one.
  if (Running == 1) RunStopClick();
  std::vector<SettingsStore::NamedValue> writes;
  // After a restore that gave damaged values their defaults (the store as it
  // was is kept aside), the values the close does not write get theirs too,
  // so that the next start restores without a message; the panel's own
  // values follow.
  if (RestoreReplacedValues) writes = settings_defaults::Repairs(SettingsRegistry);
  for (SettingsStore::NamedValue& write : PanelStateWrites()) writes.push_back(std::move(write));
  // One write: a close cut short by a crash leaves the panel saved whole or
  // the store as it was.
  SettingsRegistry.WriteValues(writes);
}

std::vector<SettingsStore::NamedValue> TForm1::PanelStateWrites() {
  std::vector<SettingsStore::NamedValue> writes;
  const auto flag = [](bool on) { return std::int32_t{on ? 1 : 0}; };
  const auto add = [&writes](Id id, settings_text::Value value) { writes.push_back({stored::Name(id), std::move(value)}); };
  add(Id::COMPORT, comSettings_->PortName());
  add(Id::TrigPos, overview_->MarkerLeft(OverviewMarker::TriggerPosition));
  add(Id::CH1VertPos, positionStrip_->MarkerTop(1));
  add(Id::CH2VertPos, positionStrip_->MarkerTop(2));
  add(Id::Angle, TimeKnobAngle);
  add(Id::CH1Trig, triggerStrip_->ArrowTop(1));
  add(Id::CH2Trig, triggerStrip_->ArrowTop(2));
  add(Id::TriggerCH, TriggerCH);
  add(Id::CH1TriggerV, CH1TriggerV);
  add(Id::CH2TriggerV, CH2TriggerV);
  // The widgets' own flags, not whether they can be seen right now: the
  // window may already be hidden or minimised while it closes.
  add(Id::CH1TriggerArrowVis, flag(triggerStrip_->ArrowShown(1)));
  add(Id::CH2TriggerArrowVis, flag(triggerStrip_->ArrowShown(2)));
  add(Id::CH1On, flag(ChannelOn[1] == 1));
  add(Id::CH2On, flag(ChannelOn[2] == 1));
  add(Id::CH1KnobAngle, CH1KnobAngle);
  add(Id::CH2KnobAngle, CH2KnobAngle);
  add(Id::Image7EN, flag(verticalControls_->VoltsKnobEnabled()));
  add(Id::CH1Focus, flag(CH1Focus == 1));
  add(Id::FormTop, y());
  add(Id::FormLeft, x());
  add(Id::RisingTrigger, flag(RisingTrigger == 1));
  add(Id::ConSample, flag(ConSample == 1));
  add(Id::Auto, flag(AutoTrigger == 1));
  return writes;
}

void TForm1::LoadDefultSettings1Click() {
  // The default time base would turn under a knob the reference holds.
  ReferanceOFF1Click();
  settings_defaults::WriteLoadDefaults(SettingsRegistry);
  overview_->PlaceMarker(OverviewMarker::ViewWindow, DefaultViewWindowLeft);
  // Persistence off, as the "Off" choice of the display properties sets it.
  PersistenceHit = PersistenceHitRainbow;
  PersistenceOn = 0;
  RainbowOn = 0;
  PersistenceMode = PersistenceModeOff;
  GridFile = GridFileFromStored(SettingsRegistry.ReadString(stored::Name(Id::DISPLAYBACKGROUND)));
  // The save background follows the stored default, so an open Display
  // Properties dialog shows it and does not write the old one back.
  ScreenSave = ReadScreenSave(SettingsRegistry) ? 1 : 0;
  LoadGraticule();
  FormShow();
  RefreshDisplayProperties();
}

void TForm1::LoadGraticule() {
  const QImage grid = LoadBitmapFile(ProgramPath(GridFile));
  GridBitmap.fill(Qt::black);
  QPainter painter(&GridBitmap);
  painter.drawImage(0, 0, grid);
}


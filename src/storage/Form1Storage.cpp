// The front panel and the settings store: the restore that rebuilds every
// control from the store when the window is shown (and after each command
// that rewrites the store), the save when the window closes, "Load Default
// Settings", and the about panel's timer.
//
// The restore reads the store value by value and hands each to the
// subsystem that owns it, so pictures, captions and derived state follow.
// A value that is missing or of the wrong type ends it there with the
// store's message; what was applied before stays applied.

#include "app/Errors.h"
#include "app/Paths.h"
#include "app/TForm1.h"
#include "connection/SystemPorts.h"
#include "controls/TriggerPosition.h"
#include "controls/VoltsKnob.h"
#include "storage/SettingsDefaults.h"
#include "storage/SettingsRegistry.h"
#include "storage/StartupReads.h"
#include "storage/WindowPlacement.h"

#include <QAction>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace {

QString Text(std::string_view text) { return QString::fromLatin1(text.data(), qsizetype(text.size())); }

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
static_assert(settings_defaults::FirstStartExtras[0].name == "TrigPos" &&
              settings_defaults::FirstStartExtras[0].number == trigger_position::Presets[1].left);

}  // namespace

void TForm1::BuildStorage() {
  Bind(LoadDefultSettings1, &TForm1::LoadDefultSettings1Click);
  BuildAboutPanel();
}

void TForm1::FormShow() {
  ::SettingsRegistry& store = SettingsRegistry;
  auto readInt = [&store](const char* name) { return store.ReadInteger(QString::fromLatin1(name)); };
  auto readFlag = [&](const char* name) -> Flag { return readInt(name) == 1 ? 1 : 0; };

  if (settings_defaults::NeedsFirstStartFill(store)) FillStoreForNewUser();

  // 1-2: the 0 V markers and the trigger position marker.
  SetTop(Image1, readInt("CH1VertPos"));
  SetTop(Image2, readInt("CH2VertPos"));
  SetLeft(HorTrigPos, readInt("TrigPos"));
  CH1VertPos = Top(Image1);
  CH2VertPos = Top(Image2);
  SetTop(CH1NS, Top(Image1));
  SetTop(CH2NS, Top(Image2));

  // 3-4: the trigger arrows, source and levels.
  SetTop(TriggerArrowCH1, readInt("CH1Trig"));
  SetTop(TriggerArrowCH2, readInt("CH2Trig"));
  TriggerCH = readInt("TriggerCH");
  CH1TriggerV = readInt("CH1TriggerV");
  CH2TriggerV = readInt("CH2TriggerV");
  ShowTriggerSourceSetting();

  // 5: calibration.
  CalCH1L = readInt("CalCH1L");
  CalCH2L = readInt("CalCH2L");
  CalCH1H = readInt("CalCH1H");
  CalCH2H = readInt("CalCH2H");

  // 6-7: arrows shown as stored, placed from their levels.
  TriggerArrowCH1->setVisible(readFlag("CH1TriggerArrowVis") == 1);
  TriggerArrowCH2->setVisible(readFlag("CH2TriggerArrowVis") == 1);
  ResetCH1TriggerVoltage();
  ResetCH2TriggerVoltage();
  TriggerPosCalc();

  // 8-9: the record view until the next frame recomputes it; nothing held
  // is on the screen again before the next capture.
  ViewStart = 3 * Left(Image3);
  ViewEnd = ViewStart + 500;
  PlotValid = 0;
  CH1Button->raise();
  CH2Button->raise();
  ChannelOff->raise();
  PreViewBkGRND->lower();

  // 10-11: the time base.
  ChannelOn[1] = 0;
  ChannelOn[2] = 0;
  CH1Focus = 0;
  KnobAngle = readInt("Angle");
  UpdatedTimeKnob();

  // 12-13: both channels' volts/div rows through the knob.
  CH1Focus = readFlag("CH1Focus");
  KnobBitmapPrefix = ProgramPath(Text(CH1Focus == 1 ? volts_knob::CH1FacePrefix : volts_knob::CH2FacePrefix));
  CH2KnobAngle = readInt("CH2KnobAngle");
  CH1KnobAngle = readInt("CH1KnobAngle");
  KnobAngle = CH1KnobAngle;
  CH1Focus = 1;
  UpdatedKnob();
  KnobAngle = CH2KnobAngle;
  CH1Focus = 0;
  UpdatedKnob();

  // 14-16: the knob, the focus and the channel keys.
  Image7->setEnabled(readFlag("Image7EN") == 1);
  CH1Focus = readFlag("CH1Focus");
  ChannelOn[1] = readFlag("CH1On");
  ChannelOn[2] = readFlag("CH2On");
  UpdatedvoltageButtons();

  // 17: the empty graticule. (The original switched on double buffering of
  // its panels here; Qt paints every widget double-buffered.)
  ShowGraticule();

  // 19: the port the connection watch opens.
  Label3->setText(store.ReadString(Text(settings_defaults::ComPortValue)));

  // 20: persistence memory and colour tables. The hit value follows the
  // persistence mode in force: a "Normal" dot starts at the ramp's full
  // intensity, 255; the rainbow and "Off" use 1024. A restore while
  // "Normal" is on (a settings file, a reference) must not leave 1024 there,
  // or the dots would stay at full intensity four times as long.
  ResetPres();
  InitRainbow();
  PersistenceFade = PersistenceFadeAtStart;
  PersistenceHit = PersistenceOn == 1 && RainbowOn != 1 ? PersistenceHitRamp : PersistenceHitRainbow;
  InitPersistColors();

  // 21: the measurement panel, cut off by a narrower window when it is off.
  if (readInt("AutoMeasONOFF") == 1) {
    AutoMeasurementsON1->setText(QStringLiteral("Auto Measurements OFF"));
    AutoMeasOn = 1;
    SetFormWidth(WindowWidthWithMeasurements);
  } else {
    AutoMeasurementsON1->setText(QStringLiteral("Auto Measurements ON"));
    AutoMeasOn = 0;
    SetFormWidth(WindowWidthWithoutMeasurements);
  }

  // 22: the window's size and place.
  SetFormHeight(WindowHeight);
  const int top = readInt("FormTop");
  PlaceWindow(x(), top);
  PlaceWindow(readInt("FormLeft"), top);

  // 23-24: the edge and the acquisition mode. The TTL input has one edge: it
  // is shown as Rising with Falling unavailable, as choosing EXT shows it,
  // while the stored edge value (which EXT sends as 0) goes out unchanged.
  // Without this a panel saved on EXT came back showing "Falling".
  const Flag rising = readFlag("RisingTrigger");
  const bool externalSource = TriggerCH == ExternalTriggerSource;
  if (rising == 1 || externalSource)
    Rising1Click();
  else
    Falling2Click();
  if (externalSource) RisingTrigger = rising;
  Falling2->setEnabled(!externalSource);
  if (readInt("ConSample") == 1)
    ContinuousClick();
  else
    SingleClick();

  // 25: the preset sets the marker and the menu; the stored position wins.
  POS50Click();
  SetLeft(HorTrigPos, readInt("TrigPos"));

  // 26-27: the trigger mode, then the about panel goes in three seconds.
  AutoTrigger = readFlag("Auto");
  ShowTriggerModeSetting();
  SetEnabled(AboutTimer, true);

  // 28-29: the trigger level from its arrow, and the time base once more
  // (it recomputes the trigger-position bytes for the stored position).
  ShowTriggerLevelFromArrow();
  KnobAngle = readInt("Angle");
  UpdatedTimeKnob();
}

void TForm1::FillStoreForNewUser() {
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
  settings_defaults::FillFirstStart(SettingsRegistry, settings_defaults::FirstStartComPort(usbPorts));
}

void TForm1::PlaceWindow(int left, int top) {
  QList<QRect> screens;
  for (const QScreen* screen : QGuiApplication::screens()) screens << screen->availableGeometry();
  move(window_placement::OnScreenPosition(QPoint(left, top), frameGeometry().size(), screens));
}

void TForm1::FormClose() {
  // Ends a capture that may be pending in a nested wait before anything is
  // written: the panel state saved is the stopped one.
  Running = 0;
  ::SettingsRegistry& store = SettingsRegistry;
  auto writeInt = [&store](const char* name, std::int32_t value) {
    store.WriteInteger(QString::fromLatin1(name), value);
  };
  auto flag = [](bool on) { return on ? 1 : 0; };
  store.WriteString(Text(settings_defaults::ComPortValue), Label3->text());
  writeInt("TrigPos", Left(HorTrigPos));
  writeInt("CH1VertPos", Top(Image1));
  writeInt("CH2VertPos", Top(Image2));
  writeInt("Angle", TimeKnobAngle);
  writeInt("CH1Trig", Top(TriggerArrowCH1));
  writeInt("CH2Trig", Top(TriggerArrowCH2));
  writeInt("TriggerCH", TriggerCH);
  writeInt("CH1TriggerV", CH1TriggerV);
  writeInt("CH2TriggerV", CH2TriggerV);
  // The widgets' own flags, not whether they can be seen right now: the
  // window may already be hidden or minimised while it closes.
  writeInt("CH1TriggerArrowVis", flag(TriggerArrowCH1->isVisibleTo(TriggerArrowCH1->parentWidget())));
  writeInt("CH2TriggerArrowVis", flag(TriggerArrowCH2->isVisibleTo(TriggerArrowCH2->parentWidget())));
  writeInt("CH1On", flag(ChannelOn[1] == 1));
  writeInt("CH2On", flag(ChannelOn[2] == 1));
  writeInt("CH1KnobAngle", CH1KnobAngle);
  writeInt("CH2KnobAngle", CH2KnobAngle);
  writeInt("Image7EN", flag(Image7->isEnabledTo(Image7->parentWidget())));
  writeInt("CH1Focus", flag(CH1Focus == 1));
  writeInt("FormTop", y());
  writeInt("FormLeft", x());
  writeInt("RisingTrigger", flag(RisingTrigger == 1));
  writeInt("ConSample", flag(ConSample == 1));
  writeInt("Auto", flag(AutoTrigger == 1));
}

void TForm1::LoadDefultSettings1Click() {
  settings_defaults::WriteLoadDefaults(SettingsRegistry);
  SetLeft(Image3, DefaultViewWindowLeft);
  // Persistence off, as the "Off" choice of the display properties sets it.
  PersistenceHit = PersistenceHitRainbow;
  PersistenceOn = 0;
  RainbowOn = 0;
  PersistenceMode = PersistenceModeOff;
  GridFile = GridFileFromStored(SettingsRegistry.ReadString(QStringLiteral("DISPLAYBACKGROUND")));
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


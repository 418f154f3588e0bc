// The trigger settings other than the level: source, edge, mode and the
// trigger position in the record, from the Trigger menu, the two small
// buttons under the screen and the marker over the overview strip. The
// capture command reads TriggerCH, RisingTrigger, AutoTrigger and the four
// position bytes set here.

#include "window/TForm1.h"
#include "controls/TriggerStrip.h"
#include "display/OverviewStrip.h"
#include "display/ScreenPanel.h"
#include "display/StatusStrip.h"

#include "controls/TriggerLevel.h"
#include "controls/TriggerPosition.h"

#include <QAction>
#include <QTimer>

namespace {

// The source button shows the source a click selects next.
const QString NextIsCH2 = QStringLiteral("Grafics\\CH2TrigButton.bmp");
const QString NextIsCH1 = QStringLiteral("Grafics\\CH1TrigButton.bmp");
const QString NextIsEXT = QStringLiteral("Grafics\\EXTTrigButton.bmp");
const QString RisingPicture = QStringLiteral("Grafics\\TrigSymboRising.bmp");
const QString FallingPicture = QStringLiteral("Grafics\\TrigSymboFallingl.bmp");

constexpr int ExtSource = 10;

}  // namespace

void TForm1::BuildTrigger() {
  BuildTriggerStrip();
  BuildTriggerButtons();

  Bind(CH11, &TForm1::CH11Click);
  Bind(CH21, &TForm1::CH21Click);
  Bind(EXT1, &TForm1::EXT1Click);
  Bind(Rising1, &TForm1::Rising1Click);
  Bind(Falling2, &TForm1::Falling2Click);
  Bind(Auto1, &TForm1::Auto1Click);
  Bind(Normal1, &TForm1::Normal1Click);
  Bind(POS10, &TForm1::POS10Click);
  Bind(POS50, &TForm1::POS50Click);
  Bind(POS90, &TForm1::POS90Click);

  connect(TrigVoltLineTimer, &QTimer::timeout, this, Handler([this] { TrigVoltLineTimerTimer(); }));

  SetDesignTrigger();
}

void TForm1::BuildTriggerButtons() {
  statusStrip_->OnTriggerSourceKey = [this] { TrigSourceButtonClick(); };
  statusStrip_->OnTriggerEdgeKey = [this] { TriggerEdgeButtonClick(); };
  statusStrip_->OnLevelDoubleClick = [this] { Label23DblClick(); };
  statusStrip_->OnLevelEntryKey = [this](int key) { TriggerVEditKeyDown(key); };
}

// The trigger as the window is designed, until a stored setting replaces it:
// CH1 rising at 32 counts (2.49 V at 5 V/div), auto, trigger in the middle of
// the record. The state comes first so that a missing picture leaves a
// usable trigger behind.
void TForm1::SetDesignTrigger() {
  TriggerCH = 1;
  RisingTrigger = 1;
  AutoTrigger = 1;
  CH1TriggerV = 32;
  CH2TriggerV = 0;
  CH11->setChecked(true);
  Rising1->setChecked(true);
  Auto1->setChecked(true);
  screen_->SetLevelLineColour(Channel(1).Colour);
  // Arrow Tops of the design: each one pixel above its 0 V line and its
  // level, so the resets keep them where they are.
  triggerStrip_->PlaceArrow(1, 97);
  triggerStrip_->PlaceArrow(2, 286);
  triggerStrip_->SetArrowShown(1, true);
  triggerStrip_->SetArrowShown(2, false);
  Guard([this] {
    ResetCH2TriggerVoltage();
    ResetCH1TriggerVoltage();
    ShowTriggerLevel(1);
    POS50Click();
  });
  Guard([this] { statusStrip_->ShowTriggerSourceKey(NextIsCH2); });
  Guard([this] { statusStrip_->ShowTriggerEdgeKey(RisingPicture); });
}

// ---- Source ----------------------------------------------------------------

void TForm1::CHChangeStuff() {
  // The line shows the new source's level for 3 s.
  SetEnabled(TrigVoltLineTimer, true);
  screen_->SetLevelLineShown(true);
  Falling2->setEnabled(true);
  // Still the old source here. (A menu item checks itself before its handler
  // runs, so EXT1's check mark no longer tells.)
  if (TriggerCH == ExtSource) {
    // EXT kept the edge value false while Rising was shown; a channel source
    // goes back to the rising edge that the menu and the button show.
    RisingTrigger = 1;
  } else if (RisingTrigger == 1) {
    Rising1->setChecked(true);
  } else {
    Falling2->setChecked(true);
  }
}

void TForm1::CH11Click() { SelectTriggerChannel(1); }
void TForm1::CH21Click() { SelectTriggerChannel(2); }

void TForm1::SelectTriggerChannel(int channel) {
  CHChangeStuff();
  const ChannelParts source = Channel(channel);
  const ChannelParts other = Channel(3 - channel);
  CH11->setChecked(channel == 1);
  CH21->setChecked(channel == 2);
  EXT1->setChecked(false);
  triggerStrip_->SetArrowShown(source.Number, true);
  triggerStrip_->SetArrowShown(other.Number, false);
  screen_->SetLevelLineColour(source.Colour);
  TriggerCH = channel;
  ResetTriggerVoltage(channel);
  PlaceTriggerLineAtArrow();
  ShowTriggerLevel(channel);
  statusStrip_->ShowTriggerSourceKey(channel == 1 ? NextIsCH2 : NextIsCH1);
  RestartForNewSource();
  MouseIsDown = 0;
}

void TForm1::EXT1Click() {
  EXT1->setChecked(true);
  CH11->setChecked(false);
  CH21->setChecked(false);
  triggerStrip_->SetArrowShown(1, false);
  triggerStrip_->SetArrowShown(2, false);
  screen_->SetLevelLineShown(false);
  TriggerCH = ExtSource;
  statusStrip_->ShowTriggerLevel(QStringLiteral("TTL"));
  // The external input is sent with the edge value false while the menu and
  // the button show Rising; the instrument takes it so for the TTL input.
  RisingTrigger = 0;
  Rising1->setChecked(true);
  Falling2->setChecked(false);
  Falling2->setEnabled(false);
  statusStrip_->ShowTriggerEdgeKey(RisingPicture);
  statusStrip_->ShowTriggerSourceKey(NextIsEXT);
  RestartForNewSource();
  MouseIsDown = 0;
}

void TForm1::RestartForNewSource() {
  // The instrument only learns the source with a new command: stop now and
  // start again 80 ms later (scheduled first, so that whoever the stop tells
  // may call it off).
  if (Running == 1) {
    SetEnabled(StatStopResetTimer, true);
    RunStopClick();
  }
}

void TForm1::TrigSourceButtonClick() {
  switch (TriggerCH) {
    case 1: CH21Click(); break;
    case 2: EXT1Click(); break;
    case ExtSource: CH11Click(); break;
    default: break;
  }
}

void TForm1::ShowTriggerSourceSetting() {
  switch (TriggerCH) {
    case 1:
    case 2:
      statusStrip_->ShowTriggerSourceKey(TriggerCH == 1 ? NextIsCH2 : NextIsCH1);
      screen_->SetLevelLineColour(Channel(TriggerCH).Colour);
      break;
    case ExtSource:
      statusStrip_->ShowTriggerSourceKey(NextIsEXT);
      break;
    default: return;
  }
  CH11->setChecked(TriggerCH == 1);
  CH21->setChecked(TriggerCH == 2);
  EXT1->setChecked(TriggerCH == ExtSource);
}

// ---- Edge and mode -----------------------------------------------------------

// An edge change goes out with the next capture request; it neither restarts
// nor re-requests one.
void TForm1::Rising1Click() {
  Rising1->setChecked(true);
  Falling2->setChecked(false);
  RisingTrigger = 1;
  statusStrip_->ShowTriggerEdgeKey(RisingPicture);
}

void TForm1::Falling2Click() {
  Falling2->setChecked(true);
  Rising1->setChecked(false);
  RisingTrigger = 0;
  statusStrip_->ShowTriggerEdgeKey(FallingPicture);
}

void TForm1::TriggerEdgeButtonClick() {
  // The TTL input has one edge.
  if (TriggerCH == ExtSource) return;
  if (RisingTrigger == 1)
    Falling2Click();
  else
    Rising1Click();
}

void TForm1::Auto1Click() {
  Auto1->setChecked(true);
  Normal1->setChecked(false);
  AutoTrigger = 1;
  // A capture waiting for an edge that may never come is asked again in auto
  // mode. While stopped nothing is sent: a command no one waits for would
  // leave the instrument armed, and its answer would be taken for the next
  // run's.
  Link.Reissue();
}

void TForm1::Normal1Click() {
  Normal1->setChecked(true);
  Auto1->setChecked(false);
  AutoTrigger = 0;
}

void TForm1::ShowTriggerModeSetting() {
  Auto1->setChecked(AutoTrigger == 1);
  Normal1->setChecked(AutoTrigger != 1);
}

// ---- Position ------------------------------------------------------------------

void TForm1::TriggerPosCalc() {
  const int left = overview_->MarkerLeft(OverviewMarker::TriggerPosition);
  // For the time base the next command goes out with; the held record keeps
  // its own (HeldRecord.timeBaseIndex) until a reply replaces it.
  const trigger_position::PositionBytes bytes =
      trigger_position::PositionBytesFor(left, TimeBaseIndex);
  TrigPosPreLo = bytes.preLo;
  TrigPosPreHi = bytes.preHi;
  TrigPosPostLo = bytes.postLo;
  TrigPosPostHi = bytes.postHi;
  CheckPositionItems(left);
}

void TForm1::CheckPositionItems(int left) {
  const int percent = trigger_position::PresetPercentAt(left);
  POS10->setChecked(percent == 10);
  POS50->setChecked(percent == 50);
  POS90->setChecked(percent == 90);
}

void TForm1::POS10Click() {
  overview_->PlaceMarker(OverviewMarker::TriggerPosition, trigger_position::Presets[0].left);
  TriggerPosCalc();
  CheckPositionItems(trigger_position::Presets[0].left);
}

void TForm1::POS50Click() {
  overview_->PlaceMarker(OverviewMarker::TriggerPosition, trigger_position::Presets[1].left);
  TriggerPosCalc();
  CheckPositionItems(trigger_position::Presets[1].left);
}

void TForm1::POS90Click() {
  overview_->PlaceMarker(OverviewMarker::TriggerPosition, trigger_position::Presets[2].left);
  TriggerPosCalc();
  CheckPositionItems(trigger_position::Presets[2].left);
}

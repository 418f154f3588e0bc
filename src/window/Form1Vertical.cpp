// The vertical half of the front panel: the channel keys over the selector
// picture, the volts/div knob and the 0 V markers along the left of the plot.
// The knob-drag handlers serve the time/div knob too (Form1TimeBase.cpp).

#include "app/Paths.h"
#include "window/TForm1.h"
#include "display/StatusStrip.h"
#include "controls/ChannelSelector.h"
#include "controls/KnobAngle.h"
#include "controls/NextRunNotice.h"
#include "controls/PositionStrip.h"
#include "controls/TimeBaseKnob.h"
#include "controls/TimeKnob.h"
#include "controls/TriggerStrip.h"
#include "controls/VerticalMarker.h"
#include "controls/VerticalControls.h"
#include "controls/VoltsKnob.h"

namespace {

// The face file of a row: KnobBitmapPrefix (an absolute path) and the suffix.
// A prefix written with "\" separators, as stored paths have them, still loads.
QString FaceFile(const QString& prefix, std::string_view suffix) {
  QString path = prefix + TableText(suffix);
  path.replace(u'\\', u'/');
  return path;
}

// Where the design puts each channel's 0 V row.
constexpr int DesignZeroRows[] = {122, 287};

}  // namespace

void TForm1::BuildVerticalControls() {
  // The position strip left of the plot; a marker's Top is its channel's 0 V row.
  positionStrip_ = new PositionStrip(Panel2, Kit);
  positionStrip_->OnMarkerPressed = [this](QWidget* marker, Qt::MouseButton b, int x, int y) {
    Image1MouseDown(marker, b, x, y);
  };
  positionStrip_->OnMarkerMoved = [this](QWidget* marker, int x, int y) { VerticalSliderMouseMove(marker, x, y); };
  positionStrip_->OnMarkerClicked = [this](int channel) { MarkerClick(channel); };
  positionStrip_->OnMarkerReleased = [this](QWidget* marker, Qt::MouseButton b, int x, int y) {
    Image1MouseUp(marker, b, x, y);
  };

  // The volts/div knob and the channel keys, in the control column.
  verticalControls_->OnVoltsKnobPressed = [this](Qt::MouseButton b, int x, int y) {
    Image7MouseDown(Knob::VoltsPerDiv, b, x, y);
  };
  verticalControls_->OnVoltsKnobMoved = [this](int x, int y) { Image7MouseMove(Knob::VoltsPerDiv, x, y); };
  verticalControls_->OnVoltsKnobReleased = [this](Qt::MouseButton b, int x, int y) {
    Image7MouseUp(Knob::VoltsPerDiv, b, x, y);
  };
  verticalControls_->OnChannelKey = [this](int channel) {
    SelectorKeyClick(channel == 1 ? SelectorKey::Channel1 : SelectorKey::Channel2);
  };
  verticalControls_->OnChannelOffKey = [this] { SelectorKeyClick(SelectorKey::ChannelOff); };

  Guard([this] { SetDesignVerticalPanel(); });
}

// The panel as the window is designed, until a stored setting replaces it:
// CH1 on with the knob, both channels at 5 V/div, the 0 V lines at rows 122
// and 287.
void TForm1::SetDesignVerticalPanel() {
  positionStrip_->ShowDesignPictures();
  verticalControls_->ShowVoltsDot(TableText(volts_knob::Dot(1)));
  for (int n : {1, 2}) {
    positionStrip_->PlaceMarker(n, DesignZeroRows[n - 1]);
    Channel(n).VertPos = DesignZeroRows[n - 1];
  }

  ChannelOn[1] = 1;
  ChannelOn[2] = 0;
  KnobBitmapPrefix = ProgramPath(TableText(volts_knob::FacePrefix(2)));
  CH1Focus = 0;
  KnobAngle = 0;
  UpdatedKnob();
  KnobBitmapPrefix = ProgramPath(TableText(volts_knob::FacePrefix(1)));
  CH1Focus = 1;
  KnobAngle = 0;
  UpdatedKnob();
  verticalControls_->SetVoltsKnobEnabled(true);
  UpdatedvoltageButtons();
  for (int n : {1, 2}) statusStrip_->ShowVoltsPerDiv(n, Channel(n).VoltsDivText);
}

// ---- Channel keys --------------------------------------------------------

void TForm1::CHButtonClick(QObject* Sender) {
  SelectorKey key = SelectorKey::None;
  if (verticalControls_->IsChannelOffKey(Sender))
    key = SelectorKey::ChannelOff;
  else if (const int channel = verticalControls_->ChannelOfKey(Sender))
    key = channel == 1 ? SelectorKey::Channel1 : SelectorKey::Channel2;
  SelectorKeyClick(key);
}

void TForm1::SelectorKeyClick(SelectorKey key) {
  verticalControls_->SetVoltsKnobEnabled(true);
  bool noneOn = false;
  if (key == SelectorKey::ChannelOff) {
    // The off key turns off the selected channel and hands the knob over.
    const ChannelParts off = Channel(FocusedChannel());
    const ChannelParts other = Channel(3 - off.Number);
    off.On = 0;
    CH1Focus = other.Number == 1 ? 1 : 0;
    noneOn = other.On != 1;
    verticalControls_->ShowVoltsDot(TableText(volts_knob::Dot(other.Number)));
    KnobBitmapPrefix = ProgramPath(TableText(volts_knob::FacePrefix(other.Number)));
    KnobAngle = other.KnobAngle;
    UpdatedKnob();
  } else if (MouseIsDown != 1) {
    // A key turns its channel on and selects it; from a marker click (the
    // button still down) only the selection changes.
    const int channel = key == SelectorKey::Channel1 ? 1 : 2;
    Channel(channel).On = 1;
    CH1Focus = channel == 1 ? 1 : 0;
  }
  if (noneOn) {
    // No channel left: the knob has nothing to act on until a key is pressed.
    CH1Focus = 0;
    verticalControls_->ShowVoltsKnobPicture(TableText(volts_knob::NoSelectionFace));
    verticalControls_->SetVoltsDotShown(false);
    verticalControls_->SetVoltsKnobPanelEnabled(false);
  }
  ApplyChannelSelector();
  if (key == SelectorKey::Channel1) GiveKnobTo(1);
  if (key == SelectorKey::Channel2) GiveKnobTo(2);
  // A stopped screen shows or hides the channel at once.
  if (PlotValid == 1 && Running != 1) PlotWaveform();
  if (TimeBaseIndex == time_knob::FastestIndex) Checkfor1Ms();
}

void TForm1::ApplyChannelSelector() {
  using namespace channel_selector;
  const int code = SelectorCode(ChannelOn[1] == 1, ChannelOn[2] == 1, CH1Focus == 1);
  if (const SelectorEntry* entry = EntryForCode(code)) {
    verticalControls_->ShowSelector(TableText(entry->picture));
    positionStrip_->SetMarkerShown(1, entry->image1);
    positionStrip_->SetMarkerShown(2, entry->image2);
    statusStrip_->SetVoltsPerDivShown(1, entry->ch1v);
    statusStrip_->SetVoltsPerDivShown(2, entry->ch2v);
    positionStrip_->SetUnselectedMarkerShown(1, entry->ch1ns);
    positionStrip_->SetUnselectedMarkerShown(2, entry->ch2ns);
    if (entry->prefix == KnobPrefix::CH1) KnobBitmapPrefix = ProgramPath(TableText(volts_knob::FacePrefix(1)));
    if (entry->prefix == KnobPrefix::CH2) KnobBitmapPrefix = ProgramPath(TableText(volts_knob::FacePrefix(2)));
  }
  // The click areas lie over the selector picture.
  verticalControls_->RaiseKeys();
}

void TForm1::GiveKnobTo(int channel) {
  verticalControls_->SetVoltsDotShown(true);
  verticalControls_->SetVoltsKnobPanelEnabled(true);
  verticalControls_->ShowVoltsDot(TableText(volts_knob::Dot(channel)));
  KnobAngle = Channel(channel).KnobAngle;
  UpdatedKnob();
}

// Start-up and settings loads: the selector, markers and knob from ChannelOn
// and CH1Focus. Unlike the keys it leaves the knob usable with no channel on.
void TForm1::UpdatedvoltageButtons() {
  ApplyChannelSelector();
  GiveKnobTo(FocusedChannel());
}

int TForm1::FocusedChannel() const { return CH1Focus == 1 ? 1 : 2; }

void TForm1::Image1Click() { MarkerClick(1); }
void TForm1::Image2Click() { MarkerClick(2); }

void TForm1::MarkerClick(int channel) {
  positionStrip_->SetUnselectedMarkerShown(channel, false);
  positionStrip_->SetMarkerShown(channel, true);
  positionStrip_->SetUnselectedMarkerShown(3 - channel, true);
  positionStrip_->SetMarkerShown(3 - channel, false);
  CH1Focus = channel == 1 ? 1 : 0;
  SelectorKeyClick(channel == 1 ? SelectorKey::Channel1 : SelectorKey::Channel2);
}

// ---- Volts/div knob ------------------------------------------------------

void TForm1::UpdatedKnob() {
  const volts_knob::VoltsRow& row = volts_knob::RowForAngle(KnobAngle);
  if (KnobSnap == 1) KnobAngle = row.detent;
  const ChannelParts ch = Channel(FocusedChannel());
  ch.KnobAngle = row.detent;
  ch.Scale = row.scale;
  ch.VoltsDiv = row.voltsDiv;
  ch.VoltsDivText = TableText(volts_knob::Caption(row, ch.Number));
  ch.HighRange = row.highRange ? 1 : 0;
  verticalControls_->ShowVoltsKnobFace(FaceFile(KnobBitmapPrefix, row.faceSuffix));
  // The raw pointer angle while dragging, the detent after a snap.
  const knob::DotPlace dot = volts_knob::DotPlace(KnobAngle);
  verticalControls_->PlaceVoltsDot(dot.left, dot.top);
  KnobAngle = 0;
  // A new scale moves the arrow of the trigger source: the level is kept in
  // counts. The trigger strip is built after the knobs; until it exists there
  // is no arrow to place.
  if (triggerStrip_) ResetTriggerVoltage(TriggerLevelChannel());
  // The voltage cursors read in the new volts/div.
  HorizontalCalualtions();
}

void TForm1::Image7MouseDown(Knob, Qt::MouseButton, int, int) { MouseIsDown = 1; }

void TForm1::Image7MouseMove(Knob which, int X, int Y) {
  if (MouseIsDown != 1) return;
  const QSize face = which == Knob::VoltsPerDiv ? verticalControls_->VoltsKnobSize() : timeBaseKnob_->FaceSize();
  KnobAngle = knob::PointerAngle(X, Y, face.width(), face.height());
  if (which == Knob::VoltsPerDiv)
    UpdatedKnob();
  else
    UpdatedTimeKnob();
}

void TForm1::Image7MouseUp(Knob which, Qt::MouseButton, int X, int Y) {
  // The release point is read like a move, with the angle snapped to the
  // row's detent. The flags are cleared even when that fails (a face that
  // cannot be loaded): left set, every later hover would turn a knob or drag
  // a marker without a button held.
  KnobSnap = 1;
  try {
    Image7MouseMove(which, X, Y);
  } catch (...) {
    KnobSnap = 0;
    MouseIsDown = 0;
    throw;
  }
  KnobSnap = 0;
  MouseIsDown = 0;
  CursorCalculation();
  if (RestartPending != 1 && Running != 1) nextRunNotice_->Offer();
}

void TForm1::Button6Click() { nextRunNotice_->hide(); }

// ---- Vertical position markers -------------------------------------------

void TForm1::Image1MouseDown(QWidget* Sender, Qt::MouseButton, int, int Y) {
  MouseIsDown = 1;
  MouseDownPos = Y;
  Sender->raise();
}

void TForm1::VerticalSliderMouseMove(QWidget* Sender, int, int Y) {
  if (MouseIsDown != 1) return;
  const int channel = positionStrip_->MarkerChannel(Sender);
  if (channel == 0) return;  // the trigger arrows move in the trigger controls
  const ChannelParts ch = Channel(channel);
  const vertical_marker::MarkerStep step = vertical_marker::DragStep(Top(Sender), MouseDownPos, Y);
  VertDragDelta = step.dragDelta;
  // Both looks of the channel's marker stay on the 0 V row.
  positionStrip_->PlaceMarker(channel, step.top);
  ch.VertPos = step.top;
  Sender->repaint();
  if (triggerStrip_) triggerStrip_->RepaintArrow(channel);
  CheckForWaveUpdateNeed();
  // The arrow keeps its level and moves with the 0 V line; at an end of the
  // strip the line stopped and the arrow is placed from its stored level.
  if (step.clamped)
    ResetTriggerVoltage(channel);
  else
    MovTriggerWithVertical(channel);
}

void TForm1::Image1MouseUp(QWidget*, Qt::MouseButton, int, int) {
  MouseIsDown = 0;
  CheckForWaveUpdateNeed();
}

void TForm1::PlaceZeroRow(int channel, std::int32_t row) {
  positionStrip_->PlaceMarker(channel, row);
  Channel(channel).VertPos = positionStrip_->MarkerTop(channel);
  ResetTriggerVoltage(channel);
}

// The vertical half of the front panel: the channel keys over the selector
// picture, the volts/div knob and the 0 V markers along the left of the plot.
// The knob-drag handlers serve the time/div knob too (Form1TimeBase.cpp).

#include "app/Paths.h"
#include "app/TForm1.h"
#include "display/StatusStrip.h"
#include "controls/ChannelSelector.h"
#include "controls/KnobAngle.h"
#include "controls/NextRunNotice.h"
#include "controls/TimeKnob.h"
#include "controls/TriggerStrip.h"
#include "controls/VerticalMarker.h"
#include "controls/VoltsKnob.h"

namespace {

// The face file of a row: KnobBitmapPrefix (an absolute path) and the suffix.
// A prefix written with "\" separators, as stored paths have them, still loads.
QString FaceFile(const QString& prefix, std::string_view suffix) {
  QString path = prefix + TableText(suffix);
  path.replace(u'\\', u'/');
  return path;
}

// The two looks of each channel's 0 V marker, and where the design puts it.
struct MarkerDesign {
  const char* selected;
  const char* unselected;
  int top;
};
constexpr MarkerDesign MarkerDesigns[] = {
    {"Grafics\\Markers\\CH1Pos.bmp", "Grafics\\Markers\\CH1PosNS.bmp", 122},
    {"Grafics\\Markers\\CH2Pos.bmp", "Grafics\\Markers\\CH2PosNS.bmp", 287},
};

// Places, in the parent's pixels.
constexpr QRect Panel3Place{7, 46, 22, 417};     // in Panel2: the position strip left of the plot
constexpr QRect MarkerPlace{1, 0, 22, 15};       // in Panel3, Top set by the channel's 0 V row
constexpr QRect Panel6Place{9, 227, 200, 200};   // in HorVerPanel: the volts/div knob
constexpr QRect Image7Place{0, 0, 200, 200};     // in Panel6: the face
constexpr QRect Image5Place{92, 92, 16, 16};     // in Panel6: the dot, moved with the angle
constexpr QRect Image6Place{0, 425, 225, 80};    // in HorVerPanel: the channel selector
constexpr QRect KeyPlaces[] = {{18, 434, 63, 63}, {142, 434, 61, 63}};  // CH1Button, CH2Button
constexpr QRect ChannelOffPlace{92, 431, 45, 25};

}  // namespace

void TForm1::BuildVerticalControls() {
  // The position strip left of the plot; a marker's Top is its channel's 0 V row.
  Panel3 = MakePanel(Panel2, QStringLiteral("Panel3"), Panel3Place, Qt::black);
  auto marker = [this](const char* name) {
    auto* m = new TImage(Panel3, QString::fromLatin1(name));
    m->SetTransparent(true);
    m->setGeometry(MarkerPlace);
    m->setCursor(Qt::SizeVerCursor);
    m->hide();
    return m;
  };
  Image1 = marker("Image1");
  CH1NS = marker("CH1NS");
  Image2 = marker("Image2");
  CH2NS = marker("CH2NS");
  BindMarker(Image1, &TForm1::Image1Click);
  BindMarker(CH1NS, &TForm1::Image1Click);
  BindMarker(Image2, &TForm1::Image2Click);
  BindMarker(CH2NS, &TForm1::Image2Click);

  // The volts/div knob; disabling Panel6 blocks it.
  Panel6 = MakePanel(HorVerPanel, QStringLiteral("Panel6"), Panel6Place);
  Image7 = new TImage(Panel6, QStringLiteral("Image7"));
  Image7->setGeometry(Image7Place);
  Image7->setEnabled(false);
  BindKnob(Image7);
  // The dot rides on the face and never takes the pointer, so a press on it
  // still turns the knob.
  Image5 = new TImage(Panel6, QStringLiteral("Image5"));
  Image5->SetTransparent(true);
  Image5->setGeometry(Image5Place);
  Image5->setEnabled(false);
  Image5->setAttribute(Qt::WA_TransparentForMouseEvents);
  Image5->hide();

  // The channel selector and the click areas over its three keys.
  Image6 = new TImage(HorVerPanel, QStringLiteral("Image6"));
  Image6->setGeometry(Image6Place);
  for (int n : {1, 2}) {
    TPaintBox*& key = Channel(n).Key;
    key = new TPaintBox(HorVerPanel, QStringLiteral("CH%1Button").arg(n));
    key->setAttribute(Qt::WA_OpaquePaintEvent, false);  // draws nothing: the picture shows through
    key->setCursor(Qt::PointingHandCursor);
    key->setGeometry(KeyPlaces[n - 1]);
    key->setToolTip(QStringLiteral("Turn on and/or select CH%1.").arg(n));
    key->mouse.OnClick = Handler([this, key] { CHButtonClick(key); });
  }
  ChannelOff = MakeImageButton(HorVerPanel, QStringLiteral("ChannelOff"), ChannelOffPlace,
                               QStringLiteral("Turn off selected channel."));
  ChannelOff->mouse.OnClick = Handler([this] { CHButtonClick(ChannelOff); });

  Guard([this] { SetDesignVerticalPanel(); });
}

// The panel as the window is designed, until a stored setting replaces it:
// CH1 on with the knob, both channels at 5 V/div, the 0 V lines at rows 122
// and 287.
void TForm1::SetDesignVerticalPanel() {
  for (int n : {1, 2}) {
    ShowBitmap(Channel(n).Marker, QString::fromLatin1(MarkerDesigns[n - 1].selected));
    ShowBitmap(Channel(n).MarkerUnselected, QString::fromLatin1(MarkerDesigns[n - 1].unselected));
  }
  ShowBitmap(Image5, TableText(volts_knob::Dot(1)));
  for (int n : {1, 2}) {
    const ChannelParts ch = Channel(n);
    SetTop(ch.Marker, MarkerDesigns[n - 1].top);
    SetTop(ch.MarkerUnselected, MarkerDesigns[n - 1].top);
    ch.VertPos = MarkerDesigns[n - 1].top;
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
  Image7->setEnabled(true);
  UpdatedvoltageButtons();
  for (int n : {1, 2}) statusStrip_->ShowVoltsPerDiv(n, Channel(n).VoltsDivText);
}

void TForm1::BindMarker(TImage* marker, void (TForm1::*click)()) {
  marker->mouse.OnMouseDown = Handler([this, marker](Qt::MouseButton b, int x, int y) {
    Image1MouseDown(marker, b, x, y);
  });
  marker->mouse.OnMouseMove = Handler([this, marker](int x, int y) { VerticalSliderMouseMove(marker, x, y); });
  // The click is handled before the release, while MouseIsDown is still set:
  // that is what makes a click on a marker select its channel without
  // switching anything on. Each runs as a handler of its own, so a failing
  // click cannot leave the marker stuck to the pointer.
  marker->mouse.OnMouseUp = [this, marker, click](Qt::MouseButton b, int x, int y) {
    if (b == Qt::LeftButton && marker->rect().contains(x, y)) Guard([this, click] { (this->*click)(); });
    Guard([&] { Image1MouseUp(marker, b, x, y); });
  };
}

void TForm1::BindKnob(TImage* face) {
  face->setCursor(Qt::PointingHandCursor);
  face->mouse.OnMouseDown = Handler([this, face](Qt::MouseButton b, int x, int y) {
    Image7MouseDown(face, b, x, y);
  });
  face->mouse.OnMouseMove = Handler([this, face](int x, int y) { Image7MouseMove(face, x, y); });
  face->mouse.OnMouseUp = Handler([this, face](Qt::MouseButton b, int x, int y) {
    Image7MouseUp(face, b, x, y);
  });
}

// ---- Channel keys --------------------------------------------------------

void TForm1::CHButtonClick(QObject* Sender) {
  Image7->setEnabled(true);
  bool noneOn = false;
  if (Sender == ChannelOff) {
    // The off key turns off the selected channel and hands the knob over.
    const ChannelParts off = Channel(FocusedChannel());
    const ChannelParts other = Channel(3 - off.Number);
    off.On = 0;
    CH1Focus = other.Number == 1 ? 1 : 0;
    noneOn = other.On != 1;
    ShowBitmap(Image5, TableText(volts_knob::Dot(other.Number)));
    KnobBitmapPrefix = ProgramPath(TableText(volts_knob::FacePrefix(other.Number)));
    KnobAngle = other.KnobAngle;
    UpdatedKnob();
  } else if (MouseIsDown != 1) {
    // A key turns its channel on and selects it; from a marker click (the
    // button still down) only the selection changes.
    const int channel = Sender == CH1Button ? 1 : 2;
    Channel(channel).On = 1;
    CH1Focus = channel == 1 ? 1 : 0;
  }
  if (noneOn) {
    // No channel left: the knob has nothing to act on until a key is pressed.
    CH1Focus = 0;
    ShowBitmap(Image7, TableText(volts_knob::NoSelectionFace));
    Image5->hide();
    Panel6->setEnabled(false);
  }
  ApplyChannelSelector();
  if (Sender == CH1Button) GiveKnobTo(1);
  if (Sender == CH2Button) GiveKnobTo(2);
  // A stopped screen shows or hides the channel at once.
  if (PlotValid == 1 && Running != 1) PlotWaveform();
  if (TimeBaseIndex == time_knob::FastestIndex) Checkfor1Ms();
}

void TForm1::ApplyChannelSelector() {
  using namespace channel_selector;
  const int code = SelectorCode(ChannelOn[1] == 1, ChannelOn[2] == 1, CH1Focus == 1);
  if (const SelectorEntry* entry = EntryForCode(code)) {
    ShowBitmap(Image6, TableText(entry->picture));
    Image1->setVisible(entry->image1);
    Image2->setVisible(entry->image2);
    statusStrip_->SetVoltsPerDivShown(1, entry->ch1v);
    statusStrip_->SetVoltsPerDivShown(2, entry->ch2v);
    CH1NS->setVisible(entry->ch1ns);
    CH2NS->setVisible(entry->ch2ns);
    if (entry->prefix == KnobPrefix::CH1) KnobBitmapPrefix = ProgramPath(TableText(volts_knob::FacePrefix(1)));
    if (entry->prefix == KnobPrefix::CH2) KnobBitmapPrefix = ProgramPath(TableText(volts_knob::FacePrefix(2)));
  }
  // The click areas lie over the selector picture.
  ChannelOff->raise();
  CH1Button->raise();
  CH2Button->raise();
}

void TForm1::GiveKnobTo(int channel) {
  Image5->show();
  Panel6->setEnabled(true);
  ShowBitmap(Image5, TableText(volts_knob::Dot(channel)));
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
  const ChannelParts clicked = Channel(channel);
  const ChannelParts other = Channel(3 - channel);
  clicked.MarkerUnselected->hide();
  clicked.Marker->show();
  other.MarkerUnselected->show();
  other.Marker->hide();
  CH1Focus = channel == 1 ? 1 : 0;
  CHButtonClick(clicked.Key);
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
  Image7->LoadFromFile(FaceFile(KnobBitmapPrefix, row.faceSuffix));
  // The raw pointer angle while dragging, the detent after a snap.
  const knob::DotPlace dot = volts_knob::DotPlace(KnobAngle);
  Image5->move(dot.left, dot.top);
  KnobAngle = 0;
  // A new scale moves the arrow of the trigger source: the level is kept in
  // counts. The trigger strip is built after the knobs; until it exists there
  // is no arrow to place.
  if (triggerStrip_) ResetTriggerVoltage(TriggerLevelChannel());
  // The voltage cursors read in the new volts/div.
  HorizontalCalualtions();
}

void TForm1::Image7MouseDown(QWidget*, Qt::MouseButton, int, int) { MouseIsDown = 1; }

void TForm1::Image7MouseMove(QWidget* Sender, int X, int Y) {
  if (MouseIsDown != 1) return;
  KnobAngle = knob::PointerAngle(X, Y, Sender->width(), Sender->height());
  if (Sender == Image7)
    UpdatedKnob();
  else
    UpdatedTimeKnob();
}

void TForm1::Image7MouseUp(QWidget* Sender, Qt::MouseButton, int X, int Y) {
  // The release point is read like a move, with the angle snapped to the
  // row's detent. The flags are cleared even when that fails (a face that
  // cannot be loaded): left set, every later hover would turn a knob or drag
  // a marker without a button held.
  KnobSnap = 1;
  try {
    Image7MouseMove(Sender, X, Y);
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
  const int channel = MarkerChannel(Sender);
  if (channel == 0) return;  // the trigger arrows move in the trigger controls
  const ChannelParts ch = Channel(channel);
  const vertical_marker::MarkerStep step = vertical_marker::DragStep(Top(Sender), MouseDownPos, Y);
  VertDragDelta = step.dragDelta;
  // Both looks of the channel's marker stay on the 0 V row.
  SetTop(ch.Marker, step.top);
  SetTop(ch.MarkerUnselected, step.top);
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

int TForm1::MarkerChannel(const QWidget* widget) {
  for (int n : {1, 2}) {
    const ChannelParts ch = Channel(n);
    if (widget == ch.Marker || widget == ch.MarkerUnselected) return n;
  }
  return 0;
}

void TForm1::Image1MouseUp(QWidget*, Qt::MouseButton, int, int) {
  MouseIsDown = 0;
  CheckForWaveUpdateNeed();
}

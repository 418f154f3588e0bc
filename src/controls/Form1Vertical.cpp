// The vertical half of the front panel: the channel keys over the selector
// picture, the volts/div knob and the 0 V markers along the left of the plot.
// The knob-drag handlers serve the time/div knob too (Form1TimeBase.cpp).

#include "app/Paths.h"
#include "app/TForm1.h"
#include "controls/ChannelSelector.h"
#include "controls/KnobAngle.h"
#include "controls/TimeKnob.h"
#include "controls/VerticalMarker.h"
#include "controls/VoltsKnob.h"

namespace {

QString Text(std::string_view text) { return QString::fromLatin1(text.data(), qsizetype(text.size())); }

// The face file of a row: KnobBitmapPrefix (an absolute path) and the suffix.
// A prefix written with "\" separators, as stored paths have them, still loads.
QString FaceFile(const QString& prefix, std::string_view suffix) {
  QString path = prefix + Text(suffix);
  path.replace(u'\\', u'/');
  return path;
}

constexpr QColor CH1TextColour(0, 126, 255);  // TColor $00FF7E00
constexpr QColor CH2TextColour(255, 0, 0);    // TColor $000000FF

}  // namespace

void TForm1::BuildVerticalControls() {
  // The position strip left of the plot; a marker's Top is its channel's 0 V row.
  Panel3 = new TPanel(Panel2, QStringLiteral("Panel3"));
  Panel3->setGeometry(7, 46, 22, 417);
  Panel3->SetColor(Qt::black);
  Panel3->SetBevel(0);
  auto marker = [this](const char* name) {
    auto* m = new TImage(Panel3, QString::fromLatin1(name));
    m->SetTransparent(true);
    m->setGeometry(1, 0, 22, 15);
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
  Panel6 = new TPanel(HorVerPanel, QStringLiteral("Panel6"));
  Panel6->setGeometry(9, 227, 200, 200);
  Panel6->SetBevel(0);
  Image7 = new TImage(Panel6, QStringLiteral("Image7"));
  Image7->setGeometry(0, 0, 200, 200);
  Image7->setEnabled(false);
  BindKnob(Image7);
  // The dot rides on the face and never takes the pointer, so a press on it
  // still turns the knob.
  Image5 = new TImage(Panel6, QStringLiteral("Image5"));
  Image5->SetTransparent(true);
  Image5->setGeometry(92, 92, 16, 16);
  Image5->setEnabled(false);
  Image5->setAttribute(Qt::WA_TransparentForMouseEvents);
  Image5->hide();

  // The channel selector and the click areas over its three keys.
  Image6 = new TImage(HorVerPanel, QStringLiteral("Image6"));
  Image6->setGeometry(0, 425, 225, 80);
  CH1Button = new TPaintBox(HorVerPanel, QStringLiteral("CH1Button"));
  CH2Button = new TPaintBox(HorVerPanel, QStringLiteral("CH2Button"));
  for (TPaintBox* key : {CH1Button, CH2Button}) {
    key->setAttribute(Qt::WA_OpaquePaintEvent, false);  // draws nothing: the picture shows through
    key->setCursor(Qt::PointingHandCursor);
  }
  CH1Button->setGeometry(18, 434, 63, 63);
  CH1Button->setToolTip(QStringLiteral("Turn on and/or select CH1."));
  CH1Button->mouse.OnClick = Handler([this] { CHButtonClick(CH1Button); });
  CH2Button->setGeometry(142, 434, 61, 63);
  CH2Button->setToolTip(QStringLiteral("Turn on and/or select CH2."));
  CH2Button->mouse.OnClick = Handler([this] { CHButtonClick(CH2Button); });
  ChannelOff = new TImage(HorVerPanel, QStringLiteral("ChannelOff"));
  ChannelOff->setGeometry(92, 431, 45, 25);
  ChannelOff->setCursor(Qt::PointingHandCursor);
  ChannelOff->setToolTip(QStringLiteral("Turn off selected channel."));
  ChannelOff->mouse.OnClick = Handler([this] { CHButtonClick(ChannelOff); });

  // The volts/div readouts under the screen (their text is the plot's).
  auto readout = [this](const char* name, int top, const QColor& colour) {
    auto* label = new TLabel(Panel5, QString::fromLatin1(name));
    label->setGeometry(4, top, 96, 16);
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, Qt::black);
    label->setPalette(p);
    label->SetFontColor(colour);
    QFont f = label->font();
    f.setPixelSize(12);
    f.setBold(true);
    label->setFont(f);
    label->hide();
    return label;
  };
  CH1V = readout("CH1V", 17, CH1TextColour);
  CH2V = readout("CH2V", 33, CH2TextColour);

  // The notice after a knob release while stopped.
  Panel12Notice = new TLabel(Panel12, QStringLiteral("Panel12Notice"),
                             QStringLiteral("New setting will take effect the next time you click Run."));
  Panel12Notice->setGeometry(8, 6, 321, 20);
  QFont small = Panel12Notice->font();
  small.setPixelSize(11);
  Panel12Notice->setFont(small);
  CheckBox1 = new QCheckBox(QStringLiteral("Do not show this message again."), Panel12);
  CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
  CheckBox1->setGeometry(8, 36, 230, 20);
  CheckBox1->setFont(small);
  Button6 = new QPushButton(QStringLiteral("OK"), Panel12);
  Button6->setObjectName(QStringLiteral("Button6"));
  Button6->setGeometry(254, 33, 75, 25);
  Button6->setFont(small);
  connect(Button6, &QPushButton::clicked, this, Handler([this] { Button6Click(); }));

  Guard([this] { SetDesignVerticalPanel(); });
}

// The panel as the window is designed, until a stored setting replaces it:
// CH1 on with the knob, both channels at 5 V/div, the 0 V lines at rows 122
// and 287.
void TForm1::SetDesignVerticalPanel() {
  ShowBitmap(Image1, QStringLiteral("Grafics\\Markers\\CH1Pos.bmp"));
  ShowBitmap(CH1NS, QStringLiteral("Grafics\\Markers\\CH1PosNS.bmp"));
  ShowBitmap(Image2, QStringLiteral("Grafics\\Markers\\CH2Pos.bmp"));
  ShowBitmap(CH2NS, QStringLiteral("Grafics\\Markers\\CH2PosNS.bmp"));
  ShowBitmap(Image5, Text(volts_knob::CH1Dot));
  for (TImage* m : {Image1, CH1NS}) SetTop(m, 122);
  for (TImage* m : {Image2, CH2NS}) SetTop(m, 287);
  CH1VertPos = 122;
  CH2VertPos = 287;

  ChannelOn[1] = 1;
  ChannelOn[2] = 0;
  KnobBitmapPrefix = ProgramPath(Text(volts_knob::CH2FacePrefix));
  CH1Focus = 0;
  KnobAngle = 0;
  UpdatedKnob();
  KnobBitmapPrefix = ProgramPath(Text(volts_knob::CH1FacePrefix));
  CH1Focus = 1;
  KnobAngle = 0;
  UpdatedKnob();
  Image7->setEnabled(true);
  UpdatedvoltageButtons();
  CH1V->setText(CH1VoltsDivText);
  CH2V->setText(CH2VoltsDivText);
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
    if (CH1Focus == 1) {
      ChannelOn[1] = 0;
      CH1Focus = 0;
      noneOn = ChannelOn[2] != 1;
      ShowBitmap(Image5, Text(volts_knob::CH2Dot));
      KnobBitmapPrefix = ProgramPath(Text(volts_knob::CH2FacePrefix));
      KnobAngle = CH2KnobAngle;
      UpdatedKnob();
    } else {
      ChannelOn[2] = 0;
      CH1Focus = 1;
      noneOn = ChannelOn[1] != 1;
      ShowBitmap(Image5, Text(volts_knob::CH1Dot));
      KnobBitmapPrefix = ProgramPath(Text(volts_knob::CH1FacePrefix));
      KnobAngle = CH1KnobAngle;
      UpdatedKnob();
    }
  } else if (MouseIsDown != 1) {
    // A key turns its channel on and selects it; from a marker click (the
    // button still down) only the selection changes.
    ChannelOn[Sender == CH1Button ? 1 : 2] = 1;
    CH1Focus = Sender == CH1Button ? 1 : 0;
  }
  if (noneOn) {
    // No channel left: the knob has nothing to act on until a key is pressed.
    CH1Focus = 0;
    ShowBitmap(Image7, Text(volts_knob::NoSelectionFace));
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
    ShowBitmap(Image6, Text(entry->picture));
    Image1->setVisible(entry->image1);
    Image2->setVisible(entry->image2);
    CH1V->setVisible(entry->ch1v);
    CH2V->setVisible(entry->ch2v);
    CH1NS->setVisible(entry->ch1ns);
    CH2NS->setVisible(entry->ch2ns);
    if (entry->prefix == KnobPrefix::CH1) KnobBitmapPrefix = ProgramPath(Text(volts_knob::CH1FacePrefix));
    if (entry->prefix == KnobPrefix::CH2) KnobBitmapPrefix = ProgramPath(Text(volts_knob::CH2FacePrefix));
  }
  // The click areas lie over the selector picture.
  ChannelOff->raise();
  CH1Button->raise();
  CH2Button->raise();
}

void TForm1::GiveKnobTo(int channel) {
  Image5->show();
  Panel6->setEnabled(true);
  ShowBitmap(Image5, Text(channel == 1 ? volts_knob::CH1Dot : volts_knob::CH2Dot));
  KnobAngle = channel == 1 ? CH1KnobAngle : CH2KnobAngle;
  UpdatedKnob();
}

// Start-up and settings loads: the selector, markers and knob from ChannelOn
// and CH1Focus. Unlike the keys it leaves the knob usable with no channel on.
void TForm1::UpdatedvoltageButtons() {
  ApplyChannelSelector();
  GiveKnobTo(CH1Focus == 1 ? 1 : 2);
}

void TForm1::Image1Click() {
  CH1NS->hide();
  Image1->show();
  CH2NS->show();
  Image2->hide();
  CH1Focus = 1;
  CHButtonClick(CH1Button);
}

void TForm1::Image2Click() {
  CH2NS->hide();
  Image2->show();
  CH1NS->show();
  Image1->hide();
  CH1Focus = 0;
  CHButtonClick(CH2Button);
}

// ---- Volts/div knob ------------------------------------------------------

void TForm1::UpdatedKnob() {
  const volts_knob::VoltsRow& row = volts_knob::RowForAngle(KnobAngle);
  if (KnobSnap == 1) KnobAngle = row.detent;
  if (CH1Focus == 1) {
    CH1KnobAngle = row.detent;
    CH1Scale = row.scale;
    CH1VoltsDiv = row.voltsDiv;
    CH1VoltsDivText = Text(row.ch1Caption);
    CH1HighRange = row.highRange ? 1 : 0;
  } else {
    CH2KnobAngle = row.detent;
    CH2Scale = row.scale;
    CH2VoltsDiv = row.voltsDiv;
    CH2VoltsDivText = Text(row.ch2Caption);
    CH2HighRange = row.highRange ? 1 : 0;
  }
  Image7->LoadFromFile(FaceFile(KnobBitmapPrefix, row.faceSuffix));
  // The raw pointer angle while dragging, the detent after a snap.
  const knob::DotPlace dot = volts_knob::DotPlace(KnobAngle);
  Image5->move(dot.left, dot.top);
  KnobAngle = 0;
  // A new scale moves the arrow of the trigger source: the level is kept in
  // counts. The trigger strip is built after the knobs; until it exists there
  // is no arrow to place.
  if (TriggerSlider) {
    if (TriggerCH == 1)
      ResetCH1TriggerVoltage();
    else
      ResetCH2TriggerVoltage();
  }
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
  if (RestartPending != 1 && Running != 1 && !CheckBox1->isChecked()) Panel12->show();
}

void TForm1::Button6Click() { Panel12->hide(); }

// ---- Vertical position markers -------------------------------------------

void TForm1::Image1MouseDown(QWidget* Sender, Qt::MouseButton, int, int Y) {
  MouseIsDown = 1;
  MouseDownPos = Y;
  Sender->raise();
}

void TForm1::VerticalSliderMouseMove(QWidget* Sender, int, int Y) {
  if (MouseIsDown != 1) return;
  const bool ch1 = Sender == Image1 || Sender == CH1NS;
  const bool ch2 = Sender == Image2 || Sender == CH2NS;
  if (!ch1 && !ch2) return;  // the trigger arrows move in the trigger controls
  const vertical_marker::MarkerStep step = vertical_marker::DragStep(Top(Sender), MouseDownPos, Y);
  VertDragDelta = step.dragDelta;
  // Both looks of the channel's marker stay on the 0 V row.
  if (ch1) {
    SetTop(Image1, step.top);
    SetTop(CH1NS, step.top);
    CH1VertPos = step.top;
  } else {
    SetTop(Image2, step.top);
    SetTop(CH2NS, step.top);
    CH2VertPos = step.top;
  }
  Sender->repaint();
  if (TImage* arrow = ch1 ? TriggerArrowCH1 : TriggerArrowCH2) arrow->repaint();
  CheckForWaveUpdateNeed();
  // The arrow keeps its level and moves with the 0 V line; at an end of the
  // strip the line stopped and the arrow is placed from its stored level.
  if (ch1) {
    if (step.clamped)
      ResetCH1TriggerVoltage();
    else
      MovTriggerWithCH1Vertial();
  } else {
    if (step.clamped)
      ResetCH2TriggerVoltage();
    else
      MovTriggerWithCH2Vertial();
  }
}

void TForm1::Image1MouseUp(QWidget*, Qt::MouseButton, int, int) {
  MouseIsDown = 0;
  CheckForWaveUpdateNeed();
}

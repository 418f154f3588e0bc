#include "display/DisProperties.h"

#include "app/Paths.h"
#include "app/PanelKit.h"
#include "app/ScopeState.h"
#include "app/Widgets.h"
#include "display/DisplayChoices.h"
#include "storage/SettingsStore.h"
#include "storage/StoredValues.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

using namespace display_choices;

namespace {

QString Text(std::string_view text) { return QString::fromLatin1(text.data(), qsizetype(text.size())); }

constexpr int DialogWidth = 385;
constexpr int DialogHeight = 268;
constexpr int FontPixels = 11;
constexpr int HeadingPixels = 16;
constexpr int RadioHeight = 17;
constexpr int GroupRadioWidth = 121;  // the radios inside the two panels

template <class W>
W* Make(QWidget* parent, const char* name) {
  auto* w = new W(parent);
  w->setObjectName(QString::fromLatin1(name));
  return w;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const char* caption, QPoint at, int pixels = 0) {
  auto* label = Make<QLabel>(parent, name);
  label->setText(QString::fromLatin1(caption));
  if (pixels > 0) {
    QFont f = label->font();
    f.setPixelSize(pixels);
    label->setFont(f);
  }
  label->adjustSize();
  label->move(at);
  return label;
}

// The design's fonts are narrow; with a wider font a caption keeps to the
// frame it was laid out in by taking a smaller size, down to 8 pixels.
void FitToWidth(QLabel* label, int available) {
  QFont f = label->font();
  while (f.pixelSize() > 8 && QFontMetrics(f).horizontalAdvance(label->text()) > available)
    f.setPixelSize(f.pixelSize() - 1);
  label->setFont(f);
  label->adjustSize();
}

QRadioButton* MakeRadio(QWidget* parent, const char* name, std::string_view caption, QRect geometry) {
  auto* radio = Make<QRadioButton>(parent, name);
  radio->setText(Text(caption));
  radio->setGeometry(geometry);
  return radio;
}

QFrame* MakeBevel(QWidget* parent, const char* name, QRect geometry) {
  auto* bevel = Make<QFrame>(parent, name);
  bevel->setFrameShape(QFrame::Box);
  bevel->setFrameShadow(QFrame::Sunken);
  bevel->setGeometry(geometry);
  bevel->lower();
  return bevel;
}

}  // namespace

TDisPropertiesForm::TDisPropertiesForm(ScopeState& state, PanelKit& kit, QImage& gridBitmap, SettingsStore& store,
                                       QWidget* parent)
    : QDialog(parent), state_(state), kit_(kit), gridBitmap_(gridBitmap), store_(store) {
  setObjectName(QStringLiteral("DisPropertiesForm"));
  setWindowTitle(QStringLiteral("Display Properties"));
  setFixedSize(DialogWidth, DialogHeight);
  setModal(false);
  QFont f = font();
  f.setPixelSize(FontPixels);
  setFont(f);
  BuildPersistence();
  BuildGraticule();
  BuildSaveBackground();
  Button1 = Make<QPushButton>(this, "Button1");
  Button1->setText(QStringLiteral("Close"));
  Button1->setGeometry(8, 200, 75, 25);
  Button1->setAutoDefault(false);
  BindHandlers();
  FormCreate();
}

// Persistence: the mode and its level.
void TDisPropertiesForm::BuildPersistence() {
  Bevel2 = MakeBevel(this, "Bevel2", {8, 8, 185, 145});
  Label3 = MakeLabel(this, "Label3", "Variable Persistence Dots", {24, 16}, HeadingPixels);
  RadioButton1 = MakeRadio(this, "RadioButton1", PersistenceChoices[0].caption, {40, 40, 49, RadioHeight});
  RadioButton2 = MakeRadio(this, "RadioButton2", PersistenceChoices[1].caption, {40, 56, 113, RadioHeight});
  RadioButton3 = MakeRadio(this, "RadioButton3", PersistenceChoices[2].caption, {40, 72, 113, RadioHeight});
  RadioButton1->setChecked(true);
  PersitanceTrackBar = Make<QSlider>(this, "PersitanceTrackBar");
  PersitanceTrackBar->setOrientation(Qt::Horizontal);
  PersitanceTrackBar->setGeometry(24, 96, 150, 33);
  PersitanceTrackBar->setRange(LevelMinimum, LevelMaximum);
  PersitanceTrackBar->setValue(LevelAtDesign);
  PersitanceTrackBar->setTickInterval(10);
  PersitanceTrackBar->setTickPosition(QSlider::TicksBelow);
  Label4 = MakeLabel(this, "Label4", "MIN", {24, 128});
  Label2 = MakeLabel(this, "Label2", "Persistence Level ", {56, 128});
  Label1 = MakeLabel(this, "Label1", "MAX", {152, 128});
  FitToWidth(Label3, 185 - 16 - 4);
  FitToWidth(Label2, 152 - 56 - 2);
}

// The graticule.
void TDisPropertiesForm::BuildGraticule() {
  Bevel1 = MakeBevel(this, "Bevel1", {200, 8, 169, 145});
  Panel1 = Make<QWidget>(this, "Panel1");
  Panel1->setGeometry(208, 16, 153, 105);
  Label5 = MakeLabel(Panel1, "Label5", "Display Background", {16, 0}, HeadingPixels);
  FitToWidth(Label5, 153 - 16);
  const char* graticuleNames[] = {"RadioButton4", "RadioButton5", "RadioButton6", "RadioButton7", "RadioButton8"};
  for (std::size_t i = 0; i < GraticuleChoices.size(); ++i)
    graticuleRadios_[i] = MakeRadio(Panel1, graticuleNames[i], GraticuleChoices[i].caption,
                                     {24, 24 + 16 * static_cast<int>(i), GroupRadioWidth, RadioHeight});
  RadioButton4 = graticuleRadios_[0];
  RadioButton5 = graticuleRadios_[1];
  RadioButton6 = graticuleRadios_[2];
  RadioButton7 = graticuleRadios_[3];
  RadioButton8 = graticuleRadios_[4];
  Label6 = MakeLabel(this, "Label6", "Background will change next ", {216, 120});
  Label7 = MakeLabel(this, "Label7", "time oscilloscope plots data.", {216, 136});
  for (QLabel* note : {Label6, Label7}) {
    QPalette p = note->palette();
    p.setColor(QPalette::WindowText, p.color(QPalette::Highlight));
    note->setPalette(p);
  }
}

// The background of saved views.
void TDisPropertiesForm::BuildSaveBackground() {
  Bevel3 = MakeBevel(this, "Bevel3", {200, 160, 169, 65});
  Label8 = MakeLabel(this, "Label8", "Save BMP Background Color", {205, 160}, HeadingPixels);
  FitToWidth(Label8, 369 - 205 - 3);
  Panel2 = Make<QWidget>(this, "Panel2");
  Panel2->setGeometry(208, 184, 145, 33);
  ColorA = MakeRadio(Panel2, "ColorA", "White Background", {16, 0, GroupRadioWidth, RadioHeight});
  RadioButton10 = MakeRadio(Panel2, "RadioButton10", "Black Background", {16, 16, GroupRadioWidth, RadioHeight});
}

void TDisPropertiesForm::BindHandlers() {
  Bind(RadioButton1, &TDisPropertiesForm::RadioButton1Click);
  Bind(RadioButton2, &TDisPropertiesForm::RadioButton2Click);
  Bind(RadioButton3, &TDisPropertiesForm::RadioButton3Click);
  Bind(RadioButton4, &TDisPropertiesForm::RadioButton4Click);
  Bind(RadioButton5, &TDisPropertiesForm::RadioButton5Click);
  Bind(RadioButton6, &TDisPropertiesForm::RadioButton6Click);
  Bind(RadioButton7, &TDisPropertiesForm::RadioButton7Click);
  Bind(RadioButton8, &TDisPropertiesForm::RadioButton8Click);
  Bind(ColorA, &TDisPropertiesForm::ColorAClick);
  Bind(RadioButton10, &TDisPropertiesForm::RadioButton10Click);
  // Every change of the bar, by the user or from code, sets the fade.
  connect(PersitanceTrackBar, &QSlider::valueChanged, this,
          [this] { kit_.Guard([this] { PersitanceTrackBarChange(); }); });
  connect(Button1, &QPushButton::clicked, this, [this] { kit_.Guard([this] { Button1Click(); }); });
}

void TDisPropertiesForm::Bind(QRadioButton* radio, void (TDisPropertiesForm::*action)()) {
  connect(radio, &QRadioButton::clicked, this, [this, action] { kit_.Guard([this, action] { (this->*action)(); }); });
}

void TDisPropertiesForm::FormCreate() { state_.PersistenceMode = ModeOff; }

void TDisPropertiesForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  kit_.Guard([this] { FormShow(); });
}

void TDisPropertiesForm::FormShow() {
  using Action = void (TDisPropertiesForm::*)();
  // The graticule whose file is exactly GridFile; none when no file matches.
  const int graticule = GraticuleIndexOf(state_.GridFile.toStdString());
  const Action graticuleActions[] = {
      &TDisPropertiesForm::RadioButton4Click, &TDisPropertiesForm::RadioButton5Click,
      &TDisPropertiesForm::RadioButton6Click, &TDisPropertiesForm::RadioButton7Click,
      &TDisPropertiesForm::RadioButton8Click};
  if (graticule < 0)
    SelectNone(graticuleRadios_);
  else
    Select(graticuleRadios_[static_cast<std::size_t>(graticule)], graticuleActions[graticule]);

  const int persistence = PersistenceIndexOf(state_.PersistenceMode);
  QRadioButton* const persistenceRadios[] = {RadioButton1, RadioButton2, RadioButton3};
  const Action persistenceActions[] = {&TDisPropertiesForm::RadioButton1Click,
                                       &TDisPropertiesForm::RadioButton2Click,
                                       &TDisPropertiesForm::RadioButton3Click};
  if (persistence >= 0) Select(persistenceRadios[persistence], persistenceActions[persistence]);

  if (state_.ScreenSave == 1)
    Select(ColorA, &TDisPropertiesForm::ColorAClick);
  else if (state_.ScreenSave == 0)
    Select(RadioButton10, &TDisPropertiesForm::RadioButton10Click);
}

void TDisPropertiesForm::Select(QRadioButton* radio, void (TDisPropertiesForm::*action)()) {
  if (radio->isChecked()) return;
  radio->setChecked(true);
  (this->*action)();
}

void TDisPropertiesForm::ShowGraticuleInUse() {
  const int inUse = GraticuleIndexOf(state_.GridFile.toStdString());
  if (inUse < 0)
    SelectNone(graticuleRadios_);
  else
    graticuleRadios_[static_cast<std::size_t>(inUse)]->setChecked(true);
}

void TDisPropertiesForm::SelectNone(const std::array<QRadioButton*, 5>& group) {
  // Exclusive radios cannot all be cleared one by one; the group is made
  // non-exclusive for the moment it takes.
  for (QRadioButton* radio : group) {
    radio->setAutoExclusive(false);
    radio->setChecked(false);
  }
  for (QRadioButton* radio : group) radio->setAutoExclusive(true);
}

void TDisPropertiesForm::ChoosePersistence(int choice) {
  const PersistenceChoice& c = PersistenceChoices[static_cast<std::size_t>(choice)];
  // The grids are left as they are: cells from the earlier mode fade on.
  state_.PersistenceHit = c.hit;
  state_.PersistenceOn = c.on ? 1 : 0;
  state_.RainbowOn = c.rainbow ? 1 : 0;
  state_.PersistenceMode = c.mode;
}

void TDisPropertiesForm::RadioButton1Click() { ChoosePersistence(0); }
void TDisPropertiesForm::RadioButton2Click() { ChoosePersistence(1); }
void TDisPropertiesForm::RadioButton3Click() { ChoosePersistence(2); }

void TDisPropertiesForm::PersitanceTrackBarChange() {
  state_.PersistenceFade = FadeOfLevel(PersitanceTrackBar->value());
}

void TDisPropertiesForm::ChooseGraticule(int choice) {
  const GraticuleChoice& c = GraticuleChoices[static_cast<std::size_t>(choice)];
  const QString file = Text(c.file);
  // Read first: a picture that cannot be read throws here and leaves the
  // graticule, GridFile and the store as they were; the radios go back to
  // showing the graticule still in use.
  QImage picture;
  try {
    picture = LoadBitmapFile(ProgramPath(file));
  } catch (...) {
    ShowGraticuleInUse();
    throw;
  }
  gridBitmap_.fill(Qt::black);
  {
    QPainter painter(&gridBitmap_);
    painter.drawImage(0, 0, picture);
  }
  store_.WriteString(stored::Name(stored::Id::DISPLAYBACKGROUND), file);
  store_.WriteInteger(stored::Name(stored::Id::DISPLAYBUTTON), c.number);
  state_.GridFile = file;
}

void TDisPropertiesForm::RadioButton4Click() { ChooseGraticule(0); }
void TDisPropertiesForm::RadioButton5Click() { ChooseGraticule(1); }
void TDisPropertiesForm::RadioButton6Click() { ChooseGraticule(2); }
void TDisPropertiesForm::RadioButton7Click() { ChooseGraticule(3); }
void TDisPropertiesForm::RadioButton8Click() { ChooseGraticule(4); }

void TDisPropertiesForm::ChooseSaveBackground(bool white) {
  store_.WriteBool(stored::Name(stored::Id::ScreenSave), white);
  state_.ScreenSave = white ? 1 : 0;
}

void TDisPropertiesForm::ColorAClick() { ChooseSaveBackground(true); }
void TDisPropertiesForm::RadioButton10Click() { ChooseSaveBackground(false); }

void TDisPropertiesForm::Button1Click() { close(); }

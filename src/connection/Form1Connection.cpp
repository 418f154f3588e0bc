// The connection's widgets: the indicator and the settings key in the status
// strip, and the COM settings panel with the port chooser.
#include "app/TForm1.h"

#include "connection/PortComboBox.h"

#include <QAction>
#include <QFontMetrics>
#include <QTimer>

namespace {

// The status strip is shared with the volts/div and time/div readouts (upper
// left), the trigger buttons and level, the cursor readouts (x 300..495) and
// the run/stop status picture (right end). The indicator and the settings key
// take the lower left, under the readouts; the indicator sits two pixels
// higher than its design place so that all of it fits in the 79-pixel strip.
// The version label lies on the indicator's face.
constexpr QRect IndicatorPlace{35, 54, 56, 25};
constexpr QPoint VersionOnIndicator{26, 5};
constexpr QSize VersionSize{27, 16};
constexpr QRect SettingKeyPlace{100, 60, 69, 18};

// The panel's own layout.
constexpr QRect Label2Place{8, 12, 144, 13};
constexpr QRect Label3Place{152, 12, 92, 13};  // wider names slip under Button1
constexpr QRect Label1Place{64, 34, 120, 13};
constexpr QRect ComboBox1Place{32, 52, 177, 21};
constexpr QRect Button1Place{248, 8, 185, 17};
constexpr QRect Edit2Place{248, 28, 185, 21};
constexpr QRect Edit3Place{248, 52, 185, 21};
constexpr QRect Edit4Place{248, 76, 185, 21};
constexpr QRect Button4Place{8, 80, 75, 25};

// Shrinks a label's font until its caption fits its width: the panel's
// places were laid out for a narrower typeface than most systems have.
void FitCaptionToWidth(QLabel* label) {
  QFont f = label->font();
  while (f.pixelSize() > 8 && QFontMetrics(f).horizontalAdvance(label->text()) > label->width()) {
    f.setPixelSize(f.pixelSize() - 1);
  }
  label->setFont(f);
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QRect& place) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setGeometry(place);
  edit->setReadOnly(true);
  return edit;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption,
                        const QRect& place) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(place);
  button->setFocusPolicy(Qt::TabFocus);
  return button;
}

}  // namespace

void TForm1::BuildConnection() {
  // ---- Status strip -----------------------------------------------------
  Image11 = new TImage(Panel5, QStringLiteral("Image11"));
  Image11->setGeometry(IndicatorPlace);
  Image11->setCursor(Qt::PointingHandCursor);
  Image11->mouse.OnClick = Handler([this] { SettingButtonClick(); });

  HWRevLabel = new TLabel(Panel5, QStringLiteral("HWRevLabel"), QStringLiteral("2.0.7"));
  HWRevLabel->setGeometry(QRect(IndicatorPlace.topLeft() + VersionOnIndicator, VersionSize));
  HWRevLabel->setAlignment(Qt::AlignCenter);
  QFont tiny = HWRevLabel->font();
  tiny.setPixelSize(9);
  HWRevLabel->setFont(tiny);
  HWRevLabel->SetFontColor(Qt::black);
  HWRevLabel->setAutoFillBackground(true);
  QPalette green = HWRevLabel->palette();
  green.setColor(QPalette::Window, QColor(0, 255, 0));
  HWRevLabel->setPalette(green);
  HWRevLabel->hide();
  HWRevLabel->raise();

  SettingButton = new TImage(Panel5, QStringLiteral("SettingButton"));
  SettingButton->setGeometry(SettingKeyPlace);
  SettingButton->setCursor(Qt::PointingHandCursor);
  SettingButton->mouse.OnMouseDown =
      Handler([this](Qt::MouseButton b, int x, int y) { SettingButtonMouseDown(b, x, y); });
  SettingButton->mouse.OnMouseUp =
      Handler([this](Qt::MouseButton b, int x, int y) { SettingButtonMouseUp(b, x, y); });
  SettingButton->mouse.OnClick = Handler([this] { SettingButtonClick(); });

  // The pictures of the window design, as they stand before the first tick.
  Guard([this] {
    ShowBitmap(Image11, QStringLiteral("Grafics\\USBCON#.bmp"));
    ShowBitmap(SettingButton, QStringLiteral("Grafics\\SettingButton1.bmp"));
  });

  // ---- COM settings panel -----------------------------------------------
  QFont small = SettingPanel->font();
  small.setPixelSize(10);
  SettingPanel->setFont(small);

  Label2 = new TLabel(SettingPanel, QStringLiteral("Label2"),
                      QStringLiteral("Currently Selected COM Port:"));
  Label2->setGeometry(Label2Place);
  FitCaptionToWidth(Label2);
  Label3 = new TLabel(SettingPanel, QStringLiteral("Label3"), QStringLiteral("COM4"));
  Label3->setGeometry(Label3Place);
  Label3->SetFontColor(Qt::blue);
  Label1 = new TLabel(SettingPanel, QStringLiteral("Label1"), QStringLiteral("Available COM Ports:"));
  Label1->setGeometry(Label1Place);

  auto* chooser = new PortComboBox(SettingPanel, QStringLiteral("ComboBox1"));
  chooser->setGeometry(ComboBox1Place);
  chooser->OnDropDown = Handler([this] { UpdateComboBox1(); });
  chooser->OnEnter = Handler([this] { UpdateComboBox1(); });
  chooser->OnKeyDown = [this](int& key) { Guard([this, &key] { ComboBox1KeyDown(key); }); };
  // Only a choice the user makes counts; refilling the items does not.
  connect(chooser, &QComboBox::activated, this, Handler([this] { ComboBox1Change(); }));
  ComboBox1 = chooser;

  Button1 = MakeButton(SettingPanel, "Button1", QStringLiteral("Detect Hardware Revision"),
                       Button1Place);
  Button1->setEnabled(false);
  connect(Button1, &QPushButton::clicked, this, Handler([this] { Button1Click(); }));
  Edit2 = MakeEdit(SettingPanel, "Edit2", Edit2Place);
  Edit3 = MakeEdit(SettingPanel, "Edit3", Edit3Place);
  Edit4 = MakeEdit(SettingPanel, "Edit4", Edit4Place);
  Button4 = MakeButton(SettingPanel, "Button4", QStringLiteral("Close"), Button4Place);
  connect(Button4, &QPushButton::clicked, this, Handler([this] { Button4Click(); }));

  Bind(COMSettings1, &TForm1::COMSettings1Click);
  connect(Timer1, &QTimer::timeout, this, Handler([this] { Timer1Timer(); }));
  ConnectWatch();

  // The restore of the settings puts the stored port into Label3 while the
  // window is first shown; a port named on the command line is put there
  // right after, so it wins for this run.
  new AfterFirstShow(this, [this] {
    Guard([this] { ApplyCommandLinePort(); });
    CommandLinePortSettled = true;
  });
}

void TForm1::ApplyCommandLinePort() {
  if (CommandLinePortSettled || CommandLinePort.isEmpty()) return;
  Label3->setText(CommandLinePort);
}

void TForm1::COMSettings1Click() {
  SettingPanel->show();
  SettingPanel->raise();
  ShowBitmap(SettingButton, QStringLiteral("Grafics\\SettingButton2.bmp"));
}

void TForm1::SettingButtonClick() {
  SettingPanel->show();
  SettingPanel->raise();
}

void TForm1::SettingButtonMouseDown(Qt::MouseButton, int, int) {
  ShowBitmap(SettingButton, QStringLiteral("Grafics\\SettingButton2.bmp"));
}

void TForm1::SettingButtonMouseUp(Qt::MouseButton, int, int) {
  ShowBitmap(SettingButton, QStringLiteral("Grafics\\SettingButton1.bmp"));
}

void TForm1::Button4Click() { SettingPanel->hide(); }

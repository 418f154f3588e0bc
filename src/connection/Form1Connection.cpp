// The connection's widgets: the indicator and the settings key in the status
// strip; the COM settings panel (ComSettingsPanel) bound to the watch.
#include "app/TForm1.h"

#include "connection/ComSettingsPanel.h"
#include "connection/PortComboBox.h"

#include <QAction>
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
  comSettings_->OnChooserOpening = [this] { UpdateComboBox1(); };
  comSettings_->OnChooserKey = [this](int& key) { ComboBox1KeyDown(key); };
  comSettings_->OnPortPicked = [this] { ComboBox1Change(); };
  comSettings_->OnDetect = [this] { Button1Click(); };

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
  comSettings_->SetPortName(CommandLinePort);
}

void TForm1::COMSettings1Click() {
  comSettings_->ShowOnTop();
  ShowBitmap(SettingButton, QStringLiteral("Grafics\\SettingButton2.bmp"));
}

void TForm1::SettingButtonClick() {
  comSettings_->ShowOnTop();
}

void TForm1::SettingButtonMouseDown(Qt::MouseButton, int, int) {
  ShowBitmap(SettingButton, QStringLiteral("Grafics\\SettingButton2.bmp"));
}

void TForm1::SettingButtonMouseUp(Qt::MouseButton, int, int) {
  ShowBitmap(SettingButton, QStringLiteral("Grafics\\SettingButton1.bmp"));
}

void TForm1::Button4Click() { comSettings_->hide(); }

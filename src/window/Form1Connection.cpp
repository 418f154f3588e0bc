// The connection's widgets: the indicator and the settings key in the status
// strip; the COM settings panel (ComSettingsPanel) bound to the watch.
#include "window/TForm1.h"
#include "display/StatusStrip.h"

#include "connection/ComSettingsPanel.h"
#include "connection/PortComboBox.h"

#include <QAction>
#include <QTimer>

namespace {

}  // namespace

void TForm1::BuildConnection() {
  // ---- Status strip: the indicator and the settings key ----------------
  statusStrip_->OnSettingsKey = [this] { SettingButtonClick(); };
  statusStrip_->OnSettingsKeyDown = [this] { SettingButtonMouseDown(Qt::LeftButton, 0, 0); };
  statusStrip_->OnSettingsKeyUp = [this] { SettingButtonMouseUp(Qt::LeftButton, 0, 0); };

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
  statusStrip_->ShowSettingsKey(QStringLiteral("Grafics\\SettingButton2.bmp"));
}

void TForm1::SettingButtonClick() {
  comSettings_->ShowOnTop();
}

void TForm1::SettingButtonMouseDown(Qt::MouseButton, int, int) {
  statusStrip_->ShowSettingsKey(QStringLiteral("Grafics\\SettingButton2.bmp"));
}

void TForm1::SettingButtonMouseUp(Qt::MouseButton, int, int) {
  statusStrip_->ShowSettingsKey(QStringLiteral("Grafics\\SettingButton1.bmp"));
}

void TForm1::Button4Click() { comSettings_->hide(); }

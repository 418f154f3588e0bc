// The connection watch: once a second while acquisition is stopped, the link
// (core/ScopeLink) finds the chosen port, opens it and asks the instrument
// who it is; the window shows what it found. Every tick judges afresh; a
// missing port, a busy one, a silent or wrong instrument all end up as the
// disconnected indicator, never as a message.
#include "window/TForm1.h"
#include "display/StatusStrip.h"

#include "connection/ComSettingsPanel.h"
#include "connection/PortAccess.h"
#include "connection/PortList.h"

#include <QTimer>

void TForm1::ConnectWatch() {
  // Right before each tick the link is told the port chosen now.
  connect(&Link, &core::ScopeLink::watchTickDue, this, Handler([this] {
            ApplyCommandLinePort();
            // Device paths are longer than the panel has room for.
            comSettings_->ShowPortNameHint();
            // The permission advice is for the port chosen when it was given.
            if (PortAccessToldFor != comSettings_->PortName()) PortAccessToldFor.clear();
            Link.SetPortName(comSettings_->PortName());
          }));
  connect(&Link, &core::ScopeLink::portOpenTried, this,
          Handler([this](const QString& port, bool opened, int error) {
            if (opened)
              PortAccessToldFor.clear();
            else if (connection::IsPermissionError(error))
              TellPortAccess(port);
          }));
  connect(&Link, &core::ScopeLink::connectionChanged, this, Handler([this](bool connected) {
            if (connected)
              ShowConnected();
            else
              ShowDisconnected();
          }));
  connect(&Link, &core::ScopeLink::detectionStarted, this,
          Handler([this] { comSettings_->SetDetectCaption(QStringLiteral("Detecting")); }));
  connect(&Link, &core::ScopeLink::detectionEnded, this,
          Handler([this] { comSettings_->SetDetectCaption(QStringLiteral("Detect HW Rev.")); }));
  connect(&Link, &core::ScopeLink::identified, this, Handler([this](const core::DeviceIdentity& identity) {
            comSettings_->ShowIdentity(identity.revision, identity.version, identity.date);
            statusStrip_->ShowFirmwareVersion(comSettings_->VersionText());
          }));
}

void TForm1::TellPortAccess(const QString& port) {
  // Once per port: the watch tries again every second, and the user who has
  // read the advice needs a new login before it can change anything.
  if (PortAccessToldFor == port) return;
  PortAccessToldFor = port;
  const QString advice = connection::PortAccessAdvice(
      port, connection::ReadPortAccessFacts(connection::ResolvedDevicePath(port)));
  // Shown after this tick has finished, so the modal box does not stop the
  // tick half way; it does not come if the window has gone meanwhile.
  QTimer::singleShot(0, this, [this, advice] { Ui.ShowError(advice); });
}

void TForm1::ClosePort() { Link.ClosePort(); }

void TForm1::ShowConnected() {
  DeviceFound = 1;
  // Detection is offered while acquisition is stopped.
  comSettings_->SetDetectEnabled(Running == 0);
  statusStrip_->ShowConnection(QStringLiteral("Grafics\\USBCON.bmp"), true);
}

void TForm1::ShowDisconnected() {
  // The link has closed the port. The instrument's answer and the indicator
  // must agree even if a picture cannot be shown, so the state changes go
  // first.
  DeviceFound = 0;
  comSettings_->SetDetectEnabled(false);
  statusStrip_->ShowConnection(QStringLiteral("Grafics\\USBCON#.bmp"), false);
}

void TForm1::Timer1Timer() { Link.WatchTick(); }

void TForm1::Button1Click() { Link.DetectRevision(); }

void TForm1::ComboBox1Change() {
  const QString port = connection::PortNameFromItem(comSettings_->PickedItem());
  if (port.isEmpty()) return;
  // A choice in the panel outranks the name given on the command line.
  CommandLinePortSettled = true;
  comSettings_->SetPortName(port);
  // An exchange still waiting on the old port is over.
  Link.SetPortName(port);
  Link.ClosePort();
  Timer1Timer();
}

// The connection watch: once a second while acquisition is stopped, find the
// chosen port, open it, ask the instrument who it is, and show the answer.
// Every tick judges afresh; a missing port, a busy one, a silent or wrong
// instrument all end up as the disconnected indicator, never as a message.
#include "app/TForm1.h"

#include "connection/FirmwareIdentity.h"
#include "connection/PortAccess.h"
#include "connection/PortList.h"

#include <QTimer>

namespace {

// The line settings the instrument's port is opened with. "NONE" is not the
// exact text that turns parity off, so the line runs with even parity, as
// the instrument expects.
const std::string kBaud = "9600";
const std::string kParity = "NONE";
const std::string kDataBits = "8";

constexpr int kByteTimeoutMs = 100;
constexpr int kVersionByteTimeoutMs = 200;

}  // namespace

void TForm1::OpenCOM() {
  QStringList present;
  EnumerateComPorts(false, present);
  const QString chosen = Label3->text();
  // The permission advice is for the port chosen when it was given.
  if (PortAccessToldFor != chosen) PortAccessToldFor.clear();
  // A port left open under another name (the restore or a settings file
  // changed Label3 meanwhile) is not the chosen one, whatever it answers.
  if (SerialPort.IsOpen && QString::fromStdString(SerialPort.PortName) != chosen)
    SerialPort.Close();
  if (!present.contains(chosen, Qt::CaseSensitive)) {
    SerialPort.Close();
    return;
  }
  // A port that fails to open stays closed and the tick reports it so.
  if (SerialPort.IsOpen) return;
  if (SerialPort.Open(chosen.toStdString(), kBaud, kParity, kDataBits, false))
    PortAccessToldFor.clear();
  else if (connection::IsPermissionError(static_cast<int>(SerialPort.LastError)))
    TellPortAccess(chosen);
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

void TForm1::Timer1Timer() {
  ApplyCommandLinePort();
  // Device paths are longer than the panel has room for.
  Label3->setToolTip(Label3->text());
  OpenCOM();

  // The port, the instrument's answer and the indicator must agree even if
  // a picture cannot be shown, so the state changes go first.
  auto disconnected = [this] {
    DeviceFound = 0;
    SerialPort.Close();
    HWRevLabel->hide();
    Button1->setEnabled(false);
    ShowBitmap(Image11, QStringLiteral("Grafics\\USBCON#.bmp"));
  };

  // A port whose device has vanished (unplugged, simulator killed) is as
  // good as absent: closing it lets the next tick open it afresh.
  if (!SerialPort.IsOpen || SerialPort.DeviceGone()) {
    disconnected();
    return;
  }

  SerialPort.ReadBlock(0, 0);
  SerialPort.WriteByte(connection::IdentifyQuery, kByteTimeoutMs);
  const int answer = SerialPort.ReadByte(kByteTimeoutMs);
  if (answer == connection::IdentifyAnswerFirst && !SerialPort.DeviceGone()) {
    // Detection runs on every way into the connected state, so a replugged
    // instrument is read again.
    if (DeviceFound == 0) Button1Click();
    DeviceFound = 1;
    HWRevLabel->show();
    Button1->setEnabled(true);
    ShowBitmap(Image11, QStringLiteral("Grafics\\USBCON.bmp"));
  } else {
    disconnected();
  }
  SerialPort.ReadBlock(connection::IdentifyAnswerRest, kByteTimeoutMs);
}

void TForm1::Button1Click() {
  Button1->setText(QStringLiteral("Detecting"));
  SerialPort.ReadBlock(connection::IdentifyAnswerRest, kByteTimeoutMs);
  SerialPort.WriteByte(connection::IdentifyQuery, kByteTimeoutMs);
  SerialPort.ReadByte(kByteTimeoutMs);  // the leading "O"
  Edit2->setText(connection::RevisionText(SerialPort.ReadByte(kByteTimeoutMs)));
  Edit2->home(false);  // the start of a long text, not its end
  const int major = SerialPort.ReadByte(kVersionByteTimeoutMs);
  const int minor = SerialPort.ReadByte(kVersionByteTimeoutMs);
  const int patch = SerialPort.ReadByte(kVersionByteTimeoutMs);
  Edit3->setText(connection::VersionText(major, minor, patch));
  const int month = SerialPort.ReadByte(kByteTimeoutMs);
  const int year = SerialPort.ReadByte(kByteTimeoutMs);
  Edit4->setText(connection::FirmwareDateText(month, year));
  HWRevLabel->setText(Edit3->text());
  SerialPort.ReadBlock(connection::IdentifyAnswerRest, kByteTimeoutMs);
  Button1->setText(QStringLiteral("Detect HW Rev."));
}

void TForm1::ComboBox1Change() {
  const QString port = connection::PortNameFromItem(ComboBox1->currentText());
  if (port.isEmpty()) return;
  // A choice in the panel outranks the name given on the command line.
  CommandLinePortSettled = true;
  Label3->setText(port);
  SerialPort.Close();
  OpenCOM();
  Timer1Timer();
}

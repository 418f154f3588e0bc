// The connection watch: once a second while acquisition is stopped, find the
// chosen port, open it, ask the instrument who it is, and show the answer.
// Every tick judges afresh; a missing port, a busy one, a silent or wrong
// instrument all end up as the disconnected indicator, never as a message.
#include "app/TForm1.h"

#include "acquisition/CaptureWait.h"
#include "connection/FirmwareIdentity.h"
#include "connection/PortAccess.h"
#include "connection/PortList.h"

#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <array>
#include <optional>

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
  if (SerialPort.IsOpen && QString::fromStdString(SerialPort.PortName) != chosen) ClosePort();
  if (!present.contains(chosen, Qt::CaseSensitive)) {
    ClosePort();
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

void TForm1::ClosePort() {
  // The capture wait may still watch the descriptor that is about to close.
  if (ReplyWait != nullptr) ReplyWait->StopWatching();
  SerialPort.Close();
}

void TForm1::ShowDisconnected() {
  // The port, the instrument's answer and the indicator must agree even if
  // a picture cannot be shown, so the state changes go first.
  DeviceFound = 0;
  ClosePort();
  HWRevLabel->hide();
  Button1->setEnabled(false);
  ShowBitmap(Image11, QStringLiteral("Grafics\\USBCON#.bmp"));
}

std::optional<int> TForm1::ReadAnswerByte(int timeoutMs, std::uint64_t exchange) {
  // The answer is waited for the way the capture wait waits: asleep until
  // input or a window event, with the window's events dispatched, so a
  // silent or dribbling instrument never holds the window.
  const QPointer<TForm1> alive(this);
  if (!LinkClock.isValid()) LinkClock.start();
  const qint64 deadline = LinkClock.elapsed() + timeoutMs;
  const int handle = SerialPort.Handle;
  for (;;) {
    const qint64 left = deadline - LinkClock.elapsed();
    if (!SerialPort.IsOpen || DeviceVanished() || SerialPort.InQueueCount() > 0 || left <= 0) {
      ReplyWait->StopWatching();
      return SerialPort.ReadByte(0);
    }
    ReplyWait->WaitAndDispatch(handle, static_cast<int>(left));
    if (!alive) return std::nullopt;
    if (IdentifyExchange != exchange || SerialPort.Handle != handle) {
      ReplyWait->StopWatching();
      return std::nullopt;
    }
  }
}

bool TForm1::DiscardAnswerBytes(int count, int timeoutMs, std::uint64_t exchange) {
  const qint64 deadline = LinkClock.elapsed() + timeoutMs;
  for (int i = 0; i < count; ++i) {
    const qint64 left = deadline - LinkClock.elapsed();
    const std::optional<int> byte = ReadAnswerByte(static_cast<int>(std::max<qint64>(left, 0)), exchange);
    if (!byte) return false;
    if (*byte < 0 || *byte > 255) break;  // nothing came in time, or no port
  }
  return true;
}

void TForm1::Timer1Timer() {
  if (IdentifyBusy) return;
  ApplyCommandLinePort();
  // Device paths are longer than the panel has room for.
  Label3->setToolTip(Label3->text());
  OpenCOM();

  // A port whose device has vanished (unplugged, simulator killed) is as
  // good as absent: closing it lets the next tick open it afresh.
  if (!SerialPort.IsOpen || SerialPort.DeviceGone()) {
    ShowDisconnected();
    return;
  }
  // The tail of a reply cut short by a stop byte may still be arriving; a
  // query sent into it would read the tail as a wrong answer. This tick only
  // discards; the state shown stays until the line is quiet.
  if (!LineQuiet()) return;

  const QPointer<TForm1> alive(this);
  const std::uint64_t exchange = ++IdentifyExchange;
  IdentifyBusy = true;
  // However the exchange ends, a later tick may talk again; nothing is
  // touched if the window went meanwhile.
  struct Done {
    QPointer<TForm1> form;
    ~Done() {
      if (form) form->IdentifyBusy = false;
    }
  } done{alive};
  SerialPort.ReadBlock(0, 0);
  SerialPort.WriteByte(connection::IdentifyQuery, kByteTimeoutMs);
  // Until this exchange ends, what it leaves on the line is not to be taken
  // for the answer to anything else.
  LineState.Disturbed(LinkClock.elapsed());
  const std::optional<int> answer = ReadAnswerByte(kByteTimeoutMs, exchange);
  if (!answer) return;
  if (*answer == connection::IdentifyAnswerFirst && !SerialPort.DeviceGone()) {
    // Detection runs on every way into the connected state, so a replugged
    // instrument is read again.
    if (DeviceFound == 0 && !DetectRevision(exchange)) return;
    DeviceFound = 1;
    HWRevLabel->show();
    Button1->setEnabled(true);
    ShowBitmap(Image11, QStringLiteral("Grafics\\USBCON.bmp"));
  } else {
    ShowDisconnected();
  }
  if (!DiscardAnswerBytes(connection::IdentifyAnswerRest, kByteTimeoutMs, exchange)) return;
  if (alive && IdentifyExchange == exchange) LineState.Clear();
}

void TForm1::Button1Click() { DetectRevision(++IdentifyExchange); }

bool TForm1::DetectRevision(std::uint64_t exchange) {
  const QPointer<TForm1> alive(this);
  Button1->setText(QStringLiteral("Detecting"));
  // Given up part way (the window's events run while it waits): the key
  // reads as it did, and nothing more is touched.
  const auto givenUp = [&] {
    if (alive) Button1->setText(QStringLiteral("Detect HW Rev."));
    return false;
  };
  std::array<int, 7> bytes{};
  if (!DiscardAnswerBytes(connection::IdentifyAnswerRest, kByteTimeoutMs, exchange)) return givenUp();
  SerialPort.WriteByte(connection::IdentifyQuery, kByteTimeoutMs);
  if (!LinkClock.isValid()) LinkClock.start();
  LineState.Disturbed(LinkClock.elapsed());
  constexpr std::array<int, 7> timeouts = {kByteTimeoutMs,        kByteTimeoutMs,
                                           kVersionByteTimeoutMs, kVersionByteTimeoutMs,
                                           kVersionByteTimeoutMs, kByteTimeoutMs,
                                           kByteTimeoutMs};
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const std::optional<int> byte = ReadAnswerByte(timeouts[i], exchange);
    if (!byte) return givenUp();
    bytes[i] = *byte;
  }
  // bytes[0] is the leading "O".
  Edit2->setText(connection::RevisionText(bytes[1]));
  Edit2->home(false);  // the start of a long text, not its end
  Edit3->setText(connection::VersionText(bytes[2], bytes[3], bytes[4]));
  Edit4->setText(connection::FirmwareDateText(bytes[5], bytes[6]));
  HWRevLabel->setText(Edit3->text());
  if (!DiscardAnswerBytes(connection::IdentifyAnswerRest, kByteTimeoutMs, exchange)) return givenUp();
  Button1->setText(QStringLiteral("Detect HW Rev."));
  LineState.Clear();
  return true;
}

void TForm1::ComboBox1Change() {
  const QString port = connection::PortNameFromItem(ComboBox1->currentText());
  if (port.isEmpty()) return;
  // A choice in the panel outranks the name given on the command line.
  CommandLinePortSettled = true;
  Label3->setText(port);
  // An exchange still waiting on the old port is over.
  ++IdentifyExchange;
  IdentifyBusy = false;
  ClosePort();
  OpenCOM();
  Timer1Timer();
}

// Which ports are present, for the watch (plain names) and for the chooser
// (display texts).
#include "window/TForm1.h"

#include "connection/PortList.h"
#include "connection/SystemPorts.h"

#include "connection/ComSettingsPanel.h"

void TForm1::EnumerateComPorts(bool displayForm, QStringList& list) {
  list.clear();
  // The chosen port counts as present while its device node exists, even
  // when the system lists it nowhere: a pseudo-terminal, a udev link.
  const QString named = comSettings_->PortName();
  const bool namedPresent = connection::DeviceNodeExists(named);
  list = connection::ComposePortList(connection::ListSystemPorts(), named, namedPresent,
                                     namedPresent ? connection::ResolvedDevicePath(named) : QString(),
                                     displayForm);
}

void TForm1::UpdateComboBox1() {
  QStringList ports;
  EnumerateComPorts(true, ports);
  // The old selection goes with the old items; the list is as wide as its
  // widest item, since device paths are long.
  comSettings_->FillPortChoices(ports);
}

void TForm1::ComboBox1KeyDown(int& Key) {
  Key = 0;
  UpdateComboBox1();
}

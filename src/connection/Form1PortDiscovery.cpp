// Which ports are present, for the watch (plain names) and for the chooser
// (display texts).
#include "app/TForm1.h"

#include "connection/PortList.h"
#include "connection/SystemPorts.h"

#include <QAbstractItemView>

void TForm1::EnumerateComPorts(bool displayForm, QStringList& list) {
  list.clear();
  // The chosen port counts as present while its device node exists, even
  // when the system lists it nowhere: a pseudo-terminal, a udev link.
  const QString named = Label3->text();
  const bool namedPresent = connection::DeviceNodeExists(named);
  list = connection::ComposePortList(connection::ListSystemPorts(), named, namedPresent,
                                     namedPresent ? connection::ResolvedDevicePath(named) : QString(),
                                     displayForm);
}

void TForm1::UpdateComboBox1() {
  ComboBox1->clear();
  QStringList ports;
  EnumerateComPorts(true, ports);
  ComboBox1->addItems(ports);
  // The old selection went with the old items.
  ComboBox1->setCurrentIndex(-1);
  // Device paths are long; let the drop-down list be as wide as its widest item.
  ComboBox1->view()->setMinimumWidth(ComboBox1->view()->sizeHintForColumn(0) + 8);
}

void TForm1::ComboBox1KeyDown(int& Key) {
  Key = 0;
  UpdateComboBox1();
}

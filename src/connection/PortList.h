#pragma once
// The port list in its two forms, as plain data: the plain form holds the
// names TSerial::Open accepts (device paths, then "SIM1"); the display form
// holds "<description> (<name>)", and the port chooser takes the name back
// from between the parentheses. Knows nothing of widgets or of the serial
// layer; the system's own listing comes from SystemPorts.h.

#include <QString>
#include <QStringList>

#include <vector>

namespace connection {

// The built-in simulated instrument: always present, always listed last.
inline constexpr const char* SimulatorPortName = "SIM1";
inline constexpr const char* SimulatorDescription = "Built-in Simulator";
// Description of a port that is present only because it was named (a
// pseudo-terminal, a udev link) and that the system describes nowhere.
inline constexpr const char* NamedPortDescription = "Serial Device";

// One serial port as the system lists it.
struct SystemPort {
  QString name;         // device path, for example /dev/ttyUSB0
  QString description;  // what the system calls it; may be empty
  bool usb = false;     // a USB-serial bridge or a CDC device
};

// The text a port goes by in the chooser. Parentheses inside the
// description become brackets: the chooser reads the name from the FIRST
// "(", so a description such as "Dual UART (A)" must not carry one.
QString DisplayEntry(const QString& description, const QString& name);

// The port name a chooser item selects: the text between the first "(" and
// the first ")", empty when there is no "(" or that ")" is missing or comes
// before the "(".
QString PortNameFromItem(const QString& itemText);

// A USB port's description from its product and maker strings: the product,
// followed by the maker when the product does not already name it; the
// system's own description when neither is known.
QString UsbDescription(const QString& product, const QString& maker, const QString& fallback);

// The port list: USB ports first and then the others, each group in the
// order given; then the named port when its device node exists and nothing
// above carries that name; then the simulator. `namedPortResolved` is the
// named port's target when it is a link to a listed port, so it can borrow
// that port's description.
QStringList ComposePortList(const std::vector<SystemPort>& systemPorts, const QString& namedPort,
                            bool namedPortPresent, const QString& namedPortResolved,
                            bool displayForm);

// True when the name leads to a character device (following links), which
// is what a serial device, a pseudo-terminal and a udev link to either are.
bool DeviceNodeExists(const QString& name);

// Where the name leads once every link is followed; the name itself when it
// leads nowhere.
QString ResolvedDevicePath(const QString& name);

}  // namespace connection

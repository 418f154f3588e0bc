#pragma once
// The serial ports the system knows of right now, through libserialport's
// port list (on Linux a walk of sysfs: USB-serial bridges, CDC devices,
// on-board UARTs; never pseudo-terminals). This is the one entry point for
// the system's listing: another platform's method plugs in here.

#include "connection/PortList.h"

#include <vector>

namespace connection {

// Throws ScopeError, worded like the other enumeration failures, when the
// system will not give its list.
std::vector<SystemPort> ListSystemPorts();

// The failure text for a libserialport result code and the system error
// number it left behind.
QString EnumerationErrorText(int spResult, int systemError);

}  // namespace connection

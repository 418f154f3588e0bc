#pragma once
// What to tell a user whose port will not open for lack of permission. On
// Linux a serial device belongs to a group (dialout on Debian and Ubuntu,
// uucp elsewhere); a user gets access by joining it, and a group joined takes
// effect only in a session started after that, so a new login is needed.

#include <QString>

namespace connection {

// The facts about one device and the user who runs the program.
struct PortAccessFacts {
  QString devicePath;   // the device node the port name leads to
  QString deviceGroup;  // the group owning the node; empty when it cannot be told
  bool groupMayUse = false;       // the node's mode lets its group read and write
  bool userListedInGroup = false;  // the group database lists the user in it
};

// The advice in the message box: which group, the command that adds the
// user, and the new login; or, when the user is listed already, only the new
// login; or, when no group would help, that an administrator must give access.
QString PortAccessAdvice(const QString& portName, const PortAccessFacts& facts);

// Reads the facts for a device path from the file system and the group
// database for the user running the program.
PortAccessFacts ReadPortAccessFacts(const QString& devicePath);

// True for the open failures that mean "not allowed" rather than "not there"
// or "busy".
bool IsPermissionError(int error);

}  // namespace connection

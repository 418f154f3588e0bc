#include "connection/PortAccess.h"

#include <QFile>

#include <cerrno>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace connection {

QString PortAccessAdvice(const QString& portName, const PortAccessFacts& facts) {
  const QString path = facts.devicePath.isEmpty() ? portName : facts.devicePath;
  QString text = QStringLiteral("You may not open the port %1.").arg(portName);
  if (path != portName) text += QStringLiteral(" (%1)").arg(path);
  if (facts.deviceGroup.isEmpty() || facts.deviceGroup == QLatin1String("root") || !facts.groupMayUse)
    return text + QStringLiteral(
                      "\n\nIts device gives no group read and write access: ask the administrator "
                      "of this computer for access to %1.")
                      .arg(path);
  if (facts.userListedInGroup)
    return text + QStringLiteral(
                      "\n\nYou were added to the group \"%1\" after this session began. "
                      "Log out and log in again (or restart the computer), then start the "
                      "scope again.")
                      .arg(facts.deviceGroup);
  return text + QStringLiteral(
                    "\n\nThe device belongs to the group \"%1\". Add yourself to it once, in a "
                    "terminal:\n\n    sudo usermod -aG %1 $USER\n\nthen log out and log in again "
                    "(or restart the computer) so that the new group takes effect.")
                    .arg(facts.deviceGroup);
}

PortAccessFacts ReadPortAccessFacts(const QString& devicePath) {
  PortAccessFacts facts;
  facts.devicePath = devicePath;
  struct stat node {};
  if (::stat(QFile::encodeName(devicePath).constData(), &node) != 0) return facts;
  facts.groupMayUse = (node.st_mode & S_IRGRP) && (node.st_mode & S_IWGRP);

  std::vector<char> buffer(16384);
  group groupEntry{};
  group* found = nullptr;
  if (::getgrgid_r(node.st_gid, &groupEntry, buffer.data(), buffer.size(), &found) != 0 || !found)
    return facts;
  facts.deviceGroup = QString::fromLocal8Bit(found->gr_name);

  std::vector<char> userBuffer(16384);
  passwd userEntry{};
  passwd* user = nullptr;
  if (::getpwuid_r(::getuid(), &userEntry, userBuffer.data(), userBuffer.size(), &user) != 0 || !user)
    return facts;
  if (user->pw_gid == node.st_gid) facts.userListedInGroup = true;
  for (char** member = found->gr_mem; member && *member; ++member)
    if (std::strcmp(*member, user->pw_name) == 0) facts.userListedInGroup = true;
  return facts;
}

bool IsPermissionError(int error) { return error == EACCES || error == EPERM; }

}  // namespace connection

#include "connection/PortList.h"

#include <QFileInfo>

#include <sys/stat.h>

namespace connection {

QString DisplayEntry(const QString& description, const QString& name) {
  QString safe = description.trimmed();
  safe.replace(QLatin1Char('('), QLatin1Char('['));
  safe.replace(QLatin1Char(')'), QLatin1Char(']'));
  return safe + QStringLiteral(" (") + name + QLatin1Char(')');
}

QString PortNameFromItem(const QString& itemText) {
  const qsizetype open = itemText.indexOf(QLatin1Char('('));
  if (open < 0) return {};
  const qsizetype close = itemText.indexOf(QLatin1Char(')'));
  if (close < open) return {};
  return itemText.mid(open + 1, close - open - 1);
}

QString UsbDescription(const QString& product, const QString& maker, const QString& fallback) {
  const QString p = product.trimmed();
  const QString m = maker.trimmed();
  if (p.isEmpty()) return m.isEmpty() ? fallback : m;
  if (m.isEmpty() || p.contains(m, Qt::CaseInsensitive)) return p;
  return p + QStringLiteral(" - ") + m;
}

QStringList ComposePortList(const std::vector<SystemPort>& systemPorts, const QString& namedPort,
                            bool namedPortPresent, const QString& namedPortResolved,
                            bool displayForm) {
  QStringList list;
  QStringList names;
  auto add = [&](const QString& description, const QString& name) {
    names.push_back(name);
    list.push_back(displayForm ? DisplayEntry(description, name) : name);
  };
  auto describe = [](const SystemPort& port) {
    return port.description.isEmpty() ? QFileInfo(port.name).fileName() : port.description;
  };
  for (const bool usbGroup : {true, false})
    for (const SystemPort& port : systemPorts)
      if (port.usb == usbGroup) add(describe(port), port.name);

  const QString simulator = QString::fromLatin1(SimulatorPortName);
  if (namedPortPresent && !namedPort.isEmpty() && namedPort != simulator &&
      !names.contains(namedPort)) {
    QString description = QString::fromLatin1(NamedPortDescription);
    for (const SystemPort& port : systemPorts)
      if (port.name == namedPortResolved) description = describe(port);
    add(description, namedPort);
  }
  add(QString::fromLatin1(SimulatorDescription), simulator);
  return list;
}

bool DeviceNodeExists(const QString& name) {
  if (name.isEmpty()) return false;
  struct stat info {};
  return ::stat(QFile::encodeName(name).constData(), &info) == 0 && S_ISCHR(info.st_mode);
}

QString ResolvedDevicePath(const QString& name) {
  const QString target = QFileInfo(name).canonicalFilePath();
  return target.isEmpty() ? name : target;
}

}  // namespace connection

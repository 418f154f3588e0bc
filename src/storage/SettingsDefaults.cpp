#include "storage/SettingsDefaults.h"

#include "storage/SettingsRegistry.h"

namespace settings_defaults {
namespace {

QString Name(std::string_view name) { return QString::fromLatin1(name.data(), qsizetype(name.size())); }

constexpr const char* SimulatorPort = "SIM1";

}  // namespace

void WriteDefault(SettingsRegistry& store, const StoredDefault& value) {
  const QString name = Name(value.name);
  switch (value.kind) {
    case ValueKind::Integer: store.WriteInteger(name, value.number); break;
    case ValueKind::Text: store.WriteString(name, Name(value.text)); break;
    case ValueKind::Boolean: store.WriteBool(name, value.number != 0); break;
  }
}

void WriteLoadDefaults(SettingsRegistry& store) {
  for (const StoredDefault& value : LoadDefaults) WriteDefault(store, value);
}

bool NeedsFirstStartFill(SettingsRegistry& store) {
  const QString pending = Name(FillPendingValue);
  if (store.ValueExists(pending)) return store.ReadInteger(pending) != 0;
  for (std::string_view name : RestoreReads)
    if (store.ValueExists(Name(name))) return false;
  return true;
}

void FillFirstStart(SettingsRegistry& store, const QString& comPort) {
  // Each write is whole on disk when it returns, but the fill is many
  // writes: the pending mark brackets them so that a fill cut short by a
  // kill is taken up again at the next start.
  const QString pending = Name(FillPendingValue);
  store.WriteInteger(pending, 1);
  auto fill = [&store](const StoredDefault& value) {
    if (!store.ValueExists(Name(value.name))) WriteDefault(store, value);
  };
  for (const StoredDefault& value : LoadDefaults) fill(value);
  for (const StoredDefault& value : FirstStartExtras) fill(value);
  if (!store.ValueExists(Name(ComPortValue))) store.WriteString(Name(ComPortValue), comPort);
  store.WriteInteger(pending, 0);
}

QString FirstStartComPort(const QStringList& usbPorts) {
  for (const QString& port : usbPorts)
    if (!port.isEmpty() && port != QLatin1String(SimulatorPort)) return port;
  return QString::fromLatin1(SimulatorPort);
}

}  // namespace settings_defaults

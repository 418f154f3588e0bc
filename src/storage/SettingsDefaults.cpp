#include "storage/SettingsDefaults.h"

#include <algorithm>

namespace settings_defaults {
namespace {

QString Latin1(std::string_view text) { return QString::fromLatin1(text.data(), qsizetype(text.size())); }

constexpr const char* SimulatorPort = "SIM1";

// Every default of a value only the close or the first fill writes, and of
// those Load Default Settings writes.
template <typename Visit>
void ForEachDefault(Visit visit) {
  for (const StoredDefault& value : LoadDefaults) visit(value);
  for (const StoredDefault& value : FirstStartExtras) visit(value);
}

}  // namespace

std::optional<StoredDefault> DefaultOf(Id id) {
  std::optional<StoredDefault> found;
  ForEachDefault([&](const StoredDefault& value) {
    if (value.id == id) found = value;
  });
  return found;
}

SettingsStore::NamedValue AsWrite(const StoredDefault& value) {
  const QString name = stored::Name(value.id);
  switch (value.Kind()) {
    case stored::Kind::Text: return {name, Latin1(value.text)};
    case stored::Kind::Boolean: return {name, std::int32_t{value.number != 0 ? 1 : 0}};
    case stored::Kind::Integer: break;
  }
  return {name, value.number};
}

void WriteLoadDefaults(SettingsStore& store) {
  std::vector<SettingsStore::NamedValue> writes;
  for (const StoredDefault& value : LoadDefaults) writes.push_back(AsWrite(value));
  store.WriteValues(writes);
}

bool NeedsFirstStartFill(SettingsStore& store) {
  const QString pending = stored::Name(FillPendingValue);
  if (store.ValueExists(pending)) return store.ReadInteger(pending) != 0;
  for (Id id : RestoreReads)
    if (store.ValueExists(stored::Name(id))) return false;
  return true;
}

void FillFirstStart(SettingsStore& store, const QString& comPort) {
  std::vector<SettingsStore::NamedValue> writes;
  ForEachDefault([&](const StoredDefault& value) {
    if (!store.ValueExists(stored::Name(value.id))) writes.push_back(AsWrite(value));
  });
  const QString port = stored::Name(Id::COMPORT);
  if (!store.ValueExists(port)) writes.push_back({port, comPort});
  writes.push_back({stored::Name(FillPendingValue), std::int32_t{0}});
  store.WriteValues(writes);
}

std::vector<SettingsStore::NamedValue> Repairs(SettingsStore& store) {
  std::vector<SettingsStore::NamedValue> writes;
  ForEachDefault([&](const StoredDefault& value) {
    if (value.Kind() != stored::Kind::Integer || std::find(RestoreReads.begin(), RestoreReads.end(), value.id) == RestoreReads.end()) return;
    try {
      store.ReadInteger(stored::Name(value.id));
    } catch (const StoredValueError&) {
      writes.push_back(AsWrite(value));
    }
  });
  return writes;
}

QString FirstStartComPort(const QStringList& usbPorts) {
  for (const QString& port : usbPorts)
    if (!port.isEmpty() && port != QLatin1String(SimulatorPort)) return port;
  return QString::fromLatin1(SimulatorPort);
}

}  // namespace settings_defaults

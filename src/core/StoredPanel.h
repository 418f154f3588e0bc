#pragma once
// The front panel as the settings store or a settings file keeps it: knob
// angles, marker positions and flags, read into PanelSettings by the same
// tables the window's restore reads them with (the knob rows, the trigger
// sources). A value that is not there takes its "Load Default Settings"
// value.

#include "core/PanelSettings.h"
#include "storage/StoredValues.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class SettingsStore;

namespace core {

// A stored integer by its id, or nothing when it is not stored.
using StoredLookup = std::function<std::optional<std::int32_t>(stored::Id)>;

// The panel the window restores from these values.
PanelSettings PanelFromStored(const StoredLookup& lookup);

// From the user's settings store; missing values take their defaults.
PanelSettings PanelFromStore(SettingsStore& store);

// From a file of the "Save Settings To File" format, checked whole with
// its messages (ScopeError); the calibration, which such a file does not
// hold, comes from the store.
PanelSettings PanelFromSettingsFile(const QString& path, SettingsStore& store);

}  // namespace core

#pragma once
// The values "Load Default Settings" writes, the values the panel restore
// reads and the close writes, and how the store of a new machine is first
// filled so that the program's very first start restores a usable panel
// instead of greeting the user with "Failed to get data for 'CH1VertPos'".
// Names come from the table in StoredValues.h.

#include "storage/SettingsStore.h"
#include "storage/StoredValues.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <cstdint>
#include <string_view>
#include <vector>

namespace settings_defaults {

using stored::Id;

struct StoredDefault {
  Id id;
  std::int32_t number = 0;  // Integer and Boolean
  std::string_view text{};  // Text
  constexpr std::string_view Name() const { return stored::NameOf(id); }
  constexpr stored::Kind Kind() const { return stored::Of(id).kind; }
};

// "Load Default Settings", in the order it writes them: 100 us/div, both
// volts/div knobs at 5 V/div, CH1 on with the knob, CH2 off, trigger on CH1
// rising at 32 counts in auto mode, continuous acquisition, measurements
// shown, full grid, calibration cleared. TrigPos, COMPORT, FormTop and
// FormLeft are not among them: they keep what is stored.
inline constexpr std::array<StoredDefault, 27> LoadDefaults{{
    {Id::Angle, 138},
    {Id::Auto, 1},
    {Id::AutoMeasONOFF, 1},
    {Id::CalCH1H, 0},
    {Id::CalCH1L, 0},
    {Id::CalCH2H, 0},
    {Id::CalCH2L, 0},
    {Id::CH1Focus, 1},
    {Id::CH1KnobAngle, 0},
    {Id::CH1On, 1},
    {Id::CH1Trig, 97},
    {Id::CH1TriggerArrowVis, 1},
    {Id::CH1TriggerV, 32},
    {Id::CH1VertPos, 122},
    {Id::CH2KnobAngle, 0},
    {Id::CH2On, 0},
    {Id::CH2Trig, 286},
    {Id::CH2TriggerArrowVis, 0},
    {Id::CH2TriggerV, 0},
    {Id::CH2VertPos, 287},
    {Id::ConSample, 1},
    {Id::DISPLAYBACKGROUND, 0, "Grafics\\Grid2.bmp"},
    {Id::DISPLAYBUTTON, 1},
    {Id::Image7EN, 1},
    {Id::RisingTrigger, 1},
    {Id::ScreenSave, 1},
    {Id::TriggerCH, 1},
}};

// The values only the close writes, as a new machine gets them: the trigger
// in the middle of the record and the window where it is designed to open.
// The port (COMPORT) is chosen from the ports present, see FirstStartComPort.
inline constexpr std::array<StoredDefault, 3> FirstStartExtras{{
    {Id::TrigPos, 251},
    {Id::FormTop, 100},
    {Id::FormLeft, 261},
}};

// Every value the restore reads, in the order it first reads them; all are
// integers but COMPORT, a text. A store that holds none of them belongs to a
// new user.
inline constexpr std::array<Id, 28> RestoreReads{{
    Id::CH1VertPos, Id::CH2VertPos, Id::TrigPos, Id::CH1Trig, Id::CH2Trig, Id::TriggerCH,
    Id::CH1TriggerV, Id::CH2TriggerV, Id::CalCH1L, Id::CalCH2L, Id::CalCH1H, Id::CalCH2H,
    Id::CH1TriggerArrowVis, Id::CH2TriggerArrowVis, Id::Angle, Id::CH1Focus, Id::CH2KnobAngle,
    Id::CH1KnobAngle, Id::Image7EN, Id::CH1On, Id::CH2On, Id::COMPORT, Id::AutoMeasONOFF,
    Id::FormTop, Id::FormLeft, Id::RisingTrigger, Id::ConSample, Id::Auto,
}};

// What the close writes, in its order.
inline constexpr std::array<Id, 23> CloseWrites{{
    Id::COMPORT, Id::TrigPos, Id::CH1VertPos, Id::CH2VertPos, Id::Angle, Id::CH1Trig,
    Id::CH2Trig, Id::TriggerCH, Id::CH1TriggerV, Id::CH2TriggerV, Id::CH1TriggerArrowVis,
    Id::CH2TriggerArrowVis, Id::CH1On, Id::CH2On, Id::CH1KnobAngle, Id::CH2KnobAngle,
    Id::Image7EN, Id::CH1Focus, Id::FormTop, Id::FormLeft, Id::RisingTrigger, Id::ConSample,
    Id::Auto,
}};

// Set to 1 before a fill writes anything and to 0 once every value is in.
// The fill is one atomic write now, but a store left at 1 by a fill cut short
// is still finished at the next start instead of stopping at the first
// missing value.
inline constexpr Id FillPendingValue = Id::FirstStartFillPending;

// The default of a value Load Default Settings or a new user's fill writes;
// empty for the others (COMPORT, whose default is FirstStartComPort's).
std::optional<StoredDefault> DefaultOf(Id id);

// One default as a write into the store.
SettingsStore::NamedValue AsWrite(const StoredDefault& value);

// Writes LoadDefaults in their order, in one write.
void WriteLoadDefaults(SettingsStore& store);

// True when the store holds none of the values the restore reads, or an
// earlier fill was cut short. A store that has some values but has lost
// others is not a new one: its restore stops at the first missing value, so
// the damage is seen.
bool NeedsFirstStartFill(SettingsStore& store);

// Fills the store of a new user: LoadDefaults, FirstStartExtras and COMPORT.
// A value already stored (a graticule chosen, or a fill that was cut short)
// is kept; only missing values are written, all in one write.
void FillFirstStart(SettingsStore& store, const QString& comPort);

// The defaults of the integers the restore reads that are missing from the
// store or stored as text: what puts a store whose restore stopped on a
// damaged value right again. Values stored as integers are never among them.
std::vector<SettingsStore::NamedValue> Repairs(SettingsStore& store);

// The port a new user starts on: the first USB serial port present, or the
// built-in simulated instrument "SIM1" when there is none, so that a new
// user without the instrument still sees a trace after RUN.
QString FirstStartComPort(const QStringList& usbPorts);

}  // namespace settings_defaults

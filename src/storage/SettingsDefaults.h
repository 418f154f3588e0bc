#pragma once
// The values "Load Default Settings" writes, the values the panel restore
// reads, and how the store of a new machine is first filled so that the
// program's very first start restores a usable panel instead of greeting the
// user with "Failed to get data for 'CH1VertPos'".

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <string_view>

class SettingsRegistry;

namespace settings_defaults {

enum class ValueKind { Integer, Text, Boolean };

struct StoredDefault {
  std::string_view name;
  ValueKind kind;
  std::int32_t number = 0;  // Integer and Boolean
  std::string_view text{};  // Text
};

// "Load Default Settings", in the order it writes them: 100 us/div, both
// volts/div knobs at 5 V/div, CH1 on with the knob, CH2 off, trigger on CH1
// rising at 32 counts in auto mode, continuous acquisition, measurements
// shown, full grid, calibration cleared. TrigPos, COMPORT, FormTop and
// FormLeft are not among them: they keep what is stored.
inline constexpr std::array<StoredDefault, 27> LoadDefaults{{
    {"Angle", ValueKind::Integer, 138},
    {"Auto", ValueKind::Integer, 1},
    {"AutoMeasONOFF", ValueKind::Integer, 1},
    {"CalCH1H", ValueKind::Integer, 0},
    {"CalCH1L", ValueKind::Integer, 0},
    {"CalCH2H", ValueKind::Integer, 0},
    {"CalCH2L", ValueKind::Integer, 0},
    {"CH1Focus", ValueKind::Integer, 1},
    {"CH1KnobAngle", ValueKind::Integer, 0},
    {"CH1On", ValueKind::Integer, 1},
    {"CH1Trig", ValueKind::Integer, 97},
    {"CH1TriggerArrowVis", ValueKind::Integer, 1},
    {"CH1TriggerV", ValueKind::Integer, 32},
    {"CH1VertPos", ValueKind::Integer, 122},
    {"CH2KnobAngle", ValueKind::Integer, 0},
    {"CH2On", ValueKind::Integer, 0},
    {"CH2Trig", ValueKind::Integer, 286},
    {"CH2TriggerArrowVis", ValueKind::Integer, 0},
    {"CH2TriggerV", ValueKind::Integer, 0},
    {"CH2VertPos", ValueKind::Integer, 287},
    {"ConSample", ValueKind::Integer, 1},
    {"DISPLAYBACKGROUND", ValueKind::Text, 0, "Grafics\\Grid2.bmp"},
    {"DISPLAYBUTTON", ValueKind::Integer, 1},
    {"Image7EN", ValueKind::Integer, 1},
    {"RisingTrigger", ValueKind::Integer, 1},
    {"ScreenSave", ValueKind::Boolean, 1},
    {"TriggerCH", ValueKind::Integer, 1},
}};

// The values only the close writes, as a new machine gets them: the trigger
// in the middle of the record and the window where it is designed to open.
// The port (COMPORT) is chosen from the ports present, see FirstStartComPort.
inline constexpr std::array<StoredDefault, 3> FirstStartExtras{{
    {"TrigPos", ValueKind::Integer, 251},
    {"FormTop", ValueKind::Integer, 100},
    {"FormLeft", ValueKind::Integer, 261},
}};

inline constexpr std::string_view ComPortValue = "COMPORT";

// Every value the restore reads, in the order it first reads them; all are
// integers but COMPORT, a text. A store that holds none of them belongs to a
// new user.
inline constexpr std::array<std::string_view, 28> RestoreReads{{
    "CH1VertPos", "CH2VertPos", "TrigPos", "CH1Trig", "CH2Trig", "TriggerCH",
    "CH1TriggerV", "CH2TriggerV", "CalCH1L", "CalCH2L", "CalCH1H", "CalCH2H",
    "CH1TriggerArrowVis", "CH2TriggerArrowVis", "Angle", "CH1Focus", "CH2KnobAngle",
    "CH1KnobAngle", "Image7EN", "CH1On", "CH2On", "COMPORT", "AutoMeasONOFF",
    "FormTop", "FormLeft", "RisingTrigger", "ConSample", "Auto",
}};

// Set to 1 before the first fill writes anything and to 0 once every value is
// in: a program killed half-way through the fill leaves it at 1, and the next
// start completes the fill instead of stopping at the first missing value.
inline constexpr std::string_view FillPendingValue = "FirstStartFillPending";

// Writes one default value with its kind.
void WriteDefault(SettingsRegistry& store, const StoredDefault& value);

// Writes LoadDefaults in their order.
void WriteLoadDefaults(SettingsRegistry& store);

// True when the store holds none of the values the restore reads, or an
// earlier fill was cut short. A store that has some values but has lost
// others is not a new one: its restore stops at the first missing value, so
// the damage is seen.
bool NeedsFirstStartFill(SettingsRegistry& store);

// Fills the store of a new user: LoadDefaults, FirstStartExtras and COMPORT.
// A value already stored (a graticule chosen, or a fill that was cut short)
// is kept; only missing values are written.
void FillFirstStart(SettingsRegistry& store, const QString& comPort);

// The port a new user starts on: the first USB serial port present, or the
// built-in simulated instrument "SIM1" when there is none, so that a new
// user without the instrument still sees a trace after RUN.
QString FirstStartComPort(const QStringList& usbPorts);

}  // namespace settings_defaults

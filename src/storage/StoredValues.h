#pragma once
// The names of the values in the settings store, typed once: the defaults,
// the first fill, the restore, the close and every other writer take a name
// from this table by its id, so a misspelt name cannot compile.
//
// Each integer also carries the range the front panel can show. The restore
// holds a stored value to it, so a value damaged on disk cannot put a marker
// off the panel or overflow the arithmetic that places it; values the panel
// itself writes always lie inside.

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

namespace stored {

enum class Id {
  CH1VertPos,
  CH2VertPos,
  TrigPos,
  CH1Trig,
  CH2Trig,
  TriggerCH,
  CH1TriggerV,
  CH2TriggerV,
  CH1TriggerArrowVis,
  CH2TriggerArrowVis,
  CalCH1L,
  CalCH2L,
  CalCH1H,
  CalCH2H,
  Angle,
  CH1Focus,
  CH1KnobAngle,
  CH2KnobAngle,
  Image7EN,
  CH1On,
  CH2On,
  COMPORT,
  AutoMeasONOFF,
  FormTop,
  FormLeft,
  RisingTrigger,
  ConSample,
  Auto,
  DISPLAYBACKGROUND,
  DISPLAYBUTTON,
  ScreenSave,
  FirstStartFillPending,
};

enum class Kind { Integer, Text, Boolean };

inline constexpr std::int32_t Lowest = std::numeric_limits<std::int32_t>::min();
inline constexpr std::int32_t Highest = std::numeric_limits<std::int32_t>::max();

// The panel's ranges. Rows and columns are the Tops and Lefts of the widgets
// that the values describe; the bounds are checked against the controls'
// own tables where the restore is built.
inline constexpr std::int32_t TopRow = 1;        // a 0 V marker's Top
inline constexpr std::int32_t BottomRow = 400;
inline constexpr std::int32_t LeftmostTrigger = 1;  // the trigger position marker's Left
inline constexpr std::int32_t RightmostTrigger = 501;
// A level reaches as far as an arrow on the strip stands for at the coarsest
// volts/div row (39 pixels per 100 counts): 400 rows x 100 / 39.
inline constexpr std::int32_t LevelLimit = 1025;
// An arrow follows its level off the strip, at most this far at the finest
// row (624 pixels per 100 counts), one pixel beside its 0 V row.
inline constexpr std::int32_t ArrowReach = LevelLimit * 624 / 100 + 1;
// A calibration offset is a mean sample of 0..255 less 127.
inline constexpr std::int32_t LowestOffset = -127;
inline constexpr std::int32_t HighestOffset = 128;
// The knobs read whole degrees 0..359.
inline constexpr std::int32_t LastDegree = 359;
// Window coordinates of the desktop (16-bit on X11); the placement then
// brings the window onto a screen.
inline constexpr std::int32_t LowestWindowCoordinate = -32768;
inline constexpr std::int32_t HighestWindowCoordinate = 32767;

struct Value {
  Id id;
  std::string_view name;
  Kind kind;
  std::int32_t low = Lowest;  // Integer: the range the restore holds it to
  std::int32_t high = Highest;
};

inline constexpr std::array<Value, std::size_t(Id::FirstStartFillPending) + 1> Table{{
    {Id::CH1VertPos, "CH1VertPos", Kind::Integer, TopRow, BottomRow},
    {Id::CH2VertPos, "CH2VertPos", Kind::Integer, TopRow, BottomRow},
    {Id::TrigPos, "TrigPos", Kind::Integer, LeftmostTrigger, RightmostTrigger},
    {Id::CH1Trig, "CH1Trig", Kind::Integer, TopRow - ArrowReach, BottomRow + ArrowReach},
    {Id::CH2Trig, "CH2Trig", Kind::Integer, TopRow - ArrowReach, BottomRow + ArrowReach},
    {Id::TriggerCH, "TriggerCH", Kind::Integer},  // an unknown source changes nothing
    {Id::CH1TriggerV, "CH1TriggerV", Kind::Integer, -LevelLimit, LevelLimit},
    {Id::CH2TriggerV, "CH2TriggerV", Kind::Integer, -LevelLimit, LevelLimit},
    {Id::CH1TriggerArrowVis, "CH1TriggerArrowVis", Kind::Integer},
    {Id::CH2TriggerArrowVis, "CH2TriggerArrowVis", Kind::Integer},
    {Id::CalCH1L, "CalCH1L", Kind::Integer, LowestOffset, HighestOffset},
    {Id::CalCH2L, "CalCH2L", Kind::Integer, LowestOffset, HighestOffset},
    {Id::CalCH1H, "CalCH1H", Kind::Integer, LowestOffset, HighestOffset},
    {Id::CalCH2H, "CalCH2H", Kind::Integer, LowestOffset, HighestOffset},
    {Id::Angle, "Angle", Kind::Integer, 0, LastDegree},
    {Id::CH1Focus, "CH1Focus", Kind::Integer},
    {Id::CH1KnobAngle, "CH1KnobAngle", Kind::Integer, 0, LastDegree},
    {Id::CH2KnobAngle, "CH2KnobAngle", Kind::Integer, 0, LastDegree},
    {Id::Image7EN, "Image7EN", Kind::Integer},
    {Id::CH1On, "CH1On", Kind::Integer},
    {Id::CH2On, "CH2On", Kind::Integer},
    {Id::COMPORT, "COMPORT", Kind::Text},
    {Id::AutoMeasONOFF, "AutoMeasONOFF", Kind::Integer},
    {Id::FormTop, "FormTop", Kind::Integer, LowestWindowCoordinate, HighestWindowCoordinate},
    {Id::FormLeft, "FormLeft", Kind::Integer, LowestWindowCoordinate, HighestWindowCoordinate},
    {Id::RisingTrigger, "RisingTrigger", Kind::Integer},
    {Id::ConSample, "ConSample", Kind::Integer},
    {Id::Auto, "Auto", Kind::Integer},
    {Id::DISPLAYBACKGROUND, "DISPLAYBACKGROUND", Kind::Text},
    {Id::DISPLAYBUTTON, "DISPLAYBUTTON", Kind::Integer},
    {Id::ScreenSave, "ScreenSave", Kind::Boolean},
    // 1 while a new user's store is being filled (see SettingsDefaults.h).
    {Id::FirstStartFillPending, "FirstStartFillPending", Kind::Integer},
}};

constexpr const Value& Of(Id id) { return Table[std::size_t(id)]; }
constexpr std::string_view NameOf(Id id) { return Of(id).name; }
inline QString Name(Id id) {
  const std::string_view name = NameOf(id);
  return QString::fromLatin1(name.data(), qsizetype(name.size()));
}

// The stored integer held to the value's range.
constexpr std::int32_t HeldToRange(Id id, std::int32_t number) {
  const Value& value = Of(id);
  return number < value.low ? value.low : number > value.high ? value.high : number;
}

constexpr bool TableIsInIdOrder() {
  for (std::size_t i = 0; i < Table.size(); ++i)
    if (std::size_t(Table[i].id) != i || Table[i].low > Table[i].high) return false;
  return true;
}
static_assert(TableIsInIdOrder());

}  // namespace stored

// A settings file, for any bytes a damaged or hostile file may hold, read as
// "Load Settings From File" reads it: the file is refused with a message, or
// it gives the store writes in their order and a trigger position, each a
// value the panel can show; and the panel those values describe, saved as a
// file, loads back to the same values (flags as the panel reads them: only 1
// is on).
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "app/Errors.h"
#include "storage/SettingsFile.h"
#include "storage/TextLines.h"

namespace {

using settings_file::PanelState;
using stored::Id;

// Where each stored value lives in a panel: a number or a flag.
struct PanelField {
  Id id;
  std::int32_t PanelState::*number;
  bool PanelState::*flag;
};
constexpr PanelField Fields[] = {
    {Id::Angle, &PanelState::timeKnobAngle, nullptr},
    {Id::Auto, nullptr, &PanelState::autoTrigger},
    {Id::CH1Focus, nullptr, &PanelState::ch1Focus},
    {Id::CH1KnobAngle, &PanelState::ch1KnobAngle, nullptr},
    {Id::CH1On, nullptr, &PanelState::ch1On},
    {Id::CH1TriggerArrowVis, nullptr, &PanelState::ch1ArrowShown},
    {Id::CH1Trig, &PanelState::ch1Trig, nullptr},
    {Id::CH1TriggerV, &PanelState::ch1TriggerV, nullptr},
    {Id::CH1VertPos, &PanelState::ch1VertPos, nullptr},
    {Id::CH2KnobAngle, &PanelState::ch2KnobAngle, nullptr},
    {Id::CH2On, nullptr, &PanelState::ch2On},
    {Id::CH2Trig, &PanelState::ch2Trig, nullptr},
    {Id::CH2TriggerArrowVis, nullptr, &PanelState::ch2ArrowShown},
    {Id::CH2TriggerV, &PanelState::ch2TriggerV, nullptr},
    {Id::CH2VertPos, &PanelState::ch2VertPos, nullptr},
    {Id::ConSample, nullptr, &PanelState::continuous},
    {Id::Image7EN, nullptr, &PanelState::knobEnabled},
    {Id::RisingTrigger, nullptr, &PanelState::rising},
    {Id::TriggerCH, &PanelState::triggerCH, nullptr},
    {Id::FormTop, &PanelState::formTop, nullptr},
    {Id::FormLeft, &PanelState::formLeft, nullptr},
};
static_assert(std::size(Fields) == settings_file::LoadOrder.size());

bool Shown(Id id, std::int32_t value) {
  if (id == Id::TriggerCH) return value == 1 || value == 2 || value == 10;
  return stored::HeldToRange(id, value) == value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QStringList lines = text_lines::SplitLines(text_lines::DecodeText(bytes));
  settings_file::Loaded loaded;
  try {
    loaded = settings_file::Parse(lines);
  } catch (const ScopeError& error) {
    Require(!error.Message().isEmpty(), "a refused file is refused with a message");
    return 0;
  }
  Require(lines.size() >= settings_file::LineCount, "only a file with every line loads");
  Require(lines.front() != QLatin1String(settings_file::ReferenceHeader), "a reference file never loads");
  Require(loaded.writes.size() == settings_file::LoadOrder.size(), "every value is written");
  Require(Shown(Id::TrigPos, loaded.trigPos), "the trigger position lies on its strip");

  PanelState panel;
  for (std::size_t i = 0; i < loaded.writes.size(); ++i) {
    const auto [id, value] = loaded.writes[i];
    Require(id == settings_file::LoadOrder[i].first && id == Fields[i].id, "the values come in the load order");
    Require(Shown(id, value), "every value is one the panel can show");
    if (Fields[i].number)
      panel.*Fields[i].number = value;
    else
      panel.*Fields[i].flag = value == 1;
  }
  panel.trigPos = loaded.trigPos;

  const settings_file::Loaded again = settings_file::Parse(settings_file::Lines(panel));
  Require(again.trigPos == loaded.trigPos, "the trigger position survives a save and a load");
  for (std::size_t i = 0; i < loaded.writes.size(); ++i) {
    const std::int32_t value = loaded.writes[i].second;
    const std::int32_t expected = Fields[i].number ? value : (value == 1 ? 1 : 0);
    Require(again.writes[i].second == expected, "the panel's values survive a save and a load");
  }
  return 0;
}

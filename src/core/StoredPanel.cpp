#include "core/StoredPanel.h"

#include "app/Errors.h"
#include "controls/TimeKnob.h"
#include "controls/VoltsKnob.h"
#include "storage/SettingsDefaults.h"
#include "storage/SettingsFile.h"
#include "storage/SettingsStore.h"
#include "storage/TextLines.h"

#include <algorithm>
#include <map>

namespace core {

namespace {

std::int32_t DefaultOf(stored::Id id) {
  for (const auto& d : settings_defaults::LoadDefaults)
    if (d.id == id) return d.number;
  for (const auto& d : settings_defaults::FirstStartExtras)
    if (d.id == id) return d.number;
  return 0;
}

int VoltsRowForAngle(std::int32_t angle) {
  const volts_knob::VoltsRow& row = volts_knob::RowForAngle(angle);
  return static_cast<int>(&row - std::begin(volts_knob::VoltsRows));
}

// A stored value outside what the panel can show is held to it, as the
// restore holds it.
std::int32_t Held(stored::Id id, std::int32_t value) {
  const stored::Value& v = stored::Of(id);
  return std::clamp(value, v.low, v.high);
}

}  // namespace

PanelSettings PanelFromStored(const StoredLookup& lookup) {
  const auto get = [&](stored::Id id) { return Held(id, lookup(id).value_or(DefaultOf(id))); };
  using stored::Id;
  PanelSettings p;
  const Id on[2] = {Id::CH1On, Id::CH2On};
  const Id knob[2] = {Id::CH1KnobAngle, Id::CH2KnobAngle};
  const Id zero[2] = {Id::CH1VertPos, Id::CH2VertPos};
  const Id level[2] = {Id::CH1TriggerV, Id::CH2TriggerV};
  const Id calLow[2] = {Id::CalCH1L, Id::CalCH2L};
  const Id calHigh[2] = {Id::CalCH1H, Id::CalCH2H};
  for (int n = 1; n <= 2; ++n) {
    const std::size_t i = static_cast<std::size_t>(n - 1);
    p.SetChannelOn(n, get(on[i]) == 1);
    p.SetVoltsRow(n, VoltsRowForAngle(get(knob[i])));
    p.SetZeroRow(n, get(zero[i]));
    p.SetTriggerLevel(n, get(level[i]));
    p.SetCalibration(n, get(calLow[i]), get(calHigh[i]));
  }
  p.SetTimeBase(time_knob::RowForAngle(get(Id::Angle)).index);
  // An unknown source changes nothing: the panel's own, CH1.
  switch (get(Id::TriggerCH)) {
    case capture_protocol::TriggerSourceCH2: p.SetTriggerSource(TriggerSource::CH2); break;
    case capture_protocol::TriggerSourceEXT: p.SetTriggerSource(TriggerSource::EXT); break;
    default: p.SetTriggerSource(TriggerSource::CH1); break;
  }
  p.SetTriggerEdge(get(Id::RisingTrigger) == 1);
  p.SetAutoTrigger(get(Id::Auto) == 1);
  p.SetTriggerPosition(get(Id::TrigPos));
  p.SetContinuous(get(Id::ConSample) == 1);
  return p;
}

PanelSettings PanelFromStore(SettingsStore& store) {
  return PanelFromStored([&](stored::Id id) -> std::optional<std::int32_t> {
    const QString name = stored::Name(id);
    if (!store.ValueExists(name)) return std::nullopt;
    try {
      return store.ReadInteger(name);
    } catch (const ScopeError&) {
      return std::nullopt;  // damaged or of another kind: the default
    }
  });
}

PanelSettings PanelFromSettingsFile(const QString& path, SettingsStore& store) {
  const settings_file::Loaded loaded = settings_file::Parse(text_lines::ReadTextLines(path));
  std::map<stored::Id, std::int32_t> values(loaded.writes.begin(), loaded.writes.end());
  values[stored::Id::TrigPos] = loaded.trigPos;
  const PanelSettings fromStore = PanelFromStore(store);
  PanelSettings p = PanelFromStored([&](stored::Id id) -> std::optional<std::int32_t> {
    const auto found = values.find(id);
    if (found == values.end()) return std::nullopt;
    return found->second;
  });
  for (int n = 1; n <= 2; ++n) {
    const ChannelSettings& c = fromStore.Channel(n);
    p.SetCalibration(n, c.calLow, c.calHigh);
  }
  return p;
}

}  // namespace core

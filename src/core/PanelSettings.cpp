#include "core/PanelSettings.h"

#include "app/Errors.h"
#include "controls/TimeKnob.h"
#include "controls/TriggerPosition.h"
#include "controls/VoltsKnob.h"

#include <algorithm>
#include <iterator>

namespace core {

namespace {

constexpr int VoltsRowCount = static_cast<int>(std::size(volts_knob::VoltsRows));

const time_knob::TimeRow& TimeRowOf(std::int32_t index) {
  for (const time_knob::TimeRow& row : time_knob::TimeRows)
    if (row.index == index) return row;
  throw ScopeError(QStringLiteral("List index out of bounds (%1)").arg(index));
}

std::size_t ChannelSlot(int channel) {
  if (channel < 1 || channel > ChannelCount)
    throw ScopeError(QStringLiteral("List index out of bounds (%1)").arg(channel));
  return static_cast<std::size_t>(channel - 1);
}

}  // namespace

bool ChannelSettings::HighRange() const {
  return volts_knob::VoltsRows[std::clamp(voltsRow, 0, VoltsRowCount - 1)].highRange;
}

std::int32_t ChannelSettings::Scale() const {
  return volts_knob::VoltsRows[std::clamp(voltsRow, 0, VoltsRowCount - 1)].scale;
}

ChannelSettings& PanelSettings::Channel(int channel) { return channels[ChannelSlot(channel)]; }
const ChannelSettings& PanelSettings::Channel(int channel) const { return channels[ChannelSlot(channel)]; }

void PanelSettings::SetChannelOn(int channel, bool on) { Channel(channel).on = on; }

void PanelSettings::SetVoltsRow(int channel, int row) {
  ChannelSettings& c = Channel(channel);
  if (row < 0 || row >= VoltsRowCount) throw ScopeError(QStringLiteral("List index out of bounds (%1)").arg(row));
  c.voltsRow = row;
}

void PanelSettings::SetZeroRow(int channel, std::int32_t row) { Channel(channel).zeroRow = row; }

void PanelSettings::SetTriggerLevel(int channel, std::int32_t counts) { Channel(channel).triggerLevel = counts; }

void PanelSettings::SetCalibration(int channel, std::int32_t lowRange, std::int32_t highRange) {
  ChannelSettings& c = Channel(channel);
  c.calLow = lowRange;
  c.calHigh = highRange;
}

void PanelSettings::SetTriggerSource(TriggerSource source) { trigger.source = source; }
void PanelSettings::SetTriggerEdge(bool rising) { trigger.rising = rising; }
void PanelSettings::SetAutoTrigger(bool automatic) { trigger.automatic = automatic; }

void PanelSettings::SetTriggerPosition(std::int32_t markerLeft) {
  trigger.markerLeft = trigger_position::ClampMarkerLeft(markerLeft);
}

void PanelSettings::SetTimeBase(std::int32_t timeBaseIndex) {
  TimeRowOf(timeBaseIndex);  // refuses an index the knob has no row for
  timeBase.index = timeBaseIndex;
}

void PanelSettings::SetContinuous(bool continuous) { mode.continuous = continuous; }

bool PanelSettings::Rate1MS() const {
  return timeBase.index == time_knob::FastestIndex && !(channels[0].on && channels[1].on);
}

std::int32_t PanelSettings::SamplePeriodUs() const { return TimeRowOf(timeBase.index).samplePeriodUs; }

capture_protocol::ReplyLayout PanelSettings::Layout() const { return {Rate1MS(), channels[0].on}; }

capture_protocol::CaptureCommandInputs CaptureInputsFor(const PanelSettings& panel) {
  const trigger_position::PositionBytes position =
      trigger_position::PositionBytesFor(panel.trigger.markerLeft, panel.timeBase.index);
  capture_protocol::CaptureCommandInputs in;
  in.TriggerCH = static_cast<std::int32_t>(panel.trigger.source);
  in.CH1TriggerV = panel.channels[0].triggerLevel;
  in.CH2TriggerV = panel.channels[1].triggerLevel;
  in.RisingTrigger = panel.trigger.rising;
  in.CH1HighRange = panel.channels[0].HighRange();
  in.CH2HighRange = panel.channels[1].HighRange();
  in.TimeBaseIndex = panel.timeBase.index;
  in.AutoTrigger = panel.trigger.automatic;
  in.Rate1MS = panel.Rate1MS();
  in.ChannelOn1 = panel.channels[0].on;
  in.TrigPosPreLo = position.preLo;
  in.TrigPosPreHi = position.preHi;
  in.TrigPosPostLo = position.postLo;
  in.TrigPosPostHi = position.postHi;
  return in;
}

capture_protocol::CaptureCommand CaptureCommandFor(const PanelSettings& panel) {
  return capture_protocol::BuildCaptureCommand(CaptureInputsFor(panel));
}

PanelChange ChangeWhileRunning(const PanelSettings& before, const PanelSettings& after) {
  if (before.timeBase != after.timeBase || before.trigger.source != after.trigger.source)
    return PanelChange::Restart;
  const auto level = [](const PanelSettings& p) {
    return p.trigger.source == TriggerSource::CH1 ? p.channels[0].triggerLevel : p.channels[1].triggerLevel;
  };
  // Auto mode switched on re-asks a capture that waits for a trigger; a
  // switch to normal asks nothing.
  if (level(before) != level(after) || (!before.trigger.automatic && after.trigger.automatic))
    return PanelChange::Reissue;
  return PanelChange::None;
}

}  // namespace core

#include "analysis/TrendRow.h"

#include "app/Errors.h"

namespace analysis {

namespace {

constexpr std::size_t Index(core::Reading reading) { return static_cast<std::size_t>(reading); }

}  // namespace

const std::optional<double>& TrendRow::Value(int channel, core::Reading reading) const {
  if (channel < 1 || channel > 2) throw ScopeError(QStringLiteral("List index out of bounds (%1)").arg(channel));
  return channels[static_cast<std::size_t>(channel - 1)][Index(reading)];
}

void DropCycleReadingsWithoutCycle(ChannelValues& values) {
  if (values[Index(core::Reading::DutyCycle)]) return;
  for (const core::ReadingInfo& info : core::ReadingTable)
    if (info.needsCycle) values[Index(info.reading)].reset();
}

TrendRow TrendRowOf(const core::Record& record, const std::array<core::ChannelReadings, 2>& readings) {
  TrendRow row{.timeMs = static_cast<double>(record.received.toMSecsSinceEpoch()), .sequence = record.sequence};
  for (std::size_t n = 0; n < 2; ++n) {
    const core::ChannelReadings& r = readings[n];
    ChannelValues& v = row.channels[n];
    using core::Reading;
    v[Index(Reading::Maximum)] = r.maximum;
    v[Index(Reading::Minimum)] = r.minimum;
    v[Index(Reading::PeakToPeak)] = r.peakToPeak;
    v[Index(Reading::Mean)] = r.mean;
    v[Index(Reading::Rms)] = r.rms;
    v[Index(Reading::Period)] = r.period;
    v[Index(Reading::Frequency)] = r.frequency;
    v[Index(Reading::PosWidth)] = r.posWidth;
    v[Index(Reading::NegWidth)] = r.negWidth;
    if (r.dutyCycle) v[Index(Reading::DutyCycle)] = static_cast<double>(*r.dutyCycle);
    DropCycleReadingsWithoutCycle(v);
  }
  return row;
}

}  // namespace analysis

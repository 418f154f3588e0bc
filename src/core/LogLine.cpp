#include "core/LogLine.h"

#include <QStringList>

#include <optional>

namespace core {

namespace {

// The readings in the order of the measurement panel, with their units.
struct Column {
  const char* name;
  const char* unit;
};
constexpr Column kColumns[] = {
    {"max", "V"},    {"min", "V"},       {"pk-pk", "V"},  {"mean", "V"},     {"RMS", "V"},
    {"period", "s"}, {"frequency", "Hz"}, {"+width", "s"}, {"-width", "s"}, {"duty", "%"},
};

// Volts are whole 10 mV: two decimals are exact. Times and frequencies
// keep twelve significant digits, far more than the counts carry.
QString Volts(const std::optional<double>& v) { return v ? QString::number(*v, 'f', 2) : QString(); }
QString Number(const std::optional<double>& v) { return v ? QString::number(*v, 'g', 12) : QString(); }

}  // namespace

QString LogHeaderLine() {
  QStringList names{QStringLiteral("time"), QStringLiteral("sequence")};
  for (const char* channel : {"CH1", "CH2"})
    for (const Column& c : kColumns)
      names << QStringLiteral("%1 %2 (%3)").arg(QLatin1String(channel), QLatin1String(c.name), QLatin1String(c.unit));
  return names.join(QLatin1Char(','));
}

QString LogRecordLine(const Record& record, const std::array<ChannelReadings, 2>& readings) {
  QStringList fields{record.received.toString(Qt::ISODateWithMs), QString::number(record.sequence)};
  for (const ChannelReadings& r : readings) {
    fields << Volts(r.maximum) << Volts(r.minimum) << Volts(r.peakToPeak) << Volts(r.mean) << Volts(r.rms)
           << Number(r.period) << Number(r.frequency) << Number(r.posWidth) << Number(r.negWidth)
           << (r.dutyCycle ? QString::number(*r.dutyCycle) : QString());
  }
  return fields.join(QLatin1Char(','));
}

}  // namespace core

#include "log/LogOptions.h"

namespace scope_log {

LogOptions ParseLogOptions(const QStringList& arguments) {
  LogOptions o;
  const auto fail = [&](const QString& text) {
    o.error = text;
    return o;
  };
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
      o.help = true;
      continue;
    }
    const bool takesValue = a == QLatin1String("--port") || a == QLatin1String("--count") ||
                            a == QLatin1String("--seconds") || a == QLatin1String("--out") ||
                            a == QLatin1String("--settings");
    if (!takesValue) return fail(QStringLiteral("Unknown option '%1'.").arg(a));
    if (i + 1 >= arguments.size()) return fail(QStringLiteral("%1 needs a value.").arg(a));
    const QString value = arguments[++i];
    bool ok = true;
    if (a == QLatin1String("--port")) {
      o.port = value;
    } else if (a == QLatin1String("--count")) {
      o.count = value.toInt(&ok);
      if (!ok || o.count < 1) return fail(QStringLiteral("'%1' is not a valid count.").arg(value));
    } else if (a == QLatin1String("--seconds")) {
      o.seconds = value.toDouble(&ok);
      if (!ok || !(o.seconds > 0.0) || o.seconds > 1e9)
        return fail(QStringLiteral("'%1' is not a valid number of seconds.").arg(value));
    } else if (a == QLatin1String("--out")) {
      o.out = value;
    } else {
      o.settings = value;
    }
  }
  if (o.help) return o;
  if (o.port.isEmpty()) return fail(QStringLiteral("--port NAME is needed."));
  if (o.count > 0 && o.seconds > 0.0) return fail(QStringLiteral("--count and --seconds exclude each other."));
  return o;
}

QString LogUsage() {
  return QStringLiteral(
      "Usage: tessaron-log --port NAME [--count N | --seconds S] [--out FILE] [--settings FILE]\n"
      "Takes captures from a Tessaron USB Oscilloscope with the stored front-panel settings and\n"
      "writes one CSV line per record: local time, sequence number, the twenty readings.\n"
      "  --port NAME       the instrument's port (/dev/ttyUSB0, a tessaron-sim path, SIM1)\n"
      "  --count N         stop after N records\n"
      "  --seconds S       stop after the record in progress once S seconds have passed\n"
      "  --out FILE        write to FILE instead of standard output\n"
      "  --settings FILE   the front panel of a \"Save Settings To File\" file\n"
      "Ctrl+C stops after the record in progress (a second Ctrl+C at once).\n");
}

}  // namespace scope_log

#include "storage/ExportFile.h"

#include "app/ReadoutText.h"
#include "measure/Measurements.h"

#include <algorithm>

namespace export_file {

std::int32_t TenMillivolts(std::uint8_t sample, bool highRange) {
  return (measure::ZeroVoltCount - sample) * measure::RangeFactor(highRange) / 100;
}

QString TimeFormatWithoutZone(const QString& format) {
  QString out;
  // Set where the zone stood first in the text: the blank after it goes too.
  bool dropBlanksAfter = false;
  qsizetype i = 0;
  while (i < format.size()) {
    const QChar c = format[i];
    if (c == u'\'') {
      // A quoted literal is copied whole ("''" inside it is one quote): its
      // letters are text, not fields.
      qsizetype end = i + 1;
      while (end < format.size()) {
        if (format[end] == u'\'') {
          if (end + 1 < format.size() && format[end + 1] == u'\'') {
            end += 2;
            continue;
          }
          break;
        }
        ++end;
      }
      end = std::min(end + 1, format.size());
      out += format.mid(i, end - i);
      i = end;
      dropBlanksAfter = false;
      continue;
    }
    if (c == u't') {
      qsizetype end = i;
      while (end < format.size() && format[end] == u't') ++end;
      const bool inRoundBrackets = out.endsWith(u'(') && end < format.size() && format[end] == u')';
      const bool inSquareBrackets = out.endsWith(u'[') && end < format.size() && format[end] == u']';
      if (inRoundBrackets || inSquareBrackets) {
        out.chop(1);
        ++end;
      }
      const qsizetype before = out.size();
      while (!out.isEmpty() && out.back().isSpace()) out.chop(1);
      dropBlanksAfter = out.size() == before;
      i = end;
      continue;
    }
    if (dropBlanksAfter && c.isSpace()) {
      ++i;
      continue;
    }
    dropBlanksAfter = false;
    out += c;
    ++i;
  }
  return out;
}

QString DateLine(const QDateTime& when, const QLocale& locale) {
  const QString date = locale.toString(when.date(), QLocale::ShortFormat);
  const QTime time = when.time();
  if (time.hour() == 0 && time.minute() == 0 && time.second() == 0) return date;
  return date + u' ' + locale.toString(time, TimeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat)));
}

QStringList Lines(const Record& record, const QString& dateLine) {
  const SampleRange range = record.threeThousand ? ThreeThousandRange : TwoChannelRange;
  QStringList lines;
  lines.reserve(6 + range.last - range.first + 1);
  lines << QLatin1String(Title) << QLatin1String(SampleRatePrefix) + record.sampleRateText << dateLine;
  if (record.averaged > 1)
    lines << QLatin1String(AveragePrefix) + QString::number(record.averaged) + QLatin1String(AverageSuffix);
  lines << QString() << QLatin1String(ColumnHeader);

  auto volts = [](std::uint8_t sample, bool highRange) {
    return readout_text::FormatCursortext2(TenMillivolts(sample, highRange));
  };
  // In a stretched record each sample spans more than one column.
  const std::int64_t usPerSample = std::int64_t(record.usPerColumn) * record.columnStep;
  const bool ch2Alone = record.threeThousand && record.recordChannel == 2;
  std::int64_t row = 1;
  for (int k = range.first; k <= range.last; ++k, ++row) {
    const auto index = std::size_t(k);
    QString line = QString::number(row * usPerSample) + u',';
    if (!record.threeThousand) {
      line += volts(record.ch1Samples[index], record.ch1HighRange) + u',' +
              volts(record.ch2Samples[index], record.ch2HighRange);
    } else if (ch2Alone) {
      line += volts(record.ch2Samples[index], record.ch2HighRange);
    } else {
      line += volts(record.ch1Samples[index], record.ch1HighRange);
    }
    lines << line;
  }
  return lines;
}

}  // namespace export_file

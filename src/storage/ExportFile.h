#pragma once
// The data export: the held record as a comma-separated table of time and
// voltage for a spreadsheet. Pure: the record and its own description (the
// ranges, the time per column and the layout it was captured in) go in, the
// lines of the file come out.
//
//   Tessaron USB Oscilloscope
//   Sample Rate: 500KS/s
//   3/7/26 2:05:09 PM
//   Average of 16 records  only for an averaged trace
//
//   Time us, CH1 V, CH2 V
//   20,0.00,-1.01          time, CH1, CH2 for a two-channel record
//   ...                    time, voltage for the 3000-sample record
//
// A fixed part of the record is exported, not the part on the screen: all
// 1500 samples of a two-channel record, the middle 1505 of a 3000-sample one.

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <span>

namespace export_file {

inline constexpr const char* Title = "Tessaron USB Oscilloscope";
inline constexpr const char* SampleRatePrefix = "Sample Rate: ";
inline constexpr const char* ColumnHeader = "Time us, CH1 V, CH2 V";
// After the date line of an averaged trace only, so a record as it came
// exports as it always has: "Average of 16 records".
inline constexpr const char* AveragePrefix = "Average of ";
inline constexpr const char* AverageSuffix = " records";

// The samples a record exports, indices into the buffers (from 1).
struct SampleRange {
  int first;
  int last;
};
inline constexpr SampleRange TwoChannelRange{1, 1500};
inline constexpr SampleRange ThreeThousandRange{746, 2250};

struct Record {
  std::span<const std::uint8_t, 3001> ch1Samples;  // indexed 1..3000
  std::span<const std::uint8_t, 3001> ch2Samples;
  bool threeThousand = false;  // the 3000-sample record of one channel
  int recordChannel = 1;       // whose 3000-sample record it is: 1 or 2
  bool ch1HighRange = false;
  bool ch2HighRange = false;
  std::int32_t usPerColumn = 0;  // the record's time base, microseconds per plot column
  int columnStep = 1;            // plot columns per sample in the record's layout
  QString sampleRateText;
  int averaged = 1;  // records in the mean of an averaged trace; 1 for a record as it came
};

// Units of 10 mV of one sample: (126 - s) * G / 100, truncated toward zero,
// G the range factor. Calibration offsets are not applied.
std::int32_t TenMillivolts(std::uint8_t sample, bool highRange);

// The locale's long time format without its time-zone name ("t", "tttt",
// also in brackets: "(t)", "[t]") and the blank beside it; quoted literal
// text is kept.
QString TimeFormatWithoutZone(const QString& longTimeFormat);

// The date line: the locale's short date, a blank and its long time without
// the zone; the date alone when hours, minutes and seconds are all zero.
QString DateLine(const QDateTime& when, const QLocale& locale);

// The whole file: the five header lines (six for an averaged trace), then
// one line per exported sample.
QStringList Lines(const Record& record, const QString& dateLine);

}  // namespace export_file

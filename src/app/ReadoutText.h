#pragma once
// The texts the instrument shows for times, voltages and frequencies: the
// cursor readouts under the screen, the automatic measurements and the data
// export all write their numbers through these, so a reading looks the same
// wherever it appears. Pure functions of integers (times in microseconds,
// voltages in units of 10 mV); digits are cut, never rounded.

#include <QString>

#include <cstdint>

namespace readout_text {

// Microseconds as "250 us", "1.23 ms", "12.34 ms", "123.4 ms", "1.234 s",
// "12.34 s"; nine digits or more stay in microseconds. A negative time reads
// with a leading "-" ("-1.23 ms").
QString FormatCursorTime(std::int64_t microseconds);

// Units of 10 mV as "50 mV", "120 mV", "00 mV" (one or two digits), "1.23 V",
// "12.34 V"; a leading "-" for a negative voltage.
QString FormatCursortext(std::int64_t tenMillivolts);

// Units of 10 mV as a bare number of volts with two decimals: "0.05", "0.12",
// "1.23", "12.34", "-0.05". Made for columns of numbers (the data export).
QString FormatCursortext2(std::int64_t tenMillivolts);

// The frequency whose period is `periodUs` microseconds, with three digits
// cut from its decimal text: "2.50 KHz" for 400 us, "125 KHz" for 8 us,
// "100 KHz" for 10 us, "15.6 KHz" for 64 us, "333 Hz" for 3000 us, "12.5 Hz"
// for 80000 us, "1.00 MHz" for 1 us. A period of 0 reads "0 Hz", and so does
// a negative one: there is no frequency without a period. Below 100 Hz the
// decimal separator is the user's (`decimalPoint`).
QString FormatFreq(std::int64_t periodUs, const QString& decimalPoint = QStringLiteral("."));

// A frequency in hertz in the same text, for a frequency that is no whole
// period's (a mean of readings): FormatFreq(p) is FormatHertz(1e6 / p). Zero,
// a negative frequency or none at all reads "0 Hz".
QString FormatHertz(long double hertz, const QString& decimalPoint = QStringLiteral("."));

}  // namespace readout_text

#include "app/ReadoutText.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>

namespace readout_text {

namespace {

// The sign and the decimal digits of the magnitude; the magnitude of the
// most negative value is taken in unsigned arithmetic, so nothing overflows.
struct SignedDigits {
  bool negative;
  std::string digits;
};

SignedDigits Split(std::int64_t value) {
  const bool negative = value < 0;
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  return {negative, std::to_string(magnitude)};
}

QString Signed(bool negative, const std::string& text) {
  return QString::fromLatin1((negative ? "-" : "") + text);
}

// digits with a "." after the first `integerDigits` of them, cut to `cut`
// characters.
std::string PointAfter(const std::string& digits, std::size_t integerDigits, std::size_t cut) {
  return (digits.substr(0, integerDigits) + "." + digits.substr(integerDigits)).substr(0, cut);
}

// One row of the time text: how many digits stand before the point (0: no
// point), how long the text is cut, and the unit.
struct TimeRow {
  std::size_t integerDigits;
  std::size_t cut;
  const char* unit;
};
// By the number of digits, 1..8; longer texts stay in microseconds.
constexpr TimeRow TimeRows[] = {
    {0, 0, " us"}, {0, 0, " us"}, {0, 0, " us"},  // 1..3 digits: 250 us
    {1, 4, " ms"},                                 // 1234: 1.23 ms
    {2, 5, " ms"},                                 // 12345: 12.34 ms
    {3, 5, " ms"},                                 // 123456: 123.4 ms
    {1, 5, " s"},                                  // 1234567: 1.234 s
    {2, 5, " s"},                                  // 12345678: 12.34 s
};

// A frequency in hertz rounded to 15 significant digits, in plain decimal
// notation, without trailing zeros or a trailing point. f > 0.
std::string PlainDecimal15(long double f) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14Le", f);
  const std::string text(buffer);
  const std::size_t e = text.find('e');
  std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
  const int exponent = std::atoi(text.c_str() + e + 1);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  if (exponent < 0) return "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  const std::size_t integerDigits = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= integerDigits) return digits + std::string(integerDigits - digits.size(), '0');
  return digits.substr(0, integerDigits) + "." + digits.substr(integerDigits);
}

// Exact frequencies that read as whole decades, over whatever the cut made.
struct ExactFrequency {
  long double hertz;
  const char* text;
};
constexpr ExactFrequency ExactFrequencies[] = {
    {100000, "100 KHz"}, {10000, "10.0 KHz"}, {1000, "1.00 KHz"},
    {100, "100 Hz"},     {10, "10.00 Hz"},    {1, "1.00 Hz"},
};

}  // namespace

QString FormatCursorTime(std::int64_t microseconds) {
  const SignedDigits value = Split(microseconds);
  const std::size_t n = value.digits.size();
  if (n > std::size(TimeRows)) return Signed(value.negative, value.digits + " us");
  const TimeRow& row = TimeRows[n - 1];
  const std::string number =
      row.integerDigits == 0 ? value.digits : PointAfter(value.digits, row.integerDigits, row.cut);
  return Signed(value.negative, number + row.unit);
}

QString FormatCursortext(std::int64_t tenMillivolts) {
  const SignedDigits value = Split(tenMillivolts);
  const std::size_t n = value.digits.size();
  // One or two digits are tens of millivolts: a zero appended makes them
  // millivolts ("00 mV" on the 0 V row). From three digits on the last two
  // are hundredths of a volt.
  if (n <= 2) return Signed(value.negative, value.digits + "0 mV");
  return Signed(value.negative, PointAfter(value.digits, n - 2, n + 1) + " V");
}

QString FormatCursortext2(std::int64_t tenMillivolts) {
  const SignedDigits value = Split(tenMillivolts);
  const std::size_t n = value.digits.size();
  if (n == 1) return Signed(value.negative, "0.0" + value.digits);
  if (n == 2) return Signed(value.negative, "0." + value.digits);
  return Signed(value.negative, PointAfter(value.digits, n - 2, n + 1));
}

QString FormatFreq(std::int64_t periodUs, const QString& decimalPoint) {
  if (periodUs <= 0) return QStringLiteral("0 Hz");
  return FormatHertz(1000000.0L / static_cast<long double>(periodUs), decimalPoint);
}

QString FormatHertz(long double hertz, const QString& decimalPoint) {
  if (!(hertz > 0)) return QStringLiteral("0 Hz");
  // s: the frequency's text cut to seven characters; every choice below is
  // made on the value of s, not on the frequency itself.
  const std::string s = PlainDecimal15(hertz).substr(0, 7);
  const long double v = std::strtold(s.c_str(), nullptr);
  auto first = [&](std::size_t count) {
    QString text = QString::fromLatin1(s.substr(0, count));
    return text.replace(QLatin1Char('.'), decimalPoint);
  };
  auto c = [&](std::size_t i) { return i < s.size() ? QString(QLatin1Char(s[i])) : QString(); };

  QString result;
  if (v < 10)
    result = first(4) + QStringLiteral(" Hz");
  else if (v > 10 && v < 100)
    result = first(5) + QStringLiteral(" Hz");
  else if (v > 100 && v < 1000)
    result = first(3) + QStringLiteral(" Hz");
  else if (v > 1000 && v < 10000)
    result = c(0) + QLatin1Char('.') + c(1) + c(2) + QStringLiteral(" KHz");
  else if (v > 10000 && v < 100000)
    result = c(0) + c(1) + QLatin1Char('.') + c(2) + QStringLiteral(" KHz");
  else if (v > 100000 && v < 1000000)
    result = c(0) + c(1) + c(2) + QStringLiteral(" KHz");
  else if (v >= 1000000)
    // Seven integer digits: a period of 1 us is a megahertz, not 100 KHz.
    result = c(0) + QLatin1Char('.') + c(1) + c(2) + QStringLiteral(" MHz");
  for (const ExactFrequency& exact : ExactFrequencies)
    if (v == exact.hertz) result = QString::fromLatin1(exact.text);
  return result;
}

}  // namespace readout_text

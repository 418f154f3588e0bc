#pragma once
// The identify answer read as text: hardware revision, firmware version and
// firmware date. The answer is "O", the revision byte, three version
// characters, then the month and the year as one digit each ("1".."9",
// "A".."C" for 10..12). Every byte arrives through TSerial::ReadByte, so a
// value may also be -1 (nothing came in time).

#include <QString>

#include <array>
#include <string_view>

namespace connection {

inline constexpr int IdentifyQuery = '?';
inline constexpr int IdentifyAnswerFirst = 'O';
// Bytes of the answer after the leading "O".
inline constexpr int IdentifyAnswerRest = 6;

inline constexpr std::array<std::string_view, 12> MonthNames = {
    "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
inline constexpr std::array<std::string_view, 12> YearNames = {
    "2002", "2003", "2004", "2005", "2006", "2007",
    "2008", "2009", "2010", "2011", "2012", "2013"};

inline constexpr const char* RevisionAText = "Tessaron USB Oscilloscope Rev A";
inline constexpr const char* RevisionBText = "Tessaron USB Oscilloscope Rev B";
// Shown for a date digit that names no month or year (a missing byte too).
inline constexpr const char* UnknownDateName = "?";

// "A" and above count from 10, everything else from "0": c > 64 gives
// c - 55, any other c gives c - 48 (so -1, nothing read, gives -49).
constexpr int DateDigitValue(int byte) { return byte > 64 ? byte - 55 : byte - 48; }

// The name of a digit value 1..12 in the table, "?" for any other value.
QString DateName(const std::array<std::string_view, 12>& names, int digitValue);

// "Mar. 2006" from the month and year bytes of the answer.
QString FirmwareDateText(int monthByte, int yearByte);

// "C" is revision A; any other byte, a missing one included, revision B.
QString RevisionText(int revisionByte);

// The three version bytes joined by full stops: "2.0.7". Each is shown as
// the character of its low eight bits, so a missing byte (-1) reads as the
// character 255.
QString VersionText(int first, int second, int third);

}  // namespace connection

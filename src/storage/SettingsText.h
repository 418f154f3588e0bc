#pragma once
// The text of the settings store's file: parsing its bytes into typed values
// and formatting values back into bytes. Pure: the store (SettingsStore)
// does the locking, the reading and the atomic replacement around it.
//
//   # Tessaron USB Oscilloscope settings, key \\Software\\TessaronInc\\Veldrin\\5.0\\ (escaped)
//   Angle=int:138
//   DISPLAYBACKGROUND=str:Grafics\\Grid2.bmp
//
// One value per line, "name=int:<32-bit decimal>" or "name=str:<text>";
// "\\", "\n" and "\r" stand for a backslash, a line feed and a carriage
// return in names and texts, "\=" for "=" and "\#" for a leading "#" in
// names. Blank lines and lines beginning with "#" are comments; a carriage
// return before a line's end is dropped, so a file saved by an editor with
// CR LF line ends still reads. Names are looked up ignoring case, as in a
// registry key, and keep the spelling of their first write.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <map>
#include <optional>
#include <variant>
#include <vector>

namespace settings_text {

using Value = std::variant<std::int32_t, QString>;

struct Entry {
  QString name;  // as first written; lookups ignore case
  Value value;
  friend bool operator==(const Entry&, const Entry&) = default;
};

// Keyed by the case-folded name, so the file lists the values in a stable,
// readable order and "CH1On" and "ch1on" are one value.
using Values = std::map<QString, Entry>;

QString Folded(const QString& name);

// Sets a value, keeping the spelling of a name already there. False when the
// same value was already stored (nothing changed).
bool Set(Values& values, const QString& name, Value value);

// A line that holds no usable value: not UTF-8, not "name=int:" or
// "name=str:", a number past 32 bits, an unknown escape, or one of several
// lines giving the same name (which of them was meant cannot be told).
struct DamagedLine {
  int number = 0;  // counted from 1
  QString name;    // the value it names; empty when not even the name reads
  QString text;    // the line as held, bytes that are not UTF-8 as \xNN
  friend bool operator==(const DamagedLine&, const DamagedLine&) = default;
};

// Every line on its own: the values of the lines that read, and the lines
// that do not. A damaged line costs only its own value.
struct ParsedLines {
  Values values;
  std::vector<DamagedLine> damaged;
};
ParsedLines ParseLines(const QByteArray& bytes);

// The whole text, or empty when any line of it is damaged.
std::optional<Values> Parse(const QByteArray& bytes);

// The whole file: two comment lines naming the key and the format, then one
// line per value, each ended by a line feed.
QByteArray Format(const QString& key, const Values& values);

}  // namespace settings_text

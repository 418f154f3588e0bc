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

// Empty when the text is damaged: not UTF-8, a line that is not a value, a
// number past 32 bits, an unknown escape or the same name twice.
std::optional<Values> Parse(const QByteArray& bytes);

// The whole file: two comment lines naming the key and the format, then one
// line per value, each ended by a line feed.
QByteArray Format(const QString& key, const Values& values);

}  // namespace settings_text

#pragma once
// The reads of the panel restore. Each stored integer is held to the range
// the panel can show (StoredValues.h); a value that is missing, of the other
// type or on a line of the file that could not be read takes its default,
// so one damaged value costs that value only. Both kinds are remembered, so
// that the restore can keep the store as it was, tell the user what it
// used instead, and put the held values back in its place.

#include "storage/SettingsStore.h"
#include "storage/SettingsText.h"
#include "storage/StoredValues.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class RestoreReader {
 public:
  // `unreadLines`: the lines of the store's file that could not be read
  // (the store kept the values of the others). `defaultPort`: the port a
  // missing or mistyped COMPORT takes.
  explicit RestoreReader(SettingsStore& store, std::vector<settings_text::DamagedLine> unreadLines = {},
                         std::function<QString()> defaultPort = {})
      : store_(store), unreadLines_(std::move(unreadLines)), defaultPort_(std::move(defaultPort)) {}

  std::int32_t Integer(stored::Id id);
  // 1 for a stored 1, 0 for anything else.
  std::uint8_t Flag(stored::Id id) { return Integer(id) == 1 ? 1 : 0; }
  // The port's text.
  QString Text(stored::Id id);

  struct HeldValue {
    stored::Id id;
    std::int32_t stored;
    std::int32_t used;
    friend bool operator==(const HeldValue&, const HeldValue&) = default;
  };
  // Each value once, in the order first read.
  const std::vector<HeldValue>& Held() const { return held_; }
  // The held values as the writes that put them into the store.
  std::vector<SettingsStore::NamedValue> HeldWrites() const;
  // "CH2VertPos 2147483647 as 400, Angle -5 as 0", for the user.
  QString HeldList() const;

  struct ReplacedValue {
    stored::Id id;
    bool missing;  // else stored as the other type
    QString held;  // how the store holds it; empty when it holds nothing
    QString used;  // the default taken, as the user reads it
    friend bool operator==(const ReplacedValue&, const ReplacedValue&) = default;
  };
  // Each value once, in the order first read.
  const std::vector<ReplacedValue>& Replaced() const { return replaced_; }
  // The store's own message for the first replaced value ("Failed to get
  // data for 'TrigPos'", "Invalid data type for 'Angle'").
  QString FirstError() const;
  // "TrigPos (missing) as 251, Angle (str:abc) as 138, CH2On (line 7
  // "CH2On=int:1x") as 0", for the user.
  QString ReplacedList() const;
  // The lines that could not be read and name no value the restore read:
  // 'line 3 "\x00\x01"', empty when none.
  QString OtherUnreadLines() const;

 private:
  // Remembers a value that takes its default; `held` as the store holds it.
  void Replace(stored::Id id, const std::optional<settings_text::Value>& held, const QString& used);

  SettingsStore& store_;
  std::vector<settings_text::DamagedLine> unreadLines_;
  std::function<QString()> defaultPort_;
  std::vector<HeldValue> held_;
  std::vector<ReplacedValue> replaced_;
};

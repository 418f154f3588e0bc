#pragma once
// The reads of the panel restore: each stored integer held to the range the
// panel can show (StoredValues.h), and each value that had to be held
// remembered, so that the restore can keep the store as it was and put the
// held values back in its place.

#include "storage/SettingsStore.h"
#include "storage/StoredValues.h"

#include <QString>

#include <cstdint>
#include <vector>

class RestoreReader {
 public:
  explicit RestoreReader(SettingsStore& store) : store_(store) {}

  // Throws StoredValueError for a missing value or one stored as text.
  std::int32_t Integer(stored::Id id);
  // 1 for a stored 1, 0 for anything else.
  std::uint8_t Flag(stored::Id id) { return Integer(id) == 1 ? 1 : 0; }
  // A missing text reads as empty.
  QString Text(stored::Id id) { return store_.ReadString(stored::Name(id)); }

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

 private:
  SettingsStore& store_;
  std::vector<HeldValue> held_;
};

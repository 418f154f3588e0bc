#include "storage/RestoreReader.h"

#include <QStringList>

#include <algorithm>

std::int32_t RestoreReader::Integer(stored::Id id) {
  const std::int32_t number = store_.ReadInteger(stored::Name(id));
  const std::int32_t used = stored::HeldToRange(id, number);
  const bool known = std::any_of(held_.begin(), held_.end(), [id](const HeldValue& h) { return h.id == id; });
  if (used != number && !known) held_.push_back({id, number, used});
  return used;
}

std::vector<SettingsStore::NamedValue> RestoreReader::HeldWrites() const {
  std::vector<SettingsStore::NamedValue> writes;
  for (const HeldValue& h : held_) writes.push_back({stored::Name(h.id), h.used});
  return writes;
}

QString RestoreReader::HeldList() const {
  QStringList items;
  for (const HeldValue& h : held_)
    items << QStringLiteral("%1 %2 as %3").arg(stored::Name(h.id)).arg(h.stored).arg(h.used);
  return items.join(QStringLiteral(", "));
}

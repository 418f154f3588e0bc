#include "storage/RestoreReader.h"

#include "storage/SettingsDefaults.h"

#include <QStringList>

#include <algorithm>

namespace {

// A stored text is cut where a message would grow past a line.
constexpr qsizetype LongestHeldText = 40;

QString HeldText(const settings_text::Value& value) {
  if (const auto* number = std::get_if<std::int32_t>(&value)) return QStringLiteral("int:%1").arg(*number);
  QString text = std::get<QString>(value);
  if (text.size() > LongestHeldText) text = text.left(LongestHeldText) + QStringLiteral("...");
  return QStringLiteral("str:") + text;
}

QString LineText(const settings_text::DamagedLine& line) {
  return QStringLiteral("line %1 \"%2\"").arg(line.number).arg(line.text);
}

bool Names(const settings_text::DamagedLine& line, stored::Id id) {
  return !line.name.isEmpty() && settings_text::Folded(line.name) == settings_text::Folded(stored::Name(id));
}

}  // namespace

void RestoreReader::Replace(stored::Id id, const std::optional<settings_text::Value>& held, const QString& used) {
  if (std::any_of(replaced_.begin(), replaced_.end(), [id](const ReplacedValue& r) { return r.id == id; })) return;
  QStringList lines;
  for (const settings_text::DamagedLine& line : unreadLines_)
    if (Names(line, id)) lines << LineText(line);
  QString shown = held ? HeldText(*held) : lines.join(QStringLiteral(" and "));
  replaced_.push_back({id, !held.has_value(), shown, used});
}

std::int32_t RestoreReader::Integer(stored::Id id) {
  const std::optional<settings_text::Value> value = store_.Read(stored::Name(id));
  const auto* number = value ? std::get_if<std::int32_t>(&*value) : nullptr;
  if (!number) {
    const std::optional<settings_defaults::StoredDefault> byDefault = settings_defaults::DefaultOf(id);
    const std::int32_t used = stored::HeldToRange(id, byDefault ? byDefault->number : 0);
    Replace(id, value, QString::number(used));
    return used;
  }
  const std::int32_t used = stored::HeldToRange(id, *number);
  const bool known = std::any_of(held_.begin(), held_.end(), [id](const HeldValue& h) { return h.id == id; });
  if (used != *number && !known) held_.push_back({id, *number, used});
  return used;
}

QString RestoreReader::Text(stored::Id id) {
  const std::optional<settings_text::Value> value = store_.Read(stored::Name(id));
  if (value)
    if (const auto* text = std::get_if<QString>(&*value)) return *text;
  const QString used = defaultPort_ ? defaultPort_() : QString();
  Replace(id, value, used);
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

QString RestoreReader::FirstError() const {
  if (replaced_.empty()) return QString();
  const ReplacedValue& first = replaced_.front();
  return (first.missing ? QStringLiteral("Failed to get data for '%1'") : QStringLiteral("Invalid data type for '%1'"))
      .arg(stored::Name(first.id));
}

QString RestoreReader::ReplacedList() const {
  QStringList items;
  for (const ReplacedValue& r : replaced_) {
    const QString held = r.held.isEmpty() ? QStringLiteral("missing") : r.held;
    items << QStringLiteral("%1 (%2) as %3").arg(stored::Name(r.id), held, r.used.isEmpty() ? QStringLiteral("\"\"") : r.used);
  }
  return items.join(QStringLiteral(", "));
}

QString RestoreReader::OtherUnreadLines() const {
  QStringList items;
  for (const settings_text::DamagedLine& line : unreadLines_) {
    const bool told = std::any_of(replaced_.begin(), replaced_.end(),
                                  [&line](const ReplacedValue& r) { return Names(line, r.id); });
    if (!told) items << LineText(line);
  }
  return items.join(QStringLiteral(", "));
}

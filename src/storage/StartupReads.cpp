#include "storage/StartupReads.h"

#include "storage/SettingsStore.h"
#include "storage/StoredValues.h"

QString GridFileFromStored(const QString& stored) {
  // The filler only guarantees a first character for the test; it never
  // begins with "G", and its letters become part of a short name, as they
  // always have.
  const QString text = stored + QStringLiteral("xxxx");
  if (text.front() == u'G') return text.left(17);
  return QString::fromLatin1(DefaultGridFile);
}

bool ReadScreenSave(SettingsStore& settings) {
  if (!settings.ValueExists(stored::Name(stored::Id::ScreenSave))) return false;
  return settings.ReadBool(stored::Name(stored::Id::ScreenSave));
}

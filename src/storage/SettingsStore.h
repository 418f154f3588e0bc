#pragma once
// The settings store: the values of one key ("\Software\TessaronInc\Veldrin\5.0\"
// by default) kept as typed values (32-bit integers and strings) in one file
// under $XDG_CONFIG_HOME (default ~/.config), in a folder named after the key.
// The window holds it as its member `SettingsRegistry`.
//
// Reading an integer that does not exist throws "Failed to get data for '%s'";
// one stored as a string throws "Invalid data type for '%s'"; a missing string
// reads as empty. Every write is on disk when it returns (temporary file,
// flush, rename), re-reads the file under a lock first so that two running
// programs never undo each other's values, and a file that cannot be parsed,
// is not a regular file or is larger than MaxFileBytes is kept beside under a
// new name instead of being read or overwritten. The text itself is
// settings_text's.

#include "app/Errors.h"
#include "storage/SettingsText.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// A read of a value that is missing or of the other type: the store itself is
// readable, one of its values is not what the reader needs.
class StoredValueError : public ScopeError {
 public:
  using ScopeError::ScopeError;
};

class SettingsStore {
 public:
  static constexpr const char* DefaultKey = "\\Software\\TessaronInc\\Veldrin\\5.0\\";
  // A settings file is a few kilobytes; anything past this is not one.
  static constexpr qint64 MaxFileBytes = 1024 * 1024;

  // Opens the key, creating its folder when missing.
  explicit SettingsStore(const QString& key = QString::fromLatin1(DefaultKey));
  ~SettingsStore();
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  std::int32_t ReadInteger(const QString& name);
  QString ReadString(const QString& name);
  // A stored integer other than 0; throws like ReadInteger when missing.
  bool ReadBool(const QString& name);
  bool ValueExists(const QString& name);
  // A value as it is stored, of either type; empty when missing.
  std::optional<settings_text::Value> Read(const QString& name);

  void WriteInteger(const QString& name, std::int32_t value);
  void WriteString(const QString& name, const QString& value);
  void WriteBool(const QString& name, bool value);

  // Several values at once, in order, under one lock and one replacement of
  // the file: after a crash either all of them or none are on disk.
  struct NamedValue {
    QString name;
    settings_text::Value value;
  };
  void WriteValues(const std::vector<NamedValue>& values);

  // Keeps a copy of the file as it is now beside it, under the name a
  // damaged file gets ("settings.damaged-<yyyyMMdd-HHmmss>"), and returns
  // that copy's path; later writes leave the copy alone. Asked again while
  // the file is unchanged, it returns the same copy. Empty when there is no
  // file to keep.
  QString KeepCopy();

  // The file that holds the values.
  QString FilePath() const;

  // Called once when a damaged store file was moved aside, with a text for
  // the user naming where it was kept. The shell shows it in a message box.
  // Damage found while it is not set (always so in the constructor) is kept
  // for TakeDamageNotice instead.
  std::function<void(const QString& text)> OnDamagedFileKept;

  // The notice about a damaged store file found at open, once; empty after.
  QString TakeDamageNotice();

  // A file with some lines that could not be read is kept aside like a
  // damaged one, but the values of its other lines stay in the store. The
  // lines that could not be read, once; empty after.
  std::vector<settings_text::DamagedLine> TakeDamagedLines();

 private:
  struct Impl;
  std::unique_ptr<Impl> d;
};

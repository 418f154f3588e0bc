#pragma once
// The settings store: the values of one key ("\Software\TessaronInc\Veldrin\5.0\"
// by default) kept as typed values (32-bit integers and strings) in one file
// under $XDG_CONFIG_HOME (default ~/.config), in a folder named after the key.
//
// Reading an integer that does not exist throws "Failed to get data for '%s'";
// one stored as a string throws "Invalid data type for '%s'"; a missing string
// reads as empty. Every write is on disk when it returns (temporary file,
// flush, rename), re-reads the file under a lock first so that two running
// programs never undo each other's values, and a file that cannot be parsed is
// kept beside under a new name instead of being overwritten.

#include <QString>

#include <cstdint>
#include <functional>

class SettingsRegistry {
 public:
  static constexpr const char* DefaultKey = "\\Software\\TessaronInc\\Veldrin\\5.0\\";

  // Opens the key, creating its folder when missing.
  explicit SettingsRegistry(const QString& key = QString::fromLatin1(DefaultKey));
  ~SettingsRegistry();
  SettingsRegistry(const SettingsRegistry&) = delete;
  SettingsRegistry& operator=(const SettingsRegistry&) = delete;

  std::int32_t ReadInteger(const QString& name);
  QString ReadString(const QString& name);
  // A stored integer other than 0; throws like ReadInteger when missing.
  bool ReadBool(const QString& name);
  bool ValueExists(const QString& name);

  void WriteInteger(const QString& name, std::int32_t value);
  void WriteString(const QString& name, const QString& value);
  void WriteBool(const QString& name, bool value);

  // The file that holds the values.
  QString FilePath() const;

  // Called once when a damaged store file was moved aside, with a text for
  // the user naming where it was kept. The shell shows it in a message box.
  // Damage found while it is not set (always so in the constructor) is kept
  // for TakeDamageNotice instead.
  std::function<void(const QString& text)> OnDamagedFileKept;

  // The notice about a damaged store file found at open, once; empty after.
  QString TakeDamageNotice();

 private:
  struct Impl;
  Impl* d;
};

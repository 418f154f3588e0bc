#include "storage/SettingsRegistry.h"

#include "app/Errors.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* StoreFileName = "settings";
constexpr const char* LockFileName = "settings.lock";
constexpr const char* TemporaryPrefix = "settings.tmp-";
constexpr const char* DamagedPrefix = "settings.damaged-";

using Value = std::variant<std::int32_t, QString>;

struct Entry {
  QString name;  // as first written; lookups ignore case
  Value value;
};

// Keyed by the case-folded name, so the file lists the values in a stable,
// readable order and "CH1On" and "ch1on" are one value, as in a registry key.
using Values = std::map<QString, Entry>;

QString SystemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QString NativePath(const QByteArray& path) { return QDir::toNativeSeparators(QString::fromLocal8Bit(path)); }

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.fd_, -1));
    return *this;
  }
  ~FileDescriptor() { Reset(); }

  int Get() const { return fd_; }
  bool IsOpen() const { return fd_ >= 0; }
  void Reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_;
};

// Every writer holds the lock from re-reading the file until its rename is on
// disk, so two programs writing at once each add their own value to the
// other's. Readers need no lock: a rename replaces the file whole.
class ExclusiveLock {
 public:
  explicit ExclusiveLock(const QByteArray& lockPath)
      : fd_(::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    if (!fd_.IsOpen()) Fail(lockPath, errno);
    while (::flock(fd_.Get(), LOCK_EX) != 0) {
      if (errno != EINTR) Fail(lockPath, errno);
    }
  }
  // Closing the descriptor releases the lock.

 private:
  [[noreturn]] static void Fail(const QByteArray& lockPath, int error) {
    throw ScopeError(QStringLiteral("Cannot lock the settings file '%1': %2")
                         .arg(NativePath(lockPath), SystemError(error)));
  }
  FileDescriptor fd_;
};

bool SameFileState(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
         a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
         a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

// --- The text format ------------------------------------------------------
// One value per line, "name=int:<decimal>" or "name=str:<text>"; "\\", "\n"
// and "\r" stand for a backslash, a line feed and a carriage return in names
// and texts, "\=" for "=" and "\#" for "#" in names. Lines that are blank or
// begin with "#" are comments. A carriage return before a line's end is
// dropped, so a file saved by an editor with CR LF line ends still reads.

void AppendEscaped(QString& out, const QString& text, bool isName) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    switch (c.unicode()) {
      case u'\\': out += QLatin1String("\\\\"); break;
      case u'\n': out += QLatin1String("\\n"); break;
      case u'\r': out += QLatin1String("\\r"); break;
      case u'=':
        out += isName ? QLatin1String("\\=") : QLatin1String("=");
        break;
      case u'#':
        // Only a leading "#" would turn the line into a comment.
        out += (isName && i == 0) ? QLatin1String("\\#") : QLatin1String("#");
        break;
      default: out += c;
    }
  }
}

// Reads escaped text from `pos` up to `stop` (or the end when `stop` is null);
// `pos` is left on the stop character. Empty on an unknown escape.
std::optional<QString> ReadEscaped(const QString& line, qsizetype& pos, QChar stop) {
  QString out;
  while (pos < line.size()) {
    const QChar c = line[pos];
    if (!stop.isNull() && c == stop) return out;
    ++pos;
    if (c != u'\\') {
      out += c;
      continue;
    }
    if (pos == line.size()) return std::nullopt;
    switch (line[pos++].unicode()) {
      case u'\\': out += u'\\'; break;
      case u'n': out += u'\n'; break;
      case u'r': out += u'\r'; break;
      case u'=': out += u'='; break;
      case u'#': out += u'#'; break;
      default: return std::nullopt;
    }
  }
  if (!stop.isNull()) return std::nullopt;  // the stop character never came
  return out;
}

std::optional<std::int32_t> ParseInteger(QStringView text) {
  qsizetype pos = 0;
  const bool negative = !text.isEmpty() && text[0] == u'-';
  if (negative) ++pos;
  if (pos == text.size()) return std::nullopt;
  std::int64_t magnitude = 0;
  for (; pos < text.size(); ++pos) {
    const char16_t c = text[pos].unicode();
    if (c < u'0' || c > u'9') return std::nullopt;
    magnitude = magnitude * 10 + (c - u'0');
    if (magnitude > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

// Empty when the file is damaged: not UTF-8, a line that is not a value, a
// number out of range or the same name twice. Such a file is never rewritten.
std::optional<Values> ParseStore(const QByteArray& bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = decoder.decode(bytes);
  if (decoder.hasError()) return std::nullopt;

  Values values;
  for (QString line : text.split(u'\n')) {
    if (line.endsWith(u'\r')) line.chop(1);
    if (line.trimmed().isEmpty() || line.startsWith(u'#')) continue;
    qsizetype pos = 0;
    const std::optional<QString> name = ReadEscaped(line, pos, u'=');
    if (!name) return std::nullopt;
    ++pos;  // the "="
    const QStringView rest = QStringView(line).mid(pos);
    Value value;
    if (rest.startsWith(QLatin1String("int:"))) {
      const std::optional<std::int32_t> number = ParseInteger(rest.mid(4));
      if (!number) return std::nullopt;
      value = *number;
    } else if (rest.startsWith(QLatin1String("str:"))) {
      qsizetype textPos = pos + 4;
      std::optional<QString> string = ReadEscaped(line, textPos, QChar());
      if (!string) return std::nullopt;
      value = std::move(*string);
    } else {
      return std::nullopt;
    }
    const auto [it, inserted] = values.try_emplace(name->toCaseFolded(), Entry{*name, std::move(value)});
    if (!inserted) return std::nullopt;
  }
  return values;
}

QByteArray FormatStore(const QString& key, const Values& values) {
  QString out = QStringLiteral("# Tessaron USB Oscilloscope settings, key ");
  AppendEscaped(out, key, false);
  out += QStringLiteral(
      "\n# One value per line: name=int:<number> or name=str:<text>, where \\\\, \\n and \\r\n"
      "# stand for a backslash, a line feed and a carriage return.\n");
  for (const auto& [folded, entry] : values) {
    AppendEscaped(out, entry.name, true);
    if (const auto* number = std::get_if<std::int32_t>(&entry.value)) {
      out += QLatin1String("=int:") + QString::number(*number);
    } else {
      out += QLatin1String("=str:");
      AppendEscaped(out, std::get<QString>(entry.value), false);
    }
    out += u'\n';
  }
  return out.toUtf8();
}

// --- Where the file lives --------------------------------------------------

QString ConfigHome() {
  // A relative XDG_CONFIG_HOME is not valid and is ignored, like an empty one.
  const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (!configured.isEmpty() && QDir::isAbsolutePath(configured)) return configured;
  return QDir::homePath() + QStringLiteral("/.config");
}

// "\Software\TessaronInc\Veldrin\5.0\" gives "TessaronInc/Veldrin/5.0": the
// config folder is already the user's own software branch.
QString FolderForKey(const QString& key) {
  QStringList parts = QString(key).replace(u'/', u'\\').split(u'\\', Qt::SkipEmptyParts);
  if (!parts.isEmpty() && parts.front().compare(QLatin1String("Software"), Qt::CaseInsensitive) == 0) {
    parts.removeFirst();
  }
  for (const QString& part : parts) {
    if (part == QLatin1String(".") || part == QLatin1String("..")) {
      throw ScopeError(QStringLiteral("Invalid settings key '%1'").arg(key));
    }
  }
  if (parts.isEmpty()) throw ScopeError(QStringLiteral("Invalid settings key '%1'").arg(key));
  return ConfigHome() + u'/' + parts.join(u'/');
}

}  // namespace

struct SettingsRegistry::Impl {
  QString key;
  QString folder;
  QByteArray folderPath;
  QByteArray filePath;
  QByteArray lockPath;

  // The values of the file last read or written, which is kept open: while
  // it is open its inode cannot be reused, so an unchanged identity means an
  // unchanged file and a read costs one stat().
  Values values;
  FileDescriptor heldFile;
  struct stat heldState {};

  // Notices are handed out only once the lock is released: the callback
  // shows a modal box, and a handler run from its event loop may write.
  QStringList undelivered;
  QString pendingNotice;
  std::function<void(const QString&)>* onDamagedFileKept = nullptr;

  [[noreturn]] void FailOnFile(const char* action, int error) const {
    throw ScopeError(QStringLiteral("Cannot %1 the settings file '%2': %3")
                         .arg(QLatin1String(action), NativePath(filePath), SystemError(error)));
  }

  void Forget() {
    values.clear();
    heldFile.Reset();
  }

  // Brings `values` up to the file on disk. With `locked`, the caller holds
  // the writers' lock, and a damaged file is moved aside at once.
  void Sync(bool locked) {
    struct stat current {};
    if (::stat(filePath.constData(), &current) != 0) {
      // ENOTDIR: something other than a folder stands where the folder goes,
      // so there is no file either; the first write reports it.
      if (errno != ENOENT && errno != ENOTDIR) FailOnFile("read", errno);
      Forget();
      return;
    }
    if (heldFile.IsOpen() && SameFileState(current, heldState)) return;

    FileDescriptor fd(::open(filePath.constData(), O_RDONLY | O_CLOEXEC));
    if (!fd.IsOpen()) {
      if (errno != ENOENT && errno != ENOTDIR) FailOnFile("read", errno);
      Forget();
      return;
    }
    struct stat opened {};
    if (::fstat(fd.Get(), &opened) != 0) FailOnFile("read", errno);
    QByteArray bytes;
    char buffer[8192];
    for (;;) {
      const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) FailOnFile("read", errno);
      if (got == 0) break;
      bytes.append(buffer, got);
    }

    if (std::optional<Values> parsed = ParseStore(bytes)) {
      values = std::move(*parsed);
      heldFile = std::move(fd);
      heldState = opened;
      return;
    }
    if (!locked) {
      // Another program may be replacing or moving the file right now; only
      // a file that is still damaged under the lock is moved aside.
      ExclusiveLock lock(lockPath);
      Sync(true);
      return;
    }
    KeepDamagedFile();
    Forget();
  }

  void KeepDamagedFile() {
    const QByteArray stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")).toLatin1();
    QByteArray kept = folderPath + '/' + DamagedPrefix + stamp;
    struct stat existing {};
    for (int n = 2; ::lstat(kept.constData(), &existing) == 0; ++n) {
      kept = folderPath + '/' + DamagedPrefix + stamp + '-' + QByteArray::number(n);
    }
    if (::rename(filePath.constData(), kept.constData()) != 0) {
      // Writing now would overwrite it: refuse until the user moves it.
      throw ScopeError(QStringLiteral("The settings file '%1' could not be read and could not be kept aside: %2")
                           .arg(NativePath(filePath), SystemError(errno)));
    }
    // The file is moved either way; a failed folder sync only means the move
    // might be undone by a power cut, and the next start would find it again.
    FileDescriptor dir(::open(folderPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.IsOpen()) ::fsync(dir.Get());
    undelivered << (QStringLiteral("The settings file \"%1\" could not be read; it was kept as \"%2\" and the settings start afresh.")
               .arg(NativePath(filePath), NativePath(kept)));
  }

  void Deliver() {
    const QStringList notices = std::exchange(undelivered, QStringList());
    for (const QString& text : notices) {
      if (onDamagedFileKept && *onDamagedFileKept) {
        (*onDamagedFileKept)(text);
        continue;
      }
      if (!pendingNotice.isEmpty()) pendingNotice += u'\n';
      pendingNotice += text;
    }
  }

  // Runs one public operation, then hands out what it found, also when it
  // failed.
  template <typename Operation>
  auto Run(Operation operation) {
    try {
      if constexpr (std::is_void_v<decltype(operation())>) {
        operation();
        Deliver();
      } else {
        auto result = operation();
        Deliver();
        return result;
      }
    } catch (...) {
      Deliver();
      throw;
    }
  }

  void SyncFolder() const {
    FileDescriptor dir(::open(folderPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.IsOpen() || ::fsync(dir.Get()) != 0) FailOnFile("write", errno);
  }

  // A temporary file is only ever open while its writer holds the lock, so
  // any found under the lock was left by a program that died before its
  // rename; the settings file beside it is still whole.
  void RemoveLeftoverTemporaries() const {
    DIR* dir = ::opendir(folderPath.constData());
    if (!dir) return;
    const std::size_t prefixLength = std::strlen(TemporaryPrefix);
    while (const dirent* entry = ::readdir(dir)) {
      if (std::strncmp(entry->d_name, TemporaryPrefix, prefixLength) == 0) {
        ::unlink((folderPath + '/' + entry->d_name).constData());
      }
    }
    ::closedir(dir);
  }

  void Write(const QString& name, Value value) {
    if (!QDir().mkpath(folder)) {
      throw ScopeError(QStringLiteral("Cannot create the settings folder '%1'").arg(QDir::toNativeSeparators(folder)));
    }
    ExclusiveLock lock(lockPath);
    Sync(true);
    RemoveLeftoverTemporaries();

    const QString folded = name.toCaseFolded();
    const auto found = values.find(folded);
    if (found != values.end() && found->second.value == value) return;  // already on disk
    Values next = values;
    next.insert_or_assign(folded, Entry{found != values.end() ? found->second.name : name, std::move(value)});
    const QByteArray content = FormatStore(key, next);

    QByteArray temporaryPath = folderPath + '/' + TemporaryPrefix + "XXXXXX";
    FileDescriptor fd(::mkostemp(temporaryPath.data(), O_CLOEXEC));
    if (!fd.IsOpen()) FailOnFile("write", errno);
    const auto fail = [&](int error) {
      ::unlink(temporaryPath.constData());
      FailOnFile("write", error);
    };
    for (qsizetype done = 0; done < content.size();) {
      const ssize_t put = ::write(fd.Get(), content.constData() + done, content.size() - done);
      if (put < 0 && errno == EINTR) continue;
      if (put < 0) fail(errno);
      done += put;
    }
    if (::fsync(fd.Get()) != 0) fail(errno);
    struct stat written {};
    if (::fstat(fd.Get(), &written) != 0) fail(errno);
    if (::rename(temporaryPath.constData(), filePath.constData()) != 0) fail(errno);

    // The rename changes the file's ctime, so take its identity afresh.
    if (::fstat(fd.Get(), &written) != 0) FailOnFile("write", errno);
    values = std::move(next);
    heldFile = std::move(fd);
    heldState = written;
    SyncFolder();
  }

  // A copy: the callback run after it may change the values.
  std::optional<Value> Find(const QString& name) {
    Sync(false);
    const auto found = values.find(name.toCaseFolded());
    if (found == values.end()) return std::nullopt;
    return found->second.value;
  }
};

SettingsRegistry::SettingsRegistry(const QString& key) : d(new Impl) {
  // A constructor that throws (a key that leaves the config folder) gets no
  // destructor call: until it returns, the implementation is owned here.
  std::unique_ptr<Impl> owner(d);
  d->key = key;
  d->folder = FolderForKey(key);
  d->folderPath = QFile::encodeName(d->folder);
  d->filePath = d->folderPath + '/' + StoreFileName;
  d->lockPath = d->folderPath + '/' + LockFileName;
  d->onDamagedFileKept = &OnDamagedFileKept;
  QDir().mkpath(d->folder);  // a failure shows at the first write
  // A damaged file is found and kept aside now, before anything reads it;
  // the program shows the notice once its window is up.
  try {
    d->Sync(false);
  } catch (const ScopeError& error) {
    d->undelivered << error.Message();
  }
  d->Deliver();
  owner.release();
}

SettingsRegistry::~SettingsRegistry() { delete d; }

std::int32_t SettingsRegistry::ReadInteger(const QString& name) {
  const std::optional<Value> value = d->Run([&] { return d->Find(name); });
  if (!value) throw ScopeError(QStringLiteral("Failed to get data for '%1'").arg(name));
  const auto* number = std::get_if<std::int32_t>(&*value);
  if (!number) throw ScopeError(QStringLiteral("Invalid data type for '%1'").arg(name));
  return *number;
}

QString SettingsRegistry::ReadString(const QString& name) {
  const std::optional<Value> value = d->Run([&] { return d->Find(name); });
  if (!value) return QString();
  const auto* text = std::get_if<QString>(&*value);
  if (!text) throw ScopeError(QStringLiteral("Invalid data type for '%1'").arg(name));
  return *text;
}

bool SettingsRegistry::ReadBool(const QString& name) { return ReadInteger(name) != 0; }

bool SettingsRegistry::ValueExists(const QString& name) {
  return d->Run([&] { return d->Find(name); }).has_value();
}

void SettingsRegistry::WriteInteger(const QString& name, std::int32_t value) {
  d->Run([&] { d->Write(name, value); });
}

void SettingsRegistry::WriteString(const QString& name, const QString& value) {
  d->Run([&] { d->Write(name, value); });
}

void SettingsRegistry::WriteBool(const QString& name, bool value) {
  d->Run([&] { d->Write(name, std::int32_t{value ? 1 : 0}); });
}

QString SettingsRegistry::FilePath() const { return NativePath(d->filePath); }

QString SettingsRegistry::TakeDamageNotice() { return std::exchange(d->pendingNotice, QString()); }

#include "storage/SettingsStore.h"

#include "app/Errors.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <optional>
#include <type_traits>
#include <utility>

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

using settings_text::Value;
using settings_text::Values;

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
      : fd_(::open(lockPath.constData(), O_RDWR | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0600)) {
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

// Why a file found where the store's file goes is not read.
enum class Refusal { None, Damaged, Folder, NotRegular, TooLarge };

Refusal RefusalFor(const struct stat& state) {
  if (S_ISDIR(state.st_mode)) return Refusal::Folder;
  // A device, a pipe or a socket would be read forever or block the start.
  if (!S_ISREG(state.st_mode)) return Refusal::NotRegular;
  if (state.st_size > SettingsStore::MaxFileBytes) return Refusal::TooLarge;
  return Refusal::None;
}

// A file some of whose lines could not be read: those lines named, the
// values of the others kept.
QString PartlyDamagedNotice(const QString& file, const QString& kept,
                            const std::vector<settings_text::DamagedLine>& lines) {
  QStringList shown;
  for (const settings_text::DamagedLine& line : lines)
    shown << QStringLiteral("line %1 \"%2\"").arg(line.number).arg(line.text);
  return QStringLiteral("The settings file \"%1\" had lines that could not be read (%2); it was kept as \"%3\" and the values that could be read are kept.")
      .arg(file, shown.join(QStringLiteral(", ")), kept);
}

QString RefusalNotice(Refusal why, const QString& file, const QString& kept) {
  switch (why) {
    case Refusal::Folder:
      return QStringLiteral("The settings file \"%1\" is a folder; it was moved aside as \"%2\" and the settings start afresh.")
          .arg(file, kept);
    case Refusal::NotRegular:
      return QStringLiteral("The settings file \"%1\" is not a regular file; it was kept as \"%2\" and the settings start afresh.")
          .arg(file, kept);
    case Refusal::TooLarge:
      return QStringLiteral("The settings file \"%1\" is larger than 1 MB; it was kept as \"%2\" and the settings start afresh.")
          .arg(file, kept);
    case Refusal::None:
    case Refusal::Damaged: break;
  }
  return QStringLiteral("The settings file \"%1\" could not be read; it was kept as \"%2\" and the settings start afresh.")
      .arg(file, kept);
}

}  // namespace

struct SettingsStore::Impl {
  QString key;
  QString folder;
  QByteArray folderPath;
  QByteArray filePath;
  QByteArray lockPath;

  // The values of the file last read or written, which is kept open: while
  // it is open its inode cannot be reused, so an unchanged identity means an
  // unchanged file and a read costs one stat(). Its bytes are kept for a
  // copy asked for later.
  Values values;
  QByteArray heldBytes;
  FileDescriptor heldFile;
  struct stat heldState {};

  // The last copy KeepCopy made, and the state of the file it copied.
  QByteArray keptCopy;
  struct stat keptState {};

  // The lines that could not be read in a file kept aside whose other
  // values were kept, until someone takes them.
  std::vector<settings_text::DamagedLine> damagedLines;

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
    heldBytes.clear();
    heldFile.Reset();
  }

  // Reads the whole file, at most one byte past the limit.
  QByteArray ReadAll(int fd) const {
    QByteArray bytes;
    char buffer[8192];
    while (bytes.size() <= MaxFileBytes) {
      const ssize_t got = ::read(fd, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) FailOnFile("read", errno);
      if (got == 0) break;
      bytes.append(buffer, got);
    }
    return bytes;
  }

  // Brings `values` up to the file on disk. With `locked`, the caller holds
  // the writers' lock, and a file that cannot be used is moved aside at once.
  void Sync(bool locked) {
    struct stat current {};
    if (::stat(filePath.constData(), &current) != 0) {
      const int error = errno;
      // ENOTDIR: something other than a folder stands where the folder goes,
      // so there is no file either; the first write reports it.
      struct stat link {};
      if (error == ENOENT || error == ENOTDIR) {
        Forget();
        return;
      }
      // A link that loops or leads nowhere readable: the name is taken.
      if (error != ELOOP || ::lstat(filePath.constData(), &link) != 0) FailOnFile("read", error);
      Refuse(locked, Refusal::NotRegular);
      return;
    }
    if (heldFile.IsOpen() && SameFileState(current, heldState)) return;

    Refusal why = RefusalFor(current);
    if (why == Refusal::None) {
      // Non-blocking: a pipe put there after the stat must not hang the start.
      FileDescriptor fd(::open(filePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
      if (!fd.IsOpen()) {
        if (errno != ENOENT && errno != ENOTDIR) FailOnFile("read", errno);
        Forget();
        return;
      }
      struct stat opened {};
      if (::fstat(fd.Get(), &opened) != 0) FailOnFile("read", errno);
      why = RefusalFor(opened);
      if (why == Refusal::None) {
        QByteArray bytes = ReadAll(fd.Get());
        if (bytes.size() > MaxFileBytes) {
          why = Refusal::TooLarge;
        } else {
          settings_text::ParsedLines parsed = settings_text::ParseLines(bytes);
          if (parsed.damaged.empty()) {
            values = std::move(parsed.values);
            heldBytes = std::move(bytes);
            heldFile = std::move(fd);
            heldState = opened;
            return;
          }
          why = Refusal::Damaged;
          if (locked && !parsed.values.empty()) {
            KeepWhatReads(std::move(parsed));
            return;
          }
        }
      }
    }
    Refuse(locked, why);
  }

  void Refuse(bool locked, Refusal why) {
    if (!locked) {
      // Another program may be replacing or moving the file right now; only
      // a file that is still unusable under the lock is moved aside.
      ExclusiveLock lock(lockPath);
      Sync(true);
      return;
    }
    const QByteArray kept = KeepAside();
    undelivered << RefusalNotice(why, NativePath(filePath), NativePath(kept));
    Forget();
  }

  // Under the lock: a file with damaged lines among good ones is moved aside
  // whole, and a file of the values that read takes its place, so a damaged
  // line costs its own value only. The copy made for the restore is the file
  // as it was: the moved one.
  void KeepWhatReads(settings_text::ParsedLines parsed) {
    const QByteArray kept = KeepAside();
    undelivered << PartlyDamagedNotice(NativePath(filePath), NativePath(kept), parsed.damaged);
    damagedLines.insert(damagedLines.end(), parsed.damaged.begin(), parsed.damaged.end());
    Forget();
    PutValues(std::move(parsed.values));
    keptCopy = kept;
    keptState = heldState;
  }

  // A name beside the file for a kept one, unused so far.
  QByteArray FreeKeptName() const {
    const QByteArray stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")).toLatin1();
    QByteArray kept = folderPath + '/' + DamagedPrefix + stamp;
    struct stat existing {};
    for (int n = 2; ::lstat(kept.constData(), &existing) == 0; ++n) {
      kept = folderPath + '/' + DamagedPrefix + stamp + '-' + QByteArray::number(n);
    }
    return kept;
  }

  // Moves the file aside under a new name, which it returns.
  QByteArray KeepAside() {
    const QByteArray kept = FreeKeptName();
    // rename() moves a link itself, not what it leads to, and a folder whole.
    if (::rename(filePath.constData(), kept.constData()) != 0) {
      // Writing now would overwrite it: refuse until the user moves it.
      throw ScopeError(QStringLiteral("The settings file '%1' could not be read and could not be kept aside: %2")
                           .arg(NativePath(filePath), SystemError(errno)));
    }
    // The file is moved either way; a failed folder sync only means the move
    // might be undone by a power cut, and the next start would find it again.
    FileDescriptor dir(::open(folderPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.IsOpen()) ::fsync(dir.Get());
    return kept;
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

  // Writes `content` to a new temporary file beside the store's, flushed to
  // the disk, and renames it to `target`. The open temporary is returned.
  FileDescriptor PutInPlace(const QByteArray& content, const QByteArray& target) const {
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
    if (::rename(temporaryPath.constData(), target.constData()) != 0) fail(errno);
    return fd;
  }

  void MakeFolder() const {
    if (!QDir().mkpath(folder)) {
      throw ScopeError(QStringLiteral("Cannot create the settings folder '%1'").arg(QDir::toNativeSeparators(folder)));
    }
  }

  void Write(const std::vector<NamedValue>& changes) {
    MakeFolder();
    ExclusiveLock lock(lockPath);
    Sync(true);
    RemoveLeftoverTemporaries();

    Values next = values;
    bool changed = false;
    for (const NamedValue& change : changes) changed = settings_text::Set(next, change.name, change.value) || changed;
    if (!changed) return;  // already on disk
    PutValues(std::move(next));
  }

  // Under the lock: `next` becomes the file and the values held.
  void PutValues(Values next) {
    QByteArray content = settings_text::Format(key, next);
    FileDescriptor fd = PutInPlace(content, filePath);

    // The rename changes the file's ctime, so take its identity afresh.
    struct stat written {};
    if (::fstat(fd.Get(), &written) != 0) FailOnFile("write", errno);
    values = std::move(next);
    heldBytes = std::move(content);
    heldFile = std::move(fd);
    heldState = written;
    SyncFolder();
  }

  QString KeepCopy() {
    MakeFolder();
    ExclusiveLock lock(lockPath);
    Sync(true);
    if (!heldFile.IsOpen()) return QString();
    struct stat existing {};
    if (!keptCopy.isEmpty() && SameFileState(heldState, keptState) && ::lstat(keptCopy.constData(), &existing) == 0) {
      return NativePath(keptCopy);
    }
    const QByteArray kept = FreeKeptName();
    PutInPlace(heldBytes, kept);
    SyncFolder();
    keptCopy = kept;
    keptState = heldState;
    return NativePath(kept);
  }

  // A copy: the callback run after it may change the values.
  std::optional<Value> Find(const QString& name) {
    Sync(false);
    const auto found = values.find(settings_text::Folded(name));
    if (found == values.end()) return std::nullopt;
    return found->second.value;
  }
};

SettingsStore::SettingsStore(const QString& key) : d(std::make_unique<Impl>()) {
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
}

SettingsStore::~SettingsStore() = default;

std::int32_t SettingsStore::ReadInteger(const QString& name) {
  const std::optional<Value> value = d->Run([&] { return d->Find(name); });
  if (!value) throw StoredValueError(QStringLiteral("Failed to get data for '%1'").arg(name));
  const auto* number = std::get_if<std::int32_t>(&*value);
  if (!number) throw StoredValueError(QStringLiteral("Invalid data type for '%1'").arg(name));
  return *number;
}

QString SettingsStore::ReadString(const QString& name) {
  const std::optional<Value> value = d->Run([&] { return d->Find(name); });
  if (!value) return QString();
  const auto* text = std::get_if<QString>(&*value);
  if (!text) throw StoredValueError(QStringLiteral("Invalid data type for '%1'").arg(name));
  return *text;
}

bool SettingsStore::ReadBool(const QString& name) { return ReadInteger(name) != 0; }

bool SettingsStore::ValueExists(const QString& name) {
  return d->Run([&] { return d->Find(name); }).has_value();
}

void SettingsStore::WriteInteger(const QString& name, std::int32_t value) {
  d->Run([&] { d->Write({{name, value}}); });
}

void SettingsStore::WriteString(const QString& name, const QString& value) {
  d->Run([&] { d->Write({{name, value}}); });
}

void SettingsStore::WriteBool(const QString& name, bool value) {
  d->Run([&] { d->Write({{name, std::int32_t{value ? 1 : 0}}}); });
}

void SettingsStore::WriteValues(const std::vector<NamedValue>& values) {
  d->Run([&] { d->Write(values); });
}

QString SettingsStore::KeepCopy() {
  return d->Run([&] { return d->KeepCopy(); });
}

QString SettingsStore::FilePath() const { return NativePath(d->filePath); }

std::optional<settings_text::Value> SettingsStore::Read(const QString& name) {
  return d->Run([&] { return d->Find(name); });
}

std::vector<settings_text::DamagedLine> SettingsStore::TakeDamagedLines() {
  return std::exchange(d->damagedLines, {});
}

QString SettingsStore::TakeDamageNotice() { return std::exchange(d->pendingNotice, QString()); }

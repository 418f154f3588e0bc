#include "core/MeasurementLog.h"

#include "core/LogLine.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace core {

namespace {

// The first line of a file, without its line end; `complete` when a line
// end followed it. A header longer than this is not ours anyway.
constexpr std::size_t LongestHeader = 4096;

struct FirstLine {
  QByteArray text;
  bool complete = false;
};

FirstLine FirstLineOf(int fd) {
  QByteArray head(static_cast<int>(LongestHeader), '\0');
  const ssize_t got = ::pread(fd, head.data(), LongestHeader, 0);
  head.truncate(got > 0 ? static_cast<int>(got) : 0);
  const int end = head.indexOf('\n');
  FirstLine first{end >= 0 ? head.left(end) : head, end >= 0};
  if (first.text.endsWith('\r')) first.text.chop(1);
  return first;
}

QString SystemMessage(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

}  // namespace

MeasurementLog::MeasurementLog(QObject* parent, int syncIntervalMs) : QObject(parent) {
  syncTimer_.setSingleShot(true);
  syncTimer_.setInterval(syncIntervalMs);
  connect(&syncTimer_, &QTimer::timeout, this, [this] { Sync(); });
}

MeasurementLog::~MeasurementLog() { Stop(); }

QString MeasurementLog::Start(const QString& path) {
  Stop();
  error_.clear();
  lines_ = 0;
  path_ = path;
  encodedPath_ = QFile::encodeName(path);
  pathSeen_.start();
  const QString shown = QDir::toNativeSeparators(path);
  const int fd = ::open(encodedPath_.constData(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return error_ = QStringLiteral("Cannot create file \"%1\". %2").arg(shown, SystemMessage(errno));
  struct stat st{};
  ::fstat(fd, &st);
  fd_ = fd;
  device_ = st.st_dev;
  inode_ = st.st_ino;

  const QByteArray header = LogHeaderLine().toUtf8();
  // A device or a pipe has no first line to keep: the header goes first.
  const bool empty = !S_ISREG(st.st_mode) || st.st_size == 0;
  if (!empty) {
    const FirstLine first = FirstLineOf(fd);
    if (first.text != header) {
      Close();
      return error_ = QStringLiteral("The file \"%1\" is not a measurement log: its first line names other columns. "
                                     "Choose a new or empty file, or a log of the same columns.")
                          .arg(shown);
    }
    // A line cut off (the power went while it was written) ends there,
    // and the new lines start on a line of their own.
    char last = '\n';
    if (::pread(fd, &last, 1, st.st_size - 1) == 1 && last != '\n' && !WriteLine(QByteArray())) return error_;
  } else if (!WriteLine(header)) {
    return error_;
  }
  if (!Sync()) return error_;
  return {};
}

bool MeasurementLog::Append(const Record& record, const std::array<ChannelReadings, 2>& readings) {
  if (!Logging()) return false;
  if (!StillThere()) {
    Fail(QStringLiteral("the file is no longer there"), 0);
    return false;
  }
  if (!WriteLine(LogRecordLine(record, readings).toUtf8())) return false;
  ++lines_;
  if (!syncTimer_.isActive()) syncTimer_.start();
  return true;
}

void MeasurementLog::Stop() {
  if (!Logging()) return;
  Sync();
  Close();
}

bool MeasurementLog::WriteLine(QByteArray line) {
  line += '\n';
  const QByteArray& bytes = line;
  qsizetype written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.constData() + written, static_cast<std::size_t>(bytes.size() - written));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int error = n < 0 ? errno : ENOSPC;
      // A line that fails half way is taken back, so the file still parses.
      // The file is opened to append: what was written of the line is its
      // end, so where the line began is asked only now, not for every line.
      const off_t end = written > 0 ? ::lseek(fd_, 0, SEEK_END) : -1;
      if (end >= written && ::ftruncate(fd_, end - written) != 0) {
        // Nothing more to do: the message below says the log stopped.
      }
      Fail(QStringLiteral("cannot write to the file"), error);
      return false;
    }
    written += n;
  }
  return true;
}

bool MeasurementLog::Sync() {
  syncTimer_.stop();
  if (!Logging()) return false;
  if (::fsync(fd_) != 0 && errno != EINVAL) {
    // EINVAL: a device such as a terminal cannot be synced, and need not be.
    Fail(QStringLiteral("cannot write to the file"), errno);
    return false;
  }
  ++syncs_;
  return true;
}

bool MeasurementLog::StillThere() {
  // The open file itself says whether it was deleted, without the walk down
  // its path a record; whether the path still names it is asked once a
  // second.
  struct stat st{};
  if (::fstat(fd_, &st) != 0 || (S_ISREG(st.st_mode) && st.st_nlink == 0)) return false;
  if (pathSeen_.elapsed() < PathCheckIntervalMs) return true;
  if (::stat(encodedPath_.constData(), &st) != 0) return false;
  if (st.st_dev != device_ || st.st_ino != inode_) return false;
  pathSeen_.start();
  return true;
}

void MeasurementLog::Fail(const QString& what, int error) {
  error_ = QStringLiteral("Logging to \"%1\" stopped after %2 lines: %3.")
               .arg(QDir::toNativeSeparators(path_))
               .arg(lines_)
               .arg(what);
  if (error != 0) error_ += QLatin1Char(' ') + SystemMessage(error);
  Close();
  Q_EMIT stopped(error_);
}

void MeasurementLog::Close() {
  syncTimer_.stop();
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

}  // namespace core

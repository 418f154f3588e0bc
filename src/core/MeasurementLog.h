#pragma once
// The measurement log: one CSV line per record appended to a file, the
// columns of tessaron-log (core/LogLine), for hours on end. The header is
// written once, into a new or empty file; a file that already holds the
// header gets its lines after the ones there; a file with anything else on
// its first line is refused, so a log never runs on into another file.
//
// Each line goes to the file with one write as its record arrives, so a
// killed program loses nothing that was appended; the file is synced to the
// disk at most SyncIntervalMs after a line, so a power loss costs at most
// the last ten seconds. A failure (a full disk, a vanished folder or
// stick, a read-only file system) stops the log with a message, returned
// and signalled, and never throws: acquisition goes on without it.

#include "core/Record.h"
#include "core/RecordReadings.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <cstdint>

namespace core {

class MeasurementLog : public QObject {
  Q_OBJECT

 public:
  static constexpr int SyncIntervalMs = 10000;
  // How long a file renamed away or replaced at its path (the stick pulled
  // out and another put in) may still be written to; a file deleted, or
  // with its folder, stops the log at the next line.
  static constexpr int PathCheckIntervalMs = 1000;

  explicit MeasurementLog(QObject* parent = nullptr, int syncIntervalMs = SyncIntervalMs);
  ~MeasurementLog() override;  // stops: synced and closed
  MeasurementLog(const MeasurementLog&) = delete;
  MeasurementLog& operator=(const MeasurementLog&) = delete;

  // Starts logging to `path` (a log already running is stopped first).
  // Empty when it runs, else the message why not.
  QString Start(const QString& path);
  // Appends the record's line. False when no log runs, or when this line
  // failed: the log has stopped then, with the message in Error() and in
  // `stopped`.
  bool Append(const Record& record, const std::array<ChannelReadings, 2>& readings);
  // Syncs and closes; the lines stay.
  void Stop();

  bool Logging() const { return fd_ >= 0; }
  const QString& Path() const { return path_; }
  // Lines appended since Start (the header and earlier lines not counted).
  std::int64_t Lines() const { return lines_; }
  // The message of the failure that stopped the last log; empty if none did.
  const QString& Error() const { return error_; }
  // Lines written and not yet synced wait for the sync timer.
  bool SyncPending() const { return syncTimer_.isActive(); }
  int Syncs() const { return syncs_; }

 Q_SIGNALS:
  // The log stopped on a failure; `message` says what and how far it came.
  void stopped(const QString& message);

 private:
  bool WriteLine(QByteArray line);
  bool Sync();
  bool StillThere();
  void Fail(const QString& what, int error);
  void Close();

  int fd_ = -1;
  QString path_;
  std::int64_t lines_ = 0;
  QString error_;
  int syncs_ = 0;
  // The file as opened, to see that it is still the file at its path.
  std::uint64_t device_ = 0, inode_ = 0;
  QByteArray encodedPath_;
  // When the path was last seen to name the file.
  QElapsedTimer pathSeen_;
  QTimer syncTimer_;
};

}  // namespace core

#pragma once
// A real tessaron-sim process from the bin folder, serving a pseudo-terminal
// behind a link that stays at one path across restarts, as a replugged
// instrument comes back under its udev name, with the log of every frame it
// received.

#include "app/Paths.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <stdexcept>

class SimProcess {
 public:
  SimProcess() {
    if (!dir_.isValid()) throw std::runtime_error("no temporary folder");
  }
  ~SimProcess() { Kill(); }
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  // The stable path the scope is told to open.
  QString Link() const { return dir_.filePath(QStringLiteral("scope-link")); }
  // Each frame the instrument received, one line of hex per frame.
  QString LogPath() const { return dir_.filePath(QStringLiteral("frames.log")); }

  // Starts the simulator with extra options ("--fault", "silent", ...) and
  // returns once the link is in place.
  void Start(const QStringList& options = {}) {
    Kill();
    process_ = std::make_unique<QProcess>();
    process_->setProgram(ProgramPath(QStringLiteral("tessaron-sim")));
    process_->setArguments(options + QStringList{QStringLiteral("--link"), Link(),
                                                 QStringLiteral("--log"), LogPath()});
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_->start();
    // The link is made before the device path is printed.
    if (!process_->waitForStarted(10000) || !process_->waitForReadyRead(10000) ||
        !QFile::exists(Link()))
      throw std::runtime_error("tessaron-sim did not start");
  }

  // The instrument vanishing at once, as when the cable is pulled: opening
  // its path fails with "no such file", as for a device node udev removed.
  // The link goes before the process: left behind, it would name a freed
  // pseudo-terminal whose number the next one opened on the machine takes
  // (another test's instrument, with tests running side by side), and the
  // scope would open that one.
  void Kill() {
    if (!process_) return;
    QFile::remove(Link());
    process_->kill();
    process_->waitForFinished(10000);
    process_.reset();
  }

  // Every frame the instrument received, in order, as its hex line:
  // "AA 61 F3 1C 00 D0 08 ED 03" for a capture command, "FF" for a stop byte.
  QList<QByteArray> Frames() const {
    QFile log(LogPath());
    QList<QByteArray> frames;
    if (!log.open(QIODevice::ReadOnly)) return frames;
    for (const QByteArray& line : log.readAll().split('\n')) {
      const QByteArray frame = line.trimmed();
      if (!frame.isEmpty()) frames.push_back(frame);
    }
    return frames;
  }
  static bool IsCommand(const QByteArray& frame) { return frame.startsWith("AA "); }
  static bool IsStop(const QByteArray& frame) { return frame == "FF"; }
  int Commands() const {
    int count = 0;
    for (const QByteArray& f : Frames()) count += IsCommand(f) ? 1 : 0;
    return count;
  }
  // The frames with each capture command shown as "AA" alone: the order of
  // commands and stop bytes on the wire.
  QByteArray Wire() const {
    QByteArrayList kinds;
    for (const QByteArray& f : Frames()) kinds.push_back(IsCommand(f) ? QByteArray("AA") : f);
    return kinds.join(' ');
  }

  // How many identify queries reached the instrument.
  int IdentifyQueries() const {
    int count = 0;
    for (const QByteArray& f : Frames()) count += f == "3F" ? 1 : 0;
    return count;
  }

 private:
  QTemporaryDir dir_;
  std::unique_ptr<QProcess> process_;
};

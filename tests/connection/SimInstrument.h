#pragma once
// A real tessaron-sim process from the bin folder, serving a pseudo-terminal
// behind a link that stays at one path across restarts, as a replugged
// instrument comes back under its udev name.

#include "app/Paths.h"

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <stdexcept>

class SimInstrument {
 public:
  SimInstrument() {
    if (!dir_.isValid()) throw std::runtime_error("no temporary folder");
  }
  ~SimInstrument() { Kill(); }

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

  // The instrument vanishing at once, as when the cable is pulled: the link
  // is left behind, pointing at a device that no longer exists.
  void Kill() {
    if (!process_) return;
    process_->kill();
    process_->waitForFinished(10000);
    process_.reset();
  }

  // How many identify queries reached the instrument.
  int IdentifyQueries() const {
    QFile log(LogPath());
    if (!log.open(QIODevice::ReadOnly)) return 0;
    int count = 0;
    for (const QByteArray& line : log.readAll().split('\n'))
      if (line.trimmed() == "3F") ++count;
    return count;
  }

 private:
  QTemporaryDir dir_;
  std::unique_ptr<QProcess> process_;
};

#pragma once
// The instrument for the run/stop tests and the capture benchmark: a real
// tessaron-sim process from the bin folder, serving a pseudo-terminal, with
// the log of every frame it received. Tests act during a pending capture
// through the Script of support/StepScript.h.

#include "app/Paths.h"
#include "support/StepScript.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

class RunStopSim {
 public:
  // Starts tessaron-sim with the given options and returns once its device
  // exists.
  explicit RunStopSim(const QStringList& options = {}) {
    if (!dir_.isValid()) throw std::runtime_error("no temporary folder");
    process_.setProgram(ProgramPath(QStringLiteral("tessaron-sim")));
    process_.setArguments(options + QStringList{QStringLiteral("--link"), Link(),
                                                QStringLiteral("--log"), LogPath()});
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start();
    if (!process_.waitForStarted(10000) || !process_.waitForReadyRead(10000) ||
        !QFile::exists(Link()))
      throw std::runtime_error("tessaron-sim did not start");
  }
  ~RunStopSim() {
    process_.terminate();
    if (!process_.waitForFinished(10000)) {
      process_.kill();
      process_.waitForFinished(10000);
    }
  }
  RunStopSim(const RunStopSim&) = delete;
  RunStopSim& operator=(const RunStopSim&) = delete;

  std::string Device() const { return Link().toStdString(); }

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

 private:
  QString Link() const { return dir_.filePath(QStringLiteral("scope-link")); }
  QString LogPath() const { return dir_.filePath(QStringLiteral("frames.log")); }

  QTemporaryDir dir_;
  QProcess process_;
};

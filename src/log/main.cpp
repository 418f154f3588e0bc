// tessaron-log: captures from the instrument with the stored front panel,
// one CSV line of readings per record, on the core alone (no widgets, no
// QtGui). Ctrl+C ends after the record in progress with the stop byte sent;
// an instrument that goes away ends it with a message and status 1.

#include "app/Errors.h"
#include "core/LogLine.h"
#include "core/RecordReadings.h"
#include "core/ScopeLink.h"
#include "core/StoredPanel.h"
#include "log/LogOptions.h"
#include "storage/SettingsStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QTextStream>
#include <QTimer>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <optional>

namespace {

// How long the instrument has to answer the first identify query before
// the logger gives up on the port.
constexpr int FirstAnswerMs = 5000;

int interruptPipe[2] = {-1, -1};

void OnInterrupt(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(interruptPipe[1], &byte, 1);
}

void Tell(const QString& text) {
  std::fputs(qPrintable(text), stderr);
  std::fputc('\n', stderr);
}

// Reads the front panel the records are taken with: the stored one, or a
// settings file's. Empty after a message when neither can be read.
std::optional<core::PanelSettings> PanelToLog(const scope_log::LogOptions& options) {
  try {
    SettingsStore store;
    core::PanelSettings panel = options.settings.isEmpty() ? core::PanelFromStore(store)
                                                           : core::PanelFromSettingsFile(options.settings, store);
    // Records are taken one after the other until the count, the time or
    // Ctrl+C ends them, whatever mode the panel was left in.
    panel.SetContinuous(true);
    return panel;
  } catch (const ScopeError& error) {
    Tell(error.Message());
    return std::nullopt;
  }
}

// Opens where the lines go (the named file, or standard output) and writes
// the header; false after a message when the file cannot be created.
bool OpenLines(const scope_log::LogOptions& options, QFile& out) {
  if (options.out.isEmpty()) {
    if (!out.open(stdout, QIODevice::WriteOnly | QIODevice::Text)) return false;
  } else {
    out.setFileName(options.out);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
      Tell(QStringLiteral("Cannot create file \"%1\". %2").arg(options.out, out.errorString()));
      return false;
    }
  }
  QTextStream(&out) << core::LogHeaderLine() << '\n';
  return true;
}

// Ctrl+C and SIGTERM write a byte to a pipe that the event loop watches, so
// that the record in progress can end with the stop byte sent.
bool CatchInterrupts() {
  if (::pipe2(interruptPipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  struct sigaction action{};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
  return true;
}

// One run of the logger: the link watched, RUN once the instrument is there,
// a line a record, and the end by the count, the time, Ctrl+C or the
// instrument gone.
class LogSession {
 public:
  LogSession(const scope_log::LogOptions& options, const core::PanelSettings& panel, QFile& out)
      : options_(options), lines_(&out) {
    link_.SetPanel(panel);
    link_.SetPortName(options.port);
    QObject::connect(&link_, &core::ScopeLink::connectionChanged, &link_, [this](bool connected) {
      if (connected && !link_.Running() && !finishing_ && !done_) link_.Run();
    });
    QObject::connect(&link_, &core::ScopeLink::recordReceived, &link_,
                     [this](const core::Record& record) { Write(record); });
    QObject::connect(&link_, &core::ScopeLink::stopped, &link_, [this](core::ScopeLink::StopReason reason) {
      if (reason == core::ScopeLink::StopReason::DeviceGone) {
        Tell(QStringLiteral("The instrument on %1 has gone away.").arg(options_.port));
        Finish(1);
        return;
      }
      Finish(0);
    });
    QObject::connect(&interrupts_, &QSocketNotifier::activated, &link_, [this] { Interrupted(); });
    if (options.seconds > 0.0)
      QTimer::singleShot(static_cast<int>(options.seconds * 1000.0), &link_, [this] { EndAfterThisRecord(); });
    QTimer::singleShot(FirstAnswerMs, &link_, [this] {
      if (link_.DeviceFound() || link_.Running() || done_) return;
      Tell(QStringLiteral("No instrument answers on %1.").arg(options_.port));
      Finish(1);
    });
  }

  int Run() {
    link_.StartWatch();
    QCoreApplication::exec();
    lines_.flush();
    return status_;
  }

 private:
  void Write(const core::Record& record) {
    try {
      lines_ << core::LogRecordLine(record, core::ReadingsOf(record)) << '\n';
    } catch (const ScopeError& error) {
      Tell(error.Message());
    }
    lines_.flush();
    ++taken_;
    if (finishing_ || (options_.count > 0 && taken_ >= options_.count)) link_.Stop();
  }

  void Interrupted() {
    char drained[16];
    while (::read(interruptPipe[0], drained, sizeof drained) > 0) {
    }
    // A second Ctrl+C does not wait for a record that may never come.
    if (finishing_ && link_.Running()) {
      link_.Stop();
      return;
    }
    EndAfterThisRecord();
  }

  void EndAfterThisRecord() {
    finishing_ = true;
    if (!link_.Running()) Finish(0);
  }

  void Finish(int exitStatus) {
    if (done_) return;
    done_ = true;
    status_ = exitStatus;
    link_.StopWatch();
    QTimer::singleShot(0, &link_, [] { QCoreApplication::quit(); });
  }

  const scope_log::LogOptions& options_;
  QTextStream lines_;
  core::ScopeLink link_;
  QSocketNotifier interrupts_{interruptPipe[0], QSocketNotifier::Read};
  int status_ = 0;
  int taken_ = 0;
  bool finishing_ = false;  // stop after the record in progress
  bool done_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("tessaron-log"));
  const scope_log::LogOptions options = scope_log::ParseLogOptions(app.arguments().mid(1));
  if (options.help) {
    std::fputs(qPrintable(scope_log::LogUsage()), stdout);
    return 0;
  }
  if (!options.error.isEmpty()) {
    Tell(options.error);
    std::fputs(qPrintable(scope_log::LogUsage()), stderr);
    return 2;
  }
  const std::optional<core::PanelSettings> panel = PanelToLog(options);
  if (!panel) return 2;
  QFile out;
  if (!OpenLines(options, out) || !CatchInterrupts()) return 2;
  LogSession session(options, *panel, out);
  return session.Run();
}

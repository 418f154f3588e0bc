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
#include <memory>

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

  core::PanelSettings panel;
  try {
    SettingsStore store;
    panel = options.settings.isEmpty() ? core::PanelFromStore(store)
                                       : core::PanelFromSettingsFile(options.settings, store);
  } catch (const ScopeError& error) {
    Tell(error.Message());
    return 2;
  }
  // Records are taken one after the other until the count, the time or
  // Ctrl+C ends them, whatever mode the panel was left in.
  panel.SetContinuous(true);

  QFile out;
  const bool toFile = !options.out.isEmpty();
  if (toFile) {
    out.setFileName(options.out);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
      Tell(QStringLiteral("Cannot create file \"%1\". %2").arg(options.out, out.errorString()));
      return 2;
    }
  } else if (!out.open(stdout, QIODevice::WriteOnly | QIODevice::Text)) {
    return 2;
  }
  QTextStream lines(&out);
  lines << core::LogHeaderLine() << '\n';
  lines.flush();

  if (::pipe2(interruptPipe, O_CLOEXEC | O_NONBLOCK) != 0) return 2;
  struct sigaction action{};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);

  core::ScopeLink link;
  link.SetPanel(panel);
  link.SetPortName(options.port);
  int status = 0;
  int taken = 0;
  bool finishing = false;  // stop after the record in progress
  bool done = false;
  const auto finish = [&](int exitStatus) {
    if (done) return;
    done = true;
    status = exitStatus;
    link.StopWatch();
    QTimer::singleShot(0, &app, [&] { QCoreApplication::exit(status); });
  };
  const auto endAfterThisRecord = [&] {
    finishing = true;
    if (!link.Running()) finish(0);
  };

  QObject::connect(&link, &core::ScopeLink::connectionChanged, &app, [&](bool connected) {
    if (connected && !link.Running() && !finishing && !done) link.Run();
  });
  QObject::connect(&link, &core::ScopeLink::recordReceived, &app, [&](const core::Record& record) {
    try {
      lines << core::LogRecordLine(record, core::ReadingsOf(record)) << '\n';
    } catch (const ScopeError& error) {
      Tell(error.Message());
    }
    lines.flush();
    ++taken;
    if (finishing || (options.count > 0 && taken >= options.count)) link.Stop();
  });
  QObject::connect(&link, &core::ScopeLink::stopped, &app, [&](core::ScopeLink::StopReason reason) {
    if (reason == core::ScopeLink::StopReason::DeviceGone) {
      Tell(QStringLiteral("The instrument on %1 has gone away.").arg(options.port));
      finish(1);
      return;
    }
    finish(0);
  });

  QSocketNotifier interrupts(interruptPipe[0], QSocketNotifier::Read);
  QObject::connect(&interrupts, &QSocketNotifier::activated, &app, [&] {
    char drained[16];
    while (::read(interruptPipe[0], drained, sizeof drained) > 0) {
    }
    // A second Ctrl+C does not wait for a record that may never come.
    if (finishing && link.Running()) {
      link.Stop();
      return;
    }
    endAfterThisRecord();
  });

  if (options.seconds > 0.0)
    QTimer::singleShot(static_cast<int>(options.seconds * 1000.0), &app, endAfterThisRecord);
  QTimer::singleShot(FirstAnswerMs, &app, [&] {
    if (link.DeviceFound() || link.Running() || done) return;
    Tell(QStringLiteral("No instrument answers on %1.").arg(options.port));
    finish(1);
  });

  link.StartWatch();
  const int result = app.exec();
  lines.flush();
  return result;
}

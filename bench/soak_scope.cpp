// A soak: continuous acquisition for a long time, resident memory sampled
// every minute. Not part of `make bench` (it runs an hour by default):
//
//   build/bin/soak_scope sim1 [MINUTES]      the built-in "SIM1" at its default
//                                            pace, in this process (default 60)
//   build/bin/soak_scope unpaced [MINUTES]   tessaron-sim --unpaced as its own
//                                            process (default 10); both
//                                            processes' memory is sampled
//
// Prints one line a minute (minute, records so far, RSS in kB of the scope and,
// for the second form, of the simulator) and at the end the growth after the
// first minute.
#include "ResidentMemory.h"
#include "acquisition/test_runstop_sim.h"
#include "app/Paths.h"
#include "support/ScopeWindow.h"

#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  QApplication app(argc, argv);
  const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("sim1");
  const bool unpaced = mode == QStringLiteral("unpaced");
  const int minutes = argc > 2 ? std::atoi(argv[2]) : (unpaced ? 10 : 60);

  QTemporaryDir simDir;
  QProcess simProcess;
  ScopeWindow w(true, /*stopWatch=*/true);
  if (unpaced) {
    const QString link = simDir.filePath(QStringLiteral("scope-link"));
    simProcess.start(ProgramPath(QStringLiteral("tessaron-sim")),
                     {QStringLiteral("--unpaced"), QStringLiteral("--link"), link});
    if (!simProcess.waitForStarted() || !simProcess.waitForReadyRead(10000)) return 1;
    if (!w->SerialPort.Open(link.toStdString(), "9600", "NONE", "8", false)) return 1;
  } else if (!w->SerialPort.Open("SIM1", "9600", "NONE", "8", false)) {
    return 1;
  }
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;
  scope.State().TimeBaseIndex = 3;
  scope.State().ChannelOn[1] = scope.State().ChannelOn[2] = 1;
  scope.State().AutoTrigger = 1;
  ScopeDriver(f).MenuItem(QStringLiteral("Continuous"))->trigger();

  const long long simPid = unpaced ? simProcess.processId() : -1;
  long firstScope = 0, firstSim = 0, lastScope = 0, lastSim = 0;
  int minute = 0;
  QTimer sample;
  QObject::connect(&sample, &QTimer::timeout, [&] {
    ++minute;
    lastScope = ResidentKb();
    lastSim = simPid > 0 ? ResidentKb(simPid) : 0;
    if (minute == 1) {
      firstScope = lastScope;
      firstSim = lastSim;
    }
    std::printf("minute %d records %llu scope_rss_kb %ld sim_rss_kb %ld\n", minute,
                static_cast<unsigned long long>(scope.State().HeldRecord.sequence), lastScope, lastSim);
    std::fflush(stdout);
    if (minute >= minutes) scope.PressRun();
  });
  sample.start(60000);
  QTimer::singleShot(0, [&] { ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger(); });
  WaitFor([&] { return minute >= minutes && scope.State().Running == 0 && scope.State().AwaitingData == 0; },
          (minutes + 1) * 60000);
  std::printf("growth after the first minute: scope %ld kB, simulator %ld kB, records %llu\n",
              lastScope - firstScope, lastSim - firstSim,
              static_cast<unsigned long long>(scope.State().HeldRecord.sequence));
  if (unpaced) {
    simProcess.terminate();
    simProcess.waitForFinished();
  }
  return 0;
}

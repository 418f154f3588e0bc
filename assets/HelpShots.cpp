// Takes the pictures of the help page from the program itself: the real main
// window, built offscreen on a fresh settings store, connected to the built-in
// simulated instrument, after one single capture.
//
//   help_shots <folder>    writes screen-main.png and screen-com-settings.png
//
// It runs from the folder of the programs, so it reads the same Grafics
// pictures as they do. Any error the window reports stops it with a message
// before it writes a picture, so a page never shows an error box. It does not
// fail the build over it: the page then lacks pictures, and the help page
// test, which checks every picture the page names, says so.

#include "window/TForm1.h"
#include "app/UiServices.h"
#include "window/UnitInit.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

bool WaitUntil(const std::function<bool()>& condition, int deadlineMs) {
  QElapsedTimer clock;
  clock.start();
  while (!condition()) {
    if (clock.elapsed() > deadlineMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(2);
  }
  return true;
}

int Fail(const char* what) {
  std::fprintf(stderr, "help_shots: %s; the help page is left without its pictures\n", what);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("Tessaron USB Oscilloscope"));
  if (argc != 2) {
    std::fprintf(stderr, "usage: help_shots <folder>\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  if (!QDir().mkpath(folder)) return Fail("cannot make the output folder");
  // Pictures of an earlier build must not stand in for ones this run fails to take.
  for (const QString& old : QDir(folder).entryList({QStringLiteral("screen-*.png")}, QDir::Files))
    QFile::remove(QDir(folder).filePath(old));

  // A store of its own: the pictures show the factory panel, not the
  // settings of whoever builds the program.
  QTemporaryDir config;
  if (!config.isValid()) return Fail("no temporary folder");
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));

  ScriptedUi ui;
  try {
    auto unit = InitializeUnit();
    TForm1 form(*unit, ui);
    form.CommandLinePort = QStringLiteral("SIM1");
    form.show();
    if (!WaitUntil([&] { return form.State().DeviceFound == 1; }, 20000))
      return Fail("the built-in simulator did not answer");
    form.Button5Click();  // the About panel shown at start
    // Both channels on, the knob on CH1, as a user sets up for two probes.
    form.SelectorKeyClick(TForm1::SelectorKey::Channel2);
    form.SelectorKeyClick(TForm1::SelectorKey::Channel1);
    form.findChild<QAction*>(QStringLiteral("Single"))->trigger();
    form.findChild<QAction*>(QStringLiteral("RUNSTOP"))->trigger();  // returns once the single capture is plotted
    if (!WaitUntil([&] { return form.State().Running == 0 && form.State().AwaitingData == 0 && form.State().PlotValid == 1; },
                   20000))
      return Fail("no capture came in");
    QCoreApplication::processEvents();
    if (!ui.errors.isEmpty()) return Fail(qPrintable(QStringLiteral("the window reported: ") + ui.errors.join(u'|')));
    if (!form.grab().save(folder + QStringLiteral("/screen-main.png"), "PNG"))
      return Fail("cannot write screen-main.png");

    form.findChild<QAction*>(QStringLiteral("COMSettings1"))->trigger();
    QCoreApplication::processEvents();
    if (!ui.errors.isEmpty()) return Fail(qPrintable(QStringLiteral("the window reported: ") + ui.errors.join(u'|')));
    if (!form.grab().save(folder + QStringLiteral("/screen-com-settings.png"), "PNG"))
      return Fail("cannot write screen-com-settings.png");
    form.Button4Click();
    form.close();
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
  return 0;
}

// tessaron-scope: start-up and shutdown of the program.
#include "app/Errors.h"
#include "app/Paths.h"
#include "window/TForm1.h"
#include "core/RecordHistory.h"
#include "app/UiServices.h"
#include "window/UnitInit.h"
#include "storage/SettingsStore.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// The options that only print and exit. They run without a display (in a
// terminal over ssh, in a package's checks), so no window system is opened
// for them.
bool OnlyPrints(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--") == 0) break;
    for (const char* option : {"-h", "--help", "--help-all", "-v", "--version", "--show-paths"})
      if (std::strcmp(argv[i], option) == 0) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const bool onlyPrints = OnlyPrints(argc, argv);
  const std::unique_ptr<QCoreApplication> application =
      onlyPrints ? std::make_unique<QCoreApplication>(argc, argv)
                 : std::make_unique<QApplication>(argc, argv);
  QCoreApplication& app = *application;
  QCoreApplication::setApplicationName(QStringLiteral("tessaron-scope"));
  QCoreApplication::setApplicationVersion(QStringLiteral(SCOPE_VERSION));
  if (!onlyPrints) QApplication::setApplicationDisplayName(QStringLiteral("Tessaron USB Oscilloscope"));

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Front end of the Tessaron USB Oscilloscope. With no instrument attached, choose the\n"
      "built-in simulated instrument SIM1 under Settings > COM Settings..."));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption portOption(
      QStringLiteral("port"),
      QStringLiteral("Use the serial device NAME for this run (for example /dev/ttyUSB0, a "
                     "tessaron-sim link path, or SIM1); saved at close like a choice in the panel."),
      QStringLiteral("NAME"));
  parser.addOption(portOption);
  const QCommandLineOption historyOption(
      QStringLiteral("history"),
      QStringLiteral("Keep the last N complete records (10 to 1000, 100 unless given) to step back "
                     "through with Records > Previous Record."),
      QStringLiteral("N"));
  parser.addOption(historyOption);
  const QCommandLineOption pathsOption(
      QStringLiteral("show-paths"),
      QStringLiteral("Print where the pictures and the help page are read from and where the "
                     "settings are kept, then exit."));
  parser.addOption(pathsOption);
  parser.process(app);

  if (parser.isSet(pathsOption)) {
    const SettingsStore store;
    std::printf("pictures: %s\nhelp: %s\nsettings: %s\n",
                qPrintable(ProgramPath(QStringLiteral("Grafics\\"))), qPrintable(HelpPagePath()),
                qPrintable(store.FilePath()));
    return 0;
  }
  if (onlyPrints) {
    // A printing option taken as the value of another, as in "--port --version".
    std::fprintf(stderr, "tessaron-scope: an option that prints was given as a value; see --help\n");
    return 2;
  }

  int historyRecords = core::RecordHistory::DefaultCapacity;
  if (parser.isSet(historyOption)) {
    bool number = false;
    historyRecords = parser.value(historyOption).toInt(&number);
    if (!number || historyRecords < core::RecordHistory::MinCapacity ||
        historyRecords > core::RecordHistory::MaxCapacity) {
      std::fprintf(stderr, "tessaron-scope: --history takes a number of records from %d to %d\n",
                   core::RecordHistory::MinCapacity, core::RecordHistory::MaxCapacity);
      return 2;
    }
  }

  // Before any window: the off-screen bitmaps, the settings store and the
  // graticule. A graticule that cannot be read ends the program here.
  std::unique_ptr<ScopeUnit> unit;
  try {
    unit = InitializeUnit();
  } catch (const std::exception& e) {
    const QString text = ErrorBoxText(QString::fromLocal8Bit(e.what()));
    std::fprintf(stderr, "tessaron-scope: %s\n", qPrintable(text));
    QMessageBox::critical(nullptr, QApplication::applicationDisplayName(), text);
    return 1;
  }

  DialogUi ui;
  int result = 0;
  {
    TForm1 form(*unit, ui);
    ui.SetParent(&form);
    form.CommandLinePort = parser.value(portOption);
    form.SetHistoryCapacity(historyRecords);
    form.show();
    result = app.exec();
  }
  return result;
}

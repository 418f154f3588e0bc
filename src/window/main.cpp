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
#include <optional>

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

// The options of a run with a window, and the one that prints where the
// program's files are.
struct StartOptions {
  QCommandLineOption port{QStringLiteral("port"),
                          QStringLiteral("Use the serial device NAME for this run (for example /dev/ttyUSB0, a "
                                         "tessaron-sim link path, or SIM1); saved at close like a choice in the panel."),
                          QStringLiteral("NAME")};
  QCommandLineOption history{QStringLiteral("history"),
                             QStringLiteral("Keep the last N complete records (10 to 1000, 100 unless given) to step back "
                                            "through with Records > Previous Record."),
                             QStringLiteral("N")};
  QCommandLineOption paths{QStringLiteral("show-paths"),
                           QStringLiteral("Print where the pictures and the help page are read from and where the "
                                          "settings are kept, then exit.")};

  void AddTo(QCommandLineParser& parser) const {
    parser.setApplicationDescription(QStringLiteral(
        "Front end of the Tessaron USB Oscilloscope. With no instrument attached, choose the\n"
        "built-in simulated instrument SIM1 under Settings > COM Settings..."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(port);
    parser.addOption(history);
    parser.addOption(paths);
  }
};

void ShowPaths() {
  const SettingsStore store;
  std::printf("pictures: %s\nhelp: %s\nsettings: %s\n", qPrintable(ProgramPath(QStringLiteral("Grafics\\"))),
              qPrintable(HelpPagePath()), qPrintable(store.FilePath()));
}

// The number of records the history keeps: the default, or --history's
// value; empty after a message when that is no number in the range.
std::optional<int> HistoryCapacity(const QCommandLineParser& parser, const QCommandLineOption& history) {
  if (!parser.isSet(history)) return core::RecordHistory::DefaultCapacity;
  bool number = false;
  const int records = parser.value(history).toInt(&number);
  if (number && records >= core::RecordHistory::MinCapacity && records <= core::RecordHistory::MaxCapacity)
    return records;
  std::fprintf(stderr, "tessaron-scope: --history takes a number of records from %d to %d\n",
               core::RecordHistory::MinCapacity, core::RecordHistory::MaxCapacity);
  return std::nullopt;
}

// Before any window: the off-screen bitmaps, the settings store and the
// graticule. A graticule that cannot be read ends the program here, with
// its message on the terminal and in a box.
std::unique_ptr<ScopeUnit> UnitOrMessage() {
  try {
    return InitializeUnit();
  } catch (const std::exception& e) {
    const QString text = ErrorBoxText(QString::fromLocal8Bit(e.what()));
    std::fprintf(stderr, "tessaron-scope: %s\n", qPrintable(text));
    QMessageBox::critical(nullptr, QApplication::applicationDisplayName(), text);
    return nullptr;
  }
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

  const StartOptions options;
  QCommandLineParser parser;
  options.AddTo(parser);
  parser.process(app);
  if (parser.isSet(options.paths)) {
    ShowPaths();
    return 0;
  }
  if (onlyPrints) {
    // A printing option taken as the value of another, as in "--port --version".
    std::fprintf(stderr, "tessaron-scope: an option that prints was given as a value; see --help\n");
    return 2;
  }
  const std::optional<int> historyRecords = HistoryCapacity(parser, options.history);
  if (!historyRecords) return 2;
  const std::unique_ptr<ScopeUnit> unit = UnitOrMessage();
  if (!unit) return 1;

  DialogUi ui;
  TForm1 form(*unit, ui);
  ui.SetParent(&form);
  form.CommandLinePort = parser.value(options.port);
  form.SetHistoryCapacity(*historyRecords);
  form.show();
  return app.exec();
}

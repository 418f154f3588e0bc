// The installed tree: cmake --install into a temporary DESTDIR, then the
// installed program run from another folder finds its graticule, pictures and
// help page under ../share/tessaron-scope/, and the desktop files pass the
// desktop's own validators.
#include "HelpPage.h"

#include "assets/ArtworkList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>
#include <string_view>

namespace {

struct Finished {
  int exitCode = -1;
  QString out;
  QString err;
};

Finished RunProgram(const QString& program, const QStringList& arguments, const QString& folder = {},
               const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
  QProcess process;
  process.setProcessEnvironment(env);
  if (!folder.isEmpty()) process.setWorkingDirectory(folder);
  process.start(program, arguments);
  Finished run;
  if (!process.waitForStarted(30000)) {
    run.err = process.errorString();
    return run;
  }
  process.closeWriteChannel();
  if (!process.waitForFinished(300000)) process.kill();
  run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
  run.err = QString::fromLocal8Bit(process.readAllStandardError());
  return run;
}

class Installed : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    stage_ = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(stage_->isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DESTDIR"), stage_->path());
    const Finished install = RunProgram(QStringLiteral(SCOPE_CMAKE),
                                   {QStringLiteral("--install"), QStringLiteral(SCOPE_BUILD_DIR),
                                    QStringLiteral("--prefix"), QStringLiteral("/usr")},
                                   {}, env);
    installOutput_ = install.out + install.err;
    installed_ = install.exitCode == 0;
  }
  static void TearDownTestSuite() { stage_.reset(); }

  void SetUp() override { ASSERT_TRUE(installed_) << installOutput_.toStdString(); }

  static QString Usr(const QString& relative) { return stage_->path() + QStringLiteral("/usr/") + relative; }
  static QString Data(const QString& relative) { return Usr(QStringLiteral("share/tessaron-scope/") + relative); }
  static QString Program() { return Usr(QStringLiteral("bin/tessaron-scope")); }

  // The environment of a user with a store of their own and no display.
  static QProcessEnvironment UserEnvironment(const QString& configHome) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
  }

  static std::unique_ptr<QTemporaryDir> stage_;
  static bool installed_;
  static QString installOutput_;
};

std::unique_ptr<QTemporaryDir> Installed::stage_;
bool Installed::installed_ = false;
QString Installed::installOutput_;

TEST_F(Installed, EveryFileIsWhereALinuxDesktopLooks) {
  for (const char* program : {"bin/tessaron-scope", "bin/tessaron-sim", "bin/tessaron-log"})
    EXPECT_TRUE(QFileInfo(Usr(QLatin1String(program))).isExecutable()) << program;
  for (const artwork::ArtworkFile& file : artwork::ArtworkFiles) {
    const QString path = Data(QString::fromLatin1(file.path.data(), qsizetype(file.path.size())));
    EXPECT_TRUE(QFileInfo(path).isFile()) << path.toStdString();
  }
  const char* files[] = {
      "share/tessaron-scope/OscilloscopeHelp/OscilloscopeHelp.htm",
      "share/applications/com.tessaron.scope.desktop",
      "share/metainfo/com.tessaron.scope.metainfo.xml",
      "share/man/man1/tessaron-scope.1",
      "share/man/man1/tessaron-sim.1",
      "share/man/man1/tessaron-log.1",
  };
  for (const char* file : files) EXPECT_TRUE(QFileInfo(Usr(QLatin1String(file))).isFile()) << file;
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    SCOPED_TRACE(size);
    const QImage icon(Usr(QStringLiteral("share/icons/hicolor/%1x%1/apps/tessaron-scope.png").arg(size)));
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.size(), QSize(size, size));
  }
  // Nothing of the build: no tests, benchmarks or build tools.
  EXPECT_EQ(QDir(Usr(QStringLiteral("bin"))).entryList(QDir::Files),
            (QStringList{QStringLiteral("tessaron-log"), QStringLiteral("tessaron-scope"), QStringLiteral("tessaron-sim")}));
}

TEST_F(Installed, RunFromAnotherFolderItNamesItsInstalledData) {
  QTemporaryDir elsewhere;
  ASSERT_TRUE(elsewhere.isValid());
  // The printing options need no display at all (a terminal over ssh).
  QProcessEnvironment headless = UserEnvironment(elsewhere.path());
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) headless.remove(QLatin1String(name));
  for (const char* option : {"--version", "--help"}) {
    SCOPED_TRACE(option);
    const Finished printed = RunProgram(Program(), {QLatin1String(option)}, elsewhere.path(), headless);
    EXPECT_EQ(printed.exitCode, 0) << printed.err.toStdString();
    EXPECT_TRUE(printed.out.startsWith(QLatin1String(option == std::string_view("--version") ? "tessaron-scope " SCOPE_VERSION
                                                                                              : "Usage:")))
        << printed.out.toStdString();
  }

  const Finished paths = RunProgram(Program(), {QStringLiteral("--show-paths")}, elsewhere.path(),
                               UserEnvironment(elsewhere.path()));
  ASSERT_EQ(paths.exitCode, 0) << paths.err.toStdString();
  const QString expected = QStringLiteral("pictures: %1\nhelp: %2\nsettings: %3\n")
                               .arg(Data(QStringLiteral("Grafics/")),
                                    Data(QStringLiteral("OscilloscopeHelp/OscilloscopeHelp.htm")),
                                    elsewhere.path() + QStringLiteral("/TessaronInc/Veldrin/5.0/settings"));
  EXPECT_EQ(paths.out, expected);
}

TEST_F(Installed, TheProgramStartsOnItsInstalledPicturesWithoutAnError) {
  QTemporaryDir elsewhere;
  ASSERT_TRUE(elsewhere.isValid());
  QProcess program;
  program.setProcessEnvironment(UserEnvironment(elsewhere.path()));
  program.setWorkingDirectory(elsewhere.path());
  program.start(Program(), {QStringLiteral("--port"), QStringLiteral("SIM1")});
  ASSERT_TRUE(program.waitForStarted(30000));
  // A new user's store is filled before the first restore, which loads the
  // graticule, the knob faces, the keys and the markers; the connection
  // watch then shows its picture once a second.
  const QString store = elsewhere.path() + QStringLiteral("/TessaronInc/Veldrin/5.0/settings");
  for (int i = 0; i < 600 && !QFileInfo(store).isFile() && program.state() == QProcess::Running; ++i)
    program.waitForFinished(100);
  EXPECT_TRUE(QFileInfo(store).isFile());
  program.waitForFinished(4000);  // past the first ticks of the watch
  EXPECT_EQ(program.state(), QProcess::Running) << "exit code " << program.exitCode();
  program.terminate();
  if (!program.waitForFinished(10000)) program.kill();
  program.waitForFinished(10000);
  // Every error box is also written to standard error.
  const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
  EXPECT_FALSE(errors.contains(QLatin1String("tessaron-scope:"))) << errors.toStdString();
}

TEST_F(Installed, HelpPageLinksAndPicturesResolveThere) {
  const HelpPageWalk walk = WalkHelpPage(Data(QStringLiteral("OscilloscopeHelp/OscilloscopeHelp.htm")));
  EXPECT_TRUE(walk.problems.isEmpty()) << walk.problems.join(u'\n').toStdString();
  EXPECT_GE(walk.pictures, 2);
}

TEST_F(Installed, DesktopEntryAndMetainfoPassTheirValidators) {
  const QString desktop = Usr(QStringLiteral("share/applications/com.tessaron.scope.desktop"));
  const QString metainfo = Usr(QStringLiteral("share/metainfo/com.tessaron.scope.metainfo.xml"));
  for (const char* tool : {"desktop-file-validate", "appstreamcli"})
    ASSERT_FALSE(QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
        << tool << " is missing: scripts/deps.sh installs it";
  const Finished entry = RunProgram(QStringLiteral("desktop-file-validate"), {desktop});
  EXPECT_EQ(entry.exitCode, 0) << (entry.out + entry.err).toStdString();
  EXPECT_TRUE((entry.out + entry.err).trimmed().isEmpty()) << (entry.out + entry.err).toStdString();
  const Finished info = RunProgram(QStringLiteral("appstreamcli"),
                              {QStringLiteral("validate"), QStringLiteral("--no-net"),
                               QStringLiteral("--explain"), metainfo});
  EXPECT_EQ(info.exitCode, 0) << (info.out + info.err).toStdString();
}

TEST_F(Installed, MissingDataIsReportedAtItsInstalledPlace) {
  // Not the build tree's pictures, nor the current folder's: with the
  // installed Grafics folder gone, the program says which file it missed
  // (on standard error, then in a box that nobody answers offscreen).
  const QString grafics = Data(QStringLiteral("Grafics"));
  const QString aside = grafics + QStringLiteral(".aside");
  ASSERT_TRUE(QDir().rename(grafics, aside));
  QTemporaryDir elsewhere;
  QProcess program;
  program.setProcessEnvironment(UserEnvironment(elsewhere.path()));
  program.setWorkingDirectory(elsewhere.path());
  program.start(Program(), {});
  QString errors;
  if (program.waitForStarted(30000)) {
    for (int i = 0; i < 600 && !errors.contains(QLatin1String(".\n")) && program.state() == QProcess::Running;
         ++i) {
      program.waitForReadyRead(100);
      errors += QString::fromLocal8Bit(program.readAllStandardError());
    }
    program.kill();
    program.waitForFinished(10000);
    errors += QString::fromLocal8Bit(program.readAllStandardError());
  }
  ASSERT_TRUE(QDir().rename(aside, grafics));
  const QString expected = QStringLiteral("tessaron-scope: Cannot open file \"%1\". No such file or directory.\n")
                               .arg(Data(QStringLiteral("Grafics/Grid2.bmp")));
  EXPECT_TRUE(errors.contains(expected)) << errors.toStdString();
}

}  // namespace

// The real program killed while it writes its store never leaves a store
// that fails to load. A new user's program writes the whole default panel
// before its first restore; it is killed with SIGKILL or SIGTERM after a
// varied number of those values is on disk, and the next start (a window
// built on the same store) must restore without an error.

#include "RestoreFixture.h"

#include "storage/SettingsDefaults.h"
#include "storage/SettingsStore.h"
#include "support/ScopeWindow.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString ProgramFile() { return QCoreApplication::applicationDirPath() + QStringLiteral("/tessaron-scope"); }

int StoredRestoreValues(SettingsStore& store) {
  int count = 0;
  for (stored::Id id : settings_defaults::RestoreReads)
    if (store.ValueExists(stored::Name(id))) ++count;
  return count;
}

class KilledProgram : public RestoreFixture {
 protected:
  // Starts the program on the store under the config folder.
  static void Start(QProcess& program, const QString& configHome) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.setStandardOutputFile(QProcess::nullDevice());
    program.start(ProgramFile(), {});
    ASSERT_TRUE(program.waitForStarted(10000)) << program.errorString().toStdString();
  }
  static void Kill(QProcess& program, bool hard) {
    if (hard)
      program.kill();
    else
      program.terminate();
    ASSERT_TRUE(program.waitForFinished(10000));
  }
};

TEST_F(KilledProgram, DuringItsFirstFillLeavesAStoreThatRestores) {
  ASSERT_TRUE(QFileInfo(ProgramFile()).isExecutable()) << ProgramFile().toStdString();
  // Kill once this many of the restore's values are on disk (0: at once).
  const int killAfter[] = {0, 1, 2, 4, 7, 11, 16, 22, 27, 28};
  const int all = int(settings_defaults::RestoreReads.size());
  bool hard = true;
  for (int values : killAfter) {
    SCOPED_TRACE("killed after " + std::to_string(values) + " values, " + (hard ? "SIGKILL" : "SIGTERM"));
    QTemporaryDir round;
    ASSERT_TRUE(round.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(round.path()));
    {
      SettingsStore watch;  // reads only; sees each whole file the program renames in
      QProcess program;
      Start(program, round.path());
      ASSERT_TRUE(WaitFor([&] { return StoredRestoreValues(watch) >= values || program.state() != QProcess::Running; },
                          30000));
      Kill(program, hard);
      const int left = StoredRestoreValues(watch);
      RecordProperty("values_left_" + std::to_string(values), left);
      EXPECT_TRUE(watch.TakeDamageNotice().isEmpty());
      EXPECT_TRUE(left == 0 || left == all || watch.ReadInteger(QStringLiteral("FirstStartFillPending")) == 1)
          << left << " values left without the pending mark";
    }
    {
      ScopeWindow next(true, true, ScopeWindow::Store::FromEnvironment);
      EXPECT_TRUE(next.ui.errors.isEmpty()) << next.ui.errors.join(u'|').toStdString();
      EXPECT_TRUE(next.ui.messages.isEmpty()) << next.ui.messages.join(u'|').toStdString();
      EXPECT_TRUE(TForm1::Enabled(next.scope.Timer(QStringLiteral("AboutTimer")))) << "the restore did not run to its end";
      EXPECT_EQ(StoredRestoreValues(next->SettingsRegistry), all);
    }
    hard = !hard;
  }
}

TEST_F(KilledProgram, AtAnyMomentOfRepeatedRunsLeavesAStoreThatRestores) {
  // One store through many short lives of the program, each ended at a
  // different moment: while the unit starts, while the window is built,
  // while it fills the store or restores, while it idles.
  const int aliveMs[] = {0, 5, 20, 50, 100, 200, 400, 800};
  bool hard = false;
  for (int ms : aliveMs) {
    SCOPED_TRACE("killed after " + std::to_string(ms) + " ms, " + (hard ? "SIGKILL" : "SIGTERM"));
    QProcess program;
    Start(program, ConfigHome());
    // Not a wait for a condition: the kill is meant to land at a different
    // moment of the program's life each time.
    RunEventsFor(ms);
    Kill(program, hard);
    hard = !hard;
  }
  SettingsStore store;
  EXPECT_TRUE(store.TakeDamageNotice().isEmpty());
  ScopeWindow next(true, true, ScopeWindow::Store::FromEnvironment);
  EXPECT_TRUE(next.ui.errors.isEmpty()) << next.ui.errors.join(u'|').toStdString();
  EXPECT_TRUE(TForm1::Enabled(next.scope.Timer(QStringLiteral("AboutTimer")))) << "the restore did not run to its end";
}

}  // namespace

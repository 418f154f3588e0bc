// tessaron-log as a user runs it, against a real tessaron-sim: linked
// without widgets or QtGui, its command line, Ctrl+C after the record in
// progress with the stop byte sent, and an instrument that goes away.
#include <gtest/gtest.h>

#include "app/Paths.h"
#include "core/LogLine.h"
#include "log/LogOptions.h"
#include "support/QtPrint.h"
#include "support/SimProcess.h"
#include "support/WaitFor.h"

#include <QProcess>
#include <QTemporaryDir>

#include <signal.h>

namespace {

QString Log() { return ProgramPath(QStringLiteral("tessaron-log")); }

TEST(CoreLog, IsLinkedWithoutWidgetsOrGui) {
  QProcess ldd;
  ldd.start(QStringLiteral("ldd"), {Log()});
  ASSERT_TRUE(ldd.waitForFinished(10000));
  const QString libraries = QString::fromLocal8Bit(ldd.readAllStandardOutput());
  EXPECT_TRUE(libraries.contains(QLatin1String("libQt6Core"))) << libraries.toStdString();
  EXPECT_FALSE(libraries.contains(QLatin1String("Qt6Widgets"))) << libraries.toStdString();
  EXPECT_FALSE(libraries.contains(QLatin1String("Qt6Gui"))) << libraries.toStdString();
}

TEST(CoreLog, TheCommandLine) {
  struct Case {
    QStringList arguments;
    const char* error;
  };
  const Case cases[] = {
      {{"--port", "SIM1"}, ""},
      {{"--port", "SIM1", "--count", "3", "--out", "x.csv", "--settings", "s.txt"}, ""},
      {{"--count", "3"}, "--port NAME is needed."},
      {{"--port", "SIM1", "--count", "0"}, "'0' is not a valid count."},
      {{"--port", "SIM1", "--count", "x"}, "'x' is not a valid count."},
      {{"--port", "SIM1", "--seconds", "-1"}, "'-1' is not a valid number of seconds."},
      {{"--port", "SIM1", "--count", "2", "--seconds", "1"}, "--count and --seconds exclude each other."},
      {{"--port"}, "--port needs a value."},
      {{"--port", "SIM1", "--fast"}, "Unknown option '--fast'."},
  };
  for (const Case& c : cases)
    EXPECT_EQ(scope_log::ParseLogOptions(c.arguments).error, QString::fromLatin1(c.error)) << c.arguments.join(QLatin1Char(' ')).toStdString();
  const scope_log::LogOptions o =
      scope_log::ParseLogOptions({"--port", "/dev/ttyUSB0", "--seconds", "2.5", "--out", "x.csv"});
  EXPECT_EQ(o.port, "/dev/ttyUSB0");
  EXPECT_EQ(o.seconds, 2.5);
  EXPECT_EQ(o.out, "x.csv");
}

class LogRun : public ::testing::Test {
 protected:
  void StartLog(const QStringList& arguments) {
    log.setProgram(Log());
    log.setArguments(arguments);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    log.setProcessEnvironment(env);
    log.start();
    ASSERT_TRUE(log.waitForStarted(10000));
  }
  QStringList Lines() {
    output += QString::fromUtf8(log.readAllStandardOutput());
    return output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  }
  bool Finished() { return log.state() == QProcess::NotRunning; }

  QTemporaryDir config;
  SimProcess sim;
  QProcess log;
  QString output;
};

TEST_F(LogRun, CountRecordsOneLineEachAfterTheHeader) {
  sim.Start();
  StartLog({"--port", sim.Link(), "--count", "3"});
  ASSERT_TRUE(WaitFor([&] { return Finished(); }, 20000));
  EXPECT_EQ(log.exitCode(), 0) << log.readAllStandardError().toStdString();
  const QStringList lines = Lines();
  ASSERT_EQ(lines.size(), 4) << output.toStdString();
  EXPECT_EQ(lines[0], core::LogHeaderLine());
  for (int i = 1; i <= 3; ++i) {
    const QStringList fields = lines[i].split(QLatin1Char(','));
    EXPECT_EQ(fields.size(), 22) << lines[i].toStdString();
    EXPECT_TRUE(QDateTime::fromString(fields.value(0), Qt::ISODateWithMs).isValid()) << lines[i].toStdString();
    EXPECT_EQ(fields.value(1), QString::number(i));
  }
  // One command a record, then the stop byte after the last.
  ASSERT_TRUE(WaitFor([&] { return SimProcess::IsStop(sim.Frames().value(sim.Frames().size() - 1)); }));
  EXPECT_EQ(sim.Commands(), 3) << sim.Wire().toStdString();
}

TEST_F(LogRun, CtrlCEndsAfterTheRecordInProgressWithTheStopByte) {
  // A reply takes about 100 ms to come in.
  sim.Start({"--baud=330000"});
  StartLog({"--port", sim.Link()});
  ASSERT_TRUE(WaitFor([&] { return Lines().size() >= 2 && sim.Commands() >= 2; }, 20000));
  const int commandsAtInterrupt = sim.Commands();
  ::kill(static_cast<pid_t>(log.processId()), SIGINT);
  ASSERT_TRUE(WaitFor([&] { return Finished(); }, 20000));
  EXPECT_EQ(log.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(log.exitCode(), 0);
  // The record in progress was still written, and nothing was asked after it.
  const QStringList lines = Lines();
  EXPECT_EQ(lines.size() - 1, commandsAtInterrupt) << output.toStdString();
  ASSERT_TRUE(WaitFor([&] { return SimProcess::IsStop(sim.Frames().value(sim.Frames().size() - 1)); }));
  EXPECT_EQ(sim.Commands(), commandsAtInterrupt);
}

TEST_F(LogRun, AnInstrumentThatGoesAwayEndsItWithAMessageAndStatusOne) {
  sim.Start({"--ch1", "dc:0:0:0", "--ch2", "dc:0:0:0", "--baud=330000"});
  StartLog({"--port", sim.Link()});
  ASSERT_TRUE(WaitFor([&] { return sim.Commands() >= 1; }, 20000));
  sim.Kill();
  ASSERT_TRUE(WaitFor([&] { return Finished(); }, 20000));
  EXPECT_EQ(log.exitCode(), 1);
  EXPECT_TRUE(QString::fromLocal8Bit(log.readAllStandardError()).contains(QLatin1String("has gone away")));
}

TEST_F(LogRun, SIM1IsAPort) {
  StartLog({"--port", "SIM1", "--count", "1"});
  ASSERT_TRUE(WaitFor([&] { return Finished(); }, 20000));
  EXPECT_EQ(log.exitCode(), 0);
  EXPECT_EQ(Lines().size(), 2) << output.toStdString();
}

TEST_F(LogRun, NoInstrumentOnThePortIsStatusOne) {
  StartLog({"--port", config.filePath(QStringLiteral("nothing-here")), "--count", "1"});
  ASSERT_TRUE(WaitFor([&] { return Finished(); }, 20000));
  EXPECT_EQ(log.exitCode(), 1);
  EXPECT_TRUE(QString::fromLocal8Bit(log.readAllStandardError()).contains(QLatin1String("No instrument answers")));
}

}  // namespace

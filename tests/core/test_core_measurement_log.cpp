// The measurement log on real files: its lines are the readings' lines, a
// file that holds the header is continued and one with other columns
// refused, and a read-only folder, a full disk (a small tmpfs, or /dev/full
// where nothing can be mounted), a vanished folder and kill -9 each leave a
// message or a file that parses, while acquisition goes on.
#include <gtest/gtest.h>

#include "core/LogLine.h"
#include "core/MeasurementLog.h"
#include "core/PanelSettings.h"
#include "core/RecordReadings.h"
#include "core/ScopeLink.h"
#include "support/QtPrint.h"
#include "support/WaitFor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <cstring>
#include <memory>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

namespace {

using core::MeasurementLog;

// Both channels at 5 V/div, 100 us/div: a square wave of `period` samples.
core::Record Square(int period, std::uint64_t sequence) {
  core::PanelSettings p;
  p.SetChannelOn(1, true);
  p.SetChannelOn(2, true);
  p.SetTimeBase(3);
  core::Record r = core::DescribeRecord(p);
  for (std::size_t i = 1; i <= 3000; ++i)
    r.ch1[i] = r.ch2[i] = static_cast<int>(i - 1) % period < period / 2 ? 146 : 106;
  r.sequence = sequence;
  r.received = QDateTime::currentDateTime();
  return r;
}

bool Append(MeasurementLog& log, const core::Record& r) { return log.Append(r, core::ReadingsOf(r)); }
QString LineOf(const core::Record& r) { return core::LogRecordLine(r, core::ReadingsOf(r)); }

QByteArray Contents(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
QStringList LinesOf(const QString& path) {
  return QString::fromUtf8(Contents(path)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
void Write(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

// Every line after the header has the log's columns; the sequence numbers
// run without a gap.
void ExpectParses(const QStringList& lines) {
  ASSERT_FALSE(lines.isEmpty());
  EXPECT_EQ(lines[0], core::LogHeaderLine());
  for (int i = 1; i < lines.size(); ++i) {
    const QStringList fields = lines[i].split(QLatin1Char(','));
    ASSERT_EQ(fields.size(), 22) << "line " << i << ": " << lines[i].toStdString();
    EXPECT_EQ(fields[1], QString::number(i)) << lines[i].toStdString();
  }
}

// A tmpfs of its own, mounted where the test may (root); unmounted after.
class Tmpfs {
 public:
  explicit Tmpfs(const char* options, unsigned long flags = 0) {
    mounted_ = ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", flags, options) == 0;
  }
  ~Tmpfs() {
    if (mounted_) ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
  }
  bool Mounted() const { return mounted_; }
  QString FilePath(const QString& name) const { return dir_.filePath(name); }

 private:
  QTemporaryDir dir_;
  bool mounted_ = false;
};

TEST(MeasurementLog, EachLineIsTheRecordsReadingsWrittenAsItArrives) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("log.csv"));
  MeasurementLog log;
  ASSERT_EQ(log.Start(path), QString());
  EXPECT_TRUE(log.Logging());
  EXPECT_EQ(Contents(path), core::LogHeaderLine().toUtf8() + '\n');
  QStringList expected{core::LogHeaderLine()};
  for (int k = 1; k <= 5; ++k) {
    const core::Record r = Square(6 + 2 * k, static_cast<std::uint64_t>(k));
    ASSERT_TRUE(Append(log, r));
    expected << LineOf(r);
    // On the disk at once, not when the log closes.
    EXPECT_EQ(LinesOf(path), expected);
  }
  EXPECT_EQ(log.Lines(), 5);
  log.Stop();
  EXPECT_FALSE(log.Logging());
  EXPECT_FALSE(Append(log, Square(10, 6)));  // no log: nothing written
  EXPECT_EQ(LinesOf(path), expected);
  ExpectParses(expected);
}

TEST(MeasurementLog, AHundredRecordsOfTheSimulatorGiveAHundredLinesOfTheirReadings) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("hundred.csv"));
  MeasurementLog log;
  ASSERT_EQ(log.Start(path), QString());
  core::ScopeLink link;
  ASSERT_TRUE(link.Port().Open("SIM1", "9600", "NONE", "8", false));
  core::PanelSettings p;
  p.SetChannelOn(1, true);
  p.SetChannelOn(2, true);
  p.SetContinuous(true);
  link.SetPanel(p);
  QStringList expected{core::LogHeaderLine()};
  QObject::connect(&link, &core::ScopeLink::recordReceived, [&](const core::Record& r) {
    if (expected.size() > 100) return;
    ASSERT_TRUE(Append(log, r));
    expected << LineOf(r);
    if (expected.size() > 100) link.Stop();
  });
  link.Run();
  ASSERT_TRUE(WaitFor([&] { return !link.Running(); }, 120000)) << expected.size();
  EXPECT_EQ(log.Lines(), 100);
  EXPECT_EQ(LinesOf(path), expected);
  ExpectParses(LinesOf(path));
}

TEST(MeasurementLog, AFileThatHoldsTheHeaderIsContinuedAndAnyOtherRefused) {
  const QByteArray header = core::LogHeaderLine().toUtf8();
  const QByteArray earlier = LineOf(Square(10, 1)).toUtf8();
  const core::Record second = Square(10, 2);
  const QByteArray added = LineOf(second).toUtf8();
  struct Case {
    const char* name;
    QByteArray before;
    bool taken;
    QByteArray after;  // when taken
  };
  const Case cases[] = {
      {"an empty file gets the header", "", true, header + '\n' + added + '\n'},
      {"the header alone", header + '\n', true, header + '\n' + added + '\n'},
      {"the header and a line", header + '\n' + earlier + '\n', true, header + '\n' + earlier + '\n' + added + '\n'},
      {"a header ended by CR LF", header + "\r\n", true, header + "\r\n" + added + '\n'},
      {"a last line cut off ends where it was cut", header + '\n' + earlier.left(30), true,
       header + '\n' + earlier.left(30) + '\n' + added + '\n'},
      {"the header with no line end", header, true, header + '\n' + added + '\n'},
      {"other columns", "time,sequence,CH1 max (V)\n1,2,3\n", false, {}},
      {"a settings file", "[Settings]\r\nCH1=1\r\n", false, {}},
      {"the header less a column", header.left(header.lastIndexOf(',')) + '\n', false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("existing.csv"));
    Write(path, c.before);
    MeasurementLog log;
    const QString message = log.Start(path);
    if (!c.taken) {
      EXPECT_EQ(message, QStringLiteral("The file \"%1\" is not a measurement log: its first line names other "
                                        "columns. Choose a new or empty file, or a log of the same columns.")
                             .arg(QDir::toNativeSeparators(path)));
      EXPECT_FALSE(log.Logging());
      EXPECT_FALSE(Append(log, second));
      EXPECT_EQ(Contents(path), c.before);  // untouched
      continue;
    }
    ASSERT_EQ(message, QString());
    ASSERT_TRUE(Append(log, second));
    log.Stop();
    EXPECT_EQ(QString::fromUtf8(Contents(path)), QString::fromUtf8(c.after));
    EXPECT_EQ(log.Lines(), 1);
  }
}

TEST(MeasurementLog, AReadOnlyFolderIsRefusedWithAMessage) {
  // Root writes into any folder whatever its mode: a read-only mount is the
  // real thing there.
  std::unique_ptr<Tmpfs> readOnly;
  QTemporaryDir plain;
  QString path;
  if (::geteuid() == 0) {
    readOnly = std::make_unique<Tmpfs>("size=64k", MS_RDONLY);
    if (!readOnly->Mounted()) GTEST_SKIP() << "no read-only folder for root without a mount";
    path = readOnly->FilePath(QStringLiteral("log.csv"));
  } else {
    ASSERT_EQ(::chmod(QFile::encodeName(plain.path()).constData(), 0555), 0);
    path = plain.filePath(QStringLiteral("log.csv"));
  }
  MeasurementLog log;
  const QString message = log.Start(path);
  EXPECT_TRUE(message.startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(path))) << message.toStdString();
  EXPECT_TRUE(message.contains(QLatin1String("Read-only file system")) ||
              message.contains(QLatin1String("Permission denied")))
      << message.toStdString();
  EXPECT_FALSE(log.Logging());
  EXPECT_FALSE(QFile::exists(path));
  if (!readOnly) ::chmod(QFile::encodeName(plain.path()).constData(), 0755);
}

TEST(MeasurementLog, AFullDiskStopsTheLogWithAMessageAndAcquisitionGoesOn) {
  Tmpfs small("size=16k");
  if (!small.Mounted()) {
    // Where nothing can be mounted: writes to /dev/full fail as on a full disk.
    MeasurementLog log;
    const QString message = log.Start(QStringLiteral("/dev/full"));
    EXPECT_TRUE(message.contains(QLatin1String("No space left on device"))) << message.toStdString();
    EXPECT_FALSE(log.Logging());
    GTEST_SKIP() << "no tmpfs could be mounted: checked on /dev/full only";
  }
  const QString path = small.FilePath(QStringLiteral("log.csv"));
  MeasurementLog log;
  ASSERT_EQ(log.Start(path), QString());
  std::vector<QString> messages;
  QObject::connect(&log, &MeasurementLog::stopped, [&](const QString& m) { messages.push_back(m); });

  // The built-in simulated instrument, continuous, each record logged.
  core::ScopeLink link;
  ASSERT_TRUE(link.Port().Open("SIM1", "9600", "NONE", "8", false));
  core::PanelSettings p;
  p.SetChannelOn(1, true);
  p.SetChannelOn(2, true);
  p.SetContinuous(true);
  link.SetPanel(p);
  int records = 0;
  QObject::connect(&link, &core::ScopeLink::recordReceived, [&](const core::Record& r) {
    ++records;
    log.Append(r, core::ReadingsOf(r));
  });
  link.Run();
  ASSERT_TRUE(WaitFor([&] { return !log.Logging(); }, 120000)) << records << " records, " << log.Lines() << " lines";
  const int atStop = records;
  ASSERT_TRUE(WaitFor([&] { return records >= atStop + 5; }, 60000));
  EXPECT_TRUE(link.Running());
  link.Stop();

  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], log.Error());
  EXPECT_EQ(log.Error(), QStringLiteral("Logging to \"%1\" stopped after %2 lines: cannot write to the file. %3")
                             .arg(path)
                             .arg(log.Lines())
                             .arg(QString::fromLocal8Bit(std::strerror(ENOSPC))));
  // The line that did not fit was taken back: the file parses to its end.
  const QByteArray bytes = Contents(path);
  EXPECT_TRUE(bytes.endsWith('\n'));
  const QStringList lines = LinesOf(path);
  EXPECT_EQ(lines.size() - 1, log.Lines());
  EXPECT_GT(log.Lines(), 10);
  // The sequence numbers are the link's, one a record from 1.
  ExpectParses(lines);
}

TEST(MeasurementLog, AVanishedFolderStopsTheLogWithAMessage) {
  QTemporaryDir parent;
  const QString folder = parent.filePath(QStringLiteral("stick"));
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString path = folder + QStringLiteral("/log.csv");
  MeasurementLog log;
  ASSERT_EQ(log.Start(path), QString());
  ASSERT_TRUE(Append(log, Square(10, 1)));
  ASSERT_TRUE(QDir(folder).removeRecursively());
  EXPECT_FALSE(Append(log, Square(10, 2)));
  EXPECT_FALSE(log.Logging());
  EXPECT_EQ(log.Error(), QStringLiteral("Logging to \"%1\" stopped after 1 lines: the file is no longer there.").arg(path));
  EXPECT_EQ(log.Lines(), 1);
}

// A file still linked but no longer at its path: renamed away, or another
// file put in its place. Lines may still go to it until the path is looked
// at again; the log then stops, and every line that went is in the file.
TEST(MeasurementLog, AFileNoLongerAtItsPathStopsTheLogWithAMessage) {
  struct Case {
    const char* name;
    bool replaced;  // another file at the path, else nothing there
  };
  for (const Case& c : {Case{"renamed away", false}, Case{"replaced", true}}) {
    SCOPED_TRACE(c.name);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.csv"));
    const QString moved = dir.filePath(QStringLiteral("moved.csv"));
    MeasurementLog log;
    ASSERT_EQ(log.Start(path), QString());
    ASSERT_TRUE(Append(log, Square(10, 1)));
    ASSERT_TRUE(QFile::rename(path, moved));
    if (c.replaced) Write(path, core::LogHeaderLine().toUtf8() + '\n');
    std::uint64_t sequence = 1;
    ASSERT_TRUE(WaitFor([&] { return !Append(log, Square(10, ++sequence)); }, 10 * MeasurementLog::PathCheckIntervalMs));
    EXPECT_FALSE(log.Logging());
    EXPECT_EQ(log.Error(), QStringLiteral("Logging to \"%1\" stopped after %2 lines: the file is no longer there.")
                               .arg(path)
                               .arg(log.Lines()));
    const QStringList lines = LinesOf(moved);
    EXPECT_EQ(lines.size() - 1, log.Lines());
    ExpectParses(lines);
    if (c.replaced) {
      EXPECT_EQ(LinesOf(path), QStringList{core::LogHeaderLine()});
    }
  }
}

TEST(MeasurementLog, LinesAreSyncedWithinTheIntervalAfterTheyAreWritten) {
  QTemporaryDir dir;
  MeasurementLog log(nullptr, 20);
  ASSERT_EQ(log.Start(dir.filePath(QStringLiteral("log.csv"))), QString());
  const int afterHeader = log.Syncs();
  EXPECT_EQ(afterHeader, 1);  // a new file's header at once
  EXPECT_FALSE(log.SyncPending());
  ASSERT_TRUE(Append(log, Square(10, 1)));
  ASSERT_TRUE(Append(log, Square(10, 2)));
  EXPECT_TRUE(log.SyncPending());
  ASSERT_TRUE(WaitFor([&] { return !log.SyncPending(); }));
  EXPECT_EQ(log.Syncs(), afterHeader + 1);  // one sync for both lines
  log.Stop();
  EXPECT_EQ(log.Syncs(), afterHeader + 2);  // and one at the end
}

TEST(MeasurementLog, KillNineLosesNoLineThatWasAppendedAndLeavesAFileThatParses) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("log.csv"));
  int counts[2];
  ASSERT_EQ(::pipe(counts), 0);
  const core::Record record = Square(10, 0);
  const std::array<core::ChannelReadings, 2> readings = core::ReadingsOf(record);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Appends until killed, telling the parent each line it appended.
    ::close(counts[0]);
    MeasurementLog log;
    if (!log.Start(path).isEmpty()) ::_exit(3);
    core::Record r = record;
    for (int k = 1;; ++k) {
      r.sequence = static_cast<std::uint64_t>(k);
      if (!log.Append(r, readings)) ::_exit(4);
      if (::write(counts[1], &k, sizeof k) != sizeof k) ::_exit(5);
    }
  }
  ::close(counts[1]);
  int appended = 0;
  while (appended < 200) {
    int k = 0;
    if (::read(counts[0], &k, sizeof k) != sizeof k) break;
    appended = k;
  }
  ASSERT_EQ(appended, 200) << "the child stopped early";
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status));
  for (int k = 0; ::read(counts[0], &k, sizeof k) == sizeof k;) appended = k;
  ::close(counts[0]);

  const QByteArray bytes = Contents(path);
  EXPECT_TRUE(bytes.endsWith('\n'));
  const QStringList lines = LinesOf(path);
  EXPECT_GE(lines.size() - 1, appended);
  ExpectParses(lines);
}

}  // namespace

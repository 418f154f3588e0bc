#include "StoreChild.h"
#include "StoreFixture.h"

#include "app/Errors.h"
#include "storage/SettingsStore.h"

#include <gtest/gtest.h>

#include "support/ErrorOf.h"

#include <QRegularExpression>

#include <functional>
#include <limits>
#include <memory>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Store = StoreFixture;

// --- Where the store lives ---------------------------------------------------

TEST_F(Store, FolderIsNamedAfterTheKeyUnderTheConfigHome) {
  struct Case {
    const char* what;
    const char* key;
    const char* relativeFile;
  };
  const Case cases[] = {
      {"default key", SettingsStore::DefaultKey, "TessaronInc/Veldrin/5.0/settings"},
      {"another key", "\\Software\\Other\\Tool\\", "Other/Tool/settings"},
      {"no Software branch", "Plain\\Key", "Plain/Key/settings"},
      {"forward slashes and doubled separators", "/Software//A/B/", "A/B/settings"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SettingsStore store(QString::fromLatin1(c.key));
    EXPECT_EQ(store.FilePath(), ConfigHome() + u'/' + QLatin1String(c.relativeFile));
    store.WriteInteger(QStringLiteral("X"), 1);
    EXPECT_TRUE(QFileInfo::exists(ConfigHome() + u'/' + QLatin1String(c.relativeFile)));
  }
}

TEST_F(Store, EmptyOrRelativeConfigHomeFallsBackToDotConfig) {
  const QByteArray savedHome = qgetenv("HOME");
  const QString home = ConfigHome() + QStringLiteral("/home");
  qputenv("HOME", QFile::encodeName(home));
  for (const char* configured : {"", "relative/config"}) {
    SCOPED_TRACE(configured);
    qputenv("XDG_CONFIG_HOME", configured);
    EXPECT_EQ(SettingsStore().FilePath(), home + QStringLiteral("/.config/TessaronInc/Veldrin/5.0/settings"));
  }
  qputenv("HOME", savedHome);
}

TEST_F(Store, KeysThatLeaveTheConfigFolderAreRefused) {
  for (const char* key : {"\\Software\\..\\..\\etc\\", "\\Software\\", "\\", "A\\.\\B"}) {
    SCOPED_TRACE(key);
    EXPECT_EQ(ErrorOf([&] { SettingsStore store(QString::fromLatin1(key)); }),
              QStringLiteral("Invalid settings key '%1'").arg(QString::fromLatin1(key)));
  }
}

// --- Reading -----------------------------------------------------------------

TEST_F(Store, ReadsReportMissingValuesAndWrongTypesLikeTheRegistry) {
  SettingsStore store;
  store.WriteInteger(QStringLiteral("Count"), 5);
  store.WriteString(QStringLiteral("Name"), QStringLiteral("COM3"));
  struct Case {
    const char* what;
    std::function<void()> read;
    const char* message;
  };
  const Case cases[] = {
      {"missing integer", [&] { store.ReadInteger(QStringLiteral("CH1VertPos")); }, "Failed to get data for 'CH1VertPos'"},
      {"missing bool", [&] { store.ReadBool(QStringLiteral("ScreenSave")); }, "Failed to get data for 'ScreenSave'"},
      {"string read as integer", [&] { store.ReadInteger(QStringLiteral("Name")); }, "Invalid data type for 'Name'"},
      {"string read as bool", [&] { store.ReadBool(QStringLiteral("Name")); }, "Invalid data type for 'Name'"},
      {"integer read as string", [&] { store.ReadString(QStringLiteral("Count")); }, "Invalid data type for 'Count'"},
      {"the name as asked, not as stored", [&] { store.ReadString(QStringLiteral("COUNT")); }, "Invalid data type for 'COUNT'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ErrorOf(c.read), QLatin1String(c.message));
  }
  EXPECT_EQ(store.ReadString(QStringLiteral("COMPORT")), QString());
  EXPECT_FALSE(store.ValueExists(QStringLiteral("COMPORT")));
  EXPECT_TRUE(store.ValueExists(QStringLiteral("Count")));
  EXPECT_TRUE(store.ValueExists(QStringLiteral("Name")));
}

TEST_F(Store, BoolsAreIntegersAndAnyNonZeroIsTrue) {
  SettingsStore store;
  store.WriteBool(QStringLiteral("ScreenSave"), true);
  EXPECT_EQ(store.ReadInteger(QStringLiteral("ScreenSave")), 1);
  store.WriteBool(QStringLiteral("ScreenSave"), false);
  EXPECT_EQ(store.ReadInteger(QStringLiteral("ScreenSave")), 0);
  EXPECT_FALSE(store.ReadBool(QStringLiteral("ScreenSave")));
  store.WriteInteger(QStringLiteral("ScreenSave"), -7);
  EXPECT_TRUE(store.ReadBool(QStringLiteral("ScreenSave")));
}

// --- Writing and reading back ----------------------------------------------

TEST_F(Store, ValuesReadBackInAnotherInstanceAsAnotherProgramWould) {
  const QString strings[] = {
      QString(),
      QStringLiteral("Grafics\\Grid3.bmp"),
      QStringLiteral("trailing backslash\\"),
      QStringLiteral("\\n is not a line feed"),
      QStringLiteral("two\nlines\r\nand a CR\r"),
      QStringLiteral("=str:int:5 # not a comment"),
      QStringLiteral("  blanks kept  "),
      QStringLiteral("\u00b5s \u03a9 \u00e9"),
      QString(QChar(0)) + QStringLiteral("after a NUL"),
  };
  const std::int32_t integers[] = {0, -1, 1, 122, std::numeric_limits<std::int32_t>::min(),
                                   std::numeric_limits<std::int32_t>::max()};
  const QString names[] = {QStringLiteral("CH1VertPos"), QStringLiteral("#leading hash"),
                           QStringLiteral("a=b\\c"), QStringLiteral("line\nbreak"), QString()};
  {
    SettingsStore writer;
    for (int i = 0; i < int(std::size(strings)); ++i) writer.WriteString(QStringLiteral("S%1").arg(i), strings[i]);
    for (int i = 0; i < int(std::size(integers)); ++i) writer.WriteInteger(QStringLiteral("I%1").arg(i), integers[i]);
    for (int i = 0; i < int(std::size(names)); ++i) writer.WriteInteger(names[i], i);
  }
  SettingsStore reader;
  for (int i = 0; i < int(std::size(strings)); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(reader.ReadString(QStringLiteral("S%1").arg(i)), strings[i]);
  }
  for (int i = 0; i < int(std::size(integers)); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(reader.ReadInteger(QStringLiteral("I%1").arg(i)), integers[i]);
  }
  for (int i = 0; i < int(std::size(names)); ++i) {
    SCOPED_TRACE(names[i].toStdString());
    EXPECT_EQ(reader.ReadInteger(names[i]), i);
  }
  EXPECT_EQ(reader.TakeDamageNotice(), QString());
}

TEST_F(Store, NamesAreFoundWhateverTheirCaseAndKeepTheirFirstSpelling) {
  SettingsStore store;
  store.WriteInteger(QStringLiteral("CH1On"), 1);
  store.WriteInteger(QStringLiteral("ch1on"), 0);
  EXPECT_EQ(store.ReadInteger(QStringLiteral("CH1ON")), 0);
  const QByteArray file = FileBytes(StoreFile());
  EXPECT_TRUE(file.contains("\nCH1On=int:0\n")) << file.constData();
  EXPECT_FALSE(file.contains("ch1on")) << file.constData();
}

TEST_F(Store, TheFileIsPlainLinesAPersonCanRead) {
  SettingsStore store;
  store.WriteInteger(QStringLiteral("Angle"), 138);
  store.WriteString(QStringLiteral("DISPLAYBACKGROUND"), QStringLiteral("Grafics\\Grid2.bmp"));
  store.WriteString(QStringLiteral("Note"), QStringLiteral("a\nb"));
  const QByteArray file = FileBytes(StoreFile());
  EXPECT_TRUE(file.contains("\nAngle=int:138\n")) << file.constData();
  EXPECT_TRUE(file.contains("\nDISPLAYBACKGROUND=str:Grafics\\\\Grid2.bmp\n")) << file.constData();
  EXPECT_TRUE(file.contains("\nNote=str:a\\nb\n")) << file.constData();
}

TEST_F(Store, FilesEditedByHandStillRead) {
  PutStoreFile(
      "# edited by hand\r\n"
      "\r\n"
      "Angle=int:-45\r\n"
      "  \t\n"
      "Text=str:a\\=b\\#c\r\n"
      "COMPORT=str:/dev/ttyUSB0");
  SettingsStore edited;
  EXPECT_EQ(edited.TakeDamageNotice(), QString());
  EXPECT_EQ(edited.ReadInteger(QStringLiteral("Angle")), -45);
  EXPECT_EQ(edited.ReadString(QStringLiteral("Text")), QStringLiteral("a=b#c"));
  EXPECT_EQ(edited.ReadString(QStringLiteral("COMPORT")), QStringLiteral("/dev/ttyUSB0"));
}

// --- Two instances, two programs -------------------------------------------

TEST_F(Store, AWriteChangesOnlyItsOwnValueAndIsSeenByTheOtherInstanceAtOnce) {
  SettingsStore first;
  SettingsStore second;
  first.WriteInteger(QStringLiteral("CalCH1L"), 3);
  second.WriteInteger(QStringLiteral("CalCH2L"), 4);
  first.WriteInteger(QStringLiteral("CalCH1H"), 5);  // must not drop the other's CalCH2L
  SettingsStore third;
  EXPECT_EQ(third.ReadInteger(QStringLiteral("CalCH1L")), 3);
  EXPECT_EQ(third.ReadInteger(QStringLiteral("CalCH2L")), 4);
  EXPECT_EQ(third.ReadInteger(QStringLiteral("CalCH1H")), 5);

  // Same-sized files in quick succession: a read must never answer from a
  // stale copy.
  for (int i = 0; i < 60; ++i) {
    second.WriteInteger(QStringLiteral("Angle"), i % 10);
    ASSERT_EQ(first.ReadInteger(QStringLiteral("Angle")), i % 10) << "round " << i;
  }
  second.WriteString(QStringLiteral("Angle"), QStringLiteral("x"));
  EXPECT_EQ(ErrorOf([&] { first.ReadInteger(QStringLiteral("Angle")); }), QStringLiteral("Invalid data type for 'Angle'"));
}

TEST_F(Store, TwoProgramsWritingAtOnceLoseNoValue) {
  StoreChild a("writer:A");
  StoreChild b("writer:B");
  a.Go();
  b.Go();
  ASSERT_EQ(a.Wait(), 0);
  ASSERT_EQ(b.Wait(), 0);

  SettingsStore store;
  EXPECT_EQ(store.TakeDamageNotice(), QString());
  int missing = 0;
  for (const char* prefix : {"A", "B"}) {
    for (int i = 0; i < WriterValueCount; ++i) {
      const QString name = QLatin1String(prefix) + QString::number(i);
      if (!store.ValueExists(name)) {
        ++missing;
        continue;
      }
      EXPECT_EQ(store.ReadInteger(name), WriterValueFor(i)) << name.toStdString();
    }
  }
  EXPECT_EQ(missing, 0);
}

// --- Damage and crashes ------------------------------------------------------

struct DamagedCase {
  const char* what;
  QByteArray content;
};

class DamagedStoreFile : public StoreFixture, public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(DamagedStoreFile, IsKeptUnderANewNameAndTheStoreStartsAfresh) {
  const QByteArray damaged = GetParam().content;
  PutStoreFile(damaged);

  SettingsStore store;
  const QString keptPath = KeptAsideCopy();
  ASSERT_FALSE(keptPath.isEmpty());
  EXPECT_EQ(FileBytes(keptPath), damaged);
  EXPECT_FALSE(QFileInfo::exists(StoreFile()));

  const QString notice = store.TakeDamageNotice();
  EXPECT_TRUE(notice.contains(StoreFile())) << notice.toStdString();
  EXPECT_TRUE(notice.contains(keptPath)) << notice.toStdString();
  EXPECT_EQ(store.TakeDamageNotice(), QString());

  EXPECT_EQ(ErrorOf([&] { store.ReadInteger(QStringLiteral("Angle")); }), QStringLiteral("Failed to get data for 'Angle'"));
  store.WriteInteger(QStringLiteral("Angle"), 138);
  SettingsStore reopened;
  EXPECT_EQ(reopened.TakeDamageNotice(), QString());
  EXPECT_EQ(reopened.ReadInteger(QStringLiteral("Angle")), 138);
  EXPECT_EQ(FileBytes(keptPath), damaged);
  EXPECT_EQ(StoreFolderEntries(QStringLiteral("settings.damaged-*")).size(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Contents, DamagedStoreFile,
    ::testing::Values(DamagedCase{"unknown type", "Angle=float:1.5\n"},
                      DamagedCase{"number with letters", "Angle=int:12abc\n"},
                      DamagedCase{"number past 32 bits", "Angle=int:2147483648\n"},
                      DamagedCase{"empty number", "Angle=int:\n"},
                      DamagedCase{"unknown escape", "Name=str:C:\\temp\n"},
                      DamagedCase{"escape cut by the line end", "Name=str:end\\\n"},
                      DamagedCase{"same name twice", "Angle=int:1\nANGLE=int:2\n"},
                      DamagedCase{"not UTF-8", "Name=str:\xff\xfe\n"},
                      DamagedCase{"binary", QByteArray("\x00\x01\x02\x03", 4)}),
    [](const ::testing::TestParamInfo<DamagedCase>& param) {
      return QString::fromLatin1(param.param.what).replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")), QString()).toStdString();
    });

// A file with damaged lines among good ones is kept aside whole, as a
// damaged one is, but only the damaged lines' values are lost: the others
// are in the store's file again, line for line, and the lines that could not
// be read are told once, each as it was.
TEST_F(Store, ALineThatDoesNotReadCostsOnlyItsOwnValue) {
  const QByteArray damaged = QByteArray("# kept by hand\r\n"
                                        "Angle=int:138\r\n"
                                        "rubbish\n"
                                        "COMPORT=str:/dev/ttyUSB7\n"
                                        "Name=str:C:\\temp\n"
                                        "CH1On=int:1\n"
                                        "ch1on=int:0\n") +
                           QByteArray("\x00\x01\xff\n", 4) + "Auto=int:1\n";
  PutStoreFile(damaged);

  SettingsStore store;
  const QString keptPath = KeptAsideCopy();
  ASSERT_FALSE(keptPath.isEmpty());
  EXPECT_EQ(FileBytes(keptPath), damaged);
  EXPECT_EQ(store.TakeDamageNotice(),
            QStringLiteral("The settings file \"%1\" had lines that could not be read (line 3 \"rubbish\", line 5 "
                           "\"Name=str:C:\\temp\", line 6 \"CH1On=int:1\", line 7 \"ch1on=int:0\", line 8 "
                           "\"\\x00\\x01\\xff\"); it was kept as \"%2\" and the values that could be read are kept.")
                .arg(StoreFile(), keptPath));
  EXPECT_EQ(store.TakeDamageNotice(), QString());
  const std::vector<settings_text::DamagedLine> lines = store.TakeDamagedLines();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[1], (settings_text::DamagedLine{5, QStringLiteral("Name"), QStringLiteral("Name=str:C:\\temp")}));
  EXPECT_EQ(lines[4].name, QString());
  EXPECT_TRUE(store.TakeDamagedLines().empty());

  EXPECT_EQ(FileBytes(StoreFile()), settings_text::Format(QLatin1String(SettingsStore::DefaultKey), *settings_text::Parse(
                                                                          "Angle=int:138\nAuto=int:1\nCOMPORT=str:/dev/ttyUSB7\n")));
  EXPECT_FALSE(store.ValueExists(QStringLiteral("CH1On")));  // which of the two was meant cannot be told
  SettingsStore reopened;
  EXPECT_EQ(reopened.TakeDamageNotice(), QString());
  EXPECT_EQ(reopened.ReadInteger(QStringLiteral("Angle")), 138);
  EXPECT_EQ(reopened.ReadString(QStringLiteral("COMPORT")), QStringLiteral("/dev/ttyUSB7"));
  // A copy asked for now is the file as it was: the one already kept.
  EXPECT_EQ(store.KeepCopy(), keptPath);
  EXPECT_EQ(StoreFolderEntries(QStringLiteral("settings.damaged-*")).size(), 1);
}

// The callback shows a modal box whose event loop may run handlers that use
// the store, so it must come after the writers' lock is released.
bool StoreLockIsFree(const QString& folder) {
  const int fd = ::open(QFile::encodeName(folder + QStringLiteral("/settings.lock")).constData(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return false;
  const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  ::close(fd);
  return free;
}

TEST_F(Store, DamageFoundWhileRunningIsToldToTheCallbackOnceWithTheLockReleased) {
  struct Case {
    const char* what;
    std::function<void(SettingsStore&)> access;
    std::int32_t angle;  // the good line of the damaged file is kept
  };
  const Case cases[] = {
      {"found by a read", [](SettingsStore& s) { s.ValueExists(QStringLiteral("Angle")); }, 138},
      {"found by a write", [](SettingsStore& s) { s.WriteInteger(QStringLiteral("Angle"), 45); }, 45},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SettingsStore store(QStringLiteral("\\Software\\Case\\%1\\").arg(QLatin1String(c.what)));
    const QString folder = QFileInfo(store.FilePath()).path();
    store.WriteInteger(QStringLiteral("Angle"), 138);
    store.WriteInteger(QStringLiteral("Auto"), 1);
    QStringList told;
    bool lockFree = false;
    store.OnDamagedFileKept = [&](const QString& text) {
      told << text;
      lockFree = StoreLockIsFree(folder);
      store.ReadString(QStringLiteral("COMPORT"));
    };
    PutFile(store.FilePath(), "Angle=int:138\n<<<<<<< merge left-over\n");

    c.access(store);
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(lockFree);
    EXPECT_TRUE(told.front().contains(folder + QStringLiteral("/settings.damaged-"))) << told.front().toStdString();
    EXPECT_EQ(store.TakeDamageNotice(), QString());
    EXPECT_FALSE(store.ValueExists(QStringLiteral("Auto")));
    EXPECT_EQ(store.ReadInteger(QStringLiteral("Angle")), c.angle);
    EXPECT_EQ(QDir(folder).entryList({QStringLiteral("settings.damaged-*")}, QDir::Files).size(), 1);
    EXPECT_EQ(told.size(), 1);
  }
}

TEST_F(Store, ACrashBeforeTheRenameLeavesTheOldValuesAndItsLeftoverGoesAtTheNextWrite) {
  {
    SettingsStore store;
    store.WriteInteger(QStringLiteral("Angle"), 138);
  }
  // What a program killed between writing its temporary file and renaming it
  // leaves behind: a cut-off copy beside the whole old file.
  PutFile(StoreFolder() + QStringLiteral("/settings.tmp-Ab12Cd"), "Angle=int:45\nCOMPORT=str:/dev/tty");

  SettingsStore store;
  EXPECT_EQ(store.TakeDamageNotice(), QString());
  EXPECT_EQ(store.ReadInteger(QStringLiteral("Angle")), 138);
  EXPECT_FALSE(store.ValueExists(QStringLiteral("COMPORT")));
  store.WriteInteger(QStringLiteral("Auto"), 1);
  EXPECT_EQ(StoreFolderEntries(QStringLiteral("settings.tmp-*")), QStringList());
  EXPECT_EQ(SettingsStore().ReadInteger(QStringLiteral("Angle")), 138);
}

TEST_F(Store, AKillDuringABurstOfWritesNeverLeavesAStoreThatFailsToLoad) {
  for (int round = 0; round < 24; ++round) {
    SCOPED_TRACE(round);
    std::int32_t reported = 0;
    {
      StoreChild child("burst");
      ASSERT_GT(child.AwaitReport(1 + round % 4, std::chrono::seconds(20)), 0);
      // Varied moments, so the kill falls at every step of a write.
      ::usleep(static_cast<useconds_t>((round * 397) % 1500));
      child.Kill();
      reported = child.DrainReports();
      child.Wait();
    }
    SettingsStore store;
    ASSERT_EQ(store.TakeDamageNotice(), QString());
    // A reported write was on disk; the one under way may have got there too.
    const std::int32_t counter = store.ReadInteger(QStringLiteral("Counter"));
    EXPECT_GE(counter, reported);
    EXPECT_LE(counter, reported + 1);
    const QString text = store.ReadString(QStringLiteral("Text"));
    EXPECT_TRUE(text == BurstTextFor(counter) || text == BurstTextFor(counter + 1)) << text.toStdString();
    ASSERT_EQ(StoreFolderEntries(QStringLiteral("settings.damaged-*")), QStringList());
  }
}

TEST_F(Store, AWriteThatCannotReachTheDiskFailsAndSaysWhy) {
  // A config home beneath a plain file: no folder can be made there, even
  // for root.
  const QString blocker = ConfigHome() + QStringLiteral("/plain-file");
  PutFile(blocker, "x");
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(blocker));
  SettingsStore store;
  EXPECT_EQ(store.ReadString(QStringLiteral("COMPORT")), QString());
  EXPECT_TRUE(ErrorOf([&] { store.WriteInteger(QStringLiteral("Angle"), 1); })
                  .startsWith(QStringLiteral("Cannot create the settings folder")));
  EXPECT_FALSE(store.ValueExists(QStringLiteral("Angle")));
}

}  // namespace

namespace {

// --- Several values at once, and a copy kept ------------------------------------

ino_t InodeOf(const QString& path) {
  struct stat state {};
  return ::stat(QFile::encodeName(path).constData(), &state) == 0 ? state.st_ino : 0;
}

TEST_F(Store, ABatchIsOneReplacementOfTheFileAndKeepsTheOtherValues) {
  SettingsStore store;
  store.WriteInteger(QStringLiteral("CalCH1L"), 3);
  const ino_t before = InodeOf(StoreFile());
  store.WriteValues({{QStringLiteral("Angle"), 138},
                     {QStringLiteral("COMPORT"), QStringLiteral("SIM1")},
                     {QStringLiteral("Angle"), 45},  // the later one wins
                     {QStringLiteral("calch1l"), 3}});
  EXPECT_NE(InodeOf(StoreFile()), before);
  EXPECT_EQ(StoreFolderEntries(QStringLiteral("settings.tmp-*")), QStringList());
  SettingsStore reader;
  EXPECT_EQ(reader.ReadInteger(QStringLiteral("Angle")), 45);
  EXPECT_EQ(reader.ReadString(QStringLiteral("COMPORT")), QStringLiteral("SIM1"));
  EXPECT_EQ(reader.ReadInteger(QStringLiteral("CalCH1L")), 3);
  EXPECT_TRUE(FileBytes(StoreFile()).contains("\nCalCH1L=int:3\n"));

  // Nothing new: the file is not touched.
  const ino_t written = InodeOf(StoreFile());
  store.WriteValues({{QStringLiteral("Angle"), 45}, {QStringLiteral("COMPORT"), QStringLiteral("SIM1")}});
  store.WriteValues({});
  EXPECT_EQ(InodeOf(StoreFile()), written);
}

TEST_F(Store, AKeptCopyHoldsTheFileAsItWasAndLaterWritesLeaveItAlone) {
  SettingsStore store;
  EXPECT_EQ(store.KeepCopy(), QString());  // nothing to keep yet
  store.WriteValues({{QStringLiteral("Angle"), 138}, {QStringLiteral("COMPORT"), QStringLiteral("/dev/ttyUSB0")}});
  const QByteArray asItWas = FileBytes(StoreFile());

  const QString kept = store.KeepCopy();
  EXPECT_TRUE(kept.startsWith(StoreFile() + QStringLiteral(".damaged-"))) << kept.toStdString();
  EXPECT_EQ(FileBytes(kept), asItWas);
  EXPECT_EQ(store.KeepCopy(), kept);  // unchanged: the same copy
  EXPECT_EQ(StoreFolderEntries(QStringLiteral("settings.damaged-*")).size(), 1);

  store.WriteInteger(QStringLiteral("Angle"), 1);
  EXPECT_EQ(FileBytes(kept), asItWas);
  const QString second = store.KeepCopy();  // the file changed: a new copy
  EXPECT_NE(second, kept);
  EXPECT_EQ(FileBytes(second), FileBytes(StoreFile()));
  EXPECT_EQ(store.TakeDamageNotice(), QString());
  // The store itself reads on as before.
  EXPECT_EQ(SettingsStore().ReadString(QStringLiteral("COMPORT")), QStringLiteral("/dev/ttyUSB0"));
}

// --- Something other than a settings file where the file goes -------------------

struct Squatter {
  const char* what;
  std::function<void(const QString& path)> put;
  std::function<bool(const QString& kept)> stillThere;  // the thing kept, as it was
  const char* reason;
};

bool IsType(const QString& path, mode_t type) {
  struct stat state {};
  return ::lstat(QFile::encodeName(path).constData(), &state) == 0 && (state.st_mode & S_IFMT) == type;
}

TEST_F(Store, WhatIsNotASettingsFileIsMovedAsideUnreadAndTheStoreStartsAfresh) {
  constexpr qint64 HundredMegabytes = 100LL * 1024 * 1024;
  const Squatter squatters[] = {
      {"a folder with a file in it",
       [](const QString& path) {
         ASSERT_TRUE(QDir().mkpath(path));
         PutFile(path + QStringLiteral("/mine.txt"), "keep me");
       },
       [](const QString& kept) { return FileBytes(kept + QStringLiteral("/mine.txt")) == "keep me"; }, "is a folder"},
      {"a link to /dev/zero",
       [](const QString& path) { ASSERT_EQ(::symlink("/dev/zero", QFile::encodeName(path).constData()), 0); },
       [](const QString& kept) { return QFileInfo(kept).symLinkTarget() == QStringLiteral("/dev/zero"); },
       "is not a regular file"},
      {"a named pipe",
       [](const QString& path) { ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0); },
       [](const QString& kept) { return IsType(kept, S_IFIFO); }, "is not a regular file"},
      {"a link that loops",
       [](const QString& path) { ASSERT_EQ(::symlink("settings", QFile::encodeName(path).constData()), 0); },
       [](const QString& kept) { return IsType(kept, S_IFLNK); }, "is not a regular file"},
      {"a 100 MB file",
       [&](const QString& path) {
         QFile file(path);
         ASSERT_TRUE(file.open(QIODevice::WriteOnly));
         ASSERT_TRUE(file.resize(HundredMegabytes));  // sparse: quick to make
       },
       [&](const QString& kept) { return QFileInfo(kept).size() == HundredMegabytes; }, "is larger than 1 MB"},
      {"a file just past 1 MB of valid lines",
       [](const QString& path) {
         QByteArray lines;
         for (int i = 0; lines.size() <= SettingsStore::MaxFileBytes; ++i) lines += "V" + QByteArray::number(i) + "=int:1\n";
         PutFile(path, lines);
       },
       [](const QString& kept) { return QFileInfo(kept).size() > SettingsStore::MaxFileBytes; }, "is larger than 1 MB"},
  };
  for (const Squatter& s : squatters) {
    SCOPED_TRACE(s.what);
    QDir(StoreFolder()).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(StoreFolder()));
    s.put(StoreFile());

    SettingsStore store;
    const QStringList kept = StoreFolderEntries(QStringLiteral("settings.damaged-*"));
    const QStringList keptAny = QDir(StoreFolder()).entryList({QStringLiteral("settings.damaged-*")},
                                                              QDir::AllEntries | QDir::System | QDir::Hidden);
    ASSERT_EQ(keptAny.size(), 1) << kept.join(u',').toStdString();
    const QString keptPath = StoreFolder() + u'/' + keptAny.front();
    EXPECT_TRUE(s.stillThere(keptPath));
    EXPECT_FALSE(QFileInfo::exists(StoreFile()) || QFileInfo(StoreFile()).isSymLink());

    const QString notice = store.TakeDamageNotice();
    EXPECT_EQ(notice, QStringLiteral("The settings file \"%1\" %2; it was %3 as \"%4\" and the settings start afresh.")
                          .arg(StoreFile(), QLatin1String(s.reason),
                               QLatin1String(std::string_view(s.reason) == "is a folder" ? "moved aside" : "kept"),
                               keptPath));
    EXPECT_EQ(store.TakeDamageNotice(), QString());
    EXPECT_FALSE(store.ValueExists(QStringLiteral("Angle")));
    store.WriteInteger(QStringLiteral("Angle"), 138);
    SettingsStore next;
    EXPECT_EQ(next.TakeDamageNotice(), QString());
    EXPECT_EQ(next.ReadInteger(QStringLiteral("Angle")), 138);
    EXPECT_TRUE(s.stillThere(keptPath));
  }
}

}  // namespace

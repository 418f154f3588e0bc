// A settings store as a damaged disk, a careless edit or a hostile folder
// leaves it. For each case the program starts, tells the user once, loses
// nothing (what it would write over is kept aside first), and the next start
// is clean: no message, and the restore runs to its end.

#include "RestoreFixture.h"

#include "controls/TimeKnob.h"
#include "controls/VerticalMarker.h"
#include "storage/SettingsDefaults.h"
#include "support/ScopeWindow.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>

#include <functional>
#include <limits>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t Min = std::numeric_limits<std::int32_t>::min();

std::string Told(const ScopeWindow& w) { return (w.ui.errors + w.ui.messages).join(QStringLiteral(" | ")).toStdString(); }

bool OnSomeScreen(const QPoint& corner) {
  for (const QScreen* screen : QGuiApplication::screens())
    if (screen->availableGeometry().contains(corner)) return true;
  return false;
}

struct StoreCase {
  const char* what;
  // Puts the damage in place of the store's file.
  std::function<void(const QString& file)> put;
  // What the user is told, from its start.
  const char* told;
  bool asError;
  // Checks the first window and what was kept beside the file.
  std::function<void(const TForm1& f, const QString& kept)> check;
};

class DamagedStore : public RestoreFixture {
 protected:
  QString StoreFile() const { return ConfigHome() + QStringLiteral("/TessaronInc/Veldrin/5.0/settings"); }
  QStringList Kept() const {
    return QDir(QFileInfo(StoreFile()).path())
        .entryList({QStringLiteral("settings.damaged-*")}, QDir::AllEntries | QDir::System | QDir::Hidden);
  }
};

TEST_F(DamagedStore, EachCaseStartsTellsOnceLosesNothingAndTheNextStartIsClean) {
  constexpr qint64 HundredMegabytes = 100LL * 1024 * 1024;
  const auto putValues = [](StoreValues values) {
    return [values](const QString&) { PutStore(values); };
  };
  const auto sameBytes = [](const QByteArray& before) {
    return [before](const TForm1&, const QString& kept) { EXPECT_EQ(FileBytes(kept), before); };
  };
  const StoreValues wrongType =
      With(CompleteStore(), {{"Angle", QStringLiteral("138")}, {"COMPORT", QStringLiteral("/dev/ttyUSB7")}, {"CH2On", 1}});
  const StoreValues missing = With(CompleteStore(), {{"COMPORT", QStringLiteral("/dev/ttyUSB7")}}, {"AutoMeasONOFF"});
  const StoreValues extreme = With(CompleteStore(), {{"TriggerCH", 2},
                                                     {"CH2On", 1},
                                                     {"CH2VertPos", Max},
                                                     {"CH2TriggerV", Min},
                                                     {"CH2Trig", Min},
                                                     {"TrigPos", -5},
                                                     {"Angle", 100000},
                                                     {"CH2KnobAngle", Min},
                                                     {"CalCH2L", Max},
                                                     {"FormLeft", Min},
                                                     {"FormTop", Max}});
  // The bytes each value case puts on disk, for the comparison with the copy.
  QByteArray wrongTypeBytes, missingBytes, extremeBytes;
  for (auto [values, bytes] : {std::pair{&wrongType, &wrongTypeBytes}, std::pair{&missing, &missingBytes},
                               std::pair{&extreme, &extremeBytes}}) {
    PutStore(*values);
    *bytes = FileBytes(StoreFile());
  }
  QFile::remove(StoreFile());

  const StoreCase cases[] = {
      {"a wrong-typed value", putValues(wrongType),
       "Invalid data type for 'Angle'\nThe settings file as it was is kept as \"", true, sameBytes(wrongTypeBytes)},
      {"a missing value", putValues(missing),
       "Failed to get data for 'AutoMeasONOFF'\nThe settings file as it was is kept as \"", true,
       sameBytes(missingBytes)},
      {"extreme values", putValues(extreme),
       "Stored settings outside what the panel can show were brought within it: CH2VertPos 2147483647 as 400, "
       "TrigPos -5 as 1, CH2Trig -2147483648 as -6396, CH2TriggerV -2147483648 as -1025, CalCH2L 2147483647 as 128, "
       "Angle 100000 as 359, CH2KnobAngle -2147483648 as 0, FormTop 2147483647 as 32767, FormLeft -2147483648 as "
       "-32768.\nThe settings file as it was is kept as \"",
       false,
       [&](const TForm1& f, const QString& kept) {
         ScopeDriver scope(f);
         EXPECT_EQ(FileBytes(kept), extremeBytes);
         EXPECT_EQ(Top(scope.Marker(2)), vertical_marker::BottomRow);
         EXPECT_EQ(scope.State().CH2VertPos, vertical_marker::BottomRow);
         EXPECT_EQ(Left(ScopeDriver(f).Find<TImage>(QStringLiteral("HorTrigPos"))), 1);
         EXPECT_EQ(scope.State().CH2TriggerV, -1025);
         EXPECT_EQ(scope.State().TimeKnobAngle, time_knob::RowForAngle(359).detent);
         EXPECT_TRUE(OnSomeScreen(f.frameGeometry().topLeft())) << f.x() << "," << f.y();
       }},
      {"a folder",
       [](const QString& file) {
         ASSERT_TRUE(QDir().mkpath(file));
         ASSERT_TRUE(QFile(file + QStringLiteral("/mine")).open(QIODevice::WriteOnly));
       },
       "The settings file \"", false,
       [](const TForm1&, const QString& kept) { EXPECT_TRUE(QFileInfo::exists(kept + QStringLiteral("/mine"))); }},
      {"a link to /dev/zero",
       [](const QString& file) { ASSERT_EQ(::symlink("/dev/zero", QFile::encodeName(file).constData()), 0); },
       "The settings file \"", false,
       [](const TForm1&, const QString& kept) { EXPECT_EQ(QFileInfo(kept).symLinkTarget(), QStringLiteral("/dev/zero")); }},
      {"a 100 MB file",
       [&](const QString& file) {
         QFile big(file);
         ASSERT_TRUE(big.open(QIODevice::WriteOnly));
         ASSERT_TRUE(big.resize(HundredMegabytes));
       },
       "The settings file \"", false,
       [&](const TForm1&, const QString& kept) { EXPECT_EQ(QFileInfo(kept).size(), HundredMegabytes); }},
      {"a named pipe",
       [](const QString& file) { ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0); },
       "The settings file \"", false,
       [](const TForm1&, const QString& kept) {
         struct stat state {};
         EXPECT_TRUE(::lstat(QFile::encodeName(kept).constData(), &state) == 0 && S_ISFIFO(state.st_mode));
       }},
  };
  for (const StoreCase& c : cases) {
    SCOPED_TRACE(c.what);
    QDir(QFileInfo(StoreFile()).path()).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(StoreFile()).path()));
    c.put(StoreFile());
    {
      QElapsedTimer started;
      started.start();
      ScopeWindow first(true, true, ScopeWindow::Store::FromEnvironment);
      // A figure for the report, not a limit: speed is not asserted here.
      RecordProperty(std::string("start_ms_") + c.what, int(started.elapsed()));
      ASSERT_TRUE(WaitFor([&] { return first.ui.errors.size() + first.ui.messages.size() > 0; }));
      RunEventsFor(100);  // nothing more comes
      const QStringList& told = c.asError ? first.ui.errors : first.ui.messages;
      ASSERT_EQ(first.ui.errors.size() + first.ui.messages.size(), 1) << Told(first);
      ASSERT_EQ(told.size(), 1) << Told(first);
      EXPECT_TRUE(told.front().startsWith(QString::fromUtf8(c.told))) << told.front().toStdString();
      const QStringList kept = Kept();
      ASSERT_EQ(kept.size(), 1);
      const QString keptPath = QFileInfo(StoreFile()).path() + u'/' + kept.front();
      EXPECT_TRUE(told.front().contains(QStringLiteral("\"%1\"").arg(keptPath))) << told.front().toStdString();
      c.check(*first.form, keptPath);
    }  // closed: the panel is saved
    ScopeWindow next(true, true, ScopeWindow::Store::FromEnvironment);
    RunEventsFor(100);
    EXPECT_TRUE(next.ui.errors.isEmpty() && next.ui.messages.isEmpty()) << Told(next);
    EXPECT_TRUE(TForm1::Enabled(next.scope.Timer(QStringLiteral("AboutTimer")))) << "the restore did not run to its end";
    EXPECT_EQ(Kept().size(), 1);
  }
}

TEST_F(DamagedStore, AfterAStopTheCloseFillsWhatThePanelCannotGiveAndKeepsWhatIsStored) {
  // CalCH1L is no value of the close: stored as text it would stop every
  // later start, so the close gives it its default; CalCH2H, good, stays.
  PutStore(With(CompleteStore(), {{"CalCH1L", QStringLiteral("x")}, {"CalCH2H", 5}, {"AutoMeasONOFF", 2}}));
  {
    ScopeWindow first(true, true, ScopeWindow::Store::FromEnvironment);
    ASSERT_EQ(first.ui.errors.size(), 1);
    EXPECT_TRUE(first.ui.errors.front().startsWith(QStringLiteral("Invalid data type for 'CalCH1L'")));
  }
  SettingsStore store;
  EXPECT_EQ(store.ReadInteger(QStringLiteral("CalCH1L")), 0);
  EXPECT_EQ(store.ReadInteger(QStringLiteral("CalCH2H")), 5);
  EXPECT_EQ(store.ReadInteger(QStringLiteral("AutoMeasONOFF")), 2);
  ScopeWindow next(true, true, ScopeWindow::Store::FromEnvironment);
  EXPECT_TRUE(next.ui.errors.isEmpty()) << Told(next);
  EXPECT_EQ(next->State().CalCH2H, 5);
  EXPECT_EQ(next->State().AutoMeasOn, 0);
}

std::int32_t DefaultNamed(const QString& name) {
  for (const stored::Value& v : stored::Table)
    if (stored::Name(v.id) == name) return settings_defaults::DefaultOf(v.id).value().number;
  ADD_FAILURE() << "no stored value " << name.toStdString();
  return 0;
}

// The store's lines for `values`, one "name=int:N" or "name=str:text" each.
QByteArray StoreLines(const StoreValues& values) {
  QByteArray text;
  for (const StoreValue& v : values) {
    text += v.name.toUtf8();
    if (const int* number = std::get_if<int>(&v.value))
      text += "=int:" + QByteArray::number(*number);
    else
      text += "=str:" + QString(std::get<QString>(v.value)).replace(u'\\', QStringLiteral("\\\\")).toUtf8();
    text += '\n';
  }
  return text;
}

TEST_F(DamagedStore, ADamagedValueCostsOnlyItselfAndEveryValueThatReadWellSurvivesTheClose) {
  // A panel unlike the defaults in what a lost store would lose: the port,
  // CH2 on at 2 V/div, the measurement panel off, a calibration offset.
  const StoreValues base = With(CompleteStore(), {{"COMPORT", QStringLiteral("/dev/ttyUSB7")},
                                                  {"CH2On", 1},
                                                  {"CH2KnobAngle", 315},
                                                  {"AutoMeasONOFF", 2},
                                                  {"CalCH2H", 5}});
  struct Case {
    const char* what;
    StoreValues changes;
    QStringList without;
    QByteArray extraLines;  // put after the values' lines
    const char* firstError;  // empty when nothing took a default
    QStringList replaced;    // the values that take their defaults
    const char* told;        // part of the text the user reads
  };
  const QString port = TForm1::DefaultComPort();
  const Case cases[] = {
      {"nothing damaged", {}, {}, {}, "", {}, ""},
      {"a wrong-typed value", {{"CH2KnobAngle", QStringLiteral("abc")}}, {}, {},
       "Invalid data type for 'CH2KnobAngle'", {"CH2KnobAngle"}, "CH2KnobAngle (str:abc) as 0"},
      {"a missing line", {}, {"CH2VertPos"}, {}, "Failed to get data for 'CH2VertPos'", {"CH2VertPos"},
       "CH2VertPos (missing) as 287"},
      {"a binary line", {}, {"CH2On"}, QByteArray("CH2On=\x01\xfe\x00\n", 10), "Failed to get data for 'CH2On'", {"CH2On"},
       "\"CH2On=\\x01\\xfe\\x00\") as 0"},
      {"a duplicate name", {}, {}, "ch2on=int:0\n", "Failed to get data for 'CH2On'", {"CH2On"}, "\"ch2on=int:0\") as 0"},
      {"an unknown escape", {}, {"COMPORT"}, "COMPORT=str:C:\\temp\n", "Failed to get data for 'COMPORT'", {"COMPORT"},
       "COMPORT (line "},
      {"a missing port", {}, {"COMPORT"}, {}, "Failed to get data for 'COMPORT'", {"COMPORT"}, "COMPORT (missing) as "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QDir(QFileInfo(StoreFile()).path()).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(StoreFile()).path()));
    const QByteArray put = StoreLines(With(base, c.changes, c.without)) + c.extraLines;
    {
      QFile file(StoreFile());
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      ASSERT_EQ(file.write(put), put.size());
    }
    {
      ScopeWindow first(true, true, ScopeWindow::Store::FromEnvironment);
      if (c.replaced.isEmpty()) {
        RunEventsFor(100);
        EXPECT_TRUE(first.ui.errors.isEmpty() && first.ui.messages.isEmpty()) << Told(first);
      } else {
        ASSERT_TRUE(WaitFor([&] { return !first.ui.errors.isEmpty(); }));
        RunEventsFor(100);  // nothing more comes
        ASSERT_EQ(first.ui.errors.size() + first.ui.messages.size(), 1) << Told(first);
        const QString& told = first.ui.errors.front();
        EXPECT_TRUE(told.startsWith(QLatin1String(c.firstError) + u'\n')) << told.toStdString();
        EXPECT_TRUE(told.contains(QLatin1String(c.told))) << told.toStdString();
        const QStringList kept = Kept();
        ASSERT_EQ(kept.size(), 1);
        const QString keptPath = QFileInfo(StoreFile()).path() + u'/' + kept.front();
        EXPECT_TRUE(told.contains(QStringLiteral("\"%1\"").arg(keptPath))) << told.toStdString();
        EXPECT_EQ(FileBytes(keptPath), put);
      }
    }  // closed: the panel is saved
    const QList<QByteArray> after = FileBytes(StoreFile()).split('\n');
    for (const StoreValue& v : base) {
      if (c.replaced.contains(v.name)) continue;
      const QByteArray line = StoreLines({v}).chopped(1);
      EXPECT_TRUE(after.contains(line)) << line.toStdString();
    }
    SettingsStore store;
    for (const QString& name : c.replaced) {
      if (name == QLatin1String("COMPORT")) {
        EXPECT_EQ(store.ReadString(name), port);
        continue;
      }
      EXPECT_EQ(store.ReadInteger(name), DefaultNamed(name))
          << name.toStdString();
    }
    ScopeWindow next(true, true, ScopeWindow::Store::FromEnvironment);
    RunEventsFor(100);
    EXPECT_TRUE(next.ui.errors.isEmpty() && next.ui.messages.isEmpty()) << Told(next);
    EXPECT_TRUE(TForm1::Enabled(next.scope.Timer(QStringLiteral("AboutTimer"))));
  }
}

}  // namespace

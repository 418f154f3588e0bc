// Settings files on the real window: save, change, load gives the panel
// back; a bad file changes neither the store nor the panel; cancelling
// changes nothing.

#include "RestoreFixture.h"

#include "storage/SettingsFile.h"
#include "storage/TextLines.h"
#include "support/ScopeWindow.h"

#include <QAction>
#include <QDir>
#include <QFile>

#include <functional>

#include <gtest/gtest.h>

namespace {

using SettingsFileOnWindow = RestoreFixture;

QStringList SplitGood(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return text_lines::SplitLines(QString::fromUtf8(file.readAll()));
}

std::string Errors(const ScopeWindow& w) { return w.ui.errors.join(QStringLiteral(" | ")).toStdString(); }

// What a settings file carries, as the panel shows it.
QStringList Carried(const ScopeDriver& scope) {
  return scope.Snapshot().Lines({"CH1 marker top", "CH2 marker top", "TimeKnobAngle", "TriggerCH", "CH1TriggerV", "CH2TriggerV",
                           "TriggerArrowCH1 shown", "TriggerArrowCH2 shown", "CH1On", "CH2On", "CH1KnobAngle",
                           "CH2KnobAngle", "CH1Focus", "RisingTrigger", "ConSample", "AutoTrigger",
                           "HorTrigPos left", "FormLeft", "FormTop"});
}

TEST_F(SettingsFileOnWindow, SaveChangeLoadGivesThePanelBack) {
  const QString file = ConfigHome() + QStringLiteral("/bench.txt");
  ScopeWindow w(true, true, ScopeWindow::Store::FromEnvironment);
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;
  scope.PressChannelKey(2);
  scope.State().KnobAngle = 180;  // CH2 200 mV/div
  scope.SettleVoltsKnob();
  scope.ChooseTriggerSource(2);
  scope.State().KnobAngle = 234;  // 2 ms/div
  scope.SettleTimeKnob();
  scope.ChooseFallingEdge();
  scope.ChooseNormalTrigger();
  scope.ChooseSingle();
  SetLeft(ScopeDriver(f).Find<TImage>(QStringLiteral("HorTrigPos")), 333);
  scope.SettleTriggerPosition();
  f.move(40, 60);
  ASSERT_TRUE(w.ui.errors.isEmpty()) << Errors(w);
  const QStringList saved = Carried(scope);

  w.ui.saveAnswers.push_back(file);
  ScopeDriver(f).MenuItem(QStringLiteral("SaveSettingsToFile1"))->trigger();
  ASSERT_TRUE(w.ui.errors.isEmpty()) << Errors(w);
  const QByteArray bytes = FileBytes(file);
  EXPECT_EQ(bytes.count("\r\n"), settings_file::LineCount);
  EXPECT_TRUE(bytes.endsWith("\r\n333\r\n"));

  scope.LoadDefaultSettings();
  ASSERT_NE(Carried(scope), saved);
  scope.State().PersistenceOn = 1;
  w.ui.openAnswers.push_back(file);
  ScopeDriver(f).MenuItem(QStringLiteral("LoadSettings1"))->trigger();
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors(w);
  EXPECT_EQ(Carried(scope), saved);
  EXPECT_EQ(scope.State().PersistenceOn, 0);
  // Line 24 is applied, not stored: the close stores it.
  EXPECT_NE(w->SettingsRegistry.ReadInteger(QStringLiteral("TrigPos")), 333);
}

TEST_F(SettingsFileOnWindow, ABadFileChangesNeitherTheStoreNorThePanel) {
  ScopeWindow w(true, true, ScopeWindow::Store::FromEnvironment);
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;
  const QString good = ConfigHome() + QStringLiteral("/good.txt");
  w.ui.saveAnswers.push_back(good);
  scope.SaveSettingsToFile();
  QStringList lines = SplitGood(good);
  ASSERT_EQ(lines.size(), settings_file::LineCount);
  // Values the store does not hold, so a load that wrote any of them before
  // failing would show in the store's bytes.
  lines[1] = QStringLiteral("150");
  lines[2] = QStringLiteral("300");
  auto with = [&](int index, const char* text) {
    QStringList l = lines;
    l[index] = QLatin1String(text);
    return l.join(QStringLiteral("\r\n")).toUtf8();
  };
  auto content = [](QByteArray bytes) {
    return [bytes](const QString& path) {
      QFile file(path);
      if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
    };
  };
  const QString bad = ConfigHome() + QStringLiteral("/bad.txt");
  const QString cannotOpen = QStringLiteral("Cannot open file %1").arg(bad);
  struct Case {
    const char* what;
    std::function<void(const QString& path)> make;  // puts the file at the path the dialog answers
    QString message;
    bool vanishes = false;  // removed after the dialog, before the read
  };
  const Case cases[] = {
      {"a short file", content(lines.mid(0, 23).join(u'\n').toUtf8()), "List index out of bounds (23)"},
      {"an empty file", content(QByteArray()), "List index out of bounds (3)"},
      {"a word where the time base goes", content(with(3, "fast")), "'fast' is not a valid integer value"},
      {"a fraction where a 0 V marker goes", content(with(1, "12.5")), "'12.5' is not a valid integer value"},
      {"a blank where a trigger level goes", content(with(7, " 32")), "' 32' is not a valid integer value"},
      {"a word where a flag goes", content(with(11, "on")), "'on' is not a valid integer value"},
      {"a knob angle in degrees", content(with(13, "270deg")), "'270deg' is not a valid integer value"},
      {"an exponent where the trigger position goes", content(with(23, "2e2")), "'2e2' is not a valid integer value"},
      {"a number past 32 bits", content(with(18, "4294967396")), "'4294967396' is not a valid integer value"},
      {"binary garbage", content(QByteArray("\x00\x01\xff\xfe\r\n\x7f", 7)), "List index out of bounds (3)"},
      {"a reference file",
       content("Tessaron USB Oscilloscope Referance File\r\n" + QByteArray("1\r\n").repeated(3004)),
       "This is a reference waveform file, not a settings file; nothing was loaded"},
      {"a marker off the strip", content(with(1, "5000")),
       "Line 2 of the settings file holds 5000, which the panel cannot show; nothing was loaded"},
      {"a 50 MB file",
       [](const QString& path) {
         QFile file(path);
         if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || !file.resize(qint64(50) << 20))
           ADD_FAILURE() << "cannot make " << path.toStdString();
       },
       cannotOpen},
      {"a good file that vanishes between the dialog and the read", content(lines.join(QStringLiteral("\r\n")).toUtf8()),
       cannotOpen, true},
      {"a file that is not there", [](const QString& path) { QFile::remove(path); }, cannotOpen},
      {"a folder", [](const QString& path) { QDir().mkpath(path); }, cannotOpen},
  };
  scope.State().KnobAngle = 18;  // something the store does not hold yet
  scope.SettleTimeKnob();
  // A reference on screen stays: only a file that loads switches it off.
  scope.State().ReferenceOn = 1;
  for (std::size_t k = 1; k < scope.State().ReferenceRows.size(); ++k) scope.State().ReferenceRows[k] = std::int32_t(k % 400);
  const auto referenceRows = scope.State().ReferenceRows;
  const QStringList panel = Carried(scope);
  const QByteArray store = FileBytes(w->SettingsRegistry.FilePath());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QFile::remove(bad);
    QDir(bad).removeRecursively();
    c.make(bad);
    w.ui.afterFileDialog = [&c](const QString& answer) {
      if (c.vanishes) QFile::remove(answer);
    };
    w.ui.errors.clear();
    w.ui.openAnswers.push_back(bad);
    ScopeDriver(f).MenuItem(QStringLiteral("LoadSettings1"))->trigger();
    EXPECT_EQ(w.ui.errors, QStringList{c.message});
    EXPECT_EQ(FileBytes(w->SettingsRegistry.FilePath()), store);
    EXPECT_EQ(Carried(scope), panel);
    EXPECT_EQ(scope.State().ReferenceOn, 1);
    EXPECT_TRUE(scope.State().ReferenceRows == referenceRows);
  }
  w.ui.afterFileDialog = nullptr;
  w.ui.errors.clear();
  ScopeDriver(f).MenuItem(QStringLiteral("LoadSettings1"))->trigger();  // no answer queued: cancelled
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors(w);
  EXPECT_EQ(FileBytes(w->SettingsRegistry.FilePath()), store);
  EXPECT_EQ(Carried(scope), panel);
}

TEST_F(SettingsFileOnWindow, AFlagOfTwoIsStoredAsTwoAndShownAsOffAndLinesOneAndEighteenAreNotRead) {
  ScopeWindow w(true, true, ScopeWindow::Store::FromEnvironment);
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;
  scope.PressChannelKey(2);  // both channels on
  const QString file = ConfigHome() + QStringLiteral("/flags.txt");
  w.ui.saveAnswers.push_back(file);
  scope.SaveSettingsToFile();
  QStringList lines = SplitGood(file);
  ASSERT_EQ(lines.size(), settings_file::LineCount);
  const QStringList saved = Carried(scope);
  auto load = [&](const QStringList& content) {
    text_lines::WriteTextLines(file, content);
    w.ui.openAnswers.push_back(file);
    ScopeDriver(f).MenuItem(QStringLiteral("LoadSettings1"))->trigger();
    EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors(w);
  };

  lines[0] = QStringLiteral("no such port");
  lines[17] = QStringLiteral("not a knob face");
  scope.LoadDefaultSettings();
  ASSERT_NE(Carried(scope), saved);
  load(lines);
  EXPECT_EQ(Carried(scope), saved);

  lines[11] = QStringLiteral("2");  // CH1 on
  load(lines);
  EXPECT_EQ(w->SettingsRegistry.ReadInteger(QStringLiteral("CH1On")), 2);
  EXPECT_EQ(scope.State().ChannelOn[1], 0);
  EXPECT_EQ(scope.State().ChannelOn[2], 1);
}

}  // namespace

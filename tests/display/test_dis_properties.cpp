// The "Display Properties" dialog on the real window: what each choice does to
// the display state and the store, what the dialog shows when it opens, and
// the graticule seen in the next frame.

#include "app/Paths.h"
#include "display/DisProperties.h"
#include "storage/SettingsStore.h"
#include "support/ScopeWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace {

QImage GraticuleFile(const char* name) {
  return QImage(ProgramPath(QStringLiteral("Grafics\\") + QString::fromLatin1(name)))
      .convertToFormat(QImage::Format_RGB32);
}

// Moves a picture of the Grafics folder aside for the length of a test.
class FileAside {
 public:
  explicit FileAside(const QString& path) : path_(path), aside_(path + ".aside") {
    moved_ = QFile::rename(path_, aside_);
  }
  ~FileAside() {
    if (moved_) QFile::rename(aside_, path_);
  }
  bool Moved() const { return moved_; }

 private:
  QString path_, aside_;
  bool moved_ = false;
};

class DisProperties : public ::testing::Test {
 protected:
  void SetUp() override {
    ScopeDriver(f).MenuItem(QStringLiteral("Properties1"))->trigger();
    ASSERT_TRUE(WaitFor([&] { return d.isVisible(); }));
  }
  QString Stored(const char* name) { return f.SettingsRegistry.ReadString(QString::fromLatin1(name)); }
  std::int32_t StoredInt(const char* name) { return f.SettingsRegistry.ReadInteger(QString::fromLatin1(name)); }
  QRadioButton* Graticule(int i) const {
    QRadioButton* radios[] = {d.RadioButton4, d.RadioButton5, d.RadioButton6, d.RadioButton7, d.RadioButton8};
    return radios[i];
  }
  int CheckedGraticules() const {
    int n = 0;
    for (int i = 0; i < 5; ++i) n += Graticule(i)->isChecked() ? 1 : 0;
    return n;
  }

  ScopeWindow w{true, /*stopWatch=*/true};
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;
  TDisPropertiesForm& d = *ScopeDriver(f).Find<TDisPropertiesForm>(QStringLiteral("DisPropertiesForm"));
};

TEST_F(DisProperties, IsAModelessDialogWithTheDesignedWidgets) {
  EXPECT_EQ(d.windowTitle(), "Display Properties");
  EXPECT_EQ(d.size(), QSize(385, 268));
  EXPECT_FALSE(d.isModal());
  // The main window keeps working while it is open.
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  struct Radio {
    QRadioButton* radio;
    const char* caption;
    QPoint at;
  } radios[] = {
      {d.RadioButton1, "Off", {40, 40}},          {d.RadioButton2, "Normal", {40, 56}},
      {d.RadioButton3, "Rainbow", {40, 72}},      {d.RadioButton4, "Full Grid", {24, 24}},
      {d.RadioButton5, "Cross Hair W/Dots", {24, 40}}, {d.RadioButton6, "Cross Hair Only", {24, 56}},
      {d.RadioButton7, "Center Dots Only", {24, 72}},  {d.RadioButton8, "Blank", {24, 88}},
      {d.ColorA, "White Background", {16, 0}},    {d.RadioButton10, "Black Background", {16, 16}},
  };
  for (const Radio& r : radios) {
    EXPECT_EQ(r.radio->text(), r.caption);
    EXPECT_EQ(r.radio->pos(), r.at) << r.caption;
  }
  EXPECT_EQ(d.RadioButton4->parentWidget(), d.Panel1);
  EXPECT_EQ(d.ColorA->parentWidget(), d.Panel2);
  EXPECT_EQ(d.PersitanceTrackBar->geometry(), QRect(24, 96, 150, 33));
  EXPECT_EQ(d.PersitanceTrackBar->minimum(), 0);
  EXPECT_EQ(d.PersitanceTrackBar->maximum(), 50);
  for (const auto& [label, text] : {std::pair{d.Label3, "Variable Persistence Dots"}, {d.Label5, "Display Background"},
                                    {d.Label6, "Background will change next "},
                                    {d.Label7, "time oscilloscope plots data."},
                                    {d.Label8, "Save BMP Background Color"}, {d.Label4, "MIN"},
                                    {d.Label1, "MAX"}})
    EXPECT_EQ(label->text(), text);
  EXPECT_EQ(d.Button1->text(), "Close");
  d.Button1->click();
  EXPECT_FALSE(d.isVisible());
}

TEST_F(DisProperties, PersistenceRadiosSetTheModeAndLeaveTheGrids) {
  struct Case {
    int radio;  // RadioButton1..3
    std::int32_t hit;
    std::uint8_t on, rainbow;
    std::int32_t mode;
  };
  const Case cases[] = {
      {2, 255, 1, 0, 2},   // Normal
      {3, 1024, 1, 1, 3},  // Rainbow
      {1, 1024, 0, 0, 1},  // Off
  };
  QRadioButton* radios[] = {nullptr, d.RadioButton1, d.RadioButton2, d.RadioButton3};
  scope.State().CH1Persistence[1234] = 77;
  for (const Case& c : cases) {
    radios[c.radio]->click();
    EXPECT_EQ(scope.State().PersistenceHit, c.hit) << c.radio;
    EXPECT_EQ(scope.State().PersistenceOn, c.on) << c.radio;
    EXPECT_EQ(scope.State().RainbowOn, c.rainbow) << c.radio;
    EXPECT_EQ(scope.State().PersistenceMode, c.mode) << c.radio;
    EXPECT_EQ(scope.State().CH1Persistence[1234], 77) << "a mode change does not clear the grids";
  }
}

TEST_F(DisProperties, TrackBarPositionSetsTheFadeAndIsNotSetFromIt) {
  // At start the fade is 10 while the bar shows its design position.
  EXPECT_EQ(scope.State().PersistenceFade, 10);
  EXPECT_EQ(d.PersitanceTrackBar->value(), 30);
  for (const auto& [position, fade] : {std::pair{50, 0}, {0, 50}, {30, 20}, {49, 1}}) {
    d.PersitanceTrackBar->setValue(position);
    EXPECT_EQ(scope.State().PersistenceFade, fade) << "position " << position;
  }
  // Shown again, the bar keeps its position.
  d.PersitanceTrackBar->setValue(45);
  d.hide();
  ScopeDriver(f).MenuItem(QStringLiteral("Properties1"))->trigger();
  EXPECT_EQ(d.PersitanceTrackBar->value(), 45);
  EXPECT_EQ(scope.State().PersistenceFade, 5);
}

TEST_F(DisProperties, EachGraticuleIsLoadedStoredAndSeenInTheNextFrame) {
  struct Case {
    int radio;
    const char* file;
    std::int32_t number;
  } cases[] = {{1, "Grid3.bmp", 2}, {2, "Grid4.bmp", 3}, {3, "Grid5.bmp", 4}, {4, "Grid6.bmp", 5}, {0, "Grid2.bmp", 1}};
  // A held record whose traces are off: the frame shows the graticule alone.
  scope.State().ChannelOn[1] = scope.State().ChannelOn[2] = 0;
  scope.State().HeldRecord.SetTimeBase(5, scope.State().HeldRecord.rate1MS);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Graticule(c.radio)->click();
    const QString relative = "Grafics\\" + QString::fromLatin1(c.file);
    EXPECT_EQ(scope.State().GridFile, relative);
    EXPECT_EQ(Stored("DISPLAYBACKGROUND"), relative);
    EXPECT_EQ(StoredInt("DISPLAYBUTTON"), c.number);
    scope.DrawHeldRecord();
    EXPECT_EQ(f.PlotBitmap.convertToFormat(QImage::Format_RGB32), GraticuleFile(c.file));
  }
  // The five pictures differ from one another.
  for (int a = 2; a <= 6; ++a)
    for (int b = a + 1; b <= 6; ++b)
      EXPECT_NE(GraticuleFile(qPrintable(QString("Grid%1.bmp").arg(a))),
                GraticuleFile(qPrintable(QString("Grid%1.bmp").arg(b))));
}

TEST_F(DisProperties, AnUnreadableGraticuleIsReportedAndChangesNothing) {
  d.RadioButton5->click();
  ASSERT_EQ(scope.State().GridFile, "Grafics\\Grid3.bmp");
  const QImage before = f.GridBitmap.copy();
  FileAside aside(ProgramPath("Grafics\\Grid6.bmp"));
  ASSERT_TRUE(aside.Moved());
  d.RadioButton8->click();
  ASSERT_EQ(w.ui.errors.size(), 1);
  EXPECT_TRUE(w.ui.errors[0].contains("Grid6.bmp")) << w.ui.errors[0].toStdString();
  EXPECT_EQ(scope.State().GridFile, "Grafics\\Grid3.bmp");
  EXPECT_EQ(f.GridBitmap, before);
  EXPECT_EQ(Stored("DISPLAYBACKGROUND"), "Grafics\\Grid3.bmp");
  EXPECT_EQ(StoredInt("DISPLAYBUTTON"), 2);
  // The radios show the graticule still in use.
  EXPECT_TRUE(d.RadioButton5->isChecked());
  EXPECT_FALSE(d.RadioButton8->isChecked());
}

TEST_F(DisProperties, SaveBackgroundIsStoredAtOnce) {
  d.RadioButton10->click();
  EXPECT_EQ(scope.State().ScreenSave, 0);
  EXPECT_FALSE(f.SettingsRegistry.ReadBool("ScreenSave"));
  d.ColorA->click();
  EXPECT_EQ(scope.State().ScreenSave, 1);
  EXPECT_TRUE(f.SettingsRegistry.ReadBool("ScreenSave"));
}

TEST_F(DisProperties, ShownAgainItSelectsWhatTheStateSays) {
  d.hide();
  // A graticule named by none of the five: no graticule radio is selected.
  scope.State().GridFile = "Grafics\\Other.bmp";
  scope.State().PersistenceMode = 3;
  scope.State().ScreenSave = 0;
  ScopeDriver(f).MenuItem(QStringLiteral("Properties1"))->trigger();
  EXPECT_EQ(CheckedGraticules(), 0);
  EXPECT_TRUE(d.RadioButton3->isChecked());
  // A radio selected from code runs its action: the rainbow state is set.
  EXPECT_EQ(scope.State().RainbowOn, 1);
  EXPECT_EQ(scope.State().PersistenceOn, 1);
  EXPECT_TRUE(d.RadioButton10->isChecked());
  EXPECT_FALSE(f.SettingsRegistry.ReadBool("ScreenSave"));

  d.hide();
  scope.State().GridFile = "Grafics\\Grid4.bmp";
  f.SettingsRegistry.WriteInteger("DISPLAYBUTTON", 1);
  ScopeDriver(f).MenuItem(QStringLiteral("Properties1"))->trigger();
  EXPECT_TRUE(d.RadioButton6->isChecked());
  EXPECT_EQ(CheckedGraticules(), 1);
  // ... and the graticule radio's action stored its number again.
  EXPECT_EQ(StoredInt("DISPLAYBUTTON"), 3);
  EXPECT_EQ(f.GridBitmap, GraticuleFile("Grid4.bmp"));
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join('\n').toStdString();
}

TEST_F(DisProperties, AnOpenDialogFollowsLoadDefaultSettings) {
  d.RadioButton3->click();
  d.RadioButton7->click();
  d.RadioButton10->click();
  ScopeDriver(f).MenuItem(QStringLiteral("LoadDefultSettings1"))->trigger();
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join('\n').toStdString();
  EXPECT_TRUE(d.isVisible());
  EXPECT_TRUE(d.RadioButton1->isChecked());
  EXPECT_TRUE(d.RadioButton4->isChecked());
  EXPECT_TRUE(d.ColorA->isChecked());
  EXPECT_EQ(scope.State().PersistenceOn, 0);
  EXPECT_EQ(scope.State().GridFile, "Grafics\\Grid2.bmp");
  EXPECT_EQ(scope.State().ScreenSave, 1);
  EXPECT_TRUE(f.SettingsRegistry.ReadBool("ScreenSave"));
}

}  // namespace

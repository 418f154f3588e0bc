// The main window as a user first meets it: caption, size, menus, timers and
// the scope state before anything has happened; the start-up failure rule.
#include "app/Errors.h"
#include "app/Paths.h"
#include "storage/SettingsStore.h"
#include "support/ConfigHome.h"
#include "support/ScopeWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>

namespace {

QStringList Captions(const QList<QAction*>& actions) {
  QStringList out;
  for (QAction* a : actions) out << a->text();
  return out;
}

TEST(Shell, WindowCaptionSizeAndPosition) {
  // The design size; the restore at show time may narrow and shorten it.
  ScopeWindow w(false, true);
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Tessaron USB Oscilloscope"));
  EXPECT_EQ(w.scope.Find<QWidget>(QStringLiteral("ClientArea"))->size(), QSize(976, 608));
  EXPECT_EQ(w->minimumSize(), w->maximumSize()) << "the window has a fixed size";
  EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(w.scope.Find<QWidget>(QStringLiteral("ClientArea"))->palette().color(QPalette::Window), QColor(192, 192, 192));
  EXPECT_EQ(w.scope.ScreenBezel()->geometry(), QRect(0, 2, 558, 545));
  EXPECT_EQ(w.scope.Panel(QStringLiteral("HorVerPanel"))->geometry(), QRect(559, 0, 225, 505));
  EXPECT_EQ(w.scope.Find<TImage>(QStringLiteral("RunStopButton"))->geometry(), QRect(619, 506, 100, 35));
  EXPECT_EQ(w.scope.Find<TPanel>(QStringLiteral("SettingPanel"))->geometry(), QRect(56, 352, 444, 113));
  EXPECT_EQ(w.scope.ChannelNotice()->geometry(), QRect(248, 208, 337, 65));
  EXPECT_EQ(w.scope.Find<TPanel>(QStringLiteral("AboutPanel"))->geometry(), QRect(136, 96, 508, 321));
  EXPECT_EQ(w->pos(), QPoint(261, 100));
  w->show();
  QCoreApplication::processEvents();
  EXPECT_EQ(w.scope.Find<QWidget>(QStringLiteral("ClientArea"))->geometry().top(), w->menuBar()->height())
      << "client coordinates start below the menu bar";
  EXPECT_FALSE(w.scope.Find<TPanel>(QStringLiteral("SettingPanel"))->isVisible());
  EXPECT_FALSE(w.scope.CalibrationPanel()->isVisible());
  EXPECT_FALSE(w.scope.ChannelNotice()->isVisible());
  EXPECT_TRUE(w.scope.Find<TPanel>(QStringLiteral("AboutPanel"))->isVisible());
  EXPECT_FALSE(w.scope.Find<TDisPropertiesForm>(QStringLiteral("DisPropertiesForm"))->isVisible());
}

TEST(Shell, MenusInOrderWithTheirCaptions) {
  ScopeWindow w(false, true);
  EXPECT_EQ(Captions(w.scope.Find<QMenuBar>(QStringLiteral("MainMenu1"))->actions()),
            (QStringList{"View", "Trigger", "Acquisition", "Cursors", "Settings",
                         "Reference Waveform", "Records", "Analysis", "Help"}));
  EXPECT_EQ(Captions(w.scope.Find<QMenu>(QStringLiteral("View1"))->actions()),
            (QStringList{"Reset Horizontal View", "Save View as BMP", "Auto Measurements ON",
                         "Export Data To File", "Print View"}));
  EXPECT_EQ(Captions(w.scope.Find<QMenu>(QStringLiteral("Trigger1"))->actions()),
            (QStringList{"Source", "Edge", "Mode", "Trigger Position"}));
  EXPECT_EQ(Captions(w.scope.Find<QMenu>(QStringLiteral("Source1"))->actions()), (QStringList{"CH1", "CH2", "EXT"}));
  EXPECT_EQ(Captions(w.scope.Find<QMenu>(QStringLiteral("Edge1"))->actions()), (QStringList{"Rising", "Falling"}));
  EXPECT_EQ(Captions(w.scope.Find<QMenu>(QStringLiteral("Mode1"))->actions()), (QStringList{"Auto", "Normal"}));
  EXPECT_EQ(Captions(w.scope.Find<QMenu>(QStringLiteral("TriggerPosition1"))->actions()), (QStringList{"10%", "50%", "90%"}));
  EXPECT_EQ(Captions(w.scope.Find<QMenu>(QStringLiteral("Acquisition1"))->actions()),
            (QStringList{"Continuous", "Single", "RUN/STOP"}));
  EXPECT_EQ(Captions(w.scope.Find<QMenu>(QStringLiteral("Cursors1"))->actions()),
            (QStringList{"All Off", "Vertical ON", "Horizontal ON", "Both ON", "Snap to Plot ON"}));
  EXPECT_EQ(Captions(w.scope.Find<QMenu>(QStringLiteral("Display1"))->actions()),
            (QStringList{"Display Properties...", "COM Settings...", "Calibrate Channels...",
                         "Load Default Settings", "Save Settings To File",
                         "Load Settings From File"}));
  EXPECT_EQ(Captions(w.scope.Find<QMenu>(QStringLiteral("ReferanceWaveform1"))->actions()),
            (QStringList{"Save CH1 Ref ", "Save CH2 Ref", "Load Reference", "Reference OFF"}));
  EXPECT_EQ(Captions(w.scope.Find<QMenu>(QStringLiteral("Records1"))->actions()),
            (QStringList{"Previous Record", "Next Record", "Latest Record", "Save Record...", "Save History...",
                         "Open Record...", "Clear History"}));
  EXPECT_EQ(w.scope.MenuItem(QStringLiteral("PreviousRecord1"))->shortcut(), QKeySequence(Qt::Key_PageUp));
  EXPECT_EQ(w.scope.MenuItem(QStringLiteral("NextRecord1"))->shortcut(), QKeySequence(Qt::Key_PageDown));
  EXPECT_EQ(w.scope.MenuItem(QStringLiteral("LatestRecord1"))->shortcut(), QKeySequence(Qt::Key_End));
  EXPECT_EQ(Captions(w.scope.Find<QMenu>(QStringLiteral("Analysis1"))->actions()),
            (QStringList{"Measurement Statistics", "Average", "Log Measurements...", "Stop Logging", "Trend Plot"}));
  EXPECT_EQ(Captions(w.scope.Find<QMenu>(QStringLiteral("Average1"))->actions()), (QStringList{"Off", "2", "4", "8", "16", "32", "64"}));
  EXPECT_EQ(Captions(w.scope.Find<QMenu>(QStringLiteral("Help1"))->actions()), (QStringList{"About", "Help"}));
}

TEST(Shell, RadioGroupsAreExclusive) {
  ScopeWindow w(false, true);
  const std::vector<std::vector<QAction*>> groups = {
      {w.scope.MenuItem(QStringLiteral("CH11")), w.scope.MenuItem(QStringLiteral("CH21")), w.scope.MenuItem(QStringLiteral("EXT1"))}, {w.scope.MenuItem(QStringLiteral("Rising1")), w.scope.MenuItem(QStringLiteral("Falling2"))}, {w.scope.MenuItem(QStringLiteral("Auto1")), w.scope.MenuItem(QStringLiteral("Normal1"))},
      {w.scope.MenuItem(QStringLiteral("POS10")), w.scope.MenuItem(QStringLiteral("POS50")), w.scope.MenuItem(QStringLiteral("POS90"))}, {w.scope.MenuItem(QStringLiteral("Continuous")), w.scope.MenuItem(QStringLiteral("Single"))},
      [&] { const QList<QAction*> items = w.scope.Find<QMenu>(QStringLiteral("Average1"))->actions(); return std::vector<QAction*>(items.begin(), items.end()); }()};
  for (const auto& group : groups) {
    ASSERT_NE(group.front()->actionGroup(), nullptr) << group.front()->text().toStdString();
    EXPECT_TRUE(group.front()->actionGroup()->isExclusive());
    for (QAction* a : group) {
      EXPECT_TRUE(a->isCheckable());
      EXPECT_EQ(a->actionGroup(), group.front()->actionGroup());
    }
    group.back()->setChecked(true);
    group.front()->setChecked(true);
    EXPECT_FALSE(group.back()->isChecked()) << "checking one item unchecks the others";
  }
}

TEST(Shell, TimersAndTheirStartStates) {
  ScopeWindow w(false);
  struct Case {
    QTimer* timer;
    int interval;
    bool enabled;
  };
  const Case cases[] = {{w.scope.Timer(QStringLiteral("Timer1")), 1000, true},
                        {w.scope.Timer(QStringLiteral("Anoucer")), 300, false},
                        {w.scope.Timer(QStringLiteral("StatStopResetTimer")), 80, false},
                        {w.scope.Timer(QStringLiteral("TrigVoltLineTimer")), 3000, false},
                        {w.scope.Timer(QStringLiteral("AboutTimer")), 3000, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.timer->objectName().toStdString());
    EXPECT_EQ(c.timer->interval(), c.interval);
    EXPECT_EQ(TForm1::Enabled(c.timer), c.enabled);
  }
}

TEST(Shell, TimerEnableDoesNotRestartARunningTimer) {
  ScopeWindow w(false, true);
  TForm1::SetEnabled(w.scope.Timer(QStringLiteral("Anoucer")), true);
  RunEventsFor(150);
  const int remaining = w.scope.Timer(QStringLiteral("Anoucer"))->remainingTime();
  TForm1::SetEnabled(w.scope.Timer(QStringLiteral("Anoucer")), true);
  EXPECT_LE(w.scope.Timer(QStringLiteral("Anoucer"))->remainingTime(), remaining);
  TForm1::SetEnabled(w.scope.Timer(QStringLiteral("Anoucer")), false);
  EXPECT_FALSE(TForm1::Enabled(w.scope.Timer(QStringLiteral("Anoucer"))));
}

TEST(Shell, InitialScopeStateBeforeAnyAction) {
  ScopeWindow w(false, true);
  EXPECT_EQ(w.scope.State().Running, 0);
  EXPECT_EQ(w.scope.State().AwaitingData, 0);
  EXPECT_EQ(w.scope.State().RestartPending, 0);
  EXPECT_EQ(w.scope.State().HourGlassFrame, 0);
  EXPECT_EQ(w.scope.State().DeviceFound, 0);
  EXPECT_EQ(w.scope.State().HeldRecord.ch1[1], 0);
  EXPECT_EQ(w.scope.State().HeldRecord.ch2[3000], 0);
  EXPECT_EQ(w.scope.State().PlotValid, 0);
  EXPECT_EQ(w.scope.State().ReferenceOn, 0);
  EXPECT_EQ(w.scope.State().PersistenceOn, 0);
  EXPECT_FALSE(w->SerialPort.IsOpen);
  EXPECT_EQ(w->PlotBitmap.size(), QSize(500, 400));
  EXPECT_EQ(w->PreviewBitmap.size(), QSize(500, 26));
  EXPECT_EQ(w->SaveBitmap.size(), QSize(556, 545));
  EXPECT_EQ(w->GridBitmap.size(), QSize(500, 400));
}

TEST(Shell, TwoWindowsKeepSeparateState) {
  ScopeWindow a(false, true);
  ScopeWindow b(false, true);
  a->State().Running = 1;
  a->State().HeldRecord.ch1[10] = 99;
  EXPECT_EQ(b->State().Running, 0);
  EXPECT_EQ(b->State().HeldRecord.ch1[10], 0);
}

// Per-channel code is written once against Channel(n): a part that named the
// other channel's member would act on the wrong trace, arrow or calibration.
TEST(Shell, EachChannelsPartsAreThatChannelsOwn) {
  ScopeWindow w(false, true);
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;
  auto parts = [](const ChannelParts& c) {
    return std::vector<const void*>{&c.On, &c.VertPos, &c.KnobAngle, &c.Scale,
                                    &c.VoltsDiv, &c.VoltsDivText, &c.HighRange, &c.TriggerV, &c.CalLow,
                                    &c.CalHigh, &c.CalOffset, &c.Persistence, &c.PersistColors,
                                    c.SourceItem};
  };
  EXPECT_EQ(parts(f.Channel(1)),
            (std::vector<const void*>{&scope.State().ChannelOn[1], &scope.State().CH1VertPos, &scope.State().CH1KnobAngle, &scope.State().CH1Scale,
                                      &scope.State().CH1VoltsDiv, &scope.State().CH1VoltsDivText,
                                      &scope.State().CH1HighRange, &scope.State().CH1TriggerV, &scope.State().CalCH1L, &scope.State().CalCH1H,
                                      &scope.State().CH1CalOffset, &scope.State().CH1Persistence,
                                      &scope.State().CH1PersistColors, ScopeDriver(f).MenuItem(QStringLiteral("CH11"))}));
  EXPECT_EQ(parts(f.Channel(2)),
            (std::vector<const void*>{&scope.State().ChannelOn[2], &scope.State().CH2VertPos, &scope.State().CH2KnobAngle, &scope.State().CH2Scale,
                                      &scope.State().CH2VoltsDiv, &scope.State().CH2VoltsDivText,
                                      &scope.State().CH2HighRange, &scope.State().CH2TriggerV, &scope.State().CalCH2L, &scope.State().CalCH2H,
                                      &scope.State().CH2CalOffset, &scope.State().CH2Persistence,
                                      &scope.State().CH2PersistColors, ScopeDriver(f).MenuItem(QStringLiteral("CH21"))}));
  EXPECT_EQ(f.Channel(1).Colour, QColor(0, 126, 255));
  EXPECT_EQ(f.Channel(2).Colour, QColor(255, 0, 0));
  for (int wrong : {0, 3, -1}) {
    try {
      f.Channel(wrong);
      ADD_FAILURE() << "Channel(" << wrong << ") gave parts";
    } catch (const ScopeError& e) {
      EXPECT_TRUE(e.Message().startsWith(QStringLiteral("List index out of bounds"))) << e.what();
    }
  }
}

TEST(Shell, AFailingHandlerShowsOneErrorBoxAndTheProgramGoesOn) {
  ScopeWindow w(false, true);
  bool after = false;
  w.scope.Guarded([] { throw ScopeError(QStringLiteral("Failed to get data for 'TrigPos'")); });
  w.scope.Guarded([&] { after = true; });
  ASSERT_EQ(w.ui.errors.size(), 1);
  EXPECT_EQ(w.ui.errors.front(), QStringLiteral("Failed to get data for 'TrigPos'"));
  EXPECT_TRUE(after);
}

TEST(Shell, HandlerWrapperDropsSignalArgumentsItDoesNotTake) {
  ScopeWindow w(false, true);
  int calls = 0;
  auto h = w->Handler([&] { ++calls; });
  h(true);
  h();
  EXPECT_EQ(calls, 2);
}

// The store folder is taken from XDG_CONFIG_HOME: each case gets its own.
using StartUp = ConfigHomeFixture;

TEST_F(StartUp, StoredGraticuleIsLoadedFromTheProgramFolderWhateverTheCurrentDirectory) {
  {
    SettingsStore store;
    store.WriteString(QStringLiteral("DISPLAYBACKGROUND"), QStringLiteral("Grafics\\Grid5.bmp"));
  }
  QTemporaryDir elsewhere;
  const QString before = QDir::currentPath();
  QDir::setCurrent(elsewhere.path());
  std::unique_ptr<ScopeUnit> unit;
  EXPECT_NO_THROW(unit = InitializeUnit());
  QDir::setCurrent(before);
  ASSERT_TRUE(unit);
  EXPECT_EQ(unit->GridFile, QStringLiteral("Grafics\\Grid5.bmp"));
  const QImage grid5(ProgramPath(QStringLiteral("Grafics\\Grid5.bmp")));
  ASSERT_FALSE(grid5.isNull());
  EXPECT_EQ(unit->GridBitmap.convertToFormat(QImage::Format_RGB32),
            grid5.convertToFormat(QImage::Format_RGB32));
  EXPECT_FALSE(unit->ScreenSave) << "a missing ScreenSave means black";
}

TEST_F(StartUp, AGraticuleThatCannotBeReadEndsTheStartWithItsError) {
  {
    SettingsStore store;
    store.WriteString(QStringLiteral("DISPLAYBACKGROUND"), QStringLiteral("Grafics\\Grid9.bmp"));
  }
  try {
    InitializeUnit();
    FAIL() << "started without its graticule";
  } catch (const ScopeError& e) {
    EXPECT_TRUE(e.Message().contains(QStringLiteral("Grid9.bmp"))) << e.what();
  }
}

}  // namespace

namespace {

// Pictures swapped at every frame are decoded once, but a file changed or
// removed on disk is still seen at the next swap.
TEST(Shell, ShownBitmapsFollowTheFileOnDisk) {
  ScopeWindow w(false, true);
  const QString name = QStringLiteral("shell-test-picture.bmp");
  const QString path = ProgramPath(name);
  TImage* image = w.scope.Find<TImage>(QStringLiteral("RunStopButton"));

  QImage red(4, 3, QImage::Format_RGB32);
  red.fill(Qt::red);
  ASSERT_TRUE(red.save(path, "BMP"));
  w.scope.ShowPicture(image, name);
  EXPECT_EQ(image->Picture().pixelColor(0, 0), QColor(Qt::red));

  QImage blue(5, 3, QImage::Format_RGB32);
  blue.fill(Qt::blue);
  ASSERT_TRUE(blue.save(path, "BMP"));
  w.scope.ShowPicture(image, name);
  EXPECT_EQ(image->Picture().pixelColor(0, 0), QColor(Qt::blue));

  QFile::remove(path);
  EXPECT_THROW(w.scope.ShowPicture(image, name), ScopeError);
}

}  // namespace

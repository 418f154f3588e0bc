// The restore and the save on the real window: a panel closed and started
// again comes back as it was; Load Default Settings; the stored trigger
// position against the restore's own 50 % step; the graticule and the
// measurement panel from the store; and how a store that lost values or
// holds odd ones is reported or applied.

#include "RestoreFixture.h"

#include "app/Paths.h"
#include "app/Widgets.h"
#include "storage/SettingsDefaults.h"
#include "support/ScopeWindow.h"

#include <QAction>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>

#include <functional>
#include <optional>

#include <gtest/gtest.h>

namespace {

std::string Errors(const ScopeWindow& w) { return w.ui.errors.join(QStringLiteral(" | ")).toStdString(); }

bool Shown(const QWidget* w) { return w->isVisibleTo(w->parentWidget()); }

QStringList Panel(const ScopeDriver& scope) { return scope.Snapshot().Lines(); }

using Restore = RestoreFixture;

// ---- Close, then start again ------------------------------------------------

struct PanelSetup {
  const char* name;
  std::function<void(TForm1&)> change;
};

TEST_F(Restore, CloseThenStartAgainReproducesThePanel) {
  const PanelSetup setups[] = {
      {"CH2 alone with the knob, EXT trigger, normal mode, single shots",
       [](TForm1& f) {
         ScopeDriver scope(f);
         scope.PressChannelKey(2);
         scope.PressChannelKey(1);
         scope.PressChannelOff();  // CH1 off; the knob goes to CH2
         scope.State().KnobAngle = 180;  // 200 mV/div for CH2
         scope.SettleVoltsKnob();
         scope.State().KnobAngle = 234;  // 2 ms/div
         scope.SettleTimeKnob();
         // CH1's 0 V marker dragged 28 rows down; its arrow follows.
         f.Image1MouseDown(scope.Marker(1), Qt::LeftButton, 5, 7);
         f.VerticalSliderMouseMove(scope.Marker(1), 5, 7 + 28);
         f.Image1MouseUp(scope.Marker(1), Qt::LeftButton, 5, 7 + 28);
         scope.ChooseTriggerSource(3);
         scope.ChooseNormalTrigger();
         scope.ChooseSingle();
         SetLeft(ScopeDriver(f).Find<TImage>(QStringLiteral("HorTrigPos")), 333);
         scope.SettleTriggerPosition();
         f.move(120, 40);
       }},
      {"both channels, CH1 at 1 V/div triggering falling at a typed 1.5 V, 10 % position",
       [](TForm1& f) {
         ScopeDriver scope(f);
         scope.ChooseTriggerSource(1);
         scope.PressChannelKey(2);
         scope.State().KnobAngle = 315;  // CH2 2 V/div
         scope.SettleVoltsKnob();
         scope.PressChannelKey(1);
         scope.State().KnobAngle = 270;  // CH1 1 V/div
         scope.SettleVoltsKnob();
         scope.State().KnobAngle = 18;  // 200 ms/div
         scope.SettleTimeKnob();
         scope.OpenTriggerLevelEdit();
         ScopeDriver(f).Find<QLineEdit>(QStringLiteral("TriggerVEdit"))->setText(QStringLiteral("1.5"));
         scope.TriggerLevelKey(Qt::Key_Return);
         scope.ChooseFallingEdge();
         scope.ChooseTriggerPosition(10);
         f.move(30, 70);
       }},
      {"CH2 triggering, 500 us/div, 90 % position",
       [](TForm1& f) {
         ScopeDriver scope(f);
         scope.PressChannelKey(2);
         scope.State().KnobAngle = 225;  // CH2 500 mV/div
         scope.SettleVoltsKnob();
         scope.ChooseTriggerSource(2);
         scope.State().KnobAngle = 186;
         scope.SettleTimeKnob();
         scope.ChooseTriggerPosition(90);
       }},
  };
  for (const PanelSetup& setup : setups) {
    SCOPED_TRACE(setup.name);
    QStringList closed;
    {
      ScopeWindow first(true, true, ScopeWindow::Store::FromEnvironment);
      ASSERT_TRUE(first.ui.errors.isEmpty()) << Errors(first);
      const QStringList before = Panel(first.scope);
      setup.change(*first.form);
      ASSERT_TRUE(first.ui.errors.isEmpty()) << Errors(first);
      closed = Panel(first.scope);
      ASSERT_NE(closed, before) << "the setup changed nothing";
    }
    ScopeWindow second(true, true, ScopeWindow::Store::FromEnvironment);
    EXPECT_TRUE(second.ui.errors.isEmpty()) << Errors(second);
    EXPECT_EQ(Panel(second.scope), closed);
  }
}

TEST_F(Restore, CloseWritesEveryValueOfTheCloseListAfterStoppingAcquisition) {
  ScopeWindow w(true, true, ScopeWindow::Store::FromEnvironment);
  SettingsStore& store = w->SettingsRegistry;
  ReplaceStore(store, {});
  w.scope.State().Running = 1;
  w->FormClose();
  EXPECT_EQ(w.scope.State().Running, 0);
  const char* closeList[] = {"COMPORT",       "TrigPos",      "CH1VertPos",   "CH2VertPos",
                             "Angle",         "CH1Trig",      "CH2Trig",      "TriggerCH",
                             "CH1TriggerV",   "CH2TriggerV",  "CH1TriggerArrowVis", "CH2TriggerArrowVis",
                             "CH1On",         "CH2On",        "CH1KnobAngle", "CH2KnobAngle",
                             "Image7EN",      "CH1Focus",     "FormTop",      "FormLeft",
                             "RisingTrigger", "ConSample",    "Auto"};
  for (const char* name : closeList) EXPECT_TRUE(store.ValueExists(QLatin1String(name))) << name;
  // What the close does not write stays missing: the restore reports it.
  for (const char* name : {"AutoMeasONOFF", "CalCH1L", "DISPLAYBACKGROUND"})
    EXPECT_FALSE(store.ValueExists(QLatin1String(name))) << name;
}

// ---- Load Default Settings ----------------------------------------------------

TEST_F(Restore, LoadDefaultSettingsClearsCalibrationAndKeepsTheStoredTriggerPosition) {
  PutStore(With(CompleteStore(), {{"TrigPos", 123},
                                  {"CalCH1L", 4},
                                  {"CalCH2L", -2},
                                  {"CalCH1H", 7},
                                  {"CalCH2H", 1},
                                  {"TriggerCH", 2},
                                  {"CH2On", 1},
                                  {"Angle", 306},
                                  {"AutoMeasONOFF", 2},
                                  {"COMPORT", QStringLiteral("/dev/ttyUSB7")}}));
  ScopeWindow w(true, true, ScopeWindow::Store::FromEnvironment);
  ASSERT_TRUE(w.ui.errors.isEmpty()) << Errors(w);
  ASSERT_EQ(w.scope.State().CalCH1H, 7);
  // Persistence on and the view window moved, as a user may have left them.
  w.scope.State().PersistenceOn = 1;
  w.scope.State().RainbowOn = 1;
  w.scope.State().PersistenceMode = 3;
  SetLeft(w.scope.ViewWindowMarker(), 250);
  w.scope.Find<TPanel>(QStringLiteral("AboutPanel"))->hide();
  TForm1::SetEnabled(w.scope.Timer(QStringLiteral("AboutTimer")), false);

  w.scope.MenuItem(QStringLiteral("LoadDefultSettings1"))->trigger();  // through the menu, as a user does
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors(w);
  for (const char* name : {"CalCH1L", "CalCH2L", "CalCH1H", "CalCH2H"})
    EXPECT_EQ(w->SettingsRegistry.ReadInteger(QLatin1String(name)), 0) << name;
  EXPECT_EQ(w.scope.State().CalCH1L + w.scope.State().CalCH2L + w.scope.State().CalCH1H + w.scope.State().CalCH2H, 0);
  EXPECT_EQ(Left(w.scope.Find<TImage>(QStringLiteral("HorTrigPos"))), 123);
  EXPECT_EQ(w.scope.PortNameLabel()->text(), QStringLiteral("/dev/ttyUSB7"));
  EXPECT_EQ(Left(w.scope.ViewWindowMarker()), 173);
  EXPECT_EQ(w.scope.State().PersistenceOn, 0);
  EXPECT_EQ(w.scope.State().RainbowOn, 0);
  EXPECT_EQ(w.scope.State().PersistenceMode, 1);
  EXPECT_EQ(w.scope.State().PersistenceHit, 1024);
  // The panel of the defaults.
  EXPECT_EQ(w.scope.State().TriggerCH, 1);
  EXPECT_EQ(w.scope.State().ChannelOn[2], 0);
  EXPECT_EQ(w.scope.State().TimeDivText, QStringLiteral("100us/DIV"));
  EXPECT_EQ(w->FormWidth(), 984);
  EXPECT_TRUE(TForm1::Enabled(w.scope.Timer(QStringLiteral("AboutTimer"))));
}

TEST_F(Restore, LoadDefaultSettingsReloadsTheFullGridFromTheProgramFolder) {
  PutStore(With(CompleteStore(), {{"DISPLAYBACKGROUND", QStringLiteral("Grafics\\Grid5.bmp")}}));
  ScopeWindow w(true, true, ScopeWindow::Store::FromEnvironment);
  ASSERT_EQ(w.scope.State().GridFile, QStringLiteral("Grafics\\Grid5.bmp"));
  w.scope.LoadDefaultSettings();
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors(w);
  EXPECT_EQ(w.scope.State().GridFile, QStringLiteral("Grafics\\Grid2.bmp"));
  EXPECT_EQ(w->GridBitmap, LoadBitmapFile(ProgramPath(QStringLiteral("Grafics\\Grid2.bmp"))));
  EXPECT_EQ(w->PlotBitmap, w->GridBitmap);  // the empty graticule is on the screen
}

// ---- The trigger position marker ------------------------------------------------

TEST_F(Restore, StoredTriggerPositionWinsOverTheRestoresOwnFiftyPercentStep) {
  struct Case {
    int trigPos;
    const char* checkedPreset;  // nullptr: none
  };
  const Case cases[] = {{123, nullptr}, {451, "POS90"}, {251, "POS50"}, {51, "POS10"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.trigPos);
    PutStore(With(CompleteStore(), {{"TrigPos", c.trigPos}}));
    ScopeWindow w(true, true, ScopeWindow::Store::FromEnvironment);
    EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors(w);
    EXPECT_EQ(Left(w.scope.Find<TImage>(QStringLiteral("HorTrigPos"))), c.trigPos);
    for (QAction* preset : {w.scope.MenuItem(QStringLiteral("POS10")), w.scope.MenuItem(QStringLiteral("POS50")), w.scope.MenuItem(QStringLiteral("POS90"))})
      EXPECT_EQ(preset->isChecked(), c.checkedPreset && preset->objectName() == QLatin1String(c.checkedPreset))
          << preset->objectName().toStdString();
  }
}

// ---- Graticule and measurement panel from the store -------------------------------

TEST_F(Restore, GraticuleComesFromTheStoredNameOrTheFullGrid) {
  struct Case {
    const char* what;
    std::optional<QString> stored;
    const char* loaded;
  };
  const Case cases[] = {
      {"a stored choice", QStringLiteral("Grafics\\Grid5.bmp"), "Grafics\\Grid5.bmp"},
      {"another choice", QStringLiteral("Grafics\\Grid3.bmp"), "Grafics\\Grid3.bmp"},
      {"empty", QString(), "Grafics\\Grid2.bmp"},
      {"missing", std::nullopt, "Grafics\\Grid2.bmp"},
      {"not beginning with G", QStringLiteral("grafics\\Grid5.bmp"), "Grafics\\Grid2.bmp"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StoreValues values = With(CompleteStore(), {}, {"DISPLAYBACKGROUND"});
    if (c.stored) values.push_back({QStringLiteral("DISPLAYBACKGROUND"), *c.stored});
    {
      // Each case starts from a store of its own.
      SettingsStore store;
      ReplaceStore(store, values);
    }
    ScopeWindow w(true, true, ScopeWindow::Store::FromEnvironment);
    EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors(w);
    EXPECT_EQ(w.scope.State().GridFile, QLatin1String(c.loaded));
    EXPECT_EQ(w->GridBitmap, LoadBitmapFile(ProgramPath(QLatin1String(c.loaded))));
    EXPECT_EQ(w->PlotBitmap, w->GridBitmap);
  }
}

TEST_F(Restore, MeasurementPanelSwitchSetsCaptionAndWindowWidth) {
  struct Case {
    int stored;
    const char* caption;
    int autoMeasOn;
    int width;
  };
  const Case cases[] = {
      {1, "Auto Measurements OFF", 1, 984},
      {2, "Auto Measurements ON", 0, 792},
      {0, "Auto Measurements ON", 0, 792},
      {1, "Auto Measurements OFF", 1, 984},  // and back to the wide window
  };
  ScopeWindow w(true, true, ScopeWindow::Store::FromEnvironment);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    ReplaceStore(w->SettingsRegistry, With(CompleteStore(), {{"AutoMeasONOFF", c.stored}}));
    w.scope.RestoreFromStore();
    EXPECT_EQ(w.scope.MenuItem(QStringLiteral("AutoMeasurementsON1"))->text(), QLatin1String(c.caption));
    EXPECT_EQ(w.scope.State().AutoMeasOn, c.autoMeasOn);
    EXPECT_EQ(w->FormWidth(), c.width);
    EXPECT_EQ(w->FormHeight(), 603);
  }
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors(w);
}

// ---- A store that lost values or holds odd ones ---------------------------------------

TEST_F(Restore, KeyWithOnlyTheLoadDefaultValuesTakesTheDefaultsOfTheRestAndRunsToItsEnd) {
  PutStore(With(CompleteStore(), {{"CH1VertPos", 140}, {"CH2VertPos", 300}}, {"TrigPos", "FormTop", "FormLeft", "COMPORT"}));
  const QByteArray before = FileBytes(SettingsStore().FilePath());
  ScopeWindow w(true, true, ScopeWindow::Store::FromEnvironment);
  const QString port = TForm1::DefaultComPort();
  ExpectReplacedKeeping(w.ui.errors, QStringLiteral("Failed to get data for 'TrigPos'"), w->SettingsRegistry, before,
                        QStringLiteral("TrigPos (missing) as 251, COMPORT (missing) as %1, FormTop (missing) as 100, "
                                       "FormLeft (missing) as 261")
                            .arg(port));
  // The values that read well are applied, and so is every later step.
  EXPECT_EQ(Top(w.scope.Marker(1)), 140);
  EXPECT_EQ(Top(w.scope.Marker(2)), 300);
  EXPECT_EQ(w.scope.State().CH1VertPos, 140);
  EXPECT_EQ(Left(w.scope.Find<TImage>(QStringLiteral("HorTrigPos"))), 251);
  EXPECT_EQ(w.scope.PortNameLabel()->text(), port);
  EXPECT_TRUE(TForm1::Enabled(w.scope.Timer(QStringLiteral("AboutTimer"))));
  // Nothing was filled in behind the user's back: the close writes them.
  EXPECT_FALSE(w->SettingsRegistry.ValueExists(QStringLiteral("TrigPos")));
}

TEST_F(Restore, EveryMissingOrMistypedIntegerTakesItsDefaultNamingIt) {
  ScopeWindow w(true, true, ScopeWindow::Store::FromEnvironment);
  for (stored::Id id : settings_defaults::RestoreReads) {
    const QString value = stored::Name(id);
    if (value == QLatin1String("COMPORT")) continue;  // a text: below
    SCOPED_TRACE(value.toStdString());
    const QString byDefault = QString::number(settings_defaults::DefaultOf(id)->number);
    w.ui.errors.clear();
    TForm1::SetEnabled(w.scope.Timer(QStringLiteral("AboutTimer")), false);
    ReplaceStore(w->SettingsRegistry, With(CompleteStore(), {}, {value}));
    QByteArray before = FileBytes(w->SettingsRegistry.FilePath());
    w.scope.Guarded([&] { w.scope.RestoreFromStore(); });
    ExpectReplacedKeeping(w.ui.errors, QStringLiteral("Failed to get data for '%1'").arg(value), w->SettingsRegistry,
                          before, QStringLiteral("%1 (missing) as %2").arg(value, byDefault));
    EXPECT_TRUE(TForm1::Enabled(w.scope.Timer(QStringLiteral("AboutTimer")))) << "the restore did not run to its end";
    w.ui.errors.clear();
    ReplaceStore(w->SettingsRegistry, With(CompleteStore(), {{value, QStringLiteral("12")}}));
    before = FileBytes(w->SettingsRegistry.FilePath());
    w.scope.Guarded([&] { w.scope.RestoreFromStore(); });
    ExpectReplacedKeeping(w.ui.errors, QStringLiteral("Invalid data type for '%1'").arg(value), w->SettingsRegistry,
                          before, QStringLiteral("%1 (str:12) as %2").arg(value, byDefault));
  }
}

TEST_F(Restore, MissingPortTakesTheDefaultPortAndIsTold) {
  ScopeWindow w(true, true, ScopeWindow::Store::FromEnvironment);
  ReplaceStore(w->SettingsRegistry, With(CompleteStore(), {}, {"COMPORT"}));
  const QByteArray before = FileBytes(w->SettingsRegistry.FilePath());
  w.scope.RestoreFromStore();
  ExpectReplacedKeeping(w.ui.errors, QStringLiteral("Failed to get data for 'COMPORT'"), w->SettingsRegistry, before,
                        QStringLiteral("COMPORT (missing) as %1").arg(TForm1::DefaultComPort()));
  EXPECT_EQ(w.scope.PortNameLabel()->text(), TForm1::DefaultComPort());
}

TEST_F(Restore, AMissingValueTakesItsDefaultAndTheStepsAfterItFollow) {
  // "Auto" is read at the 26th step: the steps before and after it apply,
  // the about panel is armed.
  ScopeWindow w(true, true, ScopeWindow::Store::FromEnvironment);
  ReplaceStore(w->SettingsRegistry,
               With(CompleteStore(), {{"RisingTrigger", 0}, {"ConSample", 0}, {"TrigPos", 300}}, {"Auto"}));
  TForm1::SetEnabled(w.scope.Timer(QStringLiteral("AboutTimer")), false);
  const QByteArray before = FileBytes(w->SettingsRegistry.FilePath());
  w.scope.Guarded([&] { w.scope.RestoreFromStore(); });
  ExpectReplacedKeeping(w.ui.errors, QStringLiteral("Failed to get data for 'Auto'"), w->SettingsRegistry, before,
                        QStringLiteral("Auto (missing) as 1"));
  EXPECT_EQ(w.scope.State().RisingTrigger, 0);
  EXPECT_EQ(w.scope.State().ConSample, 0);
  EXPECT_EQ(Left(w.scope.Find<TImage>(QStringLiteral("HorTrigPos"))), 300);
  EXPECT_EQ(w.scope.State().AutoTrigger, 1);
  EXPECT_TRUE(TForm1::Enabled(w.scope.Timer(QStringLiteral("AboutTimer"))));
}

TEST_F(Restore, FlagsOtherThanOneAreFalse) {
  struct Case {
    const char* value;
    StoreValues base;  // the arrow of the trigger source is shown whatever is stored
    std::function<bool(const TForm1&)> on;
  };
  const Case cases[] = {
      {"CH1On", {}, [](const TForm1& f) { ScopeDriver scope(f); return scope.State().ChannelOn[1] == 1; }},
      {"CH2On", {}, [](const TForm1& f) { ScopeDriver scope(f); return scope.State().ChannelOn[2] == 1; }},
      {"CH1Focus", {}, [](const TForm1& f) { ScopeDriver scope(f); return scope.State().CH1Focus == 1; }},
      {"CH1TriggerArrowVis", {{"TriggerCH", 2}}, [](const TForm1& f) { return Shown(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH1"))); }},
      {"CH2TriggerArrowVis", {}, [](const TForm1& f) { return Shown(ScopeDriver(f).Find<TImage>(QStringLiteral("TriggerArrowCH2"))); }},
      {"Image7EN", {}, [](const TForm1& f) { ScopeDriver scope(f); return scope.VoltsKnob()->isEnabledTo(scope.VoltsKnob()->parentWidget()); }},
      {"RisingTrigger", {}, [](const TForm1& f) { ScopeDriver scope(f); return scope.State().RisingTrigger == 1 && ScopeDriver(f).MenuItem(QStringLiteral("Rising1"))->isChecked(); }},
      {"ConSample", {}, [](const TForm1& f) { ScopeDriver scope(f); return scope.State().ConSample == 1 && ScopeDriver(f).MenuItem(QStringLiteral("Continuous"))->isChecked(); }},
      {"Auto", {}, [](const TForm1& f) { ScopeDriver scope(f); return scope.State().AutoTrigger == 1 && ScopeDriver(f).MenuItem(QStringLiteral("Auto1"))->isChecked(); }},
  };
  ScopeWindow w(true, true, ScopeWindow::Store::FromEnvironment);
  for (const Case& c : cases) {
    for (int stored : {1, 2, -1, 0, 1}) {
      SCOPED_TRACE(std::string(c.value) + "=" + std::to_string(stored));
      ReplaceStore(w->SettingsRegistry, With(With(CompleteStore(), c.base), {{c.value, stored}}));
      w.scope.RestoreFromStore();
      EXPECT_EQ(c.on(*w.form), stored == 1);
    }
  }
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors(w);
}

TEST_F(Restore, TriggerSourceOutsideTheKnownOnesChangesNoPictureCheckOrColour) {
  ScopeWindow w(true, true, ScopeWindow::Store::FromEnvironment);
  // A CH2 source first, so the looks differ from the design's.
  ReplaceStore(w->SettingsRegistry, With(CompleteStore(), {{"TriggerCH", 2}, {"CH2On", 1}}));
  w.scope.RestoreFromStore();
  const QString picture = w.scope.Find<TImage>(QStringLiteral("TrigSourceButton"))->FileName();
  const QColor colour = w.scope.Find<TPanel>(QStringLiteral("TriggerVoltageLine"))->Color();
  ASSERT_TRUE(w.scope.MenuItem(QStringLiteral("CH21"))->isChecked());
  for (int odd : {0, 3, 11, -1}) {
    SCOPED_TRACE(odd);
    ReplaceStore(w->SettingsRegistry, With(CompleteStore(), {{"TriggerCH", odd}}));
    w.scope.RestoreFromStore();
    EXPECT_EQ(w.scope.State().TriggerCH, odd);
    EXPECT_EQ(w.scope.Find<TImage>(QStringLiteral("TrigSourceButton"))->FileName(), picture);
    EXPECT_EQ(w.scope.Find<TPanel>(QStringLiteral("TriggerVoltageLine"))->Color(), colour);
    EXPECT_FALSE(w.scope.MenuItem(QStringLiteral("CH11"))->isChecked());
    EXPECT_TRUE(w.scope.MenuItem(QStringLiteral("CH21"))->isChecked());
    EXPECT_FALSE(w.scope.MenuItem(QStringLiteral("EXT1"))->isChecked());
  }
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors(w);
}

TEST_F(Restore, ExternalSourceShowsItsOneEdgeAndSendsTheStoredOne) {
  ScopeWindow w(true, true, ScopeWindow::Store::FromEnvironment);
  ReplaceStore(w->SettingsRegistry,
               With(CompleteStore(), {{"TriggerCH", 10}, {"RisingTrigger", 0}, {"CH1TriggerArrowVis", 0}}));
  w.scope.RestoreFromStore();
  EXPECT_EQ(w.scope.State().RisingTrigger, 0);
  EXPECT_TRUE(w.scope.MenuItem(QStringLiteral("Rising1"))->isChecked());
  EXPECT_FALSE(w.scope.MenuItem(QStringLiteral("Falling2"))->isChecked());
  EXPECT_FALSE(w.scope.MenuItem(QStringLiteral("Falling2"))->isEnabled());
  EXPECT_TRUE(w.scope.Find<TImage>(QStringLiteral("TriggerEdgeButton"))->FileName().endsWith(QStringLiteral("TrigSymboRising.bmp")));
  EXPECT_EQ(w.scope.TriggerLevelReadout()->text(), QStringLiteral("TTL"));
  // Back on a channel the falling edge can be chosen again.
  ReplaceStore(w->SettingsRegistry, With(CompleteStore(), {{"RisingTrigger", 0}}));
  w.scope.RestoreFromStore();
  EXPECT_TRUE(w.scope.MenuItem(QStringLiteral("Falling2"))->isEnabled());
  EXPECT_TRUE(w.scope.MenuItem(QStringLiteral("Falling2"))->isChecked());
  EXPECT_TRUE(w.scope.Find<TImage>(QStringLiteral("TriggerEdgeButton"))->FileName().endsWith(QStringLiteral("TrigSymboFallingl.bmp")));
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors(w);
}

TEST_F(Restore, PersistenceIsClearedAndItsHitValueFollowsTheModeInForce) {
  struct Case {
    const char* mode;
    ScopeState::Flag persistenceOn, rainbowOn;
    int hit;
  };
  const Case cases[] = {{"Off", 0, 0, 1024}, {"Normal", 1, 0, 255}, {"Rainbow", 1, 1, 1024}};
  ScopeWindow w(true, true, ScopeWindow::Store::FromEnvironment);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    w.scope.State().PersistenceOn = c.persistenceOn;
    w.scope.State().RainbowOn = c.rainbowOn;
    w.scope.State().PersistenceHit = c.hit;
    w.scope.State().PersistenceFade = 0;
    w.scope.State().CH1Persistence[1234] = 77;
    w.scope.State().CH2Persistence[4321] = 88;
    w.scope.RestoreFromStore();  // as a settings file or a reference load runs it
    EXPECT_EQ(w.scope.State().PersistenceHit, c.hit);
    EXPECT_EQ(w.scope.State().PersistenceFade, 10);
    EXPECT_EQ(w.scope.State().CH1Persistence[1234], 0);
    EXPECT_EQ(w.scope.State().CH2Persistence[4321], 0);
    EXPECT_EQ(w.scope.State().CH1PersistColors[255], QColor(0, 0, 255));
    EXPECT_EQ(w.scope.State().CH2PersistColors[255], QColor(255, 0, 0));
    EXPECT_EQ(w.scope.State().RainbowColors[1023], QColor(255, 0, 0));
  }
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors(w);
}

// ---- Window position ----------------------------------------------------------------

TEST_F(Restore, WindowStoredOffEveryScreenComesBackOntoOne) {
  struct Case {
    int left, top;
  };
  const Case cases[] = {{-20000, 100}, {261, 50000}, {90000, -90000}};
  ScopeWindow w(true, true, ScopeWindow::Store::FromEnvironment);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.left) + "," + std::to_string(c.top));
    ReplaceStore(w->SettingsRegistry, With(CompleteStore(), {{"FormLeft", c.left}, {"FormTop", c.top}}));
    w.scope.RestoreFromStore();
    bool onScreen = false;
    for (const QScreen* screen : QGuiApplication::screens())
      onScreen = onScreen || screen->availableGeometry().contains(w->frameGeometry().topLeft());
    EXPECT_TRUE(onScreen) << w->x() << "," << w->y();
  }
  // A position on the screen is kept as stored.
  ReplaceStore(w->SettingsRegistry, With(CompleteStore(), {{"FormLeft", 12}, {"FormTop", 34}}));
  w.scope.RestoreFromStore();
  EXPECT_EQ(w->pos(), QPoint(12, 34));
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors(w);
}

// ---- The about panel ----------------------------------------------------------------

TEST_F(Restore, AboutPanelGoesWhenTheTimerArmedByTheRestoreFires) {
  ScopeWindow w(true, true, ScopeWindow::Store::FromEnvironment);
  ASSERT_TRUE(w.ui.errors.isEmpty()) << Errors(w);
  ASSERT_TRUE(TForm1::Enabled(w.scope.Timer(QStringLiteral("AboutTimer"))));
  ASSERT_TRUE(Shown(w.scope.Find<TPanel>(QStringLiteral("AboutPanel"))));
  ASSERT_TRUE(WaitFor([&] { return !Shown(w.scope.Find<TPanel>(QStringLiteral("AboutPanel"))); }, 10000));
  EXPECT_FALSE(TForm1::Enabled(w.scope.Timer(QStringLiteral("AboutTimer"))));
  // Shown again by hand, it stays: the timer fired once and is off.
  w.scope.Find<TPanel>(QStringLiteral("AboutPanel"))->show();
  RunEventsFor(200);
  EXPECT_TRUE(Shown(w.scope.Find<TPanel>(QStringLiteral("AboutPanel"))));
}

}  // namespace

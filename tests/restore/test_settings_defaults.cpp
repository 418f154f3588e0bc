// The first fill of a new user's store, without a window: when it happens,
// what it writes, what it keeps, and that a fill cut short is finished later.

#include "RestoreFixture.h"

#include "storage/SettingsDefaults.h"
#include "storage/SettingsRegistry.h"

#include <gtest/gtest.h>

namespace {

using namespace settings_defaults;
using FirstFill = RestoreFixture;

TEST_F(FirstFill, IsNeededOnlyForAStoreWithoutAnyRestoreValueOrWithAFillCutShort) {
  struct Case {
    const char* what;
    StoreValues values;
    bool needed;
  };
  const Case cases[] = {
      {"empty store", {}, true},
      {"only the display properties' values",
       {{"DISPLAYBACKGROUND", QStringLiteral("Grafics\\Grid4.bmp")}, {"DISPLAYBUTTON", 3}, {"ScreenSave", 0}},
       true},
      {"one restore value, the last it reads", {{"Auto", 1}}, false},
      {"only the port", {{"COMPORT", QStringLiteral("/dev/ttyUSB0")}}, false},
      {"only calibration", {{"CalCH2H", -3}}, false},
      {"the Load Default values alone", With(CompleteStore(), {}, {"TrigPos", "FormTop", "FormLeft", "COMPORT"}),
       false},
      {"a fill cut short after its mark", {{"FirstStartFillPending", 1}, {"Angle", 138}}, true},
      {"a finished fill", With(CompleteStore(), {{"FirstStartFillPending", 0}}), false},
      {"a finished fill that lost values later", {{"FirstStartFillPending", 0}, {"Angle", 138}}, false},
  };
  int scratch = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SettingsRegistry store(QStringLiteral("\\Software\\FillCases\\%1\\").arg(++scratch));
    Write(store, c.values);
    EXPECT_EQ(NeedsFirstStartFill(store), c.needed);
  }
}

TEST_F(FirstFill, WritesEveryValueTheRestoreReadsAndClearsItsMark) {
  SettingsRegistry store;
  FillFirstStart(store, QStringLiteral("/dev/ttyUSB3"));
  for (std::string_view name : RestoreReads) EXPECT_TRUE(store.ValueExists(Latin1(name))) << name;
  EXPECT_EQ(store.ReadInteger(QStringLiteral("TrigPos")), 251);
  EXPECT_EQ(store.ReadInteger(QStringLiteral("FormTop")), 100);
  EXPECT_EQ(store.ReadInteger(QStringLiteral("FormLeft")), 261);
  EXPECT_EQ(store.ReadString(QStringLiteral("COMPORT")), QStringLiteral("/dev/ttyUSB3"));
  EXPECT_EQ(store.ReadString(QStringLiteral("DISPLAYBACKGROUND")), QStringLiteral("Grafics\\Grid2.bmp"));
  EXPECT_TRUE(store.ReadBool(QStringLiteral("ScreenSave")));
  EXPECT_EQ(store.ReadInteger(QStringLiteral("CH1TriggerV")), 32);
  EXPECT_FALSE(NeedsFirstStartFill(store));
}

TEST_F(FirstFill, KeepsValuesAlreadyStoredWhenItFinishesAnInterruptedFill) {
  SettingsRegistry store;
  // What a program killed in the middle of its first fill leaves, plus a
  // graticule the user had chosen before.
  Write(store, {{"DISPLAYBACKGROUND", QStringLiteral("Grafics\\Grid5.bmp")},
                {"FirstStartFillPending", 1},
                {"Angle", 200},
                {"Auto", 0}});
  ASSERT_TRUE(NeedsFirstStartFill(store));
  FillFirstStart(store, QStringLiteral("SIM1"));
  EXPECT_EQ(store.ReadInteger(QStringLiteral("Angle")), 200);
  EXPECT_EQ(store.ReadInteger(QStringLiteral("Auto")), 0);
  EXPECT_EQ(store.ReadString(QStringLiteral("DISPLAYBACKGROUND")), QStringLiteral("Grafics\\Grid5.bmp"));
  EXPECT_EQ(store.ReadInteger(QStringLiteral("CH2VertPos")), 287);
  EXPECT_EQ(store.ReadString(QStringLiteral("COMPORT")), QStringLiteral("SIM1"));
  EXPECT_FALSE(NeedsFirstStartFill(store));
}

TEST_F(FirstFill, LoadDefaultsLeaveThePositionPortAndWindowAlone) {
  SettingsRegistry store;
  Write(store, With(CompleteStore(), {{"TrigPos", 77},
                                      {"FormTop", 5},
                                      {"FormLeft", 6},
                                      {"COMPORT", QStringLiteral("/dev/ttyACM0")},
                                      {"CalCH1L", 9},
                                      {"CalCH2H", -4},
                                      {"TriggerCH", 10}}));
  WriteLoadDefaults(store);
  EXPECT_EQ(store.ReadInteger(QStringLiteral("TrigPos")), 77);
  EXPECT_EQ(store.ReadInteger(QStringLiteral("FormTop")), 5);
  EXPECT_EQ(store.ReadInteger(QStringLiteral("FormLeft")), 6);
  EXPECT_EQ(store.ReadString(QStringLiteral("COMPORT")), QStringLiteral("/dev/ttyACM0"));
  EXPECT_EQ(store.ReadInteger(QStringLiteral("CalCH1L")), 0);
  EXPECT_EQ(store.ReadInteger(QStringLiteral("CalCH2H")), 0);
  EXPECT_EQ(store.ReadInteger(QStringLiteral("TriggerCH")), 1);
}

TEST(FirstStartPort, IsTheFirstUsbPortOrTheSimulator) {
  struct Case {
    QStringList usbPorts;
    const char* port;
  };
  const Case cases[] = {
      {{}, "SIM1"},
      {{"SIM1"}, "SIM1"},
      {{""}, "SIM1"},
      {{"/dev/ttyUSB0", "/dev/ttyACM0"}, "/dev/ttyUSB0"},
      {{"SIM1", "/dev/ttyACM2"}, "/dev/ttyACM2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.usbPorts.join(u',').toStdString());
    EXPECT_EQ(FirstStartComPort(c.usbPorts), QLatin1String(c.port));
  }
}

}  // namespace

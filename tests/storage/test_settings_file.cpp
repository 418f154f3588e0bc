// Settings files without a window: the 24 lines of a panel, and a file
// checked whole before anything reaches the store, with the messages the
// value-by-value load gives for the first bad line.

#include "app/Errors.h"
#include "storage/SettingsFile.h"

#include <gtest/gtest.h>

#include "support/ErrorOf.h"

#include <functional>

namespace {

using namespace settings_file;
using stored::Id;

PanelState SomePanel() {
  PanelState p;
  p.port = QStringLiteral("/dev/ttyUSB0");
  p.ch1VertPos = 122;
  p.ch2VertPos = 287;
  p.timeKnobAngle = 138;
  p.ch1Trig = 97;
  p.ch2Trig = -40;
  p.triggerCH = 10;
  p.ch1TriggerV = 32;
  p.ch2TriggerV = -5;
  p.ch1ArrowShown = true;
  p.ch2On = true;
  p.ch1KnobAngle = 270;
  p.ch2KnobAngle = 0;
  p.knobEnabled = true;
  p.ch1Focus = false;
  p.knobFacePrefix = QStringLiteral("/opt/scope/Grafics\\VoltageKnob\\knobB");
  p.formTop = -20;
  p.formLeft = 261;
  p.rising = true;
  p.continuous = false;
  p.autoTrigger = true;
  p.trigPos = 451;
  return p;
}

TEST(SettingsFile, APanelIsWrittenAsItsTwentyFourLines) {
  EXPECT_EQ(Lines(SomePanel()),
            (QStringList{"/dev/ttyUSB0", "122", "287", "138", "97", "-40", "10", "32", "-5", "1", "0", "0", "1", "270",
                         "0", "1", "0", "/opt/scope/Grafics\\VoltageKnob\\knobB", "-20", "261", "1", "0", "1",
                         "451"}));
}

TEST(SettingsFile, LinesLoadBackInTheLoadOrder) {
  const Loaded loaded = Parse(Lines(SomePanel()));
  const std::vector<std::pair<Id, std::int32_t>> writes{
      {Id::Angle, 138},       {Id::Auto, 1},     {Id::CH1Focus, 0},          {Id::CH1KnobAngle, 270},
      {Id::CH1On, 0},         {Id::CH1TriggerArrowVis, 1}, {Id::CH1Trig, 97}, {Id::CH1TriggerV, 32},
      {Id::CH1VertPos, 122},  {Id::CH2KnobAngle, 0}, {Id::CH2On, 1},         {Id::CH2Trig, -40},
      {Id::CH2TriggerArrowVis, 0}, {Id::CH2TriggerV, -5}, {Id::CH2VertPos, 287}, {Id::ConSample, 0},
      {Id::Image7EN, 1},      {Id::RisingTrigger, 1}, {Id::TriggerCH, 10},    {Id::FormTop, -20},
      {Id::FormLeft, 261}};
  EXPECT_EQ(loaded.writes, writes);
  EXPECT_EQ(loaded.trigPos, 451);
}

TEST(SettingsFile, LinesOneAndEighteenAreNotReadAndFlagsAreTakenAsWritten) {
  QStringList lines = Lines(SomePanel());
  lines[0] = QStringLiteral("anything at all");
  lines[17] = QString();
  lines[11] = QStringLiteral("2");  // CH1On
  const Loaded loaded = Parse(lines);
  EXPECT_EQ(loaded.writes[4], (std::pair{Id::CH1On, 2}));
}

TEST(SettingsFile, TheFirstBadLineInTheLoadOrderGivesItsMessage) {
  struct Case {
    const char* what;
    std::function<void(QStringList&)> damage;
    const char* message;
  };
  const Case cases[] = {
      {"empty file", [](QStringList& l) { l.clear(); }, "List index out of bounds (3)"},
      {"ten lines: Auto on line 23 is read second", [](QStringList& l) { l = l.mid(0, 10); },
       "List index out of bounds (22)"},
      {"23 lines: every value but the trigger position", [](QStringList& l) { l.removeLast(); },
       "List index out of bounds (23)"},
      {"a number with letters", [](QStringList& l) { l[3] = QStringLiteral("13x"); }, "'13x' is not a valid integer value"},
      {"a flag that is no number", [](QStringList& l) { l[22] = QStringLiteral("yes"); }, "'yes' is not a valid integer value"},
      {"a decimal trigger position", [](QStringList& l) { l[23] = QStringLiteral("1.5"); },
       "'1.5' is not a valid integer value"},
      {"a bad line and a missing one: the load order decides",
       [](QStringList& l) {
         l[1] = QStringLiteral("x");  // CH1VertPos, read ninth
         l = l.mid(0, 20);            // Auto on line 23, read second
       },
       "List index out of bounds (22)"},
      {"a 0 V marker off the strip", [](QStringList& l) { l[1] = QStringLiteral("0"); },
       "Line 2 of the settings file holds 0, which the panel cannot show; nothing was loaded"},
      {"a trigger source that does not exist", [](QStringList& l) { l[6] = QStringLiteral("3"); },
       "Line 7 of the settings file holds 3, which the panel cannot show; nothing was loaded"},
      {"a knob angle past a turn", [](QStringList& l) { l[13] = QStringLiteral("360"); },
       "Line 14 of the settings file holds 360, which the panel cannot show; nothing was loaded"},
      {"a trigger position past the strip", [](QStringList& l) { l[23] = QStringLiteral("502"); },
       "Line 24 of the settings file holds 502, which the panel cannot show; nothing was loaded"},
      {"a reference waveform file",
       [](QStringList& l) { l[0] = QString::fromLatin1(ReferenceHeader); },
       "This is a reference waveform file, not a settings file; nothing was loaded"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QStringList lines = Lines(SomePanel());
    c.damage(lines);
    EXPECT_EQ(ErrorOf([&] { Parse(lines); }), QString::fromLatin1(c.message));
  }
}

}  // namespace

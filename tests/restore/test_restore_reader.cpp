// The restore's reads without a window: stored integers held to the ranges
// the panel can show, each held value told once, and the defaults inside
// every range.

#include "RestoreFixture.h"

#include "storage/RestoreReader.h"
#include "storage/SettingsDefaults.h"

#include <gtest/gtest.h>

#include <limits>
#include <span>

namespace {

using stored::Id;
using Reads = RestoreFixture;

constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t Min = std::numeric_limits<std::int32_t>::min();

TEST_F(Reads, IntegersAreHeldToThePanelsRanges) {
  struct Case {
    Id id;
    std::int32_t stored;
    std::int32_t used;
  };
  const Case cases[] = {
      {Id::CH1VertPos, 1, 1},          {Id::CH1VertPos, 400, 400},      {Id::CH1VertPos, 0, 1},
      {Id::CH2VertPos, Max, 400},      {Id::CH2VertPos, Min, 1},        {Id::TrigPos, 501, 501},
      {Id::TrigPos, 502, 501},         {Id::TrigPos, -3, 1},            {Id::CH1Trig, -6396, -6396},
      {Id::CH1Trig, -6397, -6396},     {Id::CH2Trig, Max, 6797},        {Id::CH1TriggerV, 1025, 1025},
      {Id::CH2TriggerV, Min, -1025},   {Id::CalCH1L, -128, -127},       {Id::CalCH2H, 129, 128},
      {Id::Angle, 359, 359},           {Id::Angle, 360, 359},           {Id::CH1KnobAngle, -1, 0},
      {Id::CH2KnobAngle, Max, 359},    {Id::FormLeft, -90000, -32768},  {Id::FormTop, 50000, 32767},
      {Id::TriggerCH, 11, 11},         {Id::Auto, Min, Min},            {Id::AutoMeasONOFF, Max, Max},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(stored::NameOf(c.id)) + "=" + std::to_string(c.stored));
    SettingsStore store;
    store.WriteInteger(stored::Name(c.id), c.stored);
    RestoreReader read(store);
    EXPECT_EQ(read.Integer(c.id), c.used);
    EXPECT_EQ(read.Integer(c.id), c.used);  // read again (TrigPos, Angle): told once
    const std::vector<RestoreReader::HeldValue> held =
        c.used == c.stored ? std::vector<RestoreReader::HeldValue>{}
                           : std::vector<RestoreReader::HeldValue>{{c.id, c.stored, c.used}};
    EXPECT_EQ(read.Held(), held);
    EXPECT_EQ(read.HeldWrites().size(), held.size());
  }
}

TEST_F(Reads, HeldValuesAreListedForTheUserAndWrittenBackAsUsed) {
  SettingsStore store;
  store.WriteValues({{QStringLiteral("CH2VertPos"), Max}, {QStringLiteral("Angle"), -5}, {QStringLiteral("CH1On"), 7}});
  RestoreReader read(store);
  read.Integer(Id::CH2VertPos);
  read.Flag(Id::CH1On);
  read.Integer(Id::Angle);
  EXPECT_EQ(read.HeldList(), QStringLiteral("CH2VertPos 2147483647 as 400, Angle -5 as 0"));
  store.WriteValues(read.HeldWrites());
  EXPECT_EQ(store.ReadInteger(QStringLiteral("CH2VertPos")), 400);
  EXPECT_EQ(store.ReadInteger(QStringLiteral("Angle")), 0);
  EXPECT_EQ(store.ReadInteger(QStringLiteral("CH1On")), 7);  // flags are not held: only 1 counts
}

TEST_F(Reads, MissingMistypedAndUnreadValuesTakeTheirDefaultsAndAreNamedAsHeld) {
  SettingsStore store;
  store.WriteValues({{QStringLiteral("Angle"), QStringLiteral("138")},
                     {QStringLiteral("COMPORT"), 5},
                     {QStringLiteral("CH1On"), 0}});
  // CH2VertPos and FormTop were on lines of the file that could not be read.
  RestoreReader read(store,
                     {{2, QStringLiteral("CH2VertPos"), QStringLiteral("CH2VertPos=int:3x")},
                      {4, QString(), QStringLiteral("\\x00\\x01")},
                      {6, QStringLiteral("formtop"), QStringLiteral("formtop=int:1")},
                      {9, QStringLiteral("FormTop"), QStringLiteral("FormTop=int:2")}},
                     [] { return QStringLiteral("SIM1"); });
  EXPECT_EQ(read.Integer(Id::Angle), 138);
  EXPECT_EQ(read.Integer(Id::Angle), 138);  // read again: told once
  EXPECT_EQ(read.Flag(Id::Auto), 1);
  EXPECT_EQ(read.Flag(Id::CH1On), 0);  // read well
  EXPECT_EQ(read.Integer(Id::CH2VertPos), 287);
  EXPECT_EQ(read.Integer(Id::FormTop), 100);
  EXPECT_EQ(read.Text(Id::COMPORT), QStringLiteral("SIM1"));
  EXPECT_EQ(read.FirstError(), QStringLiteral("Invalid data type for 'Angle'"));
  EXPECT_EQ(read.ReplacedList(),
            QStringLiteral("Angle (str:138) as 138, Auto (missing) as 1, CH2VertPos (line 2 \"CH2VertPos=int:3x\") as 287, "
                           "FormTop (line 6 \"formtop=int:1\" and line 9 \"FormTop=int:2\") as 100, COMPORT (int:5) as SIM1"));
  EXPECT_EQ(read.OtherUnreadLines(), QStringLiteral("line 4 \"\\x00\\x01\""));
  EXPECT_TRUE(read.Held().empty());
  // Nothing is written by the reads themselves.
  EXPECT_FALSE(store.ValueExists(QStringLiteral("Auto")));
}

TEST(StoredValues, EveryDefaultLiesInsideItsRange) {
  for (const auto& values : {std::span<const settings_defaults::StoredDefault>(settings_defaults::LoadDefaults),
                             std::span<const settings_defaults::StoredDefault>(settings_defaults::FirstStartExtras)}) {
    for (const settings_defaults::StoredDefault& d : values) {
      SCOPED_TRACE(std::string(d.Name()));
      EXPECT_EQ(stored::HeldToRange(d.id, d.number), d.number);
    }
  }
}

}  // namespace

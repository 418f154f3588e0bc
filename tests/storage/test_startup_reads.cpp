#include "StoreFixture.h"

#include "app/Errors.h"
#include "storage/SettingsRegistry.h"
#include "storage/StartupReads.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

TEST(GridFileFromStored, KeepsAGraticuleNameAndFallsBackToTheFullGrid) {
  struct Case {
    const char* stored;
    const char* gridFile;
  };
  const Case cases[] = {
      {"Grafics\\Grid5.bmp", "Grafics\\Grid5.bmp"},
      {"Grafics\\Grid6.bmp and more", "Grafics\\Grid6.bmp"},
      {"", "Grafics\\Grid2.bmp"},
      {"Xyz", "Grafics\\Grid2.bmp"},
      {"grafics\\Grid5.bmp", "Grafics\\Grid2.bmp"},
      {" Grafics\\Grid5.bmp", "Grafics\\Grid2.bmp"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    EXPECT_EQ(GridFileFromStored(QString::fromLatin1(c.stored)), QString::fromLatin1(c.gridFile));
  }
  // A missing value reads as empty text.
  EXPECT_EQ(GridFileFromStored(QString()), QString::fromLatin1(DefaultGridFile));
}

TEST(GridFileFromStored, AShortNameBeginningWithGIsPaddedByTheFiller) {
  const QString padded = GridFileFromStored(QStringLiteral("G"));
  ASSERT_EQ(padded.size(), 5);
  EXPECT_TRUE(padded.startsWith(u'G'));
  const QString filler = padded.mid(1);
  EXPECT_FALSE(filler.startsWith(u'G'));
  // The same four letters pad any short name, up to 17 characters.
  EXPECT_EQ(GridFileFromStored(QStringLiteral("Grafics\\Grid5")), QStringLiteral("Grafics\\Grid5") + filler);
  EXPECT_EQ(GridFileFromStored(QStringLiteral("Grafics\\Grid5.b")), QStringLiteral("Grafics\\Grid5.b") + filler.left(2));
}

using ReadScreenSaveTest = StoreFixture;

TEST_F(ReadScreenSaveTest, MissingMeansBlackAndAnyStoredNonZeroMeansWhite) {
  struct Case {
    const char* what;
    std::function<void(SettingsRegistry&)> store;
    bool screenSave;
  };
  const Case cases[] = {
      {"missing", [](SettingsRegistry&) {}, false},
      {"0", [](SettingsRegistry& s) { s.WriteBool(QStringLiteral("ScreenSave"), false); }, false},
      {"1", [](SettingsRegistry& s) { s.WriteBool(QStringLiteral("ScreenSave"), true); }, true},
      {"5", [](SettingsRegistry& s) { s.WriteInteger(QStringLiteral("ScreenSave"), 5); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SettingsRegistry store(QStringLiteral("\\Software\\Case\\%1\\").arg(QLatin1String(c.what)));
    c.store(store);
    EXPECT_EQ(ReadScreenSave(store), c.screenSave);
  }
}

TEST_F(ReadScreenSaveTest, AStringValueIsAnError) {
  SettingsRegistry store;
  store.WriteString(QStringLiteral("ScreenSave"), QStringLiteral("1"));
  try {
    ReadScreenSave(store);
    FAIL() << "no error";
  } catch (const ScopeError& error) {
    EXPECT_EQ(error.Message(), QStringLiteral("Invalid data type for 'ScreenSave'"));
  }
}

}  // namespace

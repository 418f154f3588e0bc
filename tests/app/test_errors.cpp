#include "app/Errors.h"

#include "support/QtPrint.h"

#include <gtest/gtest.h>

#include <limits>

TEST(StrToInt, AcceptsIntegersAndRefusesEverythingElse) {
  struct Case {
    const char* text;
    bool valid;
    std::int32_t value;
  };
  const Case cases[] = {
      {"0", true, 0},           {"42", true, 42},
      {"-17", true, -17},       {"+5", true, 5},
      {"$FF", true, 255},       {"2147483647", true, std::numeric_limits<std::int32_t>::max()},
      {"-2147483648", true, std::numeric_limits<std::int32_t>::min()},
      {"2147483648", false, 0}, {"", false, 0},
      {" 1", false, 0},         {"1 ", false, 0},
      {"1.5", false, 0},        {"abc", false, 0},
      {"-", false, 0},          {"12a", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    if (c.valid) {
      EXPECT_EQ(StrToInt(QString::fromLatin1(c.text)), c.value);
    } else {
      try {
        StrToInt(QString::fromLatin1(c.text));
        ADD_FAILURE() << "accepted";
      } catch (const ScopeError& e) {
        EXPECT_EQ(e.Message(),
                  QStringLiteral("'%1' is not a valid integer value").arg(QString::fromLatin1(c.text)));
      }
    }
  }
}

TEST(CheckedArithmetic, IndexAndDivisionFailuresAreErrorsNotCrashes) {
  EXPECT_NO_THROW(CheckListIndex(0, 1));
  EXPECT_THROW(CheckListIndex(1, 1), ScopeError);
  EXPECT_THROW(CheckListIndex(-1, 5), ScopeError);
  try {
    CheckListIndex(7, 3);
  } catch (const ScopeError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("List index out of bounds (7)"));
  }
  EXPECT_EQ(IntDiv(-7, 2), -3);  // toward zero, not toward minus infinity
  EXPECT_EQ(IntDiv(7, -2), -3);
  EXPECT_THROW(IntDiv(1, 0), ScopeError);
  EXPECT_THROW(IntDiv(std::numeric_limits<std::int32_t>::min(), -1), ScopeError);
}

TEST(ErrorBoxText, AppendsAFullStopOnlyAfterCharactersSortingAfterIt) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"Reason is unknown", "Reason is unknown."},
      {"Failed to get data for 'TrigPos'", "Failed to get data for 'TrigPos'"},  // "'" sorts before '.'
      {"Ends with a dot.", "Ends with a dot."},
      {"List index out of bounds (7)", "List index out of bounds (7)"},  // ')' sorts before '.'
      {"Value 5", "Value 5."},  // digits sort after '.'
      {"Really!", "Really!"},
      {"", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ErrorBoxText(QString::fromLatin1(c.in)), QString::fromLatin1(c.out)) << c.in;
}

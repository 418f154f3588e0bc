// The lines of the program's text files: split at CR LF, CR or LF, written
// with CR LF, a file replaced whole or not at all, and files that are not
// text files refused instead of read.

#include "StoreFixture.h"

#include "app/Errors.h"
#include "storage/TextLines.h"

#include <gtest/gtest.h>

#include "support/ErrorOf.h"

#include <QDir>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace text_lines;

TEST(TextLines, SplitAtEveryKindOfLineEnd) {
  struct Case {
    const char* what;
    const char* text;
    QStringList lines;
  };
  const Case cases[] = {
      {"empty", "", {}},
      {"one line without an end", "12", {"12"}},
      {"one line with CR LF", "12\r\n", {"12"}},
      {"CR LF, CR and LF mixed", "a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      {"a last line with an end", "a\nb\n", {"a", "b"}},
      {"empty lines kept", "\r\n\r\nx\n\n", {"", "", "x", ""}},
      {"LF CR is two ends", "a\n\rb", {"a", "", "b"}},
      {"CR CR LF is two ends", "a\r\r\nb", {"a", "", "b"}},
      {"a lone CR at the very end", "a\r", {"a"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(SplitLines(QString::fromLatin1(c.text)), c.lines);
  }
}

TEST(TextLines, JoinEndsEveryLineWithCrLf) {
  EXPECT_EQ(JoinLines({}), QString());
  EXPECT_EQ(JoinLines({"COM3", "", "122"}), QStringLiteral("COM3\r\n\r\n122\r\n"));
  const QStringList lines{"a", "", "b c"};
  EXPECT_EQ(SplitLines(JoinLines(lines)), lines);
}

TEST(TextLines, BytesAreUtf8OrElseLatin1) {
  EXPECT_EQ(DecodeText("\xc2\xb5s"), QStringLiteral("\u00b5s"));
  EXPECT_EQ(DecodeText("\xb5s"), QStringLiteral("\u00b5s"));  // an 8-bit file
}

using TextFile = StoreFixture;

TEST_F(TextFile, WrittenWithCrLfAndReadBack) {
  const QString path = ConfigHome() + QStringLiteral("/settings.txt");
  WriteTextLines(path, {"COM3", "122", "\u00b5"});
  EXPECT_EQ(FileBytes(path), QByteArray("COM3\r\n122\r\n\xc2\xb5\r\n"));
  EXPECT_EQ(ReadTextLines(path), (QStringList{"COM3", "122", "\u00b5"}));
  // Replaced whole, not appended to.
  WriteTextLines(path, {"1"});
  EXPECT_EQ(FileBytes(path), QByteArray("1\r\n"));
  EXPECT_EQ(QDir(ConfigHome()).entryList(QDir::Files | QDir::Hidden), QStringList{"settings.txt"});
}

TEST_F(TextFile, AWriteThatFailsLeavesWhatWasThere) {
  const QString folder = ConfigHome() + QStringLiteral("/taken");
  ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/inside")));
  EXPECT_EQ(ErrorOf([&] { WriteTextLines(folder, {"x"}); }), QStringLiteral("Cannot create file %1").arg(folder));
  EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/inside")).isDir());
  const QString nowhere = ConfigHome() + QStringLiteral("/missing/folder/file.txt");
  EXPECT_EQ(ErrorOf([&] { WriteTextLines(nowhere, {"x"}); }), QStringLiteral("Cannot create file %1").arg(nowhere));
}

TEST_F(TextFile, WhatIsNotATextFileIsRefusedAtOnce) {
  const QString base = ConfigHome() + u'/';
  ASSERT_EQ(::mkfifo(QFile::encodeName(base + QStringLiteral("pipe")).constData(), 0600), 0);
  ASSERT_EQ(::symlink("/dev/zero", QFile::encodeName(base + QStringLiteral("zero")).constData()), 0);
  ASSERT_TRUE(QDir().mkpath(base + QStringLiteral("folder")));
  {
    QFile large(base + QStringLiteral("large"));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly));
    ASSERT_TRUE(large.resize(MaxTextFileBytes + 1));  // sparse: nothing is written
  }
  for (const char* name : {"pipe", "zero", "folder", "large", "missing"}) {
    SCOPED_TRACE(name);
    const QString path = base + QLatin1String(name);
    EXPECT_EQ(ErrorOf([&] { ReadTextLines(path); }), QStringLiteral("Cannot open file %1").arg(path));
  }
}

}  // namespace

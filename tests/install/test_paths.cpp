// The one rule for where the pictures and the help page are: beside the
// executable in the build tree, ../share/tessaron-scope/ when installed.
#include "app/Paths.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct LayoutCase {
  const char* name;
  QStringList folders;  // made under the temporary root
  const char* expected;  // data folder, relative to the root
};

TEST(DataFolder, FollowsTheLayoutOfTheTree) {
  const LayoutCase cases[] = {
      {"build tree: the pictures beside the programs", {"build/bin/Grafics"}, "build/bin/"},
      {"installed: bin/ beside share/tessaron-scope/",
       {"usr/bin", "usr/share/tessaron-scope/Grafics"},
       "usr/share/tessaron-scope/"},
      {"pictures beside the program win over an installed copy",
       {"usr/bin/Grafics", "usr/share/tessaron-scope/Grafics"},
       "usr/bin/"},
      {"installed but the data is missing: the error names the installed path",
       {"usr/bin", "usr/share"},
       "usr/share/tessaron-scope/"},
      {"a lone executable: beside it", {"tools/bin"}, "tools/bin/"},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    for (const QString& folder : c.folders) ASSERT_TRUE(QDir(root.path()).mkpath(folder));
    const QString bin = root.filePath(c.folders.first().section(u'/', 0, 1)) + u'/';
    EXPECT_EQ(DataFolderFor(bin), root.path() + u'/' + QLatin1String(c.expected));
    // Without the trailing separator the answer is the same.
    EXPECT_EQ(DataFolderFor(bin.chopped(1)), root.path() + u'/' + QLatin1String(c.expected));
  }
}

TEST(DataFolder, ThisTestRunsFromTheBuildTree) {
  // The test programs sit beside the generated Grafics folder.
  EXPECT_EQ(DataFolder(), ProgramFolder());
  EXPECT_EQ(ProgramPath(QStringLiteral("Grafics\\Grid2.bmp")), ProgramFolder() + QStringLiteral("Grafics/Grid2.bmp"));
  EXPECT_EQ(HelpPagePath(), ProgramFolder() + QStringLiteral("OscilloscopeHelp/OscilloscopeHelp.htm"));
}

}  // namespace

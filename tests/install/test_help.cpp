// The "Help" item and the page it opens, in the build tree (the install test
// walks the installed copy the same way).
#include "HelpPage.h"

#include "app/Paths.h"
#include "support/ScopeWindow.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

namespace {

TEST(HelpPage, EveryLinkAndPictureResolves) {
  const HelpPageWalk walk = WalkHelpPage(HelpPagePath());
  EXPECT_TRUE(walk.problems.isEmpty()) << walk.problems.join(u'\n').toStdString();
  // The contents, the cross references and the pictures of the screen.
  EXPECT_GE(walk.links, 11);
  EXPECT_GE(walk.pictures, 2);
}

bool Shows(const QImage& image, QRgb colour) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) == colour) return true;
  return false;
}

TEST(HelpPage, ItsPicturesAreScreensOfTheWindowWithBothTraces) {
  for (const char* name : {"screen-main.png", "screen-com-settings.png"}) {
    SCOPED_TRACE(name);
    const QImage shot(QFileInfo(HelpPagePath()).dir().filePath(QLatin1String(name)));
    ASSERT_FALSE(shot.isNull());
    // The whole window, as wide as its client area, and a capture on it:
    // the CH1 and CH2 trace colours.
    EXPECT_EQ(shot.width(), 976);
    EXPECT_GT(shot.height(), 545);
    EXPECT_TRUE(Shows(shot, qRgb(0, 126, 255)));
    EXPECT_TRUE(Shows(shot, qRgb(255, 0, 0)));
  }
}

TEST(HelpItem, AsksTheDesktopToOpenExactlyThePage) {
  ScopeWindow w(true, /*stopWatch=*/true);
  w.scope.MenuItem(QStringLiteral("Help2"))->trigger();
  ASSERT_EQ(w.ui.opened, QStringList{HelpPagePath()});
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join(u'|').toStdString();
  EXPECT_TRUE(QFileInfo(w.ui.opened.first()).isAbsolute());
}

TEST(HelpItem, NoProgramToOpenThePageIsReportedWithItsPath) {
  ScopeWindow w(true, true);
  w.ui.openDocumentAnswer = false;
  w.scope.MenuItem(QStringLiteral("Help2"))->trigger();
  ASSERT_EQ(w.ui.errors.size(), 1);
  EXPECT_TRUE(w.ui.errors.first().contains(HelpPagePath())) << w.ui.errors.first().toStdString();
  EXPECT_TRUE(w.ui.errors.first().contains(QLatin1String("xdg-open")));
}

// Puts the page aside for one test and back afterwards, whatever happens.
class PageAside {
 public:
  PageAside() : page_(HelpPagePath()), aside_(page_ + QStringLiteral(".aside")) {
    moved_ = QFile::rename(page_, aside_);
  }
  ~PageAside() {
    if (moved_) QFile::rename(aside_, page_);
  }
  bool Moved() const { return moved_; }

 private:
  QString page_;
  QString aside_;
  bool moved_ = false;
};

TEST(HelpItem, AMissingPageIsReportedWithThePathLookedFor) {
  ScopeWindow w(true, true);
  {
    PageAside aside;
    ASSERT_TRUE(aside.Moved());
    w.scope.MenuItem(QStringLiteral("Help2"))->trigger();
  }
  EXPECT_TRUE(w.ui.opened.isEmpty());
  ASSERT_EQ(w.ui.errors.size(), 1);
  EXPECT_EQ(w.ui.errors.first(), QStringLiteral("Cannot find the help page ") + HelpPagePath());
  // With the page back, the item works again.
  w.scope.MenuItem(QStringLiteral("Help2"))->trigger();
  EXPECT_EQ(w.ui.opened, QStringList{HelpPagePath()});
}

}  // namespace

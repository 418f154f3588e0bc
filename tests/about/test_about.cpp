// The About panel as splash and as the Help > About panel.
#include "support/ScopeWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>

namespace {

TEST(About, SplashHidesOnTheTimerTickAfterTheRestore) {
  ScopeWindow w(true, true);
  EXPECT_TRUE(w.scope.Find<TPanel>(QStringLiteral("AboutPanel"))->isVisible());
  EXPECT_TRUE(TForm1::Enabled(w.scope.Timer(QStringLiteral("AboutTimer")))) << "the restore arms the timer";
  w->AboutTimerTimer();
  EXPECT_FALSE(w.scope.Find<TPanel>(QStringLiteral("AboutPanel"))->isVisible());
  EXPECT_FALSE(TForm1::Enabled(w.scope.Timer(QStringLiteral("AboutTimer")))) << "the panel shows once per arming";
}

TEST(About, AboutShowsThePanelInFrontUntilClose) {
  ScopeWindow w(true, true);
  w->AboutTimerTimer();
  ASSERT_TRUE(w.scope.MenuItem(QStringLiteral("About1"))->isEnabled());
  w.scope.MenuItem(QStringLiteral("About1"))->trigger();
  EXPECT_TRUE(w.scope.Find<TPanel>(QStringLiteral("AboutPanel"))->isVisible());
  EXPECT_EQ(w.scope.Find<TPanel>(QStringLiteral("AboutPanel"))->parentWidget()->children().last(), w.scope.Find<TPanel>(QStringLiteral("AboutPanel")))
      << "in front of every other widget";
  RunEventsFor(50);
  EXPECT_TRUE(w.scope.Find<TPanel>(QStringLiteral("AboutPanel"))->isVisible()) << "no timer hides it unless a restore arms one";
  w.scope.AboutCloseButton()->click();
  EXPECT_FALSE(w.scope.Find<TPanel>(QStringLiteral("AboutPanel"))->isVisible());
}

TEST(About, PanelCarriesItsPictureTextsAndCloseKey) {
  ScopeWindow w(false, true);
  EXPECT_EQ(w.scope.AboutPicture()->geometry(), QRect(3, 3, 501, 314));
  EXPECT_FALSE(w.scope.AboutPicture()->Picture().isNull());
  EXPECT_EQ(w.scope.AboutCloseButton()->geometry(), QRect(424, 288, 75, 25));
  EXPECT_EQ(w.scope.AboutCloseButton()->text(), QStringLiteral("Close"));
  QStringList texts;
  for (QLabel* l : w.scope.Find<TPanel>(QStringLiteral("AboutPanel"))->findChildren<QLabel*>()) texts << l->text();
  EXPECT_TRUE(texts.contains(QStringLiteral("Tessaron USB Oscilloscope")));
  EXPECT_TRUE(texts.contains(QStringLiteral("Rev 5.1.1")));
  EXPECT_TRUE(w.ui.errors.isEmpty());
}

}  // namespace

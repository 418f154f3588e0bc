// Where a restored window goes, for the screen layouts users have: one
// screen, two side by side, a laptop whose second monitor has gone.

#include "storage/WindowPlacement.h"

#include "support/QtPrint.h"

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QPoint& p, std::ostream* os) { *os << '(' << p.x() << ", " << p.y() << ')'; }

namespace {

using window_placement::OnScreenPosition;

const QSize Window(984, 650);
const QRect FullHd(0, 0, 1920, 1040);          // available area under a task bar
const QRect RightOfIt(1920, 0, 1280, 1024);
const QRect Small(0, 0, 800, 600);

TEST(WindowPlacement, KeepsAReachablePositionAndBringsBackAnUnreachableOne) {
  struct Case {
    const char* what;
    QPoint stored;
    QList<QRect> screens;
    QPoint expected;
  };
  const Case cases[] = {
      {"the designed place", {261, 100}, {FullHd}, {261, 100}},
      {"on the second screen", {2100, 300}, {FullHd, RightOfIt}, {2100, 300}},
      {"across both screens", {1500, 300}, {FullHd, RightOfIt}, {1500, 300}},
      {"mostly off the right edge, caption still grabbable", {1850, 100}, {FullHd}, {1850, 100}},
      {"larger than the screen but its caption on it", {0, 0}, {Small}, {0, 0}},
      {"second monitor gone", {2100, 300}, {FullHd}, {1920 - 984, 300}},
      {"far left", {-5000, 200}, {FullHd}, {0, 200}},
      {"caption above the top", {300, -10}, {FullHd}, {300, 0}},
      {"below the bottom", {300, 5000}, {FullHd}, {300, 1040 - 650}},
      {"off everything, larger than the screen", {-3000, -3000}, {Small}, {0, 0}},
      {"off the right of a small screen", {900, 100}, {Small}, {0, 0}},
      {"nearest of two screens", {3500, 5000}, {FullHd, RightOfIt}, {1920 + 1280 - 984, 1024 - 650}},
      {"only 20 pixels of caption on the screen", {1900, 100}, {FullHd}, {1920 - 984, 100}},
      {"no screens known", {-5000, -5000}, {}, {-5000, -5000}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(OnScreenPosition(c.stored, Window, c.screens), c.expected);
  }
}

TEST(WindowPlacement, APlacedWindowIsAlwaysReachableAgain) {
  // Whatever was stored, placing twice changes nothing: the first placement
  // already counts as reachable.
  const QList<QRect> layouts[] = {{FullHd}, {FullHd, RightOfIt}, {Small}, {QRect(-1280, 200, 1280, 800), FullHd}};
  for (const QList<QRect>& screens : layouts)
    for (int x = -6000; x <= 6000; x += 777)
      for (int y = -4000; y <= 4000; y += 555) {
        const QPoint once = OnScreenPosition({x, y}, Window, screens);
        ASSERT_EQ(OnScreenPosition(once, Window, screens), once) << x << "," << y;
      }
}

}  // namespace

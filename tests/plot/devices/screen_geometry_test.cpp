// Window geometry of the screen device: sizes by page aspect, positions by device code,
// outer rectangles, and the wide-screen rule.
#include <gtest/gtest.h>

#include "devices/screen_geometry.h"

namespace stylus {
namespace {

constexpr FrameMetrics kFrame{19, 4, 4};
constexpr ScreenInfo kScreen{1280, 1024, 24};

ClientPlacement place(int code, int pw, int ph, ScreenInfo s = kScreen) {
  return client_position(code, client_size(code, pw, ph, s, kFrame), s, kFrame);
}

TEST(ScreenGeometry, ConsoleWindowOnA1280By1024Screen) {
  const ClientPlacement c = place(80, 2969, 2099);
  EXPECT_EQ(c.width, 1272);
  EXPECT_EQ(c.height, 899);
  EXPECT_EQ(c.x, 4);
  EXPECT_EQ(c.y, 121);
  EXPECT_EQ(outer_rect(c, kFrame), (Rect{0, 99, 1279, 925}));
}

TEST(ScreenGeometry, CornerWindowsTakeTwoThirdsOfTheWidth) {
  struct Case {
    int code, x, y;
  } cases[] = {{75, 423, 417}, {76, 423, 22}, {77, 4, 22}, {78, 4, 417}, {79, 213, 219}};
  for (const Case& k : cases) {
    const ClientPlacement c = place(k.code, 2969, 2099);
    EXPECT_EQ(c.width, 853) << k.code;
    EXPECT_EQ(c.height, 603) << k.code;  // 853 * 2099 / 2969 = 603.05
    EXPECT_EQ(c.x, k.x) << k.code;
    EXPECT_EQ(c.y, k.y) << k.code;
  }
}

TEST(ScreenGeometry, PortraitPageTakesItsHeightFromTheScreen) {
  const ClientPlacement c = place(80, 2099, 2969);
  EXPECT_EQ(c.height, 998);  // 1024 - 19 - 8 + 1
  EXPECT_EQ(c.width, 706);   // 998 * 2099 / 2969 = 705.56
  const Rect o = outer_rect(c, kFrame);
  EXPECT_EQ(o.y, 0);
  EXPECT_EQ(o.y + o.height, 1024);  // exactly the screen height
  const ClientPlacement small = place(77, 2099, 2969);
  EXPECT_EQ(small.height, 682);  // 2 * 1024 / 3
  EXPECT_EQ(small.width, 482);   // 682 * 2099 / 2969 = 482.16
}

TEST(ScreenGeometry, WideScreenSizesLandscapeWindowByTheAvailableHeight) {
  // By width alone the client would be 1912 x 1352, taller than the screen.
  const ScreenInfo wide{1920, 1080, 24};
  const ClientPlacement c = place(80, 2969, 2099, wide);
  EXPECT_EQ(c.height, 1054);  // 1080 - 19 - 8 + 1
  EXPECT_EQ(c.width, 1491);   // 1054 * 2969 / 2099 = 1490.85
  EXPECT_EQ(c.x, 425);        // bottom right, as before
  EXPECT_EQ(c.y, 22);
  const Rect o = outer_rect(c, kFrame);
  EXPECT_EQ(o.y, 0);
  EXPECT_EQ(o.y + o.height, 1080);
  // Where the width rule fits, it stays: two thirds of 1920 give 1280 x 905.
  const ClientPlacement corner = place(75, 2969, 2099, wide);
  EXPECT_EQ(corner.width, 1280);
  EXPECT_EQ(corner.height, 905);
}

TEST(ScreenGeometry, PositionIsKeptClearOfTheUpperLeftEdge) {
  // A given size larger than the screen would put the window off its upper-left edge.
  const ClientPlacement c = client_position(75, {0, 0, 2000, 1500}, kScreen, kFrame);
  EXPECT_EQ(c.x, 4);
  EXPECT_EQ(c.y, 22);
  const Rect o = outer_rect(c, kFrame);
  EXPECT_EQ(o.x, 0);
  EXPECT_EQ(o.y, 0);
}

TEST(ScreenGeometry, DegeneratePageGivesNoSize) {
  const ClientPlacement c = client_size(80, 0, 2099, kScreen, kFrame);
  EXPECT_EQ(c.width, 0);
  EXPECT_EQ(c.height, 0);
}

}  // namespace
}  // namespace stylus

TEST(ScreenGeometry, ScreenPageScaleFitsThePage) {
  // A drawing area of 1486 x 1051 pixels holds DA4L at about half a pixel per point.
  EXPECT_FLOAT_EQ(stylus::screen_page_scale(1486, 1051, 2969, 2099, 1.0f), 1485.0f / 2969.0f);
  // A tall, narrow window: the height is not the limit, the width is.
  EXPECT_FLOAT_EQ(stylus::screen_page_scale(1000, 5000, 2969, 2099, 1.0f), 999.0f / 2969.0f);
  // Portrait pages are limited by the height against 2969.
  EXPECT_FLOAT_EQ(stylus::screen_page_scale(5000, 1000, 2099, 2969, 1.0f), 999.0f / 2969.0f);
  EXPECT_FLOAT_EQ(stylus::screen_page_scale(1486, 1051, 2969, 2099, 0.5f),
                  1485.0f * 0.5f / 2969.0f);
}

// The headless window system: its raster primitives, its windows, that it never waits,
// and the fallback to it when no display can be opened.
#include <gtest/gtest.h>

#include <cstdlib>

#include "devices/headless_window_system.h"

namespace stylus {
namespace {

TEST(PixelRaster, LinesIncludeBothEndsInEveryDirection) {
  PixelRaster r(20, 20, kBlack);
  r.line({2, 3}, {12, 8}, 1);    // shallow
  r.line({15, 15}, {15, 2}, 2);  // vertical, upwards
  r.line({0, 19}, {5, 14}, 3);   // diagonal
  EXPECT_EQ(r.at(2, 3), 1u);
  EXPECT_EQ(r.at(12, 8), 1u);
  EXPECT_TRUE(r.at(7, 5) == 1u || r.at(7, 6) == 1u);  // the middle, y = 5.5
  int count = 0;
  for (int x = 0; x < 20; ++x)
    for (int y = 0; y < 20; ++y) count += r.at(x, y) == 1u;
  EXPECT_EQ(count, 11);  // one pixel per column
  for (int y = 2; y <= 15; ++y) EXPECT_EQ(r.at(15, y), 2u) << y;
  for (int i = 0; i <= 5; ++i) EXPECT_EQ(r.at(i, 19 - i), 3u) << i;
}

TEST(PixelRaster, ClipsToTheRasterAndFillsWithoutRightAndBottomEdges) {
  PixelRaster r(10, 10, kBlack);
  r.line({-100, 5}, {100, 5}, 7);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(r.at(x, 5), 7u);
  r.fill({-3, -3, 5, 6}, 9);
  EXPECT_EQ(r.at(0, 0), 9u);
  EXPECT_EQ(r.at(1, 2), 9u);
  EXPECT_EQ(r.at(2, 0), kBlack);
  EXPECT_EQ(r.at(0, 3), kBlack);
  EXPECT_EQ(r.at(-1, 0), kBlack);  // outside reads black
}

TEST(HeadlessWindowSystem, DrawsIntoBackingStoreAndShowsItOnCopy) {
  HeadlessWindowSystem ws;
  const WindowId id = ws.create_window({0, 99, 1279, 925}, "STYLUS 1 / Working", kBlack);
  EXPECT_EQ(ws.client_rect(id), (Rect{4, 122, 1271, 898}));
  ASSERT_TRUE(ws.create_backing_store(id, 1272, 899));
  ws.fill_rect(id, {0, 0, 1272, 899}, kBlack);
  const Point pts[] = {{0, 0}, {10, 0}};
  ws.polyline(id, pts, 2, 0xFF0000);
  ws.set_pixel(id, 1271, 898, kWhite);
  EXPECT_EQ(ws.window(id)->visible.at(5, 0), kBlack);
  ws.copy_to_window(id, 1272, 899);
  EXPECT_EQ(ws.window(id)->visible.at(5, 0), 0xFF0000u);
  EXPECT_EQ(ws.window(id)->backing.at(1271, 898), kWhite);  // the store is one larger
  ws.set_title(id, "STYLUS 1");
  EXPECT_EQ(ws.window(id)->title, "STYLUS 1");
  EXPECT_FALSE(ws.next_event().has_value());
  EXPECT_FALSE(ws.create_backing_store(id, 0, 5));
  ws.destroy_window(id);
  EXPECT_EQ(ws.window(id), nullptr);
}

TEST(HeadlessWindowSystem, MessageBoxGoesToStandardOutput) {
  HeadlessWindowSystem ws;
  ::testing::internal::CaptureStdout();
  ws.message_box("Cannot create Bitmap", "disini");
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "disini:\nCannot create Bitmap\n");
}

TEST(OpenWindowSystem, FallsBackToHeadlessWithOneLineOnStandardError) {
  ::setenv("DISPLAY", ":31998", 1);  // no server there
  ::testing::internal::CaptureStderr();
  auto ws = open_window_system();
  std::string err = ::testing::internal::GetCapturedStderr();
  ASSERT_NE(ws, nullptr);
  EXPECT_NE(dynamic_cast<HeadlessWindowSystem*>(ws.get()), nullptr);
#if STYLUS_TEST_X11
  EXPECT_EQ(err, "STYLUS: cannot open display \":31998\"; the screen window is drawn off-screen\n");
#else
  EXPECT_EQ(err, "STYLUS: built without X11; the screen window is drawn off-screen\n");
#endif
  EXPECT_FALSE(ws->next_event().has_value());

  ::unsetenv("DISPLAY");
  ::testing::internal::CaptureStderr();
  ws = open_window_system();
  err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(dynamic_cast<HeadlessWindowSystem*>(ws.get()), nullptr);
#if STYLUS_TEST_X11
  EXPECT_EQ(err,
            "STYLUS: no display (DISPLAY is not set); the screen window is drawn off-screen\n");
#else
  EXPECT_EQ(err, "STYLUS: built without X11; the screen window is drawn off-screen\n");
#endif
}

}  // namespace
}  // namespace stylus

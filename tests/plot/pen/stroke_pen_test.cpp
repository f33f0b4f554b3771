// The stroke stage behind the pen model, through a recording driver: clipped and thick
// lines as the device receives them, the clip-window switch, dashed lines from connqq and
// thick lines that span several buffers.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "devices/driver.h"
#include "pen/clip.h"
#include "pen/linestyle.h"
#include "pen/pen.h"
#include "records/state.h"
#include "stylus.h"
#include "support/fresh_process.h"
#include "support/recording_driver.h"

using namespace stylus;

namespace {

constexpr int M = kPenMove;
constexpr int D = kPenDraw;

struct P {
  float x, y;
  int pen;
};

class StrokeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fresh_process();
    ensure_process_defaults();
    g_ivray.level = 1;
    g_ivray.device = 80;  // screen: with scale 1 device points are page points
    g_xvray.page_scale = 1.0f;
    g_ivray.line_width = 1;
    reset_clip_window();
    RecordingDriver::log().clear();
    set_current_driver(std::make_unique<RecordingDriver>());
  }
  void TearDown() override { fresh_process(); }

  static void set_window(int left, int top, int right, int bottom) {
    g_clip.clip_left = left;
    g_clip.clip_top = top;
    g_clip.clip_right = right;
    g_clip.clip_bottom = bottom;
  }
  static std::vector<P> sent() {
    std::vector<P> out;
    for (const DriverEvent& e : RecordingDriver::points())
      out.push_back({e.point.x, e.point.y, e.pen});
    return out;
  }
  static void expect_sent(const std::vector<P>& want, float tol = 1e-4f) {
    const std::vector<P> got = sent();
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
      SCOPED_TRACE(testing::Message() << "point " << i);
      EXPECT_EQ(got[i].pen, want[i].pen);
      EXPECT_NEAR(got[i].x, want[i].x, tol);
      EXPECT_NEAR(got[i].y, want[i].y, tol);
    }
  }
  static int moves() {
    int n = 0;
    for (const P& p : sent()) n += p.pen == M;
    return n;
  }
};

TEST_F(StrokeTest, ThickLineReachesTheDeviceAsCentreLineAndOutline) {
  g_ivray.line_width = 2;
  strtqq(10, 50);
  connqq(30, 50);
  qqstrk();
  expect_sent(
      {{10, 50, M}, {30, 50, D}, {9, 49, M}, {31, 49, D}, {31, 51, D}, {9, 51, D}, {9, 49, D}}, 0);
  EXPECT_EQ(g_ivray.n_vectors, 7);
  EXPECT_EQ(g_pen.stroke_count, 0);
}

TEST_F(StrokeTest, WidthDrawnByTheDeviceSendsOnlyTheCentreLine) {
  g_ivray.line_width = -4;  // PostScript after linwid(4)
  strtqq(10, 50);
  connqq(30, 50);
  qqstrk();
  expect_sent({{10, 50, M}, {30, 50, D}}, 0);
}

TEST_F(StrokeTest, ClippedPointsNeverReachTheDeviceNorTheCount) {
  set_window(0, 0, 100, 100);
  strtqq(-10, 50);
  connqq(10, 50);
  connqq(200, 50);
  connqq(300, 60);  // wholly right of the window
  qqstrk();
  expect_sent({{0, 50, M}, {10, 50, D}, {100, 50, D}}, 0);
  EXPECT_EQ(g_ivray.n_vectors, 3);
}

TEST_F(StrokeTest, PointTestAndSingleSegments) {
  set_window(0, 0, 100, 100);
  EXPECT_EQ(jqqclp(0, 0), 0);
  EXPECT_EQ(jqqclp(100, 100), 0);
  EXPECT_EQ(jqqclp(100.5f, 50), 1);
  EXPECT_EQ(jqqclp(50, -1), 1);
  clip2d(50, 50, 60, 60);  // starts inside: continues from the pen, no move
  clip2d(60, 60, 160, 60);
  clip2d(-5, 10, 5, 10);
  clip2d(-5, 10, -1, 90);  // invisible
  expect_sent({{60, 60, D}, {100, 60, D}, {0, 10, M}, {5, 10, D}}, 0);
}

TEST_F(StrokeTest, AxisClipWindowNarrowsAndRestoresTheWindow) {
  g_axis_clip.axis_clip_left = 495;
  g_axis_clip.axis_clip_top = 401;
  g_axis_clip.axis_clip_right = 2472;
  g_axis_clip.axis_clip_bottom = 1798;
  strtqq(-100, 1000);
  connqq(3000, 1000);
  sclpax(0);  // the pending line is stroked with the page window
  EXPECT_EQ(g_pen.stroke_count, 0);
  EXPECT_EQ(g_clip.clip_left, 495);
  EXPECT_EQ(g_clip.clip_top, 401);
  EXPECT_EQ(g_clip.clip_right, 2472);
  EXPECT_EQ(g_clip.clip_bottom, 1798);
  strtqq(-100, 1000);
  connqq(3000, 1000);
  sclpax(1);  // stroked with the axis window, then the page is back
  EXPECT_EQ(g_clip.clip_left, 0);
  EXPECT_EQ(g_clip.clip_top, 0);
  EXPECT_EQ(g_clip.clip_right, 2969);
  EXPECT_EQ(g_clip.clip_bottom, 2099);
  expect_sent({{0, 1000, M}, {2969, 1000, D}, {495, 1000, M}, {2472, 1000, D}}, 0);
}

TEST_F(StrokeTest, AxisClipWindowIsIntersectedWithTheCurrentOne) {
  set_window(600, 0, 1000, 1500);
  g_axis_clip = {495, 401, 2472, 1798};
  sclpax(0);
  EXPECT_EQ(g_clip.clip_left, 600);
  EXPECT_EQ(g_clip.clip_top, 401);
  EXPECT_EQ(g_clip.clip_right, 1000);
  EXPECT_EQ(g_clip.clip_bottom, 1500);
  sclpax(1);
  EXPECT_EQ(g_clip.clip_left, 600);
  EXPECT_EQ(g_clip.clip_bottom, 1500);
}

TEST_F(StrokeTest, SuspendedSwitchLeavesWindowAndBufferAlone) {
  g_axis_clip = {495, 401, 2472, 1798};
  g_clip.clip_suspend = 2;
  strtqq(10, 10);
  connqq(20, 20);
  sclpax(0);
  EXPECT_EQ(g_pen.stroke_count, 2);
  EXPECT_EQ(g_clip.clip_left, 0);
  EXPECT_EQ(g_clip.clip_right, 2969);
  EXPECT_TRUE(sent().empty());
}

TEST_F(StrokeTest, DashedLineThroughThePenModel) {
  lintyp(2);
  strtqq(0, 50);
  connqq(35, 50);  // draws 0-10 and 20-30, the gap runs on to 35
  connqq(45, 50);  // 5 more of the gap, then draws 40-45
  qqstrk();
  // Every gap is a move, so every dash is a buffer of its own; the gap that ends at the
  // corner leaves a single-point buffer (a lone move).
  expect_sent(
      {{0, 50, M}, {10, 50, D}, {20, 50, M}, {30, 50, D}, {35, 50, M}, {40, 50, M}, {45, 50, D}});
  EXPECT_EQ(g_linestyle.dash_gap, 0);
  EXPECT_EQ(g_linestyle.dash_rest, 5.0f);
}

TEST_F(StrokeTest, MoveDoesNotRestartThePatternButInitypDoes) {
  lintyp(2);
  strtqq(0, 0);
  connqq(15, 0);  // 5 into the gap
  strtqq(100, 0);
  EXPECT_EQ(g_linestyle.dash_gap, 1);
  EXPECT_EQ(g_linestyle.dash_rest, 5.0f);
  inityp();
  EXPECT_EQ(g_linestyle.dash_gap, 0);
  EXPECT_EQ(g_linestyle.dash_index, 1);
  EXPECT_EQ(g_linestyle.dash_rest, 10.0f);
}

TEST_F(StrokeTest, ThickDashesHaveCapsOfTheirOwn) {
  lintyp(2);
  g_ivray.line_width = 2;
  strtqq(100, 50);
  connqq(130, 50);
  qqstrk();
  expect_sent({{100, 50, M},
               {110, 50, D},
               {99, 49, M},
               {111, 49, D},
               {111, 51, D},
               {99, 51, D},
               {99, 49, D},
               // the second dash, after the gap 110-120
               {120, 50, M},
               {130, 50, D},
               {119, 49, M},
               {131, 49, D},
               {131, 51, D},
               {119, 51, D},
               {119, 49, D},
               // the gap that begins at the end point leaves a lone move
               {130, 50, M}});
}

TEST_F(StrokeTest, ThickPolylineIsOutlinedBufferByBuffer) {
  g_ivray.line_width = 2;
  strtqq(10, 100);
  for (int i = 1; i < 150; ++i) connqq(10.0f + 10 * i, 100);
  qqstrk();
  // Two buffers (points 0-99 and 99-149), each with its centre line and one open outline.
  EXPECT_EQ(moves(), 4);
  int centre = 0;
  for (const P& p : sent()) centre += p.y == 100.0f;
  EXPECT_EQ(centre, 100 + 51);
  // Both have caps at their common point 99 (x = 1000): the first buffer's end cap at
  // 1001, the second one's start cap at 999.
  auto has = [](float x, float y) {
    for (const P& p : sent())
      if (p.x == x && p.y == y) return true;
    return false;
  };
  EXPECT_TRUE(has(1001, 99));
  EXPECT_TRUE(has(1001, 101));
  EXPECT_TRUE(has(999, 99));
  EXPECT_TRUE(has(999, 101));
  EXPECT_TRUE(has(9, 99));      // start of the line
  EXPECT_TRUE(has(1501, 101));  // end of the line
}

TEST_F(StrokeTest, CurveLikeSequenceStaysInsideTheAxisWindow) {
  g_axis_clip = {495, 401, 2472, 1798};
  g_ivray.line_width = 4;
  sclpax(0);
  inityp();
  strtqq(300, 1900);
  const float xs[] = {500, 900, 1500, 2000, 2600, 2900};
  const float ys[] = {1700, 300, 1200, 1850, 900, 600};
  for (int i = 0; i < 6; ++i) connqq(xs[i], ys[i]);
  sclpax(1);
  ASSERT_FALSE(sent().empty());
  for (const P& p : sent()) {
    EXPECT_GE(p.x, 495.0f);
    EXPECT_LE(p.x, 2472.0f);
    EXPECT_GE(p.y, 401.0f);
    EXPECT_LE(p.y, 1798.0f);
  }
  EXPECT_EQ(g_clip.clip_right, 2969);
}

}  // namespace

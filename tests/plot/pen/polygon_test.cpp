// Filled polygons in the pen model: clipping at the window, the strokes that cover a
// polygon on a device without a fill of its own, and the choice between the two.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "devices/driver.h"
#include "pen/clip.h"
#include "pen/pen.h"
#include "pen/polygon.h"
#include "records/state.h"
#include "support/fresh_process.h"
#include "support/recording_driver.h"

using namespace stylus;

namespace {

std::vector<std::pair<float, float>> points(const std::vector<PolygonPoint>& p) {
  std::vector<std::pair<float, float>> out;
  for (const PolygonPoint& q : p) out.emplace_back(q.x, q.y);
  return out;
}

class FillPolygon : public ::testing::Test {
 protected:
  void SetUp() override {
    fresh_process();
    g_ivray.device = 80;  // screen: device points are page points times the scale
    g_xvray.page_scale = 1.0f;
    RecordingDriver::log().clear();
    RecordingDriver::fills_polygons() = false;
    set_current_driver(std::make_unique<RecordingDriver>());
  }
  void TearDown() override {
    RecordingDriver::fills_polygons() = false;
    fresh_process();
  }
};

}  // namespace

TEST(ClipPolygon, CutsAtEachSideOfTheWindow) {
  const ClipWindow w{0, 0, 100, 100};
  // A square whose right half lies outside: the cut runs along x = 100.
  const float x[4] = {50, 150, 150, 50}, y[4] = {10, 10, 60, 60};
  using V = std::vector<std::pair<float, float>>;
  EXPECT_EQ(points(clip_polygon(w, x, y, 4)), (V{{50, 10}, {100, 10}, {100, 60}, {50, 60}}));
  // A triangle with its tip above the top: the tip becomes an edge on y = 0.
  const float tx[3] = {20, 40, 60}, ty[3] = {50, -50, 50};
  EXPECT_EQ(points(clip_polygon(w, tx, ty, 3)), (V{{20, 50}, {30, 0}, {50, 0}, {60, 50}}));
  // Inside whole: unchanged.
  const float ix[3] = {1, 2, 3}, iy[3] = {4, 6, 4};
  EXPECT_EQ(points(clip_polygon(w, ix, iy, 3)), (V{{1, 4}, {2, 6}, {3, 4}}));
}

TEST(ClipPolygon, NothingOutsideTheWindowOrWithoutANumber) {
  const ClipWindow w{0, 0, 100, 100};
  const float x[3] = {200, 300, 250}, y[3] = {10, 10, 50};
  EXPECT_TRUE(clip_polygon(w, x, y, 3).empty());
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float nx[3] = {10, nan, 20}, ny[3] = {10, 10, 50};
  EXPECT_TRUE(clip_polygon(w, nx, ny, 3).empty());
  // A polygon round the whole window becomes the window.
  const float bx[4] = {-1e6f, 1e6f, 1e6f, -1e6f}, by[4] = {-1e6f, -1e6f, 1e6f, 1e6f};
  EXPECT_EQ(clip_polygon(w, bx, by, 4).size(), 4u);
}

TEST(CoverPolygon, StrokesEveryStepFromEdgeToEdgeInZigzag) {
  const std::vector<PolygonPoint> rect = {{0, 0}, {10, 0}, {10, 4}, {0, 4}};
  const std::vector<CoverStroke> s = cover_polygon(rect, 1.0f);
  ASSERT_EQ(s.size(), 4u);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(s[k].y, 0.5f + k);
    EXPECT_EQ(s[k].xa, k % 2 == 0 ? 0.0f : 10.0f);
    EXPECT_EQ(s[k].xb, k % 2 == 0 ? 10.0f : 0.0f);
  }
  // A triangle apex up: the strokes shorten towards the apex, 2 (y - 0) wide at height y.
  const std::vector<PolygonPoint> tri = {{0, 10}, {10, 10}, {5, 0}};
  const std::vector<CoverStroke> t = cover_polygon(tri, 1.0f);
  ASSERT_EQ(t.size(), 10u);
  for (const CoverStroke& c : t) EXPECT_FLOAT_EQ(std::fabs(c.xb - c.xa), c.y);
  // A concave polygon (a U) has two strokes on the rows of its arms.
  const std::vector<PolygonPoint> u = {{0, 0}, {2, 0},  {2, 8},   {8, 8},
                                       {8, 0}, {10, 0}, {10, 10}, {0, 10}};
  const std::vector<CoverStroke> us = cover_polygon(u, 1.0f);
  EXPECT_EQ(us.size(), 8u * 2 + 2);
}

TEST_F(FillPolygon, GoesToTheDevicesFillClippedAndCounted) {
  RecordingDriver::fills_polygons() = true;
  g_clip.clip_right = 100;
  xmove(5.0f, 5.0f);
  xdraw(6.0f, 5.0f);  // pending: stroked before the fill
  const int before = g_ivray.n_vectors;
  const float x[3] = {50, 150, 50}, y[3] = {10, 10, 60};
  fill_polygon(x, y, 3);
  const std::vector<DriverEvent>& log = RecordingDriver::log();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0].kind, DriverEvent::kPoint);
  EXPECT_EQ(log[1].kind, DriverEvent::kPoint);
  ASSERT_EQ(log[2].kind, DriverEvent::kPolygon);
  ASSERT_EQ(log[2].polygon.size(), 4u);
  EXPECT_EQ(log[2].polygon[1].x, 100.0f);
  EXPECT_EQ(log[2].polygon[2].x, 100.0f);
  EXPECT_EQ(log[2].polygon[2].y, 35.0f);
  EXPECT_EQ(g_ivray.n_vectors, before + 2 + 4);
}

TEST_F(FillPolygon, CoveredWithStrokesWhenTheDeviceHasNoFill) {
  const float x[4] = {10, 20, 20, 10}, y[4] = {10, 10, 13, 13};
  fill_polygon(x, y, 4);
  const std::vector<DriverEvent> pts = RecordingDriver::points();
  ASSERT_EQ(pts.size(), 6u);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(pts[2 * k].pen, kPenMove);
    EXPECT_EQ(pts[2 * k + 1].pen, kPenDraw);
    EXPECT_EQ(pts[2 * k].point.y, 10.5f + k);
    EXPECT_EQ(pts[2 * k + 1].point.y, 10.5f + k);
  }
  EXPECT_EQ(pts[0].point.x, 10.0f);
  EXPECT_EQ(pts[1].point.x, 20.0f);
  EXPECT_EQ(pts[2].point.x, 20.0f);  // back from right to left
  EXPECT_EQ(g_ivray.n_vectors, 6);
  // Fewer than three points, or none inside the window: nothing.
  RecordingDriver::log().clear();
  fill_polygon(x, y, 2);
  const float far[3] = {5000, 6000, 5500};
  fill_polygon(far, y, 3);
  EXPECT_TRUE(RecordingDriver::log().empty());
}

// Filled polygons in the pen model: clipping at the window, the strokes that cover a
// polygon on a device without a fill of its own, and the choice between the two.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <vector>

#include "pen/pen.h"
#include "pen/polygon.h"
#include "records/state.h"
#include "support/fresh_process.h"
#include "support/recording_driver.h"

using namespace stylus;

namespace {

using V = std::vector<std::pair<float, float>>;
V points(const std::vector<PolygonPoint>& p) {
  V out;
  for (const PolygonPoint& q : p) out.emplace_back(q.x, q.y);
  return out;
}

}  // namespace

TEST(ClipPolygon, CutsAtTheSidesOfTheWindow) {
  const ClipWindow w{0, 0, 100, 100};
  const float x[4] = {50, 150, 150, 50}, y[4] = {10, 10, 60, 60};  // right half outside
  EXPECT_EQ(points(clip_polygon(w, x, y, 4)), (V{{50, 10}, {100, 10}, {100, 60}, {50, 60}}));
  const float tx[3] = {20, 40, 60}, ty[3] = {50, -50, 50};  // the tip above the top
  EXPECT_EQ(points(clip_polygon(w, tx, ty, 3)), (V{{20, 50}, {30, 0}, {50, 0}, {60, 50}}));
  const float ox[3] = {200, 300, 250};  // wholly outside
  EXPECT_TRUE(clip_polygon(w, ox, y, 3).empty());
  const float nx[3] = {10, std::numeric_limits<float>::quiet_NaN(), 20};
  EXPECT_TRUE(clip_polygon(w, nx, y, 3).empty());
}

TEST(CoverPolygon, StrokesEveryStepFromEdgeToEdgeInZigzag) {
  const std::vector<CoverStroke> s = cover_polygon({{0, 0}, {10, 0}, {10, 4}, {0, 4}}, 1.0f);
  ASSERT_EQ(s.size(), 4u);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(s[k].y, 0.5f + k);
    EXPECT_EQ(s[k].xa, k % 2 == 0 ? 0.0f : 10.0f);
    EXPECT_EQ(s[k].xb, k % 2 == 0 ? 10.0f : 0.0f);
  }
  // A U: two strokes on each of the 8 rows of its arms, one on the 2 rows below them.
  const std::vector<PolygonPoint> u = {{0, 0}, {2, 0},  {2, 8},   {8, 8},
                                       {8, 0}, {10, 0}, {10, 10}, {0, 10}};
  EXPECT_EQ(cover_polygon(u, 1.0f).size(), 8u * 2 + 2);
}

TEST(FillPolygon, TheDevicesFillOrStrokes) {
  fresh_process();
  g_ivray.device = 80;  // screen: device points are page points times the scale
  g_xvray.page_scale = 1.0f;
  set_current_driver(std::make_unique<RecordingDriver>());
  RecordingDriver::log().clear();
  // A device with a fill gets the clipped polygon; each vertex counts as a vector.
  RecordingDriver::fills_polygons() = true;
  g_clip.clip_right = 100;
  const float x[3] = {50, 150, 50}, y[3] = {10, 10, 60};
  fill_polygon(x, y, 3);
  ASSERT_EQ(RecordingDriver::log().size(), 1u);
  const std::vector<DevicePoint>& p = RecordingDriver::log()[0].polygon;
  ASSERT_EQ(p.size(), 4u);
  EXPECT_EQ(std::make_pair(p[2].x, p[2].y), std::make_pair(100.0f, 35.0f));
  EXPECT_EQ(g_ivray.n_vectors, 4);
  // Without one, strokes through the dispatch, a point apart, after the pending line.
  RecordingDriver::fills_polygons() = false;
  RecordingDriver::log().clear();
  xmove(5.0f, 5.0f);
  xdraw(6.0f, 5.0f);
  const float rx[4] = {10, 20, 20, 10}, ry[4] = {10, 10, 13, 13};
  fill_polygon(rx, ry, 4);
  const std::vector<DriverEvent> pts = RecordingDriver::points();
  ASSERT_EQ(pts.size(), 2u + 6u);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(pts[2 + 2 * k].pen, kPenMove);
    EXPECT_EQ(pts[3 + 2 * k].pen, kPenDraw);
    EXPECT_EQ(pts[3 + 2 * k].point.y, 10.5f + k);
  }
  EXPECT_EQ(pts[3].point.x, 20.0f);
  EXPECT_EQ(pts[5].point.x, 10.0f);  // back from right to left
  RecordingDriver::fills_polygons() = false;
  fresh_process();
}

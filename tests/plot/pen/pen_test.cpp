// The pen model through a recording driver: buffering into strokes of at most 100 points,
// the counting of dispatched points, the page offset, dash stepping and the curve offset.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "devices/driver.h"
#include "pen/clip.h"
#include "pen/linestyle.h"
#include "pen/pen.h"
#include "records/state.h"
#include "support/fresh_process.h"
#include "support/recording_driver.h"

using namespace stylus;

namespace {

class PenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fresh_process();
    g_ivray.device = 80;  // screen: device points are page points times the scale
    g_ivray.page_nx = 2969;
    g_ivray.page_ny = 2099;
    g_xvray.page_scale = 1.0f;
    RecordingDriver::log().clear();
    set_current_driver(std::make_unique<RecordingDriver>());
  }
  void TearDown() override { fresh_process(); }

  // The dispatched points as (x, y, pen) of the real device coordinates.
  struct P {
    float x, y;
    int pen;
  };
  static std::vector<P> sent() {
    std::vector<P> out;
    for (const DriverEvent& e : RecordingDriver::points())
      out.push_back({e.point.x, e.point.y, e.pen});
    return out;
  }
};

TEST_F(PenTest, LongPolylineIsStrokedInBuffersSharingTheirEndPoints) {
  xmove(0.0f, 0.0f);
  for (int i = 1; i < 250; ++i) xdraw(static_cast<float>(i), static_cast<float>(2 * i));
  EXPECT_EQ(g_pen.stroke_count, 52);  // the third buffer is still pending
  qqstrk();
  EXPECT_EQ(g_pen.stroke_count, 0);

  const std::vector<P> pts = sent();
  ASSERT_EQ(pts.size(), 252u);
  // Buffers of 100, 100 and 52 points: moves at 0, 100 and 200, starting at page points
  // 0, 99 and 198 (the last point of the previous buffer).
  std::vector<int> moves;
  for (std::size_t i = 0; i < pts.size(); ++i)
    if (pts[i].pen == kPenMove) moves.push_back(static_cast<int>(i));
  EXPECT_EQ(moves, (std::vector<int>{0, 100, 200}));
  const int first_page_point[] = {0, 99, 198};
  for (int b = 0; b < 3; ++b) {
    const int start = moves[b];
    const int size = b < 2 ? 100 : 52;
    for (int k = 0; k < size; ++k) {
      const int page = first_page_point[b] + k;
      EXPECT_EQ(pts[start + k].x, static_cast<float>(page)) << "buffer " << b << " point " << k;
      EXPECT_EQ(pts[start + k].y, static_cast<float>(2 * page));
      EXPECT_EQ(pts[start + k].pen, k == 0 ? kPenMove : kPenDraw);
    }
  }
  EXPECT_EQ(g_ivray.n_vectors, 252);
}

TEST_F(PenTest, EveryDispatchedPointCountsOnceMovesIncluded) {
  lineqq(10, 20, 30, 40);
  lineqq(50, 60, 70, 80);  // the move strokes the first line
  xmove(1.0f, 1.0f);       // strokes the second line; a lone point stays buffered
  EXPECT_EQ(g_ivray.n_vectors, 4);
  qqstrk();  // the lone point goes out as a move
  qqstrk();  // an empty buffer sends nothing
  EXPECT_EQ(g_ivray.n_vectors, 5);
  EXPECT_EQ(RecordingDriver::points().size(), 5u);
}

TEST_F(PenTest, PointsAreCountedWithoutDriverAndBeyondTheLastDevice) {
  set_current_driver(nullptr);
  xjdraw(1.0f, 2.0f, kPenMove);
  g_ivray.device = 702;  // no device class: counted, not sent
  set_current_driver(std::make_unique<RecordingDriver>());
  xjdraw(1.0f, 2.0f, kPenDraw);
  EXPECT_EQ(g_ivray.n_vectors, 2);
  EXPECT_TRUE(RecordingDriver::points().empty());
}

TEST_F(PenTest, MoveAndDrawToTheSamePointGiveOneZeroLengthVector) {
  strtqq(100.0f, 200.0f);
  connqq(100.0f, 200.0f);
  qqstrk();
  const std::vector<P> pts = sent();
  ASSERT_EQ(pts.size(), 2u);
  EXPECT_EQ(pts[0].pen, kPenMove);
  EXPECT_EQ(pts[1].pen, kPenDraw);
  EXPECT_EQ(pts[0].x, pts[1].x);
  EXPECT_EQ(pts[0].y, pts[1].y);
}

TEST_F(PenTest, PageOffsetIsAddedByTheVectorPathOnly) {
  g_ivray.page_offset_x = 5;
  g_ivray.page_offset_y = -3;
  strtqq(10.0f, 20.0f);
  connqq(30.0f, 40.0f);
  EXPECT_EQ(g_pen.vec_x, 35.0f);
  EXPECT_EQ(g_pen.vec_y, 37.0f);
  xmove(1.0f, 3.0f);  // buffer level: no offset
  xdraw(2.0f, 4.0f);
  qqstrk();
  const std::vector<P> pts = sent();
  ASSERT_EQ(pts.size(), 4u);
  EXPECT_EQ(pts[0].x, 15.0f);
  EXPECT_EQ(pts[0].y, 17.0f);
  EXPECT_EQ(pts[1].x, 35.0f);
  EXPECT_EQ(pts[1].y, 37.0f);
  EXPECT_EQ(pts[2].x, 1.0f);
  EXPECT_EQ(pts[2].pen, kPenMove);
  EXPECT_EQ(pts[3].y, 4.0f);
}

TEST_F(PenTest, DrawIntoAnEmptyBufferStartsTheNextLine) {
  xdraw(7.0f, 8.0f);
  xdraw(9.0f, 10.0f);
  qqstrk();
  const std::vector<P> pts = sent();
  ASSERT_EQ(pts.size(), 2u);
  EXPECT_EQ(pts[0].pen, kPenMove);
  EXPECT_EQ(pts[0].x, 7.0f);
  EXPECT_EQ(pts[1].pen, kPenDraw);
  EXPECT_EQ(pts[1].x, 9.0f);
}

TEST_F(PenTest, DeviceScaleIsAppliedAtDispatch) {
  g_xvray.page_scale = 0.5f;
  lineqq(2969, 2099, 1, 1);
  qqstrk();
  const std::vector<DriverEvent> pts = RecordingDriver::points();
  ASSERT_EQ(pts.size(), 2u);
  EXPECT_EQ(pts[0].point.ix, 1485);
  EXPECT_EQ(pts[0].point.iy, 1050);
  EXPECT_EQ(pts[1].point.ix, 1);
  EXPECT_EQ(pts[1].point.iy, 1);
}

TEST_F(PenTest, DashedSegmentCarriesThePatternIntoTheNextSegment) {
  g_linestyle.dash_pattern[0] = 10;
  g_linestyle.dash_pattern[1] = 10;
  g_linestyle.dash_count = 2;
  g_linestyle.dash_rest = 10.0f;
  strtqq(0.0f, 50.0f);
  connqq(35.0f, 50.0f);  // draws 0-10, skips 10-20, draws 20-30, skips 30-35
  EXPECT_EQ(g_linestyle.dash_gap, 1);
  EXPECT_FLOAT_EQ(g_linestyle.dash_rest, 5.0f);
  connqq(55.0f, 50.0f);  // 5 more of the gap, draws 40-50, skips 50-55
  qqstrk();
  const std::vector<P> pts = sent();
  const float xs[] = {0, 10, 20, 30, 35, 40, 50, 55};
  const int pens[] = {3, 2, 3, 2, 3, 3, 2, 3};
  ASSERT_EQ(pts.size(), 8u);
  for (int i = 0; i < 8; ++i) {
    EXPECT_NEAR(pts[i].x, xs[i], 1e-4) << i;
    EXPECT_EQ(pts[i].y, 50.0f) << i;
    EXPECT_EQ(pts[i].pen, pens[i]) << i;
  }
  EXPECT_EQ(g_pen.vec_x, 55.0f);
}

TEST_F(PenTest, CurveOffsetShiftsSegmentsAndJoinsThem) {
  g_pen.curve_offset = 5.0f;
  strtqq(0.0f, 100.0f);
  EXPECT_EQ(g_pen.pen_move_pending, 1);
  connqq(100.0f, 100.0f);  // rightwards: shifted up (y grows downwards)
  connqq(100.0f, 200.0f);  // downwards: shifted right, joined at the corner
  qqstrk();
  const std::vector<P> pts = sent();
  ASSERT_EQ(pts.size(), 4u);
  const float ex[] = {0, 100, 105, 105}, ey[] = {95, 95, 100, 200};
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(pts[i].x, ex[i], 1e-3) << i;
    EXPECT_NEAR(pts[i].y, ey[i], 1e-3) << i;
    EXPECT_EQ(pts[i].pen, i == 0 ? kPenMove : kPenDraw) << i;
  }
  // The current point is the unshifted end.
  EXPECT_NEAR(g_pen.vec_x, 100.0f, 1e-3);
  EXPECT_NEAR(g_pen.vec_y, 200.0f, 1e-3);
}

TEST(QqatanTest, NearVerticalGivesPlusOrMinusHalfPi) {
  EXPECT_FLOAT_EQ(qqatan(1.0f, 0.0f), 1.570796f);
  EXPECT_FLOAT_EQ(qqatan(0.0f, 1e-7f), 1.570796f);
  EXPECT_FLOAT_EQ(qqatan(-3.0f, -1e-7f), -1.570796f);
  EXPECT_NEAR(qqatan(1.0f, -1.0f), 2.3561945f, 1e-6);
}

}  // namespace

// The scaling record of graf, the user-to-page transformation and the axis clip window.
#include <gtest/gtest.h>

#include <cmath>

#include "elements/axis_state.h"
#include "elements/scaling.h"
#include "stylus.h"
#include "support/fresh_process.h"

using namespace stylus;

namespace {

// The program's call on the default page.
const float kProgram[8] = {0.0f, 3.0f, 0.0f, 0.5f, -32.5f, -23.0f, -32.5f, 1.0f};
const AxisGeometry kDefaultPage{494, 1799, 1980, 1400, 0, 0};

class Transformation : public ::testing::Test {
 protected:
  void SetUp() override {
    fresh_process();
    reset_axis_settings();
    g_scale = make_scale(kProgram, kDefaultPage);
  }
  void TearDown() override { fresh_process(); }
};

}  // namespace

TEST(MakeScale, ProgramCallOnTheDefaultPage) {
  const ScaleRecord s = make_scale(kProgram, kDefaultPage);
  EXPECT_EQ(s.x_factor, 659.66669f);
  EXPECT_EQ(s.y_factor, 147.26315f);
  EXPECT_EQ(s.x_origin, 494.0f);
  EXPECT_EQ(s.y_origin, 1799.0f);
  EXPECT_EQ(s.x_min, 0.0f);
  EXPECT_EQ(s.x_max, 3.0f);
  EXPECT_EQ(s.y_min, -32.5f);
  EXPECT_EQ(s.y_max, -23.0f);
  EXPECT_EQ(s.y_first, -32.5f);
  EXPECT_EQ(s.y_step, 1.0f);
}

TEST(MakeScale, DescendingAxisSwapsTheLimitsAndHasANegativeFactor) {
  const float v[8] = {10.0f, 0.0f, 10.0f, -2.0f, 0.0f, 1.0f, 0.0f, 0.5f};
  const ScaleRecord s = make_scale(v, kDefaultPage);
  EXPECT_LT(s.x_factor, 0.0f);
  EXPECT_EQ(s.x_min, 0.0f);
  EXPECT_EQ(s.x_max, 10.0f);
}

TEST(MakeScale, LogarithmicLimitsArePowersOfTen) {
  const float v[8] = {-1.0f, 2.0f, -1.0f, 1.0f, 3.0f, 0.0f, 3.0f, -1.0f};
  const ScaleRecord s = make_scale(v, {494, 1799, 1980, 1400, 1, 1});
  EXPECT_FLOAT_EQ(s.x_min, 0.1f);
  EXPECT_FLOAT_EQ(s.x_max, 100.0f);
  EXPECT_FLOAT_EQ(s.y_min, 1.0f);
  EXPECT_FLOAT_EQ(s.y_max, 1000.0f);
}

TEST_F(Transformation, WorkedPositions) {
  EXPECT_EQ(xposn(0.0f), 494.0f);
  EXPECT_EQ(xposn(1.5f), 1483.5f);
  EXPECT_EQ(nxposn(1.5f), 1484);
  EXPECT_EQ(nxposn(3.0f), 2473);
  EXPECT_EQ(nyposn(-32.5f), 1799);
  EXPECT_NEAR(yposn(-28.0f), 1136.32f, 0.005f);
  EXPECT_EQ(nyposn(-28.0f), 1136);
  EXPECT_EQ(nyposn(-23.0f), 400);
}

TEST_F(Transformation, DescendingAxisMapsBeginToTheLeftEnd) {
  const float v[8] = {10.0f, 0.0f, 10.0f, -2.0f, -32.5f, -23.0f, -32.5f, 1.0f};
  g_scale = make_scale(v, kDefaultPage);
  EXPECT_EQ(nxposn(10.0f), 494);
  EXPECT_EQ(nxposn(0.0f), 2473);
}

TEST_F(Transformation, LogarithmicAxisTakesTheLogarithm) {
  const float v[8] = {0.0f, 3.0f, 0.0f, 1.0f, -32.5f, -23.0f, -32.5f, 1.0f};
  g_axis.log_axis[0] = 1;
  g_scale = make_scale(v, {494, 1799, 1980, 1400, 1, 0});
  EXPECT_EQ(nxposn(1.0f), 494);
  EXPECT_EQ(nxposn(1000.0f), 2473);
  EXPECT_EQ(nxposn(std::sqrt(10.0f)), nxposn(1.0f) + 330);  // half a decade
}

TEST_F(Transformation, TrfrelConvertsInPlaceAndBoundsFarPoints) {
  float xs[4] = {1.5f, 3.0f, 1.0e30f, -1.0e30f};
  float ys[4] = {-28.0f, -23.0f, -1.0e30f, 1.0e30f};
  trfrel(xs, ys, 4);
  EXPECT_EQ(xs[0], 1483.5f);
  EXPECT_EQ(xs[1], 2473.0f);
  EXPECT_NEAR(ys[0], 1136.32f, 0.005f);
  EXPECT_EQ(ys[1], 400.0f);
  EXPECT_EQ(xs[2], 1.0e6f);
  EXPECT_EQ(xs[3], -1.0e6f);
  EXPECT_EQ(ys[2], 1.0e6f);  // page y grows downwards
  EXPECT_EQ(ys[3], -1.0e6f);
}

TEST_F(Transformation, IntegerPositionsOfFarPointsStayInRange) {
  EXPECT_EQ(nxposn(1.0e30f), 2147483647);
  EXPECT_EQ(nxposn(-1.0e30f), -2147483647 - 1);
}

TEST(MakeAxisClip, FileDeviceInsetsByOnePoint) {
  const AxisClipRecord c =
      make_axis_clip({494, 1799, 1980, 1400, 0, 0, 2969, 2099, false, 1.8571428f, -1});
  EXPECT_EQ(c.axis_clip_left, 495);
  EXPECT_EQ(c.axis_clip_right, 2472);
  EXPECT_EQ(c.axis_clip_top, 401);
  EXPECT_EQ(c.axis_clip_bottom, 1798);
}

TEST(MakeAxisClip, ScreenInsetGrowsWithSmallerPixels) {
  // 0.5 pixels per point: margin -(nint(1.98) + 1) = -3.
  AxisClipRecord c = make_axis_clip({494, 1799, 1980, 1400, 0, 0, 2969, 2099, true, 0.5f, -1});
  EXPECT_EQ(c.axis_clip_left, 497);
  EXPECT_EQ(c.axis_clip_right, 2470);
  EXPECT_EQ(c.axis_clip_top, 403);
  EXPECT_EQ(c.axis_clip_bottom, 1796);
  // One pixel per point: margin -2.
  c = make_axis_clip({494, 1799, 1980, 1400, 0, 0, 2969, 2099, true, 1.0f, -1});
  EXPECT_EQ(c.axis_clip_left, 496);
  EXPECT_EQ(c.axis_clip_bottom, 1797);
}

TEST(MakeAxisClip, BoundedByThePageAndShiftedByTheOffset) {
  // A positive margin widens the window beyond the page on two sides.
  AxisClipRecord c = make_axis_clip({0, 2099, 2970, 2100, 0, 0, 2969, 2099, false, 1.0f, 5});
  EXPECT_EQ(c.axis_clip_left, 0);
  EXPECT_EQ(c.axis_clip_top, 0);
  EXPECT_EQ(c.axis_clip_right, 2969);
  EXPECT_EQ(c.axis_clip_bottom, 2099);
  c = make_axis_clip({494, 1799, 1980, 1400, 10, 20, 2969, 2099, false, 1.0f, -1});
  EXPECT_EQ(c.axis_clip_left, 505);
  EXPECT_EQ(c.axis_clip_top, 421);
  EXPECT_EQ(c.axis_clip_right, 2482);
  EXPECT_EQ(c.axis_clip_bottom, 1818);
}

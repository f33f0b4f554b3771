// curve in the program's axis system: the checks, the out-of-scaling report, the clipped
// drawing, what it restores and the attribute and legend bookkeeping.
#include <gtest/gtest.h>

#include <cmath>

#include "elements/axis_state.h"
#include "elements/curve.h"
#include "pen/linestyle.h"
#include "plot/elements/graf_session_fixture.h"

using namespace stylus;

namespace {

class Curve : public AxisSession {
 protected:
  void SetUp() override {
    AxisSession::SetUp();
    program_graf();
    lines();
  }
};

}  // namespace

TEST_F(Curve, ReportsPointsOutsideTheScalingWithFixedOrExponentForm) {
  const float x[7] = {2.0f, 1.5f, 0.0f, 2.5e-7f, 1.0f, 3.0f, -1.0f};
  const float y[7] = {-40.0f, -28.0f, -40.0f, -40.0f, 5.0e6f, -23.0f, -30.0f};
  capture();
  curve(x, y, 7);
  EXPECT_EQ(stdout_text(),
            " <<<< (2.000000 / -40.000000) out of axis scaling!\n"
            " <<<< (0.000000 / -40.000000) out of axis scaling!\n"
            " <<<< (  2.5000e-07 / -40.000000) out of axis scaling!\n"
            " <<<< (1.000000 /  5.0000e+06) out of axis scaling!\n"
            " <<<< (-1.000000 / -30.000000) out of axis scaling!\n");
  EXPECT_EQ(g_curve.range_check, 1);  // restored after the drawing
}

TEST_F(Curve, PointsOnTheLimitsAreInside) {
  const float x[4] = {0.0f, 3.0f, 3.0f, 0.0f};
  const float y[4] = {-32.5f, -32.5f, -23.0f, -23.0f};
  capture();
  curve(x, y, 4);
  EXPECT_EQ(stdout_text(), "");
}

TEST_F(Curve, NoReportWhenRangeChecksOrMessagesAreOff) {
  const float x[2] = {5.0f, 6.0f};
  const float y[2] = {-40.0f, -40.0f};
  g_curve.range_check = 0;
  capture();
  curve(x, y, 2);
  EXPECT_EQ(stdout_text(), "");
  g_curve.range_check = 1;
  g_ivray.msg_unit = 0;
  capture();
  curve(x, y, 2);
  EXPECT_EQ(stdout_text(), "");
}

TEST_F(Curve, DrawsTheConvertedPointsClippedToTheAxisArea) {
  // Enters from below the axis system, passes (1.5, -28) and leaves through the top.
  const float x[3] = {0.0f, 1.5f, 3.0f};
  const float y[3] = {-40.0f, -28.0f, -16.0f};
  capture();
  curve(x, y, 3);
  stdout_text();
  const std::vector<PageLine> all = lines();
  ASSERT_EQ(all.size(), 1u);
  const auto& p = all[0].points;
  ASSERT_EQ(p.size(), 3u);
  // Clip window of the screen at one pixel per point: 496..2471 x 402..1797.
  EXPECT_EQ(p[0].second, 1797);
  EXPECT_EQ(p[1], std::make_pair(1484, 1136));
  EXPECT_EQ(p[2].second, 402);
  // The cut points lie on the lines through the converted points.
  const float x0 = 494.0f, y0 = 1799.0f + 7.5f * 147.26315f;
  EXPECT_NEAR(p[0].first, x0 + (1797 - y0) * (1483.5f - x0) / (1136.3158f - y0), 1.0f);
}

TEST_F(Curve, AllPointsOutsideDrawNothingButCount) {
  const float x[3] = {-2.0f, -1.0f, -0.5f};
  const float y[3] = {-30.0f, -29.0f, -28.0f};
  capture();
  curve(x, y, 3);
  stdout_text();
  EXPECT_TRUE(lines().empty());
  EXPECT_EQ(g_curve.attr_index, 2);
  EXPECT_EQ(g_curve.legend_entry, 2);
  EXPECT_EQ(g_curve.legend_pending, 1);
  EXPECT_EQ(g_legend.n_legend, 1);
}

TEST_F(Curve, TooFewPointsAndWrongLevel) {
  const float x[1] = {1.0f};
  const float y[1] = {-30.0f};
  capture();
  curve(x, y, 1);
  curve(x, y, 0);
  EXPECT_EQ(stdout_text(),
            " <<<< Warning   2: Incorrect parameter in curve!\n"
            " <<<< Warning   2: Incorrect parameter in curve!\n");
  EXPECT_TRUE(lines().empty());
  EXPECT_EQ(g_curve.attr_index, 1);  // nothing counted
  disfin();
  metafl("CONS");
  disini();
  const float x2[2] = {1.0f, 2.0f};
  const float y2[2] = {-30.0f, -29.0f};
  capture();
  curve(x2, y2, 2);  // before graf
  EXPECT_EQ(stdout_text(), " <<<< Warning   3: Incorrect level in curve!   (   1)\n");
}

TEST_F(Curve, NonPositiveValuesOnALogarithmicAxis) {
  g_axis.log_axis[1] = 1;
  const float x[3] = {1.0f, 2.0f, 3.0f};
  const float y[3] = {10.0f, 0.0f, -1.0f};
  capture();
  curve(x, y, 3);
  EXPECT_EQ(stdout_text(), " <<<< Warning  27: Non positive values for log scaling in curve!\n");
  EXPECT_TRUE(lines().empty());
  g_curve.log_check_off = 1;
  capture();
  curve(x, y, 3);
  EXPECT_EQ(stdout_text().find("Warning"), std::string::npos);
}

TEST_F(Curve, RestoresColourAndLineStyleAndRecordsTheLegend) {
  color("red");
  dash();
  const int red = g_ivray.cur_color;
  g_curve.attr_mode = 1;  // colours from the cycle
  const float x[2] = {1.0f, 2.0f};
  const float y[2] = {-30.0f, -29.0f};
  curve(x, y, 2);
  EXPECT_EQ(g_ivray.cur_color, red);
  EXPECT_EQ(g_linestyle.line_style, 2);
  EXPECT_EQ(g_legend.color[0], g_cycles.color_cycle[0]);
  EXPECT_EQ(g_legend.line_style[0], 2);
  EXPECT_EQ(g_legend.symbol[0], -1);
  EXPECT_EQ(g_legend.pattern[0], -1);
  // The next curve takes the next colour of the cycle and legend entry 2.
  curve(x, y, 2);
  EXPECT_EQ(g_legend.color[1], g_cycles.color_cycle[1]);
  EXPECT_EQ(g_legend.n_legend, 2);
  EXPECT_EQ(g_curve.attr_index, 3);
  EXPECT_EQ(g_ivray.cur_color, red);
}

TEST_F(Curve, EveryCurveStartsTheDashPatternAfresh) {
  dash();  // 10 drawn, 10 skipped
  const float x[2] = {1.0f, 1.5f};
  const float y[2] = {-30.0f, -30.0f};
  for (int k = 0; k < 2; ++k) {
    curve(x, y, 2);
    const std::vector<PageLine> all = lines();
    ASSERT_FALSE(all.empty());
    // The first drawn piece runs 10 points from the start of the curve.
    EXPECT_EQ(all[0].points.size(), 2u) << k;
    EXPECT_EQ(all[0].points[0].first, nxposn(1.0f)) << k;
    EXPECT_EQ(all[0].points[1].first - all[0].points[0].first, 10) << k;
  }
}

TEST_F(Curve, AttributeCycleWithSeveralCurvesPerAttribute) {
  g_curve.curves_per_attr = 2;
  const float x[2] = {1.0f, 2.0f};
  const float y[2] = {-30.0f, -29.0f};
  curve(x, y, 2);  // count 1 -> 2
  EXPECT_EQ(g_curve.attr_index, 1);
  curve(x, y, 2);  // count 2 = 2 -> chnatt
  EXPECT_EQ(g_curve.attr_index, 2);
  EXPECT_EQ(g_curve.curve_count, 1);
  EXPECT_EQ(g_legend.n_legend, 1);
}

TEST_F(Curve, AttributePositionRunsThroughThirtyAndWraps) {
  g_curve.attr_index = 30;
  g_curve.curve_count = 0;
  chnatt();
  EXPECT_EQ(g_curve.attr_index, 1);
  EXPECT_EQ(g_curve.curve_count, 1);
  chnatt();  // a count of 1 means nothing to advance
  EXPECT_EQ(g_curve.attr_index, 1);
  slegnd(31);  // beyond the legend buffer: ignored
  EXPECT_EQ(g_legend.n_legend, 0);
}

TEST_F(Curve, SessionStartResetsTheAttributes) {
  const float x[2] = {1.0f, 2.0f};
  const float y[2] = {-30.0f, -29.0f};
  curve(x, y, 2);
  disfin();
  metafl("CONS");
  disini();
  EXPECT_EQ(g_curve.curve_count, 1);
  EXPECT_EQ(g_curve.attr_index, 1);
  EXPECT_EQ(g_curve.legend_pending, 1);
  EXPECT_EQ(g_curve.symbol_number, 0);
  EXPECT_EQ(g_curve.legend_entry, 1);
  EXPECT_EQ(g_legend.n_legend, 0);
}

TEST_F(Curve, ByReferenceEntry) {
  const float x[2] = {1.0f, 2.0f};
  const float y[2] = {-30.0f, -29.0f};
  const int n = 2;
  curve_(x, y, &n);
  const std::vector<PageLine> all = lines();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].points.front(), std::make_pair(nxposn(1.0f), nyposn(-30.0f)));
}

// Error bars through a recording driver at one device unit per point: bars and caps where
// the axis system puts them, points outside, clipping, logarithmic axes, and the warnings.
#include <gtest/gtest.h>

#include <limits>

#include "devices/device_point.h"
#include "elements/axis_state.h"
#include "elements/curve.h"
#include "pen/linestyle.h"
#include "plot/elements/graf_session_fixture.h"

using namespace stylus;

namespace {

class ErrorBars : public AxisSession {
 protected:
  void SetUp() override {
    AxisSession::SetUp();
    program_graf();
    lines();
  }
  static std::pair<int, int> at(float px, float py) { return {round_point(px), round_point(py)}; }
};

}  // namespace

TEST_F(ErrorBars, VerticalAndHorizontalBarsWithCapsAtTheirEnds) {
  const float x[2] = {1.5f, 2.0f}, y[2] = {-28.0f, -30.0f};
  const float lo[2] = {1.0f, 0.0f}, hi[2] = {0.5f, 2.0f};
  errcap(40);
  errbar(x, y, lo, hi, 2);
  const float px = xposn(1.5f), low = yposn(-29.0f), high = yposn(-27.5f);
  const float qx = xposn(2.0f), q = yposn(-30.0f), qhigh = yposn(-28.0f);
  EXPECT_EQ(lines(), (std::vector<PageLine>{
                         line({at(px, low), at(px, high)}),
                         line({at(px - 20, low), at(px + 20, low)}),
                         line({at(px - 20, high), at(px + 20, high)}),
                         line({at(qx, q), at(qx, qhigh)}),  // no cap at the point itself
                         line({at(qx - 20, qhigh), at(qx + 20, qhigh)}),
                     }));
  errcap(0);
  errhor(x, y, hi, hi, 1);  // symmetric, no caps
  EXPECT_EQ(lines(), (std::vector<PageLine>{
                         line({at(xposn(1.0f), yposn(-28.0f)), at(xposn(2.0f), yposn(-28.0f))})}));
}

TEST_F(ErrorBars, PointsOutsideAreReportedAndBarsClippedAtTheAxisArea) {
  const float x[2] = {3.5f, 1.0f}, y[2] = {-30.0f, -30.0f};
  const float lo[2] = {1.0f, 100.0f};
  const float hi[2] = {1.0f, std::numeric_limits<float>::infinity()};
  dash();  // the bars stay solid, and the style stays the user's
  capture();
  errbar(x, y, lo, hi, 2);
  EXPECT_EQ(stdout_text(), " <<<< (3.500000 / -30.000000) out of axis scaling!\n");
  // The stem, cut at the window (y 402..1797 on the screen); its caps lie outside it.
  EXPECT_EQ(lines(), (std::vector<PageLine>{line({{nxposn(1.0f), 1797}, {nxposn(1.0f), 402}})}));
  EXPECT_EQ(g_linestyle.line_style, 2);
}

TEST_F(ErrorBars, LowerEndsAtOrBelowZeroOnALogarithmicAxisRunOffTheBottom) {
  disfin();
  metafl("CONS");
  disini();
  g_xvray.page_scale = 1.0f;
  g_axis.log_axis[1] = 1;
  graf(0.0f, 3.0f, 0.0f, 0.5f, 0.0f, 3.0f, 0.0f, 1.0f);  // y from 1 to 1000
  lines();
  const float x[1] = {1.5f}, y[1] = {10.0f}, lo[1] = {10.0f}, hi[1] = {90.0f};
  errcap(0);
  errbar(x, y, lo, hi, 1);
  EXPECT_EQ(lines(),
            (std::vector<PageLine>{line({{nxposn(1.5f), 1797}, at(xposn(1.5f), yposn(100.0f))})}));
}

TEST_F(ErrorBars, BadArgumentsWarnAndDrawNothing) {
  const float x[3] = {1.0f, 1.5f, 2.0f}, y[3] = {-30.0f, -29.0f, -28.0f};
  const float good[3] = {0.5f, 0.5f, 0.5f}, negative[3] = {0.5f, 0.5f, -0.1f};
  const float nan[3] = {0.5f, std::numeric_limits<float>::quiet_NaN(), 0.5f};
  capture();
  errbar(x, y, good, negative, 3);
  errhor(x, y, nan, good, 3);
  errbar(x, y, good, good, 0);
  errbar(x, nullptr, good, good, 3);
  errhor_(x, y, good, good, nullptr);
  errcap(-1);
  EXPECT_EQ(stdout_text(),
            " <<<< Warning   1: Negative parameter in errbar!   (   3)\n"
            " <<<< Warning   2: Incorrect parameter in errhor!   (   2)\n"
            " <<<< Warning   2: Incorrect parameter in errbar!   (   0)\n"
            " <<<< Warning   2: Incorrect parameter in errbar!\n"
            " <<<< Warning   2: Incorrect parameter in errhor!\n"
            " <<<< Warning   2: Incorrect parameter in errcap!   (  -1)\n");
  EXPECT_TRUE(lines().empty());
  EXPECT_EQ(g_curve.cap_width, kDefaultCapWidth);
  disfin();
  capture();
  errbar(x, y, good, good, 3);
  EXPECT_EQ(stdout_text(), " <<<< Warning   3: Incorrect level in errbar!   (   0)\n");
}

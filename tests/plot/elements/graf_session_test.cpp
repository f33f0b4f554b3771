// graf in a session: what it draws for the program's axis system (axis lines, ticks
// with their alternating direction, the frame, nothing beyond the ticks of the top and
// right sides), the settings it leaves, its clip window and its failures and warnings.
#include <gtest/gtest.h>

#include "elements/axis_state.h"
#include "pen/clip.h"
#include "plot/elements/graf_session_fixture.h"

using namespace stylus;

namespace {

const int kBottomTicks[13] = {494,  659,  824,  989,  1154, 1319, 1484,
                              1648, 1813, 1978, 2143, 2308, 2473};
const int kLeftTicks[20] = {1799, 1725, 1652, 1578, 1504, 1431, 1357, 1284, 1210, 1136,
                            1063, 989,  915,  842,  768,  695,  621,  547,  474,  400};

// A tick as drawn: from base to end or, the other way round, from end to base.
bool is_tick(const PageLine& l, std::pair<int, int> base, std::pair<int, int> end, bool* outward) {
  if (l.points.size() != 2) return false;
  if (l.points[0] == base && l.points[1] == end) {
    *outward = true;
    return true;
  }
  if (l.points[0] == end && l.points[1] == base) {
    *outward = false;
    return true;
  }
  return false;
}

}  // namespace

using Graf = AxisSession;

TEST_F(Graf, ProgramAxisSystemLinesTicksAndFrame) {
  program_graf();
  EXPECT_EQ(g_ivray.level, 2);
  const std::vector<PageLine> all = lines();
  ASSERT_FALSE(all.empty());

  // Bottom axis: the line, then 13 ticks pointing down, drawn back and forth.
  const int bottom = find(all, line({{494, 1799}, {2473, 1799}}));
  ASSERT_EQ(bottom, 0);
  bool previous = false;
  for (int i = 0; i < 13; ++i) {
    const int len = i % 2 == 0 ? 24 : 16;
    bool outward = false;
    ASSERT_TRUE(
        is_tick(all[1 + i], {kBottomTicks[i], 1799}, {kBottomTicks[i], 1799 + len}, &outward))
        << i << ": " << all[1 + i];
    if (i > 0) {
      EXPECT_NE(outward, previous) << i;
    }
    previous = outward;
  }
  // Left axis: the line, then 20 ticks pointing left; the toggle carries over.
  const int left = find(all, line({{494, 1799}, {494, 400}}));
  ASSERT_GT(left, bottom);
  for (int i = 0; i < 20; ++i) {
    const int len = i % 2 == 0 ? 24 : 16;
    bool outward = false;
    ASSERT_TRUE(
        is_tick(all[left + 1 + i], {494, kLeftTicks[i]}, {494 - len, kLeftTicks[i]}, &outward))
        << i << ": " << all[left + 1 + i];
    EXPECT_NE(outward, previous) << i;
    previous = outward;
  }
  // Top and right: the line and ticks pointing out of the rectangle.
  const int top = find(all, line({{494, 400}, {2473, 400}}));
  ASSERT_GT(top, left);
  bool o = false;
  EXPECT_TRUE(is_tick(all[top + 2], {659, 400}, {659, 400 - 16}, &o)) << all[top + 2];
  const int right = find(all, line({{2473, 1799}, {2473, 400}}));
  ASSERT_GT(right, top);
  EXPECT_TRUE(is_tick(all[right + 3], {2473, 1652}, {2473 + 24, 1652}, &o)) << all[right + 3];
  // The frame last, exactly on the axis lines.
  EXPECT_EQ(all.back(), line({{494, 400}, {2473, 400}, {2473, 1799}, {494, 1799}, {494, 400}}));
  // The top and right sides carry no labels and no titles: nothing above the top ticks,
  // nothing right of the right ticks beside the axis (the bottom labels may stick out).
  for (const PageLine& l : all)
    for (const auto& p : l.points) {
      EXPECT_GE(p.second, 400 - 24) << l;
      if (p.second <= 1799 + 24) {
        EXPECT_LE(p.first, 2473 + 24) << l;
      }
    }
}

TEST_F(Graf, LeavesTheAxisSettingsAsItFoundThem) {
  name("Separation (A)", "X");
  name("Energy (eV)", "Y");
  program_graf();
  EXPECT_STREQ(g_titles.axis_title_x, "Separation (A)");
  EXPECT_STREQ(g_titles.axis_title_y, "Energy (eV)");
  for (int a = 0; a < 2; ++a) {
    EXPECT_EQ(g_axis.label_type[a], 1);
    EXPECT_EQ(g_axis.tick_count[a], 2);
    EXPECT_EQ(g_axis.axis_line[a], 1);
    EXPECT_EQ(g_axis.label_dist[a], 24);
    EXPECT_EQ(g_axis.name_dist[a], 30);
  }
  EXPECT_EQ(g_axis.major_tick_len, 24);
  EXPECT_EQ(g_axis.minor_tick_len, 16);
}

TEST_F(Graf, StoresTheScalingAndTheClipWindow) {
  program_graf();
  EXPECT_EQ(g_scale.x_factor, 659.66669f);
  EXPECT_EQ(g_scale.y_factor, 147.26315f);
  EXPECT_EQ(nxposn(1.5f), 1484);
  EXPECT_EQ(nyposn(-28.0f), 1136);
  // The screen at one pixel per point keeps two points clear of the frame.
  EXPECT_EQ(g_axis_clip.axis_clip_left, 496);
  EXPECT_EQ(g_axis_clip.axis_clip_right, 2471);
  EXPECT_EQ(g_axis_clip.axis_clip_top, 402);
  EXPECT_EQ(g_axis_clip.axis_clip_bottom, 1797);
}

TEST_F(Graf, FileDeviceClipWindowIsOnePointInside) {
  disfin();
  metafl("POST");
  disini();
  program_graf();
  EXPECT_EQ(g_axis_clip.axis_clip_left, 495);
  EXPECT_EQ(g_axis_clip.axis_clip_right, 2472);
  EXPECT_EQ(g_axis_clip.axis_clip_top, 401);
  EXPECT_EQ(g_axis_clip.axis_clip_bottom, 1798);
}

TEST_F(Graf, EqualBeginAndEndIsRefusedAndACorrectCallFollows) {
  capture();
  graf(1.0f, 1.0f, 1.0f, 0.5f, -32.5f, -23.0f, -32.5f, 1.0f);
  EXPECT_EQ(stdout_text(), " <<<< Warning  10: Begin and end of scaling are equal in graf!\n");
  EXPECT_EQ(g_ivray.level, 1);
  EXPECT_TRUE(lines().empty());
  capture();
  program_graf();
  EXPECT_EQ(stdout_text(), "");
  EXPECT_EQ(g_ivray.level, 2);
  EXPECT_FALSE(lines().empty());
}

TEST_F(Graf, BothAxesAreCheckedBeforeTheDecision) {
  capture();
  graf(0.0f, 3.0f, 0.0f, 0.0f, -23.0f, -23.0f, -32.5f, 1.0f);
  EXPECT_EQ(stdout_text(),
            " <<<< Warning   9: Step equal zero in graf!\n"
            " <<<< Warning  10: Begin and end of scaling are equal in graf!\n");
  EXPECT_EQ(g_ivray.level, 1);
  EXPECT_EQ(g_ivray.n_warnings, 2);
}

TEST_F(Graf, SecondCallAndCallOutsideASessionAreRefused) {
  program_graf();
  lines();
  capture();
  program_graf();
  EXPECT_EQ(stdout_text(), " <<<< Warning   3: Incorrect level in graf!   (   2)\n");
  EXPECT_TRUE(lines().empty());
  EXPECT_EQ(g_ivray.level, 2);
  disfin();
  capture();
  program_graf();
  EXPECT_EQ(stdout_text(), " <<<< Warning   3: Incorrect level in graf!   (   0)\n");
  EXPECT_EQ(g_ivray.level, 0);
}

TEST_F(Graf, StartLabelAndStepSignWarningsDoNotStopIt) {
  capture();
  graf(0.0f, 3.0f, 4.0f, 0.5f, -32.5f, -23.0f, -32.5f, -1.0f);
  EXPECT_EQ(stdout_text(),
            " <<<< Warning  12: Startlabel out of scaling in graf!\n"
            " <<<< Warning  50: Incorrect sign for step in graf!\n");
  EXPECT_EQ(g_ivray.level, 2);
  const std::vector<PageLine> all = lines();
  EXPECT_NE(find(all, line({{494, 1799}, {494, 400}})), -1);
  EXPECT_EQ(all.back(), line({{494, 400}, {2473, 400}, {2473, 1799}, {494, 1799}, {494, 400}}));
}

TEST_F(Graf, DescendingAxisIsAcceptedWithoutWarning) {
  capture();
  graf(10.0f, 0.0f, 10.0f, -2.0f, -32.5f, -23.0f, -32.5f, 1.0f);
  EXPECT_EQ(stdout_text(), "");
  EXPECT_EQ(nxposn(10.0f), 494);
  EXPECT_EQ(nxposn(0.0f), 2473);
  // Ticks from 10 down to 0: six major ones, the last at the right end.
  const std::vector<PageLine> all = lines();
  bool o = false;
  EXPECT_TRUE(is_tick(all[1], {494, 1799}, {494, 1823}, &o)) << all[1];
  EXPECT_TRUE(is_tick(all[11], {2473, 1799}, {2473, 1823}, &o)) << all[11];
}

TEST_F(Graf, CrossedAxesRunThroughTheOrigin) {
  g_axis.crossed_axes = 1;
  graf(-1.0f, 1.0f, -1.0f, 0.5f, -1.0f, 1.0f, -1.0f, 0.5f);
  EXPECT_EQ(g_ivray.level, 2);
  const std::vector<PageLine> all = lines();
  EXPECT_EQ(all.front(), line({{494, 1100}, {2473, 1100}}));
  EXPECT_NE(find(all, line({{1484, 1799}, {1484, 400}})), -1);
  EXPECT_EQ(find(all, line({{494, 400}, {2473, 400}})), -1);  // no top side
  EXPECT_EQ(find(all, line({{494, 400}, {2473, 400}, {2473, 1799}, {494, 1799}, {494, 400}})),
            -1);  // no frame
}

TEST_F(Graf, CrossedAxesNeedTheOriginAndLinearScaling) {
  g_axis.crossed_axes = 1;
  capture();
  graf(1.0f, 3.0f, 1.0f, 0.5f, -1.0f, 1.0f, -1.0f, 0.5f);
  EXPECT_EQ(stdout_text(), " <<<< Warning 101: No origin found for crossed axis system in graf!\n");
  EXPECT_EQ(g_ivray.level, 1);
  EXPECT_TRUE(lines().empty());
  g_axis.log_axis[1] = 1;
  capture();
  graf(-1.0f, 1.0f, -1.0f, 0.5f, 0.0f, 2.0f, 0.0f, 1.0f);
  EXPECT_EQ(stdout_text(),
            " <<<< Warning 101: Crossed axis systems must have linear scaling in graf!\n");
  EXPECT_EQ(g_ivray.level, 1);
}

TEST_F(Graf, SuppressedAxesSetTheScalingOnly) {
  g_axis.suppress_axes = 1;
  program_graf();
  EXPECT_EQ(g_ivray.level, 2);
  EXPECT_TRUE(lines().empty());
  EXPECT_EQ(g_axis_clip.axis_clip_left, 496);
}

TEST_F(Graf, SideLevelsAndFrameThickness) {
  g_axis.side_level[0] = 1;  // bottom: the line only
  g_axis.side_level[3] = 0;  // left: nothing
  g_axis.frame_thickness = -2;
  program_graf();
  const std::vector<PageLine> all = lines();
  ASSERT_EQ(all[0], line({{494, 1799}, {2473, 1799}}));
  EXPECT_EQ(all[1], line({{494, 400}, {2473, 400}}));  // next comes the top side
  EXPECT_EQ(find(all, line({{494, 1799}, {494, 400}})), -1);
  // Two frame rectangles, the second one point inside.
  const size_t n = all.size();
  EXPECT_EQ(all[n - 2], line({{494, 400}, {2473, 400}, {2473, 1799}, {494, 1799}, {494, 400}}));
  EXPECT_EQ(all[n - 1], line({{495, 401}, {2472, 401}, {2472, 1798}, {495, 1798}, {495, 401}}));
  EXPECT_EQ(g_axis.side_level[0], 1);
  EXPECT_EQ(g_axis.axis_line[1], 1);  // restored after the left side
}

TEST_F(Graf, ByReferenceEntry) {
  const float v[8] = {0.0f, 3.0f, 0.0f, 0.5f, -32.5f, -23.0f, -32.5f, 1.0f};
  graf_(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7]);
  EXPECT_EQ(g_ivray.level, 2);
  EXPECT_EQ(g_scale.y_first, -32.5f);
  EXPECT_EQ(g_scale.y_step, 1.0f);
}

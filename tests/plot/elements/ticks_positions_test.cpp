// Tick positions of the program's axes and the tick variants: centred ticks, ticks on
// the other side, logarithmic decades, a wrong step sign and absurd steps.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "elements/axis_state.h"
#include "elements/ticks.h"

using namespace stylus;

namespace {

std::vector<int> along(const std::vector<TickLine>& t, int axis) {
  std::vector<int> p;
  for (const TickLine& l : t) p.push_back(axis == kAxisX ? l.x1 : l.y1);
  return p;
}

}  // namespace

TEST(TickLines, BottomAxisOfTheProgram) {
  const auto t = tick_lines(0.0f, 3.0f, 0.0f, 0.5f, 1980, 16, 24, 2, 494, 1799, 0, 0, kAxisX);
  ASSERT_EQ(t.size(), 13u);
  EXPECT_EQ(along(t, kAxisX), (std::vector<int>{494, 659, 824, 989, 1154, 1319, 1484, 1648, 1813,
                                                1978, 2143, 2308, 2473}));
  for (size_t i = 0; i < t.size(); ++i) {
    EXPECT_EQ(t[i].major, i % 2 == 0);
    EXPECT_EQ(t[i].x1, t[i].x2);
    EXPECT_EQ(t[i].y1, 1799);
    EXPECT_EQ(t[i].y2, 1799 + (t[i].major ? 24 : 16));
  }
}

TEST(TickLines, LeftAxisOfTheProgramPointsLeft) {
  const auto t =
      tick_lines(-32.5f, -23.0f, -32.5f, 1.0f, 1400, -16, -24, 2, 494, 1799, 0, 0, kAxisY);
  ASSERT_EQ(t.size(), 20u);
  EXPECT_EQ(along(t, kAxisY),
            (std::vector<int>{1799, 1725, 1652, 1578, 1504, 1431, 1357, 1284, 1210, 1136,
                              1063, 989,  915,  842,  768,  695,  621,  547,  474,  400}));
  EXPECT_FALSE(t.back().major);  // the last tick, at page y 400, is minor
  EXPECT_EQ(t[0].x1, 494);
  EXPECT_EQ(t[0].x2, 470);
  EXPECT_EQ(t[1].x2, 478);
}

TEST(TickLines, CentredTicksStartHalfALengthBeforeTheLine) {
  const auto t = tick_lines(0.0f, 3.0f, 0.0f, 0.5f, 1980, 16, 24, 2, 494, 1799, 0, 2, kAxisX);
  EXPECT_EQ(t[0].y1, 1799 - 12);
  EXPECT_EQ(t[0].y2, 1799 + 12);
  EXPECT_EQ(t[1].y1, 1799 - 8);
  EXPECT_EQ(t[1].y2, 1799 + 8);
}

TEST(TickLines, TicksExtendBackFromTheFirstLabel) {
  // First label 1.0: one tick spacing fits back to the begin 0.5, four forward to 3.0.
  const auto t = tick_lines(0.5f, 3.0f, 1.0f, 1.0f, 1980, 16, 24, 2, 494, 1799, 0, 0, kAxisX);
  ASSERT_EQ(t.size(), 6u);  // at 0.5, 1.0, 1.5, 2.0, 2.5, 3.0
  EXPECT_FALSE(t[0].major);
  EXPECT_TRUE(t[1].major);
  EXPECT_EQ(t[1].x1, 890);  // trunc(494.5 + 0.5 * 1979 / 2.5)
}

TEST(TickLines, NoTicksForACountOfZero) {
  EXPECT_TRUE(tick_lines(0.0f, 3.0f, 0.0f, 0.5f, 1980, 16, 24, 0, 494, 1799, 0, 0, kAxisX).empty());
}

TEST(TickLines, WrongStepSignFindsNoTicksBeyondTheFirstLabel) {
  // The spacing counts come out zero back and negative forward: the loop is empty.
  EXPECT_TRUE(
      tick_lines(0.0f, 3.0f, 0.0f, -0.5f, 1980, 16, 24, 2, 494, 1799, 0, 0, kAxisX).empty());
  EXPECT_TRUE(
      tick_lines(0.0f, 3.0f, 3.0f, -0.5f, 1980, 16, 24, 2, 494, 1799, 0, 0, kAxisX).empty());
}

TEST(TickLines, AbsurdlySmallStepsAreBounded) {
  const auto t =
      tick_lines(0.0f, 1.0e30f, 0.0f, 1.0e-30f, 1980, 16, 24, 2, 494, 1799, 0, 0, kAxisX);
  EXPECT_LE(t.size(), 100001u);
  EXPECT_GT(t.size(), 0u);
}

TEST(TickLines, LogarithmicDecadesGetOneMajorTickAndEightMinorOnes) {
  // Exponents 0 to 2 (1 to 100), labels every decade.
  const auto t = tick_lines(0.0f, 2.0f, 0.0f, 1.0f, 1001, 16, 24, 2, 100, 500, 1, 0, kAxisX);
  int majors = 0, minors = 0;
  for (const TickLine& l : t) (l.major ? majors : minors)++;
  EXPECT_EQ(majors, 3);
  EXPECT_EQ(minors, 16);
  // The tick of 2 lies at log10(2) of a decade of 500 points.
  bool found = false;
  for (const TickLine& l : t) found = found || (!l.major && l.x1 == 251);  // trunc(100.5 + 150.5)
  EXPECT_TRUE(found);
}

TEST(Settic, SignsDistancesForTheSideAndRestores) {
  reset_axis_settings();
  settic(1, 0);
  EXPECT_EQ(g_axis.label_dist[0], -24);
  EXPECT_EQ(g_axis.label_dist[1], -24);
  EXPECT_EQ(g_axis.name_dist[2], -30);
  EXPECT_EQ(g_axis.major_tick_len, -24);
  EXPECT_EQ(g_axis.minor_tick_len, -16);
  settic(1, 1);  // ticks on the other side of the line
  EXPECT_EQ(g_axis.label_dist[0], -24);
  EXPECT_EQ(g_axis.major_tick_len, 24);
  settic(0, 0);
  EXPECT_EQ(g_axis.label_dist[0], 24);
  EXPECT_EQ(g_axis.name_dist[1], 30);
  EXPECT_EQ(g_axis.major_tick_len, 24);
  EXPECT_EQ(g_axis.minor_tick_len, 16);
}

TEST(StepCount, TruncatesAfterAddingATenThousandth) {
  EXPECT_EQ(step_count(11.99995f), 12);
  EXPECT_EQ(step_count(9.5f), 9);
  EXPECT_EQ(step_count(-0.5f), 0);
  EXPECT_EQ(step_count(-1.5f), -1);
  EXPECT_EQ(step_count(NAN), 0);
  EXPECT_EQ(step_count(1.0e30f), 100000);
}

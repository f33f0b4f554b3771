// Placement of the axis titles beside the labels.
#include <gtest/gtest.h>

#include "elements/axis_state.h"
#include "elements/ticks.h"
#include "elements/titles.h"
#include "records/state.h"
#include "support/fresh_process.h"

using namespace stylus;

namespace {

class TitlePlacementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fresh_process();
    reset_axis_settings();
    g_ivray.name_height = 50;
  }
  void TearDown() override { fresh_process(); }
  TitlePlacement place(int width, int len, int side, int x, int y, int extent, int axis) {
    settic(side, g_axis.tick_pos[axis - 1]);
    const TitlePlacement p = title_placement(width, len, side, x, y, extent, axis);
    settic(0, 0);
    return p;
  }
};

}  // namespace

TEST_F(TitlePlacementTest, ProgramTitles) {
  // "Separation (A)": 14 characters of 49 points.
  TitlePlacement p = place(686, 1980, 0, 494, 1799, 50, kAxisX);
  EXPECT_EQ(p.x, 1141);
  EXPECT_EQ(p.y, 1927);
  EXPECT_EQ(p.angle, 0);
  // "Energy (eV)": 11 characters; the widest y label is 294 points.
  p = place(539, 1400, 1, 494, 1799, 294, kAxisY);
  EXPECT_EQ(p.x, 72);
  EXPECT_EQ(p.y, 1369);
  EXPECT_EQ(p.angle, 90);
}

TEST_F(TitlePlacementTest, TopAndRightSides) {
  TitlePlacement p = place(686, 1980, 1, 494, 400, 50, kAxisX);
  EXPECT_EQ(p.y, 400 - 78 - 50 - 50);
  p = place(539, 1400, 0, 2473, 1799, 294, kAxisY);
  EXPECT_EQ(p.angle, 270);
  EXPECT_EQ(p.x, 2473 + 78 + 50 + 294);
  EXPECT_EQ(p.y, 1799 - 1400 + 1 + 430);
  g_axis.right_title_up = 1;
  p = place(539, 1400, 0, 2473, 1799, 294, kAxisY);
  EXPECT_EQ(p.angle, 90);
  EXPECT_EQ(p.x, 2473 + 78 + 294);
  EXPECT_EQ(p.y, 1799 - 430);
}

TEST_F(TitlePlacementTest, WithoutLabelsTheTitleMovesToTheAxis) {
  g_axis.label_type[0] = 0;
  const TitlePlacement p = place(686, 1980, 0, 494, 1799, 0, kAxisX);
  EXPECT_EQ(p.y, 1799 + 30 + 24);
}

TEST_F(TitlePlacementTest, AlignmentAlongTheAxis) {
  g_axis.title_just[0] = 2;
  EXPECT_EQ(place(686, 1980, 0, 494, 1799, 50, kAxisX).x, 494 + 1980 - 686);
  g_axis.title_just[0] = 1;
  EXPECT_EQ(place(686, 1980, 0, 494, 1799, 50, kAxisX).x, 494);
}

TEST_F(TitlePlacementTest, TitleWiderThanTheAxisSticksOutOnBothEnds) {
  const TitlePlacement p = place(1200, 1000, 0, 500, 1799, 50, kAxisX);
  EXPECT_EQ(p.x, 500 - 100);
}

TEST_F(TitlePlacementTest, YTitleUsesTheYDistance) {
  g_axis.name_dist[0] = 100;
  EXPECT_EQ(place(539, 1400, 1, 494, 1799, 294, kAxisY).x, 72);
  g_axis.name_dist[1] = 40;
  EXPECT_EQ(place(539, 1400, 1, 494, 1799, 294, kAxisY).x, 62);
}

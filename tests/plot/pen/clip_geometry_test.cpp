// Region codes, cuts, line intersection, page angles and the clipping of single segments
// against a rectangular window.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <utility>

#include "pen/clip.h"

using stylus::clip_segment;
using stylus::ClippedSegment;
using stylus::ClipWindow;

namespace {

const ClipWindow kWindow{0, 0, 100, 100};

void ExpectSegment(const ClippedSegment& s, bool move, float x1, float y1, float x2, float y2) {
  ASSERT_TRUE(s.visible);
  EXPECT_EQ(s.move, move);
  EXPECT_FLOAT_EQ(s.x1, x1);
  EXPECT_FLOAT_EQ(s.y1, y1);
  EXPECT_FLOAT_EQ(s.x2, x2);
  EXPECT_FLOAT_EQ(s.y2, y2);
}

}  // namespace

TEST(ClipRegionCodes, CodesAndCountOfOutsideCoordinates) {
  int cx = 0, cy = 0;
  EXPECT_EQ(stylus::chkval(50, 50, cx, cy, 0, 0, 100, 100), 0);
  EXPECT_EQ(cx, 2);
  EXPECT_EQ(cy, 2);
  EXPECT_EQ(stylus::chkval(-1, 50, cx, cy, 0, 0, 100, 100), 1);
  EXPECT_EQ(cx, 1);
  EXPECT_EQ(cy, 2);
  EXPECT_EQ(stylus::chkval(101, -1, cx, cy, 0, 0, 100, 100), 2);
  EXPECT_EQ(cx, 3);
  EXPECT_EQ(cy, 1);
  EXPECT_EQ(stylus::chkval(50, 100.5f, cx, cy, 0, 0, 100, 100), 1);
  EXPECT_EQ(cy, 3);
  // The border belongs to the window.
  EXPECT_EQ(stylus::chkval(0, 100, cx, cy, 0, 0, 100, 100), 0);
}

TEST(ClipCuts, CutsAndTheirDegenerateCases) {
  EXPECT_FLOAT_EQ(stylus::xcut(0, 0, 10, 20, 5), 2.5f);
  EXPECT_FLOAT_EQ(stylus::ycut(0, 0, 10, 20, 5), 10.0f);
  // A horizontal line has no single x at a given y, a vertical one no single y.
  EXPECT_FLOAT_EQ(stylus::xcut(3, 7, 9, 7, 100), 3.0f);
  EXPECT_FLOAT_EQ(stylus::ycut(4, 1, 4, 9, 100), 1.0f);
  EXPECT_FLOAT_EQ(stylus::xcut(3, 7, 9, 7 + 1e-36f, 100), 3.0f);
}

TEST(ClipPageAngle, SmallXGivesAQuarterTurn) {
  EXPECT_FLOAT_EQ(stylus::qqatan(1, 1), static_cast<float>(std::atan2(1.0, 1.0)));
  EXPECT_FLOAT_EQ(stylus::qqatan(-3, -4), static_cast<float>(std::atan2(-3.0, -4.0)));
  EXPECT_EQ(stylus::qqatan(0, 0), 1.570796f);
  EXPECT_EQ(stylus::qqatan(5, 1e-6f), 1.570796f);
  EXPECT_EQ(stylus::qqatan(-5, -1e-7f), -1.570796f);
  EXPECT_FLOAT_EQ(stylus::qqatan(-5, 2e-6f), static_cast<float>(std::atan2(-5.0, 2e-6)));
}

TEST(ClipPageAngle, DirectionOfPageSegments) {
  // y grows downwards: a segment going up the page has the angle +90 degrees.
  const stylus::Direction right = stylus::segment_direction(0, 0, 10, 0);
  EXPECT_EQ(right.s, 0.0f);
  EXPECT_EQ(right.c, 1.0f);
  const stylus::Direction up = stylus::segment_direction(0, 10, 0, 0);
  EXPECT_FLOAT_EQ(up.s, 1.0f);
  EXPECT_NEAR(up.c, 0.0f, 1e-6f);
  const stylus::Direction slope = stylus::segment_direction(0, 0, 30, 40);
  EXPECT_FLOAT_EQ(slope.s, -0.8f);
  EXPECT_FLOAT_EQ(slope.c, 0.6f);
}

TEST(ClipSegment, InsideSegmentIsUnchangedAndNeedsNoMove) {
  ExpectSegment(clip_segment(kWindow, 10, 20, 30, 40), false, 10, 20, 30, 40);
  ExpectSegment(clip_segment(kWindow, 0, 0, 100, 100), false, 0, 0, 100, 100);
}

TEST(ClipSegment, EnteringSegmentStartsWithAMoveToTheBorder) {
  ExpectSegment(clip_segment(kWindow, -10, 50, 10, 50), true, 0, 50, 10, 50);
  ExpectSegment(clip_segment(kWindow, 50, 120, 50, 60), true, 50, 100, 50, 60);
}

TEST(ClipSegment, LeavingSegmentEndsAtTheBorderWithoutAMove) {
  ExpectSegment(clip_segment(kWindow, 50, 50, 150, 50), false, 50, 50, 100, 50);
  ExpectSegment(clip_segment(kWindow, 50, 50, 50, -30), false, 50, 50, 50, 0);
}

TEST(ClipSegment, CrossingSegmentIsCutAtBothEnds) {
  ExpectSegment(clip_segment(kWindow, -50, 50, 150, 50), true, 0, 50, 100, 50);
  // Through the corner regions: cut at the left side, then at the top.
  ExpectSegment(clip_segment(kWindow, -10, 20, 20, -10), true, 0, 10, 10, 0);
  ExpectSegment(clip_segment(kWindow, 120, 50, 50, 120), true, 100, 70, 70, 100);
}

TEST(ClipSegment, SegmentsThatMissTheWindowAreDropped) {
  EXPECT_FALSE(clip_segment(kWindow, -10, 10, -5, 90).visible);   // both left
  EXPECT_FALSE(clip_segment(kWindow, 10, -10, 90, -5).visible);   // both above
  EXPECT_FALSE(clip_segment(kWindow, 101, 10, 300, 90).visible);  // both right
  EXPECT_FALSE(clip_segment(kWindow, 10, 101, 90, 102).visible);  // both below
  // Crosses the corner region left above the window without touching it.
  EXPECT_FALSE(clip_segment(kWindow, -20, 10, 10, -20).visible);
  EXPECT_FALSE(clip_segment(kWindow, 150, 80, 80, 150).visible);
}

TEST(ClipSegment, DegenerateInputsNeverReachTheDevice) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_FALSE(clip_segment(kWindow, nan, 50, 10, 50).visible);
  EXPECT_FALSE(clip_segment(kWindow, 10, 50, 20, nan).visible);
  EXPECT_FALSE(clip_segment(kWindow, -inf, -inf, 50, 50).visible);
  // A window that is empty (left beyond right) shows nothing and the cutting stops.
  const ClipWindow empty{60, 0, 40, 100};
  EXPECT_FALSE(clip_segment(empty, 0, 50, 100, 50).visible);
  EXPECT_FALSE(clip_segment(empty, 100, 50, 0, 50).visible);
  // A zero-length segment inside is a single point.
  ExpectSegment(clip_segment(kWindow, 5, 5, 5, 5), false, 5, 5, 5, 5);
  EXPECT_FALSE(clip_segment(kWindow, -5, 5, -5, 5).visible);
}

TEST(ClipSegment, VisiblePiecesLieInTheWindowOnTheOriginalLine) {
  std::mt19937 gen(12345);
  std::uniform_real_distribution<float> coord(-150.0f, 250.0f);
  int visible = 0, cut = 0;
  for (int n = 0; n < 20000; ++n) {
    const float x1 = coord(gen), y1 = coord(gen), x2 = coord(gen), y2 = coord(gen);
    const ClippedSegment s = clip_segment(kWindow, x1, y1, x2, y2);
    // A segment is invisible only when it misses the window: sample it to make sure.
    if (!s.visible) {
      for (int k = 0; k <= 200; ++k) {
        const float t = k / 200.0f;
        const float x = x1 + t * (x2 - x1), y = y1 + t * (y2 - y1);
        EXPECT_FALSE(x > 0.5f && x < 99.5f && y > 0.5f && y < 99.5f)
            << x1 << "," << y1 << " -> " << x2 << "," << y2;
      }
      continue;
    }
    ++visible;
    cut += s.move;
    EXPECT_EQ(s.move, kWindow.outside(x1, y1));
    const float len = std::hypot(x2 - x1, y2 - y1);
    for (auto [x, y] : {std::pair{s.x1, s.y1}, std::pair{s.x2, s.y2}}) {
      EXPECT_GE(x, 0.0f);
      EXPECT_LE(x, 100.0f);
      EXPECT_GE(y, 0.0f);
      EXPECT_LE(y, 100.0f);
      // Distance from the line through the original points.
      const float dist = std::fabs((x2 - x1) * (y1 - y) - (x1 - x) * (y2 - y1)) / len;
      EXPECT_LT(dist, 1e-3f);
    }
    if (!kWindow.outside(x2, y2)) {
      EXPECT_EQ(s.x2, x2);
      EXPECT_EQ(s.y2, y2);
    }
  }
  EXPECT_GT(visible, 2000);
  EXPECT_GT(cut, 1000);
}

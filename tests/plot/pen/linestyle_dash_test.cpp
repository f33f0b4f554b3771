// Stepping of a dash pattern along segments: element boundaries, the state carried from
// one segment to the next, degenerate segments.
#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

#include "pen/linestyle.h"

using stylus::LineStyleRecord;

namespace {

struct Step {
  float x, y;
  bool draw;
};

LineStyleRecord Pattern(std::vector<int> elements) {
  LineStyleRecord r{};
  for (size_t i = 0; i < elements.size(); ++i) r.dash_pattern[i] = elements[i];
  r.dash_count = static_cast<int>(elements.size());
  r.dash_index = 1;
  r.dash_gap = 0;
  r.dash_rest = static_cast<float>(elements[0]);
  return r;
}

std::vector<Step> Dash(LineStyleRecord& style, float x0, float y0, float x1, float y1) {
  std::vector<Step> steps;
  stylus::step_dash(style, x0, y0, x1, y1, [&](float x, float y, bool draw) {
    steps.push_back({x, y, draw});
  });
  return steps;
}

void ExpectSteps(const std::vector<Step>& got, const std::vector<Step>& want, float tol) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "step " << i);
    EXPECT_EQ(got[i].draw, want[i].draw);
    EXPECT_NEAR(got[i].x, want[i].x, tol);
    EXPECT_NEAR(got[i].y, want[i].y, tol);
  }
}

}  // namespace

TEST(LineStyleDash, DashedSegmentOf35AndItsContinuation) {
  LineStyleRecord style = Pattern({10, 10});
  // Draws 0-10, skips 10-20, draws 20-30, skips 30-35.
  ExpectSteps(Dash(style, 0, 0, 35, 0),
              {{10, 0, true}, {20, 0, false}, {30, 0, true}, {35, 0, false}}, 0);
  EXPECT_EQ(style.dash_gap, 1);
  EXPECT_EQ(style.dash_index, 2);
  EXPECT_EQ(style.dash_rest, 5.0f);
  // The next segment continues with the 5 points left of the gap.
  ExpectSteps(Dash(style, 35, 0, 45, 0), {{40, 0, false}, {45, 0, true}}, 0);
  EXPECT_EQ(style.dash_gap, 0);
  EXPECT_EQ(style.dash_index, 1);
  EXPECT_EQ(style.dash_rest, 5.0f);
}

TEST(LineStyleDash, LeftwardsAndDownwardsSegments) {
  LineStyleRecord left = Pattern({10, 10});
  ExpectSteps(Dash(left, 100, 7, 75, 7), {{90, 7, true}, {80, 7, false}, {75, 7, true}}, 1e-4f);
  EXPECT_EQ(left.dash_rest, 5.0f);
  LineStyleRecord down = Pattern({10, 10});
  ExpectSteps(Dash(down, 3, 0, 3, 25), {{3, 10, true}, {3, 20, false}, {3, 25, true}}, 1e-4f);
  EXPECT_NEAR(down.dash_rest, 5.0f, 1e-4f);
}

TEST(LineStyleDash, SlopedSegmentStepsAlongItsDirection) {
  LineStyleRecord style = Pattern({30, 15, 10, 15});
  // Length 100 along (0.6, 0.8): boundaries at 30, 45, 55, 70, 100.
  const std::vector<Step> steps = Dash(style, 0, 0, 60, 80);
  ASSERT_GE(steps.size(), 5u);
  ExpectSteps(std::vector<Step>(steps.begin(), steps.begin() + 4),
              {{18, 24, true}, {27, 36, false}, {33, 44, true}, {42, 56, false}}, 1e-3f);
  EXPECT_EQ(steps.back().x, 60.0f);  // the segment always ends exactly at its end point
  EXPECT_EQ(steps.back().y, 80.0f);
}

TEST(LineStyleDash, PatternWrapsAfterItsLastElement) {
  LineStyleRecord style = Pattern({1, 15, 15, 15});
  const std::vector<Step> steps = Dash(style, 0, 0, 50, 0);
  ExpectSteps(
      steps,
      {{1, 0, true}, {16, 0, false}, {31, 0, true}, {46, 0, false}, {47, 0, true}, {50, 0, false}},
      0);
  EXPECT_EQ(style.dash_index, 2);
  EXPECT_EQ(style.dash_rest, 12.0f);
}

TEST(LineStyleDash, ZeroLengthSegmentTakesNoSteps) {
  LineStyleRecord style = Pattern({10, 10});
  style.dash_rest = 4;
  ExpectSteps(Dash(style, 5, 5, 5, 5), {{5, 5, true}}, 0);
  EXPECT_EQ(style.dash_rest, 4.0f);
  EXPECT_EQ(style.dash_index, 1);
  EXPECT_EQ(style.dash_gap, 0);
}

TEST(LineStyleDash, SegmentOfNoFiniteLengthEndsAtOnce) {
  LineStyleRecord style = Pattern({1, 10});
  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_EQ(Dash(style, 0, 0, inf, 0).size(), 1u);
  EXPECT_EQ(Dash(style, 0, 0, 0, std::nanf("")).size(), 1u);
  EXPECT_EQ(style.dash_rest, 1.0f);
}

namespace {

// The drawn pieces of a step sequence from (x0, y0), as x ranges cut to [lo, hi].
std::vector<std::pair<float, float>> DrawnWithin(const std::vector<Step>& steps, float x0, float lo,
                                                 float hi) {
  std::vector<std::pair<float, float>> pieces;
  float from = x0;
  for (const Step& s : steps) {
    const float a = std::max(std::min(from, s.x), lo), b = std::min(std::max(from, s.x), hi);
    if (s.draw && a < b) pieces.push_back({a, b});
    from = s.x;
  }
  return pieces;
}

std::vector<Step> DashClipped(LineStyleRecord& style, float x0, float y0, float x1, float y1) {
  std::vector<Step> steps;
  stylus::step_dash_clipped(style, {0, 0, 2969, 2099}, 10.0f, x0, y0, x1, y1,
                            [&](float x, float y, bool draw) {
                              steps.push_back({x, y, draw});
                            });
  return steps;
}

}  // namespace

TEST(LineStyleDash, ClippedSteppingDrawsTheSameDashesInsideTheWindow) {
  // Integer element lengths along a horizontal line: the full stepping is exact, so the
  // pieces inside the window must agree but for the rounding of where the seen part
  // begins; odd and even element counts.
  for (const std::vector<int>& pattern : {std::vector<int>{3, 2}, std::vector<int>{1, 10, 5}}) {
    for (const auto& [x0, x1] :
         {std::pair{-5000.0f, 8000.0f}, std::pair{7000.0f, -123.0f}, std::pair{-40.0f, 1000.0f}}) {
      LineStyleRecord full = Pattern(pattern), clipped = Pattern(pattern);
      const std::vector<Step> a = Dash(full, x0, 700, x1, 700);
      const std::vector<Step> b = DashClipped(clipped, x0, 700, x1, 700);
      SCOPED_TRACE(testing::Message() << x0 << " -> " << x1);
      const auto pa = DrawnWithin(a, x0, 0, 2969), pb = DrawnWithin(b, x0, 0, 2969);
      ASSERT_EQ(pa.size(), pb.size());
      for (size_t i = 0; i < pa.size(); ++i) {
        EXPECT_NEAR(pa[i].first, pb[i].first, 0.01f) << i;
        EXPECT_NEAR(pa[i].second, pb[i].second, 0.01f) << i;
      }
      // The pattern goes on from the same state into the next segment.
      EXPECT_EQ(full.dash_index, clipped.dash_index);
      EXPECT_EQ(full.dash_gap, clipped.dash_gap);
      EXPECT_NEAR(full.dash_rest, clipped.dash_rest, 0.01f);
      EXPECT_EQ(b.back().x, x1);
    }
  }
}

TEST(LineStyleDash, ClippedSteppingOfFarSegmentsIsBounded) {
  // A million points on either side of the page with a 1-point pattern: only the part near
  // the window is stepped.
  LineStyleRecord style = Pattern({1, 1});
  const std::vector<Step> across = DashClipped(style, -1e6f, 300, 1e6f, 1500);
  EXPECT_LT(across.size(), 4000u);
  EXPECT_GT(across.size(), 2900u);
  const std::vector<Step> missing = DashClipped(style, -1e6f, -500, 1e6f, -400);
  ASSERT_EQ(missing.size(), 1u);  // misses the window: one pen call to the end point
  EXPECT_EQ(missing[0].x, 1e6f);
  // A point that is not a number: nothing can be seen, whatever length the rest implies.
  EXPECT_EQ(DashClipped(style, std::nanf(""), -2908, 845, -1e6f).size(), 1u);
}

// Centre lines and width outlines of single polyline buffers, checked point by point
// against hand-computed outlines (caps, bevels, closed rings, clipping).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "pen/thick_line.h"

using stylus::ClipWindow;
using stylus::Stroker;

namespace {

constexpr int M = 3;  // move
constexpr int D = 2;  // draw

struct Op {
  float x, y;
  int pen;
};

struct Recorder {
  std::vector<Op> ops;
  Stroker stroker(const ClipWindow& w) {
    return Stroker(w, [this](float x, float y, int pen) { ops.push_back({x, y, pen}); });
  }
};

void ExpectOps(const std::vector<Op>& got, const std::vector<Op>& want, float tol = 1e-4f) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "op " << i);
    EXPECT_EQ(got[i].pen, want[i].pen);
    EXPECT_NEAR(got[i].x, want[i].x, tol);
    EXPECT_NEAR(got[i].y, want[i].y, tol);
  }
}

std::vector<Op> Tail(const std::vector<Op>& ops, size_t from) {
  return std::vector<Op>(ops.begin() + static_cast<long>(from), ops.end());
}

const ClipWindow kPage{0, 0, 1000, 1000};

}  // namespace

TEST(StrokeOutline, NumberAndDistanceOfOutlines) {
  EXPECT_TRUE(stylus::outline_distances(-4).empty());  // the device draws the width
  EXPECT_TRUE(stylus::outline_distances(0).empty());
  EXPECT_TRUE(stylus::outline_distances(1).empty());
  EXPECT_EQ(stylus::outline_distances(2), (std::vector<float>{1.0f}));
  EXPECT_EQ(stylus::outline_distances(3), (std::vector<float>{1.5f}));
  EXPECT_EQ(stylus::outline_distances(4), (std::vector<float>{2.0f}));
  EXPECT_EQ(stylus::outline_distances(5), (std::vector<float>{1.5f, 2.5f}));
  EXPECT_EQ(stylus::outline_distances(8), (std::vector<float>{1.5f, 3.0f, 4.0f}));
  EXPECT_EQ(stylus::outline_distances(11), (std::vector<float>{1.5f, 3.0f, 4.5f, 5.5f}));
}

TEST(StrokeCentreLine, InsidePointsGoStraightToTheDevice) {
  Recorder r;
  const float x[] = {10, 20, 30, 30};
  const float y[] = {10, 15, 10, 40};
  r.stroker(kPage).stroke(x, y, 4, 1);
  ExpectOps(r.ops, {{10, 10, M}, {20, 15, D}, {30, 10, D}, {30, 40, D}}, 0);
}

TEST(StrokeCentreLine, FromTheFirstOutsidePointOnSegmentsAreClipped) {
  Recorder r;
  const float x[] = {10, 50, 150, 50, 60};
  const float y[] = {10, 10, 10, 50, 60};
  r.stroker({0, 0, 100, 100}).centre_line(x, y, 5);
  ExpectOps(r.ops,
            {{10, 10, M}, {50, 10, D}, {100, 10, D}, {100, 30, M}, {50, 50, D}, {60, 60, D}});
}

TEST(StrokeCentreLine, LineStartingOutsideBeginsWithAMoveToTheBorder) {
  Recorder r;
  const float x[] = {-10, 10, 20};
  const float y[] = {50, 50, 60};
  r.stroker({0, 0, 100, 100}).stroke(x, y, 3, 1);
  ExpectOps(r.ops, {{0, 50, M}, {10, 50, D}, {20, 60, D}});
}

TEST(StrokeCentreLine, SinglePointBufferDrawsNothing) {
  Recorder r;
  const float x[] = {10}, y[] = {20};
  r.stroker(kPage).stroke(x, y, 1, 8);
  // At most the move of the centre line; no draw and no outline.
  ExpectOps(r.ops, {{10, 20, M}}, 0);
  Recorder outside;
  const float xo[] = {-10}, yo[] = {20};
  outside.stroker(kPage).stroke(xo, yo, 1, 8);
  EXPECT_TRUE(outside.ops.empty());
  Recorder empty;
  empty.stroker(kPage).stroke(x, y, 0, 8);
  EXPECT_TRUE(empty.ops.empty());
}

TEST(StrokeOutline, SingleSegmentIsARectangleWithExtendedEnds) {
  const float x[] = {10, 30}, y[] = {50, 50};
  // Widths 2, 3 and 4 have one outline, at 1, 1.5 and 2.
  for (float d : {1.0f, 1.5f, 2.0f}) {
    const int w = d == 1.5f ? 3 : static_cast<int>(2 * d);
    SCOPED_TRACE(w);
    Recorder r;
    r.stroker(kPage).stroke(x, y, 2, w);
    ASSERT_EQ(r.ops.size(), 7u);
    ExpectOps(Tail(r.ops, 2),
              {{10 - d, 50 - d, M},
               {30 + d, 50 - d, D},
               {30 + d, 50 + d, D},
               {10 - d, 50 + d, D},
               {10 - d, 50 - d, D}},
              0);
  }
}

TEST(StrokeOutline, WidthFiveAndEightNestTheirOutlines) {
  const float x[] = {10, 30}, y[] = {50, 50};
  Recorder r5;
  r5.stroker(kPage).stroke(x, y, 2, 5);
  ASSERT_EQ(r5.ops.size(), 12u);
  EXPECT_EQ(r5.ops[2].x, 8.5f);
  EXPECT_EQ(r5.ops[2].y, 48.5f);
  EXPECT_EQ(r5.ops[7].x, 7.5f);
  EXPECT_EQ(r5.ops[7].y, 47.5f);
  EXPECT_EQ(r5.ops[9].x, 32.5f);
  EXPECT_EQ(r5.ops[9].y, 52.5f);

  Recorder r8;
  r8.stroker(kPage).stroke(x, y, 2, 8);
  ASSERT_EQ(r8.ops.size(), 17u);
  const float corners[][2] = {{8.5f, 48.5f}, {7, 47}, {6, 46}};
  for (int i = 0; i < 3; ++i) {
    const Op& first = r8.ops[2 + 5 * i];
    EXPECT_EQ(first.pen, M);
    EXPECT_EQ(first.x, corners[i][0]);
    EXPECT_EQ(first.y, corners[i][1]);
    const Op& opposite = r8.ops[2 + 5 * i + 2];
    EXPECT_EQ(opposite.x, 40 - corners[i][0]);
    EXPECT_EQ(opposite.y, 100 - corners[i][1]);
  }
}

TEST(StrokeOutline, Sloped2PointSegmentIsTurnedWithTheSegment) {
  // Direction (0.6, 0.8) on the page; the outline at d = 1 lies at (0.8, -0.6) to its left.
  const float x[] = {100, 130}, y[] = {100, 140};
  Recorder r;
  r.stroker(kPage).stroke(x, y, 2, 2);
  ExpectOps(Tail(r.ops, 2), {{100 - 0.6f + 0.8f, 100 - 0.8f - 0.6f, M},
                             {130 + 0.6f + 0.8f, 140 + 0.8f - 0.6f, D},
                             {130 + 0.6f - 0.8f, 140 + 0.8f + 0.6f, D},
                             {100 - 0.6f - 0.8f, 100 - 0.8f + 0.6f, D},
                             {100 - 0.6f + 0.8f, 100 - 0.8f - 0.6f, D}});
}

TEST(StrokeOutline, OpenPolylineHasCapsAndBevelledCorners) {
  // Right, then down the page.
  const float x[] = {10, 40, 40}, y[] = {50, 50, 80};
  Recorder r;
  r.stroker(kPage).stroke(x, y, 3, 2);
  ExpectOps(Tail(r.ops, 3), {{9, 49, M},
                             {40, 49, D},
                             {41, 50, D},  // outer bevel
                             {41, 81, D},  // end extended by the cap
                             {39, 81, D},  // across the far end
                             {39, 50, D},
                             {40, 51, D},  // inner bevel
                             {9, 51, D},
                             {9, 49, D}});  // across the near end
}

TEST(StrokeOutline, ClosedPolylineIsARingWithoutCaps) {
  const float x[] = {10, 50, 50, 10, 10}, y[] = {10, 10, 50, 50, 10};
  Recorder r;
  r.stroker(kPage).stroke(x, y, 5, 2);
  ExpectOps(Tail(r.ops, 5), {// outer ring
                             {9, 10, M},
                             {10, 9, D},
                             {50, 9, D},
                             {51, 10, D},
                             {51, 50, D},
                             {50, 51, D},
                             {10, 51, D},
                             {9, 50, D},
                             {9, 10, D},
                             // inner ring, ending with a zero-length segment
                             {10, 11, M},
                             {11, 10, D},
                             {11, 50, D},
                             {10, 49, D},
                             {50, 49, D},
                             {49, 50, D},
                             {49, 10, D},
                             {50, 11, D},
                             {10, 11, D},
                             {10, 11, D}});
}

TEST(StrokeOutline, NearlyClosedPolylinesAreRingsBelowHalfAPoint) {
  // The last point lies 0.4 or 0.6 off the first in x, 0.4 in y.
  auto stroke = [](float last_x) {
    const float x[] = {10, 50, 50, 10, last_x}, y[] = {10, 10, 50, 50, 10.4f};
    Recorder r;
    r.stroker(kPage).stroke(x, y, 5, 8);
    int moves = 0;
    bool cap_corner = false;  // the start cap of the outermost outline (d = e = 4)
    for (const Op& op : r.ops) {
      moves += op.pen == M;
      cap_corner |= std::fabs(op.x - 6) < 1e-4f && std::fabs(op.y - 6) < 1e-4f;
    }
    return std::make_pair(moves, cap_corner);
  };
  // Closed: each outline is two rings (two moves), and no cap reaches the corner.
  EXPECT_EQ(stroke(10.4f), std::make_pair(1 + 2 * 3, false));
  // Open: one move per outline, the near end is capped.
  EXPECT_EQ(stroke(10.6f), std::make_pair(1 + 3, true));
}

TEST(StrokeOutline, OutlinesAreClippedLikeTheCentreLine) {
  const float x[] = {-10, 50}, y[] = {50, 50};
  Recorder r;
  r.stroker({0, 0, 100, 100}).stroke(x, y, 2, 2);
  ExpectOps(r.ops,
            {{0, 50, M},
             {50, 50, D},
             // R1 lies outside: no move; R4-R1 lies left of the window.
             {0, 49, M},
             {51, 49, D},
             {51, 51, D},
             {0, 51, D}},
            0);
}

TEST(StrokeOutline, OutlineOutsideTheWindowSendsNothing) {
  const float x[] = {10, 40, 40}, y[] = {50, 50, 80};
  Recorder r;
  r.stroker({500, 500, 600, 600}).stroke(x, y, 3, 8);
  EXPECT_TRUE(r.ops.empty());
}

TEST(StrokeOutline, PassesReachEveryPointOfALongBuffer) {
  // A zig-zag filling a whole buffer: every inner point has its corner on both sides.
  std::vector<float> x, y;
  for (int i = 0; i < 100; ++i) {
    x.push_back(10.0f * i);
    y.push_back(i % 2 ? 40.0f : 20.0f);
  }
  Recorder r;
  r.stroker({-100, -100, 2000, 2000}).stroke(x.data(), y.data(), 100, 5);
  // Centre line: 100 points. Each of the two outlines: per pass the start point, two
  // segments (side and bevel) at each of the 98 inner points and the end; then the closing
  // segment.
  EXPECT_EQ(r.ops.size(), 100u + 2 * (2 * (1 + 2 * 98 + 1) + 1));
  for (size_t i = 100; i < r.ops.size(); ++i) {
    EXPECT_GE(r.ops[i].y, 20 - 5.0f);
    EXPECT_LE(r.ops[i].y, 40 + 5.0f);
    EXPECT_GE(r.ops[i].x, -5.0f);
    EXPECT_LE(r.ops[i].x, 990 + 5.0f);
  }
}

TEST(StrokeOutline, EveryPointSentLiesInTheWindow) {
  std::mt19937 gen(777);
  std::uniform_real_distribution<float> coord(-50.0f, 350.0f);
  const ClipWindow window{40, 60, 260, 240};
  size_t sent = 0;
  for (int n = 0; n < 300; ++n) {
    const int count = 1 + n % 12;
    std::vector<float> x(count), y(count);
    for (int i = 0; i < count; ++i) x[i] = coord(gen), y[i] = coord(gen);
    if (n % 3 == 0 && count > 2) x.back() = x[0], y.back() = y[0];  // some closed rings
    Recorder r;
    r.stroker(window).stroke(x.data(), y.data(), count, 1 + n % 9);
    sent += r.ops.size();
    for (const Op& op : r.ops) {
      EXPECT_FALSE(window.outside(op.x, op.y)) << op.x << "," << op.y;
    }
    // Every visible piece begins with a move: the first point sent is never a draw.
    if (!r.ops.empty()) {
      EXPECT_EQ(r.ops[0].pen, M);
    }
  }
  EXPECT_GT(sent, 3000u);
}

namespace {

// What stroke draws, and what the centre line and every outline of outline_distances draw
// when each is stroked on its own.
std::pair<std::vector<Op>, std::vector<Op>> StrokedAndEveryOutline(const ClipWindow& w,
                                                                   const std::vector<float>& x,
                                                                   const std::vector<float>& y,
                                                                   int width) {
  Recorder stroked, each;
  stroked.stroker(w).stroke(x.data(), y.data(), static_cast<int>(x.size()), width);
  Stroker s = each.stroker(w);
  s.centre_line(x.data(), y.data(), static_cast<int>(x.size()));
  for (float d : stylus::outline_distances(width))
    s.outline(x.data(), y.data(), static_cast<int>(x.size()), d, d);
  return {stroked.ops, each.ops};
}

}  // namespace

TEST(StrokeOutline, OutlinesThatCannotReachTheWindowAreLeftOutWithoutChangingThePicture) {
  const ClipWindow page{0, 0, 2969, 2099};
  struct Case {
    std::vector<float> x, y;
    int width;
  } cases[] = {
      {{100, 200}, {100, 150}, 3000},       // a dash in the page, very wide
      {{-9000, -8000}, {500, 700}, 3000},   // far left of the page
      {{-9000, -8000}, {500, 700}, 32000},  // wide enough to reach over it
      {{1500, 1510}, {1000, 1001}, 32000},  // the page inside its outlines
      {{100, 900, 400, 2500, -30}, {100, 700, 1900, 300, 50}, 900},  // a polyline
      {{-5000, -4000, -4500}, {-5000, -4500, -4000}, 200},           // a polyline far away
      {{-1100, -1000}, {900, 1000}, 2000},  // a cap corner reaches in at 45 degrees
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "width " << c.width << " from " << c.x[0]);
    const auto [stroked, each] = StrokedAndEveryOutline(page, c.x, c.y, c.width);
    ExpectOps(stroked, each, 0.0f);
  }
  // The work is bounded by what can be seen: a segment far away draws nothing, and the
  // short wide dash only the outlines that cross the page.
  Recorder far;
  far.stroker(page).stroke(std::vector<float>{-9e5f, -8e5f}.data(),
                           std::vector<float>{500, 700}.data(), 2, 32000);
  EXPECT_TRUE(far.ops.empty());
}

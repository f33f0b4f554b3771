// Plot symbols through a recording driver at one device unit per point: the shapes in their
// box, the fill of the filled ones, solid whatever the line style, the symbols that curve
// puts on its points (with and without the line), and the warnings.
#include <gtest/gtest.h>

#include <algorithm>

#include "devices/device_point.h"
#include "elements/curve.h"
#include "pen/linestyle.h"
#include "plot/elements/graf_session_fixture.h"

using namespace stylus;

namespace {

class Symbols : public AxisSession {
 protected:
  void SetUp() override {
    AxisSession::SetUp();
    RecordingDriver::fills_polygons() = true;
    program_graf();
    lines();
  }
  // The device point of the user point (x, y) moved by (d, -d) page points.
  static std::pair<int, int> corner(float x, float y, float d) {
    return {round_point(xposn(x) - d), round_point(yposn(y) + d)};
  }
};

}  // namespace

TEST_F(Symbols, EachSymbolFitsItsBoxCentredOnThePointAndTheFilledOnesAreFilled) {
  hsymbl(40);
  for (int nsym = 0; nsym < kSymbolCount; ++nsym) {
    RecordingDriver::log().clear();
    symbol(nsym, 1000, 800);
    const bool filled = RecordingDriver::log().front().kind == DriverEvent::kPolygon;
    EXPECT_EQ(filled, nsym >= 13) << nsym;
    int left = 9999, right = 0, top = 9999, bottom = 0;
    for (const PageLine& l : lines()) {
      for (const auto& [x, y] : l.points) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
    }
    EXPECT_TRUE(left >= 980 && right <= 1020 && top >= 780 && bottom <= 820) << nsym;
    EXPECT_EQ(left + right, 2000) << nsym;  // centred across
    // Each reaches two opposite sides of the box, but the dot (three tenths of it) and the
    // stars (their points on the box's circle).
    if (nsym == 13) {
      EXPECT_EQ(right - left, 12);
    } else if (nsym == 11 || nsym == 19) {
      EXPECT_EQ(top, 780);
    } else {
      EXPECT_TRUE((left == 980 && right == 1020) || (top == 780 && bottom == 820)) << nsym;
    }
  }
}

TEST_F(Symbols, SquareWithCrossAndTheFilledSquareSolidWhateverTheLineStyle) {
  hsymbl(40);
  dash();
  strtqq(100.0f, 100.0f);
  connqq(115.0f, 100.0f);  // 10 drawn, 5 of the gap
  const LineStyleRecord before = g_linestyle;
  lines();
  symbol(7, 1000, 800);
  EXPECT_EQ(lines(), (std::vector<PageLine>{
                         line({{980, 820}, {1020, 820}, {1020, 780}, {980, 780}, {980, 820}}),
                         line({{980, 820}, {1020, 780}}), line({{980, 780}, {1020, 820}})}));
  EXPECT_EQ(g_linestyle.dash_rest, before.dash_rest);  // the pattern goes on where it was
  symbol(15, 1000, 800);                               // the polygon, then its outline
  const DriverEvent& fill = RecordingDriver::log()[0];
  ASSERT_EQ(fill.polygon.size(), 4u);
  EXPECT_EQ(std::make_pair(fill.polygon[0].ix, fill.polygon[0].iy), std::make_pair(980, 820));
  EXPECT_EQ(std::make_pair(fill.polygon[2].ix, fill.polygon[2].iy), std::make_pair(1020, 780));
  EXPECT_EQ(lines().size(), 1u);
}

TEST_F(Symbols, AtAUserPointInsideTheAxisSystemOnly) {
  hsymbl(20);
  rlsymb(1, 1.5f, -28.0f);
  EXPECT_EQ(lines()[0].points[0], corner(1.5f, -28.0f, 10.0f));
  capture();
  rlsymb(1, 3.5f, -28.0f);
  EXPECT_EQ(stdout_text(), " <<<< (3.500000 / -28.000000) out of axis scaling!\n");
  EXPECT_TRUE(lines().empty());
  rlsymb(1, 0.0f, -28.0f);  // on the left edge: clipped like a curve, the right half shows
  for (const PageLine& l : lines())
    for (const auto& p : l.points) EXPECT_GE(p.first, 496);
}

TEST_F(Symbols, CurveWithSymbolsOnlyOrWithTheLine) {
  const float x[5] = {0.5f, 1.0f, 1.5f, 2.0f, 4.0f};
  const float y[5] = {-30.0f, -29.0f, -28.0f, -27.0f, -26.0f};
  marker(4);  // cross: two strokes per symbol
  incmrk(-2);
  capture();
  curve(x, y, 5);  // points 0, 2 and 4; point 4 lies outside and is reported
  EXPECT_EQ(stdout_text(), " <<<< (4.000000 / -26.000000) out of axis scaling!\n");
  std::vector<PageLine> all = lines();
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[0].points[0], corner(0.5f, -30.0f, 17.5f));
  EXPECT_EQ(all[2].points[0], corner(1.5f, -28.0f, 17.5f));
  // The next symbol for the next curve; the legend shows symbols without a line.
  EXPECT_EQ(g_curve.symbol_number, 5);
  EXPECT_EQ(g_legend.symbol[0], 4);
  EXPECT_EQ(g_legend.line_style[0], -1);
  curve(x, y, 1);  // one point is a curve of symbols
  EXPECT_EQ(lines().size(), 1u);
  marker(1);
  incmrk(3);  // the line, then a square on points 0 and 3
  curve(x, y, 4);
  all = lines();
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0].points.size(), 4u);
  EXPECT_EQ(all[2].points[0], corner(2.0f, -27.0f, 17.5f));
}

TEST_F(Symbols, BadArgumentsWarnAndDrawNothing) {
  const int n = 3;
  capture();
  marker(21);
  hsymbl(0);
  symbol(-1, 100, 100);
  rlsymb(21, 1.0f, -30.0f);
  symbol_(nullptr, &n, &n);
  EXPECT_EQ(stdout_text(),
            " <<<< Warning   2: Incorrect parameter in marker!   (  21)\n"
            " <<<< Warning   2: Incorrect parameter in hsymbl!   (   0)\n"
            " <<<< Warning   2: Incorrect parameter in symbol!   (  -1)\n"
            " <<<< Warning   2: Incorrect parameter in rlsymb!   (  21)\n"
            " <<<< Warning   2: Incorrect parameter in symbol!\n");
  EXPECT_EQ(g_curve.symbol_number, 0);
  EXPECT_EQ(g_curve.symbol_size, kDefaultSymbolSize);
  EXPECT_TRUE(lines().empty());
  disfin();
  capture();
  rlsymb(1, 1.0f, -30.0f);
  EXPECT_EQ(stdout_text(), " <<<< Warning   3: Incorrect level in rlsymb!   (   0)\n");
}

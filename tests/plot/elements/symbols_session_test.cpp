// Plot symbols through a recording driver at one device unit per point: the shapes in their
// box, the fill of the filled ones, solid whatever the line style, the symbols that curve
// puts on its points (with and without the line), and the warnings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "elements/curve.h"
#include "elements/symbols.h"
#include "devices/device_point.h"
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
  // The device point of the user point (x, y) moved by (dx, dy) page points.
  static std::pair<int, int> corner(float x, float y, float dx, float dy) {
    return {round_point(xposn(x) + dx), round_point(yposn(y) + dy)};
  }
  // The polygons filled so far.
  static int polygons() {
    return static_cast<int>(
        std::count_if(RecordingDriver::log().begin(), RecordingDriver::log().end(),
                      [](const DriverEvent& e) { return e.kind == DriverEvent::kPolygon; }));
  }
};

}  // namespace

TEST_F(Symbols, EachSymbolFillsItsBoxCentredOnThePoint) {
  hsymbl(40);
  for (int nsym = 0; nsym < kSymbolCount; ++nsym) {
    RecordingDriver::log().clear();
    symbol(nsym, 1000, 800);
    const int filled = polygons();
    const std::vector<PageLine> all = lines();
    ASSERT_FALSE(all.empty()) << nsym;
    int left = 9999, right = 0, top = 9999, bottom = 0;
    for (const PageLine& l : all) {
      for (const auto& p : l.points) {
        left = std::min(left, p.first), right = std::max(right, p.first);
        top = std::min(top, p.second), bottom = std::max(bottom, p.second);
      }
    }
    // Every symbol but the dot and the stars reaches the box of 40 points on both sides of
    // one axis at least, and none leaves it.
    EXPECT_GE(left, 980) << nsym;
    EXPECT_LE(right, 1020) << nsym;
    EXPECT_GE(top, 780) << nsym;
    EXPECT_LE(bottom, 820) << nsym;
    if (nsym == 13) {
      EXPECT_EQ(right - left, 12) << "dot";
    } else if (nsym == 11 || nsym == 19) {
      EXPECT_EQ(top, 780) << "a star's points lie on the circle of the box";
    } else {
      EXPECT_TRUE((left == 980 && right == 1020) || (top == 780 && bottom == 820)) << nsym;
    }
    EXPECT_EQ(filled, nsym >= 13 ? 1 : 0) << nsym;
  }
}

TEST_F(Symbols, SquareAndCrossStrokesAndTheFilledSquare) {
  hsymbl(40);
  symbol(7, 1000, 800);  // square with a cross
  EXPECT_EQ(lines(), (std::vector<PageLine>{
                         line({{980, 820}, {1020, 820}, {1020, 780}, {980, 780}, {980, 820}}),
                         line({{980, 820}, {1020, 780}}), line({{980, 780}, {1020, 820}})}));
  symbol(15, 1000, 800);  // filled square: the polygon, then its outline
  ASSERT_EQ(polygons(), 1);
  const DriverEvent& fill = RecordingDriver::log()[0];
  ASSERT_EQ(fill.kind, DriverEvent::kPolygon);
  ASSERT_EQ(fill.polygon.size(), 4u);
  EXPECT_EQ(fill.polygon[0].ix, 980);
  EXPECT_EQ(fill.polygon[0].iy, 820);
  EXPECT_EQ(fill.polygon[2].ix, 1020);
  EXPECT_EQ(fill.polygon[2].iy, 780);
  EXPECT_EQ(lines().size(), 1u);
}

TEST_F(Symbols, SolidWhateverTheLineStyleWhichGoesOnUnchanged) {
  hsymbl(40);
  symbol(0, 1000, 800);
  const std::vector<PageLine> solid_circle = lines();
  ASSERT_EQ(solid_circle.size(), 1u);
  EXPECT_EQ(solid_circle[0].points.size(), 25u);  // 24 corners and back to the first
  dash();
  strtqq(100.0f, 100.0f);
  connqq(115.0f, 100.0f);  // 10 drawn, 5 of the gap
  const LineStyleRecord before = g_linestyle;
  lines();
  symbol(0, 1000, 800);
  EXPECT_EQ(lines(), solid_circle);
  EXPECT_EQ(g_linestyle.dash_index, before.dash_index);
  EXPECT_EQ(g_linestyle.dash_rest, before.dash_rest);
}

TEST_F(Symbols, FilledOnADeviceWithoutAFillByStrokes) {
  RecordingDriver::fills_polygons() = false;
  hsymbl(10);
  symbol(15, 1000, 800);  // a filled square 10 points wide: 10 strokes, then the outline
  const std::vector<PageLine> all = lines();
  ASSERT_EQ(all.size(), 11u);
  for (int k = 0; k < 10; ++k) {
    EXPECT_EQ(all[k].points.size(), 2u);
    EXPECT_EQ(all[k].points[0].second, all[k].points[1].second);
    EXPECT_EQ(std::abs(all[k].points[1].first - all[k].points[0].first), 10);
  }
}

TEST_F(Symbols, AtAUserPointInsideTheAxisSystemOnly) {
  hsymbl(20);
  rlsymb(1, 1.5f, -28.0f);  // page (1483.5, 1136.3)
  const std::vector<PageLine> all = lines();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].points[0], std::make_pair(1474, 1146));
  capture();
  rlsymb(1, 3.5f, -28.0f);
  EXPECT_EQ(stdout_text(), " <<<< (3.500000 / -28.000000) out of axis scaling!\n");
  EXPECT_TRUE(lines().empty());
  // Clipped at the axis area like a curve: a symbol on the left edge shows its right half.
  rlsymb(1, 0.0f, -28.0f);
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
  EXPECT_EQ(all[0].points[0], corner(0.5f, -30.0f, -17.5f, 17.5f));
  EXPECT_EQ(all[2].points[0], corner(1.5f, -28.0f, -17.5f, 17.5f));
  // The attribute cycle moved to the next symbol, and the legend shows symbols only.
  EXPECT_EQ(g_curve.symbol_number, 5);
  EXPECT_EQ(g_legend.symbol[0], 4);
  EXPECT_EQ(g_legend.line_style[0], -1);
  // One point is a curve of symbols.
  curve(x, y, 1);
  EXPECT_EQ(lines().size(), 1u);  // the diamond
  // Lines and a symbol on every third point: the line first, then symbols 0 and 3.
  marker(1);
  incmrk(3);
  capture();
  curve(x, y, 4);
  EXPECT_EQ(stdout_text(), "");
  all = lines();
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0].points.size(), 4u);
  EXPECT_EQ(all[2].points[0], corner(2.0f, -27.0f, -17.5f, 17.5f));
  EXPECT_EQ(g_legend.line_style[2], 0);
  EXPECT_EQ(g_legend.symbol[2], 1);
}

TEST_F(Symbols, BadArgumentsWarnAndDrawNothing) {
  capture();
  marker(21);
  marker(-1);
  hsymbl(0);
  symbol(21, 100, 100);
  rlsymb(-5, 1.0f, -30.0f);
  EXPECT_EQ(stdout_text(),
            " <<<< Warning   2: Incorrect parameter in marker!   (  21)\n"
            " <<<< Warning   2: Incorrect parameter in marker!   (  -1)\n"
            " <<<< Warning   2: Incorrect parameter in hsymbl!   (   0)\n"
            " <<<< Warning   2: Incorrect parameter in symbol!   (  21)\n"
            " <<<< Warning   2: Incorrect parameter in rlsymb!   (  -5)\n");
  EXPECT_EQ(g_curve.symbol_number, 0);
  EXPECT_EQ(g_curve.symbol_size, kDefaultSymbolSize);
  EXPECT_TRUE(lines().empty());
  const int n = 3;
  capture();
  symbol_(nullptr, &n, &n);
  EXPECT_EQ(stdout_text(), " <<<< Warning   2: Incorrect parameter in symbol!\n");
  disfin();
  capture();
  rlsymb(1, 1.0f, -30.0f);
  EXPECT_EQ(stdout_text(), " <<<< Warning   3: Incorrect level in rlsymb!   (   0)\n");
}

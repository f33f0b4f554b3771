// Legends through a recording driver at one device unit per point: the entries that curves
// record after legini, the box sized to its texts at a page point and in the corners of the
// axis system, the samples in the curves' colours, styles and symbols, and the warnings.
#include <gtest/gtest.h>

#include <string>

#include "elements/curve.h"
#include "pen/linestyle.h"
#include "plot/elements/graf_session_fixture.h"

using namespace stylus;

namespace {

// Height 36: margin 18, samples 108, rows 54 apart, widest text "second" 6 x 35 points.
constexpr int kWidth = 18 + 108 + 18 + 210 + 18, kHeight = 18 + 2 * 54 + 18;

class Legend : public AxisSession {
 protected:
  void SetUp() override {
    AxisSession::SetUp();
    program_graf();
    const float x[2] = {1.0f, 2.0f}, y[2] = {-30.0f, -29.0f};
    curve(x, y, 2);  // before the legend: not in it
    legini(2);
    color("RED");
    dash();
    curve(x, y, 2);
    color("GREEN");
    marker(4);
    incmrk(-1);
    curve(x, y, 2);
    solid();
    color("FORE");
    leglin("first", 1);
    leglin("second", 2);
    lines();
  }
};

}  // namespace

TEST_F(Legend, BoxOfSamplesAndTextsAtAPagePoint) {
  EXPECT_EQ(g_legend.n_legend, 2);
  const int red = g_legend.color[0], green = g_legend.color[1], fore = g_ivray.cur_color;
  legpag(100, 200);
  std::vector<int> colors;
  for (const DriverEvent& e : RecordingDriver::log())
    if (e.kind == DriverEvent::kColor) colors.push_back(e.value);
  EXPECT_EQ(colors, (std::vector<int>{red, fore, green, fore}));
  const std::vector<PageLine> all = lines();
  ASSERT_GE(all.size(), 5u);
  EXPECT_EQ(all[0], line({{100, 200},
                          {100 + kWidth, 200},
                          {100 + kWidth, 200 + kHeight},
                          {100, 200 + kHeight},
                          {100, 200}}));
  // The first row's dashed sample from (118, 245), then the second's cross at (172, 299).
  // (Where a row's text starts, and its height, the one-line legend on PostScript shows.)
  EXPECT_EQ(all[1], line({{118, 245}, {128, 245}}));
  int crosses = 0;
  for (std::size_t i = 1; i < all.size(); ++i) {
    const auto& p = all[i].points;
    if (p.size() == 2 && p[0].second != p[1].second && std::abs(p[0].first - 172) <= 18) ++crosses;
  }
  EXPECT_EQ(crosses, 2);
  EXPECT_EQ(g_linestyle.line_style, 0);  // the user's style again
}

TEST_F(Legend, InsideTheCornersOfTheAxisSystem) {
  const struct {
    const char* corner;
    int left, top;
  } corners[] = {{"UR", 2473 - 18 - kWidth, 418},
                 {"ul", 512, 418},
                 {"LL", 512, 1799 - 18 - kHeight},
                 {"LR", 2473 - 18 - kWidth, 1799 - 18 - kHeight}};
  for (const auto& c : corners) {
    legend(c.corner);
    const std::vector<PageLine> all = lines();
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all[0].points[0], std::make_pair(c.left, c.top)) << c.corner;
    EXPECT_EQ(all[0].points[2], std::make_pair(c.left + kWidth, c.top + kHeight)) << c.corner;
  }
}

TEST_F(Legend, WarningsAndEmptyLegends) {
  disfin();
  metafl("CONS");
  disini();  // a fresh session without a legend
  program_graf();
  lines();
  capture();
  legend("UR");
  leglin("text", 1);
  legini(31);
  legini(2);
  legpag(100, 100);  // no curve yet: empty
  leglin("text", 3);
  leglin(std::string(133, 'x').c_str(), 1);
  legend("MIDDLE");
  EXPECT_EQ(stdout_text(),
            " <<<< Warning  15: No call to legini before in legend!\n"
            " <<<< Warning  15: No call to legini before in leglin!\n"
            " <<<< Warning   2: Incorrect parameter in legini!   (  31)\n"
            " <<<< Warning  42: More legend lines than calls to curve in legpag!\n"
            " <<<< Warning   2: Incorrect parameter in leglin!   (   3)\n"
            " <<<< Warning  16: Too long string for legend line in leglin!\n"
            " <<<< Warning   2: Incorrect parameter in legend!   (MIDDLE)\n");
  EXPECT_TRUE(lines().empty());
  EXPECT_EQ(std::string(g_legend.text[0]).size(), 132u);
  // A text for a line without a curve is reported; the line with a curve is drawn.
  const float x[2] = {1.0f, 2.0f}, y[2] = {-30.0f, -29.0f};
  curve(x, y, 2);
  leglin("short", 1);
  leglin("no curve", 2);
  lines();
  capture();
  legpag(100, 100);
  EXPECT_EQ(stdout_text(), " <<<< Warning  42: More legend lines than calls to curve in legpag!\n");
  EXPECT_FALSE(lines().empty());
}

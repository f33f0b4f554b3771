// The labels and titles of the program's axis system as the stroke font draws them:
// glyphs whose strokes are fixed ("0", ".", "-", "A") found exactly where the label and
// title placement puts their texts.
#include <gtest/gtest.h>

#include <algorithm>

#include "elements/axis_state.h"
#include "elements/labels.h"
#include "plot/elements/graf_session_fixture.h"

using namespace stylus;

namespace {

class ProgramAxes : public AxisSession {
 protected:
  void SetUp() override {
    AxisSession::SetUp();
    height(50);
    hname(50);
    labdig(2, "X");
    labdig(2, "Y");
    name("Separation (A)", "X");
    name("Energy (eV)", "Y");
    program_graf();
    all_ = lines();
  }
  bool has(const PageLine& l) const { return find(all_, l) != -1; }
  std::vector<PageLine> all_;
};

}  // namespace

TEST_F(ProgramAxes, XLabelsTopAt1847FirstStartingAt396) {
  // The "0" of "0.00": design (1,1) (2,0) (4,0) (5,1) (5,6) (4,7) (2,7) (1,6) (1,1) at
  // 49/6 points per unit from x 396 and 7 per unit up from the baseline 1847 + 49.
  EXPECT_TRUE(has(line({{404, 1889},
                        {412, 1896},
                        {429, 1896},
                        {437, 1889},
                        {437, 1854},
                        {429, 1847},
                        {412, 1847},
                        {404, 1854},
                        {404, 1889}})));
  // Its point, the second character.
  EXPECT_TRUE(has(line({{465, 1896}, {474, 1896}, {474, 1889}, {465, 1889}, {465, 1896}})));
  // The point of "3.00", which starts at 2375.
  EXPECT_TRUE(has(line({{2444, 1896}, {2453, 1896}, {2453, 1889}, {2444, 1889}, {2444, 1896}})));
}

TEST_F(ProgramAxes, YLabelsStartAt152) {
  // The minus of "-32.50" (top 1773) and of "-23.50" (top 448): design (1, 3.5) to (5, 3.5).
  EXPECT_TRUE(has(line({{160, 1798}, {193, 1798}})));
  EXPECT_TRUE(has(line({{160, 473}, {193, 473}})));
  // Ten y labels, none for -23.0 (its minus would lie at 400 + 24.5).
  int minus = 0;
  for (const PageLine& l : all_)
    if (l.points.size() == 2 && l.points[0].first == 160 && l.points[1].first == 193) ++minus;
  EXPECT_EQ(minus, 10);
  // Every y label ends at the label line 446: nothing of them right of it, in the band
  // of the y labels (the x labels begin at 1847).
  for (const PageLine& l : all_)
    for (const auto& p : l.points)
      if (p.first > 446 && p.first < 470 && p.second < 1840) ADD_FAILURE() << l;
}

TEST_F(ProgramAxes, XTitleAt1141And1927) {
  // "A" of "Separation (A)", its 13th character: 1141 + 12 * 49 = 1729.
  EXPECT_TRUE(has(
      line({{1737, 1976}, {1737, 1934}, {1745, 1927}, {1762, 1927}, {1770, 1934}, {1770, 1976}})));
  EXPECT_TRUE(has(line({{1737, 1948}, {1770, 1948}})));
}

TEST_F(ProgramAxes, YTitleTurnedBy90DegreesFrom72And1369) {
  // Its "E" (design 5,7 1,7 1,0 5,0 and the bar 1,4 4,4), turned: the tops of the letters
  // face left at x 72, the baseline runs at x 121, the text upwards from y 1369.
  EXPECT_TRUE(has(line({{72, 1328}, {72, 1361}, {121, 1361}, {121, 1328}})));
  EXPECT_TRUE(has(line({{93, 1361}, {93, 1336}})));
  // Everything left of the labels is the y title: y from 1369 up to 1369 - 539.
  int miny = 10000, maxy = -1;
  for (const PageLine& l : all_) {
    const bool title = std::all_of(l.points.begin(), l.points.end(),
                                   [](const std::pair<int, int>& p) { return p.first < 150; });
    if (!title) continue;
    for (const auto& p : l.points) {
      miny = std::min(miny, p.second);
      maxy = std::max(maxy, p.second);
    }
  }
  EXPECT_LE(maxy, 1369);
  EXPECT_GE(miny, 830);
  EXPECT_LE(miny, 830 + 49);  // the last character ends in the last cell
}

TEST_F(ProgramAxes, TitleHeightDoesNotChangeTheCharacterHeight) {
  EXPECT_EQ(g_ivray.char_height, 50);
  EXPECT_EQ(g_ivray.text_angle, 0);
}

TEST_F(ProgramAxes, WidestYLabelAndTextWidths) {
  EXPECT_EQ(nlmess("0.00"), 196);
  EXPECT_EQ(nlmess("Separation (A)"), 686);
}

// Measuring texts with nlmess: the widths the axis labels and titles are placed by, what
// blanks and long texts count, that measuring draws nothing, and the rounding rule nintqq.
#include <string>

#include "elements/text.h"
#include "text_fixture.h"

using namespace stylus;

namespace {

using TextMeasure = TextTest;

TEST_F(TextMeasure, LabelAndTitleWidthsAtHeight50) {
  height(50);
  EXPECT_EQ(nlmess("0.00"), 196);
  EXPECT_EQ(nlmess("Separation (A)"), 686);
  EXPECT_EQ(nlmess("Energy (eV)"), 539);
  EXPECT_EQ(nlmess("-32.50"), 294);
  EXPECT_EQ(nlmess("W"), 49);
}

TEST_F(TextMeasure, TrailingBlanksCountNothingLeadingBlanksAFullCell) {
  height(50);
  EXPECT_EQ(nlmess("0.00   "), 196);
  EXPECT_EQ(nlmess(" 0.00"), 245);
  EXPECT_EQ(nlmess("0 0"), 147);
  EXPECT_EQ(nlmess(""), 0);
  EXPECT_EQ(nlmess("     "), 0);
  EXPECT_EQ(nlmess(nullptr), 0);
}

TEST_F(TextMeasure, TheAngleDoesNotChangeTheWidth) {
  height(50);
  for (int deg : {90, 30, 180, 270, -45}) {
    angle(deg);
    EXPECT_EQ(nlmess("0.00"), 196) << deg;
    EXPECT_EQ(nlmess("Separation (A)"), 686) << deg;
  }
}

TEST_F(TextMeasure, WidthFollowsTheHeight) {
  for (int h : {1, 2, 8, 36, 101}) {
    height(h);
    EXPECT_EQ(nlmess("Energy (eV)"), 11 * (h - 1)) << h;
  }
}

TEST_F(TextMeasure, TextsAreCutAt256Characters) {
  height(50);
  const std::string long_text(300, 'A');
  EXPECT_EQ(nlmess(long_text.c_str()), 256 * 49);
}

TEST_F(TextMeasure, SpacingAddsGapsBetweenCharactersNotAfterTheLast) {
  height(50);
  g_fonts.char_spacing = 0.5f;
  EXPECT_EQ(nlmess("AB"), 49 + 25 + 49);
  g_fonts.char_spacing = 0.0f;
  g_fonts.char_width_factor = 2.0f;
  EXPECT_EQ(nlmess("AB"), 196);
}

TEST_F(TextMeasure, MeasuringDrawsNothingAndKeepsTheHeight) {
  height(50);
  EXPECT_EQ(nlmess("Energy (eV)"), 539);
  EXPECT_TRUE(strokes().empty());
  EXPECT_EQ(g_ivray.char_height, 50);
}

TEST(Nintqq, RoundsHalvesAwayFromZero) {
  EXPECT_EQ(nintqq(2.5f), 3);
  EXPECT_EQ(nintqq(-2.5f), -3);
  EXPECT_EQ(nintqq(2.4999f), 2);
  EXPECT_EQ(nintqq(-0.4f), 0);
  EXPECT_EQ(nintqq(0.0f), 0);
  EXPECT_EQ(nintqq(195.99998f), 196);
  // The largest float below one half stays 0 (a float sum would round it up to 1).
  EXPECT_EQ(nintqq(0.49999997f), 0);
  EXPECT_EQ(nintqq(-0.49999997f), 0);
}

}  // namespace

// Placement of the numeric labels of the program's axes and of the label variants, with
// the stroke font's widths (h - 1 points per character).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "elements/axis_state.h"
#include "elements/labels.h"
#include "elements/ticks.h"
#include "records/state.h"
#include "support/fresh_process.h"

using namespace stylus;

namespace {

int width50(const char* text) {
  int n = static_cast<int>(std::strlen(text));
  while (n > 0 && text[n - 1] == ' ') --n;
  return 49 * n;
}

class LabelLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fresh_process();
    reset_axis_settings();
    g_ivray.label_digits_x = 2;
    g_ivray.label_digits_y = 2;
  }
  void TearDown() override { fresh_process(); }
  // Layout of one side, with the distances signed as daxis signs them.
  LabelLayout side(float begin, float end, float first, float step, int len, int side, int x, int y,
                   int axis) {
    settic(side, g_axis.tick_pos[axis - 1]);
    LabelLayout l = label_layout(begin, end, first, step, len, side, x, y, 0, axis, 50, width50);
    settic(0, 0);
    return l;
  }
  static std::vector<std::string> texts(const LabelLayout& l) {
    std::vector<std::string> t;
    for (const auto& p : l.labels) t.push_back(p.text);
    return t;
  }
};

}  // namespace

TEST_F(LabelLayoutTest, BottomAxisOfTheProgram) {
  const LabelLayout l = side(0.0f, 3.0f, 0.0f, 0.5f, 1980, 0, 494, 1799, kAxisX);
  EXPECT_EQ(l.extent, 50);
  EXPECT_EQ(texts(l),
            (std::vector<std::string>{"0.00", "0.50", "1.00", "1.50", "2.00", "2.50", "3.00"}));
  const int left[7] = {396, 726, 1056, 1386, 1715, 2045, 2375};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(l.labels[i].top, 1847) << i;
    EXPECT_EQ(l.labels[i].left, left[i]) << i;
  }
}

TEST_F(LabelLayoutTest, LeftAxisOfTheProgram) {
  const LabelLayout l = side(-32.5f, -23.0f, -32.5f, 1.0f, 1400, 1, 494, 1799, kAxisY);
  EXPECT_EQ(l.extent, 294);
  // -23.0 gets no label: (-23 - -32.5) / 1 = 9.5 truncates to 9.
  ASSERT_EQ(l.labels.size(), 10u);
  EXPECT_EQ(texts(l).front(), "-32.50");
  EXPECT_EQ(texts(l).back(), "-23.50");
  const int top[10] = {1773, 1626, 1478, 1331, 1184, 1037, 889, 742, 595, 448};
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(l.labels[i].left, 152) << i;  // all end at the label line 446
    EXPECT_EQ(l.labels[i].top, top[i]) << i;
  }
}

TEST_F(LabelLayoutTest, TopAxisLabelsSitAboveTheirLine) {
  g_axis.label_type[0] = 1;
  const LabelLayout l = side(0.0f, 3.0f, 0.0f, 0.5f, 1980, 1, 494, 400, kAxisX);
  EXPECT_EQ(l.labels[0].top, 400 - 24 - 24 - 50);
}

TEST_F(LabelLayoutTest, RightAxisLabelsEndAtTheWidestLabel) {
  // Labels 8, 9, 10 (no decimals here): the widest decides where all of them end.
  g_ivray.label_digits_y = -1;
  const LabelLayout l = side(8.0f, 10.0f, 8.0f, 1.0f, 1000, 0, 2000, 1500, kAxisY);
  EXPECT_EQ(l.extent, 98);
  ASSERT_EQ(l.labels.size(), 3u);
  EXPECT_EQ(l.labels[0].left, 2000 + 48 + 98 - 49);
  EXPECT_EQ(l.labels[2].left, 2000 + 48);
  g_axis.label_just[1] = 4;  // left-aligned on the right side
  const LabelLayout j = side(8.0f, 10.0f, 8.0f, 1.0f, 1000, 0, 2000, 1500, kAxisY);
  EXPECT_EQ(j.labels[0].left, 2048);
  EXPECT_EQ(j.labels[2].left, 2048);
  g_axis.label_just[1] = 3;  // left-aligned on the left side only: no effect here
  EXPECT_EQ(side(8.0f, 10.0f, 8.0f, 1.0f, 1000, 0, 2000, 1500, kAxisY).labels[0].left, 2097);
}

TEST_F(LabelLayoutTest, NoLabelsGiveNoExtent) {
  g_axis.label_type[0] = 0;
  const LabelLayout l = side(0.0f, 3.0f, 0.0f, 0.5f, 1980, 0, 494, 1799, kAxisX);
  EXPECT_TRUE(l.labels.empty());
  EXPECT_EQ(l.extent, 0);
}

TEST_F(LabelLayoutTest, WithoutTicksTheLabelsMoveToTheLine) {
  g_axis.tick_count[0] = 0;
  EXPECT_EQ(side(0.0f, 3.0f, 0.0f, 0.5f, 1980, 0, 494, 1799, kAxisX).labels[0].top, 1799 + 24);
  g_axis.tick_count[0] = 2;
  g_axis.tick_pos[0] = 2;  // centred ticks reach half as far out
  EXPECT_EQ(side(0.0f, 3.0f, 0.0f, 0.5f, 1980, 0, 494, 1799, kAxisX).labels[0].top, 1799 + 36);
}

TEST_F(LabelLayoutTest, FirstLabelBelowTheBeginIsDrawnOutsideTheLine) {
  const LabelLayout l = side(0.0f, 3.0f, -0.5f, 0.5f, 1980, 0, 494, 1799, kAxisX);
  ASSERT_EQ(l.labels.size(), 8u);
  EXPECT_STREQ(l.labels[0].text, "-0.50");
  EXPECT_LT(l.labels[0].left, 494 - 300);
}

TEST_F(LabelLayoutTest, LabelsBetweenTheTicksAndKeptInside) {
  g_axis.label_pos[0] = 1;
  LabelLayout l = side(0.0f, 3.0f, 0.0f, 0.5f, 1980, 0, 494, 1799, kAxisX);
  ASSERT_EQ(l.labels.size(), 6u);
  EXPECT_STREQ(l.labels[0].text, "0.00");
  EXPECT_EQ(l.labels[0].left, 561);  // centred on 0.25: trunc(494.5 + 164.92 - 98)
  g_axis.label_pos[0] = 2;
  l = side(0.0f, 3.0f, 0.0f, 0.5f, 1980, 0, 494, 1799, kAxisX);
  EXPECT_EQ(l.labels.front().left, 494);
  EXPECT_EQ(l.labels.back().left, 494 + 1980 - 196);
}

TEST_F(LabelLayoutTest, WrongStepSignGivesAtMostTheFirstLabel) {
  const LabelLayout l = side(0.0f, 3.0f, 3.0f, -0.5f, 1980, 0, 494, 1799, kAxisX);
  ASSERT_EQ(l.labels.size(), 1u);
  EXPECT_STREQ(l.labels[0].text, "3.00");
}

TEST_F(LabelLayoutTest, CrossedAxesLeaveTheOriginUnlabelled) {
  g_axis.crossed_axes = 1;
  const LabelLayout l = side(-1.0f, 1.0f, -1.0f, 0.5f, 1000, 0, 100, 500, kAxisX);
  EXPECT_EQ(texts(l), (std::vector<std::string>{"-1.00", "-0.50", "0.50", "1.00"}));
}

TEST_F(LabelLayoutTest, LogarithmicLabels) {
  g_ivray.label_digits_x = -1;
  char text[kMaxLabelChars + 1];
  glabxy(2.0f, 0, 1, kAxisX, text);
  EXPECT_STREQ(text, "100");
  g_axis.log_label_style[0] = 1;
  g_control.ctrl_chars[0] = '[';
  g_control.ctrl_chars[2] = '$';
  EXPECT_EQ(glabxy(-3.0f, 0, 1, kAxisX, text), 6);
  EXPECT_STREQ(text, "10[-3$");
}

TEST_F(LabelLayoutTest, WidestLabel) {
  EXPECT_EQ(label_width_max(-23.0f, -32.5f, 1.0f, 1400, kAxisY, width50), 294);
  EXPECT_EQ(label_width_max(3.0f, 0.0f, -0.5f, 1980, kAxisX, width50), 0);
}

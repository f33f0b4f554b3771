// Selection of line styles and patterns: the style table, the named routines, the checks
// and their warning lines, the restart of the pattern, and the miter limit.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "pen/linestyle.h"
#include "pen/pen.h"
#include "records/state.h"
#include "stylus.h"
#include "support/fresh_process.h"
#include "support/stdout_capture.h"

using namespace stylus;

namespace {

class LineStyleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fresh_process();
    ensure_process_defaults();
    g_ivray.level = 1;
    g_ivray.device = 80;
  }
  void TearDown() override {
    stdout_.stop();
    fresh_process();
  }
  void capture() { stdout_.start(); }
  std::string output() { return stdout_.text(); }
  static void expect_pattern(std::vector<int> want) {
    ASSERT_EQ(g_linestyle.dash_count, static_cast<int>(want.size()));
    for (size_t i = 0; i < want.size(); ++i) EXPECT_EQ(g_linestyle.dash_pattern[i], want[i]);
    EXPECT_EQ(g_linestyle.dash_index, 1);
    EXPECT_EQ(g_linestyle.dash_gap, 0);
    EXPECT_EQ(g_linestyle.dash_rest, static_cast<float>(want[0]));
  }
  // Puts the pattern state somewhere in the middle, to see that a selection restarts it.
  static void advance() {
    g_linestyle.dash_index = 2;
    g_linestyle.dash_gap = 1;
    g_linestyle.dash_rest = 3.5f;
  }

 private:
  StdoutCapture stdout_;
};

TEST_F(LineStyleTest, LintypInstallsTheStyleTable) {
  const std::vector<std::vector<int>> table = {
      {1}, {1, 10}, {10, 10}, {30, 15, 10, 15}, {1, 15, 15, 15}, {20, 15}, {1, 20}, {30, 20}};
  for (int t = 0; t < 8; ++t) {
    SCOPED_TRACE(t);
    advance();
    lintyp(t);
    EXPECT_EQ(g_linestyle.line_style, t);
    expect_pattern(table[t]);
  }
}

TEST_F(LineStyleTest, NamedRoutinesSelectTheirStyles) {
  const std::pair<void (*)(), int> routines[] = {{dash, 2}, {chndsh, 3}, {chndot, 4}, {dashm, 5},
                                                 {dotl, 6}, {dashl, 7},  {solid, 0}};
  for (auto [routine, type] : routines) {
    SCOPED_TRACE(type);
    advance();
    routine();
    EXPECT_EQ(g_linestyle.line_style, type);
    EXPECT_EQ(g_linestyle.dash_index, 1);
    EXPECT_EQ(g_linestyle.dash_gap, 0);
  }
  EXPECT_EQ(g_linestyle.dash_count, 1);
}

TEST_F(LineStyleTest, StyleOutsideTheTableIsRefused) {
  lintyp(5);
  advance();
  capture();
  lintyp(8);
  lintyp(-1);
  EXPECT_EQ(output(),
            " <<<< Warning   2: Incorrect parameter in lintyp!   (   8)\n"
            " <<<< Warning   2: Incorrect parameter in lintyp!   (  -1)\n");
  EXPECT_EQ(g_linestyle.line_style, 5);
  EXPECT_EQ(g_linestyle.dash_index, 2);  // not restarted either
  EXPECT_EQ(g_linestyle.dash_rest, 3.5f);
  EXPECT_EQ(g_ivray.n_warnings, 2);
}

TEST_F(LineStyleTest, RoutinesNeedAnOpenSession) {
  g_ivray.level = 0;
  capture();
  dash();
  lintyp(2);
  EXPECT_EQ(output(),
            " <<<< Warning   3: Incorrect level in dash!   (   0)\n"
            " <<<< Warning   3: Incorrect level in lintyp!   (   0)\n");
  EXPECT_EQ(g_linestyle.dash_count, 1);
}

TEST_F(LineStyleTest, OwnPatternIsInstalledAndRestarted) {
  const int pattern[] = {5, 3, 2, 7, 1, 1, 1, 1, 1, 9};
  advance();
  myline(pattern, 10);
  expect_pattern({5, 3, 2, 7, 1, 1, 1, 1, 1, 9});
  myline(pattern, 3);
  expect_pattern({5, 3, 2});
  // A pattern of one element is a solid line.
  myline(pattern + 3, 1);
  expect_pattern({7});
}

TEST_F(LineStyleTest, BadPatternsChangeNothing) {
  const int pattern[] = {5, 3, 0, -4};
  lintyp(3);
  advance();
  capture();
  myline(pattern, 0);
  myline(pattern, 11);
  myline(pattern, 3);
  myline(pattern + 3, 1);
  myline(nullptr, 2);
  EXPECT_EQ(output(),
            " <<<< Warning   2: Incorrect parameter in myline!   (   0)\n"
            " <<<< Warning   2: Incorrect parameter in myline!   (  11)\n"
            " <<<< Warning   2: Incorrect parameter in myline!   (   0)\n"
            " <<<< Warning   2: Incorrect parameter in myline!   (  -4)\n"
            " <<<< Warning   2: Incorrect parameter in myline!\n");
  EXPECT_EQ(g_linestyle.dash_count, 4);
  EXPECT_EQ(g_linestyle.dash_pattern[0], 30);
  EXPECT_EQ(g_linestyle.dash_index, 2);
  EXPECT_EQ(g_linestyle.dash_rest, 3.5f);
}

TEST_F(LineStyleTest, InitypRestartsThePattern) {
  lintyp(3);
  advance();
  inityp();
  expect_pattern({30, 15, 10, 15});
}

TEST_F(LineStyleTest, MiterLimitIsCheckedAndStored) {
  capture();
  lnmlt(0.5f);
  lnmlt(std::nanf(""));
  EXPECT_EQ(output(),
            " <<<< Warning   2: Incorrect parameter in lnmlt!\n"
            " <<<< Warning   2: Incorrect parameter in lnmlt!\n");
  g_xvray.line_width_factor = 2.0f;
  lnmlt(1.0f);
  EXPECT_EQ(g_xvray.line_width_factor, 1.0f);
  lnmlt(3.5f);
  EXPECT_EQ(g_xvray.line_width_factor, 3.5f);
}

TEST_F(LineStyleTest, MiterLimitFlushesThePendingLine) {
  g_pen.stroke_count = 0;
  strtqq(1, 1);
  connqq(2, 2);
  lnmlt(2.0f);
  EXPECT_EQ(g_pen.stroke_count, 0);
}

}  // namespace

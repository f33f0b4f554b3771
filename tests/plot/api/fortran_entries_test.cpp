// The by-reference entries that the line-style, position, date and message routines gained:
// each passes its values on to its routine, and a missing number is warned about, not read.
#include <gtest/gtest.h>

#include <string>

#include "pen/linestyle.h"
#include "support/state_fixture.h"
#include "stylus.h"

using namespace stylus;

using FortranEntries = StateTest;

TEST_F(FortranEntries, PassTheirValuesOn) {
  use_recording_driver();
  metafl("POST");
  disini();
  graf(0.0f, 3.0f, 0.0f, 0.5f, -32.5f, -23.0f, -32.5f, 1.0f);

  const int type = 5, n = 3, pattern[] = {7, 2, 9};
  lintyp_(&type);
  EXPECT_EQ(g_linestyle.line_style, 5);
  myline_(pattern, &n);
  EXPECT_EQ(g_linestyle.dash_count, 3);
  EXPECT_EQ(g_linestyle.dash_pattern[2], 9);
  dashl_();
  EXPECT_EQ(g_linestyle.line_style, 7);
  const float miter = 3.5f;
  lnmlt_(&miter);
  EXPECT_FLOAT_EQ(g_xvray.line_width_factor, 3.5f);

  const float x = 1.25f, y = -30.0f;
  EXPECT_EQ(xposn_(&x), xposn(x));
  EXPECT_EQ(yposn_(&y), yposn(y));
  EXPECT_EQ(nxposn_(&x), nxposn(x));
  EXPECT_EQ(nyposn_(&y), nyposn(y));
  float xs[] = {0.0f, 3.0f}, ys[] = {-32.5f, -23.0f};
  const int two = 2;
  trfrel_(xs, ys, &two);
  EXPECT_EQ(xs[1], xposn(3.0f));
  EXPECT_EQ(ys[0], yposn(-32.5f));

  capture();
  lintyp_(nullptr);
  xposn_(nullptr);
  trfrel_(xs, ys, nullptr);
  EXPECT_EQ(stdout_text(),
            " <<<< Warning   2: Incorrect parameter in lintyp!\n"
            " <<<< Warning   2: Incorrect parameter in xposn!\n"
            " <<<< Warning   2: Incorrect parameter in trfrel!\n");
  EXPECT_EQ(g_linestyle.line_style, 7);
  EXPECT_EQ(nwarns_(), 3);
  capture();
  disfin();
}

TEST_F(FortranEntries, DateAndTimeFillTheCallersTextWithBlanks) {
  char date[13], time[6];
  dddate_(date, 12);
  ddtime_(time, 5);
  EXPECT_EQ(std::string(date, 12), "07.12.2026  ");
  EXPECT_EQ(std::string(time, 5), "09:13");
}

// The by-reference entries that the line-style, position, date and message routines, the
// symbols, error bars and legends gained: each passes its values on to its routine, and a
// missing number is warned about, not read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "elements/curve.h"
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

TEST_F(FortranEntries, SymbolErrorBarAndLegendEntriesPassTheirValuesOn) {
  use_recording_driver();
  metafl("POST");
  disini();
  graf(0.0f, 3.0f, 0.0f, 0.5f, -32.5f, -23.0f, -32.5f, 1.0f);
  static const int sym = 14, size = 50, mode = -3, cap = 12, one = 1, nx = 300;
  marker_(&sym);
  hsymbl_(&size);
  incmrk_(&mode);
  errcap_(&cap);
  legini_(&one);
  leglin_("measured      ", &one, 14);
  EXPECT_EQ(g_curve.symbol_number * 1000 + g_curve.symbol_size, 14050);
  EXPECT_EQ(g_curve.symbol_incr * 100 + g_curve.cap_width, -288);
  EXPECT_EQ(std::string(g_legend.text[0]), "measured");  // without the padding
  // Each drawing entry draws: the vectors of the session grow.
  static const float x[1] = {1.5f}, y[1] = {-28.0f}, e[1] = {0.5f};
  int vectors = g_ivray.n_vectors;
  for (const auto& draw : std::vector<void (*)()>{
           [] { symbol_(&sym, &nx, &nx); }, [] { rlsymb_(&sym, &x[0], &y[0]); },
           [] { errbar_(x, y, e, e, &one); }, [] { errhor_(x, y, e, e, &one); },
           [] { curve_(x, y, &one); }, [] { legend_("LR  ", 4); }, [] { legpag_(&nx, &nx); }}) {
    draw();
    EXPECT_GT(g_ivray.n_vectors, vectors);
    vectors = g_ivray.n_vectors;
  }
  capture();
  legend_("lower right", 11);  // "LOWE" is no corner
  marker_(nullptr);
  legpag_(&nx, nullptr);
  EXPECT_EQ(stdout_text(),
            " <<<< Warning   2: Incorrect parameter in legend!   (lowe)\n"
            " <<<< Warning   2: Incorrect parameter in marker!\n"
            " <<<< Warning   2: Incorrect parameter in legpag!\n");
  EXPECT_EQ(g_ivray.n_vectors, vectors);
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

// The HPGL plotter files: the pen selection line, the plotter units per point of "HPGL"
// and of the sheet devices, pen changes only for a new colour number, the turn of a
// portrait page onto the sheet, and the end.
#include <gtest/gtest.h>

#include <string>

#include "draw/pen.h"
#include "state/state.h"
#include "stylus.h"
#include "support/file_session.h"
#include "support/fresh_process.h"
#include "support/scratch_dir.h"

using namespace stylus;

namespace {

class HpglTest : public ::testing::Test {
 protected:
  void SetUp() override { fresh_process(); }
  void TearDown() override { fresh_process(); }
  ScratchDir scratch_;
};

TEST_F(HpglTest, FourUnitsPerPointAndPenChanges) {
  const std::string file = file_session("HPGL", [] {
    lineqq(494, 1799, 2473, 1799);  // the frame's bottom
    setclr(2);
    setclr(2);  // the same colour again: no pen change
    setclr(3);
  });
  // The session start's foreground 255 (rainbow table) is the first pen change.
  EXPECT_EQ(file, " SP1;\nSP255;PU1976,1200;PD9892,1200;SP2;SP3;PU0,0;\n");
  EXPECT_EQ(g_xvray.page_scale, 4.0f);
}

TEST_F(HpglTest, SheetScalesAndTheirLimit) {
  const std::string a4 = file_session("HPA4", [] { lineqq(494, 1799, 2473, 1799); });
  EXPECT_FLOAT_EQ(g_xvray.page_scale, 7600.0f / 2099.0f);  // 3.6208 units per point
  EXPECT_EQ(a4, " SP1;\nSP255;PU1789,1086;PD8954,1086;PU0,0;\n");
  // An A1 sheet would take 10.18 units per point: limited to those of "HPGL" unless the
  // scale is kept; the user scale lowers the limit.
  file_session("HPA1", nullptr);
  EXPECT_EQ(g_xvray.page_scale, 4.0f);
  g_ivray.keep_scale = 1;
  file_session("HPA1", nullptr);
  EXPECT_FLOAT_EQ(g_xvray.page_scale, 21360.0f / 2099.0f);
  g_ivray.keep_scale = 0;
  g_xvray.user_scale = 0.5f;
  file_session("HPGL", nullptr);
  EXPECT_EQ(g_xvray.page_scale, 2.0f);
}

TEST_F(HpglTest, PortraitPageIsTurnedOntoTheSheet) {
  // The page's left edge lies along the sheet's far long side, its top at the sheet's
  // right end.
  const std::string file = file_session(
      "HPA4", [] { lineqq(0, 0, 0, 2969); }, "DA4P");
  EXPECT_FLOAT_EQ(g_xvray.page_scale, 7600.0f / 2099.0f);
  EXPECT_EQ(file, " SP1;\nSP255;PU10750,7600;PD0,7600;PU0,0;\n");
}

}  // namespace

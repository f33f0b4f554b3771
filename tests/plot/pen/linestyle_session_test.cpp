// Line styles and the clip window across a whole session: the session start puts back the
// solid line and the page window, and the miter limit reaches the PostScript file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pen/clip.h"
#include "pen/linestyle.h"
#include "pen/pen.h"
#include "records/state.h"
#include "stylus.h"
#include "support/fresh_process.h"
#include "support/scratch_dir.h"
#include "support/text_files.h"

using namespace stylus;

namespace {

class LineStyleSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fresh_process();
    ::testing::internal::CaptureStdout();
  }
  void TearDown() override {
    ::testing::internal::GetCapturedStdout();
    fresh_process();
  }
  ScratchDir scratch_;
};

TEST_F(LineStyleSessionTest, SessionStartSelectsTheSolidLineAndThePageWindow) {
  metafl("POST");
  setpag("DA4P");  // 2099 x 2969
  g_linestyle.line_style = 3;
  g_linestyle.dash_count = 4;
  g_linestyle.dash_gap = 1;
  g_clip = {100, 200, 300, 400, {1, 2, 3, 4}, 0};
  disini();
  EXPECT_EQ(g_linestyle.line_style, 0);
  EXPECT_EQ(g_linestyle.dash_count, 1);
  EXPECT_EQ(g_linestyle.dash_gap, 0);
  EXPECT_EQ(g_clip.clip_left, 0);
  EXPECT_EQ(g_clip.clip_top, 0);
  EXPECT_EQ(g_clip.clip_right, 2099);
  EXPECT_EQ(g_clip.clip_bottom, 2969);
  dash();
  disfin();
}

TEST_F(LineStyleSessionTest, MiterLimitIsWrittenOnPostScript) {
  metafl("POST");
  disini();
  lnmlt(3.0f);  // width 1: w = 5
  linwid(4);
  lnmlt(2.5f);  // width 4: w = 8
  disfin();
  const std::vector<std::string> lines = read_lines("stylus.psc");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(),
            "0 0 0 f 15 cm setmiterlimit 8 cm setlinewidth 20 cm setmiterlimit showpage ");
}

TEST_F(LineStyleSessionTest, MitredCornersMakeLinwidSetTheMiterLimit) {
  metafl("POST");
  disini();
  g_ivray.line_width_mode = 0;  // no routine of the library selects it
  linwid(3);                    // w = 6, factor 2.0
  disfin();
  const std::vector<std::string> lines = read_lines("stylus.psc");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "0 0 0 f 6 cm setlinewidth 12 cm setmiterlimit showpage ");
}

}  // namespace

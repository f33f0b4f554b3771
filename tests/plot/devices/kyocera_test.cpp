// The Kyocera printer file: the page set-up of both orientations, the scale and its limit,
// whole move and draw commands in records of at most 80 characters, no colours, the end.
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

class KyoceraTest : public ::testing::Test {
 protected:
  void SetUp() override { fresh_process(); }
  void TearDown() override { fresh_process(); }
  ScratchDir scratch_;
};

TEST_F(KyoceraTest, LandscapeFileWholeCommandsAndNoColours) {
  const std::string file = file_session("KYOC", [] {
    lineqq(494, 1799, 2473, 1799);
    setclr(2);
    lineqq(0, 0, 2969, 2099);
  });
  // The first record is exactly full: the next command starts a record of its own.
  EXPECT_EQ(file,
            "!R! UNIT C;SPO L;SLM 0;SRM 28.7;STM 0;SBM 20;UNIT D;MAP  556,2024;DAP 2783,2024;\n"
            "MAP    0,   0;DAP 3341,2362;RES;EXIT;\n");
  EXPECT_FLOAT_EQ(g_xvray.page_scale, 2362.0f / 2099.0f);  // 1.1253 dots per point
}

TEST_F(KyoceraTest, PortraitSetUpAndTheScaleLimit) {
  const std::string file = file_session(
      "KYOC", [] { lineqq(10, 20, 30, 40); }, "DA4P");
  EXPECT_EQ(file,
            "!R! UNIT C;SPO P;SLM 0;SRM 20;STM 0;SBM 28.7;UNIT D;MAP   11,  23;DAP   34,  45;"
            "\nRES;EXIT;\n");
  EXPECT_FLOAT_EQ(g_xvray.page_scale, 2362.0f / 2099.0f);

  // Half the user scale: at most 150 dots per inch. The keep-scale flag keeps the sheet.
  g_xvray.user_scale = 0.5f;
  file_session("KYOC", nullptr);
  EXPECT_FLOAT_EQ(g_xvray.page_scale, 150.0f / 254.0f);
  g_ivray.keep_scale = 1;
  file_session("KYOC", nullptr);
  EXPECT_FLOAT_EQ(g_xvray.page_scale, 2362.0f / 2099.0f);
}

}  // namespace

// The GKSL text metafile, the default device: a session without metafl writes stylus.met
// byte for byte (header line, colour fields, points with their pen fields in 80-character
// records, the move to the origin and the end field) and names it in the protocol.
#include <gtest/gtest.h>

#include <string>

#include "devices/gksl.h"
#include "pen/pen.h"
#include "records/protocol.h"
#include "records/state.h"
#include "stylus.h"
#include "support/fixed_clock.h"
#include "support/fresh_process.h"
#include "support/scratch_dir.h"
#include "support/text_files.h"

using namespace stylus;

namespace {

class GkslTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fresh_process();
    set_local_time_source(fixed_test_time);
  }
  void TearDown() override { fresh_process(); }
};

TEST_F(GkslTest, ColourFieldsCountInStepsOf89) {
  EXPECT_EQ(gksl_color_fields(1), "10.0000000");
  EXPECT_EQ(gksl_color_fields(88), "97.0000000");
  EXPECT_EQ(gksl_color_fields(89), "98.0000000");  // r = 0 becomes 89 with one step less
  EXPECT_EQ(gksl_color_fields(90), "99.000000010.0000000");
  EXPECT_EQ(gksl_color_fields(178), "99.000000098.0000000");
  EXPECT_EQ(gksl_color_fields(255), "99.000000099.000000086.0000000");
  EXPECT_EQ(gksl_color_fields(0), "99.000000099.000000087.0000000");  // written as 256
}

TEST_F(GkslTest, DefaultSessionWritesStylusMet) {
  ScratchDir dir;
  ::testing::internal::CaptureStdout();
  disini();
  EXPECT_EQ(g_xvray.page_scale, 1.0f / 2969.0f);
  setclr(0);
  setclr(0);  // the same colour again writes nothing
  lineqq(2969, 0, 0, 2099);
  disfin();
  const std::string printed = ::testing::internal::GetCapturedStdout();
  // The session start's colour 255, colour 0, then the line from the upper right to the
  // lower left corner; at the end the move to the page origin (y up: 2099 times the
  // single-precision 1 / 2969) and the end field. Every record is full here: 80 characters.
  EXPECT_EQ(read_file("stylus.met"),
            "      29.7      21.0\n"
            "99.000000099.000000086.000000099.000000099.000000087.0000000 1.0000000 0.7069721\n"
            " 3.0000000 0.0000000 0.0000000 2.0000000 0.0000000 0.7069721 3.0000000 9.0000000\n");
  EXPECT_NE(printed.find("Vectors : 3 "), std::string::npos) << printed;
  EXPECT_NE(printed.find("Fileformat: GKSL"), std::string::npos) << printed;
  EXPECT_NE(printed.find("Metafile: stylus.met "), std::string::npos) << printed;
  EXPECT_FALSE(file_exists("stylus.err"));
}

}  // namespace

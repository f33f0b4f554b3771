// A whole PostScript session through the public C interface, as a C program would run it:
// metafl("POST"), disini, color("red"), linwid(4), disfin. The file must carry the exact
// header, a 72-line prolog, the tokens in 80-character records, and read cleanly in gs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "pen/pen.h"
#include "records/protocol.h"
#include "stylus.h"
#include "support/fixed_clock.h"
#include "support/fresh_process.h"
#include "support/ghostscript.h"
#include "support/scratch_dir.h"
#include "support/text_files.h"

namespace {

class PostScriptSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fresh_process();
    stylus::set_local_time_source(fixed_test_time);
  }
  void TearDown() override { fresh_process(); }

  // The program of the example; returns what it printed.
  static std::string run_program() {
    ::testing::internal::CaptureStdout();
    metafl("POST");
    disini();
    color("red");
    linwid(4);
    disfin();
    return ::testing::internal::GetCapturedStdout();
  }

  static void expect_file(const std::string& name) {
    const std::vector<std::string> lines = read_lines(name);
    ASSERT_EQ(lines.size(), 79u) << name;
    EXPECT_EQ(lines[0], "%!PS-Adobe-2.0");
    EXPECT_EQ(lines[1], "%%BoundingBox:       21.34      28.45     576.17     813.25");
    EXPECT_EQ(lines[2], "%%Creator: STYLUS   7.3 L");
    EXPECT_EQ(lines[3], "%%CreationDate: 07.12.2026 , 09:13:34");
    EXPECT_EQ(lines[4], "%%EndComments");
    EXPECT_EQ(lines[5], "2 setlinecap 2 setlinejoin");  // prolog: file lines 6 to 77
    EXPECT_EQ(lines[76], " 8#260 /ocircumflex 8#261 /ucircumflex ] def");
    EXPECT_EQ(lines[77],
              "  150 cm   200 cm translate 5 cm setlinewidth   1.000476  1.000476 scale");
    // The session start's foreground (black in the reversed grey table), red (entry 25 of
    // that table), the width 4 and the end, in one record.
    EXPECT_EQ(lines[78], "0 0 0 f 230 230 230 f 8 cm setlinewidth showpage ");
    const GhostscriptResult gs = run_ghostscript(name);
    EXPECT_TRUE(gs.ok()) << gs.status << "\n" << gs.output;
  }
};

TEST_F(PostScriptSessionTest, WritesStylusPscThatGhostscriptReads) {
  ScratchDir dir;
  const std::string printed = run_program();
  ASSERT_TRUE(std::filesystem::exists("stylus.psc"));
  expect_file("stylus.psc");
  EXPECT_NE(printed.find("Fileformat: POST"), std::string::npos) << printed;
  EXPECT_NE(printed.find("Metafile: stylus.psc"), std::string::npos) << printed;
  EXPECT_FALSE(std::filesystem::exists("stylus.err"));
}

TEST_F(PostScriptSessionTest, AnExistingFileGetsANewVersion) {
  ScratchDir dir;
  { std::ofstream("stylus.psc") << "keep me\n"; }
  const std::string printed = run_program();
  ASSERT_TRUE(std::filesystem::exists("stylus_1.psc"));
  expect_file("stylus_1.psc");
  EXPECT_EQ(read_lines("stylus.psc"), std::vector<std::string>{"keep me"});
  EXPECT_NE(printed.find("Metafile: stylus_1.psc"), std::string::npos) << printed;
}

TEST_F(PostScriptSessionTest, DrawingReachesTheFileThroughThePenModel) {
  ScratchDir dir;
  ::testing::internal::CaptureStdout();
  metafl("post");
  disini();
  stylus::lineqq(100, 200, 300, 400);
  disfin();
  const std::string printed = ::testing::internal::GetCapturedStdout();
  const std::vector<std::string> lines = read_lines("stylus.psc");
  ASSERT_EQ(lines.size(), 79u);
  EXPECT_EQ(lines[78], "0 0 0 f 371 186 u 743 557 d p showpage ");
  EXPECT_NE(printed.find("Vectors : 2 "), std::string::npos) << printed;
  const GhostscriptResult gs = run_ghostscript("stylus.psc");
  EXPECT_TRUE(gs.ok()) << gs.status << "\n" << gs.output;
}

}  // namespace

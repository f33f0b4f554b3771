// The program's warning handler (setwrn): it hears of every counted warning with its number,
// routine and printed line, decides whether the line is printed, and leaves the count alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/messages.h"
#include "support/state_fixture.h"
#include "stylus.h"

using namespace stylus;

namespace {

struct Heard {
  int number;
  std::string routine, line;
};
std::vector<Heard> g_heard;
int g_answer = 0;

int listen(int number, const char* routine, const char* line) {
  g_heard.push_back({number, routine, line});
  return g_answer;
}

class WarningHandler : public StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    g_heard.clear();
    g_answer = 0;
    setwrn(listen);
  }
};

}  // namespace

TEST_F(WarningHandler, HearsEveryLineAsPrintedAndTheLibraryStillPrintsIt) {
  use_recording_driver();
  disini();
  capture();
  color("PINK");
  linwid(0);
  disini();
  EXPECT_EQ(stdout_text(),
            " <<<< Warning   2: Incorrect parameter in color!   (PINK)\n"
            " <<<< Warning   2: Incorrect parameter in linwid!\n"
            " <<<< Warning   3: Incorrect level in disini!   (   1)\n");
  ASSERT_EQ(g_heard.size(), 3u);
  EXPECT_EQ(g_heard[0].number, 2);
  EXPECT_EQ(g_heard[0].routine, "color");
  EXPECT_EQ(g_heard[0].line, " <<<< Warning   2: Incorrect parameter in color!   (PINK)");
  EXPECT_EQ(g_heard[1].line, " <<<< Warning   2: Incorrect parameter in linwid!");
  EXPECT_EQ(g_heard[2].number, 3);
  EXPECT_EQ(g_heard[2].routine, "disini");
  EXPECT_EQ(nwarns(), 3);
  disfin();
}

TEST_F(WarningHandler, ANonZeroAnswerKeepsTheLineFromBeingPrintedButItCounts) {
  use_recording_driver();
  disini();
  g_answer = 1;
  capture();
  setclr(256);
  EXPECT_EQ(stdout_text(), "");
  EXPECT_EQ(nwarns(), 1);
  ASSERT_EQ(g_heard.size(), 1u);
  EXPECT_EQ(g_heard[0].line, " <<<< Warning   2: Incorrect parameter in setclr!   ( 256)");
  g_answer = 0;
  capture();
  disfin();
  EXPECT_NE(stdout_text().find("Warnings: 1 "), std::string::npos);
}

TEST_F(WarningHandler, WithMessagesOffTheLineIsEmptyAndNothingIsPrinted) {
  use_recording_driver();
  disini();
  msgmod("OFF");
  capture();
  color("PINK");
  EXPECT_EQ(stdout_text(), "");
  ASSERT_EQ(g_heard.size(), 1u);
  EXPECT_EQ(g_heard[0].number, 2);
  EXPECT_EQ(g_heard[0].line, "");
  msgmod("ON");
  disfin();
}

TEST_F(WarningHandler, TextOffThePageIsNumberZero) {
  use_recording_driver();
  disini();
  capture();
  messag("Hello", -50, 100);
  EXPECT_EQ(stdout_text(),
            " <<<< Warning: Startpoint (  -50/  100) in MESSAG out of page - (Hello).\n");
  ASSERT_EQ(g_heard.size(), 1u);
  EXPECT_EQ(g_heard[0].number, 0);
  EXPECT_EQ(g_heard[0].routine, "messag");
  EXPECT_EQ(g_heard[0].line,
            " <<<< Warning: Startpoint (  -50/  100) in MESSAG out of page - (Hello).");
  EXPECT_EQ(nwarns(), 1);
  disfin();
}

TEST_F(WarningHandler, NullRemovesItAndSoDoesTheProcessReset) {
  setwrn(nullptr);
  capture();
  metafl("NONE");
  EXPECT_EQ(stdout_text(), " <<<< Warning   2: Incorrect parameter in metafl!   (NONE)\n");
  EXPECT_TRUE(g_heard.empty());
  setwrn(listen);
  fresh_process();
  capture();
  metafl("NONE");
  stdout_text();
  EXPECT_TRUE(g_heard.empty());
}

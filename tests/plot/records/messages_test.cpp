// Level checks, argument checks and the numbered warning lines, with their counting and
// where they go.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/state_fixture.h"
#include "records/messages.h"
#include "stylus.h"

using namespace stylus;

using Messages = StateTest;

TEST_F(Messages, TableTextsByNumber) {
  capture();
  jqqlev(0, 3, "curve");
  for (int n : {1, 36, 39, 58}) warnin(n);
  EXPECT_EQ(stdout_text(),
            " <<<< Warning   1: Negative parameter in curve!\n"
            " <<<< Warning  36: File error in curve!\n"
            " <<<< Warning  39: Too many pages for CGM file (max. length 327 cm) in curve!\n"
            " <<<< Warning  58: Array is out of screen in curve!\n");
}

TEST_F(Messages, WarningLineFormats) {
  capture();
  jqqlev(0, 3, "curve");
  warnin(2);
  warni1(2, 101);
  warnc1(2, "PINK");
  warni1(3, -12345);
  EXPECT_EQ(stdout_text(),
            " <<<< Warning   2: Incorrect parameter in curve!\n"
            " <<<< Warning   2: Incorrect parameter in curve!   ( 101)\n"
            " <<<< Warning   2: Incorrect parameter in curve!   (PINK)\n"
            " <<<< Warning   3: Incorrect level in curve!   (-12345)\n");
  EXPECT_EQ(g_ivray.n_warnings, 4);
}

TEST_F(Messages, ARejectedTextIsEchoedCutAndEscaped) {
  // A keyword a megabyte long that would forge a line of its own and clear the terminal.
  std::string forged = "BLUE\n <<<< Warning   0: forged!\r\t\x1b[2J\x7f\xc3\xa9";
  const std::string rest(1 << 20, 'x');
  capture();
  metafl((forged + rest).c_str());
  setpag("A\\B");  // a backslash stays as it is (file names of other systems)
  EXPECT_EQ(stdout_text(),
            " <<<< Warning   2: Incorrect parameter in metafl!   (BLUE\\n <<<< Warning   0: "
            "forged!\\r\\t\\x1b[2J\\x7f\xc3\xa9" +
                rest.substr(0, 80 - 40) +
                ")\n"
                " <<<< Warning   2: Incorrect parameter in setpag!   (A\\B)\n");
}

TEST_F(Messages, LevelCheckNamesTheRoutineAndGivesTheLevel) {
  capture();
  EXPECT_EQ(jqqlev(2, 3, "curve"), 1);
  EXPECT_EQ(chkini("color"), 1);
  EXPECT_EQ(jqqlev(0, 0, "metafl"), 0);
  EXPECT_EQ(stdout_text(),
            " <<<< Warning   3: Incorrect level in curve!   (   0)\n"
            " <<<< Warning   3: Incorrect level in color!   (   0)\n");
  EXPECT_STREQ(g_control.routine_name, "metafl");
}

TEST_F(Messages, LevelErrorAtLevelZeroIsPrintedEvenWithMessagesOff) {
  ensure_process_defaults();
  g_ivray.msg_unit = 0;
  capture();
  warnin(2);  // not printed, still counted
  EXPECT_EQ(jqqlev(1, 3, "linwid"), 1);
  EXPECT_EQ(stdout_text(), " <<<< Warning   3: Incorrect level in linwid!   (   0)\n");
  EXPECT_EQ(g_ivray.msg_unit, 6);
  EXPECT_EQ(g_ivray.n_warnings, 2);
}

TEST_F(Messages, WarningsWithMessagesOffAreCountedNotPrinted) {
  ensure_process_defaults();
  g_ivray.level = 1;
  g_ivray.msg_unit = 0;
  capture();
  EXPECT_EQ(jqqlev(2, 3, "curve"), 1);  // inside a session: stays silent
  warnc1(2, "PINK");
  EXPECT_EQ(stdout_text(), "");
  EXPECT_EQ(g_ivray.n_warnings, 2);
}

TEST_F(Messages, NumberOutsideTheTableUsesTheBlankText) {
  jqqlev(0, 0, "disini");
  capture();
  warnin(77);
  warnin(0);
  EXPECT_EQ(stdout_text(),
            "<<<< Incorrect parameter in errmes! (  77)\n"
            " <<<< Warning  77:   in disini!\n"
            "<<<< Incorrect parameter in errmes! (   0)\n"
            " <<<< Warning   0:   in disini!\n");
}

TEST_F(Messages, NumbersAbove100UseTheCallersText) {
  jqqlev(0, 0, "disini");
  char text[] = "Output device not available";
  qqserr(text);
  std::strcpy(text, "overwritten");  // the warning keeps its own copy
  capture();
  warnc1(101, "GKSL");
  EXPECT_EQ(stdout_text(), " <<<< Warning 101: Output device not available in disini!   (GKSL)\n");
  EXPECT_EQ(g_ivray.n_warnings, 1);
}

TEST_F(Messages, WarningsGoToTheMessageStream) {
  ensure_process_defaults();
  std::FILE* f = std::fopen("messages.txt", "w+");
  ASSERT_NE(f, nullptr);
  g_control.msg_stream = f;
  jqqlev(0, 0, "setpag");
  warnc1(2, "DA5L");
  std::fclose(f);
  g_control.msg_stream = stdout;
  EXPECT_EQ(read_file("messages.txt"),
            " <<<< Warning   2: Incorrect parameter in setpag!   (DA5L)\n");
}

TEST_F(Messages, ValueCheckWithAndWithoutUpperBound) {
  jqqlev(0, 0, "labdig");
  capture();
  EXPECT_EQ(jqqval(-1, -1, 100), 0);
  EXPECT_EQ(jqqval(100, -1, 100), 0);
  EXPECT_EQ(jqqval(101, -1, 100), 1);
  EXPECT_EQ(jqqval(-2, -1, 100), 1);
  EXPECT_EQ(jqqval(1000000, 1, 0), 0);  // upper bound below the lower: none
  EXPECT_EQ(jqqval(0, 1, 0), 1);
  EXPECT_EQ(stdout_text(),
            " <<<< Warning   2: Incorrect parameter in labdig!   ( 101)\n"
            " <<<< Warning   2: Incorrect parameter in labdig!   (  -2)\n"
            " <<<< Warning   2: Incorrect parameter in labdig!   (   0)\n");
}

TEST_F(Messages, KeywordLookupComparesFourUpperCasedBlankPaddedCharacters) {
  const char list[] = "WHIT+RED +GREE+blue";
  jqqlev(0, 0, "color");
  capture();
  EXPECT_EQ(jqqind(list, 4, "white"), 1);
  EXPECT_EQ(jqqind(list, 4, "red"), 2);
  EXPECT_EQ(jqqind(list, 4, "Red"), 2);
  EXPECT_EQ(jqqind(list, 4, "BLUE"), 4);  // list entries are upper-cased as well
  EXPECT_EQ(stdout_text(), "");
  capture();
  EXPECT_EQ(jqqind(list, 4, "RE"), 0);
  EXPECT_EQ(jqqind(list, 3, "BLUE"), 0);  // only n entries count
  EXPECT_EQ(stdout_text(),
            " <<<< Warning   2: Incorrect parameter in color!   (RE)\n"
            " <<<< Warning   2: Incorrect parameter in color!   (BLUE)\n");
}

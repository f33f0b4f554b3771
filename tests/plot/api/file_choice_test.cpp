// The caller's name for the output file (setfil) and the name of the file written (getfil):
// versioned like the default name, kept across sessions, not used without a file.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/state_fixture.h"
#include "stylus.h"

using namespace stylus;

using FileChoice = StateTest;

TEST_F(FileChoice, NamesTheFileOfEveryLaterSessionAndIsVersioned) {
  EXPECT_STREQ(getfil(), "");
  metafl("POST");
  setfil("energy.ps");
  disini();
  EXPECT_STREQ(getfil(), "energy.ps");
  capture();
  disfin();
  EXPECT_NE(stdout_text().find(" <<  Metafile: energy.ps "), std::string::npos);
  EXPECT_STREQ(getfil(), "energy.ps");
  EXPECT_TRUE(file_exists("energy.ps"));
  disini();
  disfin();
  EXPECT_STREQ(getfil(), "energy_1.ps");
  setfil("");
  disini();
  disfin();
  EXPECT_STREQ(getfil(), "stylus.psc");
}

TEST_F(FileChoice, ImageDevicesNameTheFileAgainAtTheEnd) {
  metafl("PNG");
  setfil("pic.png");
  disini();
  EXPECT_STREQ(getfil(), "pic.png");
  { std::ofstream("pic.png") << "taken while drawing"; }
  disfin();
  EXPECT_STREQ(getfil(), "pic_1.png");
  EXPECT_TRUE(file_exists("pic_1.png"));
}

TEST_F(FileChoice, NoFileNoName) {
  setfil("never.img");
  metafl("VIRT");
  disini();
  EXPECT_STREQ(getfil(), "");
  disfin();
  EXPECT_STREQ(getfil(), "");
  EXPECT_FALSE(file_exists("never.img"));
  // A folder that does not exist: warning 36, and no file is named.
  metafl("POST");
  setfil("no/such/folder/a.ps");
  capture();
  disini();
  disfin();
  EXPECT_NE(stdout_text().find("Warning  36: File error in disini!"), std::string::npos);
  EXPECT_STREQ(getfil(), "");
}

TEST_F(FileChoice, RefusedInsideASessionTooLongOrMissing) {
  metafl("POST");
  disini();
  capture();
  setfil("late.ps");
  EXPECT_EQ(stdout_text(), " <<<< Warning   3: Incorrect level in setfil!   (   1)\n");
  disfin();
  EXPECT_STREQ(getfil(), "stylus.psc");
  const std::string long_name(257, 'a');
  capture();
  setfil(long_name.c_str());
  setfil(nullptr);
  // The echo of a rejected text stops at its first 80 characters.
  EXPECT_EQ(stdout_text(), " <<<< Warning   2: Incorrect parameter in setfil!   (" +
                               long_name.substr(0, 80) +
                               ")\n <<<< Warning   2: Incorrect parameter in setfil!\n");
  disini();
  disfin();
  EXPECT_STREQ(getfil(), "stylus_1.psc");
}

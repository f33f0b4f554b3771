// Version names of output files: the first free name, never another folder; whatever has a
// name takes it; and no name, after a message, when every version exists.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/state_fixture.h"
#include "support/stdout_capture.h"
#include "devices/file_names.h"

using namespace stylus;

namespace {

void touch(const std::string& name) {
  std::FILE* f = std::fopen(name.c_str(), "w");
  ASSERT_NE(f, nullptr) << name;
  std::fclose(f);
}

std::string versioned(const std::string& name) {
  char buf[61];
  std::snprintf(buf, sizeof buf, "%s", name.c_str());
  EXPECT_EQ(gfilnn(buf, sizeof buf), 0);
  return buf;
}

}  // namespace

using FileNames = StateTest;

TEST_F(FileNames, AFreeNameStaysAsItIs) {
  EXPECT_EQ(versioned("stylus.met"), "stylus.met");
}

TEST_F(FileNames, VersionsCutTheStemToKeepEightCharacters) {
  touch("stylus.met");
  EXPECT_EQ(versioned("stylus.met"), "stylus_1.met");
  for (int n = 1; n <= 9; ++n) touch("stylus_" + std::to_string(n) + ".met");
  EXPECT_EQ(versioned("stylus.met"), "stylu_10.met");
  for (int n = 10; n <= 19; ++n) touch("stylu_" + std::to_string(n) + ".met");
  EXPECT_EQ(versioned("stylus.met"), "styl_20.met");
}

TEST_F(FileNames, ShortStemsAndDotEndedNames) {
  touch("a.met");
  EXPECT_EQ(versioned("a.met"), "a_1.met");
  touch("stylus.");
  EXPECT_EQ(versioned("stylus."), "stylus_1.");
  touch("noext");
  EXPECT_EQ(versioned("noext"), "noext_1");
}

TEST_F(FileNames, VersionsStayInTheNamesFolder) {
  std::filesystem::create_directory("out");
  std::filesystem::create_directory("out.d");
  touch("out/plot.met");
  EXPECT_EQ(versioned("out/plot.met"), "out/plot_1.met");
  // A dot in a folder name is not an extension.
  touch("out.d/plot");
  EXPECT_EQ(versioned("out.d/plot"), "out.d/plot_1");
}

TEST_F(FileNames, VersionsFrom60OnKeepNoStemAndNeverCutIntoTheFolder) {
  std::filesystem::create_directory("dir");
  touch("dir/stylus.psc");
  for (int n = 1; n <= 69; ++n) {
    int keep = 6 - n / 10;
    touch("dir/" + std::string("stylus").substr(0, keep) + "_" + std::to_string(n) + ".psc");
  }
  EXPECT_TRUE(file_exists("dir/_69.psc"));
  EXPECT_EQ(versioned("dir/stylus.psc"), "dir/_70.psc");
  touch("dir/_70.psc");
  touch("dir/_71.psc");
  EXPECT_EQ(versioned("dir/stylus.psc"), "dir/_72.psc");
}

TEST_F(FileNames, ANameThatDoesNotFitIsRefused) {
  touch("a.b");
  char buf[6] = "a.b";  // "a_1.b" needs 6 bytes with its zero end: fits
  EXPECT_EQ(gfilnn(buf, sizeof buf), 0);
  EXPECT_STREQ(buf, "a_1.b");
  char small[5] = "a.b";
  EXPECT_EQ(gfilnn(small, sizeof small), 1);
  EXPECT_STREQ(small, "a.b");
}

TEST_F(FileNames, LinksPipesAndUnreadableFilesTakeTheirNames) {
  std::filesystem::create_symlink("nowhere/x.met", "l.met");
  ASSERT_EQ(::mkfifo("p.met", 0600), 0);
  touch("u.met");
  std::filesystem::permissions("u.met", std::filesystem::perms::none);
  EXPECT_EQ(versioned("l.met"), "l_1.met");
  EXPECT_EQ(versioned("p.met"), "p_1.met");  // and no wait for a writer
  EXPECT_EQ(versioned("u.met"), "u_1.met");
}

TEST_F(FileNames, MoreThan999VersionsGiveTheMessageAndNoName) {
  touch("s.m");
  for (int n = 1; n <= 999; ++n) {
    int keep = 6 - n / 10;
    std::string stem = keep > 0 ? std::string("s") : std::string();
    touch(stem + "_" + std::to_string(n) + ".m");
  }
  char buf[61] = "s.m";
  StdoutCapture out;
  out.start();
  EXPECT_EQ(gfilnn(buf, sizeof buf), 2);
  EXPECT_EQ(out.text(), "More than 999 file versions!\n");
  EXPECT_STREQ(buf, "s.m");
}

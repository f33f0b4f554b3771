// The project as a user starts it: what `make run` builds (listed by Ninja in a fresh build
// folder: qh2 and the library, no test program) and qh2's command-line arguments.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>

#include "stylus.h"
#include "support/command.h"
#include "support/scratch_dir.h"

namespace {

TEST(MakeRun, BuildsOnlyQh2AndTheLibrary) {
  ScratchDir scratch;
  const std::string dir = (scratch.path() / "build").string();
  const CommandResult r =
      run_command("env -u MAKEFLAGS -u MAKELEVEL -u MFLAGS make -s -C '" STYLUS_SOURCE_DIR
                  "' build-run BUILD='" +
                  dir + "' 'RUN_BUILD=ninja -C " + dir + " -t commands'");
  ASSERT_EQ(r.status, 0) << r.output;
  // The listing names the sources by their full paths: only the part below them counts.
  const std::string listing = std::regex_replace(r.output, std::regex(STYLUS_SOURCE_DIR), "SRC");
  EXPECT_NE(listing.find(" -o sim/qh2 "), std::string::npos) << listing;
  EXPECT_NE(listing.find("SRC/plot/api/session.cpp"), std::string::npos);
  for (const char* other : {"tests/", "bench/", "energy_curve", "libstylus.so", "gtest"})
    EXPECT_EQ(listing.find(other), std::string::npos) << other;
}

TEST(Qh2Arguments, HelpAndVersionEndWellEverythingElseIsAUsageError) {
  const std::string qh2 = "'" STYLUS_BINARY_DIR "/sim/qh2'";
  const CommandResult help = run_command(qh2 + " --help 2>/dev/null");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.output.rfind("Usage: qh2 [--help | --version]\n", 0), 0u) << help.output;

  const CommandResult version = run_command(qh2 + " --version 2>/dev/null");
  EXPECT_EQ(version.status, 0);
  char library[32];
  std::snprintf(library, sizeof library, "(STYLUS %.1f)", static_cast<double>(getver()));
  EXPECT_TRUE(std::regex_match(version.output,
                               std::regex("qh2 [0-9]+\\.[0-9]+\\.[0-9]+ \\(STYLUS [0-9.]+\\)\n")))
      << version.output;
  EXPECT_NE(version.output.find(library), std::string::npos) << version.output;

  for (const char* args : {"--bogus", "--help --version", "-h"}) {
    const CommandResult out = run_command(qh2 + " " + args + " 2>/dev/null");
    EXPECT_EQ(out.status, 2) << args;
    EXPECT_EQ(out.output, "") << args;
    const CommandResult err = run_command(qh2 + " " + args + " 2>&1 >/dev/null");
    EXPECT_NE(err.output.find(help.output), std::string::npos) << args << err.output;
  }
}

}  // namespace

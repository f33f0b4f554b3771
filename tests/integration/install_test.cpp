// The installed library as a user meets it: `cmake --install` into a fresh prefix, then a C
// program built through pkg-config and a CMake project built through find_package(stylus),
// each run to write a PostScript file and print the end protocol.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "support/command.h"
#include "support/scratch_dir.h"
#include "support/text_files.h"

namespace fs = std::filesystem;

namespace {

std::string quoted(const fs::path& p) {
  std::string s(1, '\'');
  s.append(p.string());
  s.push_back('\'');
  return s;
}

// Compiler and linker flags that a program needs to load a sanitized library.
std::string sanitizer_flags() {
#if defined(__SANITIZE_ADDRESS__)
  return " -fsanitize=address,undefined";
#else
  return "";
#endif
}

constexpr const char* kProgram =
    R"(/* Uses the library as a C program would, plain and by reference. */
#include <stdio.h>
#include <stylus.h>

int main(void) {
  int width = 4;
  metafl_("postscript", 10);
  disini();
  color("red");
  linwid_(&width);
  disfin_();
  printf("version %.1f patch %d\n", getver(), getplv());
  return 0;
}
)";

class Installed : public ::testing::Test {
 protected:
  // Installs the build tree once per test program into a prefix of its own.
  static void SetUpTestSuite() {
    prefix_ = new ScratchDir();
    CommandResult r = run_command("cmake --install " + quoted(STYLUS_BINARY_DIR) + " --prefix " +
                                  quoted(prefix_->path()));
    install_status_ = r.status;
    install_output_ = r.output;
  }
  static void TearDownTestSuite() {
    delete prefix_;
    prefix_ = nullptr;
  }
  void SetUp() override {
    ASSERT_EQ(install_status_, 0) << install_output_;
    work_ = std::make_unique<ScratchDir>();
    std::ofstream(work_->path() / "prog.c") << kProgram;
  }
  static fs::path prefix() { return prefix_->path(); }

  // Runs a built program twice: the second run must not overwrite the first file.
  void expect_two_sessions(const fs::path& program) {
    for (const char* name : {"stylus.psc", "stylus_1.psc"}) {
      CommandResult r = run_command(quoted(program));
      ASSERT_EQ(r.status, 0) << r.output;
      EXPECT_NE(
          r.output.find(" <<                END OF STYLUS / VERSION  7.3                  <<"),
          std::string::npos)
          << r.output;
      EXPECT_NE(r.output.find(std::string(" <<  Metafile: ") + name), std::string::npos)
          << r.output;
      EXPECT_NE(r.output.find("Fileformat: POST  <<"), std::string::npos) << r.output;
      EXPECT_NE(r.output.find("version 7.3 patch 0\n"), std::string::npos) << r.output;
      const std::string ps = read_file(name);
      EXPECT_EQ(ps.rfind("%!PS-Adobe-2.0\n", 0), 0u) << name;
      EXPECT_NE(ps.find("showpage"), std::string::npos) << name;
    }
  }

  static ScratchDir* prefix_;
  static int install_status_;
  static std::string install_output_;
  std::unique_ptr<ScratchDir> work_;
};

ScratchDir* Installed::prefix_ = nullptr;
int Installed::install_status_ = -1;
std::string Installed::install_output_;

}  // namespace

TEST_F(Installed, LaysOutHeaderLibrariesPackageFilesAndProgram) {
  for (const char* file : {"include/stylus.h", "lib/libstylus.a", "lib/libstylus.so",
                           "lib/pkgconfig/stylus.pc", "lib/cmake/stylus/stylusConfig.cmake",
                           "lib/cmake/stylus/stylusConfigVersion.cmake", "bin/qh2"}) {
    EXPECT_TRUE(fs::exists(prefix() / file)) << file;
  }
  const fs::perms exec = fs::status(prefix() / "bin/qh2").permissions() & fs::perms::owner_exec;
  EXPECT_NE(exec, fs::perms::none);
}

TEST_F(Installed, CProgramBuiltWithPkgConfig) {
  const std::string pc = "PKG_CONFIG_PATH=" + quoted(prefix() / "lib/pkgconfig") + " ";
  CommandResult flags = run_command(pc + "pkg-config --cflags --libs stylus");
  ASSERT_EQ(flags.status, 0) << flags.output;
  CommandResult build = run_command(pc + "cc -std=c11 -Wall -Wextra -pedantic -Werror prog.c $(" +
                                    pc + "pkg-config --cflags --libs stylus) -Wl,-rpath," +
                                    quoted(prefix() / "lib") + sanitizer_flags() + " -o prog");
  ASSERT_EQ(build.status, 0) << build.output;
  expect_two_sessions(work_->path() / "prog");
}

TEST_F(Installed, CMakeProjectFindsThePackage) {
  std::ofstream(work_->path() / "CMakeLists.txt") << R"(cmake_minimum_required(VERSION 3.25)
project(stylus_user LANGUAGES C CXX)
find_package(stylus 7.3 REQUIRED)
add_executable(with_shared prog.c)
target_link_libraries(with_shared PRIVATE stylus::stylus)
add_executable(with_static prog.c)
target_link_libraries(with_static PRIVATE stylus::stylus_static)
)";
  const std::string san = sanitizer_flags();
  CommandResult configure = run_command(
      "cmake -S . -B build -DCMAKE_PREFIX_PATH=" + quoted(prefix()) + " '-DCMAKE_C_FLAGS=" + san +
      "' '-DCMAKE_CXX_FLAGS=" + san + "' '-DCMAKE_EXE_LINKER_FLAGS=" + san + "'");
  ASSERT_EQ(configure.status, 0) << configure.output;
  CommandResult build = run_command("cmake --build build");
  ASSERT_EQ(build.status, 0) << build.output;
  expect_two_sessions(work_->path() / "build/with_shared");
  fs::remove("stylus.psc");
  fs::remove("stylus_1.psc");
  expect_two_sessions(work_->path() / "build/with_static");
}

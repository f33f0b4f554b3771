// The installed library as a user meets it: `cmake --install` into a fresh prefix, then a C
// program built through pkg-config and a CMake project built through find_package(stylus),
// each run to write a PostScript file and print the end protocol; the three examples (C
// through pkg-config, C++ through CMake, Fortran through pkg-config and the module) built,
// run and their pictures read back; the example of symbols, error bars and legends and its
// Fortran twin drawing the same picture; the module refusing arguments of the wrong type;
// the manual page checked by groff.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "devices/screen_geometry.h"
#include "support/command.h"
#include "support/data_points_picture.h"
#include "support/energy_picture.h"
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

std::string example(const char* file) {
  return quoted(fs::path(STYLUS_SOURCE_DIR) / "examples" / file);
}

bool green(Rgb p) {
  return p.g > 200 && p.r < 80 && p.b < 80;
}
bool blue(Rgb p) {
  return p.b > 200 && p.r < 80 && p.g < 80;
}
bool magenta(Rgb p) {
  return p.r > 200 && p.b > 200 && p.g < 80;
}

// Pixels of the rectangle [c0, c1) x [r0, r1) (the whole picture by default) that pred
// accepts.
int count(const RgbImage& img, bool (*pred)(Rgb), int c0 = 0, int r0 = 0, int c1 = -1,
          int r1 = -1) {
  if (c1 < 0) c1 = img.width();
  if (r1 < 0) r1 = img.height();
  int n = 0;
  for (int r = r0; r < r1; ++r)
    for (int c = c0; c < c1; ++c) n += pred(img.at(c, r)) ? 1 : 0;
  return n;
}

// A picture decoded by a reader into PPM.
RgbImage decoded(const std::string& command) {
  const CommandResult r = run_command(command + " >decoded.ppm");
  EXPECT_EQ(r.status, 0) << command << "\n" << r.output;
  RgbImage img;
  EXPECT_TRUE(img.load_ppm("decoded.ppm")) << command;
  return img;
}

// The run of an example: exit status 0 and the end protocol naming its file.
void expect_run(const CommandResult& r, const std::string& file) {
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find(" <<  Metafile: " + file + " "), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("Warnings: 0 "), std::string::npos) << r.output;
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
  static std::string pkg_config() {
    return "PKG_CONFIG_PATH=" + quoted(prefix() / "lib/pkgconfig") + " pkg-config";
  }
  // A gfortran command line that compiles the installed module before the given sources.
  static std::string gfortran(const std::string& rest) {
    return "gfortran -std=f2008 $(" + pkg_config() + " --variable=fortran_module stylus) " + rest;
  }

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
  for (const char* file :
       {"include/stylus.h", "include/stylus.f90", "share/man/man3/stylus.3", "lib/libstylus.a",
        "lib/libstylus.so", "lib/pkgconfig/stylus.pc", "lib/cmake/stylus/stylusConfig.cmake",
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

TEST_F(Installed, CExampleDrawsTwoCurvesAndANote) {
  CommandResult build =
      run_command("cc -std=c11 -Wall -Wextra -pedantic -Werror " + example("c/functions.c") +
                  " $(" + pkg_config() + " --cflags --libs stylus) -lm -Wl,-rpath," +
                  quoted(prefix() / "lib") + sanitizer_flags() + " -o functions");
  ASSERT_EQ(build.status, 0) << build.output;
  expect_run(run_command("./functions"), "stylus.png");
  const RgbImage img = decoded("pngtopnm stylus.png");
  ASSERT_EQ(img.width() * 1000 + img.height(), 853603);
  EXPECT_GT(count(img, red), 600);    // sin x, solid
  EXPECT_GT(count(img, green), 300);  // the damped cosine, in long dashes
  // The note at page y 260 (40 points high), from x 500: pixels 0.287 per point.
  EXPECT_GT(count(img, light, 150, 72, 700, 88), 300);
  EXPECT_EQ(count(img, light, 150, 40, 700, 70), 0);
}

TEST_F(Installed, CppExampleBuiltWithFindPackage) {
  const std::string san = sanitizer_flags();
  CommandResult configure = run_command("cmake -S " + example("cpp") +
                                        " -B build -DCMAKE_PREFIX_PATH=" + quoted(prefix()) +
                                        " '-DCMAKE_CXX_FLAGS=-Wall -Wextra -Werror" + san +
                                        "' '-DCMAKE_EXE_LINKER_FLAGS=" + san + "'");
  ASSERT_EQ(configure.status, 0) << configure.output;
  CommandResult build = run_command("cmake --build build");
  ASSERT_EQ(build.status, 0) << build.output;
  expect_run(run_command("build/taylor"), "stylus.psc");
  // Ghostscript renders the page (A4 landscape turned) at 20 dots per inch.
  const RgbImage img =
      decoded("gs -q -dBATCH -dNOPAUSE -dSAFER -sDEVICE=ppmraw -r20 -sOutputFile=- stylus.psc");
  EXPECT_GT(count(img, dark), 500);  // frame, ticks, labels, titles
  for (bool (*ink)(Rgb) : {red, green, blue, magenta}) EXPECT_GT(count(img, ink), 20);
}

TEST_F(Installed, FortranExampleUsesTheModule) {
  CommandResult build = run_command(
      gfortran(example("fortran/morse.f90") + " $(" + pkg_config() + " --libs stylus) -Wl,-rpath," +
               quoted(prefix() / "lib") + sanitizer_flags() + " -o morse"));
  ASSERT_EQ(build.status, 0) << build.output;
  const CommandResult run = run_command("./morse");
  expect_run(run, "stylus.tif");
  EXPECT_NE(run.output.find("\nwarnings: 0, drawn on "), std::string::npos) << run.output;
  const RgbImage img = decoded("tifftopnm stylus.tif");
  EXPECT_GT(count(img, red), 400);
  EXPECT_GT(count(img, green), 150);
  EXPECT_GT(count(img, light), 2000);
}

// The C example of symbols, error bars and legends and its Fortran twin (the same data and
// calls through the module) draw the same files on PNG, PostScript and SVG, dates aside; each
// picture, decoded by its reader, shows every symbol, bar, curve and legend sample where the
// program puts it.
TEST_F(Installed, DataPointsInCAndFortranDrawTheSamePicture) {
  CommandResult build =
      run_command("cc -std=c11 -Wall -Wextra -pedantic -Werror " + example("c/data_points.c") +
                  " $(" + pkg_config() + " --cflags --libs stylus) -lm -Wl,-rpath," +
                  quoted(prefix() / "lib") + sanitizer_flags() + " -o data_points_c");
  ASSERT_EQ(build.status, 0) << build.output;
  build = run_command(
      gfortran(quoted(fs::path(STYLUS_SOURCE_DIR) / "tests/integration/data/data_points.f90") +
               " $(" + pkg_config() + " --libs stylus) -Wl,-rpath," + quoted(prefix() / "lib") +
               sanitizer_flags() + " -o data_points_f"));
  ASSERT_EQ(build.status, 0) << build.output;

  constexpr int kDpi = 150;
  const struct {
    const char* device;
    const char* file;
    const char* dated;  // the line that holds the date, left out of the comparison
    std::string decode;
    PixelMap map;
    bool (*fg)(Rgb);
  } devices[] = {
      {"PNG", "stylus.png", nullptr, "pngtopnm stylus.png",
       // the raster's device points, r(x s) for the scale of its 853 x 603 pixels
       PixelMap::scaled(stylus::screen_page_scale(853, 603, 2969, 2099, 1.0f), 0.5, 0.5), light},
      {"POST", "stylus.psc", "%%CreationDate:",
       "gs -q -dBATCH -dNOPAUSE -dSAFER -sPAPERSIZE=a4 -sDEVICE=ppmraw -r150 -sOutputFile=- "
       "stylus.psc",
       data_points::postscript_sheet_map(kDpi), dark},
      {"SVG", "stylus.svg", "<!-- STYLUS",
       "rsvg-convert --dpi-x 150 --dpi-y 150 stylus.svg | pngtopnm", PixelMap::scaled(kDpi / 254.0),
       dark},
  };
  for (const auto& d : devices) {
    SCOPED_TRACE(d.device);
    std::string files[2];
    for (int k = 0; k < 2; ++k) {
      const std::string dir = std::string(d.device) + (k == 0 ? "_c" : "_f");
      fs::create_directory(dir);
      expect_run(
          run_command("cd " + dir + " && ../data_points_" + (k == 0 ? "c " : "f ") + d.device),
          d.file);
      files[k] = read_file(dir + "/" + d.file);
      if (d.dated != nullptr) {
        const std::size_t at = files[k].find(d.dated);
        ASSERT_NE(at, std::string::npos);
        files[k].erase(at, files[k].find('\n', at) - at);
      }
    }
    EXPECT_FALSE(files[0].empty());
    EXPECT_TRUE(files[0] == files[1]) << "the C and the Fortran program differ";
    const RgbImage img = decoded("(cd " + std::string(d.device) + "_c && " + d.decode + ")");
    data_points::Picture(img, d.map, d.fg).expect_all();
  }
}

// Each call is right but for one argument's type; the program with every type right compiles.
TEST_F(Installed, FortranModuleRejectsArgumentsOfTheWrongType) {
  const std::string head =
      "program p\n  use stylus\n  real :: x(3), y(3)\n  double precision :: dx(3)\n";
  const std::string calls[] = {
      "  call curve(x, y, 3)\n  call graf(0., 3., 0., 1., 0., 1., 0., .5)\n",
      "  call curve(dx, y, 3)\n",
      "  call graf(0, 3, 0, 1, 0, 1, 0, 1)\n",
      "  call height(36.0)\n",
  };
  for (const std::string& body : calls) {
    std::ofstream("p.f90") << head << body << "end program p\n";
    const CommandResult r = run_command(gfortran("-fsyntax-only p.f90"));
    if (&body == &calls[0]) {
      EXPECT_EQ(r.status, 0) << r.output;
    } else {
      EXPECT_NE(r.status, 0) << body;
      EXPECT_NE(r.output.find("Type mismatch"), std::string::npos) << body << r.output;
    }
  }
}

TEST_F(Installed, ManualPageHasNoWarnings) {
  const std::string page = quoted(prefix() / "share/man/man3/stylus.3");
  const CommandResult lint = run_command("groff -ww -mandoc -z " + page);
  EXPECT_EQ(lint.status, 0);
  EXPECT_EQ(lint.output, "");
  const CommandResult man = run_command("MANWIDTH=80 man -l " + page + " 2>&1 >/dev/null");
  EXPECT_EQ(man.output, "");
}

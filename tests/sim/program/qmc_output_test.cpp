// What a variational or diffusion run writes: its table lines and CSV text to the byte, the
// results file written whole and never over anything, the picture's axes and parts, and the
// progress line's text.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "sim/common/exact_curve.h"
#include "sim/program/new_file.h"
#include "sim/program/progress_line.h"
#include "sim/program/qmc_plot.h"
#include "sim/program/qmc_run.h"
#include "stylus.h"
#include "support/scratch_dir.h"
#include "support/text_files.h"

namespace fs = std::filesystem;

TEST(QmcOutput, TableLinesWithTheExactValueWhereTheTableHasIt) {
  qh2::dmc::Result r;
  r.separation = qh2::exact_curve()[3].separation;  // 1.4 bohr
  r.time_step = 0.0004;
  r.energy = -31.9312345;
  r.error = 0.0028;
  r.acceptance = 0.99791;
  r.beta = 1.0;
  r.steps = 61440;
  r.plateau = true;
  EXPECT_EQ(result_line(r),
            "  0.741915    0.000400  -31.931234    0.002800  0.99791   1.000     61440"
            "   -31.933865     +0.94\n");
  r.separation = 0.75;
  r.plateau = false;
  EXPECT_EQ(result_line(r),
            "  0.750000    0.000400  -31.931234    0.002800  0.99791   1.000     61440  *\n");
  qh2::dmc::Extrapolation x;
  x.e0 = -31.9351;
  x.error = 0.004;
  x.chi2 = 0.5;
  EXPECT_EQ(extrapolation_line(qh2::exact_curve()[3].separation, x, 3),
            "  0.741915     0 (fit)  -31.935100    0.004000        -       -         -"
            "   -31.933865     -0.31  (line through 3 time steps, chi2/dof 0.50)\n");
}

TEST(QmcOutput, CsvTextHasItsHeaderAndOneRowPerResult) {
  const std::string text =
      csv_text({{0.741915, -31.9312345, 0.0028, 0.0004, 2000, 0.99791, 12.3456},
                {0.741915, -31.9351, 0.004, 0.0, 2000, -1.0, 40.0}});
  EXPECT_EQ(
      text,
      "separation_A,energy_eV,standard_error_eV,time_step_per_eV,walkers,acceptance,cpu_seconds\n"
      "0.741915,-31.931234,0.002800,0.0004,2000,0.99791,12.346\n"
      "0.741915,-31.935100,0.004000,0,2000,,40.000\n");
}

TEST(NewFile, WrittenWholeAndNeverOverAnything) {
  ScratchDir scratch;
  const std::string path = (scratch.path() / "results.csv").string();
  EXPECT_EQ(write_new_file(path, "a,b\n1,2\n"), "");
  EXPECT_EQ(read_file(path), "a,b\n1,2\n");
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777 & ~0644, 0u);
  // A second write keeps the first file and leaves no temporary behind.
  EXPECT_EQ(write_new_file(path, "other"), path + " exists (qh2 never writes over a file)");
  EXPECT_EQ(read_file(path), "a,b\n1,2\n");
  // A link planted under the name, even a dangling one, is not followed.
  const std::string link = (scratch.path() / "planted.csv").string();
  const std::string target = (scratch.path() / "victim").string();
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  EXPECT_TRUE(name_taken(link));
  EXPECT_NE(write_new_file(link, "x"), "");
  EXPECT_FALSE(file_exists(target));
  // A folder that does not exist: an error, nothing made.
  EXPECT_NE(write_new_file((scratch.path() / "no/such/folder.csv").string(), "x"), "");
  int entries = 0;
  for (const fs::directory_entry& e : fs::directory_iterator(scratch.path())) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 2);  // results.csv and the link
}

TEST(QmcPicture, AxesHoldTheMinimumAndAtMostTenElectronvolts) {
  QmcPicture p;
  p.run = {{0.1, 95.0, 0.01}, {0.75, -31.93, 0.003}, {3.0000000000000004, -27.2, 0.003}};
  for (const qh2::ExactPoint& e : qh2::exact_curve())
    p.exact.push_back({e.separation, e.energy, 0});
  const PictureAxes a = picture_axes(p);
  EXPECT_EQ(a.x_max, 3.0f);  // the run's separations; the exact point at 3.18 A stays out
  EXPECT_EQ(a.y_min, -33.0f);
  EXPECT_EQ(a.y_max, -23.0f);
  EXPECT_EQ(a.y_step, 1.0f);
  p.run = {{0.75, -30.13, 0.02}, {0.8, -30.1, 0.02}};
  p.exact.clear();
  const PictureAxes b = picture_axes(p);
  EXPECT_EQ(b.x_max, 3.0f);
  EXPECT_EQ(b.y_min, -31.0f);
  EXPECT_EQ(b.y_max, -29.0f);
  EXPECT_EQ(b.y_step, 0.5f);
}

TEST(ProgressLine, SaysWhereTheRunIsAndHowLongItHasLeft) {
  EXPECT_EQ(ProgressLine::text("R = 0.741915 A", 2, 9, 0.25, 30.0),
            "qh2: R = 0.741915 A (3 of 9), 25% done, 1:30 left");
  EXPECT_EQ(ProgressLine::text("R = 3.000000 A", 58, 59, 0.001, 1.0),
            "qh2: R = 3.000000 A (59 of 59), 0% done");
}

// Points beyond the axes are left out rather than reported by curve on standard output, a
// bar that is no number is no bar, and the legend has a line for each part shown: here the
// textbook run lies wholly above the axes and has none.
TEST(QmcPicture, PartsOutsideTheAxesAreLeftOutWithoutAWarning) {
  ScratchDir scratch;
  QmcPicture p;
  p.method = "DMC";
  p.run = {{0.1, 95.0, 0.01}, {0.75, -31.9, std::nan("")}, {1.4, -31.0, 0.05}, {4.5, -27.2, 0}};
  for (const qh2::ExactPoint& e : qh2::exact_curve())
    p.exact.push_back({e.separation, e.energy, 0});
  p.textbook.xsep = {0.5f, 0.75f, 1.0f};
  p.textbook.yene = {-20.0f, -10.0f, -15.0f};
  p.textbook.npts = 3;
  ::testing::internal::CaptureStdout();
  plot_qmc_picture(p, "VIRT");
  const std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(nwarns(), 0) << out;
  EXPECT_EQ(out.find("out of axis scaling"), std::string::npos) << out;
  EXPECT_NE(out.find("Warnings: 0"), std::string::npos) << out;  // the end protocol
}

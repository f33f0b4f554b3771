// qh2 --method as a user runs it: bad options give the usage on standard error and status 2;
// combinations of options end well; the same seed gives the same bytes on any number of
// threads; the CSV file is written once and never over anything; --device PNG leaves a picture
// with the run's symbols and error bars, the exact squares, the textbook curve and a legend,
// each where the axis system puts it; progress shows on a terminal and --quiet silences
// standard error.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "devices/screen_geometry.h"
#include "sim/common/exact_curve.h"
#include "sim/program/qmc_plot.h"
#include "support/command.h"
#include "support/energy_picture.h"
#include "support/scratch_dir.h"
#include "support/text_files.h"

namespace {

const std::string kQh2 = "'" STYLUS_BINARY_DIR "/sim/qh2'";

struct Qh2Run {
  int status;
  std::string out, err;
};

// Runs qh2 with the arguments in the current folder, without a display.
Qh2Run run_qh2(const std::string& args) {
  const CommandResult r = run_command("env -u DISPLAY " + kQh2 + " " + args + " 2>stderr.txt");
  return {r.status, r.output, read_file("stderr.txt")};
}

// The CSV text without its last column (processor seconds differ from run to run).
std::string without_cpu(const std::string& csv) {
  std::string out;
  for (const std::string& line : split_lines(csv)) out += line.substr(0, line.rfind(',')) + "\n";
  return out;
}

const char* const kSmall = "--separations 0.74,1.4 --walkers 40 --steps 60 --equilibration 20";

}  // namespace

TEST(Qh2Methods, BadOptionsGiveTheUsageOnStandardErrorAndStatusTwo) {
  ScratchDir scratch;
  for (const char* args :
       {"--method dmc --walkers -5", "--method dmc --time-step 0",
        "--method vmc --separations 2:1:0.1", "--method dmc --steps many", "--method",
        "--walkers 5", "--method dmc --device NONE",
        "--method dmc --separations 0.7 --separations 0.8", "--method dmc --bogus"}) {
    const Qh2Run r = run_qh2(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(r.out, "") << args;
    EXPECT_EQ(r.err.rfind("qh2: ", 0), 0u) << args << "\n" << r.err;
    EXPECT_NE(r.err.find("\nUsage: qh2 [--help | --version]\n       qh2 --method vmc|dmc"),
              std::string::npos)
        << args;
  }
}

TEST(Qh2Methods, CombinationsOfOptionsEndWell) {
  ScratchDir scratch;
  for (const std::string args :
       {"--method vmc --separations 0.1,100 --walkers 1 --steps 5",
        "--method dmc --separations 0.001 --walkers 1 --steps 5 --equilibration 0",
        "--method dmc --separations 3 --walkers 7 --steps 30 --time-step 1",
        "--method dmc --separations 1 --walkers 9 --steps 10 --time-step 1e-9,2e-9",
        "--method vmc --separations 0.5:0.6:0.05 --walkers 13 --target-error 10 --threads 3",
        "--method dmc --separations 0.74 --walkers 16 --steps 20 --beta 100 --seed 0",
        "--method dmc --separations 0.74 --walkers 16 --steps 20 --beta opt --threads 5"}) {
    const Qh2Run r = run_qh2(args + " --no-picture --quiet");
    EXPECT_EQ(r.status, 0) << args << "\n" << r.err;
    EXPECT_EQ(r.out.rfind("# qh2 ", 0), 0u) << args << "\n" << r.out;
    EXPECT_EQ(r.err, "") << args;
  }
}

TEST(Qh2Methods, SameSeedSameBytesOnAnyNumberOfThreads) {
  ScratchDir scratch;
  const std::string common = std::string(kSmall) + " --method dmc --time-step 0.001,0.002" +
                             " --no-picture --quiet --csv ";
  const Qh2Run one = run_qh2(common + "one.csv --threads 1");
  const Qh2Run two = run_qh2(common + "two.csv --threads 2");
  const Qh2Run three = run_qh2(common + "three.csv --threads 3");
  ASSERT_EQ(one.status, 0) << one.err;
  EXPECT_EQ(one.out, two.out);
  EXPECT_EQ(one.out, three.out);
  // Two separations at two time steps, and each separation's line to zero time step.
  int results = 0;
  for (const std::string& line : split_lines(one.out)) results += line[0] != '#';
  EXPECT_EQ(results, 6);
  const std::string csv = read_file("one.csv");
  EXPECT_EQ(split_lines(csv).size(), 1u + 6u);
  EXPECT_EQ(without_cpu(csv), without_cpu(read_file("two.csv")));
  EXPECT_EQ(without_cpu(csv), without_cpu(read_file("three.csv")));
  EXPECT_NE(run_qh2(common + "four.csv --seed 2").out, one.out);
}

TEST(Qh2Methods, TheResultsFileIsWrittenOnceAndNeverOverAnything) {
  ScratchDir scratch;
  const std::string args = std::string(kSmall) + " --method vmc --no-picture --quiet --csv r.csv";
  const Qh2Run first = run_qh2(args);
  ASSERT_EQ(first.status, 0) << first.err;
  const std::string written = read_file("r.csv");
  EXPECT_EQ(written.rfind("separation_A,energy_eV,standard_error_eV,time_step_per_eV,walkers,"
                          "acceptance,cpu_seconds\n0.740000,",
                          0),
            0u)
      << written;
  const Qh2Run second = run_qh2(args);
  EXPECT_EQ(second.status, 1);
  EXPECT_EQ(second.out, "");
  EXPECT_EQ(second.err, "qh2: r.csv exists (qh2 never writes over a file)\n");
  EXPECT_EQ(read_file("r.csv"), written);
}

TEST(Qh2Methods, DevicePngLeavesThePictureOfTheRun) {
  ScratchDir scratch;
  const Qh2Run r = run_qh2(std::string(kSmall) + " --method vmc --device PNG --quiet --csv r.csv");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Fileformat:  PNG"), std::string::npos) << r.out;  // the end protocol
  // The exact values beyond the axis system are left out, not reported by the library.
  EXPECT_EQ(r.out.find("out of axis scaling"), std::string::npos) << r.out;
  const CommandResult check = run_command("pngcheck stylus.png");
  EXPECT_EQ(check.status, 0) << check.output;
  ASSERT_EQ(run_command("pngtopnm stylus.png >decoded.ppm").status, 0);
  RgbImage img;
  ASSERT_TRUE(img.load_ppm("decoded.ppm"));

  // The axis system as the picture scales it, from the run's values in the results file.
  QmcPicture p;
  for (const std::string& line : split_lines(read_file("r.csv"))) {
    double sep, e, err;
    if (std::sscanf(line.c_str(), "%lf,%lf,%lf", &sep, &e, &err) == 3)
      p.run.push_back({sep, e, err});
  }
  ASSERT_EQ(p.run.size(), 2u);
  for (const qh2::ExactPoint& e : qh2::exact_curve())
    p.exact.push_back({e.separation, e.energy, 0});
  const PictureAxes a = picture_axes(p);
  const PixelMap map =
      PixelMap::scaled(stylus::screen_page_scale(853, 603, 2969, 2099, 1.0f), 0.5, 0.5);
  const double px = 1.0 / map.scale();  // points per pixel
  // Some pixel within radius pixels of the page point (x, y) that pred accepts.
  auto near = [&](double x, double y, bool (*pred)(Rgb), int radius = 1) {
    const int c = static_cast<int>(std::floor(map.col(x, y)));
    const int row = static_cast<int>(std::floor(map.row(x, y)));
    for (int dr = -radius; dr <= radius; ++dr)
      for (int dc = -radius; dc <= radius; ++dc)
        if (pred(img.at(c + dc, row + dr))) return true;
    return false;
  };
  auto page_x = [&](double x) { return 494.0 + x * 1979.0 / a.x_max; };
  auto page_y = [&](double y) { return 1799.0 - (y - a.y_min) * 1399.0 / (a.y_max - a.y_min); };
  bool (*yellow)(Rgb) = [](Rgb c) { return c.r > 200 && c.g > 200 && c.b < 80; };
  bool (*cyan)(Rgb) = [](Rgb c) { return c.r < 80 && c.g > 200 && c.b > 200; };

  // The run's filled yellow circles, 30 points across, with bars from e - error to e + error
  // and caps 20 points across, nothing beyond.
  const double radius = 15, gap = 1.5 * px;
  for (const EnergyPoint& e : p.run) {
    SCOPED_TRACE(e.separation);
    const double x = page_x(e.separation), y = page_y(e.energy);
    const double low = page_y(e.energy - e.error), high = page_y(e.energy + e.error);
    ASSERT_GT(low - y, radius + 3 * px) << "a bar longer than the symbol";
    ASSERT_TRUE(high > 400 && low < 1799) << "a bar inside the axis system";
    const double out = (radius + gap) / std::sqrt(2.0);
    // Filled: yellow halfway to the rim on either side of the bar, not just at the centre.
    EXPECT_TRUE(near(x - 0.5 * radius, y, yellow, 0) && near(x + 0.5 * radius, y, yellow, 0));
    EXPECT_FALSE(near(x + out, y - out, yellow, 0) || near(x - out, y + out, yellow, 0));
    EXPECT_TRUE(near(x, (low + y + radius) / 2, yellow) &&
                near(x, (high + y - radius) / 2, yellow));
    for (double end : {low, high}) {
      EXPECT_TRUE(near(x - 10 + px, end, yellow) && near(x + 10 - px, end, yellow)) << "cap";
      EXPECT_FALSE(near(x + 10 + gap, end, yellow, 0)) << "cap width";
    }
    EXPECT_FALSE(near(x, low + gap, yellow, 0) || near(x, high - gap, yellow, 0)) << "bar ends";
  }
  // The exact values inside the axis system as open cyan squares of the same size.
  int squares = 0;
  for (const EnergyPoint& e : p.exact) {
    if (e.separation > a.x_max || e.energy < a.y_min || e.energy > a.y_max) continue;
    SCOPED_TRACE(e.separation);
    const double x = page_x(e.separation), y = page_y(e.energy);
    EXPECT_TRUE(near(x - radius, y, cyan) && near(x + radius, y, cyan));
    EXPECT_TRUE(near(x, y - radius, cyan) && near(x, y + radius, cyan));
    EXPECT_FALSE(near(x, y, cyan, 0)) << "an open square";
    ++squares;
  }
  EXPECT_GE(squares, 4);

  // The legend in the lower right corner at height 32: margin 16, samples 96 long, rows 48
  // apart, the widest text "exact (Pachucki 2010)" 21 x 31 points; the box 795 x 176 one
  // margin inside the frame's corner (2473, 1799). Rows: the yellow circle without a line, the
  // cyan square without a line, the red line.
  const double right = 2473 - 16, bottom = 1799 - 16, left = right - 795, top = bottom - 176;
  const double sample = left + 16, centre = sample + 48, text = sample + 96 + 16;
  auto row = [&](int k) { return top + 16 + 48 * k + 24; };
  EXPECT_TRUE(near(left, top, light) && near(right, bottom, light)) << "frame corners";
  EXPECT_TRUE(near((left + right) / 2, bottom, light) && near(right, (top + bottom) / 2, light));
  EXPECT_TRUE(near(centre, row(0), yellow)) << "run: symbol";
  EXPECT_FALSE(near(sample + 3 * px, row(0), yellow)) << "run: no line";
  EXPECT_TRUE(near(centre - radius, row(1), cyan) && !near(centre, row(1), cyan, 0)) << "exact";
  EXPECT_FALSE(near(sample + 3 * px, row(1), cyan)) << "exact: no line";
  for (double x : {sample + px, centre, sample + 96 - px})
    EXPECT_TRUE(near(x, row(2), red)) << "textbook: line at " << x;
  for (int k = 0; k < 3; ++k) {
    int letters = 0;
    for (double x = text; x < text + 12 * 31; x += px) letters += near(x, row(k), light, 0);
    EXPECT_GT(letters, 3) << "text of line " << k;
  }
  int red_pixels = 0;
  for (int row_ = 0; row_ < img.height(); ++row_)
    for (int c = 0; c < img.width(); ++c) red_pixels += red(img.at(c, row_));
  EXPECT_GT(red_pixels, 500) << "the textbook curve";

  // --no-picture: no file.
  ScratchDir other;
  ASSERT_EQ(run_qh2(std::string(kSmall) + " --method vmc --no-picture --quiet").status, 0);
  EXPECT_FALSE(file_exists("stylus.png"));
}

TEST(Qh2Methods, ProgressOnATerminalAndQuietness) {
  ScratchDir scratch;
  // Long enough (a second or more) for the line's first tick after half a second.
  const std::string args =
      "--method dmc --separations 0.74 --walkers 500 --steps 20000 --no-picture";
  // Not a terminal: the engine note only.
  const Qh2Run plain = run_qh2(args);
  ASSERT_EQ(plain.status, 0);
  // 500 walkers are too few to share between threads.
  EXPECT_NE(plain.err.find("qh2: dmc at 1 separation x 1 time step on 1 thread, "),
            std::string::npos)
      << plain.err;
  EXPECT_NE(plain.err.find(" kernels\n"), std::string::npos);
  EXPECT_EQ(plain.err.find("done"), std::string::npos);
  // On a terminal (script gives the program one), the progress line, erased at the end.
  const CommandResult tty =
      run_command("script -qec \"env -u DISPLAY " + kQh2 + " " + args + " >/dev/null\" /dev/null");
  EXPECT_EQ(tty.status, 0);
  EXPECT_NE(tty.output.find("qh2: R = 0.740000 A (1 of 1), "), std::string::npos) << tty.output;
  EXPECT_NE(tty.output.find("% done"), std::string::npos);
  EXPECT_NE(tty.output.find("\r\033[K"), std::string::npos);
  const CommandResult quiet = run_command("script -qec \"env -u DISPLAY " + kQh2 + " " + args +
                                          " --quiet >/dev/null\" /dev/null");
  EXPECT_EQ(quiet.status, 0);
  EXPECT_EQ(quiet.output, "");
}

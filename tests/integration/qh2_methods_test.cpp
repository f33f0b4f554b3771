// qh2 --method as a user runs it: bad options give the usage on standard error and status 2;
// combinations of options end well; the same seed gives the same bytes on any number of
// threads; the CSV file is written once and never over anything; --device PNG leaves a picture
// with the run's symbols, the exact squares and the textbook curve; progress shows on a
// terminal and --quiet silences standard error.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "support/command.h"
#include "support/scratch_dir.h"
#include "support/text_files.h"

namespace {

const std::string kQh2 = "'" STYLUS_BINARY_DIR "/sim/qh2'";

struct Qh2Run {
  int status;
  std::string out, err;
};

// Runs qh2 with the arguments in the current folder, without a display.
Qh2Run qh2(const std::string& args) {
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
    const Qh2Run r = qh2(args);
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
    const Qh2Run r = qh2(args + " --no-picture --quiet");
    EXPECT_EQ(r.status, 0) << args << "\n" << r.err;
    EXPECT_EQ(r.out.rfind("# qh2 ", 0), 0u) << args << "\n" << r.out;
    EXPECT_EQ(r.err, "") << args;
  }
}

TEST(Qh2Methods, SameSeedSameBytesOnAnyNumberOfThreads) {
  ScratchDir scratch;
  const std::string common = std::string(kSmall) + " --method dmc --time-step 0.001,0.002" +
                             " --no-picture --quiet --csv ";
  const Qh2Run one = qh2(common + "one.csv --threads 1");
  const Qh2Run two = qh2(common + "two.csv --threads 2");
  const Qh2Run three = qh2(common + "three.csv --threads 3");
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
  EXPECT_NE(qh2(common + "four.csv --seed 2").out, one.out);
}

TEST(Qh2Methods, TheResultsFileIsWrittenOnceAndNeverOverAnything) {
  ScratchDir scratch;
  const std::string args = std::string(kSmall) + " --method vmc --no-picture --quiet --csv r.csv";
  const Qh2Run first = qh2(args);
  ASSERT_EQ(first.status, 0) << first.err;
  const std::string written = read_file("r.csv");
  EXPECT_EQ(written.rfind("separation_A,energy_eV,standard_error_eV,time_step_per_eV,walkers,"
                          "acceptance,cpu_seconds\n0.740000,",
                          0),
            0u)
      << written;
  const Qh2Run second = qh2(args);
  EXPECT_EQ(second.status, 1);
  EXPECT_EQ(second.out, "");
  EXPECT_EQ(second.err, "qh2: r.csv exists (qh2 never writes over a file)\n");
  EXPECT_EQ(read_file("r.csv"), written);
}

TEST(Qh2Methods, DevicePngLeavesThePictureOfTheRun) {
  ScratchDir scratch;
  const Qh2Run r = qh2(std::string(kSmall) + " --method vmc --device PNG --quiet");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Fileformat:  PNG"), std::string::npos) << r.out;  // the end protocol
  const CommandResult check = run_command("pngcheck stylus.png");
  EXPECT_EQ(check.status, 0) << check.output;
  // The run's yellow crosses, the exact values' cyan squares and the textbook run's red curve.
  const CommandResult ppm =
      run_command("pngtopnm stylus.png | pnmnoraw | tail -n +4 | tr -s ' \\n' '\\n'");
  ASSERT_EQ(ppm.status, 0);
  std::vector<int> v;
  for (const std::string& s : split_lines(ppm.output)) {
    if (!s.empty()) v.push_back(std::stoi(s));
  }
  int yellow = 0, cyan = 0, red = 0;
  for (std::size_t i = 0; i + 2 < v.size(); i += 3) {
    yellow += v[i] > 200 && v[i + 1] > 200 && v[i + 2] < 80;
    cyan += v[i] < 80 && v[i + 1] > 200 && v[i + 2] > 200;
    red += v[i] > 200 && v[i + 1] < 80 && v[i + 2] < 80;
  }
  EXPECT_GT(yellow, 20);
  EXPECT_GT(cyan, 100);
  EXPECT_GT(red, 500);
  // --no-picture: no file.
  ScratchDir other;
  ASSERT_EQ(qh2(std::string(kSmall) + " --method vmc --no-picture --quiet").status, 0);
  EXPECT_FALSE(file_exists("stylus.png"));
}

TEST(Qh2Methods, ProgressOnATerminalAndQuietness) {
  ScratchDir scratch;
  // Long enough (a second or more) for the line's first tick after half a second.
  const std::string args =
      "--method dmc --separations 0.74 --walkers 500 --steps 20000 --no-picture";
  // Not a terminal: the engine note only.
  const Qh2Run plain = qh2(args);
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

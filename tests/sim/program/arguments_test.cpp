// qh2's command line as parse_arguments reads it: --help and --version alone are their actions,
// --method with its options a run; anything else is a usage error that says what is wrong.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <utility>
#include <vector>

#include "sim/common/exact_curve.h"
#include "sim/program/arguments.h"

namespace {

Arguments parse(std::initializer_list<const char*> words) {
  std::vector<const char*> argv = {"qh2"};
  argv.insert(argv.end(), words);
  return parse_arguments(static_cast<int>(argv.size()), argv.data());
}

}  // namespace

TEST(Arguments, NoneRunsTheScanAndEachOptionAloneIsItsAction) {
  EXPECT_EQ(parse({}).action, Arguments::Action::run);
  EXPECT_EQ(parse({"--help"}).action, Arguments::Action::help);
  EXPECT_EQ(parse({"--version"}).action, Arguments::Action::version);
}

TEST(Arguments, AnythingElseIsAUsageErrorNamingTheFirstArgument) {
  const Arguments both = parse({"--help", "--version"});
  EXPECT_EQ(both.action, Arguments::Action::usage_error);
  EXPECT_EQ(both.error, "unknown argument '--help'");
  EXPECT_EQ(parse({"--version", "x"}).error, "unknown argument '--version'");
  EXPECT_EQ(parse({"-h"}).error, "unknown argument '-h'");
  EXPECT_EQ(parse({""}).error, "unknown argument ''");
  EXPECT_EQ(parse({"--help="}).action, Arguments::Action::usage_error);
}

TEST(Arguments, MethodOptionsWithTheirDefaults) {
  const Arguments dmc = parse({"--method", "dmc"});
  ASSERT_EQ(dmc.action, Arguments::Action::qmc);
  EXPECT_EQ(dmc.qmc.settings.method, qh2::dmc::Method::dmc);
  ASSERT_EQ(dmc.qmc.separations.size(), 59u);  // the textbook run's, as exact decimals
  EXPECT_EQ(dmc.qmc.separations.front(), 0.1);
  EXPECT_EQ(dmc.qmc.separations[4], 0.3);  // as typed, not 0.1 + 4 * 0.05
  EXPECT_EQ(dmc.qmc.separations.back(), 3.0);
  EXPECT_TRUE(std::isnan(dmc.qmc.settings.beta));  // optimised
  EXPECT_EQ(dmc.qmc.time_steps, std::vector<double>{0.0004});
  // A smaller target error, a smaller time step (its bias stays near a third of the target).
  EXPECT_NEAR(parse({"--method", "dmc", "--target-error", "0.003"}).qmc.time_steps.at(0), 0.00012,
              1e-15);
  EXPECT_TRUE(dmc.qmc.picture);
  EXPECT_EQ(dmc.qmc.device, "CONS");
  const Arguments vmc = parse({"--method=vmc"});
  EXPECT_EQ(vmc.qmc.settings.beta, 0.25);  // qh2's own trial function
  EXPECT_EQ(vmc.qmc.time_steps, std::vector<double>{0.011});

  const Arguments all = parse({"--method",
                               "dmc",
                               "--separations",
                               "0.5,1:2:0.5,0.74",
                               "--walkers",
                               "300",
                               "--time-step=0.001,0.002",
                               "--steps",
                               "500",
                               "--target-error",
                               "0.02",
                               "--equilibration",
                               "0",
                               "--beta",
                               "1.2",
                               "--seed",
                               "18446744073709551615",
                               "--threads",
                               "3",
                               "--csv",
                               "out.csv",
                               "--device",
                               "png",
                               "--no-picture",
                               "--quiet"});
  ASSERT_EQ(all.action, Arguments::Action::qmc) << all.error;
  const QmcOptions& o = all.qmc;
  EXPECT_EQ(o.separations, (std::vector<double>{0.5, 1.0, 1.5, 2.0, 0.74}));
  const Arguments nine = parse({"--method", "dmc", "--separations", "exact,4"});
  ASSERT_EQ(nine.qmc.separations.size(), 10u);
  EXPECT_EQ(nine.qmc.separations[3], qh2::exact_curve()[3].separation);  // 1.4 bohr
  EXPECT_EQ(nine.qmc.separations[9], 4.0);
  EXPECT_EQ(o.settings.walkers, 300);
  EXPECT_EQ(o.time_steps, (std::vector<double>{0.001, 0.002}));
  EXPECT_EQ(o.settings.steps, 500);
  EXPECT_EQ(o.settings.target_error, 0.02);
  EXPECT_EQ(o.settings.equilibration, 0);
  EXPECT_EQ(o.settings.beta, 1.2);
  EXPECT_EQ(o.settings.seed, 18446744073709551615ull);
  EXPECT_EQ(o.threads, 3);
  EXPECT_EQ(o.csv, "out.csv");
  EXPECT_EQ(o.device, "png");
  EXPECT_FALSE(o.picture);
  EXPECT_TRUE(o.quiet);
}

TEST(Arguments, BadValuesAreUsageErrorsThatSayWhatIsWrong) {
  const std::pair<std::vector<const char*>, const char*> cases[] = {
      {{"--method", "dmc", "--walkers", "-5"}, "--walkers: '-5' is not a whole number of walkers"},
      {{"--method", "dmc", "--walkers", "0"},
       "--walkers: '0': the walkers must number 1 to 1000000"},
      {{"--method", "dmc", "--time-step", "0"},
       "--time-step: '0': a time step must lie in (0, 1] 1/eV"},
      {{"--method", "dmc", "--separations", "3:1:0.1"},
       "--separations: '3:1:0.1': the range '3:1:0.1' is empty (it needs FROM <= TO and STEP > 0)"},
      {{"--method", "dmc", "--separations", "1:2:0"},
       "--separations: '1:2:0': the range '1:2:0' is empty (it needs FROM <= TO and STEP > 0)"},
      {{"--method", "dmc", "--seed", "ten"},
       "--seed: 'ten' is not a whole number from 0 to 2^64-1"},
      {{"--method", "dmc", "--seed", "18446744073709551616"},
       "--seed: '18446744073709551616' is not a whole number from 0 to 2^64-1"},
      {{"--method", "dmc", "--target-error", "nan"}, "--target-error: 'nan' is not a number"},
      {{"--method", "dmc", "--separations", "0.5,,1"},
       "--separations: '0.5,,1': '' is not a separation or a range FROM:TO:STEP"},
      {{"--method", "dmc", "--separations", "-1"},
       "--separations: '-1': separations must lie in (0, 100] A"},
      {{"--method", "hmc"}, "--method: 'hmc' is not a method (vmc or dmc)"},
      {{"--method", "dmc", "--device", "XXXX"},
       "--device: 'XXXX' is not a device keyword of metafl"},
      {{"--method", "dmc", "--threads"}, "--threads needs a value"},
      {{"--method", "dmc", "--steps", "1", "--steps", "2"}, "--steps is given twice"},
      {{"--method", "dmc", "--quiet=yes"}, "unknown argument '--quiet=yes'"},
      {{"--walkers", "10"},
       "the options need --method vmc or dmc (without options qh2 makes the "
       "textbook run)"},
      {{"--method", "dmc", "--help"}, "unknown argument '--help'"},
  };
  for (const auto& [words, message] : cases) {
    std::vector<const char*> argv = {"qh2"};
    argv.insert(argv.end(), words.begin(), words.end());
    const Arguments a = parse_arguments(static_cast<int>(argv.size()), argv.data());
    EXPECT_EQ(a.action, Arguments::Action::usage_error) << message;
    EXPECT_EQ(a.error, message);
  }
}

// qh2's command line as parse_arguments reads it: each option alone is its action, anything
// else is a usage error that names the first argument.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

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

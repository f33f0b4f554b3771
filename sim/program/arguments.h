// qh2's command line: what the user asks the program to do. Without options it makes the
// textbook run; --method asks for a variational or diffusion Monte Carlo run with error bars,
// which the other options describe. Each option is parsed here and has its line in the usage.
#pragma once

#include <string>
#include <vector>

#include "sim/dmc/run.h"

// A variational or diffusion run as the options describe it.
struct QmcOptions {
  qh2::dmc::Settings settings;
  std::vector<double> separations;  // A
  std::vector<double> time_steps;   // 1/eV: each separation is run at each
  int threads = 0;                  // 0: as many as the processor has
  std::string csv;                  // the results file, empty for none
  std::string device = "CONS";      // the picture's device keyword
  bool picture = true;
  bool quiet = false;  // no engine note and no progress on standard error
};

struct Arguments {
  enum class Action { run, help, version, usage_error, qmc };
  Action action = Action::run;
  std::string error;  // for usage_error: what is wrong, without the program's name
  QmcOptions qmc;     // for qmc
};

// The usage text, for --help and after a usage error.
extern const char* const kUsage;

Arguments parse_arguments(int argc, const char* const* argv);

// The separations of a list of numbers and ranges a:b:step separated by commas (A), for
// --separations; false with a message for text that is not such a list.
bool parse_separations(const std::string& text, std::vector<double>& out, std::string& error);

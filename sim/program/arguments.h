// qh2's command line: what the user asks the program to do. The computation itself takes no
// options yet; a new option is parsed here and gets its line in the usage text.
#pragma once

#include <string>

struct Arguments {
  enum class Action { run, help, version, usage_error };
  Action action = Action::run;
  std::string error;  // for usage_error: what is wrong, without the program's name
};

// The usage text, for --help and after a usage error.
extern const char* const kUsage;

Arguments parse_arguments(int argc, const char* const* argv);

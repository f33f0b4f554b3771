// The usage text and the parsing of qh2's command line.
#include "sim/program/arguments.h"

#include <string_view>

const char* const kUsage =
    "Usage: qh2 [--help | --version]\n"
    "\n"
    "Computes the ground-state energy of the hydrogen molecule by quantum Monte Carlo at 59\n"
    "separations of the nuclei (0.1 to 3.0 A), prints one result line per separation, then\n"
    "draws the energy curve with the STYLUS library in a screen window and waits until the\n"
    "right mouse button is released over it (without a display the picture is kept as\n"
    "stylus.png). Nothing is read; every run prints the same lines.\n"
    "\n"
    "  --help     print this text and exit\n"
    "  --version  print the version and exit\n";

Arguments parse_arguments(int argc, const char* const* argv) {
  Arguments args;
  if (argc <= 1) return args;
  // --help and --version stand alone: with anything else the first argument is the one
  // the user is told about.
  const std::string_view first = argv[1];
  if (argc == 2 && first == "--help") {
    args.action = Arguments::Action::help;
  } else if (argc == 2 && first == "--version") {
    args.action = Arguments::Action::version;
  } else {
    args.action = Arguments::Action::usage_error;
    args.error = "unknown argument '" + std::string(first) + "'";
  }
  return args;
}

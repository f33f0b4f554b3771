// qh2: ground-state energy of the hydrogen molecule by quantum Monte Carlo at 59
// separations of the nuclei, one result line each on standard output, then the energy
// curve in a screen window until the user releases the right mouse button over it.
#include <cstdio>
#include <cstring>
#include <iostream>

#include "sim/program/driver.h"
#include "sim/program/energy_plot.h"
#include "stylus.h"

namespace {

constexpr const char* kUsage =
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

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
      std::printf("qh2 %s (STYLUS %.1f)\n", QH2_VERSION, static_cast<double>(getver()));
      return 0;
    }
    std::fprintf(stderr, "qh2: unknown argument '%s'\n%s", argv[1], kUsage);
    return 2;
  }
  ScanPoints scan = qh2_scan(std::cout);
  // The result lines go through the stream, the library's messages through stdio.
  std::cout.flush();
  plot_energy_curve(scan, "cons");
  return 0;
}

// qh2: ground-state energy of the hydrogen molecule by quantum Monte Carlo. Without options the
// textbook run: 59 separations of the nuclei, one result line each on standard output, then
// the energy curve in a screen window until the user releases the right mouse button over it.
// With --method, variational or diffusion Monte Carlo with error bars (sim/program/qmc_run.h).
#include <cstdio>
#include <iostream>

#include "sim/program/arguments.h"
#include "sim/program/driver.h"
#include "sim/program/energy_plot.h"
#include "sim/program/qmc_run.h"
#include "stylus.h"

int main(int argc, char** argv) {
  const Arguments args = parse_arguments(argc, argv);
  switch (args.action) {
    case Arguments::Action::help:
      std::fputs(kUsage, stdout);
      return 0;
    case Arguments::Action::version:
      std::printf("qh2 %s (STYLUS %.1f)\n", QH2_VERSION, static_cast<double>(getver()));
      return 0;
    case Arguments::Action::usage_error:
      std::fprintf(stderr, "qh2: %s\n%s", args.error.c_str(), kUsage);
      return 2;
    case Arguments::Action::qmc:
      return run_qmc(args.qmc, std::cout);
    case Arguments::Action::run:
      break;
  }
  ScanPoints scan = qh2_scan(std::cout);
  // The result lines go through the stream, the library's messages through stdio.
  std::cout.flush();
  plot_energy_curve(scan, "cons");
  return 0;
}

// The plain program the benchmark measures qh2 against: the same start-up, result lines
// and plot, with the scan computed by the sequential routines alone, on one thread.
#include <iostream>

#include "sim/program/driver.h"
#include "sim/program/energy_plot.h"
#include "sim/reference/scan.h"

int main() {
  qh2_startup();
  ScanPoints scan = qh2::reference::reference_scan(std::cout);
  std::cout.flush();
  plot_energy_curve(scan, "cons");
  return 0;
}

// energy_curve: runs the hydrogen-molecule scan and draws qh2's energy curve with the
// program's own plotting calls on the device named by the first argument ("POST" when none
// is given; "CONS" for the screen, "PNG" for a PNG image, ...). The tests read its files
// back; `make picture` makes the README's picture with it.
#include <iostream>

#include "sim/program/driver.h"
#include "sim/program/energy_plot.h"

int main(int argc, char** argv) {
  ScanPoints scan = qh2_scan(std::cout);
  plot_energy_curve(scan, argc > 1 ? argv[1] : "POST");
  return 0;
}

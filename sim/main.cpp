// qh2: ground-state energy of the hydrogen molecule by quantum Monte Carlo at 59
// separations of the nuclei, one result line each on standard output, then the energy
// curve in a screen window until the user releases the right mouse button over it.
#include <iostream>

#include "sim/driver.h"
#include "sim/energy_curve.h"

int main() {
  ScanPoints scan = qh2_scan(std::cout);
  // The result lines go through the stream, the library's messages through stdio.
  std::cout.flush();
  plot_energy_curve(scan);
  return 0;
}

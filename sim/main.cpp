// qh2: ground-state energy of the hydrogen molecule by quantum Monte Carlo at 59
// separations of the nuclei, one result line each on standard output.
#include <iostream>

#include "sim/driver.h"

int main() {
  qh2_scan(std::cout);
  return 0;
}

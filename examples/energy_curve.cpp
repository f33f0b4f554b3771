// energy_curve: runs the hydrogen-molecule scan and draws its energy curve with the
// program's own sequence of plotting calls, on the device named by the first argument
// ("POST" when none is given; "CONS" for the screen, "PSCL" for colour PostScript, ...).
#include <iostream>

#include "sim/driver.h"
#include "stylus.h"

int main(int argc, char** argv) {
  const char* device = argc > 1 ? argv[1] : "POST";
  ScanPoints scan = qh2_scan(std::cout);

  metafl(device);
  disini();
  height(50);
  hname(50);
  labdig(2, "X");
  labdig(2, "Y");
  name("Separation (A)", "X");
  name("Energy (eV)", "Y");
  graf(0.0f, 3.0f, 0.0f, 0.5f, -32.5f, -23.0f, -32.5f, 1.0f);
  linwid(4);
  color("red");
  curve(scan.xsep.data(), scan.yene.data(), scan.npts);
  disfin();
  return 0;
}

// The driver's start-up values and the program's scan, which the engine computes.
#include "sim/program/driver.h"

#include "sim/engine/engine.h"
#include "sim/reference/records.h"

void qh2_startup() {
  using namespace qh2::reference;
  nparam.delta = 1.0f;
  nparam.tau = 1.0e-5f;
  nparam.nwalk = 900;
  nparam.seed = 76453456.0;
  nparam.neq = 100;
  const_.hbar2m = 7.6359f;
  const_.e2 = 14.409f;
  const_.a0 = const_.hbar2m / const_.e2;
  const_.alpha = const_.a0 + const_.a0;
  pparam.beta = 0.25f;
}

ScanPoints qh2_scan(std::ostream& out) {
  qh2_startup();
  return qh2::engine_scan(out);
}

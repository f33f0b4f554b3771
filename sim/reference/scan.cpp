// The driver's scan by the sequential routines. The separation is accumulated by
// single-precision addition, so its values drift (2.99999833 at the end).
#include "sim/reference/scan.h"

#include "sim/reference/ensemble.h"
#include "sim/reference/records.h"
#include "sim/reference/wavefunction.h"

namespace qh2::reference {

// The engine's scan is engine_scan (sim/engine/engine.cpp); they must agree to the byte,
// tests/sim/engine/engine_test.cpp compares them.
ScanPoints reference_scan(std::ostream& out, int points) {
  ScanPoints scan;
  scan.xsep.resize(points);
  scan.yene.resize(points);
  std::vector<float> xw(6 * static_cast<std::size_t>(nparam.nwalk));
  std::vector<float> wt(nparam.nwalk);
  float xc[6];
  float s = 0.1f;
  for (int n = 0; n < points; ++n) {
    scan.npts = scan.npts + 1;
    pparam.sep = s;
    pcalc.shalf = s * 0.5f;
    pcalc.a = apar(const_.a0, pparam.sep);
    intens(xw.data(), wt.data(), xc);
    float etmp;
    for (int i = 0; i < nparam.neq; ++i) tstep(xw.data(), wt.data(), etmp);
    float esum = 0.0f;
    tstep(xw.data(), wt.data(), etmp);
    esum = esum + etmp;
    write_result_line(out, s, esum);
    scan.xsep[n] = s;
    scan.yene[n] = esum;
    s = s + 0.05f;
  }
  return scan;
}

}  // namespace qh2::reference

// The driver's start-up and its scan over the separations. The separation is
// accumulated by single-precision addition, so its values drift (2.99999833 at the end).
#include "sim/driver.h"

#include "sim/engine.h"
#include "sim/ensemble.h"
#include "sim/list_writer.h"
#include "sim/records.h"
#include "sim/wavefunction.h"

void qh2_startup() {
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

void write_result_line(std::ostream& out, float separation, float energy) {
  ListWriter w(out);
  w.text("separacia = ").real(separation).text("  energia = ").real(energy).text("eV");
  w.end();
}

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

ScanPoints qh2_scan(std::ostream& out) {
  qh2_startup();
  return qh2::engine_scan(out);
}

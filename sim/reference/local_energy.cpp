// Local energy: kinetic part from the orbital and Jastrow Laplacians and their cross
// terms, electron potential, and the repulsion of the two centres.
#include "sim/reference/local_energy.h"

#include "sim/reference/records.h"
#include "sim/reference/wavefunction.h"

namespace qh2::reference {

// The engine's lane version is local_energy_of (sim/engine/engine_eval.h); they must agree,
// tests/sim/engine/engine_test.cpp compares them.
float elocal(const float* c) {
  float fx1, fx2, fy1, fy2, fz1, fz2, fr1l, fr2l, fr1r, fr2r, fr12;
  radii(c, fx1, fx2, fy1, fy2, fz1, fz2, fr1l, fr2l, fr1r, fr2r, fr12);
  const double x1 = fx1, x2 = fx2, y1 = fy1, y2 = fy2, z1 = fz1, z2 = fz2;
  const double r1l = fr1l, r2l = fr2l, r1r = fr1r, r2r = fr2r, r12 = fr12;
  const double sep = pparam.sep, e2 = const_.e2, hbar2m = const_.hbar2m;

  // Cosines between each electron-centre direction and r1 - r2.
  const double p = static_cast<float>((x1 - x2) * x1 + (y1 - y2) * y1 + (z1 - z2) * z1);
  const double q = static_cast<float>((z1 - z2) * sep / 2.0);
  const double c1l = static_cast<float>((p + q) / r12 / r1l);
  const double c2l = static_cast<float>(((p + q) - r12 * r12) / r12 / r2l);
  const double c1r = static_cast<float>((p - q) / r12 / r1r);
  const double c2r = static_cast<float>(((p - q) - r12 * r12) / r12 / r2r);

  const double phi1 = static_cast<float>(static_cast<double>(chi(fr1l)) + chi(fr1r));
  const double phi2 = static_cast<float>(static_cast<double>(chi(fr2l)) + chi(fr2r));
  const double f = fee(fr12);

  const double tj = static_cast<float>(2.0 * lapfee(fr12) / f);
  const double t1 = static_cast<float>((static_cast<double>(lapchi(fr1l)) + lapchi(fr1r)) / phi1);
  const double t2 = static_cast<float>((static_cast<double>(lapchi(fr2l)) + lapchi(fr2r)) / phi2);
  const double g1 =
      static_cast<float>((static_cast<double>(fdchi(fr1l)) * c1l + fdchi(fr1r) * c1r) / phi1);
  const double g2 =
      static_cast<float>((static_cast<double>(fdchi(fr2l)) * c2l + fdchi(fr2r) * c2r) / phi2);
  const double tx = static_cast<float>(2.0 * fdfee(fr12) * (g1 - g2) / f);

  const double t = static_cast<float>(-(tj + t1 + t2 + tx) * hbar2m / 2.0);
  const double v =
      static_cast<float>(-(1.0 / r1l + 1.0 / r1r + 1.0 / r2l + 1.0 / r2r - 1.0 / r12) * e2);
  return static_cast<float>(t + v + e2 / sep);
}

}  // namespace qh2::reference

// Drift: the orbital part of grad ln psi per electron (the B terms carry the z offsets
// of the centres) and the Jastrow part J, with opposite signs for the two electrons.
#include "sim/reference/drift.h"

#include "sim/reference/records.h"
#include "sim/reference/wavefunction.h"

namespace qh2::reference {

// The engine's lane version is drift_of (sim/engine/engine_eval.h); they must agree,
// tests/sim/engine/engine_test.cpp compares them.
void drift(const float* c, float* d) {
  float fx1, fx2, fy1, fy2, fz1, fz2, fr1l, fr2l, fr1r, fr2r, fr12;
  radii(c, fx1, fx2, fy1, fy2, fz1, fz2, fr1l, fr2l, fr1r, fr2r, fr12);
  const double x1 = fx1, x2 = fx2, y1 = fy1, y2 = fy2, z1 = fz1, z2 = fz2;
  const double r1l = fr1l, r2l = fr2l, r1r = fr1r, r2r = fr2r, r12 = fr12;
  const double k = pcalc.dscale, h = pcalc.shalf;

  const double phi1 = static_cast<float>(static_cast<double>(chi(fr1l)) + chi(fr1r));
  const double phi2 = static_cast<float>(static_cast<double>(chi(fr2l)) + chi(fr2r));
  const double f = fee(fr12);
  const double d1l = fdchi(fr1l), d1r = fdchi(fr1r), d2l = fdchi(fr2l), d2r = fdchi(fr2r);

  const double a1 = static_cast<float>((d1l / r1l + d1r / r1r) * k / phi1);
  const double b1 = static_cast<float>((d1l / r1l - d1r / r1r) * k / phi1);
  const double j = static_cast<float>(fdfee(fr12) * k / f / r12);
  d[0] = static_cast<float>(a1 * x1 + (x1 - x2) * j);
  d[1] = static_cast<float>(a1 * y1 + (y1 - y2) * j);
  d[2] = static_cast<float>(a1 * z1 + (z1 - z2) * j + b1 * h);

  const double a2 = static_cast<float>((d2l / r2l + d2r / r2r) * k / phi2);
  const double b2 = static_cast<float>((d2l / r2l - d2r / r2r) * k / phi2);
  d[3] = static_cast<float>(a2 * x2 - (x1 - x2) * j);
  d[4] = static_cast<float>(a2 * y2 - (y1 - y2) * j);
  d[5] = static_cast<float>(a2 * z2 - (z1 - z2) * j + b2 * h);
}

}  // namespace qh2::reference

// qh2's trial wave function in double precision, for the diffusion engine: the orbital
// (chi(r1L) + chi(r1R)) (chi(r2L) + chi(r2R)), chi(r) = exp(-r/a), times the Jastrow factor
// exp(r12 / (alpha (1 + beta r12))); its logarithm, gradient (the drift) and local energy, in
// lanes. The formulas are those of the single-precision routines (sim/reference/:
// wavefunction.cpp, local_energy.cpp, drift.cpp), rewritten with the orbital ratios
// chi(r)/Phi, which stay finite for electrons at any distance.
#pragma once

#include "sim/common/lanes.h"
#include "sim/dmc/lane_math.h"

namespace qh2::dmc {

// qh2's constants (sim/program/driver.cpp), in double: e^2 in eV A, hbar^2/m in eV A^2. Their
// ratio is the length unit a0 = hbar2m / e2 and e2^2 / hbar2m the energy unit, so that
// E(R) = kHartree E_au(R / kBohr) for an energy E_au in atomic units.
inline constexpr double kE2 = 14.409;
inline constexpr double kHbar2m = 7.6359;
inline constexpr double kBohr = kHbar2m / kE2;
inline constexpr double kHartree = kE2 * kE2 / kHbar2m;

// The parameters of the trial function at one separation.
struct Trial {
  double sep;    // separation of the nuclei (A); they sit at z = -sep/2 (L) and +sep/2 (R)
  double a;      // decay length of the orbital (A)
  double alpha;  // Jastrow cusp length 2 a0 (A)
  double beta;   // Jastrow range parameter (1/A)
};

// The decay length a that solves a (1 + exp(-sep/a)) = a0 (apar's equation, solved by the
// same fixed-point iteration in double precision to the last bits): with it the orbital
// has the nuclear cusp, as alpha = 2 a0 gives the electron-electron cusp.
double decay_length(double sep);

// The trial function at the separation sep with the Jastrow parameter beta.
Trial make_trial(double sep, double beta);

// What the engine keeps of a configuration: ln psi = lead + ln(weights), split so that ratios
// of psi need only exp of differences; the gradient of ln psi (1/A); the local energy (eV).
template <class D>
struct Evaluation {
  D lead;    // -(min(r1L, r1R) + min(r2L, r2R)) / a + J(r12)
  D pair;    // (1 + q1) (1 + q2), q = exp(-|rL - rR| / a): psi = exp(lead) pair
  D g[6];    // grad ln psi: x1, y1, z1, x2, y2, z2
  D energy;  // local energy (H psi) / psi
};

// The evaluation of a configuration c (x1, y1, z1, x2, y2, z2 in A). An electron on a
// nucleus or the two electrons at one point give values that are not finite; the engine
// rejects moves that lead there.
template <class M, class D = typename M::D>
QH2_INLINE Evaluation<D> evaluate(const Trial& t, const D* c) {
  const double h = 0.5 * t.sep, inv_a = 1.0 / t.a;
  const D x1 = c[0], y1 = c[1], z1 = c[2], x2 = c[3], y2 = c[4], z2 = c[5];
  const D z1l = z1 + h, z1r = z1 - h, z2l = z2 + h, z2r = z2 - h;
  const D rho1 = x1 * x1 + y1 * y1, rho2 = x2 * x2 + y2 * y2;
  const D r1l = M::sqrt(rho1 + z1l * z1l), r1r = M::sqrt(rho1 + z1r * z1r);
  const D r2l = M::sqrt(rho2 + z2l * z2l), r2r = M::sqrt(rho2 + z2r * z2r);
  const D dx = x1 - x2, dy = y1 - y2, dz = z1 - z2;
  const D r12 = M::sqrt(dx * dx + dy * dy + dz * dz);

  // Divisions are the costly operations: each reciprocal is taken once.
  const D i1l = 1.0 / r1l, i1r = 1.0 / r1r, i2l = 1.0 / r2l, i2r = 1.0 / r2r, i12 = 1.0 / r12;

  // chi(r1L) / Phi1 and chi(r1R) / Phi1 from q1 = exp(-|r1L - r1R| / a): the nearer centre's
  // share is 1 / (1 + q1), the other's q1 / (1 + q1).
  const D q1 = exp_of<M>(-abs_of(r1l - r1r) * inv_a), q2 = exp_of<M>(-abs_of(r2l - r2r) * inv_a);
  const D p1 = 1.0 + q1, p2 = 1.0 + q2, inv_pair = 1.0 / (p1 * p2);
  const D near1 = p2 * inv_pair, near2 = p1 * inv_pair;
  const auto left1 = M::less(r1l, r1r), left2 = M::less(r2l, r2r);
  const D w1l = select(left1, near1, q1 * near1), w1r = select(left1, q1 * near1, near1);
  const D w2l = select(left2, near2, q2 * near2), w2r = select(left2, q2 * near2, near2);

  // The Jastrow exponent J(r) = r / (alpha u), u = 1 + beta r, and its derivatives.
  const D iu = 1.0 / (1.0 + t.beta * r12);
  const double inv_alpha = 1.0 / t.alpha;
  const D jd = iu * iu * inv_alpha;                          // J'
  const D jdd = (-2.0 * t.beta * inv_alpha) * iu * iu * iu;  // J''

  Evaluation<D> e;
  e.lead = -(min_of<M>(r1l, r1r) + min_of<M>(r2l, r2r)) * inv_a + r12 * iu * inv_alpha;
  e.pair = p1 * p2;

  // grad ln Phi_i = chi'/Phi along the unit vectors from each centre, chi' = -chi / a.
  const D a1l = w1l * inv_a * i1l, a1r = w1r * inv_a * i1r;
  const D a2l = w2l * inv_a * i2l, a2r = w2r * inv_a * i2r;
  const D o1[3] = {-(a1l + a1r) * x1, -(a1l + a1r) * y1, -(a1l * z1l + a1r * z1r)};
  const D o2[3] = {-(a2l + a2r) * x2, -(a2l + a2r) * y2, -(a2l * z2l + a2r * z2r)};
  // grad ln f = J' (r1 - r2) / r12 for electron 1, the opposite for electron 2.
  const D j = jd * i12;
  const D n[3] = {dx * j, dy * j, dz * j};
  for (int k = 0; k < 3; ++k) {
    e.g[k] = o1[k] + n[k];
    e.g[3 + k] = o2[k] - n[k];
  }

  // Laplacians over psi: the orbital's (chi'' + 2 chi'/r) / Phi per electron, the Jastrow
  // factor's f''/f + 2 f'/(f r) for both electrons, and twice the cross terms
  // grad ln Phi1 . grad ln f + grad ln Phi2 . grad ln f2 (local_energy.cpp's T1, T2, TJ, TX).
  const double inv_a2 = inv_a * inv_a, two_inv_a = 2.0 * inv_a;
  const D t1 = w1l * (inv_a2 - two_inv_a * i1l) + w1r * (inv_a2 - two_inv_a * i1r);
  const D t2 = w2l * (inv_a2 - two_inv_a * i2l) + w2r * (inv_a2 - two_inv_a * i2r);
  const D tj = 2.0 * (jdd + jd * jd + 2.0 * j);
  const D tx = 2.0 * ((o1[0] - o2[0]) * n[0] + (o1[1] - o2[1]) * n[1] + (o1[2] - o2[2]) * n[2]);
  const D kinetic = -(tj + t1 + t2 + tx) * (kHbar2m / 2.0);
  const D potential = -(i1l + i1r + i2l + i2r - i12) * kE2;
  e.energy = kinetic + potential + kE2 / t.sep;
  return e;
}

}  // namespace qh2::dmc

// The engine's evaluation of a configuration: geometry, then chi and f with their
// derivatives computed once and shared by psi, the local energy and the drift. The
// expressions are those of the sequential routines (sim/reference/: wavefunction.cpp,
// local_energy.cpp, drift.cpp), evaluated in double and rounded where they store, so every value is
// the same to the bit; only the repeated evaluations of exp are gone. M is the instruction set's
// lane arithmetic (see kernels.h); values that are stored as single precision are held widened,
// already rounded (M::rnd).
#pragma once

#include "sim/common/lanes.h"
#include "sim/engine/vector_exp.h"

namespace qh2 {

// The parameters of one separation, widened once.
struct Shape {
  double a, alpha, beta, shalf, sep, e2, hbar2m, dscale;
};

// A configuration and the values that depend on it alone.
template <class D>
struct Point {
  D x1, y1, z1, x2, y2, z2;
  D r1l, r1r, r2l, r2r, r12;
  D chi1l, chi1r, chi2l, chi2r;  // chi at the four electron-centre distances
  D f;                           // the Jastrow factor at r12
};

// Derivatives shared by the local energy and the drift.
template <class D>
struct Slopes {
  D phi1, phi2;                  // the two orbital sums
  D d1l, d1r, d2l, d2r;          // chi' at the four distances
  D lap1l, lap1r, lap2l, lap2r;  // radial Laplacians of chi
  D jfd, jlap;                   // f' and the radial Laplacian of f at r12
};

// sqrt in double, rounded to single precision, lane by lane: sqrt_f of
// sim/reference/fmath.h.
template <class M, class D>
QH2_INLINE D sqrt_r(D x) {
  return M::rnd(M::sqrt(x));
}

template <class M, class D>
QH2_INLINE D dist3(D x, D y, D z) {
  return sqrt_r<M>(x * x + y * y + z * z);
}

// The geometry, the orbitals and the Jastrow factor: radii, chi and fee of
// sim/reference/wavefunction.cpp; they must agree, tests/sim/engine/engine_test.cpp compares
// them. c: the six coordinates, single-precision values.
template <class M, class D = typename M::D>
QH2_INLINE Point<D> evaluate(const Shape& s, const D* c) {
  Point<D> p;
  p.x1 = c[0];
  p.y1 = c[1];
  p.z1 = c[2];
  p.x2 = c[3];
  p.y2 = c[4];
  p.z2 = c[5];
  const double h = s.shalf;
  p.r1l = dist3<M>(p.x1, p.y1, M::rnd(p.z1 + h));
  p.r1r = dist3<M>(p.x1, p.y1, M::rnd(p.z1 - h));
  p.r2l = dist3<M>(p.x2, p.y2, M::rnd(p.z2 + h));
  p.r2r = dist3<M>(p.x2, p.y2, M::rnd(p.z2 - h));
  p.r12 = dist3<M>(M::rnd(p.x1 - p.x2), M::rnd(p.y1 - p.y2), M::rnd(p.z1 - p.z2));
  // The four orbitals and the Jastrow factor share one test for the library exp.
  D ex[5] = {-p.r1l / s.a, -p.r1r / s.a, -p.r2l / s.a, -p.r2r / s.a,
             p.r12 / (s.alpha * (1.0 + s.beta * p.r12))};
  exp_rounded<M>(ex);
  p.chi1l = ex[0];
  p.chi1r = ex[1];
  p.chi2l = ex[2];
  p.chi2r = ex[3];
  p.f = ex[4];
  return p;
}

// phi of sim/reference/wavefunction.cpp; they must agree, tests/sim/engine/engine_test.cpp compares
// them.
template <class M, class D>
QH2_INLINE D psi_of(const Point<D>& p) {
  return M::rnd((p.chi1l + p.chi1r) * (p.chi2l + p.chi2r) * p.f);
}

template <class M, class D>
QH2_INLINE D lapchi_of(const Shape& s, D chi, D fd, D r) {
  const D sd = M::rnd(chi / s.a / s.a);
  return M::rnd(sd + 2.0 * fd / r);
}

// fdchi ... lapfee of sim/reference/wavefunction.cpp; they must agree,
// tests/sim/engine/engine_test.cpp compares them.
template <class M, class D>
QH2_INLINE Slopes<D> slopes_of(const Shape& s, const Point<D>& p) {
  Slopes<D> d;
  d.phi1 = M::rnd(p.chi1l + p.chi1r);
  d.phi2 = M::rnd(p.chi2l + p.chi2r);
  d.d1l = M::rnd(-p.chi1l / s.a);
  d.d1r = M::rnd(-p.chi1r / s.a);
  d.d2l = M::rnd(-p.chi2l / s.a);
  d.d2r = M::rnd(-p.chi2r / s.a);
  d.lap1l = lapchi_of<M>(s, p.chi1l, d.d1l, p.r1l);
  d.lap1r = lapchi_of<M>(s, p.chi1r, d.d1r, p.r1r);
  d.lap2l = lapchi_of<M>(s, p.chi2l, d.d2l, p.r2l);
  d.lap2r = lapchi_of<M>(s, p.chi2r, d.d2r, p.r2r);
  const D u = M::rnd(1.0 + s.beta * p.r12);
  d.jfd = M::rnd(p.f / (u * u * s.alpha));
  const D sd = M::rnd(d.jfd * d.jfd / p.f - (s.beta + s.beta) * p.f / s.alpha / (u * u * u));
  d.jlap = M::rnd(sd + 2.0 * d.jfd / p.r12);
  return d;
}

// elocal of sim/reference/local_energy.cpp; they must agree, tests/sim/engine/engine_test.cpp
// compares them.
template <class M, class D>
QH2_INLINE D local_energy_of(const Shape& s, const Point<D>& pt, const Slopes<D>& d) {
  const D x1 = pt.x1, x2 = pt.x2, y1 = pt.y1, y2 = pt.y2, z1 = pt.z1, z2 = pt.z2;
  const D r1l = pt.r1l, r2l = pt.r2l, r1r = pt.r1r, r2r = pt.r2r, r12 = pt.r12;

  const D p = M::rnd((x1 - x2) * x1 + (y1 - y2) * y1 + (z1 - z2) * z1);
  const D q = M::rnd((z1 - z2) * s.sep / 2.0);
  const D c1l = M::rnd((p + q) / r12 / r1l);
  const D c2l = M::rnd(((p + q) - r12 * r12) / r12 / r2l);
  const D c1r = M::rnd((p - q) / r12 / r1r);
  const D c2r = M::rnd(((p - q) - r12 * r12) / r12 / r2r);

  const D tj = M::rnd(2.0 * d.jlap / pt.f);
  const D t1 = M::rnd((d.lap1l + d.lap1r) / d.phi1);
  const D t2 = M::rnd((d.lap2l + d.lap2r) / d.phi2);
  const D g1 = M::rnd((d.d1l * c1l + d.d1r * c1r) / d.phi1);
  const D g2 = M::rnd((d.d2l * c2l + d.d2r * c2r) / d.phi2);
  const D tx = M::rnd(2.0 * d.jfd * (g1 - g2) / pt.f);

  const D t = M::rnd(-(tj + t1 + t2 + tx) * s.hbar2m / 2.0);
  const D v = M::rnd(-(1.0 / r1l + 1.0 / r1r + 1.0 / r2l + 1.0 / r2r - 1.0 / r12) * s.e2);
  return M::rnd(t + v + s.e2 / s.sep);
}

// drift of sim/reference/drift.cpp; they must agree, tests/sim/engine/engine_test.cpp compares
// them.
template <class M, class D>
QH2_INLINE void drift_of(const Shape& s, const Point<D>& pt, const Slopes<D>& d, D* out) {
  const D x1 = pt.x1, x2 = pt.x2, y1 = pt.y1, y2 = pt.y2, z1 = pt.z1, z2 = pt.z2;
  const double k = s.dscale, h = s.shalf;

  const D a1 = M::rnd((d.d1l / pt.r1l + d.d1r / pt.r1r) * k / d.phi1);
  const D b1 = M::rnd((d.d1l / pt.r1l - d.d1r / pt.r1r) * k / d.phi1);
  const D j = M::rnd(d.jfd * k / pt.f / pt.r12);
  out[0] = M::rnd(a1 * x1 + (x1 - x2) * j);
  out[1] = M::rnd(a1 * y1 + (y1 - y2) * j);
  out[2] = M::rnd(a1 * z1 + (z1 - z2) * j + b1 * h);

  const D a2 = M::rnd((d.d2l / pt.r2l + d.d2r / pt.r2r) * k / d.phi2);
  const D b2 = M::rnd((d.d2l / pt.r2l - d.d2r / pt.r2r) * k / d.phi2);
  out[3] = M::rnd(a2 * x2 - (x1 - x2) * j);
  out[4] = M::rnd(a2 * y2 - (y1 - y2) * j);
  out[5] = M::rnd(a2 * z2 - (z1 - z2) * j + b2 * h);
}

}  // namespace qh2

// Geometry, orbital and Jastrow functions of the trial wave function. Every value is
// single precision (see fmath.h); parameters are read from the records at each call.
#include "sim/reference/wavefunction.h"

#include <cmath>

#include "sim/reference/fmath.h"
#include "sim/reference/records.h"

namespace qh2::reference {

float dist(const float& x, const float& y, const float& z) {
  const double dx = x, dy = y, dz = z;
  return sqrt_f(dx * dx + dy * dy + dz * dz);
}

// The engine's lane version of radii, chi and fee is evaluate (sim/engine/engine_eval.h);
// they must agree, tests/sim/engine/engine_test.cpp compares them.
void radii(const float* c, float& x1, float& x2, float& y1, float& y2, float& z1, float& z2,
           float& r1l, float& r2l, float& r1r, float& r2r, float& r12) {
  const float h = pcalc.shalf;
  x1 = c[0];
  x2 = c[3];
  y1 = c[1];
  y2 = c[4];
  z1 = c[2];
  z2 = c[5];
  // Each argument is a single-precision value of its own.
  r1l = dist(x1, y1, z1 + h);
  r1r = dist(x1, y1, z1 - h);
  r2l = dist(x2, y2, z2 + h);
  r2r = dist(x2, y2, z2 - h);
  r12 = dist(x1 - x2, y1 - y2, z1 - z2);
}

float chi(const float& r) {
  const double a = pcalc.a;
  return exp_f(-static_cast<double>(r) / a);
}

// The engine's lane version of the derivatives is slopes_of (sim/engine/engine_eval.h);
// they must agree, tests/sim/engine/engine_test.cpp compares them.
float fdchi(const float& r) {
  const double a = pcalc.a;
  return static_cast<float>(-static_cast<double>(chi(r)) / a);
}

float sdchi(const float& r) {
  const double a = pcalc.a;
  return static_cast<float>(static_cast<double>(chi(r)) / a / a);
}

float lapchi(const float& r) {
  const double sd = sdchi(r), fd = fdchi(r);
  return static_cast<float>(sd + 2.0 * fd / r);
}

float fee(const float& r) {
  const double alpha = const_.alpha, beta = pparam.beta, x = r;
  return exp_f(x / (alpha * (1.0 + beta * x)));
}

float fdfee(const float& r) {
  const double alpha = const_.alpha;
  const float u = static_cast<float>(1.0 + static_cast<double>(pparam.beta) * r);
  const double f = fee(r), ud = u;
  return static_cast<float>(f / (ud * ud * alpha));
}

float sdfee(const float& r) {
  const double alpha = const_.alpha, beta = pparam.beta;
  const float u = static_cast<float>(1.0 + beta * r);
  const double fd = fdfee(r), f = fee(r), ud = u;
  return static_cast<float>(fd * fd / f - (beta + beta) * f / alpha / (ud * ud * ud));
}

float lapfee(const float& r) {
  const double sd = sdfee(r), fd = fdfee(r);
  return static_cast<float>(sd + 2.0 * fd / r);
}

// The engine's lane versions are psi_of (sim/engine/engine_eval.h) and walk_psi
// (sim/engine/kernels.h); they must agree, tests/sim/engine/engine_test.cpp compares them.
float phi(const float* c) {
  float x1, x2, y1, y2, z1, z2, r1l, r2l, r1r, r2r, r12;
  radii(c, x1, x2, y1, y2, z1, z2, r1l, r2l, r1r, r2r, r12);
  const double c1l = chi(r1l), c1r = chi(r1r), c2l = chi(r2l), c2r = chi(r2r), f = fee(r12);
  return static_cast<float>((c1l + c1r) * (c2l + c2r) * f);
}

float apar_counted(const float& a0, const float& sep, int& iterations) {
  float anew = 10.0f;
  float aold = 0.0f;
  iterations = 0;
  while (std::fabs(static_cast<double>(anew) - aold) > 1.0e-6f) {
    aold = anew;
    const float t = exp_f(-static_cast<double>(sep) / aold);
    anew = static_cast<float>(a0 / (static_cast<double>(t) + 1.0));
    ++iterations;
  }
  return anew;
}

float apar(const float& a0, const float& sep) {
  int iterations;
  return apar_counted(a0, sep, iterations);
}

}  // namespace qh2::reference

// qh2's trial function in double precision against the single-precision routines that define
// it (psi, the drift and the local energy of sim/reference/ agree to float accuracy), against
// finite differences of its own logarithm, and at configurations where naive formulas fail.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "sim/dmc/trial.h"
#include "sim/reference/drift.h"
#include "sim/reference/local_energy.h"
#include "sim/reference/records.h"
#include "sim/reference/wavefunction.h"
#include "tests/sim/sim_fixture.h"

using namespace qh2;
using namespace qh2::dmc;

namespace {

struct Scalar {
  using D = VectorOf<double, 2>::type;
  static D sqrt(D x) { return D{std::sqrt(x[0]), std::sqrt(x[1])}; }
  static Int64sOf<D> less(D a, D b) { return a < b; }
};

Evaluation<double> at(const Trial& t, const double* c) {
  Scalar::D v[6];
  for (int k = 0; k < 6; ++k) v[k] = Scalar::D{c[k], c[k]};
  const Evaluation<Scalar::D> e = evaluate<Scalar>(t, v);
  Evaluation<double> r;
  r.lead = e.lead[0];
  r.pair = e.pair[0];
  r.energy = e.energy[0];
  for (int k = 0; k < 6; ++k) r.g[k] = e.g[k][0];
  return r;
}

double log_psi(const Trial& t, const double* c) {
  const Evaluation<double> e = at(t, c);
  return e.lead + std::log(e.pair);
}

}  // namespace

TEST(Trial, DecayLengthSolvesAparsEquationAndMatchesApar) {
  set_separation(0.7f);
  for (double sep : {0.05, 0.1, 0.7, 1.4, 3.0, 20.0}) {
    const double a = decay_length(sep);
    EXPECT_NEAR(a * (1.0 + std::exp(-sep / a)), kBohr, 1e-15) << sep;
    const float fsep = static_cast<float>(sep);
    EXPECT_NEAR(a, qh2::reference::apar(qh2::reference::const_.a0, fsep), 2e-6) << sep;
  }
  EXPECT_NEAR(kBohr, 0.529939621, 1e-9);
  EXPECT_NEAR(kHartree, 27.18989, 1e-5);
}

TEST(Trial, AgreesWithTheSinglePrecisionRoutines) {
  std::mt19937_64 rng(3);
  std::normal_distribution<double> gauss(0.0, 0.7);
  double worst_psi = 0, worst_drift = 0, worst_energy = 0;
  for (float sep : {0.3f, 0.75f, 1.5f, 3.0f}) {
    set_separation(sep);
    qh2::reference::pcalc.dscale = 1.0f;
    const Trial t = make_trial(sep, 0.25);
    for (int i = 0; i < 2000; ++i) {
      float c[6];
      double cd[6];
      for (int k = 0; k < 6; ++k) c[k] = static_cast<float>(gauss(rng));
      c[2] += 0.5f * sep;
      c[5] -= 0.5f * sep;
      for (int k = 0; k < 6; ++k) cd[k] = c[k];
      const Evaluation<double> e = at(t, cd);
      const double psi = std::exp(e.lead) * e.pair;
      worst_psi = std::max(worst_psi, std::fabs(psi / qh2::reference::phi(c) - 1));
      float d[6];
      qh2::reference::drift(c, d);
      double norm = 0;
      for (int k = 0; k < 6; ++k) norm += e.g[k] * e.g[k];
      for (int k = 0; k < 6; ++k) {
        worst_drift = std::max(worst_drift, std::fabs(e.g[k] - d[k]) / std::sqrt(norm));
      }
      const double el = qh2::reference::elocal(c);
      worst_energy =
          std::max(worst_energy, std::fabs(e.energy - el) / std::max(1.0, std::fabs(el)));
    }
  }
  EXPECT_LT(worst_psi, 1e-5);
  EXPECT_LT(worst_drift, 2e-6);
  EXPECT_LT(worst_energy, 2e-5);
}

TEST(Trial, GradientAndLaplacianAreThoseOfLnPsi) {
  const Trial t = make_trial(0.741915, 1.3);
  const double c[6] = {0.1, -0.2, 0.45, -0.3, 0.15, -0.5};
  const Evaluation<double> e = at(t, c);
  const double h = 1e-5;
  double laplacian_over_psi = 0;
  const double psi0 = std::exp(log_psi(t, c));
  for (int k = 0; k < 6; ++k) {
    double p[6], m[6];
    for (int j = 0; j < 6; ++j) p[j] = m[j] = c[j];
    p[k] += h;
    m[k] -= h;
    EXPECT_NEAR(e.g[k], (log_psi(t, p) - log_psi(t, m)) / (2 * h), 1e-8) << k;
    const double hh = 1e-3;
    p[k] = c[k] + hh;
    m[k] = c[k] - hh;
    laplacian_over_psi +=
        (std::exp(log_psi(t, p)) - 2 * psi0 + std::exp(log_psi(t, m))) / (hh * hh) / psi0;
  }
  const double r1l = std::sqrt(0.01 + 0.04 + std::pow(0.45 + 0.5 * t.sep, 2));
  const double r1r = std::sqrt(0.01 + 0.04 + std::pow(0.45 - 0.5 * t.sep, 2));
  const double r2l = std::sqrt(0.09 + 0.0225 + std::pow(-0.5 + 0.5 * t.sep, 2));
  const double r2r = std::sqrt(0.09 + 0.0225 + std::pow(-0.5 - 0.5 * t.sep, 2));
  const double r12 = std::sqrt(0.16 + 0.1225 + 0.9025);
  const double v = -kE2 * (1 / r1l + 1 / r1r + 1 / r2l + 1 / r2r - 1 / r12) + kE2 / t.sep;
  EXPECT_NEAR(e.energy, -kHbar2m / 2 * laplacian_over_psi + v, 2e-4);
}

TEST(Trial, SymmetricAndFiniteWherePlainOrbitalsUnderflow) {
  const Trial t = make_trial(1.0, 0.25);
  const double c[6] = {0.3, 0.1, 0.2, -0.2, 0.4, -0.6};
  const double swapped[6] = {-0.2, 0.4, -0.6, 0.3, 0.1, 0.2};
  const Evaluation<double> a = at(t, c), b = at(t, swapped);
  EXPECT_NEAR(a.energy, b.energy, 1e-12);
  EXPECT_NEAR(a.lead + std::log(a.pair), b.lead + std::log(b.pair), 1e-12);
  // One electron 400 A away: exp(-r/a) is 0 in double, the ratios of the orbitals are not.
  const double far[6] = {400.0, 0.0, 0.0, 0.1, 0.0, -0.5};
  const Evaluation<double> f = at(t, far);
  EXPECT_TRUE(std::isfinite(f.energy));
  EXPECT_TRUE(std::isfinite(f.lead));
  // Electron 1 pulled back towards the molecule with the orbital's slope 1/a.
  EXPECT_NEAR(f.g[0], -1.0 / t.a + 1.0 / (t.alpha * std::pow(1 + t.beta * 400, 2)), 1e-3);
}

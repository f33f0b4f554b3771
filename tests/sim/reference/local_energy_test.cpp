// The local energy: worked values, its kinetic part against finite differences of
// psi, and its exchange symmetry.
#include <gtest/gtest.h>

#include <cmath>

#include "sim/reference/local_energy.h"
#include "sim/reference/records.h"
#include "sim/reference/wavefunction.h"
#include "tests/sim/sim_fixture.h"

using namespace qh2::reference;

namespace {

// Potential energy of the electrons, from the distances alone.
double potential(const float* c) {
  float x1, x2, y1, y2, z1, z2, r1l, r2l, r1r, r2r, r12;
  radii(c, x1, x2, y1, y2, z1, z2, r1l, r2l, r1r, r2r, r12);
  return -(1.0 / r1l + 1.0 / r1r + 1.0 / r2l + 1.0 / r2r - 1.0 / r12) * const_.e2;
}

// -(hbar2m/2) (lap1 psi + lap2 psi) / psi by central second differences of phi,
// extrapolated from the steps h and 2h to cancel the h^2 error.
double kinetic_by_differences(const float* c, float h) {
  auto laplacian = [&](float step) {
    double lap = 0.0;
    const double p0 = phi(c);
    for (int i = 0; i < 6; ++i) {
      float plus[6], minus[6];
      for (int j = 0; j < 6; ++j) plus[j] = minus[j] = c[j];
      plus[i] += step;
      minus[i] -= step;
      const double hh = static_cast<double>(plus[i] - c[i]);
      lap += (static_cast<double>(phi(plus)) - 2.0 * p0 + phi(minus)) / (hh * hh);
    }
    return lap / p0;
  };
  const double lap = (4.0 * laplacian(h) - laplacian(2.0f * h)) / 3.0;
  return -(const_.hbar2m / 2.0) * lap;
}

}  // namespace

TEST(Elocal, WorkedConfigurations) {
  set_separation(0.7f);
  const double v = potential(kConfigA);
  const double e = elocal(kConfigA);
  EXPECT_TRUE(Rounds(const_.e2 / pparam.sep, 20.584));
  EXPECT_TRUE(Rounds(v, -213.00));
  EXPECT_TRUE(Rounds(e - v - const_.e2 / pparam.sep, 144.31, 4));
  EXPECT_TRUE(Rounds(e, -48.103));
  EXPECT_TRUE(Rounds(elocal(kConfigB), -39.091));
}

TEST(Elocal, KineticPartMatchesFiniteDifferencesOfPsi) {
  for (float sep : {0.7f, 1.4f}) {
    set_separation(sep);
    for (const float* c : {kConfigA, kConfigB}) {
      const double t = elocal(c) - potential(c) - const_.e2 / pparam.sep;
      const double fd = kinetic_by_differences(c, 1.0e-2f);
      EXPECT_NEAR(t, fd, 0.002 * std::fabs(t) + 0.05) << sep;
    }
  }
}

TEST(Elocal, SymmetricUnderExchangeAndMirror) {
  set_separation(0.75f);
  for (const float* c : {kConfigA, kConfigB}) {
    const float swapped[6] = {c[3], c[4], c[5], c[0], c[1], c[2]};
    const float mirrored[6] = {c[0], c[1], -c[2], c[3], c[4], -c[5]};
    EXPECT_NEAR(elocal(swapped), elocal(c), 2e-5 * std::fabs(elocal(c)));
    EXPECT_NEAR(elocal(mirrored), elocal(c), 2e-5 * std::fabs(elocal(c)));
  }
}

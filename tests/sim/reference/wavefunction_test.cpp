// The trial wave function: apar's fixed point, the worked distances and values, the
// derivatives against finite differences, and the symmetries of psi.
#include <gtest/gtest.h>

#include <cmath>

#include "sim/reference/records.h"
#include "sim/reference/wavefunction.h"
#include "tests/sim/sim_fixture.h"

using namespace qh2::reference;

TEST(Apar, ConvergesForTheScanSeparationsInTheExpectedIterations) {
  const float a0 = 0.529939592f;
  struct Case {
    float sep;
    float a;
    int iterations;
  };
  const Case cases[] = {{0.100000001f, 0.307657182f, 8},
                        {0.700000107f, 0.440192431f, 12},
                        {2.99999833f, 0.528137386f, 5}};
  for (const Case& c : cases) {
    int iterations = -1;
    EXPECT_EQ(apar_counted(a0, c.sep, iterations), c.a) << c.sep;
    EXPECT_EQ(iterations, c.iterations) << c.sep;
    EXPECT_EQ(apar(a0, c.sep), c.a) << c.sep;
  }
}

TEST(Apar, SolvesTheCuspConditionBetweenHalfA0AndA0) {
  const float a0 = 0.529939592f;
  for (float sep = 0.1f; sep < 3.0f; sep += 0.35f) {
    const float a = apar(a0, sep);
    EXPECT_GT(a, a0 / 2.0f);
    EXPECT_LT(a, a0);
    EXPECT_NEAR(a * (1.0f + std::exp(-sep / a)), a0, 3e-6) << sep;
  }
}

TEST(Startup, DerivedConstantsAreStoredInSinglePrecision) {
  reset_records();
  qh2_startup();
  EXPECT_EQ(const_.a0, 0.529939592f);
  EXPECT_EQ(const_.alpha, 1.05987918f);
  EXPECT_EQ(nparam.seed, 76453456.0);
  EXPECT_EQ(nparam.nwalk, 900);
  EXPECT_EQ(nparam.neq, 100);
  EXPECT_EQ(nparam.tau, 1.0e-5f);
  EXPECT_EQ(nparam.delta, 1.0f);
  EXPECT_EQ(pparam.beta, 0.25f);
}

TEST(Radii, WorkedConfigurationDistancesAndPsi) {
  set_separation(0.7f);
  EXPECT_TRUE(Rounds(pcalc.a, 0.44019));
  float x1, x2, y1, y2, z1, z2, r1l, r2l, r1r, r2r, r12;
  radii(kConfigA, x1, x2, y1, y2, z1, z2, r1l, r2l, r1r, r2r, r12);
  EXPECT_EQ(x1, 0.1f);
  EXPECT_EQ(x2, -0.1f);
  EXPECT_EQ(y1, 0.0f);
  EXPECT_EQ(y2, 0.2f);
  EXPECT_EQ(z1, 0.3f);
  EXPECT_EQ(z2, -0.4f);
  EXPECT_TRUE(Rounds(r1l, 0.65765));
  EXPECT_TRUE(Rounds(r2l, 0.22913));
  EXPECT_TRUE(Rounds(r1r, 0.11180));
  EXPECT_TRUE(Rounds(r2r, 0.78262));
  EXPECT_TRUE(Rounds(r12, 0.75498));
  EXPECT_TRUE(Rounds(phi(kConfigA), 1.3898));
  EXPECT_EQ(dist(3.0f, 4.0f, 12.0f), 13.0f);
}

TEST(Orbitals, ValuesAndDerivativesAtHalfAnAngstrom) {
  set_separation(0.7f);
  EXPECT_TRUE(Rounds(chi(0.5f), 0.32114));
  EXPECT_TRUE(Rounds(fdchi(0.5f), -0.72955));
  EXPECT_TRUE(Rounds(sdchi(0.5f), 1.6573));
  EXPECT_TRUE(Rounds(lapchi(0.5f), -1.2609));
  EXPECT_TRUE(Rounds(fee(0.5f), 1.5209));
  EXPECT_TRUE(Rounds(fdfee(0.5f), 1.1338));
  EXPECT_TRUE(Rounds(sdfee(0.5f), 0.34133));
  EXPECT_TRUE(Rounds(lapfee(0.5f), 4.8767));
}

TEST(Orbitals, DerivativesMatchFiniteDifferences) {
  set_separation(1.1f);
  const float h = 1.0e-2f;
  for (float r : {0.15f, 0.4f, 0.9f, 1.7f}) {
    auto d1 = [&](float (*f)(const float&)) { return (f(r + h) - f(r - h)) / (2.0f * h); };
    auto d2 = [&](float (*f)(const float&)) {
      return (f(r + h) - 2.0f * f(r) + f(r - h)) / (h * h);
    };
    EXPECT_NEAR(fdchi(r), d1(chi), 2e-3 * std::fabs(fdchi(r))) << r;
    EXPECT_NEAR(sdchi(r), d2(chi), 3e-3 * std::fabs(sdchi(r))) << r;
    EXPECT_NEAR(sdchi(r), d1(fdchi), 2e-3 * std::fabs(sdchi(r))) << r;
    EXPECT_NEAR(fdfee(r), d1(fee), 2e-3 * std::fabs(fdfee(r))) << r;
    EXPECT_NEAR(sdfee(r), d1(fdfee), 2e-3 * std::fabs(fdfee(r))) << r;
    // The radial Laplacian (r^2 g')' / r^2 of g = chi and g = f.
    auto lap = [&](float (*f)(const float&)) {
      const double rp = r + h / 2, rm = r - h / 2;
      return ((rp * rp * (f(r + h) - f(r)) - rm * rm * (f(r) - f(r - h))) / (h * h)) / (r * r);
    };
    EXPECT_NEAR(lapchi(r), lap(chi), 4e-3 * std::fabs(sdchi(r))) << r;
    EXPECT_NEAR(lapfee(r), lap(fee), 4e-3 * std::fabs(fdfee(r))) << r;
  }
  // The Jastrow factor's cusp: f'(0)/f(0) = 1/alpha = 1/(2 a0).
  EXPECT_FLOAT_EQ(fdfee(0.0f) / fee(0.0f), 1.0f / const_.alpha);
}

TEST(Psi, SymmetricUnderExchangeAndMirror) {
  set_separation(0.85f);
  for (const float* c : {kConfigA, kConfigB}) {
    const float swapped[6] = {c[3], c[4], c[5], c[0], c[1], c[2]};
    const float mirrored[6] = {c[0], c[1], -c[2], c[3], c[4], -c[5]};
    EXPECT_EQ(phi(swapped), phi(c));
    EXPECT_FLOAT_EQ(phi(mirrored), phi(c));
    EXPECT_GT(phi(c), 0.0f);
  }
}

// The drift vector: the worked case, its agreement with the gradient of ln psi, the
// zero drift scale, and the mirror symmetry.
#include <gtest/gtest.h>

#include <cmath>

#include "sim/reference/drift.h"
#include "sim/reference/records.h"
#include "sim/reference/wavefunction.h"
#include "tests/sim/sim_fixture.h"

using namespace qh2::reference;

TEST(Drift, WorkedConfigurationWithUnitScale) {
  set_separation(0.7f);
  pcalc.dscale = 1.0f;
  float d[6];
  drift(kConfigA, d);
  const double expected[6] = {-1.4765, -0.17687, 0.90306, 0.65933, -1.4955, 0.24896};
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(Rounds(d[i], expected[i])) << "component " << i;
}

TEST(Drift, EqualsTheGradientOfLnPsiTimesTheScale) {
  for (float scale : {1.0f, 0.25f}) {
    set_separation(1.3f);
    pcalc.dscale = scale;
    for (const float* c : {kConfigA, kConfigB}) {
      float d[6];
      drift(c, d);
      const float h = 2.0e-3f;
      for (int i = 0; i < 6; ++i) {
        float plus[6], minus[6];
        for (int j = 0; j < 6; ++j) plus[j] = minus[j] = c[j];
        plus[i] += h;
        minus[i] -= h;
        const double g =
            (std::log(static_cast<double>(phi(plus))) - std::log(static_cast<double>(phi(minus)))) /
            (static_cast<double>(plus[i]) - minus[i]);
        EXPECT_NEAR(d[i], scale * g, 2e-3 * scale * (std::fabs(g) + 0.5)) << "component " << i;
      }
    }
  }
}

TEST(Drift, ZeroScaleGivesZeroDrift) {
  set_separation(0.9f);
  ASSERT_EQ(pcalc.dscale, 0.0f);
  for (const float* c : {kConfigA, kConfigB}) {
    float d[6] = {9, 9, 9, 9, 9, 9};
    drift(c, d);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(d[i], 0.0f) << "component " << i;
  }
}

TEST(Drift, MirrorInTheMidplaneFlipsTheZComponents) {
  set_separation(0.7f);
  pcalc.dscale = 1.0f;
  for (const float* c : {kConfigA, kConfigB}) {
    const float mirrored[6] = {c[0], c[1], -c[2], c[3], c[4], -c[5]};
    float d[6], m[6];
    drift(c, d);
    drift(mirrored, m);
    for (int i : {0, 1, 3, 4}) EXPECT_NEAR(m[i], d[i], 1e-5 + 1e-5 * std::fabs(d[i])) << i;
    for (int i : {2, 5}) EXPECT_NEAR(m[i], -d[i], 1e-5 + 1e-5 * std::fabs(d[i])) << i;
  }
}

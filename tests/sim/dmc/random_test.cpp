// The diffusion engine's random numbers and elementary functions: Philox against its published
// known-answer vectors, the lanes against the scalar generator, uniform numbers strictly inside
// (0, 1), Gaussian deviates with the moments of the normal distribution, and exp, log, cos and
// sin against the library to a few ulps.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "sim/dmc/lane_math.h"
#include "sim/dmc/philox.h"

using namespace qh2;
using namespace qh2::dmc;

namespace {

// Lane arithmetic written lane by lane, as an instruction set's Math provides it.
struct Generic {
  using D = VectorOf<double, 4>::type;
  using U = Uint64sOf<D>;
  static D sqrt(D x) {
    for (int l = 0; l < 4; ++l) x[l] = std::sqrt(x[l]);
    return x;
  }
  static D trunc(D x) {
    for (int l = 0; l < 4; ++l) x[l] = std::trunc(x[l]);
    return x;
  }
  static Int64sOf<D> less(D a, D b) { return a < b; }
  static U mul32(U a, U b) { return (a & 0xffffffffu) * (b & 0xffffffffu); }
};
using D = Generic::D;

D lanes(double a, double b, double c, double d) {
  return D{a, b, c, d};
}

}  // namespace

TEST(Philox, KnownAnswersOfTheTenRoundGenerator) {
  EXPECT_EQ(philox({0, 0, 0, 0}, {0, 0}),
            (Counter{0x6627e8d5, 0xe169c58d, 0xbc57ac4c, 0x9b00dbd8}));
  EXPECT_EQ(philox({~0u, ~0u, ~0u, ~0u}, {~0u, ~0u}),
            (Counter{0x408f276d, 0x41c83b0e, 0xa20bc7c6, 0x6d5451fd}));
  EXPECT_EQ(philox({0x243f6a88, 0x85a308d3, 0x13198a2e, 0x03707344}, {0xa4093822, 0x299f31d0}),
            (Counter{0xd16cfe09, 0x94fdcceb, 0x5001e420, 0x24126ea1}));
}

TEST(Philox, LanesGiveTheScalarBlocksAndUniformNumbers) {
  const Key key = {0x12345678, 0x9abcdef0};
  Uint64sOf<D> slots = {0, 1, 7, 4000000000u};
  const PhiloxLanes<Generic, D> r(3, slots, 77, 0xdeadbeef, key);
  for (int l = 0; l < 4; ++l) {
    const Counter c = philox({3, static_cast<uint32_t>(slots[l]), 77, 0xdeadbeef}, key);
    for (int w = 0; w < 4; ++w) EXPECT_EQ(r.w[w][l], c[w]) << l << " " << w;
    EXPECT_EQ(r.uniform(0)[l], uniform_of(c[0], c[1]));
    EXPECT_EQ(r.uniform(1)[l], uniform_of(c[2], c[3]));
  }
  // The extremes of the 64 bits stay inside (0, 1), exactly half an ulp of 2^-52 from the ends.
  EXPECT_EQ(uniform_of(0, 0), 0x1p-53);
  EXPECT_EQ(uniform_of(~0u, ~0u), 1.0 - 0x1p-53);
}

TEST(LaneMath, LogCosSinAndExpAgreeWithTheLibrary) {
  double worst_log = 0, worst_turn = 0, worst_exp = 0;
  for (int i = 1; i < 200000; ++i) {
    const double u = i * 0x1p-18 + 0x1p-53;  // (0, 1) and below
    const double x = std::ldexp(u, -(i % 60));
    const D l = log_of<Generic>(lanes(x, u, 1.0 - 0x1p-53, 0x1p-53));
    worst_log = std::max(worst_log, std::fabs(l[0] - std::log(x)) / std::fabs(std::log(x)));
    const double t = (i - 1) * 0x1p-18;  // turns in [0, 1), multiples of 2^-53
    D c, s;
    cos_sin_turn<Generic>(lanes(t, 0, 0.25, 0.75), c, s);
    const double angle = 2 * std::numbers::pi * t;
    worst_turn = std::max(
        {worst_turn, std::fabs(c[0] - std::cos(angle)), std::fabs(s[0] - std::sin(angle))});
    const double e = -100.0 + 200.0 * u;
    const D ex = exp_of<Generic>(lanes(e, 0, 0, 0));
    if (std::fabs(e) <= 87) worst_exp = std::max(worst_exp, std::fabs(ex[0] / std::exp(e) - 1));
  }
  EXPECT_LT(worst_log, 4e-16);
  EXPECT_LT(worst_turn, 2e-15);  // the library's own angle 2 pi t is rounded
  EXPECT_LT(worst_exp, 26 * 0x1p-53);
  // The quarter turns exactly.
  D c, s;
  cos_sin_turn<Generic>(lanes(0, 0.25, 0.5, 0.75), c, s);
  EXPECT_EQ(c[0], 1.0);
  EXPECT_EQ(s[1], 1.0);
  EXPECT_EQ(c[2], -1.0);
  EXPECT_EQ(s[3], -1.0);
  // exp is clamped at +-87: a certainty stays finite, a negligible weight stays positive.
  const D far = exp_of<Generic>(lanes(-1000, 1000, 0, 1));
  EXPECT_GT(far[0], 0.0);
  EXPECT_LT(far[0], 1e-37);
  EXPECT_TRUE(std::isfinite(far[1]));
  EXPECT_EQ(far[2], 1.0);
}

TEST(Philox, NormalPairsHaveTheMomentsOfTheNormalDistribution) {
  const Key key = {2024, 24};
  double sum = 0, sum2 = 0, sum4 = 0, cross = 0;
  long tail = 0;
  const int blocks = 250000;
  for (int b = 0; b < blocks; ++b) {
    const PhiloxLanes<Generic, D> r(0, Uint64sOf<D>{0, 1, 2, 3}, b, 9, key);
    D z1, z2;
    normal_pair<Generic>(r.uniform(0), r.uniform(1), z1, z2);
    for (int l = 0; l < 4; ++l) {
      for (double z : {z1[l], z2[l]}) {
        sum += z;
        sum2 += z * z;
        sum4 += z * z * z * z;
        tail += std::fabs(z) > 3.0;
      }
      cross += z1[l] * z2[l];
    }
  }
  const double n = 8.0 * blocks;
  // Each within four standard errors of the normal values 0, 1, 3, 0 and 0.0027.
  EXPECT_NEAR(sum / n, 0.0, 4 / std::sqrt(n));
  EXPECT_NEAR(sum2 / n, 1.0, 4 * std::sqrt(2 / n));
  EXPECT_NEAR(sum4 / n, 3.0, 4 * std::sqrt(96 / n));
  EXPECT_NEAR(cross / (n / 2), 0.0, 4 / std::sqrt(n / 2));
  EXPECT_NEAR(tail / n, 0.0026998, 4 * std::sqrt(0.0027 / n));
}

// The engine's exp in lanes: its estimate within the error bound it is proven to have,
// and its float equal to the library's on every instruction set, also next to float
// rounding boundaries, out of range and for values that are not numbers.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "sim/engine/dispatch.h"
#include "sim/engine/vector_exp.h"

using namespace qh2;

namespace {

typedef VectorOf<double, 4>::type Lanes4;

#ifdef __OPTIMIZE__
constexpr int kRandomArguments = 4000000;
#else
constexpr int kRandomArguments = 200000;
#endif

// Uniform over [-87, 87], and small magnitudes of both signs spread over many binades.
std::vector<double> random_arguments(int n) {
  std::mt19937_64 rng(20260815);
  std::uniform_real_distribution<double> wide(-kExpLimit, kExpLimit), binade(-40.0, 0.0);
  std::vector<double> x(n);
  for (int i = 0; i < n; ++i) {
    x[i] = i % 4 == 3 ? std::copysign(std::exp2(binade(rng)), wide(rng)) : wide(rng);
  }
  return x;
}

// Arguments whose exp lies within a few dozen double ulps of a float rounding boundary:
// the logarithms of midpoints (1 + (2j + 1) 2^-24) 2^b between adjacent floats, across
// the binades. Close to such a boundary the estimate and the library disagree now and
// then about the side.
std::vector<double> boundary_arguments() {
  std::vector<double> x;
  for (int b = -125; b <= 124; ++b) {
    for (int j = 0; j < 16; ++j) {
      const long double m = std::ldexp(1.0L + (2 * (j * 524287 % 8388608) + 1) * 0x1p-24L, b);
      x.push_back(static_cast<double>(std::log(m)));
    }
  }
  return x;
}

std::vector<VectorIsa> available_isas() {
  std::vector<VectorIsa> isas;
  for (VectorIsa isa : {VectorIsa::baseline, VectorIsa::avx2, VectorIsa::avx512}) {
    if (vector_isa_available(isa)) isas.push_back(isa);
  }
  return isas;
}

// The kernels' exp of the given isa against the library, bit for bit (NaN included).
::testing::AssertionResult SameAsLibrary(VectorIsa isa, const std::vector<double>& x) {
  limit_vector_isa(isa);
  const LaneKernels& k = lane_kernels();
  limit_vector_isa(VectorIsa::avx512);
  std::vector<float> out(x.size());
  k.exp_floats(x.data(), out.data(), static_cast<int>(x.size()));
  for (std::size_t i = 0; i < x.size(); ++i) {
    const float expected = static_cast<float>(std::exp(x[i]));
    if (std::bit_cast<uint32_t>(out[i]) != std::bit_cast<uint32_t>(expected)) {
      return ::testing::AssertionFailure() << vector_isa_name(isa) << ": exp(" << x[i] << ") gave "
                                           << out[i] << ", not " << expected;
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace

TEST(VectorExp, EstimateAndLibraryAreWithinTheirBoundsAndRarelyUndecided) {
  const std::vector<double> x = random_arguments(kRandomArguments);
  double worst = 0.0, library_worst = 0.0;
  int undecided = 0;
  for (std::size_t i = 0; i + 4 <= x.size(); i += 4) {
    const Lanes4 v = {x[i], x[i + 1], x[i + 2], x[i + 3]};
    const Lanes4 e = exp_estimate(v);
    const Int64sOf<Lanes4> flags = exp_undecided(v, e);
    for (int l = 0; l < 4; ++l) {
      const long double exact = std::exp(static_cast<long double>(v[l]));
      worst = std::max(worst, static_cast<double>(std::fabs(e[l] - exact) / exact));
      const long double library = std::exp(v[l]);
      library_worst =
          std::max(library_worst, static_cast<double>(std::fabs(library - exact) / exact));
      undecided += flags[l] < 0;
    }
  }
  EXPECT_LT(worst, kExpError);
  // The bound on the library's exp that the choice between E and the library relies on.
  EXPECT_LE(library_worst, 0x1p-52);
  EXPECT_GT(worst, 0.0);
  // About 4 in a million fall near a boundary.
  EXPECT_LT(undecided, kRandomArguments / 20000);
}

TEST(VectorExp, BoundaryCasesAreLeftToTheLibrary) {
  const std::vector<double> x = boundary_arguments();
  for (std::size_t i = 0; i + 4 <= x.size(); i += 4) {
    const Lanes4 v = {x[i], x[i + 1], x[i + 2], x[i + 3]};
    const Int64sOf<Lanes4> flags = exp_undecided(v, exp_estimate(v));
    for (int l = 0; l < 4; ++l) ASSERT_LT(flags[l], 0) << v[l];
  }
  for (VectorIsa isa : available_isas()) EXPECT_TRUE(SameAsLibrary(isa, x));
}

TEST(VectorExp, GivesTheLibraryFloatOnEveryInstructionSet) {
  std::vector<double> x = random_arguments(kRandomArguments);
  const double inf = std::numeric_limits<double>::infinity();
  const double edges[] = {0.0,
                          -0.0,
                          kExpLimit,
                          -kExpLimit,
                          std::nextafter(kExpLimit, inf),
                          -std::nextafter(kExpLimit, inf),
                          88.0,
                          88.8,
                          89.0,
                          -88.0,
                          -103.0,
                          -104.0,
                          -745.2,
                          -746.0,
                          709.0,
                          710.0,
                          1.0e300,
                          -1.0e300,
                          inf,
                          -inf,
                          std::numeric_limits<double>::quiet_NaN(),
                          4.9e-324,
                          -2.2e-308};
  x.insert(x.begin(), std::begin(edges), std::end(edges));
  for (VectorIsa isa : available_isas()) EXPECT_TRUE(SameAsLibrary(isa, x));
}

// The blocking analysis on series whose error is known: independent values, an AR(1) process
// with a long correlation time, weighted values; the chi-square points; the line through
// energies at several time steps.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "sim/dmc/blocking.h"

using namespace qh2::dmc;

namespace {

// x_t = rho x_{t-1} + sqrt(1 - rho^2) e_t with unit variance: the mean of n values has the
// standard error sqrt((1 + rho) / (1 - rho) / n) for large n.
std::vector<double> ar1(double rho, std::size_t n, unsigned seed) {
  std::mt19937_64 rng(seed);
  std::normal_distribution<double> e;
  std::vector<double> x(n);
  double v = e(rng);
  for (std::size_t t = 0; t < n; ++t) x[t] = v = rho * v + std::sqrt(1 - rho * rho) * e(rng);
  return x;
}

}  // namespace

TEST(Blocking, IndependentValuesKeepTheirPlainError) {
  const std::size_t n = 1 << 16;
  const std::vector<double> x = ar1(0.0, n, 1), w(n, 1.0);
  const BlockingResult r = blocking_analysis(x, w);
  EXPECT_TRUE(r.plateau);
  EXPECT_LE(r.level, 2);
  EXPECT_NEAR(r.error, 1 / std::sqrt(double(n)), 0.1 / std::sqrt(double(n)));
}

TEST(Blocking, CorrelatedValuesGetTheirLargerErrorFromTheChosenLevel) {
  // rho = 0.95: the error is 6.2 times the naive one. Over 20 series the estimates scatter
  // about the truth; their mean is within 5% of it.
  const double rho = 0.95;
  const std::size_t n = 1 << 17;
  const double truth = std::sqrt((1 + rho) / (1 - rho) / double(n));
  double sum = 0;
  for (unsigned s = 0; s < 20; ++s) {
    const BlockingResult r = blocking_analysis(ar1(rho, n, 100 + s), std::vector<double>(n, 1.0));
    EXPECT_TRUE(r.plateau) << s;
    EXPECT_GE(r.level, 4) << s;  // blocks of at least 16 values, about the correlation time
    EXPECT_GE(r.blocks, kMinBlocks) << s;
    sum += r.error;
  }
  EXPECT_NEAR(sum / 20 / truth, 1.0, 0.05);
}

TEST(Blocking, WeightedMeanAndTooShortSeries) {
  const BlockingResult r = blocking_analysis({1.0, 2.0, 4.0, 3.0}, {1.0, 1.0, 2.0, 0.0});
  EXPECT_DOUBLE_EQ(r.mean, (1.0 + 2.0 + 8.0) / 4.0);
  EXPECT_FALSE(r.plateau);  // four values make no level of 16 blocks
  EXPECT_TRUE(std::isfinite(r.error));
  const BlockingResult empty = blocking_analysis({}, {});
  EXPECT_EQ(empty.error, 0.0);
  const BlockingResult flat =
      blocking_analysis(std::vector<double>(64, -31.5), std::vector<double>(64, 2.0));
  EXPECT_EQ(flat.mean, -31.5);
  EXPECT_EQ(flat.error, 0.0);
}

TEST(Blocking, ChiSquarePointsAndTheLineToZeroTimeStep) {
  EXPECT_DOUBLE_EQ(chi_square_99(1), 6.635);
  EXPECT_DOUBLE_EQ(chi_square_99(30), 50.892);
  EXPECT_NEAR(chi_square_99(31), 52.191, 0.05);
  EXPECT_NEAR(chi_square_99(60), 88.379, 0.05);
  // Three points on E = -31.9 + 2 tau: the line itself, chi^2 0; the intercept's error from
  // the errors 0.01, 0.01, 0.02 at tau = 1, 2, 4.
  const Extrapolation x =
      extrapolate_to_zero({1e-3, 2e-3, 4e-3}, {-31.898, -31.896, -31.892}, {0.01, 0.01, 0.02});
  EXPECT_NEAR(x.e0, -31.9, 1e-9);
  EXPECT_NEAR(x.slope, 2.0, 1e-6);
  EXPECT_NEAR(x.chi2, 0.0, 1e-12);
  // w = 1e4, 1e4, 2500: S = 22500, St = 40, Stt = 0.09, det = S Stt - St^2 = 425.
  EXPECT_NEAR(x.error, std::sqrt(0.09 / 425.0), 1e-12);
}

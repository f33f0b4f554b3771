// The blocking transformation, Jonsson's test and the time-step fit.
#include "sim/dmc/blocking.h"

#include <algorithm>
#include <cmath>

namespace qh2::dmc {

double chi_square_99(int k) {
  // Exact to the digits shown for k <= 30; beyond, Wilson and Hilferty's cube is within 0.1%.
  static const double kTable[31] = {0,      6.635,  9.210,  11.345, 13.277, 15.086, 16.812, 18.475,
                                    20.090, 21.666, 23.209, 24.725, 26.217, 27.688, 29.141, 30.578,
                                    32.000, 33.409, 34.805, 36.191, 37.566, 38.932, 40.289, 41.638,
                                    42.980, 44.314, 45.642, 46.963, 48.278, 49.588, 50.892};
  if (k <= 0) return 0.0;
  if (k <= 30) return kTable[k];
  const double z = 2.326348, c = 2.0 / (9.0 * k), t = 1.0 - c + z * std::sqrt(c);
  return k * t * t * t;
}

BlockingResult blocking_analysis(const std::vector<double>& values,
                                 const std::vector<double>& weights) {
  std::vector<double> scratch;
  return blocking_analysis(values, weights, scratch);
}

BlockingResult blocking_analysis(const std::vector<double>& values,
                                 const std::vector<double>& weights, std::vector<double>& y) {
  BlockingResult r;
  const std::size_t n = values.size();
  if (n == 0) return r;
  double sum_w = 0, sum_wv = 0;
  for (std::size_t t = 0; t < n; ++t) {
    sum_w += weights[t];
    sum_wv += weights[t] * values[t];
  }
  r.mean = sum_wv / sum_w;
  const double mean_w = sum_w / static_cast<double>(n);
  if (y.capacity() < n) y.reserve(2 * n);  // the series grows between looks
  y.resize(n);
  for (std::size_t t = 0; t < n; ++t) y[t] = weights[t] * (values[t] - r.mean) / mean_w;

  // Per level: blocks, the error of the mean, and Jonsson's n gamma^2 / s^4.
  struct Level {
    std::size_t blocks;
    double error, statistic;
  };
  std::vector<Level> levels;
  while (y.size() >= 2) {
    const std::size_t m = y.size();
    double mean = 0;
    for (double v : y) mean += v;
    mean /= static_cast<double>(m);
    double s2 = 0, gamma = 0;
    for (std::size_t i = 0; i < m; ++i) s2 += (y[i] - mean) * (y[i] - mean);
    for (std::size_t i = 0; i + 1 < m; ++i) gamma += (y[i] - mean) * (y[i + 1] - mean);
    s2 /= static_cast<double>(m);
    gamma /= static_cast<double>(m);
    const double statistic = s2 > 0 ? static_cast<double>(m) * (gamma / s2) * (gamma / s2) : 0.0;
    levels.push_back({m, std::sqrt(s2 / static_cast<double>(m - 1)), statistic});
    // The next level in place (block i reads places skip + 2i and on, never below i): a run
    // with a target error looks at its growing series every few hundred steps, and fresh
    // memory for every level and look cost a third as much again as the sums, in page faults.
    const std::size_t skip = m % 2;
    for (std::size_t i = 0; i < m / 2; ++i) y[i] = 0.5 * (y[skip + 2 * i] + y[skip + 2 * i + 1]);
    y.resize(m / 2);
  }
  if (levels.empty()) return r;

  const int count = static_cast<int>(levels.size());
  double tail = 0;  // M_j = sum of the statistics of levels j ... count - 1
  int chosen = -1;
  std::vector<double> m(count);
  for (int j = count - 1; j >= 0; --j) m[j] = (tail += levels[j].statistic);
  for (int j = 0; j < count; ++j) {
    if (m[j] < chi_square_99(count - j)) {
      chosen = j;
      break;
    }
  }
  if (chosen >= 0 && levels[chosen].blocks >= static_cast<std::size_t>(kMinBlocks)) {
    r.level = chosen;
    r.plateau = true;
  } else {
    // No uncorrelated level with enough blocks: the largest error of those that have them.
    r.level = 0;
    for (int j = 0; j < count && levels[j].blocks >= static_cast<std::size_t>(kMinBlocks); ++j) {
      if (levels[j].error > levels[r.level].error) r.level = j;
    }
  }
  r.error = levels[r.level].error;
  r.blocks = static_cast<int>(levels[r.level].blocks);
  // The first uncorrelated level still underestimates the error by the correlation left
  // between neighbouring blocks, about the correlation time over the block size (a few per
  // cent); the next level, if it has blocks enough, halves that.
  const int next = r.level + 1;
  if (r.plateau && next < count && levels[next].blocks >= static_cast<std::size_t>(kMinBlocks)) {
    r.error = std::max(r.error, levels[next].error);
  }
  return r;
}

Extrapolation extrapolate_to_zero(const std::vector<double>& tau, const std::vector<double>& energy,
                                  const std::vector<double>& error) {
  Extrapolation x;
  double s = 0, st = 0, stt = 0, se = 0, ste = 0;
  for (std::size_t i = 0; i < tau.size(); ++i) {
    const double w = 1.0 / (error[i] * error[i]);
    s += w;
    st += w * tau[i];
    stt += w * tau[i] * tau[i];
    se += w * energy[i];
    ste += w * tau[i] * energy[i];
  }
  const double det = s * stt - st * st;
  if (!(det > 0)) return x;
  x.e0 = (stt * se - st * ste) / det;
  x.slope = (s * ste - st * se) / det;
  x.error = std::sqrt(stt / det);
  x.slope_error = std::sqrt(s / det);
  if (tau.size() > 2) {
    double chi2 = 0;
    for (std::size_t i = 0; i < tau.size(); ++i) {
      const double d = (energy[i] - x.e0 - x.slope * tau[i]) / error[i];
      chi2 += d * d;
    }
    x.chi2 = chi2 / static_cast<double>(tau.size() - 2);
  }
  return x;
}

}  // namespace qh2::dmc

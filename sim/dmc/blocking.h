// Honest error bars for serially correlated Monte Carlo data: the blocking analysis of
// Flyvbjerg and Petersen (J. Chem. Phys. 91, 461 (1989)) with the block size chosen by the
// analysis itself, by the hypothesis test of Jonsson (Phys. Rev. E 98, 043304 (2018)); and
// the extrapolation of energies at several time steps to a zero time step.
#pragma once

#include <vector>

namespace qh2::dmc {

struct BlockingResult {
  double mean = 0;       // the weighted mean
  double error = 0;      // its standard error
  int level = 0;         // blocking level chosen: blocks of 2^level values
  int blocks = 0;        // how many blocks that level has
  bool plateau = false;  // the test found a level whose blocks are uncorrelated
};

// The weighted mean of values[t] with weights[t] (the weight of a time step's energy is the
// total weight of its walkers) and its standard error. The residuals
// y_t = weights[t] (values[t] - mean) / mean weight are averaged in pairs, level after level
// (an odd one out at the start of a level is dropped). At level k, with n_k blocks, the error
// of the mean is s_k / sqrt(n_k - 1) for the blocks' variance s_k^2; the blocks are taken to be
// independent from the first level j at which the lag-one correlations of all levels from j on,
// n_k (gamma_k / s_k^2)^2 summed, stay below the 99% point of the chi-square distribution with
// as many degrees of freedom; the error is the larger of that level's and the next one's (when
// it has kMinBlocks blocks), because neighbouring blocks keep a little correlation. Without such
// a level of at least kMinBlocks blocks, plateau is false and the error is the largest of the
// levels with kMinBlocks blocks or more.
inline constexpr int kMinBlocks = 16;
BlockingResult blocking_analysis(const std::vector<double>& values,
                                 const std::vector<double>& weights);
// The same, with the residuals and blocks in `scratch` (for repeated analyses of a growing
// series, without new memory each time).
BlockingResult blocking_analysis(const std::vector<double>& values,
                                 const std::vector<double>& weights, std::vector<double>& scratch);

// The 99% point of the chi-square distribution with k degrees of freedom.
double chi_square_99(int k);

// A straight line E(tau) = e0 + slope tau through energies with standard errors, by weighted
// least squares: its value at tau = 0 with its standard error, and chi^2 per degree of
// freedom of the fit (0 for two points).
struct Extrapolation {
  double e0 = 0, error = 0, slope = 0, slope_error = 0, chi2 = 0;
};
Extrapolation extrapolate_to_zero(const std::vector<double>& tau, const std::vector<double>& energy,
                                  const std::vector<double>& error);

}  // namespace qh2::dmc

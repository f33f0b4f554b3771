// One separation by variational or diffusion Monte Carlo with qh2's trial function, and a list
// of separations (and time steps) spread over threads. The error analysis of the method is at
// the top of run.cpp.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

#include "sim/dmc/team.h"

namespace qh2::dmc {

enum class Method { vmc, dmc };

struct Settings {
  Method method = Method::dmc;
  double time_step = 0.0015;   // 1/eV
  int walkers = 2000;          // the target population in diffusion runs
  long steps = 0;              // production steps; 0: until the standard error is target_error
  double target_error = 0.01;  // eV
  long equilibration = -1;     // diffusion steps before production; -1: kEquilibrationTime
  uint64_t seed = 1;
  // The Jastrow parameter beta (1/A); not a number: optimised per separation.
  double beta = std::numeric_limits<double>::quiet_NaN();
  long max_steps = 1L << 22;  // the most production steps a target error may take
};

// Imaginary time, in 1/hartree, of the default equilibration of a diffusion run and of the
// population control's response.
inline constexpr double kEquilibrationTime = 20.0;
// The default equilibration's steps at most (for time steps below 2e-4/hartree).
inline constexpr long kMostEquilibration = 100000;
inline constexpr double kFeedbackTime = 2.0;
// The variational walk that makes the start of a diffusion run, and its time step (1/eV).
inline constexpr int kVariationalSteps = 200;
inline constexpr double kVariationalTimeStep = 0.011;

struct Result {
  double separation = 0, time_step = 0;
  double energy = 0, error = 0;  // eV
  bool plateau = false;          // the blocking analysis found uncorrelated blocks
  double acceptance = 0;         // mean acceptance probability of the moves
  double beta = 0;               // the Jastrow parameter used
  double population = 0;         // mean number of walkers in production
  int walkers = 0;
  long steps = 0;  // production steps
  double cpu_seconds = 0;
};

// Called by the computing thread with the fraction of the separation's work done so far.
using Progress = std::function<void(double fraction)>;

// The separation `sep` (A) on the threads of `team` (whose member 0 is the caller). The result
// depends on the settings and the separation only: not on the team's size.
Result run_separation(const Settings& s, double sep, Team& team, const Progress& progress);

// The energies of the variational trial function at several Jastrow parameters, by correlated
// sampling of configurations drawn at the first: for the optimisation, and its test.
std::vector<double> variational_energies(const Settings& s, double sep,
                                         const std::vector<double>& betas, Team& team);

}  // namespace qh2::dmc

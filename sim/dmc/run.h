// One separation by variational or diffusion Monte Carlo with qh2's trial function, and a list
// of separations (and time steps) spread over threads. The error analysis of the method is at
// the top of run.cpp.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

#include "sim/dmc/team.h"
#include "sim/dmc/walkers.h"

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

// The walkers of a run and what their steps accumulate.
struct WalkState {
  MoveParams moves;  // the trial function, time step, seed, stream and the next step's number
  Walkers walkers;
  double moved_accepted = 0, moved_proposed = 0;  // squared move lengths, for tau_eff
  double energy = 0, weight = 0, acceptance = 0;  // the last step's
};

// Everything a run carries from one step to the next, as a plain value: a copy advanced by
// the same steps gives the same bits as the original, so it can be stored and restored.
struct RunState {
  enum class Phase { start, equilibration, production, done };
  Settings settings;
  Result result;  // the separation, time step, walkers and beta; the rest when done
  Phase phase = Phase::start;
  long in_phase = 0;       // steps done in the phase
  long equilibration = 0;  // steps of the equilibration phase
  WalkState walk;
  // Running sums of the mixed estimates of the start and the equilibration (the best energy so
  // far is the mean of the second half).
  std::vector<double> start_sums{0.0}, recent_sums{0.0};
  double e_best = 0, e_trial = 0;
  // Production: each step's mixed estimate and weight, and running sums.
  std::vector<double> energies, weights;
  double sum_we = 0, sum_w = 0, sum_accept = 0, sum_population = 0;
  double error_seen = 0;  // the standard error at the last look (target error runs)
  double cpu_seconds = 0;
};

// The start of a run at the separation `sep` (A): the Jastrow parameter optimised if asked
// for, the walkers placed.
RunState begin_run(const Settings& s, double sep, Team& team);
// Advances the run by `steps` steps or to its end (steps < 0: to its end), on the threads of
// `team` (whose member 0 is the caller); true when it has ended and its result is complete.
bool advance(RunState& state, Team& team, long steps, const Progress& progress);

// A whole run. The result depends on the settings and the separation only: not on the team's
// size, nor on how the run was divided between calls of advance.
Result run_separation(const Settings& s, double sep, Team& team, const Progress& progress);

// The energies of the variational trial function at several Jastrow parameters, by correlated
// sampling of configurations drawn at the first: for the optimisation, and its test.
std::vector<double> variational_energies(const Settings& s, double sep,
                                         const std::vector<double>& betas, Team& team);

}  // namespace qh2::dmc

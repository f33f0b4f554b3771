// Variational and diffusion Monte Carlo of the hydrogen molecule with qh2's trial function psi,
// in double precision.
//
// Method. Walkers move by drift and diffusion, R' = R + d(R) + sqrt(eps) chi (eps = hbar2m tau,
// d = eps grad ln psi limited as Umrigar, Nightingale and Runge, J. Chem. Phys. 99, 2865 (1993),
// "UNR"), and a Metropolis test with the move's own transition probabilities accepts R' so that
// psi^2 is sampled exactly at any time step. A variational run averages the local energy E_L
// over these walkers. A diffusion run also gives each walker the weight
// exp(tau_eff (E_T - (E_L(R) + E_L(R_new)) / 2)) per step, R_new its position after the test and
// tau_eff = tau <p dR^2> / <dR^2> the time step that the accepted moves diffused for (UNR);
// walkers above weight 2 split, below 1/2 survive with probability w, so the expected weight is
// kept. The reference energy E_T is the best estimate so far (the running mixed estimator)
// less ln(W / N) / (tau_eff T_g): the total weight W returns to the target N within
// T_g tau_eff = kFeedbackTime. The energy is the mixed estimator sum w E_L / sum w over the
// production steps. The ground state of H2 has no node and psi > 0 everywhere, so nothing is
// fixed but the time step: the estimator converges to the exact Born-Oppenheimer energy as
// tau -> 0, N -> infinity and the run length grows.
//
// Errors.
// - Statistical: the per-step energies are serially correlated (a walker keeps its position for
//   many steps); their standard error comes from the blocking analysis of blocking.h, whose
//   block size is chosen by a test of the blocks' correlation, not fixed. A target error runs
//   production until that error is reached with uncorrelated blocks.
// - Time step: the short-time propagator is exact to first order in tau only; the energy's
//   bias is linear in tau for small tau. The Metropolis test removes the bias of the sampled
//   distribution (not of the projection). docs/qh2.md shows it below the statistical error
//   at the default time steps (+10 +- 5 eV^2 tau near equilibrium), by runs at three time
//   steps and their extrapolation to zero.
// - Population control: adjusting E_T by the population biases the energy by O(1/N); it is
//   below the statistical error at the default N (docs/qh2.md compares 500 and 8000).
// - The trial function's Jastrow parameter beta can be optimised per separation by correlated
//   sampling; it changes the variance and the time-step bias, never the tau -> 0 limit.
// Every number a walker slot uses comes from Philox at (block, slot, step, stream) under the
// seed, and every sum runs in walker order: the results do not depend on the threads.
#include "sim/dmc/run.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <stdexcept>
#include <string>

#include "sim/dmc/blocking.h"
#include "sim/dmc/dispatch.h"
#include "sim/dmc/philox.h"
#include "sim/dmc/trial.h"
#include "sim/dmc/walkers.h"

namespace qh2::dmc {
namespace {

// Philox blocks: a move reads blocks base ... base + 3; the start configurations base + 8 ...
// base + 10. The main run has base 0, the Jastrow parameter's sampling run base 16.
constexpr uint32_t kStartBlock = 8;
constexpr uint32_t kSamplingBase = 16;
// The production steps between two looks at the standard error, and the fewest before the
// first look.
constexpr long kRound = 512;
constexpr long kFirstLook = 2048;
// The Jastrow parameters tried by the optimisation: 0.25 * 2^(k/2), sampled at 1.
const std::vector<double> kBetaGrid = {1.0, 0.25, 0.354, 0.5, 0.707, 1.414, 2.0, 2.828, 4.0};

uint64_t mix64(uint64_t z) {
  z += 0x9e3779b97f4a7c15ull;
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
  return z ^ (z >> 31);
}

// A separation, time step and method have their own stream, so that a separation gives the
// same result alone and in any list.
uint32_t stream_of(const Settings& s, double sep) {
  const uint64_t h = mix64(std::bit_cast<uint64_t>(sep) ^
                           mix64(std::bit_cast<uint64_t>(s.time_step) + uint64_t(s.method)));
  return static_cast<uint32_t>(h ^ (h >> 32));
}

// The walkers' lead, pair, energy and gradient under the trial function of w.moves.
void evaluate_walkers(WalkState& w, const Kernels& k) {
  Walkers& v = w.walkers;
  const double* x[6];
  double* g[6];
  for (int i = 0; i < 6; ++i) {
    x[i] = v.x[i].data();
    g[i] = v.g[i].data();
  }
  k.evaluate(w.moves.trial, x, v.size(), v.lead.data(), v.pair.data(), v.energy.data(), g);
  for (int i = 0; i < v.size(); ++i) {
    if (!std::isfinite(v.energy[i])) throw std::runtime_error("a start configuration is singular");
  }
}

// n walkers of weight 1, electron 1 in a cube of edge 2a about centre R and electron 2 about
// centre L, from the Philox blocks base + kStartBlock ... of step 0.
WalkState start_walk(const Settings& s, double sep, const Trial& t, uint32_t base,
                     const Kernels& k) {
  WalkState w;
  MoveParams& mp = w.moves;
  mp.key = {static_cast<uint32_t>(s.seed), static_cast<uint32_t>(s.seed >> 32)};
  mp.stream = stream_of(s, sep);
  mp.counter0 = base;
  mp.trial = t;
  const int n = s.walkers;
  w.walkers.resize(n);
  const double h = 0.5 * t.sep;
  for (int i = 0; i < n; ++i) {
    for (int b = 0; b < 3; ++b) {
      const Counter c = philox({base + kStartBlock + b, uint32_t(i), 0, mp.stream}, mp.key);
      w.walkers.x[2 * b][i] = (2.0 * uniform_of(c[0], c[1]) - 1.0) * t.a;
      w.walkers.x[2 * b + 1][i] = (2.0 * uniform_of(c[2], c[3]) - 1.0) * t.a;
    }
    w.walkers.x[2][i] += h;
    w.walkers.x[5][i] -= h;
    w.walkers.weight[i] = 1.0;
  }
  evaluate_walkers(w, k);
  return w;
}

void set_time_step(WalkState& w, double tau) {
  w.moves.eps = kHbar2m * tau;
  w.moves.sigma = std::sqrt(w.moves.eps);
}

// The fraction of the proposed squared move length accepted, over all steps so far.
double accepted_fraction(const WalkState& w) {
  return w.moved_proposed > 0 ? w.moved_accepted / w.moved_proposed : 1.0;
}

double total_weight(const WalkState& w) {
  double sum = 0;
  for (double x : w.walkers.weight) sum += x;
  return sum;
}

// The walkers after branching: the extra copies of splitting walkers go to the end, in walker
// order; the places of walkers that died are filled from the end, the first place from the
// last walker. The order depends on the copies alone, not on the threads.
void branch_walkers(Walkers& w, const MoveOutputs& out, int n) {
  int size = n;
  for (int i = 0; i < n; ++i) size += std::max(0, out.copies[i] - 1);
  if (size != n) w.resize(size);
  int at = n;
  for (int i = 0; i < n; ++i) {
    for (int c = 1; c < out.copies[i]; ++c) w.copy_from(w, i, at++);
  }
  int last = size - 1;
  auto dead = [&](int i) { return i < n && out.copies[i] == 0; };
  for (int hole = 0; hole <= last; ++hole) {
    if (!dead(hole)) continue;
    while (last > hole && dead(last)) --last;
    if (last == hole) {
      --last;
      break;
    }
    w.copy_from(w, last--, hole);
  }
  w.resize(last + 1);
}

// One step of every walker; diffusion steps weigh and branch with tau_eff and E_T.
void step_walkers(WalkState& w, Team& team, const Kernels& k, MoveOutputs& out, bool branch,
                  double tau_eff, double e_trial) {
  MoveParams& mp = w.moves;
  mp.branch = branch;
  mp.tau_eff = tau_eff;
  mp.e_trial = e_trial;
  const int n = w.walkers.size();
  out.resize(n);
  const int size = team.size(), width = k.width;
  const int chunk = ((n + size - 1) / size + width - 1) / width * width;
  team.run([&](int m) {
    const int first = m * chunk, count = std::min(chunk, n - first);
    if (count > 0) k.move(mp, w.walkers, first, count, out);
  });
  ++mp.step;
  // The step's sums, in walker order.
  double we = 0, ww = 0, pd = 0, d = 0, p = 0;
  long copies = 0;
  for (int i = 0; i < n; ++i) {
    we += out.weight[i] * out.energy[i];
    ww += out.weight[i];
    pd += out.accept[i] * out.moved2[i];
    d += out.moved2[i];
    p += out.accept[i];
    copies += out.copies[i];
  }
  w.energy = we / ww;
  w.weight = ww;
  w.acceptance = p / n;
  w.moved_accepted += pd;
  w.moved_proposed += d;
  if (!branch) return;
  if (copies == 0) throw std::runtime_error("the population of walkers died out");
  branch_walkers(w.walkers, out, n);
}

// The mean of the second half of a series from its running sums (sums[0] = 0).
double mean_of_last_half(const std::vector<double>& sums) {
  const std::size_t n = sums.size() - 1, from = n / 2;
  return (sums[n] - sums[from]) / static_cast<double>(n - from);
}

}  // namespace

std::vector<double> variational_energies(const Settings& s, double sep,
                                         const std::vector<double>& betas, Team& team) {
  const Kernels& k = kernels();
  MoveOutputs out;
  WalkState walk = start_walk(s, sep, make_trial(sep, betas.front()), kSamplingBase, k);
  set_time_step(walk, kVariationalTimeStep);
  for (int i = 0; i < kVariationalSteps; ++i) step_walkers(walk, team, k, out, false, 0, 0);
  // Configurations of every other step, and the Jastrow exponent they were drawn with.
  std::vector<double> x[6], lead0;
  for (int i = 0; i < kVariationalSteps; ++i) {
    step_walkers(walk, team, k, out, false, 0, 0);
    if (i % 2) continue;
    const Walkers& w = walk.walkers;
    for (int j = 0; j < 6; ++j) x[j].insert(x[j].end(), w.x[j].begin(), w.x[j].end());
    lead0.insert(lead0.end(), w.lead.begin(), w.lead.end());
  }
  const int n = static_cast<int>(lead0.size());
  const double* xs[6];
  for (int j = 0; j < 6; ++j) xs[j] = x[j].data();
  std::vector<double> lead(n), pair(n), energy(n), result;
  for (double beta : betas) {
    k.evaluate(make_trial(sep, beta), xs, n, lead.data(), pair.data(), energy.data(), nullptr);
    // psi_beta^2 / psi_1^2: only the Jastrow factor differs.
    double we = 0, ww = 0;
    for (int i = 0; i < n; ++i) {
      const double w = std::exp(2.0 * (lead[i] - lead0[i]));
      we += w * energy[i];
      ww += w;
    }
    result.push_back(we / ww);
  }
  return result;
}

RunState begin_run(const Settings& s, double sep, Team& team) {
  const double cpu0 = team.cpu_seconds();
  RunState st;
  st.settings = s;
  Result& r = st.result;
  r.separation = sep;
  r.time_step = s.time_step;
  r.walkers = s.walkers;
  r.beta = s.beta;
  if (std::isnan(r.beta)) {
    const std::vector<double> e = variational_energies(s, sep, kBetaGrid, team);
    r.beta = kBetaGrid[std::min_element(e.begin(), e.end()) - e.begin()];
  }
  const double tau_au = s.time_step * kHartree;
  if (s.equilibration >= 0) {
    st.equilibration = s.equilibration;
  } else if (s.method == Method::dmc) {
    st.equilibration = std::min(kMostEquilibration, std::lround(kEquilibrationTime / tau_au));
  }
  st.walk = start_walk(s, sep, make_trial(sep, r.beta), 0, kernels());
  set_time_step(st.walk, kVariationalTimeStep);
  st.cpu_seconds = team.cpu_seconds() - cpu0;
  return st;
}

bool advance(RunState& st, Team& team, long steps, const Progress& progress) {
  const double cpu0 = team.cpu_seconds();
  const Settings& s = st.settings;
  const Kernels& k = kernels();
  const bool dmc = s.method == Method::dmc;
  const double tau_au = s.time_step * kHartree;
  const double feedback = std::max(1.0, kFeedbackTime / tau_au);
  const long expected = s.steps > 0 ? s.steps : 16 * kFirstLook;
  MoveOutputs out;
  std::vector<double> scratch;  // the blocking analysis's, kept between looks
  WalkState& walk = st.walk;
  using Phase = RunState::Phase;

  // The fraction done: the production's length is known, or estimated from the error's
  // decrease as 1/sqrt(steps).
  auto report = [&] {
    if (!progress) return;
    long needed = s.steps > 0 ? s.steps : std::max(expected, st.in_phase + kRound);
    long done = kVariationalSteps + st.equilibration;
    if (st.phase == Phase::start) done = st.in_phase;
    if (st.phase == Phase::equilibration) done = kVariationalSteps + st.in_phase;
    if (st.phase == Phase::production) {
      done += st.in_phase;
      if (s.steps == 0 && st.error_seen > 0) {
        const double ratio = st.error_seen / s.target_error;
        needed = std::max(st.in_phase + kRound, long(double(st.in_phase) * ratio * ratio));
      }
    }
    progress(double(done) / double(kVariationalSteps + st.equilibration + needed));
  };
  auto control = [&] {
    const double tau_eff = s.time_step * accepted_fraction(walk);
    st.e_trial = st.e_best - std::log(total_weight(walk) / s.walkers) / (tau_eff * feedback);
  };

  for (long taken = 0; st.phase != Phase::done && (steps < 0 || taken < steps); ++taken) {
    if (st.phase == Phase::start) {
      // The variational walk at its own time step that starts every run.
      step_walkers(walk, team, k, out, false, 0, 0);
      st.start_sums.push_back(st.start_sums.back() + walk.energy);
      if (++st.in_phase < kVariationalSteps) continue;
      set_time_step(walk, s.time_step);
      walk.moved_accepted = walk.moved_proposed = 0;
      st.e_best = st.e_trial = mean_of_last_half(st.start_sums);
      st.phase = Phase::equilibration;
      st.in_phase = 0;
    } else if (st.phase == Phase::equilibration && st.in_phase < st.equilibration) {
      // The projection of a diffusion run; a walk at the run's time step otherwise.
      if (st.in_phase % 64 == 0) report();
      step_walkers(walk, team, k, out, dmc, s.time_step * accepted_fraction(walk), st.e_trial);
      st.recent_sums.push_back(st.recent_sums.back() + walk.energy);
      st.e_best = mean_of_last_half(st.recent_sums);
      if (dmc) control();
      ++st.in_phase;
    } else if (st.phase == Phase::equilibration) {
      st.phase = Phase::production;
      st.in_phase = 0;
      --taken;  // a change of phase is not a step
    } else {
      const long i = st.in_phase;
      bool end = s.steps > 0 ? i >= s.steps : i >= s.max_steps;
      if (!end && s.steps == 0 && i >= kFirstLook && i % kRound == 0) {
        const BlockingResult b = blocking_analysis(st.energies, st.weights, scratch);
        st.error_seen = b.error;
        end = b.plateau && b.error <= s.target_error;
        report();
      } else if (i % 64 == 0) {
        report();
      }
      if (end) {
        const BlockingResult b = blocking_analysis(st.energies, st.weights);
        Result& r = st.result;
        r.energy = b.mean;
        r.error = b.error;
        r.plateau = b.plateau;
        r.steps = static_cast<long>(st.energies.size());
        r.acceptance = r.steps > 0 ? st.sum_accept / double(r.steps) : 0.0;
        r.population = r.steps > 0 ? st.sum_population / double(r.steps) : 0.0;
        st.phase = Phase::done;
        --taken;
        continue;
      }
      step_walkers(walk, team, k, out, dmc, s.time_step * accepted_fraction(walk), st.e_trial);
      st.energies.push_back(walk.energy);
      st.weights.push_back(walk.weight);
      st.sum_we += walk.weight * walk.energy;
      st.sum_w += walk.weight;
      st.sum_accept += walk.acceptance;
      st.sum_population += walk.walkers.size();
      if (dmc) {
        st.e_best = st.sum_we / st.sum_w;
        control();
      }
      ++st.in_phase;
    }
  }
  st.cpu_seconds += team.cpu_seconds() - cpu0;
  st.result.cpu_seconds = st.cpu_seconds;
  if (st.phase == Phase::done && progress) progress(1.0);
  return st.phase == Phase::done;
}

Result run_separation(const Settings& s, double sep, Team& team, const Progress& progress) {
  RunState st = begin_run(s, sep, team);
  advance(st, team, -1, progress);
  return st.result;
}

}  // namespace qh2::dmc

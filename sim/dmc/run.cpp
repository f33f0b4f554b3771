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
//   distribution (not of the projection). README.md shows it below the statistical error at
//   the default time step, by runs at three time steps and their extrapolation to zero.
// - Population control: adjusting E_T by the population biases the energy by O(1/N); it is
//   below the statistical error at the default N (README.md compares N and 4N).
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

// The walkers of one run and the steps that move them.
class Walk {
 public:
  Walk(const Settings& s, double sep, Team& team, uint32_t base)
      : team_(team), k_(kernels()), base_(base) {
    mp_.key = {static_cast<uint32_t>(s.seed), static_cast<uint32_t>(s.seed >> 32)};
    mp_.stream = stream_of(s, sep);
  }

  // N walkers, electron 1 in a cube of edge 2a about centre R and electron 2 about centre L.
  void start(const Trial& t, int n) {
    mp_.trial = t;
    w_.resize(n);
    const double h = 0.5 * t.sep;
    for (int s = 0; s < n; ++s) {
      for (int b = 0; b < 3; ++b) {
        const Counter c = philox({base_ + kStartBlock + b, uint32_t(s), 0, mp_.stream}, mp_.key);
        w_.x[2 * b][s] = (2.0 * uniform_of(c[0], c[1]) - 1.0) * t.a;
        w_.x[2 * b + 1][s] = (2.0 * uniform_of(c[2], c[3]) - 1.0) * t.a;
      }
      w_.x[2][s] += h;
      w_.x[5][s] -= h;
      w_.weight[s] = 1.0;
    }
    evaluate_all();
  }

  // The walkers' lead, pair, energy and gradient under the current trial function.
  void evaluate_all() {
    const int n = w_.size();
    const double* x[6];
    double* g[6];
    for (int k = 0; k < 6; ++k) {
      x[k] = w_.x[k].data();
      g[k] = w_.g[k].data();
    }
    k_.evaluate(mp_.trial, x, n, w_.lead.data(), w_.pair.data(), w_.energy.data(), g);
    for (int i = 0; i < n; ++i) {
      if (!std::isfinite(w_.energy[i]))
        throw std::runtime_error("a start configuration is singular");
    }
  }

  void set_trial(const Trial& t) {
    mp_.trial = t;
    evaluate_all();
  }
  void set_time_step(double tau) {
    mp_.eps = kHbar2m * tau;
    mp_.sigma = std::sqrt(mp_.eps);
  }

  // One step of every walker; diffusion steps weigh and branch with tau_eff and E_T.
  void step(bool branch, double tau_eff, double e_trial) {
    mp_.branch = branch;
    mp_.tau_eff = tau_eff;
    mp_.e_trial = e_trial;
    mp_.counter0 = base_;
    mp_.step = step_++;
    const int n = w_.size();
    out_.resize(n);
    const int size = team_.size(), width = k_.width;
    const int chunk = ((n + size - 1) / size + width - 1) / width * width;
    team_.run([&](int m) {
      const int first = m * chunk, count = std::min(chunk, n - first);
      if (count > 0) k_.move(mp_, w_, first, count, out_);
    });
    // The step's sums, in walker order.
    double we = 0, ww = 0, pd = 0, d = 0, p = 0;
    long copies = 0;
    for (int i = 0; i < n; ++i) {
      we += out_.weight[i] * out_.energy[i];
      ww += out_.weight[i];
      pd += out_.accept[i] * out_.moved2[i];
      d += out_.moved2[i];
      p += out_.accept[i];
      copies += out_.copies[i];
    }
    energy_ = we / ww;
    weight_ = ww;
    accept_ = p / n;
    moved_accepted_ += pd;
    moved_proposed_ += d;
    if (!branch) return;
    if (copies == 0) throw std::runtime_error("the population of walkers died out");
    branch_walkers(n);
  }

  // The walkers after branching: the extra copies of splitting walkers go to the end, in
  // walker order; the places of walkers that died are filled from the end, the first place
  // from the last walker. The order depends on the copies alone, not on the threads.
  void branch_walkers(int n) {
    int size = n;
    for (int i = 0; i < n; ++i) size += std::max(0, out_.copies[i] - 1);
    if (size != n) w_.resize(size);
    int at = n;
    for (int i = 0; i < n; ++i) {
      for (int c = 1; c < out_.copies[i]; ++c) w_.copy_from(w_, i, at++);
    }
    int last = size - 1;
    auto dead = [&](int i) { return i < n && out_.copies[i] == 0; };
    for (int hole = 0; hole <= last; ++hole) {
      if (!dead(hole)) continue;
      while (last > hole && dead(last)) --last;
      if (last == hole) {
        --last;
        break;
      }
      w_.copy_from(w_, last--, hole);
    }
    w_.resize(last + 1);
  }

  // The fraction of the proposed squared displacement accepted, over all steps so far.
  double accepted_fraction() const {
    return moved_proposed_ > 0 ? moved_accepted_ / moved_proposed_ : 1.0;
  }
  void reset_fraction() { moved_accepted_ = moved_proposed_ = 0; }
  // The total weight of the walkers now (after branching).
  double total_weight() const {
    double sum = 0;
    for (double x : w_.weight) sum += x;
    return sum;
  }

  const Walkers& walkers() const { return w_; }
  double energy() const { return energy_; }  // the last step's mixed estimate
  double weight() const { return weight_; }  // its weight, before branching
  double acceptance() const { return accept_; }
  int population() const { return w_.size(); }

 private:
  Team& team_;
  const Kernels& k_;
  uint32_t base_;
  MoveParams mp_;
  Walkers w_;
  MoveOutputs out_;
  uint32_t step_ = 0;
  double energy_ = 0, weight_ = 0, accept_ = 0;
  double moved_accepted_ = 0, moved_proposed_ = 0;
};

// The mean of the second half of a growing series, from its running sums.
class LastHalf {
 public:
  void add(double x) { sums_.push_back(sums_.back() + x); }
  double mean() const {
    const std::size_t n = sums_.size() - 1, from = n / 2;
    return (sums_[n] - sums_[from]) / static_cast<double>(n - from);
  }

 private:
  std::vector<double> sums_{0.0};
};

}  // namespace

std::vector<double> variational_energies(const Settings& s, double sep,
                                         const std::vector<double>& betas, Team& team) {
  Walk walk(s, sep, team, kSamplingBase);
  walk.start(make_trial(sep, betas.front()), s.walkers);
  walk.set_time_step(kVariationalTimeStep);
  for (int i = 0; i < kVariationalSteps; ++i) walk.step(false, 0, 0);
  // Configurations of every other step, and the Jastrow exponent they were drawn with.
  std::vector<double> x[6], lead0;
  for (int i = 0; i < kVariationalSteps; ++i) {
    walk.step(false, 0, 0);
    if (i % 2) continue;
    const Walkers& w = walk.walkers();
    for (int k = 0; k < 6; ++k) x[k].insert(x[k].end(), w.x[k].begin(), w.x[k].end());
    lead0.insert(lead0.end(), w.lead.begin(), w.lead.end());
  }
  const int n = static_cast<int>(lead0.size());
  const double* xs[6];
  for (int k = 0; k < 6; ++k) xs[k] = x[k].data();
  std::vector<double> lead(n), pair(n), energy(n), result;
  for (double beta : betas) {
    kernels().evaluate(make_trial(sep, beta), xs, n, lead.data(), pair.data(), energy.data(),
                       nullptr);
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

Result run_separation(const Settings& s, double sep, Team& team, const Progress& progress) {
  const double cpu0 = team.cpu_seconds();
  Result r;
  r.separation = sep;
  r.time_step = s.time_step;
  r.walkers = s.walkers;
  r.beta = s.beta;
  if (std::isnan(r.beta)) {
    const std::vector<double> e = variational_energies(s, sep, kBetaGrid, team);
    r.beta = kBetaGrid[std::min_element(e.begin(), e.end()) - e.begin()];
  }
  const bool dmc = s.method == Method::dmc;
  const double tau_au = s.time_step * kHartree;
  const long equilibration =
      dmc ? (s.equilibration >= 0
                 ? s.equilibration
                 : std::min(kMostEquilibration, std::lround(kEquilibrationTime / tau_au)))
          : (s.equilibration >= 0 ? s.equilibration : 0);
  const long expected = s.steps > 0 ? s.steps : 16 * kFirstLook;
  long done = 0;
  auto report = [&](long needed) {
    if (progress) progress(double(done) / double(kVariationalSteps + equilibration + needed));
  };

  Walk walk(s, sep, team, 0);
  walk.start(make_trial(sep, r.beta), s.walkers);
  walk.set_time_step(kVariationalTimeStep);
  LastHalf start_energies;
  for (int i = 0; i < kVariationalSteps; ++i, ++done) {
    walk.step(false, 0, 0);
    start_energies.add(walk.energy());
  }
  walk.set_time_step(s.time_step);
  walk.reset_fraction();

  // Equilibration: the projection of a diffusion run, a walk at the run's time step otherwise.
  double e_best = start_energies.mean(), e_trial = e_best;
  const double feedback = std::max(1.0, kFeedbackTime / tau_au);
  LastHalf recent;
  auto control = [&] {
    const double tau_eff = s.time_step * walk.accepted_fraction();
    e_trial = e_best - std::log(walk.total_weight() / s.walkers) / (tau_eff * feedback);
  };
  for (long i = 0; i < equilibration; ++i, ++done) {
    walk.step(dmc, s.time_step * walk.accepted_fraction(), e_trial);
    recent.add(walk.energy());
    e_best = recent.mean();
    if (dmc) control();
    if (i % 64 == 0) report(expected);
  }

  // Production.
  std::vector<double> energies, weights;
  double sum_we = 0, sum_w = 0, sum_accept = 0, sum_population = 0;
  BlockingResult b;
  for (long i = 0;; ++i, ++done) {
    if (s.steps > 0 ? i >= s.steps : i >= s.max_steps) break;
    if (s.steps == 0 && i >= kFirstLook && i % kRound == 0) {
      b = blocking_analysis(energies, weights);
      if (b.plateau && b.error <= s.target_error) break;
      // The steps still needed, from the error's decrease as 1/sqrt(steps).
      const double ratio = b.error / s.target_error;
      report(std::max(i + kRound, long(double(i) * ratio * ratio)));
    } else if (i % 64 == 0) {
      report(s.steps > 0 ? s.steps : std::max(expected, i + kRound));
    }
    walk.step(dmc, s.time_step * walk.accepted_fraction(), e_trial);
    energies.push_back(walk.energy());
    weights.push_back(walk.weight());
    sum_we += walk.weight() * walk.energy();
    sum_w += walk.weight();
    sum_accept += walk.acceptance();
    sum_population += walk.population();
    if (dmc) {
      e_best = sum_we / sum_w;
      control();
    }
  }
  b = blocking_analysis(energies, weights);
  r.energy = b.mean;
  r.error = b.error;
  r.plateau = b.plateau;
  r.steps = static_cast<long>(energies.size());
  r.acceptance = r.steps > 0 ? sum_accept / double(r.steps) : 0.0;
  r.population = r.steps > 0 ? sum_population / double(r.steps) : 0.0;
  r.cpu_seconds = team.cpu_seconds() - cpu0;
  if (progress) progress(1.0);
  return r;
}

}  // namespace qh2::dmc

// The engine's scan. A separation is the Metropolis walk of its ensemble (sequential:
// every step depends on the last), the trajectories of its walkers (independent of each
// other: a walker's moves depend only on its own position and its own 72 numbers per
// step), and the weights, which couple the walkers through sums taken in walker order.
// Each part starts from its own position of the one random stream, found by jump-ahead.
#include "sim/engine.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "sim/engine_eval.h"
#include "sim/lane_stream.h"
#include "sim/lanes.h"
#include "sim/parallel.h"
#include "sim/records.h"
#include "sim/stream.h"
#include "sim/wavefunction.h"

namespace qh2 {
namespace {

// The trajectory kernel is built for several instruction sets and the best one the
// processor has is chosen at load time; lane for lane the results are the same.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
#define QH2_LANE_KERNEL __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define QH2_LANE_KERNEL
#endif

Shape shape_of(const RunParams& p, float sep) {
  Shape s;
  s.sep = sep;
  s.shalf = sep * 0.5f;
  s.a = apar(p.a0, sep);
  s.alpha = p.alpha;
  s.beta = p.beta;
  s.e2 = p.e2;
  s.hbar2m = p.hbar2m;
  s.dscale = p.dscale;
  return s;
}

constexpr uint32_t kTwelveSteps = lehmer_power(12);  // one Gaussian deviate further

uint64_t ensemble_numbers(const RunParams& p) {
  return 6 + 7 * (20 + 10 * uint64_t(p.nwalk));
}
// neq equilibration steps (none when it is not positive) and the production step.
int time_steps(const RunParams& p) {
  return std::max(p.neq, 0) + 1;
}
uint64_t step_numbers(const RunParams& p) {
  return 72 * uint64_t(p.nwalk);
}

// The Metropolis walk of intens, drawing from `state`: xw receives the walkers.
void sample_ensemble(const RunParams& p, const Shape& s, uint32_t state, float* xw) {
  auto next = [&state] {
    state = lehmer_step(state);
    return lehmer_uniform(state);
  };
  const double a = s.a, delta = p.delta;
  double xc[6];  // single-precision values, held widened
  for (double& x : xc) x = rnd((next() - 0.5) * a);
  xc[2] = rnd(xc[2] + s.shalf);
  xc[5] = rnd(xc[5] - s.shalf);
  const double p0 = psi_of(evaluate(s, xc));
  double psisq = rnd(p0 * p0);

  auto step = [&] {
    double old[6];
    for (int i = 0; i < 6; ++i) {
      old[i] = xc[i];
      xc[i] = rnd(xc[i] + (next() - 0.5) * delta);
    }
    const double psi = psi_of(evaluate(s, xc));
    const double p2 = rnd(psi * psi);
    const double ratio = rnd(p2 / psisq);
    if (next() < ratio) {
      psisq = p2;
    } else {
      for (int i = 0; i < 6; ++i) xc[i] = old[i];
    }
  };
  for (int i = 0; i < 20; ++i) step();
  for (int k = 0; k < p.nwalk; ++k) {
    for (int i = 0; i < 10; ++i) step();
    for (int j = 0; j < 6; ++j) xw[6 * k + j] = static_cast<float>(xc[j]);
  }
}

// Trajectories of the walkers first ... first + count - 1 (at most kLanes) through all
// time steps. step0 is the stream state at the start of the first time step. The local
// energy of lane l after step t goes to e[t * kLanes + l], its factor exp(-tau E_L) to
// w[t * kLanes + l]: each group of walkers writes one contiguous piece.
QH2_LANE_KERNEL void run_lanes(const RunParams& p, const Shape& s, const float* xw, int first,
                               int count, uint32_t step0, float* e, float* w) {
  const int steps = time_steps(p);
  const double sigma = p.sigma, tau = p.tau;
  // A walker's numbers of the next time step come 72 nwalk numbers later.
  const uint32_t to_next_step = lehmer_power(step_numbers(p));

  // Lane l of chain j holds the stream state before the 12 numbers of walker
  // first + l's j-th Gaussian deviate in the current time step: six independent chains.
  LaneD chain[6];
  LaneD c[6];
  const uint32_t to_first = lehmer_power(72 * uint64_t(first));
  for (int l = 0; l < kLanes; ++l) {
    const int k = first + (l < count ? l : 0);  // idle lanes repeat the first walker
    uint32_t at = mulmod(mulmod(step0, to_first), lehmer_power(72 * uint64_t(k - first)));
    for (int j = 0; j < 6; ++j, at = mulmod(at, kTwelveSteps)) chain[j][l] = at;
    for (int j = 0; j < 6; ++j) c[j][l] = xw[6 * k + j];
  }
  // The configuration's values, shared by its local energy and the next step's drift.
  Point<LaneD> pt = evaluate(s, c);
  Slopes<LaneD> sl = slopes_of(s, pt);

  for (int t = 0; t < steps; ++t) {
    LaneD x[6];
    LaneF sum[6];
    for (int j = 0; j < 6; ++j) {
      x[j] = chain[j];
      sum[j] = LaneF{};
    }
    for (int i = 0; i < 12; ++i) {
      for (int j = 0; j < 6; ++j) {
        x[j] = lehmer_step(x[j]);
        sum[j] = sum[j] + lehmer_uniform(x[j]);
      }
    }
    LaneD g[6];
    for (int j = 0; j < 6; ++j) {
      g[j] = __builtin_convertvector(sum[j] - 6.0f, LaneD);
      chain[j] = mulmod(chain[j], to_next_step);
    }

    LaneD d[6];
    drift_of(s, pt, sl, d);
    for (int j = 0; j < 6; ++j) c[j] = rnd(g[j] * sigma + c[j] + d[j]);
    pt = evaluate(s, c);
    sl = slopes_of(s, pt);
    const LaneD el = local_energy_of(s, pt, sl);
    const LaneD wl = exp_r(-el * tau);
    for (int l = 0; l < kLanes; ++l) {
      e[t * kLanes + l] = static_cast<float>(el[l]);
      w[t * kLanes + l] = static_cast<float>(wl[l]);
    }
  }
}

// The weights of tstep, step after step, in walker order: the energy of the last step.
// e and w hold the groups' pieces of run_lanes one after the other.
float weighted_energy(const RunParams& p, const float* e, const float* w) {
  const std::size_t group = std::size_t(time_steps(p)) * kLanes;
  std::vector<float> wt(p.nwalk, 1.0f);
  float etmp = 0.0f;
  for (int t = 0; t < time_steps(p); ++t) {
    float sum_we = 0.0f, sum_w = 0.0f;
    for (int k = 0; k < p.nwalk; ++k) {
      const std::size_t at = k / kLanes * group + std::size_t(t) * kLanes + k % kLanes;
      wt[k] = w[at] * wt[k];
      sum_we = static_cast<float>(static_cast<double>(wt[k]) * e[at] + sum_we);
      sum_w = sum_w + wt[k];
    }
    etmp = sum_we / sum_w;
    const float factor = static_cast<float>(p.nwalk) / sum_w;
    for (float& x : wt) x = factor * x;
  }
  float esum = 0.0f;
  esum = esum + etmp;
  return esum;
}

}  // namespace

RunParams params_from_records() {
  return {nparam.nwalk, nparam.neq,   nparam.tau,    nparam.delta, pparam.beta, const_.e2,
          const_.a0,    const_.alpha, const_.hbar2m, pcalc.dscale, pcalc.sigma};
}

uint64_t numbers_per_separation(const RunParams& p) {
  return ensemble_numbers(p) + uint64_t(time_steps(p)) * step_numbers(p);
}

float separation_energy(const RunParams& p, float sep, uint32_t start, int threads) {
  const Shape s = shape_of(p, sep);
  std::vector<float> xw(6 * std::size_t(p.nwalk));
  sample_ensemble(p, s, start, xw.data());

  const uint32_t step0 = lehmer_jump(start, ensemble_numbers(p));
  const int groups = (p.nwalk + kLanes - 1) / kLanes;
  const std::size_t group = std::size_t(time_steps(p)) * kLanes;
  // Energies and factors of all walkers and steps (every element is written by
  // run_lanes), kept per thread: the scan's threads reuse theirs for each separation.
  thread_local std::vector<float> values;
  values.resize(2 * groups * group);
  float* e = values.data();
  float* w = e + groups * group;
  parallel_for(groups, threads, [&](int g) {
    const int first = g * kLanes;
    const int count = std::min(kLanes, p.nwalk - first);
    run_lanes(p, s, xw.data(), first, count, step0, &e[g * group], &w[g * group]);
  });
  return weighted_energy(p, e, w);
}

}  // namespace qh2

// The engine's kernels, written once over the lane arithmetic M of an instruction set and
// compiled for each of them (sim/engine/isa/): Metropolis walks of separations side by
// side, the energies and weights of walkers that never move, and moving trajectories.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

#include "sim/common/stream_layout.h"
#include "sim/engine/engine.h"
#include "sim/engine/engine_eval.h"
#include "sim/engine/lane_stream.h"
#include "sim/common/lanes.h"
#include "sim/engine/stream.h"
#include "sim/engine/vector_exp.h"

namespace qh2 {

// M, the lane arithmetic of an instruction set, provides D (its vector of doubles) and,
// lane by lane: sqrt; rnd, the rounding to single precision (kept widened); widen, from
// the floats of FloatsOf<D>; trunc toward zero (below 2^31); less, a mask of all ones
// or zeros; any, whether some lane has its sign bit set.

inline constexpr uint32_t kGaussJump = lehmer_power(kGaussNumbers);  // one Gaussian deviate further

// (float)exp(x[i]) for n arguments through exp_rounded, as the kernels compute it.
template <class M>
QH2_INLINE void exp_floats(const double* x, float* out, int n) {
  using D = typename M::D;
  constexpr int W = lanes_of<D>;
  for (int first = 0; first < n; first += W) {
    double lanes[W] = {};
    for (int l = 0; l < W && first + l < n; ++l) lanes[l] = x[first + l];
    D v[1];
    std::memcpy(v, lanes, sizeof lanes);
    exp_rounded<M>(v);
    for (int l = 0; l < W && first + l < n; ++l) out[first + l] = static_cast<float>(v[0][l]);
  }
}

// psi of phi for G lane vectors side by side, with a separation's own a and shalf in
// each lane. Every stage handles all G vectors before the next, so that their
// independent chains of sqrt, division and exp overlap. The reference is phi
// (sim/reference/wavefunction.cpp); they must agree, tests/sim/engine/engine_test.cpp compares
// them.
template <class M, int G, class D = typename M::D>
QH2_INLINE void walk_psi(const D (&c)[G][6], const D (&a)[G], const D (&h)[G], double alpha,
                         double beta, D (&psi)[G]) {
  D r[5 * G];
  for (int g = 0; g < G; ++g) {
    const D* x = c[g];
    const D z1l = M::rnd(x[2] + h[g]), z1r = M::rnd(x[2] - h[g]);
    const D z2l = M::rnd(x[5] + h[g]), z2r = M::rnd(x[5] - h[g]);
    const D dx = M::rnd(x[0] - x[3]), dy = M::rnd(x[1] - x[4]), dz = M::rnd(x[2] - x[5]);
    r[5 * g + 0] = x[0] * x[0] + x[1] * x[1] + z1l * z1l;
    r[5 * g + 1] = x[0] * x[0] + x[1] * x[1] + z1r * z1r;
    r[5 * g + 2] = x[3] * x[3] + x[4] * x[4] + z2l * z2l;
    r[5 * g + 3] = x[3] * x[3] + x[4] * x[4] + z2r * z2r;
    r[5 * g + 4] = dx * dx + dy * dy + dz * dz;
  }
  for (D& x : r) x = sqrt_r<M>(x);
  D ex[5 * G];
  for (int g = 0; g < G; ++g) {
    for (int i = 0; i < 4; ++i) ex[5 * g + i] = -r[5 * g + i] / a[g];
    const D r12 = r[5 * g + 4];
    ex[5 * g + 4] = r12 / (alpha * (1.0 + beta * r12));
  }
  exp_rounded<M>(ex);
  for (int g = 0; g < G; ++g) {
    const D* e = &ex[5 * g];
    psi[g] = M::rnd((e[0] + e[1]) * (e[2] + e[3]) * e[4]);
  }
}

// The Metropolis walker of intens for G lane vectors of separations, each lane with its
// own stream state, a and shalf. The reference is intcfg and metrop
// (sim/reference/ensemble.cpp); they must agree, tests/sim/engine/engine_test.cpp compares them.
template <class M, int G>
struct MetropolisLanes {
  using D = typename M::D;
  D a[G], h[G], state[G];
  D xc[G][6], psisq[G];
  double delta, alpha, beta;

  // The next uniform number of each lane of vector g, widened.
  QH2_INLINE D next(int g) {
    state[g] = lehmer_step<M>(state[g]);
    return M::rnd(state[g] * kUniformScale);
  }

  // intcfg.
  QH2_INLINE void start() {
    for (int g = 0; g < G; ++g) {
      for (D& x : xc[g]) x = M::rnd((next(g) - 0.5) * a[g]);
      xc[g][2] = M::rnd(xc[g][2] + h[g]);
      xc[g][5] = M::rnd(xc[g][5] - h[g]);
    }
    D psi[G];
    walk_psi<M>(xc, a, h, alpha, beta, psi);
    for (int g = 0; g < G; ++g) psisq[g] = M::rnd(psi[g] * psi[g]);
  }

  // metrop.
  QH2_INLINE void step() {
    D moved[G][6], psi[G];
    for (int g = 0; g < G; ++g) {
      for (int i = 0; i < 6; ++i) moved[g][i] = M::rnd(xc[g][i] + (next(g) - 0.5) * delta);
    }
    walk_psi<M>(moved, a, h, alpha, beta, psi);
    for (int g = 0; g < G; ++g) {
      const D p2 = M::rnd(psi[g] * psi[g]);
      const D ratio = M::rnd(p2 / psisq[g]);
      const Int64sOf<D> accept = M::less(next(g), ratio);
      psisq[g] = select(accept, p2, psisq[g]);
      for (int i = 0; i < 6; ++i) xc[g][i] = select(accept, moved[g][i], xc[g][i]);
    }
  }
};

// The Metropolis walks of intens for `count` separations side by side (at most G times
// the lane count): lane l of vector g draws from the stream state starts[n], with
// shapes[n], n = g W + l, and writes its walkers to xw[n]. Each lane is the sequential
// walk of its separation, step for step: intens of sim/reference/ensemble.cpp; they must
// agree, tests/sim/engine/engine_test.cpp compares them.
template <class M, int G>
QH2_INLINE void walk_lanes(const RunParams& p, int count, const Shape* shapes,
                           const uint32_t* starts, float* const* xw) {
  using D = typename M::D;
  constexpr int W = lanes_of<D>;
  double lanes[3][G][W];
  for (int g = 0; g < G; ++g) {
    for (int l = 0; l < W; ++l) {
      const int n = g * W + l < count ? g * W + l : 0;  // idle lanes repeat the first
      lanes[0][g][l] = shapes[n].a;
      lanes[1][g][l] = shapes[n].shalf;
      lanes[2][g][l] = starts[n];
    }
  }
  MetropolisLanes<M, G> walk;
  std::memcpy(walk.a, lanes[0], sizeof walk.a);
  std::memcpy(walk.h, lanes[1], sizeof walk.h);
  std::memcpy(walk.state, lanes[2], sizeof walk.state);
  walk.delta = p.delta;
  walk.alpha = shapes[0].alpha;
  walk.beta = shapes[0].beta;

  walk.start();
  for (int i = 0; i < kBurnInSteps; ++i) walk.step();
  for (int k = 0; k < p.nwalk; ++k) {
    for (int i = 0; i < kStepsPerWalker; ++i) walk.step();
    for (int n = 0; n < count; ++n) {
      for (int j = 0; j < 6; ++j) {
        xw[n][6 * k + j] = static_cast<float>(walk.xc[n / W][j][n % W]);
      }
    }
  }
}

// Walkers that never move (drift scale and diffusion length 0): the local energy e[k]
// of each walker of xw and its factor w[k] = exp(-tau e[k]), the same in every time
// step. False when a walker's drift is not exactly 0 (it would move, or it is undefined).
// The reference is tstep (sim/reference/ensemble.cpp); they must agree,
// tests/sim/engine/engine_test.cpp compares them.
template <class M>
QH2_INLINE bool still_energies(const RunParams& p, const Shape& s, const float* xw, float* e,
                               float* w) {
  using D = typename M::D;
  constexpr int W = lanes_of<D>;
  const double tau = p.tau;
  using I = Int64sOf<D>;
  I moving{};  // negative in lanes with a drift component that is not 0
  for (int first = 0; first < p.nwalk; first += W) {
    const int count = std::min(W, p.nwalk - first);
    double lanes[6][W];
    for (int l = 0; l < W; ++l) {
      const int k = first + (l < count ? l : 0);  // idle lanes repeat the group's first
      for (int j = 0; j < 6; ++j) lanes[j][l] = xw[6 * k + j];
    }
    D c[6];
    std::memcpy(c, lanes, sizeof c);
    const Point<D> pt = evaluate<M>(s, c);
    const Slopes<D> sl = slopes_of<M>(s, pt);
    D d[6];
    drift_of<M>(s, pt, sl, d);
    for (const D& dj : d) moving |= -(__builtin_bit_cast(I, dj) & INT64_MAX);
    const D el = local_energy_of<M>(s, pt, sl);
    const D wl = exp_rounded<M>(-el * tau);
    for (int l = 0; l < count; ++l) {
      e[first + l] = static_cast<float>(el[l]);
      w[first + l] = static_cast<float>(wl[l]);
    }
  }
  return !M::any(moving);
}

// The weights of tstep through all time steps for `count` separations side by side (at
// most G times the lane count) whose walkers never move: walker k of separation n has
// the energy e[n][k] and the factor w[n][k] in every step; esum[n] receives its printed
// energy. Weights, products and their sum are single precision as in tstep; the energy
// sum is formed in double and rounded once. The G vectors go through each walker
// together. The reference is tstep's weights (sim/reference/ensemble.cpp); they must agree,
// tests/sim/engine/engine_test.cpp compares them.
template <class M, int G>
QH2_INLINE void still_weights(const RunParams& p, int count, const float* const* e,
                              const float* const* w, float* esum) {
  using D = typename M::D;
  using F = FloatsOf<D>;
  constexpr int W = lanes_of<D>;
  const int n = p.nwalk;
  // Per walker: G energies (widened), then G factors and G weights.
  struct Walker {
    D energy[G];
    F factor[G], weight[G];
  };
  std::unique_ptr<Walker[]> walkers(new Walker[n]);
  for (int k = 0; k < n; ++k) {
    double energies[G][W];
    float factors[G][W];
    for (int i = 0; i < G * W; ++i) {
      const int at = i < count ? i : 0;
      energies[i / W][i % W] = e[at][k];
      factors[i / W][i % W] = w[at][k];
    }
    std::memcpy(walkers[k].energy, energies, sizeof energies);
    std::memcpy(walkers[k].factor, factors, sizeof factors);
    for (F& x : walkers[k].weight) x = splat<F>(1.0f);
  }
  // The rescaling of a step is done as the next step reads the weight: the same two
  // roundings in the same order (the first step's factor 1 changes nothing).
  F factor[G], etmp[G];
  for (F& f : factor) f = splat<F>(1.0f);
  const float nw = static_cast<float>(n);
  const int steps = time_steps(p.neq);
  for (int t = 0; t < steps; ++t) {
    F sum_we[G] = {}, sum_w[G] = {};
    for (int k = 0; k < n; ++k) {
      Walker& at = walkers[k];
      for (int g = 0; g < G; ++g) {
        const F x = at.factor[g] * (factor[g] * at.weight[g]);
        at.weight[g] = x;
        sum_we[g] = __builtin_convertvector(M::widen(x) * at.energy[g] + M::widen(sum_we[g]), F);
        sum_w[g] = sum_w[g] + x;
      }
    }
    for (int g = 0; g < G; ++g) {
      etmp[g] = sum_we[g] / sum_w[g];
      factor[g] = nw / sum_w[g];
    }
  }
  for (int i = 0; i < count; ++i) esum[i] = 0.0f + etmp[i / W][i % W];  // esum = 0 + etmp
}

// Trajectories of the walkers first ... first + count - 1 (at most the lane count)
// through all time steps. step0 is the stream state at the start of the first time step.
// The local energy of lane l after step t goes to e[t * W + l], its factor exp(-tau E_L)
// to w[t * W + l]: each group of walkers writes one contiguous piece. The reference is
// tstep and gauss (sim/reference/ensemble.cpp, random.cpp); they must agree,
// tests/sim/engine/engine_test.cpp compares them.
template <class M>
QH2_INLINE void trajectories(const RunParams& p, const Shape& s, const float* xw, int first,
                             int count, uint32_t step0, float* e, float* w) {
  using D = typename M::D;
  using F = FloatsOf<D>;
  constexpr int W = lanes_of<D>;
  const int steps = time_steps(p.neq);
  const double sigma = p.sigma, tau = p.tau;
  // A walker's numbers of the next time step come one whole step's numbers later.
  const uint32_t to_next_step = lehmer_power(step_numbers(p.nwalk));

  // Lane l of chain j holds the stream state before the numbers of walker
  // first + l's j-th Gaussian deviate in the current time step: six independent chains.
  D chain[6] = {};
  D c[6] = {};
  const uint32_t to_first = lehmer_power(step_numbers(first));
  for (int l = 0; l < W; ++l) {
    const int k = first + (l < count ? l : 0);  // idle lanes repeat the first walker
    uint32_t at = mulmod(mulmod(step0, to_first), lehmer_power(step_numbers(k - first)));
    for (int j = 0; j < 6; ++j, at = mulmod(at, kGaussJump)) chain[j][l] = at;
    for (int j = 0; j < 6; ++j) c[j][l] = xw[6 * k + j];
  }
  // The configuration's values, shared by its local energy and the next step's drift.
  Point<D> pt = evaluate<M>(s, c);
  Slopes<D> sl = slopes_of<M>(s, pt);

  for (int t = 0; t < steps; ++t) {
    D x[6];
    F sum[6];
    for (int j = 0; j < 6; ++j) {
      x[j] = chain[j];
      sum[j] = F{};
    }
    for (int i = 0; i < kGaussNumbers; ++i) {
      for (int j = 0; j < 6; ++j) {
        x[j] = lehmer_step<M>(x[j]);
        sum[j] = sum[j] + lehmer_uniform(x[j]);
      }
    }
    D g[6];
    for (int j = 0; j < 6; ++j) {
      g[j] = M::widen(sum[j] - 6.0f);
      chain[j] = mulmod<M>(chain[j], to_next_step);
    }

    D d[6];
    drift_of<M>(s, pt, sl, d);
    for (int j = 0; j < 6; ++j) c[j] = M::rnd(g[j] * sigma + c[j] + d[j]);
    pt = evaluate<M>(s, c);
    sl = slopes_of<M>(s, pt);
    const D el = local_energy_of<M>(s, pt, sl);
    const D wl = exp_rounded<M>(-el * tau);
    for (int l = 0; l < W; ++l) {
      e[t * W + l] = static_cast<float>(el[l]);
      w[t * W + l] = static_cast<float>(wl[l]);
    }
  }
}

}  // namespace qh2

// The engine's kernels, written once over the lane arithmetic M of an instruction set and
// compiled for each of them (dispatch.cpp): Metropolis walks of separations side by
// side, the energies and weights of walkers that never move, and moving trajectories.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>

#include "sim/engine.h"
#include "sim/engine_eval.h"
#include "sim/lane_stream.h"
#include "sim/lanes.h"
#include "sim/stream.h"
#include "sim/vector_exp.h"

namespace qh2 {

inline constexpr uint32_t kTwelveSteps = lehmer_power(12);  // one Gaussian deviate further

// psi of phi with a separation's own a and shalf in each lane.
template <class M, class D = typename M::D>
QH2_INLINE D walk_psi(const D* c, D a, D h, double alpha, double beta) {
  const D r1l = dist3<M>(c[0], c[1], rnd(c[2] + h));
  const D r1r = dist3<M>(c[0], c[1], rnd(c[2] - h));
  const D r2l = dist3<M>(c[3], c[4], rnd(c[5] + h));
  const D r2r = dist3<M>(c[3], c[4], rnd(c[5] - h));
  const D r12 = dist3<M>(rnd(c[0] - c[3]), rnd(c[1] - c[4]), rnd(c[2] - c[5]));
  D ex[5] = {-r1l / a, -r1r / a, -r2l / a, -r2r / a, r12 / (alpha * (1.0 + beta * r12))};
  exp_rounded<M>(ex);
  return rnd((ex[0] + ex[1]) * (ex[2] + ex[3]) * ex[4]);
}

// The Metropolis walks of intens for `count` separations side by side (at most the lane
// count): lane l draws from the stream state starts[l] with shapes[l] and writes its
// walkers to xw[l]. Each lane is the sequential walk of its separation, step for step.
template <class M>
void walk_lanes(const RunParams& p, int count, const Shape* shapes, const uint32_t* starts,
                float* const* xw) {
  using D = typename M::D;
  constexpr int W = lanes_of<D>;
  D a{}, h{}, state{};
  for (int l = 0; l < W; ++l) {
    const int n = l < count ? l : 0;  // idle lanes repeat the first separation
    a[l] = shapes[n].a;
    h[l] = shapes[n].shalf;
    state[l] = starts[n];
  }
  const double delta = p.delta, alpha = shapes[0].alpha, beta = shapes[0].beta;
  auto next = [&state] {
    state = lehmer_step(state);
    return widen<D>(lehmer_uniform(state));
  };

  D xc[6];
  for (D& x : xc) x = rnd((next() - 0.5) * a);
  xc[2] = rnd(xc[2] + h);
  xc[5] = rnd(xc[5] - h);
  const D psi0 = walk_psi<M>(xc, a, h, alpha, beta);
  D psisq = rnd(psi0 * psi0);

  auto step = [&] {
    D moved[6];
    for (int i = 0; i < 6; ++i) moved[i] = rnd(xc[i] + (next() - 0.5) * delta);
    const D psi = walk_psi<M>(moved, a, h, alpha, beta);
    const D p2 = rnd(psi * psi);
    const D ratio = rnd(p2 / psisq);
    const auto accept = next() < ratio;
    psisq = accept ? p2 : psisq;
    for (int i = 0; i < 6; ++i) xc[i] = accept ? moved[i] : xc[i];
  };
  for (int i = 0; i < 20; ++i) step();
  for (int k = 0; k < p.nwalk; ++k) {
    for (int i = 0; i < 10; ++i) step();
    for (int l = 0; l < count; ++l) {
      for (int j = 0; j < 6; ++j) xw[l][6 * k + j] = static_cast<float>(xc[j][l]);
    }
  }
}

// Walkers that never move (drift scale and diffusion length 0): the local energy e[k]
// of each walker of xw and its factor w[k] = exp(-tau e[k]), the same in every time
// step. False when a walker's drift is not exactly 0 (it would move, or it is undefined).
template <class M>
bool still_energies(const RunParams& p, const Shape& s, const float* xw, float* e, float* w) {
  using D = typename M::D;
  constexpr int W = lanes_of<D>;
  const double tau = p.tau;
  Int64sOf<D> moving{};
  for (int first = 0; first < p.nwalk; first += W) {
    const int count = std::min(W, p.nwalk - first);
    D c[6] = {};
    for (int l = 0; l < W; ++l) {
      const int k = first + (l < count ? l : 0);  // idle lanes repeat the group's first
      for (int j = 0; j < 6; ++j) c[j][l] = xw[6 * k + j];
    }
    const Point<D> pt = evaluate<M>(s, c);
    const Slopes<D> sl = slopes_of(s, pt);
    D d[6];
    drift_of(s, pt, sl, d);
    for (const D& dj : d) moving |= dj != 0.0;
    const D el = local_energy_of(s, pt, sl);
    const D wl = exp_rounded<M>(-el * tau);
    for (int l = 0; l < count; ++l) {
      e[first + l] = static_cast<float>(el[l]);
      w[first + l] = static_cast<float>(wl[l]);
    }
  }
  return !M::any(moving);
}

// The weights of tstep through all time steps for `count` separations side by side whose
// walkers never move: walker k of lane l has the energy e[l][k] and the factor w[l][k]
// in every step. esum[l] receives the printed energy of lane l.
template <class M>
void still_weights(const RunParams& p, int count, const float* const* e, const float* const* w,
                   float* esum) {
  using D = typename M::D;
  using F = FloatsOf<D>;
  constexpr int W = lanes_of<D>;
  const int n = p.nwalk;
  std::unique_ptr<F[]> buffer(new F[3 * std::size_t(n)]);
  F* el = buffer.get();
  F* wl = el + n;
  F* wt = wl + n;
  for (int k = 0; k < n; ++k) {
    for (int l = 0; l < W; ++l) {
      const int at = l < count ? l : 0;
      el[k][l] = e[at][k];
      wl[k][l] = w[at][k];
    }
    wt[k] = splat<F>(1.0f);
  }
  // The rescaling of a step is done as the next step reads the weight: the same two
  // roundings in the same order (the first step's factor 1 changes nothing).
  F factor = splat<F>(1.0f), etmp{};
  const float nw = static_cast<float>(n);
  const int steps = std::max(p.neq, 0) + 1;
  for (int t = 0; t < steps; ++t) {
    F sum_we{}, sum_w{};
    for (int k = 0; k < n; ++k) {
      const F x = wl[k] * (factor * wt[k]);
      wt[k] = x;
      sum_we = __builtin_convertvector(widen<D>(x) * widen<D>(el[k]) + widen<D>(sum_we), F);
      sum_w = sum_w + x;
    }
    etmp = sum_we / sum_w;
    factor = nw / sum_w;
  }
  const F result = F{} + etmp;  // esum = 0 + etmp
  for (int l = 0; l < count; ++l) esum[l] = result[l];
}

// Trajectories of the walkers first ... first + count - 1 (at most the lane count)
// through all time steps. step0 is the stream state at the start of the first time step.
// The local energy of lane l after step t goes to e[t * W + l], its factor exp(-tau E_L)
// to w[t * W + l]: each group of walkers writes one contiguous piece.
template <class M>
void trajectories(const RunParams& p, const Shape& s, const float* xw, int first, int count,
                  uint32_t step0, float* e, float* w) {
  using D = typename M::D;
  using F = FloatsOf<D>;
  constexpr int W = lanes_of<D>;
  const int steps = std::max(p.neq, 0) + 1;
  const double sigma = p.sigma, tau = p.tau;
  // A walker's numbers of the next time step come 72 nwalk numbers later.
  const uint32_t to_next_step = lehmer_power(72 * uint64_t(p.nwalk));

  // Lane l of chain j holds the stream state before the 12 numbers of walker
  // first + l's j-th Gaussian deviate in the current time step: six independent chains.
  D chain[6] = {};
  D c[6] = {};
  const uint32_t to_first = lehmer_power(72 * uint64_t(first));
  for (int l = 0; l < W; ++l) {
    const int k = first + (l < count ? l : 0);  // idle lanes repeat the first walker
    uint32_t at = mulmod(mulmod(step0, to_first), lehmer_power(72 * uint64_t(k - first)));
    for (int j = 0; j < 6; ++j, at = mulmod(at, kTwelveSteps)) chain[j][l] = at;
    for (int j = 0; j < 6; ++j) c[j][l] = xw[6 * k + j];
  }
  // The configuration's values, shared by its local energy and the next step's drift.
  Point<D> pt = evaluate<M>(s, c);
  Slopes<D> sl = slopes_of(s, pt);

  for (int t = 0; t < steps; ++t) {
    D x[6];
    F sum[6];
    for (int j = 0; j < 6; ++j) {
      x[j] = chain[j];
      sum[j] = F{};
    }
    for (int i = 0; i < 12; ++i) {
      for (int j = 0; j < 6; ++j) {
        x[j] = lehmer_step(x[j]);
        sum[j] = sum[j] + lehmer_uniform(x[j]);
      }
    }
    D g[6];
    for (int j = 0; j < 6; ++j) {
      g[j] = widen<D>(sum[j] - 6.0f);
      chain[j] = mulmod(chain[j], to_next_step);
    }

    D d[6];
    drift_of(s, pt, sl, d);
    for (int j = 0; j < 6; ++j) c[j] = rnd(g[j] * sigma + c[j] + d[j]);
    pt = evaluate<M>(s, c);
    sl = slopes_of(s, pt);
    const D el = local_energy_of(s, pt, sl);
    const D wl = exp_rounded<M>(-el * tau);
    for (int l = 0; l < W; ++l) {
      e[t * W + l] = static_cast<float>(el[l]);
      w[t * W + l] = static_cast<float>(wl[l]);
    }
  }
}

}  // namespace qh2

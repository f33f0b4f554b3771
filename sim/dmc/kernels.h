// The diffusion engine's kernels, written once over the lane arithmetic M of an instruction set
// and compiled for each of them (sim/dmc/isa/): one drift-diffusion move with its Metropolis
// test and, in diffusion runs, the walker's new weight and its number of copies; and the
// evaluation of stored configurations for another Jastrow parameter.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "sim/common/lanes.h"
#include "sim/dmc/lane_math.h"
#include "sim/dmc/philox.h"
#include "sim/dmc/trial.h"
#include "sim/dmc/walkers.h"

namespace qh2::dmc {

// Gathers count (at most the lane count) values from[first ...] into lanes; idle lanes
// repeat the first value, so they compute something finite that nobody reads.
template <DoubleLanes D>
QH2_INLINE D load_lanes(const double* from, int first, int count) {
  constexpr int W = lanes_of<D>;
  double lanes[W];
  if (count == W) {
    std::memcpy(lanes, from + first, sizeof lanes);
  } else {
    for (int l = 0; l < W; ++l) lanes[l] = from[first + (l < count ? l : 0)];
  }
  D v;
  std::memcpy(&v, lanes, sizeof v);
  return v;
}
template <DoubleLanes D>
QH2_INLINE void store_lanes(D v, double* to, int first, int count) {
  if (count == lanes_of<D>) {
    std::memcpy(to + first, &v, sizeof v);
  } else {
    for (int l = 0; l < count; ++l) to[first + l] = v[l];
  }
}

// UNR's limited drift, electron by electron: the gradient v of ln psi becomes
// v (-1 + sqrt(1 + 2 a v^2 eps)) / (a v^2 eps) = 2 v / (1 + sqrt(1 + 2 a v^2 eps)), which is v
// where v^2 eps is small and keeps the drift step below sqrt(2 eps / a) where it is not;
// times eps it is the drift displacement d.
template <class M, class D>
QH2_INLINE void drift_step(const D* g, double eps, double a, D* d) {
  for (int e = 0; e < 2; ++e) {
    const D* v = g + 3 * e;
    const D v2 = v[0] * v[0] + v[1] * v[1] + v[2] * v[2];
    const D f = 2.0 * eps / (1.0 + M::sqrt(1.0 + (2.0 * a * eps) * v2));
    for (int k = 0; k < 3; ++k) d[3 * e + k] = f * v[k];
  }
}

// One move of the walkers first ... first + count - 1 (count at most the lane count), slot
// numbers first + l. The move proposes R' = R + d(R) + sqrt(eps) chi with six normal deviates
// chi and accepts it with probability
//   p = min(1, psi(R')^2 T(R <- R') / (psi(R)^2 T(R' <- R))),  T(R' <- R) ~ exp(-|R' - R - d(R)|^2
//   / 2 eps),
// so that psi^2 is sampled exactly for any time step (detailed balance). Diffusion runs then
// multiply the weight by exp(tau_eff (E_T - (E_L(R) + E_L(R_new)) / 2)), R_new the walker's
// position after the test, and branch. What the step's sums need goes to `out`.
template <class M>
QH2_INLINE void move_walkers(const MoveParams& mp, Walkers& w, int first, int count,
                             MoveOutputs& out) {
  using D = typename M::D;
  using U = Uint64sOf<D>;
  using I = Int64sOf<D>;
  constexpr int W = lanes_of<D>;

  D x[6], g[6];
  for (int k = 0; k < 6; ++k) {
    x[k] = load_lanes<D>(w.x[k].data(), first, count);
    g[k] = load_lanes<D>(w.g[k].data(), first, count);
  }
  const D lead = load_lanes<D>(w.lead.data(), first, count);
  const D pair = load_lanes<D>(w.pair.data(), first, count);
  const D energy = load_lanes<D>(w.energy.data(), first, count);

  // This step's numbers of each slot: three blocks for the six deviates, one for the test
  // and the branching.
  U slot;
  for (int l = 0; l < W; ++l) slot[l] = static_cast<uint64_t>(first + (l < count ? l : 0));
  D chi[6];
  for (int b = 0; b < 3; ++b) {
    const PhiloxLanes<M, D> r(mp.counter0 + b, slot, mp.step, mp.stream, mp.key);
    normal_pair<M>(r.uniform(0), r.uniform(1), chi[2 * b], chi[2 * b + 1]);
  }
  const PhiloxLanes<M, D> r3(mp.counter0 + 3, slot, mp.step, mp.stream, mp.key);
  const D u_test = r3.uniform(0), u_branch = r3.uniform(1);

  D d[6], y[6];
  drift_step<M>(g, mp.eps, mp.drift_a, d);
  D forward = D{}, moved2 = D{};
  for (int k = 0; k < 6; ++k) {
    const D step = mp.sigma * chi[k];
    y[k] = x[k] + d[k] + step;
    forward = forward + step * step;
    moved2 = moved2 + (y[k] - x[k]) * (y[k] - x[k]);
  }
  const Evaluation<D> n = evaluate<M>(mp.trial, y);
  D back[6];
  drift_step<M>(n.g, mp.eps, mp.drift_a, back);
  D backward = D{};
  for (int k = 0; k < 6; ++k) {
    const D s = x[k] - y[k] - back[k];
    backward = backward + s * s;
  }
  // ln of psi'^2 T(R <- R') / (psi^2 T(R' <- R)), less the pair factors, which lie in
  // [1/16, 16] together: above 3 the move is certain, so exp never sees more.
  const D log_ratio = 2.0 * (n.lead - lead) + (forward - backward) * (0.5 / mp.eps);
  const D ratio_pair = n.pair / pair;
  const D ratio = exp_of<M>(min_of<M>(log_ratio, splat<D>(3.0))) * (ratio_pair * ratio_pair);
  I ok = finite_mask(n.energy) & finite_mask(n.lead) & finite_mask(n.pair);
  for (int k = 0; k < 6; ++k) ok &= finite_mask(n.g[k]);
  const D p = select(ok, min_of<M>(ratio, splat<D>(1.0)), D{});
  const I accept = M::less(u_test, p);

  for (int k = 0; k < 6; ++k) {
    store_lanes(select(accept, y[k], x[k]), w.x[k].data(), first, count);
    store_lanes(select(accept, n.g[k], g[k]), w.g[k].data(), first, count);
  }
  store_lanes(select(accept, n.lead, lead), w.lead.data(), first, count);
  store_lanes(select(accept, n.pair, pair), w.pair.data(), first, count);
  const D e_new = select(accept, n.energy, energy);
  store_lanes(e_new, w.energy.data(), first, count);
  store_lanes(p, out.accept.data(), first, count);
  store_lanes(moved2, out.moved2.data(), first, count);
  store_lanes(e_new, out.energy.data(), first, count);

  if (!mp.branch) {
    store_lanes(splat<D>(1.0), out.weight.data(), first, count);
    for (int l = 0; l < count; ++l) out.copies[first + l] = 1;
    return;
  }
  const D weight = load_lanes<D>(w.weight.data(), first, count) *
                   exp_of<M>(mp.tau_eff * (mp.e_trial - 0.5 * (energy + e_new)));
  store_lanes(weight, out.weight.data(), first, count);
  // Branching that keeps the expected weight: a walker above 2 splits into floor(w + u)
  // copies of weight w / copies (at most kMaxCopies), one below 1/2 survives with probability
  // w at weight 1, the others keep their weight.
  const D big = splat<D>(2.0), small = splat<D>(0.5);
  const I split = M::less(big, weight), thin = M::less(weight, small);
  const D copies_split =
      M::trunc(min_of<M>(weight + u_branch, splat<D>(static_cast<double>(kMaxCopies))));
  const D survives = select(M::less(u_branch, weight), splat<D>(1.0), D{});
  const D copies = select(split, copies_split, select(thin, survives, splat<D>(1.0)));
  const D each = select(split, weight / copies_split, select(thin, splat<D>(1.0), weight));
  store_lanes(each, w.weight.data(), first, count);
  for (int l = 0; l < count; ++l) out.copies[first + l] = static_cast<int32_t>(copies[l]);
}

// The evaluation of count configurations x[0 ... 5][i] (new walkers, and stored ones under
// another Jastrow parameter when it is optimised by correlated sampling); g may be null.
template <class M>
QH2_INLINE void evaluate_configurations(const Trial& t, const double* const* x, int count,
                                        double* lead, double* pair, double* energy,
                                        double* const* g) {
  using D = typename M::D;
  constexpr int W = lanes_of<D>;
  for (int first = 0; first < count; first += W) {
    const int n = std::min(W, count - first);
    D c[6];
    for (int k = 0; k < 6; ++k) c[k] = load_lanes<D>(x[k], first, n);
    const Evaluation<D> e = evaluate<M>(t, c);
    store_lanes(e.lead, lead, first, n);
    store_lanes(e.pair, pair, first, n);
    store_lanes(e.energy, energy, first, n);
    if (g) {
      for (int k = 0; k < 6; ++k) store_lanes(e.g[k], g[k], first, n);
    }
  }
}

}  // namespace qh2::dmc

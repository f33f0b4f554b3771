// The engine's scan. A separation is the Metropolis walk of its ensemble (sequential:
// every step depends on the last), the trajectories of its walkers (independent of each
// other: a walker's moves depend only on its own position and its own numbers of each
// step), and the weights, which couple the walkers through sums taken in walker order.
// Each part starts from its own position of the one random stream, found by jump-ahead.
// When no walker can move, each keeps one local energy through all the steps, and only
// the walk and the weights remain.
#include "sim/engine/engine.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "sim/common/stream_layout.h"
#include "sim/engine/dispatch.h"
#include "sim/engine/parallel.h"
#include "sim/engine/stream.h"
#include "sim/reference/records.h"
#include "sim/reference/scan.h"
#include "sim/reference/wavefunction.h"

namespace qh2 {
namespace {

Shape shape_of(const RunParams& p, float sep) {
  Shape s;
  s.sep = sep;
  s.shalf = sep * 0.5f;
  s.a = reference::apar(p.a0, sep);
  s.alpha = p.alpha;
  s.beta = p.beta;
  s.e2 = p.e2;
  s.hbar2m = p.hbar2m;
  s.dscale = p.dscale;
  return s;
}

// With both the drift scale and the diffusion length 0, a time step sets every coordinate
// to gauss * 0 + y + d, where d = (finite) * 0 is 0 as long as it is finite: the walker
// stays where it is, up to the sign of a zero coordinate. That sign changes no distance,
// so no local energy except one that is itself zero, and a zero energy only ever adds a
// zero to a sum that starts at +0. So each walker keeps the local energy of its start
// through all steps (its drift, 0 at the start, stays 0: the magnitudes are the same),
// and the numbers drawn for the moves matter only for the stream position, which
// jump-ahead gives. still_energies checks every walker's drift.
bool may_stand_still(const RunParams& p) {
  return p.dscale == 0.0f && p.sigma == 0.0f;
}

// The weights of tstep, step after step, in walker order: the energy of the last step.
// e and w hold the pieces of the trajectory kernel's groups of `width` walkers. The
// reference is tstep (sim/reference/ensemble.cpp); they must agree,
// tests/sim/engine/engine_test.cpp compares them.
float weighted_energy(const RunParams& p, int width, const float* e, const float* w) {
  const std::size_t group = std::size_t(time_steps(p.neq)) * width;
  std::vector<float> wt(p.nwalk, 1.0f);
  float etmp = 0.0f;
  for (int t = 0; t < time_steps(p.neq); ++t) {
    float sum_we = 0.0f, sum_w = 0.0f;
    for (int k = 0; k < p.nwalk; ++k) {
      const std::size_t at = k / width * group + std::size_t(t) * width + k % width;
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

// Walkers that move: their trajectories in groups of the kernels' width, spread over
// `threads` threads, then the weights.
float moving_energy(const LaneKernels& k, const RunParams& p, const Shape& s, const float* xw,
                    uint32_t step0, int threads) {
  const int groups = (p.nwalk + k.width - 1) / k.width;
  const std::size_t group = std::size_t(time_steps(p.neq)) * k.width;
  // Energies and factors of all walkers and steps (every element is written by the
  // kernel), kept per thread: the scan's threads reuse theirs for each separation.
  thread_local std::vector<float> values;
  values.resize(2 * groups * group);
  float* e = values.data();
  float* w = e + groups * group;
  parallel_for(groups, threads, [&](int g) {
    const int first = g * k.width;
    const int count = std::min(k.width, p.nwalk - first);
    k.trajectories(p, s, xw, first, count, step0, &e[g * group], &w[g * group]);
  });
  return weighted_energy(p, k.width, e, w);
}

// The energies of `count` separations, from their shapes and stream positions, in two
// rounds over the threads. First the walks, k.walks separations side by side in the
// lanes of the walk kernel, each followed by its separations' still energies or, where
// the still path does not apply, their full trajectories (on `inner` threads each). Then
// the weights of all still separations, k.separations side by side.
void run_separations(const LaneKernels& k, const RunParams& p, int count, const Shape* shapes,
                     const uint32_t* starts, int threads, float* energy, bool* still) {
  const std::size_t walkers = 6 * std::size_t(p.nwalk), n = p.nwalk;
  std::unique_ptr<float[]> xw(new float[count * walkers]), ew(new float[2 * count * n]);
  std::vector<float*> ensembles(count);
  for (int i = 0; i < count; ++i) ensembles[i] = &xw[i * walkers];

  const int walks = (count + k.walks - 1) / k.walks;
  const int inner = walks > 0 && walks < threads ? threads / walks : 1;
  parallel_for(walks, threads, [&](int g) {
    const int first = g * k.walks, size = std::min(k.walks, count - first);
    k.walk(p, size, shapes + first, starts + first, &ensembles[first]);
    for (int i = first; i < first + size; ++i) {
      float* ei = &ew[2 * i * n];
      still[i] = may_stand_still(p) && k.still_energies(p, shapes[i], ensembles[i], ei, ei + n);
      if (!still[i]) {
        const uint32_t step0 = lehmer_jump(starts[i], ensemble_numbers(p.nwalk));
        energy[i] = moving_energy(k, p, shapes[i], ensembles[i], step0, inner);
      }
    }
  });

  std::vector<const float*> e, w;
  std::vector<int> at;
  for (int i = 0; i < count; ++i) {
    if (!still[i]) continue;
    e.push_back(&ew[2 * i * n]);
    w.push_back(&ew[2 * i * n + n]);
    at.push_back(i);
  }
  const int weighed = static_cast<int>(at.size());
  std::vector<float> esum(weighed);
  parallel_for((weighed + k.separations - 1) / k.separations, threads, [&](int g) {
    const int first = g * k.separations, size = std::min(k.separations, weighed - first);
    k.still_weights(p, size, &e[first], &w[first], &esum[first]);
  });
  for (int i = 0; i < weighed; ++i) energy[at[i]] = esum[i];
}

}  // namespace

RunParams params_from_records() {
  using namespace reference;
  return {nparam.nwalk, nparam.neq,   nparam.tau,    nparam.delta, pparam.beta, const_.e2,
          const_.a0,    const_.alpha, const_.hbar2m, pcalc.dscale, pcalc.sigma};
}

uint64_t numbers_per_separation(const RunParams& p) {
  return separation_numbers(p.nwalk, p.neq);
}

float separation_energy(const RunParams& p, float sep, uint32_t start, int threads) {
  const Shape s = shape_of(p, sep);
  float energy;
  bool still;
  run_separations(lane_kernels(), p, 1, &s, &start, threads, &energy, &still);
  return energy;
}

EnsembleEnergy ensemble_energy(const RunParams& p, float sep, const float* xw, uint32_t step0,
                               int threads) {
  const LaneKernels& k = lane_kernels();
  const Shape s = shape_of(p, sep);
  std::vector<float> ew(2 * std::size_t(p.nwalk));
  if (may_stand_still(p) && k.still_energies(p, s, xw, ew.data(), ew.data() + p.nwalk)) {
    const float* e = ew.data();
    const float* w = e + p.nwalk;
    float energy;
    k.still_weights(p, 1, &e, &w, &energy);
    return {energy, true};
  }
  return {moving_energy(k, p, s, xw, step0, threads), false};
}

// The reference is reference_scan (sim/reference/scan.cpp); they must agree to the byte,
// tests/sim/engine/engine_test.cpp compares them.
ScanPoints engine_scan(std::ostream& out, int points, int threads, ScanPaths* paths) {
  using namespace reference;
  const double seed = nparam.seed;
  if (!(seed >= 1.0 && seed < kModulus && seed == std::floor(seed)) || nparam.nwalk < 1) {
    return reference_scan(out, points);
  }
  if (threads <= 0) threads = hardware_threads();
  const LaneKernels& k = lane_kernels();
  const RunParams p = params_from_records();
  const uint64_t per_separation = numbers_per_separation(p);
  const uint32_t start = static_cast<uint32_t>(seed);

  ScanPoints scan;
  scan.xsep.resize(points);
  scan.yene.resize(points);
  std::vector<Shape> shapes(points);
  std::vector<uint32_t> starts(points);
  std::unique_ptr<bool[]> still(new bool[points]);
  float s = 0.1f;
  for (int n = 0; n < points; ++n) {
    scan.xsep[n] = s;
    shapes[n] = shape_of(p, s);
    starts[n] = lehmer_jump(start, per_separation * n);
    s = s + 0.05f;
  }
  run_separations(k, p, points, shapes.data(), starts.data(), threads, scan.yene.data(),
                  still.get());

  for (int n = 0; n < points; ++n) write_result_line(out, scan.xsep[n], scan.yene[n]);
  scan.npts = points;
  if (paths) {
    paths->still = static_cast<int>(std::count(still.get(), still.get() + points, true));
    paths->moving = points - paths->still;
  }
  if (points > 0) {
    // The records as the sequential scan leaves them.
    pparam.sep = scan.xsep[points - 1];
    pcalc.shalf = pparam.sep * 0.5f;
    pcalc.a = apar(const_.a0, pparam.sep);
    nparam.seed = lehmer_jump(start, per_separation * points);
  }
  return scan;
}

}  // namespace qh2

// Metropolis sampling of the ensemble and the time step. Walkers are visited strictly
// in index order: they share one random stream and the sums depend on that order.
#include "sim/reference/ensemble.h"

#include "sim/common/stream_layout.h"
#include "sim/reference/drift.h"
#include "sim/reference/fmath.h"
#include "sim/reference/local_energy.h"
#include "sim/reference/random.h"
#include "sim/reference/records.h"
#include "sim/reference/wavefunction.h"

namespace qh2::reference {

// The engine's lane versions of intcfg, metrop and intens are MetropolisLanes and walk_lanes
// (sim/engine/kernels.h); they must agree, tests/sim/engine/engine_test.cpp compares them.
void intcfg(float* xc, float& psisq) {
  const double a = pcalc.a;
  for (int i = 0; i < 6; ++i) xc[i] = static_cast<float>((rannos(nparam.seed) - 0.5) * a);
  // Electron 1 starts near centre R, electron 2 near centre L.
  xc[2] = xc[2] + pcalc.shalf;
  xc[5] = xc[5] - pcalc.shalf;
  const float p = phi(xc);
  psisq = p * p;
}

void metrop(float* xc, float& psisq) {
  const double delta = nparam.delta;
  float old[6];
  for (int i = 0; i < 6; ++i) {
    old[i] = xc[i];
    xc[i] = static_cast<float>(xc[i] + (rannos(nparam.seed) - 0.5) * delta);
  }
  const float p = phi(xc);
  const float p2 = p * p;
  const float ratio = p2 / psisq;
  const float u = rannos(nparam.seed);  // drawn on every step, also when ratio >= 1
  if (u < ratio) {
    psisq = p2;
  } else {
    for (int i = 0; i < 6; ++i) xc[i] = old[i];
  }
}

void intens(float* xw, float* wt, float* xc) {
  float psisq;
  intcfg(xc, psisq);
  for (int i = 0; i < kBurnInSteps; ++i) metrop(xc, psisq);
  const int steps = kStepsPerWalker * nparam.nwalk;
  for (int i = 1; i <= steps; ++i) {
    metrop(xc, psisq);
    if (i % kStepsPerWalker == 0) {
      const int k = i / kStepsPerWalker - 1;
      for (int j = 0; j < 6; ++j) xw[6 * k + j] = xc[j];
      wt[k] = 1.0f;
    }
  }
}

// The engine's versions are trajectories, still_energies and still_weights
// (sim/engine/kernels.h) and weighted_energy (sim/engine/engine.cpp); they must agree,
// tests/sim/engine/engine_test.cpp compares them.
void tstep(float* xw, float* wt, float& e) {
  const double tau = nparam.tau;
  const double sigma = pcalc.sigma;
  float sum_we = 0.0f;
  float sum_w = 0.0f;
  for (int k = 0; k < nparam.nwalk; ++k) {
    float y[6];
    float d[6];
    for (int j = 0; j < 6; ++j) y[j] = xw[6 * k + j];
    drift(y, d);
    for (int j = 0; j < 6; ++j) {
      y[j] = static_cast<float>(gauss(nparam.seed) * sigma + y[j] + d[j]);
    }
    e = elocal(y);
    const float w = exp_f(-static_cast<double>(e) * tau);  // stored before the product
    wt[k] = w * wt[k];
    sum_we = static_cast<float>(static_cast<double>(wt[k]) * e + sum_we);
    sum_w = sum_w + wt[k];
    for (int j = 0; j < 6; ++j) xw[6 * k + j] = y[j];
  }
  e = sum_we / sum_w;
  const float factor = static_cast<float>(nparam.nwalk) / sum_w;
  for (int k = 0; k < nparam.nwalk; ++k) wt[k] = factor * wt[k];
}

}  // namespace qh2::reference

// The walker ensemble: what intens builds, the random numbers each routine consumes,
// the weights of tstep, and the strict Metropolis test.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "sim/common/stream_layout.h"
#include "sim/reference/ensemble.h"
#include "sim/reference/local_energy.h"
#include "sim/reference/random.h"
#include "sim/reference/records.h"
#include "tests/sim/sim_fixture.h"

using namespace qh2::reference;

namespace {

double advanced(double seed, long n) {
  for (long i = 0; i < n; ++i) rannos(seed);
  return seed;
}

struct Ensemble {
  std::vector<float> xw, wt;
  float xc[6];
  explicit Ensemble(int n) : xw(6 * n), wt(n) {}
};

}  // namespace

TEST(Intens, WalkerKIsTheMetropolisWalkerAfterTwentyPlusTenKSteps) {
  set_separation(0.75f);
  nparam.nwalk = 40;
  const double start = nparam.seed;
  Ensemble ens(nparam.nwalk);
  intens(ens.xw.data(), ens.wt.data(), ens.xc);
  EXPECT_EQ(nparam.seed, advanced(start, qh2::ensemble_numbers(40)));
  const double after = nparam.seed;

  nparam.seed = start;
  float xc[6], psisq;
  intcfg(xc, psisq);
  for (int i = 0; i < qh2::kBurnInSteps; ++i) metrop(xc, psisq);
  for (int k = 0; k < nparam.nwalk; ++k) {
    for (int i = 0; i < qh2::kStepsPerWalker; ++i) metrop(xc, psisq);
    for (int j = 0; j < 6; ++j) ASSERT_EQ(ens.xw[6 * k + j], xc[j]) << k << " " << j;
    EXPECT_EQ(ens.wt[k], 1.0f);
  }
  EXPECT_EQ(nparam.seed, after);
}

TEST(Intens, FullEnsembleDraws63146NumbersAndStartsNearTheCentres) {
  set_separation(1.0f);
  const double start = nparam.seed;
  Ensemble ens(nparam.nwalk);
  intens(ens.xw.data(), ens.wt.data(), ens.xc);
  EXPECT_EQ(nparam.seed, advanced(start, qh2::ensemble_numbers(900)));
  // Metropolis walkers spread over both electrons' neighbourhoods: not all equal.
  int moved = 0;
  for (int k = 1; k < nparam.nwalk; ++k) moved += ens.xw[6 * k] != ens.xw[6 * (k - 1)];
  EXPECT_GT(moved, nparam.nwalk / 4);
  for (float w : ens.wt) EXPECT_EQ(w, 1.0f);
}

TEST(Intcfg, StartsTheElectronsInCubesOfEdgeAAroundTheirCentres) {
  set_separation(1.2f);
  for (int n = 0; n < 50; ++n) {
    float xc[6], psisq;
    intcfg(xc, psisq);
    const float h = pcalc.shalf, a = pcalc.a;
    for (int j = 0; j < 6; ++j) {
      const float centre = j == 2 ? h : j == 5 ? -h : 0.0f;
      EXPECT_LE(std::fabs(xc[j] - centre), a / 2);
    }
    EXPECT_EQ(psisq, phi(xc) * phi(xc));
  }
}

TEST(Tstep, ZeroScalesLeaveWalkersInPlaceAndWeighByTheLocalEnergy) {
  set_separation(0.8f);
  nparam.nwalk = 120;
  Ensemble ens(nparam.nwalk);
  intens(ens.xw.data(), ens.wt.data(), ens.xc);
  const std::vector<float> placed = ens.xw;

  std::vector<double> el(nparam.nwalk);
  for (int k = 0; k < nparam.nwalk; ++k) el[k] = elocal(&ens.xw[6 * k]);

  for (int step = 1; step <= 3; ++step) {
    const double before = nparam.seed;
    float e;
    tstep(ens.xw.data(), ens.wt.data(), e);
    EXPECT_EQ(nparam.seed, advanced(before, qh2::step_numbers(nparam.nwalk))) << step;
    EXPECT_EQ(ens.xw, placed) << step;

    // e: mean of E_L weighted by exp(-tau E_L) to the power of the steps done.
    double swe = 0, sw = 0;
    for (double x : el) {
      const double w = std::exp(-nparam.tau * x * step);
      swe += w * x;
      sw += w;
    }
    EXPECT_NEAR(e, swe / sw, 1e-4 * std::fabs(swe / sw)) << step;
    double total = 0;
    for (float w : ens.wt) total += w;
    EXPECT_NEAR(total, nparam.nwalk, 1e-3) << step;
  }
}

TEST(Tstep, FullEnsembleStepDraws64800NumbersAndKeepsTheWeightSum) {
  set_separation(0.7f);
  pcalc.sigma = 0.05f;
  pcalc.dscale = 0.01f;
  Ensemble ens(nparam.nwalk);
  intens(ens.xw.data(), ens.wt.data(), ens.xc);
  const std::vector<float> placed = ens.xw;
  for (int step = 0; step < 2; ++step) {
    const double before = nparam.seed;
    float e;
    tstep(ens.xw.data(), ens.wt.data(), e);
    EXPECT_EQ(nparam.seed, advanced(before, qh2::step_numbers(900)));
    float sum = 0;
    for (float w : ens.wt) sum += w;
    EXPECT_NEAR(sum, 900.0f, 900 * 1e-5);
    EXPECT_GT(e, -40.0f);
    EXPECT_LT(e, -20.0f);
  }
  EXPECT_NE(ens.xw, placed);  // with a diffusion step the walkers do move
}

namespace {

// The outcome of one Metropolis step of kConfigA from `seed` with the given psi^2.
struct Step {
  float xc[6];
  float psisq;
};
Step step_from(double seed, float psisq) {
  Step s;
  for (int j = 0; j < 6; ++j) s.xc[j] = kConfigA[j];
  s.psisq = psisq;
  nparam.seed = seed;
  metrop(s.xc, s.psisq);
  return s;
}

}  // namespace

TEST(Metrop, DrawsSevenNumbersAndRejectsARatioEqualToTheTestNumber) {
  set_separation(0.7f);
  int found = 0;
  for (double start = 987654321.0; start < 987654400.0 && found < 3; start += 1.0) {
    // A step that must accept shows the proposal and its psi^2.
    const Step taken = step_from(start, 1.0e-30f);
    ASSERT_EQ(nparam.seed, advanced(start, qh2::kMetropNumbers));
    const float p2 = taken.psisq;
    double probe = advanced(start, qh2::kMetropNumbers - 1);
    const float u = rannos(probe);  // the last number is the test number

    // A psi^2 of the old walker that makes p2 / psisq exactly u, if there is one.
    float psisq = p2 / u;
    for (int i = 0; i < 8 && p2 / psisq != u; ++i)
      psisq = std::nextafter(psisq, p2 / psisq > u ? 1e30f : 0.0f);
    if (p2 / psisq != u) continue;
    ++found;

    const Step rejected = step_from(start, psisq);
    for (int j = 0; j < 6; ++j) EXPECT_EQ(rejected.xc[j], kConfigA[j]);
    EXPECT_EQ(rejected.psisq, psisq);

    // With a ratio just above the test number the same proposal is taken.
    float smaller = psisq;
    while (!(p2 / smaller > u)) smaller = std::nextafter(smaller, 0.0f);
    const Step accepted = step_from(start, smaller);
    for (int j = 0; j < 6; ++j) EXPECT_EQ(accepted.xc[j], taken.xc[j]);
    EXPECT_EQ(accepted.psisq, p2);
  }
  EXPECT_EQ(found, 3);
}

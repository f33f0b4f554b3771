// The engine against the sequential routines: the same result lines to the byte and
// the same records afterwards, on every instruction set, for the program's scan (walkers
// that never move), for moving walkers, and for ensembles the still path must decline.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "sim/common/stream_layout.h"
#include "sim/engine/dispatch.h"
#include "sim/engine/engine.h"
#include "sim/program/driver.h"
#include "sim/reference/ensemble.h"
#include "sim/reference/records.h"
#include "sim/reference/scan.h"
#include "tests/sim/sim_fixture.h"

using namespace qh2::reference;

namespace {

struct ScanRun {
  std::string lines;
  ScanPoints scan;
  nparam_t n;
  pparam_t p;
  pcalc_t c;
};

template <class Scan>
ScanRun run(const Scan& scan) {
  ScanRun r;
  std::ostringstream out;
  r.scan = scan(out);
  r.lines = out.str();
  r.n = nparam;
  r.p = pparam;
  r.c = pcalc;
  return r;
}

void expect_same(const ScanRun& engine, const ScanRun& reference) {
  EXPECT_EQ(engine.lines, reference.lines);
  EXPECT_EQ(engine.scan.npts, reference.scan.npts);
  EXPECT_EQ(engine.scan.xsep, reference.scan.xsep);
  EXPECT_EQ(engine.scan.yene, reference.scan.yene);
  EXPECT_EQ(engine.n.seed, reference.n.seed);
  EXPECT_EQ(engine.p.sep, reference.p.sep);
  EXPECT_EQ(engine.c.a, reference.c.a);
  EXPECT_EQ(engine.c.shalf, reference.c.shalf);
}

// Start-up values, then a smaller run; the walkers move when dscale or sigma is not 0.
void small_run(int nwalk, int neq, double seed, float dscale, float sigma) {
  reset_records();
  qh2_startup();
  nparam.nwalk = nwalk;
  nparam.neq = neq;
  nparam.seed = seed;
  nparam.tau = 1.0e-3f;
  pcalc.dscale = dscale;
  pcalc.sigma = sigma;
}
void moving_walkers(int nwalk, int neq, double seed) {
  small_run(nwalk, neq, seed, 0.02f, 0.15f);
}

// Runs body once per instruction set this processor has, with the kernels held to it.
template <class Body>
void on_every_isa(const Body& body) {
  for (qh2::VectorIsa isa :
       {qh2::VectorIsa::baseline, qh2::VectorIsa::avx2, qh2::VectorIsa::avx512}) {
    if (!qh2::vector_isa_available(isa)) continue;
    qh2::limit_vector_isa(isa);
    SCOPED_TRACE(qh2::vector_isa_name(isa));
    body();
  }
  qh2::limit_vector_isa(qh2::VectorIsa::avx512);
}

// Equal floats, or both not a number.
::testing::AssertionResult SameEnergy(float engine, float reference) {
  if (std::bit_cast<uint32_t>(engine) == std::bit_cast<uint32_t>(reference) ||
      (std::isnan(engine) && std::isnan(reference))) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << engine << " is not " << reference;
}

}  // namespace

TEST(Engine, ProgramScanEqualsTheSequentialScanToTheByte) {
  reset_records();
  qh2_startup();
  const ScanRun reference = run([](std::ostream& o) { return reference_scan(o); });
  on_every_isa([&] {
    reset_records();
    qh2_startup();
    qh2::ScanPaths paths;
    const ScanRun engine =
        run([&](std::ostream& o) { return qh2::engine_scan(o, kScanPoints, 0, &paths); });
    expect_same(engine, reference);
    ASSERT_EQ(engine.scan.npts, 59);
    EXPECT_EQ(engine.lines.substr(0, engine.lines.find('\n')),
              " separacia =   0.100000001  energia =   68.6428604eV");
    // The program's walkers never move: every separation took the still path.
    EXPECT_EQ(paths.still, 59);
    EXPECT_EQ(paths.moving, 0);
  });
}

TEST(Engine, StillWalkersGiveTheSequentialResultsForOtherSizesAndSeeds) {
  // 37 walkers leave lanes idle; 19 separations fill one group of separations and part
  // of the next. A drift scale of -0 is 0 as well.
  for (float zero : {0.0f, -0.0f}) {
    small_run(37, 6, 123456789.0, zero, 0.0f);
    const ScanRun reference = run([](std::ostream& o) { return reference_scan(o, 19); });
    on_every_isa([&] {
      for (int threads : {1, 3}) {
        small_run(37, 6, 123456789.0, zero, 0.0f);
        qh2::ScanPaths paths;
        const ScanRun engine =
            run([&](std::ostream& o) { return qh2::engine_scan(o, 19, threads, &paths); });
        SCOPED_TRACE(threads);
        expect_same(engine, reference);
        EXPECT_EQ(paths.still, 19);
      }
    });
  }
}

TEST(Engine, MovingWalkersGiveTheSequentialResultsOnAnyThreadCount) {
  // 37 walkers fill part of the last lane group; the seed is not the program's.
  moving_walkers(37, 6, 123456789.0);
  const ScanRun reference = run([](std::ostream& o) { return reference_scan(o, 7); });
  on_every_isa([&] {
    for (int threads : {1, 2, 3, 8}) {
      moving_walkers(37, 6, 123456789.0);
      qh2::ScanPaths paths;
      const ScanRun engine =
          run([&](std::ostream& o) { return qh2::engine_scan(o, 7, threads, &paths); });
      SCOPED_TRACE(threads);
      expect_same(engine, reference);
      EXPECT_EQ(paths.moving, 7);
    }
  });
  // The walkers did move: the energies differ from those of walkers that stay.
  reset_records();
  qh2_startup();
  nparam.nwalk = 37;
  nparam.neq = 6;
  nparam.seed = 123456789.0;
  nparam.tau = 1.0e-3f;
  const ScanRun still = run([](std::ostream& o) { return qh2::engine_scan(o, 7, 2); });
  EXPECT_NE(still.scan.yene, reference.scan.yene);
  EXPECT_EQ(still.n.seed, reference.n.seed);  // the same count of numbers drawn
}

TEST(Engine, EitherParameterAloneMakesTheWalkersMove) {
  for (const auto& [dscale, sigma] : {std::pair{0.02f, 0.0f}, std::pair{0.0f, 0.15f}}) {
    small_run(20, 4, 31337.0, dscale, sigma);
    const ScanRun reference = run([](std::ostream& o) { return reference_scan(o, 3); });
    small_run(20, 4, 31337.0, dscale, sigma);
    qh2::ScanPaths paths;
    const ScanRun engine = run([&](std::ostream& o) { return qh2::engine_scan(o, 3, 2, &paths); });
    SCOPED_TRACE(dscale);
    expect_same(engine, reference);
    EXPECT_EQ(paths.moving, 3);
  }
}

TEST(Engine, StillPathDeclinesAWalkerOnACentreAndGivesTheSequentialResult) {
  // An ensemble from intens; then the same ensemble with one walker changed so that its
  // drift is not a number: electron 1 exactly on centre L, both electrons at one point,
  // or so far out that every orbital underflows to 0.
  set_separation(0.7f);
  nparam.nwalk = 40;
  nparam.neq = 5;
  std::vector<float> sampled(6 * nparam.nwalk), wt(nparam.nwalk);
  float xc[6];
  intens(sampled.data(), wt.data(), xc);
  const double after_intens = nparam.seed;
  const qh2::RunParams p = qh2::params_from_records();
  const float h = pcalc.shalf;

  auto transcription = [&](std::vector<float> xw) {
    nparam.seed = after_intens;
    std::vector<float> w(nparam.nwalk, 1.0f);
    float etmp = 0.0f;
    for (int i = 0; i <= nparam.neq; ++i) tstep(xw.data(), w.data(), etmp);
    return etmp;
  };
  auto changed = [&](int k, std::initializer_list<float> c) {
    std::vector<float> xw = sampled;
    std::copy(c.begin(), c.end(), xw.begin() + 6 * k);
    return xw;
  };
  const std::vector<float> on_centre = changed(17, {0.0f, 0.0f, -h, 0.3f, -0.2f, 0.5f});
  const std::vector<float> together = changed(3, {0.1f, 0.2f, 0.3f, 0.1f, 0.2f, 0.3f});
  const std::vector<float> far_out = changed(39, {1000.0f, 0.0f, 0.0f, -1000.0f, 0.0f, 0.0f});

  const float still_reference = transcription(sampled);
  EXPECT_TRUE(std::isfinite(still_reference));
  on_every_isa([&] {
    const qh2::EnsembleEnergy still =
        qh2::ensemble_energy(p, 0.7f, sampled.data(), uint32_t(after_intens), 2);
    EXPECT_TRUE(still.still);
    EXPECT_TRUE(SameEnergy(still.energy, still_reference));
    for (const std::vector<float>* xw : {&on_centre, &together, &far_out}) {
      const qh2::EnsembleEnergy e =
          qh2::ensemble_energy(p, 0.7f, xw->data(), uint32_t(after_intens), 2);
      EXPECT_FALSE(e.still);
      EXPECT_TRUE(SameEnergy(e.energy, transcription(*xw)));
    }
  });
}

TEST(Engine, OneSeparationOnSeveralThreadsEqualsTheSequentialOne) {
  moving_walkers(64, 3, 987654.0);
  const qh2::RunParams p = qh2::params_from_records();
  // The walk of 64 walkers, then the production step after three equilibration steps.
  EXPECT_EQ(qh2::numbers_per_separation(p), qh2::ensemble_numbers(64) + 4 * qh2::step_numbers(64));
  const uint32_t start = 987654u;
  std::ostringstream out;
  const ScanPoints one = reference_scan(out, 1);
  for (int threads : {1, 2, 5}) {
    EXPECT_EQ(qh2::separation_energy(p, 0.1f, start, threads), one.yene[0]) << threads;
  }
}

TEST(Engine, DefaultsNumbersPerSeparation) {
  reset_records();
  qh2_startup();
  EXPECT_EQ(qh2::numbers_per_separation(qh2::params_from_records()), 6607946u);
}

TEST(Engine, NoEquilibrationStepsStillRunTheProductionStep) {
  for (int neq : {0, -3}) {
    moving_walkers(12, neq, 55555.0);
    const ScanRun reference = run([](std::ostream& o) { return reference_scan(o, 2); });
    moving_walkers(12, neq, 55555.0);
    const ScanRun engine = run([](std::ostream& o) { return qh2::engine_scan(o, 2, 2); });
    SCOPED_TRACE(neq);
    expect_same(engine, reference);
  }
}

TEST(Engine, AStateThatIsNoWholeNumberIsLeftToTheSequentialRoutines) {
  moving_walkers(10, 2, 4242.5);
  const ScanRun reference = run([](std::ostream& o) { return reference_scan(o, 2); });
  moving_walkers(10, 2, 4242.5);
  const ScanRun engine = run([](std::ostream& o) { return qh2::engine_scan(o, 2, 2); });
  expect_same(engine, reference);
}

TEST(Engine, NoPointsWriteNothingAndLeaveTheRecords) {
  reset_records();
  qh2_startup();
  std::ostringstream out;
  const ScanPoints none = qh2::engine_scan(out, 0, 2);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(none.npts, 0);
  EXPECT_EQ(nparam.seed, 76453456.0);
}

TEST(Engine, TheLimitChoosesTheKernels) {
  for (qh2::VectorIsa isa :
       {qh2::VectorIsa::baseline, qh2::VectorIsa::avx2, qh2::VectorIsa::avx512}) {
    qh2::limit_vector_isa(isa);
    const qh2::LaneKernels& k = qh2::lane_kernels();
    EXPECT_LE(k.isa, isa);
    if (qh2::vector_isa_available(isa)) {
      EXPECT_EQ(k.isa, isa);
    }
    EXPECT_EQ(k.separations % k.width, 0);
  }
  qh2::limit_vector_isa(qh2::VectorIsa::avx512);
  EXPECT_TRUE(qh2::vector_isa_available(qh2::VectorIsa::baseline));
}

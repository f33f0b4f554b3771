// The engine against the sequential routines: the same result lines to the byte and
// the same records afterwards, for the program's scan and for moving walkers.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "sim/driver.h"
#include "sim/engine.h"
#include "sim/records.h"
#include "tests/sim/sim_fixture.h"

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

// Start-up values, then a smaller run whose walkers move: drift and diffusion on.
void moving_walkers(int nwalk, int neq, double seed) {
  reset_records();
  qh2_startup();
  nparam.nwalk = nwalk;
  nparam.neq = neq;
  nparam.seed = seed;
  nparam.tau = 1.0e-3f;
  pcalc.dscale = 0.02f;
  pcalc.sigma = 0.15f;
}

}  // namespace

TEST(Engine, ProgramScanEqualsTheSequentialScanToTheByte) {
  reset_records();
  qh2_startup();
  const ScanRun reference = run([](std::ostream& o) { return reference_scan(o); });
  reset_records();
  qh2_startup();
  const ScanRun engine = run([](std::ostream& o) { return qh2::engine_scan(o); });
  expect_same(engine, reference);
  ASSERT_EQ(engine.scan.npts, 59);
  EXPECT_EQ(engine.lines.substr(0, engine.lines.find('\n')),
            " separacia =   0.100000001  energia =   68.6428604eV");
}

TEST(Engine, MovingWalkersGiveTheSequentialResultsOnAnyThreadCount) {
  // 37 walkers fill four lanes of the last group; the seed is not the program's.
  moving_walkers(37, 6, 123456789.0);
  const ScanRun reference = run([](std::ostream& o) { return reference_scan(o, 7); });
  for (int threads : {1, 2, 3, 8}) {
    moving_walkers(37, 6, 123456789.0);
    const ScanRun engine = run([&](std::ostream& o) { return qh2::engine_scan(o, 7, threads); });
    SCOPED_TRACE(threads);
    expect_same(engine, reference);
  }
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

TEST(Engine, OneSeparationOnSeveralThreadsEqualsTheSequentialOne) {
  moving_walkers(64, 3, 987654.0);
  const qh2::RunParams p = qh2::params_from_records();
  EXPECT_EQ(qh2::numbers_per_separation(p), 6 + 7 * (20 + 640) + 4 * 72 * 64u);
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

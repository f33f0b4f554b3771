// The engine's scan over the separations: every separation starts from its own
// position of the random stream (each one draws the same count of numbers), so the
// separations run in parallel; the result lines are written in scan order afterwards.
#include <cmath>
#include <vector>

#include "sim/engine.h"
#include "sim/parallel.h"
#include "sim/records.h"
#include "sim/stream.h"
#include "sim/wavefunction.h"

namespace qh2 {

ScanPoints engine_scan(std::ostream& out, int points, int threads) {
  const double seed = nparam.seed;
  if (!(seed >= 1.0 && seed < kModulus && seed == std::floor(seed))) {
    return reference_scan(out, points);
  }
  if (threads <= 0) threads = hardware_threads();
  const RunParams p = params_from_records();
  const uint64_t per_separation = numbers_per_separation(p);
  const uint32_t start = static_cast<uint32_t>(seed);

  ScanPoints scan;
  scan.xsep.resize(points);
  scan.yene.resize(points);
  float s = 0.1f;
  for (int n = 0; n < points; ++n) {
    scan.xsep[n] = s;
    s = s + 0.05f;
  }
  // With fewer separations than threads the walkers of each are shared out as well.
  const int inner = points > 0 && points < threads ? threads / points : 1;
  parallel_for(points, threads, [&](int n) {
    const uint32_t at = lehmer_jump(start, per_separation * n);
    scan.yene[n] = separation_energy(p, scan.xsep[n], at, inner);
  });

  for (int n = 0; n < points; ++n) write_result_line(out, scan.xsep[n], scan.yene[n]);
  scan.npts = points;
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

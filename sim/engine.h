// The fast simulation engine: the scan of the sequential routines with the same
// results to the bit, computed from an integer generator with jump-ahead, with the
// orbital values of each configuration computed once, and on several threads.
#pragma once

#include <cstdint>
#include <ostream>

#include "sim/driver.h"

namespace qh2 {

// Everything a separation needs besides its separation and its stream position,
// copied from the shared records so that threads never read the globals.
struct RunParams {
  int32_t nwalk, neq;
  float tau, delta, beta, e2, a0, alpha, hbar2m, dscale, sigma;
};
RunParams params_from_records();

// Uniform numbers one separation draws: the Metropolis walk of the ensemble and the
// neq + 1 time steps (6,607,946 with the start-up values).
uint64_t numbers_per_separation(const RunParams& p);

// The printed energy of the separation `sep`, whose numbers start after the stream
// state `start`; the walkers of each time step are shared out over `threads` threads.
float separation_energy(const RunParams& p, float sep, uint32_t start, int threads);

// The scan from the records as they stand, like reference_scan, and with the records
// left as reference_scan leaves them (the random state included). The separations run
// in parallel on `threads` threads (0: all the hardware has). A state that is not a
// whole number in 1 ... 2^31 - 2 is left to the sequential routines.
ScanPoints engine_scan(std::ostream& out, int points = kScanPoints, int threads = 0);

}  // namespace qh2

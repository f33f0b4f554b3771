// The fast simulation engine: the scan of the sequential routines with the same
// results to the bit, computed from an integer generator with jump-ahead, in vector
// lanes, on several threads, and in one step for walkers that can never move.
#pragma once

#include <cstdint>
#include <ostream>

#include "sim/common/scan_result.h"

namespace qh2 {

// Everything a separation needs besides its separation and its stream position,
// copied from the shared records so that threads never read the globals.
struct RunParams {
  int32_t nwalk, neq;
  float tau, delta, beta, e2, a0, alpha, hbar2m, dscale, sigma;
};
RunParams params_from_records();

// Uniform numbers one separation draws: the Metropolis walk of the ensemble and the
// neq + 1 time steps (separation_numbers of sim/common/stream_layout.h).
uint64_t numbers_per_separation(const RunParams& p);

// The printed energy of the separation `sep`, whose numbers start after the stream
// state `start`; moving walkers are shared out over `threads` threads.
float separation_energy(const RunParams& p, float sep, uint32_t start, int threads);

// The time steps of a given ensemble xw (nwalk walkers) at the separation `sep`, the
// first step starting after the stream state `step0`: the printed energy, and whether it
// took the still path. That path is taken when the drift scale and the diffusion length
// are both 0 and every walker's drift is exactly 0: then no walker ever moves, and each
// keeps its local energy through all the steps. Otherwise every trajectory is followed.
struct EnsembleEnergy {
  float energy;
  bool still;
};
EnsembleEnergy ensemble_energy(const RunParams& p, float sep, const float* xw, uint32_t step0,
                               int threads);

// How many separations of a scan took the still path and how many followed trajectories.
struct ScanPaths {
  int still = 0;
  int moving = 0;
};

// The scan from the records as they stand, like reference_scan, and with the records
// left as reference_scan leaves them (the random state included). The separations run
// in parallel on `threads` threads (0: all the hardware has). A state that is not a
// whole number in 1 ... 2^31 - 2, or no walker at all, is left to the sequential routines.
ScanPoints engine_scan(std::ostream& out, int points = kScanPoints, int threads = 0,
                       ScanPaths* paths = nullptr);

}  // namespace qh2

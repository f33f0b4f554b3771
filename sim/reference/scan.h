// The driver's scan over the separations by the sequential routines: the reference the
// engine's scan (sim/engine/engine.h) is compared with, and what it falls back to.
#pragma once

#include <ostream>

#include "sim/common/scan_result.h"

namespace qh2::reference {

// The scan from the records as they stand: `points` separations from 0.1 Angstrom in steps
// of 0.05, one result line each.
ScanPoints reference_scan(std::ostream& out, int points = kScanPoints);

}  // namespace qh2::reference

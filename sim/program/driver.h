// The qh2 driver: the start-up values of the shared records and the program's scan over
// the separations with its result lines.
#pragma once

#include <ostream>

#include "sim/common/scan_result.h"

// Gives nparam, const_ and pparam.beta their start-up values.
void qh2_startup();

// The program's entry routine: start-up, then the 59-point scan with its result lines,
// computed by the engine (sim/engine/engine.h), which gives the bytes of reference_scan
// (sim/reference/scan.h).
ScanPoints qh2_scan(std::ostream& out);

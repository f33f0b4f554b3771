// The qh2 driver: the start-up values of the shared records, the scan over the
// separations and the result lines "separacia = ... energia = ...eV".
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

inline constexpr int kScanPoints = 59;

// The scan's points: separations (Angstrom) and energies (eV), npts of them.
struct ScanPoints {
  std::vector<float> xsep;
  std::vector<float> yene;
  int32_t npts = 0;
};

// Gives nparam, const_ and pparam.beta their start-up values.
void qh2_startup();

// One result line through the list-directed writer.
void write_result_line(std::ostream& out, float separation, float energy);

// The scan by the sequential routines, from the records as they stand: `points`
// separations from 0.1 Angstrom in steps of 0.05, one result line each.
ScanPoints reference_scan(std::ostream& out, int points = kScanPoints);

// The program's entry routine: start-up, then the 59-point scan with its result lines,
// computed by the engine (sim/engine.h), which gives the bytes of reference_scan.
ScanPoints qh2_scan(std::ostream& out);

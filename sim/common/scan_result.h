// The result of a scan over the separations: its points (separation and energy) and the
// result line of each, "separacia = ... energia = ...eV", as the sequential routines and
// the engine both write them.
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

// One result line through the list-directed writer.
void write_result_line(std::ostream& out, float separation, float energy);

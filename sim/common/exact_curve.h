// The exact Born-Oppenheimer energies of the hydrogen molecule at nine separations
// (sim/data/h2_exact.csv, built into the program), in qh2's units: what the variational and
// diffusion runs are compared with, in the picture and in the tests.
#pragma once

#include <string>
#include <vector>

namespace qh2 {

struct ExactPoint {
  double r_bohr, e_hartree;  // as published
  double separation;         // A: r_bohr times qh2's length unit hbar2m / e2
  double energy;             // eV: e_hartree times qh2's energy unit e2^2 / hbar2m
};

// The table, in the file's order (increasing separation).
const std::vector<ExactPoint>& exact_curve();

// The points of a CSV text with the file's columns; the rows that do not parse are skipped.
std::vector<ExactPoint> parse_exact_curve(const std::string& csv);

// The exact point at the separation sep (A), if the table has one within 1e-6 A; else null.
const ExactPoint* exact_point_at(double sep);

// The text of sim/data/h2_exact.csv.
extern const char* const kExactCurveCsv;

}  // namespace qh2

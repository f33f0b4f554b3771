// The exact curve read from the data file's text, which the build puts into the program.
#include "sim/common/exact_curve.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace qh2 {

std::vector<ExactPoint> parse_exact_curve(const std::string& csv) {
  // qh2's constants in double: e2 = 14.409 eV A, hbar2m = 7.6359 eV A^2.
  constexpr double kE2 = 14.409, kHbar2m = 7.6359;
  std::vector<ExactPoint> points;
  std::istringstream in(csv);
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    const char* at = line.c_str();
    char* end = nullptr;
    const double r = std::strtod(at, &end);
    if (end == at || *end != ',') continue;  // the header, or not a row
    at = end + 1;
    const double e = std::strtod(at, &end);
    if (end == at || !std::isfinite(r) || !std::isfinite(e)) continue;
    points.push_back({r, e, r * kHbar2m / kE2, e * kE2 * kE2 / kHbar2m});
  }
  return points;
}

const std::vector<ExactPoint>& exact_curve() {
  static const std::vector<ExactPoint> points = parse_exact_curve(kExactCurveCsv);
  return points;
}

const ExactPoint* exact_point_at(double sep) {
  for (const ExactPoint& p : exact_curve()) {
    if (std::fabs(p.separation - sep) <= 1e-6) return &p;
  }
  return nullptr;
}

}  // namespace qh2

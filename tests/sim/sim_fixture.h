// Shared set-up of the simulation tests: the start-up records with one separation
// chosen, and a check for values given to a number of significant digits.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "sim/program/driver.h"
#include "sim/reference/records.h"
#include "sim/reference/wavefunction.h"

// The records as the program starts: all zero. Tests that change fields start from here.
inline void reset_records() {
  using namespace qh2::reference;
  nparam = nparam_t{};
  pparam = pparam_t{};
  const_ = const_t{};
  pcalc = pcalc_t{};
}

// Start-up values plus the per-separation fields for `sep`, as the driver sets them.
inline void set_separation(float sep) {
  using namespace qh2::reference;
  reset_records();
  qh2_startup();
  pparam.sep = sep;
  pcalc.shalf = sep * 0.5f;
  pcalc.a = apar(const_.a0, pparam.sep);
}

// The worked configuration and a second one, (x1, y1, z1, x2, y2, z2) in Angstrom.
inline constexpr float kConfigA[6] = {0.1f, 0.0f, 0.3f, -0.1f, 0.2f, -0.4f};
inline constexpr float kConfigB[6] = {0.0f, 0.3f, 0.35f, 0.2f, -0.1f, -0.35f};

// True when `actual` rounds to `expected`, a value given to `digits` significant digits.
inline ::testing::AssertionResult Rounds(double actual, double expected, int digits = 5) {
  const double unit = std::pow(10.0, std::floor(std::log10(std::fabs(expected))) - digits + 1);
  if (std::fabs(actual - expected) <= 0.5 * unit * 1.0001) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << actual << " does not round to " << expected << " (" << digits << " digits)";
}

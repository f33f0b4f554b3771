// The arithmetic convention of the simulation. Every stored value (a variable, an
// array element, a record field, a function result or an argument) is single
// precision; an expression is evaluated in double precision from its single-precision
// operands and rounded once, where it is stored. exp and sqrt work in double too.
// Routines therefore widen their operands to double locals before computing.
#pragma once

#include <cmath>

namespace qh2::reference {

// The engine's lane version is exp_rounded (sim/engine/vector_exp.h); they must agree,
// tests/sim/engine/vector_exp_test.cpp compares them.
inline float exp_f(double x) {
  return static_cast<float>(std::exp(x));
}
// The engine's lane version is sqrt_r (sim/engine/engine_eval.h).
inline float sqrt_f(double x) {
  return static_cast<float>(std::sqrt(x));
}

}  // namespace qh2::reference

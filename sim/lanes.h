// Lane vectors of the engine: kLanes walkers side by side in GCC vector types, with
// the operations the formulas need. Every lane computes exactly what the scalar code
// computes (IEEE operations lane by lane, the same roundings), only several at once.
#pragma once

#include <cmath>
#include <cstdint>

// The lane types only pass between inline functions of one translation unit, never
// across a library boundary, so the note that their calling convention depends on the
// instruction set does not apply.
#pragma GCC diagnostic ignored "-Wpsabi"

// Lane helpers are always inlined: the trajectory kernel is compiled once per
// instruction set, and an out-of-line helper would pass lanes in another convention.
#define QH2_INLINE inline __attribute__((always_inline))

namespace qh2 {

inline constexpr int kLanes = 8;

typedef double LaneD __attribute__((vector_size(8 * kLanes)));
typedef float LaneF __attribute__((vector_size(4 * kLanes)));
typedef int32_t LaneI __attribute__((vector_size(4 * kLanes)));
typedef uint32_t LaneU __attribute__((vector_size(4 * kLanes)));
typedef uint64_t LaneU64 __attribute__((vector_size(8 * kLanes)));

// Rounding to single precision, the value kept widened: rnd(x) is (double)(float)x.
QH2_INLINE double rnd(double x) {
  return static_cast<float>(x);
}
QH2_INLINE LaneD rnd(LaneD x) {
  return __builtin_convertvector(__builtin_convertvector(x, LaneF), LaneD);
}

// exp and sqrt in double, rounded to single precision, lane by lane.
QH2_INLINE double exp_r(double x) {
  return static_cast<float>(std::exp(x));
}
QH2_INLINE double sqrt_r(double x) {
  return static_cast<float>(std::sqrt(x));
}
QH2_INLINE LaneD exp_r(LaneD x) {
  LaneD r;
  for (int l = 0; l < kLanes; ++l) r[l] = exp_r(x[l]);
  return r;
}
QH2_INLINE LaneD sqrt_r(LaneD x) {
  LaneD r;
  for (int l = 0; l < kLanes; ++l) r[l] = sqrt_r(x[l]);
  return r;
}

}  // namespace qh2

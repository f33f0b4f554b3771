// The random stream in lanes: kLanes generator states side by side, for the engine's
// trajectories. Lane for lane the states and numbers are those of stream.h.
#pragma once

#include <cstdint>

#include "sim/lanes.h"
#include "sim/stream.h"

namespace qh2 {

// The generator in lanes, in double precision: states and products are whole numbers
// below 2^53, so every step is exact. For p below 2^47, p * (1/M) is within 2^-36 of
// p / M, while a remainder r >= 1 puts p / M at least 1/M (about 2^-31) away from a
// whole number; so truncating p * (1/M) gives the exact quotient.
inline constexpr double kModulusD = kModulus;
QH2_INLINE LaneD reduce(LaneD p) {
  const LaneD q =
      __builtin_convertvector(__builtin_convertvector(p * (1.0 / kModulusD), LaneI), LaneD);
  return p - q * kModulusD;
}
QH2_INLINE LaneD lehmer_step(LaneD s) {
  return reduce(s * double(kMultiplier));
}
// s * m mod (2^31 - 1) for any multiplier m: m is split into 15 and 16 bits so that each
// partial product stays below 2^47.
QH2_INLINE LaneD mulmod(LaneD s, uint32_t m) {
  const LaneD lo = reduce(s * double(m & 0xffffu));
  const LaneD hi = reduce(reduce(s * double(m >> 16)) * 65536.0);
  const LaneD sum = lo + hi;
  return sum >= kModulusD ? sum - kModulusD : sum;
}
QH2_INLINE LaneF lehmer_uniform(LaneD s) {
  return __builtin_convertvector(s * (1.0 / 2147483711.0), LaneF);
}

}  // namespace qh2

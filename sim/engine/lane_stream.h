// The random stream in lanes: several generator states side by side, for the engine's
// walks and trajectories. Lane for lane the states and numbers are those of stream.h.
#pragma once

#include <cstdint>

#include "sim/common/lanes.h"
#include "sim/engine/stream.h"

namespace qh2 {

// The generator in lanes, in double precision: states and products are whole numbers
// below 2^53, so every step is exact. For p below 2^47, p * (1/M) is within 2^-36 of
// p / M, while a remainder r >= 1 puts p / M at least 1/M (about 2^-31) away from a
// whole number; so truncating p * (1/M) gives the exact quotient.
// M::trunc truncates lanes below 2^31 to whole numbers; the kernels pass their instruction
// set's own conversion, the default is the generic one.
struct ConvertingLanes {
  template <DoubleLanes D>
  QH2_INLINE static D trunc(D x) {
    return __builtin_convertvector(__builtin_convertvector(x, Int32sOf<D>), D);
  }
};

inline constexpr double kModulusD = kModulus;
template <class M = ConvertingLanes, DoubleLanes D>
QH2_INLINE D reduce(D p) {
  return p - M::trunc(p * (1.0 / kModulusD)) * kModulusD;
}
// The reference is rannos (sim/reference/random.cpp); they must agree lane for lane,
// tests/sim/engine/stream_test.cpp compares them.
template <class M = ConvertingLanes, DoubleLanes D>
QH2_INLINE D lehmer_step(D s) {
  return reduce<M>(s * double(kMultiplier));
}
// s * m mod (2^31 - 1) for any multiplier m: m is split into 15 and 16 bits so that each
// partial product stays below 2^47.
template <class M = ConvertingLanes, DoubleLanes D>
QH2_INLINE D mulmod(D s, uint32_t m) {
  const D lo = reduce<M>(s * double(m & 0xffffu));
  const D hi = reduce<M>(reduce<M>(s * double(m >> 16)) * 65536.0);
  return reduce<M>(lo + hi);  // the sum is below 2 (2^31 - 1)
}
template <DoubleLanes D>
QH2_INLINE FloatsOf<D> lehmer_uniform(D s) {
  return __builtin_convertvector(s * kUniformScale, FloatsOf<D>);
}

}  // namespace qh2

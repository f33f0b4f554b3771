// exp in lanes, rounded to single precision: the same float as (float)std::exp(x) for
// every x, from a double-precision polynomial whose error is bounded, and from the
// library exp in the rare lanes where that bound cannot decide the rounding.
#pragma once

#include <cmath>
#include <cstdint>

#include "sim/common/lane_exp.h"
#include "sim/common/lanes.h"

namespace qh2 {

// The estimate E of exp(x) and its error bound kExpError are in sim/common/lane_exp.h.
//
// The rounding of E to float agrees with the rounding of the library's L = exp(x) when
// no float rounding boundary (a midpoint between adjacent floats) lies between them, nor
// on L. With E's double ulp v > u E and |L - exp(x)| <= 2 u exp(x) (within one ulp),
// |E - L| < 28 u exp(x) < 29 v. A boundary lies where the 29 bits float drops from E's
// significand read 2^28; if they are at least kExpMargin = 1024 ulps from that, E and L
// round alike. Otherwise (about 4 lanes in a million), and for |x| > kExpLimit or a
// NaN, the lane takes the library exp.
inline constexpr int64_t kExpMargin = 1024;
static_assert((kExpError + 0x1p-52) * 0x1p53 + 1 < kExpMargin);
inline constexpr int kExpWindowBits = 11;  // 2 kExpMargin = 2^11
static_assert(int64_t{2} * kExpMargin == int64_t{1} << kExpWindowBits);

// Lanes whose E does not decide the float (out of range, not a number, or near a
// boundary) get the sign bit. Integer arithmetic only: comparisons of lane vectors
// would be lowered lane by lane here, outside the kernels' instruction set.
template <DoubleLanes D>
QH2_INLINE Int64sOf<D> exp_undecided(D x, D e) {
  using I = Int64sOf<D>;
  using U = Uint64sOf<D>;
  constexpr int64_t kAbs = INT64_MAX, kTop = __builtin_bit_cast(int64_t, kExpLimit);
  // Negative when |x| > kExpLimit or x is not a number (whose bits lie above inf's).
  const I outside = kTop - (__builtin_bit_cast(I, x) & kAbs);
  // The 29 bits float drops, moved so that the window [2^28 - margin, 2^28 + margin)
  // becomes [0, 2 margin): as an unsigned number shifted right by log2(2 margin) it is
  // 0 there and only there, and 0 - 1 is negative.
  const I dropped = __builtin_bit_cast(I, e) & ((int64_t{1} << 29) - 1);
  const I moved = dropped - ((int64_t{1} << 28) - kExpMargin);
  const I near = __builtin_bit_cast(I, __builtin_bit_cast(U, moved) >> kExpWindowBits) - 1;
  return outside | near;
}

// exp of n lane vectors, each lane rounded to float (held widened), in place. M::any
// tells whether any lane has its sign bit set, M::rnd rounds to single precision. Several vectors
// share one test for the rare lanes that need the library. The reference is exp_f
// (sim/reference/fmath.h); they must agree, tests/sim/engine/vector_exp_test.cpp compares
// them.
template <class M, DoubleLanes D, int N>
QH2_INLINE void exp_rounded(D (&x)[N]) {
  using I = Int64sOf<D>;
  D e[N];
  exp_estimates(x, e);
  I undecided = I{};
  for (int i = 0; i < N; ++i) undecided |= exp_undecided(x[i], e[i]);
  if (M::any(undecided)) [[unlikely]] {
    for (int i = 0; i < N; ++i) {
      const I u = exp_undecided(x[i], e[i]);
      for (int l = 0; l < lanes_of<D>; ++l) {
        if (u[l] < 0) e[i][l] = std::exp(x[i][l]);
      }
    }
  }
  for (int i = 0; i < N; ++i) x[i] = M::rnd(e[i]);
}

template <class M, DoubleLanes D>
QH2_INLINE D exp_rounded(D x) {
  D v[1] = {x};
  exp_rounded<M>(v);
  return v[0];
}

}  // namespace qh2

// exp in lanes, rounded to single precision: the same float as (float)std::exp(x) for
// every x, from a double-precision polynomial whose error is bounded, and from the
// library exp in the rare lanes where that bound cannot decide the rounding.
#pragma once

#include <cmath>
#include <cstdint>

#include "sim/engine/lanes.h"

namespace qh2 {

// The estimate E of exp(x), for |x| <= kExpLimit = 87 (where exp(x) and its float are
// normal numbers), with u = 2^-53:
//
//   k = nearest integer to x / ln 2, r = x - k ln 2, exp(x) = 2^k exp(r), |r| <= 0.347.
//
// - Reduction: k ln2_hi is exact (ln2_hi has 32 significant bits, |k| <= 126), and so is
//   x - k ln2_hi: for k != 0 both are multiples of x's ulp (at least 2^-54) and the
//   difference is below 0.35, so it has at most 53 bits. Taking away k ln2_lo rounds
//   once, and ln2_hi + ln2_lo is within 2^-86 of ln 2: the computed r is within
//   0.35 u + 2^-79 of r, a relative error of exp(r) below 0.4 u.
// - Polynomial: p(r) = sum of c_i r^i for i = 0 ... 12, c_i = 1/i! rounded to double.
//   Truncation: 0.347^13 / 13! * e^0.347 / e^-0.347 < 3.1 u relative to exp(r). Rounded
//   coefficients: (e^0.347 - 1.347) u / e^-0.347 < 0.1 u.
// - Evaluation (Estrin): every term c_i r^i reaches the result through at most 11
//   rounded operations (c11 r: product, sum with c10, times r^2 (itself rounded once),
//   sum, sum with c12 r^4, times r^8 (rounded three times), final sum), so the computed
//   value is sum c_i r^i (1 + t_i) with |t_i| <= 11 u / (1 - 11 u), and its error is at
//   most 11.01 u sum |c_i| |r|^i <= 11.01 u e^0.347, relative to exp(r) >= e^-0.347
//   below 22.1 u.
// - 2^k (|k| <= 126) is built from its exponent bits; multiplying by it is exact.
// Together |E - exp(x)| < 26 u exp(x) (kExpError).
//
// The rounding of E to float agrees with the rounding of the library's L = exp(x) when
// no float rounding boundary (a midpoint between adjacent floats) lies between them, nor
// on L. With E's double ulp v > u E and |L - exp(x)| <= 2 u exp(x) (within one ulp),
// |E - L| < 28 u exp(x) < 29 v. A boundary lies where the 29 bits float drops from E's
// significand read 2^28; if they are at least kExpMargin = 1024 ulps from that, E and L
// round alike. Otherwise (about 4 lanes in a million), and for |x| > kExpLimit or a
// NaN, the lane takes the library exp.
inline constexpr double kExpLimit = 87.0;
inline constexpr double kExpError = 26 * 0x1p-53;
inline constexpr int64_t kExpMargin = 1024;
static_assert((kExpError + 0x1p-52) * 0x1p53 + 1 < kExpMargin);
inline constexpr int kExpWindowBits = 11;  // 2 kExpMargin = 2^11
static_assert(int64_t{2} * kExpMargin == int64_t{1} << kExpWindowBits);

namespace exp_detail {
inline constexpr double kLog2e = 0x1.71547652b82fep0;
inline constexpr double kLn2Hi = 0x1.62e42feep-1;
inline constexpr double kLn2Lo = 0x1.a39ef35793c76p-33;
inline constexpr double kShifter = 0x1.8p52;  // adding it rounds to a whole number
inline constexpr int64_t kShifterBits = 0x4338000000000000;
// 1 / i!, each rounded once (the factorials are exact doubles).
inline constexpr double kCoefficient[13] = {1.0,
                                            1.0,
                                            1.0 / 2.0,
                                            1.0 / 6.0,
                                            1.0 / 24.0,
                                            1.0 / 120.0,
                                            1.0 / 720.0,
                                            1.0 / 5040.0,
                                            1.0 / 40320.0,
                                            1.0 / 362880.0,
                                            1.0 / 3628800.0,
                                            1.0 / 39916800.0,
                                            1.0 / 479001600.0};
}  // namespace exp_detail

// E for every lane of n vectors (meaningful for |x| <= kExpLimit). The vectors go
// through each stage together, so that their independent chains overlap.
template <DoubleLanes D, int N>
QH2_INLINE void exp_estimates(const D (&x)[N], D (&e)[N]) {
  using namespace exp_detail;
  using I = Int64sOf<D>;
  D t[N], r[N];
  for (int i = 0; i < N; ++i) t[i] = x[i] * kLog2e + kShifter;
  for (int i = 0; i < N; ++i) {
    const D k = t[i] - kShifter;
    r[i] = (x[i] - k * kLn2Hi) - k * kLn2Lo;
  }
  // Estrin's scheme: pairs, then pairs of pairs with r^2, r^4 and r^8 (a short chain).
  const double* c = kCoefficient;
  for (int i = 0; i < N; ++i) {
    const D r2 = r[i] * r[i], r4 = r2 * r2, r8 = r4 * r4;
    const D p01 = c[0] + c[1] * r[i], p23 = c[2] + c[3] * r[i], p45 = c[4] + c[5] * r[i];
    const D p67 = c[6] + c[7] * r[i], p89 = c[8] + c[9] * r[i], p1011 = c[10] + c[11] * r[i];
    const D q0 = p01 + p23 * r2, q1 = p45 + p67 * r2, q2 = p89 + p1011 * r2;
    e[i] = (q0 + q1 * r4) + (q2 + c[12] * r4) * r8;
  }
  for (int i = 0; i < N; ++i) {
    // t's significand holds k in its low bits; 2^k has the biased exponent k + 1023.
    const I scale = (__builtin_bit_cast(I, t[i]) - (kShifterBits - 1023)) << 52;
    e[i] = e[i] * __builtin_bit_cast(D, scale);
  }
}

template <DoubleLanes D>
QH2_INLINE D exp_estimate(D x) {
  D v[1] = {x}, e[1];
  exp_estimates(v, e);
  return e[0];
}

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

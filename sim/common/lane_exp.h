// exp in lanes of doubles: an estimate from a polynomial after range reduction by ln 2, with
// a proven relative error bound, from IEEE operations alone, so that every instruction set
// computes the same bits. The engine rounds it to float (sim/engine/vector_exp.h); the
// diffusion engine uses it as it is (sim/dmc/lane_math.h).
#pragma once

#include <cstdint>

#include "sim/common/lanes.h"

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
inline constexpr double kExpLimit = 87.0;
inline constexpr double kExpError = 26 * 0x1p-53;

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

}  // namespace qh2

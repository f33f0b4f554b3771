// Elementary functions in lanes of doubles for the diffusion engine: exp, log, and the cosine
// and sine of 2 pi u, from IEEE operations alone (no fused multiply-add, no library call), so
// that every instruction set and every lane gives the same bits as the scalar code.
#pragma once

#include <cstdint>

#include "sim/common/lane_exp.h"
#include "sim/common/lanes.h"

namespace qh2::dmc {

// M, the lane arithmetic of an instruction set (sim/dmc/isa/), provides D and, lane by lane:
// sqrt; trunc, toward zero for 0 <= x < 2^31; less, a mask of all ones where a < b; any,
// whether some lane of a mask is set; mul32, the 64-bit products of the low 32 bits of two
// vectors of 64-bit integers.

template <DoubleLanes D>
QH2_INLINE D bits_to_double(Int64sOf<D> x) {
  return __builtin_bit_cast(D, x);
}
template <DoubleLanes D>
QH2_INLINE Int64sOf<D> double_to_bits(D x) {
  return __builtin_bit_cast(Int64sOf<D>, x);
}

template <class M, DoubleLanes D>
QH2_INLINE D min_of(D a, D b) {
  return select(M::less(a, b), a, b);
}
template <class M, DoubleLanes D>
QH2_INLINE D max_of(D a, D b) {
  return select(M::less(a, b), b, a);
}
template <DoubleLanes D>
QH2_INLINE D abs_of(D x) {
  return bits_to_double<D>(double_to_bits(x) & INT64_MAX);
}

// A whole number |k| < 2^51 as a double, exactly, by the same shifter as exp's reduction.
template <DoubleLanes D>
QH2_INLINE D small_to_double(Int64sOf<D> k) {
  return bits_to_double<D>(k + exp_detail::kShifterBits) - exp_detail::kShifter;
}

// All ones in lanes that hold a finite number (integer arithmetic only).
template <DoubleLanes D>
QH2_INLINE Int64sOf<D> finite_mask(D x) {
  constexpr int64_t kExponent = 0x7ff0000000000000;
  return ((double_to_bits(x) & kExponent) - kExponent) >> 63;
}

// exp(x) for every x: the estimate of lane_exp.h on x clamped to [-87, 87]. The clamp changes
// only results below 1.7e-38 or above 6e37, which the engine uses as "negligible" and
// "certain" (orbital ratios and acceptance probabilities) and never as values.
template <class M, DoubleLanes D>
QH2_INLINE D exp_of(D x) {
  const D lo = splat<D>(-kExpLimit), hi = splat<D>(kExpLimit);
  D v[1] = {min_of<M>(max_of<M>(x, lo), hi)}, e[1];
  exp_estimates(v, e);
  return e[0];
}

// log(x) for positive normal x: x = 2^k m with m in [sqrt(1/2), sqrt(2)), then
// log m = 2 atanh(s), s = (m - 1) / (m + 1), |s| <= 0.1716, by its series to s^21 (the next
// term is below 2^-60 of the sum), and k ln 2 in two parts. Relative error a few ulps.
template <class M, DoubleLanes D>
QH2_INLINE D log_of(D x) {
  using I = Int64sOf<D>;
  constexpr int64_t kMantissa = 0x000fffffffffffff, kOne = 0x3ff0000000000000;
  const I bits = double_to_bits(x);
  // The exponent field and the significand as a number in [1, 2).
  I k = ((bits >> 52) & 0x7ff) - 1023;
  D m = bits_to_double<D>((bits & kMantissa) | kOne);
  // m >= sqrt(2): halve it (exactly) and count one more in the exponent.
  const I big = ~M::less(m, splat<D>(0x1.6a09e667f3bcdp0));
  m = select(big, m * 0.5, m);
  k = k + (big & 1);
  const D s = (m - 1.0) / (m + 1.0), s2 = s * s;
  D p = splat<D>(1.0 / 21.0);
  for (int n = 19; n >= 3; n -= 2) p = p * s2 + 1.0 / n;
  const D log_m = 2.0 * s + 2.0 * s * (s2 * p);
  const D kd = small_to_double<D>(k);
  return kd * exp_detail::kLn2Hi + (kd * exp_detail::kLn2Lo + log_m);
}

// cos(2 pi u) and sin(2 pi u) for 0 <= u < 1, u a multiple of 2^-53: 4u = q + f exactly
// (q the quadrant), the angle f pi/2 reduced to [0, pi/4] by symmetry, Taylor polynomials
// there (the first neglected terms below 2^-54), then the quadrant's rotation.
template <class M, DoubleLanes D>
QH2_INLINE void cos_sin_turn(D u, D& c, D& s) {
  using I = Int64sOf<D>;
  const D t = u * 4.0;
  const D qd = M::trunc(t);
  const D f = t - qd;  // in [0, 1), exact
  const I q = double_to_bits(qd + exp_detail::kShifter) - exp_detail::kShifterBits;
  const I upper = M::less(splat<D>(0.5), f);  // angle above pi/4: use the complement
  const D g = select(upper, 1.0 - f, f);
  constexpr double kHalfPi = 1.5707963267948966;
  const D x = g * kHalfPi, x2 = x * x;
  // sin x = x (1 - x^2/3! + ... - x^14/15!), cos x = 1 - x^2/2! + ... + x^16/16!.
  D ps = splat<D>(-1.0 / 1307674368000.0), pc = splat<D>(1.0 / 20922789888000.0);
  constexpr double kSin[7] = {1.0 / 6227020800.0,
                              -1.0 / 39916800.0,
                              1.0 / 362880.0,
                              -1.0 / 5040.0,
                              1.0 / 120.0,
                              -1.0 / 6.0,
                              1.0};
  constexpr double kCos[8] = {
      -1.0 / 87178291200.0, 1.0 / 479001600.0, -1.0 / 3628800.0, 1.0 / 40320.0,
      -1.0 / 720.0,         1.0 / 24.0,        -1.0 / 2.0,       1.0};
  for (double k : kSin) ps = ps * x2 + k;
  for (double k : kCos) pc = pc * x2 + k;
  const D sin_x = x * ps, cos_x = pc;
  D c0 = select(upper, sin_x, cos_x), s0 = select(upper, cos_x, sin_x);
  // Quadrant q turns (c0, s0) by q quarter turns: (c, s) -> (-s, c).
  // Quadrants 2 and 3 negate both.
  const I odd = -(q & 1), back = -((q >> 1) & 1);
  const D c1 = select(odd, -s0, c0), s1 = select(odd, c0, s0);
  c = select(back, -c1, c1);
  s = select(back, -s1, s1);
}

}  // namespace qh2::dmc

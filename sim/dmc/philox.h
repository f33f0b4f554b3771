// The diffusion engine's random numbers: Philox4x32-10 (Salmon, Moraes, Dror and Shaw, "Parallel
// random numbers: as easy as 1, 2, 3", SC11), a counter-based generator. Its numbers are a
// function of a 64-bit key and a 128-bit counter, so every walker slot of every step of every
// separation reads its own numbers directly: jump-ahead costs nothing, the numbers do not
// depend on which thread or process computes them, and the state of a run is its step count.
//
// Why not the program's multiplicative generator (sim/engine/stream.h): its period, 2^31 - 2,
// is smaller than the numbers one diffusion run of a few separations draws (about eight per
// walker and step, 10^9 or more), and a 31-bit number is too coarse for the tails of the
// Gaussian moves. Philox passes the BigCrush battery, has 2^128 counters per key, and needs
// only 32-bit multiplications, which every instruction set has in lanes.
#pragma once

#include <array>
#include <cstdint>

#include "sim/common/lanes.h"
#include "sim/dmc/lane_math.h"

namespace qh2::dmc {

inline constexpr uint32_t kPhiloxM0 = 0xD2511F53u, kPhiloxM1 = 0xCD9E8D57u;
inline constexpr uint32_t kPhiloxW0 = 0x9E3779B9u, kPhiloxW1 = 0xBB67AE85u;
inline constexpr int kPhiloxRounds = 10;

using Counter = std::array<uint32_t, 4>;
using Key = std::array<uint32_t, 2>;

// One block of four 32-bit numbers.
constexpr Counter philox(Counter c, Key k) {
  for (int round = 0; round < kPhiloxRounds; ++round) {
    const uint64_t p0 = uint64_t{kPhiloxM0} * c[0], p1 = uint64_t{kPhiloxM1} * c[2];
    c = {static_cast<uint32_t>(p1 >> 32) ^ c[1] ^ k[0], static_cast<uint32_t>(p1),
         static_cast<uint32_t>(p0 >> 32) ^ c[3] ^ k[1], static_cast<uint32_t>(p0)};
    k = {k[0] + kPhiloxW0, k[1] + kPhiloxW1};
  }
  return c;
}

// A uniform number in (0, 1) from 64 random bits: the top 52 bits n give (n + 1/2) 2^-52, so
// neither 0 nor 1 occurs (its logarithm is finite) and every value is exact.
inline double uniform_of(uint32_t hi, uint32_t lo) {
  const uint64_t n = ((uint64_t{hi} << 32) | lo) >> 12;
  return (static_cast<double>(n) + 0.5) * 0x1p-52;
}

// The same in lanes: four 32-bit words per lane (held in 64-bit lanes), the counter's words 0,
// 2 and 3 shared by all lanes and word 1 (the walker slot) per lane. M::mul32 multiplies the
// low 32 bits of its operands into 64 bits.
template <class M, DoubleLanes D>
struct PhiloxLanes {
  using U = Uint64sOf<D>;
  U w[4];

  QH2_INLINE PhiloxLanes(uint32_t c0, U c1, uint32_t c2, uint32_t c3, Key k) {
    constexpr uint64_t kLow = 0xffffffffu;
    U x0 = splat<U>(uint64_t{c0}), x1 = c1, x2 = splat<U>(uint64_t{c2}),
      x3 = splat<U>(uint64_t{c3});
    for (int round = 0; round < kPhiloxRounds; ++round) {
      const U p0 = M::mul32(x0, splat<U>(uint64_t{kPhiloxM0}));
      const U p1 = M::mul32(x2, splat<U>(uint64_t{kPhiloxM1}));
      const U y0 = (p1 >> 32) ^ x1 ^ uint64_t { k[0] };
      const U y2 = (p0 >> 32) ^ x3 ^ uint64_t { k[1] };
      x1 = p1 & kLow;
      x3 = p0 & kLow;
      x0 = y0;
      x2 = y2;
      k = {k[0] + kPhiloxW0, k[1] + kPhiloxW1};
    }
    w[0] = x0;
    w[1] = x1;
    w[2] = x2;
    w[3] = x3;
  }

  // uniform_of(w[2i], w[2i + 1]) lane by lane, i = 0 or 1.
  QH2_INLINE D uniform(int i) const {
    const U n = ((w[2 * i] << 32) | w[2 * i + 1]) >> 12;
    // n < 2^52: its bits under the exponent of 2^52 are the double 2^52 + n.
    const D d = __builtin_bit_cast(D, n | 0x4330000000000000u) - 0x1p52;
    return (d + 0.5) * 0x1p-52;
  }
};

// Two independent normal deviates from two uniform numbers (Box and Muller):
// sqrt(-2 log u1) times the cosine and sine of 2 pi u2.
template <class M, DoubleLanes D>
QH2_INLINE void normal_pair(D u1, D u2, D& z1, D& z2) {
  const D r = M::sqrt(-2.0 * log_of<M>(u1));
  D c, s;
  // u2 - 1/2 2^-52 is a multiple of 2^-53 in [0, 1): the turn's reduction is exact for it.
  cos_sin_turn<M>(u2 - 0x1p-53, c, s);
  z1 = r * c;
  z2 = r * s;
}

}  // namespace qh2::dmc

// The random stream of rannos as exact integer arithmetic: x -> 16807 x mod (2^31 - 1)
// with the Mersenne reduction, jump-ahead by any number of steps in O(log k), and the
// conversion of a state to the single-precision number rannos returns for it.
#pragma once

#include <cstdint>

namespace qh2 {

inline constexpr uint32_t kModulus = 2147483647u;  // 2^31 - 1
inline constexpr uint32_t kMultiplier = 16807u;

// a * b mod (2^31 - 1) for a, b below 2^31: the product is below 2^62, and
// 2^31 = 1 (mod 2^31 - 1) folds its high bits onto the low ones.
constexpr uint32_t mulmod(uint32_t a, uint32_t b) {
  const uint64_t p = static_cast<uint64_t>(a) * b;
  uint64_t r = (p & kModulus) + (p >> 31);  // below 2^32
  r = (r & kModulus) + (r >> 31);           // at most 2^31
  return static_cast<uint32_t>(r >= kModulus ? r - kModulus : r);
}

// One step of the generator. The product is below 2^46, so one fold and one
// subtraction reduce it.
// The reference is rannos (sim/reference/random.cpp); with lehmer_uniform they must agree,
// tests/sim/engine/stream_test.cpp compares them.
constexpr uint32_t lehmer_step(uint32_t s) {
  const uint64_t p = static_cast<uint64_t>(s) * kMultiplier;
  const uint32_t r = static_cast<uint32_t>(p & kModulus) + static_cast<uint32_t>(p >> 31);
  return r >= kModulus ? r - kModulus : r;
}

// 16807^k mod (2^31 - 1): the multiplier that advances the stream by k steps.
constexpr uint32_t lehmer_power(uint64_t k) {
  uint32_t result = 1, base = kMultiplier;
  for (; k; k >>= 1) {
    if (k & 1) result = mulmod(result, base);
    base = mulmod(base, base);
  }
  return result;
}

// The state k steps after s.
constexpr uint32_t lehmer_jump(uint32_t s, uint64_t k) {
  return mulmod(s, lehmer_power(k));
}

// The number rannos returns for the state s: s / 2147483711 rounded to single
// precision. Multiplying by the double reciprocal rounds to the same float for every
// state 1 ... 2^31 - 2 (checked over all of them by the tests), and is much cheaper.
inline constexpr double kUniformScale = 1.0 / 2147483711.0;
inline float lehmer_uniform(uint32_t s) {
  return static_cast<float>(static_cast<double>(static_cast<int32_t>(s)) * kUniformScale);
}

}  // namespace qh2

// Decimal text of numbers (see number_text.h).
#include "devices/number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace stylus {
namespace {

// "00" to "99".
constexpr char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

constexpr std::uint64_t power_of_ten(int n) {
  std::uint64_t p = 1;
  for (int i = 0; i < n; ++i) p *= 10;
  return p;
}

int digit_count(std::uint32_t v) {
  int n = 1;
  while (v >= 10000) {
    v /= 10000;
    n += 4;
  }
  return n + (v >= 10) + (v >= 100) + (v >= 1000);
}

// The N digits of v < 10^N, leading zeros included. The halves are independent, so the
// divisions by constants do not wait on each other.
template <int N>
void fixed_digits(char* out, std::uint32_t v) {
  if constexpr (N == 1) {
    out[0] = static_cast<char>('0' + v);
  } else if constexpr (N == 2) {
    std::memcpy(out, kPairs + 2 * v, 2);
  } else if constexpr (N > 2) {
    constexpr int low = N / 2;
    constexpr std::uint32_t unit = static_cast<std::uint32_t>(power_of_ten(low));
    fixed_digits<N - low>(out, v / unit);
    fixed_digits<low>(out + (N - low), v % unit);
  }
}

// The n digits of v < 10^n (n = 1..10), leading zeros included.
void digits(char* out, std::uint32_t v, int n) {
  switch (n) {
    case 1:
      return fixed_digits<1>(out, v);
    case 2:
      return fixed_digits<2>(out, v);
    case 3:
      return fixed_digits<3>(out, v);
    case 4:
      return fixed_digits<4>(out, v);
    case 5:
      return fixed_digits<5>(out, v);
    case 6:
      return fixed_digits<6>(out, v);
    case 7:
      return fixed_digits<7>(out, v);
    case 8:
      return fixed_digits<8>(out, v);
    case 9:
      return fixed_digits<9>(out, v);
    default:
      return fixed_digits<10>(out, v);
  }
}

// "%*.Df" of the float v, |v| < 1e6. A float has 24 significant bits and 5^9 fewer than 22,
// so v * 10^D is exact in a double for D <= 9; below 1e6 the product stays below
// 1e15 < 2^52, an exact count of the last decimal. Rounding it to the nearest integer,
// halves to even, is then the rounding of printf, which also works on the exact binary value.
template <int D>
int fixed(char* out, float v, int width) {
  constexpr std::uint64_t unit = power_of_ten(D);
  const double exact = std::fabs(static_cast<double>(v)) * static_cast<double>(unit);
  // Adding and taking away 2^52 rounds a number below 2^52 to an integer, halves to even.
  const std::uint64_t units = static_cast<std::uint64_t>((exact + 0x1p52) - 0x1p52);
  const std::uint32_t whole = static_cast<std::uint32_t>(units / unit);
  const bool minus = std::signbit(v);  // also "-0.00" for -0 and what rounds to 0
  const int whole_digits = digit_count(whole);
  const int n = minus + whole_digits + (D > 0 ? D + 1 : 0);
  const int blanks = width > n ? width - n : 0;
  char* p = out;
  std::memset(p, ' ', static_cast<std::size_t>(blanks));
  p += blanks;
  if (minus) *p++ = '-';
  digits(p, whole, whole_digits);
  if constexpr (D > 0) {
    p += whole_digits;
    *p++ = '.';
    fixed_digits<D>(p, static_cast<std::uint32_t>(units % unit));
  }
  return blanks + n;
}

}  // namespace

int int_text(char* out, int v, int width) {
  const bool minus = v < 0;
  const std::uint32_t magnitude =
      minus ? 0u - static_cast<std::uint32_t>(v) : static_cast<std::uint32_t>(v);
  const int count = digit_count(magnitude);
  const int n = minus + count;
  const int blanks = width > n ? std::min(width, 32) - n : 0;
  char* p = out;
  std::memset(p, ' ', static_cast<std::size_t>(blanks));
  p += blanks;
  if (minus) *p++ = '-';
  digits(p, magnitude, count);
  return blanks + n;
}

int int_text(char* out, int v) {
  return int_text(out, v, 0);
}

int fixed_text(char* out, float v, int decimals, int width) {
  if (std::fabs(v) < 1e6f && width >= 0 && width <= 32) {
    using Fixed = int (*)(char*, float, int);
    static constexpr Fixed kFixed[] = {fixed<0>, fixed<1>, fixed<2>, fixed<3>, fixed<4>,
                                       fixed<5>, fixed<6>, fixed<7>, fixed<8>, fixed<9>};
    if (decimals >= 0 && decimals <= 9) return kFixed[decimals](out, v, width);
  }
  // Larger numbers, infinities, NaNs and other formats.
  const int n =
      std::snprintf(out, kNumberTextSize, "%*.*f", width, decimals, static_cast<double>(v));
  return n < kNumberTextSize ? n : kNumberTextSize - 1;
}

}  // namespace stylus

// Decimal text of numbers (see number_text.h).
#include "devices/number_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace stylus {
namespace {

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};

// "00" to "99".
constexpr char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

int digit_count(std::uint32_t v) {
  int n = 1;
  while (v >= 10000) {
    v /= 10000;
    n += 4;
  }
  return n + (v >= 10) + (v >= 100) + (v >= 1000);
}

// The last n digits of v (leading zeros included), most significant first, into out.
void last_digits(char* out, std::uint32_t v, int n) {
  char* end = out + n;
  for (; n >= 2; n -= 2) {
    end -= 2;
    std::memcpy(end, kPairs + 2 * (v % 100), 2);
    v /= 100;
  }
  if (n == 1) end[-1] = static_cast<char>('0' + v % 10);
}

// The digits of v, most significant first, into out; returns their count.
int digits(char* out, std::uint32_t v) {
  const int n = digit_count(v);
  last_digits(out, v, n);
  return n;
}

// Moves the n characters of text right so that they fill width, blanks in front.
int pad_left(char* text, int n, int width) {
  if (n >= width) return n;
  std::memmove(text + (width - n), text, static_cast<std::size_t>(n));
  std::memset(text, ' ', static_cast<std::size_t>(width - n));
  return width;
}

}  // namespace

int int_text(char* out, int v) {
  if (v >= 0) return digits(out, static_cast<std::uint32_t>(v));
  out[0] = '-';
  return 1 + digits(out + 1, 0u - static_cast<std::uint32_t>(v));
}

int int_text(char* out, int v, int width) {
  return pad_left(out, int_text(out, v), width < 32 ? width : 32);
}

int fixed_text(char* out, float v, int decimals, int width) {
  // A float has 24 significant bits and 5^9 fewer than 22, so v * 10^d is exact in a double
  // for d <= 9; below 1e6 the product stays below 1e15 < 2^52, an exact count of the last
  // decimal. Rounding it to the nearest integer, halves to even, is then the rounding of
  // printf, which also works on the exact binary value.
  if (!(std::fabs(v) < 1e6f) || decimals < 0 || decimals > 9 || width < 0 || width > 32) {
    const int n =
        std::snprintf(out, kNumberTextSize, "%*.*f", width, decimals, static_cast<double>(v));
    return n < kNumberTextSize ? n : kNumberTextSize - 1;
  }
  const double scale = kPowersOfTen[decimals];
  // Adding and taking away 2^52 rounds a number below 2^52 to an integer, halves to even.
  const double exact = std::fabs(static_cast<double>(v)) * scale;
  const std::uint64_t units = static_cast<std::uint64_t>((exact + 0x1p52) - 0x1p52);
  const std::uint64_t unit = static_cast<std::uint64_t>(scale);
  int n = 0;
  if (std::signbit(v)) out[n++] = '-';  // also "-0.00" for -0 and what rounds to 0
  n += digits(out + n, static_cast<std::uint32_t>(units / unit));
  if (decimals > 0) {
    out[n++] = '.';
    last_digits(out + n, static_cast<std::uint32_t>(units % unit), decimals);
    n += decimals;
  }
  return pad_left(out, n, width);
}

}  // namespace stylus

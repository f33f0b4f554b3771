// Decimal text of numbers (see number_text.h).
#include "devices/number_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace stylus {
namespace {

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};

// The digits of v, most significant first, into out; returns their count.
int digits(char* out, std::uint64_t v) {
  char tmp[24];
  int n = 0;
  do {
    tmp[n++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v != 0);
  for (int i = 0; i < n; ++i) out[i] = tmp[n - 1 - i];
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
  int n = 0;
  std::uint64_t magnitude = static_cast<std::uint64_t>(v);
  if (v < 0) {
    out[n++] = '-';
    magnitude = static_cast<std::uint64_t>(-static_cast<std::int64_t>(v));
  }
  return n + digits(out + n, magnitude);
}

int int_text(char* out, int v, int width) {
  return pad_left(out, int_text(out, v), width < 32 ? width : 32);
}

int fixed_text(char* out, float v, int decimals, int width) {
  // A float has 24 significant bits and 5^9 fewer than 22, so v * 10^d is exact in a double
  // for d <= 9; below 1e6 the product stays below 2^53, an exact integer count of the last
  // decimal. Rounding it to the nearest integer, halves to even, is then the rounding of
  // printf, which also works on the exact binary value.
  if (!(std::fabs(v) < 1e6f) || decimals < 0 || decimals > 9 || width < 0 || width > 32) {
    const int n =
        std::snprintf(out, kNumberTextSize, "%*.*f", width, decimals, static_cast<double>(v));
    return n < kNumberTextSize ? n : kNumberTextSize - 1;
  }
  const double scale = kPowersOfTen[decimals];
  const std::uint64_t units =
      static_cast<std::uint64_t>(std::nearbyint(std::fabs(static_cast<double>(v)) * scale));
  const std::uint64_t unit = static_cast<std::uint64_t>(scale);
  int n = 0;
  if (std::signbit(v)) out[n++] = '-';  // also "-0.00" for -0 and what rounds to 0
  n += digits(out + n, units / unit);
  if (decimals > 0) {
    out[n++] = '.';
    std::uint64_t fraction = units % unit;
    for (int i = decimals - 1; i >= 0; --i) {
      out[n + i] = static_cast<char>('0' + fraction % 10);
      fraction /= 10;
    }
    n += decimals;
  }
  return pad_left(out, n, width);
}

}  // namespace stylus

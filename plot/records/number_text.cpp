// Decimal text of numbers (see number_text.h): the drivers' writers first, then the axis
// labels' conversion.
#include "records/number_text.h"

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

// The axis labels' conversion.
namespace {

// Decimal digits of the integer part m >= 0: the smallest k with m < 10^k - 0.5.
int integer_digits(double m) {
  int k = 1;
  double p = 10.0;
  while (k < 400 && m >= p - 0.5) {
    ++k;
    p *= 10.0;
  }
  return k;
}

// The integer part of |value| after rounding at `digits` decimals, in single precision
// like the conversion; a product that leaves the float range cannot move the integer
// part any more, so the plain integer part stands in for it.
double rounded_integer_part(float a, int digits) {
  if (digits <= 0) return std::trunc(a + 0.5f);
  const float p = static_cast<float>(std::pow(10.0, digits));
  const float scaled = (a * p + 0.5f) / p;
  if (!std::isfinite(scaled)) return std::trunc(a);
  return std::trunc(scaled);
}

int write_special(float value, char* text) {
  const char* s = std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
  std::strcpy(text, s);
  return static_cast<int>(std::strlen(text));
}

// Exponent form for numbers whose integer part alone does not fit a label.
int write_exponent(float value, int digits, char* text) {
  const int sign = value < 0 ? 1 : 0;
  int p = digits < 0 ? 0 : digits;
  if (p > 13 - sign) p = 13 - sign;  // "-d.<p>e+dd" stays within kMaxLabelChars
  return std::snprintf(text, kMaxLabelChars + 1, "%.*e", p, static_cast<double>(value));
}

}  // namespace

int flen(float value, int digits) {
  if (!std::isfinite(value)) {
    char buf[8];
    return write_special(value, buf);
  }
  const int s = value < 0 ? 1 : 0;
  const float a = std::fabs(value);
  const int k = integer_digits(rounded_integer_part(a, digits));
  return k + s + digits + 1;
}

int fcha(float value, int digits, char* text) {
  if (!std::isfinite(value)) return write_special(value, text);
  if (digits < 0) {
    const double r = value >= 0 ? std::trunc(value + 0.5) : std::trunc(value - 0.5);
    if (std::fabs(r) >= 1e17) return write_exponent(value, digits, text);
    // "%-1ld" for the only accepted count -1 is the plain integer.
    return std::snprintf(text, kMaxLabelChars + 1, "%ld", static_cast<long>(r));
  }
  // Too many decimals for a label: keep as many as fit, else the exponent form.
  const int w = flen(value, digits);
  if (w > kMaxLabelChars) {
    const int integer_width = w - digits;  // sign, integer digits, decimal point
    if (integer_width > kMaxLabelChars) return write_exponent(value, digits, text);
    digits = kMaxLabelChars - integer_width;
  }
  // The width from flen is exact except where the float rounding of flen and the
  // conversion's own rounding disagree; the text is written without a field width, so
  // such a case gives neither a leading blank nor a cut text. With no decimals this
  // also drops the blank that the unprinted decimal point would leave.
  char buf[64];
  int n = std::snprintf(buf, sizeof buf, "%.*f", digits, static_cast<double>(value));
  if (n > kMaxLabelChars) {
    if (digits == 0) return write_exponent(value, digits, text);
    n = std::snprintf(buf, sizeof buf, "%.*f", digits - 1, static_cast<double>(value));
  }
  std::memcpy(text, buf, static_cast<size_t>(n) + 1);
  return n;
}
}  // namespace stylus

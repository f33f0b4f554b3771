// Number-to-text conversion of the axis labels.
#include "axis/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace stylus {

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

int intcha(int n, char* text) {
  return std::snprintf(text, 13, "%d", n);
}

}  // namespace stylus

// The drivers' number text against printf itself: integers with and without a width, fixed
// decimals of floats (negatives, zeros of both signs, exact halves, carries into a new
// digit, the largest numbers, infinities and NaNs, random bit patterns), and the coordinates
// of the SVG and PDF files.
#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "records/number_text.h"
#include "devices/vector_driver.h"

namespace {

using stylus::fixed_text;
using stylus::int_text;
using stylus::kNumberTextSize;

std::string printed(const char* format, auto... args) {
  char buf[kNumberTextSize];
  const int n = std::snprintf(buf, sizeof buf, format, args...);
  return std::string(buf, static_cast<std::size_t>(std::min(n, kNumberTextSize - 1)));
}

std::string fixed(float v, int decimals, int width) {
  char buf[kNumberTextSize];
  return std::string(buf, static_cast<std::size_t>(fixed_text(buf, v, decimals, width)));
}

// Floats of every kind the drivers can meet, and some they should not.
std::vector<float> test_floats() {
  const float inf = std::numeric_limits<float>::infinity();
  std::vector<float> v = {0.0f,
                          -0.0f,
                          1.0f,
                          -1.0f,
                          0.5f,
                          -0.5f,
                          2.5f,
                          0.125f,
                          -0.375f,
                          0.005f,
                          -0.004999f,
                          0.99999999f,
                          9.9999995f,
                          999999.94f,
                          1e6f,
                          -1e6f,
                          1.0e7f,
                          2147483648.0f,
                          3.4028235e38f,
                          -3.4028235e38f,
                          1e-45f,
                          -1e-45f,
                          1.17549435e-38f,
                          inf,
                          -inf,
                          std::numeric_limits<float>::quiet_NaN(),
                          -std::numeric_limits<float>::quiet_NaN()};
  // Exact halves of the last decimal: k / 2^m are ties for 2 decimals at m = 3, for 7 at
  // m = 8; printf rounds them to even.
  for (int m = 1; m <= 12; ++m)
    for (int k = -300; k <= 300; ++k) v.push_back(std::ldexp(static_cast<float>(k), -m));
  // Decimal fractions just below, at and above the rounding point.
  for (int k = 0; k < 2000; ++k) {
    const float f = static_cast<float>(k) / 1000.0f + 0.0005f;
    v.insert(v.end(), {f, -f, std::nextafter(f, 0.0f), std::nextafter(f, 1.0f)});
  }
  std::mt19937 random(20261208);
  for (int i = 0; i < 40000; ++i) {
    v.push_back(std::bit_cast<float>(static_cast<std::uint32_t>(random())));  // any exponent
    v.push_back(std::ldexp(static_cast<float>(random() % 2000000) - 1e6f, -20));
    v.push_back(static_cast<float>(random() % 6000000) / 1000.0f - 3000.0f);
  }
  return v;
}

TEST(NumberText, IntegersAsPrintfWritesThem) {
  std::vector<int> values = {0,     1,     -1,     9,      -9,      10,      -10,        9999,
                             99999, -9999, -99999, 100000, INT_MAX, INT_MIN, INT_MIN + 1};
  std::mt19937 random(7);
  for (int i = 0; i < 20000; ++i) {
    values.push_back(static_cast<int>(random()));
    values.push_back(static_cast<int>(random() % 20001) - 10000);
  }
  for (int v : values) {
    char buf[kNumberTextSize];
    ASSERT_EQ(std::string(buf, static_cast<std::size_t>(int_text(buf, v))), printed("%d", v));
    for (int width : {0, 4, 5, 12}) {
      ASSERT_EQ(std::string(buf, static_cast<std::size_t>(int_text(buf, v, width))),
                printed("%*d", width, v))
          << v << " width " << width;
    }
  }
}

TEST(NumberText, FixedDecimalsAsPrintfWritesThem) {
  for (float v : test_floats()) {
    for (int decimals : {0, 1, 2, 4, 7, 9}) {
      for (int width : {0, 10}) {
        ASSERT_EQ(fixed(v, decimals, width), printed("%*.*f", width, decimals, double{v}))
            << std::hexfloat << v << " decimals " << decimals << " width " << width;
      }
    }
  }
}

TEST(NumberText, VectorFileCoordinatesAsTheGeneralRoutineWritesThem) {
  for (float v : test_floats()) {
    // Appended behind what is there.
    std::string text = "x", expected = "x";
    stylus::append_vector_number(text, v);
    expected += stylus::vector_number(double{v});
    ASSERT_EQ(text, expected) << std::hexfloat << v;
  }
}

}  // namespace

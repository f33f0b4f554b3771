// The direction of a reversed segment derived from the angle of the segment must be the
// floats that segment_direction computes for it, bit for bit: segments of every direction
// and length, the nearly level and upright ones where the derivation is least sure, and
// coordinates that are no numbers or infinite.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "pen/clip.h"

namespace {

using stylus::Direction;

void expect_reverse(float xp, float yp, float xq, float yq) {
  const Direction derived =
      stylus::reverse_direction(stylus::segment_angle(xp, yp, xq, yq), xp, yp, xq, yq);
  const Direction direct = stylus::segment_direction(xq, yq, xp, yp);
  ASSERT_EQ(std::bit_cast<std::uint32_t>(derived.s), std::bit_cast<std::uint32_t>(direct.s))
      << std::hexfloat << xp << ' ' << yp << ' ' << xq << ' ' << yq;
  ASSERT_EQ(std::bit_cast<std::uint32_t>(derived.c), std::bit_cast<std::uint32_t>(direct.c))
      << std::hexfloat << xp << ' ' << yp << ' ' << xq << ' ' << yq;
}

TEST(SegmentReverse, SameFloatsAsTheDirectionOfTheReversedSegment) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (float v : {0.0f, -0.0f, 1e-7f, 1e-6f, 2e-6f, 1.0f, -1.0f, 1e30f, inf, -inf, nan}) {
    for (float w : {0.0f, -0.0f, 1e-20f, 1.0f, -3.0f, 1e30f, inf, nan}) {
      expect_reverse(0.0f, 0.0f, v, w);
      expect_reverse(5.0f, 7.0f, 5.0f + v, 7.0f - w);
    }
  }
  std::mt19937 random(1208);
  std::uniform_real_distribution<float> page(0.0f, 3000.0f), step(-2.0f, 2.0f);
  std::uniform_real_distribution<float> tiny(-1e-4f, 1e-4f);
  for (int i = 0; i < 300000; ++i) {
    const float xp = page(random), yp = page(random);
    expect_reverse(xp, yp, page(random), page(random));
    expect_reverse(xp, yp, xp + step(random), yp + step(random));
    expect_reverse(xp, yp, xp + step(random), yp + tiny(random));  // nearly level
    expect_reverse(xp, yp, xp - step(random), std::nextafter(yp, 0.0f));
    expect_reverse(xp, yp, xp + tiny(random) * 0.02f, yp + step(random));  // nearly upright
    expect_reverse(std::bit_cast<float>(static_cast<std::uint32_t>(random())),
                   std::bit_cast<float>(static_cast<std::uint32_t>(random())),
                   std::bit_cast<float>(static_cast<std::uint32_t>(random())),
                   std::bit_cast<float>(static_cast<std::uint32_t>(random())));
  }
}

}  // namespace

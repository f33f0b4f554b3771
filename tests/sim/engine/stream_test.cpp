// The integer generator against rannos, jump-ahead against stepping, and the lane
// generator of the engine against the scalar one.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "sim/common/stream_layout.h"
#include "sim/engine/lane_stream.h"
#include "sim/engine/stream.h"
#include "sim/reference/random.h"

using namespace qh2;
using namespace qh2::reference;

namespace {

// Eight lanes, as the widest kernels use.
constexpr int kLanes = 8;
typedef VectorOf<double, kLanes>::type LaneD;

// Optimised builds check every state where the tests say "all"; others every 61st.
#ifdef __OPTIMIZE__
constexpr uint32_t kStride = 1;
#else
constexpr uint32_t kStride = 61;
#endif

// The integer step and number agree with rannos from the state s.
::testing::AssertionResult SameAsRannos(uint32_t s) {
  double seed = s;
  const float u = rannos(seed);
  const uint32_t next = lehmer_step(s);
  if (seed != next) return ::testing::AssertionFailure() << "state after " << s;
  if (lehmer_uniform(next) != u) return ::testing::AssertionFailure() << "number after " << s;
  return ::testing::AssertionSuccess();
}

}  // namespace

TEST(IntegerGenerator, AgreesWithRannosNearBothEndsAndAcrossTheRange) {
  for (uint32_t s = 1; s <= 200000; ++s) ASSERT_TRUE(SameAsRannos(s));
  for (uint32_t s = kModulus - 200000; s < kModulus; ++s) ASSERT_TRUE(SameAsRannos(s));
  for (uint64_t s = 1; s < kModulus; s += 2654435) ASSERT_TRUE(SameAsRannos(uint32_t(s)));
  // A long run of the stream from the start state.
  double seed = 76453456.0;
  uint32_t s = 76453456u;
  for (int i = 0; i < 2000000; ++i) {
    const float u = rannos(seed);
    s = lehmer_step(s);
    ASSERT_EQ(seed, s) << i;
    ASSERT_EQ(lehmer_uniform(s), u) << i;
  }
}

TEST(IntegerGenerator, ReciprocalGivesTheQuotientsFloatForAllStates) {
  // The engine multiplies by 1/2147483711 where rannos divides: the same float for
  // every state 1 ... 2^31 - 2 (all of them in an optimised build).
  uint32_t mismatches = 0;
  for (uint64_t s = 1; s < kModulus; s += kStride) {
    mismatches += lehmer_uniform(uint32_t(s)) != static_cast<float>(double(s) / 2147483711.0);
  }
  EXPECT_EQ(mismatches, 0u);
  EXPECT_EQ(lehmer_uniform(kModulus - 1), 0.99999994f);
  EXPECT_EQ(lehmer_uniform(1), 4.65661287E-10f);
}

TEST(JumpAhead, EqualsSteppingAtTheOffsetsTheEngineUses) {
  const uint64_t per_separation = separation_numbers(900, 100);
  ASSERT_EQ(per_separation, 6607946u);
  const uint64_t ensemble = ensemble_numbers(900);
  const uint64_t offsets[] = {
      0, 1, kWalkerStepNumbers, ensemble, per_separation, 59 * per_separation};
  uint32_t stepped = 76453456u;
  uint64_t done = 0;
  double seed = 76453456.0;
  for (uint64_t k : offsets) {
    for (; done < k; ++done) {
      stepped = lehmer_step(stepped);
      if (k <= per_separation) rannos(seed);
    }
    EXPECT_EQ(lehmer_jump(76453456u, k), stepped) << k;
    if (k <= per_separation) {
      EXPECT_EQ(seed, stepped) << k;
    }
  }
  // Jumps compose: k steps then m steps is k + m steps.
  EXPECT_EQ(lehmer_jump(lehmer_jump(12345u, ensemble), step_numbers(899)),
            lehmer_jump(12345u, ensemble + step_numbers(899)));
  // The multiplier's order is 2^31 - 2: a full period returns to the start.
  EXPECT_EQ(lehmer_power(kModulus - 1), 1u);
  EXPECT_EQ(lehmer_power(1), kMultiplier);
}

TEST(IntegerGenerator, MulmodIsExactForLargeOperands) {
  const uint32_t near_top[] = {1, 2, 16807, 65535, 65536, 1u << 30, kModulus - 2, kModulus - 1};
  for (uint32_t a : near_top) {
    for (uint32_t b : near_top) {
      const uint64_t exact = (uint64_t(a) * b) % kModulus;
      EXPECT_EQ(mulmod(a, b), exact) << a << " * " << b;
    }
  }
}

TEST(LaneGenerator, EveryLaneMatchesTheScalarGenerator) {
  std::vector<uint32_t> states = {1,           2,          3,         16806,        16807,
                                  127773,      1407677000, 739806647, kModulus - 3, kModulus - 2,
                                  kModulus - 1};
  for (uint32_t s = 76453456u, i = 0; i < 4000; ++i) states.push_back(s = lehmer_step(s));
  const uint32_t multipliers[] = {16807,
                                  lehmer_power(step_numbers(900)),
                                  lehmer_power(kGaussNumbers),
                                  65535,
                                  65536,
                                  kModulus - 1,
                                  kModulus - 2,
                                  1};
  for (std::size_t at = 0; at + kLanes <= states.size(); at += kLanes) {
    LaneD x;
    for (int l = 0; l < kLanes; ++l) x[l] = states[at + l];
    const LaneD stepped = lehmer_step(x);
    const FloatsOf<LaneD> numbers = lehmer_uniform(stepped);
    for (int l = 0; l < kLanes; ++l) {
      ASSERT_EQ(stepped[l], lehmer_step(states[at + l])) << states[at + l];
      ASSERT_EQ(numbers[l], lehmer_uniform(lehmer_step(states[at + l]))) << states[at + l];
    }
    for (uint32_t m : multipliers) {
      const LaneD product = mulmod(x, m);
      for (int l = 0; l < kLanes; ++l) {
        ASSERT_EQ(product[l], mulmod(states[at + l], m)) << states[at + l] << " * " << m;
      }
    }
  }
}

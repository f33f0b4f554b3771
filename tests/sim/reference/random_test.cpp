// The random stream: exact states and results of rannos, and the twelve-number gauss.
#include <gtest/gtest.h>

#include "sim/common/stream_layout.h"
#include "sim/reference/random.h"

using namespace qh2::reference;

TEST(Rannos, FirstFiveStatesAndResultsFromTheStartState) {
  double seed = 76453456.0;
  const double states[5] = {758014086.0, 1069749398.0, 545039502.0, 1461155659.0, 1167657368.0};
  const float results[5] = {0.352977812f, 0.498140872f, 0.25380379f, 0.68040359f, 0.543732822f};
  for (int i = 0; i < 5; ++i) {
    const float u = rannos(seed);
    EXPECT_EQ(seed, states[i]) << "step " << i + 1;
    EXPECT_EQ(u, results[i]) << "step " << i + 1;
  }
}

TEST(Rannos, LargestResultComesFromTheLargestStateAndStaysBelowOne) {
  // 739806647 * 16807 = 2147483646 (mod 2^31 - 1): the step lands on the largest state.
  double seed = 739806647.0;
  const float largest = rannos(seed);
  EXPECT_EQ(seed, 2147483646.0);
  EXPECT_EQ(largest, 0.99999994f);
  EXPECT_LT(largest, 1.0f);
  // From the largest state itself the stream goes on to 2147466840.
  EXPECT_EQ(rannos(seed), static_cast<float>(2147466840.0 / 2147483711.0));
  EXPECT_EQ(seed, 2147466840.0);
}

TEST(Rannos, SmallestResultIsPositive) {
  // 1 is reached from the inverse of 16807, 1407677000; the result is 1 / 2147483711.
  double seed = 1407677000.0;
  const float smallest = rannos(seed);
  EXPECT_EQ(seed, 1.0);
  EXPECT_EQ(smallest, 4.65661287E-10f);
  EXPECT_GT(smallest, 0.0f);
}

TEST(Gauss, FirstDeviateFromTheStartStateConsumesTwelveNumbers) {
  double seed = 76453456.0;
  EXPECT_EQ(gauss(seed), 0.126393318f);
  EXPECT_EQ(seed, 1605409368.0);

  double stepped = 76453456.0;
  float sum = 0.0f;
  for (int i = 0; i < qh2::kGaussNumbers; ++i) sum = sum + rannos(stepped);
  EXPECT_EQ(stepped, 1605409368.0);
  EXPECT_EQ(sum - 6.0f, 0.126393318f);
}

TEST(Gauss, StaysWithinSixAndAveragesNearZero) {
  double seed = 12345.0;
  double sum = 0.0, sum2 = 0.0;
  const int n = 20000;
  for (int i = 0; i < n; ++i) {
    const float g = gauss(seed);
    ASSERT_GE(g, -6.0f);
    ASSERT_LE(g, 6.0f);
    sum += g;
    sum2 += static_cast<double>(g) * g;
  }
  EXPECT_NEAR(sum / n, 0.0, 0.03);
  EXPECT_NEAR(sum2 / n, 1.0, 0.05);
}

// The version the end protocol prints.
#include <gtest/gtest.h>

#include "stylus.h"

TEST(Version, IsSevenPointThreePatchZero) {
  EXPECT_FLOAT_EQ(getver(), 7.3f);
  EXPECT_EQ(getplv(), 0);
}

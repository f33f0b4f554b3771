// Label numbers as text: field widths, decimals, rounding and the bound on the label
// length.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "records/number_text.h"

using namespace stylus;

namespace {

std::string text_of(float v, int digits, int* width = nullptr) {
  char buf[kMaxLabelChars + 1 + 8];
  std::memset(buf, 'Z', sizeof buf);
  const int n = fcha(v, digits, buf);
  EXPECT_EQ(n, static_cast<int>(std::strlen(buf)));
  EXPECT_LE(n, kMaxLabelChars);
  if (width) *width = n;
  return buf;
}

}  // namespace

TEST(Fcha, WorkedLabelCases) {
  int w = 0;
  EXPECT_EQ(text_of(-32.5f, 2, &w), "-32.50");
  EXPECT_EQ(w, 6);
  EXPECT_EQ(text_of(0.5f, 2, &w), "0.50");
  EXPECT_EQ(w, 4);
  EXPECT_EQ(text_of(2.5f, -1), "3");
  EXPECT_EQ(text_of(-2.5f, -1), "-3");
  EXPECT_EQ(text_of(9.996f, 2, &w), "10.00");
  EXPECT_EQ(w, 5);
  EXPECT_EQ(text_of(3.0f, 2), "3.00");
  EXPECT_EQ(text_of(-23.5f, 2), "-23.50");
  EXPECT_EQ(text_of(0.0f, 1), "0.0");
}

TEST(Flen, CountsSignDigitsAndPoint) {
  EXPECT_EQ(flen(-32.5f, 2), 6);
  EXPECT_EQ(flen(0.5f, 2), 4);
  EXPECT_EQ(flen(9.996f, 2), 5);  // rounds up to one more integer digit
  EXPECT_EQ(flen(9.994f, 2), 4);
  EXPECT_EQ(flen(2.5f, -1), 1);
  EXPECT_EQ(flen(-2.5f, -1), 2);
  EXPECT_EQ(flen(99.5f, 0), 4);  // 100 and the unprinted point
  EXPECT_EQ(flen(1234567.0f, 3), 11);
}

TEST(Fcha, NoDecimalsHasNoLeadingBlank) {
  EXPECT_EQ(text_of(12.0f, 0), "12");
  EXPECT_EQ(text_of(-7.0f, 0), "-7");
}

TEST(Fcha, ManyDecimalsAreBoundedToTheLabelLength) {
  // 100 decimals would make a text of 102 characters; the label keeps what fits.
  EXPECT_EQ(flen(1.5f, 100), 102);
  const std::string t = text_of(1.5f, 100);
  EXPECT_EQ(t.size(), static_cast<size_t>(kMaxLabelChars));
  EXPECT_EQ(t.substr(0, 4), "1.50");
  const std::string n = text_of(-32.5f, 40);
  EXPECT_EQ(n.size(), static_cast<size_t>(kMaxLabelChars));
  EXPECT_EQ(n.substr(0, 6), "-32.50");
  // Decimals are dropped before the integer part is touched.
  EXPECT_EQ(text_of(123456788103168.0f, 10), "123456788103168.000");
}

TEST(Fcha, HugeValuesUseTheExponentForm) {
  EXPECT_EQ(text_of(1.0e30f, 2), "1.00e+30");
  EXPECT_EQ(text_of(-3.0e25f, -1), "-3e+25");
  EXPECT_EQ(text_of(1.0e30f, 100).size(), static_cast<size_t>(kMaxLabelChars));
}

TEST(Fcha, NonFiniteValuesGiveShortTexts) {
  EXPECT_EQ(text_of(INFINITY, 2), "inf");
  EXPECT_EQ(text_of(-INFINITY, -1), "-inf");
  EXPECT_EQ(text_of(NAN, 2), "nan");
}

// The text helpers: bounded copies, upper-casing and blank handling.
#include <gtest/gtest.h>

#include <cstring>

#include "records/strings.h"

using namespace stylus;

TEST(Strings, QqwrcpCopiesAtMostMaxBytesOfALengthCountedText) {
  char buf[5];
  // A by-reference text has no zero end: only len bytes are valid.
  const char text[] = {'C', 'O', 'N', 'S', 'O', 'L', 'E'};
  EXPECT_EQ(qqwrcp(buf, text, 4, 7), 4);
  EXPECT_STREQ(buf, "CONS");
  EXPECT_EQ(qqwrcp(buf, "PNGXX", 4, 3), 3);
  EXPECT_STREQ(buf, "PNG");
  EXPECT_EQ(qqwrcp(buf, "abc", 4, 0), 0);
  EXPECT_STREQ(buf, "");
}

TEST(Strings, QqcopyStopsAtTheZeroByteOrTheLimit) {
  char buf[8];
  std::memset(buf, 'x', sizeof buf);
  EXPECT_EQ(qqcopy(buf, "ab", 6), 2);
  EXPECT_STREQ(buf, "ab");
  EXPECT_EQ(qqcopy(buf, "abcdefghij", 7), 7);
  EXPECT_STREQ(buf, "abcdefg");
}

TEST(Strings, UpstrChangesOnlyAsciiLetters) {
  char s[] = "cons-z{a}\xe4 9";
  upstr(s);
  EXPECT_STREQ(s, "CONS-Z{A}\xe4 9");
}

TEST(Strings, TrmlenIgnoresOnlyTrailingBlanks) {
  EXPECT_EQ(trmlen("  ab  "), 4);
  EXPECT_EQ(trmlen("    "), 0);
  EXPECT_EQ(trmlen(""), 0);
}

TEST(Strings, DsblnkRemovesBlanksWithinTheFirstNCharacters) {
  char counter[] = "      1234";
  EXPECT_EQ(dsblnk(counter, 10), 4);
  EXPECT_STREQ(counter, "1234");
  char s[] = " a b c d";
  // Only the first 4 characters are looked at; the result ends there.
  EXPECT_EQ(dsblnk(s, 4), 2);
  EXPECT_STREQ(s, "ab");
}

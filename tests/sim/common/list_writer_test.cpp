// The list-directed record writer: number items, text items and the record limit.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <string>

#include "sim/common/list_writer.h"
#include "sim/common/scan_result.h"

TEST(ListReal, SignFieldAndNineSignificantDigits) {
  EXPECT_EQ(list_real(0.25f), "  0.25");
  EXPECT_EQ(list_real(0.1f), "  0.100000001");
  EXPECT_EQ(list_real(-31.2345f), " -31.2345009");
  EXPECT_EQ(list_real(68.6428604f), "  68.6428604");
  EXPECT_EQ(list_real(2.99999833f), "  2.99999833");
}

TEST(ListReal, WholeNumbersAndZeroGetAPoint) {
  EXPECT_EQ(list_real(3.0f), "  3.");
  EXPECT_EQ(list_real(-3.0f), " -3.");
  EXPECT_EQ(list_real(100000000.0f), "  100000000.");
  EXPECT_EQ(list_real(0.0f), "  0.");
  EXPECT_EQ(list_real(-0.0f), "  0.");
}

TEST(ListReal, ExponentFormBelowTenToMinusFourAndFromTenToNine) {
  EXPECT_EQ(list_real(0.0001f), "  9.99999975E-05");
  EXPECT_EQ(list_real(0.001f), "  0.00100000005");
  EXPECT_EQ(list_real(1.0e9f), "  1.E+09");
  EXPECT_EQ(list_real(-1.0e10f), " -1.E+10");
  EXPECT_EQ(list_real(1.5e-5f), "  1.49999996E-05");
  EXPECT_EQ(list_real(4.65661287E-10f), "  4.65661287E-10");
  EXPECT_EQ(list_real(3.40282347E+38f), "  3.40282347E+38");
}

TEST(ListReal, NonFiniteValuesAreSpelledOut) {
  EXPECT_EQ(list_real(std::numeric_limits<float>::infinity()), "  Infinity");
  EXPECT_EQ(list_real(-std::numeric_limits<float>::infinity()), " -Infinity");
  EXPECT_EQ(list_real(std::nanf("")), "  NaN");
}

TEST(ListWriter, TextBeginsARecordWithOneBlankAndIsOtherwiseUnchanged) {
  std::ostringstream out;
  ListWriter w(out);
  w.text("ab").text(" c ").real(1.0f).text("eV");
  w.end();
  w.real(-2.5f).text("x");
  w.end();
  EXPECT_EQ(out.str(), " ab c   1.eV\n -2.5x\n");
}

TEST(ListWriter, ResultLineLayout) {
  std::ostringstream out;
  write_result_line(out, 0.25f, -31.2345f);
  write_result_line(out, 0.1f, 68.6428604f);
  write_result_line(out, 3.0f, 0.0f);
  EXPECT_EQ(out.str(),
            " separacia =   0.25  energia =  -31.2345009eV\n"
            " separacia =   0.100000001  energia =   68.6428604eV\n"
            " separacia =   3.  energia =   0.eV\n");
}

TEST(ListWriter, AnItemReachingEightyCharactersStartsANewRecord) {
  std::ostringstream out;
  {
    ListWriter w(out);
    w.text(std::string(60, 'a'));  // 61 characters with the leading blank
    w.text(std::string(18, 'b'));  // 79: still fits
    w.text("c");                   // 80 would be reached: new record, with a blank
    w.real(1.0f);                  // " c  1.": 6 characters
    w.text(std::string(75, 'd'));  // 81 would be reached: new record, with a blank
  }                                // the writer ends its pending record itself
  EXPECT_EQ(out.str(), " " + std::string(60, 'a') + std::string(18, 'b') + "\n" + " c  1.\n" + " " +
                           std::string(75, 'd') + "\n");
}

TEST(ListWriter, ALongItemOnAnEmptyRecordMakesNoBlankLine) {
  std::ostringstream out;
  ListWriter w(out);
  w.text(std::string(90, 'x'));
  w.end();
  EXPECT_EQ(out.str(), " " + std::string(90, 'x') + "\n");
}

TEST(ListWriter, NumbersFillARecordToSeventyNineCharacters) {
  std::ostringstream out;
  ListWriter w(out);
  // Six items of 13 characters: 78, then the seventh (91) wraps.
  for (int i = 0; i < 7; ++i) w.real(0.100000001f);
  w.end();
  std::string first;
  for (int i = 0; i < 6; ++i) first += "  0.100000001";
  EXPECT_EQ(out.str(), first + "\n  0.100000001\n");
}

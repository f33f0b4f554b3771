// The setting routines of titles and labels: name, hname and labdig, their selectors,
// limits, warnings and by-reference entries.
#include <gtest/gtest.h>

#include <string>

#include "plot/elements/graf_session_fixture.h"

using namespace stylus;

using TitleSettings = AxisSession;

TEST_F(TitleSettings, NameSelectsAxesByLetterInEitherCase) {
  name("T", "xy");
  EXPECT_STREQ(g_titles.axis_title_x, "T");
  EXPECT_STREQ(g_titles.axis_title_y, "T");
  EXPECT_STREQ(g_titles.axis_title_z, "");
  name("Z only", "z");
  EXPECT_STREQ(g_titles.axis_title_z, "Z only");
  name("", "X");
  EXPECT_STREQ(g_titles.axis_title_x, "");
  EXPECT_STREQ(g_titles.axis_title_y, "T");
  name("fourth letter ignored", "ABCX");
  EXPECT_STREQ(g_titles.axis_title_x, "");
}

TEST_F(TitleSettings, LongTitlesAreCutAtSixtyCharacters) {
  const std::string longer(75, 'a');
  name(longer.c_str(), "Y");
  EXPECT_EQ(std::string(g_titles.axis_title_y), std::string(60, 'a'));
}

TEST_F(TitleSettings, OutsideASessionTheLevelIsReportedAndTheValueStored) {
  disfin();
  capture();
  name("Energy (eV)", "Y");
  hname(40);
  labdig(3, "X");
  EXPECT_EQ(stdout_text(),
            " <<<< Warning   3: Incorrect level in name!   (   0)\n"
            " <<<< Warning   3: Incorrect level in hname!   (   0)\n"
            " <<<< Warning   3: Incorrect level in labdig!   (   0)\n");
  EXPECT_STREQ(g_titles.axis_title_y, "Energy (eV)");
  EXPECT_EQ(g_ivray.name_height, 40);
  EXPECT_EQ(g_ivray.label_digits_x, 3);
}

TEST_F(TitleSettings, HnameRange) {
  hname(50);
  EXPECT_EQ(g_ivray.name_height, 50);
  capture();
  hname(0);
  hname(10001);
  EXPECT_EQ(stdout_text(),
            " <<<< Warning   2: Incorrect parameter in hname!   (   0)\n"
            " <<<< Warning   2: Incorrect parameter in hname!   (10001)\n");
  EXPECT_EQ(g_ivray.name_height, 50);
  hname(10000);
  EXPECT_EQ(g_ivray.name_height, 10000);
}

TEST_F(TitleSettings, LabdigSelectorsAndRange) {
  labdig(3, "xyz");
  EXPECT_EQ(g_ivray.label_digits_x, 3);
  EXPECT_EQ(g_ivray.label_digits_y, 3);
  EXPECT_EQ(g_ivray.label_digits_z, 3);
  labdig(-1, "X");
  labdig(100, "Y");
  EXPECT_EQ(g_ivray.label_digits_x, -1);
  EXPECT_EQ(g_ivray.label_digits_y, 100);
  capture();
  labdig(-2, "X");
  labdig(101, "X");
  EXPECT_EQ(stdout_text(),
            " <<<< Warning   2: Incorrect parameter in labdig!   (  -2)\n"
            " <<<< Warning   2: Incorrect parameter in labdig!   ( 101)\n");
  EXPECT_EQ(g_ivray.label_digits_x, -1);
  labdig(4, "bars");
  EXPECT_EQ(g_ivray.label_digits_x, -1);  // "BAR" names no axis letter
  labdig(9, "none");                      // no axis letter among the first three: nothing set
  EXPECT_EQ(g_ivray.label_digits_x, -1);
  EXPECT_EQ(g_ivray.label_digits_y, 100);
}

TEST_F(TitleSettings, SessionStartResetsTitlesAndDecimals) {
  name("T", "XYZ");
  labdig(2, "XY");
  hname(50);
  disfin();
  metafl("CONS");
  disini();
  EXPECT_STREQ(g_titles.axis_title_x, "");
  EXPECT_EQ(g_ivray.label_digits_x, 1);
  EXPECT_EQ(g_ivray.name_height, 36);
}

TEST_F(TitleSettings, ByReferenceEntriesCopyBoundedTexts) {
  // Texts without a zero end, longer than the limits: 132 title characters, 4 selector
  // characters (here "XXXY": only the first three letters are read).
  const std::string title(140, 'b');
  name_(title.data(), "XXXYZZ", 140, 6);
  EXPECT_EQ(std::string(g_titles.axis_title_x), std::string(60, 'b'));
  EXPECT_STREQ(g_titles.axis_title_y, "");
  name_("Energy (eV)", "Y", 11, 1);
  EXPECT_STREQ(g_titles.axis_title_y, "Energy (eV)");
  const int n = 2;
  labdig_(&n, "Yxxxx", 5);
  EXPECT_EQ(g_ivray.label_digits_y, 2);
  EXPECT_EQ(g_ivray.label_digits_x, 2);
  const int h = 44;
  hname_(&h);
  EXPECT_EQ(g_ivray.name_height, 44);
}

// Drawing texts through the pen model: the exact strokes of a letter, rotation, the page
// offset, characters without a glyph, continued texts, exponent mode, the page tests of
// messag and the level and range checks of the text routines.
#include <string>

#include "elements/text.h"
#include "text_fixture.h"

using namespace stylus;

namespace {

using TextRender = TextTest;

constexpr float kU = 49.0f / 6.0f;  // points per design unit across at height 50

TEST_F(TextRender, SessionStartLoadsTheDefaultFontAtHeight36) {
  EXPECT_EQ(g_ivray.char_height, 36);
  EXPECT_EQ(g_ivray.text_angle, 0);
  EXPECT_EQ(g_xvray.text_sin, 0.0f);
  EXPECT_EQ(g_xvray.text_cos, 1.0f);
  EXPECT_EQ(g_fonts.n_alphabets, 1);
  EXPECT_EQ(g_fonts.alphabets[0].alph_chars, 132);
  EXPECT_EQ(nlmess("AB"), 70);  // 35 points per character at height 36
}

TEST_F(TextRender, LetterAAtHeight50) {
  dtext("A", 100, 200, 0, 50);
  const Polylines got = strokes();
  expect_near(got,
              {{{100 + kU, 249},
                {100 + kU, 207},
                {100 + 2 * kU, 200},
                {100 + 4 * kU, 200},
                {100 + 5 * kU, 207},
                {100 + 5 * kU, 249}},
               {{100 + kU, 221}, {100 + 5 * kU, 221}}},
              1e-4f);
  // The same to two decimals.
  ASSERT_EQ(got.size(), 2u);
  const float xs[] = {108.17f, 108.17f, 116.33f, 132.67f, 140.83f, 140.83f};
  for (int k = 0; k < 6; ++k) EXPECT_NEAR(got[0][k].x, xs[k], 0.005f);
  // dtext leaves the height and angle of the session alone.
  EXPECT_EQ(g_ivray.char_height, 36);
  EXPECT_EQ(g_ivray.text_angle, 0);
}

TEST_F(TextRender, AtNinetyDegreesTheTextRunsUpwardsOnTheBaselineXPlusHMinus1) {
  dtext("A", 100, 200, 90, 50);
  // Design point (x, y) lands at (149 - 7 y, 200 - kU x): tops toward smaller x.
  expect_near(strokes(),
              {{{149, 200 - kU},
                {107, 200 - kU},
                {100, 200 - 2 * kU},
                {100, 200 - 4 * kU},
                {107, 200 - 5 * kU},
                {149, 200 - 5 * kU}},
               {{121, 200 - kU}, {121, 200 - 5 * kU}}},
              1e-3f);
  EXPECT_EQ(g_ivray.text_angle, 0);
  EXPECT_EQ(g_xvray.text_sin, 0.0f);
}

TEST_F(TextRender, ThePageOffsetMovesTheWholeText) {
  g_ivray.page_offset_x = 10;
  g_ivray.page_offset_y = -20;
  dtext("A", 100, 200, 0, 50);
  expect_near(strokes(),
              {{{110 + kU, 229},
                {110 + kU, 187},
                {110 + 2 * kU, 180},
                {110 + 4 * kU, 180},
                {110 + 5 * kU, 187},
                {110 + 5 * kU, 229}},
               {{110 + kU, 201}, {110 + 5 * kU, 201}}},
              1e-4f);
}

TEST_F(TextRender, EachCharacterAdvancesHMinus1AndBlanksDrawNothing) {
  height(50);
  messag("A A", 100, 200);
  const Polylines text = strokes();
  messag("A", 198, 200);
  const Polylines third = strokes();
  ASSERT_EQ(text.size(), 4u);
  expect_near(Polylines(text.begin() + 2, text.end()), third, 1e-4f);
}

TEST_F(TextRender, CodesWithoutAGlyphAreDrawnAsQuestionMarks) {
  height(50);
  messag("?", 100, 200);
  const Polylines question = strokes();
  ASSERT_FALSE(question.empty());
  // A control character, a code past the alphabet and a counted code without a record.
  for (const char* text : {"\x01", "\xC8", "\x8C", "\xA3"}) {
    messag(text, 100, 200);
    expect_near(strokes(), question, 0.0f);
  }
  messag("\x85", 100, 200);  // code 133 has a glyph of its own
  EXPECT_NE(strokes().size(), question.size());
}

TEST_F(TextRender, DtextAt999DrawsAt1000And999) {
  dtext("A", 1000, 999, 0, 50);
  const Polylines want = strokes();
  dtext("A", 999, 999, 0, 50);
  expect_near(strokes(), want, 0.0f);
}

TEST_F(TextRender, Messag999ContinuesWhereThePreviousTextEnded) {
  height(50);
  messag("AB", 100, 200);
  const Polylines together = strokes();
  messag("A", 100, 200);
  EXPECT_EQ(nlmess("wide text"), 441);  // measuring in between keeps the pen
  messag("B", 999, 999);
  expect_near(strokes(), together, 0.0f);
}

TEST_F(TextRender, WidthFactorSpacingAndSlant) {
  height(50);
  g_fonts.char_slant = 0.5f;
  messag("A", 100, 200);
  const Polylines slanted = strokes();
  ASSERT_EQ(slanted.size(), 2u);
  EXPECT_NEAR(slanted[0][2].x, 100 + 2 * kU + 0.5f * 49, 1e-4f);  // (2, 7) leans right
  EXPECT_NEAR(slanted[0][0].x, 100 + kU, 1e-4f);                  // the baseline stays
  g_fonts.char_slant = 0.0f;
  g_fonts.char_width_factor = 2.0f;
  g_fonts.char_spacing = 0.5f;
  messag("AB", 100, 200);
  const Polylines wide = strokes();
  ASSERT_EQ(wide.size(), 4u);
  EXPECT_NEAR(wide[0][5].x, 100 + 10 * kU, 1e-4f);           // (5, 0) of A, twice as wide
  EXPECT_NEAR(wide[2][0].x, 100 + 98 + 25 + 2 * kU, 1e-4f);  // B after the gap of h / 2
}

TEST_F(TextRender, ExponentModeRaisesAndLowersTheText) {
  height(50);
  g_fonts.exponent_mode = 1;
  g_control.ctrl_chars[0] = '[', g_control.ctrl_chars[1] = ']', g_control.ctrl_chars[2] = '$';
  messag("A[1$A]1", 100, 200);
  const Polylines got = strokes();
  // A, raised 1 (two polylines), A, lowered 1 (two polylines).
  ASSERT_EQ(got.size(), 8u);
  const float u40 = 39.0f / 6.0f, v40 = 39.0f / 7.0f;
  // The raised 1 at height 40 on a baseline 30 points higher, after the first A.
  EXPECT_NEAR(got[2][0].x, 149 + 2 * u40, 1e-4f);
  EXPECT_NEAR(got[2][0].y, 249 - 30 - 6 * v40, 1e-4f);
  // "$" returns to height 50 and the baseline: the second A starts 39 points later.
  EXPECT_NEAR(got[4][0].x, 149 + 39 + kU, 1e-4f);
  EXPECT_NEAR(got[4][0].y, 249, 1e-4f);
  // The lowered 1 at height 40, 0.6 x 40 below the baseline.
  EXPECT_NEAR(got[6][0].y, 249 + 24 - 6 * v40, 1e-4f);
  EXPECT_EQ(g_ivray.char_height, 50);
  EXPECT_EQ(nlmess("A[1$A]1"), 49 + 39 + 49 + 39);
  EXPECT_EQ(g_ivray.char_height, 50);
  // Outside exponent mode the control characters are drawn.
  g_fonts.exponent_mode = 0;
  EXPECT_EQ(nlmess("A[1$A]1"), 7 * 49);
}

TEST_F(TextRender, StartAndEndOffThePageAreReportedAndDrawnAnyway) {
  height(50);
  const int warnings = g_ivray.n_warnings;
  messag("AB", -5, 100);
  EXPECT_FALSE(strokes().empty());
  messag("ABC", 2900, 100);
  EXPECT_FALSE(strokes().empty());
  messag("ABCDEFGHIJ", 10, 3000);
  EXPECT_EQ(messages(),
            " <<<< Warning: Startpoint (   -5/  100) in MESSAG out of page - (AB).\n"
            " <<<< Warning: Endpoint   ( 3047/  149) in MESSAG out of page - (ABC).\n"
            " <<<< Warning: Startpoint (   10/ 3000) in MESSAG out of page - (ABCDEFGH).\n"
            " <<<< Warning: Endpoint   (  500/ 3049) in MESSAG out of page - (ABCDEFGH).\n");
  EXPECT_EQ(g_ivray.n_warnings, warnings + 4);
}

TEST_F(TextRender, TheTextOfAPageWarningIsEscaped) {
  height(50);
  messag("A\nB\x1b[2J", -5, 100);
  EXPECT_EQ(messages(),
            " <<<< Warning: Startpoint (   -5/  100) in MESSAG out of page - (A\\nB\\x1b[2J).\n");
}

TEST_F(TextRender, TextsTouchingThePageEdgesAreOnThePage) {
  height(50);
  messag("AB", 2969 - 98, 0);
  messag("AB", 0, 2099 - 49);  // the baseline end of the text on the last row
  EXPECT_EQ(messages(), "");
}

TEST_F(TextRender, PageTestsWithMessagesOffAreCountedOnly) {
  height(50);
  const int warnings = g_ivray.n_warnings;
  g_ivray.msg_unit = 0;
  messag("AB", -5, -5);
  EXPECT_EQ(messages(), "");
  EXPECT_EQ(g_ivray.n_warnings, warnings + 1);
}

TEST_F(TextRender, PageTestsWithThePageOffsetTestTheShiftedStart) {
  height(50);
  g_ivray.page_offset_x = -20;
  messag("A", 10, 100);
  EXPECT_EQ(messages(), " <<<< Warning: Startpoint (  -10/  100) in MESSAG out of page - (A).\n");
}

TEST_F(TextRender, OutsideASessionNothingIsDrawn) {
  g_ivray.level = 0;
  std::fflush(stdout);
  ::testing::internal::CaptureStdout();  // level warnings outside a session go there
  messag("A", 100, 100);
  height(40);
  angle(30);  // angle stores its value all the same
  std::fflush(stdout);
  const std::string printed = ::testing::internal::GetCapturedStdout();
  EXPECT_TRUE(strokes().empty());
  EXPECT_EQ(printed,
            " <<<< Warning   3: Incorrect level in messag!   (   0)\n"
            " <<<< Warning   3: Incorrect level in height!   (   0)\n"
            " <<<< Warning   3: Incorrect level in angle!   (   0)\n");
  EXPECT_EQ(g_ivray.char_height, 36);
  EXPECT_EQ(g_ivray.text_angle, 30);
  EXPECT_NEAR(g_xvray.text_sin, 0.5f, 1e-7f);
}

TEST_F(TextRender, HeightOutsideItsRangeIsRefused) {
  height(0);
  height(10001);
  EXPECT_EQ(g_ivray.char_height, 36);
  height(10000);
  EXPECT_EQ(g_ivray.char_height, 10000);
  height(1);
  EXPECT_EQ(g_ivray.char_height, 1);
  EXPECT_EQ(messages(),
            " <<<< Warning   2: Incorrect parameter in height!   (   0)\n"
            " <<<< Warning   2: Incorrect parameter in height!   (10001)\n");
}

TEST_F(TextRender, EmptyAndBlankTextsDrawNothing) {
  messag("", 100, 100);
  messag("    ", 100, 100);
  EXPECT_TRUE(strokes().empty());
  EXPECT_EQ(messages(), "");
  messag(nullptr, 100, 100);  // no text at all: the caller is told
  EXPECT_TRUE(strokes().empty());
  EXPECT_EQ(messages(), " <<<< Warning   2: Incorrect parameter in messag!\n");
}

TEST_F(TextRender, ByReferenceEntriesTakeTheGivenLength) {
  const int h = 50, x = 100, y = 200;
  height_(&h);
  EXPECT_EQ(g_ivray.char_height, 50);
  messag("AB", 100, 200);
  const Polylines want = strokes();
  messag_("ABCD", &x, &y, 2);
  expect_near(strokes(), want, 0.0f);
  EXPECT_EQ(nlmess_("0.00xx", 4), 196);
  const int deg = 90;
  angle_(&deg);
  EXPECT_EQ(g_ivray.text_angle, 90);
}

}  // namespace

// Registering fonts and alphabets: the design cells and blank widths of the font types,
// what lcsets takes from alphabet 1, and how an alphabet with a directory of its own is
// measured by its glyphs rather than by the fixed cell.
#include <cstdint>

#include "elements/font.h"
#include "elements/font_data.h"
#include "text_fixture.h"

using namespace stylus;

namespace {

using FontRegistry = TextTest;

TEST_F(FontRegistry, DisalfRegistersTheBuiltInAlphabet) {
  disalf();
  EXPECT_EQ(g_fonts.font_type, 1);
  EXPECT_EQ(g_fonts.n_alphabets, 1);
  EXPECT_EQ(g_fonts.blank_width, 6);
  const Alphabet& a = g_fonts.alphabets[0];
  EXPECT_EQ(a.ixptr, ix1);
  EXPECT_EQ(a.iyptr, ix1);
  EXPECT_EQ(a.ikptr, stylus::j1);
  EXPECT_EQ(a.ibopt, 1);
  EXPECT_EQ(a.alph_chars, 132);
  EXPECT_EQ(a.alph_kbase, 0);
  EXPECT_EQ(a.alph_width, 6);
  EXPECT_EQ(a.alph_height, 7);
  EXPECT_EQ(a.alph_spacing, 0.0f);
  EXPECT_EQ(g_fonts.dir_sum, j1_words);
}

TEST_F(FontRegistry, CellsAndBlankWidthsOfTheFontTypes) {
  lcinit(2);
  EXPECT_EQ(g_fonts.blank_width, 5);
  EXPECT_EQ(g_fonts.alphabets[1].alph_width, 12);
  EXPECT_EQ(g_fonts.alphabets[3].alph_height, 13);
  EXPECT_EQ(g_fonts.alphabets[0].alph_spacing, 1.0f / 6.0f);
  EXPECT_EQ(g_fonts.alphabets[2].alph_width, 20);
  EXPECT_EQ(g_fonts.alphabets[2].alph_spacing, 0.25f);
  lcinit(5);
  EXPECT_EQ(g_fonts.blank_width, 9);
  EXPECT_EQ(g_fonts.alphabets[0].alph_height, 21);
  lcinit(11);
  EXPECT_EQ(g_fonts.blank_width, 60);
  EXPECT_EQ(g_fonts.alphabets[0].alph_width, 200);
  EXPECT_EQ(g_fonts.alphabets[3].alph_spacing, 0.2f);
  EXPECT_EQ(g_fonts.alphabets[1].alph_width, 20);
  EXPECT_EQ(g_fonts.n_alphabets, 0);
}

TEST_F(FontRegistry, LcsetsBorrowsFromAlphabetOneAndCountsDirectories) {
  const std::int16_t xs[] = {0, 4}, ys[] = {0, 7};
  const std::int16_t dir[] = {3, 2, 1};
  lcinit(1);
  lcsets(ix1, ix1, ix1_words, stylus::j1, j1_words, 132);
  lcsets(nullptr, nullptr, 0, dir, 3, 2);  // alphabet 1's points, a directory of its own
  lcsets(xs, ys, -2, nullptr, 0, 95);      // separate x and y words, alphabet 1's directory
  const Alphabet& second = g_fonts.alphabets[1];
  EXPECT_EQ(second.ixptr, ix1);
  EXPECT_EQ(second.ibopt, 1);
  EXPECT_EQ(second.ikptr, dir);
  EXPECT_EQ(second.alph_kbase, j1_words);
  const Alphabet& third = g_fonts.alphabets[2];
  EXPECT_EQ(third.ixptr, xs);
  EXPECT_EQ(third.iyptr, ys);
  EXPECT_EQ(third.ncoord, 2);
  EXPECT_EQ(third.ibopt, 0);
  EXPECT_EQ(third.ikptr, stylus::j1);
  EXPECT_EQ(third.alph_kbase, 0);
  EXPECT_EQ(g_fonts.n_alphabets, 3);
  EXPECT_EQ(g_fonts.dir_sum, j1_words + 3);
  // A seventh alphabet has no place.
  for (int k = 0; k < 4; ++k) lcsets(xs, ys, -2, dir, 3, 1);
  EXPECT_EQ(g_fonts.n_alphabets, 6);
}

TEST_F(FontRegistry, AnAlphabetWithItsOwnDirectoryIsMeasuredByItsGlyphs) {
  // Alphabet 2 has one glyph (code 33): a line from (0, 0) to (4, 7) of separate tables.
  const std::int16_t xs[] = {0, 4}, ys[] = {0, 7};
  const std::int16_t dir[] = {3, 2, 1};
  lcinit(1);
  lcsets(ix1, ix1, ix1_words, stylus::j1, j1_words, 132);
  lcsets(xs, ys, -2, dir, 3, 2);
  g_fonts.base_alphabet = 2;
  height(50);
  EXPECT_EQ(nlmess("!"), 33);   // 4 units of 49/6 points, not the cell of 6
  EXPECT_EQ(nlmess(" !"), 82);  // the blank keeps its advance of 6 units
  messag("!", 100, 200);
  const Polylines got = strokes();
  ASSERT_EQ(got.size(), 1u);
  ASSERT_EQ(got[0].size(), 2u);
  EXPECT_NEAR(got[0][1].x, 100 + 4 * 49.0f / 6.0f, 1e-4f);
  EXPECT_NEAR(got[0][1].y, 200, 1e-4f);
}

TEST_F(FontRegistry, AnUnregisteredBaseAlphabetFallsBackToTheFirst) {
  g_fonts.base_alphabet = 5;
  height(50);
  EXPECT_EQ(nlmess("0.00"), 196);
}

TEST_F(FontRegistry, TextBeforeAnyFontLoadsTheDefaultFont) {
  g_fonts = FontRecord{};
  height(50);
  EXPECT_EQ(nlmess("0.00"), 196);
  EXPECT_EQ(g_fonts.n_alphabets, 1);
}

}  // namespace

// The built-in default font: the fixed records and table words that other code relies on,
// the directory structure, the cell rules every glyph must keep, and that the generated
// tables match their glyph source.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "elements/font_data.h"
#include "elements/glyph.h"
#include "support/glyph_strokes.h"

namespace stylus {
namespace {

GlyphTables default_tables() {
  return {ix1, ix1, ix1_words, 1, j1, j1_words};
}

// The record words of code c.
std::vector<int> record_of(int code) {
  const int at = locate_record(j1, j1_words, code - 31);
  EXPECT_GE(at, 0) << "code " << code;
  if (at < 0) return {};
  return std::vector<int>(j1 + at, j1 + at + j1[at]);
}

std::vector<int> words(int first, int count) {
  return std::vector<int>(ix1 + first - 1, ix1 + first - 1 + count);
}

GlyphStrokes glyph(int code) {
  return decode_glyph(default_tables(), code - 31);
}

TEST(FontData, RecordsOfTheFixedCharacters) {
  EXPECT_EQ(record_of('.'), (std::vector<int>{4, -5, 1, 5}));
  EXPECT_EQ(record_of('-'), (std::vector<int>{4, -2, 10, 1794}));
  EXPECT_EQ(record_of('0'), (std::vector<int>{4, -9, 51, 2}));
  EXPECT_EQ(record_of('A'), (std::vector<int>{7, -6, 139, 2, -2, 10, 2050}));
  EXPECT_EQ(record_of(127),
            (std::vector<int>{13, -6, 139, 2, -2, 10, 2050, -5, 1, 4354, -5, 1, 4360}));
}

TEST(FontData, CoordinateWordsOfTheFixedCharacters) {
  EXPECT_EQ(words(1, 5), (std::vector<int>{0x0000, 0x0001, 0x0101, 0x0100, 0x0000}));
  EXPECT_EQ(words(10, 2), (std::vector<int>{0x0000, 0x0004}));
  EXPECT_EQ(words(51, 9), (std::vector<int>{0x0100, 0x0001, 0x0003, 0x0104, 0x0604, 0x0703, 0x0701,
                                            0x0600, 0x0100}));
  EXPECT_EQ(words(139, 6), (std::vector<int>{0x0000, 0x0600, 0x0701, 0x0703, 0x0604, 0x0004}));
}

TEST(FontData, DecodedShapesOfTheFixedCharacters) {
  EXPECT_EQ(glyph('.'), (GlyphStrokes{{{2.5f, 0}, {3.5f, 0}, {3.5f, 1}, {2.5f, 1}, {2.5f, 0}}}));
  EXPECT_EQ(glyph('-'), (GlyphStrokes{{{1, 3.5f}, {5, 3.5f}}}));
  EXPECT_EQ(
      glyph('0'),
      (GlyphStrokes{{{1, 1}, {2, 0}, {4, 0}, {5, 1}, {5, 6}, {4, 7}, {2, 7}, {1, 6}, {1, 1}}}));
  const GlyphStrokes a{{{1, 0}, {1, 6}, {2, 7}, {4, 7}, {5, 6}, {5, 0}}, {{1, 4}, {5, 4}}};
  EXPECT_EQ(glyph('A'), a);
  GlyphStrokes a_umlaut = a;
  a_umlaut.push_back({{1, 8.5f}, {2, 8.5f}, {2, 9.5f}, {1, 9.5f}, {1, 8.5f}});
  a_umlaut.push_back({{4, 8.5f}, {5, 8.5f}, {5, 9.5f}, {4, 9.5f}, {4, 8.5f}});
  EXPECT_EQ(glyph(127), a_umlaut);
}

TEST(FontData, DirectoryHoldsOneRecordPerCodeAndNothingElse) {
  int pos = 0, records = 0;
  while (pos < j1_words) {
    ASSERT_GE(j1[pos], 3) << "record " << records;
    pos += j1[pos];
    ++records;
  }
  EXPECT_EQ(pos, j1_words);
  EXPECT_EQ(records, j1_records);
  EXPECT_GE(locate_record(j1, j1_words, 133 - 31), 0);
  EXPECT_EQ(locate_record(j1, j1_words, 134 - 31), -1);
  EXPECT_EQ(locate_record(j1, j1_words, 1), -1);  // the blank has no record
}

TEST(FontData, EveryEntryStaysInsideItsRecordAndTheTable) {
  const GlyphTables t = default_tables();
  for (int code = 33; code <= 133; ++code) {
    const int at = locate_record(j1, j1_words, code - 31);
    ASSERT_GE(at, 0);
    int pos = 1, lines = 0;
    PolylineEntry e;
    while (next_polyline(t, j1 + at, j1[at], pos, e)) {
      EXPECT_GE(e.count, 2) << "code " << code;
      ++lines;
    }
    EXPECT_EQ(pos, j1[at]) << "code " << code << " has words the reader does not take";
    EXPECT_GE(lines, 1) << "code " << code;
  }
}

struct Box {
  float x0 = 1e9f, x1 = -1e9f, y0 = 1e9f, y1 = -1e9f;
};
Box box_of(const GlyphStrokes& g) {
  Box b;
  for (const auto& line : g)
    for (const GlyphPoint& p : line) {
      b.x0 = std::min(b.x0, p.x), b.x1 = std::max(b.x1, p.x);
      b.y0 = std::min(b.y0, p.y), b.y1 = std::max(b.y1, p.y);
    }
  return b;
}

TEST(FontData, GlyphsKeepTheCellRules) {
  const std::string descenders = "gjpqy";
  const std::string ascenders = "bdfhklt";
  for (int code = 33; code <= 133; ++code) {
    const Box b = box_of(glyph(code));
    SCOPED_TRACE("code " + std::to_string(code));
    // Every glyph fits the 6-unit advance and the cell height.
    EXPECT_GE(b.x0, 0.0f);
    EXPECT_LE(b.x1, 6.0f);
    EXPECT_GE(b.y0, -3.0f);
    EXPECT_LE(b.y1, 9.5f);
    const bool upper = code >= 'A' && code <= 'Z', digit = code >= '0' && code <= '9';
    const bool lower = code >= 'a' && code <= 'z';
    if (upper || digit || lower) {
      EXPECT_GE(b.x0, 1.0f);
      EXPECT_LE(b.x1, 5.0f);
    }
    if (digit || (upper && code != 'Q')) {
      EXPECT_EQ(b.y0, 0.0f);
    }
    if (digit || upper) {
      EXPECT_EQ(b.y1, 7.0f);
    }
    if (lower) {
      const bool desc = descenders.find(char(code)) != std::string::npos;
      EXPECT_EQ(b.y0, desc ? -3.0f : 0.0f);
      if (ascenders.find(char(code)) != std::string::npos) {
        EXPECT_EQ(b.y1, 7.0f);
      } else if (code != 'i' && code != 'j') {
        EXPECT_EQ(b.y1, 4.0f);
      }
    }
  }
  // The diaeresis dots of the capitals reach 9.5, those of the small letters stay low.
  for (int code : {127, 128, 129}) EXPECT_EQ(box_of(glyph(code)).y1, 9.5f);
  for (int code : {130, 131, 132}) EXPECT_LT(box_of(glyph(code)).y1, 7.0f);
}

TEST(FontData, NoTwoCharactersLookAlike) {
  std::vector<GlyphStrokes> all;
  for (int code = 33; code <= 133; ++code) all.push_back(glyph(code));
  for (size_t a = 0; a < all.size(); ++a)
    for (size_t b = a + 1; b < all.size(); ++b)
      EXPECT_NE(all[a], all[b]) << "codes " << a + 33 << " and " << b + 33;
}

TEST(FontData, UmlautsAreTheirBaseLetterWithTwoDots) {
  const std::pair<int, char> pairs[] = {{127, 'A'}, {128, 'O'}, {129, 'U'},
                                        {130, 'a'}, {131, 'o'}, {132, 'u'}};
  for (auto [code, base] : pairs) {
    GlyphStrokes with_dots = glyph(code);
    const GlyphStrokes letter = glyph(base);
    ASSERT_EQ(with_dots.size(), letter.size() + 2) << code;
    EXPECT_EQ(GlyphStrokes(with_dots.begin(), with_dots.begin() + letter.size()), letter);
    for (size_t k = letter.size(); k < with_dots.size(); ++k) {
      const Box b = box_of({with_dots[k]});
      EXPECT_EQ(b.x1 - b.x0, 1.0f);
      EXPECT_EQ(b.y1 - b.y0, 1.0f);
      EXPECT_GT(b.y0, box_of(letter).y1);
    }
  }
}

TEST(FontData, EveryRecordIsAtMostOneCellWide) {
  const GlyphTables t = default_tables();
  for (int code = 33; code <= 133; ++code) {
    const int at = locate_record(j1, j1_words, code - 31);
    EXPECT_LE(record_extent(t, j1 + at), 6.0f) << "code " << code;
  }
  EXPECT_EQ(record_extent(t, j1 + locate_record(j1, j1_words, 'A' - 31)), 5.0f);
}

TEST(FontData, GeneratedTablesMatchTheGlyphSource) {
  if (std::system("python3 --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "no python3";
  const std::string cmd =
      std::string("python3 ") + STYLUS_SOURCE_DIR + "/plot/elements/font_gen.py --check";
  EXPECT_EQ(std::system(cmd.c_str()), 0) << "run plot/elements/font_gen.py after editing glyphs";
}

}  // namespace
}  // namespace stylus

// The glyph-table readers on hand-made tables: signed bytes of packed words, separate x
// and y tables, offsets, and records that are broken or point outside their table.
#include <gtest/gtest.h>

#include <cstdint>

#include "elements/glyph.h"
#include "support/glyph_strokes.h"

namespace stylus {
namespace {

std::int16_t packed(int x, int y) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(((y & 0xFF) << 8) | (x & 0xFF)));
}

TEST(GlyphReader, PackedWordsHoldSignedBytes) {
  EXPECT_EQ(unpack_point(packed(-128, -1)).x, -128);
  EXPECT_EQ(unpack_point(packed(-128, -1)).y, -1);
  EXPECT_EQ(unpack_point(packed(1, 127)).x, 1);
  EXPECT_EQ(unpack_point(packed(1, 127)).y, 127);
  EXPECT_EQ(unpack_point(packed(5, -3)).y, -3);
  EXPECT_EQ(unpack_point(packed(-2, 0)).x, -2);
}

TEST(GlyphReader, OffsetsAreHalfUnitsAndMayBeNegative) {
  const std::int16_t table[] = {packed(0, 0), packed(2, 1)};
  // One record: a polyline with offset (-3, 5) half units, then one without.
  const std::int16_t dir[] = {6, -2, 1, packed(-3, 5), 2, 1};
  const GlyphTables t{table, table, 2, 1, dir, 6};
  EXPECT_EQ(decode_glyph(t, 2), (GlyphStrokes{{{-1.5f, 2.5f}, {0.5f, 3.5f}}, {{0, 0}, {2, 1}}}));
  EXPECT_EQ(record_extent(t, dir), 2.0f);
}

TEST(GlyphReader, SeparateTablesGiveXAndYWords) {
  const std::int16_t xs[] = {300, -300}, ys[] = {-2, 200};
  const std::int16_t dir[] = {3, 2, 1};
  const GlyphTables t{xs, ys, 2, 0, dir, 3};
  EXPECT_EQ(decode_glyph(t, 2), (GlyphStrokes{{{300, -2}, {-300, 200}}}));
}

TEST(GlyphReader, RecordsAreFoundByWalkingTheLengths) {
  const std::int16_t table[] = {packed(0, 0), packed(1, 0), packed(2, 0)};
  const std::int16_t dir[] = {3, 2, 1, 3, 2, 2, 5, 1, 3, 2, 1};
  const GlyphTables t{table, table, 3, 1, dir, 11};
  EXPECT_EQ(locate_record(dir, 11, 2), 0);
  EXPECT_EQ(locate_record(dir, 11, 3), 3);
  EXPECT_EQ(locate_record(dir, 11, 4), 6);
  EXPECT_EQ(locate_record(dir, 11, 5), -1);
  EXPECT_EQ(decode_glyph(t, 4), (GlyphStrokes{{{2, 0}}, {{0, 0}, {1, 0}}}));
}

TEST(GlyphReader, BrokenRecordsDrawOnlyWhatIsSound) {
  const std::int16_t table[] = {packed(0, 0), packed(1, 0)};
  // A zero length stops the walk instead of looping on the same record.
  const std::int16_t zero[] = {0, 2, 1};
  EXPECT_EQ(locate_record(zero, 3, 3), -1);
  EXPECT_EQ(locate_record(zero, 3, 2), -1);
  // A record longer than the directory is not taken.
  const std::int16_t too_long[] = {9, 2, 1};
  EXPECT_EQ(locate_record(too_long, 3, 2), -1);
  // An entry that starts or ends outside the table ends the record there.
  const std::int16_t outside[] = {7, 2, 1, 3, 1, 2, 1};
  const GlyphTables t{table, table, 2, 1, outside, 7};
  EXPECT_EQ(decode_glyph(t, 2), (GlyphStrokes{{{0, 0}, {1, 0}}}));
  // An offset entry cut off by the record end is dropped.
  const std::int16_t cut[] = {5, 2, 1, -2, 1};
  const GlyphTables tc{table, table, 2, 1, cut, 5};
  EXPECT_EQ(decode_glyph(tc, 2), (GlyphStrokes{{{0, 0}, {1, 0}}}));
}

}  // namespace
}  // namespace stylus

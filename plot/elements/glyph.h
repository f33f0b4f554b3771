// Reading the glyph tables of a stroke-font alphabet: the coordinate words, the records of
// a glyph directory and their polyline entries. Pure functions over the tables, shared by
// the text renderer and by the tests of the built-in font.
#pragma once

#include <cstdint>
#include <vector>

namespace stylus {

// The tables of one alphabet. Packed tables hold x and y in one word (xtab == ytab);
// otherwise xtab and ytab hold the x and the y words separately.
struct GlyphTables {
  const std::int16_t* xtab = nullptr;
  const std::int16_t* ytab = nullptr;
  int ncoord = 0;  // words of the coordinate table
  int packed = 1;
  const std::int16_t* dir = nullptr;
  int ndir = 0;  // words of the directory
};

// A point of the coordinate table, in design units.
struct DesignPoint {
  int x, y;
};

// One polyline of a glyph record: count points from the 1-based word start of the
// coordinate table, shifted by (dx, dy) design units.
struct PolylineEntry {
  int count = 0;
  int start = 0;
  float dx = 0.0f, dy = 0.0f;
};

// Splits a packed word: low byte x, high byte y, each a signed byte.
DesignPoint unpack_point(std::int16_t word);
// Point number `word` (1-based) of the tables; the caller keeps it within ncoord.
DesignPoint table_point(const GlyphTables& t, int word);

// Start (0-based word) of the record of character index i, where i = 2 is the first record
// (code 33) and every record starts with its length; -1 when the directory ends before
// that record or a length word is broken.
int locate_record(const std::int16_t* dir, int ndir, int i);

// Reads the polyline entry at pos of a record of `length` words and moves pos behind it.
// Returns false at the end of the record, for an entry that would run past it, and for an
// entry whose points lie outside the coordinate table (pos then goes to the end).
bool next_polyline(const GlyphTables& t, const std::int16_t* record, int length, int& pos,
                   PolylineEntry& entry);

// The largest x + dx over all points of a record: its width in design units.
float record_extent(const GlyphTables& t, const std::int16_t* record);

}  // namespace stylus

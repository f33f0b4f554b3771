// Reading the glyph tables of a stroke-font alphabet: coordinate words, directory records
// and their polyline entries. Every read is checked against the table sizes, so a broken
// or foreign table draws less rather than reading outside it.
#include "elements/glyph.h"

#include <algorithm>

namespace stylus {

DesignPoint unpack_point(std::int16_t word) {
  const auto bits = static_cast<std::uint16_t>(word);
  return {static_cast<std::int8_t>(bits & 0xFF), static_cast<std::int8_t>(bits >> 8)};
}

DesignPoint table_point(const GlyphTables& t, int word) {
  if (t.packed) return unpack_point(t.xtab[word - 1]);
  return {t.xtab[word - 1], t.ytab[word - 1]};
}

int locate_record(const std::int16_t* dir, int ndir, int i) {
  if (dir == nullptr || i < 2) return -1;
  int pos = 0;
  for (int k = 2; k < i; ++k) {
    if (pos >= ndir || dir[pos] < 1) return -1;
    pos += dir[pos];
  }
  if (pos >= ndir || dir[pos] < 1 || pos + dir[pos] > ndir) return -1;
  return pos;
}

bool next_polyline(const GlyphTables& t, const std::int16_t* record, int length, int& pos,
                   PolylineEntry& entry) {
  if (pos + 1 >= length) return false;
  const int n = record[pos];
  const int words = n < 0 ? 3 : 2;
  if (pos + words > length) {
    pos = length;
    return false;
  }
  entry.count = n < 0 ? -n : n;
  entry.start = record[pos + 1];
  entry.dx = entry.dy = 0.0f;
  if (n < 0) {
    const DesignPoint half = unpack_point(record[pos + 2]);
    entry.dx = half.x * 0.5f;
    entry.dy = half.y * 0.5f;
  }
  pos += words;
  if (entry.start < 1 || entry.start + entry.count - 1 > t.ncoord) {
    pos = length;
    return false;
  }
  return true;
}

float record_extent(const GlyphTables& t, const std::int16_t* record) {
  float width = 0.0f;
  int pos = 1;
  PolylineEntry e;
  while (next_polyline(t, record, record[0], pos, e))
    for (int k = 0; k < e.count; ++k) width = std::max(width, table_point(t, e.start + k).x + e.dx);
  return width;
}

}  // namespace stylus

// A glyph of the stroke font decoded into polylines of design points, for the tests of the
// font data and the glyph decoder.
#pragma once

#include <ostream>
#include <vector>

#include "elements/glyph.h"

namespace stylus {

// A glyph as polylines of design points with their offsets applied.
struct GlyphPoint {
  float x, y;
  bool operator==(const GlyphPoint&) const = default;
};
// Readable test output.
inline std::ostream& operator<<(std::ostream& out, const GlyphPoint& p) {
  return out << '(' << p.x << ", " << p.y << ')';
}
using GlyphStrokes = std::vector<std::vector<GlyphPoint>>;
// The strokes of character index i (see locate_record); empty when it has no record.
inline GlyphStrokes decode_glyph(const GlyphTables& t, int i) {
  GlyphStrokes strokes;
  const int at = locate_record(t.dir, t.ndir, i);
  if (at < 0) return strokes;
  const std::int16_t* record = t.dir + at;
  int pos = 1;
  PolylineEntry e;
  while (next_polyline(t, record, record[0], pos, e)) {
    std::vector<GlyphPoint>& line = strokes.emplace_back();
    for (int k = 0; k < e.count; ++k) {
      const DesignPoint p = table_point(t, e.start + k);
      line.push_back({p.x + e.dx, p.y + e.dy});
    }
  }
  return strokes;
}

}  // namespace stylus

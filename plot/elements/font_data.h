// The built-in glyph tables of the default stroke font (font type 1): the packed
// coordinate table ix1 and the directory j1 of alphabet 1, codes 33 to 133. The data is
// generated from font_glyphs.txt by font_gen.py (see there for the format and how to edit).
#pragma once

#include <cstdint>

namespace stylus {

// Coordinate table: one word per point, low byte x and high byte y, each signed, in
// design units with y upwards from the baseline.
extern const std::int16_t ix1[];
extern const int ix1_words;
// Directory: per code from 33 upwards, the record length L (itself included), then per
// polyline (n, s) or (-n, s, offset): n points from the 1-based word s of ix1, the offset
// packed like a point but in half units.
extern const std::int16_t j1[];
extern const int j1_words;
// Codes with a record in j1: 33 to j1_first_code + j1_records - 1.
inline constexpr int j1_first_code = 33;
inline constexpr int j1_records = 101;

}  // namespace stylus

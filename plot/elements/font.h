// The stroke-font renderer: registration of alphabets and the per-character routines that
// turn glyph records into pen moves and draws at the current height and angle.
#pragma once

#include <cstdint>

#include "elements/glyph.h"

namespace stylus {

// Starts font type `type`: no alphabets, nothing prepared, design cells and blank width.
void lcinit(int type);
// Registers the next alphabet (see the font state for the fields it fills). ncoord 0 or
// ndir 0 take the coordinate tables or the directory of alphabet 1; a negative ncoord
// means separate x and y tables of |ncoord| words.
void lcsets(const std::int16_t* xtab, const std::int16_t* ytab, int ncoord, const std::int16_t* dir,
            int ndir, int nchars);
// Loads the default font (extern "C" disalf in stylus.h) when no alphabet is registered.
void ensure_font();

// Prepares the scales of an alphabet for the current height, unless already prepared.
void salfpa(int alphabet);
// Draws character `code` at the pen and advances the pen; with measure set it only
// advances. Codes without a glyph are drawn as "?".
void alfcha(int code, bool measure);
// The next polyline entry of a glyph record (offsets in design units); false at its end.
bool gconpa(const std::int16_t* record, int& pos, PolylineEntry& entry);
// Width of a glyph record in design units, before scaling.
float gmxcln(const std::int16_t* record);
// Draws one polyline of the prepared alphabet at the pen with the current scales.
void alfcon(const PolylineEntry& entry);

// Sets the character height without a level check and drops the prepared scales.
void set_char_height(int h);

}  // namespace stylus

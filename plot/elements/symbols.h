// Plot symbols: circles, squares, triangles, diamonds, stars and hexagons, open and filled,
// plus, cross, asterisk and dot, drawn about a page point through the pen model, and the
// symbols curve puts on its points (the public routines marker ... rlsymb are in stylus.h).
#pragma once

namespace stylus {

// Draws symbol nsym (0 .. kSymbolCount - 1) of size points centred on the page point (x, y)
// (the page offset is added here) in the current colour and line width, solid whatever
// the line style, clipped to the clip window. Filled symbols are filled and outlined.
void draw_symbol(int nsym, float x, float y, float size);

// Whether a user point lies inside the axis scaling, limits included (as curve reports
// points outside it); a point that is not a number is inside nothing.
bool inside_scaling(float x, float y);

// The symbols of a curve: the current symbol on every |symbol_incr|-th point, from the
// first, that lies inside the axis scaling. Called by curve inside its clip window.
void curve_symbols(const float* x, const float* y, int n);

}  // namespace stylus

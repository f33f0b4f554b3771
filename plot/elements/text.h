// Text output of the stroke font for the rest of the library: drawing a text at a point
// with a given height and angle, the body of messag, and the rounding rule of the axis
// placement. The public routines (height, angle, messag, nlmess) are in stylus.h.
#pragma once

namespace stylus {

// Draws text with height h and angle deg, (x, y) the upper-left corner of the first
// character's cell before rotation; char_height and text_angle are left as they were.
void dtext(const char* text, int x, int y, int deg, int h);
// Draws text at (x, y) with the current height and angle; (999, 999) continues where the
// previous text ended.
void qqmess(const char* text, int x, int y);
// v rounded half away from zero.
int nintqq(float v);

}  // namespace stylus

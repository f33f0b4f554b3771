// Line styles: the dash pattern that is cut out of a line while it is drawn, the table of
// the eight predefined styles, and the stepping of the pattern along one segment. The public
// setters (lintyp, myline, solid, dash, ...) are declared in stylus.h.
#pragma once

#include <cmath>

#include "draw/clip.h"

namespace stylus {

inline constexpr int kMaxDashElements = 10;
inline constexpr int kLineStyles = 8;

// The current line style. The pattern state survives from one segment to the next; only
// inityp, myline and lintyp restart it.
struct LineStyleRecord {
  int line_style = 0;                        // 0..7, index into the style table
  int dash_pattern[kMaxDashElements] = {1};  // element lengths in points: drawn, gap, ...
  int dash_count = 1;                        // elements in dash_pattern; 1 means a solid line
  int dash_index = 1;                        // 1-based element now running
  int dash_gap = 0;                          // 0 while a drawn element runs, 1 while a gap runs
  float dash_rest = 1.0f;                    // points left of the current element
};
extern LineStyleRecord g_linestyle;

// One row of the style table.
struct LineStylePattern {
  int count;
  int elements[4];
};
extern const LineStylePattern kLineStyleTable[kLineStyles];

// Steps the dash pattern of `style` along the segment from (x0, y0) to (x1, y1): pen(x, y,
// draw) is called at every element boundary on the segment and at its end, with draw true
// for the drawn pieces and false for the gaps. A segment of length 0, or of no finite
// length, takes no steps.
template <class Pen>
void step_dash(LineStyleRecord& style, float x0, float y0, float x1, float y1, Pen&& pen) {
  const Direction dir = segment_direction(x0, y0, x1, y1);
  float len = y0 == y1 ? std::fabs(x1 - x0) : std::fabs((y0 - y1) / dir.s);
  if (!std::isfinite(len)) len = 0.0f;
  float x = x0, y = y0;
  while (style.dash_rest > 0.0f && len >= style.dash_rest) {  // an element of 0 never ends
    const float r = style.dash_rest;
    x = x + r * dir.c;
    y = y - r * dir.s;
    pen(x, y, style.dash_gap == 0);
    style.dash_index = style.dash_index >= style.dash_count ? 1 : style.dash_index + 1;
    style.dash_gap = 1 - style.dash_gap;
    len = len - r;
    style.dash_rest = static_cast<float>(style.dash_pattern[style.dash_index - 1]);
  }
  pen(x1, y1, style.dash_gap == 0);
  style.dash_rest = style.dash_rest - len;
}

// Restarts the pattern at its first drawn element.
void inityp();
// Installs pattern[0..n-1] as the current pattern after checking it (1 <= n <= 10, every
// element > 0; warning 2 otherwise and nothing changes) and restarts it. 0 on success.
int install_pattern(const int* pattern, int n);
// Solid line style, without a level check (session start).
void reset_line_style();
// Draws the segment from (x0, y0) to (x1, y1) through the pen buffer with the current dash
// pattern: xdraw for the drawn pieces, xmove for the gaps.
void dash_line(float x0, float y0, float x1, float y1);

}  // namespace stylus

// Line styles: the dash pattern that is cut out of a line while it is drawn, the table of
// the eight predefined styles, and the stepping of the pattern along one segment. The public
// setters (lintyp, myline, solid, dash, ...) are declared in stylus.h.
#pragma once

#include <cmath>

#include "pen/clip.h"

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
// Steps the pattern len points from (x, y) along dir (the segment runs along (c, -s)) and
// ends at (xe, ye): the common part of step_dash and step_dash_clipped.
template <class Pen>
void step_dash_along(LineStyleRecord& style, float x, float y, Direction dir, float len, float xe,
                     float ye, Pen&& pen) {
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
  pen(xe, ye, style.dash_gap == 0);
  style.dash_rest = style.dash_rest - len;
}

// The length of the segment as the pattern measures it (0 when it is not finite).
inline float dash_length(float x0, float y0, float x1, float y1, Direction dir) {
  const float len = y0 == y1 ? std::fabs(x1 - x0) : std::fabs((y0 - y1) / dir.s);
  return std::isfinite(len) ? len : 0.0f;
}

template <class Pen>
void step_dash(LineStyleRecord& style, float x0, float y0, float x1, float y1, Pen&& pen) {
  const Direction dir = segment_direction(x0, y0, x1, y1);
  step_dash_along(style, x0, y0, dir, dash_length(x0, y0, x1, y1, dir), x1, y1, pen);
}

// Advances the pattern of style by len points without drawing: whole cycles at once (the
// pattern's length, twice that when an odd count of elements swaps drawn and skipped
// elements from one round to the next), the rest element by element.
inline void skip_dash(LineStyleRecord& style, float len) {
  if (!(len > 0.0f) || !(style.dash_rest > 0.0f)) return;
  if (len < style.dash_rest) {
    style.dash_rest -= len;
    return;
  }
  float cycle = 0.0f;
  for (int i = 0; i < style.dash_count; ++i) cycle += static_cast<float>(style.dash_pattern[i]);
  if (style.dash_count % 2 == 1) cycle *= 2.0f;
  const auto next = [&style] {
    style.dash_index = style.dash_index >= style.dash_count ? 1 : style.dash_index + 1;
    style.dash_gap = 1 - style.dash_gap;
    style.dash_rest = static_cast<float>(style.dash_pattern[style.dash_index - 1]);
  };
  len -= style.dash_rest;
  next();
  if (cycle > 0.0f) len = std::fmod(len, cycle);
  while (style.dash_rest > 0.0f && len >= style.dash_rest) {
    len -= style.dash_rest;
    next();
  }
  style.dash_rest -= len;
}

// The part of the segment (x0, y0) -> (x1, y1) that lies in the window grown by margin on
// every side, as fractions t0 <= t1 of the segment (t0 > t1: none of it, also when a
// coordinate is not finite).
struct SegmentRange {
  float t0, t1;
};
SegmentRange segment_range(const ClipWindow& w, float margin, float x0, float y0, float x1,
                           float y1);

// step_dash for a segment of which only the part in the window grown by margin can be
// seen: the pattern is carried over the parts outside it without stepping them, so the
// work stays bounded however far the ends lie, and the dashes that can be seen stay where
// step_dash puts them. The pen moves to where the seen part begins.
template <class Pen>
void step_dash_clipped(LineStyleRecord& style, const ClipWindow& w, float margin, float x0,
                       float y0, float x1, float y1, Pen&& pen) {
  const SegmentRange r = segment_range(w, margin, x0, y0, x1, y1);
  if (r.t0 <= 0.0f && r.t1 >= 1.0f) {
    step_dash(style, x0, y0, x1, y1, pen);
    return;
  }
  const Direction dir = segment_direction(x0, y0, x1, y1);
  const float len = dash_length(x0, y0, x1, y1, dir);
  if (r.t0 > r.t1) {
    skip_dash(style, len);
    pen(x1, y1, style.dash_gap == 0);
    return;
  }
  // The seen part runs from a to b points along the segment.
  const float a = r.t0 * len, b = r.t1 * len;
  const auto at = [&](float d, float& x, float& y) {
    x = x0 + d * dir.c;
    y = y0 == y1 ? y0 : y0 - d * dir.s;
  };
  float ax = x0, ay = y0;
  if (a > 0.0f) {
    at(a, ax, ay);
    skip_dash(style, a);
    pen(ax, ay, false);
  }
  if (r.t1 >= 1.0f) {
    step_dash_along(style, ax, ay, dir, len - a, x1, y1, pen);
    return;
  }
  float bx, by;
  at(b, bx, by);
  step_dash_along(style, ax, ay, dir, b - a, bx, by, pen);
  skip_dash(style, len - b);
  pen(x1, y1, style.dash_gap == 0);
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

// Line-style state (the dash pattern cut out of every line while it is drawn) and the
// dash stepping that the pen model's connqq applies to each segment.
#pragma once

namespace stylus {

inline constexpr int kMaxDashElements = 10;

struct LineStyleRecord {
  int line_style = 0;                        // 0..7, index into the style table
  int dash_pattern[kMaxDashElements] = {1};  // drawn, gap, drawn, ... (points)
  int dash_count = 1;                        // 1: solid line
  int dash_index = 1;                        // 1-based element being drawn
  int dash_gap = 0;                          // 1 while a gap runs
  float dash_rest = 1.0f;                    // points left of the current element
};
extern LineStyleRecord g_style;

// atan2(y, x), with +-pi/2 for |x| <= 1e-6.
float qqatan(float y, float x);

// Steps the dash pattern along the segment from (x0, y0) to (x1, y1) (page coordinates
// for xmove/xdraw): xdraw for drawn pieces, xmove for gaps; the pattern state carries
// over to the next segment.
void dash_segment(float x0, float y0, float x1, float y1);

}  // namespace stylus

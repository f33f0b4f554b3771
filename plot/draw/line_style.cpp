// Dash stepping of the line styles; the pattern state survives from segment to segment
// so that a dashed polyline keeps its rhythm across its corners.
#include "draw/line_style.h"

#include <cmath>

#include "draw/pen.h"

namespace stylus {

LineStyleRecord g_style;

float qqatan(float y, float x) {
  if (std::fabs(x) > 1e-6f) return static_cast<float>(std::atan2(y, x));
  return y >= 0.0f ? 1.570796f : -1.570796f;
}

void dash_segment(float x0, float y0, float x1, float y1) {
  LineStyleRecord& st = g_style;
  const float theta = qqatan(y0 - y1, x1 - x0);
  const float sn = static_cast<float>(std::sin(theta));
  const float cs = static_cast<float>(std::cos(theta));
  float len = (y0 == y1) ? std::fabs(x1 - x0) : std::fabs((y0 - y1) / sn);
  float cx = x0, cy = y0;
  while (st.dash_rest > 0.0f && len >= st.dash_rest) {  // an element of 0 would never end
    const float r = st.dash_rest;
    cx += r * cs;
    cy -= r * sn;
    if (st.dash_gap == 0) {
      xdraw(cx, cy);
    } else {
      xmove(cx, cy);
    }
    st.dash_index = st.dash_index >= st.dash_count ? 1 : st.dash_index + 1;
    st.dash_gap = 1 - st.dash_gap;
    len -= r;
    st.dash_rest = static_cast<float>(st.dash_pattern[st.dash_index - 1]);
  }
  if (st.dash_gap == 0) {
    xdraw(x1, y1);
  } else {
    xmove(x1, y1);
  }
  st.dash_rest -= len;
}

}  // namespace stylus

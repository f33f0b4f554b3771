// The stroke stage between the pen buffer and the device: the clip window and its switch to
// the axis area, clipping of single segments, and qqstrk, which strokes the buffered
// polyline (centre line and width outlines) and empties the buffer.
#include <algorithm>

#include "pen/clip.h"
#include "pen/pen.h"
#include "pen/thick_line.h"
#include "records/state.h"

namespace stylus {

ClipRecord g_clip;
AxisClipRecord g_axis_clip;

namespace {

Stroker device_stroker() {
  return Stroker(g_clip.window(), xjdraw);
}

}  // namespace

int jqqclp(float x, float y) {
  return g_clip.window().outside(x, y) ? 1 : 0;
}

void clip2d(float x1, float y1, float x2, float y2) {
  device_stroker().clip(x1, y1, x2, y2);
}

void sclpax(int mode) {
  if (g_clip.clip_suspend == 2) return;
  qqstrk();
  if (mode == 0) {
    g_clip.saved = g_clip.window();
    g_clip.clip_left = std::max(g_clip.clip_left, g_axis_clip.axis_clip_left);
    g_clip.clip_top = std::max(g_clip.clip_top, g_axis_clip.axis_clip_top);
    g_clip.clip_right = std::min(g_clip.clip_right, g_axis_clip.axis_clip_right);
    g_clip.clip_bottom = std::min(g_clip.clip_bottom, g_axis_clip.axis_clip_bottom);
  } else if (mode == 1) {
    g_clip.clip_left = g_clip.saved.left;
    g_clip.clip_top = g_clip.saved.top;
    g_clip.clip_right = g_clip.saved.right;
    g_clip.clip_bottom = g_clip.saved.bottom;
  }
}

void reset_clip_window() {
  g_clip.clip_left = 0;
  g_clip.clip_top = 0;
  g_clip.clip_right = g_ivray.page_nx;
  g_clip.clip_bottom = g_ivray.page_ny;
  g_clip.saved = g_clip.window();
  g_clip.clip_suspend = 0;
}

void qqstrk() {
  const int count = std::min(g_pen.stroke_count, kStrokeBufferSize);
  if (count > 0) {
    // A negative width is drawn by the device itself: only the centre line is sent.
    device_stroker().stroke(g_pen.xplray, g_pen.yplray, count, g_ivray.line_width);
  }
  g_pen.stroke_count = 0;
}

}  // namespace stylus

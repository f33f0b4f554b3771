// The stroke stage between the pen buffer and the device: the clip window and its switch to
// the axis area, clipping of single segments, and qqstrk, which strokes the buffered
// polyline (centre line and width outlines) and empties the buffer.
#include <algorithm>
#include <cmath>

#include "devices/device_table.h"
#include "pen/clip.h"
#include "pen/pen.h"
#include "pen/thick_line.h"
#include "records/state.h"

namespace stylus {

ClipRecord g_clip;
AxisClipRecord g_axis_clip;

namespace {

// The rows that fill the band of a wide line: the device's pixel rows (turned with the
// page), or rows at the outlines' spacing of 1.5 points.
BandRows band_rows() {
  const DeviceRecord& device = current_device();
  const double scale = g_xvray.page_scale;
  if (!device.pixels || !(scale > 0.0) || !std::isfinite(1.0 / scale)) return {};
  if (g_ivray.page_rotation == 1) {
    return {true, static_cast<double>(g_ivray.page_nx), 1.0 / scale, scale};
  }
  return {false, 0.0, 1.0 / scale, scale};
}

Stroker device_stroker() {
  Stroker s(g_clip.window(), xjdraw);
  s.fill_wide_lines(band_rows());
  return s;
}

// The last buffer whose wide band covered the whole clip window: while nothing else has
// reached the driver since and the window is the same, the window shows that colour and
// nothing more the pen draws there can change it (a dense curve thousands of points wide
// would otherwise paint the window once for every buffer).
struct WindowCover {
  bool valid = false;
  unsigned long accesses = 0;
  ClipWindow window{};
};
WindowCover g_cover;

bool window_still_covered() {
  const ClipWindow w = g_clip.window();
  return g_cover.valid && g_cover.accesses == driver_accesses() && g_cover.window.left == w.left &&
         g_cover.window.top == w.top && g_cover.window.right == w.right &&
         g_cover.window.bottom == w.bottom;
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
    if (!window_still_covered()) {
      g_cover.valid =
          device_stroker().stroke(g_pen.xplray, g_pen.yplray, count, g_ivray.line_width);
      g_cover.accesses = driver_accesses();
      g_cover.window = g_clip.window();
    }
  }
  g_pen.stroke_count = 0;
}

}  // namespace stylus

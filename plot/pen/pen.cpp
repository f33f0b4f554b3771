// The pen model: current point, move and draw, the 100-point polyline buffer, and xjdraw,
// the one place where a page point is counted, turned into a device point and handed to
// the driver of the session.
#include "pen/pen.h"

#include <cmath>

#include "devices/device_point.h"
#include "devices/device_table.h"
#include "pen/linestyle.h"
#include "records/state.h"

namespace stylus {

PenRecord g_pen;

void strtqq(float x, float y) {
  g_pen.vec_x = x + static_cast<float>(g_ivray.page_offset_x);
  g_pen.vec_y = y + static_cast<float>(g_ivray.page_offset_y);
  if (g_pen.curve_offset == 0.0f) {
    xmove(g_pen.vec_x, g_pen.vec_y);
  } else {
    g_pen.pen_move_pending = 1;  // the first offset segment begins at its shifted start
  }
}

void connqq(float x, float y) {
  const float nx = x + static_cast<float>(g_ivray.page_offset_x);
  const float ny = y + static_cast<float>(g_ivray.page_offset_y);
  const float o = g_pen.curve_offset;
  if (g_linestyle.dash_count == 1 && o == 0.0f) {
    g_pen.vec_x = nx;
    g_pen.vec_y = ny;
    xdraw(nx, ny);
    return;
  }
  const float theta = qqatan(g_pen.vec_y - ny, nx - g_pen.vec_x);
  const float s = static_cast<float>(std::sin(theta));
  const float c = static_cast<float>(std::cos(theta));
  float x0 = g_pen.vec_x, y0 = g_pen.vec_y;
  float x1 = nx, y1 = ny;
  if (o != 0.0f) {
    x0 -= s * o;
    y0 -= c * o;
    x1 -= s * o;
    y1 -= c * o;
    // Joins the previous offset segment to this one (or starts the offset line).
    if (g_pen.pen_move_pending != 0) {
      xmove(x0, y0);
      g_pen.pen_move_pending = 0;
    } else if (g_linestyle.dash_gap == 0) {
      xdraw(x0, y0);
    } else {
      xmove(x0, y0);
    }
  }
  if (g_linestyle.dash_count == 1) {
    xdraw(x1, y1);
  } else {
    dash_line(x0, y0, x1, y1);
  }
  g_pen.vec_x = x1 + s * o;
  g_pen.vec_y = y1 + c * o;
}

void lineqq(int ix1, int iy1, int ix2, int iy2) {
  strtqq(static_cast<float>(ix1), static_cast<float>(iy1));
  connqq(static_cast<float>(ix2), static_cast<float>(iy2));
}

// The 3-D projection and the page transformation would be applied to buffered points
// here; their flags stay off in this library.
void xmove(float x, float y) {
  qqstrk();
  g_pen.xplray[0] = x;
  g_pen.yplray[0] = y;
  g_pen.stroke_count = 1;
}

void xdraw(float x, float y) {
  int n = g_pen.stroke_count;
  if (n < 0 || n >= kStrokeBufferSize) n = 0;  // never index outside the buffer
  g_pen.xplray[n] = x;
  g_pen.yplray[n] = y;
  g_pen.stroke_count = n + 1;
  if (g_pen.stroke_count == kStrokeBufferSize) {
    // The line continues from the last point of the full buffer.
    const float lx = g_pen.xplray[kStrokeBufferSize - 1];
    const float ly = g_pen.yplray[kStrokeBufferSize - 1];
    qqstrk();
    g_pen.xplray[0] = lx;
    g_pen.yplray[0] = ly;
    g_pen.stroke_count = 1;
  }
}

PageGeometry current_geometry() {
  return {g_xvray.page_scale, g_ivray.page_nx, g_ivray.page_ny, g_ivray.page_rotation,
          g_xvray.meta_offset_x};
}

void xjdraw(float x, float y, int pen) {
  ++g_ivray.n_vectors;
  // The page point goes to the session's driver as a device point of the current device's
  // class (dropped when there is no driver or the device has no class).
  Driver* driver = current_driver();
  if (driver == nullptr) return;
  const DeviceClass cls = current_device().cls;
  if (cls == DeviceClass::kNone) return;
  driver->point(device_point(cls, x, y, current_geometry()), pen);
}

}  // namespace stylus

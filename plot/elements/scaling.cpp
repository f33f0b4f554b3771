// The scaling record of graf and the transformation of user values to page points.
#include "elements/scaling.h"

#include <algorithm>
#include <cmath>

#include "elements/axis_state.h"
#include "devices/device_table.h"
#include "records/messages.h"
#include "records/state.h"
#include "stylus.h"
#include "records/api_call.h"

namespace stylus {

namespace {

constexpr float kTiny = 1.0e-35f;
constexpr float kPageLimit = 1.0e6f;

int clamp_to_int(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return 2147483647;
  if (v <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(v);
}

float log_if(int log, float v) {
  return log == 1 ? std::log10(v) : v;
}

}  // namespace

int round_half_away(float v) {
  return clamp_to_int(v >= 0 ? std::trunc(v + 0.5f) : std::trunc(v - 0.5f));
}

int page_round(float v) {
  return clamp_to_int(std::trunc(v + 0.5f));
}

int trunc_to_int(float v) {
  return clamp_to_int(std::trunc(v));
}

int erraxs(float begin, float end, float first, float step, int n, int dx, int dy) {
  // An end, first label or step that is not a finite number has no place on a page.
  if (!std::isfinite(begin) || !std::isfinite(end) || !std::isfinite(first) ||
      !std::isfinite(step)) {
    warnin(2);
    return 1;
  }
  int error = 0;
  if (std::fabs(end - begin) < kTiny) {
    warnin(10);
    error = 1;
  }
  if (std::fabs(step) < kTiny) {
    warnin(9);
    error = 1;
  }
  if (n <= 1) {
    warnin(11);
    error = 1;
  }
  if (dx + g_ivray.page_offset_x < 0) warni1(4, dx + g_ivray.page_offset_x);
  if (dy + g_ivray.page_offset_y < 0) warni1(5, dy + g_ivray.page_offset_y);
  // Equal ends give the axis no direction to check the first label and the step against.
  if (std::fabs(end - begin) < kTiny) return error;
  if (begin < end) {
    if (first < begin || first > end) warnin(12);
    if (step < 0) warnin(50);
  } else {
    if (first > begin || first < end) warnin(12);
    if (step > 0) warnin(50);
  }
  return error;
}

ScaleRecord make_scale(const float v[8], const AxisGeometry& g) {
  ScaleRecord s{};
  s.x_begin = v[0], s.x_end = v[1], s.x_first = v[2], s.x_step = v[3];
  s.y_begin = v[4], s.y_end = v[5], s.y_first = v[6], s.y_step = v[7];
  s.x_factor = static_cast<float>(g.len_x - 1) / (s.x_end - s.x_begin);
  s.y_factor = static_cast<float>(g.len_y - 1) / (s.y_end - s.y_begin);
  s.x_origin = static_cast<float>(g.pos_x);
  s.y_origin = static_cast<float>(g.pos_y);
  auto limit = [](int log, float e) {
    return log == 1 ? static_cast<float>(std::pow(10.0, e)) : e;
  };
  const float xa = limit(g.log_x, s.x_begin), xe = limit(g.log_x, s.x_end);
  const float ya = limit(g.log_y, s.y_begin), ye = limit(g.log_y, s.y_end);
  s.x_min = std::min(xa, xe), s.x_max = std::max(xa, xe);
  s.y_min = std::min(ya, ye), s.y_max = std::max(ya, ye);
  return s;
}

void sxyscl(float xa, float xe, float xor_, float xstp, float ya, float ye, float yor, float ystp) {
  const float v[8] = {xa, xe, xor_, xstp, ya, ye, yor, ystp};
  const AxisGeometry g{g_ivray.axis_pos_x, g_ivray.axis_pos_y, g_ivray.axis_len_x,
                       g_ivray.axis_len_y, g_axis.log_axis[0], g_axis.log_axis[1]};
  g_scale = make_scale(v, g);
}

AxisClipRecord make_axis_clip(const ClipGeometry& g) {
  int m = g.clip_margin;
  // On the screen the window keeps about one device pixel more clear of the frame.
  if (m == -1 && g.pixel_margin && g.page_scale > 0)
    m = -(round_half_away(0.99f / g.page_scale) + 1);
  AxisClipRecord c{};
  c.axis_clip_left = std::max(0, g.pos_x + g.offset_x - m);
  c.axis_clip_top = std::max(0, g.pos_y + g.offset_y - g.len_y - (m - 1));
  c.axis_clip_right = std::min(g.page_nx, g.pos_x + g.offset_x + g.len_x - 1 + m);
  c.axis_clip_bottom = std::min(g.page_ny, g.pos_y + g.offset_y + m);
  return c;
}

void setclp() {
  const ClipGeometry g{
      g_ivray.axis_pos_x, g_ivray.axis_pos_y,    g_ivray.axis_len_x,
      g_ivray.axis_len_y, g_ivray.page_offset_x, g_ivray.page_offset_y,
      g_ivray.page_nx,    g_ivray.page_ny,       current_device().pixel_clip_margin,
      g_xvray.page_scale, g_axis.clip_margin};
  g_axis_clip = make_axis_clip(g);
}

}  // namespace stylus

using namespace stylus;

namespace {

// The transformation itself, apart from the exported entry points so that the conversion of
// every curve point can have it inline.
float x_to_page(float x) {
  return (log_if(g_axis.log_axis[0], x) - g_scale.x_begin) * g_scale.x_factor + g_scale.x_origin;
}

float y_to_page(float y) {
  return g_scale.y_origin - (log_if(g_axis.log_axis[1], y) - g_scale.y_begin) * g_scale.y_factor;
}

}  // namespace

extern "C" float xposn(float x) try {
  const ApiCall call;
  return x_to_page(x);
} catch (...) {
  api_failure();
  return 0.0f;
}

extern "C" float yposn(float y) try {
  const ApiCall call;
  return y_to_page(y);
} catch (...) {
  api_failure();
  return 0.0f;
}

extern "C" int nxposn(float x) try {
  const ApiCall call;
  return page_round(xposn(x));
} catch (...) {
  api_failure();
  return 0;
}
extern "C" int nyposn(float y) try {
  const ApiCall call;
  return page_round(yposn(y));
} catch (...) {
  api_failure();
  return 0;
}

void stylus::user_to_page(float& x, float& y) {
  x = std::clamp(x_to_page(x), -kPageLimit, kPageLimit);
  y = std::clamp(y_to_page(y), -kPageLimit, kPageLimit);
}

extern "C" void trfrel(float* xs, float* ys, int n) try {
  const ApiCall call;
  if (n > 0 && (missing_argument(xs, "trfrel") || missing_argument(ys, "trfrel"))) return;
  for (int i = 0; i < n; ++i) user_to_page(xs[i], ys[i]);
} catch (...) {
  api_failure();
}

// graf: checks the scaling of both axes, stores the user-to-page transformation,
// computes the axis clip window and draws the four sides of the axis rectangle with
// their ticks, labels and titles, and the frame.
//
// Provided: linear and logarithmic axes (the logarithmic flags are set by no public
// routine yet), crossed axes. Left out: automatic scaling (the auto_scale flags are
// ignored), the background fill of the axis area (axis_background is ignored) and the
// pending origin shift.
#include <cmath>
#include <cstring>
#include <utility>

#include "elements/axis_state.h"
#include "elements/graf.h"
#include "elements/labels.h"
#include "elements/scaling.h"
#include "elements/ticks.h"
#include "elements/titles.h"
#include "pen/pen.h"
#include "records/messages.h"
#include "records/state.h"
#include "stylus.h"
#include "records/api_call.h"

namespace stylus {

namespace {

constexpr float kTiny = 1.0e-35f;

char* title_of(int axis) {
  if (axis == kAxisX) return g_titles.axis_title_x;
  if (axis == kAxisY) return g_titles.axis_title_y;
  return g_titles.axis_title_z;
}

// Selects colour slot k of an axis for one part of it; returns whether it did.
bool select_part_color(int axis, int k) {
  const int c = g_axis.axis_colors[axis - 1][k];
  if (c == -1) return false;
  setclr(c);
  return true;
}

// The reduced copies of one axis's settings while one side is drawn.
struct SideSave {
  int axis_line, tick_count, label_type;
  char title[61];
};
SideSave g_side_save;

void exchange_side(int axis) {
  const int a = axis - 1;
  std::swap(g_side_save.axis_line, g_axis.axis_line[a]);
  std::swap(g_side_save.tick_count, g_axis.tick_count[a]);
  std::swap(g_side_save.label_type, g_axis.label_type[a]);
  char tmp[61];
  std::memcpy(tmp, g_side_save.title, sizeof tmp);
  std::memcpy(g_side_save.title, title_of(axis), sizeof tmp);
  std::memcpy(title_of(axis), tmp, sizeof tmp);
}

struct Side {
  int side;  // for sgrafp: 1 bottom, 2 right, 3 top, 4 left
  int axis;
  int x, y, len, label_side;
};

void draw_side(const Side& s) {
  const ScaleRecord& r = g_scale;
  sgrafp(s.side, 0);
  if (s.axis == kAxisX)
    daxis(r.x_begin, r.x_end, r.x_first, r.x_step, s.len, g_titles.axis_title_x, s.label_side, s.x,
          s.y, g_axis.log_axis[0], kAxisX);
  else
    daxis(r.y_begin, r.y_end, r.y_first, r.y_step, s.len, g_titles.axis_title_y, s.label_side, s.x,
          s.y, g_axis.log_axis[1], kAxisY);
  sgrafp(s.side, 1);
}

// Crossed axes: the origin must lie within both ranges; the axes then run through it.
bool draw_crossed() {
  const ScaleRecord& r = g_scale;
  if (r.x_min > kTiny || r.x_max < -kTiny || r.y_min > kTiny || r.y_max < -kTiny) {
    qqserr("No origin found for crossed axis system");
    warnin(101);
    return false;
  }
  setclp();
  if (g_axis.suppress_axes != 0) return true;
  const int px = g_ivray.axis_pos_x, py = g_ivray.axis_pos_y;
  draw_side({1, kAxisX, px, nyposn(0.0f), g_ivray.axis_len_x, 0});
  draw_side({4, kAxisY, nxposn(0.0f), py, g_ivray.axis_len_y, 1});
  return true;
}

}  // namespace

void sgrafp(int side, int phase) {
  const int axis = side == 1 || side == 3 ? kAxisX : kAxisY;
  if (phase == 0) {
    const int a = axis - 1;
    g_side_save.axis_line = g_axis.axis_line[a];
    g_side_save.tick_count = g_axis.tick_count[a];
    g_side_save.label_type = g_axis.label_type[a];
    std::memcpy(g_side_save.title, title_of(axis), sizeof g_side_save.title);
    const int level = g_axis.side_level[side - 1];
    if (level <= 3) g_side_save.title[0] = '\0';
    if (level <= 2) g_side_save.label_type = 0;
    if (level <= 1) g_side_save.tick_count = 0;
    if (level <= 0) g_side_save.axis_line = 0;
  }
  exchange_side(axis);
}

void daxis(float begin, float end, float first, float step, int len, const char* title, int side,
           int x, int y, int log, int axis) {
  const int a = axis - 1;
  const int remembered = g_ivray.cur_color;
  settic(side, g_axis.tick_pos[a]);
  if (g_axis.axis_line[a] != 0) {
    const bool c = select_part_color(axis, 0);
    if (axis == kAxisX)
      lineqq(x, y, x + len - 1, y);
    else
      lineqq(x, y, x, y - len + 1);
    if (c) setclr(remembered);
  }
  bool c = select_part_color(axis, 1);
  markx(begin, end, first, step, len, g_axis.minor_tick_len, g_axis.major_tick_len,
        g_axis.tick_count[a], x, y, log, g_axis.tick_pos[a], axis);
  if (c) setclr(remembered);
  c = select_part_color(axis, 2);
  const int extent = labelx(begin, end, first, step, len, side, x, y, log, axis);
  if (c) setclr(remembered);
  c = select_part_color(axis, 3);
  namex(title, len, side, x, y, extent, axis);
  if (c) setclr(remembered);
  settic(0, 0);
}

void dframe(int x, int y, int w, int h, int t, float angle) {
  const float ox = static_cast<float>(g_ivray.page_offset_x);
  const float oy = static_cast<float>(g_ivray.page_offset_y);
  const bool turned = std::fabs(angle) > 0.001f;
  const float rad = angle * 0.017453292f;
  const float co = turned ? std::cos(rad) : 1.0f, si = turned ? std::sin(rad) : 0.0f;
  // Corner offsets from (x, y), turned counter-clockwise on the page (y grows downwards).
  auto corner = [&](float dx, float dy, bool move) {
    const float px = static_cast<float>(x) + dx * co + dy * si + ox;
    const float py = static_cast<float>(y) - dx * si + dy * co + oy;
    if (move)
      xmove(px, py);
    else
      xdraw(px, py);
  };
  const int n = t < 0 ? -t : t;
  for (int k = 0; k < n; ++k) {
    const float s = static_cast<float>(t > 0 ? k : -k);
    const float l = -s, r = static_cast<float>(w - 1) + s, b = static_cast<float>(h - 1) + s;
    corner(l, l, true);
    corner(r, l, false);
    corner(r, b, false);
    corner(l, b, false);
    corner(l, l, false);
  }
}

void reset_graf_state() {
  g_side_save = SideSave{};
}

}  // namespace stylus

using namespace stylus;

extern "C" void graf(float xa, float xe, float xor_, float xstp, float ya, float ye, float yor,
                     float ystp) try {
  const ApiCall call;
  if (jqqlev(1, 1, "graf") != 0) return;
  g_ivray.level = 2;
  const int dx = 1 - g_ivray.page_offset_x, dy = 1 - g_ivray.page_offset_y;
  const int ex = erraxs(xa, xe, xor_, xstp, 2, dx, dy);
  const int ey = erraxs(ya, ye, yor, ystp, 2, dx, dy);
  if (ex + ey != 0) {
    g_ivray.level = 1;
    return;
  }
  if (g_axis.crossed_axes == 1 && (g_axis.log_axis[0] == 1 || g_axis.log_axis[1] == 1)) {
    qqserr("Crossed axis systems must have linear scaling");
    warnin(101);
    g_ivray.level = 1;
    return;
  }
  sxyscl(xa, xe, xor_, xstp, ya, ye, yor, ystp);
  if (g_axis.crossed_axes == 1) {
    if (!draw_crossed()) g_ivray.level = 1;
    return;
  }
  setclp();
  if (g_axis.suppress_axes != 0) return;
  const int px = g_ivray.axis_pos_x, py = g_ivray.axis_pos_y;
  const int lx = g_ivray.axis_len_x, ly = g_ivray.axis_len_y;
  draw_side({1, kAxisX, px, py, lx, 0});
  draw_side({4, kAxisY, px, py, ly, 1});
  if (g_axis.draw_top_right == 0) {
    draw_side({3, kAxisX, px, py - ly + 1, lx, 1});
    draw_side({2, kAxisY, px + lx - 1, py, ly, 0});
  }
  if (g_axis.frame_thickness != 0) dframe(px, py - ly + 1, lx, ly, g_axis.frame_thickness, 0.0f);
} catch (...) {
  api_failure();
}

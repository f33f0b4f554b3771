// Line styles: the style table, the routines that select a style or a pattern of one's
// own, the restart of the pattern, the miter limit, and the dashed path of the pen model.
#include "pen/linestyle.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "devices/driver.h"
#include "pen/pen.h"
#include "pen/thick_line.h"
#include "records/messages.h"
#include "records/state.h"
#include "stylus.h"
#include "records/api_call.h"

namespace stylus {

// Solid from the start, so that a line drawn before any session start is never dashed.
LineStyleRecord g_linestyle;

const LineStylePattern kLineStyleTable[kLineStyles] = {
    {1, {1}},               // 0 solid
    {2, {1, 10}},           // 1 dotted
    {2, {10, 10}},          // 2 dash
    {4, {30, 15, 10, 15}},  // 3 chndsh
    {4, {1, 15, 15, 15}},   // 4 chndot
    {2, {20, 15}},          // 5 dashm
    {2, {1, 20}},           // 6 dotl
    {2, {30, 20}},          // 7 dashl
};

void inityp() {
  g_linestyle.dash_gap = 0;
  g_linestyle.dash_index = 1;
  g_linestyle.dash_rest = static_cast<float>(g_linestyle.dash_pattern[0]);
}

int install_pattern(const int* pattern, int n) {
  if (jqqval(n, 1, kMaxDashElements) != 0) return 1;
  if (pattern == nullptr) {
    warnin(2);
    return 1;
  }
  for (int i = 0; i < n; ++i) {
    if (pattern[i] <= 0) {
      warni1(2, pattern[i]);
      return 1;
    }
  }
  for (int i = 0; i < n; ++i) g_linestyle.dash_pattern[i] = pattern[i];
  g_linestyle.dash_count = n;
  inityp();
  return 0;
}

namespace {

void select_style(int type) {
  const LineStylePattern& p = kLineStyleTable[type];
  g_linestyle.line_style = type;
  install_pattern(p.elements, p.count);
}

}  // namespace

void reset_line_style() {
  select_style(0);
}

SegmentRange segment_range(const ClipWindow& w, float margin, float x0, float y0, float x1,
                           float y1) {
  // A segment with an end that is not a finite point cannot be seen (the clip stage drops
  // it), whatever length its direction gives it.
  if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1))
    return {1.0f, 0.0f};
  const double dx = static_cast<double>(x1) - x0, dy = static_cast<double>(y1) - y0;
  const double m = margin;
  // Each border: p t <= q keeps the point at t on the window's side of it.
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - (w.left - m), (w.right + m) - x0, y0 - (w.top - m),
                       (w.bottom + m) - y0};
  double t0 = 0.0, t1 = 1.0;
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return {1.0f, 0.0f};
    } else if (p[i] < 0.0) {
      t0 = std::max(t0, q[i] / p[i]);
    } else {
      t1 = std::min(t1, q[i] / p[i]);
    }
  }
  if (t0 > t1) return {1.0f, 0.0f};
  return {static_cast<float>(t0), static_cast<float>(t1)};
}

namespace {

// A line drawn by the pen model wider than every element of its pattern: the square caps of
// its dashes, half a width beyond each end, close every gap, so the dashes make one band.
bool gaps_closed_by_width() {
  const int width = g_ivray.line_width;  // negative: the device draws widths and dashes
  if (width <= kOutlinedWidthLimit) return false;
  for (int i = 0; i < g_linestyle.dash_count; ++i)
    if (g_linestyle.dash_pattern[i] > width) return false;
  return true;
}

}  // namespace

void dash_line(float x0, float y0, float x1, float y1) {
  if (gaps_closed_by_width()) {
    // Drawn as the one band the dashes make, each dash's band would be filled again and
    // again; the pattern runs on all the same, for the lines that follow.
    skip_dash(g_linestyle, dash_length(x0, y0, x1, y1, segment_direction(x0, y0, x1, y1)));
    xdraw(x1, y1);
    return;
  }
  // Widened lines and their corners reach at most about a width beyond their centre line.
  const float margin = 2.0f * static_cast<float>(std::abs(g_ivray.line_width)) + 4.0f;
  step_dash_clipped(g_linestyle, g_clip.window(), margin, x0, y0, x1, y1,
                    [](float x, float y, bool draw) {
                      if (draw) {
                        xdraw(x, y);
                      } else {
                        xmove(x, y);
                      }
                    });
}

}  // namespace stylus

using namespace stylus;

extern "C" void lintyp(int type) try {
  const ApiCall call;
  if (chkini("lintyp") != 0) return;
  if (jqqval(type, 0, kLineStyles - 1) != 0) return;
  select_style(type);
} catch (...) {
  api_failure();
}

extern "C" void myline(const int* pattern, int n) try {
  const ApiCall call;
  if (chkini("myline") != 0) return;
  install_pattern(pattern, n);
} catch (...) {
  api_failure();
}

namespace {

void select_named(const char* name, int type) {
  if (chkini(name) != 0) return;
  lintyp(type);
}

}  // namespace

extern "C" void solid(void) try {
  const ApiCall call;
  select_named("solid", 0);
} catch (...) {
  api_failure();
}
extern "C" void dash(void) try {
  const ApiCall call;
  select_named("dash", 2);
} catch (...) {
  api_failure();
}
extern "C" void chndsh(void) try {
  const ApiCall call;
  select_named("chndsh", 3);
} catch (...) {
  api_failure();
}
extern "C" void chndot(void) try {
  const ApiCall call;
  select_named("chndot", 4);
} catch (...) {
  api_failure();
}
extern "C" void dashm(void) try {
  const ApiCall call;
  select_named("dashm", 5);
} catch (...) {
  api_failure();
}
extern "C" void dotl(void) try {
  const ApiCall call;
  select_named("dotl", 6);
} catch (...) {
  api_failure();
}
extern "C" void dashl(void) try {
  const ApiCall call;
  select_named("dashl", 7);
} catch (...) {
  api_failure();
}

extern "C" void lnmlt(float f) try {
  const ApiCall call;
  if (chkini("lnmlt") != 0) return;
  if (!(f >= 1.0f)) {  // also refuses NaN
    warnin(2);
    return;
  }
  qqstrk();
  if (Driver* drv = current_driver()) drv->miter_limit(f, g_ivray.line_width);
  g_xvray.line_width_factor = f;
} catch (...) {
  api_failure();
}

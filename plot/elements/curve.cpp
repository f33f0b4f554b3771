// curve: checks the points, reports those outside the axis scaling, converts them to
// page coordinates and draws them as one line clipped to the axis area; and the
// per-curve bookkeeping of attribute cycles and legend entries.
//
// Provided: linear interpolation, one pass, and plot symbols on every n-th point (incmrk),
// with or without the line. Other interpolation modes, gap detection and parallel copies
// are not provided (their settings keep the defaults).
#include "elements/curve.h"

#include <cmath>
#include <cstdio>

#include "elements/axis_state.h"
#include "elements/scaling.h"
#include "elements/symbols.h"
#include "pen/clip.h"
#include "pen/linestyle.h"
#include "pen/pen.h"
#include "records/messages.h"
#include "records/state.h"
#include "stylus.h"
#include "records/api_call.h"

namespace stylus {

CurveRecord g_curve;
LegendRecord g_legend;

namespace {

bool tiny_or_huge(float v) {
  const float a = std::fabs(v);
  return (a > 0.0f && a < 1e-6f) || a > 1e6f;
}

int jqqlgx(const float* values, int n) {
  for (int i = 0; i < n; ++i) {
    if (values[i] <= 0.0f) {
      warnin(27);
      return 1;
    }
  }
  return 0;
}

}  // namespace

void resatt() {
  g_curve.curve_count = 1;
  g_curve.attr_index = 1;
  g_curve.legend_pending = 1;
  g_curve.symbol_number = 0;
}

void reset_curve_settings() {
  g_curve.range_check = 1;
  g_curve.log_check_off = 0;
  g_curve.legend_entry = 1;
  g_curve.curves_per_attr = 1;
  g_curve.attr_mode = 0;
  g_curve.symbol_incr = 0;
  g_curve.n_symbols = 21;
  g_curve.shaded_curve = 0;
  g_curve.parallel_copies = 1;
  g_curve.legend_off = 0;
  g_curve.symbol_size = kDefaultSymbolSize;
  g_curve.cap_width = kDefaultCapWidth;
  g_legend = LegendRecord{};
  resatt();
}

void chkscl(const float* x, const float* y, int n) {
  if (g_curve.range_check == 0 || g_ivray.msg_unit == 0) return;
  std::FILE* out = g_control.msg_stream;
  const ScaleRecord& s = g_scale;
  for (int i = 0; i < n; ++i) {
    if (!(x[i] < s.x_min || x[i] > s.x_max || y[i] < s.y_min || y[i] > s.y_max)) continue;
    std::fputs(" <<<< (", out);
    const double xv = x[i], yv = y[i];
    if (tiny_or_huge(x[i]))
      std::fprintf(out, "%12.4e /", xv);
    else
      std::fprintf(out, "%f /", xv);
    if (tiny_or_huge(y[i]))
      std::fprintf(out, "%12.4e) out of axis scaling!\n", yv);
    else
      std::fprintf(out, " %f) out of axis scaling!\n", yv);
  }
}

int jqqlog(const float* x, const float* y, int n) {
  if (g_curve.log_check_off == 1) return 0;
  int faults = 0;
  if (g_axis.log_axis[0] == 1) faults += jqqlgx(x, n);
  if (g_axis.log_axis[1] == 1) faults += jqqlgx(y, n);
  return faults;
}

void chnatt() {
  if (g_curve.curve_count == 1) return;
  g_curve.attr_index = g_curve.attr_index % kMaxLegendEntries + 1;
  g_curve.legend_entry += 1;
  g_curve.curve_count = 1;
  if (g_curve.symbol_incr != 0 && g_curve.n_symbols > 1)
    g_curve.symbol_number = g_curve.symbol_number % (g_curve.n_symbols - 1) + 1;
  g_curve.legend_pending = 1;
}

void slegnd(int entry) {
  if (g_curve.legend_off != 0 || entry < 1 || entry > kMaxLegendEntries) return;
  const int k = entry - 1;
  g_legend.line_style[k] = g_curve.symbol_incr < 0 ? -1 : g_linestyle.line_style;
  g_legend.symbol[k] = g_curve.symbol_incr == 0 ? -1 : g_curve.symbol_number;
  g_legend.copies[k] = g_curve.parallel_copies;
  g_legend.color[k] = g_ivray.cur_color;
  g_legend.pattern[k] = g_curve.shaded_curve != 0 ? g_curve.shaded_curve : -1;
  if (g_legend.n_legend < entry) g_legend.n_legend = entry;
}

void rlstrt(float x, float y) {
  user_to_page(x, y);
  strtqq(x, y);
}

void rlconn(float x, float y) {
  user_to_page(x, y);
  connqq(x, y);
}

}  // namespace stylus

using namespace stylus;

extern "C" void curve(const float* x, const float* y, int n) try {
  const ApiCall call;
  g_curve.shaded_curve = 0;
  if (jqqlev(2, 3, "curve") != 0) return;
  if (missing_argument(x, "curve") || missing_argument(y, "curve")) return;
  if (n < 1 || (n == 1 && g_curve.symbol_incr >= 0)) {
    warnin(2);
    return;
  }
  if (jqqlog(x, y, n) != 0) return;
  const int saved_color = g_ivray.cur_color;
  const int saved_style = g_linestyle.line_style;
  const int saved_check = g_curve.range_check;
  const int k = g_curve.attr_index - 1;
  if (g_curve.attr_mode == 1 || g_curve.attr_mode == 3) setclr(g_cycles.color_cycle[k]);
  if (g_curve.attr_mode == 2 || g_curve.attr_mode == 3) lintyp(g_cycles.line_cycle[k]);
  if (g_curve.legend_pending == 1) {
    slegnd(g_curve.legend_entry);
    g_curve.legend_pending = 0;
  }
  chkscl(x, y, n);
  g_curve.range_check = 0;
  sclpax(0);
  g_pen.curve_offset = 0.0f;
  inityp();
  if (g_curve.symbol_incr >= 0) {
    rlstrt(x[0], y[0]);
    for (int i = 1; i < n; ++i) rlconn(x[i], y[i]);
  }
  // The symbols go on top of the line, inside the same clip window.
  if (g_curve.symbol_incr != 0) curve_symbols(x, y, n);
  g_pen.curve_offset = 0.0f;
  sclpax(1);
  setclr(saved_color);
  lintyp(saved_style);
  g_curve.range_check = saved_check;
  if (g_curve.curve_count == g_curve.curves_per_attr) {
    g_curve.curve_count = 0;
    chnatt();
  } else {
    g_curve.curve_count += 1;
  }
} catch (...) {
  api_failure();
}

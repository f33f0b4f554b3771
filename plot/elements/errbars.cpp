// Error bars through points of the axis system, vertical (errbar) or horizontal (errhor),
// from the value less the lower deviation to the value plus the upper one, with caps of the
// width of errcap; solid, in the current colour and width, clipped like a curve.
#include <cmath>
#include <initializer_list>

#include "elements/axis_state.h"
#include "elements/curve.h"
#include "elements/scaling.h"
#include "elements/symbols.h"
#include "pen/clip.h"
#include "pen/pen.h"
#include "records/api_call.h"
#include "records/messages.h"
#include "records/state.h"
#include "stylus.h"

namespace stylus {
namespace {

// A solid line between two page points (the page offset is added here).
void solid_line(float x1, float y1, float x2, float y2) {
  const float ox = static_cast<float>(g_ivray.page_offset_x);
  const float oy = static_cast<float>(g_ivray.page_offset_y);
  xmove(x1 + ox, y1 + oy);
  xdraw(x2 + ox, y2 + oy);
}

// The first deviation that is negative (warning 1) or not a number (warning 2), reported
// with its point's number; true when all are right.
bool deviations_valid(const float* e1, const float* e2, int n) {
  for (int i = 0; i < n; ++i) {
    for (float e : {e1[i], e2[i]}) {
      if (std::isnan(e)) {
        warni1(2, i + 1);
        return false;
      }
      if (e < 0.0f) {
        warni1(1, i + 1);
        return false;
      }
    }
  }
  return true;
}

// The end of a bar in user units: on a logarithmic axis an end at or below 0 lies
// infinitely far below (it becomes 0, whose logarithm puts it off the page).
float bar_end(float v, int log_axis) {
  return log_axis == 1 && !(v > 0.0f) ? 0.0f : v;
}

void error_bars(const char* name, const float* x, const float* y, const float* e1, const float* e2,
                int n, bool vertical) {
  if (jqqlev(2, 3, name) != 0) return;
  for (const float* p : {x, y, e1, e2})
    if (missing_argument(p, name)) return;
  if (jqqval(n, 1, 0) != 0) return;
  if (!deviations_valid(e1, e2, n)) return;
  if (jqqlog(x, y, n) != 0) return;
  chkscl(x, y, n);
  sclpax(0);
  const int log_axis = g_axis.log_axis[vertical ? 1 : 0];
  const float half_cap = 0.5f * static_cast<float>(g_curve.cap_width);
  for (int i = 0; i < n; ++i) {
    if (!inside_scaling(x[i], y[i])) continue;
    if (!(e1[i] > 0.0f) && !(e2[i] > 0.0f)) continue;
    const float c = vertical ? x[i] : y[i];  // the bar's place across
    const float v = vertical ? y[i] : x[i];  // its value along
    float lx = vertical ? c : bar_end(v - e1[i], log_axis);
    float ly = vertical ? bar_end(v - e1[i], log_axis) : c;
    float hx = vertical ? c : bar_end(v + e2[i], log_axis);
    float hy = vertical ? bar_end(v + e2[i], log_axis) : c;
    user_to_page(lx, ly);
    user_to_page(hx, hy);
    solid_line(lx, ly, hx, hy);
    if (half_cap <= 0.0f) continue;
    if (e1[i] > 0.0f) {
      if (vertical) {
        solid_line(lx - half_cap, ly, lx + half_cap, ly);
      } else {
        solid_line(lx, ly - half_cap, lx, ly + half_cap);
      }
    }
    if (e2[i] > 0.0f) {
      if (vertical) {
        solid_line(hx - half_cap, hy, hx + half_cap, hy);
      } else {
        solid_line(hx, hy - half_cap, hx, hy + half_cap);
      }
    }
  }
  sclpax(1);
}

}  // namespace
}  // namespace stylus

using namespace stylus;

extern "C" void errbar(const float* x, const float* y, const float* e1, const float* e2,
                       int n) try {
  const ApiCall call;
  error_bars("errbar", x, y, e1, e2, n, true);
} catch (...) {
  api_failure();
}

extern "C" void errhor(const float* x, const float* y, const float* e1, const float* e2,
                       int n) try {
  const ApiCall call;
  error_bars("errhor", x, y, e1, e2, n, false);
} catch (...) {
  api_failure();
}

extern "C" void errcap(int nwidth) try {
  const ApiCall call;
  if (jqqlev(1, 3, "errcap") != 0) return;
  if (jqqval(nwidth, 0, 10000) != 0) return;
  g_curve.cap_width = nwidth;
} catch (...) {
  api_failure();
}

// Plot symbols (see symbols.h): an outline, open or filled, and crossing strokes, in unit
// coordinates scaled to half the symbol size; the routines that choose the symbol, its size
// and how curve uses it, and draw one at a page or a user point.
#include "elements/symbols.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "elements/axis_state.h"
#include "elements/curve.h"
#include "elements/scaling.h"
#include "pen/clip.h"
#include "pen/pen.h"
#include "pen/polygon.h"
#include "records/api_call.h"
#include "records/messages.h"
#include "records/state.h"
#include "stylus.h"

namespace stylus {
namespace {

enum class Outline {
  kNone,
  kCircle,
  kSquare,
  kTriangleUp,
  kTriangleDown,
  kDiamond,
  kStar,
  kHexagon
};
enum class Strokes { kNone, kPlus, kCross, kAsterisk };

struct Mark {
  Outline outline;
  bool filled;
  Strokes strokes;
  float radius = 1.0f;  // of the outline, in half symbol sizes
};

// The symbols by number. Open outlines come first, so that the symbols of successive curves
// (the attribute cycle steps through 1 to 20) differ in shape before they differ in fill.
constexpr Mark kMarks[kSymbolCount] = {
    {Outline::kCircle, false, Strokes::kNone},        // 0 circle
    {Outline::kSquare, false, Strokes::kNone},        // 1 square
    {Outline::kTriangleUp, false, Strokes::kNone},    // 2 triangle
    {Outline::kNone, false, Strokes::kPlus},          // 3 plus
    {Outline::kNone, false, Strokes::kCross},         // 4 cross
    {Outline::kDiamond, false, Strokes::kNone},       // 5 diamond
    {Outline::kTriangleDown, false, Strokes::kNone},  // 6 triangle pointing down
    {Outline::kSquare, false, Strokes::kCross},       // 7 square with a cross
    {Outline::kNone, false, Strokes::kAsterisk},      // 8 asterisk
    {Outline::kDiamond, false, Strokes::kPlus},       // 9 diamond with a plus
    {Outline::kCircle, false, Strokes::kPlus},        // 10 circle with a plus
    {Outline::kStar, false, Strokes::kNone},          // 11 star
    {Outline::kHexagon, false, Strokes::kNone},       // 12 hexagon
    {Outline::kCircle, true, Strokes::kNone, 0.3f},   // 13 dot
    {Outline::kCircle, true, Strokes::kNone},         // 14 filled circle
    {Outline::kSquare, true, Strokes::kNone},         // 15 filled square
    {Outline::kTriangleUp, true, Strokes::kNone},     // 16 filled triangle
    {Outline::kDiamond, true, Strokes::kNone},        // 17 filled diamond
    {Outline::kTriangleDown, true, Strokes::kNone},   // 18 filled triangle pointing down
    {Outline::kStar, true, Strokes::kNone},           // 19 filled star
    {Outline::kHexagon, true, Strokes::kNone},        // 20 filled hexagon
};

struct Unit {
  float u, v;  // v upwards
};

// Points of a regular polygon of n corners on the unit circle, the first at angle a0
// (degrees), alternating between radius 1 and r_odd for a star.
std::vector<Unit> ring(int n, double a0, double r_odd = 1.0) {
  std::vector<Unit> p;
  for (int k = 0; k < n; ++k) {
    const double a = (a0 + 360.0 * k / n) * std::numbers::pi / 180.0;
    const double r = k % 2 == 0 ? 1.0 : r_odd;
    p.push_back({static_cast<float>(r * std::cos(a)), static_cast<float>(r * std::sin(a))});
  }
  return p;
}

// The corners of an outline. A circle gets a corner every 6 points or so of its rim, at
// least 12 and at most 96, a multiple of 4 so that it is symmetric about both axes.
std::vector<Unit> outline_corners(Outline o, float diameter) {
  switch (o) {
    case Outline::kCircle: {
      const double n = std::ceil(std::numbers::pi * diameter / 24.0);
      return ring(4 * static_cast<int>(std::fmin(std::fmax(n, 3.0), 24.0)), 0.0);
    }
    case Outline::kSquare:
      return {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    case Outline::kTriangleUp:
      return {{0, 1}, {-1, -1}, {1, -1}};
    case Outline::kTriangleDown:
      return {{0, -1}, {1, 1}, {-1, 1}};
    case Outline::kDiamond:
      return {{0, 1}, {1, 0}, {0, -1}, {-1, 0}};
    case Outline::kStar:  // inner corners where the points' edges would cross: a pentagram
      return ring(10, 90.0, std::sin(std::numbers::pi / 10.0) / std::sin(0.7 * std::numbers::pi));
    case Outline::kHexagon:
      return ring(6, 0.0);
    case Outline::kNone:
      break;
  }
  return {};
}

std::vector<Unit> stroke_ends(Strokes s) {
  const float c = static_cast<float>(std::cos(std::numbers::pi / 6.0)), h = 0.5f;
  switch (s) {
    case Strokes::kPlus:
      return {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    case Strokes::kCross:
      return {{-1, -1}, {1, 1}, {-1, 1}, {1, -1}};
    case Strokes::kAsterisk:
      return {{0, -1}, {0, 1}, {-c, -h}, {c, h}, {-c, h}, {c, -h}};
    case Strokes::kNone:
      break;
  }
  return {};
}

}  // namespace

void draw_symbol(int nsym, float x, float y, float size) {
  if (nsym < 0 || nsym >= kSymbolCount) return;
  const Mark& m = kMarks[nsym];
  const float cx = x + static_cast<float>(g_ivray.page_offset_x);
  const float cy = y + static_cast<float>(g_ivray.page_offset_y);
  const float r = 0.5f * size * m.radius;
  const auto px = [&](Unit p) { return cx + p.u * r; };
  const auto py = [&](Unit p) { return cy - p.v * r; };
  const std::vector<Unit> corners = outline_corners(m.outline, 2.0f * r);
  if (!corners.empty()) {
    std::vector<float> xs, ys;
    for (Unit p : corners) xs.push_back(px(p)), ys.push_back(py(p));
    if (m.filled) fill_polygon(xs.data(), ys.data(), static_cast<int>(xs.size()));
    // The outline as a closed line, so that a thick one has joins all round and no caps.
    xmove(xs[0], ys[0]);
    for (std::size_t i = 1; i < xs.size(); ++i) xdraw(xs[i], ys[i]);
    xdraw(xs[0], ys[0]);
  }
  const std::vector<Unit> ends = stroke_ends(m.strokes);
  for (std::size_t i = 0; i + 1 < ends.size(); i += 2) {
    xmove(px(ends[i]), py(ends[i]));
    xdraw(px(ends[i + 1]), py(ends[i + 1]));
  }
  qqstrk();
}

bool inside_scaling(float x, float y) {
  const ScaleRecord& s = g_scale;
  return x >= s.x_min && x <= s.x_max && y >= s.y_min && y <= s.y_max;
}

void curve_symbols(const float* x, const float* y, int n) {
  const long long step = std::llabs(static_cast<long long>(g_curve.symbol_incr));
  const float size = static_cast<float>(g_curve.symbol_size);
  for (long long i = 0; i < n; i += step) {
    float px = x[i], py = y[i];
    if (!inside_scaling(px, py)) continue;
    user_to_page(px, py);
    draw_symbol(g_curve.symbol_number, px, py, size);
  }
}

}  // namespace stylus

using namespace stylus;

extern "C" void marker(int nsym) try {
  const ApiCall call;
  if (jqqlev(1, 3, "marker") != 0) return;
  if (jqqval(nsym, 0, kSymbolCount - 1) != 0) return;
  g_curve.symbol_number = nsym;
} catch (...) {
  api_failure();
}

extern "C" void hsymbl(int nsize) try {
  const ApiCall call;
  if (jqqlev(1, 3, "hsymbl") != 0) return;
  if (jqqval(nsize, 1, 10000) != 0) return;
  g_curve.symbol_size = nsize;
} catch (...) {
  api_failure();
}

extern "C" void incmrk(int nmode) try {
  const ApiCall call;
  if (jqqlev(1, 3, "incmrk") != 0) return;
  g_curve.symbol_incr = nmode;
} catch (...) {
  api_failure();
}

extern "C" void symbol(int nsym, int nx, int ny) try {
  const ApiCall call;
  if (jqqlev(1, 3, "symbol") != 0) return;
  if (jqqval(nsym, 0, kSymbolCount - 1) != 0) return;
  draw_symbol(nsym, static_cast<float>(nx), static_cast<float>(ny),
              static_cast<float>(g_curve.symbol_size));
} catch (...) {
  api_failure();
}

extern "C" void rlsymb(int nsym, float x, float y) try {
  const ApiCall call;
  if (jqqlev(2, 3, "rlsymb") != 0) return;
  if (jqqval(nsym, 0, kSymbolCount - 1) != 0) return;
  if (!inside_scaling(x, y)) {
    chkscl(&x, &y, 1);
    return;
  }
  user_to_page(x, y);
  sclpax(0);
  draw_symbol(nsym, x, y, static_cast<float>(g_curve.symbol_size));
  sclpax(1);
} catch (...) {
  api_failure();
}

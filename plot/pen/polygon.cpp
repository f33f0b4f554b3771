// Filled polygons (see polygon.h): Sutherland and Hodgman's clipping at the four sides of
// the window, then the device's fill or the covering strokes.
#include "pen/polygon.h"

#include <algorithm>
#include <cmath>

#include "devices/device_table.h"
#include "devices/pen_codes.h"
#include "pen/pen.h"
#include "records/state.h"

namespace stylus {
namespace {

// One side of the window: inside(p) and the crossing of the segment a -> b with it.
template <class Inside, class Cross>
std::vector<PolygonPoint> clip_side(const std::vector<PolygonPoint>& in, Inside inside,
                                    Cross cross) {
  std::vector<PolygonPoint> out;
  const std::size_t n = in.size();
  for (std::size_t i = 0; i < n; ++i) {
    const PolygonPoint a = in[(i + n - 1) % n], b = in[i];
    const bool ia = inside(a), ib = inside(b);
    if (ib) {
      if (!ia) out.push_back(cross(a, b));
      out.push_back(b);
    } else if (ia) {
      out.push_back(cross(a, b));
    }
  }
  return out;
}

// The point of a -> b at x = c (at y = c for the horizontal sides), computed in double.
PolygonPoint at_x(PolygonPoint a, PolygonPoint b, float c) {
  const double t = (static_cast<double>(c) - a.x) / (static_cast<double>(b.x) - a.x);
  return {c, static_cast<float>(a.y + t * (static_cast<double>(b.y) - a.y))};
}
PolygonPoint at_y(PolygonPoint a, PolygonPoint b, float c) {
  const double t = (static_cast<double>(c) - a.y) / (static_cast<double>(b.y) - a.y);
  return {static_cast<float>(a.x + t * (static_cast<double>(b.x) - a.x)), c};
}

}  // namespace

std::vector<PolygonPoint> clip_polygon(const ClipWindow& w, const float* x, const float* y, int n) {
  std::vector<PolygonPoint> p;
  for (int i = 0; i < n; ++i) {
    if (!std::isfinite(x[i]) || !std::isfinite(y[i])) return {};
    p.push_back({x[i], y[i]});
  }
  const float left = static_cast<float>(w.left), right = static_cast<float>(w.right);
  const float top = static_cast<float>(w.top), bottom = static_cast<float>(w.bottom);
  p = clip_side(
      p, [&](PolygonPoint q) { return q.x >= left; },
      [&](PolygonPoint a, PolygonPoint b) { return at_x(a, b, left); });
  p = clip_side(
      p, [&](PolygonPoint q) { return q.x <= right; },
      [&](PolygonPoint a, PolygonPoint b) { return at_x(a, b, right); });
  p = clip_side(
      p, [&](PolygonPoint q) { return q.y >= top; },
      [&](PolygonPoint a, PolygonPoint b) { return at_y(a, b, top); });
  p = clip_side(
      p, [&](PolygonPoint q) { return q.y <= bottom; },
      [&](PolygonPoint a, PolygonPoint b) { return at_y(a, b, bottom); });
  if (p.size() < 3) p.clear();
  return p;
}

std::vector<CoverStroke> cover_polygon(const std::vector<PolygonPoint>& p, float step) {
  std::vector<CoverStroke> strokes;
  const std::size_t n = p.size();
  if (n < 3 || !(step > 0.0f)) return strokes;
  float top = p[0].y, bottom = p[0].y;
  for (const PolygonPoint& q : p) {
    top = std::min(top, q.y);
    bottom = std::max(bottom, q.y);
  }
  std::vector<float> cross;
  bool forward = true;
  const double rows = (static_cast<double>(bottom) - top) / step;
  for (int k = 0; k < rows - 0.5; ++k) {
    // Each row from the top, not by adding steps, so that rounding does not pile up.
    const float y = top + (static_cast<float>(k) + 0.5f) * step;
    cross.clear();
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
      const PolygonPoint a = p[j], b = p[i];
      // An edge counts from its upper end up to but without its lower end, so that a
      // vertex where two edges meet is crossed once.
      if ((a.y <= y && y < b.y) || (b.y <= y && y < a.y)) cross.push_back(at_y(a, b, y).x);
    }
    std::sort(cross.begin(), cross.end());
    const std::size_t m = cross.size() / 2;
    for (std::size_t s = 0; s < m; ++s) {
      const std::size_t r = forward ? s : m - 1 - s;
      const float xa = cross[2 * r], xb = cross[2 * r + 1];
      strokes.push_back(forward ? CoverStroke{xa, xb, y} : CoverStroke{xb, xa, y});
    }
    forward = !forward;
  }
  return strokes;
}

void fill_polygon(const float* x, const float* y, int n) {
  qqstrk();
  if (n < 3) return;
  const std::vector<PolygonPoint> p = clip_polygon(g_clip.window(), x, y, n);
  if (p.empty()) return;
  Driver* driver = current_driver();
  const DeviceClass cls = current_device().cls;
  if (driver != nullptr && cls != DeviceClass::kNone) {
    std::vector<DevicePoint> device;
    for (const PolygonPoint& q : p)
      device.push_back(device_point(cls, q.x, q.y, current_geometry()));
    if (driver->polygon(device.data(), static_cast<int>(device.size()))) {
      g_ivray.n_vectors += static_cast<int>(device.size());
      return;
    }
  }
  for (const CoverStroke& s : cover_polygon(p, kCoverStep)) {
    xjdraw(s.xa, s.y, kPenMove);
    xjdraw(s.xb, s.y, kPenDraw);
  }
}

}  // namespace stylus

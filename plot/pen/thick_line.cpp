// Centre line and outlines of one polyline buffer, clipped to a rectangular window. A line
// of width w is drawn as its centre line plus (w + 1) div 3 closed outlines about it.
#include "pen/thick_line.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "devices/driver.h"

namespace stylus {

std::vector<float> outline_distances(int line_width) {
  std::vector<float> d;
  if (line_width < 2) return d;
  const int n = (line_width + 1) / 3;
  for (int i = 1; i <= n; ++i) {
    d.push_back(i == n ? static_cast<float>(line_width) / 2.0f : 1.5f * static_cast<float>(i));
  }
  return d;
}

bool Stroker::stroke(const float* x, const float* y, int count, int line_width) {
  if (count <= 0) return false;
  if (fill_wide_ && line_width > kOutlinedWidthLimit && count >= 2 &&
      band_is_cheaper(x, y, count, line_width)) {
    return wide_line(x, y, count, line_width, Directions(x, y, count));
  }
  centre_line(x, y, count);
  if (line_width < 2 || count < 2) return false;
  const Directions dir(x, y, count);
  // Only the outlines that can reach the window are drawn: the others would be clipped
  // away whole, and a very wide line has thousands of them.
  const DistanceRange seen = reaching_distances(x, y, count, dir);
  // Outline i lies at 1.5 i points, the last one at half the width (outline_distances).
  // Square caps: the ends are extended by the outline's own distance.
  const int n = (line_width + 1) / 3;
  const int first = std::max(1, static_cast<int>(std::min(seen.lo / 1.5f, 1e9f)));
  for (int i = first; i < n; ++i) {
    const float d = 1.5f * static_cast<float>(i);
    if (d > seen.hi) break;
    if (d >= seen.lo) outline(x, y, count, d, d, dir);
  }
  const float last = static_cast<float>(line_width) / 2.0f;
  if (last >= seen.lo && last <= seen.hi) outline(x, y, count, last, last, dir);
  return false;
}

Stroker::DistanceRange Stroker::reaching_distances(const float* x, const float* y, int count,
                                                   const Directions& dir) const {
  constexpr float kAll = std::numeric_limits<float>::max();
  double x_min = x[0], x_max = x[0], y_min = y[0], y_max = y[0], far = 0.0;
  for (int i = 0; i < count; ++i) {
    if (!std::isfinite(x[i]) || !std::isfinite(y[i])) return {0.0f, kAll};
    x_min = std::min<double>(x_min, x[i]);
    x_max = std::max<double>(x_max, x[i]);
    y_min = std::min<double>(y_min, y[i]);
    y_max = std::max<double>(y_max, y[i]);
    far =
        std::max({far, std::fabs(static_cast<double>(x[i])), std::fabs(static_cast<double>(y[i]))});
  }
  // Room for the rounding of the outline's float corners (a point, more far out).
  const double kMargin = 1.0 + 1e-5 * far;
  const double left = window_.left, right = window_.right;
  const double top = window_.top, bottom = window_.bottom;
  // Every point of an outline at distance d lies within d of the polyline across it and
  // within d beyond its ends (the caps): within d * sqrt 2 of a point of the polyline, so
  // within that of its bounding box in either coordinate.
  const double gap = std::max({left - x_max, x_min - right, top - y_max, y_min - bottom, 0.0});
  DistanceRange r{static_cast<float>(std::max(0.0, (gap - kMargin) / std::sqrt(2.0))), kAll};
  if (count == 2) {
    // The outline of one segment is the rectangle u in [-d, L + d], |v| <= d about it (u
    // along the segment, v across): once the rectangle holds the whole window inside, it
    // runs round the window without touching it.
    const Direction d = dir(0, 1);
    const double c = d.c, s = d.s;
    const double len =
        (static_cast<double>(x[1]) - x[0]) * c - (static_cast<double>(y[1]) - y[0]) * s;
    double need = 0.0;
    for (double wx : {left, right}) {
      for (double wy : {top, bottom}) {
        const double u = (wx - x[0]) * c - (wy - y[0]) * s;
        const double v = -(wx - x[0]) * s - (wy - y[0]) * c;
        need = std::max({need, std::fabs(v), -u, u - len});
      }
    }
    r.hi = static_cast<float>(need + kMargin);
  }
  return r;
}

Stroker::Directions::Directions(const float* x, const float* y, int count) : x_(x), y_(y) {
  angles_.reserve(static_cast<std::size_t>(count > 1 ? count - 1 : 0));
  for (int i = 0; i + 1 < count; ++i)
    angles_.push_back(segment_angle(x[i], y[i], x[i + 1], y[i + 1]));
}

Direction Stroker::Directions::operator()(int a, int b) const {
  if (b == a + 1) return angles_[static_cast<std::size_t>(a)].direction();
  if (a == b + 1)
    return reverse_direction(angles_[static_cast<std::size_t>(b)], x_[b], y_[b], x_[a], y_[a]);
  return segment_direction(x_[a], y_[a], x_[b], y_[b]);
}

void Stroker::centre_line(const float* x, const float* y, int count) {
  if (count <= 0) return;
  bool outside = window_.outside(x[0], y[0]);
  if (!outside) emit(x[0], y[0], kPenMove);
  for (int i = 1; i < count; ++i) {
    // Once a point has been outside, every further segment goes through the clipper.
    if (!outside) {
      outside = window_.outside(x[i], y[i]);
      if (!outside) {
        emit(x[i], y[i], kPenDraw);
        continue;
      }
    }
    clip(x[i - 1], y[i - 1], x[i], y[i]);
  }
}

void Stroker::clip(float x1, float y1, float x2, float y2) {
  // Most segments lie wholly inside: no cut, no move (what clip_segment finds as well; a
  // NaN coordinate counts as outside and takes the full path).
  if (!window_.outside(x1, y1) && !window_.outside(x2, y2)) {
    emit(x2, y2, kPenDraw);
    return;
  }
  const ClippedSegment seg = clip_segment(window_, x1, y1, x2, y2);
  if (!seg.visible) return;
  if (seg.move) emit(seg.x1, seg.y1, kPenMove);
  emit(seg.x2, seg.y2, kPenDraw);
}

void Stroker::send_if_inside(Point p, int pen) {
  if (!window_.outside(p.x, p.y)) emit(p.x, p.y, pen);
}

void Stroker::outline(const float* x, const float* y, int count, float d, float e) {
  if (count < 2) return;
  outline(x, y, count, d, e, Directions(x, y, count));
}

void Stroker::outline(const float* x, const float* y, int count, float d, float e,
                      const Directions& dir) {
  if (count == 2) {
    rectangle(x, y, d, e, dir);
    return;
  }
  const int last = count - 1;
  const bool closed = std::fabs(x[0] - x[last]) < 0.5f && std::fabs(y[0] - y[last]) < 0.5f;
  Point start{x[0], y[0]};
  pass(x, y, count, d, e, closed, +1, start, dir);
  const Point end = pass(x, y, count, d, e, closed, -1, start, dir);
  // Open line: closes the outline across the near end. Closed ring: a zero-length segment
  // at the start of the second ring.
  clip(end.x, end.y, start.x, start.y);
}

void Stroker::rectangle(const float* x, const float* y, float d, float e,
                        const Directions& directions) {
  const Direction dir = directions(0, 1);
  const float s = dir.s, c = dir.c;
  const Point r1{x[0] - e * c - d * s, y[0] + e * s - d * c};
  const Point r2{x[1] + e * c - d * s, y[1] - e * s - d * c};
  const Point r3{x[1] + e * c + d * s, y[1] - e * s + d * c};
  const Point r4{x[0] - e * c + d * s, y[0] + e * s + d * c};
  send_if_inside(r1, kPenMove);
  clip(r1.x, r1.y, r2.x, r2.y);
  clip(r2.x, r2.y, r3.x, r3.y);
  clip(r3.x, r3.y, r4.x, r4.y);
  clip(r4.x, r4.y, r1.x, r1.y);
}

Stroker::Point Stroker::pass(const float* x, const float* y, int count, float d, float e,
                             bool closed, int step, Point& start, const Directions& directions) {
  int k = step > 0 ? 1 : count - 2;
  const int v = step > 0 ? count - 2 : 1;
  // The previous offset segment S-E, which the first corner joins.
  Point s_pt, e_pt;
  if (!closed) {
    const int p = k - step;
    const Direction dir = directions(p, k);
    s_pt = {x[p] - e * dir.c - d * dir.s, y[p] + e * dir.s - d * dir.c};
    e_pt = {x[k] - d * dir.s, y[k] - d * dir.c};
    if (step > 0) start = s_pt;
    // The backward pass draws from the forward pass's end across the far cap.
    send_if_inside(s_pt, step > 0 ? kPenMove : kPenDraw);
  } else {
    k -= step;
    const Direction dir = directions(v, k);
    s_pt = {x[v] - d * dir.s, y[v] - d * dir.c};
    e_pt = {x[k] - d * dir.s, y[k] - d * dir.c};
  }
  Direction dir{0.0f, 1.0f};
  for (int j = k;; j += step) {
    const int q = j + step;
    dir = directions(j, q);
    const Point qs{x[j] - d * dir.s, y[j] - d * dir.c};
    const Point qe{x[q] - d * dir.s, y[q] - d * dir.c};
    if (closed && j == k) {
      start = e_pt;
      send_if_inside(e_pt, kPenMove);
      clip(e_pt.x, e_pt.y, qs.x, qs.y);
    } else {
      clip(s_pt.x, s_pt.y, e_pt.x, e_pt.y);
      clip(e_pt.x, e_pt.y, qs.x, qs.y);  // the bevel
    }
    s_pt = qs;
    e_pt = qe;
    if (j == v) break;
  }
  if (closed) {
    clip(s_pt.x, s_pt.y, start.x, start.y);
    return start;
  }
  // The end of the last offset segment, extended forwards by e.
  const int w = v + step;
  const Point t{x[w] + e * dir.c - d * dir.s, y[w] - e * dir.s - d * dir.c};
  clip(s_pt.x, s_pt.y, t.x, t.y);
  return t;
}

}  // namespace stylus

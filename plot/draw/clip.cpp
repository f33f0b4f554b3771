// Page-coordinate geometry of the clip stage: region codes, cuts at a window border, line
// intersection and segment direction. Pure functions of their arguments.
#include "draw/clip.h"

#include <cmath>

namespace stylus {

int chkval(float x, float y, int& cx, int& cy, float xmin, float ymin, float xmax, float ymax) {
  cx = 2;
  if (x < xmin) {
    cx = 1;
  } else if (x > xmax) {
    cx = 3;
  }
  cy = 2;
  if (y < ymin) {
    cy = 1;
  } else if (y > ymax) {
    cy = 3;
  }
  return (cx != 2 ? 1 : 0) + (cy != 2 ? 1 : 0);
}

float xcut(float x1, float y1, float x2, float y2, float yc) {
  if (std::fabs(y1 - y2) < kSmallestMagnitude) return x1;
  return x1 + (yc - y1) * (x2 - x1) / (y2 - y1);
}

float ycut(float x1, float y1, float x2, float y2, float xc) {
  if (std::fabs(x1 - x2) < kSmallestMagnitude) return y1;
  return y1 + (xc - x1) * (y2 - y1) / (x2 - x1);
}

int qqcut2(const float xa[2], const float ya[2], const float xb[2], const float yb[2], float& xs,
           float& ys) {
  const float dxa = xa[1] - xa[0];
  const float dya = ya[1] - ya[0];
  const float dxb = xb[1] - xb[0];
  const float dyb = yb[1] - yb[0];
  const float den = dxa * dyb - dya * dxb;
  if (!(std::fabs(den) >= kSmallestMagnitude)) return 0;
  const float t = ((xb[0] - xa[0]) * dyb - (yb[0] - ya[0]) * dxb) / den;
  xs = xa[0] + t * dxa;
  ys = ya[0] + t * dya;
  return 1;
}

float qqatan(float y, float x) {
  if (std::fabs(x) > 1.0e-6f) {
    return static_cast<float>(std::atan2(static_cast<double>(y), static_cast<double>(x)));
  }
  return y >= 0.0f ? 1.570796f : -1.570796f;
}

Direction segment_direction(float xp, float yp, float xq, float yq) {
  const double theta = qqatan(yp - yq, xq - xp);
  return {static_cast<float>(std::sin(theta)), static_cast<float>(std::cos(theta))};
}

namespace {

// A well-formed window resolves every segment in at most four cuts per end; the bound only
// guards against a pathological window or rounding ping-pong.
constexpr int kMaxCuts = 16;

}  // namespace

ClippedSegment clip_segment(const ClipWindow& w, float x1, float y1, float x2, float y2) {
  const float left = static_cast<float>(w.left);
  const float top = static_cast<float>(w.top);
  const float right = static_cast<float>(w.right);
  const float bottom = static_cast<float>(w.bottom);
  ClippedSegment out{false, false, x1, y1, x2, y2};
  for (int cuts = 0;; ++cuts) {
    if (std::isnan(x1) || std::isnan(y1) || std::isnan(x2) || std::isnan(y2)) return out;
    int cx1, cy1, cx2, cy2;
    const int out1 = chkval(x1, y1, cx1, cy1, left, top, right, bottom);
    const int out2 = chkval(x2, y2, cx2, cy2, left, top, right, bottom);
    if (out1 == 0 && out2 == 0) break;
    if ((cx1 == cx2 && cx1 != 2) || (cy1 == cy2 && cy1 != 2)) return out;
    if (cuts == kMaxCuts) return out;
    const bool first = out1 != 0;
    if (first) out.move = true;
    const int cx = first ? cx1 : cx2;
    const int cy = first ? cy1 : cy2;
    float x, y;
    if (cx == 1) {
      x = left;
      y = ycut(x1, y1, x2, y2, left);
    } else if (cx == 3) {
      x = right;
      y = ycut(x1, y1, x2, y2, right);
    } else if (cy == 1) {
      x = xcut(x1, y1, x2, y2, top);
      y = top;
    } else {
      x = xcut(x1, y1, x2, y2, bottom);
      y = bottom;
    }
    if (first) {
      x1 = x;
      y1 = y;
    } else {
      x2 = x;
      y2 = y;
    }
  }
  out.visible = true;
  out.x1 = x1;
  out.y1 = y1;
  out.x2 = x2;
  out.y2 = y2;
  return out;
}

}  // namespace stylus

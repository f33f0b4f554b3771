// Page-coordinate geometry of the clip stage: region codes, cuts at a window border, line
// intersection and segment direction. Pure functions of their arguments.
#include "pen/clip.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

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

float qqatan(float y, float x) {
  if (std::fabs(x) > 1.0e-6f) {
    return static_cast<float>(std::atan2(static_cast<double>(y), static_cast<double>(x)));
  }
  return y >= 0.0f ? 1.570796f : -1.570796f;
}

// The steps of qqatan, keeping the double atan2 and the sine and cosine.
SegmentAngle segment_angle(float xp, float yp, float xq, float yq) {
  const float y = yp - yq, x = xq - xp;
  SegmentAngle a;
  if (std::fabs(x) > 1.0e-6f) {
    a.atan2 = std::atan2(static_cast<double>(y), static_cast<double>(x));
    a.theta = static_cast<float>(a.atan2);
  } else {
    a.atan2 = std::numeric_limits<double>::quiet_NaN();
    a.theta = y >= 0.0f ? 1.570796f : -1.570796f;
  }
  const double theta = a.theta;
  a.sin = std::sin(theta);
  a.cos = std::cos(theta);
  return a;
}

Direction segment_direction(float xp, float yp, float xq, float yq) {
  const SegmentAngle a = segment_angle(xp, yp, xq, yq);
  return {static_cast<float>(a.sin), static_cast<float>(a.cos)};
}

namespace {

constexpr double kPiHigh = 0x1.921fb54442d18p1;   // pi rounded to double
constexpr double kPiLow = 0x1.1a62633145c07p-53;  // pi - kPiHigh

// True, with the float in f, when every number within bound of v rounds to one float.
bool rounds_surely(double v, double bound, float& f) {
  const float lo = static_cast<float>(v - bound), hi = static_cast<float>(v + bound);
  if (std::bit_cast<std::uint32_t>(lo) != std::bit_cast<std::uint32_t>(hi)) return false;
  f = lo;
  return true;
}

// a + b = s + e exactly (Knuth).
void two_sum(double a, double b, double& s, double& e) {
  s = a + b;
  const double bv = s - a;
  e = (a - (s - bv)) + (b - bv);
}

}  // namespace

// The reverse of a segment with y = yp - yq != 0 and |x| = |xq - xp| > 1e-6 turns the exact
// angle by pi: t' = t - sg pi, sg the sign of y (its differences are exact negations). The
// library's atan2, sin and cos are within an ulp of the exact values (its documented
// bound), so:
// - t' is known from the library's t to 2^-51 of |t| + |t'|; its float is sure when the
//   whole interval of 2^-50 rounds to one float;
// - with e = theta' - theta + sg pi (exact but for the last bits, two_sum), the float angles
//   differ by e from the exact reverse, so sin theta' = -sin(theta + e) =
//   -(sin theta cos e + cos theta sin e) and likewise the cosine, from the library's sine and
//   cosine of theta to a few ulps of the terms; each is sure when its interval of 2^-48 of
//   those terms rounds to one float.
// Whatever is not sure is computed as segment_direction does.
Direction reverse_direction(const SegmentAngle& a, float xp, float yp, float xq, float yq) {
  const float y = yp - yq;
  float theta;
  if (y == 0.0f || !std::isfinite(a.atan2)) return segment_direction(xq, yq, xp, yp);
  const double sg = y > 0.0f ? 1.0 : -1.0;
  const double t = (a.atan2 - sg * kPiHigh) - sg * kPiLow;
  if (!rounds_surely(t, (std::fabs(a.atan2) + std::fabs(t)) * 0x1p-50, theta))
    return segment_direction(xq, yq, xp, yp);
  double s1, e1, s2, e2;
  two_sum(static_cast<double>(theta), sg * kPiHigh, s1, e1);
  two_sum(s1, -static_cast<double>(a.theta), s2, e2);
  const double e = s2 + ((e1 + e2) + sg * kPiLow);
  const double ee = e * e;
  const double cos_e = 1.0 - 0.5 * ee, sin_e = e - e * (ee * (1.0 / 6.0));
  const double sin_r = -(a.sin * cos_e + a.cos * sin_e);
  const double cos_r = -(a.cos * cos_e - a.sin * sin_e);
  const double spread = std::fabs(a.sin) + std::fabs(a.cos * e);
  const double spread_c = std::fabs(a.cos) + std::fabs(a.sin * e);
  Direction d;
  if (!rounds_surely(sin_r, (spread + std::fabs(sin_r)) * 0x1p-48 + 0x1p-100, d.s))
    d.s = static_cast<float>(std::sin(static_cast<double>(theta)));
  if (!rounds_surely(cos_r, (spread_c + std::fabs(cos_r)) * 0x1p-48 + 0x1p-100, d.c))
    d.c = static_cast<float>(std::cos(static_cast<double>(theta)));
  return d;
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

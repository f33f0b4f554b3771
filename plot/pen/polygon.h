// Filled polygons in page coordinates: the part inside the clip window, handed to the
// device's own fill, or covered with strokes on a device that has none (printers, plotters,
// text metafiles).
#pragma once

#include <vector>

#include "pen/clip.h"

namespace stylus {

// The distance in points (0.1 mm) between the strokes that cover a polygon on a device
// without a fill of its own: close enough that a pen or a printer dot leaves no gap.
inline constexpr float kCoverStep = 1.0f;

struct PolygonPoint {
  float x, y;
};

// The part of the polygon (x[i], y[i]), i < n, that lies inside the window, as a polygon
// (empty when none of it does, or when a coordinate is not a number).
std::vector<PolygonPoint> clip_polygon(const ClipWindow& w, const float* x, const float* y, int n);

// A horizontal stroke from (xa, y) to (xb, y).
struct CoverStroke {
  float xa, xb, y;
};
// The strokes that cover the polygon: one every step points, the first half a step below
// its top, each from one edge crossing to the next; they run in turn from left to right
// and from right to left, so that a plotter's pen zigzags.
std::vector<CoverStroke> cover_polygon(const std::vector<PolygonPoint>& p, float step);

// Fills the polygon of page points (the page offset included, as for xmove) in the current
// colour: the pending line is stroked first, then the part inside the clip window goes to
// the device, or is covered with strokes through xjdraw. Every vertex sent counts as one
// vector.
void fill_polygon(const float* x, const float* y, int n);

}  // namespace stylus

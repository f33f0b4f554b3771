// The pixels that a raster fill of a polygon paints. The raster devices and the screen
// windows share it, so that a filled symbol looks the same in an image file and on the
// screen.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

namespace stylus {

// Calls span(row, first, last) for every run of pixels first..last of a row lo..hi that
// lies inside the polygon of n vertices (x[i], y[i]) in pixels: a pixel is inside when an
// odd number of edges cross its row left of or at its centre. An edge counts for the rows
// from its upper end up to but without its lower end, so that a vertex where two edges
// meet is counted once; the lowest row of a polygon is left to its outline.
template <class Span>
void scan_polygon(const int* x, const int* y, int n, int lo, int hi, Span&& span) {
  if (n < 3) return;
  const auto [ymin, ymax] = std::minmax_element(y, y + n);
  lo = std::max(lo, *ymin);
  hi = std::min(hi, *ymax);
  std::vector<double> cross;
  for (int row = lo; row <= hi; ++row) {
    cross.clear();
    for (int i = 0, j = n - 1; i < n; j = i++) {
      const int top = std::min(y[i], y[j]), bottom = std::max(y[i], y[j]);
      if (row < top || row >= bottom) continue;
      const double t = static_cast<double>(row - y[j]) / static_cast<double>(y[i] - y[j]);
      cross.push_back(x[j] + t * (static_cast<double>(x[i]) - x[j]));
    }
    std::sort(cross.begin(), cross.end());
    for (std::size_t k = 0; k + 1 < cross.size(); k += 2) {
      const double first = std::ceil(cross[k]), last = std::floor(cross[k + 1]);
      if (first <= last) span(row, static_cast<int>(first), static_cast<int>(last));
    }
  }
}

}  // namespace stylus

// The virtual raster as an object: size, row padding and the size check, the line rule
// pixel for pixel, and pixels and fills at the raster's edges.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "devices/virtual_raster.h"
#include "support/stdout_capture.h"

namespace stylus {
namespace {

// One pixel of the raster; 0 outside it.
int pixel(const VirtualRaster& v, int x, int y) {
  if (x < 0 || y < 0 || x >= v.width() || y >= v.height()) return 0;
  return v.row(y)[x];
}

void erase(VirtualRaster& v) {
  v.qqvfll(0, 0, v.width() - 1, v.height() - 1, 0);
}

using Pixels = std::set<std::pair<int, int>>;

// The pixels that are not 0.
Pixels lit(const VirtualRaster& v) {
  Pixels p;
  for (int y = 0; y < v.height(); ++y)
    for (int x = 0; x < v.width(); ++x)
      if (pixel(v, x, y) != 0) p.insert({x, y});
  return p;
}

TEST(VirtualRaster, SizeRowPaddingAndTheSizeCheck) {
  VirtualRaster v;
  int w = 0, h = 0;
  v.qqvini(2099, 2969, w, h, 0);  // portrait page
  EXPECT_EQ(std::make_pair(w, h), std::make_pair(603, 853));
  EXPECT_EQ(v.row_bytes(), 604);
  w = 852, h = 2000;
  v.qqvini(2969, 2099, w, h, 1);
  EXPECT_EQ(std::make_pair(v.width(), v.height()), std::make_pair(852, 2000));
  EXPECT_EQ(v.row_bytes(), 852);
  StdoutCapture out;
  for (auto [bw, bh] : {std::pair{9, 100}, {100, 2001}}) {
    w = bw, h = bh;
    out.start();
    v.qqvini(2969, 2099, w, h, 1);
    EXPECT_EQ(out.text(), " >>>> Bad size of virtual device\n");
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(853, 603));
  }
}

TEST(VirtualRaster, LineRuleAndEdges) {
  VirtualRaster v;
  int w = 10, h = 10;
  v.qqvini(2969, 2099, w, h, 1);
  v.qqvclr(256 + 9);  // the low byte is stored
  // The minor step comes when the error exceeds the major extent, not when it reaches it.
  v.qqvlin(0, 0, 5, 2);
  EXPECT_EQ(lit(v), (Pixels{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 2}}));
  EXPECT_EQ(pixel(v, 5, 2), 9);
  erase(v);
  v.qqvlin(2, 5, 0, 0);  // steep, upwards
  EXPECT_EQ(lit(v), (Pixels{{2, 5}, {2, 4}, {1, 3}, {1, 2}, {1, 1}, {0, 0}}));
  erase(v);
  v.qqvlin(5, 3, 5, 3);
  EXPECT_EQ(lit(v), (Pixels{{5, 3}}));
  erase(v);
  v.qqvlin(7, 3, 2, 3);
  EXPECT_EQ(lit(v), (Pixels{{2, 3}, {3, 3}, {4, 3}, {5, 3}, {6, 3}, {7, 3}}));
  erase(v);

  for (auto [x, y] : {std::pair{-1, 0}, {10, 0}, {0, 10}}) {
    v.qqvwpx(x, y, 5);
    EXPECT_EQ(pixel(v, x, y), 0);
  }
  v.qqvfll(3, 4, 1, 2, 6);  // corners in any order, both edges included
  v.qqvfll(9, 9, 30, 30, 1);
  EXPECT_EQ(
      lit(v),
      (Pixels{{1, 2}, {2, 2}, {3, 2}, {1, 3}, {2, 3}, {3, 3}, {1, 4}, {2, 4}, {3, 4}, {9, 9}}));
  EXPECT_EQ(v.row(9)[10], 0);  // the padding stays 0
}

}  // namespace
}  // namespace stylus

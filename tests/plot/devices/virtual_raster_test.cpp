// The virtual raster as an object: its size and row padding, the size-option check, the
// line rule pixel for pixel, and the pixel, fill and erase operations at the edges.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "devices/virtual_raster.h"
#include "support/stdout_capture.h"

namespace stylus {
namespace {

using Pixels = std::set<std::pair<int, int>>;

// The pixels that are not 0.
Pixels lit(const VirtualRaster& v) {
  Pixels p;
  for (int y = 0; y < v.height(); ++y)
    for (int x = 0; x < v.width(); ++x)
      if (v.qqvrpx(x, y) != 0) p.insert({x, y});
  return p;
}

VirtualRaster raster(int w = 20, int h = 20) {
  VirtualRaster v;
  v.qqvini(2969, 2099, w, h, 1);
  v.qqvclr(9);
  return v;
}

TEST(VirtualRaster, SizeRowPaddingAndTheSizeCheck) {
  VirtualRaster v;
  int w = 0, h = 0;
  v.qqvini(2969, 2099, w, h, 0);
  EXPECT_EQ(std::make_pair(w, h), std::make_pair(853, 603));
  EXPECT_EQ(v.row_bytes(), 856);
  v.qqvini(2099, 2969, w, h, 0);
  EXPECT_EQ(std::make_pair(w, h), std::make_pair(603, 853));
  EXPECT_EQ(v.row_bytes(), 604);
  w = 852, h = 10;
  v.qqvini(2969, 2099, w, h, 1);
  EXPECT_EQ(v.width(), 852);
  EXPECT_EQ(v.row_bytes(), 852);
  EXPECT_EQ(v.height(), 10);

  StdoutCapture out;
  for (auto [bw, bh] : {std::pair{9, 100}, {100, 2001}}) {
    w = bw, h = bh;
    out.start();
    v.qqvini(2969, 2099, w, h, 1);
    EXPECT_EQ(out.text(), " >>>> Bad size of virtual device\n");
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(853, 603));
  }
  w = 10, h = 2000;
  out.start();
  v.qqvini(2969, 2099, w, h, 1);
  EXPECT_EQ(out.text(), "");
  EXPECT_EQ(v.height(), 2000);
}

TEST(VirtualRaster, LineRule) {
  // The minor step comes when the error exceeds the major extent, not when it reaches it.
  VirtualRaster v = raster();
  v.qqvlin(0, 0, 5, 2);
  EXPECT_EQ(lit(v), (Pixels{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 2}}));
  v.qqvers();
  v.qqvlin(2, 5, 0, 0);  // steep, drawn upwards
  EXPECT_EQ(lit(v), (Pixels{{2, 5}, {2, 4}, {1, 3}, {1, 2}, {1, 1}, {0, 0}}));
  v.qqvers();
  v.qqvlin(5, 3, 5, 3);
  EXPECT_EQ(lit(v), (Pixels{{5, 3}}));
  v.qqvers();
  v.qqvlin(7, 3, 2, 3);
  EXPECT_EQ(lit(v), (Pixels{{2, 3}, {3, 3}, {4, 3}, {5, 3}, {6, 3}, {7, 3}}));
  EXPECT_EQ(v.qqvrpx(4, 3), 9);
}

TEST(VirtualRaster, PixelsFillAndEraseKeepToTheRaster) {
  VirtualRaster v = raster(10, 10);
  v.qqvwpx(-1, 0, 5);
  v.qqvwpx(10, 0, 5);
  v.qqvwpx(0, 10, 5);
  EXPECT_TRUE(lit(v).empty());
  EXPECT_EQ(v.qqvrpx(-1, 0), 0);
  EXPECT_EQ(v.qqvrpx(0, 10), 0);
  v.qqvwpx(9, 9, 256 + 7);  // the low byte
  EXPECT_EQ(v.qqvrpx(9, 9), 7);
  EXPECT_EQ(v.row(9)[10], 0);  // the padding stays 0
  v.qqvers();
  v.qqvfll(3, 4, 1, 2, 6);  // corners in any order, both edges included
  EXPECT_EQ(lit(v),
            (Pixels{{1, 2}, {2, 2}, {3, 2}, {1, 3}, {2, 3}, {3, 3}, {1, 4}, {2, 4}, {3, 4}}));
  v.qqvfll(8, 8, 30, 30, 1);  // clipped to the raster
  EXPECT_EQ(lit(v).size(), 9u + 4u);
  v.qqvers();
  EXPECT_TRUE(lit(v).empty());
}

}  // namespace
}  // namespace stylus

// The virtual raster (see virtual_raster.h).
#include "devices/virtual_raster.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "devices/polygon_scan.h"

namespace stylus {

void VirtualRaster::qqvini(int page_w, int page_h, int& width, int& height, int option) {
  const bool bad = width < kMinSize || width > kMaxSize || height < kMinSize || height > kMaxSize;
  if (option != 0 && bad) {
    std::printf(" >>>> Bad size of virtual device\n");
  }
  if (option == 0 || bad) {
    width = page_w > page_h ? kDefaultLong : kDefaultShort;
    height = page_w > page_h ? kDefaultShort : kDefaultLong;
  }
  nbytes_ = width;
  nwidth_ = (width + 3) / 4 * 4;
  nheight_ = height;
  try {
    cvirt_.assign(static_cast<std::size_t>(nwidth_) * static_cast<std::size_t>(nheight_), 0);
  } catch (const std::bad_alloc&) {
    // Without its raster the device cannot draw at all: the message, and the session start
    // goes on without the device (warning 53).
    std::printf(" >>>> Not enough memory for virtual device\n");
    qqvfin();
    throw;
  }
}

void VirtualRaster::qqvlin(int x1, int y1, int x2, int y2) {
  const unsigned char c = static_cast<unsigned char>(nclr_ & 0xFF);
  if (x1 == x2 && y1 == y2) {  // the most common line of a dense curve
    qqvwpx(x1, y1, nclr_);
    return;
  }
  if (y1 == y2) {
    // The pixels x1 to x2 of the row, whichever way the line runs.
    if (y1 < 0 || y1 >= nheight_) return;
    const int xa = std::max(std::min(x1, x2), 0), xb = std::min(std::max(x1, x2), nbytes_ - 1);
    if (xa <= xb) std::memset(pixel(xa, y1), c, static_cast<std::size_t>(xb - xa + 1));
    return;
  }
  // Every pixel of the line lies in the rectangle of its ends: with both ends inside, no
  // pixel needs its own test.
  if (inside(x1, y1) && inside(x2, y2)) {
    bresenham(x1, y1, x2, y2, [&](int x, int y) { *pixel(x, y) = c; });
  } else {
    bresenham(x1, y1, x2, y2, [&](int x, int y) { qqvwpx(x, y, nclr_); });
  }
}

void VirtualRaster::qqvfll(int x1, int y1, int x2, int y2, int ncol) {
  const int xa = std::max(std::min(x1, x2), 0), xb = std::min(std::max(x1, x2), nbytes_ - 1);
  const int ya = std::max(std::min(y1, y2), 0), yb = std::min(std::max(y1, y2), nheight_ - 1);
  for (int y = ya; y <= yb; ++y)
    for (int x = xa; x <= xb; ++x) qqvwpx(x, y, ncol);
}

void VirtualRaster::qqvpol(const int* x, const int* y, int n) {
  const unsigned char c = static_cast<unsigned char>(nclr_ & 0xFF);
  scan_polygon(x, y, n, 0, nheight_ - 1, [&](int row, int first, int last) {
    const int xa = std::max(first, 0), xb = std::min(last, nbytes_ - 1);
    if (xa <= xb) std::memset(pixel(xa, row), c, static_cast<std::size_t>(xb - xa + 1));
  });
}

void VirtualRaster::qqvwpx(int x, int y, int ncol) {
  if (!inside(x, y)) return;
  *pixel(x, y) = static_cast<unsigned char>(ncol & 0xFF);
}

void VirtualRaster::qqvfin() {
  std::vector<unsigned char>().swap(cvirt_);
  nbytes_ = nheight_ = nwidth_ = 0;
}

const unsigned char* VirtualRaster::row(int y) const {
  return cvirt_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(nwidth_);
}

}  // namespace stylus

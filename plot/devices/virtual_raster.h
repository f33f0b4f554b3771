// The virtual raster of the raster devices: a picture of colour numbers held in memory,
// one byte per pixel, rows from the top, each row padded to a multiple of 4 bytes as the
// raw image file stores it; with its line, fill and pixel operations.
#pragma once

#include <cstdlib>
#include <vector>

namespace stylus {

class VirtualRaster {
 public:
  // The default size for a landscape page (turned for a portrait page), and the range that
  // a size given by the image size option must keep to, each way.
  static constexpr int kDefaultLong = 853, kDefaultShort = 603;
  static constexpr int kMinSize = 10, kMaxSize = 2000;

  // Creates the raster, all colour 0, for a page of page_w x page_h points. With option 0
  // the size is the default; otherwise width x height, or the default after the message
  // " >>>> Bad size of virtual device" when either lies outside 10..2000. The size used is
  // written back. When the memory cannot be had: the message " >>>> Not enough memory for
  // virtual device", an empty raster, and std::bad_alloc for the session start.
  void qqvini(int page_w, int page_h, int& width, int& height, int option);
  // The colour of the lines that follow; its low byte is stored per pixel.
  void qqvclr(int ncol) { nclr_ = ncol; }
  // A line of max(dx, dy) + 1 pixels from (x1, y1) to (x2, y2), both ends included.
  void qqvlin(int x1, int y1, int x2, int y2);
  // Fills the pixels x1..x2 x y1..y2, both ends included, with colour ncol.
  void qqvfll(int x1, int y1, int x2, int y2, int ncol);
  // Fills the polygon of n vertices (x[i], y[i]) in the colour of the lines (scan_polygon).
  void qqvpol(const int* x, const int* y, int n);
  // One pixel; outside the raster a write does nothing.
  void qqvwpx(int x, int y, int ncol);
  // Frees the raster.
  void qqvfin();

  int width() const { return nbytes_; }      // pixels per row
  int height() const { return nheight_; }    // rows
  int row_bytes() const { return nwidth_; }  // bytes per row, padding included
  // Row y (0 at the top), row_bytes() long.
  const unsigned char* row(int y) const;

 private:
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < nbytes_ && y < nheight_; }
  unsigned char* pixel(int x, int y) {
    return cvirt_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(nwidth_) +
           static_cast<std::size_t>(x);
  }
  // The max(dx, dy) + 1 pixels of the line from (x1, y1) to (x2, y2), both ends included,
  // each handed to set(x, y).
  template <class Set>
  static void bresenham(int x1, int y1, int x2, int y2, Set&& set) {
    const int dx = std::abs(x2 - x1), sx = x1 <= x2 ? 1 : -1;
    const int dy = std::abs(y2 - y1), sy = y1 <= y2 ? 1 : -1;
    int x = x1, y = y1;
    set(x, y);
    if (dx > dy) {
      int e = dx / 2;
      for (int i = 0; i < dx; ++i) {
        x += sx;
        e += dy;
        if (e > dx) {
          e -= dx;
          y += sy;
        }
        set(x, y);
      }
    } else {
      int e = dy / 2;
      for (int i = 0; i < dy; ++i) {
        y += sy;
        e += dx;
        if (e > dy) {
          e -= dy;
          x += sx;
        }
        set(x, y);
      }
    }
  }

  std::vector<unsigned char> cvirt_;
  int nbytes_ = 0, nheight_ = 0, nwidth_ = 0;
  int nclr_ = 0;
};

}  // namespace stylus

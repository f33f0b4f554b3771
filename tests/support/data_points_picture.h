// The picture of examples/c/data_points.c (and of its Fortran twin) as any device shows it:
// every symbol, error bar, curve and legend sample where the program's data and calls put
// it, checked in a decoded picture through a PixelMap, to within a pixel.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "support/energy_picture.h"

namespace data_points {

// The program's measurement, symbols 30 points across, caps 24.
constexpr int kPoints = 10;
constexpr float kT[kPoints] = {0.5f, 1.5f, 2.5f, 3.5f, 4.5f, 5.5f, 6.5f, 7.5f, 8.5f, 9.5f};
constexpr float kCounts[kPoints] = {91, 66, 57, 39, 34, 23, 21, 14, 13, 11};
constexpr float kDown[kPoints] = {9, 8, 7.5f, 6, 6, 5, 4.5f, 3.5f, 3.5f, 3};
constexpr float kUp[kPoints] = {10, 8.5f, 8, 7, 6.5f, 5.5f, 5, 4.5f, 4, 3.5f};
constexpr double kRadius = 15, kHalfCap = 12, kHalfBin = 0.25 * 197.9;

// graf(0, 10, 0, 2, 0, 120, 0, 20) on DA4L: x over points 494..2473, y over 1799..400.
inline double page_x(float t) {
  return t * (1979.0f / 10.0f) + 494.0f;
}
inline double page_y(float c) {
  return 1799.0f - c * (1399.0f / 120.0f);
}

// The legend in the upper right corner at height 36: margin 18, samples 108 long, rows 54
// apart, the widest text "exponential" 11 x 35 points; the box 547 x 198, one margin inside
// the frame's corner (2473, 400).
constexpr double kLeft = 2473 - 18 - 547, kTop = 400 + 18, kRight = kLeft + 547;
constexpr double kBottom = kTop + 198, kSample = kLeft + 18, kSampleEnd = kSample + 108;
constexpr double kText = kSampleEnd + 18;
inline double row(int k) {
  return kTop + 18 + 54 * k + 27;
}

inline bool blue(Rgb p) {
  return p.b > 200 && p.r < 80 && p.g < 80;
}
inline bool green(Rgb p) {
  return p.g > 200 && p.r < 80 && p.b < 80;
}

// The PostScript page as Ghostscript renders it on an A4 sheet at dpi: the landscape page
// turned, 13/7 device units per point from (150, 200), scaled by 1.000476, one unit
// 0.14226378 PostScript points.
inline PixelMap postscript_sheet_map(double dpi) {
  const double s = 1.8571428, k = 1.000476, c = 0.14226378, d = dpi / 72.0;
  return {c * 150 * d, 0, c * k * s * d, (842.0 - c * 200) * d, -c * k * s * d, 0};
}

class Picture {
 public:
  // fg tells the frame and text pixels (light on the raster's black, dark on paper).
  Picture(const RgbImage& img, const PixelMap& map, bool (*fg)(Rgb))
      : img_(img), map_(map), fg_(fg), px_(1.0 / map.scale()) {}

  // Pixels of the page rectangle [x1, x2] x [y1, y2] that pred accepts; a point's pixel and
  // its neighbours with radius 1.
  int count(double x1, double y1, double x2, double y2, bool (*pred)(Rgb)) const {
    const double c1 = std::floor(map_.col(x1, y1)), c2 = std::floor(map_.col(x2, y2));
    const double r1 = std::floor(map_.row(x1, y1)), r2 = std::floor(map_.row(x2, y2));
    int n = 0;
    for (int r = static_cast<int>(std::min(r1, r2)); r <= static_cast<int>(std::max(r1, r2)); ++r)
      for (int c = static_cast<int>(std::min(c1, c2)); c <= static_cast<int>(std::max(c1, c2)); ++c)
        n += pred(img_.at(c, r)) ? 1 : 0;
    return n;
  }
  bool near(double x, double y, bool (*pred)(Rgb), double radius = 1) const {
    return count(x - radius * px_, y - radius * px_, x + radius * px_, y + radius * px_, pred) > 0;
  }
  bool at(double x, double y, bool (*pred)(Rgb)) const { return near(x, y, pred, 0); }

  void expect_all() const {
    const double gap = 1.5 + 2 * px_;  // half the line width and two pixels
    for (int i = 0; i < kPoints; ++i) {
      // A filled blue circle 30 points across: blue at the centre and inside it on a
      // diagonal (away from the bars), not beyond its rim.
      const double x = page_x(kT[i]), y = page_y(kCounts[i]);
      const double in = 0.4 * kRadius, out = (kRadius + gap) / std::sqrt(2.0);
      EXPECT_TRUE(near(x, y, blue) && near(x + in, y - in, blue)) << "symbol " << i;
      EXPECT_FALSE(at(x + out, y - out, blue) || at(x - out, y + out, blue)) << "size " << i;
      // The vertical bar from count - down to count + up with caps 24 across, nothing beyond.
      const double low = page_y(kCounts[i] - kDown[i]), high = page_y(kCounts[i] + kUp[i]);
      EXPECT_TRUE(near(x, (low + y) / 2 + kRadius / 2, blue)) << "bar " << i;
      for (double end : {low, high}) {
        EXPECT_TRUE(near(x - kHalfCap + px_, end, blue) && near(x + kHalfCap - px_, end, blue))
            << "cap " << i;
        EXPECT_FALSE(at(x + kHalfCap + gap, end, blue)) << "cap width " << i;
      }
      EXPECT_FALSE(at(x, low + gap, blue) || at(x, high - gap, blue)) << "bar's ends " << i;
      // The horizontal bar half a bin to either side, without caps.
      EXPECT_TRUE(near(x - kHalfBin + px_, y, blue) && near(x + kHalfBin - px_, y, blue)) << i;
      EXPECT_FALSE(at(x - kHalfBin - gap, y, blue) || at(x + kHalfBin + gap, y, blue)) << i;
    }
    // The models through their values, the dashed one's squares every 2 s.
    for (float t : {1.0f, 3.0f, 5.0f, 8.0f})
      EXPECT_TRUE(near(page_x(t), page_y(100.0f * std::exp(-t / 4.0f)), red, 2)) << t;
    for (float t : {2.0f, 4.0f, 6.0f, 8.0f}) {
      const double y = page_y(100.0f / ((1 + 0.3f * t) * (1 + 0.3f * t)));
      EXPECT_TRUE(near(page_x(t) - kRadius, y - kRadius / 2, green)) << "square " << t;
    }
    // The legend's frame, and its rows: a blue circle without a line, a red line, a green
    // dashed line with an open square; the texts from 18 points after the samples to the
    // box's right margin; nothing in the margins.
    EXPECT_TRUE(near(kLeft, kTop, fg_) && near(kRight, kBottom, fg_)) << "frame corners";
    EXPECT_TRUE(near((kLeft + kRight) / 2, kTop, fg_) && near(kLeft, (kTop + kBottom) / 2, fg_));
    EXPECT_TRUE(near(kSample + 54, row(0), blue)) << "measured: symbol";
    EXPECT_FALSE(near(kSample + 4 * px_, row(0), blue)) << "measured: no line";
    for (double x : {kSample + px_, kSample + 54, kSampleEnd - px_})
      EXPECT_TRUE(near(x, row(1), red)) << "exponential: line at " << x;
    EXPECT_TRUE(near(kSample + 5, row(2), green)) << "hyperbolic: first dash";
    EXPECT_TRUE(near(kSample + 54 - kRadius, row(2) - kRadius / 2, green)) << "square";
    EXPECT_FALSE(at(kSample + 54, row(2) - kRadius / 2, green)) << "the square is open";
    EXPECT_GT(count(kText, row(1) - 17, kText + 35, row(1) + 17, fg_), 0) << "first letter";
    EXPECT_GT(count(kRight - 53, row(1) - 17, kRight - 18, row(1) + 17, fg_), 0) << "last";
    EXPECT_EQ(count(kRight - 15, kTop + 6, kRight - 6, kBottom - 6, fg_), 0) << "margin";
    EXPECT_EQ(count(kSampleEnd + 4, kTop + 6, kText - 4, kBottom - 6, fg_), 0) << "gap";
  }

 private:
  const RgbImage& img_;
  PixelMap map_;
  bool (*fg_)(Rgb);
  double px_;  // points per pixel
};

}  // namespace data_points

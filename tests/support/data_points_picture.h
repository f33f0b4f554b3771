// The picture of examples/c/data_points.c (and of its Fortran twin) as any device shows it:
// the page places of its symbols, error bars, curves and legend follow from the program's
// data and calls, and a test checks each of them in a decoded picture, page point to pixel
// through a PixelMap, to within a pixel.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "support/energy_picture.h"

namespace data_points {

// The program's measurement and settings.
constexpr int kPoints = 10;
constexpr float kT[kPoints] = {0.5f, 1.5f, 2.5f, 3.5f, 4.5f, 5.5f, 6.5f, 7.5f, 8.5f, 9.5f};
constexpr float kCounts[kPoints] = {91, 66, 57, 39, 34, 23, 21, 14, 13, 11};
constexpr float kDown[kPoints] = {9, 8, 7.5f, 6, 6, 5, 4.5f, 3.5f, 3.5f, 3};
constexpr float kUp[kPoints] = {10, 8.5f, 8, 7, 6.5f, 5.5f, 5, 4.5f, 4, 3.5f};
constexpr float kHalfBin = 0.25f;
constexpr float kSymbolRadius = 15.0f;  // hsymbl(30)
constexpr float kHalfCap = 12.0f;       // errcap(24)

// graf(0, 10, 0, 2, 0, 120, 0, 20) on DA4L: x 0..10 over points 494..2473, y 0..120 over
// 1799..400.
inline float page_x(float t) {
  return t * (1979.0f / 10.0f) + 494.0f;
}
inline float page_y(float c) {
  return 1799.0f - c * (1399.0f / 120.0f);
}

// The legend in the upper right corner at height 36: margin 18, samples 108 long, rows 54
// apart (1.5 heights; a symbol of 30 plus the margin needs less), the widest text
// "exponential" 11 x 35 points. Box 18 + 108 + 18 + 385 + 18 = 547 wide and 18 + 3 x 54 +
// 18 = 198 high, one margin inside the frame's upper right corner (2473, 400).
constexpr double kLegendLeft = 2473 - 18 - 547, kLegendTop = 400 + 18;
constexpr double kLegendRight = kLegendLeft + 547, kLegendBottom = kLegendTop + 198;
constexpr double kSampleLeft = kLegendLeft + 18, kSampleRight = kSampleLeft + 108;
constexpr double kSampleCentre = kSampleLeft + 54;
inline double legend_row(int k) {
  return kLegendTop + 18 + 54 * k + 27;
}

inline bool blue(Rgb p) {
  return p.b > 200 && p.r < 80 && p.g < 80;
}
inline bool green(Rgb p) {
  return p.g > 200 && p.r < 80 && p.b < 80;
}

// The PostScript page as Ghostscript renders it on an A4 sheet at dpi: the landscape page
// turned, device units of 13/7 per point from (150, 200), scaled by 1.000476, one unit
// 0.14226378 PostScript points.
inline PixelMap postscript_sheet_map(double dpi) {
  const double s = 1.8571428, k = 1.000476, c = 0.14226378, d = dpi / 72.0;
  return {c * 150 * d, 0, c * k * s * d, (842.0 - c * 200) * d, -c * k * s * d, 0};
}

class Picture {
 public:
  // fg tells the frame and text pixels (light on the raster's black, dark on paper).
  Picture(const RgbImage& img, const PixelMap& map, bool (*fg)(Rgb))
      : img_(img), map_(map), fg_(fg), pixel_(1.0 / map.scale()) {}

  // Whether a pixel within radius pixels of the page point (x, y) satisfies pred.
  template <class Pred>
  bool near(double x, double y, Pred pred, int radius = 1) const {
    const int c = static_cast<int>(std::floor(map_.col(x, y)));
    const int r = static_cast<int>(std::floor(map_.row(x, y)));
    for (int dr = -radius; dr <= radius; ++dr)
      for (int dc = -radius; dc <= radius; ++dc)
        if (pred(img_.at(c + dc, r + dr))) return true;
    return false;
  }

  // Pixels of the page rectangle [x1, x2] x [y1, y2] that satisfy pred.
  template <class Pred>
  int count(double x1, double y1, double x2, double y2, Pred pred) const {
    const double ca = map_.col(x1, y1), cb = map_.col(x2, y2);
    const double ra = map_.row(x1, y1), rb = map_.row(x2, y2);
    int n = 0;
    for (int r = static_cast<int>(std::floor(std::min(ra, rb)));
         r <= static_cast<int>(std::floor(std::max(ra, rb))); ++r)
      for (int c = static_cast<int>(std::floor(std::min(ca, cb)));
           c <= static_cast<int>(std::floor(std::max(ca, cb))); ++c)
        n += pred(img_.at(c, r)) ? 1 : 0;
    return n;
  }

  // Each point a filled blue circle 30 points across: blue at its centre and well inside
  // it on a diagonal (away from the bars), not blue a pixel and the line's half width
  // beyond its rim.
  void expect_symbols() const {
    const double in = 0.6 * kSymbolRadius / std::sqrt(2.0);
    const double out = (kSymbolRadius + 1.0 + 2 * pixel_) / std::sqrt(2.0);
    for (int i = 0; i < kPoints; ++i) {
      const double x = page_x(kT[i]), y = page_y(kCounts[i]);
      EXPECT_TRUE(near(x, y, blue)) << "symbol " << i;
      EXPECT_TRUE(near(x + in, y - in, blue) && near(x - in, y + in, blue)) << "filled " << i;
      EXPECT_FALSE(near(x + out, y - out, blue, 0) || near(x - out, y + out, blue, 0))
          << "size " << i;
    }
  }

  // Vertical bars from count - down to count + up with caps 24 points across, horizontal
  // bars half a bin to either side without caps; nothing blue beyond their ends.
  void expect_error_bars() const {
    const double gap = 1.0 + 2 * pixel_;
    for (int i = 0; i < kPoints; ++i) {
      const double x = page_x(kT[i]);
      const double low = page_y(kCounts[i] - kDown[i]), high = page_y(kCounts[i] + kUp[i]);
      for (double end : {low, high}) {
        EXPECT_TRUE(near(x - kHalfCap + pixel_, end, blue)) << "cap, left end " << i;
        EXPECT_TRUE(near(x + kHalfCap - pixel_, end, blue)) << "cap, right end " << i;
        EXPECT_FALSE(near(x + kHalfCap + gap, end, blue, 0)) << "cap width " << i;
      }
      EXPECT_TRUE(near(x, 0.5 * (low + page_y(kCounts[i])) + kSymbolRadius / 2, blue))
          << "lower bar " << i;
      EXPECT_FALSE(near(x, low + gap, blue, 0)) << "below the bar " << i;
      EXPECT_FALSE(near(x, high - gap, blue, 0)) << "above the bar " << i;
      const double y = page_y(kCounts[i]), reach = kHalfBin * 1979.0 / 10.0;
      EXPECT_TRUE(near(x - reach + pixel_, y, blue) && near(x + reach - pixel_, y, blue))
          << "horizontal bar " << i;
      EXPECT_FALSE(near(x - reach - gap, y, blue, 0) || near(x + reach + gap, y, blue, 0))
          << "horizontal bar's ends " << i;
    }
  }

  // The model curves through their values; the dashed one's squares every 2 s.
  void expect_curves() const {
    for (float t : {1.0f, 3.0f, 5.0f, 8.0f}) {
      EXPECT_TRUE(near(page_x(t), page_y(100.0f * std::exp(-t / 4.0f)), red, 2)) << t;
    }
    for (float t : {2.0f, 4.0f, 6.0f, 8.0f}) {
      const float c = 100.0f / ((1 + 0.3f * t) * (1 + 0.3f * t));
      const double x = page_x(t), y = page_y(c);
      EXPECT_TRUE(near(x - kSymbolRadius, y - kSymbolRadius / 2, green)) << "square " << t;
      EXPECT_TRUE(near(x + kSymbolRadius, y + kSymbolRadius / 2, green)) << "square " << t;
    }
  }

  // The framed box in the upper right corner, and in its rows the samples: a blue circle
  // without a line, a red line, a green dashed line with a square.
  void expect_legend() const {
    for (double x : {kLegendLeft, kLegendRight})
      for (double y : {kLegendTop, kLegendBottom}) EXPECT_TRUE(near(x, y, fg_)) << x << ", " << y;
    EXPECT_TRUE(near(0.5 * (kLegendLeft + kLegendRight), kLegendTop, fg_)) << "top side";
    EXPECT_TRUE(near(kLegendLeft, 0.5 * (kLegendTop + kLegendBottom), fg_)) << "left side";
    const double row1 = legend_row(0), row2 = legend_row(1), row3 = legend_row(2);
    EXPECT_TRUE(near(kSampleCentre, row1, blue)) << "measured: symbol";
    EXPECT_FALSE(near(kSampleLeft + 4 * pixel_, row1, blue)) << "measured: no line";
    for (double x : {kSampleLeft + pixel_, kSampleCentre, kSampleRight - pixel_})
      EXPECT_TRUE(near(x, row2, red)) << "exponential: line at " << x;
    EXPECT_TRUE(near(kSampleLeft + 5, row3, green)) << "hyperbolic: first dash";
    EXPECT_TRUE(near(kSampleCentre - kSymbolRadius, row3 - kSymbolRadius / 2, green))
        << "hyperbolic: square";
    EXPECT_FALSE(near(kSampleCentre, row3 - kSymbolRadius / 2, green, 0))
        << "hyperbolic: the square is open";
    // The texts, 36 points high on their rows: "exponential" runs from 18 points after the
    // samples to the box's right margin, and nothing lies in the margins.
    const double text = kSampleRight + 18;
    EXPECT_GT(count(text, row2 - 17, text + 35, row2 + 17, fg_), 0) << "text's first letter";
    EXPECT_GT(count(kLegendRight - 53, row2 - 17, kLegendRight - 18, row2 + 17, fg_), 0)
        << "text's last letter";
    EXPECT_EQ(count(kLegendRight - 15, kLegendTop + 6, kLegendRight - 6, kLegendBottom - 6, fg_), 0)
        << "right margin";
    EXPECT_EQ(count(kSampleRight + 4, kLegendTop + 6, text - 4, kLegendBottom - 6, fg_), 0)
        << "between samples and texts";
  }

  void expect_all() const {
    expect_symbols();
    expect_error_bars();
    expect_curves();
    expect_legend();
  }

 private:
  const RgbImage& img_;
  PixelMap map_;
  bool (*fg_)(Rgb);
  double pixel_;  // points per pixel
};

}  // namespace data_points

// The qh2 picture (examples/energy_curve: frame, ticks, labels, titles and the red curve
// 4 points wide) as any device shows it. The page places of its parts are fixed by the
// axis system; a test decodes a device's picture into an RgbImage, says how page points
// map to its pixels (a PixelMap) and checks the parts where they belong.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

inline bool dark(Rgb p) {
  return p.r < 100 && p.g < 100 && p.b < 100;
}
inline bool light(Rgb p) {
  return p.r > 200 && p.g > 200 && p.b > 200;
}
inline bool red(Rgb p) {
  return p.r > 200 && p.g < 80 && p.b < 80;
}

// An RGB picture; outside its bounds every pixel is the paper colour given.
class RgbImage {
 public:
  RgbImage() = default;
  RgbImage(int width, int height, Rgb fill = {255, 255, 255})
      : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

  int width() const { return width_; }
  int height() const { return height_; }
  Rgb at(int col, int row) const {
    if (col < 0 || row < 0 || col >= width_ || row >= height_) return outside_;
    return pixels_[static_cast<size_t>(row) * width_ + col];
  }
  void set(int col, int row, Rgb c) {
    if (col < 0 || row < 0 || col >= width_ || row >= height_) return;
    pixels_[static_cast<size_t>(row) * width_ + col] = c;
  }
  void set_outside(Rgb c) { outside_ = c; }

  // A binary PPM (P6, maxval 255), as Ghostscript's ppmraw device and pngtopnm write it.
  bool load_ppm(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string magic = token(in);
    const int w = std::atoi(token(in).c_str());
    const int h = std::atoi(token(in).c_str());
    const int maxval = std::atoi(token(in).c_str());
    if (!in || magic != "P6" || maxval != 255 || w <= 0 || h <= 0) return false;
    std::vector<unsigned char> raw(static_cast<size_t>(w) * h * 3);
    in.read(reinterpret_cast<char*>(raw.data()), static_cast<std::streamsize>(raw.size()));
    if (static_cast<size_t>(in.gcount()) != raw.size()) return false;
    *this = RgbImage(w, h);
    for (size_t i = 0; i < pixels_.size(); ++i)
      pixels_[i] = {raw[3 * i], raw[3 * i + 1], raw[3 * i + 2]};
    return true;
  }

 private:
  // The next header token; "#" comments run to the line end. Consumes the single
  // whitespace byte after the token, which ends the header after the last one.
  static std::string token(std::istream& in) {
    std::string t;
    int c = in.get();
    while (c != EOF && (std::isspace(c) || c == '#')) {
      if (c == '#')
        while (c != EOF && c != '\n') c = in.get();
      c = in.get();
    }
    while (c != EOF && !std::isspace(c)) {
      t += static_cast<char>(c);
      c = in.get();
    }
    return t;
  }

  int width_ = 0, height_ = 0;
  std::vector<Rgb> pixels_;
  Rgb outside_{255, 255, 255};
};

// Page point (x right, y down, in points) to pixel (column, row), an affine map:
// col = c0 + cx x + cy y, row = r0 + rx x + ry y. It covers scaling, offsets, flips and the
// quarter turns of the devices that turn the page.
struct PixelMap {
  double c0, cx, cy, r0, rx, ry;

  // x and y scaled by s (pixels per point), the page's upper-left corner at (col, row).
  static PixelMap scaled(double s, double col = 0, double row = 0) {
    return {col, s, 0, row, 0, s};
  }

  double col(double x, double y) const { return c0 + cx * x + cy * y; }
  double row(double x, double y) const { return r0 + rx * x + ry * y; }
  // Pixels per point.
  double scale() const { return std::sqrt(std::fabs(cx * ry - cy * rx)); }
  // The page point of a pixel centre.
  void page(int col, int row, double& x, double& y) const {
    const double det = cx * ry - cy * rx;
    const double u = col + 0.5 - c0, v = row + 0.5 - r0;
    x = (ry * u - cy * v) / det;
    y = (cx * v - rx * u) / det;
  }
};

// The separations and energies of the result lines " separacia = ... energia = ...eV".
struct ResultPoint {
  float x, y;
};
inline std::vector<ResultPoint> result_points(const std::string& out) {
  std::vector<ResultPoint> pts;
  std::istringstream in(out);
  std::string line;
  const std::string sep = " separacia = ", ene = "  energia = ";
  while (std::getline(in, line)) {
    const size_t e = line.find(ene);
    if (line.rfind(sep, 0) != 0 || e == std::string::npos) continue;
    pts.push_back({std::strtof(line.c_str() + sep.size(), nullptr),
                   std::strtof(line.c_str() + e + ene.size(), nullptr)});
  }
  return pts;
}

// Page position of a separation and of an energy in the picture's axis system.
inline float page_x(float x) {
  return (x - 0.0f) * 659.66669f + 494.0f;
}
inline float page_y(float y) {
  return 1799.0f - (y + 32.5f) * 147.26315f;
}

// Checks a decoded picture of the qh2 plot: fg tells the frame, tick, label and title
// pixels (dark on white paper, light on a black screen), red the curve.
class EnergyPicture {
 public:
  EnergyPicture(const RgbImage& img, const PixelMap& map, bool (*fg)(Rgb))
      : img_(img),
        map_(map),
        fg_(fg),
        slack_(std::max(1, static_cast<int>(std::ceil(2 * map.scale())))) {}

  // Whether some pixel within radius pixels of page point (x, y) satisfies pred.
  template <class Pred>
  bool near(double x, double y, Pred pred, int radius) const {
    const int c = static_cast<int>(std::floor(map_.col(x, y))),
              r = static_cast<int>(std::floor(map_.row(x, y)));
    for (int dr = -radius; dr <= radius; ++dr)
      for (int dc = -radius; dc <= radius; ++dc)
        if (pred(img_.at(c + dc, r + dr))) return true;
    return false;
  }
  bool fg_near(double x, double y) const { return near(x, y, fg_, slack_); }
  // Pixels of the page rectangle [x1, x2] x [y1, y2] that satisfy pred.
  template <class Pred>
  int count(double x1, double y1, double x2, double y2, Pred pred) const {
    const double ca = map_.col(x1, y1), cb = map_.col(x2, y2), ra = map_.row(x1, y1),
                 rb = map_.row(x2, y2);
    int n = 0;
    for (int r = static_cast<int>(std::floor(std::min(ra, rb)));
         r <= static_cast<int>(std::floor(std::max(ra, rb))); ++r)
      for (int c = static_cast<int>(std::floor(std::min(ca, cb)));
           c <= static_cast<int>(std::floor(std::max(ca, cb))); ++c)
        n += pred(img_.at(c, r)) ? 1 : 0;
    return n;
  }
  int fg_count(double x1, double y1, double x2, double y2) const {
    return count(x1, y1, x2, y2, fg_);
  }

  // Frame, labels and titles where the axis system puts them, and nothing where it leaves
  // the page empty.
  void expect_axis_system() const {
    for (double x : {600.0, 1200.0, 2000.0, 2400.0}) {
      EXPECT_TRUE(fg_near(x, 1799)) << "bottom axis at x " << x;
      EXPECT_TRUE(fg_near(x, 400)) << "top axis at x " << x;
    }
    for (double y : {500.0, 1100.0, 1700.0}) {
      EXPECT_TRUE(fg_near(494, y)) << "left axis at y " << y;
      EXPECT_TRUE(fg_near(2473, y)) << "right axis at y " << y;
    }
    // x labels "0.00" and "3.00", y labels "-32.50" and "-23.50", nothing between labels.
    EXPECT_GT(fg_count(396, 1847, 592, 1896), 0) << "label 0.00";
    EXPECT_GT(fg_count(2375, 1847, 2571, 1896), 0) << "label 3.00";
    EXPECT_GT(fg_count(152, 1773, 446, 1822), 0) << "label -32.50";
    EXPECT_GT(fg_count(152, 448, 446, 497), 0) << "label -23.50";
    EXPECT_EQ(fg_count(610, 1850, 710, 1895), 0) << "between x labels";
    EXPECT_EQ(fg_count(160, 1690, 440, 1760), 0) << "between y labels";
    // The titles: "Separation (A)" from (1141, 1927), "Energy (eV)" turned, x 72..121.
    EXPECT_GT(fg_count(1141, 1927, 1827, 1976), 0) << "x title";
    EXPECT_GT(fg_count(72, 830, 121, 1369), 0) << "y title";
    // Empty page: inside the frame below the curve, right of the frame, above the labels.
    EXPECT_EQ(fg_count(1000, 1700, 1300, 1780), 0) << "inside the frame";
    EXPECT_EQ(fg_count(2520, 420, 2900, 1780), 0) << "right of the frame";
    EXPECT_EQ(fg_count(520, 20, 2440, 360), 0) << "above the frame";
  }

  // The red curve through every result point inside the window, and no red outside the
  // frame (half the line width aside).
  void expect_curve(const std::vector<ResultPoint>& points) const {
    int inside = 0, hits = 0;
    for (const ResultPoint& p : points) {
      if (p.y < -32.3f || p.y > -23.2f || page_x(p.x) > 2470.0f) continue;
      ++inside;
      hits += near(page_x(p.x), page_y(p.y), red, slack_) ? 1 : 0;
    }
    EXPECT_GT(inside, 40);
    EXPECT_EQ(hits, inside) << "red at the data points";
    const double margin = 4.0 + 2.0 / map_.scale();
    int reds = 0, beyond = 0;
    for (int r = 0; r < img_.height(); ++r)
      for (int c = 0; c < img_.width(); ++c) {
        if (!red(img_.at(c, r))) continue;
        ++reds;
        double x, y;
        map_.page(c, r, x, y);
        if (x < 494 - margin || x > 2473 + margin || y < 400 - margin || y > 1799 + margin)
          ++beyond;
      }
    EXPECT_GT(reds, 0);
    EXPECT_EQ(beyond, 0) << "red outside the frame";
  }

 private:
  const RgbImage& img_;
  PixelMap map_;
  bool (*fg_)(Rgb);
  int slack_;
};

// The example program energy_curve on the PostScript devices: its standard output (the
// result lines and the out-of-scaling report of curve) and its picture, rendered by
// Ghostscript and probed at the page positions where the axis system puts frame, ticks,
// labels, titles and the curve.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/command.h"
#include "support/energy_picture.h"
#include "support/scratch_dir.h"

namespace {

constexpr int kDpi = 300;

// Page point to pixel on an A4 sheet. The landscape page is turned on the sheet: the
// device point is (y, x) times the device scale 13/7, placed at (150, 200) device units
// scaled by 1.000476, one unit 0.14226378 PostScript points.
struct Pixel {
  int col, row;
};
Pixel to_pixel(float x, float y) {
  const float s = 1.8571428f;
  const double k = 1.000476, c = 0.14226378;
  const double dx = std::trunc(y * s + 0.5f), dy = std::trunc(x * s + 0.5f);
  const double px = c * (150 + k * dx), py = c * (200 + k * dy);
  return {static_cast<int>(px * kDpi / 72.0), static_cast<int>((842.0 - py) * kDpi / 72.0)};
}

template <class Pred>
bool any_near(const RgbImage& img, float x, float y, Pred pred, int radius = 2) {
  const Pixel p = to_pixel(x, y);
  for (int dr = -radius; dr <= radius; ++dr)
    for (int dc = -radius; dc <= radius; ++dc)
      if (pred(img.at(p.col + dc, p.row + dr))) return true;
  return false;
}

// Pixels in the page rectangle [x1, x2] x [y1, y2] that satisfy pred.
template <class Pred>
int count_in(const RgbImage& img, float x1, float y1, float x2, float y2, Pred pred) {
  const Pixel a = to_pixel(x1, y1), b = to_pixel(x2, y2);
  int n = 0;
  for (int r = std::min(a.row, b.row); r <= std::max(a.row, b.row); ++r)
    for (int c = std::min(a.col, b.col); c <= std::max(a.col, b.col); ++c)
      if (pred(img.at(c, r))) ++n;
  return n;
}

// Page point of a pixel centre (inverse of to_pixel, up to the rounding).
void to_page(int col, int row, float& x, float& y) {
  const double k = 1.000476, c = 0.14226378, s = 1.8571428;
  const double px = (col + 0.5) * 72.0 / kDpi, py = 842.0 - (row + 0.5) * 72.0 / kDpi;
  y = static_cast<float>((px / c - 150) / k / s);
  x = static_cast<float>((py / c - 200) / k / s);
}

using Point = ResultPoint;

// The same mapping as to_pixel, as the affine map of the shared picture checks (without
// the rounding to device units).
PixelMap postscript_map() {
  const double s = 1.8571428, k = 1.000476, c = 0.14226378, d = kDpi / 72.0;
  return {c * 150 * d, 0, c * k * s * d, (842.0 - c * 200) * d, -c * k * s * d, 0};
}

// Runs the example on a device in a scratch folder and renders stylus.psc.
class EnergyCurve : public ::testing::Test {
 protected:
  void draw(const std::string& device) {
    const std::string exe = std::string(STYLUS_BINARY_DIR) + "/examples/energy_curve";
    ASSERT_TRUE(std::ifstream(exe).good()) << "build the example first: " << exe;
    program_ = run_command("'" + exe + "' " + device);
    ASSERT_EQ(program_.status, 0) << program_.output;
    ASSERT_TRUE(std::ifstream("stylus.psc").good());
    const CommandResult gs =
        run_command("gs -q -dBATCH -dNOPAUSE -dSAFER -sPAPERSIZE=a4 -sDEVICE=ppmraw -r" +
                    std::to_string(kDpi) + " -sOutputFile=page.ppm stylus.psc");
    ASSERT_EQ(gs.status, 0) << gs.output;
    ASSERT_EQ(gs.output.find("rror"), std::string::npos) << gs.output;
    ASSERT_TRUE(image_.load_ppm("page.ppm"));
    points_ = result_points(program_.output);
    ASSERT_EQ(points_.size(), 59u);
  }

  ScratchDir scratch_;
  CommandResult program_;
  RgbImage image_;
  std::vector<Point> points_;
};

}  // namespace

TEST_F(EnergyCurve, ReportsEveryPointOutsideTheAxisScaling) {
  ASSERT_NO_FATAL_FAILURE(draw("POST"));
  std::string expected;
  int outside = 0;
  for (const Point& p : points_) {
    if (p.x >= 0.0f && p.x <= 3.0f && p.y >= -32.5f && p.y <= -23.0f) continue;
    char line[128];
    std::snprintf(line, sizeof line, " <<<< (%f / %f) out of axis scaling!\n", p.x, p.y);
    expected += line;
    ++outside;
  }
  EXPECT_GT(outside, 0);  // the first separations lie far above the window
  const size_t at = program_.output.find(" <<<< (");
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(program_.output.substr(at, expected.size()), expected);
}

TEST_F(EnergyCurve, GreyPostScriptPicture) {
  ASSERT_NO_FATAL_FAILURE(draw("POST"));
  const RgbImage& img = image_;
  // The frame: the four axis lines, black on white.
  for (float x : {600.0f, 1200.0f, 2000.0f, 2400.0f}) {
    EXPECT_TRUE(any_near(img, x, 1799, dark)) << x;
    EXPECT_TRUE(any_near(img, x, 400, dark)) << x;
  }
  for (float y : {500.0f, 1100.0f, 1700.0f}) {
    EXPECT_TRUE(any_near(img, 494, y, dark)) << y;
    EXPECT_TRUE(any_near(img, 2473, y, dark)) << y;
  }
  // On the grey-scale device "red" is entry 25 of the reversed grey ramp, (230, 230, 230).
  int grey = 0;
  for (const Point& p : points_) {
    if (p.y < -32.0f || p.y > -23.5f) continue;
    auto curve_grey = [](Rgb c) { return c.r == 230 && c.g == 230 && c.b == 230; };
    grey += any_near(img, page_x(p.x), page_y(p.y), curve_grey, 1) ? 1 : 0;
  }
  EXPECT_GT(grey, 40);
}

TEST_F(EnergyCurve, ColourPostScriptPictureByTheSharedChecks) {
  ASSERT_NO_FATAL_FAILURE(draw("PSCL"));
  const EnergyPicture picture(image_, postscript_map(), light);
  picture.expect_axis_system();
  picture.expect_curve(points_);
}

TEST_F(EnergyCurve, ColourPostScriptPicture) {
  ASSERT_NO_FATAL_FAILURE(
      draw("PSCL"));  // black background, white foreground, red from the rainbow table
  const RgbImage& img = image_;
  auto fg = light;
  // Frame lines, and a point just inside them that stays background.
  EXPECT_TRUE(any_near(img, 1200, 1799, fg));
  EXPECT_TRUE(any_near(img, 1200, 400, fg));
  EXPECT_TRUE(any_near(img, 494, 1100, fg));
  EXPECT_TRUE(any_near(img, 2473, 1100, fg));
  EXPECT_FALSE(any_near(img, 1200, 1790, fg));
  EXPECT_FALSE(any_near(img, 503, 1100, fg));

  // Bottom ticks point down: minor at 659 (16 long), major at 824 (24 long).
  EXPECT_TRUE(any_near(img, 659, 1809, fg, 1));
  EXPECT_FALSE(any_near(img, 659, 1820, fg, 1));
  EXPECT_TRUE(any_near(img, 824, 1819, fg, 1));
  EXPECT_FALSE(any_near(img, 740, 1809, fg, 1));
  // Left ticks point left, top ticks up, right ticks right.
  EXPECT_TRUE(any_near(img, 480, 1725, fg, 1));
  EXPECT_FALSE(any_near(img, 480, 1690, fg, 1));
  EXPECT_TRUE(any_near(img, 659, 390, fg, 1));
  EXPECT_TRUE(any_near(img, 2485, 1725, fg, 1));

  // Labels "0.00" (396..592, 1847..1896), its first "0" with the left stroke at 404;
  // nothing between it and "0.50" at 726.
  EXPECT_GT(count_in(img, 396, 1847, 592, 1896, fg), 50);
  EXPECT_TRUE(any_near(img, 404, 1871, fg, 1));
  EXPECT_FALSE(any_near(img, 420, 1871, fg, 1));  // inside the "0"
  EXPECT_EQ(count_in(img, 600, 1840, 720, 1900, fg), 0);
  EXPECT_GT(count_in(img, 2375, 1847, 2571, 1896, fg), 50);  // "3.00"
  EXPECT_EQ(count_in(img, 1000, 1700, 1300, 1790, fg), 0);   // inside, below the curve
  // y labels "-32.50" (152..446, top 1773) and "-23.50" (top 448); a gap between labels.
  EXPECT_GT(count_in(img, 152, 1773, 446, 1822, fg), 50);
  EXPECT_GT(count_in(img, 152, 448, 446, 497, fg), 50);
  EXPECT_EQ(count_in(img, 140, 1680, 450, 1768, fg), 0);
  EXPECT_EQ(count_in(img, 100, 1773, 148, 1822, fg), 0);  // labels start at 152
  // No labels on the top and right sides.
  EXPECT_EQ(count_in(img, 494, 250, 2473, 370, fg), 0);
  EXPECT_EQ(count_in(img, 2500, 400, 2800, 1799, fg), 0);

  // x title from (1141, 1927), 686 wide; the stem of its "A" at x 1737.
  EXPECT_GT(count_in(img, 1141, 1927, 1827, 1976, fg), 200);
  EXPECT_TRUE(any_near(img, 1737, 1955, fg, 1));
  EXPECT_EQ(count_in(img, 1000, 1930, 1130, 1990, fg), 0);
  // y title turned by 90 degrees: x 72..121 (descenders to 142), y 1369 up to 830.
  EXPECT_GT(count_in(img, 72, 830, 121, 1369, fg), 200);
  EXPECT_GT(count_in(img, 72, 830, 121, 900, fg), 5);  // its last characters
  EXPECT_EQ(count_in(img, 72, 1375, 150, 1450, fg), 0);
  EXPECT_EQ(count_in(img, 200, 1385, 440, 1470, fg), 0);  // where a level title would be
  EXPECT_EQ(count_in(img, 20, 400, 60, 1799, fg), 0);     // the parentheses reach 65

  // The curve: red at the data points inside the window ...
  // (the last separation, 2.99999833, lies at x 2472.999, beyond the clip window, so the
  // line ends at 2472).
  int hits = 0, inside = 0;
  for (const Point& p : points_) {
    if (p.y < -32.3f || p.y > -23.2f || page_x(p.x) > 2472.0f) continue;
    ++inside;
    hits += any_near(img, page_x(p.x), page_y(p.y), red, 1) ? 1 : 0;
  }
  EXPECT_GT(inside, 40);
  EXPECT_EQ(hits, inside);
  {
    // The line ends where the last segment meets x = 2472.
    const Point a = points_[points_.size() - 2], b = points_.back();
    const float xa = page_x(a.x), xb = page_x(b.x), ya = page_y(a.y), yb = page_y(b.y);
    const float t = (2470.0f - xa) / (xb - xa);
    EXPECT_TRUE(any_near(img, 2470.0f, ya + t * (yb - ya), red, 1));
  }
  // ... clipped to the axis area: no red beyond the frame (half the line width aside) and
  // red up to the top edge, where the curve enters from far above.
  int beyond = 0, at_top = 0;
  for (int r = 0; r < img.height(); ++r)
    for (int c = 0; c < img.width(); ++c) {
      if (!red(img.at(c, r))) continue;
      float x, y;
      to_page(c, r, x, y);
      if (x < 491 || x > 2476 || y < 397 || y > 1802) ++beyond;
      if (y < 405) ++at_top;
    }
  EXPECT_EQ(beyond, 0);
  EXPECT_GT(at_top, 0);
  // 4 points wide. In the band of energies -29.7 to -27.1 eV the steep descent near
  // 0.4 A crosses every column almost at right angles, so the shortest red run of a
  // column is the line width there (PostScript draws 8 device units: 4.3 points, 4.7
  // pixels); the median over the band's columns discards the odd corner.
  std::vector<int> shortest;
  const Pixel band_lo = to_pixel(494, 1000), band_hi = to_pixel(494, 1400);
  for (int c = band_lo.col; c <= band_hi.col; ++c) {
    int run = 0, best = 1000;
    for (int r = 0; r <= img.height(); ++r) {
      if (r < img.height() && red(img.at(c, r))) {
        ++run;
      } else if (run > 0) {
        best = std::min(best, run);
        run = 0;
      }
    }
    if (best < 1000) shortest.push_back(best);
  }
  ASSERT_GT(shortest.size(), 300u);
  std::sort(shortest.begin(), shortest.end());
  const int width = shortest[shortest.size() / 2];
  EXPECT_GE(width, 4);
  EXPECT_LE(width, 6);
  // The black-on-white lines of the axes are thinner: 5 device units.
  int frame = 0;
  const Pixel f = to_pixel(1200, 1799);
  for (int c = f.col - 10; c <= f.col + 10; ++c) frame += light(img.at(c, f.row)) ? 1 : 0;
  EXPECT_GE(frame, 2);
  EXPECT_LE(frame, 4);
}

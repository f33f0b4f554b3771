// Wide lines on the pixel devices: drawn by outlines up to 20 points, pixel for pixel as
// before; wider, filled by rows, which set what the outlines set and the gaps between them;
// a line wider than the page fills the clip window once however many buffers it has.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "devices/device_point.h"
#include "devices/virtual_raster.h"
#include "devices/driver.h"
#include "pen/thick_line.h"
#include "records/state.h"
#include "stylus.h"
#include "support/fresh_process.h"
#include "support/scratch_dir.h"

using namespace stylus;

namespace {

struct Polyline {
  std::vector<float> x, y;
};

// Open lines, dashes, a closed ring and zigzags with sharp turns, partly outside the window.
std::vector<Polyline> test_lines() {
  std::mt19937 rng(21);
  std::uniform_real_distribution<float> px(-200.0f, 3100.0f), py(-200.0f, 2300.0f);
  std::vector<Polyline> lines;
  for (int n : {2, 2, 3, 5, 17, 40}) {
    Polyline l;
    for (int i = 0; i < n; ++i) l.x.push_back(px(rng)), l.y.push_back(py(rng));
    lines.push_back(l);
  }
  lines.push_back({{500, 900, 700, 500}, {500, 600, 1000, 500}});         // a ring
  lines.push_back({{1500, 1510, 1500, 1600}, {1200, 1210, 1220, 1300}});  // hairpins
  lines.push_back({{2000, 2000.4f}, {300, 300.2f}});                      // a short dash
  return lines;
}

// The lines stroked at width w into a raster as the raster devices draw them: outlines
// only, or wide lines filled with the device's pixel rows.
std::vector<unsigned char> draw(int width, bool fill, int rotation) {
  const PageGeometry g{852.0f / 2969.0f, 2969, 2099, rotation, 0.0f};
  VirtualRaster r;
  int w = 0, h = 0;
  r.qqvini(rotation == 1 ? 2099 : 2969, rotation == 1 ? 2969 : 2099, w, h, 0);
  r.qqvclr(1);
  int lx = 0, ly = 0;
  Stroker s(ClipWindow{150, 100, 2800, 2000}, [&](float x, float y, int pen) {
    const DevicePoint p = screen_point(x, y, g);
    if (pen == kPenDraw) r.qqvlin(lx, ly, p.ix, p.iy);
    lx = p.ix, ly = p.iy;
  });
  const double step = 1.0 / static_cast<double>(g.scale);
  if (fill) s.fill_wide_lines({rotation == 1, rotation == 1 ? 2969.0 : 0.0, step, g.scale});
  for (const Polyline& l : test_lines())
    s.stroke(l.x.data(), l.y.data(), static_cast<int>(l.x.size()), width);
  std::vector<unsigned char> pixels;
  for (int y = 0; y < r.height(); ++y) pixels.insert(pixels.end(), r.row(y), r.row(y) + r.width());
  return pixels;
}

TEST(WideLine, UpTo20PointsTheOutlinesDrawTheSamePixels) {
  for (int rotation : {0, 1})
    for (int width = 2; width <= kOutlinedWidthLimit; ++width)
      EXPECT_EQ(draw(width, true, rotation), draw(width, false, rotation)) << width;
}

TEST(WideLine, WiderTheRowsSetWhatTheOutlinesSetAndTheGapsBetweenThem) {
  for (int rotation : {0, 1}) {
    for (int width : {21, 30, 47, 80, 200}) {
      SCOPED_TRACE(testing::Message() << "width " << width << " rotation " << rotation);
      const std::vector<unsigned char> outlined = draw(width, false, rotation);
      const std::vector<unsigned char> filled = draw(width, true, rotation);
      long old_only = 0, new_only = 0, both = 0;
      for (std::size_t i = 0; i < filled.size(); ++i) {
        old_only += outlined[i] && !filled[i];
        new_only += filled[i] && !outlined[i];
        both += outlined[i] && filled[i];
      }
      // An outline pixel lies at most half a pixel outside the row through its centre.
      EXPECT_LE(old_only, both / 1000);
      EXPECT_LE(new_only, both / 20);
      EXPECT_GT(both, 5000);
    }
  }
}

TEST(WideLine, ALineWiderThanThePageFillsTheAxisWindowOnce) {
  fresh_process();
  ScratchDir dir;
  metafl("VIRT");
  disini();
  msgmod("OFF");
  graf(0.0f, 10.0f, 0.0f, 1.0f, 0.0f, 10.0f, 0.0f, 1.0f);
  std::vector<float> x(1000), y(1000);
  for (int i = 0; i < 1000; ++i)
    x[i] = static_cast<float>(i % 10), y[i] = static_cast<float>(i % 7);
  linwid(32000);
  color("RED");
  const int red = g_ivray.cur_color;
  const int before = g_ivray.n_vectors;
  curve(x.data(), y.data(), 1000);
  // Ten buffers, each covering the window: its rows reach the device once.
  EXPECT_LE(g_ivray.n_vectors - before, 2 * 603);
  IndexedImage image;
  ASSERT_TRUE(current_driver()->picture(image));
  const float s = g_xvray.page_scale;
  const auto px = [s](float v) { return static_cast<int>(v * s + 0.5f); };
  const int left = px(xposn(0.0f)), right = px(xposn(10.0f));
  const int top = px(yposn(10.0f)), bottom = px(yposn(0.0f));
  int inside = 0, outside = 0;
  for (int row = 0; row < image.height; ++row) {
    for (int col = 0; col < image.width; ++col) {
      const bool is_red = image.pixels[static_cast<std::size_t>(row * image.width + col)] == red;
      if (col > left + 1 && col < right - 1 && row > top + 1 && row < bottom - 1) {
        inside += !is_red;
      } else if (col < left - 1 || col > right + 1 || row < top - 1 || row > bottom + 1) {
        outside += is_red;
      }
    }
  }
  EXPECT_EQ(inside, 0);
  EXPECT_EQ(outside, 0);
  disfin();
}

}  // namespace

// The raster devices (see raster_driver.h).
#include "devices/raster_driver.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "devices/device_point.h"
#include "devices/device_table.h"
#include "devices/screen_geometry.h"
#include "records/messages.h"

namespace stylus {

DriverStart RasterDriver::start(const DriverSetup& setup) {
  const bool turned = setup.page.rotation == 1;
  const int o = turned ? setup.page.ny : setup.page.nx;
  const int r = turned ? setup.page.nx : setup.page.ny;
  // The image size settings are those of the screen window's size; a default or refused
  // size goes back into them as the size taken.
  ScreenOptions opts = setup.options;
  raster_.qqvini(o, r, opts[kScreenWidth], opts[kScreenHeight], opts[kScreenSizeOption]);
  // The whole page fits into the raster as into a screen window of that size.
  const float scale =
      screen_page_scale(raster_.width(), raster_.height(), o, r, setup.page.user_scale);
  geometry_ = {scale, setup.page.nx, setup.page.ny, setup.page.rotation, 0.0f};
  return {scale, opts};
}

void RasterDriver::point(const DevicePoint& p, int pen) {
  if (pen == kPenDraw) raster_.qqvlin(last_x_, last_y_, p.ix, p.iy);
  last_x_ = p.ix;
  last_y_ = p.iy;
}

// Page corners to the pixels they cover, both edges included, as on the screen.
void RasterDriver::fill(int x1, int y1, int x2, int y2, int ncol, RgbColor /*rgb*/) {
  const DevicePoint a = screen_point(static_cast<float>(x1), static_cast<float>(y1), geometry_);
  const DevicePoint b = screen_point(static_cast<float>(x2), static_cast<float>(y2), geometry_);
  raster_.qqvfll(a.ix, a.iy, b.ix, b.iy, ncol);
}

bool RasterDriver::polygon(const DevicePoint* points, int n) {
  std::vector<int> x(static_cast<std::size_t>(n)), y(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i)
    x[static_cast<std::size_t>(i)] = points[i].ix, y[static_cast<std::size_t>(i)] = points[i].iy;
  raster_.qqvpol(x.data(), y.data(), n);
  return true;
}

bool RasterDriver::picture(IndexedImage& image) {
  const int w = raster_.width(), h = raster_.height();
  if (w <= 0 || h <= 0) return false;
  image.width = w;
  image.height = h;
  image.pixels.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  for (int y = 0; y < h; ++y)
    std::memcpy(image.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w),
                raster_.row(y), static_cast<std::size_t>(w));
  return true;
}

int RasterDriver::finish(const DriverEnd& end) {
  int written = 0;
  if (end_image_ && end.file != nullptr) {
    try {
      IndexedImage image;
      if (picture(image)) written = write_picture(*end_image_, image, colors_, *end.file);
    } catch (const std::bad_alloc&) {
      warnin(53);
    }
  }
  raster_.qqvfin();
  return written;
}

void RasterDriver::color_table(int kind, const int table[256]) {
  colors_.kind = kind;
  std::copy(table, table + 256, colors_.table.begin());
}

std::unique_ptr<Driver> make_raster_driver(const DeviceRecord& device, DriverMemory& /*memory*/) {
  if (device.variant == 0) return std::make_unique<RasterDriver>(std::nullopt);
  return std::make_unique<RasterDriver>(static_cast<ImageFormat>(device.variant));
}

}  // namespace stylus

// The raster devices (see raster_driver.h).
#include "devices/raster_driver.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "devices/device_point.h"
#include "state/file_names.h"
#include "state/messages.h"
#include "state/session.h"
#include "state/state.h"

namespace stylus {

bool RasterDriver::start(ByteSink* /*out*/) {
  const bool turned = g_ivray.page_rotation == 1;
  const int o = turned ? g_ivray.page_ny : g_ivray.page_nx;
  const int r = turned ? g_ivray.page_nx : g_ivray.page_ny;
  // The image size settings are those of the screen window's size.
  int* opts = g_ivray.screen_opts;
  raster_.qqvini(o, r, opts[kScreenWidth], opts[kScreenHeight], opts[kScreenSizeOption]);
  // The whole page fits into the raster as into a screen window of that size.
  const float w = static_cast<float>(raster_.width() - 1),
              h = static_cast<float>(raster_.height() - 1);
  g_xvray.page_scale = g_ivray.keep_scale != 0
                           ? std::min(w / static_cast<float>(o), h / static_cast<float>(r))
                           : screen_page_scale(raster_.width(), raster_.height(), o, r);
  return true;
}

void RasterDriver::point(const DevicePoint& p, int pen) {
  if (pen == kPenDraw) raster_.qqvlin(last_x_, last_y_, p.ix, p.iy);
  last_x_ = p.ix;
  last_y_ = p.iy;
}

// Page corners to the pixels they cover, both edges included, as on the screen.
void RasterDriver::fill(int x1, int y1, int x2, int y2, int ncol, RgbColor /*rgb*/) {
  const PageGeometry g = current_geometry();
  const DevicePoint a = screen_point(static_cast<float>(x1), static_cast<float>(y1), g);
  const DevicePoint b = screen_point(static_cast<float>(x2), static_cast<float>(y2), g);
  raster_.qqvfll(a.ix, a.iy, b.ix, b.iy, ncol);
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

int RasterDriver::finish() {
  int written = 0;
  if (end_image_) {
    // The name was free at the session start; an image written since may have taken it.
    if (gfilnn(g_control.metafile_name, sizeof g_control.metafile_name) != 0) {
      warnc1(37, g_control.metafile_name);
    } else {
      try {
        IndexedImage image;
        if (picture(image))
          written = write_picture_file(*end_image_, image, g_control.metafile_name);
      } catch (const std::bad_alloc&) {
        warnin(53);
      }
    }
  }
  raster_.qqvfin();
  return written;
}

std::unique_ptr<Driver> make_raster_driver(const DeviceRecord& device, DriverMemory& /*memory*/) {
  switch (device.code) {
    case 601:
      return std::make_unique<RasterDriver>(ImageFormat::kTiff);
    case 602:
      return std::make_unique<RasterDriver>(ImageFormat::kRaw);
    case 604:
      return std::make_unique<RasterDriver>(ImageFormat::kPng);
    default:
      return std::make_unique<RasterDriver>(std::nullopt);
  }
}

}  // namespace stylus

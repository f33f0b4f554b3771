// The raster devices "TIFF", "IMAG", "VIRT" and "PNG " (codes 601 to 604): the session
// draws into the virtual raster, and the session end writes it as a TIFF, raw or PNG image
// ("VIRT" writes nothing) and frees it.
#pragma once

#include <memory>
#include <optional>

#include "devices/device_point.h"
#include "devices/driver.h"
#include "devices/image_files.h"
#include "devices/virtual_raster.h"

namespace stylus {

class RasterDriver final : public Driver {
 public:
  // end_image: the format the session end writes; none for "VIRT".
  explicit RasterDriver(std::optional<ImageFormat> end_image) : end_image_(end_image) {}

  // Creates the raster in the image size of the options; returns the page scale.
  DriverStart start(const DriverSetup& setup) override;
  // A move only remembers the device point; a draw is a line of pixels from the last one.
  void point(const DevicePoint& p, int pen) override;
  void color(const ColorChange& change) override { raster_.qqvclr(change.ncol); }
  void color_table(int kind, const int table[256]) override;
  void fill(int x1, int y1, int x2, int y2, int ncol, RgbColor rgb) override;
  bool polygon(const DevicePoint* points, int n) override;
  bool picture(IndexedImage& image) override;
  // Writes the image into the end file, then frees the raster.
  int finish(const DriverEnd& end) override;

  const VirtualRaster& raster() const { return raster_; }

 private:
  // The last point apart, so that its two coordinates are copied one by one: the dispatch
  // stores them one by one, and a single wider read of both would have to wait for the
  // stores to reach the cache.
  int last_x_ = 0;
  std::optional<ImageFormat> end_image_;
  PageGeometry geometry_{};
  PictureColors colors_;
  VirtualRaster raster_;
  int last_y_ = 0;
};

}  // namespace stylus

// The LN03 device "LN03": a page for a sixel laser printer of the LN03 family, black on white.
// The session draws as the raster devices do, into a raster of an A4 sheet at 150 dots per
// inch, 1754 x 1240 pixels (1240 x 1754 for a portrait page), the page on it from the upper
// left corner and scaled as on a screen: a page point is 0.1 mm (times the user scale), and a
// page larger than A4 is scaled to fit. 150 dots per inch, each sixel pixel 2 x 2 of the
// printer's 300, because the raster keeps at most 2000 pixels a side.
// The end writes the printer's set-up (soft reset; sizes in its 1/300-inch pixels; A4 in the
// page's orientation; the origin at the paper's corner, the active position there), the sheet
// as one sixel picture and a form feed. The printer has one colour: colour 0, the background
// as on the screen, is the paper, and every other colour prints black.
#include <algorithm>
#include <new>
#include <optional>
#include <string>

#include "devices/device_table.h"
#include "devices/raster_driver.h"
#include "devices/sixel.h"
#include "records/messages.h"

namespace stylus {
namespace {

constexpr int kLong = 1754, kShort = 1240;  // A4 at 150 dots per inch
// Dots of the sixel picture, all in one colour register; no register is defined, as the
// printer has none, and pixels without a dot keep the paper.
constexpr unsigned char kInk = 1;
// P1 9: square pixels; P3 2: a sixel pixel is 2 of the printer's pixels wide.
constexpr SixelProtocol kProtocol{9, 1, 2};

class Ln03Driver final : public Driver {
 public:
  // The raster takes the sheet's size whatever the image size settings say; the settings go
  // back unchanged.
  DriverStart start(const DriverSetup& setup) override {
    const bool turned = setup.page.rotation == 1;
    const int o = turned ? setup.page.ny : setup.page.nx;
    const int r = turned ? setup.page.nx : setup.page.ny;
    landscape_ = r < o;
    DriverSetup sheet = setup;
    sheet.options[kScreenSizeOption] = 1;
    sheet.options[kScreenWidth] = landscape_ ? kLong : kShort;
    sheet.options[kScreenHeight] = landscape_ ? kShort : kLong;
    return {raster_.start(sheet).page_scale, setup.options};
  }
  void point(const DevicePoint& p, int pen) override { raster_.point(p, pen); }
  void color(const ColorChange& change) override { raster_.color(change); }
  void fill(int x1, int y1, int x2, int y2, int ncol, RgbColor rgb) override {
    raster_.fill(x1, y1, x2, y2, ncol, rgb);
  }
  bool polygon(const DevicePoint* points, int n) override { return raster_.polygon(points, n); }
  int finish(const DriverEnd& end) override;

 private:
  RasterDriver raster_{std::nullopt};
  bool landscape_ = true;
};

int Ln03Driver::finish(const DriverEnd& end) {
  int written = 0;
  try {
    IndexedImage image;
    if (end.file != nullptr && raster_.picture(image)) {
      SixelImage sixels;
      sixels.width = image.width;
      sixels.height = image.height;
      sixels.dots.resize(image.pixels.size());
      std::transform(image.pixels.begin(), image.pixels.end(), sixels.dots.begin(),
                     [](unsigned char c) { return c == 0 ? SixelImage::kSixelNoDot : kInk; });
      // DECSTR, SSU 7 (pixels), PUM (positions in them), PFS A4 landscape or portrait, DECOPM
      // (the origin at the paper's corner), VPA and HPA to it.
      std::string out = "\x1b[!p\x1b[7 I\x1b[11h";
      out += landscape_ ? "\x1b[?21 J" : "\x1b[?20 J";
      out += "\x1b[?52h\x1b[1d\x1b[1`";
      append_sixel_picture(out, sixels, kProtocol, {});
      out += '\f';
      end.file->put(out);
      written = 1;
    }
  } catch (const std::bad_alloc&) {
    warnin(53);
  }
  raster_.finish({});  // frees the raster
  return written;
}

}  // namespace

std::unique_ptr<Driver> make_ln03_driver(const DeviceRecord& /*device*/, DriverMemory& /*memory*/) {
  return std::make_unique<Ln03Driver>();
}

}  // namespace stylus

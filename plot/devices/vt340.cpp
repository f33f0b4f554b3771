// The VT340 device "VT34": a sixel picture that shows the plot on a terminal with sixel
// graphics (`xterm -ti vt340`, and most current terminal emulators) when the file is written
// to it (`cat stylus.`).
// The session draws as the raster devices do, into a raster of the VT340's graphics screen,
// 800 x 480 pixels, with the page scaled to fit; the end writes one sixel control string with
// the colour registers and the picture. The VT340 has 16 colour registers: the colours that
// the picture uses take at most 16 of them, the most used first (the lowest colour number
// first among equals), in the order of their colour numbers; any other colour is drawn in the
// register whose colour lies nearest to it.
#include <algorithm>
#include <array>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "devices/device_table.h"
#include "devices/raster_driver.h"
#include "devices/sixel.h"
#include "records/color_tables.h"
#include "records/messages.h"

namespace stylus {
namespace {

constexpr int kWidth = 800, kHeight = 480;
constexpr std::size_t kRegisters = 16;

struct Register {
  int rgb;          // 0xRRGGBB
  long pixels = 0;  // of every colour number with this colour
  int first;        // the lowest of those colour numbers
};

int distance(int a, int b) {
  const int dr = rgb_red(a) - rgb_red(b), dg = rgb_green(a) - rgb_green(b),
            db = rgb_blue(a) - rgb_blue(b);
  return dr * dr + dg * dg + db * db;
}

class Vt340Driver final : public Driver {
 public:
  // The raster takes the screen's size whatever the image size settings say; the settings
  // go back unchanged.
  DriverStart start(const DriverSetup& setup) override {
    DriverSetup screen = setup;
    screen.options[kScreenSizeOption] = 1;
    screen.options[kScreenWidth] = kWidth;
    screen.options[kScreenHeight] = kHeight;
    return {raster_.start(screen).page_scale, setup.options};
  }
  void point(const DevicePoint& p, int pen) override { raster_.point(p, pen); }
  void color(const ColorChange& change) override { raster_.color(change); }
  void color_table(int kind, const int table[256]) override {
    raster_.color_table(kind, table);
    std::copy(table, table + 256, table_.begin());
  }
  void fill(int x1, int y1, int x2, int y2, int ncol, RgbColor rgb) override {
    raster_.fill(x1, y1, x2, y2, ncol, rgb);
  }
  bool polygon(const DevicePoint* points, int n) override { return raster_.polygon(points, n); }
  bool picture(IndexedImage& image) override { return raster_.picture(image); }
  int finish(const DriverEnd& end) override;

 private:
  RasterDriver raster_{std::nullopt};
  std::array<int, 256> table_{};
};

int Vt340Driver::finish(const DriverEnd& end) {
  int written = 0;
  try {
    IndexedImage image;
    if (end.file != nullptr && raster_.picture(image)) {
      std::array<long, 256> count{};
      for (unsigned char c : image.pixels) ++count[c];
      // The colours in use, a colour shared by several colour numbers once.
      std::vector<Register> used;
      for (int c = 0; c < 256; ++c) {
        if (count[c] == 0) continue;
        const int rgb = table_[c] & 0xFFFFFF;
        auto it =
            std::find_if(used.begin(), used.end(), [&](const Register& r) { return r.rgb == rgb; });
        if (it == used.end()) it = used.insert(used.end(), {rgb, 0, c});
        it->pixels += count[c];
      }
      std::stable_sort(used.begin(), used.end(),
                       [](const Register& a, const Register& b) { return a.pixels > b.pixels; });
      used.resize(std::min(used.size(), kRegisters));
      std::sort(used.begin(), used.end(),
                [](const Register& a, const Register& b) { return a.first < b.first; });

      std::array<unsigned char, 256> reg{};
      for (int c = 0; c < 256; ++c) {
        if (count[c] == 0) continue;
        std::size_t best = 0;
        for (std::size_t k = 1; k < used.size(); ++k)
          if (distance(table_[c], used[k].rgb) < distance(table_[c], used[best].rgb)) best = k;
        reg[c] = static_cast<unsigned char>(best);
      }
      SixelImage sixels;
      sixels.width = image.width;
      sixels.height = image.height;
      sixels.dots.resize(image.pixels.size());
      std::transform(image.pixels.begin(), image.pixels.end(), sixels.dots.begin(),
                     [&](unsigned char c) { return reg[c]; });
      std::vector<RgbColor> definitions;
      for (const Register& r : used)
        definitions.push_back({rgb_red(r.rgb), rgb_green(r.rgb), rgb_blue(r.rgb)});
      std::string out;
      append_sixel_picture(out, sixels, {}, definitions);
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

std::unique_ptr<Driver> make_vt340_driver(const DeviceRecord& /*device*/,
                                          DriverMemory& /*memory*/) {
  return std::make_unique<Vt340Driver>();
}

}  // namespace stylus

// The screen device: the session's screen start and end on the process's screen windows,
// and the points, colours and fills of the vector path turned into device requests.
#include "devices/screen_driver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "devices/device_point.h"
#include "devices/device_table.h"
#include "devices/headless_window_system.h"
#include "devices/image_files.h"
#include "devices/image_formats.h"
#include "devices/screen_geometry.h"
#include "records/messages.h"

namespace stylus {
namespace {

struct ScreenProcess {
  std::unique_ptr<WindowSystem> ws;
  std::unique_ptr<ScreenWindows> windows;
  bool offscreen = false;  // no display could be opened: nobody sees the windows
};
ScreenProcess& process() {
  static ScreenProcess p;
  return p;
}

class ScreenDriver final : public Driver {
 public:
  DriverStart start(const DriverSetup& setup) override {
    int width = setup.page.nx, height = setup.page.ny;
    int wpix = 0, hpix = 0;
    ScreenOptions o = setup.options;
    qqwini(setup.row != nullptr ? setup.row->code : kScreenCodeFull, width, height,
           o[kScreenSizeOption], o[kScreenPosX], o[kScreenPosY], o[kScreenWidth], o[kScreenHeight],
           o[kScreenDepth], o[kScreenColorMap], wpix, hpix, o[kScreenBitmap], o[kScreenBackground]);
    const float scale = screen_page_scale(wpix, hpix, width, height, setup.page.user_scale);
    geometry_ = {scale, setup.page.nx, setup.page.ny, setup.page.rotation, 0.0f};
    return {scale, o, qqwmsg};
  }
  void point(const DevicePoint& p, int pen) override { qqwdrw(p.ix, p.iy, pen); }
  void color(const ColorChange& change) override { qqwclr(change.ncol); }
  void color_table(int kind, const int table[256]) override {
    colors_.kind = kind;
    std::copy(table, table + 256, colors_.table.begin());
    qqwvlt(kind, table);
  }
  // Page corners to the pixels they cover, both edges included.
  void fill(int x1, int y1, int x2, int y2, int ncol, RgbColor /*rgb*/) override {
    const DevicePoint a = screen_point(static_cast<float>(x1), static_cast<float>(y1), geometry_);
    const DevicePoint b = screen_point(static_cast<float>(x2), static_cast<float>(y2), geometry_);
    qqwfll(std::min(a.ix, b.ix), std::min(a.iy, b.iy), std::abs(b.ix - a.ix) + 1,
           std::abs(b.iy - a.iy) + 1, ncol);
  }
  bool polygon(const DevicePoint* points, int n) override {
    std::vector<Point> pixels;
    for (int i = 0; i < n; ++i) pixels.push_back({points[i].ix, points[i].iy});
    qqwpol(pixels.data(), n);
    return true;
  }
  void flush() override { qqwdrw(0, 0, kPenFlush); }
  // The window's picture as colour numbers of the current table (nearest colours).
  bool picture(IndexedImage& image) override {
    std::vector<Rgb> rgb;
    if (!screen_windows().picture(rgb, image.width, image.height)) return false;
    image.pixels =
        nearest_color_numbers(rgb, colors_.table.data(), png_palette_entries(colors_.kind));
    return true;
  }
  int finish(const DriverEnd& end) override {
    // A picture drawn where nobody can see it is kept as a file instead of thrown away.
    if (process().offscreen) {
      std::string name;
      IndexedImage image;
      if (!picture(image)) {
        warnin(40);
      } else if (save_picture(ImageFormat::kPng, image, colors_, "stylus.png", &name)) {
        std::fprintf(stderr, "STYLUS: the off-screen picture is saved as %s\n", name.c_str());
        std::fflush(stderr);
      }
    }
    qqwfin(end.window_mode);
    // A display whose connection was lost is closed; the next session opens one afresh.
    if (ScreenProcess& p = process(); p.ws != nullptr && p.ws->lost()) {
      p.windows.reset();
      p.ws.reset();
    }
    return 0;  // the screen writes no metafile
  }

 private:
  PageGeometry geometry_{};
  PictureColors colors_;
};

}  // namespace

ScreenWindows& screen_windows() {
  ScreenProcess& p = process();
  if (!p.windows) {
    if (!p.ws) {
      p.ws = open_window_system();
      p.offscreen = dynamic_cast<HeadlessWindowSystem*>(p.ws.get()) != nullptr;
    }
    p.windows = std::make_unique<ScreenWindows>(*p.ws);
  }
  return *p.windows;
}

void set_screen_window_system(std::unique_ptr<WindowSystem> ws,
                              std::function<void(int)> exit_process) {
  ScreenProcess& p = process();
  p.windows.reset();
  p.ws = std::move(ws);
  p.offscreen = false;
  if (p.ws) p.windows = std::make_unique<ScreenWindows>(*p.ws, std::move(exit_process));
}

std::unique_ptr<Driver> make_screen_driver(const DeviceRecord& /*device*/,
                                           DriverMemory& /*memory*/) {
  return std::make_unique<ScreenDriver>();
}

void qqwini(int code, int& page_w, int& page_h, int& size_opt, int& x, int& y, int& width,
            int& height, int& depth, int& mapping, int& client_w, int& client_h, int& bitmap,
            int& background) {
  screen_windows().qqwini(code, page_w, page_h, size_opt, x, y, width, height, depth, mapping,
                          client_w, client_h, bitmap, background);
}
void qqwdrw(int ix, int iy, int pen) {
  screen_windows().qqwdrw(ix, iy, pen);
}
void qqwclr(int index) {
  screen_windows().qqwclr(index);
}
void qqwvlt(int kind, const int table[256]) {
  screen_windows().qqwvlt(kind, table);
}
void qqwfll(int x, int y, int w, int h, int index) {
  screen_windows().qqwfll(x, y, w, h, index);
}
void qqwpol(const Point* points, int n) {
  screen_windows().qqwpol(points, n);
}
void qqwsbf() {
  screen_windows().qqwsbf();
}
void qqwfin(int option) {
  screen_windows().qqwfin(option);
}
void qqwwcls() {
  screen_windows().qqwwcls();
}
void qqwmsg(const char* text, const char* caption) {
  screen_windows().qqwmsg(text ? text : "", caption ? caption : "");
}

}  // namespace stylus

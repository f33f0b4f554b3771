// The window system of a machine without a display: windows are records, drawing goes
// into an in-memory raster per window, and there are never any events, so that the
// end-of-plot wait returns at once.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "devices/window_system.h"

namespace stylus {

// A width x height raster of RGB values, with the thin-pen primitives of the window layer.
class PixelRaster {
 public:
  PixelRaster() = default;
  PixelRaster(int width, int height, Rgb fill) : w_(width), h_(height), px_(size(), fill) {}

  int width() const { return w_; }
  int height() const { return h_; }
  // Colour at (x, y); black outside the raster.
  Rgb at(int x, int y) const { return inside(x, y) ? px_[index(x, y)] : kBlack; }

  void set(int x, int y, Rgb c) {
    if (inside(x, y)) px_[index(x, y)] = c;
  }
  // A straight line with both end points set.
  void line(Point a, Point b, Rgb c);
  void fill(const Rect& r, Rgb c);
  // Copies the upper-left width x height pixels of `src` to (0, 0).
  void copy_from(const PixelRaster& src, int width, int height);

 private:
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
  std::size_t index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(w_) + static_cast<std::size_t>(x);
  }
  std::size_t size() const {
    return w_ > 0 && h_ > 0 ? static_cast<std::size_t>(w_) * static_cast<std::size_t>(h_) : 0;
  }
  int w_ = 0, h_ = 0;
  std::vector<Rgb> px_;
};

class HeadlessWindowSystem : public WindowSystem {
 public:
  // The screen a window is laid out on; the default is a common desktop.
  explicit HeadlessWindowSystem(ScreenInfo screen = {1280, 1024, 24},
                                FrameMetrics frame = {19, 4, 4})
      : screen_(screen), frame_(frame) {}

  ScreenInfo screen() override { return screen_; }
  FrameMetrics frame_metrics() override { return frame_; }
  WindowId create_window(const Rect& outer, const std::string& title, Rgb background) override;
  void destroy_window(WindowId window) override;
  Rect client_rect(WindowId window) override;
  void set_title(WindowId window, const std::string& title) override;
  bool create_backing_store(WindowId window, int width, int height) override;
  void polyline(WindowId window, const Point* points, int count, Rgb color) override;
  void set_pixel(WindowId window, int x, int y, Rgb color) override;
  void fill_rect(WindowId window, const Rect& rect, Rgb color) override;
  void copy_to_window(WindowId window, int width, int height) override;
  std::vector<Rgb> read_pixels(WindowId window, int width, int height) override;
  std::optional<WindowEvent> next_event() override { return std::nullopt; }
  // Prints the caption and the text on standard output: nothing is lost without a screen.
  void message_box(const std::string& text, const std::string& caption) override;

  // For inspection: the window's visible pixels, its backing store, its title.
  struct Window {
    Rect client;
    std::string title;
    PixelRaster visible;
    PixelRaster backing;
    bool has_backing = false;
  };
  const Window* window(WindowId id) const;

 private:
  PixelRaster* target(WindowId id);

  ScreenInfo screen_;
  FrameMetrics frame_;
  std::map<WindowId, Window> windows_;
  WindowId next_id_ = 1;
};

}  // namespace stylus

// A recording window system for tests: every operation is logged in order, events are
// injected by the test, and the screen and decoration sizes are set by the test.
#pragma once

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "devices/window_system.h"

namespace stylus::testing {

class FakeWindowSystem : public WindowSystem {
 public:
  enum class OpKind {
    create_window,
    destroy_window,
    set_title,
    create_backing_store,
    polyline,
    set_pixel,
    fill_rect,
    copy_to_window,
    next_event,
    message_box,
  };
  struct Op {
    OpKind kind;
    WindowId window = 0;
    Rect rect;                  // create_window: outer; fill_rect; backing and copy sizes
    std::vector<Point> points;  // polyline; set_pixel: the one point
    Rgb color = 0;              // drawing colour; create_window: background
    std::string text;           // titles; message_box: text
    std::string caption;        // message_box
  };

  explicit FakeWindowSystem(ScreenInfo screen = {1280, 1024, 24}, FrameMetrics frame = {19, 4, 4})
      : screen_(screen), frame_(frame) {}

  // Test controls.
  void push_event(WindowEvent e) { events_.push_back(e); }
  void fail_backing_stores(bool fail) { fail_backing_ = fail; }
  const std::vector<Op>& ops() const { return ops_; }
  void clear_ops() { ops_.clear(); }
  std::vector<Op> ops_of(OpKind kind) const {
    std::vector<Op> out;
    std::copy_if(ops_.begin(), ops_.end(), std::back_inserter(out),
                 [kind](const Op& o) { return o.kind == kind; });
    return out;
  }
  // Index of the first operation of that kind on that window (any window: 0), or -1.
  int index_of(OpKind kind, WindowId window = 0) const {
    for (std::size_t i = 0; i < ops_.size(); ++i)
      if (ops_[i].kind == kind && (window == 0 || ops_[i].window == window))
        return static_cast<int>(i);
    return -1;
  }
  bool is_open(WindowId w) const { return std::find(open_.begin(), open_.end(), w) != open_.end(); }
  std::string title(WindowId w) const {
    std::string t;
    for (const Op& o : ops_)
      if ((o.kind == OpKind::create_window || o.kind == OpKind::set_title) && o.window == w)
        t = o.text;
    return t;
  }
  WindowId last_window() const { return next_id_ - 1; }

  // The window system.
  ScreenInfo screen() override { return screen_; }
  FrameMetrics frame_metrics() override { return frame_; }
  WindowId create_window(const Rect& outer, const std::string& title, Rgb background) override {
    const WindowId id = next_id_++;
    open_.push_back(id);
    clients_.resize(id + 1);
    clients_[id] = {outer.x + frame_.frame_width, outer.y + frame_.caption + frame_.frame_height,
                    outer.width - 2 * frame_.frame_width,
                    outer.height - frame_.caption - 2 * frame_.frame_height};
    ops_.push_back({OpKind::create_window, id, outer, {}, background, title, {}});
    return id;
  }
  void destroy_window(WindowId window) override {
    open_.erase(std::remove(open_.begin(), open_.end(), window), open_.end());
    ops_.push_back({OpKind::destroy_window, window, {}, {}, 0, {}, {}});
  }
  Rect client_rect(WindowId window) override {
    return window < clients_.size() ? clients_[window] : Rect{};
  }
  void set_title(WindowId window, const std::string& title) override {
    ops_.push_back({OpKind::set_title, window, {}, {}, 0, title, {}});
  }
  bool create_backing_store(WindowId window, int width, int height) override {
    ops_.push_back({OpKind::create_backing_store, window, {0, 0, width, height}, {}, 0, {}, {}});
    return !fail_backing_;
  }
  void polyline(WindowId window, const Point* points, int count, Rgb color) override {
    ops_.push_back({OpKind::polyline, window, {}, {points, points + count}, color, {}, {}});
  }
  void set_pixel(WindowId window, int x, int y, Rgb color) override {
    ops_.push_back({OpKind::set_pixel, window, {}, {{x, y}}, color, {}, {}});
  }
  void fill_rect(WindowId window, const Rect& rect, Rgb color) override {
    ops_.push_back({OpKind::fill_rect, window, rect, {}, color, {}, {}});
  }
  void copy_to_window(WindowId window, int width, int height) override {
    ops_.push_back({OpKind::copy_to_window, window, {0, 0, width, height}, {}, 0, {}, {}});
  }
  // Hands out the injected events in order; nothing once they are used up.
  std::optional<WindowEvent> next_event() override {
    ops_.push_back({OpKind::next_event, 0, {}, {}, 0, {}, {}});
    if (events_.empty()) return std::nullopt;
    WindowEvent e = events_.front();
    events_.pop_front();
    ops_.back().window = e.window;
    return e;
  }
  void message_box(const std::string& text, const std::string& caption) override {
    ops_.push_back({OpKind::message_box, 0, {}, {}, 0, text, caption});
  }

 private:
  ScreenInfo screen_;
  FrameMetrics frame_;
  std::vector<Op> ops_;
  std::deque<WindowEvent> events_;
  std::vector<WindowId> open_;
  std::vector<Rect> clients_;
  WindowId next_id_ = 1;
  bool fail_backing_ = false;
};

}  // namespace stylus::testing

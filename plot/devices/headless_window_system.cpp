// The headless window system: windows and backing stores in memory, no events.
#include "devices/headless_window_system.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace stylus {

void PixelRaster::line(Point a, Point b, Rgb c) {
  if (a.y == b.y) {
    // A row (the rows of a wide line's band come this way): only its part in the raster.
    if (a.y < 0 || a.y >= h_) return;
    const int x0 = std::max(std::min(a.x, b.x), 0), x1 = std::min(std::max(a.x, b.x), w_ - 1);
    if (x0 <= x1) std::fill(px_.begin() + index(x0, a.y), px_.begin() + index(x1, a.y) + 1, c);
    return;
  }
  // Bresenham over the whole length; points outside the raster are skipped by set().
  long x = a.x, y = a.y;
  const long dx = std::labs(static_cast<long>(b.x) - a.x);
  const long dy = -std::labs(static_cast<long>(b.y) - a.y);
  const int sx = a.x < b.x ? 1 : -1;
  const int sy = a.y < b.y ? 1 : -1;
  long err = dx + dy;
  for (;;) {
    set(static_cast<int>(x), static_cast<int>(y), c);
    if (x == b.x && y == b.y) break;
    const long e2 = 2 * err;
    if (e2 >= dy) err += dy, x += sx;
    if (e2 <= dx) err += dx, y += sy;
  }
}

void PixelRaster::fill(const Rect& r, Rgb c) {
  const int x0 = std::max(r.x, 0), y0 = std::max(r.y, 0);
  const int x1 = std::min(r.x + r.width, w_), y1 = std::min(r.y + r.height, h_);
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) px_[index(x, y)] = c;
}

void PixelRaster::copy_from(const PixelRaster& src, int width, int height) {
  const int w = std::min({width, src.w_, w_}), h = std::min({height, src.h_, h_});
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) px_[index(x, y)] = src.px_[src.index(x, y)];
}

WindowId HeadlessWindowSystem::create_window(const Rect& outer, const std::string& title,
                                             Rgb background) {
  Window w;
  w.client = client_area(outer, frame_);
  w.title = title;
  w.visible = PixelRaster(w.client.width, w.client.height, background);
  const WindowId id = next_id_++;
  windows_.emplace(id, std::move(w));
  return id;
}

void HeadlessWindowSystem::destroy_window(WindowId window) {
  windows_.erase(window);
}

Rect HeadlessWindowSystem::client_rect(WindowId window) {
  const Window* w = this->window(window);
  return w ? w->client : Rect{};
}

void HeadlessWindowSystem::set_title(WindowId window, const std::string& title) {
  auto it = windows_.find(window);
  if (it != windows_.end()) it->second.title = title;
}

bool HeadlessWindowSystem::create_backing_store(WindowId window, int width, int height) {
  auto it = windows_.find(window);
  if (it == windows_.end() || !backing_size_fits(width, height)) return false;
  it->second.backing = PixelRaster(width, height, kBlack);
  it->second.has_backing = true;
  return true;
}

PixelRaster* HeadlessWindowSystem::target(WindowId id) {
  auto it = windows_.find(id);
  if (it == windows_.end()) return nullptr;
  return it->second.has_backing ? &it->second.backing : &it->second.visible;
}

void HeadlessWindowSystem::polyline(WindowId window, const Point* points, int count, Rgb color) {
  PixelRaster* r = target(window);
  if (!r) return;
  for (int i = 1; i < count; ++i) r->line(points[i - 1], points[i], color);
}

void HeadlessWindowSystem::set_pixel(WindowId window, int x, int y, Rgb color) {
  if (PixelRaster* r = target(window)) r->set(x, y, color);
}

void HeadlessWindowSystem::fill_rect(WindowId window, const Rect& rect, Rgb color) {
  if (PixelRaster* r = target(window)) r->fill(rect, color);
}

void HeadlessWindowSystem::copy_to_window(WindowId window, int width, int height) {
  auto it = windows_.find(window);
  if (it == windows_.end() || !it->second.has_backing) return;
  it->second.visible.copy_from(it->second.backing, width, height);
}

std::vector<Rgb> HeadlessWindowSystem::read_pixels(WindowId window, int width, int height) {
  const PixelRaster* r = target(window);
  if (!r || !backing_size_fits(width, height)) return {};
  std::vector<Rgb> out;
  out.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) out.push_back(r->at(x, y));
  return out;
}

void HeadlessWindowSystem::message_box(const std::string& text, const std::string& caption) {
  std::printf("%s:\n%s\n", caption.c_str(), text.c_str());
  std::fflush(stdout);
}

const HeadlessWindowSystem::Window* HeadlessWindowSystem::window(WindowId id) const {
  auto it = windows_.find(id);
  return it == windows_.end() ? nullptr : &it->second;
}

}  // namespace stylus

namespace stylus {
std::unique_ptr<WindowSystem> make_headless_window_system() {
  return std::make_unique<HeadlessWindowSystem>();
}
}  // namespace stylus

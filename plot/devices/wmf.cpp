// The Windows metafile device: the session's calls recorded by WmfRecorder in the order a
// metafile device context would record them, into the session's output as they come.
#include "devices/wmf.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "devices/device_point.h"
#include "devices/device_table.h"

namespace stylus {
namespace {

constexpr int kWindowMargin = 20;
// Largest window extent the format's 16-bit coordinates hold.
constexpr int kLargestExtent = 32767;

}  // namespace

DriverStart WmfDriver::start(const DriverSetup& setup) {
  float scale = kTwipsPerPoint * setup.page.user_scale;
  int width = setup.page.nx, height = setup.page.ny;
  if (setup.page.rotation == 1) std::swap(width, height);
  // A page larger than the format's coordinates hold in twips (DA2L and up) is recorded in
  // larger units, so that it is drawn whole instead of wrapping round; a player scales the
  // window to its output in either case.
  const float largest = static_cast<float>(std::max(width, height));
  if (round_point(largest * scale) > kLargestExtent - kWindowMargin) {
    scale = static_cast<float>(kLargestExtent - kWindowMargin) / largest;
  }
  geometry_ = {scale, setup.page.nx, setup.page.ny, setup.page.rotation, 0.0f};
  qqwmf1(round_point(static_cast<float>(width) * scale),
         round_point(static_cast<float>(height) * scale), setup.out);
  return {scale, setup.options};
}

void WmfDriver::qqwmf1(int w, int h, ByteSink* out) {
  dc_ = WmfRecorder(out);
  out_ = out;
  dc_.set_map_mode(kMmAnisotropic);
  dc_.set_window_org(0, 0);
  dc_.set_window_ext(w + kWindowMargin, h + kWindowMargin);
  open_ = true;
  pen_selected_ = false;
  default_brush_ = WmfRecorder::kDefaultObject;
}

int WmfDriver::qqwmf2(ByteSink* file) {
  if (!open_) return 0;
  open_ = false;
  const std::string bytes = dc_.close();
  if (out_ != nullptr) return out_->failed() ? 0 : 1;
  if (file == nullptr) return 0;
  file->put(bytes);
  return 1;
}

void WmfDriver::qqwmf3(RgbColor c) {
  if (!open_) return;
  pen_color_ = c;
  const int pen = dc_.create_pen(c);
  dc_.set_text_color(c);
  const int replaced = dc_.select_object(pen);
  // The first selection replaces the player's own pen, which is not ours to delete.
  if (pen_selected_) dc_.delete_object(replaced);
  pen_selected_ = true;
}

void WmfDriver::qqwmf4(int ix, int iy, int pen) {
  if (!open_) return;
  if (pen == kPenDraw) {
    dc_.line_to(ix, iy);
  } else {
    dc_.move_to(ix, iy);
  }
}

void WmfDriver::qqwmf5(int x, int y, int w, int h, RgbColor c) {
  if (!open_) return;
  const int brush = dc_.create_brush(c);
  const int previous = dc_.select_object(brush);
  dc_.pat_blt(x, y, w, h, kPatCopy);
  restore_brush(previous, brush);
}

void WmfDriver::qqwmf6(const int* x, const int* y, int n) {
  if (!open_) return;
  const int brush = dc_.create_brush(pen_color_);
  const int previous = dc_.select_object(brush);
  dc_.polygon(x, y, n);
  restore_brush(previous, brush);
}

void WmfDriver::restore_brush(int previous, int brush) {
  // A fill leaves the brush it found selected, so that the new brush is no longer in use
  // when it is deleted. The player's own brush (white) has no index: a copy of it is
  // recorded the first time it is needed.
  if (previous == WmfRecorder::kDefaultObject) {
    if (default_brush_ == WmfRecorder::kDefaultObject) {
      default_brush_ = dc_.create_brush({255, 255, 255});
    }
    previous = default_brush_;
  }
  dc_.select_object(previous);
  dc_.delete_object(brush);
}

// Page corners to the device rectangle between them.
void WmfDriver::fill(int x1, int y1, int x2, int y2, int /*ncol*/, RgbColor rgb) {
  const DevicePoint a = screen_point(static_cast<float>(x1), static_cast<float>(y1), geometry_);
  const DevicePoint b = screen_point(static_cast<float>(x2), static_cast<float>(y2), geometry_);
  qqwmf5(std::min(a.ix, b.ix), std::min(a.iy, b.iy), std::abs(b.ix - a.ix), std::abs(b.iy - a.iy),
         rgb);
}

bool WmfDriver::polygon(const DevicePoint* points, int n) {
  std::vector<int> x(static_cast<std::size_t>(n)), y(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    x[static_cast<std::size_t>(i)] = points[i].ix;
    y[static_cast<std::size_t>(i)] = points[i].iy;
  }
  qqwmf6(x.data(), y.data(), n);
  return true;
}

int WmfDriver::finish(const DriverEnd& end) {
  return qqwmf2(end.file);
}

std::unique_ptr<Driver> make_wmf_driver(const DeviceRecord& /*device*/, DriverMemory& /*memory*/) {
  return std::make_unique<WmfDriver>();
}

}  // namespace stylus

// Window size and position of the screen device from the screen, the decorations and the
// page format.
#include "devices/screen_geometry.h"

#include <algorithm>

namespace stylus {
namespace {

// v * num / den + 0.5, truncated; in single precision as the page arithmetic is.
int scaled(int v, int num, int den) {
  return static_cast<int>(
      static_cast<float>(v) * static_cast<float>(num) / static_cast<float>(den) + 0.5f);
}

ClientPlacement portrait_size(int code, int page_w, int page_h, const ScreenInfo& s,
                              const FrameMetrics& f) {
  ClientPlacement c;
  c.height =
      code == kScreenCodeFull ? s.height - f.caption - 2 * f.frame_height + 1 : 2 * s.height / 3;
  c.width = scaled(c.height, page_w, page_h);
  return c;
}

}  // namespace

ClientPlacement client_size(int code, int page_w, int page_h, const ScreenInfo& s,
                            const FrameMetrics& f) {
  if (page_w <= 0 || page_h <= 0) return {};
  if (page_h >= page_w) return portrait_size(code, page_w, page_h, s, f);
  ClientPlacement c;
  c.width = code == kScreenCodeFull ? s.width - 2 * f.frame_width : 2 * s.width / 3;
  c.height = scaled(c.width, page_h, page_w);
  if (outer_rect(c, f).height > s.height) return portrait_size(code, page_w, page_h, s, f);
  return c;
}

ClientPlacement client_position(int code, ClientPlacement c, const ScreenInfo& s,
                                const FrameMetrics& f) {
  const int right = s.width - c.width - f.frame_width;
  const int bottom = s.height - c.height - f.frame_height;
  const int top = f.frame_height + f.caption - 1;
  switch (code) {
    case 76:
      c.x = right, c.y = top;
      break;
    case 77:
      c.x = f.frame_width, c.y = top;
      break;
    case 78:
      c.x = f.frame_width, c.y = bottom;
      break;
    case 79:
      c.x = (s.width - c.width) / 2, c.y = (s.height - c.height) / 2 + f.caption / 2;
      break;
    default:
      c.x = right, c.y = bottom;
      break;  // 75 and 80: bottom right
  }
  c.x = std::max(c.x, f.frame_width);
  c.y = std::max(c.y, top);
  return c;
}

Rect outer_rect(const ClientPlacement& c, const FrameMetrics& f) {
  return {c.x - f.frame_width, c.y - f.caption - f.frame_height + 1,
          c.width + 2 * f.frame_width - 1, c.height + f.caption + 2 * f.frame_height - 1};
}

float screen_page_scale(int wpix, int hpix, int width, int height, float user_scale) {
  const float w = static_cast<float>(width);
  const float h = static_cast<float>(height);
  float scale = std::min(static_cast<float>(wpix - 1) / w, static_cast<float>(hpix - 1) / h);
  const int limit_pixels = height < width ? wpix : hpix;
  return std::min(scale, static_cast<float>(limit_pixels - 1) * user_scale / 2969.0f);
}

}  // namespace stylus

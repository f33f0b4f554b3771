// Where a screen window of the plotting library goes: its client size from the page's
// aspect ratio, its client position by device code, and the outer rectangle that the
// decorations add around it.
#pragma once

#include "devices/window_system.h"

namespace stylus {

// Device codes of the screen windows: 75 to 79 are windows 1 to 5 at fixed corners,
// 80 is window 1 as wide (or as high) as the screen allows.
inline constexpr int kScreenCodeFirst = 75;
inline constexpr int kScreenCodeFull = 80;

// Size option of the plot state: 0 computes size and position, 1 takes both as given,
// any other value takes the size as given and computes the position.
struct ClientPlacement {
  int x = 0, y = 0, width = 0, height = 0;
};

// The client size of a window for a page of page_w x page_h points. A landscape page
// takes its width from the screen width, a portrait page its height from the screen
// height; a landscape window whose outer height would not fit the screen (a wide
// screen) is sized by the portrait rule instead, so that the whole page stays visible.
ClientPlacement client_size(int code, int page_w, int page_h, const ScreenInfo& screen,
                            const FrameMetrics& frame);

// The client position of a window of that size by device code, kept clear of the
// screen's upper-left edges.
ClientPlacement client_position(int code, ClientPlacement size, const ScreenInfo& screen,
                                const FrameMetrics& frame);

// Device units per point for a screen window (or an image) whose drawing area is wpix x
// hpix pixels, for a page of width x height points as it lies on the device: the whole page
// fits, and a landscape page is never drawn larger than user_scale x (wpix - 1) / 2969 per
// point (a portrait page: (hpix - 1) instead of (wpix - 1)).
float screen_page_scale(int wpix, int hpix, int width, int height, float user_scale);

// The outer rectangle of a window whose client area is `client`.
Rect outer_rect(const ClientPlacement& client, const FrameMetrics& frame);

}  // namespace stylus

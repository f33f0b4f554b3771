// Chooses the window system of the process: the X11 display when one can be opened,
// otherwise drawing off-screen, so that a program plotting to the screen still completes;
// and the polygon fill that every window system shares.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "devices/polygon_scan.h"
#include "devices/window_system.h"

namespace stylus {

void WindowSystem::fill_polygon(WindowId window, const Point* points, int count, Rgb color) {
  std::vector<int> x, y;
  for (int i = 0; i < count; ++i) {
    x.push_back(points[i].x);
    y.push_back(points[i].y);
  }
  scan_polygon(x.data(), y.data(), count, -kMaxWindowExtent, kMaxWindowExtent,
               [&](int row, int first, int last) {
                 fill_rect(window, {first, row, last - first + 1, 1}, color);
               });
}

std::unique_ptr<WindowSystem> open_window_system() {
#if STYLUS_HAVE_X11
  if (auto x11 = open_x11_window_system()) return x11;
  const char* name = std::getenv("DISPLAY");
  if (name != nullptr && *name != '\0') {
    std::fprintf(stderr,
                 "STYLUS: cannot open display \"%s\"; the screen window is drawn off-screen\n",
                 name);
  } else {
    std::fputs("STYLUS: no display (DISPLAY is not set); the screen window is drawn off-screen\n",
               stderr);
  }
#else
  std::fputs("STYLUS: built without X11; the screen window is drawn off-screen\n", stderr);
#endif
  std::fflush(stderr);
  return make_headless_window_system();
}

}  // namespace stylus

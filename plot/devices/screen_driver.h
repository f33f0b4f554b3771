// The screen device of the library (device codes up to 100): the process's screen
// windows behind the one driver interface, and the driver's entry points by their names.
#pragma once

#include <functional>
#include <memory>

#include "devices/driver.h"
#include "devices/screen_window.h"
#include "devices/window_system.h"

namespace stylus {

// The screen windows of the process. The window system is opened on first use: X11 when
// a display can be opened, else off-screen with a note on standard error.
ScreenWindows& screen_windows();
// Replaces the window system of the process and starts the screen windows afresh (tests;
// exit_process replaces the process exit of the close button).
void set_screen_window_system(std::unique_ptr<WindowSystem> ws,
                              std::function<void(int)> exit_process = {});

// The entry points, on the process's screen windows.
void qqwini(int code, int& page_w, int& page_h, int& size_opt, int& x, int& y, int& width,
            int& height, int& depth, int& mapping, int& client_w, int& client_h, int& bitmap,
            int& background);
void qqwdrw(int ix, int iy, int pen);
void qqwclr(int index);
void qqwvlt(int kind, const int table[256]);
void qqwfll(int x, int y, int w, int h, int index);
void qqwpol(const Point* points, int n);
void qqwsbf();
void qqwfin(int option);
void qqwwcls();
void qqwmsg(const char* text, const char* caption);

}  // namespace stylus

// The screen window driver of the plotting library: up to five windows that draw into a
// backing store, a 50-point device polyline, colour slots, the end-of-plot wait for the
// right mouse button and the event handling behind it, over a WindowSystem.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "devices/window_system.h"

namespace stylus {

class ScreenWindows {
 public:
  static constexpr int kSlots = 5;
  static constexpr int kPolylineSize = 50;

  // exit_process ends the process; the close button calls it with status 0.
  explicit ScreenWindows(WindowSystem& ws, std::function<void(int)> exit_process = {});

  // Opens the window of a screen device code (75..80). The references are the page size
  // in points and the screen options of the plot state: size option, client position and
  // size (computed unless given, written back), colour depth (output), colour mapping,
  // the client width and height usable for drawing (outputs), bitmap option (1: draw
  // straight into the window; 2 means 0) and background option (2: white). When the
  // window's picture cannot be allocated: the message "Cannot create Bitmap", no window,
  // and std::bad_alloc.
  void qqwini(int code, int& page_w, int& page_h, int& size_opt, int& x, int& y, int& width,
              int& height, int& depth, int& mapping, int& client_w, int& client_h, int& bitmap,
              int& background);
  // One device point in client pixels: pen 3 move, 2 draw, 999 flush.
  void qqwdrw(int ix, int iy, int pen);
  void qqwclr(int index);
  // Loads the colour slots from a 256-entry table of 0x00RRGGBB values.
  void qqwvlt(int kind, const int table[256]);
  void qqwfll(int x, int y, int w, int h, int index);
  // Fills the polygon of n client pixels in the current colour, after the pending line.
  void qqwpol(const Point* points, int n);
  // Flushes and shows the backing store.
  void qqwsbf();
  // End of plot: option = end mode + 10 x title mode.
  void qqwfin(int option);
  void qqwwcls();
  void qqwmsg(const std::string& text, const std::string& caption);
  // The picture of the current window, pending lines drawn first: its backing store (the
  // window itself without one) as colours, rows from the top. False when no window is open
  // or its pixels cannot be read.
  bool picture(std::vector<Rgb>& pixels, int& width, int& height);

  // Handling of one window-system event (the window procedure).
  void handle(const WindowEvent& e);

  // For inspection.
  int colour_mode() const { return iclrop_; }
  int current_slot() const { return iwin_; }
  int slot_state(int slot) const { return iopnwn_[slot]; }
  WindowId slot_window(int slot) const { return iwid_[slot]; }
  Rgb slot_colour(int slot) const { return colors_[slot]; }

 private:
  void qqwwini();
  void qqwopn(int code, int page_w, int page_h, int& size_opt, int& x, int& y, int& width,
              int& height, int& client_w, int& client_h);
  void qqwwmc(WindowId window);
  void close_slot(int slot);
  void destroyed(WindowId window);
  // Colour reference of a colour index, and the colour it stands for.
  std::uint32_t colour_ref(int index) const;
  std::uint32_t palette_ref(int index) const;
  Rgb resolve(std::uint32_t ref) const;
  void set_title(int slot, const char* format);

  WindowSystem& ws_;
  std::function<void(int)> exit_process_;

  // Screen and decorations.
  int nxr_ = 0, nyr_ = 0, ndepth_ = 0;
  std::int64_t nclrs_ = 0;
  int nhtit_ = 0, nhframe_ = 0, nwframe_ = 0;
  int nxwind_ = 0, nywind_ = 0, nwwind_ = 0, nhwind_ = 0;
  // Window slots.
  int iwin_ = 0, iwin1_ = 1, iwold_ = -1;
  std::array<int, kSlots> iopnwn_{};
  std::array<int, kSlots> ititwn_{};
  std::array<WindowId, kSlots> iwid_{};
  std::array<bool, kSlots> ipid_{};  // the slot has a backing store
  std::array<Point, kSlots> ptS_{};  // backing-store size, for copying
  WindowId hwnd_main_ = 0;
  // Colours.
  std::array<Rgb, 256> colors_{};
  std::uint32_t iclrref_ = 0;  // last colour reference of a colour change or fill
  std::uint32_t pen_ref_ = 0;  // colour reference of the current pen
  int iclrop_ = 0, ifc_ = 0, nclrtb_ = 1, iclrmd_ = 0, irev_ = 0, ix11_ = 0;
  // End of plot and events.
  int ifinop_ = 0, ikeyop_ = 0, inewpg_ = 0, icurop_ = 0, iwext_ = 0, iquit_ = 0, iopnds_ = 0;
  bool quit_posted_ = false;
  // Pending device polyline.
  std::array<Point, kPolylineSize> points_{};
  int nray_ = 0, iopt_ = 0;
};

}  // namespace stylus

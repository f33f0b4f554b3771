// The screen window driver: window slots and geometry, backing-store drawing, colour
// slots, the device polyline and the end-of-plot wait.
#include "devices/screen_window.h"

#include <cstdio>
#include <cstdlib>
#include <new>

#include "devices/screen_geometry.h"

namespace stylus {
namespace {

constexpr std::uint32_t kPaletteIndex = 0x01000000;  // reference to a colour slot

int mod256(int v) {
  return ((v % 256) + 256) % 256;
}

// Colour modes: the palette modes of 8- and 4-bit displays keep their slot arithmetic,
// but the slots are shown as direct colours (the window system allocates them), so a
// later table load changes what is drawn next, not what is on the screen.
enum { kModeNone = 0, kModePalette8 = 1, kModePalette4 = 2, kModeDirect = 3 };

}  // namespace

ScreenWindows::ScreenWindows(WindowSystem& ws, std::function<void(int)> exit_process)
    : ws_(ws), exit_process_(std::move(exit_process)) {
  if (!exit_process_) exit_process_ = [](int status) { std::exit(status); };
}

void ScreenWindows::qqwwini() {
  const ScreenInfo s = ws_.screen();
  nxr_ = s.width;
  nyr_ = s.height;
  ndepth_ = s.depth;
  nclrs_ = ndepth_ >= 0 && ndepth_ < 63 ? std::int64_t{1} << ndepth_ : 0;
  const FrameMetrics f = ws_.frame_metrics();
  nhtit_ = f.caption;
  nhframe_ = f.frame_height;
  nwframe_ = f.frame_width;
}

void ScreenWindows::qqwini(int code, int& page_w, int& page_h, int& size_opt, int& x, int& y,
                           int& width, int& height, int& depth, int& mapping, int& client_w,
                           int& client_h, int& bitmap, int& background) {
  ix11_ = bitmap == 1 ? 1 : 0;
  irev_ = background;
  qqwwini();
  iclrmd_ = mapping;
  // Codes outside 75..79 use window 1, as the full-screen code 80 does.
  if (code < kScreenCodeFirst || code > kScreenCodeFirst + kSlots - 1) code = kScreenCodeFull;
  iwin1_ = code == kScreenCodeFull ? 1 : code - 74;

  if (iopnds_ == 0) {
    if (ndepth_ == 4) {
      iclrop_ = kModePalette4, ifc_ = 16;
    } else if (ndepth_ == 8) {
      iclrop_ = kModePalette8, ifc_ = 129;
    } else if (ndepth_ > 8) {
      iclrop_ = kModeDirect, ifc_ = 256;
    } else {
      iclrop_ = kModeNone, ifc_ = 0;
    }
    colors_.fill(kBlack);
    if (iclrop_ == kModeDirect) colors_[0] = irev_ == 2 ? kWhite : kBlack;
    pen_ref_ = kWhite;
  }
  depth = ndepth_;
  try {
    qqwopn(code, page_w, page_h, size_opt, x, y, width, height, client_w, client_h);
  } catch (const std::bad_alloc&) {
    // No memory for the window's picture (drawn off-screen, it is all there is): the
    // message of a bitmap that cannot be made, the window goes, and the session start goes
    // on without the device.
    qqwmsg("Cannot create Bitmap", "disini");
    if (iopnwn_[iwin_] != 0) close_slot(iwin_);
    quit_posted_ = false;
    throw;
  }
  iopnds_ = 1;
}

void ScreenWindows::qqwopn(int code, int page_w, int page_h, int& size_opt, int& x, int& y,
                           int& width, int& height, int& client_w, int& client_h) {
  const ScreenInfo screen{nxr_, nyr_, ndepth_};
  const FrameMetrics frame{nhtit_, nhframe_, nwframe_};
  ClientPlacement c{x, y, width, height};
  if (size_opt == 0) {
    const ClientPlacement s = client_size(code, page_w, page_h, screen, frame);
    c.width = width = s.width;
    c.height = height = s.height;
  }
  if (size_opt != 1) c = client_position(code, c, screen, frame);
  nxwind_ = c.x, nywind_ = c.y, nwwind_ = c.width, nhwind_ = c.height;

  iwin_ = code == kScreenCodeFull ? 0 : code - kScreenCodeFirst;
  if (iopnwn_[iwin_] != 0) {
    iquit_ = 0;  // replacing the window must not end a wait
    if (iopnwn_[iwin_] == 1) ws_.destroy_window(iwid_[iwin_]);
    ipid_[iwin_] = false;
  }
  iquit_ = 1;
  iopnwn_[iwin_] = 1;
  ititwn_[iwin_] = 0;
  // Only the newest window says it is working.
  if (iwold_ != -1 && iwold_ != iwin_ && iopnwn_[iwold_] == 1 && ititwn_[iwold_] == 0)
    set_title(iwold_, "STYLUS %d");
  iwold_ = iwin_;
  quit_posted_ = false;  // a quit left over from an earlier session must not end this one

  char title[64];
  std::snprintf(title, sizeof title, "STYLUS %d / Working", iwin_ + 1);
  const WindowId w = ws_.create_window(outer_rect(c, frame), title, irev_ == 2 ? kWhite : kBlack);
  hwnd_main_ = w;
  iwid_[iwin_] = w;
  qqwwmc(w);

  // The client rectangle's right and bottom edges are exclusive; the library counts the
  // size as right - left + 1, and the page spans pixels 0 to right - left.
  const Rect r = ws_.client_rect(w);
  x = nxwind_;
  y = nywind_;
  width = client_w = r.width + 1;
  height = client_h = r.height + 1;
  nwwind_ = client_w, nhwind_ = client_h;
}

void ScreenWindows::qqwwmc(WindowId window) {
  const Rect r = ws_.client_rect(window);
  const int w = r.width + 1, h = r.height + 1;
  if (ix11_ != 1) {
    if (!ws_.create_backing_store(window, w, h)) {
      qqwmsg("Cannot create Bitmap", "disini");
      quit_posted_ = true;
      return;
    }
    ipid_[iwin_] = true;
  }
  ptS_[iwin_] = {nwwind_, nhwind_};
  if (ix11_ != 1) qqwfll(0, 0, nwwind_, nhwind_, 0);
}

std::uint32_t ScreenWindows::palette_ref(int index) const {
  int n;
  if (nclrtb_ == 0) {
    n = index % 8;
    if (n == 0 && index != 0) n = 8;
  } else if (nclrtb_ == 7) {
    n = index % 16;
  } else if (ndepth_ == 4) {
    if (index == 0) {
      n = 0;
    } else if (index == 255) {
      n = 15;
    } else {
      n = static_cast<int>(static_cast<float>((index - 1) * 13) / 253.0f + 1.5f);
    }
    if (iclrmd_ != 0) n = index % 16;
  } else if (ndepth_ == 8 && iclrmd_ == 0) {
    n = (mod256(index) + 1) / 2;
  } else if (ndepth_ == 8 && iclrmd_ == 2) {
    n = mod256(index) % 128;
  } else {
    n = mod256(index);
  }
  return kPaletteIndex + static_cast<std::uint32_t>(mod256(n));
}

std::uint32_t ScreenWindows::colour_ref(int index) const {
  if (iclrop_ == kModeDirect) return colors_[mod256(index)];
  return palette_ref(index);
}

Rgb ScreenWindows::resolve(std::uint32_t ref) const {
  if (ref & kPaletteIndex) return colors_[ref & 0xFF];
  return ref & 0xFFFFFF;
}

void ScreenWindows::qqwclr(int index) {
  qqwdrw(0, 0, 999);
  if (iclrop_ == kModeNone) return;
  iclrref_ = colour_ref(index);
  pen_ref_ = iclrref_;
}

void ScreenWindows::qqwvlt(int kind, const int table[256]) {
  nclrtb_ = kind;
  if (iclrop_ == kModeNone) return;
  const int slots = kind == 0 ? 9 : kind == 7 ? 16 : ifc_;
  const bool full_table = kind != 0 && kind != 7;
  for (int i = 0; i < slots && i < 256; ++i) {
    int e = i;
    if (full_table && iclrop_ == kModePalette4) {
      e = i == 0    ? 0
          : i == 15 ? 255
                    : static_cast<int>(static_cast<float>((i - 1) * 253) / 13.0f + 1.5f);
      if (iclrmd_ != 0) e = i % 16;
    } else if (full_table && iclrop_ == kModePalette8) {
      e = (i == 0 || iclrmd_ != 0) ? i : 2 * i - 1;
    }
    colors_[i] = static_cast<Rgb>(table[mod256(e)]) & 0xFFFFFF;
  }
}

void ScreenWindows::qqwfll(int x, int y, int w, int h, int index) {
  iclrref_ = colour_ref(index);
  ws_.fill_rect(hwnd_main_, {x, y, w, h}, resolve(iclrref_));
}

void ScreenWindows::qqwpol(const Point* points, int n) {
  qqwdrw(0, 0, 999);
  ws_.fill_polygon(hwnd_main_, points, n, resolve(pen_ref_));
}

void ScreenWindows::qqwdrw(int ix, int iy, int pen) {
  if (pen == 2) {
    if (nray_ == 0 || points_[nray_ - 1] != Point{ix, iy}) points_[nray_++] = {ix, iy};
    iopt_ = 0;
    if (nray_ <= kPolylineSize - 1) return;
  }
  if (nray_ >= 2) {
    ws_.polyline(hwnd_main_, points_.data(), nray_, resolve(pen_ref_));
  } else if (nray_ == 1 && iopt_ == 0) {
    ws_.set_pixel(hwnd_main_, points_[0].x, points_[0].y, resolve(iclrref_));
  }
  if (pen == 999) {
    // A flush continues from the last point; with nothing buffered there is none.
    if (nray_ == 0) return;
    points_[0] = points_[nray_ - 1];
  } else {
    points_[0] = {ix, iy};
  }
  iopt_ = 1;
  nray_ = 1;
}

void ScreenWindows::qqwsbf() {
  if (iopnwn_[iwin_] == 0) return;
  qqwdrw(0, 0, 999);
  if (ix11_ != 1) ws_.copy_to_window(hwnd_main_, ptS_[iwin_].x, ptS_[iwin_].y);
}

bool ScreenWindows::picture(std::vector<Rgb>& pixels, int& width, int& height) {
  if (iopnwn_[iwin_] == 0) return false;
  qqwdrw(0, 0, 999);
  width = ptS_[iwin_].x;
  height = ptS_[iwin_].y;
  pixels = ws_.read_pixels(hwnd_main_, width, height);
  return !pixels.empty();
}

void ScreenWindows::set_title(int slot, const char* format) {
  char title[80];
  std::snprintf(title, sizeof title, format, slot + 1);
  ws_.set_title(iwid_[slot], title);
}

void ScreenWindows::qqwfin(int option) {
  ikeyop_ = option / 10;
  ifinop_ = option % 10;
  if (ititwn_[iwin_] != 1 && iwext_ == 0) {
    if (option == 2) {
      set_title(iwin_, "STYLUS %d");
    } else if (ikeyop_ == 0) {
      set_title(iwin_, "STYLUS %d / Click MB2 to continue ...");
    } else if (ikeyop_ == 1) {
      set_title(iwin_, "STYLUS %d / Click MB2 or RETURN to continue ...");
    } else if (ikeyop_ == 2) {
      set_title(iwin_, "STYLUS %d / Click MB2 or ESC to continue ...");
    }
  }
  qqwdrw(0, 0, 3);
  qqwdrw(0, 0, 999);
  if (ix11_ != 1) ws_.copy_to_window(hwnd_main_, ptS_[iwin_].x, ptS_[iwin_].y);

  if (ifinop_ == 2 || iopnwn_[iwin_] == 2) return;
  if (ifinop_ == 3) {
    qqwwcls();
    return;
  }
  // The message loop: input that came while the program drew has waited in the queue
  // and is handled now, in order.
  for (;;) {
    if (quit_posted_) {
      quit_posted_ = false;
      return;
    }
    const std::optional<WindowEvent> e = ws_.next_event();
    if (!e) {
      // No user can ever answer (no display): the picture is done, as after a release.
      qqwwcls();
      quit_posted_ = false;
      return;
    }
    handle(*e);
  }
}

void ScreenWindows::handle(const WindowEvent& e) {
  using Kind = WindowEvent::Kind;
  switch (e.kind) {
    case Kind::expose:
      if (ix11_ == 1) return;
      for (int i = 0; i < kSlots; ++i)
        if (iopnwn_[i] == 1 && iwid_[i] == e.window)
          ws_.copy_to_window(e.window, ptS_[i].x, ptS_[i].y);
      return;
    case Kind::close:
      qqwwcls();
      std::fflush(nullptr);
      exit_process_(0);
      return;
    case Kind::key: {
      if (ikeyop_ == 0 || icurop_ != 0) return;
      if (ikeyop_ == 1 && e.key != WindowEvent::Key::return_key) return;
      if (ikeyop_ == 2 && e.key != WindowEvent::Key::escape_key) return;
      WindowEvent release = e;
      release.kind = Kind::right_release;
      handle(release);
      return;
    }
    case Kind::right_release:
      if (e.window != hwnd_main_ || icurop_ != 0) return;
      if (inewpg_ == 1) {
        quit_posted_ = true;
      } else if (ifinop_ == 0) {
        qqwwcls();  // destroying the current window ends the wait
      }
      return;
    case Kind::other_button:
      return;
  }
}

void ScreenWindows::close_slot(int slot) {
  iopnwn_[slot] = 0;
  ipid_[slot] = false;
  ws_.destroy_window(iwid_[slot]);
  destroyed(iwid_[slot]);
}

void ScreenWindows::destroyed(WindowId window) {
  if (window == hwnd_main_ && iquit_ == 1) quit_posted_ = true;
}

void ScreenWindows::qqwwcls() {
  for (int i = 0; i < kSlots; ++i)
    if (i != iwin_ && iopnwn_[i] == 1) close_slot(i);
  // Closing twice must not destroy twice nor post a second quit.
  if (iopnwn_[iwin_] != 0) close_slot(iwin_);
}

void ScreenWindows::qqwmsg(const std::string& text, const std::string& caption) {
  ws_.message_box(text, caption);
}

}  // namespace stylus

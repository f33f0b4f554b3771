// The window system on X11 through Xlib: decorated top-level windows with a Pixmap as
// backing store, thin-pen drawing, one blocking event step, and a small modal message
// window. The only file of the library that includes the Xlib headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/keysym.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>
#include <unordered_map>

#include "devices/window_system.h"

namespace stylus {
namespace {

// Xlib reports protocol errors through a process-wide handler; the default one ends the
// program. Errors are recorded instead and checked where a request may fail.
int g_last_x_error = 0;
int record_x_error(Display*, XErrorEvent* e) {
  g_last_x_error = e->error_code;
  return 0;
}

// A connection that breaks (the X server ends, the network goes) is an I/O error, which
// Xlib's default handlers answer by ending the program. For the library's own displays the
// handler notes it and returns, and the display's exit handler marks it lost instead of
// ending the program; the waits below never block inside Xlib, so that they see it. Other
// displays of the program keep the handler they had.
std::set<Display*> g_own_displays;
XIOErrorHandler g_previous_io_handler = nullptr;

int note_lost_connection(Display* dpy) {
  if (g_own_displays.count(dpy) == 0) {
    return g_previous_io_handler != nullptr ? g_previous_io_handler(dpy) : 0;
  }
  std::fprintf(stderr, "STYLUS: the connection to display \"%s\" is lost; the window is closed\n",
               DisplayString(dpy));
  std::fflush(stderr);
  return 0;
}

// Decorations of a common desktop theme, used when the window manager reports none.
constexpr FrameMetrics kDefaultFrame{19, 4, 4};

constexpr long kWindowEvents =
    ExposureMask | ButtonPressMask | ButtonReleaseMask | KeyPressMask | StructureNotifyMask;

short clamp_coord(int v) {
  return static_cast<short>(std::clamp(v, -32768, 32767));
}

class X11WindowSystem final : public WindowSystem {
 public:
  explicit X11WindowSystem(Display* dpy);
  ~X11WindowSystem() override;

  ScreenInfo screen() override;
  FrameMetrics frame_metrics() override;
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
  std::optional<WindowEvent> next_event() override;
  void message_box(const std::string& text, const std::string& caption) override;

 private:
  struct Win {
    Window xid = None;
    GC gc = nullptr;
    Pixmap backing = None;
    int backing_w = 0, backing_h = 0;
    unsigned long fg = 0;
    bool fg_set = false;
  };

  Win* find(WindowId id);
  Drawable target(Win& w) const { return w.backing != None ? w.backing : w.xid; }
  void use_color(Win& w, Rgb color);
  unsigned long pixel_of(Rgb color);
  void store_title(Window xid, const std::string& title);
  bool wait_for(Window xid, int type, Atom property, int timeout_ms);
  std::optional<FrameMetrics> query_frame_extents();
  bool wm_supports(Atom what);
  // Waits until events are queued or the connection is lost (then false); never blocks
  // inside Xlib, which would not return from a lost connection.
  bool wait_for_events();
  static void connection_lost(Display* dpy, void* self);

  bool lost() const override { return lost_; }

  Display* dpy_;
  int screen_;
  Window root_;
  Visual* visual_;
  int depth_;
  Colormap colormap_;
  bool true_color_;
  Atom wm_protocols_, wm_delete_, net_frame_extents_, net_request_frame_extents_, net_supported_,
      net_wm_name_, utf8_string_;
  std::optional<FrameMetrics> frame_;
  Cursor arrow_ = None;
  std::map<WindowId, Win> windows_;
  std::unordered_map<Rgb, unsigned long> allocated_;
  bool lost_ = false;
};

X11WindowSystem::X11WindowSystem(Display* dpy)
    : dpy_(dpy),
      screen_(DefaultScreen(dpy)),
      root_(RootWindow(dpy, screen_)),
      visual_(DefaultVisual(dpy, screen_)),
      depth_(DefaultDepth(dpy, screen_)),
      colormap_(DefaultColormap(dpy, screen_)) {
  // Deep displays take colours as direct RGB bit fields; the palette displays of old get
  // one allocated colour per RGB value instead of a palette of their own.
  true_color_ = visual_->c_class == TrueColor || visual_->c_class == DirectColor;
  wm_protocols_ = XInternAtom(dpy_, "WM_PROTOCOLS", False);
  wm_delete_ = XInternAtom(dpy_, "WM_DELETE_WINDOW", False);
  net_frame_extents_ = XInternAtom(dpy_, "_NET_FRAME_EXTENTS", False);
  net_request_frame_extents_ = XInternAtom(dpy_, "_NET_REQUEST_FRAME_EXTENTS", False);
  net_supported_ = XInternAtom(dpy_, "_NET_SUPPORTED", False);
  net_wm_name_ = XInternAtom(dpy_, "_NET_WM_NAME", False);
  utf8_string_ = XInternAtom(dpy_, "UTF8_STRING", False);
  XSetErrorHandler(record_x_error);
  if (g_own_displays.empty()) {
    const XIOErrorHandler previous = XSetIOErrorHandler(note_lost_connection);
    if (previous != note_lost_connection) g_previous_io_handler = previous;
  }
  g_own_displays.insert(dpy_);
  XSetIOErrorExitHandler(dpy_, connection_lost, this);
}

// After a lost connection Xlib's calls on the display do nothing more, and closing it only
// frees what the client holds.
X11WindowSystem::~X11WindowSystem() {
  while (!windows_.empty()) destroy_window(windows_.begin()->first);
  if (arrow_ != None) XFreeCursor(dpy_, arrow_);
  XCloseDisplay(dpy_);
  g_own_displays.erase(dpy_);
}

void X11WindowSystem::connection_lost(Display* /*dpy*/, void* self) {
  static_cast<X11WindowSystem*>(self)->lost_ = true;
}

bool X11WindowSystem::wait_for_events() {
  for (;;) {
    if (lost_) return false;
    // XPending flushes and reads what has come; a broken connection shows here.
    if (XPending(dpy_) > 0) return true;
    if (lost_) return false;
    pollfd p{ConnectionNumber(dpy_), POLLIN, 0};
    poll(&p, 1, -1);
  }
}

ScreenInfo X11WindowSystem::screen() {
  return {DisplayWidth(dpy_, screen_), DisplayHeight(dpy_, screen_), depth_};
}

FrameMetrics X11WindowSystem::frame_metrics() {
  if (!frame_) frame_ = query_frame_extents().value_or(kDefaultFrame);
  return *frame_;
}

bool X11WindowSystem::wm_supports(Atom what) {
  Atom type = None;
  int format = 0;
  unsigned long n = 0, rest = 0;
  unsigned char* data = nullptr;
  bool found = false;
  if (XGetWindowProperty(dpy_, root_, net_supported_, 0, 4096, False, XA_ATOM, &type, &format, &n,
                         &rest, &data) == Success &&
      data != nullptr && format == 32) {
    const Atom* atoms = reinterpret_cast<const Atom*>(data);
    found = std::find(atoms, atoms + n, what) != atoms + n;
  }
  if (data) XFree(data);
  return found;
}

// Waits for an event of `type` on the window (for PropertyNotify: of that property),
// leaving every other event queued. False after the timeout.
bool X11WindowSystem::wait_for(Window xid, int type, Atom property, int timeout_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    XEvent ev;
    struct Match {
      Window w;
      int type;
      Atom prop;
    } m{xid, type, property};
    auto pred = [](Display*, XEvent* e, XPointer arg) -> Bool {
      const Match* m = reinterpret_cast<const Match*>(arg);
      if (e->type != m->type || e->xany.window != m->w) return False;
      return m->type != PropertyNotify || e->xproperty.atom == m->prop;
    };
    if (XCheckIfEvent(dpy_, &ev, pred, reinterpret_cast<XPointer>(&m))) return true;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          deadline - std::chrono::steady_clock::now())
                          .count();
    if (left <= 0 || lost_) return false;
    XFlush(dpy_);
    pollfd p{ConnectionNumber(dpy_), POLLIN, 0};
    poll(&p, 1, static_cast<int>(left));
    XEventsQueued(dpy_, QueuedAfterReading);
  }
}

// Asks the window manager which decorations it would give a new window, if it offers
// to tell (the request is answered with a _NET_FRAME_EXTENTS property on the window).
std::optional<FrameMetrics> X11WindowSystem::query_frame_extents() {
  if (!wm_supports(net_request_frame_extents_)) return std::nullopt;
  XSetWindowAttributes a{};
  a.event_mask = PropertyChangeMask;
  const Window probe = XCreateWindow(dpy_, root_, 0, 0, 100, 100, 0, CopyFromParent, InputOutput,
                                     CopyFromParent, CWEventMask, &a);
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = probe;
  ev.xclient.message_type = net_request_frame_extents_;
  ev.xclient.format = 32;
  XSendEvent(dpy_, root_, False, SubstructureNotifyMask | SubstructureRedirectMask, &ev);
  std::optional<FrameMetrics> result;
  if (wait_for(probe, PropertyNotify, net_frame_extents_, 1000)) {
    Atom type = None;
    int format = 0;
    unsigned long n = 0, rest = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy_, probe, net_frame_extents_, 0, 4, False, XA_CARDINAL, &type,
                           &format, &n, &rest, &data) == Success &&
        data != nullptr && format == 32 && n == 4) {
      // left, right, top, bottom; the top extent holds the title bar and the frame.
      const long* e = reinterpret_cast<const long*>(data);
      const int left = static_cast<int>(e[0]), top = static_cast<int>(e[2]);
      const int bottom = static_cast<int>(e[3]);
      if (left >= 0 && bottom >= 0 && top >= bottom)
        result = FrameMetrics{top - bottom, bottom, left};
    }
    if (data) XFree(data);
  }
  XDestroyWindow(dpy_, probe);
  XSync(dpy_, False);
  return result;
}

unsigned long X11WindowSystem::pixel_of(Rgb color) {
  const unsigned r = (color >> 16) & 0xFF, g = (color >> 8) & 0xFF, b = color & 0xFF;
  if (true_color_) {
    auto field = [](unsigned v, unsigned long mask) -> unsigned long {
      if (mask == 0) return 0;
      int shift = 0;
      while (!((mask >> shift) & 1)) ++shift;
      const unsigned long max = mask >> shift;
      return ((v * max + 127) / 255) << shift;
    };
    return field(r, visual_->red_mask) | field(g, visual_->green_mask) |
           field(b, visual_->blue_mask);
  }
  auto it = allocated_.find(color);
  if (it != allocated_.end()) return it->second;
  XColor c{};
  c.red = static_cast<unsigned short>(r * 257);
  c.green = static_cast<unsigned short>(g * 257);
  c.blue = static_cast<unsigned short>(b * 257);
  c.flags = DoRed | DoGreen | DoBlue;
  unsigned long pixel = (r + g + b) >= 384 ? WhitePixel(dpy_, screen_) : BlackPixel(dpy_, screen_);
  if (XAllocColor(dpy_, colormap_, &c)) pixel = c.pixel;
  allocated_.emplace(color, pixel);
  return pixel;
}

void X11WindowSystem::store_title(Window xid, const std::string& title) {
  XStoreName(dpy_, xid, title.c_str());
  XChangeProperty(dpy_, xid, net_wm_name_, utf8_string_, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(title.data()),
                  static_cast<int>(title.size()));
}

WindowId X11WindowSystem::create_window(const Rect& outer, const std::string& title,
                                        Rgb background) {
  const Rect client = client_area(outer, frame_metrics());
  const int x = client.x, y = client.y;
  const int w = std::min(client.width, kMaxWindowExtent);
  const int h = std::min(client.height, kMaxWindowExtent);

  XSetWindowAttributes a{};
  a.background_pixel = pixel_of(background);
  a.event_mask = kWindowEvents;
  a.bit_gravity = ForgetGravity;  // a resize repaints the whole window
  if (arrow_ == None) arrow_ = XCreateFontCursor(dpy_, XC_left_ptr);
  a.cursor = arrow_;
  Win win;
  win.xid = XCreateWindow(dpy_, root_, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h), 0,
                          CopyFromParent, InputOutput, CopyFromParent,
                          CWBackPixel | CWEventMask | CWBitGravity | CWCursor, &a);

  // Static gravity: the position is that of the client area, decorated or not.
  XSizeHints* hints = XAllocSizeHints();
  hints->flags = USPosition | USSize | PWinGravity;
  hints->x = x;
  hints->y = y;
  hints->width = w;
  hints->height = h;
  hints->win_gravity = StaticGravity;
  XSetWMNormalHints(dpy_, win.xid, hints);
  XFree(hints);

  XClassHint* cls = XAllocClassHint();
  char name[] = "dismain";
  cls->res_name = name;
  cls->res_class = name;
  XSetClassHint(dpy_, win.xid, cls);
  XFree(cls);
  XSetWMProtocols(dpy_, win.xid, &wm_delete_, 1);
  store_title(win.xid, title);

  XGCValues gv{};
  gv.graphics_exposures = False;
  gv.line_width = 0;
  gv.cap_style = CapButt;  // thin lines include both end points
  win.gc = XCreateGC(dpy_, win.xid, GCGraphicsExposures | GCLineWidth | GCCapStyle, &gv);

  XMapWindow(dpy_, win.xid);
  // Shown before the caller draws, as the desktop would do synchronously; a window
  // manager that withholds the map does not hold the program up for long.
  wait_for(win.xid, MapNotify, None, 2000);
  const WindowId id = static_cast<WindowId>(win.xid);
  windows_.emplace(id, win);
  return id;
}

X11WindowSystem::Win* X11WindowSystem::find(WindowId id) {
  auto it = windows_.find(id);
  return it == windows_.end() ? nullptr : &it->second;
}

void X11WindowSystem::destroy_window(WindowId window) {
  Win* w = find(window);
  if (!w) return;
  if (w->backing != None) XFreePixmap(dpy_, w->backing);
  XFreeGC(dpy_, w->gc);
  XDestroyWindow(dpy_, w->xid);
  XSync(dpy_, False);
  windows_.erase(window);
}

Rect X11WindowSystem::client_rect(WindowId window) {
  Win* w = find(window);
  if (!w) return {};
  XWindowAttributes at{};
  XGetWindowAttributes(dpy_, w->xid, &at);
  int sx = 0, sy = 0;
  Window child;
  XTranslateCoordinates(dpy_, w->xid, root_, 0, 0, &sx, &sy, &child);
  return {sx, sy, at.width, at.height};
}

void X11WindowSystem::set_title(WindowId window, const std::string& title) {
  if (Win* w = find(window)) {
    store_title(w->xid, title);
    XSync(dpy_, False);
  }
}

bool X11WindowSystem::create_backing_store(WindowId window, int width, int height) {
  Win* w = find(window);
  if (!w || !backing_size_fits(width, height)) return false;
  g_last_x_error = 0;
  const Pixmap p = XCreatePixmap(dpy_, w->xid, static_cast<unsigned>(width),
                                 static_cast<unsigned>(height), static_cast<unsigned>(depth_));
  XSync(dpy_, False);
  if (g_last_x_error != 0) return false;
  if (w->backing != None) XFreePixmap(dpy_, w->backing);
  w->backing = p;
  w->backing_w = width;
  w->backing_h = height;
  return true;
}

void X11WindowSystem::use_color(Win& w, Rgb color) {
  const unsigned long px = pixel_of(color);
  if (!w.fg_set || w.fg != px) {
    XSetForeground(dpy_, w.gc, px);
    w.fg = px;
    w.fg_set = true;
  }
}

void X11WindowSystem::polyline(WindowId window, const Point* points, int count, Rgb color) {
  Win* w = find(window);
  if (!w || count < 2) return;
  std::vector<XPoint> xp(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) xp[i] = {clamp_coord(points[i].x), clamp_coord(points[i].y)};
  use_color(*w, color);
  XDrawLines(dpy_, target(*w), w->gc, xp.data(), count, CoordModeOrigin);
}

void X11WindowSystem::set_pixel(WindowId window, int x, int y, Rgb color) {
  Win* w = find(window);
  if (!w) return;
  use_color(*w, color);
  XDrawPoint(dpy_, target(*w), w->gc, clamp_coord(x), clamp_coord(y));
}

void X11WindowSystem::fill_rect(WindowId window, const Rect& r, Rgb color) {
  Win* w = find(window);
  if (!w || r.width <= 0 || r.height <= 0) return;
  use_color(*w, color);
  XFillRectangle(dpy_, target(*w), w->gc, clamp_coord(r.x), clamp_coord(r.y),
                 static_cast<unsigned>(std::min(r.width, 65535)),
                 static_cast<unsigned>(std::min(r.height, 65535)));
}

void X11WindowSystem::copy_to_window(WindowId window, int width, int height) {
  Win* w = find(window);
  if (!w) return;
  if (w->backing != None && width > 0 && height > 0)
    XCopyArea(dpy_, w->backing, w->xid, w->gc, 0, 0, static_cast<unsigned>(width),
              static_cast<unsigned>(height), 0, 0);
  // A round trip: once this returns, every client sees the picture.
  XSync(dpy_, False);
}

std::vector<Rgb> X11WindowSystem::read_pixels(WindowId window, int width, int height) {
  Win* w = find(window);
  if (!w || !backing_size_fits(width, height)) return {};
  // Only what the drawable has can be read; the rest stays black.
  int have_w = w->backing_w, have_h = w->backing_h;
  if (w->backing == None) {
    XWindowAttributes at{};
    if (!XGetWindowAttributes(dpy_, w->xid, &at)) return {};
    have_w = at.width, have_h = at.height;
  }
  const int rw = std::min(width, have_w), rh = std::min(height, have_h);
  std::vector<Rgb> out(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), kBlack);
  if (rw <= 0 || rh <= 0) return out;
  XImage* img = XGetImage(dpy_, target(*w), 0, 0, static_cast<unsigned>(rw),
                          static_cast<unsigned>(rh), AllPlanes, ZPixmap);
  if (img == nullptr) return {};
  // Pixel values back to colours: bit fields on deep displays, the colour map otherwise.
  auto component = [](unsigned long px, unsigned long mask) -> Rgb {
    if (mask == 0) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const unsigned long max = mask >> shift;
    return static_cast<Rgb>((((px & mask) >> shift) * 255 + max / 2) / max);
  };
  std::unordered_map<unsigned long, Rgb> seen;
  for (int y = 0; y < rh; ++y)
    for (int x = 0; x < rw; ++x) {
      const unsigned long px = XGetPixel(img, x, y);
      Rgb c;
      if (true_color_) {
        c = component(px, visual_->red_mask) << 16 | component(px, visual_->green_mask) << 8 |
            component(px, visual_->blue_mask);
      } else if (auto it = seen.find(px); it != seen.end()) {
        c = it->second;
      } else {
        XColor q{};
        q.pixel = px;
        XQueryColor(dpy_, colormap_, &q);
        c = static_cast<Rgb>((q.red >> 8) << 16 | (q.green >> 8) << 8 | (q.blue >> 8));
        seen.emplace(px, c);
      }
      out[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
          static_cast<std::size_t>(x)] = c;
    }
  XDestroyImage(img);
  return out;
}

std::optional<WindowEvent> X11WindowSystem::next_event() {
  for (;;) {
    // No event can come from a lost connection: the wait ends.
    if (!wait_for_events()) return std::nullopt;
    XEvent ev;
    XNextEvent(dpy_, &ev);  // one is queued: this does not block
    WindowEvent out;
    out.window = static_cast<WindowId>(ev.xany.window);
    switch (ev.type) {
      case Expose:
        if (ev.xexpose.count != 0) continue;  // one report per burst of rectangles
        out.kind = WindowEvent::Kind::expose;
        return out;
      case ButtonRelease:
        if (ev.xbutton.button == Button3) {
          out.kind = WindowEvent::Kind::right_release;
          return out;
        }
        [[fallthrough]];
      case ButtonPress:
        out.kind = WindowEvent::Kind::other_button;
        out.button = static_cast<int>(ev.xbutton.button);
        return out;
      case KeyPress: {
        const KeySym sym = XLookupKeysym(&ev.xkey, 0);
        out.kind = WindowEvent::Kind::key;
        out.key = sym == XK_Return || sym == XK_KP_Enter ? WindowEvent::Key::return_key
                  : sym == XK_Escape                     ? WindowEvent::Key::escape_key
                                                         : WindowEvent::Key::other;
        return out;
      }
      case ClientMessage:
        if (ev.xclient.message_type == wm_protocols_ &&
            static_cast<Atom>(ev.xclient.data.l[0]) == wm_delete_) {
          out.kind = WindowEvent::Kind::close;
          return out;
        }
        continue;
      case MappingNotify:
        XRefreshKeyboardMapping(&ev.xmapping);
        continue;
      default:
        continue;
    }
  }
}

void X11WindowSystem::message_box(const std::string& text, const std::string& caption) {
  std::vector<std::string> lines;
  {
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
  }
  XFontStruct* font = XLoadQueryFont(dpy_, "fixed");
  const int ascent = font ? font->ascent : 10, line_h = font ? font->ascent + font->descent : 13;
  int text_w = 0;
  for (const auto& l : lines)
    text_w = std::max(text_w, font ? XTextWidth(font, l.c_str(), static_cast<int>(l.size()))
                                   : 6 * static_cast<int>(l.size()));
  constexpr int kMargin = 16, kButtonW = 80, kButtonH = 26;
  const int w = std::max(text_w + 2 * kMargin, kButtonW + 2 * kMargin);
  const int h = kMargin + line_h * static_cast<int>(lines.size()) + kMargin + kButtonH + kMargin;
  const Rect button{(w - kButtonW) / 2, h - kMargin - kButtonH, kButtonW, kButtonH};
  const ScreenInfo s = screen();

  XSetWindowAttributes a{};
  a.background_pixel = pixel_of(0xD4D0C8);
  a.event_mask = ExposureMask | ButtonReleaseMask | KeyPressMask;
  const Window box =
      XCreateWindow(dpy_, root_, std::max((s.width - w) / 2, 0), std::max((s.height - h) / 2, 0),
                    static_cast<unsigned>(w), static_cast<unsigned>(h), 0, CopyFromParent,
                    InputOutput, CopyFromParent, CWBackPixel | CWEventMask, &a);
  XClassHint* cls = XAllocClassHint();
  char name[] = "dismain";
  cls->res_name = name;
  cls->res_class = name;
  XSetClassHint(dpy_, box, cls);
  XFree(cls);
  XSetWMProtocols(dpy_, box, &wm_delete_, 1);
  store_title(box, caption);
  GC gc = XCreateGC(dpy_, box, 0, nullptr);
  if (font) XSetFont(dpy_, gc, font->fid);
  XSetForeground(dpy_, gc, pixel_of(kBlack));
  XMapRaised(dpy_, box);

  auto draw = [&] {
    for (std::size_t i = 0; i < lines.size(); ++i)
      XDrawString(dpy_, box, gc, kMargin, kMargin + ascent + line_h * static_cast<int>(i),
                  lines[i].c_str(), static_cast<int>(lines[i].size()));
    XDrawRectangle(dpy_, box, gc, button.x, button.y, kButtonW - 1, kButtonH - 1);
    const int ok_w = font ? XTextWidth(font, "OK", 2) : 12;
    XDrawString(dpy_, box, gc, button.x + (kButtonW - ok_w) / 2,
                button.y + (kButtonH + ascent) / 2 - 1, "OK", 2);
  };

  // Modal: the box's own events are served, and the library's windows are repainted
  // from their backing stores; everything else stays queued for the caller.
  struct Ctx {
    Window box;
    const std::map<WindowId, Win>* windows;
  } ctx{box, &windows_};
  auto pred = [](Display*, XEvent* e, XPointer arg) -> Bool {
    const Ctx* c = reinterpret_cast<const Ctx*>(arg);
    if (e->xany.window == c->box) return True;
    return e->type == Expose && c->windows->count(static_cast<WindowId>(e->xany.window)) != 0;
  };
  for (bool done = false; !done;) {
    XEvent ev;
    if (!XCheckIfEvent(dpy_, &ev, pred, reinterpret_cast<XPointer>(&ctx))) {
      // Nobody can dismiss a box on a lost display.
      if (lost_) break;
      pollfd p{ConnectionNumber(dpy_), POLLIN, 0};
      poll(&p, 1, -1);
      XEventsQueued(dpy_, QueuedAfterReading);
      continue;
    }
    if (ev.xany.window != box) {
      if (Win* pw = find(static_cast<WindowId>(ev.xany.window)); pw && pw->backing != None)
        copy_to_window(static_cast<WindowId>(ev.xany.window), pw->backing_w, pw->backing_h);
      continue;
    }
    switch (ev.type) {
      case Expose:
        if (ev.xexpose.count == 0) draw();
        break;
      case ButtonRelease:
        done = ev.xbutton.button == Button1 && ev.xbutton.x >= button.x &&
               ev.xbutton.x < button.x + kButtonW && ev.xbutton.y >= button.y &&
               ev.xbutton.y < button.y + kButtonH;
        break;
      case KeyPress: {
        const KeySym sym = XLookupKeysym(&ev.xkey, 0);
        done = sym == XK_Return || sym == XK_KP_Enter || sym == XK_Escape || sym == XK_space;
        break;
      }
      case ClientMessage:
        done = ev.xclient.message_type == wm_protocols_ &&
               static_cast<Atom>(ev.xclient.data.l[0]) == wm_delete_;
        break;
      default:
        break;
    }
  }
  XFreeGC(dpy_, gc);
  if (font) XFreeFont(dpy_, font);
  XDestroyWindow(dpy_, box);
  XFlush(dpy_);
}

}  // namespace

std::unique_ptr<WindowSystem> open_x11_window_system(const char* display_name) {
  Display* dpy = XOpenDisplay(display_name);
  if (dpy == nullptr) return nullptr;
  return std::make_unique<X11WindowSystem>(dpy);
}

}  // namespace stylus

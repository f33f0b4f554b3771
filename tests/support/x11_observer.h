// A second X client for tests, acting as the user or a window manager would: reads
// pixels and properties of other clients' windows and sends them events.
#pragma once

#include <gtest/gtest.h>
// After gtest: the Xlib headers define macros such as None and Bool.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

struct X11Observer {
  explicit X11Observer(const std::string& name) : dpy(XOpenDisplay(name.c_str())) {
    // Asking about a window that has gone is an answer here, not a fault.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  }
  ~X11Observer() {
    if (dpy) XCloseDisplay(dpy);
  }
  X11Observer(const X11Observer&) = delete;
  X11Observer& operator=(const X11Observer&) = delete;

  // 0xRRGGBB of one pixel of a 24-bit TrueColor window; 0xDEADBEEF when unreadable.
  std::uint32_t pixel(Window w, int x, int y) {
    XImage* img = XGetImage(dpy, w, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!img) return 0xDEADBEEF;
    const unsigned long p = XGetPixel(img, 0, 0);
    XDestroyImage(img);
    return static_cast<std::uint32_t>(p & 0xFFFFFF);
  }
  bool exists(Window w) {
    XWindowAttributes at{};
    XSync(dpy, False);
    return XGetWindowAttributes(dpy, w, &at) != 0;
  }
  bool viewable(Window w) {
    XWindowAttributes at{};
    return XGetWindowAttributes(dpy, w, &at) != 0 && at.map_state == IsViewable;
  }
  std::string text_property(Window w, const char* atom) {
    XTextProperty tp{};
    std::string s;
    if (XGetTextProperty(dpy, w, &tp, XInternAtom(dpy, atom, False)) && tp.value)
      s.assign(reinterpret_cast<char*>(tp.value), tp.nitems);
    if (tp.value) XFree(tp.value);
    return s;
  }
  std::string title(Window w) { return text_property(w, "WM_NAME"); }

  void send(Window w, XEvent ev, long mask) {
    ev.xany.window = w;
    XSendEvent(dpy, w, False, mask, &ev);
    XSync(dpy, False);
  }
  void button(Window w, int type, unsigned number) {
    XEvent ev{};
    ev.type = type;
    ev.xbutton.button = number;
    ev.xbutton.x = ev.xbutton.y = 10;
    ev.xbutton.same_screen = True;
    send(w, ev, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask);
  }
  void button_release(Window w, unsigned number) { button(w, ButtonRelease, number); }
  void key_press(Window w, KeySym sym) {
    XEvent ev{};
    ev.type = KeyPress;
    ev.xkey.keycode = XKeysymToKeycode(dpy, sym);
    ev.xkey.same_screen = True;
    send(w, ev, KeyPressMask);
  }
  void expose(Window w) {
    XEvent ev{};
    ev.type = Expose;
    send(w, ev, ExposureMask);
  }
  // The title-bar close button, as a window manager reports it.
  void close_button(Window w) {
    XEvent ev{};
    ev.type = ClientMessage;
    ev.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    send(w, ev, NoEventMask);
  }

  // Polls until pred() holds; false after a generous deadline (a hung peer, not a timing).
  template <class Pred>
  static bool eventually(Pred pred, int seconds = 60) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!pred()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
  }

  // A top-level window with this title, or None.
  Window find_window(const std::string& title) {
    Window root_ret, parent, *children = nullptr;
    unsigned n = 0;
    Window found = None;
    if (XQueryTree(dpy, DefaultRootWindow(dpy), &root_ret, &parent, &children, &n)) {
      for (unsigned i = 0; i < n && found == None; ++i) {
        char* name = nullptr;
        if (XFetchName(dpy, children[i], &name) && name) {
          if (title == name) found = children[i];
          XFree(name);
        }
      }
      if (children) XFree(children);
    }
    return found;
  }
  Window wait_for_window(const std::string& title) {
    Window w = None;
    eventually([&] { return (w = find_window(title)) != None && viewable(w); });
    return w;
  }

  Display* dpy;
};

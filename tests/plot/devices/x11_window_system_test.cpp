// The X11 window system against a private Xvfb server: window placement, title and class,
// drawing read back with XGetImage, the events of a second client, the decorations
// reported by a window manager and the modal message window.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "devices/window_system.h"
#include "support/x11_observer.h"
#include "support/xvfb_server.h"

namespace stylus {
namespace {

using Observer = X11Observer;

class X11WindowSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!XvfbServer::installed()) GTEST_SKIP() << "Xvfb is not installed; run scripts/bootstrap.sh";
    ASSERT_TRUE(server_.running()) << "Xvfb is installed but did not start";
    ws_ = open_x11_window_system(server_.display().c_str());
    ASSERT_NE(ws_, nullptr);
  }
  XvfbServer server_;
  std::unique_ptr<WindowSystem> ws_;
};

TEST_F(X11WindowSystemTest, ReportsScreenAndDefaultDecorationsWithoutWindowManager) {
  const ScreenInfo s = ws_->screen();
  EXPECT_EQ(s.width, 1280);
  EXPECT_EQ(s.height, 1024);
  EXPECT_EQ(s.depth, 24);
  const FrameMetrics f = ws_->frame_metrics();
  EXPECT_EQ(f.caption, 19);
  EXPECT_EQ(f.frame_height, 4);
  EXPECT_EQ(f.frame_width, 4);
}

TEST_F(X11WindowSystemTest, WindowHasClientAreaInsideOuterRectTitleAndClass) {
  const WindowId id = ws_->create_window({0, 99, 1279, 925}, "STYLUS 1 / Working", kBlack);
  ASSERT_NE(id, 0u);
  EXPECT_EQ(ws_->client_rect(id), (Rect{4, 122, 1271, 898}));

  Observer o(server_.display());
  ASSERT_NE(o.dpy, nullptr);
  const Window w = id;
  XWindowAttributes at{};
  ASSERT_TRUE(XGetWindowAttributes(o.dpy, w, &at));
  EXPECT_EQ(at.map_state, IsViewable);
  EXPECT_EQ(at.width, 1271);
  EXPECT_EQ(at.height, 898);
  EXPECT_EQ(o.text_property(w, "WM_NAME"), "STYLUS 1 / Working");
  EXPECT_EQ(o.text_property(w, "_NET_WM_NAME"), "STYLUS 1 / Working");
  XClassHint cls{};
  ASSERT_TRUE(XGetClassHint(o.dpy, w, &cls));
  EXPECT_STREQ(cls.res_class, "dismain");
  XFree(cls.res_name);
  XFree(cls.res_class);
  Atom* protocols = nullptr;
  int n = 0;
  ASSERT_TRUE(XGetWMProtocols(o.dpy, w, &protocols, &n));
  ASSERT_EQ(n, 1);
  EXPECT_EQ(protocols[0], XInternAtom(o.dpy, "WM_DELETE_WINDOW", False));
  XFree(protocols);

  ws_->set_title(id, "STYLUS 1 / Click MB2 to continue ...");
  XSync(o.dpy, False);
  EXPECT_EQ(o.text_property(w, "WM_NAME"), "STYLUS 1 / Click MB2 to continue ...");
  EXPECT_EQ(o.text_property(w, "_NET_WM_NAME"), "STYLUS 1 / Click MB2 to continue ...");

  ws_->destroy_window(id);
  XSync(o.dpy, False);
  XWindowAttributes gone{};
  EXPECT_FALSE(XGetWindowAttributes(o.dpy, w, &gone));
}

TEST_F(X11WindowSystemTest, DrawsIntoBackingStoreUntilCopied) {
  const WindowId id = ws_->create_window({0, 0, 207, 123}, "draw", kBlack);
  ASSERT_TRUE(ws_->create_backing_store(id, 200, 100));
  ws_->fill_rect(id, {0, 0, 200, 100}, kBlack);
  const Point line[] = {{10, 10}, {20, 10}, {20, 15}};
  ws_->polyline(id, line, 3, 0xFF0000);
  ws_->set_pixel(id, 30, 30, 0x00FF00);
  ws_->fill_rect(id, {40, 40, 5, 5}, 0x0000FF);

  Observer o(server_.display());
  ws_->client_rect(id);  // a round trip: the drawing requests are done
  EXPECT_EQ(o.pixel(id, 15, 10), kBlack) << "drawing reached the window before the copy";

  ws_->copy_to_window(id, 200, 100);
  XSync(o.dpy, False);
  EXPECT_EQ(o.pixel(id, 10, 10), 0xFF0000u);
  EXPECT_EQ(o.pixel(id, 20, 10), 0xFF0000u);  // corner
  EXPECT_EQ(o.pixel(id, 20, 15), 0xFF0000u);  // last point drawn too
  EXPECT_EQ(o.pixel(id, 21, 10), kBlack);
  EXPECT_EQ(o.pixel(id, 9, 10), kBlack);
  EXPECT_EQ(o.pixel(id, 30, 30), 0x00FF00u);
  EXPECT_EQ(o.pixel(id, 40, 40), 0x0000FFu);
  EXPECT_EQ(o.pixel(id, 44, 44), 0x0000FFu);
  EXPECT_EQ(o.pixel(id, 45, 44), kBlack);  // right edge excluded
  EXPECT_EQ(o.pixel(id, 44, 45), kBlack);  // bottom edge excluded
}

TEST_F(X11WindowSystemTest, WithoutBackingStoreDrawsStraightIntoTheWindow) {
  const WindowId id = ws_->create_window({0, 0, 107, 123}, "direct", kWhite);
  Observer o(server_.display());
  XSync(o.dpy, False);
  EXPECT_EQ(o.pixel(id, 5, 5), kWhite);  // class background
  ws_->set_pixel(id, 5, 5, 0x123456);
  ws_->copy_to_window(id, 0, 0);  // only flushes
  XSync(o.dpy, False);
  EXPECT_EQ(o.pixel(id, 5, 5), 0x123456u);
}

TEST_F(X11WindowSystemTest, RefusesImpossibleBackingStore) {
  const WindowId id = ws_->create_window({0, 0, 107, 123}, "big", kBlack);
  EXPECT_FALSE(ws_->create_backing_store(id, 0, 10));
  EXPECT_FALSE(ws_->create_backing_store(id, 40000, 10));
  EXPECT_TRUE(ws_->create_backing_store(id, 100, 100));
}

TEST_F(X11WindowSystemTest, ReportsEventsOfAnotherClientInOrder) {
  const WindowId id = ws_->create_window({0, 0, 307, 223}, "events", kBlack);
  Observer o(server_.display());
  o.button_release(id, Button1);
  o.key_press(id, XK_a);
  o.key_press(id, XK_Return);
  o.key_press(id, XK_Escape);
  o.button_release(id, Button3);
  o.close_button(id);

  using K = WindowEvent::Kind;
  auto e = ws_->next_event();  // the first paint of the new window
  ASSERT_TRUE(e);
  EXPECT_EQ(e->kind, K::expose);
  EXPECT_EQ(e->window, id);
  e = ws_->next_event();
  ASSERT_TRUE(e);
  EXPECT_EQ(e->kind, K::other_button);
  EXPECT_EQ(e->button, 1);
  e = ws_->next_event();
  ASSERT_TRUE(e);
  EXPECT_EQ(e->kind, K::key);
  EXPECT_EQ(e->key, WindowEvent::Key::other);
  e = ws_->next_event();
  ASSERT_TRUE(e);
  EXPECT_EQ(e->key, WindowEvent::Key::return_key);
  e = ws_->next_event();
  ASSERT_TRUE(e);
  EXPECT_EQ(e->key, WindowEvent::Key::escape_key);
  e = ws_->next_event();
  ASSERT_TRUE(e);
  EXPECT_EQ(e->kind, K::right_release);
  EXPECT_EQ(e->window, id);
  e = ws_->next_event();
  ASSERT_TRUE(e);
  EXPECT_EQ(e->kind, K::close);
  EXPECT_EQ(e->window, id);
}

TEST_F(X11WindowSystemTest, TakesDecorationsFromWindowManager) {
  // A minimal window manager that answers the frame-extents request.
  Observer wm(server_.display());
  const Atom request = XInternAtom(wm.dpy, "_NET_REQUEST_FRAME_EXTENTS", False);
  const Atom extents = XInternAtom(wm.dpy, "_NET_FRAME_EXTENTS", False);
  const Window root = DefaultRootWindow(wm.dpy);
  XChangeProperty(wm.dpy, root, XInternAtom(wm.dpy, "_NET_SUPPORTED", False), XA_ATOM, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(&request), 1);
  XSelectInput(wm.dpy, root, SubstructureNotifyMask);
  XSync(wm.dpy, False);
  std::thread answer([&] {
    for (;;) {
      XEvent ev;
      XNextEvent(wm.dpy, &ev);
      if (ev.type == ClientMessage && ev.xclient.message_type == request) {
        const long e[4] = {2, 2, 26, 3};  // left, right, top, bottom
        XChangeProperty(wm.dpy, ev.xclient.window, extents, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(e), 4);
        XSync(wm.dpy, False);
        return;
      }
    }
  });
  const FrameMetrics f = ws_->frame_metrics();
  answer.join();
  EXPECT_EQ(f.caption, 23);
  EXPECT_EQ(f.frame_height, 3);
  EXPECT_EQ(f.frame_width, 2);
}

TEST_F(X11WindowSystemTest, MessageBoxShowsTextAndReturnsOnKey) {
  Window seen = None;
  bool viewable = false;
  int dark = 0;
  std::thread user([&] {
    Observer o(server_.display());
    seen = o.wait_for_window("disfin");
    if (seen == None) return;
    XWindowAttributes at{};
    for (int i = 0;
         i < 500 && (!XGetWindowAttributes(o.dpy, seen, &at) || at.map_state != IsViewable); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    viewable = at.map_state == IsViewable;
    // Text and button outline are drawn in black on the grey face.
    for (int i = 0; i < 500 && dark == 0; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      XImage* img = XGetImage(o.dpy, seen, 0, 0, at.width, at.height, AllPlanes, ZPixmap);
      if (!img) continue;
      for (int y = 0; y < at.height; ++y)
        for (int x = 0; x < at.width; ++x) dark += (XGetPixel(img, x, y) & 0xFFFFFF) == 0;
      XDestroyImage(img);
    }
    o.key_press(seen, XK_Return);
  });
  ws_->message_box("END OF STYLUS\nFileformat  : CONS", "disfin");
  user.join();
  EXPECT_NE(seen, None);
  EXPECT_TRUE(viewable);
  EXPECT_GT(dark, 100);
  Observer o(server_.display());
  XWindowAttributes gone{};
  EXPECT_FALSE(XGetWindowAttributes(o.dpy, seen, &gone)) << "message window still exists";
}

TEST(X11WindowSystemOpen, NoServerGivesNull) {
  EXPECT_EQ(open_x11_window_system(":31999"), nullptr);
}

}  // namespace
}  // namespace stylus

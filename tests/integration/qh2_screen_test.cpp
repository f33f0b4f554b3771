// The built qh2 program as a user meets it: on a private Xvfb server, watched and driven
// from a second client that also plays the window manager (its window, titles and
// picture, the inputs that do and do not end the wait, the close button), and without
// any display, where the picture is kept as a PNG file. Each run is the whole program,
// scan included.
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "sim/common/scan_result.h"
#include "support/child_process.h"
#include "support/command.h"
#include "support/energy_picture.h"
#include "support/scratch_dir.h"
#if STYLUS_TEST_X11
#include "support/x11_observer.h"
#include "support/xvfb_server.h"
#endif

namespace {

const std::string kQh2 = std::string(STYLUS_BINARY_DIR) + "/sim/qh2";

struct Point {
  float x, y;
};

// What qh2 prints before it plots: the 59 result lines. Each must be the line that the
// list writer makes of the separation, accumulated in single precision as the driver
// does, and of the energy read back from the line (nine digits give the float back).
// Returns the points; `rest` gets what follows the lines.
std::vector<Point> result_lines(const std::string& out, std::string& rest) {
  std::vector<Point> points;
  std::size_t pos = 0;
  float s = 0.1f;
  for (int n = 1; n <= kScanPoints; ++n) {
    const std::size_t end = out.find('\n', pos);
    if (end == std::string::npos) {
      ADD_FAILURE() << "only " << n - 1 << " result lines in:\n" << out;
      rest.clear();
      return points;
    }
    const std::string line = out.substr(pos, end + 1 - pos);
    const std::size_t e = line.find("  energia = ");
    const float energy = e == std::string::npos ? NAN : std::strtof(line.c_str() + e + 12, nullptr);
    std::ostringstream want;
    write_result_line(want, s, energy);
    EXPECT_EQ(line, want.str()) << "result line " << n;
    points.push_back({s, energy});
    s = s + 0.05f;
    pos = end + 1;
  }
  EXPECT_EQ(out.rfind(" separacia =   0.100000001  energia = ", 0), 0u);
  EXPECT_NE(out.find("\n separacia =   2.99999833  energia = "), std::string::npos);
  rest = out.substr(pos);
  return points;
}

// The report of curve for the points that lie outside the axis scaling.
std::string out_of_scaling(const std::vector<Point>& points) {
  std::string text;
  for (const Point& p : points) {
    if (p.x >= 0.0f && p.x <= 3.0f && p.y >= -32.5f && p.y <= -23.0f) continue;
    char line[128];
    std::snprintf(line, sizeof line, " <<<< (%f / %f) out of axis scaling!\n", p.x, p.y);
    text += line;
  }
  return text;
}

// The end protocol of a screen session on the default page, date, time and the vector
// count aside.
bool is_end_protocol(const std::string& text) {
  const std::string rule = " " + std::string(66, '<') + "\n";
  static const std::regex layout(
      "\n" + rule +
      " <<                END OF STYLUS / VERSION  7\\.3                  <<\n"
      " <<  Date    : [0-3][0-9]\\.[01][0-9]\\.20[0-9][0-9]  Time    : [0-2][0-9]:[0-5][0-9]:"
      "[0-6][0-9]  Pageformat: DA4L  <<\n"
      " <<  Vectors : [1-9][0-9]* *  Warnings: 0         Fileformat: CONS  <<\n"
      " <<  Metafile: {49}  <<\n" +
      rule + "\n");
  // The count fills a field of 10 characters.
  return std::regex_match(text, layout) &&
         text.compare(text.find(" <<  Vectors : ") + 25, 10, "  Warnings") == 0;
}

// The test as window manager: with the root's substructure redirected to it, a client's
// map request waits for it, so the test sees a new window as it was created, before the
// program draws. (The program waits two seconds for the map; this one answers at once.)
#if STYLUS_TEST_X11
constexpr std::uint32_t kRed = 0xFF0000, kWhite = 0xFFFFFF, kBlack = 0;

class HoldingWindowManager {
 public:
  explicit HoldingWindowManager(const std::string& display) : x_(display) {
    if (x_.dpy == nullptr) return;
    XSelectInput(x_.dpy, DefaultRootWindow(x_.dpy),
                 SubstructureRedirectMask | SubstructureNotifyMask);
    XSync(x_.dpy, False);
  }
  // The next window that asks to be mapped, not yet mapped; None if the child ends first.
  Window await_map_request(ChildProcess& child) {
    for (;;) {
      while (XPending(x_.dpy)) {
        XEvent ev;
        XNextEvent(x_.dpy, &ev);
        if (ev.type == MapRequest) return ev.xmaprequest.window;
        if (ev.type == ConfigureRequest) {
          XWindowChanges c{};
          c.x = ev.xconfigurerequest.x, c.y = ev.xconfigurerequest.y;
          c.width = ev.xconfigurerequest.width, c.height = ev.xconfigurerequest.height;
          XConfigureWindow(x_.dpy, ev.xconfigurerequest.window,
                           ev.xconfigurerequest.value_mask & (CWX | CWY | CWWidth | CWHeight), &c);
        }
      }
      if (!child.running()) return None;
      pollfd p{ConnectionNumber(x_.dpy), POLLIN, 0};
      poll(&p, 1, 100);
    }
  }
  void map(Window w) {
    XMapWindow(x_.dpy, w);
    XSync(x_.dpy, False);
  }
  X11Observer& x() { return x_; }

 private:
  X11Observer x_;
};

// The whole client area of a 24-bit window in one XGetImage.
class Screenshot {
 public:
  Screenshot(Display* dpy, Window w) {
    XWindowAttributes at{};
    if (!XGetWindowAttributes(dpy, w, &at)) return;
    XImage* img = XGetImage(dpy, w, 0, 0, at.width, at.height, AllPlanes, ZPixmap);
    if (!img) return;
    w_ = at.width, h_ = at.height;
    px_.resize(static_cast<std::size_t>(w_) * h_);
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x) px_[y * w_ + x] = XGetPixel(img, x, y) & 0xFFFFFF;
    XDestroyImage(img);
  }
  int width() const { return w_; }
  int height() const { return h_; }
  std::uint32_t at(int x, int y) const {
    return x < 0 || y < 0 || x >= w_ || y >= h_ ? 0xDEADBEEF : px_[y * w_ + x];
  }
  int count(int x1, int y1, int x2, int y2, std::uint32_t colour) const {
    int n = 0;
    for (int y = y1; y <= y2; ++y)
      for (int x = x1; x <= x2; ++x) n += at(x, y) == colour;
    return n;
  }
  bool near(float x, float y, std::uint32_t colour, int radius = 1) const {
    const int cx = static_cast<int>(x + 0.5f), cy = static_cast<int>(y + 0.5f);
    return count(cx - radius, cy - radius, cx + radius, cy + radius, colour) > 0;
  }

 private:
  int w_ = 0, h_ = 0;
  std::vector<std::uint32_t> px_;
};

// Page points to client pixels: the page scale that disini derives from the client size
// (the library counts it one more than the X window's size in each direction), and the
// axis transformation of the program's graf call on the default page.
struct PageToPixel {
  explicit PageToPixel(const Screenshot& shot) {
    const float w = static_cast<float>(shot.width()), h = static_cast<float>(shot.height());
    scale = std::min(w / 2969.0f, h / 2099.0f);
    scale = std::min(scale, w * 1.0f / 2969.0f);  // landscape page, user scale 1
  }
  // Unrounded pixel position of a page point, and the pixel the pen model lights.
  float exact(float page) const { return page * scale; }
  int pixel(float page) const { return static_cast<int>(page * scale + 0.5f); }
  static float page_x(float x) { return (x - 0.0f) * (1979.0f / 3.0f) + 494.0f; }
  static float page_y(float y) { return 1799.0f - (y - -32.5f) * (1399.0f / 9.5f); }
  float scale;
};

class Qh2OnScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!XvfbServer::installed()) GTEST_SKIP() << "Xvfb is not installed; run scripts/bootstrap.sh";
    ASSERT_TRUE(server_.running()) << "Xvfb is installed but did not start";
    ASSERT_EQ(access(kQh2.c_str(), X_OK), 0) << "build qh2 first: " << kQh2;
    wm_ = std::make_unique<HoldingWindowManager>(server_.display());
    ASSERT_NE(wm_->x().dpy, nullptr);
    child_ = std::make_unique<ChildProcess>(
        ChildProcess::program(kQh2), std::vector<std::string>{"DISPLAY=" + server_.display()});
    // The window appears after the scan, titled as working and not yet shown.
    window_ = wm_->await_map_request(*child_);
    ASSERT_NE(window_, None) << child_->err();
    X11Observer& x = wm_->x();
    EXPECT_EQ(x.title(window_), "STYLUS 1 / Working");
    EXPECT_EQ(x.text_property(window_, "_NET_WM_NAME"), "STYLUS 1 / Working");
    XClassHint cls{};
    ASSERT_TRUE(XGetClassHint(x.dpy, window_, &cls));
    EXPECT_STREQ(cls.res_class, "dismain");
    XFree(cls.res_name), XFree(cls.res_class);
    // By now the result lines are out, and nothing of the plot.
    points_ = result_lines(child_->out(), rest_);
    ASSERT_EQ(points_.size(), static_cast<std::size_t>(kScanPoints));
    EXPECT_EQ(rest_, "");
    wm_->map(window_);

    ASSERT_TRUE(X11Observer::eventually(
        [&] { return x.title(window_) == "STYLUS 1 / Click MB2 to continue ..."; }, 300))
        << child_->err();
    EXPECT_EQ(x.text_property(window_, "_NET_WM_NAME"), "STYLUS 1 / Click MB2 to continue ...");
  }

  ScratchDir scratch_;  // the program's working folder
  XvfbServer server_;
  std::unique_ptr<HoldingWindowManager> wm_;
  std::unique_ptr<ChildProcess> child_;
  Window window_ = None;
  std::vector<Point> points_;
  std::string rest_;
};

TEST_F(Qh2OnScreen, DrawsTheCurveWaitsForTheRightButtonThenPrintsTheProtocol) {
  X11Observer& x = wm_->x();
  // The retitle comes first, the picture right after it in one copy.
  ASSERT_TRUE(X11Observer::eventually([&] { return x.pixel(window_, 211, 500) == kWhite; }));
  const Screenshot shot(x.dpy, window_);
  ASSERT_EQ(shot.width(), 1271);  // 1280 x 1024 screen, default frame sizes
  ASSERT_EQ(shot.height(), 898);
  const PageToPixel to(shot);
  EXPECT_FLOAT_EQ(to.scale, 898.0f / 2099.0f);

  // The frame on the axis lines, page x 494..2473, y 400..1799: columns 211 and 1058,
  // rows 171 and 770, white on black with black just inside.
  const int left = to.pixel(494), right = to.pixel(2473), top = to.pixel(400),
            bottom = to.pixel(1799);
  EXPECT_EQ(left, 211);
  EXPECT_EQ(right, 1058);
  EXPECT_EQ(top, 171);
  EXPECT_EQ(bottom, 770);
  for (float a : {0.6f, 1.2f, 2.1f, 2.6f}) {
    const int col = to.pixel(PageToPixel::page_x(a));
    EXPECT_EQ(shot.at(col, bottom), kWhite) << a;
    EXPECT_EQ(shot.at(col, top), kWhite) << a;
    EXPECT_EQ(shot.at(col, bottom - 2), kBlack) << a;
    EXPECT_EQ(shot.at(col, top + 2), kBlack) << a;
  }
  for (float e : {-31.2f, -28.3f, -26.1f}) {
    const int row = to.pixel(PageToPixel::page_y(e));
    EXPECT_EQ(shot.at(left, row), kWhite) << e;
    EXPECT_EQ(shot.at(right, row), kWhite) << e;
    EXPECT_EQ(shot.at(left + 2, row), kBlack) << e;
  }
  // A major tick of the bottom axis (0.5 A) points down, 24 points long.
  const int tick = to.pixel(PageToPixel::page_x(0.5f));
  EXPECT_GT(shot.count(tick - 1, bottom + 3, tick + 1, bottom + 8, kWhite), 3);
  EXPECT_EQ(shot.count(tick - 1, bottom + 13, tick + 1, bottom + 17, kWhite), 0);

  // Labels and titles where the stroke font puts them (page boxes): "0.00" and "3.00"
  // below the axis, "-32.50" and "-23.50" to its left, both titles; nothing between two
  // labels, none on the top and right sides.
  auto white_in = [&](float x1, float y1, float x2, float y2) {
    return shot.count(to.pixel(x1), to.pixel(y1), to.pixel(x2), to.pixel(y2), kWhite);
  };
  EXPECT_GT(white_in(396, 1847, 592, 1896), 30);
  EXPECT_GT(white_in(2375, 1847, 2571, 1896), 30);
  EXPECT_EQ(white_in(600, 1840, 720, 1900), 0);
  EXPECT_GT(white_in(152, 1773, 446, 1822), 40);
  EXPECT_GT(white_in(152, 448, 446, 497), 40);
  EXPECT_EQ(white_in(140, 1680, 450, 1768), 0);
  EXPECT_GT(white_in(1141, 1927, 1827, 1976), 100);  // "Separation (A)"
  EXPECT_GT(white_in(72, 830, 121, 1369), 100);      // "Energy (eV)", turned
  EXPECT_EQ(white_in(494, 250, 2473, 370), 0);
  EXPECT_EQ(white_in(2500, 400, 2900, 1799), 0);
  EXPECT_EQ(white_in(1000, 1700, 1300, 1790), 0);  // inside, below the curve
  EXPECT_EQ(shot.count(0, 0, shot.width() - 1, 60, kWhite), 0);

  // The red curve. At each data point inside the window, and halfway between two such
  // points: there the column holds red only where the segment crosses it (the line is 4
  // points, under two pixels, wide), for example between 1.45 and 1.5 A.
  int inside = 0;
  for (std::size_t i = 0; i + 1 < points_.size(); ++i) {
    const Point a = points_[i], b = points_[i + 1];
    if (a.y < -32.4f || a.y > -23.1f || b.y < -32.4f || b.y > -23.1f) continue;
    ++inside;
    const float ax = to.exact(PageToPixel::page_x(a.x)), ay = to.exact(PageToPixel::page_y(a.y));
    const float bx = to.exact(PageToPixel::page_x(b.x)), by = to.exact(PageToPixel::page_y(b.y));
    EXPECT_TRUE(shot.near(ax, ay, kRed)) << a.x << " A, " << a.y << " eV";
    const int col = static_cast<int>((ax + bx) / 2);
    const float slope = (by - ay) / (bx - ax);
    const float row = ay + slope * (static_cast<float>(col) - ax);
    // Along the column: the run of a line over one column, the outlines 2 points to
    // either side of the centre line, and the rounding of their corners to whole pixels,
    // which moves a steep line by up to half a column's run, plus a pixel.
    const float run = std::fabs(slope);
    const float reach = run + 2.0f * to.scale * std::sqrt(1 + slope * slope) + 1.0f;
    int red = 0, stray = 0;
    for (int r = top + 1; r < bottom; ++r) {
      if (shot.at(col, r) != kRed) continue;
      ++red;
      stray += std::fabs(static_cast<float>(r) - row) > reach;
    }
    EXPECT_GT(red, 0) << "between " << a.x << " and " << b.x << " A, column " << col;
    EXPECT_EQ(stray, 0) << "between " << a.x << " and " << b.x << " A, column " << col;
    EXPECT_TRUE(shot.near(static_cast<float>(col), row, kRed, 1)) << a.x << " A, column " << col;
  }
  EXPECT_GE(inside, 50);
  // Clipped to the axis system (the line's half width aside), entering at the top.
  int beyond = 0;
  for (int r = 0; r < shot.height(); ++r)
    for (int c = 0; c < shot.width(); ++c)
      if (shot.at(c, r) == kRed && (c < left - 1 || c > right + 1 || r < top - 1 || r > bottom + 1))
        ++beyond;
  EXPECT_EQ(beyond, 0);
  EXPECT_GT(shot.count(left, top, right, top + 2, kRed), 0);

  // Other buttons and keys, real and sent, do nothing. The real ones go first, ended by
  // a query, so that the server has delivered them before the sent ones; once the window
  // has been cleared and repainted after all of them, the program has handled them all.
  const std::string xdo = "DISPLAY=" + server_.display() + " xdotool ";
  ASSERT_EQ(std::system((xdo + "mousemove --window " + std::to_string(window_) +
                         " 400 400 click 1 click 2 key a Return Escape getmouselocation >/dev/null")
                            .c_str()),
            0);
  x.button(window_, ButtonPress, 1);
  x.button_release(window_, 1);
  x.button_release(window_, 2);
  x.button(window_, ButtonPress, 3);  // a press alone is no release
  x.key_press(window_, XK_q);
  x.key_press(window_, XK_Return);
  const int probe_col = to.pixel(PageToPixel::page_x(0.6f));
  XClearArea(x.dpy, window_, 0, 0, 0, 0, False);
  XSync(x.dpy, False);
  EXPECT_EQ(x.pixel(window_, probe_col, bottom), kBlack);
  x.expose(window_);
  ASSERT_TRUE(
      X11Observer::eventually([&] { return x.pixel(window_, probe_col, bottom) == kWhite; }));
  EXPECT_TRUE(child_->running());
  // Standard output is a pipe here, so the report of curve may still sit in the
  // program's buffer; the protocol must not have come yet.
  std::string rest;
  result_lines(child_->out(), rest);
  const std::string report = out_of_scaling(points_);
  EXPECT_EQ(report.compare(0, rest.size(), rest), 0) << "printed before the window closed:\n"
                                                     << rest;

  // The right button released over the window: the window goes, then the protocol.
  ASSERT_EQ(
      std::system(
          (xdo + "mousemove --window " + std::to_string(window_) + " 300 300 click 3").c_str()),
      0);
  EXPECT_EQ(child_->wait(), 0);
  EXPECT_FALSE(x.exists(window_));
  result_lines(child_->out(), rest);
  ASSERT_EQ(rest.substr(0, report.size()), report);
  EXPECT_TRUE(is_end_protocol(rest.substr(report.size()))) << rest;
  EXPECT_EQ(child_->err(), "");
  EXPECT_TRUE(std::filesystem::is_empty(scratch_.path())) << "the screen writes no file";
}

TEST_F(Qh2OnScreen, CloseButtonEndsAtOnceWithStatusZeroAndNoProtocol) {
  X11Observer& x = wm_->x();
  x.close_button(window_);
  EXPECT_EQ(child_->wait(), 0);
  EXPECT_FALSE(x.exists(window_));
  std::string rest;
  const std::vector<Point> points = result_lines(child_->out(), rest);
  EXPECT_EQ(rest, out_of_scaling(points));
  EXPECT_EQ(child_->err(), "");
}

#endif  // STYLUS_TEST_X11

TEST(Qh2WithoutDisplay, PrintsTheLinesAndTheProtocolWithoutWaitingAndKeepsThePicture) {
  ASSERT_EQ(access(kQh2.c_str(), X_OK), 0) << "build qh2 first: " << kQh2;
  ScratchDir scratch;
  ChildProcess child(ChildProcess::program(kQh2), {"DISPLAY"});
  EXPECT_EQ(child.wait(), 0);
#if STYLUS_TEST_X11
  const std::string why = "no display (DISPLAY is not set)";
#else
  const std::string why = "built without X11";
#endif
  EXPECT_EQ(child.err(), "STYLUS: " + why +
                             "; the screen window is drawn off-screen\n"
                             "STYLUS: the off-screen picture is saved as stylus.png\n");
  std::string rest;
  const std::vector<Point> points = result_lines(child.out(), rest);
  const std::string report = out_of_scaling(points);
  EXPECT_GT(report.size(), 0u);  // the first separations lie far above the window
  ASSERT_EQ(rest.substr(0, std::min(rest.size(), report.size())), report);
  EXPECT_TRUE(is_end_protocol(rest.substr(report.size()))) << rest;

  // The picture of the 1272 x 899 window, drawn at 898 / 2099 pixels per point.
  const CommandResult decode = run_command("pngtopnm stylus.png >stylus.ppm");
  ASSERT_EQ(decode.status, 0) << decode.output;
  RgbImage img;
  ASSERT_TRUE(img.load_ppm("stylus.ppm"));
  EXPECT_EQ(img.width(), 1272);
  EXPECT_EQ(img.height(), 899);
  std::vector<ResultPoint> curve;
  for (const Point& p : points) curve.push_back({p.x, p.y});
  const EnergyPicture picture(img, PixelMap::scaled(898.0 / 2099.0), light);
  picture.expect_axis_system();
  picture.expect_curve(curve);

  // A second run keeps the first picture.
  ChildProcess again(ChildProcess::program(kQh2), {"DISPLAY"});
  EXPECT_EQ(again.wait(), 0);
  EXPECT_NE(again.err().find("saved as stylus_1.png\n"), std::string::npos) << again.err();
}

// The end protocol checker itself, on the box as the library prints it and on near misses.
TEST(Qh2EndProtocol, LayoutCheckAcceptsTheBoxAndRejectsNearMisses) {
  const std::string rule = " " + std::string(66, '<') + "\n";
  const std::string box = "\n" + rule +
                          " <<                END OF STYLUS / VERSION  7.3                  <<\n"
                          " <<  Date    : 07.12.2026  Time    : 09:13:34  Pageformat: DA4L  <<\n"
                          " <<  Vectors : 1234        Warnings: 0         Fileformat: CONS  <<\n"
                          " <<  Metafile:                                                   <<\n" +
                          rule + "\n";
  EXPECT_TRUE(is_end_protocol(box));
  std::string shifted = box;
  shifted.replace(shifted.find("1234 "), 5, " 1234");
  EXPECT_FALSE(is_end_protocol(shifted));
  std::string wide = box;
  wide.replace(wide.find("1234 "), 5, "1234  ");
  EXPECT_FALSE(is_end_protocol(wide));
  std::string named = box;
  named.replace(named.find("Metafile: "), 20, "Metafile: stylus.met");
  EXPECT_FALSE(is_end_protocol(named));
  EXPECT_FALSE(is_end_protocol(box.substr(0, box.size() - 1)));
}

}  // namespace

// The Tektronix 4014 device "TEKT": a graphics stream that draws the plot when it is written
// to a terminal that emulates the 4014 (`xterm -t`, or `cat stylus.tek` in its Tek window).
// ESC FF erases the screen and ESC ` selects solid vectors; every vector then goes in the
// 4014's 12-bit extended addresses (4096 x 3120 points, y up), GS starting a dark vector
// where the pen moves; the end moves the beam to the first text line and US returns to alpha
// mode. The page is scaled to fit the screen as on a screen window, its bottom on the screen's
// bottom. The 4014 draws in one colour: colour changes are ignored, and line widths and styles
// arrive as the pen model's outlines and dashes.
#include <algorithm>
#include <cmath>
#include <string>

#include "devices/device_point.h"
#include "devices/device_table.h"
#include "devices/screen_geometry.h"

namespace stylus {
namespace {

constexpr int kWidth = 4096, kHeight = 3120;  // addressable points
// Where the end leaves the beam: the baseline of the first text line of the largest
// characters (34 lines of 88 points below it), so that text written after the plot starts at
// the top left, above a landscape page.
constexpr int kTextHomeY = 34 * 88;
constexpr char kGs = '\x1d', kUs = '\x1f';
// Bytes kept before they are handed to the output.
constexpr std::size_t kChunk = 8192;

struct TekPoint {
  int x, y;
  bool operator==(const TekPoint&) const = default;
};

class TektronixDriver final : public Driver {
 public:
  DriverStart start(const DriverSetup& setup) override;
  // A move only remembers the point; a draw is the vector from the last point, cut to the
  // screen.
  void point(const DevicePoint& p, int pen) override;
  int finish(const DriverEnd& end) override;

 private:
  void vector(double x0, double y0, double x1, double y1);
  void address(TekPoint p);
  void flush();

  ByteSink* out_ = nullptr;
  std::string bytes_;
  int bottom_ = 0;  // device y of the page's bottom edge: the screen's y 0
  double last_x_ = 0.0, last_y_ = 0.0;
  // Where the beam stands after a drawn vector; none before the first.
  TekPoint beam_{-1, -1};
  // The address bytes the terminal holds; a byte equal to its predecessor need not be sent.
  int hi_y_ = -1, extra_ = -1, lo_y_ = -1, hi_x_ = -1;
};

DriverStart TektronixDriver::start(const DriverSetup& setup) {
  out_ = setup.out;
  const bool turned = setup.page.rotation == 1;
  const int o = turned ? setup.page.ny : setup.page.nx;
  const int r = turned ? setup.page.nx : setup.page.ny;
  const float scale = screen_page_scale(kWidth, kHeight, o, r, setup.page.user_scale);
  bottom_ = round_point(static_cast<float>(r) * scale);
  last_y_ = bottom_;  // device point (0, 0), where a draw without a move starts
  bytes_ = "\x1b\x0c\x1b`";
  return {scale, setup.options};
}

void TektronixDriver::point(const DevicePoint& p, int pen) {
  const double x = p.ix, y = static_cast<double>(bottom_) - p.iy;
  if (pen == kPenDraw) vector(last_x_, last_y_, x, y);
  last_x_ = x;
  last_y_ = y;
}

// Cuts the vector to the screen (Liang and Barsky) and sends what is left: a dark vector to
// its start unless the beam is there, then its end.
void TektronixDriver::vector(double x0, double y0, double x1, double y1) {
  const double dx = x1 - x0, dy = y1 - y0;
  double t0 = 0.0, t1 = 1.0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0, kWidth - 1 - x0, y0, kHeight - 1 - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return;  // parallel to the edge and outside it
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
  }
  if (t0 > t1) return;
  const TekPoint a{static_cast<int>(std::lround(x0 + t0 * dx)),
                   static_cast<int>(std::lround(y0 + t0 * dy))};
  const TekPoint b{static_cast<int>(std::lround(x0 + t1 * dx)),
                   static_cast<int>(std::lround(y0 + t1 * dy))};
  if (!(beam_ == a)) {
    bytes_ += kGs;
    address(a);
  } else if (a == b) {
    return;  // a point where the beam already drew
  }
  address(b);
  beam_ = b;
  if (bytes_.size() >= kChunk) flush();
}

// HiY, the extra byte (the two low bits of y and of x), LoY, HiX, LoX. HiY, the extra byte
// and HiX are left out when the terminal holds them already; LoY goes whenever the extra
// byte or HiX does, since the terminal tells those apart only by the LoY between them; LoX
// ends every address.
void TektronixDriver::address(TekPoint p) {
  const int hi_y = 0x20 | (p.y >> 7);
  const int extra = 0x60 | (p.y & 3) << 2 | (p.x & 3);
  const int lo_y = 0x60 | (p.y >> 2 & 0x1f);
  const int hi_x = 0x20 | (p.x >> 7);
  if (hi_y != hi_y_) bytes_ += static_cast<char>(hi_y);
  if (extra != extra_) bytes_ += static_cast<char>(extra);
  if (lo_y != lo_y_ || extra != extra_ || hi_x != hi_x_) bytes_ += static_cast<char>(lo_y);
  if (hi_x != hi_x_) bytes_ += static_cast<char>(hi_x);
  bytes_ += static_cast<char>(0x40 | (p.x >> 2 & 0x1f));
  hi_y_ = hi_y;
  extra_ = extra;
  lo_y_ = lo_y;
  hi_x_ = hi_x;
}

void TektronixDriver::flush() {
  if (out_ != nullptr) out_->put(bytes_);
  bytes_.clear();
}

int TektronixDriver::finish(const DriverEnd& /*end*/) {
  bytes_ += kGs;
  address({0, kTextHomeY});
  bytes_ += kUs;
  flush();
  return 1;
}

}  // namespace

std::unique_ptr<Driver> make_tektronix_driver(const DeviceRecord& /*device*/,
                                              DriverMemory& /*memory*/) {
  return std::make_unique<TektronixDriver>();
}

}  // namespace stylus

// The one interface every output driver fills, and the table that maps device-code
// ranges to drivers. The pen model's dispatch (xjdraw), the colour and width routines and
// the session start and end talk to the current device only through this interface.
#pragma once

#include <memory>

namespace stylus {

// Pen codes of the vector path.
inline constexpr int kPenMove = 3;
inline constexpr int kPenDraw = 2;
inline constexpr int kPenFlush = 999;

class Driver {
 public:
  virtual ~Driver() = default;

  // Session start, after the output file (if any) is open: headers, windows.
  virtual void start() {}
  // One page point of the vector path (page coordinates, reals) with its pen code.
  // The driver turns it into its own device point.
  virtual void point(float x, float y, int pen) = 0;
  // The colour number ncol (0..255) becomes the drawing colour; called before
  // cur_color is updated, so the driver may compare with the old one.
  virtual void color(int ncol) { (void)ncol; }
  // The colour table was loaded.
  virtual void color_table(int kind, const int table[256]) {
    (void)kind;
    (void)table;
  }
  // The line width changed (points).
  virtual void line_width(int width) { (void)width; }
  // Fill a page rectangle with colour ncol.
  virtual void fill(int x, int y, int w, int h, int ncol) {
    (void)x, (void)y, (void)w, (void)h, (void)ncol;
  }
  // Flush pending output (a pending path or polyline).
  virtual void flush() {}
  // Session end: end records, image files, the end-of-plot wait on the screen.
  // Returns 1 when a metafile was written, 0 otherwise.
  virtual int finish() { return 1; }
};

// The driver of the session in progress; null outside a session.
Driver* current_driver();
// Installs a driver for the session (used by disini; tests install recording drivers).
void set_current_driver(std::unique_ptr<Driver> driver);
// Makes the driver for a device code, or null when no driver exists for its class.
std::unique_ptr<Driver> make_driver(int device);

}  // namespace stylus

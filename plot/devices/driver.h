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

// The device classes, each a range of device codes. The class fixes how xjdraw turns a
// page point into a device point and which driver receives it.
enum class DeviceClass {
  kNone,        // no device: points are counted and dropped
  kScreen,      // screen windows, codes up to 100
  kTerminal,    // terminal command files 101..200 (device points as on the screen)
  kGksl,        // 201 text metafile
  kCgm,         // 211 binary CGM
  kWmf,         // 221 Windows metafile (device points as on the screen)
  kKyocera,     // 301..400 printer command file
  kHpgl,        // 401 HPGL plotter file
  kHpglSheet,   // 402..500 HPGL on a fixed sheet (HPA4 .. HPA1)
  kPostScript,  // 501..600
  kRaster,      // 601..700 raster images (device points as on the screen)
  kJava,        // 701 applet source (device points as on the screen)
};

// A point in device coordinates: the real coordinates of the device class's formula and
// the same rounded, ix = r(x), iy = r(y) with r(v) = v + 0.5 truncated towards zero.
// Drivers with integer coordinates use ix, iy; GKSL, CGM and PostScript use x, y.
struct DevicePoint {
  float x, y;
  int ix, iy;
};

class Driver {
 public:
  virtual ~Driver() = default;

  // Session start, after the output file (if any) is open: sets page_scale, writes the
  // header, opens the window.
  virtual void start() {}
  // One point of the vector path in device coordinates with its pen code (kPenMove or
  // kPenDraw).
  virtual void point(const DevicePoint& p, int pen) = 0;
  // The colour number ncol (0..255) becomes the drawing colour; called before
  // cur_color is updated, so the driver may compare with the old one.
  virtual void color(int ncol) { (void)ncol; }
  // The colour table was loaded (kind = color_table index).
  virtual void color_table(int kind, const int table[256]) {
    (void)kind;
    (void)table;
  }
  // The line width changed to width points (linwid has stored it in line_width; a device
  // that draws widths itself stores -width there).
  virtual void line_width(int width) { (void)width; }
  // Fill the rectangle with page corners (x1, y1), (x2, y2) in colour ncol.
  virtual void fill(int x1, int y1, int x2, int y2, int ncol) {
    (void)x1, (void)y1, (void)x2, (void)y2, (void)ncol;
  }
  // Flush pending output (a pending path or polyline): pen code 999.
  virtual void flush() {}
  // Session end: end records, image files, the end-of-plot wait on the screen. Does not
  // close out_stream. Returns 1 when a metafile was written, 0 otherwise.
  virtual int finish() { return 1; }
};

using DriverFactory = std::unique_ptr<Driver> (*)(int device);

// The class of a device code (kNone outside every range).
DeviceClass device_class(int device);
// The driver of the session in progress; null outside a session.
Driver* current_driver();
// Installs a driver for the session (used by disini; tests install recording drivers).
void set_current_driver(std::unique_ptr<Driver> driver);
// Makes the driver for a device code, or null when no driver exists for its class.
std::unique_ptr<Driver> make_driver(int device);
// Replaces the table for make_driver (tests); null restores the table.
void set_driver_factory(DriverFactory factory);

}  // namespace stylus

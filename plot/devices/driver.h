// The one interface every output driver fills. A driver object lives exactly one session:
// disini makes it from the device table and starts it, the pen model's dispatch (xjdraw),
// the colour and width routines talk to it, and disfin finishes it.
#pragma once

#include <memory>
#include <vector>

#include "devices/byte_sink.h"

namespace stylus {

class RecordBuffer;

// Pen codes of the vector path.
inline constexpr int kPenMove = 3;
inline constexpr int kPenDraw = 2;
inline constexpr int kPenFlush = 999;

// The device classes, each a range of device codes. The class fixes how a page point
// becomes a device point.
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
  kSvg,         // 801 SVG picture (device points are page points)
  kPdf,         // 802 PDF page (device points are page points)
};

// A point in device coordinates: the real coordinates of the device class's formula and
// the same rounded, ix = r(x), iy = r(y) with r(v) = v + 0.5 truncated towards zero.
// Drivers with integer coordinates use ix, iy; GKSL, CGM and PostScript use x, y.
struct DevicePoint {
  float x, y;
  int ix, iy;
};

// A colour of the colour table, 0..255 per component.
struct RgbColor {
  int r, g, b;
};

// A change of the drawing colour: the new colour number, its table entry, and the colour
// number that was current before (the session start makes that 0).
struct ColorChange {
  int ncol;
  RgbColor rgb;
  int previous;
};

// A picture as colour numbers of the colour table: width x height bytes, rows from the top
// without padding.
struct IndexedImage {
  int width = 0, height = 0;
  std::vector<unsigned char> pixels;
};

class Driver {
 public:
  virtual ~Driver() = default;

  // Session start: sets page_scale, writes the header, opens the window. out is the
  // session's output file for the devices that write while drawing, else null. False
  // (after a warning) when the device cannot be used; the session then has no driver.
  virtual bool start(ByteSink* out) {
    (void)out;
    return true;
  }
  // One point of the vector path in device coordinates with its pen code (kPenMove or
  // kPenDraw).
  virtual void point(const DevicePoint& p, int pen) = 0;
  // The drawing colour changes (also to the colour it already is).
  virtual void color(const ColorChange& change) { (void)change; }
  // The colour table was loaded (kind = color_table index).
  virtual void color_table(int kind, const int table[256]) {
    (void)kind;
    (void)table;
  }
  // The line width changed to width points.
  virtual void line_width(int width) { (void)width; }
  // The miter limit of thick lines changed (lnmlt); only devices that draw widths
  // themselves care.
  virtual void miter_limit(float factor) { (void)factor; }
  // Fill the rectangle with page corners (x1, y1), (x2, y2) in colour ncol.
  virtual void fill(int x1, int y1, int x2, int y2, int ncol, RgbColor rgb) {
    (void)x1, (void)y1, (void)x2, (void)y2, (void)ncol, (void)rgb;
  }
  // Flush pending output (a pending path or polyline): pen code 999.
  virtual void flush() {}
  // Session end: end records and the pending record, image files, the end-of-plot wait on
  // the screen. Returns 1 when a metafile was written, 0 otherwise (a file that could not
  // be written has had its warning). The session closes the output file afterwards.
  virtual int finish() { return 1; }
  // The picture drawn so far, pending lines included, for the image writers (rimage, rtiff,
  // rpng). False when the device keeps no picture.
  virtual bool picture(IndexedImage& image) {
    (void)image;
    return false;
  }
  // The record buffer that qqsbuf and qpsbuf append to; null for devices without one.
  virtual RecordBuffer* records() { return nullptr; }
};

// The driver of the session in progress; null outside a session.
Driver* current_driver();
// Installs a driver for the session with the output file it writes to, if any (used by
// disini; tests install recording drivers). Null ends the session's driver and output.
void set_current_driver(std::unique_ptr<Driver> driver, std::unique_ptr<ByteSink> output = nullptr);
// The session's output file; null when the device writes none while drawing.
ByteSink* session_output();

}  // namespace stylus

// The one interface every output driver fills. A driver object lives exactly one session:
// disini makes it from the device table and starts it, the pen model's dispatch (xjdraw),
// the colour and width routines talk to it, and disfin finishes it. A driver is told what
// it needs (DriverSetup) and returns what the session keeps (DriverStart); it reads and
// writes no process-wide plot record.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "devices/byte_sink.h"
#include "devices/pen_codes.h"
#include "records/state.h"

namespace stylus {

class RecordBuffer;
struct DeviceRecord;

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

// The page of the session.
struct DriverPage {
  int nx = 2969, ny = 2099;  // largest page coordinates
  int rotation = 0;          // 1: turned by 90 degrees on the device (2: PostScript upright)
  float user_scale = 1.0f;   // factor on the device's largest scale
};

// The screen and image options of the plot state, in the order of ScreenOption.
using ScreenOptions = std::array<int, kScreenOptionCount>;

// What the session tells a driver at its start.
struct DriverSetup {
  const DeviceRecord* row = nullptr;  // the device's row: code and variant parameters
  DriverPage page;
  ScreenOptions options{};     // window or image size settings
  std::string_view file_name;  // the session's file, named and versioned ("" for none)
  std::string date, time;      // of the session start, as the end protocol prints them
  float version = 0.0f;        // of the library
  ByteSink* out = nullptr;     // the output of a device that writes while drawing
};

// What the session keeps from a driver's start.
struct DriverStart {
  float page_scale = 1.0f;  // device units per point
  // The options as the device leaves them (a window or an image of the default size
  // records the size it took).
  ScreenOptions options{};
  // Where the end protocol goes when it is shown in a window (winini): the device's own
  // message window, or null for standard output.
  void (*message_window)(const char* text, const char* title) = nullptr;
};

// What the session tells a driver at its end.
struct DriverEnd {
  // The file of a device that writes it at the end (named and versioned; it is put in
  // place when the driver has written it whole), else null.
  ByteSink* file = nullptr;
  int window_mode = 0;  // end mode of a screen window: units digit, tens digit the title
};

class Driver {
 public:
  virtual ~Driver() = default;

  // Session start: writes the header, opens the window; returns the page scale and the
  // options as the device leaves them.
  virtual DriverStart start(const DriverSetup& setup) = 0;
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
  // The miter limit of thick lines changed (lnmlt) to factor times the current width
  // (points); only devices that draw widths themselves care.
  virtual void miter_limit(float factor, int width) {
    (void)factor;
    (void)width;
  }
  // Fill the rectangle with page corners (x1, y1), (x2, y2) in colour ncol.
  virtual void fill(int x1, int y1, int x2, int y2, int ncol, RgbColor rgb) {
    (void)x1, (void)y1, (void)x2, (void)y2, (void)ncol, (void)rgb;
  }
  // Fill the polygon of n >= 3 device points, already clipped to the clip window, in the
  // current colour. False when the device has no fill of its own: the pen model then covers
  // the polygon with strokes instead.
  virtual bool polygon(const DevicePoint* points, int n) {
    (void)points, (void)n;
    return false;
  }
  // Flush pending output (a pending path or polyline): pen code 999.
  virtual void flush() {}
  // Session end: end records and the pending record, the file of a device that writes at
  // the end, the end-of-plot wait on the screen. Returns 1 when the device's file is
  // complete, 0 otherwise. The session closes the output file afterwards.
  virtual int finish(const DriverEnd& end) {
    (void)end;
    return 1;
  }
  // The picture drawn so far, pending lines included, for the image writers (rimage, rtiff,
  // rpng). False when the device keeps no picture.
  virtual bool picture(IndexedImage& image) {
    (void)image;
    return false;
  }
  // The driver's record buffer; null for devices without one.
  virtual RecordBuffer* records() { return nullptr; }
};

// The driver of the session in progress; null outside a session.
Driver* current_driver();
// How often current_driver() was asked for: unchanged, nothing reached the driver since.
unsigned long driver_accesses();
// Installs a driver for the session with the output file it writes to, if any (used by
// disini; tests install recording drivers). Null ends the session's driver and output.
void set_current_driver(std::unique_ptr<Driver> driver, std::unique_ptr<ByteSink> output = nullptr);
// The session's output file; null when the device writes none while drawing.
ByteSink* session_output();

}  // namespace stylus

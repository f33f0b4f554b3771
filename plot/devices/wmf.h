// The Windows metafile device "WMF": the plot recorded call by call (window set-up, pens,
// moves and lines, rectangle and polygon fills) in twips into stylus.wmf as the session
// draws, the header completed at the end.
#pragma once

#include <memory>

#include "devices/device_point.h"
#include "devices/driver.h"
#include "devices/wmf_recorder.h"

namespace stylus {

// Twips per point (1440 / 254).
inline constexpr float kTwipsPerPoint = 5.6692913f;

class WmfDriver final : public Driver {
 public:
  // Opens the metafile with the page's window; returns the page scale.
  DriverStart start(const DriverSetup& setup) override;
  void point(const DevicePoint& p, int pen) override { qqwmf4(p.ix, p.iy, pen); }
  void color(const ColorChange& change) override { qqwmf3(change.rgb); }
  void fill(int x1, int y1, int x2, int y2, int ncol, RgbColor rgb) override;
  bool polygon(const DevicePoint* points, int n) override;
  // Closes the metafile in the session's output: 1 when complete.
  int finish(const DriverEnd& end) override;

  // The recorder's operations, in device units (twips).
  // Opens a metafile whose window is the page of w x h units and a margin of 20, recorded
  // into out (null: kept in memory for qqwmf2).
  void qqwmf1(int w, int h, ByteSink* out = nullptr);
  // Closes the metafile; one kept in memory is written into file. 1 when complete, 0 when
  // no metafile was open or there is no file to write into.
  int qqwmf2(ByteSink* file);
  // A new solid pen of width 1 in colour c, which also becomes the text colour.
  void qqwmf3(RgbColor c);
  // A line to (ix, iy) for pen kPenDraw, a move for any other pen code.
  void qqwmf4(int ix, int iy, int pen);
  // Fills the rectangle from (x, y) to (x + w, y + h) in colour c.
  void qqwmf5(int x, int y, int w, int h, RgbColor c);
  // Fills the polygon of n points in the colour of the pen.
  void qqwmf6(const int* x, const int* y, int n);

 private:
  // After a fill: selects the brush that the fill replaced and deletes the fill's brush.
  void restore_brush(int previous, int brush);

  WmfRecorder dc_;
  ByteSink* out_ = nullptr;
  PageGeometry geometry_{};
  bool open_ = false;
  bool pen_selected_ = false;
  RgbColor pen_color_{0, 0, 0};
  int default_brush_ = WmfRecorder::kDefaultObject;  // its recorded copy, once needed
};

}  // namespace stylus

// The PostScript devices "POST" and "PSCL": the header and prolog, the path writer with
// its 50-point buffer, and the tokens of colour, width, miter limit, fills and end.
#pragma once

#include <memory>

#include "devices/device_table.h"
#include "devices/file_driver.h"
#include "devices/path_buffer.h"

namespace stylus {

inline constexpr int kPsPathSize = 50;
// Device units per plot point on the PostScript devices (13/7).
inline constexpr float kPsPageScale = 1.8571428f;

// The sheet scale s (sheet units per page point) and s / kPsPageScale, the factor of the
// header's scale line, for a page.
struct PsSheetScale {
  float sheet;
  float factor;
};
PsSheetScale postscript_sheet_scale(const DriverPage& page);

class PostScriptDriver final : public FileDriver {
 public:
  // black_background paints the whole page black after the prolog ("PSCL"). last_point is
  // where the previous session's last path ended; the driver keeps it up to date.
  PostScriptDriver(bool black_background, PathEnd& last_point);

  // One device point (x, y in device units) with pen 3 move, 2 draw, 999 flush.
  void drwpsc(float x, float y, int pen);

  void point(const DevicePoint& p, int pen) override { drwpsc(p.x, p.y, pen); }
  void color(const ColorChange& change) override;
  void line_width(int width) override;
  void miter_limit(float factor, int width) override;
  void fill(int x1, int y1, int x2, int y2, int ncol, RgbColor rgb) override;
  bool polygon(const DevicePoint* points, int n) override;
  void flush() override { drwpsc(0.0f, 0.0f, kPenFlush); }

 protected:
  float header(const DriverSetup& setup) override;
  void end() override;

 private:
  void write_point(int x, int y, bool first);
  void write_path();

  bool black_background_;
  DriverPage page_;
  PathBuffer<int, kPsPathSize> path_;
};

}  // namespace stylus

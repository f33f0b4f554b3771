// What the vector-file devices "SVG" and "PDF" share: the page drawn in its own size at one
// device unit per page point (0.1 mm), the PostScript device's line widths, caps and joins,
// and the pen model's points turned into whole polylines grouped by pen, and filled polygons.
#pragma once

#include <string>

#include "devices/driver.h"

namespace stylus {

// Line width in page points for a linwid width: PostScript draws 2n units of 7/13 point,
// at least 5 units.
float vector_line_width(int width);
// A number as the files write it: at most `decimals` decimals, without trailing zeros, a
// trailing dot or a minus before zero (2969 not 2969.00, 2.69, 0 not -0).
std::string vector_number(double v, int decimals = 2);
// vector_number(v) of a coordinate, appended to out; written at `out` (at most
// kVectorNumberSize characters), returning its end.
inline constexpr int kVectorNumberSize = 64;
void append_vector_number(std::string& out, float v);
char* write_vector_number(char* out, float v);

// The pen of a group of polylines: colour and width in page points.
struct VectorPen {
  RgbColor rgb;
  float width;
  bool operator==(const VectorPen& o) const {
    return rgb.r == o.rgb.r && rgb.g == o.rgb.g && rgb.b == o.rgb.b && width == o.width;
  }
};

// A driver that receives the pen model's points and the pen changes and hands its format
// whole polylines: a polyline starts at a move and runs through the draws that follow. The
// pen model restarts a long polyline with a move to the point it ended at; that move
// continues the polyline. A pen change applies to the polylines drawn after it, and
// consecutive polylines of one pen form one group.
class VectorDriver : public Driver {
 public:
  // Writes the header; device points are page points (scale 1).
  DriverStart start(const DriverSetup& setup) override;
  void point(const DevicePoint& p, int pen) override;
  void color(const ColorChange& change) override;
  void line_width(int width) override;
  // Ends the pending polyline and its group, then fills the polygon in the current colour.
  bool polygon(const DevicePoint* points, int n) override;
  // Ends the last polyline and its group and writes the end of the file; the session
  // closes the output.
  int finish(const DriverEnd& end) override;

 protected:
  virtual void header(const DriverSetup& setup) = 0;
  // A group of polylines drawn with pen starts; the previous group, if any, has ended.
  virtual void begin_group(const VectorPen& pen) = 0;
  virtual void end_group() = 0;
  // A polyline starts at (x, y), continues with lines to further points, and ends.
  virtual void begin_polyline(float x, float y) = 0;
  virtual void line_to(float x, float y) = 0;
  virtual void end_polyline() = 0;
  virtual void footer() = 0;
  // A closed polygon filled in rgb, outside any group.
  virtual void fill_polygon(const DevicePoint* points, int n, RgbColor rgb) = 0;

  ByteSink* out() const { return out_; }

 private:
  void close_polyline();

  ByteSink* out_ = nullptr;
  // The session starts black at the PostScript device's first width (5 units).
  VectorPen pen_{{0, 0, 0}, vector_line_width(1)};
  VectorPen group_pen_{};
  bool in_group_ = false;
  bool in_polyline_ = false;
  bool have_last_ = false;
  float last_x_ = 0.0f, last_y_ = 0.0f;
};

}  // namespace stylus

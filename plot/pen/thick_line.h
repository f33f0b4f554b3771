// Stroking of one polyline buffer against a rectangular clip window: the centre line and
// the outlines about it that give a line its width (square caps extended by half the
// width, bevelled corners, closed rings). Pure: the pen operations go to a caller's sink.
#pragma once

#include <functional>
#include <vector>

#include "pen/clip.h"

namespace stylus {

// Receives one device point with its pen code (3 move, 2 draw).
using PenSink = std::function<void(float x, float y, int pen)>;
// The same as a plain function (the device path), called without the wrapper.
using PenFunction = void (*)(float x, float y, int pen);

// Distances of the outlines of a line of width w from its centre line: n = (w + 1) div 3
// outlines at 1.5, 3, 4.5, ... points, the last one at w / 2. Empty for w < 2.
std::vector<float> outline_distances(int line_width);

// The widest line always drawn by its outlines. A wider line is drawn, when the stroker is
// told the rows, either by its outlines or as the band they would cover filled row by row
// (wide_line.cpp), whichever is less work: many short outlines (a wide dash, a dense wide
// curve) make the band cheaper, few long ones (a long line a little wider) the outlines.
inline constexpr int kOutlinedWidthLimit = 20;

// The rows that fill the band of a wide line: the lines of constant page y, or of constant
// page x (along_x: a page turned on a pixel device), at origin + k * step for every whole k.
struct BandRows {
  bool along_x = false;
  double origin = 0.0;
  double step = 1.5;
  double pixels_per_point = 0.0;  // on a pixel device, the pixels an outline sets per point
};

class Stroker {
 public:
  Stroker(const ClipWindow& window, PenSink sink) : window_(window), sink_(std::move(sink)) {}
  Stroker(const ClipWindow& window, PenFunction pen) : window_(window), pen_(pen) {}

  // Lines wider than kOutlinedWidthLimit are filled with these rows from now on.
  void fill_wide_lines(const BandRows& rows) {
    rows_ = rows;
    fill_wide_ = true;
  }

  // Centre line, then for line_width >= 2 the outlines (or the filled band of a wide line).
  // A buffer of fewer than two points draws nothing (a single point gets at most a move).
  // Returns true when the band of a wide line covered the whole window: then only the
  // window's rows were sent.
  bool stroke(const float* x, const float* y, int count, int line_width);
  // The centre line: points inside the window are drawn directly; from the first point
  // outside on, every segment is clipped.
  void centre_line(const float* x, const float* y, int count);
  // One closed outline at distance d from the polyline, its ends extended by e.
  void outline(const float* x, const float* y, int count, float d, float e);
  // Clips one segment and sends what is visible (clip2d).
  void clip(float x1, float y1, float x2, float y2);

 private:
  struct Point {
    float x, y;
  };
  void emit(float x, float y, int pen) {
    if (pen_ != nullptr) {
      pen_(x, y, pen);
    } else {
      sink_(x, y, pen);
    }
  }
  // Sends p with the pen code when it lies inside the window.
  void send_if_inside(Point p, int pen);
  // The directions of a polyline, one outline or several: the angles of its segments
  // i -> i + 1, each computed once; the reverse of a segment is derived from them.
  class Directions {
   public:
    Directions(const float* x, const float* y, int count);
    // segment_direction of the segment from point a to point b.
    Direction operator()(int a, int b) const;

   private:
    const float* x_;
    const float* y_;
    std::vector<SegmentAngle> angles_;
  };
  void outline(const float* x, const float* y, int count, float d, float e, const Directions& dir);
  // The outline distances [lo, hi] whose outlines can touch the window: nearer outlines of
  // a buffer far from the window cannot reach it, and wider outlines of one segment may
  // run round the whole window.
  struct DistanceRange {
    float lo, hi;
  };
  DistanceRange reaching_distances(const float* x, const float* y, int count,
                                   const Directions& dir) const;
  void rectangle(const float* x, const float* y, float d, float e, const Directions& dir);
  // The centre line, the band filled by rows and the outermost outline of a line wider than
  // kOutlinedWidthLimit (wide_line.cpp); the return value of stroke.
  bool wide_line(const float* x, const float* y, int count, int line_width, const Directions& dir);
  // Whether filling the band of a line wider than kOutlinedWidthLimit is less work than its
  // outlines: rows the band's pieces reach against outline segments (and their pixels).
  bool band_is_cheaper(const float* x, const float* y, int count, int line_width) const;
  // One side of the outline of a polyline of three or more points, walked with step +1
  // (forwards) or -1 (back along the other side). Returns the last point it clipped to.
  Point pass(const float* x, const float* y, int count, float d, float e, bool closed, int step,
             Point& start, const Directions& dir);

  ClipWindow window_;
  PenSink sink_;
  PenFunction pen_ = nullptr;
  BandRows rows_;
  bool fill_wide_ = false;
};

}  // namespace stylus

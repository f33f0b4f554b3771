// The pen model: a current point, move and draw, a 100-point polyline buffer and the one
// dispatch point (xjdraw) through which every vector of the library reaches the device.
#pragma once

#include "devices/device_point.h"

namespace stylus {

inline constexpr int kStrokeBufferSize = 100;

struct PenRecord {
  float vec_x, vec_y;               // current point of the vector path, page offset included
  float curve_offset;               // perpendicular shift of the drawn line (points)
  int pen_move_pending;             // set by strtqq when curve_offset is not 0
  float xplray[kStrokeBufferSize];  // the polyline buffer, page coordinates
  float yplray[kStrokeBufferSize];
  int stroke_count;  // points in the buffer; 0 empty
};
extern PenRecord g_pen;

// Move to / draw to a page point, without the page offset (it is added here).
void strtqq(float x, float y);
void connqq(float x, float y);
// Integer line: strtqq(ix1, iy1), connqq(ix2, iy2).
void lineqq(int ix1, int iy1, int ix2, int iy2);
// Buffer level: page coordinates with the page offset included.
void xmove(float x, float y);
void xdraw(float x, float y);
// Strokes and empties the polyline buffer (clipping, line widths).
void qqstrk();
// The device dispatch of one page point: counts it and hands it to the driver.
void xjdraw(float x, float y, int pen);
// The page geometry of the session in progress, as the dispatch turns page points into
// device points.
PageGeometry current_geometry();

}  // namespace stylus

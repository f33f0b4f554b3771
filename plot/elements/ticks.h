// The ticks of one axis: the signs of the distances for the side being drawn, the tick
// positions and their drawing with alternating direction.
#pragma once

#include <vector>

namespace stylus {

// Signs the label and title distances of all axes and the two tick lengths for an axis
// whose labels lie toward growing (side 0) or falling (side 1) page coordinates;
// settic(0, 0) makes them positive again.
void settic(int side, int tick_pos);

// Whole steps in a span of user values: trunc(v + 0.0001), at most limit either way, so
// that a step far smaller than the span neither overflows nor runs away. Axes pass their
// length: more ticks or labels than one per point cannot be told apart.
int step_count(float v, int limit = 100000);

struct TickLine {
  int x1, y1, x2, y2;
  bool major;
};
// The ticks of one axis, in drawing order (pure). minor_len and major_len are signed.
std::vector<TickLine> tick_lines(float begin, float end, float first, float step, int len,
                                 int minor_len, int major_len, int ticks, int x, int y, int log,
                                 int tick_pos, int axis);
// Draws the ticks of one axis through rvline.
void markx(float begin, float end, float first, float step, int len, int minor_len, int major_len,
           int ticks, int x, int y, int log, int tick_pos, int axis);

// Draws one tick line, in the opposite direction of the previous one (process-wide).
void rvline(int x1, int y1, int x2, int y2);

// Puts the direction toggle of rvline back to its program-start value.
void reset_tick_state();

}  // namespace stylus

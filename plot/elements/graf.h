// The drawing steps of an axis system: one axis, the side levels and the frame.
#pragma once

namespace stylus {

// Draws one axis: its line, ticks, labels and title. (x, y) is the left end of an x
// axis or the bottom end of a y axis; side 0 puts ticks, labels and title toward growing
// page coordinates, side 1 toward falling ones.
void daxis(float begin, float end, float first, float step, int len, const char* title, int side,
           int x, int y, int log, int axis);
// Before (phase 0) and after (phase 1) side 1..4 (bottom, right, top, left) is drawn:
// reduces the line, tick, label and title settings of its axis to the side level and
// restores them afterwards.
void sgrafp(int side, int phase);
// A frame of |t| rectangles about (x, y, w, h), outwards for t > 0 and inwards for
// t < 0, turned by angle degrees about (x, y).
void dframe(int x, int y, int w, int h, int t, float angle);

// Forgets the side copies (process reset).
void reset_graf_state();

}  // namespace stylus

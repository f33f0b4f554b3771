// Axis scaling: the checks of one axis, the scaling record, the user-to-page
// transformation and the axis clip window.
#pragma once

#include "elements/axis_state.h"
#include "pen/clip.h"

namespace stylus {

// Checks one axis and reports each failed check as a warning. Returns 1 when the axis
// cannot be used (begin equals end, zero step, length below 2), else 0.
int erraxs(float begin, float end, float first, float step, int n, int dx, int dy);

// The page geometry a scaling record is computed for.
struct AxisGeometry {
  int pos_x, pos_y;  // lower-left corner of the axis rectangle
  int len_x, len_y;
  int log_x, log_y;
};
// The scaling record for the eight graf values (pure).
ScaleRecord make_scale(const float v[8], const AxisGeometry& g);
// Stores the eight graf values and fills g_scale from the current axis settings.
void sxyscl(float xa, float xe, float xor_, float xstp, float ya, float ye, float yor, float ystp);

// The axis clip window for a margin m (-1: from the device), pure.
struct ClipGeometry {
  int pos_x, pos_y, len_x, len_y;
  int offset_x, offset_y;
  int page_nx, page_ny;
  bool pixel_margin;  // the device counts in pixels: keep one pixel more clear
  float page_scale;
  int clip_margin;
};
AxisClipRecord make_axis_clip(const ClipGeometry& g);
// Computes g_axis_clip from the current axis system.
void setclp();

// One user point to page coordinates in place, as trfrel converts each of its points.
void user_to_page(float& x, float& y);

// Rounds half away from zero, clamped to the int range.
int round_half_away(float v);
// v + 0.5 truncated toward zero, clamped to the int range: page positions.
int page_round(float v);
// v truncated toward zero, clamped to the int range (0 for NaN).
int trunc_to_int(float v);

}  // namespace stylus

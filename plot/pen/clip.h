// The clip stage of the stroke path: the page-coordinate geometry of cutting a segment at a
// rectangular window (region codes, cuts, line intersection, segment direction), the clip
// window records, and the routines that switch the window and clip against it.
#pragma once

namespace stylus {

// A coordinate difference below this counts as zero when cutting.
inline constexpr float kSmallestMagnitude = 1.0e-35f;

// A rectangular window in page points; (x, y) is inside when left <= x <= right and
// top <= y <= bottom (y grows downwards).
struct ClipWindow {
  int left, top, right, bottom;
  bool outside(float x, float y) const {
    return !(static_cast<float>(left) <= x && x <= static_cast<float>(right) &&
             static_cast<float>(top) <= y && y <= static_cast<float>(bottom));
  }
};

// The clip window of the stroke path. The page after a session start (the default page
// before any); curve narrows it to the axis clip window with sclpax(0) and restores it
// with sclpax(1).
struct ClipRecord {
  int clip_left = 0, clip_top = 0, clip_right = 2969, clip_bottom = 2099;
  ClipWindow saved = {0, 0, 2969, 2099};  // the window that sclpax(1) restores
  int clip_suspend = 0;                   // 2: sclpax does nothing
  ClipWindow window() const { return {clip_left, clip_top, clip_right, clip_bottom}; }
};
extern ClipRecord g_clip;

// The plotting area of the current axis system. Written by setclp when graf sets up the
// axis system; read by sclpax(0).
struct AxisClipRecord {
  int axis_clip_left, axis_clip_top, axis_clip_right, axis_clip_bottom;
};
extern AxisClipRecord g_axis_clip;

// Region codes of (x, y) against [xmin, xmax] x [ymin, ymax]: cx = 1 left of xmin, 3 right
// of xmax, else 2; cy likewise. Returns the number of coordinates outside (0, 1 or 2).
int chkval(float x, float y, int& cx, int& cy, float xmin, float ymin, float xmax, float ymax);
// x where the line through (x1, y1) and (x2, y2) meets y = yc; x1 for a horizontal line.
float xcut(float x1, float y1, float x2, float y2, float yc);
// y where the line through (x1, y1) and (x2, y2) meets x = xc; y1 for a vertical line.
float ycut(float x1, float y1, float x2, float y2, float xc);
// Page angle of a direction: atan2(y, x), or +-pi/2 when x is (almost) zero.
float qqatan(float y, float x);

// Sine and cosine of the page angle of the segment P -> Q (y grows downwards): the segment
// runs along (c, -s), and (-d*s, -d*c) is its offset by d to the left of the direction.
struct Direction {
  float s, c;
};
Direction segment_direction(float xp, float yp, float xq, float yq);

// The angle of the segment P -> Q as segment_direction computes it: the float angle of
// qqatan, the library's double atan2 that it rounds (NaN when qqatan takes its constant for
// an upright segment), and the double sine and cosine of the float angle.
struct SegmentAngle {
  float theta;
  double atan2;
  double sin, cos;
  Direction direction() const { return {static_cast<float>(sin), static_cast<float>(cos)}; }
};
SegmentAngle segment_angle(float xp, float yp, float xq, float yq);
// segment_direction(xq, yq, xp, yp), the reverse of the segment P -> Q whose angle is a,
// mostly derived from a: same floats, at a fraction of the cost of the library functions.
Direction reverse_direction(const SegmentAngle& a, float xp, float yp, float xq, float yq);

// What of one segment is visible in a window.
struct ClippedSegment {
  bool visible;  // false: nothing to draw
  bool move;     // the first point was cut, so the pen must be moved to (x1, y1)
  float x1, y1;  // first point, on the window border when it was cut
  float x2, y2;  // second point, likewise
};
// Cuts the segment at the window border, point 1 first, until both ends are inside or the
// segment is known to miss the window. Segments with a NaN coordinate are never visible.
ClippedSegment clip_segment(const ClipWindow& w, float x1, float y1, float x2, float y2);

// --- routines of the stroke path (they act on g_clip and reach the device) ---

// 1 if (x, y) lies outside the clip window, 0 if inside.
int jqqclp(float x, float y);
// Clips one segment and sends what is visible to the device: a move to the first point only
// when it was cut, then a draw to the second. Callers rely on the missing move when the
// first point is inside: they clip consecutive segments of one line.
void clip2d(float x1, float y1, float x2, float y2);
// Mode 0 narrows the clip window to the axis clip window, mode 1 restores the window saved
// by mode 0; the buffered line is stroked first with the old window.
void sclpax(int mode);
// The clip window becomes the page (session start).
void reset_clip_window();

}  // namespace stylus

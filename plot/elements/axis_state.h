// The settings and results of the axis system: the scaling record that graf fills and the
// per-axis tick, label and title settings that daxis, labelx and namex read. One instance
// of each, process-wide. (The axis clip window that setclp computes is the clip stage's
// record, g_axis_clip in draw/clip.h.)
#pragma once

namespace stylus {

inline constexpr int kAxisX = 1;  // axis numbers as daxis takes them
inline constexpr int kAxisY = 2;
inline constexpr int kAxisZ = 3;

// The user-to-page transformation of the last successful graf.
struct ScaleRecord {
  float x_begin, x_end, x_first, x_step;  // as given (exponents of ten on a log axis)
  float y_begin, y_end, y_first, y_step;
  float x_factor, y_factor;          // points per user unit; negative on a descending axis
  float x_origin, y_origin;          // the axis position as reals
  float x_min, x_max, y_min, y_max;  // axis limits in user units, smaller value first
};

// Settings read while an axis system is drawn. Arrays of three are indexed by axis - 1
// (x, y, z). The distances and tick lengths hold magnitudes; settic gives them a sign
// for the duration of one axis.
struct AxisSettings {
  int tick_count[3];       // tick intervals per label step; 0 no ticks
  int label_type[3];       // 0 no labels, 1 numeric labels
  int label_dist[3];       // between the tick ends (or the axis line) and the labels
  int axis_line[3];        // 1 draw the axis line
  int tick_pos[3];         // 0 label side, 1 other side, 2 centred on the line
  int label_pos[3];        // 0 at the major ticks, 1 between them, 2 kept inside the axis
  int label_just[3];       // y labels: 0 right-aligned, 1 left, 3 left side only, 4 right only
  int axis_colors[3][4];   // line, ticks, labels, title; -1 the current colour
  int log_label_style[3];  // 1 "10" with a raised exponent, 2 the value itself
  int name_dist[3];        // between the labels and the title
  int title_just[3];       // 0 centred, 2 ending at the axis end, else starting at its start
  int log_axis[3];         // 1 logarithmic scaling
  int minor_tick_len, major_tick_len;
  int right_title_up;   // a right-hand y title reads upwards (90 degrees) when 1
  int crossed_axes;     // 1 the axes cross at the user origin
  int suppress_axes;    // non-zero: graf sets the scaling only
  int draw_top_right;   // 0 also draw the top and the right side
  int side_level[4];    // bottom, right, top, left: 0 nothing .. 4 up to the title
  int frame_thickness;  // frame lines about the axis rectangle; negative inwards
  int clip_margin;      // margin of the axis clip window; -1 from the device
};

extern ScaleRecord g_scale;
extern AxisSettings g_axis;

// Puts every axis setting to its session-start default (called by resall).
void reset_axis_settings();

}  // namespace stylus

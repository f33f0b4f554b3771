// The axis-system records and their session-start defaults.
#include "elements/axis_state.h"

namespace stylus {

ScaleRecord g_scale;
AxisSettings g_axis;

void reset_axis_settings() {
  AxisSettings& a = g_axis;
  for (int i = 0; i < 3; ++i) {
    a.tick_count[i] = 2;
    a.label_type[i] = 1;
    a.label_dist[i] = 24;
    a.axis_line[i] = 1;
    a.tick_pos[i] = 0;
    a.label_pos[i] = 0;
    a.label_just[i] = 0;
    for (int& c : a.axis_colors[i]) c = -1;
    a.log_label_style[i] = 2;
    a.name_dist[i] = 30;
    a.title_just[i] = 0;
    a.log_axis[i] = 0;
  }
  a.minor_tick_len = 16;
  a.major_tick_len = 24;
  a.right_title_up = 0;
  a.crossed_axes = 0;
  a.suppress_axes = 0;
  a.draw_top_right = 0;
  a.side_level[0] = 4;
  a.side_level[1] = 2;
  a.side_level[2] = 2;
  a.side_level[3] = 4;
  a.frame_thickness = 1;
  a.clip_margin = -1;
}

}  // namespace stylus

// resall: puts every plot parameter back to its session-start value. The order matters:
// the colour table is loaded before messages are pointed at the session's error stream.
#include <cstdio>

#include "elements/axis_state.h"
#include "devices/device_table.h"
#include "pen/clip.h"
#include "elements/curve.h"
#include "pen/linestyle.h"
#include "records/color_tables.h"
#include "records/messages.h"
#include "api/session.h"
#include "records/state.h"
#include "stylus.h"
#include "records/api_call.h"

using namespace stylus;

extern "C" void resall(void) try {
  const ApiCall call;
  if (jqqlev(1, 3, "resall")) return;

  // The solid line pattern, and the page as the clip window.
  reset_line_style();
  reset_clip_window();

  g_ivray.cur_color = 0;
  setvlt(current_device().default_table == kTableRevGrey ? "rgrey" : "rainbo");

  g_control.msg_stream = g_control.err_stream != nullptr ? g_control.err_stream : stdout;
  g_ivray.msg_unit = message_unit(g_control.msg_stream);

  g_ivray.axis_pos_x = g_ivray.def_axis_pos_x;
  g_ivray.axis_pos_y = g_ivray.def_axis_pos_y;
  g_ivray.axis_len_x = g_ivray.def_axis_len_x;
  g_ivray.axis_len_y = g_ivray.def_axis_len_y;
  g_ivray.axis_len_z = g_ivray.def_axis_len_y;
  g_ivray.label_digits_x = 1;
  g_ivray.label_digits_y = 1;
  g_ivray.label_digits_z = 1;
  g_titles.axis_title_x[0] = '\0';
  g_titles.axis_title_y[0] = '\0';
  g_titles.axis_title_z[0] = '\0';
  reset_axis_settings();

  height(36);
  g_ivray.name_height = 36;
  g_xvray.label_factor = 0.6f;
  g_xvray.message_factor = 0.8f;

  angle(0);

  reset_curve_settings();  // ends with resatt()
  for (int i = 1; i <= 30; ++i) {
    g_cycles.line_cycle[i - 1] = (i % 8 == 0 ? 8 : i % 8) - 1;
    g_cycles.symbol_cycle[i - 1] = i % 18 == 0 ? 17 : i % 18 - 1;
  }
  build_color_cycle();

  // shading pattern 0: the shading module's shdpat(0) goes here

  g_ivray.line_width = 1;
  g_ivray.line_width_mode = 2;
  g_xvray.line_width_factor = 2.0f;
  g_ivray.window_end_mode = 0;
  g_ivray.window_title_mode = 0;

  disalf();  // the default stroke font
  g_control.ctrl_chars[0] = '[';
  g_control.ctrl_chars[1] = ']';
  g_control.ctrl_chars[2] = '$';
  g_control.ctrl_chars[3] = '/';
} catch (...) {
  api_failure();
}

// The one reset of the whole library to its program-start state (see state.h), so that a
// test or a fuzz run can start every case from a fresh process without knowing the modules.
#include "axis/axis_state.h"
#include "axis/font_state.h"
#include "axis/graf.h"
#include "axis/ticks.h"
#include "devices/device_table.h"
#include "devices/screen_driver.h"
#include "devices/screen_session.h"
#include "draw/clip.h"
#include "draw/curve.h"
#include "draw/linestyle.h"
#include "draw/pen.h"
#include "state/messages.h"
#include "state/protocol.h"
#include "state/session.h"
#include "state/state.h"

namespace stylus {

void reset_plot_records();

void reset_process() {
  reset_device_table();
  reset_session_files();
  set_screen_window_system(nullptr);
  set_local_time_source(nullptr);
  set_message_window(nullptr);
  reset_plot_records();
  reset_messages();
  g_pen = PenRecord{};
  g_linestyle = LineStyleRecord{};
  g_clip = ClipRecord{};
  g_axis_clip = AxisClipRecord{};
  g_fonts = FontRecord{};
  g_scale = ScaleRecord{};
  g_axis = AxisSettings{};
  g_curve = CurveRecord{};
  g_legend = LegendRecord{};
  reset_graf_state();
  reset_tick_state();
  g_screen_session = ScreenSessionRecord{};
}

}  // namespace stylus
